// A process the tests start and own: it dies with the test process (so no server or program is
// left behind by a crashed test), and ending it is always bounded in time.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zz::e2e {

struct ChildOptions {
  std::vector<std::string> arguments;  // the first is the program's path
  // Changes to the test process's environment: a value sets the variable, none removes it.
  std::map<std::string, std::optional<std::string>> environment;
  int standardOutput = -1;  // a descriptor for the child's stdout; -1 keeps the test's own
  int standardError = -1;
  int keptOpen = -1;  // one more descriptor the child inherits under the same number
};

class ChildProcess {
 public:
  explicit ChildProcess(const ChildOptions& options);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t pid() const { return pid_; }
  bool Running();
  // Waits for the process to end; returns whether it ended before the deadline.
  bool WaitForEnd(std::chrono::milliseconds deadline);
  // Asks the process to end (SIGTERM), then forces it (SIGKILL) if it does not within a moment.
  void Stop();
  // Valid once ended: the exit status, or none when a signal ended it.
  std::optional<int> exitStatus() const { return exitStatus_; }
  int endingSignal() const { return endingSignal_; }

 private:
  bool Reap(bool block);

  pid_t pid_ = -1;
  bool ended_ = false;
  std::optional<int> exitStatus_;
  int endingSignal_ = 0;
};

}  // namespace zz::e2e
