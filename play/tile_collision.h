// Charas against the map cells: the cell sampled along an edge, the walls,
// floors and ceilings a chara meets after a move, keeping a chara in an
// auto-scrolling view, and the effects and items of the block underfoot.
// Every collision returns 0 at once for a flyer that passes through blocks;
// a result 2 means the chara was killed (a miss for the hero), 1 that the
// stage was cleared. Positions are stage pixels, the border included.
#pragma once
#include "play/play_result.h"

class cChara;

// The cell with the highest hit mode among samples along a vertical
// (x1 == x2) or a horizontal (y1 == y2) edge, one sample per size step.
int GetCellIndex(cChara& chara, int x1, int y1, int x2, int y2);
// The hero's foot cell along its bottom edge.
int FindFootCell(cChara& chara);
// The first corner cell with the highest hit mode, in the order
// (c1, r1), (c2, r1), (c1, r2), (c2, r2).
int CellOfCorners(int c1, int r1, int c2, int r2, int group);

int CollideWallsX(cChara& chara);  // both side walls, the side it moves to first
int CollideBothX(cChara& chara);   // left wall, then right wall
int HitWallLeft(cChara& chara);
int HitWallRight(cChara& chara);
int CollideWallsY(cChara& chara);  // floor and ceiling, the side it moves to first
int CollideBothY(cChara& chara);   // floor, then ceiling (crush resolution)
int HitCeiling(cChara& chara);
int HitFloor(cChara& chara);

void KeepInViewX(cChara& chara);
int KeepInViewY(cChara& chara);
// Pulls a resting chara down onto a cell right below it.
void SnapToGround(cChara& chara);
// The hero's foot block: spring, slippery, slow and conveyor blocks; the
// result of the item a spring block gives.
PlayResult ApplyFootBlock(cChara& chara);
// The item a foot block carries, given once a second while the hero stands
// on it.
PlayResult TakeFootBlockItem(cChara& chara);
