#include "records/ed_shot.h"

#include "platform/cp932.h"

// The record passes, compiled once here (see records/data_record.h).
template class cRecord<cEdShot>;

namespace {
int (*s_pfnEffectCount)() = nullptr;

std::string L(const char* utf8) { return platform::Utf8ToCp932(utf8); }
}  // namespace

void SetEffectCountSource(int (*source)()) { s_pfnEffectCount = source; }

void cEdShot::Normalize(int nEffectCount) {
    if (m_nSize <= 0) m_nSize = 1;
    if (m_nEffect < 0 || (nEffectCount >= 0 && m_nEffect >= nEffectCount)) m_nEffect = 0;
}

void cEdShot::Normalize() { Normalize(s_pfnEffectCount ? s_pfnEffectCount() : -1); }

void cEdShot::OnLoaded(const cLoadContext& ctx) {
    if (ctx.Below(1000)) {
        if (ctx.Below(158)) m_bMirrorAngle = 0;
        if (ctx.Below(197)) m_bSpareComputers = m_bSparePlayers;
        if (ctx.Below(212)) m_bFollowScroll = (m_nTrajectory >= 4 && m_nTrajectory <= 7) ? 1 : 0;
        if (ctx.Below(213)) {
            m_bAccel = 0;
            m_nAccel = 0;
            m_nAccelStep = 0;
        }
        if (ctx.Below(636)) m_bPassBlockCharas = m_bPassCharas;
        if (ctx.Below(671)) m_nOrigin = 0;
    }
    Normalize();
}

double cEdShot::CalcScaledX(int nClone, int nFacing) const {
    double v = static_cast<double>(static_cast<int64_t>(nClone) * m_nOffsetXStep + m_nOffsetX);
    if (nFacing == 1 && m_bMirrorOffsetX) v = -v;
    return v;
}

double cEdShot::CalcScaledY(int nClone, int nFacing) const {
    double v = static_cast<double>(static_cast<int64_t>(nClone) * m_nOffsetYStep + m_nOffsetY);
    if (nFacing == 1 && m_bMirrorOffsetY) v = -v;
    return v;
}

int CreateEdShot(cEdShotHolder& holder) {
    holder.Create();
    return 1;
}

cEdShotHolder& AssignEdShotHolder(cEdShotHolder& dst, const cEdShotHolder& src) {
    dst = src;
    return dst;
}

namespace {

// Calls fn with a reference to the field behind arrange number n.
template <class Shot, class Fn>
bool WithArrangeField(Shot& s, int n, Fn fn) {
    switch (n) {
    case SHOT_ARR_GRAPHIC: fn(s.m_nGraphic); return true;
    case SHOT_ARR_Z: fn(s.m_nZ); return true;
    case SHOT_ARR_FORMATION1: fn(s.m_nFormationParam[0]); return true;
    case SHOT_ARR_FORMATION2: fn(s.m_nFormationParam[1]); return true;
    case SHOT_ARR_FORMATION3: fn(s.m_nFormationParam[2]); return true;
    case SHOT_ARR_COUNT: fn(s.m_nCount); return true;
    case SHOT_ARR_CLONES: fn(s.m_nClones); return true;
    case SHOT_ARR_ANGLE: fn(s.m_nAngle); return true;
    case SHOT_ARR_ANGLE_STEP: fn(s.m_nAngleStep); return true;
    case SHOT_ARR_SPREAD: fn(s.m_nSpread); return true;
    case SHOT_ARR_OFFSET_X: fn(s.m_nOffsetX); return true;
    case SHOT_ARR_OFFSET_X_STEP: fn(s.m_nOffsetXStep); return true;
    case SHOT_ARR_OFFSET_Y: fn(s.m_nOffsetY); return true;
    case SHOT_ARR_OFFSET_Y_STEP: fn(s.m_nOffsetYStep); return true;
    case SHOT_ARR_SIDE: fn(s.m_nSide); return true;
    case SHOT_ARR_TRAJECTORY1: fn(s.m_nTrajectoryParam[0]); return true;
    case SHOT_ARR_TRAJECTORY2: fn(s.m_nTrajectoryParam[1]); return true;
    case SHOT_ARR_TRAJECTORY3: fn(s.m_nTrajectoryParam[2]); return true;
    case SHOT_ARR_SPEED: fn(s.m_nSpeed); return true;
    case SHOT_ARR_SPEED_STEP: fn(s.m_nSpeedStep); return true;
    case SHOT_ARR_ACCEL: fn(s.m_nAccel); return true;
    case SHOT_ARR_ACCEL_STEP: fn(s.m_nAccelStep); return true;
    case SHOT_ARR_RANGE: fn(s.m_nRange); return true;
    case SHOT_ARR_RANGE_STEP: fn(s.m_nRangeStep); return true;
    case SHOT_ARR_LIFE: fn(s.m_nLife); return true;
    case SHOT_ARR_LIFE_STEP: fn(s.m_nLifeStep); return true;
    case SHOT_ARR_VANISH_VALUE: fn(s.m_nVanishValue); return true;
    case SHOT_ARR_POWER: fn(s.m_nPower); return true;
    case SHOT_ARR_IMPACT: fn(s.m_nImpact); return true;
    case SHOT_ARR_EFFECT: fn(s.m_nEffect); return true;
    case SHOT_ARR_ITEM: fn(s.m_nItem); return true;
    default: return false;  // the sound effect and unknown numbers
    }
}

}  // namespace

