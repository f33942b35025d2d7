#include "display/crash_guard.h"

#include <atomic>
#include <csignal>
#include <cstddef>

#ifndef _WIN32
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace zz {

namespace {

// Read from a signal handler: both must be lock-free atomics to be safe there. The context is
// stored before the act and cleared after it, so a handler that sees an act sees its context.
std::atomic<CrashLastAct> lastAct{nullptr};
std::atomic<void*> lastActContext{nullptr};
static_assert(std::atomic<CrashLastAct>::is_always_lock_free);
static_assert(std::atomic<void*>::is_always_lock_free);

}  // namespace

void SetCrashLastAct(CrashLastAct act, void* context) {
  lastAct.store(nullptr);
  lastActContext.store(context);
  lastAct.store(act);
}

void ClearCrashLastAct() {
  lastAct.store(nullptr);
  lastActContext.store(nullptr);
}

#ifdef _WIN32

void InstallCrashGuard() {}

#else

namespace {

constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

// Room for the last act (the display's calls into SDL and Xlib, larger still under the
// sanitizers) on top of the signal frame.
constexpr std::size_t kHandlerStackSize = 256 * 1024;

// Long enough for the last act's few requests to the display server, short enough that a last
// act stuck on a lock the crash left held ends as a crash, not as a frozen screen.
constexpr unsigned kDeadmanSeconds = 2;

std::atomic<bool> installed{false};
std::atomic<bool> crashing{false};
static_assert(std::atomic<bool>::is_always_lock_free);
volatile std::sig_atomic_t fatalSignal = 0;

// Ends the process by `signal` with its default action. The handler finds the action reset
// already (SA_RESETHAND); setting it again covers the deadman. The signal stays blocked while its
// handler runs, so it is raised and then let through here: a raised signal, unlike a fault, has
// no instruction that would raise it again when the handler returns.
void DieBy(int signal) {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
  raise(signal);
  sigset_t let;
  sigemptyset(&let);
  sigaddset(&let, signal);
  pthread_sigmask(SIG_UNBLOCK, &let, nullptr);
}

// "zizezed: fatal signal N" without stdio, which is not async-signal-safe.
void WriteFatalLine(int signal) {
  char line[48] = "zizezed: fatal signal ";
  std::size_t length = sizeof("zizezed: fatal signal ") - 1;
  char digits[12];
  std::size_t count = 0;
  unsigned value = static_cast<unsigned>(signal);
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0 && count < sizeof(digits));
  while (count > 0) line[length++] = digits[--count];
  line[length++] = '\n';
  [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, line, length);
}

extern "C" void OnDeadman(int /*signal*/) {
  DieBy(fatalSignal);
}

void ArmDeadman() {
  struct sigaction action {};
  action.sa_handler = &OnDeadman;
  sigemptyset(&action.sa_mask);
  sigaction(SIGALRM, &action, nullptr);
  alarm(kDeadmanSeconds);
}

// The last act is whatever the display registered: not async-signal-safe, as it calls into
// SDL and the display server's library, which the crash may have interrupted halfway. It is
// run anyway because the alternative is certain harm: a process that dies in full screen leaves
// the screen in the program's mode for good. The deadman bounds it if it blocks, and a second
// fault inside it ends the process by that fault without running it again.
void RunLastAct() {
  const CrashLastAct act = lastAct.load();
  if (act != nullptr) act(lastActContext.load());
}

extern "C" void OnFatalSignal(int signal) {
  if (!crashing.exchange(true)) {
    fatalSignal = signal;
    WriteFatalLine(signal);
    ArmDeadman();
    RunLastAct();
  }
  DieBy(signal);
}

// A stack overflow leaves no room on the thread's own stack to run a handler. The stack is the
// installing thread's, the program's one thread of its own. Mapped, not allocated: it lives as
// long as the process.
void UseHandlerStack() {
  void* memory = mmap(nullptr, kHandlerStackSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) return;  // the handlers still run, short of a stack overflow
  stack_t stack{};
  stack.ss_sp = memory;
  stack.ss_size = kHandlerStackSize;
  if (sigaltstack(&stack, nullptr) != 0) munmap(memory, kHandlerStackSize);
}

}  // namespace

void InstallCrashGuard() {
  if (installed.exchange(true)) return;
  UseHandlerStack();
  struct sigaction action {};
  action.sa_handler = &OnFatalSignal;
  action.sa_flags = SA_ONSTACK | SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (const int signal : kFatalSignals) sigaction(signal, &action, nullptr);
}

#endif

}  // namespace zz
