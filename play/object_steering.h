// Numeric motion of objects: the knock-back speed of an impact, sine-wave
// motion, steering towards a point (straight, diagonal, or leading a target
// that rides the automatic scrolling) and the interval test of distance
// conditions. F below is the number of sub-steps per frame as a double.
#pragma once
#include <cstdint>

class cObject;
class cFlowCmd;

// The speeds that carry an object 16 x impact dots while the impact decays
// by 1 / F per sub-step, split along (dirX, dirY) by |dirX| + |dirY|.
// Nothing for impact 0; previousY is zeroed unless the system keeps it.
void ImpactVelocity(double& vx, double& vy, double impact, double dirX, double dirY, double& previousY);

// Sine-wave motion: angle (degrees x F) steps by speed and wraps at 360 F;
// the result is the velocity (or its increment) of the old angle.
double WaveVelocity(double amplitude, double frequency, double& angle, double speed, double phase);
double WaveAcceleration(double amplitude, double frequency, double& angle, double speed, double phase);

// Velocity of speed t from (cx, cy) towards (tx, ty); dir 1 leftwards, 2
// rightwards, 0 none. straight 0 with t < 0 flies the diagonal away from
// the point. target (may be null) decides how the automatic scrolling is
// added or led. The result is 1 when arrivalTest is set and the point lies
// within |t| on both axes.
int ComputeSteering(double& vx, double& vy, int& dir, const cObject* target, double cx, double cy, double tx,
                    double ty, double t, int scrollFlag, int straight, int arrivalTest);
// One axis only; the other speed is zeroed.
int ComputeSteeringX(double& vx, double& vy, int& dir, const cObject* target, double cx, double tx, double t,
                     int scrollFlag, int arrivalTest);
int ComputeSteeringY(double& vx, double& vy, int& dir, const cObject* target, double cy, double ty, double t,
                     int scrollFlag, int arrivalTest);

// The work ints in which a move command keeps the offset of its target
// point from the target's centre.
inline constexpr int kCmdWorkTargetOffsetX = 2;
inline constexpr int kCmdWorkTargetOffsetY = 3;

// The centre of an object's screen box, as SetCentre places it.
int ScreenBoxCentreX(const cObject& o);
int ScreenBoxCentreY(const cObject& o);

// The point a move command heads for: the centre of the target's screen
// box plus the command's offset. An axis the move fixes is left as it is;
// with both fixed, x is still written.
void GetTargetPoint(const cObject& target, const cFlowCmd& cmd, int& x, int& y);

// Steers the command's velocity and direction code from the centre of the
// object's screen box towards (tx, ty) at the command's speed. On arrival,
// when the move stops at its target, both screen boxes are refreshed and
// the object is snapped onto the point, which stops the command. The
// result is the arrival test's. The X and Y forms steer one axis only.
int SteerToPoint(cObject& self, cFlowCmd& cmd, cObject* target, int tx, int ty, int scrollFlag, int arrivalTest);
int SteerToPointX(cObject& self, cFlowCmd& cmd, cObject* target, int tx, int scrollFlag, int arrivalTest);
int SteerToPointY(cObject& self, cFlowCmd& cmd, cObject* target, int ty, int scrollFlag, int arrivalTest);

// The interval [lo, hi] round the centre of pos .. pos + size: before and
// after (non-zero) reach beyond half the size on each side.
void RangeInterval(int pos, int size, int before, int after, int useExtent, int& lo, int& hi);
// Whether [otherStart, otherEnd] meets that interval with the margin; with
// special set, an object whose box is nearly its draw height ignores the
// margin at the interval's low end.
int IsWithinRange(int pos, int size, int otherStart, int otherEnd, int margin, int before, int after,
                  int useExtent, int special, const cObject& object);
