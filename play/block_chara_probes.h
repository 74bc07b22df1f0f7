// Small searches over the live block charas (computer charas that are
// block charas, not dead and acting). Boxes meet with inclusive edges.
#pragma once

class cChara;
class cCharaComputer;

// 1 when the block chara the chara rides (its ridden key) overlaps the
// chara's box stretched 5 px down.
int IsRidingBlockChara(cChara& chara);
// The first live block chara other than the chara that overlaps its box
// stretched 5 px down; null when none.
cCharaComputer* FindCharaBelow(cChara& chara);
// 1 when each of the four corners of the chara's box or of the given box
// (left, top, right, bottom) lies in a live block chara.
int IsWedgedInBlockCharas(cChara& chara, const double box[4]);
// 1 when a live block chara with another key overlaps the chara's box.
int OverlapsBlockChara(cChara& chara);
