#include "media/text/font_face.h"

#include <gtest/gtest.h>

#include <thread>

#include "media/text/font_files.h"
#include "platform/cp932.h"

namespace {

using text::cFontFace;
using text::GlyphStyle;

TEST(FontFiles, WindowsNamesMapToIpaFaces) {
    struct Case {
        const char* utf8;
        const char* family;
    } cases[] = {
        {"ＭＳ Ｐゴシック", "IPAPGothic"},
        {"ＭＳ ゴシック", "IPAGothic"},
        {"ＭＳ 明朝", "IPAGothic"},
        {"HGｺﾞｼｯｸE", "IPAGothic"},      // half-width katakana in the stored name
        {"HGPｺﾞｼｯｸE", "IPAPGothic"},
        {"Arial", "IPAPGothic"},
        {"Courier New", "IPAGothic"},
        {"Sydnie", "IPAPGothic"},        // last of the list
        {"", ""},                        // the list's empty entry
        {"No Such Face", ""},
    };
    for (const auto& c : cases) {
        const std::string name = platform::Utf8ToCp932(c.utf8);
        EXPECT_EQ(text::MappedFamily(name), c.family) << c.utf8;
        // Every name, mapped or not, ends at a face that has kana.
        auto ref = text::ResolveFontFile(name);
        EXPECT_FALSE(ref.path.empty()) << c.utf8;
        if (*c.family) {
            EXPECT_EQ(ref.family, c.family) << c.utf8;
        }
    }
    // The UTF-8 spelling of a name is not the stored name.
    EXPECT_EQ(text::MappedFamily("ＭＳ Ｐゴシック"), "");
}

// GDI sizing: the whole cell is the Windows ascent plus descent, so a
// full-width block stays inside the cell and the baseline sits at the scaled
// ascent.
TEST(FontFace, GlyphsFitTheCellHeight) {
    for (int h : {10, 16, 30}) {
        auto face = cFontFace::Open(SJ("ＭＳ ゴシック"), h, 0);
        ASSERT_TRUE(face) << h;
        EXPECT_EQ(face->Height(), h);
        EXPECT_GT(face->Ascent(), h / 2);
        EXPECT_LT(face->Ascent(), h);
        for (uint16_t code : {uint16_t{0x81A1} /* ■ */, uint16_t{0x8A9C} /* 漢 */, uint16_t{'g'}}) {
            for (auto style : {GlyphStyle::kSmooth, GlyphStyle::kMono}) {
                auto g = face->Glyph(code, style);
                ASSERT_TRUE(g) << h << " " << code;
                EXPECT_GT(g->width, 0);
                EXPECT_GE(g->top, 0) << h << " " << code;
                EXPECT_LE(g->top + g->height, h) << h << " " << code;
                EXPECT_GE(g->left, 0);
                EXPECT_LE(g->left + g->width, h) << h << " " << code;
            }
        }
        // The fixed face: full-width advance = cell height's em, one byte half.
        auto wide = face->Glyph(0x82A0, GlyphStyle::kSmooth);
        auto narrow = face->Glyph('A', GlyphStyle::kSmooth);
        ASSERT_TRUE(wide && narrow);
        EXPECT_NEAR(narrow->advance * 2, wide->advance, 1) << h;
    }
}

TEST(FontFace, MonoIsTwoLevelAndUnmappedCodesHaveNoGlyph) {
    auto face = cFontFace::Open(SJ("ＭＳ Ｐゴシック"), 16, 0);
    ASSERT_TRUE(face);
    auto g = face->Glyph(0x82A0, GlyphStyle::kMono);
    ASSERT_TRUE(g);
    for (uint8_t c : g->coverage) EXPECT_TRUE(c == 0 || c == 255);
    auto s = face->Glyph(0x82A0, GlyphStyle::kSmooth);
    ASSERT_TRUE(s);
    bool partial = false;
    for (uint8_t c : s->coverage) partial |= c > 0 && c < 255;
    EXPECT_TRUE(partial);
    EXPECT_FALSE(face->Glyph(0x8540, GlyphStyle::kSmooth));  // unassigned in CP932
    EXPECT_FALSE(face->Glyph(0x82, GlyphStyle::kSmooth));    // lone lead byte
    auto space = face->Glyph(' ', GlyphStyle::kSmooth);
    ASSERT_TRUE(space);
    EXPECT_GT(space->advance, 0);
    EXPECT_EQ(face->TextExtent(SJ("あ") + "A", GlyphStyle::kSmooth),
              s->advance + face->Glyph('A', GlyphStyle::kSmooth)->advance);
}

TEST(FontFace, AverageWidthNarrowsTheGlyphs) {
    auto own = cFontFace::Open(SJ("ＭＳ ゴシック"), 16, 0);
    auto narrow = cFontFace::Open(SJ("ＭＳ ゴシック"), 16, 4);
    ASSERT_TRUE(own && narrow);
    EXPECT_LT(narrow->Glyph('A', GlyphStyle::kSmooth)->advance, own->Glyph('A', GlyphStyle::kSmooth)->advance);
    EXPECT_EQ(narrow->Ascent(), own->Ascent());
}

// Several threads drawing with one face at once get the same glyphs as one
// thread does.
TEST(FontFace, ConcurrentUseGivesTheSameGlyphs) {
    auto reference = cFontFace::Open(SJ("ＭＳ Ｐゴシック"), 16, 0);
    auto shared = cFontFace::Open(SJ("ＭＳ Ｐゴシック"), 16, 0);
    ASSERT_TRUE(reference && shared);
    std::vector<std::thread> threads;
    std::vector<int> mismatches(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 400; ++i) {
                uint16_t code = static_cast<uint16_t>(0x829F + (i * 7 + t) % 83);
                auto a = shared->Glyph(code, GlyphStyle::kSmooth);
                auto b = reference->Glyph(code, GlyphStyle::kSmooth);
                if (!a || !b || a->coverage != b->coverage || a->left != b->left || a->top != b->top) ++mismatches[t];
            }
        });
    }
    for (auto& th : threads) th.join();
    for (int m : mismatches) EXPECT_EQ(m, 0);
}

}  // namespace
