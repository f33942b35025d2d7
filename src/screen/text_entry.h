// Text entry and movement: one typed character and the four arrow keys, once per pass.
#pragma once

#include "display/keyboard_layer.h"
#include "title/title_state.h"

namespace zz {

constexpr int32_t kBackspaceCharacter = 8;
constexpr int32_t kMovementStep = 5;

void ApplyTextEntryAndMovement(TitleState& state, KeyboardLayer& keyboard);

// a + b saturated to the signed 32-bit range: a position held down on one arrow for ever stops
// at the edge of the range instead of overflowing.
int32_t SaturatingAdd(int32_t a, int32_t b);

}  // namespace zz
