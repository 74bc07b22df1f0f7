// Screen fades, frames and number strips over the emulated devices.
#include "media/text/dd_fade.h"

#include <gtest/gtest.h>

#include <cstring>

#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_palette.h"
#include "media/gfx/dd_palette_fx.h"
#include "media/text/dd_frames.h"
#include "media/text/fade_angle.h"
#include "tests/media/gfx/gfx_fixture.h"
#include "tests/media/text/scoped_surfaces.h"

namespace {

class FadeTest : public gfxtest::GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        text::ResetFadeAngles();
    }
    static uint32_t BackPixel(int x, int y) {
        DDLOCK lock(&g_BackBuffer);
        return lock.Locked() ? lock.Image()->Get(x, y) : 0xDEADBEEF;
    }
    static bool FadeOut(bool reset = false) {
        return DDFadeOut(g_PaletteCopy, 0, 255, 0, 0, 0, 10, g_Palette, reset);
    }
};

// Direct3D: each call draws a black quad of alpha 255 - trunc(255 sin a)
// over the frame; the call drawn at 0 returns true and re-arms.
TEST_F(FadeTest, Direct3DQuadPerStep) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    const int weights[] = {255, 251, 239, 220, 195, 163, 127, 87, 44, 0};
    for (int call = 0; call < 11; ++call) {
        DDFillRectRGB(&g_BackBuffer, 0, 0, 640, 480, 0xFFC08040);
        const bool done = FadeOut();
        EXPECT_EQ(done, call == 9) << call;
        const int k = call % 10;
        const uint32_t alpha = 255 - weights[k];
        auto faded = [&](uint32_t c) { return (c * (255 - alpha) + 127) / 255; };
        const uint32_t expected = faded(0xC0) << 16 | faded(0x80) << 8 | faded(0x40);
        EXPECT_EQ(BackPixel(0, 0) & 0xFFFFFF, expected) << call;
        EXPECT_EQ(BackPixel(639, 479) & 0xFFFFFF, expected) << call;
    }
}

TEST_F(FadeTest, Direct3DResetAndFailures) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    DDFillRectRGB(&g_BackBuffer, 0, 0, 640, 480, 0xFFFFFFFF);
    EXPECT_TRUE(FadeOut(true));  // a reset draws the end state at once
    EXPECT_EQ(BackPixel(320, 240) & 0xFFFFFF, 0u);
    EXPECT_EQ(text::FadeAngle(true, false), 90);

    // A refused render target: false, and the angle stays.
    ASSERT_FALSE(FadeOut());
    EXPECT_EQ(text::FadeAngle(true, false), 80);
    gfx::Faults().Arm(gfx::Fault::D3DSetRenderTarget);
    EXPECT_FALSE(FadeOut());
    EXPECT_EQ(text::FadeAngle(true, false), 80);

    // A fade-in runs 0 → 90 and ends with the picture untouched.
    for (int call = 0; call < 10; ++call) {
        DDFillRectRGB(&g_BackBuffer, 0, 0, 640, 480, 0xFFFFFFFF);
        EXPECT_EQ(DDFadeIn(g_PaletteCopy, 0, 255, 0, 0, 0, 10, g_Palette, false), call == 9);
    }
    EXPECT_EQ(BackPixel(1, 1) & 0xFFFFFF, 0xFFFFFFu);
}

// DirectDraw at 8 bits: the palette is blended toward the colour and handed
// to the palette object; no snapshot is taken.
TEST_F(FadeTest, DirectDrawPalette8) {
    ASSERT_TRUE(InitAll(0, 8, 0));
    uint8_t before[256][4];
    std::memcpy(before, g_Palette, sizeof before);
    ASSERT_FALSE(FadeOut());  // angle 90: the full picture
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c) ASSERT_EQ(g_PaletteCopy[i][c], g_Palette[i][c]) << i;
    for (int call = 1; call < 9; ++call) ASSERT_FALSE(FadeOut());
    EXPECT_TRUE(FadeOut());  // angle 0: all black
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c) ASSERT_EQ(g_PaletteCopy[i][c], 0) << i;
    ASSERT_TRUE(g_DD.lpDDPalette);
    EXPECT_EQ(std::memcmp(g_DD.lpDDPalette->entries, g_PaletteCopy, sizeof g_PaletteCopy), 0);
    EXPECT_EQ(std::memcmp(g_Palette, before, sizeof before), 0);  // the source is not touched
    // A fade-in to a colour over part of the palette.
    std::memcpy(g_PaletteCopy, g_Palette, sizeof g_Palette);
    for (int call = 0; call < 10; ++call) {
        EXPECT_EQ(DDFadeIn(g_PaletteCopy, 16, 31, 255, 255, 255, 10, g_Palette, false), call == 9);
        if (call == 0) {
            EXPECT_EQ(g_PaletteCopy[16][0], 255);  // angle 0: the colour
            EXPECT_EQ(g_PaletteCopy[15][0], g_Palette[15][0]);  // outside the range
        }
    }
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c) ASSERT_EQ(g_PaletteCopy[i][c], g_Palette[i][c]) << i;
}

