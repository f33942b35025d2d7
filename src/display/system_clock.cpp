#include <SDL.h>

#include "display/clock.h"

namespace zz {

// The reading keeps only the low 32 bits on purpose: callers compare readings by signed
// difference, which stays right across the wrap.
uint32_t SystemClock::Milliseconds() {
  return static_cast<uint32_t>(SDL_GetTicks64());
}

void SystemClock::Sleep(uint32_t milliseconds) {
  SDL_Delay(milliseconds);
}

}  // namespace zz
