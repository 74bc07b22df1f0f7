#include "media/text/fast_font_cells.h"

#include <gtest/gtest.h>

#include "platform/cp932.h"

namespace {

using text::cFastFontCells;

TEST(FastFontCells, FixedList) {
    const auto& list = text::FixedFullWidthList();
    ASSERT_EQ(list.size(), 258u);
    EXPECT_EQ(list.front(), SJ("０"));
    EXPECT_EQ(list.back(), SJ("："));
    for (const auto& c : list) EXPECT_EQ(c.size(), 2u);
}

TEST(FastFontCells, AtlasGrids) {
    struct Case {
        bool d3d;
        int pitch, line;
        int columns, rows;
    } cases[] = {
        {false, 10, 10, 32, 30},  // font 0, DirectDraw 640 × 480
        {false, 16, 16, 32, 30},
        {false, 32, 32, 20, 15},
        {true, 10, 10, 32, 32},
        {true, 16, 16, 32, 32},
        {true, 48, 40, 21, 25},
        {true, 0, 16, 0, 0},
    };
    for (const auto& c : cases) {
        auto g = text::FullAtlasGrid(c.d3d, c.pitch, c.line, 640, 480);
        EXPECT_EQ(g.columns, c.columns) << c.pitch;
        EXPECT_EQ(g.rows, c.rows) << c.pitch;
    }
}

TEST(FastFontCells, RegistrationAndLookup) {
    // Font 0 in DirectDraw at 640 × 480: the 259th character still fits.
    cFastFontCells cells(text::kFastFontFull, 10, 10, 32, 30);
    text::RegisterFixedFullWidth(cells);
    EXPECT_EQ(cells.Used(), 258);
    ASSERT_TRUE(cells.Add(SJ("漢")));
    const auto& added = cells.Cells().back();
    EXPECT_EQ(added.index, 258);
    EXPECT_EQ(added.x, 258 % 32 * 10);
    EXPECT_EQ(added.y, 258 / 32 * 10);
    EXPECT_EQ(cells.FindWide(0x8A, 0xBF), 258);
    EXPECT_EQ(cells.FindWide(0x82, 0xA0), 88);  // あ, after the digits, 26 signs and 52 letters
    EXPECT_EQ(cells.FindWide(0x88, 0x9F), -1);
    // "ト" is in the list twice: the first cell serves.
    const std::string to = SJ("ト");
    int first = cells.FindWide(static_cast<uint8_t>(to[0]), static_cast<uint8_t>(to[1]));
    EXPECT_EQ(cells.Cells()[first].character, to);
    int count = 0;
    for (const auto& c : cells.Cells()) count += c.character == to;
    EXPECT_EQ(count, 2);

    // A small atlas fills up: the list stops at the capacity, further
    // characters are refused.
    cFastFontCells small(text::kFastFontFull, 16, 16, 4, 2);
    text::RegisterFixedFullWidth(small);
    EXPECT_EQ(small.Used(), 8);
    EXPECT_FALSE(small.Add(SJ("漢")));
    EXPECT_EQ(small.FindWide(0x8A, 0xBF), -1);
}

TEST(FastFontCells, CellPositions) {
    cFastFontCells cells(text::kFastFontFull, 16, 12, 2, 3);
    EXPECT_TRUE(cells.Add(SJ("あ")));
    EXPECT_TRUE(cells.Add(SJ("い")));
    EXPECT_TRUE(cells.Add(SJ("う")));
    EXPECT_EQ(cells.Cells()[2].x, 0);
    EXPECT_EQ(cells.Cells()[2].y, 12);
    int x = 0, y = 0;
    cells.ByteCellPos(5, &x, &y);
    EXPECT_EQ(x, 16);
    EXPECT_EQ(y, 24);
}

}  // namespace
