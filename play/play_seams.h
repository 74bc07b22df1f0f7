// Calls of play code into parts that are not built yet, each named after the
// call it stands for. Tests may replace them; the part that builds the call
// deletes its seam and points the callers at the real function.
#pragma once
#include <cstdint>
#include <string>

#include "app/checked_vector.h"

class cChara;
class cObject;
class cEdFlowCmd;
class cItem;
class cCharaComputer;
class cShot;
class cEdChara;
class cStage;
class cGameProgress;

namespace seam {


// Stand-in until the play step's sound requests land: user sound effect n
// (the stand-in plays nothing).
using PlayUserSeFn = void (*)(int n);
extern PlayUserSeFn PlayUserSe;

// Stand-ins until the block-chara probes land: whether the block chara the
// chara rides still lies under it (the stand-in: no), the first block chara
// under the chara (none), and whether every corner of the chara or of the
// box lies in a block chara (no).
using IsRidingBlockCharaFn = int (*)(cChara& chara);
extern IsRidingBlockCharaFn IsRidingBlockChara;
using FindCharaBelowFn = cChara* (*)(cChara& chara);
extern FindCharaBelowFn FindCharaBelow;
using IsWedgedInBlockCharasFn = int (*)(cChara& chara, const double box[4]);
extern IsWedgedInBlockCharasFn IsWedgedInBlockCharas;

// Stand-in until tile collision lands: the chara against the map cells at
// its top and bottom edges at once (the stand-in: 0, nothing moved).
using CollideBothYFn = int (*)(cChara& chara);
extern CollideBothYFn CollideBothY;
// Stand-in until the play step lands: gives an item to a chara and runs its
// commands; 0 go on, 1 stage clear, 2 miss (the stand-in gives nothing: 0).
using GiveItemFn = int (*)(cItem* item, cChara* chara);
extern GiveItemFn GiveItem;

// Stand-ins until the play step lands: a chara's death resolved by the
// play step (the stand-in: KillChara), a system sound effect (none).
using OnCharaDeathFn = int (*)(cChara& chara);
extern OnCharaDeathFn OnCharaDeath;
using PlaySeFn = void (*)(int n);
extern PlaySeFn PlaySe;
// Stand-in until the stage results land: the play scene's music request
// (the stand-in only remembers the entry as the progress's playing one).
using RequestBgmFn = void (*)(int entry, int repeat);
extern RequestBgmFn RequestBgm;

// Puts every seam above back to its stand-in.
void ResetPlaySeams();

}  // namespace seam
