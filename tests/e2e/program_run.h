// One run of the real zizezed binary: its standard output is caught and its end is awaited
// with a deadline, after which the run is stopped.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "e2e/child_process.h"
#include "e2e/temp_file.h"

namespace zz::e2e {

class ProgramRun {
 public:
  // Starts the program with DISPLAY set to `display`, or unset when there is none. Variables
  // that would steer SDL elsewhere (another video driver, Wayland) are removed.
  ProgramRun(const std::string& programPath, const std::optional<std::string>& display);

  pid_t pid() const { return process_.pid(); }
  bool Running() { return process_.Running(); }
  // Returns whether the program ended before the deadline.
  bool WaitForEnd(std::chrono::milliseconds deadline) { return process_.WaitForEnd(deadline); }
  std::optional<int> exitStatus() const { return process_.exitStatus(); }
  int endingSignal() const { return process_.endingSignal(); }
  std::string StandardOutput() const { return output_.Contents(); }

 private:
  TempFile output_;
  ChildProcess process_;
};

ChildOptions ProgramOptions(const std::string& programPath, const std::optional<std::string>& display,
                            int standardOutput);

}  // namespace zz::e2e