// DirectDraw at 16 and 32 bits: the first step takes a snapshot of the
// frame, and every step writes its blend toward the colour into the back
// buffer, whatever the scene drew meanwhile.
TEST_F(FadeTest, DirectDrawSnapshot) {
    for (int bpp : {16, 32}) {
        ResetGraphics();
        BuildBitmapTable();
        text::ResetFadeAngles();
        ASSERT_TRUE(InitAll(0, bpp, 0)) << bpp;
        // What each step must show: the blend of the first picture.
        auto blendOfPicture = [](int weight) {
            DDFillRect(&g_BackBuffer, 0, 0, 640, 480, 200);
            DDBlt(&g_WorkSurface, 0, 0, 640, 480, &g_BackBuffer, 0, 0, 0);
            DDFade_UnPal(&g_BackBuffer, weight, 0, 0, 0, &g_WorkSurface);
            return BackPixel(5, 5);
        };
        uint32_t expected[10];
        for (int k = 0; k < 10; ++k) expected[k] = blendOfPicture(text::FadeBlendWeight(90 - 10 * k));
        DDFillRect(&g_WorkSurface, 0, 0, 640, 480, 0);
        DDFillRect(&g_BackBuffer, 0, 0, 640, 480, 200);
        for (int call = 0; call < 10; ++call) {
            EXPECT_EQ(FadeOut(), call == 9);
            EXPECT_EQ(BackPixel(5, 5), expected[call]) << bpp << " " << call;
            DDFillRect(&g_BackBuffer, 0, 0, 640, 480, 17);  // the scene draws another picture
        }
        EXPECT_EQ(expected[9] & 0xFFFFFF, 0u);  // fully faded to black
    }
}

// Frames fill top, bottom, left, right; numbers come from the strip cells.
TEST_F(FadeTest, FramesAndNumbers) {
    ASSERT_TRUE(InitAll(0, 8, 0));
    DDFillRect(&g_BackBuffer, 0, 0, 640, 480, 0);
    DDFrameRectOutside(&g_BackBuffer, 10, 10, 20, 10, 2, 240);
    DDFrameRect(&g_BackBuffer, 100, 100, 6, 6, 4, 241);  // thicker than half: overlaps itself
    {
        DDLOCK lock(&g_BackBuffer);
        ASSERT_TRUE(lock.Locked());
        const gfx::cImage& img = *lock.Image();
        struct Px {
            int x, y;
            uint32_t v;
        } cases[] = {
            {8, 8, 240}, {9, 9, 240}, {10, 10, 0}, {31, 21, 240}, {32, 22, 0}, {7, 8, 0},
            {29, 19, 0}, {100, 100, 241}, {105, 105, 241}, {103, 103, 241}, {106, 100, 0},
        };
        for (const auto& c : cases) EXPECT_EQ(img.Get(c.x, c.y), c.v) << c.x << "," << c.y;
    }
    // A strip of ten 4 × 4 digit cells whose cell d is filled with d + 1.
    texttest::ScopedSurface strip;
    ASSERT_TRUE(DDCreateSurface(&strip, 40, 4, 1, 1, 0, 0, 0));
    for (int d = 0; d < 10; ++d) DDFillRect(&strip, d * 4, 0, 4, 4, static_cast<uint32_t>(d + 1));
    DDFillRect(&g_BackBuffer, 0, 0, 640, 480, 0);
    DDDrawNumber(&g_BackBuffer, 200, 50, 4, 4, &strip, 0, 0, 1, 907, 5, 0);
    DDDrawNumber(&g_BackBuffer, 200, 60, 4, 4, &strip, 0, 0, 1, -7, 4, 1);
    {
        DDLOCK lock(&g_BackBuffer);
        const gfx::cImage& img = *lock.Image();
        // 907 right-aligned in five cells: blanks, 9, 0, 7.
        const uint32_t row50[] = {0, 0, 10, 1, 8};
        for (int k = 0; k < 5; ++k) EXPECT_EQ(img.Get(200 + 4 * k + 1, 51), row50[k]) << k;
        // -7 centred in four cells: the magnitude's digit at 3 × 4 / 2.
        EXPECT_EQ(img.Get(206, 61), 8u);
        EXPECT_EQ(img.Get(205, 61), 0u);
        EXPECT_EQ(img.Get(210, 61), 0u);
    }
}

}  // namespace
