#include "play/draw_seams.h"

namespace seam {

namespace {
void DrawConditionAreasStandIn(cScenePlay&, DDSURFACEDATA*) {}
}  // namespace

DrawConditionAreasFn DrawConditionAreas = DrawConditionAreasStandIn;

void ResetDrawSeams() {
    DrawConditionAreas = DrawConditionAreasStandIn;
}

}  // namespace seam
