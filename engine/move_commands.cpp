#include "engine/move_commands.h"

#include <cmath>
#include <cstdint>

#include "engine/flow.h"
#include "engine/flow_runtime.h"
#include "play/chara.h"
#include "play/chara_computer.h"
#include "play/chara_player.h"
#include "play/map_cell.h"
#include "play/numeric.h"
#include "play/object_steering.h"
#include "play/scene_play.h"
#include "records/ed_flow.h"
#include "records/ed_move.h"
#include "records/stage.h"
#include "records/system_data.h"
#include "play/sound_requests.h"

namespace {

// Work ints of a move instance (cleared at each start); 2 and 3 hold the
// target offset (kCmdWorkTargetOffsetX, kCmdWorkTargetOffsetY).
constexpr int kWorkStarted = 0;
constexpr int kWorkAngle = 1;
constexpr int kWorkPrevFacing = 4;

const cEdMove* MoveOf(const cFlowCmd& cmd) { return cmd.m_lpDef ? cmd.m_lpDef->m_spMove.get() : nullptr; }

// A move releases a chara that a warp to screen coordinates pinned there
// (the pin the draw reads).
void ReleaseScreenHold(cChara& chara) { chara.m_Draw.abFixed[0] = chara.m_Draw.abFixed[1] = 0; }

double NoNaN(double v) { return std::isnan(v) ? 0.0 : v; }

MoveVelocity Stored(const cFlowCmd& cmd, const cChara& chara) {
    return {NoNaN(cmd.m_dVelX), chara.m_bFlying ? NoNaN(cmd.m_dVelY) : 0.0, cmd.m_nDirCode};
}

void Store(cFlowCmd& cmd, const MoveVelocity& v) {
    cmd.m_dVelX = v.vx;
    cmd.m_dVelY = v.vy;
    cmd.m_nDirCode = v.facing;
}

// The first step of a run: the velocity of an earlier run is forgotten.
bool FirstStep(cFlowCmd& cmd) {
    if (cmd.m_anWork[kWorkStarted]) return false;
    cmd.m_anWork[kWorkStarted] = 1;
    Store(cmd, MoveVelocity{});
    return true;
}

void StoreTargetOffset(const cChara& chara, const cEdMove& move, cFlowCmd& cmd) {
    CalcTargetOffset(chara, move, cmd.m_anWork[kCmdWorkTargetOffsetX], cmd.m_anWork[kCmdWorkTargetOffsetY]);
}

// The charge turned by its angle, as the heading toward the target plus
// the angle.
void TurnCharge(const cChara& chara, cFlowCmd& cmd, int angle) {
    const double speed = cmd.m_dSpeed;
    const bool flying = chara.m_bFlying != 0;
    double theta;
    if (!g_SystemData.m_bCompat728) {
        const auto heading = static_cast<int16_t>(TruncToInt(std::atan2(cmd.m_dVelY, cmd.m_dVelX) * kDegPerRadLong + 180));
        theta = (heading + angle) * kRadPerDegShort;
        cmd.m_dVelX = NoNaN(-speed * std::cos(theta));
    } else {
        // Older data: the axes of the heading swapped, the chara turns away.
        const auto heading = static_cast<int16_t>(TruncToInt(std::atan2(cmd.m_dVelX, cmd.m_dVelY) * kDegPerRadLong + 90));
        theta = (heading + angle) * kRadPerDegShort;
        cmd.m_dVelX = NoNaN(speed * std::cos(theta));
    }
    if (flying) cmd.m_dVelY = NoNaN(-speed * std::sin(theta));
}

cCharaComputer* FindLiveChara(int key) {
    for (cCharaComputer& c : g_lstCharas)
        if (c.m_nKey == key) return &c;
    return nullptr;
}

// Whether the map cell under (col, row) stops the chara.
bool IsSolidCell(const cChara& chara, int col, int row) {
    const long long i = col + static_cast<long long>(row) * PlayScene()->m_ScrollX.m_nStride;
    return g_vMapCells.at(i).GetHitMode(chara.m_nGroup) != 0;
}

}  // namespace

