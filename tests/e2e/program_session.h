// The real program on its own virtual screen, with a keyboard and eyes on that screen.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "e2e/polling.h"
#include "e2e/program_run.h"
#include "e2e/x_client.h"
#include "e2e/xvfb_server.h"

namespace zz::e2e {

constexpr int kDefaultWidth = 1280;
constexpr int kDefaultHeight = 720;
// Start-up includes the display's one-second timing test, slower still under the sanitizers.
constexpr std::chrono::milliseconds kStartDeadline{20000};

class ProgramSession {
 public:
  ProgramSession(const std::string& programPath, int width = kDefaultWidth, int height = kDefaultHeight);

  XClient& keys() { return client_; }
  ProgramRun& program() { return program_; }
  const XvfbServer& server() const { return server_; }

  ScreenImage Capture() { return client_.Capture(); }
  // Reads the screen until it satisfies the condition; returns that screen, or none at the
  // deadline (then `lastScreen()` shows what was there instead).
  std::optional<ScreenImage> WaitForScreen(const std::function<bool(const ScreenImage&)>& condition,
                                           std::chrono::milliseconds deadline = kDefaultDeadline);
  const std::optional<ScreenImage>& lastScreen() const { return lastScreen_; }

  // The splash is fully drawn and the program's window holds the keyboard focus.
  std::optional<ScreenImage> WaitForSplash();
  // From the splash: SPACE, then the initial card.
  std::optional<ScreenImage> StartTitle();

 private:
  XvfbServer server_;
  XClient client_;
  ProgramRun program_;
  std::optional<ScreenImage> lastScreen_;
};

}  // namespace zz::e2e
