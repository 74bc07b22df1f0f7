// Pictures at run time: size rounding, placement by kind and unit,
// anchoring while the view scrolls, timed display, following a chara with
// and without the old behaviour switch, and the multi-line text extent.
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>

#include "media/text/font.h"
#include "play/chara.h"
#include "play/chara_player.h"
#include "play/multi_line_extent.h"
#include "play/numeric.h"
#include "play/picture.h"
#include "media/gfx/run_time_surfaces.h"
#include "play/scene_play.h"
#include "records/system_data.h"
#include "tests/play/play_fixture.h"

namespace {

class PictureTest : public playtest::PlaySceneTest {
protected:
    void SetUp() override {
        PlaySceneTest::SetUp();
        m_savedCompat = g_SystemData.m_bCompat833;
        m_scene.m_ScrollX.m_dPos = 320;
        m_scene.m_ScrollY.m_dPos = 320;
    }
    void TearDown() override {
        g_SystemData.m_bCompat833 = m_savedCompat;
        g_vPlayers.clear();
        g_lstRunTimeSurfaces.clear();
        g_lstRunTimeSlots.clear();
        PlaySceneTest::TearDown();
    }
    static cPicture Make(int kind, int unit, int x, int y, int swap = 0) {
        PictureRequest r;
        r.nPosKind = kind;
        r.nUnit = unit;
        r.nX = x;
        r.nY = y;
        r.nOffsetX = 3;
        r.nOffsetY = -2;
        r.nImageWidth = 40;
        r.nImageHeight = 20;
        r.bSwapAnchoring = swap;
        cPicture p;
        p.Init(r);
        return p;
    }
    int32_t m_savedCompat = 0;
};

TEST_F(PictureTest, SizeRoundsHalfAwayFromZero) {
    struct Case {
        int w, h, pct, sepY, pctY, mirror;
        int ew, eh, stretched;
    } cases[] = {
        {100, 60, 150, 0, 0, 0, 150, 90, 1},  {100, 60, 50, 1, 25, 0, 50, 15, 1},
        {33, 33, 50, 0, 0, 0, 17, 17, 1},     {100, 60, 100, 0, 0, 0, 100, 60, 0},
        {100, 60, 100, 1, 100, 0, 100, 60, 0}, {100, 60, 100, 1, 50, 0, 100, 30, 1},
        {100, 60, 100, 0, 0, 1, 100, 60, 1},
    };
    for (const Case& c : cases) {
        PictureRequest r;
        r.nImageWidth = c.w;
        r.nImageHeight = c.h;
        r.nPercent = c.pct;
        r.bSeparateY = c.sepY;
        r.nPercentY = c.pctY;
        r.bMirrorX = c.mirror;
        cPicture p;
        p.Init(r);
        EXPECT_EQ(p.m_nWidth, c.ew) << c.pct << "/" << c.pctY;
        EXPECT_EQ(p.m_nHeight, c.eh) << c.pct << "/" << c.pctY;
        EXPECT_EQ(p.m_bStretched, c.stretched) << c.pct << "/" << c.pctY;
    }
}

TEST_F(PictureTest, ScreenPositionByKindAndUnit) {
    // Border 10 cells on x, and the vertical axis's own border.
    const int by = m_scene.m_ScrollY.m_nBorder;
    struct Case {
        int kind, unit, x, y;
        int a, b;
    } cases[] = {
        {0, 0, 0, 0, 3 - 20 + 320, -2 - 10 + 240},
        {3, 0, 2, 3, 3 + 64, -2 + 96},
        {3, 1, 2, 3, 5, 1},
        {4, 0, 2, 3, 64 + 3 - 20 + 16, 96 - 2 - 10 + 16},
        {4, 1, 2, 3, 3 + 2 - 20, -2 + 3 - 10},
        {5, 0, 2, 3, (2 + 10) * 32 + 3 - 320, (3 + by) * 32 - 2 - 320},
        {5, 1, 2, 3, 3 + 320 + 2 - 320, -2 + by * 32 + 3 - 320},
        {6, 0, 2, 3, (2 + 10) * 32 + 3 - 20 + 16 - 320, (3 + by) * 32 - 2 - 10 + 16 - 320},
        {6, 1, 2, 3, 3 + 320 + 2 - 20 - 320, -2 + by * 32 + 3 - 10 - 320},
        {3, 2, 2, 3, 0, 0},  // an unknown unit
        {9, 0, 2, 3, 0, 0},  // an unknown kind
    };
    for (const Case& c : cases) {
        cPicture p = Make(c.kind, c.unit, c.x, c.y, 1);
        if (c.kind >= 5) p.m_bSwapAnchoring = 0;  // stage kinds move with the stage
        int a, b;
        p.Locate(a, b);
        EXPECT_EQ(a, c.a) << c.kind << "/" << c.unit;
        EXPECT_EQ(b, c.b) << c.kind << "/" << c.unit;
    }
}

TEST_F(PictureTest, AnchoringWhileTheViewScrolls) {
    int a, b;
    // Kind 0, anchoring 0: kept in the stage from the first draw.
    cPicture fixedInStage = Make(0, 0, 0, 0, 0);
    fixedInStage.Locate(a, b);
    EXPECT_EQ(a, 303);
    m_scene.m_ScrollX.m_dPos += 50.25;
    fixedInStage.Locate(a, b);
    EXPECT_EQ(a, static_cast<int>(static_cast<int>(320 + 0.5 + 303) - (370.25 - 0.5)));
    // Swapped: stays on the screen.
    cPicture onScreen = Make(0, 0, 0, 0, 1);
    onScreen.Locate(a, b);
    EXPECT_EQ(a, 303);
    // A stage kind moves with the stage; swapped, it keeps its first place.
    cPicture moving = Make(5, 1, 100, 0, 0), kept = Make(5, 1, 100, 0, 1);
    int ka, kb;
    moving.Locate(a, b);
    kept.Locate(ka, kb);
    EXPECT_EQ(a, ka);
    m_scene.m_ScrollX.m_dPos += 10;
    const int before = a;
    moving.Locate(a, b);
    kept.Locate(ka, kb);
    EXPECT_EQ(a, before - 10);
    EXPECT_EQ(ka, before);
}

TEST_F(PictureTest, TimedPictureDrawsSixtyTimes) {
    PictureRequest r;
    r.nDisplayMode = 2;
    r.nFrames = 60;
    cPicture p;
    p.Init(r);
    int draws = 0;
    while (p.Draw(&g_BackBuffer, nullptr, 0) == 0 && draws < 100) ++draws;
    EXPECT_EQ(draws, 60);
    // Frozen, the frames are kept unless the picture runs while frozen.
    for (int run : {0, 1}) {
        r.bRunWhileFrozen = run;
        p.Init(r);
        for (int i = 0; i < 100 && p.Draw(&g_BackBuffer, nullptr, 1) == 0;) ++i;
        EXPECT_EQ(p.m_nFramesLeft, run ? -1 : 60);
    }
}

TEST_F(PictureTest, FollowingAChara) {
    g_vPlayers.resize(1);
    cCharaPlayer& hero = g_vPlayers[0];
    hero.m_nKey = 5;
    hero.m_dX = 500;
    hero.m_dY = 400;
    hero.m_nWidth = 32;
    hero.m_nHeight = 32;
    cPicture p = Make(2, 0, 7, 8);
    p.m_nCharaKey = 5;
    int x = 0, y = 0;
    p.GetPicturePosition(x, y);
    EXPECT_EQ(x, 516 - 20 + 3);
    EXPECT_EQ(y, 416 - 10 - 2);
    p.m_nX = x;
    p.m_nY = y;
    hero.m_dX += 40;  // the chara moves on
    int a, b;
    // Without the switch the position the command stored holds.
    g_SystemData.m_bCompat833 = 0;
    p.Locate(a, b);
    EXPECT_EQ(a, x - 320);
    // With it the picture asks at each draw.
    g_SystemData.m_bCompat833 = 1;
    cPicture q = p;
    q.Locate(a, b);
    EXPECT_EQ(a, x + 40 - 320);
    // The chara gone: the last known centre.
    g_vPlayers.clear();
    q.Locate(a, b);
    EXPECT_EQ(a, x + 40 - 320);
}

// A followed chara far beyond the int range (a runaway position) gives the
// int minimum as the x86 truncation does, a defined result, not an
// undefined conversion.
TEST_F(PictureTest, APositionBeyondTheIntRangeTruncatesToTheIntMinimum) {
    g_vPlayers.resize(1);
    cCharaPlayer& hero = g_vPlayers[0];
    hero.m_nKey = 5;
    hero.m_dX = 1e12;
    hero.m_dY = std::nan("");
    cPicture p = Make(2, 0, 7, 8);
    p.m_nCharaKey = 5;
    int x = 0, y = 0;
    p.GetPicturePosition(x, y);
    EXPECT_EQ(x, INT32_MIN + 3);
    EXPECT_EQ(y, WrapAdd(INT32_MIN, -2));
}

TEST_F(PictureTest, DrawPassRemovesAFinishedPictureWithItsSurface) {
    for (int i = 0; i < 3; ++i) {
        PictureRequest r;
        r.nPicture = i;
        r.nDisplayMode = i == 1 ? 2 : 0;
        m_scene.m_lstPictures.emplace_back().Init(r);
        g_lstRunTimeSurfaces.emplace_back().strFileName = "p" + std::to_string(i);
        g_lstRunTimeSlots.emplace_back().strFileName = "p" + std::to_string(i);
    }
    DrawPictures(m_scene, 0, 0);
    ASSERT_EQ(m_scene.m_lstPictures.size(), 2u);
    EXPECT_EQ(m_scene.m_lstPictures.back().m_nPicture, 2);
    EXPECT_EQ(g_lstRunTimeSurfaces.front().strFileName, "p0");
    EXPECT_EQ(g_lstRunTimeSurfaces.back().strFileName, "p2");
    EXPECT_EQ(g_lstRunTimeSlots.front().strFileName, "p0");
    EXPECT_EQ(g_lstRunTimeSlots.back().strFileName, "p2");
    ClearPictures();
    EXPECT_TRUE(m_scene.m_lstPictures.empty());
}

TEST(MultiLineExtentTest, LinesAndCharacters) {
    Font font;
    font.m_nPitch = 8;
    font.m_nLinePitch = 14;
    struct Case {
        const char* text;
        int w, h;
    } cases[] = {{"ab\n", 16, 28}, {"ab", 16, 14}, {"\x82\xa0\x82\xa2x\nabcdef", 48, 28}, {"", 0, 14}};
    for (const Case& c : cases) {
        int w = -1, h = -1;
        GetMultiLineExtent(font, w, h, c.text);
        EXPECT_EQ(w, c.w) << c.text;
        EXPECT_EQ(h, c.h) << c.text;
    }
    std::string longLine(700, 'a');
    int w, h;
    GetMultiLineExtent(font, w, h, longLine);
    EXPECT_EQ(w, 700 * 8);
}

}  // namespace