void HomingSteer(cChara& chara, cFlowCmd& cmd, cChara& target, int x, int y) {
    const cEdMove* move = MoveOf(cmd);
    const bool fixX = move && move->m_bFixX, fixY = move && move->m_bFixY;
    if (!fixX && !fixY) {
        SteerToPoint(chara, cmd, &target, x, y, 0, 1);
    } else if (fixX && !fixY) {
        SteerToPointY(chara, cmd, &target, y, 0, 1);
    } else if (!fixX) {
        SteerToPointX(chara, cmd, &target, x, 0, 1);
    } else {
        Store(cmd, MoveVelocity{});
    }
}

MoveVelocity GroundTurnStep(cChara& chara, const cFlowCmd& cmd) {
    MoveVelocity v;
    v.vx = chara.GetDirSign() * cmd.m_dSpeed;
    if (chara.m_bWallContact) {
        const double before = v.vx;
        const bool right = chara.m_nFacing != 0;
        v.facing = right ? 1 : 2;
        v.vx = -v.vx;
        if (chara.m_nWallContactKey >= 0) {
            // Against a block chara: its own move since the contact counts.
            const cCharaComputer* solid = FindLiveChara(chara.m_nWallContactKey);
            if (!solid) {
                chara.m_bWallContact = 0;
                return v;
            }
            const double diff = solid->m_dX - chara.m_dWallContactX;
            v.vx = (right && diff < 0.0) || (!right && diff > 0.0) ? 2.0 * diff - before : diff - before;
        }
        chara.m_bWallContact = 0;
        return v;
    }
    // A ledge: one foot over a solid cell, the other over an empty one.
    if (g_vMapCells.empty()) return v;
    const cScrollAxis& ay = PlayScene()->m_ScrollY;
    int row = TruncToInt((chara.m_dBottom + 1.1) / 32);
    if (row > ay.m_nCells - 1) row = ay.m_nCells - 1;
    if (row < 0) row = 0;
    const bool leftSolid = IsSolidCell(chara, chara.m_nCellLeft, row);
    const bool rightSolid = IsSolidCell(chara, chara.m_nCellRight, row);
    if (leftSolid == rightSolid) return v;
    const bool ahead = g_SystemData.m_bCompat805 || cmd.m_dSpeed >= 0.0;
    if (rightSolid)
        v.facing = ahead ? 2 : 1;
    else
        v.facing = ahead ? 1 : 2;
    return v;
}

MoveVelocity AvoidOffscreenStep(const cChara& chara, const cFlowCmd& cmd) {
    MoveVelocity v;
    if (cmd.m_nDirection == DIR_INPUT) return v;
    const int a = ResolveDirection(cmd.m_nDirection, chara.m_nFacing, 0, false);
    const bool left = a == DIR_LEFT || a == DIR_UP_LEFT || a == DIR_DOWN_LEFT;
    const bool right = a == DIR_RIGHT || a == DIR_UP_RIGHT || a == DIR_DOWN_RIGHT;
    const bool up = a == DIR_UP || a == DIR_UP_LEFT || a == DIR_UP_RIGHT;
    const bool down = a == DIR_DOWN || a == DIR_DOWN_LEFT || a == DIR_DOWN_RIGHT;
    const double speed = cmd.m_dSpeed;
    const cScenePlay* scene = PlayScene();
    const cScrollAxis& ax = scene->m_ScrollX;
    const cScrollAxis& ay = scene->m_ScrollY;
    auto autoSpeed = [](const cScrollAxis& s) { return s.m_bAutoOn && !s.m_bAtEdge ? s.m_dSpeed : 0.0; };
    const double sx = autoSpeed(ax);
    if (sx == 0.0) {
        if (left && chara.m_nScrLeft > 608) v.vx = -speed;
        if (right && chara.m_nScrRight < 32) v.vx = speed;
        if (up && chara.m_nScrTop > 448) v.vy = -speed;
        if (down && chara.m_nScrBottom < 32) v.vy = speed;
        return v;
    }
    // The view scrolls by itself: keep up with it while it can move on.
    const double fx = std::fabs(sx + 1), px = ax.m_dPos, endX = ax.m_nMaxEnd - 640.0;
    if (left && chara.m_nScrLeft > 608 - fx && px > 0 && sx + px <= endX) v.vx = sx - speed;
    if (right && chara.m_nScrRight < fx + 32 && sx + px > 0 && px < endX) v.vx = sx + speed;
    const double sy = autoSpeed(ay);
    const double fy = std::fabs(sy + 1), py = ay.m_dPos, endY = ay.m_nMaxEnd - 480.0;
    if (up && chara.m_nScrTop > 448 - fy && py > 0 && sy + py <= endY) v.vy = sy - speed;
    if (down && chara.m_nScrBottom < fy + 32 && sy + py > 0 && py < endY) v.vy = sy + speed;
    return v;
}

