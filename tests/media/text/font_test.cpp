// The game fonts on the emulated devices.
#include "media/text/font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "base/quit.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_palette.h"
#include "media/gfx/pixel_ops.h"
#include "media/text/dd_frames.h"
#include "platform/cp932.h"
#include "tests/media/gfx/gfx_fixture.h"
#include "tests/media/text/scoped_surfaces.h"
#include "tests/media/text/png_golden.h"

namespace {

class FontTest : public gfxtest::GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        for (auto& f : g_FontInfo) f = FONTINFO{};
        g_FontInfo[0] = Info(10, 10, 2);
        g_FontInfo[1] = Info(16, 16, 2);
        g_FontInfo[2] = Info(30, 32, 0);
    }
    void TearDown() override {
        ReleaseFontsAndList();
        GfxTest::TearDown();
    }
    // The fonts' surfaces go with the device (the program makes them once).
    static void ReleaseFontsAndList() {
        ReleaseFonts();
        g_FontList.clear();
    }
    void Restart(int d3d, int bpp) {
        ReleaseFontsAndList();
        ResetGraphics();
        BuildBitmapTable();
        // DirectDraw full screen, so that surfaces have the mode's depth.
        ASSERT_TRUE(InitAll(d3d, bpp, d3d ? 1 : 0)) << d3d << " " << bpp;
    }
    static FONTINFO Info(int height, int pitch, int cache) {
        FONTINFO f;
        f.strFaceName = SJ("ＭＳ ゴシック");
        f.nHeight = height;
        f.nPitch = f.nLinePitch = pitch;
        f.nColor = 241;
        f.nUnused = 1;
        f.nFrameSlot = 46;
        f.nFrameThick = 1;
        f.nFrameColor = 240;
        f.nIconSlot = 51;
        f.nCacheMode = cache;
        return f;
    }
    static FontSettings Settings(int cache, int decoration, int icons = 0) {
        FontSettings s;
        s.faceName = SJ("ＭＳ Ｐゴシック");
        s.d3dFontCache = s.ddFontCache = cache;
        s.iconLetters = icons;
        s.decoration = decoration;
        return s;
    }
    // The back buffer as 0x00RRGGBB pixels.
    static std::vector<uint32_t> Frame() {
        DDLOCK lock(&g_BackBuffer);
        std::vector<uint32_t> out;
        if (lock.Locked()) gfx::ConvertToXrgb8888(*lock.Image(), g_Palette, out);
        return out;
    }
    static void ClearBack() {
        if (lpDTCon) {
            DDFillRectRGB(&g_BackBuffer, 0, 0, 640, 480, 0xFF203060);
        } else {
            DDFillRect(&g_BackBuffer, 0, 0, 640, 480, 3);
        }
    }
    // Pixels that differ from the cleared frame, as a bounding box.
    static void ChangedBox(const std::vector<uint32_t>& before, const std::vector<uint32_t>& after, int* x1, int* y1) {
        *x1 = *y1 = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                if (before[size_t(y) * 640 + x] != after[size_t(y) * 640 + x]) {
                    *x1 = std::max(*x1, x + 1);
                    *y1 = std::max(*y1, y + 1);
                }
    }
};

TEST_F(FontTest, DigitsStayInTheirBoxInBothFamilies) {
    struct Mode {
        int d3d, bpp;
    } modes[] = {{1, 32}, {1, 16}, {0, 8}, {0, 16}, {0, 32}};
    for (const auto& m : modes) {
        Restart(m.d3d, m.bpp);
        ASSERT_TRUE(SetUpFonts(Settings(1, 0)));
        ClearBack();
        const auto before = Frame();
        EXPECT_EQ(g_Fonts[1].DrawString(&g_BackBuffer, 0, 0, "0123456789"), 1);
        int x1 = 0, y1 = 0;
        ChangedBox(before, Frame(), &x1, &y1);
        EXPECT_GT(x1, 140) << m.d3d << " " << m.bpp;
        EXPECT_LE(x1, 160) << m.d3d << " " << m.bpp;
        EXPECT_LE(y1, 16) << m.d3d << " " << m.bpp;
    }
}

