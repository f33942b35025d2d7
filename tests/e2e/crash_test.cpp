// A crash in the main loop (SIGSEGV from outside, as a fault would raise it) ends the program at
// once by that signal, with its line on standard error and nothing on standard output, and the
// screen keeps the size it had.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <optional>
#include <string>

#include "e2e/program_test.h"
#include "e2e/temp_file.h"

namespace zz::e2e {
namespace {

// What the program inherits from the test process while it starts: standard error goes to a
// file instead of the test's own, and no core file is written (the crash is on purpose, and a
// core would land in the working directory). Both are the test process's again afterwards.
class CrashingChildStart {
 public:
  explicit CrashingChildStart(int standardError) : savedError_(dup(STDERR_FILENO)) {
    getrlimit(RLIMIT_CORE, &savedCore_);
    rlimit none = savedCore_;
    none.rlim_cur = 0;
    setrlimit(RLIMIT_CORE, &none);
    dup2(standardError, STDERR_FILENO);
  }
  ~CrashingChildStart() {
    dup2(savedError_, STDERR_FILENO);
    close(savedError_);
    setrlimit(RLIMIT_CORE, &savedCore_);
  }
  CrashingChildStart(const CrashingChildStart&) = delete;
  CrashingChildStart& operator=(const CrashingChildStart&) = delete;

 private:
  int savedError_;
  rlimit savedCore_{};
};

class Crash : public ProgramTest {
 protected:
  void SetUp() override {
    const CrashingChildStart start(errors_.descriptor());
    ProgramTest::SetUp();
  }

  TempFile errors_{"zizezed-stderr"};
};

TEST_F(Crash, InTheMainLoopEndsBySegmentationFaultAndKeepsTheScreenSize) {
  ASSERT_TRUE(session().StartTitle()) << Seen();
  const ScreenImage before = session().Capture();
  ASSERT_EQ(kill(program().pid(), SIGSEGV), 0);
  ASSERT_TRUE(program().WaitForEnd(kDefaultDeadline)) << "still running after SIGSEGV";
  EXPECT_EQ(program().exitStatus(), std::nullopt);
  EXPECT_EQ(program().endingSignal(), SIGSEGV);
  EXPECT_EQ(program().StandardOutput(), "");
  const std::string errors = errors_.Contents();
  EXPECT_NE(errors.find("zizezed: fatal signal " + std::to_string(SIGSEGV) + "\n"), std::string::npos)
      << "standard error: \"" << errors << "\"";
  const ScreenImage after = session().Capture();
  EXPECT_EQ(after.width(), before.width());
  EXPECT_EQ(after.height(), before.height());
  EXPECT_EQ(after.width(), session().server().width());
  EXPECT_EQ(after.height(), session().server().height());
}

}  // namespace
}  // namespace zz::e2e
