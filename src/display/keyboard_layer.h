// The keyboard layer: per-key pressed state and hit counts, the typed-character queue and the
// key-event hook chain. It takes input only inside its queries, from a replaceable event source,
// so everything here runs without a display.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "display/key_event.h"

namespace zz {

class KeyboardLayer;

// Where key input comes from: the platform's event queue, or a script in tests.
class EventSource {
 public:
  virtual ~EventSource() = default;
  // Turns every pending input message into calls of layer.Emit / layer.Empty, then returns.
  virtual void TakePending(KeyboardLayer& layer) = 0;
  // Blocks until input may be pending or timeoutMs has passed; takes nothing itself.
  virtual void WaitForInput(uint32_t timeoutMs) = 0;
};

class KeyboardLayer {
 public:
  static constexpr int32_t kKeyEventHook = 1;
  static constexpr std::size_t kQueueCapacity = 256;
  static constexpr int32_t kKeyCount = 256;

  void SetEventSource(EventSource* source) { source_ = source; }

  // Adds a handler to the key-event hook; descending priority, equal priorities in order added.
  void AddHandler(HookHandler handler, void* context, int32_t priority);
  // Adds the layer's own recorder at priority 0.
  void AddRecorder();
  void RemoveRecorder();

  // Discards pressed states, hit counts and queued characters.
  void Empty();

  // Queries: each first takes all pending input from the event source.
  int32_t KeyHit(int32_t keyCode);
  int32_t NextCharacter();
  bool KeyPressed(int32_t keyCode);

  // Blocks until input may be pending (or the timeout passes), so a wait does not spin.
  void WaitForInput(uint32_t timeoutMs);

  // Called by the event source: passes the event along the hook chain.
  void Emit(const KeyEvent& event);

  std::size_t QueuedCharacters() const { return queueSize_; }

 private:
  struct Handler {
    HookHandler function;
    void* context;
    int32_t priority;
  };

  static const HookObject* Record(int32_t hookId, const HookObject* data, void* context);
  void RecordEvent(const KeyEvent& event);
  void TakePending();
  void PushCharacter(int32_t character);

  EventSource* source_ = nullptr;
  bool taking_ = false;  // a query that starts while input is being taken takes none itself
  std::vector<Handler> handlers_;
  std::array<bool, kKeyCount> pressed_{};
  std::array<int32_t, kKeyCount> hits_{};
  std::array<int32_t, kQueueCapacity> queue_{};
  std::size_t queueHead_ = 0;
  std::size_t queueSize_ = 0;
};

}  // namespace zz
