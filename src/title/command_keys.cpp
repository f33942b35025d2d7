#include "title/command_keys.h"

namespace zz {
namespace {

void StepCommand(TitleState& s, int32_t keyCode) {
  const auto layer = static_cast<std::size_t>(s.currentLayer);
  switch (keyCode) {
    case kVkC:
      ++s.layerColourIndex[layer];
      break;
    case kVkS:
      ++s.layerSizeIndex[layer];
      break;
    case kVkF:
      ++s.layerFaceIndex[layer];
      break;
    case kVkB:
      ++s.backgroundIndex;
      break;
    case kVkDigit1:
      ++s.currentLayer;
      break;
    case kVkH:
      ++s.helpShown;
      break;
    default:
      break;
  }
}

// Only the value just stepped can leave its range; the current layer is wrapped first so that
// the per-layer rules index a valid layer.
void BringBackIntoRange(TitleState& s) {
  if (s.currentLayer > 1) s.currentLayer = 0;
  const auto layer = static_cast<std::size_t>(s.currentLayer);
  if (s.layerColourIndex[layer] > 5) s.layerColourIndex[layer] = 0;
  if (s.layerSizeIndex[layer] > 6) s.layerSizeIndex[layer] = 0;
  if (s.layerFaceIndex[layer] > 5) s.layerFaceIndex[layer] = 0;
  if (s.backgroundIndex > 3) s.backgroundIndex = 0;
  if (s.helpShown > 1) s.helpShown = 0;
}

}  // namespace

const HookObject* CommandKeyHook(int32_t /*hookId*/, const HookObject* data, void* context) {
  const KeyEvent* event = AsKeyEvent(data);
  if (event == nullptr) return data;
  if (event->id != kKeyDown) return nullptr;
  if ((event->modifiers & kCtrlFlag) == 0) return nullptr;
  auto& state = *static_cast<TitleState*>(context);
  StepCommand(state, event->keyCode);
  BringBackIntoRange(state);
  return nullptr;
}

}  // namespace zz
