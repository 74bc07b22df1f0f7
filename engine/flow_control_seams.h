// Calls of the flow-control and message commands into parts that are not
// built yet, each named after the call it stands for. Tests may replace
// them; the part that builds the call deletes its seam and points the
// callers at the real function.
#pragma once
#include <cstdint>

class cScenePlay;

namespace seam {

// Stand-in until the play scene's states land: the scene is closing (the
// stand-in: no).
using IsPlayClosingFn = bool (*)(const cScenePlay& scene);
extern IsPlayClosingFn IsPlayClosing;

// Stand-in until the nested frame loops land: the row chosen in the last
// choice window with its value; false when the wait record holds no choices
// (the stand-in: false).
using ChosenChoiceFn = bool (*)(cScenePlay& scene, int32_t& row, int32_t& value);
extern ChosenChoiceFn ChosenChoice;

// Puts every seam above back to its stand-in.
void ResetFlowControlSeams();

}  // namespace seam