// DirectDraw text is two-level in the colour of palette entry 241 as the
// mode shows it (16 bits: the entry in the surface layout, widened to a GDI
// colour and narrowed again by GDI).
TEST_F(FontTest, DirectDrawTextColour) {
    for (int bpp : {8, 16, 32}) {
        Restart(0, bpp);
        ASSERT_TRUE(SetUpFonts(Settings(0, 1)));
        DDFillRect(&g_BackBuffer, 0, 0, 640, 480, 3);
        const uint32_t background = PalNumToRGB(3), ink = PalNumToRGB(241);
        g_Fonts[1].DrawString(&g_BackBuffer, 10, 10, SJ("■漢A"));
        DDLOCK lock(&g_BackBuffer);
        ASSERT_TRUE(lock.Locked());
        int inked = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 80; ++x) {
                const uint32_t v = lock.Image()->Get(x, y) & (bpp == 32 ? 0xFFFFFFu : 0xFFFFFFFFu);
                if (v == ink) ++inked;
                EXPECT_TRUE(v == ink || v == background) << bpp << " " << x << "," << y << " " << v;
            }
        EXPECT_GT(inked, 100) << bpp;
    }
}

// Direct3D onto a system-memory texture: composed in Work and copied there.
TEST_F(FontTest, Direct3DSystemMemoryDestination) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    ASSERT_TRUE(SetUpFonts(Settings(0, 0)));
    texttest::ScopedSurface target;
    ASSERT_TRUE(DDCreateSurface(&target, 128, 64, 0, 0, DTMEMORYTYPE_SYSTEM, 0, 0));
    ASSERT_EQ(target.lpDT->nMemType, DTMEMORYTYPE_SYSTEM);
    DDFillRectRGB(&target, 0, 0, 128, 64, 0xFF000000);
    EXPECT_EQ(g_Fonts[1].DrawString(&target, 4, 8, SJ("あい")), 1);
    {
        DDLOCK lock(&target);
        ASSERT_TRUE(lock.Locked());
        int inked = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 128; ++x) {
                if ((lock.Image()->Get(x, y) & 0xFFFFFF) == 0) continue;
                ++inked;
                EXPECT_TRUE(x >= 4 && x < 36 && y >= 8 && y < 24) << x << "," << y;
            }
        EXPECT_GT(inked, 20);
    }
}

// One golden picture per family: decorated Japanese text (Direct3D, 32
// bits) and plain text (DirectDraw, 8 bits, where decoration does not exist).
TEST_F(FontTest, GoldenFrames) {
    struct Case {
        int d3d, bpp;
        const char* golden;
    } cases[] = {{1, 32, "font_d3d32.png"}, {0, 8, "font_dd8.png"}};
    for (const auto& c : cases) {
        Restart(c.d3d, c.bpp);
        ASSERT_TRUE(SetUpFonts(Settings(0, 1)));  // shadowed
        ClearBack();
        g_Fonts[0].DrawString(&g_BackBuffer, 8, 4, SJ("ｽｺｱ 0123456 (残り時間)"));
        g_Fonts[1].DrawString(&g_BackBuffer, 8, 20, SJ("ゲームスタート！「はじめから」\nＨＰ（９９）"));
        g_Fonts[2].m_bShadow = 0;
        g_Fonts[2].m_bEdge = 1;
        g_Fonts[2].DrawString(&g_BackBuffer, 8, 56, SJ("漢字ステージ"));
        g_Fonts[1].DrawTextFrame(&g_BackBuffer, 4, 18, 280, 34);
        DDDrawNumber(&g_BackBuffer, 220, 60, 16, 16, &g_DigitStrips[1], 0, 0, 1, 4096, 6, 0);
        const auto frame = Frame();
        std::vector<uint32_t> crop(320 * 96);
        for (int y = 0; y < 96; ++y)
            for (int x = 0; x < 320; ++x) crop[size_t(y) * 320 + x] = frame[size_t(y) * 640 + x];
        const std::string diff = texttest::CompareGolden(c.golden, 320, 96, crop);
        EXPECT_TRUE(diff.empty()) << diff;
    }
}

