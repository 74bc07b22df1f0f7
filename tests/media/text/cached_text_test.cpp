#include "media/text/cached_text.h"

#include <gtest/gtest.h>

#include "media/gfx/image.h"
#include "media/gfx/pixel_ops.h"
#include "media/text/image_text.h"
#include "tests/media/text/text_test_util.h"

namespace {

using texttest::GameFont;
using text::cGlyphAtlas;

struct Atlases {
    cGlyphAtlas half;
    cGlyphAtlas full;
    Atlases(const text::TextStyle& style, text::AtlasGrid grid)
        : half(text::kFastFontHalf, style.charPitch, style.linePitch, 16, 16),
          full(text::kFastFontFull, style.charPitch, style.linePitch, grid.columns, grid.rows) {
        text::FillHalfAtlas(half, style);
        text::FillFullAtlas(full, style, false);
    }
};

gfx::cImage Background() {
    gfx::cImage img(gfx::PixelFormat::XRGB8888, 400, 80);
    gfx::FillRect(img, 0, 0, 400, 80, 0x203060);
    return img;
}

const std::string& Sample() {
    static const std::string s = SJ("ゲーム（ＨＰ）漢字!\nabc ｱｲｳ (x) 表示　終");
    return s;
}

// With the atlases filled under the settings in force, the cache only saves
// work: every pixel is what direct drawing gives.
TEST(CachedText, SameAsDirect) {
    struct Case {
        int font;
        bool shadow;
        text::TextFamily family;
    } cases[] = {
        {1, true, text::TextFamily::kDirect3D},
        {1, false, text::TextFamily::kDirect3D},
        {2, true, text::TextFamily::kDirect3D},
        {1, false, text::TextFamily::kDirectDraw},
    };
    for (const auto& c : cases) {
        auto style = GameFont(c.font);
        style.shadow = c.shadow;
        style.glyphStyle = text::GlyphStyleOf(c.family);
        style.decorate = c.family == text::TextFamily::kDirect3D;
        Atlases atlases(style, text::FullAtlasGrid(true, style.charPitch, style.linePitch, 640, 480));
        gfx::cImage direct = Background(), cached = Background();
        text::cImageTextTarget directTarget(direct, c.family), cachedTarget(cached, c.family);
        text::DrawTextBody(directTarget, style, 3, 5, Sample(), false);
        text::DrawTextBodyCached(cachedTarget, style, 3, 5, Sample(), false, atlases.half, atlases.full);
        EXPECT_TRUE(direct == cached) << c.font << " " << c.shadow;
        // The new characters were registered after the fixed list.
        EXPECT_EQ(atlases.full.Cells().Used(), 258 + 5) << c.font;  // 漢 字 表 示 終
        // Drawing again reuses the cells.
        text::DrawTextBodyCached(cachedTarget, style, 3, 5, Sample(), false, atlases.half, atlases.full);
        EXPECT_EQ(atlases.full.Cells().Used(), 258 + 5);
    }
}

// A full atlas keeps its cells; new characters are drawn directly each time.
TEST(CachedText, FullAtlasDrawsDirectly) {
    auto style = GameFont(1);
    Atlases atlases(style, text::AtlasGrid{4, 2});
    EXPECT_EQ(atlases.full.Cells().Used(), 8);
    gfx::cImage direct = Background(), cached = Background();
    text::cImageTextTarget directTarget(direct, text::TextFamily::kDirect3D);
    text::cImageTextTarget cachedTarget(cached, text::TextFamily::kDirect3D);
    text::DrawTextBody(directTarget, style, 0, 0, Sample(), false);
    text::DrawTextBodyCached(cachedTarget, style, 0, 0, Sample(), false, atlases.half, atlases.full);
    EXPECT_TRUE(direct == cached);
    EXPECT_EQ(atlases.full.Cells().Used(), 8);
}

// The atlases are filled at start-up before the decoration is set: their
// characters stay plain until a rebuild, while new and direct ones are
// decorated.
TEST(CachedText, AtlasKeepsTheSettingsOfItsFill) {
    auto plain = GameFont(1);
    Atlases atlases(plain, text::FullAtlasGrid(true, 16, 16, 640, 480));
    auto shadowed = plain;
    shadowed.shadow = true;
    auto draw = [&](const text::TextStyle& style, const std::string& s, bool cache) {
        gfx::cImage img = Background();
        text::cImageTextTarget target(img, text::TextFamily::kDirect3D);
        if (cache) {
            text::DrawTextBodyCached(target, style, 0, 0, s, false, atlases.half, atlases.full);
        } else {
            text::DrawTextBody(target, style, 0, 0, s, false);
        }
        return img;
    };
    const std::string listed = SJ("あA"), added = SJ("漢");
    EXPECT_TRUE(draw(shadowed, listed, true) == draw(plain, listed, false));
    EXPECT_FALSE(draw(shadowed, listed, true) == draw(shadowed, listed, false));
    EXPECT_TRUE(draw(shadowed, added, true) == draw(shadowed, added, false));
    // A rebuild takes the settings in force and keeps every cell.
    text::FillHalfAtlas(atlases.half, shadowed);
    text::FillFullAtlas(atlases.full, shadowed, true);
    EXPECT_EQ(atlases.full.Cells().Used(), 259);
    EXPECT_TRUE(draw(shadowed, listed + added, true) == draw(shadowed, listed + added, false));
}

// A cell copy replays its own glyphs whole, even where they pass the cell's
// edge, so a cached character never loses the pixels of a shadow or edge.
TEST(CachedText, CellCopiesReplayTheirGlyphs) {
    auto style = GameFont(1);
    style.edge = true;
    cGlyphAtlas atlas(text::kFastFontFull, 16, 16, 4, 1);
    atlas.Cells().Add(SJ("■"));
    atlas.Cells().Add(SJ("□"));
    text::DrawFontChar(atlas.FillTarget(1), style, 16 + 6, 0, 0x81A1, true);
    texttest::cRecordingTarget cell0, cell1;
    atlas.DrawCell(cell0, 0, 100, 0);
    atlas.DrawCell(cell1, 1, 200, 50);
    EXPECT_TRUE(cell0.painted.empty());
    ASSERT_EQ(cell1.painted.size(), 5u);
    EXPECT_EQ(cell1.painted[0].penX, 200 + 6 - 1);
    EXPECT_EQ(cell1.painted[4].penX, 200 + 6);
    EXPECT_EQ(cell1.painted[4].top, 50);
    EXPECT_EQ(cell1.painted[4].colour, style.colour);
    // Indices outside the atlas draw nothing.
    texttest::cRecordingTarget none;
    atlas.DrawCell(none, 4, 0, 0);
    atlas.DrawCell(none, -1, 0, 0);
    EXPECT_TRUE(none.painted.empty());
}

// Code c sits in cell c as the layout draws it (bracket shift included): the
// half-width katakana in cells 161..223, lead bytes (no character of their
// own) in empty cells.
TEST(CachedText, HalfAtlasCells) {
    auto style = GameFont(1);
    cGlyphAtlas half(text::kFastFontHalf, 16, 16, 16, 16);
    text::FillHalfAtlas(half, style);
    for (int c = 0; c < 256; ++c) {
        texttest::cRecordingTarget cached, direct;
        half.DrawByte(cached, 40, 20, static_cast<uint8_t>(c));
        const char byte = static_cast<char>(c);
        if (c != '\n') text::DrawTextBody(direct, style, 40, 20, std::string_view(&byte, 1), false);
        ASSERT_EQ(cached.painted.size(), direct.painted.size()) << c;
        for (size_t i = 0; i < cached.painted.size(); ++i) {
            EXPECT_EQ(cached.painted[i].penX, direct.painted[i].penX) << c;
            EXPECT_EQ(cached.painted[i].top, direct.painted[i].top) << c;
        }
        if (c >= 0xA1 && c <= 0xDF) {
            EXPECT_EQ(cached.painted.size(), 1u) << c;
        }
        if (c == 0x81 || c == 0x9F || c == 0xE0 || c < 0x20) {
            EXPECT_TRUE(cached.painted.empty()) << c;
        }
    }
}

}  // namespace
