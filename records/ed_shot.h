// Shot definition: the optional part of a shot, sword or summon command,
// the offset operations, the arrange numbering of its parameters and the
// formation and trajectory parameter tables.
#pragma once
#include <cstdint>
#include <string>

#include "records/data_record.h"

enum ShotFormation : int {
    FORMATION_STRAIGHT_A = 0,
    FORMATION_STRAIGHT_B,
    FORMATION_SPREAD,
    FORMATION_THUNDER,
    FORMATION_BURST,
    FORMATION_SURROUND,
    SHOT_FORMATION_COUNT
};

enum ShotTrajectory : int {
    TRAJ_STRAIGHT = 0,
    TRAJ_AIM_HERO,
    TRAJ_AIM_NEAREST,
    TRAJ_AIM_TARGET,
    TRAJ_HOME_HERO,
    TRAJ_HOME_NEAREST_DROP,  // homing dropped when the target dies
    TRAJ_HOME_TARGET,
    TRAJ_HOME_NEAREST_SWITCH,  // target changed when it dies
    TRAJ_WAVE,
    TRAJ_FALL,
    SHOT_TRAJECTORY_COUNT
};

class cEdShot : public cRecord<cEdShot> {
public:
    int8_t m_nCount = 0;
    int8_t m_nFormation = 0;  // ShotFormation
    int16_t m_nFormationParam[3] = {};
    int8_t m_nOrigin = 0;  // thunder/surround centre: 0 target, 1 hero, 2 user
    int8_t m_nDirection = 0;
    int8_t m_bAimAtTarget = 0;
    int8_t m_nTarget = 0;
    int16_t m_nAngle = 0;
    int16_t m_nAngleStep = 0;
    int8_t m_bMirrorAngle = 1;
    int16_t m_nSpread = 0;
    int8_t m_bRotateOffset = 0;
    int8_t m_nClones = 0;
    int16_t m_nOffsetX = 0;
    int16_t m_nOffsetXStep = 0;
    int16_t m_nOffsetY = 0;
    int16_t m_nOffsetYStep = 0;
    int8_t m_bMirrorOffsetX = 1;
    int8_t m_bMirrorOffsetY = 0;
    int16_t m_nGraphic = 0;
    int8_t m_nZ = 0;
    int8_t m_bHidden = 0;
    int8_t m_bUserSide = 1;
    int8_t m_nSide = 0;
    int8_t m_nShotExtraA = 0;
    int8_t m_nSize = 1;  // hbl, at least 1
    int8_t m_nShotExtraB = 0;
    int8_t m_nTrajectory = 0;  // ShotTrajectory; a sword's sword-type number
    int16_t m_nTrajectoryParam[3] = {};
    int8_t m_nShotTarget = 0;
    int8_t m_bFollowScroll = 0;
    int16_t m_nSpeed = 0;
    int16_t m_nSpeedStep = 0;
    int8_t m_bAccel = 0;
    int16_t m_nAccel = 0;
    int16_t m_nAccelStep = 0;
    int16_t m_nRange = 0;  // hbl; summons: lifetime in 1/10 s
    int8_t m_bUseRange = 0;
    int16_t m_nRangeStep = 0;
    int8_t m_bStayAtRange = 0;
    int8_t m_bUseLife = 0;
    int16_t m_nLife = 0;  // 1/10 s
    int16_t m_nLifeStep = 0;
    int8_t m_bThroughBlocks = 0;
    int8_t m_bPassCharas = 0;
    int8_t m_bPassBlockCharas = 0;
    int8_t m_bCancelShots = 0;
    int8_t m_nVanishValue = 0;
    int32_t m_nPower = 0;
    int16_t m_nShotExtraC = 0;
    int8_t m_nImpact = 0;
    int16_t m_nEffect = 0;     // Effect table entry
    int8_t m_nItemSource = 0;  // 0 none, 1 common palette, 2 stage palette
    int16_t m_nItem = 0;
    int8_t m_nBlockSummonMode = 0;  // 0 place, 1 remove, 2 toggle
    int8_t m_bSparePlayers = 0;
    int8_t m_bSpareComputers = 0;
    int8_t m_nSummonSource = 0;  // 0 common palette, 1 stage palette
    int16_t m_nSummonEntry = 0;
    int8_t m_nSummonSide = 0;  // 0 palette's, 1 user's, 2 m_nSide
    int8_t m_bNoScore = 0;
    int8_t m_bSummonFlip = 0;
    int8_t m_bAttackTrigger = 0;
    int8_t m_nAttackGroup = 0;

