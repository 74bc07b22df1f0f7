// The per-player input record: the frame's direction and button bits, the
// direction number, key repeat and one-shot triggers for menus, run-length
// rings of the last 32 changes of the bits, and the per-key press/release
// histories that the key conditions of flows read.
#pragma once
#include "base/checked_vector.h"
#include "media/input/key_config.h"

#include <cstdint>

constexpr int INPUT_LEFT = 1;
constexpr int INPUT_RIGHT = 2;
constexpr int INPUT_UP = 4;
constexpr int INPUT_DOWN = 8;

// PollInput device mask.
constexpr int INPUT_DEVICE_JOYSTICK = 1;
constexpr int INPUT_DEVICE_KEYBOARD = 2;

constexpr int INPUT_RING_LENGTH = 32;
constexpr int KEY_HISTORY_LENGTH = 32;
constexpr int DIR_KEY_CHANNELS = 10;
constexpr int BUTTON_KEY_CHANNELS = 9;

// One run of a key channel: pressed (1) or released (0) for m_nFrames frames.
struct KeyHistoryEntry {
    int32_t m_nState = 0;
    int32_t m_nFrames = 0;
};
// Always KEY_HISTORY_LENGTH entries, the newest run first.
using KeyHistory = cCheckedVector<KeyHistoryEntry>;

// One run of unchanged bits in a run-length ring.
struct InputRun {
    int16_t m_sValue = 0;
    int32_t m_nFrames = 0;
};

// The direction bits as a number on a keypad layout (1 up-left .. 9
// down-right, 5 neutral); left wins over right and up over down.
int GetDirNumber(int bits);

class cInput {
public:
    cInput();

    void SetKeyRepeat(uint32_t delay, uint32_t interval);
    void SetDefaultJoyButtons();

    // Reads the devices of the mask (bit 0 joystick, bit 1 keyboard) into
    // the bits; the keyboard keys are fixed (arrows; Z X C V A S D F). The
    // index and the frame rate are not used. Returns 1.
    int PollInput(int index, int deviceMask, int framesPerSecond);
    bool IsJoyBindingPressed(const KEYBIND& bind) const;

    void ClearDirInput();
    void ClearButtonInput();

    // Menu filters, after polling.
    void UpdateKeyRepeat();
    void UpdateButtonTrigger(int mask);

    // Run-length rings: channel 0 direction bits, 1 button bits.
    void ClearInputHistory();
    void PushInputHistory();
    int GetPastInput(int channel, int framesBack) const;

    // Key channels.
    void ResizeKeyHistory();
    void RecordKeyHistory();
    static void UpdateKeyChannel(KeyHistory& channel, int value, int code, bool anyBit);

    // Copies the play state (bits, number, shift register, rings, key
    // channels, repeat counters, trigger latch) into / back from another
    // record; repeat settings, button map and joystick fields stay.
    void SaveInputState(cInput& other) const;
    void LoadInputState(const cInput& other);

    int16_t m_sDir = 0;       // INPUT_* bits
    uint16_t m_wButton = 0;   // bit i = button i
    uint16_t m_wDirShift = 0; // raw direction bits of the last four frames, newest low
    InputRun m_Ring[2][INPUT_RING_LENGTH] = {};
    int32_t m_nRingCursor[2] = {0, 0};
    cCheckedVector<KeyHistory> m_vecDirKeys;
    cCheckedVector<KeyHistory> m_vecButtonKeys;
    int32_t m_nDirNumber = 5;
    uint32_t m_dwRepeatCountH = 0;
    uint32_t m_dwRepeatCountV = 0;
    uint32_t m_dwRepeatDelay = 18;
    uint32_t m_dwRepeatInterval = 6;
    int32_t m_bTriggerLatch = 0;
    uint16_t m_wJoyButtonMap[8] = {};
    int32_t m_bJoyPresent = 0;
    uint32_t m_dwJoyId = 0;
    int32_t m_bPovUsable = 0;
    uint32_t m_dwThresholdLeft = 0;
    uint32_t m_dwThresholdRight = 0;
    uint32_t m_dwThresholdUp = 0;
    uint32_t m_dwThresholdDown = 0;
};
