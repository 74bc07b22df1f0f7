// The input side of the main thread's event pump: key events and focus loss
// feed the key table, joystick events the joystick snapshot.
#pragma once
#include <SDL.h>

namespace platform {

// Opens SDL's joystick subsystem (main thread, before the pump runs); the
// devices already plugged in then arrive as device events. false when SDL
// cannot offer joysticks (the keyboard still works).
bool InitInputDevices();
// Closes the joysticks and releases every key (shutdown).
void ShutdownInputDevices();

// One event from the pump. Events that are not about input are ignored.
void HandleInputEvent(const SDL_Event& event);

}  // namespace platform
