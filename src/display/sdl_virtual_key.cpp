#include "display/sdl_virtual_key.h"

#include <array>
#include <cstddef>

namespace zz {
namespace {

struct PositionedKey {
  SDL_Scancode scancode;
  uint8_t key;
};

// Keys known by their position. Punctuation gets the Windows codes of its US position.
constexpr PositionedKey kPositionedKeys[] = {
    {SDL_SCANCODE_0, '0'},
    {SDL_SCANCODE_RETURN, 13},
    {SDL_SCANCODE_KP_ENTER, 13},
    {SDL_SCANCODE_ESCAPE, 27},
    {SDL_SCANCODE_BACKSPACE, 8},
    {SDL_SCANCODE_TAB, 9},
    {SDL_SCANCODE_SPACE, 32},
    {SDL_SCANCODE_SEMICOLON, 186},
    {SDL_SCANCODE_EQUALS, 187},
    {SDL_SCANCODE_COMMA, 188},
    {SDL_SCANCODE_MINUS, 189},
    {SDL_SCANCODE_PERIOD, 190},
    {SDL_SCANCODE_SLASH, 191},
    {SDL_SCANCODE_GRAVE, 192},
    {SDL_SCANCODE_LEFTBRACKET, 219},
    {SDL_SCANCODE_BACKSLASH, 220},
    {SDL_SCANCODE_NONUSHASH, 220},
    {SDL_SCANCODE_RIGHTBRACKET, 221},
    {SDL_SCANCODE_APOSTROPHE, 222},
    {SDL_SCANCODE_NONUSBACKSLASH, 226},
    {SDL_SCANCODE_CAPSLOCK, 20},
    {SDL_SCANCODE_PRINTSCREEN, 44},
    {SDL_SCANCODE_SCROLLLOCK, 145},
    {SDL_SCANCODE_PAUSE, 19},
    {SDL_SCANCODE_INSERT, 45},
    {SDL_SCANCODE_HOME, 36},
    {SDL_SCANCODE_PAGEUP, 33},
    {SDL_SCANCODE_DELETE, 46},
    {SDL_SCANCODE_END, 35},
    {SDL_SCANCODE_PAGEDOWN, 34},
    {SDL_SCANCODE_LEFT, 37},
    {SDL_SCANCODE_UP, 38},
    {SDL_SCANCODE_RIGHT, 39},
    {SDL_SCANCODE_DOWN, 40},
    {SDL_SCANCODE_NUMLOCKCLEAR, 144},
    {SDL_SCANCODE_KP_0, 96},
    {SDL_SCANCODE_KP_MULTIPLY, 106},
    {SDL_SCANCODE_KP_PLUS, 107},
    {SDL_SCANCODE_KP_MINUS, 109},
    {SDL_SCANCODE_KP_PERIOD, 110},
    {SDL_SCANCODE_KP_DIVIDE, 111},
    {SDL_SCANCODE_APPLICATION, 93},
    {SDL_SCANCODE_LSHIFT, 160},
    {SDL_SCANCODE_RSHIFT, 161},
    {SDL_SCANCODE_LCTRL, 162},
    {SDL_SCANCODE_RCTRL, 163},
    {SDL_SCANCODE_LALT, 164},
    {SDL_SCANCODE_RALT, 165},
    {SDL_SCANCODE_LGUI, 91},
    {SDL_SCANCODE_RGUI, 92},
    {SDL_SCANCODE_MUTE, 173},
    {SDL_SCANCODE_VOLUMEDOWN, 174},
    {SDL_SCANCODE_VOLUMEUP, 175},
    {SDL_SCANCODE_AUDIONEXT, 176},
    {SDL_SCANCODE_AUDIOPREV, 177},
    {SDL_SCANCODE_AUDIOSTOP, 178},
    {SDL_SCANCODE_AUDIOPLAY, 179},
};

constexpr void FillRange(std::array<uint8_t, SDL_NUM_SCANCODES>& table, SDL_Scancode first, SDL_Scancode last,
                         int firstKey) {
  for (int code = first; code <= last; ++code) {
    table[static_cast<std::size_t>(code)] = static_cast<uint8_t>(firstKey + (code - first));
  }
}

constexpr std::array<uint8_t, SDL_NUM_SCANCODES> kKeyOfScancode = [] {
  std::array<uint8_t, SDL_NUM_SCANCODES> table{};
  FillRange(table, SDL_SCANCODE_A, SDL_SCANCODE_Z, 'A');
  FillRange(table, SDL_SCANCODE_1, SDL_SCANCODE_9, '1');
  FillRange(table, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_9, 97);
  FillRange(table, SDL_SCANCODE_F1, SDL_SCANCODE_F12, 112);
  FillRange(table, SDL_SCANCODE_F13, SDL_SCANCODE_F24, 124);
  for (const PositionedKey& entry : kPositionedKeys) table[entry.scancode] = entry.key;
  return table;
}();

}  // namespace

int32_t VirtualKeyOf(const SDL_Keysym& key) {
  if (key.sym >= SDLK_a && key.sym <= SDLK_z) return 'A' + static_cast<int32_t>(key.sym - SDLK_a);
  const int code = static_cast<int>(key.scancode);  // events may be pushed by anyone: check the range
  if (code < 0 || code >= SDL_NUM_SCANCODES) return 0;
  return kKeyOfScancode[static_cast<std::size_t>(code)];
}

}  // namespace zz