void ExecMoveStraight(cChara& chara, cFlowCmd& cmd) {
    const cEdMove* move = MoveOf(cmd);
    if (!move) return;
    ReleaseScreenHold(chara);
    const bool toPoint = move->m_nMoveMode == 1;
    MoveVelocity v;
    if (FirstStep(cmd)) {
        const int angle = cmd.m_anWork[kWorkAngle] = CalcCloneAngle(chara, *move);
        if (toPoint) {
            StoreTargetOffset(chara, *move, cmd);
            v = VelocityToPoint(chara, cmd, cmd.m_dSpeed, cmd.m_anWork[kCmdWorkTargetOffsetX],
                                cmd.m_anWork[kCmdWorkTargetOffsetY], *move);
        } else if (angle != 0) {
            v = AngleToVelocity(chara, cmd.m_dSpeed, cmd.m_nDirection, angle);
        } else {
            v = DirectionToVelocity(chara, cmd.m_dSpeed, cmd.m_nDirection);
        }
        if (!chara.m_bFlying) v.vy = 0.0;
        Store(cmd, v);
    } else {
        v = Stored(cmd, chara);
        const bool turns = !toPoint || g_SystemData.m_bCompat783;
        if (move->m_bTurnWithFacing && chara.m_Def.m_bFixedFacing && turns &&
            chara.m_nFacing != cmd.m_anWork[kWorkPrevFacing]) {
            cmd.m_dVelX = -cmd.m_dVelX;
            cmd.m_dVelY = -cmd.m_dVelY;
            v.vx = -v.vx;
            v.vy = -v.vy;
        }
    }
    if (!g_SystemData.m_bCompat773) {
        if (move->m_bFixX) v.vx = 0.0;
        if (move->m_bFixY) v.vy = 0.0;
    }
    ApplyMoveVelocity(chara, v, cmd, *move, false);
    cmd.m_anWork[kWorkPrevFacing] = chara.m_nFacing;
}

void ExecMoveGroundTurn(cChara& chara, cFlowCmd& cmd) {
    const cEdMove* move = MoveOf(cmd);
    if (!move || chara.m_bFlying) return;
    ReleaseScreenHold(chara);
    MoveVelocity v;
    if (chara.m_dImpactX != 0.0 || chara.m_dImpactY != 0.0)
        v.vx = chara.GetDirSign() * cmd.m_dSpeed;  // knocked back: no turning
    else
        v = GroundTurnStep(chara, cmd);
    ApplyMoveVelocity(chara, v, cmd, *move, true);
}

