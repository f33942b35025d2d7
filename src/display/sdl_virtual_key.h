// The Windows virtual-key code of an SDL key, so the key tables are the same on every platform.
#pragma once

#include <SDL_keyboard.h>

#include <cstdint>

namespace zz {

// Letters follow the active layout (the key's symbol), as Windows' virtual keys do; every other
// key is known by its position, so the numeric keypad keeps its own codes whatever NumLock says.
// Returns 0 for a key without a code.
int32_t VirtualKeyOf(const SDL_Keysym& key);

}  // namespace zz
