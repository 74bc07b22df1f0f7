#include "platform/joystick.h"
#include "platform/sdl_joystick.h"

#include <array>
#include <bit>
#include <mutex>

namespace platform {

namespace {

struct Slot {
    SDL_Joystick* handle = nullptr;  // used on the event thread only
    SDL_JoystickID instance = -1;
    bool present = false;
    JoyInfoEx info;
    JoyCaps caps;
};

std::mutex g_mutex;
std::array<Slot, kJoystickIds> g_slots;

uint32_t* AxisField(JoyInfoEx& info, int axis) {
    switch (axis) {
    case 0: return &info.dwXpos;
    case 1: return &info.dwYpos;
    case 2: return &info.dwZpos;
    case 3: return &info.dwRpos;
    case 4: return &info.dwUpos;
    case 5: return &info.dwVpos;
    default: return nullptr;
    }
}

Slot* FindLocked(SDL_JoystickID instance) {
    for (Slot& s : g_slots)
        if (s.present && s.instance == instance) return &s;
    return nullptr;
}

void SetButton(JoyInfoEx& info, int button, bool down) {
    if (button < 0 || button > 31) return;
    uint32_t bit = 1u << button;
    info.dwButtons = down ? (info.dwButtons | bit) : (info.dwButtons & ~bit);
    info.dwButtonNumber = static_cast<uint32_t>(std::popcount(info.dwButtons));
}

void Attach(int deviceIndex) {
    SDL_Joystick* joy = SDL_JoystickOpen(deviceIndex);
    if (!joy) return;
    SDL_JoystickID instance = SDL_JoystickInstanceID(joy);
    std::lock_guard<std::mutex> lock(g_mutex);
    Slot* free = nullptr;
    for (Slot& s : g_slots) {
        if (s.present && s.instance == instance) {
            SDL_JoystickClose(joy);  // already held; drop the extra reference
            return;
        }
        if (!s.present && !free) free = &s;
    }
    if (!free) {
        SDL_JoystickClose(joy);
        return;
    }
    Slot& s = *free;
    s = Slot{};
    s.handle = joy;
    s.instance = instance;
    s.present = true;
    int axes = SDL_JoystickNumAxes(joy);
    int buttons = SDL_JoystickNumButtons(joy);
    int hats = SDL_JoystickNumHats(joy);
    for (int a = 0; a < axes && a < 6; ++a) *AxisField(s.info, a) = AxisToJoyRange(SDL_JoystickGetAxis(joy, a));
    // Axes the device lacks read as centred, as the multimedia calls give them.
    for (int a = axes < 0 ? 0 : axes; a < 6; ++a) *AxisField(s.info, a) = 32767;
    for (int b = 0; b < buttons && b < 32; ++b) SetButton(s.info, b, SDL_JoystickGetButton(joy, b) != 0);
    s.info.dwPOV = hats > 0 ? HatToPov(SDL_JoystickGetHat(joy, 0)) : JOY_POVCENTERED;
    s.caps.wXmax = s.caps.wYmax = s.caps.wZmax = s.caps.wRmax = s.caps.wUmax = s.caps.wVmax = 65535;
    s.caps.wNumButtons = static_cast<uint32_t>(buttons < 0 ? 0 : (buttons > 32 ? 32 : buttons));
    s.caps.wNumAxes = static_cast<uint32_t>(axes < 0 ? 0 : (axes > 6 ? 6 : axes));
    if (axes > 2) s.caps.wCaps |= JOYCAPS_HASZ;
    if (axes > 3) s.caps.wCaps |= JOYCAPS_HASR;
    if (axes > 4) s.caps.wCaps |= JOYCAPS_HASU;
    if (axes > 5) s.caps.wCaps |= JOYCAPS_HASV;
    if (hats > 0) s.caps.wCaps |= JOYCAPS_HASPOV | JOYCAPS_POV4DIR;
}

void Detach(SDL_JoystickID instance) {
    SDL_Joystick* handle = nullptr;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        Slot* s = FindLocked(instance);
        if (!s) return;
        handle = s->handle;
        *s = Slot{};
    }
    if (handle) SDL_JoystickClose(handle);
}

}  // namespace

uint32_t AxisToJoyRange(int16_t value) { return static_cast<uint32_t>(static_cast<int32_t>(value) + 32768); }

uint32_t HatToPov(uint8_t hat) {
    switch (hat) {
    case SDL_HAT_UP: return 0;
    case SDL_HAT_RIGHTUP: return 4500;
    case SDL_HAT_RIGHT: return 9000;
    case SDL_HAT_RIGHTDOWN: return 13500;
    case SDL_HAT_DOWN: return 18000;
    case SDL_HAT_LEFTDOWN: return 22500;
    case SDL_HAT_LEFT: return 27000;
    case SDL_HAT_LEFTUP: return 31500;
    default: return JOY_POVCENTERED;
    }
}

unsigned JoyGetNumDevs() { return kJoystickIds; }

bool JoyGetPosEx(unsigned id, JoyInfoEx& info) {
    if (id >= kJoystickIds) return false;
    std::lock_guard<std::mutex> lock(g_mutex);
    const Slot& s = g_slots[id];
    if (!s.present) return false;
    info = s.info;
    return true;
}

bool JoyGetDevCaps(unsigned id, JoyCaps& caps) {
    if (id >= kJoystickIds) return false;
    std::lock_guard<std::mutex> lock(g_mutex);
    const Slot& s = g_slots[id];
    if (!s.present) return false;
    caps = s.caps;
    return true;
}

bool HandleJoystickEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_JOYDEVICEADDED:
        Attach(event.jdevice.which);
        return true;
    case SDL_JOYDEVICEREMOVED:
        Detach(event.jdevice.which);
        return true;
    case SDL_JOYAXISMOTION: {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (Slot* s = FindLocked(event.jaxis.which))
            if (uint32_t* f = AxisField(s->info, event.jaxis.axis)) *f = AxisToJoyRange(event.jaxis.value);
        return true;
    }
    case SDL_JOYHATMOTION: {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (Slot* s = FindLocked(event.jhat.which))
            if (event.jhat.hat == 0) s->info.dwPOV = HatToPov(event.jhat.value);
        return true;
    }
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP: {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (Slot* s = FindLocked(event.jbutton.which))
            SetButton(s->info, event.jbutton.button, event.jbutton.state == SDL_PRESSED);
        return true;
    }
    default: return false;
    }
}

void CloseAllJoysticks() {
    std::array<SDL_Joystick*, kJoystickIds> handles{};
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        for (size_t i = 0; i < g_slots.size(); ++i) {
            handles[i] = g_slots[i].handle;
            g_slots[i] = Slot{};
        }
    }
    for (SDL_Joystick* h : handles)
        if (h) SDL_JoystickClose(h);
}

}  // namespace platform
