#include "play/stage_play_seams.h"

#include "engine/flow_trigger.h"
#include "frontend/replay/replay.h"
#include "play/replay_save.h"
#include "play/shot.h"

namespace seam {

namespace {
int AutoSaveReplayReal() { return ::AutoSaveReplay(); }
void RecordReplayFrameReal(const int16_t* words) { ::RecordReplayFrame(words); }
int PlayReplayFrameReal(int16_t* words) { return ::PlayReplayFrame(words); }
void ResetFlowOnceFlagsReal(cChara& chara) { ::ResetFlowOnceFlags(chara); }
int StepShotReal(cShot& shot) { return shot.StepShot(); }
}  // namespace

AutoSaveReplayFn AutoSaveReplay = AutoSaveReplayReal;
RecordReplayFrameFn RecordReplayFrame = RecordReplayFrameReal;
PlayReplayFrameFn PlayReplayFrame = PlayReplayFrameReal;
ResetFlowOnceFlagsFn ResetFlowOnceFlags = ResetFlowOnceFlagsReal;
StepShotFn StepShot = StepShotReal;

void ResetStagePlaySeams() {
    AutoSaveReplay = AutoSaveReplayReal;
    RecordReplayFrame = RecordReplayFrameReal;
    PlayReplayFrame = PlayReplayFrameReal;
    ResetFlowOnceFlags = ResetFlowOnceFlagsReal;
    StepShot = StepShotReal;
}

}  // namespace seam
