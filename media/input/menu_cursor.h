// The menu cursor shared by every menu: a stack of positions, so that a
// sub-menu or a yes/no box pushes a position and pops it on closing and the
// parent menu keeps its row, with grid and scrolling-list movement.
#pragma once
#include <cstdint>

#include "base/checked_vector.h"

struct MenuCursorPos {
    int32_t m_nX = 0;       // column index
    int32_t m_nY = 0;       // row index
    int32_t m_nPixelX = 0;  // screen x of the cursor picture
    int32_t m_nPixelY = 0;  // screen y of the cursor picture
};

class cMenuCursor {
public:
    cMenuCursor();

    // The top of the stack (the current position) and the one below it
    // (null while the stack holds one position). Positions are kept by
    // index: growing the stack moves its elements.
    MenuCursorPos& Cur();
    MenuCursorPos* Prev();
    int Depth() const { return static_cast<int>(m_vecPos.size()); }

    // Exactly one zeroed position.
    void Reset();
    // A new zeroed top; with copyPrevious 1 it starts as a copy of the
    // position below it.
    void Push(int copyPrevious);
    // Removes the top (nothing on a one-position stack); the new top is
    // then zeroed (mode 0), kept (1) or given the removed top's values (2).
    void Pop(int mode);
    // Moves on a grid of columns x rows, both axes wrapping; the pixel
    // position is origin + index x pitch. Negative columns or rows: nothing.
    void MoveGrid(int input, int originX, int originY, int pitchX, int pitchY, int columns, int rows);
    // Moves in a scrolling list of count entries with visibleRows shown from
    // top (updated in place): the moving axis is the row (vertical non-zero)
    // or the column; left and right page when paging is on; wrap moves from
    // one end to the other.
    void MoveList(int input, int vertical, int& top, int origin, int pitch, int otherPixel, int visibleRows, int count,
                  int paging, int wrap);

private:
    cCheckedVector<MenuCursorPos> m_vecPos;
};

extern cMenuCursor g_MenuCursor;

void ResetCursorPositions();
