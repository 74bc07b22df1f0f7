#include "media/input/input.h"

#include "platform/input_source.h"
#include "platform/keyboard_state.h"

#include <climits>

namespace {

constexpr int kButtonKeys[8] = {'Z', 'X', 'C', 'V', 'A', 'S', 'D', 'F'};

// Direction channel codes in channel order: exact values, then any direction.
constexpr int kDirChannelCodes[DIR_KEY_CHANNELS] = {0, 1, 2, 4, 8, 5, 9, 6, 10, 15};

void AddFrame(int32_t& frames) {
    if (frames < INT32_MAX) ++frames;
}

}  // namespace

int GetDirNumber(int bits) {
    int n = 5;
    if (bits & INPUT_LEFT)
        n = 4;
    else if (bits & INPUT_RIGHT)
        n = 6;
    if (bits & INPUT_UP)
        n -= 3;
    else if (bits & INPUT_DOWN)
        n += 3;
    return n;
}

cInput::cInput() {
    ResizeKeyHistory();
    SetDefaultJoyButtons();
}

void cInput::SetKeyRepeat(uint32_t delay, uint32_t interval) {
    m_dwRepeatDelay = delay;
    m_dwRepeatInterval = interval;
}

void cInput::SetDefaultJoyButtons() {
    for (int i = 0; i < 8; ++i) m_wJoyButtonMap[i] = static_cast<uint16_t>(1u << i);
}

int cInput::PollInput(int /*index*/, int deviceMask, int /*framesPerSecond*/) {
    platform::cInputSource& src = platform::InputSource();
    int number = 5;
    int dir = 0;
    int buttons = 0;
    bool dirFromJoy = false;
    bool buttonsFromJoy = false;

    if ((deviceMask & INPUT_DEVICE_JOYSTICK) && m_bJoyPresent) {
        platform::JoyInfoEx info;
        if (!src.JoyGetPosEx(m_dwJoyId, info)) {
            m_bJoyPresent = 0;
        } else {
            if (info.dwXpos <= m_dwThresholdLeft) {
                dir |= INPUT_LEFT;
                number -= 1;
            } else if (info.dwXpos >= m_dwThresholdRight) {
                dir |= INPUT_RIGHT;
                number += 1;
            }
            if (info.dwYpos <= m_dwThresholdUp) {
                dir |= INPUT_UP;
                number -= 3;
            } else if (info.dwYpos >= m_dwThresholdDown) {
                dir |= INPUT_DOWN;
                number += 3;
            }
            // The hat counts only while the stick is neutral.
            if (m_bPovUsable && number == 5) {
                switch (info.dwPOV) {
                case 0: dir |= INPUT_UP, number = 2; break;
                case 4500: dir |= INPUT_UP | INPUT_RIGHT, number = 3; break;
                case 9000: dir |= INPUT_RIGHT, number = 6; break;
                case 13500: dir |= INPUT_DOWN | INPUT_RIGHT, number = 9; break;
                case 18000: dir |= INPUT_DOWN, number = 8; break;
                case 22500: dir |= INPUT_DOWN | INPUT_LEFT, number = 7; break;
                case 27000: dir |= INPUT_LEFT, number = 4; break;
                case 31500: dir |= INPUT_UP | INPUT_LEFT, number = 1; break;
                default: break;
                }
            }
            dirFromJoy = number != 5;
            for (int i = 0; i < 8; ++i)
                if (info.dwButtons & m_wJoyButtonMap[i]) buttons |= 1 << i;
            buttonsFromJoy = buttons != 0;
        }
    }

    if (deviceMask & INPUT_DEVICE_KEYBOARD) {
        // Each arrow is tested by itself: left and right together give both
        // bits and number 5.
        if (!dirFromJoy) {
            if (src.IsKeyHeld(platform::VK_LEFT)) dir |= INPUT_LEFT, number -= 1;
            if (src.IsKeyHeld(platform::VK_RIGHT)) dir |= INPUT_RIGHT, number += 1;
            if (src.IsKeyHeld(platform::VK_UP)) dir |= INPUT_UP, number -= 3;
            if (src.IsKeyHeld(platform::VK_DOWN)) dir |= INPUT_DOWN, number += 3;
        }
        if (!buttonsFromJoy) {
            for (int i = 0; i < 8; ++i)
                if (src.IsKeyHeld(kButtonKeys[i])) buttons |= 1 << i;
        }
    }

    m_sDir = static_cast<int16_t>(dir);
    m_wButton = static_cast<uint16_t>(buttons);
    m_nDirNumber = number;
    return 1;
}

bool cInput::IsJoyBindingPressed(const KEYBIND& bind) const {
    switch (bind.m_wCode) {
    case JOYBIND_LEFT: return (m_sDir & INPUT_LEFT) != 0;
    case JOYBIND_RIGHT: return (m_sDir & INPUT_RIGHT) != 0;
    case JOYBIND_UP: return (m_sDir & INPUT_UP) != 0;
    case JOYBIND_DOWN: return (m_sDir & INPUT_DOWN) != 0;
    default: return (bind.m_wCode & m_wButton) != 0;
    }
}

void cInput::ClearDirInput() {
    m_sDir = 0;
    m_nDirNumber = 5;
}

void cInput::ClearButtonInput() { m_wButton = 0; }

