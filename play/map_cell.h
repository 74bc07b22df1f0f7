// The stage map at play: one cell per 32 x 32 pixels, the 10-cell border
// included. Column c, row r is g_vMapCells[c + (r << the horizontal shift)].
#pragma once
#include <cstdint>

#include "base/checked_vector.h"
#include "records/ed_block.h"

// A map cell: the block placed in it (graphic 0: none) and the cell's own
// latch, set once its block's conditions have held (a summon clears it).
class cMapCell : public cEdBlock {
public:
    int32_t m_nLatch = 0;

    // The cell's hit mode for an object of the block-pass class: 0 while the
    // block's conditions do not hold or when passClass is the block's exempt
    // group, else the block's hit mode.
    int GetHitMode(int passClass);
};

extern cCheckedVector<cMapCell> g_vMapCells;
