#include "play/stage_play_seams.h"

#include "engine/flow_trigger.h"
#include "frontend/replay/replay.h"
#include "play/shot.h"

namespace seam {

namespace {
int CheckReplaySaveKeysStandIn() { return ::CheckReplaySaveKeys(); }
int AutoSaveReplayStandIn() { return ::AutoSaveReplay(); }
void RecordReplayFrameStandIn(const int16_t* words) { ::RecordReplayFrame(words); }
int PlayReplayFrameStandIn(int16_t* words) { return ::PlayReplayFrame(words); }
int NextReplayChoiceStandIn() { return ::NextReplayChoice(); }
void StoreCarryOverStandIn(cGameProgress&, int, cChara&) {}
void MarkReplayClearedStandIn() {}
void ClearReplayBuffersStandIn() {}
void EnterRankingStandIn() {}
void DrawStageResultStandIn(DDSURFACEDATA*, int, int, const int32_t*) {}
void LoadRankingStandIn(int, const std::string&) {}
int FindRankInsertPosStandIn(int, int32_t) { return -1; }
void ResetFlowOnceFlagsStandIn(cChara& chara) { ::ResetFlowOnceFlags(chara); }
int StepShotStandIn(cShot& shot) { return shot.StepShot(); }
void ShotGravityStandIn(cShot&) {}
int MoveShotXStandIn(cShot& shot) { return shot.MoveShotX(); }
int MoveShotYStandIn(cShot& shot) { return shot.MoveShotY(); }
int ShotHitsBlockStandIn(cShot& shot) { return shot.ShotHitsBlock(); }
void PushExtraLifeWindowStandIn(cScenePlay&) {}
void PopMessageWindowStandIn(cScenePlay&) {}
void ClearMessageWindowsStandIn(cScenePlay&) {}
}  // namespace

CheckReplaySaveKeysFn CheckReplaySaveKeys = CheckReplaySaveKeysStandIn;
AutoSaveReplayFn AutoSaveReplay = AutoSaveReplayStandIn;
RecordReplayFrameFn RecordReplayFrame = RecordReplayFrameStandIn;
PlayReplayFrameFn PlayReplayFrame = PlayReplayFrameStandIn;
NextReplayChoiceFn NextReplayChoice = NextReplayChoiceStandIn;
StoreCarryOverFn StoreCarryOver = StoreCarryOverStandIn;
MarkReplayClearedFn MarkReplayCleared = MarkReplayClearedStandIn;
ClearReplayBuffersFn ClearReplayBuffers = ClearReplayBuffersStandIn;
EnterRankingFn EnterRanking = EnterRankingStandIn;
DrawStageResultFn DrawStageResult = DrawStageResultStandIn;
LoadRankingFn LoadRanking = LoadRankingStandIn;
FindRankInsertPosFn FindRankInsertPos = FindRankInsertPosStandIn;
ResetFlowOnceFlagsFn ResetFlowOnceFlags = ResetFlowOnceFlagsStandIn;
StepShotFn StepShot = StepShotStandIn;
ShotGravityFn ShotGravity = ShotGravityStandIn;
MoveShotFn MoveShotX = MoveShotXStandIn;
MoveShotFn MoveShotY = MoveShotYStandIn;
ShotHitsBlockFn ShotHitsBlock = ShotHitsBlockStandIn;
PushExtraLifeWindowFn PushExtraLifeWindow = PushExtraLifeWindowStandIn;
PopMessageWindowFn PopMessageWindow = PopMessageWindowStandIn;
ClearMessageWindowsFn ClearMessageWindows = ClearMessageWindowsStandIn;

void ResetStagePlaySeams() {
    CheckReplaySaveKeys = CheckReplaySaveKeysStandIn;
    AutoSaveReplay = AutoSaveReplayStandIn;
    RecordReplayFrame = RecordReplayFrameStandIn;
    PlayReplayFrame = PlayReplayFrameStandIn;
    NextReplayChoice = NextReplayChoiceStandIn;
    StoreCarryOver = StoreCarryOverStandIn;
    MarkReplayCleared = MarkReplayClearedStandIn;
    ClearReplayBuffers = ClearReplayBuffersStandIn;
    EnterRanking = EnterRankingStandIn;
    DrawStageResult = DrawStageResultStandIn;
    LoadRanking = LoadRankingStandIn;
    FindRankInsertPos = FindRankInsertPosStandIn;
    ResetFlowOnceFlags = ResetFlowOnceFlagsStandIn;
    StepShot = StepShotStandIn;
    ShotGravity = ShotGravityStandIn;
    MoveShotX = MoveShotXStandIn;
    MoveShotY = MoveShotYStandIn;
    ShotHitsBlock = ShotHitsBlockStandIn;
    PushExtraLifeWindow = PushExtraLifeWindowStandIn;
    PopMessageWindow = PopMessageWindowStandIn;
    ClearMessageWindows = ClearMessageWindowsStandIn;
}

}  // namespace seam
