#include "media/text/fade_angle.h"

#include <cmath>

namespace text {

int FadeQuadWeight(double angle) { return static_cast<int>(255.0 * std::sin(angle * kDegToRad)); }

int FadeBlendWeight(double angle) { return static_cast<int>(256.0 * std::sin(angle * kDegToRad)); }

cFadeAngle::cFadeAngle(FadeDirection dir) : m_Dir(dir), m_dAngle(dir == FadeDirection::kOut ? 90.0 : 0.0) {}

void cFadeAngle::Reset() { m_dAngle = m_Dir == FadeDirection::kOut ? 0.0 : 90.0; }

bool cFadeAngle::AtStart() const { return m_dAngle == (m_Dir == FadeDirection::kOut ? 90.0 : 0.0); }

bool cFadeAngle::Step(double step) {
    if (m_Dir == FadeDirection::kOut) {
        if (m_dAngle <= 0.0) {
            m_dAngle = 90.0;
            return true;
        }
        m_dAngle -= step;
        if (m_dAngle < 0.0) m_dAngle = 0.0;
        return false;
    }
    if (m_dAngle >= 90.0) {
        m_dAngle = 0.0;
        return true;
    }
    m_dAngle += step;
    if (m_dAngle > 90.0) m_dAngle = 90.0;
    return false;
}

}  // namespace text
