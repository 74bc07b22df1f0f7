// Joysticks as the game reads them: ids 0..15 with the ranges of the
// Windows multimedia joystick calls (axes 0..65535, the point-of-view hat in
// hundredths of a degree, a 32-bit button mask). The main thread's event
// pump keeps a snapshot of each open device; readers on any thread take it
// under a lock. A device takes the lowest free id when it arrives and frees
// it when it leaves; reading a free id fails.
#pragma once

#include <cstdint>

namespace platform {

constexpr unsigned kJoystickIds = 16;
constexpr uint32_t JOY_POVCENTERED = 0xFFFF;

constexpr uint32_t JOYCAPS_HASZ = 0x01;
constexpr uint32_t JOYCAPS_HASR = 0x02;
constexpr uint32_t JOYCAPS_HASU = 0x04;
constexpr uint32_t JOYCAPS_HASV = 0x08;
constexpr uint32_t JOYCAPS_HASPOV = 0x10;
constexpr uint32_t JOYCAPS_POV4DIR = 0x20;

// One reading of a joystick.
struct JoyInfoEx {
    uint32_t dwXpos = 0;
    uint32_t dwYpos = 0;
    uint32_t dwZpos = 0;
    uint32_t dwRpos = 0;
    uint32_t dwUpos = 0;
    uint32_t dwVpos = 0;
    uint32_t dwButtons = 0;       // bit i = button i held
    uint32_t dwButtonNumber = 0;  // number of buttons held
    uint32_t dwPOV = JOY_POVCENTERED;
};

// What a joystick offers.
struct JoyCaps {
    uint32_t wXmin = 0, wXmax = 0;
    uint32_t wYmin = 0, wYmax = 0;
    uint32_t wZmin = 0, wZmax = 0;
    uint32_t wRmin = 0, wRmax = 0;
    uint32_t wUmin = 0, wUmax = 0;
    uint32_t wVmin = 0, wVmax = 0;
    uint32_t wNumButtons = 0;
    uint32_t wNumAxes = 0;
    uint32_t wCaps = 0;  // JOYCAPS_* flags
};

// Number of joystick ids (present or not).
unsigned JoyGetNumDevs();
// false when no device holds the id.
bool JoyGetPosEx(unsigned id, JoyInfoEx& info);
bool JoyGetDevCaps(unsigned id, JoyCaps& caps);

// SDL's -32768..32767 as 0..65535; an SDL hat as hundredths of a degree
// clockwise from up, or JOY_POVCENTERED.
uint32_t AxisToJoyRange(int16_t value);
uint32_t HatToPov(uint8_t hat);

// Closes every open device and frees every id (shutdown, tests).
void CloseAllJoysticks();

}  // namespace platform
