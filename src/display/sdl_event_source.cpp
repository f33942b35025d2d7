#include "display/sdl_event_source.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <string_view>
#include <utility>

#include "display/utf8_decoder.h"

namespace zz {
namespace {

constexpr int32_t kVkLeftWindows = 91;
constexpr int32_t kVkRightWindows = 92;
constexpr int32_t kDeleteCharacter = 127;

// Bit of a modifier key in the down-state mask, or 0 for other keys.
uint32_t ModifierBit(int32_t keyCode) {
  if (keyCode >= kVkLeftShift && keyCode <= kVkRightAlt) return 1u << (keyCode - kVkLeftShift);
  if (keyCode == kVkLeftWindows) return 1u << 6;
  if (keyCode == kVkRightWindows) return 1u << 7;
  return 0;
}

constexpr uint32_t kShiftKeys = 0b00000011;
constexpr uint32_t kCtrlKeys = 0b00001100;
constexpr uint32_t kAltKeys = 0b00110000;
constexpr uint32_t kRightAltKey = 0b00100000;
constexpr uint32_t kWindowsKeys = 0b11000000;

bool IsLetter(int32_t keyCode) {
  return keyCode >= 'A' && keyCode <= 'Z';
}

bool IsControlCharacter(int32_t character) {
  return character < 32 || character == kDeleteCharacter;
}

}  // namespace

SdlEventSource::SdlEventSource(std::function<void(const SDL_Event&)> onOtherEvent)
    : onOtherEvent_(std::move(onOtherEvent)) {}

void SdlEventSource::TakePending(KeyboardLayer& layer) {
  // Only what is pending now: input that arrives meanwhile waits for the next query, so a flood
  // cannot hold a query. (SDL_PollEvent's own end marker cannot be queued when the queue is full.)
  if (pumpDue_) SDL_PumpEvents();
  pumpDue_ = false;
  int left = SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
  std::array<SDL_Event, 64> batch;
  while (left > 0) {
    const int taken = SDL_PeepEvents(batch.data(), std::min(left, static_cast<int>(batch.size())),
                                     SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
    if (taken <= 0) break;
    left -= taken;
    for (int i = 0; i < taken; ++i) Translate(batch[static_cast<std::size_t>(i)], layer);
  }
  TypeAltLetterWithoutText(layer);
}

void SdlEventSource::WaitForInput(uint32_t timeoutMs) {
  // With no event to fill, SDL only waits: the event stays queued for the next query.
  SDL_WaitEventTimeout(nullptr, timeoutMs > INT_MAX ? INT_MAX : static_cast<int>(timeoutMs));
}

void SdlEventSource::Translate(const SDL_Event& event, KeyboardLayer& layer) {
  windowsKeys_.Note(event);
  if (event.type == SDL_SYSWMEVENT) return;  // window messages serve only the key codes
  // SDL sends the text of a key right after its key-down: anything else means none came.
  if (event.type != SDL_TEXTINPUT) TypeAltLetterWithoutText(layer);
  switch (event.type) {
    case SDL_KEYDOWN:
      OnKeyDown(event, layer);
      break;
    case SDL_KEYUP:
      OnKeyUp(event, layer);
      break;
    case SDL_TEXTINPUT:
      OnText(event, layer);
      break;
    case SDL_WINDOWEVENT:
      OnWindowEvent(event, layer);
      break;
    case SDL_QUIT:
      break;  // only ESC ends the program
    default:
      PassOn(event);
      break;
  }
}

void SdlEventSource::OnKeyDown(const SDL_Event& event, KeyboardLayer& layer) {
  const int32_t keyCode = windowsKeys_.KeyCodeOf(event.key);
  TrackModifier(keyCode, true);
  DecideTextFromKeys();
  if (keyCode <= 0 || keyCode >= KeyboardLayer::kKeyCount) return;
  layer.Emit(KeyEvent(event.key.repeat == 0 ? kKeyDown : kKeyRepeat, keyCode, flags_));
  if (const int32_t character = CharacterOfKey(keyCode)) Type(layer, character);
  const bool altOnly = (flags_ & (kAltFlag | kCtrlFlag)) == kAltFlag;
  if (altOnly && IsLetter(keyCode)) altLetter_ = (flags_ & kShiftFlag) != 0 ? keyCode : keyCode + ('a' - 'A');
}

void SdlEventSource::OnKeyUp(const SDL_Event& event, KeyboardLayer& layer) {
  const int32_t keyCode = windowsKeys_.KeyCodeOf(event.key);
  TrackModifier(keyCode, false);
  DecideTextFromKeys();
  if (keyCode <= 0 || keyCode >= KeyboardLayer::kKeyCount) return;
  layer.Emit(KeyEvent(kKeyUp, keyCode, flags_));
}

void SdlEventSource::OnText(const SDL_Event& event, KeyboardLayer& layer) {
  altLetter_ = 0;  // the text is the letter
  if (dropText_) return;
  // A pushed event need not be terminated: never look past the buffer.
  const char* const buffer = event.text.text;
  const void* const end = std::memchr(buffer, '\0', sizeof event.text.text);
  const std::string_view text(
      buffer, end != nullptr ? static_cast<const char*>(end) - buffer : sizeof event.text.text);
  for (std::size_t offset = 0; offset < text.size();) {
    const int32_t character = NextCodePoint(text, &offset);
    if (character != kNoCodePoint && !IsControlCharacter(character)) Type(layer, character);
  }
}

void SdlEventSource::OnWindowEvent(const SDL_Event& event, KeyboardLayer& layer) {
  switch (event.window.event) {
    case SDL_WINDOWEVENT_CLOSE:
      return;  // only ESC ends the program
    case SDL_WINDOWEVENT_FOCUS_LOST:
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      // Keys change while another program has the keyboard: start afresh either way.
      layer.Empty();
      Forget();
      break;
    default:
      break;
  }
  PassOn(event);
}

void SdlEventSource::PassOn(const SDL_Event& event) {
  if (onOtherEvent_) onOtherEvent_(event);
}

void SdlEventSource::TrackModifier(int32_t keyCode, bool down) {
  const uint32_t bit = ModifierBit(keyCode);
  if (bit == 0) return;
  modifierKeysDown_ = down ? (modifierKeysDown_ | bit) : (modifierKeysDown_ & ~bit);
  flags_ = ((modifierKeysDown_ & kShiftKeys) != 0 ? kShiftFlag : 0) |
           ((modifierKeysDown_ & kCtrlKeys) != 0 ? kCtrlFlag : 0) |
           ((modifierKeysDown_ & kAltKeys) != 0 ? kAltFlag : 0) |
           ((modifierKeysDown_ & kWindowsKeys) != 0 ? kWindowsKeyFlag : 0);
}

void SdlEventSource::DecideTextFromKeys() {
  // Decided at the key event, not when the text is read: by then SDL's own state may have moved on.
  dropText_ = (flags_ & kCtrlFlag) != 0 && (modifierKeysDown_ & kRightAltKey) == 0;
}

int32_t SdlEventSource::CharacterOfKey(int32_t keyCode) const {
  const bool ctrl = (flags_ & kCtrlFlag) != 0;
  switch (keyCode) {
    case kVkBackspace:
      return ctrl ? kDeleteCharacter : 8;
    case kVkEnter:
      return 13;
    case kVkTab:
      return 9;
    case kVkEscape:
      return 27;
    default:
      break;
  }
  const bool ctrlOnly = (flags_ & (kCtrlFlag | kAltFlag)) == kCtrlFlag;
  return ctrlOnly && IsLetter(keyCode) ? keyCode - 'A' + 1 : 0;
}

void SdlEventSource::TypeAltLetterWithoutText(KeyboardLayer& layer) {
  // On Windows SDL reports ALT+letter (WM_SYSCHAR) as no text; X11 does send it.
  if (altLetter_ == 0) return;
  const int32_t letter = std::exchange(altLetter_, 0);
  Type(layer, letter);
}

void SdlEventSource::Forget() {
  modifierKeysDown_ = 0;
  flags_ = 0;
  dropText_ = false;
  altLetter_ = 0;
}

void SdlEventSource::Type(KeyboardLayer& layer, int32_t character) const {
  layer.Emit(KeyEvent(kTypedCharacter, 0, flags_, character));
}

}  // namespace zz
