// Golden pictures of text in both device families.
#include <gtest/gtest.h>

#include "media/gfx/image.h"
#include "media/gfx/pixel_ops.h"
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
