#include "engine/status_seams.h"

namespace seam {

namespace {
void BuildLightMaskStandIn(cScenePlay&) {}
}  // namespace

BuildLightMaskFn BuildLightMask = BuildLightMaskStandIn;

void ResetStatusSeams() {
    BuildLightMask = BuildLightMaskStandIn;
}

}  // namespace seam
