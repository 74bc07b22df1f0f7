// Key conditions of flows: a flow's key sequence (steps oldest first)
// matched backwards through the per-key run histories of an input record.
//
// Channels 0..9 are the direction keys (none, left, right, up, down,
// up-left, down-left, up-right, down-right, any), 10..18 the button keys
// (no button, buttons 0..7). Each channel keeps 32 runs, newest first.
// A time point is held per channel as a cursor (the run that contains it)
// and an elapsed count (how long the channel had been in that run's state
// at the point).
#pragma once
#include <cstdint>
#include <vector>

#include "media/input/input.h"

class cChara;
class cFlow;
class cKeyCond;

inline constexpr int kKeyChannels = DIR_KEY_CHANNELS + BUTTON_KEY_CHANNELS;

struct KeyTimePoint {
    int32_t anCursor[kKeyChannels] = {};
    int32_t anElapsed[kKeyChannels] = {};
    // The channels that move with the point (bit per channel): a sequence
    // moves only those its steps read.
    uint32_t nChannels = (1u << kKeyChannels) - 1;
};

// The run history of channel 0..18 of the record.
inline const KeyHistory& KeyChannel(const cInput& input, int channel) {
    if (channel < DIR_KEY_CHANNELS) return input.m_vecDirKeys.at(channel);
    return input.m_vecButtonKeys.at(channel - DIR_KEY_CHANNELS);
}

// A flow without key conditions passes. Continuous mode: the sequence
// matches now. Edge mode: it matches now and did not at the last test.
bool CheckFlowKeyConds(cChara& chara, cFlow& flow);
// The steps matched backwards from now on input record 0; gap: frames that
// may lie between two steps.
bool MatchKeyCondSequence(cChara& chara, cFlow& flow, const std::vector<const cKeyCond*>& steps, int gap);
// One step at the time point; length: the run length the step chose (by
// its combine mode), by which the point moves back to the older step.
bool MatchKeyCondStep(const cChara& chara, const cKeyCond& step, const KeyTimePoint& point, int& length,
                      const cInput& input);
// One key state (1 pressed, 2 released) against a run and its elapsed count.
bool TestKeyState(const KeyHistoryEntry& entry, int elapsed, const cKeyCond& step, int state);
// Moves the time point n frames: back for n <= 0, forward for n > 0.
int ShiftKeyHistory(KeyTimePoint& point, const cInput& input, int n);
// The step against the newest run of each channel: no mirroring, no length.
bool CheckKeyCondHeld(const cInput& input, const cKeyCond& step);
// The first direction channel whose newest run is pressed; 0 when none.
int GetInputDirection(const cInput& input);
