#include "play/play_seams.h"

#include "frontend/data/game_progress.h"
#include "play/chara_removal.h"

namespace seam {

namespace {
int FireFlowTriggerExStandIn(cChara&, int, cChara*, int) { return 0; }
void DoChangeFlowStandIn(const cEdFlowCmd&, cChara&, int) {}
int RunItemCommandStandIn(cEdFlowCmd&, cChara&) { return 0; }
int CheckKeyCondHeldStandIn(cInput&, const cKeyCond&) { return 0; }
void ShowPickupWindowStandIn(int, const std::string&, int, int) {}
void PlayUserSeStandIn(int) {}
void StartCharaEffectStandIn(cChara&, int, int, int) {}
int IsRidingBlockCharaStandIn(cChara&) { return 0; }
cChara* FindCharaBelowStandIn(cChara&) { return nullptr; }
int IsWedgedInBlockCharasStandIn(cChara&, const double*) { return 0; }
int CollideBothYStandIn(cChara&) { return 0; }
void AddHitEffectStandIn(int, const double*, const double*, int) {}
int GiveItemStandIn(cItem*, cChara*) { return 0; }
int OnCharaDeathStandIn(cChara& chara) { return ::KillChara(chara); }
void PlaySeStandIn(int) {}
void RequestBgmStandIn(int entry, int) { g_Progress.m_nBgm = entry; }
}  // namespace

FireFlowTriggerExFn FireFlowTriggerEx = FireFlowTriggerExStandIn;
DoChangeFlowFn DoChangeFlow = DoChangeFlowStandIn;
RunItemCommandFn RunItemCommand = RunItemCommandStandIn;
CheckKeyCondHeldFn CheckKeyCondHeld = CheckKeyCondHeldStandIn;
ShowPickupWindowFn ShowPickupWindow = ShowPickupWindowStandIn;
PlayUserSeFn PlayUserSe = PlayUserSeStandIn;
StartCharaEffectFn StartCharaEffect = StartCharaEffectStandIn;
AddHitEffectFn AddHitEffect = AddHitEffectStandIn;
IsRidingBlockCharaFn IsRidingBlockChara = IsRidingBlockCharaStandIn;
FindCharaBelowFn FindCharaBelow = FindCharaBelowStandIn;
IsWedgedInBlockCharasFn IsWedgedInBlockCharas = IsWedgedInBlockCharasStandIn;
CollideBothYFn CollideBothY = CollideBothYStandIn;
GiveItemFn GiveItem = GiveItemStandIn;
OnCharaDeathFn OnCharaDeath = OnCharaDeathStandIn;
PlaySeFn PlaySe = PlaySeStandIn;
RequestBgmFn RequestBgm = RequestBgmStandIn;

void ResetPlaySeams() {
    FireFlowTriggerEx = FireFlowTriggerExStandIn;
    DoChangeFlow = DoChangeFlowStandIn;
    RunItemCommand = RunItemCommandStandIn;
    CheckKeyCondHeld = CheckKeyCondHeldStandIn;
    ShowPickupWindow = ShowPickupWindowStandIn;
    PlayUserSe = PlayUserSeStandIn;
    StartCharaEffect = StartCharaEffectStandIn;
    AddHitEffect = AddHitEffectStandIn;
    IsRidingBlockChara = IsRidingBlockCharaStandIn;
    FindCharaBelow = FindCharaBelowStandIn;
    IsWedgedInBlockCharas = IsWedgedInBlockCharasStandIn;
    CollideBothY = CollideBothYStandIn;
    GiveItem = GiveItemStandIn;
    OnCharaDeath = OnCharaDeathStandIn;
    PlaySe = PlaySeStandIn;
    RequestBgm = RequestBgmStandIn;
}

}  // namespace seam