void cInput::UpdateKeyRepeat() {
    m_wDirShift = static_cast<uint16_t>((m_wDirShift << 4) | (m_sDir & 15));
    const int prev = (m_wDirShift >> 4) & 15;
    const int cur = m_sDir & 15;
    // A held state passes on its first frame, then when the counter reaches
    // the delay and every interval after it. An interval of 0 never repeats.
    auto filter = [this, prev, cur](int mask, uint32_t& counter) {
        if ((cur & mask) != (prev & mask)) {
            counter = 0;
            return;
        }
        ++counter;
        bool due = counter >= m_dwRepeatDelay && m_dwRepeatInterval != 0 && counter % m_dwRepeatInterval == 0;
        if (!due) m_sDir = static_cast<int16_t>(m_sDir & ~mask);
    };
    filter(INPUT_LEFT | INPUT_RIGHT, m_dwRepeatCountH);
    filter(INPUT_UP | INPUT_DOWN, m_dwRepeatCountV);
}

void cInput::UpdateButtonTrigger(int mask) {
    if (mask == 0) mask = 255;
    const int atEntry = m_wButton;
    for (int i = 0; i < 8; ++i) {
        const int bit = 1 << i;
        if (!(mask & bit)) continue;
        if (m_bTriggerLatch == 1 && (atEntry & bit)) m_wButton = static_cast<uint16_t>(m_wButton & ~bit);
        if ((m_wButton & bit) && m_bTriggerLatch == 0) {
            m_bTriggerLatch = 1;
            return;
        }
    }
    if ((atEntry & mask) == 0)
        m_bTriggerLatch = 0;
    else
        m_wButton = static_cast<uint16_t>(m_wButton & ~mask);
}

void cInput::ClearInputHistory() {
    for (auto& ring : m_Ring)
        for (auto& run : ring) run = InputRun{};
    m_nRingCursor[0] = m_nRingCursor[1] = 0;
}

void cInput::PushInputHistory() {
    const int16_t values[2] = {m_sDir, static_cast<int16_t>(m_wButton)};
    for (int ch = 0; ch < 2; ++ch) {
        int32_t& cursor = m_nRingCursor[ch];
        InputRun& top = m_Ring[ch][cursor];
        if (top.m_sValue == values[ch]) {
            AddFrame(top.m_nFrames);
        } else {
            cursor = (cursor + 1) % INPUT_RING_LENGTH;
            m_Ring[ch][cursor] = InputRun{values[ch], 1};
        }
    }
}

int cInput::GetPastInput(int channel, int framesBack) const {
    if (channel < 0 || channel > 1) return 0;
    long long k = static_cast<long long>(framesBack) + 1;
    int pos = m_nRingCursor[channel];
    for (int i = 0; i < INPUT_RING_LENGTH; ++i) {
        const InputRun& run = m_Ring[channel][pos];
        if (k > run.m_nFrames) {
            k -= run.m_nFrames;
            pos = (pos + INPUT_RING_LENGTH - 1) % INPUT_RING_LENGTH;
        }
    }
    return m_Ring[channel][pos].m_sValue;
}

void cInput::ResizeKeyHistory() {
    m_vecDirKeys.assign(DIR_KEY_CHANNELS, KeyHistory(KEY_HISTORY_LENGTH));
    m_vecButtonKeys.assign(BUTTON_KEY_CHANNELS, KeyHistory(KEY_HISTORY_LENGTH));
}

void cInput::UpdateKeyChannel(KeyHistory& channel, int value, int code, bool anyBit) {
    const bool pressed = anyBit ? (value & code) != 0 : static_cast<uint16_t>(value) == static_cast<uint16_t>(code);
    KeyHistoryEntry& newest = channel.at(0);
    if (pressed != (newest.m_nState != 0)) {
        channel.insert(channel.begin(), KeyHistoryEntry{pressed ? 1 : 0, 1});
        channel.pop_back();
    } else {
        AddFrame(newest.m_nFrames);
    }
}

void cInput::RecordKeyHistory() {
    for (int c = 0; c < DIR_KEY_CHANNELS; ++c)
        UpdateKeyChannel(m_vecDirKeys.at(c), m_sDir, kDirChannelCodes[c], c == DIR_KEY_CHANNELS - 1);
    UpdateKeyChannel(m_vecButtonKeys.at(0), m_wButton, 0, false);
    for (int c = 1; c < BUTTON_KEY_CHANNELS; ++c) UpdateKeyChannel(m_vecButtonKeys.at(c), m_wButton, 1 << (c - 1), true);
}

void cInput::SaveInputState(cInput& other) const {
    other.m_sDir = m_sDir;
    other.m_wButton = m_wButton;
    other.m_nDirNumber = m_nDirNumber;
    other.m_wDirShift = m_wDirShift;
    for (int ch = 0; ch < 2; ++ch) {
        for (int i = 0; i < INPUT_RING_LENGTH; ++i) other.m_Ring[ch][i] = m_Ring[ch][i];
        other.m_nRingCursor[ch] = m_nRingCursor[ch];
    }
    other.m_vecDirKeys = m_vecDirKeys;
    other.m_vecButtonKeys = m_vecButtonKeys;
    other.m_dwRepeatCountH = m_dwRepeatCountH;
    other.m_dwRepeatCountV = m_dwRepeatCountV;
    other.m_bTriggerLatch = m_bTriggerLatch;
}

void cInput::LoadInputState(const cInput& other) { other.SaveInputState(*this); }
