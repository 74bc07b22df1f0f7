#include "play/object_steering.h"

#include <cmath>

#include "engine/flow.h"
#include "play/numeric.h"
#include "play/object.h"
#include "play/scene_play.h"
#include "records/ed_flow.h"
#include "records/ed_move.h"
#include "records/stage.h"
#include "records/system_data.h"

namespace {

constexpr double kPi = 3.141592653589793;

double ImpactSpeed(double c) {
    const double f = g_Stage.m_dSubSteps;
    if (c > 0.0) return (std::sqrt(1.0 + 128.0 * f * c) - 1.0) / (2.0 * f);
    if (c < 0.0) return -(std::sqrt(1.0 - 128.0 * f * c) - 1.0) / (2.0 * f);
    return 0.0;
}

// The automatic scroll speed of an axis, 0 when it does not scroll.
double ScrollSpeed(const cScrollAxis& axis) { return axis.m_dSpeed != 0.0 && !axis.m_bAtEdge ? axis.m_dSpeed : 0.0; }
double ScrollQ() { return PlayScene() ? ScrollSpeed(PlayScene()->m_ScrollX) : 0.0; }
double ScrollO() { return PlayScene() ? ScrollSpeed(PlayScene()->m_ScrollY) : 0.0; }

double StepWaveAngle(double& angle, double speed) {
    const double old = angle;
    const double full = 360.0 * g_Stage.m_dSubSteps;
    angle += speed;
    if (angle >= full) angle -= full;
    return old;
}

int DirOf(double vx) { return vx > 0.0 ? 2 : vx < 0.0 ? 1 : 0; }

}  // namespace

void ImpactVelocity(double& vx, double& vy, double impact, double dirX, double dirY, double& previousY) {
    if (impact == 0.0) return;
    if (!g_SystemData.OptImpactYKeepPrevious) previousY = 0.0;
    const double s = std::fabs(dirX) + std::fabs(dirY);
    if (s == 0.0) {
        vx = vy = 0.0;
        return;
    }
    vx = ImpactSpeed(impact * dirX / s);
    vy = ImpactSpeed(impact * dirY / s);
}

double WaveVelocity(double amplitude, double frequency, double& angle, double speed, double phase) {
    const double a = StepWaveAngle(angle, speed);
    const double f = g_Stage.m_dSubSteps;
    const double k = frequency * kPi / 180.0;
    return k * std::cos(k * (a / f + phase)) * amplitude / f;
}

double WaveAcceleration(double amplitude, double frequency, double& angle, double speed, double phase) {
    const double a = StepWaveAngle(angle, speed);
    const double f = g_Stage.m_dSubSteps;
    const double k = frequency * kPi / 180.0;
    return -k * std::sin(k * (a / f + phase)) * (k / f) * amplitude / f;
}

int ComputeSteering(double& vx, double& vy, int& dir, const cObject* target, double cx, double cy, double tx,
                    double ty, double t, int scrollFlag, int straight, int arrivalTest) {
    vx = vy = 0.0;
    const double q = ScrollQ(), o = ScrollO();
    const bool follow = g_SystemData.OptFlyersFollowScroll != 0;
    if (!straight && t < 0.0) {
        const double d = t * kSqrtHalf;
        vx = tx <= cx ? -d : d;
        vy = ty <= cy ? -d : d;
        dir = DirOf(vx);
        if (follow) {
            vx += q;
            vy += o;
        } else if (target && ((!scrollFlag && target->m_bFollowScroll) || (scrollFlag && !target->m_bFollowScroll))) {
            vx -= q;
            vy -= o;
        }
        return 0;
    }
    const double dx = tx - cx, dy = ty - cy;
    double d = std::sqrt(dx * dx + dy * dy);
    if (d == 0.0) d = 1.0;
    vx = t * dx / d;
    vy = t * dy / d;
    if (follow) {
        vx += q;
        vy += o;
    } else if (target && !target->m_bFollowScroll) {
        vx -= q;
        vy -= o;
    } else if (target && !scrollFlag && (q != 0.0 || o != 0.0)) {
        // Lead the target: a velocity of the same size that meets it. The
        // root is the one that reaches the target ahead in time (the larger
        // one towards +axis, the smaller one towards -axis); the negated
        // larger root would neither have the speed nor meet the target.
        const double u = std::fabs(t);
        const double r = dx * dx * o * o + dy * dy * q * q - 2.0 * dx * dy * o * q;
        if (std::fabs(dy) >= std::fabs(dx)) {
            if (dy == 0.0) return 0;
            const double w = dx * dx / (dy * dy) + 1.0;
            if (w == 0.0) return 0;
            const double y = (2.0 * o * dx * dx - 2.0 * dx * dy * q) / (dy * dy);
            const double disc = y * y - 4.0 * w * (r / (dy * dy) - u * u);
            if (disc < 0.0) return 0;
            vy = dy >= 0.0 ? (y + std::sqrt(disc)) / (2.0 * w) : (y - std::sqrt(disc)) / (2.0 * w);
            if (o - vy == 0.0) return 0;
            const double tau = (cy - ty) / (o - vy);
            if (tau == 0.0) return 0;
            vx = (dx + tau * q) / tau;
        } else {
            const double w = dy * dy / (dx * dx) + 1.0;
            if (w == 0.0) return 0;
            const double y = (2.0 * q * dy * dy - 2.0 * dx * dy * o) / (dx * dx);
            const double disc = y * y - 4.0 * w * (r / (dx * dx) - u * u);
            if (disc < 0.0) return 0;
            vx = dx >= 0.0 ? (y + std::sqrt(disc)) / (2.0 * w) : (y - std::sqrt(disc)) / (2.0 * w);
            if (q - vx == 0.0) return 0;
            const double tau = (cx - tx) / (q - vx);
            if (tau == 0.0) return 0;
            vy = (dy + tau * o) / tau;
        }
    }
    dir = DirOf(vx);
    if (!arrivalTest) return 0;
    return std::fabs(dx) <= std::fabs(t) && std::fabs(dy) <= std::fabs(t) ? 1 : 0;
}