void ExecMoveCircle(cChara& chara, cFlowCmd& cmd) {
    const cEdMove* move = MoveOf(cmd);
    if (!move || cmd.m_nRadius == 0) return;
    ReleaseScreenHold(chara);
    if (FirstStep(cmd)) cmd.m_adWork[0] = cmd.m_adWork[1] = cmd.m_nStartAngle;
    int sense = cmd.m_nDirection;
    if (sense == 2) sense = chara.m_nFacing != 0 ? 1 : 0;
    else if (sense == 3) sense = chara.m_nFacing != 0 ? 0 : 1;
    const double speed = cmd.m_dSpeed;
    const double d = g_Stage.m_dSubSteps * speed;
    MoveVelocity v;
    if (!move->m_bFixX) v.vx = NoNaN(-WaveVelocity(cmd.m_nRadius, 1, cmd.m_adWork[0], d, 0) * speed);
    if (!move->m_bFixY && chara.m_bFlying)
        v.vy = NoNaN(-WaveVelocity(cmd.m_nRadius, 1, cmd.m_adWork[1], d, sense == 1 ? 90 : 270) * speed);
    ApplyMoveVelocity(chara, v, cmd, *move, false);
}

void ExecMoveCharge(cChara& chara, cFlowCmd& cmd) {
    const cEdMove* move = MoveOf(cmd);
    if (!move) return;
    ReleaseScreenHold(chara);
    if (FirstStep(cmd)) {
        const int angle = cmd.m_anWork[kWorkAngle] = CalcCloneAngle(chara, *move);
        StoreTargetOffset(chara, *move, cmd);
        cChara* target = chara.TargetSlot(move->m_nTarget);
        if (!target || target->m_bDead) return;
        if (chara.m_bFlying) {
            int x = ScreenBoxCentreX(chara), y = ScreenBoxCentreY(chara);
            GetTargetPoint(*target, cmd, x, y);
            HomingSteer(chara, cmd, *target, x, y);
        } else if (!move->m_bFixX) {
            // Toward the target's centre, without snapping onto it.
            const int tx = WrapAdd(ScreenBoxCentreX(*target), cmd.m_anWork[kCmdWorkTargetOffsetX]);
            ComputeSteeringX(cmd.m_dVelX, cmd.m_dVelY, cmd.m_nDirCode, target, ScreenBoxCentreX(chara), tx,
                             cmd.m_dSpeed, 0, 0);
        }
        if (angle != 0) TurnCharge(chara, cmd, angle);
    }
    ApplyMoveVelocity(chara, Stored(cmd, chara), cmd, *move, false);
}

void ExecMoveHoming(cChara& chara, cFlowCmd& cmd) {
    const cEdMove* move = MoveOf(cmd);
    if (!move) return;
    cChara* target = chara.TargetSlot(move->m_nTarget);
    if (!target || target->m_bDead) return;
    if (FirstStep(cmd)) {
        StoreTargetOffset(chara, *move, cmd);
        cmd.m_qPoints.clear();
    }
    ReleaseScreenHold(chara);
    const int32_t n = cmd.m_nRadius;  // the delay
    const int32_t k = cmd.m_nStep;
    const bool flying = chara.m_bFlying != 0;
    if (flying || !move->m_bFixX) {
        int x = ScreenBoxCentreX(chara), y = ScreenBoxCentreY(chara);
        if (flying)
            GetTargetPoint(*target, cmd, x, y);
        else
            x = WrapAdd(ScreenBoxCentreX(*target), cmd.m_anWork[kCmdWorkTargetOffsetX]);
        auto steer = [&](int px, int py) {
            if (flying)
                HomingSteer(chara, cmd, *target, px, py);
            else
                SteerToPointX(chara, cmd, target, px, 0, 1);
        };
        if (n <= 0) {
            steer(x, y);
        } else if (k == 0) {
            cmd.m_qPoints.push_back({x, y});
            steer(x, y);
        } else if (k % n == 0) {
            // Where the target was n steps ago.
            const std::array<int32_t, 2> p = cmd.m_qPoints.empty() ? std::array<int32_t, 2>{x, y} : cmd.m_qPoints.front();
            steer(p[0], p[1]);
            cmd.m_qPoints.push_back({x, y});
            if (cmd.m_qPoints.size() > 1) cmd.m_qPoints.pop_front();
        }
    }
    if (!flying) cmd.m_dVelY = 0.0;
    ApplyMoveVelocity(chara, Stored(cmd, chara), cmd, *move, false);
    cmd.m_nStep = WrapAdd(cmd.m_nStep, 1);
}

