#include "play/stage_play_seams.h"

namespace seam {

namespace {
int CheckReplaySaveKeysStandIn() { return 0; }
int AutoSaveReplayStandIn() { return 0; }
void RecordReplayFrameStandIn(const int16_t*) {}
int PlayReplayFrameStandIn(int16_t*) { return 1; }
int NextReplayChoiceStandIn() { return 0; }
void StoreCarryOverStandIn(cGameProgress&, int, cChara&) {}
void MarkReplayClearedStandIn() {}
void ClearReplayBuffersStandIn() {}
void EnterRankingStandIn() {}
void DrawStageResultStandIn(DDSURFACEDATA*, int, int, const int32_t*) {}
void LoadRankingStandIn(int, const std::string&) {}
int FindRankInsertPosStandIn(int, int32_t) { return -1; }
void ResetFlowOnceFlagsStandIn(cChara&) {}
int StepShotStandIn(cShot&) { return 0; }
void ShotGravityStandIn(cShot&) {}
int MoveShotStandIn(cShot&) { return 0; }
int ShotHitsBlockStandIn(cShot&) { return 0; }
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
MoveShotFn MoveShotX = MoveShotStandIn;
MoveShotFn MoveShotY = MoveShotStandIn;
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
    MoveShotX = MoveShotStandIn;
    MoveShotY = MoveShotStandIn;
    ShotHitsBlock = ShotHitsBlockStandIn;
    PushExtraLifeWindow = PushExtraLifeWindowStandIn;
    PopMessageWindow = PopMessageWindowStandIn;
    ClearMessageWindows = ClearMessageWindowsStandIn;
}

}  // namespace seam
