// The menu cursor's moves and stack, and the command-list operations.
#include <gtest/gtest.h>

#include <array>

#include "media/text/cmd_menu.h"
#include "media/input/menu_cursor.h"
#include "media/input/input.h"
#include "platform/cp932.h"

namespace {

constexpr int L = INPUT_LEFT, R = INPUT_RIGHT, U = INPUT_UP, D = INPUT_DOWN;

TEST(MenuCursor, MoveGridWrapsBothAxesAndSetsPixels) {
    struct Case {
        const char* name;
        int x, y, input, columns, rows;
        int wantX, wantY;
    };
    const Case cases[] = {
        {"up from row 0 wraps to the last row", 0, 0, U, 1, 3, 0, 2},
        {"down from the last row wraps to 0", 0, 2, D, 1, 3, 0, 0},
        {"up wins over down", 0, 1, U | D, 1, 3, 0, 0},
        {"left wraps to the last column", 0, 0, L, 4, 2, 3, 0},
        {"right from the last column wraps to 0", 3, 1, R, 4, 2, 0, 1},
        {"no input still wraps a stored row beyond the rows", 0, 6, 0, 1, 5, 0, 0},
        {"diagonal moves both", 1, 1, R | D, 3, 3, 2, 2},
        {"negative rows: unchanged", 1, 1, D, 3, -1, 1, 1},
        {"negative columns: unchanged", 1, 1, D, -1, 3, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cMenuCursor cur;
        cur.Cur() = {c.x, c.y, -5, -5};
        cur.MoveGrid(c.input, 100, 200, 10, 32, c.columns, c.rows);
        EXPECT_EQ(cur.Cur().m_nX, c.wantX);
        EXPECT_EQ(cur.Cur().m_nY, c.wantY);
        if (c.columns >= 0 && c.rows >= 0) {
            EXPECT_EQ(cur.Cur().m_nPixelX, 100 + c.wantX * 10);
            EXPECT_EQ(cur.Cur().m_nPixelY, 200 + c.wantY * 32);
        } else {
            EXPECT_EQ(cur.Cur().m_nPixelX, -5);
        }
    }
}

TEST(MenuCursor, MoveListScrollsPagesAndWraps) {
    struct Case {
        const char* name;
        int index, top, input, visible, count, paging, wrap;
        int wantIndex, wantTop;
    };
    const Case cases[] = {
        // 25 entries, 10 visible.
        {"down inside the window", 3, 0, D, 10, 25, 1, 0, 4, 0},
        {"down at the window's last row scrolls", 9, 0, D, 10, 25, 1, 0, 10, 1},
        {"up at the window's first row scrolls", 5, 5, U, 10, 25, 1, 0, 4, 4},
        {"page forward from top 0 moves by 9", 2, 0, R, 10, 25, 1, 0, 11, 9},
        {"page forward again stops top at 15", 11, 9, R, 10, 25, 1, 0, 20, 15},
        {"page forward at top 15 goes to the last entry", 17, 15, R, 10, 25, 1, 0, 24, 15},
        {"page back at top 0 goes to entry 0", 6, 0, L, 10, 25, 1, 0, 0, 0},
        {"page back from top 15", 20, 15, L, 10, 25, 1, 0, 11, 6},
        {"left and right without paging do nothing", 6, 2, R, 10, 25, 0, 0, 6, 2},
        {"down at the end clamps without wrap", 24, 15, D, 10, 25, 1, 0, 24, 15},
        {"down at the end wraps to 0", 24, 15, D, 10, 25, 1, 1, 0, 0},
        {"up at 0 wraps to the end", 0, 0, U, 10, 25, 1, 1, 24, 15},
        {"up at 0 clamps without wrap", 0, 0, U, 10, 25, 1, 0, 0, 0},
        // Fewer entries than rows: top stays 0.
        {"short list: down at the end", 3, 0, D, 10, 4, 1, 0, 3, 0},
        {"short list: page forward", 1, 0, R, 10, 4, 1, 0, 3, 0},
        {"short list: wrap up", 0, 0, U, 10, 4, 1, 1, 3, 0},
        // No entries at all.
        {"empty list stays at 0", 0, 0, D, 10, 0, 1, 1, 0, 0},
        {"empty list up", 0, 0, U, 10, 0, 1, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int vertical : {1, 0}) {
            cMenuCursor cur;
            (vertical ? cur.Cur().m_nY : cur.Cur().m_nX) = c.index;
            int top = c.top;
            cur.MoveList(c.input, vertical, top, 160, 16, 77, c.visible, c.count, c.paging, c.wrap);
            const MenuCursorPos& p = cur.Cur();
            EXPECT_EQ(vertical ? p.m_nY : p.m_nX, c.wantIndex);
            EXPECT_EQ(top, c.wantTop);
            EXPECT_EQ(vertical ? p.m_nPixelY : p.m_nPixelX, 160 + (c.wantIndex - c.wantTop) * 16);
            EXPECT_EQ(vertical ? p.m_nPixelX : p.m_nPixelY, 77);
        }
    }
}

TEST(MenuCursor, PushAndPopModes) {
    const MenuCursorPos parent{1, 4, 50, 60};
    const MenuCursorPos child{2, 7, 70, 80};
    struct Case {
        const char* name;
        int popMode;
        MenuCursorPos want;
    };
    const Case cases[] = {
        {"mode 0 zeroes the parent", 0, {}},
        {"mode 1 keeps the parent", 1, parent},
        {"mode 2 gives the parent the child's values", 2, child},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cMenuCursor cur;
        cur.Cur() = parent;
        cur.Push(0);
        ASSERT_EQ(cur.Depth(), 2);
        ASSERT_NE(cur.Prev(), nullptr);
        EXPECT_EQ(cur.Prev()->m_nY, 4);
        EXPECT_EQ(cur.Cur().m_nY, 0);  // a zeroed child
        cur.Cur() = child;
        cur.Pop(c.popMode);
        EXPECT_EQ(cur.Depth(), 1);
        EXPECT_EQ(cur.Prev(), nullptr);
        const MenuCursorPos& p = cur.Cur();
        EXPECT_EQ((std::array<int, 4>{p.m_nX, p.m_nY, p.m_nPixelX, p.m_nPixelY}),
                  (std::array<int, 4>{c.want.m_nX, c.want.m_nY, c.want.m_nPixelX, c.want.m_nPixelY}));
    }

    // Pop on a single position changes nothing.
    cMenuCursor one;
    one.Cur() = parent;
    one.Pop(0);
    EXPECT_EQ(one.Depth(), 1);
    EXPECT_EQ(one.Cur().m_nY, 4);

    // Push(1) after Pop(1): the parent is back and the child starts on a copy.
    cMenuCursor cur;
    cur.Cur() = parent;
    cur.Push(0);
    cur.Cur() = child;
    cur.Pop(1);
    cur.Push(1);
    EXPECT_EQ(cur.Prev()->m_nPixelY, 60);
    EXPECT_EQ(cur.Cur().m_nY, 4);
    EXPECT_EQ(cur.Cur().m_nPixelX, 50);

    // A deep stack keeps every level by value while it grows.
    for (int i = 0; i < 40; ++i) {
        cur.Push(1);
        cur.Cur().m_nX = i;
    }
    EXPECT_EQ(cur.Depth(), 42);
    EXPECT_EQ(cur.Prev()->m_nX, 38);
    cur.Reset();
    EXPECT_EQ(cur.Depth(), 1);
    EXPECT_EQ(cur.Cur().m_nY, 0);
}

TEST(CmdMenu, EnabledEntriesAndCentring) {
    const std::vector<cCmd> list = {
        {0, "hidden entry"}, {1, "ab"}, {0, ""}, {1, SJ("はじめ")}, {1, "x"},
    };
    EXPECT_EQ(CountEnabledCmds(list), 3);
    EXPECT_EQ(GetCmdNum(0, list), 1);
    EXPECT_EQ(GetCmdNum(1, list), 3);
    EXPECT_EQ(GetCmdNum(2, list), 4);
    EXPECT_EQ(GetCmdNum(3, list), 0);   // one past the enabled entries
    EXPECT_EQ(GetCmdNum(-1, list), 0);
    // Three two-byte characters: a box (3 + 1) x 16 = 64 pixels wide.
    EXPECT_EQ(CmdMenuCenterX(320, list), 320 - 32);
    // Only disabled or empty labels: centred on the x itself.
    EXPECT_EQ(CmdMenuCenterX(320, {{1, ""}, {0, "long label"}}), 320);
    EXPECT_EQ(CountEnabledCmds({}), 0);
}

}  // namespace
