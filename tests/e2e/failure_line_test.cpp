// Without a display the program says so in one line on standard output and ends with status 1.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <optional>
#include <string>

#include "e2e/program_run.h"
#include "e2e/x_client.h"

namespace zz::e2e {
namespace {

bool Exists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

// A display number no server holds: neither its lock file nor its socket exists.
std::string UnservedDisplay() {
  for (int number = 517;; ++number) {
    const std::string n = std::to_string(number);
    if (!Exists("/tmp/.X" + n + "-lock") && !Exists("/tmp/.X11-unix/X" + n)) return ":" + n;
  }
}

void ExpectFailureLine(const std::optional<std::string>& display) {
  ProgramRun run(ZZ_PROGRAM_PATH, display);
  ASSERT_TRUE(run.WaitForEnd(std::chrono::seconds(20))) << "still running without a display";
  EXPECT_EQ(run.exitStatus(), 1) << "signal " << run.endingSignal();
  const std::string out = run.StandardOutput();
  const std::string prefix = "DXERROR err=";
  ASSERT_GT(out.size(), prefix.size() + 1) << "standard output: \"" << out << "\"";
  EXPECT_EQ(out.substr(0, prefix.size()), prefix) << out;
  EXPECT_EQ(out.find('\n'), out.size() - 1) << "not exactly one line: \"" << out << "\"";
}

TEST(ProgramWithoutDisplay, UnservedDisplayGivesTheFailureLine) {
  const std::string display = UnservedDisplay();
  EXPECT_THROW(XClient{display}, std::runtime_error) << display << " is served after all";
  ExpectFailureLine(display);
}

TEST(ProgramWithoutDisplay, UnsetDisplayGivesTheFailureLine) {
  ExpectFailureLine(std::nullopt);
}

}  // namespace
}  // namespace zz::e2e
