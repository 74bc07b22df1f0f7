#include "play/play_seams.h"

#include "engine/flow.h"
#include "frontend/data/game_progress.h"
#include "play/chara_computer.h"
#include "play/chara_hits.h"
#include "play/scene_play.h"
#include "play/shot.h"

namespace seam {

int CheckBlockCondsStandIn(cScenePlay*, cMapCell&) { return 1; }
CheckBlockCondsFn CheckBlockConds = CheckBlockCondsStandIn;

namespace {
int FireFlowTriggerExStandIn(cChara&, int, cChara*, int) { return 0; }
int StepFlowStandIn(cFlow&) { return 0; }
void StopFlowStandIn(cFlow& flow, cChara&) { flow.m_bRunning = 0; }
void StartFlowAnimesStandIn(cChara&) {}
void SetupFlowCmdStandIn(cFlowCmd&, cChara&) {}
void DoChangeFlowStandIn(const cEdFlowCmd&, cChara&, int) {}
int RunItemCommandStandIn(cEdFlowCmd&, cChara&) { return 0; }
int CheckKeyCondHeldStandIn(cInput&, const cKeyCond&) { return 0; }
void ApplyCharaArrangesStandIn(cChara&, cEdFlowCmd&) {}
void ShowPickupWindowStandIn(int, const std::string&, int, int) {}
void PlayUserSeStandIn(int) {}
void StartCharaEffectStandIn(cChara&, int, int, int) {}
void AddHitEffectStandIn(int, cChara&, const double*, const cObject&) {}
int KillCharaStandIn(cChara& chara) {
    if (chara.m_nSide == 0) return 2;
    if (chara.m_bDead) return 0;
    chara.m_bDead = 1;
    return 0;
}
int TakeHitFromShotStandIn(cChara& chara, cShot& shot, int32_t& damage, int& impact) {
    const int32_t d = CalcDamage(chara, shot.m_EdShot.m_nPower);
    damage = chara.m_Def.m_nInvincible ? 0 : d;
    impact = 0;
    return AddHP(chara, -d, 0, 1);
}
int GiveItemStandIn(cItem*, cChara&) { return 0; }
int OnCharaDeathStandIn(cChara& chara) { return KillChara(chara); }
void PlaySeStandIn(int) {}
void RequestBgmStandIn(int entry, int) { g_Progress.m_nBgm = entry; }
int IsReplayPlaybackStandIn() { return 0; }
uint32_t ReplayStartSeedStandIn() { return 0; }
void BeginReplayRecordingStandIn(uint32_t) {}
void ApplyCarryOverStandIn(cGameProgress&, int, cEdChara&, cStage&) {}
void GetCarriedCountersStandIn(cGameProgress&, int, int32_t&, int32_t&) {}
void SetBackgroundFilesStandIn() {}
void BuildLightMaskStandIn(int) {}
void UpdateActiveStatesStandIn() {}
}  // namespace

void RemoveCharaStandIn(cCheckedList<cCharaComputer>& list, std::list<cCharaComputer>::iterator node) {
    Unlink(*node);
    if (cScenePlay* scene = PlayScene()) {
        if (node->m_nGroup >= 0 && node->m_nGroup < static_cast<int>(scene->m_vCharaGroups.size()))
            scene->m_vCharaGroups[node->m_nGroup].remove(&*node);
    }
    list.erase(node);
}

RemoveCharaFn RemoveChara = RemoveCharaStandIn;
KillCharaFn KillChara = KillCharaStandIn;
TakeHitFromShotFn TakeHitFromShot = TakeHitFromShotStandIn;
GiveItemFn GiveItem = GiveItemStandIn;
OnCharaDeathFn OnCharaDeath = OnCharaDeathStandIn;
PlaySeFn PlaySe = PlaySeStandIn;
RequestBgmFn RequestBgm = RequestBgmStandIn;
IsReplayPlaybackFn IsReplayPlayback = IsReplayPlaybackStandIn;
ReplayStartSeedFn ReplayStartSeed = ReplayStartSeedStandIn;
BeginReplayRecordingFn BeginReplayRecording = BeginReplayRecordingStandIn;
ApplyCarryOverFn ApplyCarryOver = ApplyCarryOverStandIn;
GetCarriedCountersFn GetCarriedCounters = GetCarriedCountersStandIn;
SetBackgroundFilesFn SetBackgroundFiles = SetBackgroundFilesStandIn;
BuildLightMaskFn BuildLightMask = BuildLightMaskStandIn;
UpdateActiveStatesFn UpdateActiveStates = UpdateActiveStatesStandIn;

FireFlowTriggerExFn FireFlowTriggerEx = FireFlowTriggerExStandIn;
StepFlowFn StepFlow = StepFlowStandIn;
StopFlowFn StopFlow = StopFlowStandIn;
StartFlowAnimesFn StartFlowAnimes = StartFlowAnimesStandIn;
SetupFlowCmdFn SetupFlowCmd = SetupFlowCmdStandIn;
DoChangeFlowFn DoChangeFlow = DoChangeFlowStandIn;
RunItemCommandFn RunItemCommand = RunItemCommandStandIn;
CheckKeyCondHeldFn CheckKeyCondHeld = CheckKeyCondHeldStandIn;
ApplyCharaArrangesFn ApplyCharaArranges = ApplyCharaArrangesStandIn;
ShowPickupWindowFn ShowPickupWindow = ShowPickupWindowStandIn;
PlayUserSeFn PlayUserSe = PlayUserSeStandIn;
StartCharaEffectFn StartCharaEffect = StartCharaEffectStandIn;
AddHitEffectFn AddHitEffect = AddHitEffectStandIn;

void ResetPlaySeams() {
    CheckBlockConds = CheckBlockCondsStandIn;
    FireFlowTriggerEx = FireFlowTriggerExStandIn;
    StepFlow = StepFlowStandIn;
    StopFlow = StopFlowStandIn;
    StartFlowAnimes = StartFlowAnimesStandIn;
    SetupFlowCmd = SetupFlowCmdStandIn;
    DoChangeFlow = DoChangeFlowStandIn;
    RunItemCommand = RunItemCommandStandIn;
    CheckKeyCondHeld = CheckKeyCondHeldStandIn;
    ApplyCharaArranges = ApplyCharaArrangesStandIn;
    ShowPickupWindow = ShowPickupWindowStandIn;
    PlayUserSe = PlayUserSeStandIn;
    StartCharaEffect = StartCharaEffectStandIn;
    AddHitEffect = AddHitEffectStandIn;
    RemoveChara = RemoveCharaStandIn;
    KillChara = KillCharaStandIn;
    TakeHitFromShot = TakeHitFromShotStandIn;
    GiveItem = GiveItemStandIn;
    OnCharaDeath = OnCharaDeathStandIn;
    PlaySe = PlaySeStandIn;
    RequestBgm = RequestBgmStandIn;
    IsReplayPlayback = IsReplayPlaybackStandIn;
    ReplayStartSeed = ReplayStartSeedStandIn;
    BeginReplayRecording = BeginReplayRecordingStandIn;
    ApplyCarryOver = ApplyCarryOverStandIn;
    GetCarriedCounters = GetCarriedCountersStandIn;
    SetBackgroundFiles = SetBackgroundFilesStandIn;
    BuildLightMask = BuildLightMaskStandIn;
    UpdateActiveStates = UpdateActiveStatesStandIn;
}

}  // namespace seam
