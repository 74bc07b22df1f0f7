#include "play/play_seams.h"

namespace seam {

namespace {
int FireFlowTriggerExStandIn(cChara&, int, cChara*, int) { return 0; }
void DoChangeFlowStandIn(const cEdFlowCmd&, cChara&, int) {}
int RunItemCommandStandIn(cEdFlowCmd&, cChara&) { return 0; }
int CheckKeyCondHeldStandIn(cInput&, const cKeyCond&) { return 0; }
void ApplyCharaArrangesStandIn(cChara&, cEdFlowCmd&) {}
void ShowPickupWindowStandIn(int, const std::string&, int, int) {}
void PlayUserSeStandIn(int) {}
void StartCharaEffectStandIn(cChara&, int, int, int) {}
void AddHitEffectStandIn(int, cChara&, const double*, const cObject&) {}
}  // namespace

FireFlowTriggerExFn FireFlowTriggerEx = FireFlowTriggerExStandIn;
DoChangeFlowFn DoChangeFlow = DoChangeFlowStandIn;
RunItemCommandFn RunItemCommand = RunItemCommandStandIn;
CheckKeyCondHeldFn CheckKeyCondHeld = CheckKeyCondHeldStandIn;
ApplyCharaArrangesFn ApplyCharaArranges = ApplyCharaArrangesStandIn;
ShowPickupWindowFn ShowPickupWindow = ShowPickupWindowStandIn;
PlayUserSeFn PlayUserSe = PlayUserSeStandIn;
StartCharaEffectFn StartCharaEffect = StartCharaEffectStandIn;
AddHitEffectFn AddHitEffect = AddHitEffectStandIn;

void ResetPlaySeams() {
    FireFlowTriggerEx = FireFlowTriggerExStandIn;
    DoChangeFlow = DoChangeFlowStandIn;
    RunItemCommand = RunItemCommandStandIn;
    CheckKeyCondHeld = CheckKeyCondHeldStandIn;
    ApplyCharaArranges = ApplyCharaArrangesStandIn;
    ShowPickupWindow = ShowPickupWindowStandIn;
    PlayUserSe = PlayUserSeStandIn;
    StartCharaEffect = StartCharaEffectStandIn;
    AddHitEffect = AddHitEffectStandIn;
}

}  // namespace seam
