#include "play/object.h"
#include "records/stage.h"

namespace {
double ClampSpeed(double v) {
    const double cap = g_Stage.m_dSpeedCapStep;
    if (v > cap) return cap;
    if (v < -cap) return -cap;
    return v;
}
}  // namespace

int cObject::MoveByX(int mode) {
    m_dSpeedX = ClampSpeed(m_dSpeedX);
    m_dX += m_dSpeedX;
    const int code = ClampToStageX(mode);
    return code >= 1 && code <= 3 ? code : 0;
}

int cObject::MoveByY(int mode) {
    m_dSpeedY = ClampSpeed(m_dSpeedY);
    m_dY += m_dSpeedY;
    const int code = ClampToStageY(mode);
    return code >= 1 && code <= 6 ? code : 0;
}

void cObject::ApplyGravityPlain() {
    if (!m_bFlying) m_dSpeedY += g_Stage.m_dGravityStep;
}

void cObject::Decelerate(double& speed, int enabled) const {
    if (!enabled) return;
    if (speed > 0.0) {
        speed -= m_dFriction;
        if (speed < 0.0) speed = 0.0;
    } else if (speed < 0.0) {
        speed += m_dFriction;
        if (speed > 0.0) speed = 0.0;
    }
}

double cObject::PerFrame(double v) { return v / g_Stage.m_dSubSteps / 60; }
