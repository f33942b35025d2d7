#include "display/termination.h"

#include <atomic>
#include <csignal>

#ifdef _WIN32
#include <windows.h>
#endif

namespace zz {

namespace {

// Written from a signal handler (or the console's handler thread on Windows): it must be a
// lock-free atomic to be safe there.
std::atomic<bool> terminationRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnTerminationSignal(int /*signal*/) {
  terminationRequested.store(true);
}

#ifdef _WIN32
// Time the main loop gets to finish when the console is closed: Windows ends the process as soon
// as this handler returns from a close, logoff or shutdown event.
constexpr DWORD kCloseGraceMilliseconds = 2000;

BOOL WINAPI OnConsoleControl(DWORD event) {
  terminationRequested.store(true);
  if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
    Sleep(kCloseGraceMilliseconds);
  }
  return TRUE;
}
#endif

}  // namespace

void InstallTerminationHandlers() {
#ifdef _WIN32
  SetConsoleCtrlHandler(&OnConsoleControl, TRUE);
  std::signal(SIGINT, &OnTerminationSignal);
  std::signal(SIGTERM, &OnTerminationSignal);
#else
  struct sigaction action {};
  action.sa_handler = &OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
#endif
}

bool TerminationRequested() {
  return terminationRequested.load();
}

}  // namespace zz
