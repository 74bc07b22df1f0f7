#include "play/draw_seams.h"

namespace seam {

namespace {
void ResolveMissStandIn(cScenePlay&) {}
void DrawConditionAreasStandIn(cScenePlay&, DDSURFACEDATA*) {}
}  // namespace

ResolveMissFn ResolveMiss = ResolveMissStandIn;
DrawConditionAreasFn DrawConditionAreas = DrawConditionAreasStandIn;

void ResetDrawSeams() {
    ResolveMiss = ResolveMissStandIn;
    DrawConditionAreas = DrawConditionAreasStandIn;
}

}  // namespace seam
