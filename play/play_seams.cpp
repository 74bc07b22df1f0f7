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
uint32_t ReplayStartSeedStandIn() { return 0; }
void BeginReplayRecordingStandIn(uint32_t) {}
void ApplyCarryOverStandIn(cGameProgress&, int, cEdChara&, cStage&) {}
void GetCarriedCountersStandIn(cGameProgress&, int, int32_t&, int32_t&) {}
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
ReplayStartSeedFn ReplayStartSeed = ReplayStartSeedStandIn;
BeginReplayRecordingFn BeginReplayRecording = BeginReplayRecordingStandIn;
ApplyCarryOverFn ApplyCarryOver = ApplyCarryOverStandIn;
GetCarriedCountersFn GetCarriedCounters = GetCarriedCountersStandIn;

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
    ReplayStartSeed = ReplayStartSeedStandIn;
    BeginReplayRecording = BeginReplayRecordingStandIn;
    ApplyCarryOver = ApplyCarryOverStandIn;
    GetCarriedCounters = GetCarriedCountersStandIn;
}

}  // namespace seam
