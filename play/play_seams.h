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

// Puts every seam above back to its stand-in.
void ResetPlaySeams();

}  // namespace seam
