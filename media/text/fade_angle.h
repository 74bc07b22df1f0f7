// The per-frame arithmetic of the screen fades: the angle that runs between
// 90 (picture fully visible) and 0 (fully faded), its step and re-arming, and
// the picture weights taken from it.
#pragma once

namespace text {

constexpr double kDegToRad = 0.017453292519943295;

// Weight of the picture for the Direct3D quad: trunc(255 × sin(angle)); the
// black quad's alpha is 255 minus it.
int FadeQuadWeight(double angle);
// Weight of the picture for the DirectDraw blends: trunc(256 × sin(angle)).
int FadeBlendWeight(double angle);

enum class FadeDirection { kOut, kIn };

class cFadeAngle {
public:
    explicit cFadeAngle(FadeDirection dir);

    double Angle() const { return m_dAngle; }
    FadeDirection Direction() const { return m_Dir; }
    // reset: jump to the end state (0 for a fade-out, 90 for a fade-in).
    void Reset();
    // True at the angle where the DirectDraw fade takes its snapshot
    // (exactly 90 for a fade-out, exactly 0 for a fade-in).
    bool AtStart() const;
    // Called after the frame was drawn at Angle(): at the end angle it
    // re-arms the fade and returns true; otherwise it moves by step,
    // clamped to the end angle, and returns false.
    bool Step(double step);

private:
    FadeDirection m_Dir;
    double m_dAngle;
};

}  // namespace text
