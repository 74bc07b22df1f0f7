#include "engine/key_conds.h"

#include <algorithm>
#include <bit>

#include "engine/flow.h"
#include "media/input/input_list.h"
#include "play/chara.h"
#include "play/numeric.h"
#include "play/scene_play.h"
#include "records/cmd_kinds.h"
#include "records/cond.h"
#include "records/ed_flow.h"
#include "records/system_data.h"

namespace {

constexpr int kKeyModeContinuous = 1;

// Left and right swap, and so do the diagonals: for a chara facing left.
int MirroredChannel(int channel) {
    switch (channel) {
        case 1: return 2;
        case 2: return 1;
        case 5: return 7;
        case 7: return 5;
        case 6: return 8;
        case 8: return 6;
        default: return channel;
    }
}

// The step's state of key index i; a step stored with fewer keys reads 0
// for the missing ones.
int KeyState(const cKeyCond& step, int i) {
    return i < static_cast<long long>(step.m_vecKey.size()) ? step.m_vecKey[static_cast<size_t>(i)] : 0;
}

// Whether the counts satisfy the step's combine mode.
bool Combined(int mode, int matched, int missed) {
    if (mode == 1) return matched != 0;
    if (mode == 2) return matched == 1;
    if (mode == 0) return missed == 0;
    return true;
}

int RunLength(const KeyHistory& h, int cursor) { return h.at(cursor).m_nFrames; }

// The channels the steps read, a direction key with its mirror image: the
// only ones a sequence needs to move through the history.
uint32_t ChannelsRead(const std::vector<const cKeyCond*>& steps) {
    uint32_t mask = 0;
    for (const cKeyCond* step : steps)
        for (int i = 0; i < kKeyChannels; ++i)
            if (KeyState(*step, i) != 0) mask |= 1u << i | (i < DIR_KEY_CHANNELS ? 1u << MirroredChannel(i) : 0u);
    return mask;
}

}  // namespace

bool TestKeyState(const KeyHistoryEntry& entry, int elapsed, const cKeyCond& step, int state) {
    if (state == cKeyCond::KEY_PRESSED) {
        if (entry.m_nState == 0) return false;
        if (step.m_bAnyDuration && elapsed >= 1) return true;
        return step.m_nMinFrames <= elapsed && elapsed <= step.m_nMaxFrames;
    }
    if (state == cKeyCond::KEY_RELEASED) return entry.m_nState == 0 && elapsed >= 1;
    return false;
}

bool MatchKeyCondStep(const cChara& chara, const cKeyCond& step, const KeyTimePoint& point, int& length,
                      const cInput& input) {
    length = 0;
    int matched = 0, missed = 0;
    const bool mirror = step.m_bMirror == 1 && chara.m_nFacing == 0;
    const uint8_t* keys = step.m_vecKey.data();
    const int count = std::min(kKeyChannels, static_cast<int>(step.m_vecKey.size()));
    for (int i = 0; i < count; ++i) {
        const int state = keys[i];
        if (state == 0) continue;
        const int ch = mirror && i < DIR_KEY_CHANNELS ? MirroredChannel(i) : i;
        const int elapsed = point.anElapsed[ch];
        if (!TestKeyState(KeyChannel(input, ch).at(point.anCursor[ch]), elapsed, step, state)) {
            ++missed;
            continue;
        }
        ++matched;
        switch (step.m_nKeyMode) {
            case 0:
                if (elapsed != 0 && (length == 0 || elapsed < length)) length = elapsed;
                break;
            case 1:
                if (elapsed > length) length = elapsed;
                break;
            case 2: length = elapsed; break;
            default: break;
        }
    }
    return Combined(step.m_nKeyMode, matched, missed);
}

int ShiftKeyHistory(KeyTimePoint& point, const cInput& input, int n) {
    for (uint32_t left = point.nChannels & ((1u << kKeyChannels) - 1); left != 0; left &= left - 1) {
        const int ch = std::countr_zero(left);
        const KeyHistory& h = KeyChannel(input, ch);
        const int last = static_cast<int>(h.size()) - 1;
        int32_t& cursor = point.anCursor[ch];
        int32_t& elapsed = point.anElapsed[ch];
        if (n <= 0) {
            elapsed = WrapAdd(elapsed, n);
            while (elapsed < 0) {
                if (cursor + 1 > last) break;  // beyond the history: nothing matches there
                ++cursor;
                elapsed = WrapAdd(elapsed, RunLength(h, cursor));
            }
            if (elapsed == 0) {
                // Exactly at the start of a run: the point lies in the older run.
                if (cursor + 1 <= last) {
                    ++cursor;
                    elapsed = RunLength(h, cursor);
                } else {
                    elapsed = 0;
                }
            }
        } else {
            elapsed = WrapAdd(elapsed, n);
            while (elapsed > RunLength(h, cursor)) {
                if (--cursor < 0) {
                    cursor = 0;
                    break;
                }
                // The length of the newer run moved to, not of the run left.
                elapsed = WrapAdd(elapsed, -RunLength(h, cursor));
            }
        }
    }
    return 1;
}

