#include "engine/engine_seams.h"

#include "records/data_record.h"

namespace seam {

namespace {
int EvalStatusCondStandIn(const cCond&, cChara&, int32_t*) { return 0; }
void ApplyFlowArrangesStandIn(cEdFlowCmd&, cChara&, cFlow*) {}
int IsReplayPlaybackStandIn() { return 0; }
int ReplayDataVersionStandIn() { return static_cast<int>(kDataVersion); }
}  // namespace

EvalStatusCondFn EvalStatusCond = EvalStatusCondStandIn;
ApplyFlowArrangesFn ApplyFlowArranges = ApplyFlowArrangesStandIn;
IsReplayPlaybackFn IsReplayPlayback = IsReplayPlaybackStandIn;
ReplayDataVersionFn ReplayDataVersion = ReplayDataVersionStandIn;

void ResetEngineSeams() {
    EvalStatusCond = EvalStatusCondStandIn;
    ApplyFlowArranges = ApplyFlowArrangesStandIn;
    IsReplayPlayback = IsReplayPlaybackStandIn;
    ReplayDataVersion = ReplayDataVersionStandIn;
}

}  // namespace seam
