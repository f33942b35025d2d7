// A fatal signal writes its line, runs the last act once and still ends the process by that
// signal. Each case crashes in a death test's child, where the guard is installed, so the test
// process keeps its own handlers.
#include "display/crash_guard.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>

namespace zz {
namespace {

// Writes its context, a line, and how often it ran.
void WriteMarker(void* context) {
  static int runs = 0;
  const char count = static_cast<char>('0' + ++runs);
  const char* text = static_cast<const char*>(context);
  [[maybe_unused]] ssize_t written = write(STDERR_FILENO, text, std::strlen(text));
  written = write(STDERR_FILENO, &count, 1);
  written = write(STDERR_FILENO, "\n", 1);
}

// In the child: no core file from a crash made on purpose, then the guard with the marker act.
void Guard(CrashLastAct act = &WriteMarker) {
  rlimit none{0, 0};
  setrlimit(RLIMIT_CORE, &none);
  InstallCrashGuard();
  SetCrashLastAct(act, const_cast<char*>("last act "));
}

// All of standard error: the fatal line, then what the act wrote.
std::string Whole(int signal, const std::string& act) {
  return "^zizezed: fatal signal " + std::to_string(signal) + "\n" + act + "$";
}

// The first page is never mapped. Not the null pointer itself: UBSan would end the process at
// the store before it faults. The address is read from a volatile so the compiler cannot see it.
void WriteToUnmappedPage() {
  volatile std::uintptr_t address = 64;
  *reinterpret_cast<volatile int*>(address) = 1;
}

// Far deeper than any stack; the depth check keeps the compiler from seeing an endless loop.
int Recurse(std::uint64_t depth) {
  volatile char frame[1024];
  frame[0] = static_cast<char>(depth);
  if (depth == UINT64_MAX) return frame[0];
  return Recurse(depth + 1) + frame[0];
}

struct FatalSignal {
  const char* name;
  int number;
};

void PrintTo(const FatalSignal& signal, std::ostream* out) {
  *out << signal.name;
}

class CrashGuard : public testing::TestWithParam<FatalSignal> {};

TEST_P(CrashGuard, RaisedSignalRunsTheActAndEndsByIt) {
  const int signal = GetParam().number;
  EXPECT_EXIT(
      {
        Guard();
        raise(signal);
      },
      testing::KilledBySignal(signal), Whole(signal, "last act 1\n"));
}

INSTANTIATE_TEST_SUITE_P(FatalSignals, CrashGuard,
                         testing::Values(FatalSignal{"Segv", SIGSEGV}, FatalSignal{"Bus", SIGBUS},
                                         FatalSignal{"Fpe", SIGFPE}, FatalSignal{"Ill", SIGILL},
                                         FatalSignal{"Abrt", SIGABRT}),
                         [](const testing::TestParamInfo<FatalSignal>& info) { return info.param.name; });

TEST(CrashGuardFault, WriteToUnmappedMemory) {
  EXPECT_EXIT(
      {
        Guard();
        WriteToUnmappedPage();
      },
      testing::KilledBySignal(SIGSEGV), Whole(SIGSEGV, "last act 1\n"));
}

TEST(CrashGuardFault, StackOverflow) {
  EXPECT_EXIT(
      {
        Guard();
        Recurse(0);
      },
      testing::KilledBySignal(SIGSEGV), Whole(SIGSEGV, "last act 1\n"));
}

TEST(CrashGuardFault, Abort) {
  EXPECT_EXIT(
      {
        Guard();
        std::abort();
      },
      testing::KilledBySignal(SIGABRT), Whole(SIGABRT, "last act 1\n"));
}

// An act that crashes in turn, by the same fault or by another signal: it ran once, and the
// process ends by the second crash at once instead of looping through the handler.
void MarkerThenFault(void* context) {
  WriteMarker(context);
  WriteToUnmappedPage();
}

void MarkerThenFloatingPointSignal(void* context) {
  WriteMarker(context);
  raise(SIGFPE);
}

TEST(CrashGuardAct, FaultInsideTheActEndsTheProcessWithoutRunningItAgain) {
  EXPECT_EXIT(
      {
        Guard(&MarkerThenFault);
        WriteToUnmappedPage();
      },
      testing::KilledBySignal(SIGSEGV), Whole(SIGSEGV, "last act 1\n"));
  EXPECT_EXIT(
      {
        Guard(&MarkerThenFloatingPointSignal);
        raise(SIGBUS);
      },
      testing::KilledBySignal(SIGFPE), Whole(SIGBUS, "last act 1\n"));
}

// An act stuck, as on a lock the crash left held: the deadman ends the process by the crash's own
// signal long before the act would go on (without the deadman the test fails when it does).
constexpr unsigned kStuckSeconds = 20;

void MarkerThenStuck(void* context) {
  WriteMarker(context);
  for (unsigned second = 0; second < kStuckSeconds; ++second) sleep(1);
  [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, "act went on\n", 12);
}

TEST(CrashGuardAct, StuckActEndsByTheCrashSignal) {
  EXPECT_EXIT(
      {
        Guard(&MarkerThenStuck);
        raise(SIGILL);
      },
      testing::KilledBySignal(SIGILL), Whole(SIGILL, "last act 1\n"));
}

TEST(CrashGuardAct, ClearedActDoesNotRun) {
  EXPECT_EXIT(
      {
        Guard();
        ClearCrashLastAct();
        raise(SIGSEGV);
      },
      testing::KilledBySignal(SIGSEGV), Whole(SIGSEGV, ""));
}

}  // namespace
}  // namespace zz
