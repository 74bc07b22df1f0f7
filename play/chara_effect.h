// The machine that runs chara effects and the screen effect: a value goes
// from a start to an end value over a duration given in tenths of a second,
// forward, backward, back and forth, or repeated. Every entry of the
// CharaEffect and ScrEffect tables is prepared twice at start-up: forward,
// and reversed (start and end exchanged inside the working copies of the
// tables); a start copies the prepared instance.
#pragma once
#include <cstdint>

#include "base/checked_vector.h"

class cChara;
class cDbCharaEffect;
class cDbScrEffect;

// What chara effects and the screen effect share.
class cEffectMachine {
public:
    int32_t m_nMode = 0;  // 0 forward, 1 backward, 2 forward then backward
    int32_t m_bRepeat = 0;
    int32_t m_bReversed = 0;
    int32_t m_nCounter = 0;  // 0 at every (re)start; free for the handlers
    double m_dValue = 0.0;   // the running value v
    double m_dStep = 0.0;    // change of v per frame
    double m_dTimer = 0.0;   // tenths of a second of a timed run
    int32_t m_nDuration = 0;  // D, tenths of a second (at least 1)
    int32_t m_anWork[2] = {};  // per-kind work values (phase, toggle, position)
};

// A chara's display effect; its entry number is the chara's m_nCharaEffect.
class cCharaEffect : public cEffectMachine {
public:
    const cDbCharaEffect* m_lpDef = nullptr;
    int32_t m_nStart = 0, m_nEnd = 0;  // S and E of the current run
};

// The play scene's screen effect.
class cScreenEffect : public cEffectMachine {
public:
    int32_t m_nEffectId = 0;  // 0: none
    const cDbScrEffect* m_lpDef = nullptr;
    int32_t m_bTimerMode = 0;  // S = E: the run is timed instead of counted
    double m_dOffset = 0.0;    // shake offset
};

// The prepared instances: [0] forward, [1] reversed, one per table entry.
extern cCheckedVector<cCharaEffect> g_vCharaEffectSlots[2];
extern cCheckedVector<cScreenEffect> g_vScrEffectSlots[2];

cCharaEffect PrepareCharaEffect(int id, int reversed);
cScreenEffect PrepareScreenEffect(int id, int reversed);
// Both tables of every entry (start-up, after the working copies are made).
void PrepareCharaEffectSlots();
void PrepareScrEffectSlots();
// Checked access to a prepared instance.
const cCharaEffect& CharaEffectAt(int reversed, long long id);
const cScreenEffect& ScreenEffectAt(int reversed, long long id);

// Starts entry id on the chara (mode 1 from the reversed table).
void StartCharaEffect(cChara& chara, int id, int mode, int repeat);
void StartScreenEffect(cScreenEffect& effect, int id, int mode, int repeat);
void RestartEffect(cCharaEffect& effect, int id);
void RestartEffect(cScreenEffect& effect);
// One step; 1 when the effect is over.
int StepCharaEffect(cChara& chara);
int StepScreenEffect(cScreenEffect& effect, int start, int end, double step);
