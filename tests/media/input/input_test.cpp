#include "media/input/input.h"

#include "fake_input_source.h"
#include "platform/keyboard_state.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

using platform::VK_DOWN;
using platform::VK_LEFT;
using platform::VK_RIGHT;
using platform::VK_UP;

namespace {

struct DirNumberCase {
    int bits;
    int number;
};

TEST(GetDirNumber, KeypadLayoutLeftAndUpWin) {
    const DirNumberCase cases[] = {
        {0, 5}, {INPUT_LEFT, 4}, {INPUT_RIGHT, 6}, {INPUT_UP, 2}, {INPUT_DOWN, 8},
        {INPUT_LEFT | INPUT_UP, 1}, {INPUT_RIGHT | INPUT_UP, 3}, {INPUT_LEFT | INPUT_DOWN, 7},
        {INPUT_RIGHT | INPUT_DOWN, 9}, {INPUT_LEFT | INPUT_RIGHT, 4}, {INPUT_UP | INPUT_DOWN, 2}, {15, 1},
    };
    for (const auto& c : cases) EXPECT_EQ(GetDirNumber(c.bits), c.number) << "bits " << c.bits;
}

class PollTest : public ::testing::Test {
protected:
    // Record 0 with a joystick at id 0 whose thresholds come from the full
    // 0..65535 range: 21845 and 43690 on both axes.
    void PlugJoystick(bool povUsable = true) {
        src.Plug(0, povUsable);
        in.m_bJoyPresent = 1;
        in.m_dwJoyId = 0;
        in.m_dwThresholdLeft = in.m_dwThresholdUp = 21845;
        in.m_dwThresholdRight = in.m_dwThresholdDown = 43690;
        in.m_bPovUsable = povUsable;
    }

