// Calls of the status operations into parts that are not built yet, each
// named after the call it stands for. Tests may replace them; the part that
// builds the call deletes its seam and points the callers at the real
// function.
#pragma once

class cScenePlay;

namespace seam {

// Stand-in until the draw pass lands: rebuilds the play scene's darkness
// mask for the hero's light radius (the stand-in does nothing).
using BuildLightMaskFn = void (*)(cScenePlay& scene);
extern BuildLightMaskFn BuildLightMask;

// Puts every seam above back to its stand-in.
void ResetStatusSeams();

}  // namespace seam
