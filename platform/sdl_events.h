// The program's events made from SDL's (tests build events this way).
#pragma once
#include <SDL.h>

#include "platform/events.h"

namespace platform {

// Copies everything the program reads; a text of an extended editing event
// is copied, not freed.
Event FromSdlEvent(const SDL_Event& e);

}  // namespace platform