    cFakeInputSource src;
    platform::cScopedInputSource scope{src};
    cInput in;
};

struct KeyCase {
    std::vector<int> keys;
    int mask;
    int dir;
    int number;
    int buttons;
};

TEST_F(PollTest, FixedKeysEachTestedByItself) {
    const KeyCase cases[] = {
        {{}, 3, 0, 5, 0},
        {{VK_LEFT, VK_RIGHT}, 3, 3, 5, 0},
        {{VK_UP, VK_DOWN}, 3, 12, 5, 0},
        {{VK_LEFT, VK_UP}, 3, 5, 1, 0},
        {{VK_RIGHT, VK_DOWN}, 3, 10, 9, 0},
        {{'Z', 'F'}, 3, 0, 5, 0x81},
        {{'X', 'C', 'V', 'A', 'S', 'D'}, 3, 0, 5, 0x7E},
        {{'Q', 'J', platform::VK_SPACE}, 3, 0, 5, 0},
        {{VK_LEFT, 'Z'}, 1, 0, 5, 0},  // joystick only
    };
    for (const auto& c : cases) {
        src.keys = {c.keys.begin(), c.keys.end()};
        in.m_sDir = 15;
        in.m_wButton = 255;
        EXPECT_EQ(in.PollInput(0, c.mask, 60), 1);
        EXPECT_EQ(in.m_sDir, c.dir) << "case with " << c.keys.size() << " keys, dir " << c.dir;
        EXPECT_EQ(in.m_nDirNumber, c.number) << "dir " << c.dir;
        EXPECT_EQ(in.m_wButton, c.buttons) << "buttons " << c.buttons;
    }
}

struct JoyCase {
    uint32_t x, y, pov;
    bool povUsable;
    int dir;
    int number;
};

TEST_F(PollTest, AxesAtThresholdCountAndHatOnlyWhileNeutral) {
    const uint32_t C = 32767, N = platform::JOY_POVCENTERED;
    const JoyCase cases[] = {
        {21845, C, N, true, INPUT_LEFT, 4},   // exactly at the threshold
        {21846, C, N, true, 0, 5},
        {43690, C, N, true, INPUT_RIGHT, 6},
        {43689, C, N, true, 0, 5},
        {C, 21845, N, true, INPUT_UP, 2},
        {C, 43690, N, true, INPUT_DOWN, 8},
        {0, 65535, N, true, INPUT_LEFT | INPUT_DOWN, 7},
        {65535, 0, N, true, INPUT_RIGHT | INPUT_UP, 3},
        {C, C, 0, true, INPUT_UP, 2},
        {C, C, 4500, true, INPUT_UP | INPUT_RIGHT, 3},
        {C, C, 9000, true, INPUT_RIGHT, 6},
        {C, C, 13500, true, INPUT_DOWN | INPUT_RIGHT, 9},
        {C, C, 18000, true, INPUT_DOWN, 8},
        {C, C, 22500, true, INPUT_DOWN | INPUT_LEFT, 7},
        {C, C, 27000, true, INPUT_LEFT, 4},
        {C, C, 31500, true, INPUT_UP | INPUT_LEFT, 1},
        {C, C, 2250, true, 0, 5},              // between two directions
        {C, C, N, true, 0, 5},                 // centred
        {0, C, 9000, true, INPUT_LEFT, 4},     // stick deflected: hat ignored
        {C, 65535, 0, true, INPUT_DOWN, 8},
        {C, C, 9000, false, 0, 5},             // no usable hat
    };
    for (const auto& c : cases) {
        PlugJoystick(c.povUsable);
        src.joys[0].info.dwXpos = c.x;
        src.joys[0].info.dwYpos = c.y;
        src.joys[0].info.dwPOV = c.pov;
        in.PollInput(0, 1, 60);
        EXPECT_EQ(in.m_sDir, c.dir) << "x " << c.x << " y " << c.y << " pov " << c.pov;
        EXPECT_EQ(in.m_nDirNumber, c.number) << "x " << c.x << " y " << c.y << " pov " << c.pov;
    }
}

struct MixCase {
    uint32_t x;
    uint32_t pov;
    uint32_t joyButtons;
    std::vector<int> keys;
    int dir;
    int buttons;
};

TEST_F(PollTest, JoystickDirectionHidesArrowsAndJoystickButtonHidesButtonKeys) {
    const uint32_t C = 32767, N = platform::JOY_POVCENTERED;
    const MixCase cases[] = {
        {0, N, 0, {VK_RIGHT, VK_UP}, INPUT_LEFT, 0},
        {C, 0, 0, {VK_DOWN}, INPUT_UP, 0},
        {C, N, 0, {VK_RIGHT}, INPUT_RIGHT, 0},
        {C, N, 0x2, {'Z', 'C'}, 0, 0x2},
        {C, N, 0, {'Z'}, 0, 0x1},
        {0, N, 0, {'Z'}, INPUT_LEFT, 0x1},
        {C, N, 0x1, {VK_LEFT}, INPUT_LEFT, 0x1},
        {C, N, 0x100, {'Z'}, 0, 0x1},  // joystick button 8 has no game button
    };
    for (const auto& c : cases) {
        PlugJoystick();
        src.joys[0].info.dwXpos = c.x;
        src.joys[0].info.dwPOV = c.pov;
        src.joys[0].info.dwButtons = c.joyButtons;
        src.keys = {c.keys.begin(), c.keys.end()};
        in.PollInput(0, 3, 60);
        EXPECT_EQ(in.m_sDir, c.dir) << "x " << c.x << " joy buttons " << c.joyButtons;
        EXPECT_EQ(in.m_wButton, c.buttons) << "x " << c.x << " joy buttons " << c.joyButtons;
    }
}

TEST_F(PollTest, ButtonMapEntryMatchesAnyOfItsBits) {
    PlugJoystick();
    in.m_wJoyButtonMap[0] = 0x30;  // joystick buttons 4 or 5
    for (uint32_t joy : {0x10u, 0x20u}) {
        src.joys[0].info.dwButtons = joy;
        in.PollInput(0, 1, 60);
        EXPECT_EQ(in.m_wButton, 0x1 | (joy == 0x10 ? 0x10 : 0x20)) << joy;
    }
    src.joys[0].info.dwButtons = 0x1;  // no longer mapped
    in.PollInput(0, 1, 60);
    EXPECT_EQ(in.m_wButton, 0);
}

TEST_F(PollTest, UnpluggedJoystickClearsPresentAndKeyboardStillWorks) {
    PlugJoystick();
    src.joys[0].present = false;
    src.keys = {VK_LEFT, 'X'};
    in.PollInput(0, 3, 60);
    EXPECT_EQ(in.m_bJoyPresent, 0);
    EXPECT_EQ(in.m_sDir, INPUT_LEFT);
    EXPECT_EQ(in.m_wButton, 0x2);
    src.posCalls = 0;
    src.joys[0].present = true;  // back, but only a detection scan takes it again
    in.PollInput(0, 3, 60);
    EXPECT_EQ(src.posCalls, 0);
    EXPECT_EQ(in.m_bJoyPresent, 0);
}

// Runs raw direction bits through the repeat filter, one entry per frame,
// and gives the filtered bits.
std::vector<int> RepeatTrace(cInput& in, const std::vector<int>& raw) {
    std::vector<int> out;
    for (int bits : raw) {
        in.m_sDir = static_cast<int16_t>(bits);
        in.m_nDirNumber = GetDirNumber(bits);
        in.UpdateKeyRepeat();
        EXPECT_EQ(in.m_nDirNumber, GetDirNumber(bits)) << "the number is left alone";
        out.push_back(in.m_sDir);
    }
    return out;
}

std::vector<int> FramesPassing(const std::vector<int>& trace, int mask) {
    std::vector<int> frames;
    for (size_t i = 0; i < trace.size(); ++i)
        if (trace[i] & mask) frames.push_back(static_cast<int>(i));
    return frames;
}

TEST(KeyRepeat, HeldDirectionPassesOnFrames0_18_24_30) {
    cInput in;
    in.SetKeyRepeat(18, 6);
    auto trace = RepeatTrace(in, std::vector<int>(31, INPUT_RIGHT));
    EXPECT_EQ(FramesPassing(trace, INPUT_RIGHT), (std::vector<int>{0, 18, 24, 30}));
}

TEST(KeyRepeat, ChangesPassAtOnceAndAxesCountApart) {
    cInput in;
    in.SetKeyRepeat(18, 6);
    // Left for 10 frames, then right for 20; up is held from frame 5 on.
    std::vector<int> raw;
    for (int f = 0; f < 30; ++f) raw.push_back((f < 10 ? INPUT_LEFT : INPUT_RIGHT) | (f >= 5 ? INPUT_UP : 0));
    auto trace = RepeatTrace(in, raw);
    EXPECT_EQ(FramesPassing(trace, INPUT_LEFT), (std::vector<int>{0}));
    EXPECT_EQ(FramesPassing(trace, INPUT_RIGHT), (std::vector<int>{10, 28}));
    EXPECT_EQ(FramesPassing(trace, INPUT_UP), (std::vector<int>{5, 23, 29}));
    // Up-left to up: the vertical state stays, so up does not pass again.
    cInput in2;
    auto t2 = RepeatTrace(in2, {INPUT_UP | INPUT_LEFT, INPUT_UP, 0, INPUT_UP});
    EXPECT_EQ(t2, (std::vector<int>{INPUT_UP | INPUT_LEFT, 0, 0, INPUT_UP}));
}

TEST(KeyRepeat, ZeroIntervalNeverRepeats) {
    cInput in;
    in.SetKeyRepeat(18, 0);
    auto trace = RepeatTrace(in, std::vector<int>(60, INPUT_DOWN));
    EXPECT_EQ(FramesPassing(trace, INPUT_DOWN), (std::vector<int>{0}));
}

std::vector<int> TriggerTrace(cInput& in, int mask, const std::vector<int>& raw) {
    std::vector<int> out;
    for (int bits : raw) {
        in.m_wButton = static_cast<uint16_t>(bits);
        in.UpdateButtonTrigger(mask);
        out.push_back(in.m_wButton);
    }
    return out;
}

TEST(ButtonTrigger, OnePressPassesOnceUntilAllReleased) {
    struct Case {
        int mask;
        std::vector<int> raw, expected;
    };
    const Case cases[] = {
        // Z, then X while Z is held, then X alone: nothing until all are up.
        {0, {1, 1, 3, 2, 0, 2, 2}, {1, 0, 0, 0, 0, 2, 0}},
        // Two buttons in the same first frame pass together.
        {0, {3, 3, 0, 1}, {3, 0, 0, 1}},
        // Buttons outside the mask pass through untouched.
        {3, {4, 5, 5, 4, 0, 2}, {4, 5, 4, 4, 0, 2}},
        {1, {2, 2, 1, 1, 3}, {2, 2, 1, 0, 2}},
    };
    for (const auto& c : cases) {
        cInput in;
        EXPECT_EQ(TriggerTrace(in, c.mask, c.raw), c.expected) << "mask " << c.mask;
    }
}

TEST(InputRings, PastValuesOverFortyChanges) {
    cInput in;
    in.ClearInputHistory();
    // 40 runs of 1..3 frames, each run with a new direction and button value.
    std::vector<int> dirs, buttons;
    for (int run = 0; run < 40; ++run) {
        for (int f = 0; f < run % 3 + 1; ++f) {
            dirs.push_back(run % 15 + 1);
            buttons.push_back((run * 37) % 255 + 1);
            in.m_sDir = static_cast<int16_t>(dirs.back());
            in.m_wButton = static_cast<uint16_t>(buttons.back());
            in.PushInputHistory();
        }
    }
    EXPECT_EQ(in.GetPastInput(0, 0), dirs.back());
    EXPECT_EQ(in.GetPastInput(1, 0), buttons.back());
    // The last 32 runs (runs 8..39) are kept.
    int kept = 0;
    for (int run = 8; run < 40; ++run) kept += run % 3 + 1;
    for (int n = 0; n < kept; ++n) {
        size_t at = dirs.size() - 1 - static_cast<size_t>(n);
        ASSERT_EQ(in.GetPastInput(0, n), dirs[at]) << n;
        ASSERT_EQ(in.GetPastInput(1, n), buttons[at]) << n;
    }
    // Past the oldest kept run the walk has gone round to the newest.
    EXPECT_EQ(in.GetPastInput(0, kept), dirs.back());
    EXPECT_EQ(in.GetPastInput(0, INT_MAX), dirs.back());
    EXPECT_EQ(in.GetPastInput(2, 0), 0);
}

TEST(InputRings, LongRunSaturates) {
    cInput in;
    in.m_sDir = INPUT_UP;
    in.PushInputHistory();
    in.m_Ring[0][in.m_nRingCursor[0]].m_nFrames = INT32_MAX - 1;
    in.PushInputHistory();
    in.PushInputHistory();
    EXPECT_EQ(in.m_Ring[0][in.m_nRingCursor[0]].m_nFrames, INT32_MAX);
    EXPECT_EQ(in.GetPastInput(0, INT_MAX - 1), INPUT_UP);
}

std::vector<std::pair<int, int>> Runs(const KeyHistory& h, size_t n) {
    std::vector<std::pair<int, int>> out;
    for (size_t i = 0; i < n; ++i) out.emplace_back(h[i].m_nState, h[i].m_nFrames);
    return out;
}

TEST(KeyChannels, RunsPerDirectionAndButton) {
    cInput in;
    const int dirs[] = {0, 0, 0, INPUT_LEFT, INPUT_LEFT, INPUT_LEFT | INPUT_UP, 0};
    const int buttons[] = {0, 1, 1, 3, 2, 0, 128};
    for (int f = 0; f < 7; ++f) {
        in.m_sDir = static_cast<int16_t>(dirs[f]);
        in.m_wButton = static_cast<uint16_t>(buttons[f]);
        in.RecordKeyHistory();
    }
    using R = std::vector<std::pair<int, int>>;
    EXPECT_EQ(Runs(in.m_vecDirKeys[0], 4), (R{{1, 1}, {0, 3}, {1, 3}, {0, 0}}));  // no direction
    EXPECT_EQ(Runs(in.m_vecDirKeys[1], 4), (R{{0, 2}, {1, 2}, {0, 3}, {0, 0}}));  // exactly left
    EXPECT_EQ(Runs(in.m_vecDirKeys[5], 3), (R{{0, 1}, {1, 1}, {0, 5}}));          // up-left
    EXPECT_EQ(Runs(in.m_vecDirKeys[9], 3), (R{{0, 1}, {1, 3}, {0, 3}}));          // any direction
    EXPECT_EQ(Runs(in.m_vecDirKeys[3], 2), (R{{0, 7}, {0, 0}}));                  // exactly up: never
    EXPECT_EQ(Runs(in.m_vecButtonKeys[0], 5), (R{{0, 1}, {1, 1}, {0, 4}, {1, 1}, {0, 0}}));  // no button
    EXPECT_EQ(Runs(in.m_vecButtonKeys[1], 3), (R{{0, 3}, {1, 3}, {0, 1}}));  // button 0
    EXPECT_EQ(Runs(in.m_vecButtonKeys[2], 3), (R{{0, 2}, {1, 2}, {0, 3}}));  // button 1
    EXPECT_EQ(Runs(in.m_vecButtonKeys[8], 2), (R{{1, 1}, {0, 6}}));          // button 7
}

TEST(KeyChannels, FixedLengthAndSaturation) {
    cInput in;
    for (int f = 0; f < 100; ++f) {
        in.m_sDir = static_cast<int16_t>(f % 2 ? INPUT_DOWN : 0);
        in.RecordKeyHistory();
    }
    for (const auto& ch : in.m_vecDirKeys) EXPECT_EQ(ch.size(), 32u);
    for (const auto& ch : in.m_vecButtonKeys) EXPECT_EQ(ch.size(), 32u);
    EXPECT_EQ(in.m_vecDirKeys[4][31].m_nFrames, 1);  // the zeroed start run is gone
    in.m_vecDirKeys[4][0].m_nFrames = INT32_MAX;     // down is held
    in.RecordKeyHistory();
    EXPECT_EQ(in.m_vecDirKeys[4][0].m_nFrames, INT32_MAX);
    EXPECT_EQ(in.m_vecDirKeys[4][0].m_nState, 1);
    in.ResizeKeyHistory();
    EXPECT_EQ(Runs(in.m_vecDirKeys[4], 1), (std::vector<std::pair<int, int>>{{0, 0}}));
}

// The fields a nested frame loop must get back after it ran.
void ExpectSamePlayState(const cInput& a, const cInput& b) {
    EXPECT_EQ(a.m_sDir, b.m_sDir);
    EXPECT_EQ(a.m_wButton, b.m_wButton);
    EXPECT_EQ(a.m_nDirNumber, b.m_nDirNumber);
    EXPECT_EQ(a.m_wDirShift, b.m_wDirShift);
    for (int ch = 0; ch < 2; ++ch) {
        EXPECT_EQ(a.m_nRingCursor[ch], b.m_nRingCursor[ch]);
        for (int i = 0; i < INPUT_RING_LENGTH; ++i) {
            EXPECT_EQ(a.m_Ring[ch][i].m_sValue, b.m_Ring[ch][i].m_sValue);
            EXPECT_EQ(a.m_Ring[ch][i].m_nFrames, b.m_Ring[ch][i].m_nFrames);
        }
    }
    for (int c = 0; c < DIR_KEY_CHANNELS; ++c) EXPECT_EQ(Runs(a.m_vecDirKeys[c], 32), Runs(b.m_vecDirKeys[c], 32));
    for (int c = 0; c < BUTTON_KEY_CHANNELS; ++c)
        EXPECT_EQ(Runs(a.m_vecButtonKeys[c], 32), Runs(b.m_vecButtonKeys[c], 32));
    EXPECT_EQ(a.m_dwRepeatCountH, b.m_dwRepeatCountH);
    EXPECT_EQ(a.m_dwRepeatCountV, b.m_dwRepeatCountV);
    EXPECT_EQ(a.m_bTriggerLatch, b.m_bTriggerLatch);
}

TEST(InputState, NestedLoopSaveResetRestore) {
    cInput rec;
    rec.SetKeyRepeat(10, 3);
    rec.m_wJoyButtonMap[2] = 0x40;
    rec.m_bJoyPresent = 1;
    rec.m_dwJoyId = 3;
    rec.m_dwThresholdLeft = 7;
    for (int f = 0; f < 9; ++f) {
        rec.m_sDir = static_cast<int16_t>(f < 5 ? INPUT_RIGHT : INPUT_UP);
        rec.m_wButton = static_cast<uint16_t>(f % 3);
        rec.m_nDirNumber = GetDirNumber(rec.m_sDir);
        rec.PushInputHistory();
        rec.RecordKeyHistory();
        rec.UpdateKeyRepeat();
        rec.UpdateButtonTrigger(0);
    }
    const cInput before = rec;

    cInput local;
    rec.SaveInputState(local);
    ExpectSamePlayState(local, rec);
    // Settings and the joystick stay with each record.
    EXPECT_EQ(local.m_dwRepeatDelay, 18u);
    EXPECT_EQ(local.m_wJoyButtonMap[2], 4);
    EXPECT_EQ(local.m_bJoyPresent, 0);

    rec.ClearInputHistory();
    rec.ResizeKeyHistory();
    rec.ClearDirInput();
    rec.ClearButtonInput();
    rec.m_sDir = INPUT_DOWN;
    rec.PushInputHistory();
    rec.RecordKeyHistory();
    rec.UpdateKeyRepeat();
    rec.m_dwJoyId = 5;  // a scan during the nested loop

    rec.LoadInputState(local);
    ExpectSamePlayState(rec, before);
    EXPECT_EQ(rec.m_dwRepeatDelay, 10u);
    EXPECT_EQ(rec.m_dwRepeatInterval, 3u);
    EXPECT_EQ(rec.m_dwJoyId, 5u);
}

TEST(InputState, ClearsAndDefaults) {
    cInput in;
    in.m_sDir = 9;
    in.m_nDirNumber = 7;
    in.m_wButton = 3;
    in.ClearDirInput();
    EXPECT_EQ(in.m_sDir, 0);
    EXPECT_EQ(in.m_nDirNumber, 5);
    EXPECT_EQ(in.m_wButton, 3);
    in.ClearButtonInput();
    EXPECT_EQ(in.m_wButton, 0);
    in.m_wJoyButtonMap[5] = 0;
    in.SetDefaultJoyButtons();
    for (int i = 0; i < 8; ++i) EXPECT_EQ(in.m_wJoyButtonMap[i], 1 << i);
    EXPECT_EQ(in.m_vecDirKeys.size(), 10u);
    EXPECT_EQ(in.m_vecButtonKeys.size(), 9u);
}

}  // namespace
