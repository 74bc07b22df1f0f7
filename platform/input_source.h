// Where the input layer reads the keyboard and the joysticks. The system
// source reads the tables that the event pump keeps (keyboard_state.h,
// joystick.h); tests install a source of their own through
// Service<cInputSource> so that every rule can be driven without devices.
#pragma once
#include "platform/joystick.h"
#include "platform/service.h"

namespace platform {

class cInputSource {
public:
    virtual ~cInputSource() = default;
    // True while the key with this virtual-key code is held.
    virtual bool IsKeyHeld(int vk) = 0;
    virtual unsigned JoyGetNumDevs() = 0;
    virtual bool JoyGetPosEx(unsigned id, JoyInfoEx& info) = 0;
    virtual bool JoyGetDevCaps(unsigned id, JoyCaps& caps) = 0;
    // The system source.
    static cInputSource& Real();
};

// The source in use: the installed one, else the system source.
cInputSource& InputSource();
// Installs a source for the lifetime of the guard (tests).
using cScopedInputSource = ServiceScope<cInputSource>;

}  // namespace platform
