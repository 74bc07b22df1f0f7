#include "play/play_seams.h"


namespace seam {

namespace {
int FireFlowTriggerExStandIn(cChara&, int, cChara*, int) { return 0; }
void DoChangeFlowStandIn(const cEdFlowCmd&, cChara&, int) {}
int RunItemCommandStandIn(cEdFlowCmd&, cChara&) { return 0; }
int CheckKeyCondHeldStandIn(cInput&, const cKeyCond&) { return 0; }
void ShowPickupWindowStandIn(int, const std::string&, int, int) {}
void StartCharaEffectStandIn(cChara&, int, int, int) {}
int IsRidingBlockCharaStandIn(cChara&) { return 0; }
cChara* FindCharaBelowStandIn(cChara&) { return nullptr; }
int IsWedgedInBlockCharasStandIn(cChara&, const double*) { return 0; }
int CollideBothYStandIn(cChara&) { return 0; }
void AddHitEffectStandIn(int, const double*, const double*, int) {}
uint32_t ReplayStartSeedStandIn() { return 0; }
void BeginReplayRecordingStandIn(uint32_t) {}
void ApplyCarryOverStandIn(cGameProgress&, int, cEdChara&, cStage&) {}
void GetCarriedCountersStandIn(cGameProgress&, int, int32_t&, int32_t&) {}
}  // namespace

FireFlowTriggerExFn FireFlowTriggerEx = FireFlowTriggerExStandIn;
DoChangeFlowFn DoChangeFlow = DoChangeFlowStandIn;
RunItemCommandFn RunItemCommand = RunItemCommandStandIn;
CheckKeyCondHeldFn CheckKeyCondHeld = CheckKeyCondHeldStandIn;
ShowPickupWindowFn ShowPickupWindow = ShowPickupWindowStandIn;
StartCharaEffectFn StartCharaEffect = StartCharaEffectStandIn;
AddHitEffectFn AddHitEffect = AddHitEffectStandIn;
IsRidingBlockCharaFn IsRidingBlockChara = IsRidingBlockCharaStandIn;
FindCharaBelowFn FindCharaBelow = FindCharaBelowStandIn;
IsWedgedInBlockCharasFn IsWedgedInBlockCharas = IsWedgedInBlockCharasStandIn;
CollideBothYFn CollideBothY = CollideBothYStandIn;
ReplayStartSeedFn ReplayStartSeed = ReplayStartSeedStandIn;
BeginReplayRecordingFn BeginReplayRecording = BeginReplayRecordingStandIn;
ApplyCarryOverFn ApplyCarryOver = ApplyCarryOverStandIn;
GetCarriedCountersFn GetCarriedCounters = GetCarriedCountersStandIn;

void ResetPlaySeams() {
    FireFlowTriggerEx = FireFlowTriggerExStandIn;
    DoChangeFlow = DoChangeFlowStandIn;
    RunItemCommand = RunItemCommandStandIn;
    CheckKeyCondHeld = CheckKeyCondHeldStandIn;
    ShowPickupWindow = ShowPickupWindowStandIn;
    StartCharaEffect = StartCharaEffectStandIn;
    AddHitEffect = AddHitEffectStandIn;
    IsRidingBlockChara = IsRidingBlockCharaStandIn;
    FindCharaBelow = FindCharaBelowStandIn;
    IsWedgedInBlockCharas = IsWedgedInBlockCharasStandIn;
    CollideBothY = CollideBothYStandIn;
    ReplayStartSeed = ReplayStartSeedStandIn;
    BeginReplayRecording = BeginReplayRecordingStandIn;
    ApplyCarryOver = ApplyCarryOverStandIn;
    GetCarriedCounters = GetCarriedCountersStandIn;
}

}  // namespace seam
