#include "display/windows_virtual_keys.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace zz {
namespace {

using Keys = WindowsVirtualKeys;

// One step of what the event source sees: a window message, another SDL event, or a key event
// whose code is asked for (expected: the code it must get).
struct Step {
  enum Kind { windowMessage, otherEvent, keyDown, keyUp } kind;
  uint32_t message = 0;
  uint64_t wParam = 0;
  SDL_Scancode scancode = SDL_SCANCODE_UNKNOWN;
  SDL_Keycode symbol = SDLK_UNKNOWN;
  int32_t expected = 0;
};

Step Message(uint32_t message, uint64_t wParam) {
  return {Step::windowMessage, message, wParam};
}
Step Other() {
  return {Step::otherEvent};
}
Step Down(SDL_Scancode scancode, SDL_Keycode symbol, int32_t expected) {
  return {Step::keyDown, 0, 0, scancode, symbol, expected};
}
Step Up(SDL_Scancode scancode, SDL_Keycode symbol, int32_t expected) {
  return {Step::keyUp, 0, 0, scancode, symbol, expected};
}

struct Case {
  const char* name;
  std::vector<Step> steps;
};

std::ostream& operator<<(std::ostream& out, const Case& c) {
  return out << c.name;
}

class KeyCodes : public testing::TestWithParam<Case> {};

TEST_P(KeyCodes, TakeTheWindowsCodeOfTheKeyMessageJustBefore) {
  WindowsVirtualKeys keys;
  int index = 0;
  for (const Step& step : GetParam().steps) {
    SDL_Event event{};
    switch (step.kind) {
      case Step::windowMessage:
        keys.NoteMessage(step.message, step.wParam);
        break;
      case Step::otherEvent:
        event.type = SDL_WINDOWEVENT;
        keys.Note(event);
        break;
      case Step::keyDown:
      case Step::keyUp:
        event.type = step.kind == Step::keyDown ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.type = event.type;
        event.key.keysym.scancode = step.scancode;
        event.key.keysym.sym = step.symbol;
        keys.Note(event);
        EXPECT_EQ(keys.KeyCodeOf(event.key), step.expected) << "step " << index;
        break;
    }
    ++index;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, KeyCodes,
    testing::Values(
        Case{"KeypadFourWithoutNumLockIsTheLeftArrow",
             {Message(Keys::kKeyDownMessage, 37), Down(SDL_SCANCODE_KP_4, SDLK_KP_4, 37),
              Message(Keys::kKeyUpMessage, 37), Up(SDL_SCANCODE_KP_4, SDLK_KP_4, 37)}},
        Case{"LayoutDecidesTheLetter",
             {Message(Keys::kKeyDownMessage, 'Z'), Down(SDL_SCANCODE_Y, SDLK_y, 'Z')}},
        Case{"KeysHeldWithAltComeAsSystemKeys",
             {Message(Keys::kSysKeyDownMessage, 'F'), Down(SDL_SCANCODE_F, SDLK_f, 'F'),
              Message(Keys::kSysKeyUpMessage, 'F'), Up(SDL_SCANCODE_F, SDLK_f, 'F')}},
        Case{"ModifierPairsKeepLeftAndRight",
             {Message(Keys::kKeyDownMessage, 17), Down(SDL_SCANCODE_RCTRL, SDLK_RCTRL, 163),
              Message(Keys::kKeyDownMessage, 16), Down(SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, 160),
              Message(Keys::kSysKeyDownMessage, 18), Down(SDL_SCANCODE_RALT, SDLK_RALT, 165)}},
        Case{"WithoutMessageTheCodeComesFromSdl", {Down(SDL_SCANCODE_KP_4, SDLK_KP_4, 100)}},
        Case{"MessageServesOneKeyEventOnly",
             {Message(Keys::kKeyDownMessage, 37), Down(SDL_SCANCODE_KP_4, SDLK_KP_4, 37),
              Up(SDL_SCANCODE_KP_4, SDLK_KP_4, 100)}},
        Case{"KeyUpDoesNotTakeTheCodeOfAKeyDownMessage",
             {Message(Keys::kKeyDownMessage, 37), Up(SDL_SCANCODE_KP_4, SDLK_KP_4, 100)}},
        Case{"AnotherEventInBetweenMeansTheMessageMadeNoKeyEvent",
             {Message(Keys::kKeyDownMessage, 37), Other(), Down(SDL_SCANCODE_KP_4, SDLK_KP_4, 100)}},
        Case{"CharacterMessagesAreNoKeys", {Message(0x0102, 'a'), Down(SDL_SCANCODE_A, SDLK_a, 'A')}},
        Case{"InputMethodAndPacketCodesAreNoKeys",
             {Message(Keys::kKeyDownMessage, 229), Down(SDL_SCANCODE_A, SDLK_a, 'A'),
              Message(Keys::kKeyDownMessage, 231), Down(SDL_SCANCODE_B, SDLK_b, 'B'),
              Message(Keys::kKeyDownMessage, 255), Down(SDL_SCANCODE_C, SDLK_c, 'C')}}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zz