// With the atlases rebuilt under the settings in force, the glyph cache does
// not change a pixel; without the rebuild the start-up atlases stay plain.
TEST_F(FontTest, GlyphCacheGivesTheSamePicture) {
    for (int d3d : {1, 0}) {
        Restart(d3d, d3d ? 32 : 8);
        ASSERT_TRUE(SetUpFonts(Settings(1, 1)));
        Font& font = g_Fonts[1];
        ASSERT_TRUE(font.m_lpFastFont_Half && font.m_lpFastFont_Full);
        const std::string s = SJ("あいう漢字 ABC (1)\nｱｲｳ");
        auto draw = [&](int cache) {
            font.m_bCache = cache;
            ClearBack();
            font.DrawString(&g_BackBuffer, 30, 40, s);
            return Frame();
        };
        const auto direct = draw(0);
        if (d3d) {
            EXPECT_NE(draw(1), direct);  // start-up atlases carry no shadow
        } else {
            EXPECT_EQ(draw(1), direct);  // no decoration in DirectDraw
        }
        font.RestoreFont();
        EXPECT_EQ(draw(1), direct) << d3d;
        EXPECT_EQ(font.m_lpFastFont_Full->Cells().Used(), 258 + 2);  // 漢 字 kept through the rebuild
    }
}

// The main thread (start-up, recovery) and the game thread may draw with one
// font at once: each picture is what a lone draw gives, and the atlas grows
// once per new character.
TEST_F(FontTest, TwoThreadsShareAFont) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    ASSERT_TRUE(SetUpFonts(Settings(1, 1)));
    Font& font = g_Fonts[1];
    texttest::ScopedSurface a, b, reference;
    for (DDSURFACEDATA* sd : {static_cast<DDSURFACEDATA*>(&a), static_cast<DDSURFACEDATA*>(&b),
                              static_cast<DDSURFACEDATA*>(&reference)})
        ASSERT_TRUE(DDCreateSurface(sd, 256, 32, 1, 0, 0, 0, 0));
    const std::string texts[2] = {SJ("漢字の試験 ABC"), SJ("表示と終了 xyz")};
    std::vector<gfx::cImage> expected;
    for (const auto& t : texts) {
        DDFillRectRGB(&reference, 0, 0, 256, 32, 0xFF000000);
        font.DrawString(&reference, 0, 0, t);
        expected.push_back(reference.lpDT->lpSurface->img);
    }
    const int usedBefore = font.m_lpFastFont_Full->Cells().Used();
    int mismatches[2] = {0, 0};
    auto run = [&](int k, DDSURFACEDATA* sd) {
        for (int i = 0; i < 50; ++i) {
            gfx::FillRect(sd->lpDT->lpSurface->img, 0, 0, 256, 32, 0xFF000000);
            font.DrawString(sd, 0, 0, texts[k] + (i % 2 ? SJ("新") : SJ("旧")));
            font.DrawString(sd, 0, 0, texts[k]);
        }
        gfx::FillRect(sd->lpDT->lpSurface->img, 0, 0, 256, 32, 0xFF000000);
        font.DrawString(sd, 0, 0, texts[k]);
        mismatches[k] += !(sd->lpDT->lpSurface->img == expected[k]);
    };
    std::thread t1(run, 0, &a), t2(run, 1, &b);
    t1.join();
    t2.join();
    EXPECT_EQ(mismatches[0] + mismatches[1], 0);
    EXPECT_EQ(font.m_lpFastFont_Full->Cells().Used(), usedBefore + 2);  // 新 and 旧
}

