// The key table's side of SDL's key events.
#pragma once
#include <SDL.h>

#include "platform/keyboard_state.h"

namespace platform {

// The virtual-key code of an SDL key, 0 when it has none. Letters, digits
// and punctuation follow the key code (so letters follow the layout, with
// the key's position as the fallback for layouts without Latin letters);
// arrows, F1-F24, the keypad, Esc, Enter, Backspace, Tab, Space, the
// modifiers and the editing keys follow the scancode.
int SdlKeyToVirtualKey(const SDL_Keysym& key);

// Key events and focus loss, called from the event pump (main thread).
// Returns true when the event was a key or focus event.
bool HandleKeyboardEvent(const SDL_Event& event);

}  // namespace platform
