// Calls of the draw pass into parts that are not built yet, each named after
// the call it stands for. Tests may replace them; the part that builds the
// call deletes its seam and points the callers at the real function.
#pragma once
#include "app/checked_vector.h"
#include "play/chara_computer.h"

class cScenePlay;
class cChara;
class cCharaComputer;
struct DDSURFACEDATA;

namespace seam {


// Stand-in until the condition-area overlay lands: the distance-condition
// areas of the on-screen charas (the stand-in draws none).
using DrawConditionAreasFn = void (*)(cScenePlay& scene, DDSURFACEDATA* dst);
extern DrawConditionAreasFn DrawConditionAreas;

// Puts every seam above back to its stand-in.
void ResetDrawSeams();

}  // namespace seam
