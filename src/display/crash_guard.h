// The last act before a crash ends the process: on a fatal signal (SIGSEGV, SIGBUS, SIGFPE,
// SIGILL, SIGABRT) one line goes to standard error, a registered act runs once, and the process
// then dies by that same signal, so core dumps, supervisors and the exit status see the crash.
#pragma once

namespace zz {

// Runs inside the signal handler, with the program in whatever state the crash left it.
using CrashLastAct = void (*)(void* context);

// Installs the handlers, on a stack of their own so that a stack overflow still reaches them.
// Installs once; later calls do nothing. A no-op on Windows, where the system gives the desktop
// its own display mode back when a process ends, however it ends.
void InstallCrashGuard();

// The act the next fatal signal runs (none at first); replaces an act set before.
void SetCrashLastAct(CrashLastAct act, void* context);
void ClearCrashLastAct();

}  // namespace zz
