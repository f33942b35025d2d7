#include "display/windows_virtual_keys.h"

#include <SDL.h>

#ifdef _WIN32
#include <SDL_syswm.h>
#endif

#include <utility>

#include "display/sdl_virtual_key.h"

namespace zz {
namespace {

// Codes that Windows gives both keys of a pair; SDL's key tells left from right.
constexpr int32_t kVkShift = 16;
constexpr int32_t kVkControl = 17;
constexpr int32_t kVkMenu = 18;
// Not keys: an input method at work, a character sent without a key, and "no mapping".
constexpr int32_t kVkProcessKey = 229;
constexpr int32_t kVkPacket = 231;
constexpr int32_t kVkNone = 255;

bool IsKeyCode(uint64_t code) {
  return code > 0 && code < kVkNone && code != kVkProcessKey && code != kVkPacket;
}

}  // namespace

WindowsVirtualKeys::WindowsVirtualKeys() {
#ifdef _WIN32
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
#endif
}

void WindowsVirtualKeys::Note(const SDL_Event& event) {
  if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) return;  // KeyCodeOf takes the code
  // Any other event between a key message and the next key event: that message made no key event.
  pendingCode_ = 0;
#ifdef _WIN32
  const SDL_SysWMmsg* message = event.type == SDL_SYSWMEVENT ? event.syswm.msg : nullptr;
  if (message != nullptr && message->subsystem == SDL_SYSWM_WINDOWS) {
    NoteMessage(message->msg.win.msg, message->msg.win.wParam);
  }
#endif
}

void WindowsVirtualKeys::NoteMessage(uint32_t message, uint64_t wParam) {
  pendingCode_ = 0;
  const bool down = message == kKeyDownMessage || message == kSysKeyDownMessage;
  const bool up = message == kKeyUpMessage || message == kSysKeyUpMessage;
  if ((!down && !up) || !IsKeyCode(wParam)) return;
  pendingCode_ = static_cast<int32_t>(wParam);
  pendingDown_ = down;
}

int32_t WindowsVirtualKeys::KeyCodeOf(const SDL_KeyboardEvent& key) {
  const int32_t fromSdl = VirtualKeyOf(key.keysym);
  const int32_t real = std::exchange(pendingCode_, 0);
  if (real == 0 || pendingDown_ != (key.type == SDL_KEYDOWN)) return fromSdl;
  if (real == kVkShift || real == kVkControl || real == kVkMenu) return fromSdl;
  return real;
}

}  // namespace zz