bool MatchKeyCondSequence(cChara& chara, cFlow& flow, const std::vector<const cKeyCond*>& steps, int gap) {
    const int n = static_cast<int>(steps.size());
    if (n == 0) return false;
    const cInput& input = g_InputList.at(0);
    KeyTimePoint point;
    point.nChannels = ChannelsRead(steps);
    for (int ch = 0; ch < kKeyChannels; ++ch)
        if (point.nChannels >> ch & 1u) point.anElapsed[ch] = RunLength(KeyChannel(input, ch), 0);
    const bool continuous = flow.m_lpDef && flow.m_lpDef->m_bKeyRepeat == kKeyModeContinuous;
    const bool noNewerTest = g_SystemData.m_bCompat669 != 0;
    for (int k = n - 1;; --k) {
        const cKeyCond& step = *steps[static_cast<size_t>(k)];
        int length = 0;
        if (k == n - 1) {
            if (!MatchKeyCondStep(chara, step, point, length, input)) return false;
            // While the sequence keeps holding only its newest step must.
            if (continuous && flow.m_bKeyContinuing) return true;
        } else if (!MatchKeyCondStep(chara, step, point, length, input)) {
            if (gap == 0) return false;
            bool found = false;
            for (int t = 0; t < gap && !found; ++t) {
                ShiftKeyHistory(point, input, -1);
                found = MatchKeyCondStep(chara, step, point, length, input);
            }
            if (!found) {
                ShiftKeyHistory(point, input, gap);
                ShiftKeyHistory(point, input, 1);
                if (!MatchKeyCondStep(chara, step, point, length, input)) return false;
                if (!noNewerTest) {
                    int scratch = 0;
                    if (MatchKeyCondStep(chara, *steps[static_cast<size_t>(k + 1)], point, scratch, input)) return false;
                }
            }
        }
        if (k == 0) return true;
        ShiftKeyHistory(point, input, -length);
    }
}

bool CheckFlowKeyConds(cChara& chara, cFlow& flow) {
    if (flow.m_vKeyConds.empty()) return true;
    const cEdFlow* def = flow.m_lpDef;
    const int gap = def ? def->m_nKeyInterval : 0;
    if (def && def->m_bKeyRepeat == kKeyModeContinuous) {
        const bool r = MatchKeyCondSequence(chara, flow, flow.m_vKeyConds, gap);
        flow.m_bKeyContinuing = r ? 1 : 0;
        return r;
    }
    flow.m_bKeyContinuing = 0;
    if (!MatchKeyCondSequence(chara, flow, flow.m_vKeyConds, gap)) {
        flow.m_bKeyLatch = 0;
        return false;
    }
    if (flow.m_bKeyLatch) {
        // Still held: a grouped always-flow keeps its group blocked for the
        // rest of this pass; the end of the chara's update releases it.
        const int g = def ? def->m_nFlowGroup : 0;
        if (def && def->m_nTrigger == TRG_ALWAYS && g != 0) {
            cChara* cur = PlayScene() ? PlayScene()->m_lpCurChara : nullptr;
            (cur ? *cur : chara).m_vGroupRunning.at(g) = 1;
            chara.m_vGroupEnded.at(g) = 1;
            chara.m_bGroupEnded = 1;
        }
        return false;
    }
    flow.m_bKeyLatch = 1;
    return true;
}

bool CheckKeyCondHeld(const cInput& input, const cKeyCond& step) {
    int matched = 0, missed = 0;
    for (int i = 0; i < kKeyChannels; ++i) {
        const int state = KeyState(step, i);
        if (state == 0) continue;
        const bool pressed = KeyChannel(input, i).at(0).m_nState != 0;
        const bool ok = (state == cKeyCond::KEY_PRESSED && pressed) || (state == cKeyCond::KEY_RELEASED && !pressed);
        if (!ok) {
            ++missed;
            continue;
        }
        ++matched;
        if (step.m_nKeyMode == 1) break;
    }
    return Combined(step.m_nKeyMode, matched, missed);
}

int GetInputDirection(const cInput& input) {
    for (int ch = 0; ch < DIR_KEY_CHANNELS; ++ch)
        if (input.m_vecDirKeys.at(ch).at(0).m_nState != 0) return ch;
    return 0;
}
