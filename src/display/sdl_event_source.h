// Key input from SDL's event queue, translated the way the Windows key translation reports it:
// virtual-key codes, key-down / key-repeat / key-up, the modifier flags and typed characters.
#pragma once

#include <cstdint>
#include <functional>

#include "display/keyboard_layer.h"
#include "display/windows_virtual_keys.h"

union SDL_Event;

namespace zz {

// Typed characters follow the key-down they belong to. SDL's text input gives the printable ones;
// the control characters (BACKSPACE 8, CTRL+BACKSPACE 127, ENTER 13, TAB 9, ESC 27, CTRL+letter
// 1..26) are made here from the key-down, since SDL reports no text for them. Text that arrives
// while CTRL is held is dropped (SDL types "1" for CTRL+1), unless the right ALT key is held too:
// Windows reports AltGr as left CTRL plus right ALT, and layouts type characters such as @ with it.
// CTRL with ALT makes no control character. ALT with a letter types the letter once: from SDL's
// text when it comes, else made here from the key.
class SdlEventSource final : public EventSource {
 public:
  // onOtherEvent gets every event that is not key input (render resets, exposes, focus changes).
  explicit SdlEventSource(std::function<void(const SDL_Event&)> onOtherEvent);

  void TakePending(KeyboardLayer& layer) override;
  void WaitForInput(uint32_t timeoutMs) override;

  // Reading the window system's connection is the costly part of a query: the first query after
  // each present does it (as does every wait for input), and the other queries of the pass take
  // what SDL already holds.
  void PumpOnNextQuery() { pumpDue_ = true; }

 private:
  void Translate(const SDL_Event& event, KeyboardLayer& layer);
  void OnKeyDown(const SDL_Event& event, KeyboardLayer& layer);
  void OnKeyUp(const SDL_Event& event, KeyboardLayer& layer);
  void OnText(const SDL_Event& event, KeyboardLayer& layer);
  void OnWindowEvent(const SDL_Event& event, KeyboardLayer& layer);
  void PassOn(const SDL_Event& event);

  void TrackModifier(int32_t keyCode, bool down);
  void DecideTextFromKeys();
  int32_t CharacterOfKey(int32_t keyCode) const;
  void TypeAltLetterWithoutText(KeyboardLayer& layer);
  void Forget();
  void Type(KeyboardLayer& layer, int32_t character) const;

  std::function<void(const SDL_Event&)> onOtherEvent_;
  uint32_t modifierKeysDown_ = 0;  // one bit per SHIFT, CTRL, ALT and Windows key, left and right
  int32_t flags_ = 0;              // as last recomputed
  bool dropText_ = false;          // CTRL was held (without AltGr) at the last key event
  int32_t altLetter_ = 0;          // ALT+letter typed, until its text comes
  bool pumpDue_ = true;
  WindowsVirtualKeys windowsKeys_;
};

}  // namespace zz