void ExecMoveAvoidOffscreen(cChara& chara, cFlowCmd& cmd) {
    const cEdMove* move = MoveOf(cmd);
    if (!move) return;
    ReleaseScreenHold(chara);
    MoveVelocity v = AvoidOffscreenStep(chara, cmd);
    if (!chara.m_bFlying) v.vy = 0.0;
    ApplyMoveVelocity(chara, v, cmd, *move, false);
    cmd.m_nStep = WrapAdd(cmd.m_nStep, 1);
}

void ExecMoveDisable(cChara& chara, cFlowCmd&) {
    chara.m_dMoveSpeedX = chara.m_dMoveSpeedY = 0.0;
    chara.m_dSpeedX = chara.m_dSpeedY = 0.0;
    chara.m_dImpactX = 0.0;
    ReleaseScreenHold(chara);
    chara.m_bNoGravity = 1;  // for this sub-step
    chara.ClearImpactY();
}

void ExecChangeFacing(cChara& chara, cFlowCmd& cmd) {
    if (!chara.m_Def.m_bFixedFacing || !cmd.m_lpDef) return;
    if (cmd.m_nStep == 0) {
        PlayUserSe(cmd.m_lpDef->m_nSound);
        const int32_t p = CmdParam(*cmd.m_lpDef, 0);
        if (p == 0 || p == 1) {
            chara.m_nFacing = p;
        } else if (p >= 2 && p <= 9) {
            // Toward (even) or away from (odd) the chara of a target slot;
            // with the slot empty the attempt repeats next sub-step.
            const cChara* target = chara.TargetSlot((p - 2) / 2);
            if (!target) return;
            const bool rightOfMe = ScreenBoxCentreX(*target) > ScreenBoxCentreX(chara);
            chara.m_nFacing = (p % 2 == 0) == rightOfMe ? 1 : 0;
        } else if (p == 10) {
            chara.m_nFacing = chara.m_nWallSide != 0 ? 1 : 0;
        } else if (p == 11) {
            chara.m_nFacing = chara.m_nWallSide != 0 ? 0 : 1;
        }
    }
    // Once a frame while the command lasts.
    cmd.m_nStep = WrapAdd(cmd.m_nStep, 1);
    if (cmd.m_nStep >= g_Stage.m_nSubSteps) cmd.m_nStep = 0;
}

void ExecJump(cChara& chara, cFlowCmd& cmd) {
    ReleaseScreenHold(chara);
    const int32_t step = cmd.m_nStep;
    if (auto* computer = dynamic_cast<cCharaComputer*>(&chara))
        computer->Jump(cmd);
    else if (auto* player = dynamic_cast<cCharaPlayer*>(&chara))
        player->Jump(cmd);
    // Once a sub-step: a computer chara waiting to launch counts it itself.
    if (cmd.m_nStep == step) cmd.m_nStep = WrapAdd(step, 1);
}

void SetupJumpCmd(cFlowCmd& cmd, cChara& chara) {
    if (!cmd.m_lpDef) return;
    // The chara's own copy of the command learns the rise time.
    auto& def = const_cast<cEdFlowCmd&>(*cmd.m_lpDef);
    const auto height = static_cast<int8_t>(CmdParam(def, 2));
    cmd.m_dLaunchSpeed = chara.JumpSpeedFromHeight(height);
    def.m_nTime = static_cast<int16_t>(chara.JumpFramesFromHeight(height));
    cmd.m_nDuration = WrapMul(WrapMul(def.m_nTime, g_Stage.m_nSubSteps), 6);
}
