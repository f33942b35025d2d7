// Key input for tests: key events and typed characters, delivered to the keyboard layer by its
// next query (or by a chosen later query), as the platform's event queue would.
#pragma once

#include <deque>
#include <string_view>
#include <vector>

#include "display/keyboard_layer.h"

namespace zz::test {

class ScriptedKeys final : public EventSource {
 public:
  using Batch = std::vector<KeyEvent>;

  // Events pending now: the next query takes them.
  ScriptedKeys& Press(int32_t keyCode, int32_t flags = 0) {
    pending_.push_back({kKeyDown, keyCode, flags});
    return *this;
  }
  ScriptedKeys& Repeat(int32_t keyCode, int32_t flags = 0) {
    pending_.push_back({kKeyRepeat, keyCode, flags});
    return *this;
  }
  ScriptedKeys& Release(int32_t keyCode, int32_t flags = 0) {
    pending_.push_back({kKeyUp, keyCode, flags});
    return *this;
  }
  ScriptedKeys& Type(int32_t character, int32_t flags = 0) {
    pending_.push_back({kTypedCharacter, 0, flags, character});
    return *this;
  }
  ScriptedKeys& Type(std::string_view text) {
    for (char c : text) Type(static_cast<unsigned char>(c));
    return *this;
  }
  // A full key press with its character, as the platform translates it.
  ScriptedKeys& Stroke(int32_t keyCode, int32_t character, int32_t flags = 0) {
    Press(keyCode, flags);
    if (character != 0) Type(character, flags);
    return Release(keyCode, flags);
  }
  ScriptedKeys& Ctrl(int32_t keyCode, int32_t character = 0) {
    Press(kVkLeftControl, kCtrlFlag);
    Stroke(keyCode, character, kCtrlFlag);
    return Release(kVkLeftControl, 0);
  }
  // What is pending so far is held back until the query after `skipQueries` more queries.
  void DeliverAfterQueries(int skipQueries) { delayed_ = skipQueries; }

  void TakePending(KeyboardLayer& layer) override {
    ++queries_;
    if (delayed_ > 0) {
      --delayed_;
      return;
    }
    std::vector<KeyEvent> batch;
    batch.swap(pending_);
    for (const KeyEvent& event : batch) layer.Emit(event);
  }
  void WaitForInput(uint32_t /*timeoutMs*/) override {}

  int queries() const { return queries_; }

 private:
  std::vector<KeyEvent> pending_;
  int delayed_ = 0;
  int queries_ = 0;
};

}  // namespace zz::test