bool GetShotArrangeValue(const cEdShot& shot, int n, int& out) {
    return WithArrangeField(shot, n, [&](const auto& field) { out = static_cast<int>(field); });
}

bool SetShotArrangeValue(cEdShot& shot, int n, int value) {
    return WithArrangeField(shot, n, [&](auto& field) {
        using T = std::remove_reference_t<decltype(field)>;
        field = static_cast<T>(value);
    });
}

const cParamInfo ShotFormationParams[SHOT_FORMATION_COUNT * 3] = {
    // 0 "直進A"
    {L("間隔(hbl)"), 0, 40, 0}, {"", 0, 0, 0}, {"", 0, 0, 0},
    // 1 "直進B"
    {L("間隔(hbl)"), 0, 40, 0}, {"", 0, 0, 0}, {"", 0, 0, 0},
    // 2 "拡散"
    {L("角度"), 0, 180, 30}, {"", 0, 0, 0}, {"", 0, 0, 0},
    // 3 "落雷"
    {L("間隔(hbl)"), 0, 40, 0}, {L("列の数"), 1, 50, 1}, {L("列の間隔(hbl)"), 0, 40, 0},
    // 4 "爆発"
    {"", 0, 0, 0}, {"", 0, 0, 0}, {"", 0, 0, 0},
    // 5 "包囲"
    {L("距離(hbl)"), 0, 40, 6}, {"", 0, 0, 0}, {"", 0, 0, 0},
};

const cParamInfo ShotTrajectoryParams[SHOT_TRAJECTORY_COUNT * 3] = {
    // 0 "直進"
    {"", 0, 0, 0}, {"", 0, 0, 0}, {"", 0, 0, 0},
    // 1 "主人公を狙う"
    {L("軌道変更(hbl)"), 0, 40, 0}, {"", 0, 0, 0}, {"", 0, 0, 0},
    // 2 "近いキャラを狙う"
    {L("軌道変更(hbl)"), 0, 40, 0}, {L("対象勢力"), 0, 7, 0}, {"", 0, 0, 0},
    // 3 "ターゲットを狙う"
    {L("軌道変更(hbl)"), 0, 40, 0}, {"", 0, 0, 0}, {"", 0, 0, 0},
    // 4 "主人公へ誘導"
    {L("誘導開始(hbl)"), 0, 40, 0}, {L("誘導終了(hbl)"), 0, 999, 999}, {"", 0, 0, 0},
    // 5 "近いキャラへ誘導（対象死亡時、誘導を無効化）"
    {L("誘導開始(hbl)"), 0, 40, 0}, {L("誘導終了(hbl)"), 0, 999, 999}, {L("対象勢力"), 0, 7, 0},
    // 6 "ターゲットへ誘導"
    {L("誘導開始(hbl)"), 0, 40, 0}, {L("誘導終了(hbl)"), 0, 999, 999}, {"", 0, 0, 0},
    // 7 "近いキャラへ誘導（対象死亡時、対象を変更）"
    {L("誘導開始(hbl)"), 0, 40, 0}, {L("誘導終了(hbl)"), 0, 999, 999}, {L("対象勢力"), 0, 7, 0},
    // 8 "ウェーブ"
    {L("波の最大(hbl)"), 0, 100, 4}, {L("波の速度"), 0, 100, 4}, {L("開始角度"), 0, 359, 0},
    // 9 "落下"
    {L("軌道変更(hbl)"), 0, 40, 0}, {"", 0, 0, 0}, {"", 0, 0, 0},
};
