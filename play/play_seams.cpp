#include "play/play_seams.h"

#include "frontend/data/game_progress.h"
#include "play/chara_removal.h"

namespace seam {

namespace {
void PlayUserSeStandIn(int) {}
int IsRidingBlockCharaStandIn(cChara&) { return 0; }
cChara* FindCharaBelowStandIn(cChara&) { return nullptr; }
int IsWedgedInBlockCharasStandIn(cChara&, const double*) { return 0; }
int CollideBothYStandIn(cChara&) { return 0; }
int GiveItemStandIn(cItem*, cChara*) { return 0; }
int OnCharaDeathStandIn(cChara& chara) { return ::KillChara(chara); }
void PlaySeStandIn(int) {}
void RequestBgmStandIn(int entry, int) { g_Progress.m_nBgm = entry; }
}  // namespace

PlayUserSeFn PlayUserSe = PlayUserSeStandIn;
IsRidingBlockCharaFn IsRidingBlockChara = IsRidingBlockCharaStandIn;
FindCharaBelowFn FindCharaBelow = FindCharaBelowStandIn;
IsWedgedInBlockCharasFn IsWedgedInBlockCharas = IsWedgedInBlockCharasStandIn;
CollideBothYFn CollideBothY = CollideBothYStandIn;
GiveItemFn GiveItem = GiveItemStandIn;
OnCharaDeathFn OnCharaDeath = OnCharaDeathStandIn;
PlaySeFn PlaySe = PlaySeStandIn;
RequestBgmFn RequestBgm = RequestBgmStandIn;

void ResetPlaySeams() {
    PlayUserSe = PlayUserSeStandIn;
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
