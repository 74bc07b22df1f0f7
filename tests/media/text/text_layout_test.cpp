#include "media/text/text_layout.h"

#include <gtest/gtest.h>

#include "media/text/image_text.h"
#include "media/text/fast_font_cells.h"
#include "tests/media/text/text_test_util.h"

namespace {

using texttest::cRecordingTarget;
using texttest::GameFont;
using text::GridChar;

std::vector<GridChar> Walk(const text::TextStyle& style, const std::string& s, bool plain = false) {
    std::vector<GridChar> out;
    text::WalkGrid(style, s, plain, [&](const GridChar& c) { out.push_back(c); });
    return out;
}

TEST(TextLayout, DigitsOfFontOneStayInTheirCells) {
    auto style = GameFont(1);
    ASSERT_TRUE(style.face);
    for (auto family : {text::TextFamily::kDirect3D, text::TextFamily::kDirectDraw}) {
        style.glyphStyle = text::GlyphStyleOf(family);
        cRecordingTarget target;
        text::DrawTextBody(target, style, 0, 0, "0123456789", false);
        ASSERT_EQ(target.painted.size(), 10u);
        for (int k = 0; k < 10; ++k) {
            const auto& p = target.painted[k];
            EXPECT_EQ(p.penX, 16 * k + 2) << k;  // one byte: pitch / 8 to the right
            EXPECT_EQ(p.top, 0) << k;           // and line pitch / 16 - 1 down
            EXPECT_GE(p.inkX0, 16 * k) << k;
            EXPECT_LE(p.inkX1, 16 * k + 16) << k;
            EXPECT_GE(p.inkY0, 0) << k;
            EXPECT_LE(p.inkY1, 16) << k;
        }
        // On pixels too: nothing outside 160 × 16.
        gfx::cImage image(family == text::TextFamily::kDirect3D ? gfx::PixelFormat::XRGB8888
                                                                 : gfx::PixelFormat::Index8,
                          200, 40);
        text::cImageTextTarget pixels(image, family, 241);
        text::DrawTextBody(pixels, style, 0, 0, "0123456789", false);
        int inked = 0;
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x)
                if (image.Get(x, y)) {
                    ++inked;
                    EXPECT_TRUE(x < 160 && y < 16) << x << "," << y;
                }
        EXPECT_GT(inked, 100);
    }
}

TEST(TextLayout, GridWalk) {
    auto style = GameFont(1);
    struct Expect {
        int x, y;
        uint16_t code;
    };
    struct Case {
        std::string s;
        std::vector<Expect> chars;
    } cases[] = {
        // A two-byte and a one-byte character take one cell each.
        {SJ("あa"), {{0, 0, 0x82A0}, {16, 0, 'a'}}},
        // Spaces (both widths) only advance.
        {SJ("a　b c"), {{0, 0, 'a'}, {32, 0, 'b'}, {64, 0, 'c'}}},
        {"ab\nc", {{0, 0, 'a'}, {16, 0, 'b'}, {0, 16, 'c'}}},
        // Half-width katakana are one-byte cells.
        {"\xb1\xdf", {{0, 0, 0xB1}, {16, 0, 0xDF}}},
        // A lead byte without a valid trail byte is a one-byte code.
        {"\x82\n", {{0, 0, 0x82}}},
    };
    for (const auto& c : cases) {
        auto got = Walk(style, c.s);
        ASSERT_EQ(got.size(), c.chars.size()) << platform::Cp932ToUtf8(c.s);
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].x, c.chars[i].x) << i;
            EXPECT_EQ(got[i].y, c.chars[i].y) << i;
            EXPECT_EQ(got[i].code, c.chars[i].code) << i;
            EXPECT_EQ(got[i].twoByte, c.chars[i].code > 0xFF) << i;
        }
    }
}

