#include "media/input/menu_cursor.h"

#include <algorithm>

#include "media/input/input.h"

// g_MenuCursor is built with the other global objects (media/globals.cpp).

cMenuCursor::cMenuCursor() : m_vecPos(1) {}

MenuCursorPos& cMenuCursor::Cur() { return m_vecPos.at(Depth() - 1); }

MenuCursorPos* cMenuCursor::Prev() { return Depth() >= 2 ? &m_vecPos.at(Depth() - 2) : nullptr; }

void cMenuCursor::Reset() {
    m_vecPos.resize(1);
    m_vecPos.at(0) = MenuCursorPos{};
}

void cMenuCursor::Push(int copyPrevious) {
    m_vecPos.push_back(MenuCursorPos{});
    if (copyPrevious == 1 && Depth() >= 2) Cur() = *Prev();
}

void cMenuCursor::Pop(int mode) {
    if (Depth() <= 1) return;
    const MenuCursorPos removed = Cur();
    m_vecPos.pop_back();
    if (mode == 0)
        Cur() = MenuCursorPos{};
    else if (mode == 2)
        Cur() = removed;
}

void cMenuCursor::MoveGrid(int input, int originX, int originY, int pitchX, int pitchY, int columns, int rows) {
    if (columns < 0 || rows < 0) return;
    MenuCursorPos& p = Cur();
    if (input & INPUT_LEFT)
        --p.m_nX;
    else if (input & INPUT_RIGHT)
        ++p.m_nX;
    if (input & INPUT_UP)
        --p.m_nY;
    else if (input & INPUT_DOWN)
        ++p.m_nY;
    if (p.m_nY < 0)
        p.m_nY = rows - 1;
    else if (p.m_nY >= rows)
        p.m_nY = 0;
    if (p.m_nX < 0)
        p.m_nX = columns - 1;
    else if (p.m_nX >= columns)
        p.m_nX = 0;
    p.m_nPixelX = originX + p.m_nX * pitchX;
    p.m_nPixelY = originY + p.m_nY * pitchY;
}

void cMenuCursor::MoveList(int input, int vertical, int& top, int origin, int pitch, int otherPixel, int visibleRows,
                           int count, int paging, int wrap) {
    MenuCursorPos& p = Cur();
    int32_t& index = vertical ? p.m_nY : p.m_nX;
    if (input & INPUT_UP) {
        if (index - top <= 0) --top;
        --index;
    } else if (input & INPUT_DOWN) {
        if (index - top >= visibleRows - 1) ++top;
        ++index;
    }
    if (paging) {
        if (input & INPUT_RIGHT) {
            if (top == count - visibleRows) {
                index = count - 1;
            } else {
                top += visibleRows - 1;
                index += visibleRows - 1;
            }
        } else if (input & INPUT_LEFT) {
            if (top == 0) {
                index = 0;
            } else {
                top -= visibleRows - 1;
                index -= visibleRows - 1;
            }
        }
    }
    if (wrap) {
        if (index > count - 1) {
            index = 0;
            top = 0;
        } else if (index < 0) {
            index = count - 1;
            top = count - visibleRows;
        }
    }
    index = std::max(0, std::min(index, count - 1));
    if (top < 0)
        top = 0;
    else
        top = std::min(top, std::max(count - visibleRows, 0));
    const int pixel = origin + (index - top) * pitch;
    if (vertical) {
        p.m_nPixelY = pixel;
        p.m_nPixelX = otherPixel;
    } else {
        p.m_nPixelX = pixel;
        p.m_nPixelY = otherPixel;
    }
}

void ResetCursorPositions() { g_MenuCursor.Reset(); }
