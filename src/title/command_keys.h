// The CTRL command keys, run on the keyboard layer's key-event hook.
#pragma once

#include <cstdint>

#include "display/key_event.h"
#include "title/title_state.h"

namespace zz {

// The hook handler. context is the TitleState it changes. Returns data unchanged when it is not
// a key event, and null for every key event.
const HookObject* CommandKeyHook(int32_t hookId, const HookObject* data, void* context);

}  // namespace zz