TEST_F(FontTest, IconLetters) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    ASSERT_TRUE(SetUpFonts(Settings(0, 0, 1)));
    Font& font = g_Fonts[1];
    ASSERT_EQ(font.m_bIcon, 1);
    EXPECT_EQ(g_Fonts[0].m_bIcon, 0);
    // "a" shows icon 0 and no letter.
    ClearBack();
    DDBlt(&g_BackBuffer, 50, 60, 16, 16, &SurfaceTable[51], 0, 0, 1);
    const auto iconOnly = Frame();
    ClearBack();
    font.DrawString(&g_BackBuffer, 50, 60, "a");
    EXPECT_EQ(Frame(), iconOnly);
    // Plain letters draw the letter and the icon still comes.
    ClearBack();
    font.DrawString(&g_BackBuffer, 50, 60, "a", 1);
    EXPECT_NE(Frame(), iconOnly);
    // Without the icon flag "a" is a letter.
    font.m_bIcon = 0;
    ClearBack();
    font.DrawString(&g_BackBuffer, 50, 60, "a");
    EXPECT_NE(Frame(), iconOnly);
}

TEST_F(FontTest, TextBoxesAndSizes) {
    ASSERT_TRUE(InitAll(0, 8, 0));
    texttest::ScopedSurface picture;
    ASSERT_TRUE(DDCreateSurface(&picture, 640, 480, 1, 0, 0, 0, 0));
    DDFillRect(&picture, 0, 0, 640, 480, 5);
    texttest::ScopedFont font;
    ASSERT_TRUE(font.InitFont(SJ("ＭＳ ゴシック"), 0, 16, 16, 16, 241, 0, 1, &picture, 2, 240, nullptr, 0));
    ClearBack();
    font.DrawTextBox(&g_BackBuffer, 10000, 10000, 200, 100);
    {
        DDLOCK lock(&g_BackBuffer);
        const gfx::cImage& img = *lock.Image();
        EXPECT_EQ(img.Get(220, 190), 5u);  // the box starts at 320 - 100
        EXPECT_EQ(img.Get(419, 289), 5u);
        EXPECT_EQ(img.Get(218, 188), 240u);  // frame of thickness 2 outside
        EXPECT_EQ(img.Get(219, 200), 240u);
        EXPECT_EQ(img.Get(217, 200), 3u);
        EXPECT_EQ(img.Get(420, 290), 240u);
    }
    // A multi-line box sized to its text: margin + width, lines × pitch.
    ClearBack();
    font.DrawMultiLine(&g_BackBuffer, 10000, 40, 0, 0, SJ("あいう\nab\n"), 8);
    {
        DDLOCK lock(&g_BackBuffer);
        const gfx::cImage& img = *lock.Image();
        const int w = 8 + 3 * 16, h = 3 * 16, x = 320 - w / 2;
        EXPECT_EQ(img.Get(x, 40), 5u);
        EXPECT_EQ(img.Get(x + w - 1, 40 + h - 1), 5u);
        EXPECT_EQ(img.Get(x + w, 40), 240u);
        EXPECT_EQ(img.Get(x - 2, 40 + h + 1), 240u);
        EXPECT_EQ(img.Get(x + w + 2, 40), 3u);
    }
    // Proportional sizes come from the face; grid sizes from the pitch.
    font.m_nPitch = 0;
    const auto size = font.GetTextSize("ii\nWWW\n");
    EXPECT_EQ(size.h, 48);
    EXPECT_EQ(size.w, font.m_pFace->TextExtent("WWW", text::GlyphStyle::kMono));
}

// Font 0 in DirectDraw at 640 × 480 has a full-width atlas of 32 × 30
// cells: the 259th character still gets one.
TEST_F(FontTest, AtlasGridsOfTheFamilies) {
    ASSERT_TRUE(InitAll(0, 8, 0));
    ASSERT_TRUE(SetUpFonts(Settings(1, 0)));
    auto& full = *g_Fonts[0].m_lpFastFont_Full;
    EXPECT_EQ(full.Cells().Columns(), 32);
    EXPECT_EQ(full.Cells().Rows(), 30);
    EXPECT_EQ(full.Cells().Used(), 258);
    g_Fonts[0].DrawString(&g_BackBuffer, 0, 0, SJ("漢"));
    EXPECT_EQ(full.Cells().Used(), 259);
    EXPECT_FALSE(g_Fonts[2].m_lpFastFont_Full);  // font 2 keeps no atlases
}