// The bracket shift depends on the stored Windows name, not on the Linux
// face, and the centre setting switches it off.
TEST(TextLayout, BracketShift) {
    const std::string brackets = SJ("()（）｛｝{}[]「");
    struct Case {
        std::string face;
        bool centre;
        int shift;
    } cases[] = {
        {SJ("ＭＳ Ｐゴシック"), false, 4},
        {SJ("ＭＳ Ｐゴシック"), true, 0},
        {SJ("ＭＳ ゴシック"), false, 0},
        {SJ("MS UI Gothic"), false, 0},  // also IPAPGothic on Linux
    };
    for (const auto& c : cases) {
        auto style = GameFont(1, c.face);
        style.centre = c.centre;
        auto got = Walk(style, brackets);
        ASSERT_EQ(got.size(), 11u);
        for (size_t i = 0; i < 8; ++i) EXPECT_EQ(got[i].shift, c.shift) << i;
        for (size_t i = 8; i < 11; ++i) EXPECT_EQ(got[i].shift, 0) << i;  // other brackets never
    }
    // Font 0 (pitch 10): arithmetic pitch / 4 = 2; the shift adds to the pen.
    auto small = GameFont(0);
    cRecordingTarget target;
    text::DrawTextBody(target, small, 0, 0, "((", false);
    ASSERT_EQ(target.painted.size(), 2u);
    EXPECT_EQ(target.painted[0].penX, 2 + 1);
    EXPECT_EQ(target.painted[1].penX, 10 + 2 + 1);
    EXPECT_EQ(target.painted[0].top, -1);  // 10 / 16 - 1
}

TEST(TextLayout, IconLetters) {
    struct Case {
        bool icons, picture, plain;
        size_t glyphs;  // letters drawn as text
        size_t iconCells;
    } cases[] = {
        {true, true, false, 1, 2},   // "a" and "z" are icons, "A" is text
        {true, true, true, 3, 2},    // plain letters draw the text and the icons still come
        {true, false, false, 3, 0},  // no icon picture: plain text
        {false, true, false, 3, 0},
    };
    for (const auto& c : cases) {
        auto style = GameFont(1);
        style.icons = c.icons;
        style.iconPicture = c.picture;
        EXPECT_EQ(Walk(style, "aA\nz", c.plain).size(), c.glyphs);
        std::vector<std::array<int, 3>> icons;
        text::WalkIcons(style, "aA\nz", [&](int x, int y, int l) { icons.push_back({x, y, l}); });
        ASSERT_EQ(icons.size(), c.iconCells);
        if (c.iconCells) {
            EXPECT_EQ(icons[0], (std::array<int, 3>{0, 0, 0}));
            EXPECT_EQ(icons[1], (std::array<int, 3>{0, 16, 25}));
        }
    }
    // Two-byte characters and spaces take one cell in the icon pass too.
    auto style = GameFont(1);
    style.icons = style.iconPicture = true;
    std::vector<int> xs;
    text::WalkIcons(style, SJ("あ b"), [&](int x, int, int) { xs.push_back(x); });
    EXPECT_EQ(xs, std::vector<int>{32});
    // Proportional fonts have no icons.
    style.charPitch = 0;
    xs.clear();
    text::WalkIcons(style, "a", [&](int x, int, int) { xs.push_back(x); });
    EXPECT_TRUE(xs.empty());
}

