// Golden pictures of text in both device families.
#include <gtest/gtest.h>

#include "media/gfx/image.h"
#include "media/gfx/pixel_ops.h"
#include "media/gfx/quad.h"
#include "media/text/image_text.h"
#include "tests/media/text/png_golden.h"
#include "tests/media/text/text_test_util.h"

namespace {

using texttest::GameFont;

std::vector<uint32_t> Frame(const gfx::cImage& img, const uint8_t (*palette)[4] = nullptr) {
    std::vector<uint32_t> out;
    gfx::ConvertToXrgb8888(img, palette, out);
    return out;
}

// Direct3D family: shadowed, edged and centred Japanese text with the
// bracket shift of the default face, on a 32-bit back buffer.
TEST(GoldenText, DecoratedJapaneseDirect3D) {
    gfx::cImage back(gfx::PixelFormat::XRGB8888, 320, 96);
    gfx::FillRect(back, 0, 0, 320, 96, 0x203060);
    text::cImageTextTarget target(back, text::TextFamily::kDirect3D);

    auto normal = GameFont(1);
    normal.shadow = true;
    text::DrawTextBody(target, normal, 8, 4, SJ("ゲームスタート！（はじめから）\nＨＰ (99) あいう"), false);

    auto large = GameFont(2);
    large.edge = true;
    large.colour = 0xFFFFE040;
    large.shadowColour = 0xFF665919;  // each channel × 0.4
    text::DrawTextBody(target, large, 8, 40, SJ("漢字ｶﾅ"), false);

    auto small = GameFont(0);
    small.centre = true;
    small.shadow = true;
    text::DrawTextBody(target, small, 180, 48, "Score 01234", false);

    const std::string diff = texttest::CompareGolden("text_d3d32.png", 320, 96, Frame(back));
    EXPECT_TRUE(diff.empty()) << diff;
}

// DirectDraw family at 8 bits: plain two-level text in the colour index, no
// decoration even when the font asks for it.
TEST(GoldenText, PlainTextDirectDraw8) {
    gfx::cImage surface(gfx::PixelFormat::Index8, 256, 40);
    text::cImageTextTarget target(surface, text::TextFamily::kDirectDraw, 241);
    auto normal = GameFont(1);
    normal.glyphStyle = text::GlyphStyle::kMono;
    normal.decorate = false;
    normal.shadow = true;
    text::DrawTextBody(target, normal, 4, 2, SJ("はじめから ABC\nｵﾌﾟｼｮﾝ (1)"), false);

    uint8_t palette[256][4] = {};
    palette[241][0] = 255, palette[241][1] = 255, palette[241][2] = 255;
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x) {
            uint32_t v = surface.Get(x, y);
            ASSERT_TRUE(v == 0 || v == 241) << x << "," << y;  // nothing but the key and the colour
        }
    const std::string diff = texttest::CompareGolden("text_dd8.png", 256, 40, Frame(surface, palette));
    EXPECT_TRUE(diff.empty()) << diff;
}

// The DirectDraw colour on 16 and 32 bits, as GDI writes it.
TEST(GoldenText, GdiTextPixels) {
    struct Case {
        gfx::PixelFormat f;
        uint32_t rgb, px;
    } cases[] = {
        {gfx::PixelFormat::RGB565, 0xFFFFFF, 0xFFFF},
        {gfx::PixelFormat::RGB565, 0x0F8407, 0x0C20},
        {gfx::PixelFormat::ARGB1555, 0x0F8407, 0x8600},
        {gfx::PixelFormat::XRGB8888, 0x123456, 0x123456},
        {gfx::PixelFormat::Index8, 0x123456, 241},
    };
    for (const auto& c : cases) EXPECT_EQ(text::GdiTextPixel(c.f, c.rgb, 241), c.px) << std::hex << c.rgb;
}

}  // namespace

namespace {

// The 32-bit road blends on the pixel words; it must give what the pixel
// core's stage and blend give for every format.
TEST(ImageText, SpriteBlendMatchesThePixelCore) {
    auto face = text::cFontFace::Open(SJ("ＭＳ Ｐゴシック"), 30, 0);
    ASSERT_TRUE(face);
    auto glyph = face->Glyph(0x8A9C, text::GlyphStyle::kSmooth);  // 漢
    ASSERT_TRUE(glyph);
    gfx::StageState sprite;
    sprite.colorOp = sprite.alphaOp = gfx::TOP_MODULATE;
    sprite.colorArg1 = sprite.alphaArg1 = gfx::TA_TEXTURE;
    sprite.colorArg2 = sprite.alphaArg2 = gfx::TA_DIFFUSE;
    for (auto f : {gfx::PixelFormat::XRGB8888, gfx::PixelFormat::ARGB8888, gfx::PixelFormat::RGB565,
                   gfx::PixelFormat::ARGB1555}) {
        for (uint32_t colour : {0xFFFFFFFFu, 0x80FF8040u, 0xFF102030u}) {
            gfx::cImage image(f, 40, 40);
            uint32_t seed = 12345;
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 40; ++x) {
                    seed = seed * 1103515245 + 12345;
                    image.Set(x, y, gfx::EncodePixel(f, gfx::UnpackArgb(seed)));
                }
            gfx::cImage expected = image;
            text::cImageTextTarget target(image, text::TextFamily::kDirect3D);
            target.PaintGlyph(3, 2, *glyph, colour);
            for (int gy = 0; gy < glyph->height; ++gy)
                for (int gx = 0; gx < glyph->width; ++gx) {
                    uint8_t cov = glyph->coverage[static_cast<size_t>(gy) * glyph->width + gx];
                    int x = 3 + glyph->left + gx, y = 2 + glyph->top + gy;
                    if (!cov || !expected.Inside(x, y)) continue;
                    auto st = gfx::StageColor(sprite, gfx::Argb{cov, 255, 255, 255}, gfx::UnpackArgb(colour));
                    expected.Set(x, y, gfx::EncodePixel(f, gfx::BlendSrcAlpha(st, gfx::DecodePixel(f, expected.Get(x, y)))));
                }
            EXPECT_TRUE(image == expected) << static_cast<int>(f) << " " << std::hex << colour;
        }
    }
}

}  // namespace
