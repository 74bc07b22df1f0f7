#include "engine/status_seams.h"

namespace seam {

namespace {
bool DoWarpStandIn(cChara&, const cEdFlowCmd&, int) { return true; }
void BuildLightMaskStandIn(cScenePlay&) {}
}  // namespace

DoWarpFn DoWarp = DoWarpStandIn;
BuildLightMaskFn BuildLightMask = BuildLightMaskStandIn;

void ResetStatusSeams() {
    DoWarp = DoWarpStandIn;
    BuildLightMask = BuildLightMaskStandIn;
}

}  // namespace seam