TEST(TextLayout, Decoration) {
    struct Case {
        int font;
        bool shadow, edge, decorate;
        std::vector<std::pair<int, int>> offsets;  // shadow-colour copies, then the text
    } cases[] = {
        {1, false, false, true, {{0, 0}}},
        {1, true, false, true, {{1, 1}, {0, 0}}},
        {1, true, true, true, {{-1, 0}, {1, 0}, {0, -1}, {0, 1}, {0, 0}}},  // edge wins
        {2, true, false, true, {{2, 2}, {0, 0}}},                          // t = 32 / 16
        {0, true, false, true, {{1, 1}, {0, 0}}},                          // t at least 1
        {1, true, true, false, {{0, 0}}},  // the DirectDraw family has no decoration
    };
    for (const auto& c : cases) {
        auto style = GameFont(c.font);
        style.shadow = c.shadow;
        style.edge = c.edge;
        style.decorate = c.decorate;
        cRecordingTarget target;
        text::DrawFontChar(target, style, 100, 50, 0x82A0, true);
        ASSERT_EQ(target.painted.size(), c.offsets.size());
        for (size_t i = 0; i < c.offsets.size(); ++i) {
            EXPECT_EQ(target.painted[i].penX, 100 + c.offsets[i].first);
            EXPECT_EQ(target.painted[i].top, 50 + c.offsets[i].second);
            bool last = i + 1 == c.offsets.size();
            EXPECT_EQ(target.painted[i].colour, last ? style.colour : style.shadowColour);
        }
    }
    // A proportional line draws all its shadow copies before the text.
    auto style = GameFont(1);
    style.charPitch = 0;
    style.shadow = true;
    cRecordingTarget target;
    text::DrawTextBody(target, style, 0, 0, "ab", false);
    ASSERT_EQ(target.painted.size(), 4u);
    EXPECT_EQ(target.painted[1].colour, style.shadowColour);
    EXPECT_EQ(target.painted[2].colour, style.colour);
}

TEST(TextLayout, CentredGlyph) {
    auto style = GameFont(2);
    style.centre = true;
    cRecordingTarget target;
    text::DrawFontChar(target, style, 0, 0, 'i', false);
    text::DrawFontChar(target, style, 0, 0, 0x82A0, true);
    auto narrow = style.face->Glyph('i', style.glyphStyle);
    auto wide = style.face->Glyph(0x82A0, style.glyphStyle);
    ASSERT_EQ(target.painted.size(), 2u);
    EXPECT_EQ(target.painted[0].penX, 16 - narrow->advance / 2);
    EXPECT_EQ(target.painted[1].penX, 16 - wide->advance / 2);
    EXPECT_EQ(target.painted[0].top, 16 - 30 / 2);
}

TEST(TextLayout, ProportionalLinesAndSize) {
    auto style = GameFont(1);
    style.charPitch = 0;
    cRecordingTarget target;
    text::DrawTextBody(target, style, 5, 7, "AB\n\nC", false);
    ASSERT_EQ(target.painted.size(), 3u);
    int advA = style.face->Glyph('A', style.glyphStyle)->advance;
    EXPECT_EQ(target.painted[0].penX, 5);
    EXPECT_EQ(target.painted[1].penX, 5 + advA);
    EXPECT_EQ(target.painted[2].penX, 5);
    EXPECT_EQ(target.painted[2].top, 7 + 32);

    auto size = text::MeasureText(style, "AB\n\nC\n");
    EXPECT_EQ(size.w, style.face->TextExtent("AB", style.glyphStyle));
    EXPECT_EQ(size.h, 4 * 16);
    // With a pitch the grid rule holds, whatever the glyphs measure.
    EXPECT_EQ(text::MeasureText(GameFont(0), SJ("あいう\nii")).w, 30);
}

TEST(TextLayout, MultiLineBox) {
    const text::TextSize textSize{90, 48};
    // Centred box of width 200 in a 640 × 480 frame picture.
    auto box = text::LayoutMultiLineBox(10000, 10000, 200, 100, 8, textSize, 640, 480, 1);
    EXPECT_EQ(box.x, 220);
    EXPECT_EQ(box.y, 190);
    EXPECT_EQ(box.textX, 228);
    EXPECT_EQ(box.frameX, 219);
    EXPECT_EQ(box.frameW, 202);
    // Zero sizes come from the text: margin + width, and the height.
    box = text::LayoutMultiLineBox(10000, 20, 0, 0, 8, textSize, 640, 480, 2);
    EXPECT_EQ(box.w, 98);
    EXPECT_EQ(box.h, 48);
    EXPECT_EQ(box.x, 320 - 49);
    EXPECT_EQ(box.y, 20);
    EXPECT_EQ(box.frameY, 18);
    EXPECT_EQ(box.frameH, 52);
}

}  // namespace
