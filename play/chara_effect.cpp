#include "play/chara_effect.h"

#include <cmath>
#include <utility>

#include "play/chara.h"
#include "records/database.h"

cCheckedVector<cCharaEffect> g_vCharaEffectSlots[2];
cCheckedVector<cScreenEffect> g_vScrEffectSlots[2];

namespace {

constexpr double kFrame = 1.0 / 6.0;  // a frame in tenths of a second

bool CountedCharaKind(int k) { return (k >= 1 && k <= 5) || (k >= 7 && k <= 13) || k == 15 || k == 16; }
bool CountedScreenKind(int k) { return (k >= 4 && k <= 7) || (k >= 9 && k <= 13); }

// A duration of 0 (below the tables' minimum) counts as 1.
int Duration(int p1) { return p1 < 1 ? 1 : p1; }

// The reversed preparation swaps start and end inside the working copy;
// the timed kinds have no start and end parameters.
void SwapCharaEnds(cDbCharaEffect& e) {
    if (CountedCharaKind(e.m_nKind)) std::swap(e.m_nParam[1], e.m_nParam[2]);
}
void SwapScreenEnds(cDbScrEffect& e) {
    if (CountedScreenKind(e.m_nKind)) std::swap(e.m_nParam[1], e.m_nParam[2]);
    if (e.m_nKind == 1) {
        std::swap(e.m_nParam[1], e.m_nParam[3]);
        std::swap(e.m_nParam[2], e.m_nParam[4]);
    }
}

// The end of a run (step 4): another run, or 1.
template <class Effect, class Restart>
int EndOfRun(Effect& e, Restart restart) {
    if (e.m_bRepeat || (e.m_nMode == 2 && !e.m_bReversed)) {
        restart();
        return 0;
    }
    return 1;
}

}  // namespace

cCharaEffect PrepareCharaEffect(int id, int reversed) {
    cCharaEffect fx;
    const cDbCharaEffect& e = reversed ? g_Database.m_vecCharaEffectWork.at(id) : g_Database.m_vecCharaEffect.at(id);
    fx.m_lpDef = &e;
    fx.m_nDuration = Duration(e.m_nParam[0]);
    const int kind = e.m_nKind;
    if (kind == 6 || kind == 14) {
        fx.m_nStart = 0;
        fx.m_nEnd = fx.m_nDuration;
        fx.m_dValue = 0;
        fx.m_dStep = kFrame;
    } else if (CountedCharaKind(kind)) {
        fx.m_nStart = e.m_nParam[1];
        fx.m_nEnd = e.m_nParam[2];
        fx.m_dValue = fx.m_nStart;
        fx.m_dStep = std::abs(fx.m_nEnd - fx.m_nStart) / (fx.m_nDuration * 6.0);
    }
    if (kind != 0 && fx.m_nStart == fx.m_nEnd) {
        fx.m_dStep = kFrame;
        fx.m_dTimer = 0;
    }
    return fx;
}

cScreenEffect PrepareScreenEffect(int id, int reversed) {
    cScreenEffect fx;
    const cDbScrEffect& e = reversed ? g_Database.m_vecScrEffectWork.at(id) : g_Database.m_vecScrEffect.at(id);
    fx.m_lpDef = &e;
    fx.m_nDuration = Duration(e.m_nParam[0]);
    const int kind = e.m_nKind;
    if (CountedScreenKind(kind)) {
        fx.m_dValue = e.m_nParam[1];
        fx.m_dStep = std::abs(e.m_nParam[2] - e.m_nParam[1]) / (fx.m_nDuration * 6.0);
        if (e.m_nParam[1] == e.m_nParam[2]) {
            fx.m_bTimerMode = 1;
            fx.m_dTimer = 0;
            fx.m_dStep = kFrame;
        }
    } else if (kind == 1) {
        fx.m_dStep = kFrame;
        fx.m_anWork[0] = e.m_nParam[1];
        fx.m_anWork[1] = e.m_nParam[2];
    } else if (kind == 2 || kind == 3 || kind == 8) {
        fx.m_dStep = kFrame;
    }
    return fx;
}

