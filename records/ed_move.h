// Movement definition: the optional part of a movement, warp or position
// command, and the holder through which a command owns it.
#pragma once
#include <cstdint>

#include "records/data_record.h"

// Direction codes (movement and shot definitions). 0, 1, 4 and 5 depend on
// the facing and 12 on the input; the flow engine resolves them to 2..11.
enum DirectionCode : int {
    DIR_FORWARD = 0,
    DIR_BACKWARD,
    DIR_LEFT,
    DIR_RIGHT,
    DIR_FORWARD_Y,
    DIR_BACKWARD_Y,
    DIR_UP,
    DIR_DOWN,
    DIR_UP_LEFT,
    DIR_DOWN_LEFT,
    DIR_UP_RIGHT,
    DIR_DOWN_RIGHT,
    DIR_INPUT,
    DIRECTION_CODE_COUNT
};

class cEdMove : public cRecord<cEdMove> {
public:
    int8_t m_nMoveMode = 0;
    int8_t m_nDirection = 0;  // DirectionCode
    int16_t m_nAngle = 0;
    int16_t m_nAngleStep = 0;
    int8_t m_bMirrorAngle = 1;
    int8_t m_bUseTargetX = 1;
    int8_t m_bUseTargetY = 1;
    int16_t m_nTargetX = 0;  // bl (or dots, see m_nTargetUnit)
    int16_t m_nTargetY = 0;
    int16_t m_nTargetXDot = 0;
    int16_t m_nTargetYDot = 0;
    int8_t m_nCoordMode = 0;
    int8_t m_nTargetUnit = 0;  // 0 bl + dots, 1 both in dots
    int8_t m_nAnchor = 0;      // warp: 0 centre, 1 bottom centre, 2 by movement type
    int8_t m_bTimeByArrival = 1;
    int8_t m_bFixX = 0;
    int8_t m_bFixY = 0;
    int8_t m_bMirrorTargetX = 1;
    int8_t m_bMirrorTargetY = 0;
    int8_t m_bTurnWithFacing = 1;
    int8_t m_bStopOnArrival = 0;
    int8_t m_bKeepFacing = 0;
    int8_t m_nTimingMode = 0;  // 0 time and speed, 1 time and distance, 2 speed and distance
    int16_t m_nSpeed = 10;     // tenths of a dot per frame
    int16_t m_nSpeedStep = 0;
    int16_t m_nDistance = 0;
    int16_t m_nDistanceStep = 0;
    int8_t m_nDistanceUnit = 0;  // 0 hbl, 1 dots
    int16_t m_nHoming = 0;
    int16_t m_nHomingStep = 0;
    int8_t m_bInertia = 0;
    int16_t m_nMaxSpeed = 0;
    double m_dReverseAccel = 1.0;
    int8_t m_nAnime = 0;   // 0 move animation, 1 still animation, 2 leave alone
    int8_t m_nTarget = 0;  // target slot 0..3

    cEdMove() { SetDefaults(); }
    // Every field 0, then the definition defaults.
    void SetDefaults();

    template <class F>
    void Fields(F& f) {
        f.Field("m_nMoveMode", m_nMoveMode);
        f.Field("m_nDirection", m_nDirection);
        f.Field("m_nAngle", m_nAngle);
        f.Field("m_nAngleStep", m_nAngleStep);
        if (f.Since(158)) f.Field("m_bMirrorAngle", m_bMirrorAngle);
        f.Field("m_bUseTargetX", m_bUseTargetX);
        f.Field("m_bUseTargetY", m_bUseTargetY);
        f.Field("m_nTargetX", m_nTargetX);
        f.Field("m_nTargetY", m_nTargetY);
        f.Field("m_nTargetXDot", m_nTargetXDot);
        f.Field("m_nTargetYDot", m_nTargetYDot);
        f.Field("m_nCoordMode", m_nCoordMode);
        if (f.Since(891)) f.Field("m_nTargetUnit", m_nTargetUnit);
        if (f.Since(892)) f.Field("m_nAnchor", m_nAnchor);
        f.Field("m_bTimeByArrival", m_bTimeByArrival);
        f.Field("m_bFixX", m_bFixX);
        f.Field("m_bFixY", m_bFixY);
        f.Field("m_bMirrorTargetX", m_bMirrorTargetX);
        f.Field("m_bMirrorTargetY", m_bMirrorTargetY);
        f.Field("m_bTurnWithFacing", m_bTurnWithFacing);
        f.Field("m_bStopOnArrival", m_bStopOnArrival);
        if (f.Since(162)) f.Field("m_bKeepFacing", m_bKeepFacing);
        f.Field("m_nTimingMode", m_nTimingMode);
        f.Field("m_nSpeed", m_nSpeed);
        f.Field("m_nSpeedStep", m_nSpeedStep);
        f.Field("m_nDistance", m_nDistance);
        f.Field("m_nDistanceStep", m_nDistanceStep);
        if (f.Since(159)) f.Field("m_nDistanceUnit", m_nDistanceUnit);
        f.Field("m_nHoming", m_nHoming);
        f.Field("m_nHomingStep", m_nHomingStep);
        f.Field("m_bInertia", m_bInertia);
        f.Field("m_nMaxSpeed", m_nMaxSpeed);
        f.Field("m_dReverseAccel", m_dReverseAccel);
        if (f.Since(162)) f.Field("m_nAnime", m_nAnime);
        if (f.Since(767)) f.Field("m_nTarget", m_nTarget);
    }
    void OnLoaded(const cLoadContext& ctx);
};
extern template class cRecord<cEdMove>;

using cEdMoveHolder = cPartHolder<cEdMove>;

// A fresh part with its defaults replaces what the holder held. Returns 1.
int CreateEdMove(cEdMoveHolder& holder);
// Deep copy between holders: the destination ends empty when the source is
// empty, else with its own copy of the source's part.
cEdMoveHolder& AssignEdMoveHolder(cEdMoveHolder& dst, const cEdMoveHolder& src);
