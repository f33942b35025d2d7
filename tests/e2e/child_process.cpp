#include "e2e/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace zz::e2e {

namespace {

std::vector<std::string> ChildEnvironment(const std::map<std::string, std::optional<std::string>>& changes) {
  std::vector<std::string> result;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string variable(*entry);
    const std::string name = variable.substr(0, variable.find('='));
    if (changes.count(name) == 0) result.push_back(variable);
  }
  for (const auto& [name, value] : changes) {
    if (value) result.push_back(name + "=" + *value);
  }
  return result;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Runs in the forked child: only async-signal-safe calls until exec.
[[noreturn]] void BecomeChild(const ChildOptions& options, char** argv, char** envp, pid_t parent) {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent) _exit(127);  // the parent died before the line above took effect
  if (options.standardOutput >= 0) dup2(options.standardOutput, STDOUT_FILENO);
  if (options.standardError >= 0) dup2(options.standardError, STDERR_FILENO);
  if (options.keptOpen >= 0) {
    const int flags = fcntl(options.keptOpen, F_GETFD);
    fcntl(options.keptOpen, F_SETFD, flags & ~FD_CLOEXEC);
  }
  const int devNull = open("/dev/null", O_RDONLY);
  if (devNull >= 0) dup2(devNull, STDIN_FILENO);
  execve(argv[0], argv, envp);
  _exit(127);
}

}  // namespace

ChildProcess::ChildProcess(const ChildOptions& options) {
  if (options.arguments.empty()) throw std::invalid_argument("child process: no program");
  std::vector<std::string> arguments = options.arguments;
  std::vector<std::string> environment = ChildEnvironment(options.environment);
  std::vector<char*> argv = Pointers(arguments);
  std::vector<char*> envp = Pointers(environment);
  const pid_t parent = getpid();
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
  if (pid_ == 0) BecomeChild(options, argv.data(), envp.data(), parent);
}

ChildProcess::~ChildProcess() {
  Stop();
}

bool ChildProcess::Reap(bool block) {
  if (ended_) return true;
  int status = 0;
  pid_t result;
  do {
    result = waitpid(pid_, &status, block ? 0 : WNOHANG);
  } while (result < 0 && errno == EINTR);
  if (result == 0) return false;
  ended_ = true;
  if (result > 0 && WIFEXITED(status)) exitStatus_ = WEXITSTATUS(status);
  if (result > 0 && WIFSIGNALED(status)) endingSignal_ = WTERMSIG(status);
  return true;
}

bool ChildProcess::Running() {
  return !Reap(false);
}

bool ChildProcess::WaitForEnd(std::chrono::milliseconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (!Reap(false)) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

void ChildProcess::Stop() {
  if (pid_ <= 0 || Reap(false)) return;
  kill(pid_, SIGTERM);
  if (WaitForEnd(std::chrono::seconds(3))) return;
  kill(pid_, SIGKILL);
  Reap(true);
}

}  // namespace zz::e2e