void PrepareCharaEffectSlots() {
    auto& work = g_Database.m_vecCharaEffectWork;
    for (auto& e : work) SwapCharaEnds(e);
    const size_t n = g_Database.m_vecCharaEffect.size();
    for (int r = 0; r < 2; ++r) {
        g_vCharaEffectSlots[r].clear();
        for (size_t i = 0; i < n; ++i) g_vCharaEffectSlots[r].push_back(PrepareCharaEffect(static_cast<int>(i), r));
    }
}

void PrepareScrEffectSlots() {
    for (auto& e : g_Database.m_vecScrEffectWork) SwapScreenEnds(e);
    const size_t n = g_Database.m_vecScrEffect.size();
    for (int r = 0; r < 2; ++r) {
        g_vScrEffectSlots[r].clear();
        for (size_t i = 0; i < n; ++i) g_vScrEffectSlots[r].push_back(PrepareScreenEffect(static_cast<int>(i), r));
    }
}

const cCharaEffect& CharaEffectAt(int reversed, long long id) { return g_vCharaEffectSlots[reversed ? 1 : 0].at(id); }
const cScreenEffect& ScreenEffectAt(int reversed, long long id) { return g_vScrEffectSlots[reversed ? 1 : 0].at(id); }

void StartCharaEffect(cChara& chara, int id, int mode, int repeat) {
    // Entry 0 is no effect.
    if (id == 0) {
        chara.m_nCharaEffect = 0;
        chara.m_Effect = cCharaEffect{};
        return;
    }
    chara.m_Effect = CharaEffectAt(mode == 1, id);
    chara.m_Effect.m_bReversed = mode == 1 ? 1 : 0;
    chara.m_Effect.m_nMode = mode;
    chara.m_Effect.m_nCounter = 0;
    chara.m_Effect.m_bRepeat = repeat;
    chara.m_nCharaEffect = static_cast<int16_t>(id);
}

void StartScreenEffect(cScreenEffect& effect, int id, int mode, int repeat) {
    effect = ScreenEffectAt(mode == 1, id);
    effect.m_bReversed = mode == 1 ? 1 : 0;
    effect.m_nEffectId = id;
    effect.m_nMode = mode;
    effect.m_nCounter = 0;
    effect.m_bRepeat = repeat;
}

namespace {

template <class Effect, class Prepared>
void Reload(Effect& e, const Prepared& prepared) {
    const int mode = e.m_nMode, repeat = e.m_bRepeat, reversed = e.m_bReversed;
    e = prepared;
    e.m_nMode = mode;
    e.m_bRepeat = repeat;
    e.m_bReversed = reversed;
    e.m_nCounter = 0;
}

}  // namespace

void RestartEffect(cCharaEffect& effect, int id) {
    if (effect.m_nMode == 2) effect.m_bReversed = !effect.m_bReversed;
    Reload(effect, CharaEffectAt(effect.m_bReversed, id));
}

void RestartEffect(cScreenEffect& effect) {
    if (effect.m_nMode == 2) effect.m_bReversed = !effect.m_bReversed;
    const int id = effect.m_nEffectId;
    Reload(effect, ScreenEffectAt(effect.m_bReversed, id));
    effect.m_nEffectId = id;
}

int StepCharaEffect(cChara& chara) {
    cCharaEffect& e = chara.m_Effect;
    if (e.m_nStart == e.m_nEnd) {
        e.m_dTimer += e.m_dStep;
        if (e.m_dTimer <= e.m_nDuration) return 0;
    } else if (e.m_nEnd < e.m_nStart) {
        e.m_dValue -= e.m_dStep;
        if (e.m_dValue >= e.m_nEnd) return 0;
    } else {
        e.m_dValue += e.m_dStep;
        if (e.m_dValue <= e.m_nEnd) return 0;
    }
    return EndOfRun(e, [&] { RestartEffect(e, chara.m_nCharaEffect); });
}

int StepScreenEffect(cScreenEffect& e, int start, int end, double step) {
    if (e.m_bTimerMode) {
        e.m_dTimer += step;
        if (e.m_dTimer <= e.m_nDuration) return 0;
    } else if (end < start) {
        e.m_dValue -= step;
        if (static_cast<int>(e.m_dValue) >= end) return 0;
    } else {
        e.m_dValue += step;
        if (end >= static_cast<int>(e.m_dValue)) return 0;
    }
    return EndOfRun(e, [&] { RestartEffect(e); });
}