// The start-up settings: the cache mode 2 takes the family's "System.ini"
// value; the decoration setting 0, 1, 2 sets shadow or edge on all three
// fonts and other values leave them; icons and centring go to font 1 only.
TEST_F(FontTest, StartUpSettings) {
    ASSERT_TRUE(InitAll(0, 8, 0));
    struct Case {
        int ddCache, decoration;
        bool atlases;
        int shadow, edge;
    } cases[] = {
        {1, 0, true, 0, 0},
        {0, 1, false, 1, 0},
        {1, 2, true, 0, 1},
        {1, 7, true, 0, 1},  // left as the previous start-up set them
    };
    for (const auto& c : cases) {
        for (int i = 0; i < 3; ++i) g_FontInfo[i].nCacheMode = i == 2 ? 0 : 2;
        FontSettings settings = Settings(c.ddCache, c.decoration, 1);
        settings.d3dFontCache = 1 - c.ddCache;  // not the family in use
        settings.centre = 1;
        ASSERT_TRUE(SetUpFonts(settings));
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(g_Fonts[i].m_lpFastFont_Half != nullptr, c.atlases && i != 2) << i;
            EXPECT_EQ(g_Fonts[i].m_bShadow, c.shadow) << c.decoration << " " << i;
            EXPECT_EQ(g_Fonts[i].m_bEdge, c.edge) << c.decoration << " " << i;
            EXPECT_EQ(g_Fonts[i].m_bIcon, i == 1 ? 1 : 0);
            EXPECT_EQ(g_Fonts[i].m_bCentre, i == 1 ? 1 : 0);
        }
        // The digit strips hold "0123456789" in ten cells of each font.
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(g_DigitStrips[i].nWidth, 10 * g_FontInfo[i].nPitch);
            EXPECT_EQ(g_DigitStrips[i].nHeight, g_FontInfo[i].nLinePitch);
        }
    }
}

TEST_F(FontTest, FailuresAndCounters) {
    ASSERT_TRUE(InitAll(0, 8, 0));
    texttest::ScopedFont font;
    // A glyph cache asked for without pitches: logged, no atlases.
    ASSERT_TRUE(font.InitFont(SJ("ＭＳ ゴシック"), 0, 16, 0, 16, 241, 0, 1, nullptr, 1, 240, nullptr, 1));
    EXPECT_FALSE(font.m_lpFastFont_Half);
    EXPECT_NE(ReadText("ZI_Vare.txt").find(SJ("※フォントクラスで文字間が未設定！")), std::string::npos);
    const int first = font.m_nFontNum;
    ASSERT_TRUE(font.InitFont(SJ("ＭＳ ゴシック"), 0, 16, 16, 16, 241, 0, 1, nullptr, 1, 240, nullptr, 0));
    EXPECT_EQ(font.m_nFontNum, first + 1);
    EXPECT_EQ(std::count(g_FontList.begin(), g_FontList.end(), &font), 1);
    g_FontList.clear();

    // The work surface cannot be made: quit, and the font stays unnumbered
    // and unlisted.
    texttest::ScopedFont broken;
    gfx::Faults().Arm(gfx::Fault::DDCreateVideo);
    gfx::Faults().Arm(gfx::Fault::DDCreateSystem);
    const int closes = CloseRequestCount();
    EXPECT_FALSE(broken.InitFont(SJ("ＭＳ ゴシック"), 0, 16, 16, 16, 241, 0, 1, nullptr, 1, 240, nullptr, 0));
    EXPECT_EQ(g_bQuit.load(), 1);
    EXPECT_GT(CloseRequestCount(), closes);
    EXPECT_EQ(broken.m_nFontNum, -1);
    EXPECT_TRUE(g_FontList.empty());
    EXPECT_NE(ReadText("ZI_Vare.txt").find("DDCreateSurface Font::Work"), std::string::npos);
    // Drawing with it does nothing.
    EXPECT_EQ(broken.DrawString(&g_BackBuffer, 0, 0, "abc"), 0);
}

}  // namespace
