// The test's own connection to the X server: it plays the keyboard through XTest and reads the
// screen back, as a person at that screen would press keys and look. Keys are named by their X
// keysym names ("space", "Escape", "Control_L", "BackSpace", "Right", "h", "1").
#pragma once

#include <chrono>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "e2e/screen_image.h"

namespace zz::e2e {

class XClient {
 public:
  // Connects; throws when the display cannot be opened or lacks the XTest extension.
  explicit XClient(const std::string& display);
  ~XClient();
  XClient(const XClient&) = delete;
  XClient& operator=(const XClient&) = delete;

  // Whether some client window (not the root) holds the keyboard focus: keys sent before the
  // program's window has it are lost.
  bool ClientWindowHasFocus();

  // The whole screen of the root window.
  ScreenImage Capture();

  void Press(std::string_view key);
  void Release(std::string_view key);
  // Presses and releases one key.
  void Tap(std::string_view key);
  // Holds the modifiers, taps the key, lets the modifiers go: Chord({"Control_L"}, "s").
  void Chord(std::initializer_list<std::string_view> modifiers, std::string_view key);
  // Holds a key down for a while, so that the server's auto-repeat runs.
  void Hold(std::string_view key, std::chrono::milliseconds duration);
  // Types printable ASCII text, with SHIFT where the keymap needs it.
  void Type(std::string_view text);

 private:
  struct Connection;
  unsigned KeyCode(std::string_view key);
  void SendKey(unsigned keycode, bool down);

  std::unique_ptr<Connection> connection_;
};

}  // namespace zz::e2e
