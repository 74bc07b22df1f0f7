#include "platform/input_events.h"

#include "platform/joystick.h"
#include "platform/sdl_joystick.h"
#include "platform/keyboard_state.h"
#include "platform/sdl_keyboard.h"

namespace platform {

namespace {
bool g_bOpened = false;  // the subsystem was opened here
}

bool InitInputDevices() {
    if (!g_bOpened) {
        if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return false;
        g_bOpened = true;
    }
    SDL_JoystickEventState(SDL_ENABLE);
    return true;
}

void ShutdownInputDevices() {
    CloseAllJoysticks();
    ClearKeyTable();
    if (g_bOpened) {
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        g_bOpened = false;
    }
}

void HandleInputEvent(const SDL_Event& event) {
    if (HandleKeyboardEvent(event)) return;
    HandleJoystickEvent(event);
}

}  // namespace platform
