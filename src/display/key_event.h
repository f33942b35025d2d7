// Key events as the keyboard layer passes them along its key-event hook. Codes are Windows
// virtual-key codes on every platform, so the program's key tables are the same everywhere.
#pragma once

#include <cstdint>

namespace zz {

// What travels along a hook: handlers may receive objects that are not key events (or none).
enum class HookObjectKind : int32_t { keyEvent = 1, other = 2 };

struct HookObject {
  HookObjectKind kind = HookObjectKind::other;
};

enum KeyEventId : int32_t {
  kKeyDown = 513,
  kKeyUp = 514,
  kTypedCharacter = 515,
  kKeyRepeat = 516,
};

enum ModifierFlag : int32_t {
  kShiftFlag = 1,
  kCtrlFlag = 2,
  kAltFlag = 4,
  kWindowsKeyFlag = 8,
};

// Windows virtual-key codes the program and its tests use.
enum VirtualKey : int32_t {
  kVkBackspace = 8,
  kVkTab = 9,
  kVkEnter = 13,
  kVkEscape = 27,
  kVkSpace = 32,
  kVkLeft = 37,
  kVkUp = 38,
  kVkRight = 39,
  kVkDown = 40,
  kVkDigit1 = 49,
  kVkB = 66,
  kVkC = 67,
  kVkF = 70,
  kVkH = 72,
  kVkS = 83,
  kVkNumpad1 = 97,
  kVkLeftShift = 160,
  kVkRightShift = 161,
  kVkLeftControl = 162,
  kVkRightControl = 163,
  kVkLeftAlt = 164,
  kVkRightAlt = 165,
};

struct KeyEvent : HookObject {
  KeyEvent() { kind = HookObjectKind::keyEvent; }
  KeyEvent(int32_t eventId, int32_t code, int32_t flags, int32_t typed = 0)
      : id(eventId), keyCode(code), modifiers(flags), character(typed) {
    kind = HookObjectKind::keyEvent;
  }
  int32_t id = 0;
  int32_t keyCode = 0;    // key events: virtual-key code 1..255
  int32_t modifiers = 0;  // ModifierFlag bits as last recomputed
  int32_t character = 0;  // typed-character events: the character code
};

inline const KeyEvent* AsKeyEvent(const HookObject* object) {
  if (object == nullptr || object->kind != HookObjectKind::keyEvent) return nullptr;
  return static_cast<const KeyEvent*>(object);
}

// A handler on a hook: gets what the handler before it returned, returns what the next one gets.
using HookHandler = const HookObject* (*)(int32_t hookId, const HookObject* data, void* context);

}  // namespace zz
