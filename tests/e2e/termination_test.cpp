// A request to stop from outside (SIGINT, SIGTERM) ends the program as ESC does: at once, with
// status 0 and nothing written, on the splash as in the main loop.
#include <gtest/gtest.h>

#include <csignal>

#include "e2e/program_test.h"

namespace zz::e2e {
namespace {

class Termination : public ProgramTest {
 protected:
  void ExpectEndsLikeEscape(int signal) {
    ASSERT_EQ(kill(program().pid(), signal), 0);
    ASSERT_TRUE(program().WaitForEnd(kDefaultDeadline)) << "still running after signal " << signal;
    EXPECT_EQ(program().exitStatus(), 0) << "ended by signal " << program().endingSignal();
    EXPECT_EQ(program().StandardOutput(), "");
    EXPECT_FALSE(program().Running());
  }
};

constexpr int kSignals[] = {SIGINT, SIGTERM};

TEST_F(Termination, OnTheSplash) {
  for (const int signal : kSignals) {
    SCOPED_TRACE(signal);
    if (signal != kSignals[0]) Restart(kDefaultWidth, kDefaultHeight);
    ASSERT_TRUE(session().WaitForSplash()) << Seen();
    ExpectEndsLikeEscape(signal);
  }
}

TEST_F(Termination, InTheMainLoop) {
  for (const int signal : kSignals) {
    SCOPED_TRACE(signal);
    if (signal != kSignals[0]) Restart(kDefaultWidth, kDefaultHeight);
    ASSERT_TRUE(session().StartTitle()) << Seen();
    ExpectEndsLikeEscape(signal);
  }
}

}  // namespace
}  // namespace zz::e2e