    template <class F>
    void Fields(F& f) {
        f.Field("m_nCount", m_nCount);
        f.Field("m_nFormation", m_nFormation);
        f.Field("m_nFormationParam", m_nFormationParam);
        if (f.Since(671)) f.Field("m_nOrigin", m_nOrigin);
        f.Field("m_nDirection", m_nDirection);
        f.Field("m_bAimAtTarget", m_bAimAtTarget);
        if (f.Since(767)) f.Field("m_nTarget", m_nTarget);
        f.Field("m_nAngle", m_nAngle);
        f.Field("m_nAngleStep", m_nAngleStep);
        if (f.Since(158)) f.Field("m_bMirrorAngle", m_bMirrorAngle);
        f.Field("m_nSpread", m_nSpread);
        f.Field("m_bRotateOffset", m_bRotateOffset);
        f.Field("m_nClones", m_nClones);
        f.Field("m_nOffsetX", m_nOffsetX);
        f.Field("m_nOffsetXStep", m_nOffsetXStep);
        f.Field("m_nOffsetY", m_nOffsetY);
        f.Field("m_nOffsetYStep", m_nOffsetYStep);
        f.Field("m_bMirrorOffsetX", m_bMirrorOffsetX);
        f.Field("m_bMirrorOffsetY", m_bMirrorOffsetY);
        f.Field("m_nGraphic", m_nGraphic);
        f.Field("m_nZ", m_nZ);
        f.Field("m_bHidden", m_bHidden);
        f.Field("m_bUserSide", m_bUserSide);
        f.Field("m_nSide", m_nSide);
        f.Field("m_nShotExtraA", m_nShotExtraA);
        f.Field("m_nSize", m_nSize);
        f.Field("m_nShotExtraB", m_nShotExtraB);
        f.Field("m_nTrajectory", m_nTrajectory);
        f.Field("m_nTrajectoryParam", m_nTrajectoryParam);
        if (f.Since(767)) f.Field("m_nShotTarget", m_nShotTarget);
        if (f.Since(211)) f.Field("m_bFollowScroll", m_bFollowScroll);
        f.Field("m_nSpeed", m_nSpeed);
        f.Field("m_nSpeedStep", m_nSpeedStep);
        if (f.Since(213)) {
            f.Field("m_bAccel", m_bAccel);
            f.Field("m_nAccel", m_nAccel);
            f.Field("m_nAccelStep", m_nAccelStep);
        }
        f.Field("m_nRange", m_nRange);
        f.Field("m_bUseRange", m_bUseRange);
        f.Field("m_nRangeStep", m_nRangeStep);
        f.Field("m_bStayAtRange", m_bStayAtRange);
        f.Field("m_bUseLife", m_bUseLife);
        f.Field("m_nLife", m_nLife);
        f.Field("m_nLifeStep", m_nLifeStep);
        f.Field("m_bThroughBlocks", m_bThroughBlocks);
        f.Field("m_bPassCharas", m_bPassCharas);
        if (f.Since(636)) f.Field("m_bPassBlockCharas", m_bPassBlockCharas);
        f.Field("m_bCancelShots", m_bCancelShots);
        f.Field("m_nVanishValue", m_nVanishValue);
        f.Field("m_nPower", m_nPower);
        f.Field("m_nShotExtraC", m_nShotExtraC);
        f.Field("m_nImpact", m_nImpact);
        f.Field("m_nEffect", m_nEffect);
        f.Field("m_nItemSource", m_nItemSource);
        f.Field("m_nItem", m_nItem);
        f.Field("m_nBlockSummonMode", m_nBlockSummonMode);
        f.Field("m_bSparePlayers", m_bSparePlayers);
        if (f.Since(197)) f.Field("m_bSpareComputers", m_bSpareComputers);
        f.Field("m_nSummonSource", m_nSummonSource);
        f.Field("m_nSummonEntry", m_nSummonEntry);
        f.Field("m_nSummonSide", m_nSummonSide);
        f.Field("m_bNoScore", m_bNoScore);
        f.Field("m_bSummonFlip", m_bSummonFlip);
        if (f.Since(762)) {
            f.Field("m_bAttackTrigger", m_bAttackTrigger);
            f.Field("m_nAttackGroup", m_nAttackGroup);
        }
    }
    // Upgrade steps, then Normalize.
    void OnLoaded(const cLoadContext& ctx);
    void OnSaving() { Normalize(); }

