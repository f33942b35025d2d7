#include "display/keyboard_layer.h"

#include <algorithm>
#include <limits>

namespace zz {

void KeyboardLayer::AddHandler(HookHandler handler, void* context, int32_t priority) {
  // Insert after every handler of equal or higher priority: equal priorities run in order added.
  const auto at = std::find_if(handlers_.begin(), handlers_.end(),
                               [priority](const Handler& h) { return h.priority < priority; });
  handlers_.insert(at, Handler{handler, context, priority});
}

void KeyboardLayer::AddRecorder() {
  AddHandler(&KeyboardLayer::Record, this, 0);
}

void KeyboardLayer::RemoveRecorder() {
  std::erase_if(handlers_, [this](const Handler& h) { return h.function == &Record && h.context == this; });
}

void KeyboardLayer::Empty() {
  pressed_.fill(false);
  hits_.fill(0);
  queueHead_ = 0;
  queueSize_ = 0;
}

int32_t KeyboardLayer::KeyHit(int32_t keyCode) {
  TakePending();
  if (keyCode < 0 || keyCode >= kKeyCount) return 0;
  const int32_t hits = hits_[static_cast<std::size_t>(keyCode)];
  hits_[static_cast<std::size_t>(keyCode)] = 0;
  return hits;
}

int32_t KeyboardLayer::NextCharacter() {
  TakePending();
  if (queueSize_ == 0) return 0;
  const int32_t character = queue_[queueHead_];
  queueHead_ = (queueHead_ + 1) % kQueueCapacity;
  --queueSize_;
  return character;
}

bool KeyboardLayer::KeyPressed(int32_t keyCode) {
  TakePending();
  return keyCode >= 0 && keyCode < kKeyCount && pressed_[static_cast<std::size_t>(keyCode)];
}

void KeyboardLayer::WaitForInput(uint32_t timeoutMs) {
  if (source_ != nullptr) source_->WaitForInput(timeoutMs);
}

void KeyboardLayer::Emit(const KeyEvent& event) {
  const HookObject* data = &event;
  for (const Handler& handler : handlers_) data = handler.function(kKeyEventHook, data, handler.context);
}

const HookObject* KeyboardLayer::Record(int32_t /*hookId*/, const HookObject* data, void* context) {
  if (const KeyEvent* event = AsKeyEvent(data)) static_cast<KeyboardLayer*>(context)->RecordEvent(*event);
  return data;
}

void KeyboardLayer::RecordEvent(const KeyEvent& event) {
  const bool isKey = event.keyCode > 0 && event.keyCode < kKeyCount;
  const auto key = static_cast<std::size_t>(isKey ? event.keyCode : 0);
  switch (event.id) {
    case kKeyDown:
      if (!isKey) break;
      pressed_[key] = true;
      if (hits_[key] < std::numeric_limits<int32_t>::max()) ++hits_[key];
      break;
    case kKeyRepeat:
      if (isKey) pressed_[key] = true;
      break;
    case kKeyUp:
      if (isKey) pressed_[key] = false;
      break;
    case kTypedCharacter:
      PushCharacter(event.character);
      break;
    default:
      break;
  }
}

void KeyboardLayer::PushCharacter(int32_t character) {
  if (queueSize_ == kQueueCapacity) return;  // the pending characters stay, the new one is lost
  queue_[(queueHead_ + queueSize_) % kQueueCapacity] = character;
  ++queueSize_;
}

void KeyboardLayer::TakePending() {
  if (source_ == nullptr || taking_) return;
  taking_ = true;
  source_->TakePending(*this);
  taking_ = false;
}

}  // namespace zz
