// Numeric motion of objects: the knock-back speed of an impact, sine-wave
// motion, steering towards a point (straight, diagonal, or leading a target
// that rides the automatic scrolling) and the interval test of distance
// conditions. F below is the number of sub-steps per frame as a double.
#pragma once
#include <cstdint>

class cObject;

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

// The interval [lo, hi] round the centre of pos .. pos + size: before and
// after (non-zero) reach beyond half the size on each side.
void RangeInterval(int pos, int size, int before, int after, int useExtent, int& lo, int& hi);
// Whether [otherStart, otherEnd] meets that interval with the margin; with
// special set, an object whose box is nearly its draw height ignores the
// margin at the interval's low end.
int IsWithinRange(int pos, int size, int otherStart, int otherEnd, int margin, int before, int after,
                  int useExtent, int special, const cObject& object);
