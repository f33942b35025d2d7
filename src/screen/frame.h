// Frame composition: the whole title card drawn from nothing, then presented.
#pragma once

#include <array>
#include <memory>

#include "display/display.h"
#include "title/title_state.h"

namespace zz {

struct HelpLine {
  int32_t y;
  const char16_t* text;
};

constexpr int32_t kHelpLineX = 50;
constexpr Rgb kHelpColour{127, 127, 127};
extern const std::array<HelpLine, 9> kHelpLines;

void ComposeFrame(const TitleState& state, Display& display, const std::shared_ptr<Font>& helpFont);

}  // namespace zz
