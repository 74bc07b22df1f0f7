#include "engine/engine_seams.h"

#include "records/data_record.h"

namespace seam {

namespace {
int IsReplayPlaybackStandIn() { return 0; }
int ReplayDataVersionStandIn() { return static_cast<int>(kDataVersion); }
}  // namespace

IsReplayPlaybackFn IsReplayPlayback = IsReplayPlaybackStandIn;
ReplayDataVersionFn ReplayDataVersion = ReplayDataVersionStandIn;

void ResetEngineSeams() {
    IsReplayPlayback = IsReplayPlaybackStandIn;
    ReplayDataVersion = ReplayDataVersionStandIn;
}

}  // namespace seam
