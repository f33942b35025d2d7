// Windows' own virtual-key codes for SDL's key events. On Windows SDL passes every window message
// on as an SDL_SYSWMEVENT just before the events it makes of it, so a key-down or key-up can take
// its code from its WM_KEYDOWN / WM_KEYUP: the code of Windows' key translation for the active
// layout and NumLock state (keypad 4 without NumLock is the left arrow there). Keys without such a
// message, and every key on other platforms, get the code made from SDL's key (VirtualKeyOf).
#pragma once

#include <cstdint>

union SDL_Event;
struct SDL_KeyboardEvent;

namespace zz {

class WindowsVirtualKeys {
 public:
  // Window message numbers of the key translation.
  static constexpr uint32_t kKeyDownMessage = 0x0100;
  static constexpr uint32_t kKeyUpMessage = 0x0101;
  static constexpr uint32_t kSysKeyDownMessage = 0x0104;
  static constexpr uint32_t kSysKeyUpMessage = 0x0105;

  // On Windows asks SDL for its window messages: SDL's video must be started by then.
  WindowsVirtualKeys();

  // Sees every event, in queue order, before it is translated.
  void Note(const SDL_Event& event);
  // A window message with its wParam; all but the four key messages are ignored.
  void NoteMessage(uint32_t message, uint64_t wParam);
  // The code of this key-down or key-up event; 0 for a key without one.
  int32_t KeyCodeOf(const SDL_KeyboardEvent& key);

 private:
  int32_t pendingCode_ = 0;  // from the key message just before, 0 when there was none
  bool pendingDown_ = false;
};

}  // namespace zz
