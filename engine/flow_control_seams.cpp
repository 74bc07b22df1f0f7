#include "engine/flow_control_seams.h"

namespace seam {

namespace {
bool IsPlayClosingStandIn(const cScenePlay&) { return false; }
bool ChosenChoiceStandIn(cScenePlay&, int32_t&, int32_t&) { return false; }
}  // namespace

IsPlayClosingFn IsPlayClosing = IsPlayClosingStandIn;
ChosenChoiceFn ChosenChoice = ChosenChoiceStandIn;

void ResetFlowControlSeams() {
    IsPlayClosing = IsPlayClosingStandIn;
    ChosenChoice = ChosenChoiceStandIn;
}

}  // namespace seam