    // Size below 1 becomes 1; an effect number not below the Effect table's
    // size (a negative one counts as too large) becomes 0.
    void Normalize(int nEffectCount);
    // The same with the Effect table's size from the registered source;
    // without a source only negative effect numbers are reset.
    void Normalize();

    // Firing offsets of clone n: n x step + offset, negated when facing is 1
    // (right) and the mirror switch of the axis is set.
    double CalcScaledX(int nClone, int nFacing) const;
    double CalcScaledY(int nClone, int nFacing) const;
};
extern template class cRecord<cEdShot>;

// Where Normalize() learns the Effect table's size (the database sets it
// once it is loaded). Null: unknown.
void SetEffectCountSource(int (*source)());

using cEdShotHolder = cPartHolder<cEdShot>;

// A fresh part with its defaults replaces what the holder held. Returns 1.
int CreateEdShot(cEdShotHolder& holder);
cEdShotHolder& AssignEdShotHolder(cEdShotHolder& dst, const cEdShotHolder& src);

// The arrangeable parameters of the shot command, numbered 0..31.
enum ShotArrangeParam : int {
    SHOT_ARR_GRAPHIC = 0,
    SHOT_ARR_Z,
    SHOT_ARR_FORMATION1,
    SHOT_ARR_FORMATION2,
    SHOT_ARR_FORMATION3,
    SHOT_ARR_COUNT,
    SHOT_ARR_CLONES,
    SHOT_ARR_ANGLE,
    SHOT_ARR_ANGLE_STEP,
    SHOT_ARR_SPREAD,
    SHOT_ARR_OFFSET_X,  // 10
    SHOT_ARR_OFFSET_X_STEP,
    SHOT_ARR_OFFSET_Y,
    SHOT_ARR_OFFSET_Y_STEP,
    SHOT_ARR_SOUND,  // the command's own sound effect, not a field of cEdShot
    SHOT_ARR_SIDE,
    SHOT_ARR_TRAJECTORY1,
    SHOT_ARR_TRAJECTORY2,
    SHOT_ARR_TRAJECTORY3,
    SHOT_ARR_SPEED,
    SHOT_ARR_SPEED_STEP,  // 20
    SHOT_ARR_ACCEL,
    SHOT_ARR_ACCEL_STEP,
    SHOT_ARR_RANGE,
    SHOT_ARR_RANGE_STEP,
    SHOT_ARR_LIFE,
    SHOT_ARR_LIFE_STEP,
    SHOT_ARR_VANISH_VALUE,
    SHOT_ARR_POWER,
    SHOT_ARR_IMPACT,
    SHOT_ARR_EFFECT,  // 30
    SHOT_ARR_ITEM,
    SHOT_ARRANGE_PARAM_COUNT
};

// Reads parameter n of the shot's arrange numbering into out. False (out
// untouched) for SHOT_ARR_SOUND, which the command holds, and for numbers
// outside 0..31.
bool GetShotArrangeValue(const cEdShot& shot, int n, int& out);
// Writes parameter n, cut to the field's width. False as above.
bool SetShotArrangeValue(cEdShot& shot, int n, int value);

// A parameter's label (CP932), range and default; an empty label marks a
// parameter its formation or trajectory does not use.
struct cParamInfo {
    std::string strName;
    int16_t nMin;
    int16_t nMax;
    int16_t nDefault;
};

// Three entries per formation / trajectory, in their order.
extern const cParamInfo ShotFormationParams[SHOT_FORMATION_COUNT * 3];
extern const cParamInfo ShotTrajectoryParams[SHOT_TRAJECTORY_COUNT * 3];
