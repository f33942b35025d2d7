#include "screen/text_entry.h"

#include <cstdint>
#include <limits>

namespace zz {
namespace {

void ApplyCharacter(std::u16string& text, int32_t character) {
  if (character == kBackspaceCharacter) {
    if (!text.empty()) text.pop_back();
  } else if (character >= 32 && character <= 126) {
    text.push_back(static_cast<char16_t>(character));
  }
}

}  // namespace

int32_t SaturatingAdd(int32_t a, int32_t b) {
  const int64_t sum = int64_t{a} + int64_t{b};
  if (sum > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (sum < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(sum);
}

// Every query may run the command keys, which may switch the current layer: read it afresh
// after each one.
void ApplyTextEntryAndMovement(TitleState& s, KeyboardLayer& keyboard) {
  const int32_t character = keyboard.NextCharacter();
  ApplyCharacter(s.layerText[static_cast<std::size_t>(s.currentLayer)], character);

  if (keyboard.KeyHit(kVkDown) != 0) {
    auto& y = s.layerY[static_cast<std::size_t>(s.currentLayer)];
    y = SaturatingAdd(y, kMovementStep);
  }
  if (keyboard.KeyHit(kVkUp) != 0) {
    auto& y = s.layerY[static_cast<std::size_t>(s.currentLayer)];
    y = SaturatingAdd(y, -kMovementStep);
  }
  if (keyboard.KeyHit(kVkRight) != 0) {
    auto& x = s.layerX[static_cast<std::size_t>(s.currentLayer)];
    x = SaturatingAdd(x, kMovementStep);
  }
  if (keyboard.KeyHit(kVkLeft) != 0) {
    auto& x = s.layerX[static_cast<std::size_t>(s.currentLayer)];
    x = SaturatingAdd(x, -kMovementStep);
  }
}

}  // namespace zz
