// The program's whole run: start-up, splash screen, title set-up, main loop, exit.
#pragma once

#include <array>
#include <cstdint>

#include "title/title_state.h"

namespace zz {

struct SplashLine {
  const char16_t* text;
  Rgb colour;
  int32_t x;
  int32_t y;
};

extern const std::array<SplashLine, 6> kSplashLines;

// Returns the process's exit status: 0 after ESC or a request to stop, 1 when no display could
// be opened (after writing the failure line to standard output).
int ProgramMain();

}  // namespace zz
