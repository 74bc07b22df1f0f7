// The per-frame steps of the screen fades in both device families. A scene
// calls one of them once per frame, after drawing the frame's picture and
// before presenting it, until it returns true.
#pragma once
#include <cstdint>

// One step of the fade from the picture to the colour (red, green, blue):
// Direct3D draws a black quad over the back buffer (the palette arguments
// and the colour are not used there); DirectDraw blends the palette at 8 bits
// and a snapshot of the frame at 16, 24 and 32 bits. True on the call that
// draws the fully faded frame; that call re-arms the fade. reset jumps to
// the end state.
bool DDFadeOut(uint8_t palette[256][4], int first, int last, uint8_t red, uint8_t green, uint8_t blue, double step,
               const uint8_t srcPalette[256][4], bool reset);
// The same from the colour back to the picture.
bool DDFadeIn(uint8_t palette[256][4], int first, int last, uint8_t red, uint8_t green, uint8_t blue, double step,
              const uint8_t srcPalette[256][4], bool reset);

namespace text {
// The four fade angles back to their start values (a fresh run; tests).
void ResetFadeAngles();
// The angle the next call of a fade draws (tests).
double FadeAngle(bool direct3D, bool fadeIn);
}  // namespace text
