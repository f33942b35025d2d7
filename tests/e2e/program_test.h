// The fixture of the end-to-end tests: each test gets its own virtual screen with the real
// program started on it. A failed test leaves the last screen it saw as a PNG for a person.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "e2e/program_session.h"
#include "e2e/title_screens.h"

namespace zz::e2e {

// Where the screen a failed test saw is saved, below the test's working directory.
constexpr const char* kFailureFolder = "e2e-failures";

// The ink of each part of a screen, for failure messages.
std::string Describe(const std::optional<ScreenImage>& screen);

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // For tests that need a screen of another size; replaces the session SetUp started.
  void Restart(int width, int height);

  ProgramSession& session() { return *session_; }
  XClient& keys() { return session_->keys(); }
  ProgramRun& program() { return session_->program(); }
  // What the last wait saw, for the message of a failed check.
  std::string Seen() const { return Describe(session_->lastScreen()); }

 private:
  std::unique_ptr<ProgramSession> session_;
};

}  // namespace zz::e2e
