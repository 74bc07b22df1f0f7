// The velocity arithmetic of the movement commands: directions, angles,
// target points and timing, and how a velocity acts on the chara.
#include <cmath>
#include <cstdint>

#include "engine/flow.h"
#include "frontend/replay/replay.h"
#include "engine/move_commands.h"
#include "play/chara.h"
#include "play/numeric.h"
#include "play/object_steering.h"
#include "play/scene_play.h"
#include "records/cmd_kinds.h"
#include "records/ed_flow.h"
#include "records/ed_move.h"
#include "records/stage.h"
#include "records/system_data.h"

namespace {

constexpr int kAnimeStand = 0, kAnimeWalk = 1, kAnimeFlyStand = 2, kAnimeFlyWalk = 3;
constexpr int kPriorityStand = 1, kPriorityWalk = 2;

bool FacingFixed(const cChara& chara) { return chara.m_Def.m_bFixedFacing != 0; }

// A component that came out as 0 x infinity moves nothing.
double NoNaN(double v) { return std::isnan(v) ? 0.0 : v; }

// The direction channel held when the current flow started.
int StartChannel() {
    const cScenePlay* scene = PlayScene();
    return scene && scene->m_lpCurFlow ? scene->m_lpCurFlow->m_nStartDir : 0;
}

bool IsLeftward(int a) { return a == DIR_LEFT || a == DIR_UP_LEFT || a == DIR_DOWN_LEFT; }
bool IsRightward(int a) { return a == DIR_RIGHT || a == DIR_UP_RIGHT || a == DIR_DOWN_RIGHT; }

// The facing code of an absolute direction: 1 leftwards, 2 rightwards,
// none for a fixed-facing chara.
int FacingCodeOf(const cChara& chara, int a) {
    if (FacingFixed(chara)) return 0;
    return IsLeftward(a) ? 1 : IsRightward(a) ? 2 : 0;
}

// A time in sub-steps from a quotient: truncated, made positive unless
// negative times are kept; a speed of 0 (or a time beyond the int range)
// gives the longest time.
int32_t TimeOf(double q, double divisor, bool keepNegative) {
    if (divisor == 0.0 || std::isnan(q)) return INT32_MAX;
    double t = std::trunc(q);
    if (!keepNegative) t = std::fabs(t);
    if (t >= 2147483647.0) return INT32_MAX;
    if (t <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(t);
}

int RequestAnime(cChara& chara, int track, int priority) {
    if (chara.m_bForcedAnime > priority) return 0;
    chara.m_bForcedAnime = priority;
    chara.m_nForcedAnime = track;
    return priority;
}

// One axis of an inertia move: the amount per frame, stronger while the
// speed still points the other way.
void Accelerate(double& speed, int32_t& idle, double v, double factor, double max) {
    double a = cObject::PerFrame(v);
    if ((speed > 0.0 && v < 0.0) || (speed < 0.0 && v > 0.0))
        a *= factor;
    else
        idle = 0;
    speed += a;
    if (speed > max) speed = max;
    if (speed < -max) speed = -max;
}

}  // namespace

int ResolveDirection(int code, int facing, int inputChannel, bool collapse) {
    const bool right = facing != 0;
    switch (code) {
        case DIR_FORWARD: return right ? DIR_RIGHT : DIR_LEFT;
        case DIR_BACKWARD: return right ? DIR_LEFT : DIR_RIGHT;
        case DIR_FORWARD_Y: return right ? DIR_DOWN : DIR_UP;
        case DIR_BACKWARD_Y: return right ? DIR_UP : DIR_DOWN;
        case DIR_INPUT: {
            const int a = MapChoiceCode(inputChannel, 0, right ? 1 : 0, IsReplayPlayback() != 0,
                                        static_cast<uint32_t>(ReplayDataVersion()));
            if (collapse && (a == DIR_UP_LEFT || a == DIR_DOWN_LEFT)) return DIR_LEFT;
            if (collapse && (a == DIR_UP_RIGHT || a == DIR_DOWN_RIGHT)) return DIR_RIGHT;
            return a;
        }
        default: return code;
    }
}

int CalcCloneAngle(const cChara& chara, const cEdMove& move) {
    int32_t a = WrapAdd(WrapMul(move.m_nAngleStep, chara.m_nClone), move.m_nAngle);
    if (move.m_bMirrorAngle && chara.m_nFacing != 0) a = WrapAdd(360, -a);
    if (a >= 360) a %= 360;
    return a;
}

void CalcTargetOffset(const cChara& chara, const cEdMove& move, int& x, int& y) {
    if (move.m_nTargetUnit == 1) {
        x = move.m_nTargetX + move.m_nTargetXDot;
        y = move.m_nTargetY + move.m_nTargetYDot;
    } else {
        x = move.m_nTargetX * 32 + move.m_nTargetXDot;
        y = move.m_nTargetY * 32 + move.m_nTargetYDot;
    }
    if (chara.m_nFacing != 0) {
        if (move.m_bMirrorTargetX) x = -x;
        if (move.m_bMirrorTargetY) y = -y;
    }
}

MoveVelocity DirectionToVelocity(const cChara& chara, double speed, int code) {
    MoveVelocity v;
    const bool flying = chara.m_bFlying != 0;
    const int a = ResolveDirection(code, chara.m_nFacing, StartChannel(), !flying);
    const double d = speed * kSqrtHalf;
    switch (a) {
        case DIR_LEFT: v.vx = -speed; break;
        case DIR_RIGHT: v.vx = speed; break;
        case DIR_UP:
            if (flying) v.vy = -speed;
            break;
        case DIR_DOWN:
            if (flying) v.vy = speed;
            break;
        case DIR_UP_LEFT:
        case DIR_DOWN_LEFT:
            v.vx -= d;
            if (flying) v.vy += a == DIR_UP_LEFT ? -d : d;
            break;
        case DIR_UP_RIGHT:
        case DIR_DOWN_RIGHT:
            v.vx += d;
            if (flying) v.vy += a == DIR_UP_RIGHT ? -d : d;
            break;
        default: return v;
    }
    v.facing = FacingCodeOf(chara, a);
    return v;
}

MoveVelocity AngleToVelocity(const cChara& chara, double speed, int code, int angle) {
    MoveVelocity v;
    const bool flying = chara.m_bFlying != 0;
    const int a = ResolveDirection(code, chara.m_nFacing, StartChannel(), !flying);
    int base = 0;
    switch (a) {
        case DIR_RIGHT: base = 180; break;
        case DIR_UP: base = 90; break;
        case DIR_DOWN: base = 270; break;
        case DIR_UP_LEFT: base = 45; break;
        case DIR_DOWN_LEFT: base = 315; break;
        case DIR_UP_RIGHT: base = 135; break;
        case DIR_DOWN_RIGHT: base = 225; break;
        default: break;
    }
    v.facing = FacingCodeOf(chara, a);
    // 0 degrees points left; angles turn clockwise on screen.
    const double theta = (static_cast<double>(angle) + base) * kRadPerDegShort;
    v.vx = NoNaN(-speed * std::cos(theta));
    if (flying) v.vy = NoNaN(-speed * std::sin(theta));
    return v;
}

MoveVelocity VelocityToPoint(const cChara& chara, cFlowCmd& cmd, double speed, int offsetX, int offsetY,
                             const cEdMove& move) {
    MoveVelocity v;
    const cScenePlay* scene = PlayScene();
    const cScrollAxis& ax = scene->m_ScrollX;
    const cScrollAxis& ay = scene->m_ScrollY;
    const double cx = ScreenBoxCentreX(chara) + ax.m_dPos;
    const double cy = ScreenBoxCentreY(chara) + ay.m_dPos;
    const int cellCentre = move.m_nTargetUnit == 0 ? 16 : 0;
    double dx = 0.0, dy = 0.0;
    switch (move.m_nCoordMode) {
        case 0: {  // from where the chara was placed: its cell's centre and home offset
            const double px = WrapMul(WrapAdd(ax.m_nBorder, chara.m_anPlacement[0]), 32) + 16.0 + chara.m_anPlacement[2];
            const double py = WrapMul(WrapAdd(ay.m_nBorder, chara.m_anPlacement[1]), 32) + 16.0 + chara.m_anPlacement[3];
            dx = px + offsetX - cx;
            dy = py + offsetY - cy;
            break;
        }
        case 1:
            dx = offsetX;
            dy = offsetY;
            break;
        case 2:
            dx = static_cast<double>(ax.m_nMinPos) + cellCentre + offsetX - cx;
            dy = static_cast<double>(ay.m_nMinPos) + cellCentre + offsetY - cy;
            break;
        case 3:
            dx = ax.m_dPos + cellCentre + offsetX - cx;
            dy = ay.m_dPos + cellCentre + offsetY - cy;
            break;
        default: break;
    }
    if (!move.m_bUseTargetX) dx = 0.0;
    if (!move.m_bUseTargetY) dy = 0.0;
    const double dist = std::sqrt(dx * dx + dy * dy);
    if (dist != 0.0) {
        if (!move.m_bFixX) v.vx = NoNaN(dx / dist * speed);
        if (!move.m_bFixY) v.vy = NoNaN(dy / dist * speed);
    }
    if (!FacingFixed(chara)) v.facing = v.vx < -1e-8 ? 1 : v.vx > 1e-8 ? 2 : 0;
    if (move.m_bTimeByArrival && speed != 0.0) {
        const int32_t frames = TimeOf(std::fabs(dist) / std::fabs(speed), 1.0, false);
        cmd.m_nRemaining = frames;
        if (move.m_bStopOnArrival && frames < 1) {
            if (move.m_bUseTargetX && !move.m_bFixX) {
                v.vx = 0.0;
                v.facing = 0;
            }
            if (move.m_bUseTargetY && !move.m_bFixY) v.vy = 0.0;
        }
    }
    return v;
}

int ApplyMoveVelocity(cChara& chara, const MoveVelocity& v, const cFlowCmd& cmd, const cEdMove& move, bool force) {
    // The facing follows the velocity unless it is fixed.
    if ((force || !FacingFixed(chara)) && !move.m_bKeepFacing) {
        if (v.facing == 1) chara.m_nFacing = 0;
        if (v.facing == 2) chara.m_nFacing = 1;
    }
    // The velocity: accelerated with inertia, else added to the speed.
    if (move.m_bInertia) {
        Accelerate(chara.m_dMoveSpeedX, chara.m_bDecelX, v.vx, move.m_dReverseAccel, cmd.m_dMaxSpeed);
        Accelerate(chara.m_dMoveSpeedY, chara.m_bDecelY, v.vy, move.m_dReverseAccel, cmd.m_dMaxSpeed);
    } else {
        chara.m_dSpeedX += v.vx;
        chara.m_dSpeedY += v.vy;
    }
    // The command's own animation (mode 2) runs from the flow's schedule.
    const bool flying = chara.m_bFlying != 0;
    if (move.m_nAnime == 0) return RequestAnime(chara, flying ? kAnimeFlyWalk : kAnimeWalk, kPriorityWalk);
    if (move.m_nAnime == 1) return RequestAnime(chara, flying ? kAnimeFlyStand : kAnimeStand, kPriorityStand);
    return 0;
}

void ComputeMoveTiming(cFlowCmd& cmd, const cEdMove& move, int clone) {
    int32_t d = WrapAdd(WrapMul(move.m_nDistanceStep, clone), move.m_nDistance);
    if (move.m_nDistanceUnit != 1) d = WrapMul(d, 16);
    if (move.m_nTimingMode == 1) {
        // Duration 0 gives an infinite speed (the speed limits hold it), 0 / 0 none.
        cmd.m_dSpeed = NoNaN(static_cast<double>(d) / cmd.m_nDuration);
    } else if (move.m_nTimingMode == 2) {
        cmd.m_nDuration = TimeOf(d / cmd.m_dSpeed, cmd.m_dSpeed, g_SystemData.m_bCompat695 != 0);
    }
}

void SetupMoveCmd(cFlowCmd& cmd, cChara& chara) {
    const cEdMove* move = cmd.m_lpDef ? cmd.m_lpDef->m_spMove.get() : nullptr;
    if (move && move->m_nTimingMode != 0) ComputeMoveTiming(cmd, *move, chara.m_nClone);
}

void SetupCircleMoveCmd(cFlowCmd& cmd, cChara& chara) {
    const cEdMove* move = cmd.m_lpDef ? cmd.m_lpDef->m_spMove.get() : nullptr;
    if (!move) return;
    auto flip = [](int8_t d) -> int8_t { return d == 0 ? 1 : d == 1 ? 0 : d; };
    int32_t half = 0;
    if (chara.m_nFacing != 0) {
        if (move->m_bMirrorTargetX) {
            cmd.m_nDirection = flip(cmd.m_nDirection);
            half = 180;
        }
        if (move->m_bMirrorTargetY) cmd.m_nDirection = flip(cmd.m_nDirection);
    }
    const int32_t clone = chara.m_nClone;
    const int32_t subSteps = g_Stage.m_nSubSteps;
    int32_t r = WrapAdd(WrapMul(move->m_nHomingStep, clone), move->m_nHoming);
    r = r < 0 ? 0 : r > 20 ? 20 : r;
    cmd.m_nRadius = r * 16 * subSteps;
    cmd.m_nStartAngle = WrapMul(WrapAdd(half, WrapAdd(WrapMul(move->m_nAngleStep, clone), move->m_nAngle)), subSteps);
    cmd.m_nEndAngle = WrapMul(WrapAdd(half, WrapAdd(WrapMul(move->m_nDistanceStep, clone), move->m_nDistance)), subSteps);
    const double span = move->m_nAngle < move->m_nDistance
                            ? static_cast<double>(cmd.m_nEndAngle) - cmd.m_nStartAngle
                            : static_cast<double>(cmd.m_nStartAngle) - cmd.m_nEndAngle;
    if (move->m_nTimingMode == 0) {
        cmd.m_dSpeed = NoNaN(span / cmd.m_nDuration / g_Stage.m_dSubSteps);
    } else if (move->m_nTimingMode == 1) {
        cmd.m_nDuration = TimeOf(span / cmd.m_dSpeed / g_Stage.m_dSubSteps, cmd.m_dSpeed, false);
    }
}

void SetupHomingMoveCmd(cFlowCmd& cmd, cChara& chara) {
    const cEdMove* move = cmd.m_lpDef ? cmd.m_lpDef->m_spMove.get() : nullptr;
    if (!move) return;
    cmd.m_nRadius = WrapMul(WrapAdd(WrapMul(move->m_nHomingStep, chara.m_nClone), move->m_nHoming), g_Stage.m_nSubSteps);
    if (move->m_nTimingMode != 0) ComputeMoveTiming(cmd, *move, chara.m_nClone);
}
