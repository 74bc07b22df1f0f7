// A keyboard and joysticks under the test's control.
#pragma once
#include "platform/input_source.h"

#include <array>
#include <set>

class cFakeInputSource : public platform::cInputSource {
public:
    struct Joy {
        bool present = false;
        bool capsFail = false;
        platform::JoyInfoEx info;
        platform::JoyCaps caps;
    };

    bool IsKeyHeld(int vk) override { return keys.count(vk) != 0; }
    unsigned JoyGetNumDevs() override { return static_cast<unsigned>(joys.size()); }
    bool JoyGetPosEx(unsigned id, platform::JoyInfoEx& info) override {
        ++posCalls;
        if (id >= joys.size() || !joys[id].present) return false;
        info = joys[id].info;
        return true;
    }
    bool JoyGetDevCaps(unsigned id, platform::JoyCaps& caps) override {
        if (id >= joys.size() || !joys[id].present || joys[id].capsFail) return false;
        caps = joys[id].caps;
        return true;
    }

    // A centred pad with the full axis range and a hat.
    Joy& Plug(unsigned id, bool hat = true) {
        Joy& j = joys.at(id);
        j = Joy{};
        j.present = true;
        j.info.dwXpos = j.info.dwYpos = 32767;
        j.caps.wXmax = j.caps.wYmax = 65535;
        j.caps.wCaps = hat ? platform::JOYCAPS_HASPOV | platform::JOYCAPS_POV4DIR : 0;
        return j;
    }

    std::set<int> keys;
    std::array<Joy, 16> joys{};
    int posCalls = 0;
};
