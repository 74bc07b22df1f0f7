#include "play/play_seams.h"

namespace seam {

namespace {
int IsRidingBlockCharaStandIn(cChara&) { return 0; }
cChara* FindCharaBelowStandIn(cChara&) { return nullptr; }
int IsWedgedInBlockCharasStandIn(cChara&, const double*) { return 0; }
int CollideBothYStandIn(cChara&) { return 0; }
}  // namespace

IsRidingBlockCharaFn IsRidingBlockChara = IsRidingBlockCharaStandIn;
FindCharaBelowFn FindCharaBelow = FindCharaBelowStandIn;
IsWedgedInBlockCharasFn IsWedgedInBlockCharas = IsWedgedInBlockCharasStandIn;
CollideBothYFn CollideBothY = CollideBothYStandIn;

void ResetPlaySeams() {
    IsRidingBlockChara = IsRidingBlockCharaStandIn;
    FindCharaBelow = FindCharaBelowStandIn;
    IsWedgedInBlockCharas = IsWedgedInBlockCharasStandIn;
    CollideBothY = CollideBothYStandIn;
}

}  // namespace seam
