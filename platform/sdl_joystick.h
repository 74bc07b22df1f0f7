// The joystick snapshot's side of SDL's joystick events.
#pragma once
#include <SDL.h>

#include "platform/joystick.h"

namespace platform {

// Device arrival and removal, axis, hat and button events, from the event
// pump (main thread). Returns true when the event was a joystick event.
bool HandleJoystickEvent(const SDL_Event& event);

}  // namespace platform
