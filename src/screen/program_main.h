// The program's whole run: start-up, splash screen, title set-up, main loop, exit.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "display/display.h"
#include "title/title_state.h"

namespace zz {

struct SplashLine {
  const char16_t* text;
  Rgb colour;
  int32_t x;
  int32_t y;
};

extern const std::array<SplashLine, 6> kSplashLines;

// One pass of the main loop: waits for the frame's start, then, unless ESC has been hit (or a
// stop requested), takes the input, composes the frame and presents it. False when ESC ended it.
bool RunPass(TitleState& state, Display& display, KeyboardLayer& keyboard,
             const std::shared_ptr<Font>& helpFont);

// Returns the process's exit status: 0 after ESC or a request to stop, 1 when no display could
// be opened (after writing the failure line to standard output).
int ProgramMain();

}  // namespace zz
