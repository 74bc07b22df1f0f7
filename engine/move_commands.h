// The movement commands (kinds 2 to 10): straight moves by direction, angle
// or toward a point, the ground move that turns back at walls and ledges,
// circles, charges, homing, keeping on screen, cancelling movement, the
// facing change and the jump. Set-up routines fix speeds and times when a
// flow is built; each executor runs once per sub-step of its command,
// works out a velocity and hands it to ApplyMoveVelocity.
//
// Directions: a move's code is relative or absolute (DirectionCode);
// ResolveDirection gives the absolute codes 2..11. Facing codes: 0 keep,
// 1 face left, 2 face right. Speeds are dots per sub-step.
#pragma once
#include <cstdint>

class cChara;
class cEdMove;
class cFlowCmd;

// Set-up routines (CmdSetupTable).
void SetupMoveCmd(cFlowCmd& cmd, cChara& chara);        // kinds 2, 3, 5, 7
void SetupCircleMoveCmd(cFlowCmd& cmd, cChara& chara);  // kind 4
void SetupHomingMoveCmd(cFlowCmd& cmd, cChara& chara);  // kind 6
void SetupJumpCmd(cFlowCmd& cmd, cChara& chara);        // kind 10
// Timing modes 1 (speed from time and distance) and 2 (time from speed and
// distance). A speed of 0 gives the longest time: the command runs until
// something stops it.
void ComputeMoveTiming(cFlowCmd& cmd, const cEdMove& move, int clone);

// Executors (CmdExecTable).
void ExecMoveStraight(cChara& chara, cFlowCmd& cmd);
void ExecMoveGroundTurn(cChara& chara, cFlowCmd& cmd);
void ExecMoveCircle(cChara& chara, cFlowCmd& cmd);
void ExecMoveCharge(cChara& chara, cFlowCmd& cmd);
void ExecMoveHoming(cChara& chara, cFlowCmd& cmd);
void ExecMoveAvoidOffscreen(cChara& chara, cFlowCmd& cmd);
void ExecMoveDisable(cChara& chara, cFlowCmd& cmd);
void ExecChangeFacing(cChara& chara, cFlowCmd& cmd);
void ExecJump(cChara& chara, cFlowCmd& cmd);

// A velocity with its facing code.
struct MoveVelocity {
    double vx = 0.0, vy = 0.0;
    int facing = 0;
};

// The absolute code 2..11 of a direction code for a chara facing right
// (facing != 0) or left; inputChannel: the direction channel held (input
// code 12); collapse: a diagonal from the input keeps its horizontal part.
int ResolveDirection(int code, int facing, int inputChannel, bool collapse);
// The definition's angle for the clone, mirrored for a chara facing right
// when the move says so, below 360.
int CalcCloneAngle(const cChara& chara, const cEdMove& move);
// The target offset in dots, mirrored for a chara facing right by the flags.
void CalcTargetOffset(const cChara& chara, const cEdMove& move, int& x, int& y);
MoveVelocity DirectionToVelocity(const cChara& chara, double speed, int code);
MoveVelocity AngleToVelocity(const cChara& chara, double speed, int code, int angle);
// Toward the move's target point; with the arrival time set, the command's
// remaining sub-steps become the time to arrive.
MoveVelocity VelocityToPoint(const cChara& chara, cFlowCmd& cmd, double speed, int offsetX, int offsetY,
                             const cEdMove& move);
// Facing, speed or displacement, and the animation request of the move;
// force turns a fixed-facing chara too. The result: the animation
// priority requested (0 none).
int ApplyMoveVelocity(cChara& chara, const MoveVelocity& v, const cFlowCmd& cmd, const cEdMove& move, bool force);
MoveVelocity GroundTurnStep(cChara& chara, const cFlowCmd& cmd);
// Steers the command toward (x, y) on the axes the move does not fix.
void HomingSteer(cChara& chara, cFlowCmd& cmd, cChara& target, int x, int y);
MoveVelocity AvoidOffscreenStep(const cChara& chara, const cFlowCmd& cmd);
