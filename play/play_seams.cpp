#include "play/play_seams.h"

#include "engine/flow.h"

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
void ShowPickupWindowStandIn(int, const std::string&, int, int) {}
void PlayUserSeStandIn(int) {}
void StartCharaEffectStandIn(cChara&, int, int, int) {}
void AddHitEffectStandIn(int, cChara&, const double*, const cObject&) {}
}  // namespace

FireFlowTriggerExFn FireFlowTriggerEx = FireFlowTriggerExStandIn;
StepFlowFn StepFlow = StepFlowStandIn;
StopFlowFn StopFlow = StopFlowStandIn;
StartFlowAnimesFn StartFlowAnimes = StartFlowAnimesStandIn;
SetupFlowCmdFn SetupFlowCmd = SetupFlowCmdStandIn;
DoChangeFlowFn DoChangeFlow = DoChangeFlowStandIn;
RunItemCommandFn RunItemCommand = RunItemCommandStandIn;
CheckKeyCondHeldFn CheckKeyCondHeld = CheckKeyCondHeldStandIn;
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
    ShowPickupWindow = ShowPickupWindowStandIn;
    PlayUserSe = PlayUserSeStandIn;
    StartCharaEffect = StartCharaEffectStandIn;
    AddHitEffect = AddHitEffectStandIn;
}

}  // namespace seam