int ComputeSteeringX(double& vx, double& vy, int& dir, const cObject* target, double cx, double tx, double t,
                     int scrollFlag, int arrivalTest) {
    if (cx >= tx) {
        vx = -t;
        dir = 1;
    } else {
        vx = t;
        dir = 2;
    }
    if (g_SystemData.OptFlyersFollowScroll && !scrollFlag && target && target->m_bFollowScroll) vx += ScrollQ();
    vy = 0.0;
    return arrivalTest && std::fabs(t) > std::fabs(cx - tx) ? 1 : 0;
}

int ComputeSteeringY(double& vx, double& vy, int& dir, const cObject* target, double cy, double ty, double t,
                     int scrollFlag, int arrivalTest) {
    vy = cy >= ty ? -t : t;
    dir = 0;
    if (g_SystemData.OptFlyersFollowScroll && !scrollFlag && target && target->m_bFollowScroll) vy += ScrollO();
    vx = 0.0;
    return arrivalTest && std::fabs(t) > std::fabs(cy - ty) ? 1 : 0;
}

int ScreenBoxCentreX(const cObject& o) { return WrapAdd(o.m_nScrLeft, o.m_nDrawWidth / 2); }
int ScreenBoxCentreY(const cObject& o) { return WrapAdd(o.m_nScrTop, o.m_nDrawHeight / 2); }

namespace {

const cEdMove* MoveOf(const cFlowCmd& cmd) { return cmd.m_lpDef ? cmd.m_lpDef->m_spMove.get() : nullptr; }

// After an arrival: snap onto the point when the move stops at its target.
bool StopsOnArrival(const cFlowCmd& cmd, cObject& self, cObject* target) {
    const cEdMove* move = MoveOf(cmd);
    if (!move || !move->m_bStopOnArrival) return false;
    self.UpdateScreenRect();
    if (target) target->UpdateScreenRect();
    return true;
}

}  // namespace

void GetTargetPoint(const cObject& target, const cFlowCmd& cmd, int& x, int& y) {
    const int px = WrapAdd(ScreenBoxCentreX(target), cmd.m_anWork[kCmdWorkTargetOffsetX]);
    const int py = WrapAdd(ScreenBoxCentreY(target), cmd.m_anWork[kCmdWorkTargetOffsetY]);
    const cEdMove* move = MoveOf(cmd);
    const bool fixX = move && move->m_bFixX, fixY = move && move->m_bFixY;
    if (fixY) {
        x = px;
    } else if (fixX) {
        y = py;
    } else {
        x = px;
        y = py;
    }
}

int SteerToPoint(cObject& self, cFlowCmd& cmd, cObject* target, int tx, int ty, int scrollFlag, int arrivalTest) {
    const int arrived = ComputeSteering(cmd.m_dVelX, cmd.m_dVelY, cmd.m_nDirCode, target, ScreenBoxCentreX(self),
                                        ScreenBoxCentreY(self), tx, ty, cmd.m_dSpeed, scrollFlag, 0, arrivalTest);
    if (arrived && StopsOnArrival(cmd, self, target)) self.SetCentreOnContact(tx, ty, &cmd);
    return arrived;
}

int SteerToPointX(cObject& self, cFlowCmd& cmd, cObject* target, int tx, int scrollFlag, int arrivalTest) {
    const int arrived = ComputeSteeringX(cmd.m_dVelX, cmd.m_dVelY, cmd.m_nDirCode, target, ScreenBoxCentreX(self), tx,
                                         cmd.m_dSpeed, scrollFlag, arrivalTest);
    if (arrived && StopsOnArrival(cmd, self, target)) self.SetCentreXOnContact(tx, &cmd);
    return arrived;
}

int SteerToPointY(cObject& self, cFlowCmd& cmd, cObject* target, int ty, int scrollFlag, int arrivalTest) {
    const int arrived = ComputeSteeringY(cmd.m_dVelX, cmd.m_dVelY, cmd.m_nDirCode, target, ScreenBoxCentreY(self), ty,
                                         cmd.m_dSpeed, scrollFlag, arrivalTest);
    if (arrived && StopsOnArrival(cmd, self, target)) self.SetCentreYOnContact(ty, &cmd);
    return arrived;
}

void RangeInterval(int pos, int size, int before, int after, int useExtent, int& lo, int& hi) {
    const int h = size / 2;
    const int c = WrapAdd(pos, h);
    if (useExtent && before == 0 && after == 0) {
        lo = c - h;
        hi = WrapAdd(c, h);
        return;
    }
    lo = before != 0 ? WrapAdd(c, -WrapAdd(h, before)) : c;
    hi = after != 0 ? WrapAdd(c, WrapAdd(h, after)) : c;
}

int IsWithinRange(int pos, int size, int otherStart, int otherEnd, int margin, int before, int after,
                  int useExtent, int special, const cObject& object) {
    int lo = 0, hi = 0;
    RangeInterval(pos, size, before, after, useExtent, lo, hi);
    const int64_t end = otherEnd, start = otherStart, m = margin;
    bool low = static_cast<int64_t>(lo) <= end - m;
    if (special && !g_SystemData.OptRangeNoFootCase &&
        static_cast<int64_t>(TruncToInt(object.m_dBottom - object.m_dY)) + m + 1 >= object.m_nDrawHeight)
        low = lo <= otherEnd;
    return low && start + m <= hi ? 1 : 0;
}
