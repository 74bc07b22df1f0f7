#include "media/input/input_list.h"

#include "platform/input_source.h"

#include <algorithm>
#include <climits>

// g_InputList is built with the other global objects (media/globals.cpp).

namespace {
cJoystickDetector g_JoystickDetector;
}

void cJoystickDetector::Detect(int framesPerSecond, cCheckedVector<cInput>& list) {
    const int idleFrames = static_cast<int>(std::clamp<long long>(4LL * framesPerSecond, 0, INT_MAX));
    const long long count = static_cast<long long>(list.size());
    int present = 0;
    for (long long i = 0; i < count; ++i)
        if (list.at(i).m_bJoyPresent) ++present;
    bool scan = present < m_nPrevPresent;
    m_nPrevPresent = present;

    if (present == 0) {
        if (m_nIdleCountdown > 0) {
            bool anyHeld = false;
            for (long long i = 0; i < count; ++i)
                if (list.at(i).m_sDir != 0 || list.at(i).m_wButton != 0) anyHeld = true;
            if (anyHeld)
                m_nIdleCountdown = idleFrames;
            else
                --m_nIdleCountdown;
        }
        if (m_nIdleCountdown <= 0) {
            scan = true;
            m_nIdleCountdown = idleFrames;
        }
    }
    if (!scan) return;

    platform::cInputSource& src = platform::InputSource();
    const unsigned devs = src.JoyGetNumDevs();
    const long long record = 0;  // only the first working joystick is taken
    for (unsigned id = 0; id < devs; ++id) {
        platform::JoyInfoEx info;
        if (!src.JoyGetPosEx(id, info)) {
            list.at(record).m_bJoyPresent = 0;
            continue;
        }
        platform::JoyCaps caps;
        if (!src.JoyGetDevCaps(id, caps)) continue;
        cInput& in = list.at(record);
        in.m_bJoyPresent = 1;
        in.m_dwJoyId = id;
        in.m_dwThresholdLeft = caps.wXmin + (caps.wXmax - caps.wXmin) / 3;
        in.m_dwThresholdRight = caps.wXmax - (caps.wXmax - caps.wXmin) / 3;
        in.m_dwThresholdUp = caps.wYmin + (caps.wYmax - caps.wYmin) / 3;
        in.m_dwThresholdDown = caps.wYmax - (caps.wYmax - caps.wYmin) / 3;
        in.m_bPovUsable = (caps.wCaps & (platform::JOYCAPS_HASPOV | platform::JOYCAPS_POV4DIR)) != 0;
        break;
    }
}

void DetectJoysticks(void* /*window*/, int framesPerSecond, cCheckedVector<cInput>& list) {
    g_JoystickDetector.Detect(framesPerSecond, list);
}

bool IsBindingPressed(cCheckedVector<cInput>& list, const KEYBIND& bind) {
    if (bind.m_nDevice == KEYDEVICE_KEYBOARD) return platform::InputSource().IsKeyHeld(bind.m_wCode);
    if (bind.m_nDevice < 0 || bind.m_nDevice >= static_cast<long long>(list.size())) return false;
    return list.at(bind.m_nDevice).IsJoyBindingPressed(bind);
}

int UpdateAllInput(cCheckedVector<cInput>& list, int /*framesPerSecond*/) {
    if (!g_KeyConfig.m_bEnabled) return 0;
    const long long count = static_cast<long long>(list.size());
    for (long long i = 0; i < count; ++i) list.at(i).PollInput(static_cast<int>(i), INPUT_DEVICE_JOYSTICK, 60);

    struct Result {
        int number = 5;
        int dir = 0;
        int buttons = 0;
    };
    const int players = KeyConfigPlayerCount(g_KeyConfig, count);
    const int binds = KeyConfigBindCount(g_KeyConfig);
    Result results[KEYCONFIG_MAX_PLAYERS];
    for (int p = 0; p < players; ++p) {
        const KEYBIND* b = g_KeyConfig.m_Player[p].m_Bind;
        Result& r = results[p];
        if (IsBindingPressed(list, b[0]))
            r.dir |= INPUT_LEFT, r.number -= 1;
        else if (IsBindingPressed(list, b[1]))
            r.dir |= INPUT_RIGHT, r.number += 1;
        if (IsBindingPressed(list, b[2]))
            r.dir |= INPUT_UP, r.number -= 3;
        else if (IsBindingPressed(list, b[3]))
            r.dir |= INPUT_DOWN, r.number += 3;
        for (int j = 4; j < binds; ++j)
            if (IsBindingPressed(list, b[j])) r.buttons |= 1 << (j - 4);
    }
    // Joystick bindings read the records' polled bits, so every player is
    // worked out before any record is overwritten.
    for (int p = 0; p < players; ++p) {
        cInput& in = list.at(p);
        in.m_nDirNumber = results[p].number;
        in.m_sDir = static_cast<int16_t>(results[p].dir);
        in.m_wButton = static_cast<uint16_t>(results[p].buttons);
    }
    return 1;
}
