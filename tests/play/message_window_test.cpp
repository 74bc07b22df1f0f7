// The in-game message window: the escape parser over CP932 text, choice
// points, the frames a timed window lives, placement by mode with latching
// and clamping, popups, and the draw pass reaching the windows.
#include <gtest/gtest.h>

#include "frontend/data/game_progress.h"
#include "media/text/font.h"
#include "play/chara_computer.h"
#include "play/chara_player.h"
#include "play/draw_stage.h"
#include "play/message_window.h"
#include "play/scene_play.h"
#include "tests/media/gfx/gfx_fixture.h"
#include "tests/play/play_fixture.h"
#include "media/gfx/dd_init.h"
#include "media/gfx/dd_surface.h"
#include "platform/cp932.h"
#include "media/gfx/run_time_surfaces.h"
#include "tests/support/play_trace.h"

namespace {

class MessageWindowTest : public playtest::PlaySceneTest {
protected:
    void SetUp() override {
        PlaySceneTest::SetUp();
        m_savedVars = g_Progress.m_vecCommonVar;
        g_Progress.m_vecCommonVar.assign(10, 0);
        g_Progress.m_vecCommonVar[3] = 55;
        m_scene.m_vStageVars[12] = 7;
        m_chara.m_vVars.assign(3, 0);
        m_chara.m_vVars[1] = 11;
        m_chara.m_vVars[2] = 22;
        m_flowVars[0] = 5;
        m_flowVars[1] = 6;
        m_scene.m_lpCurChara = &m_chara;
        m_scene.m_lpCurFlowVars = m_flowVars;
        m_savedPitch = g_Fonts[1].m_nLinePitch;
        g_Fonts[1].m_nLinePitch = 16;
    }
    void TearDown() override {
        g_Progress.m_vecCommonVar = m_savedVars;
        g_Fonts[1].m_nLinePitch = m_savedPitch;
        g_vPlayers.clear();
        PlaySceneTest::TearDown();
    }
    // A text window of the given size without a work surface.
    cMessageWindow Window(int anchor, int unit, int x, int y, int fixed = 0) {
        MessageWindowInit in;
        in.strText = "text";
        in.nAnchor = anchor;
        in.nUnit = unit;
        in.nX = x;
        in.nY = y;
        in.nOffsetX = 3;
        in.nOffsetY = -2;
        in.bFixed = fixed;
        in.bKeepSurface = 1;
        in.bNoOpening = 1;
        cMessageWindow w;
        w.Init(in);
        w.m_nWidth = 100;
        w.m_nHeight = 40;
        return w;
    }
    cCharaComputer m_chara;
    int32_t m_flowVars[2] = {};
    cCheckedVector<int32_t> m_savedVars;
    int m_savedPitch = 0;
};

TEST_F(MessageWindowTest, EscapesOverCp932Text) {
    struct Case {
        const char* in;
        const char* out;
        int refreshing;
    } cases[] = {
        {"#V3", "#V3", 0},          // the chara has variables 0..2
        {"#V2", "22", 0},
        {"#S12_4Z", "0007", 0},
        {"#S12_4", "7", 0},
        {"#S12_P", "+7", 0},
        {"#s12_49z", "000000007", 0},  // lower case; the last digit counts
        {"#C3.", "55", 0},
        {"#C3,", "55,", 0},
        {"#VC3", "55", 0},   // C decides among several kinds
        {"#F2x", "6x", 0},
        {"#F3", "#F3", 0},
        {"#C0", "#C0", 0},
        {"#C10", "#C10", 0},  // at the list's size
        {"#S", "#S", 0},
        {"#S_4", "#S_4", 0},
        {"ab#", "ab#", 0},
        {"#F1 #V1 #C3", "? ? 55", 1},
        {"\x81\x40#S12", "\x81\x40" "7", 0},
        {"\xb1#C3\x81", "\xb1" "55\x81", 0},  // half-width kana, a lone final lead byte
        {"#R1_S2", "#R1_S2", 0},  // choice points only with choices on
    };
    for (const Case& c : cases) {
        std::string s = c.in;
        FormatMessageText(s, 1, 0, nullptr, c.refreshing);
        EXPECT_EQ(s, c.out) << c.in;
    }
    m_scene.m_vStageVars[12] = -7;
    std::string s = "#S12_3P";
    FormatMessageText(s, 1, 0, nullptr, 0);
    EXPECT_EQ(s, "-7");
}

TEST_F(MessageWindowTest, ChoicePointsAtThePen) {
    std::vector<MessageChoice> list;
    std::string s = "ab#R2_S5.\n\x82\xa0#R-3_S0 #R7_D\xb1#R1\n#R_C1#R4_V9#R5_F7#R6_CS3";
    FormatMessageText(s, 0, 1, &list, 0);
    EXPECT_EQ(s, "ab \n\x82\xa0   \xb1 \n#R_C1   ");
    const std::vector<MessageChoice> expected = {
        {32, 0, 2, 3, 5},   {16, 16, -3, 3, 1}, {48, 16, 7, 1, 0}, {80, 16, 1, 0, 0},
        {80, 32, 4, 4, 2},  // V: at most the chara's last index
        {96, 32, 5, 5, 2},  {112, 32, 6, 2, 3},
    };
    EXPECT_EQ(list, expected);
    // The value is held to six digits.
    list.clear();
    s = "#R12345678";
    FormatMessageText(s, 0, 1, &list, 0);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].value, 999999);
}

TEST_F(MessageWindowTest, TextEndingInALineFeedIsOneLineHigher) {
    int w1, h1, w2, h2;
    GetTextExtent("ab", w1, h1);
    GetTextExtent("ab\n", w2, h2);
    EXPECT_EQ(h1, 16 + 2);
    EXPECT_EQ(h2, h1 + 16);
}

// On the 3D device the message font lays text out in cells, so a window is
// the widest line's characters times the pitch (a two-byte character is one
// cell); the 2D device and a font without a pitch measure the glyphs.
TEST_F(MessageWindowTest, WindowSizeFollowsTheDevicesTextMeasure) {
    const std::string text = "ab\n\x82\xa0xyz";
    const int savedPitch = g_Fonts[1].m_nPitch;
    DTCONTEXT* const savedDevice = lpDTCon;
    DTCONTEXT device;
    struct Case {
        bool d3d;
        int pitch;
        bool cells;
    } cases[] = {{true, 12, true}, {true, 0, false}, {false, 12, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "d3d " << c.d3d << " pitch " << c.pitch);
        lpDTCon = c.d3d ? &device : nullptr;
        g_Fonts[1].m_nPitch = c.pitch;
        int w = 0, h = 0;
        GetTextExtent(text, w, h);
        const text::TextSize glyphs = g_Fonts[1].GetTextSize(text);
        EXPECT_EQ(w, c.cells ? 4 * 12 + 2 : glyphs.w + 2);
        EXPECT_EQ(h, 2 * 16 + 2);
    }
    lpDTCon = savedDevice;
    g_Fonts[1].m_nPitch = savedPitch;
}

TEST_F(MessageWindowTest, TimedWindowCountsOnlyUnpausedUnlessAsked) {
    MessageWindowInit in;
    in.strText = "x";
    in.nDurationMode = 2;
    in.nFrames = 30;
    in.bKeepSurface = 1;
    in.bChoices = 1;
    cMessageWindow w;
    w.Init(in);
    EXPECT_EQ(w.m_bChoices, 0);
    EXPECT_EQ(w.m_bOpening, 0);
    int frames = 1;
    while (w.UpdateMessageWindow(&g_BackBuffer, 0) == 0 && frames < 100) ++frames;
    EXPECT_EQ(frames, 31);
    for (int count : {0, 1}) {
        in.bCountWhilePaused = count;
        w.Init(in);
        for (int i = 0; i < 40 && w.UpdateMessageWindow(&g_BackBuffer, 1) == 0;) ++i;
        EXPECT_EQ(w.m_nFramesLeft, count ? -1 : 30);
    }
    // A window that stays opens over 20 frames; its text shows from the 20th.
    MessageWindowInit open;
    open.strText = "x";
    open.bKeepSurface = 1;
    w.Init(open);
    for (int i = 0; i < 19; ++i) w.UpdateMessageWindow(&g_BackBuffer, 0);
    EXPECT_EQ(w.m_bOpening, 1);
    w.UpdateMessageWindow(&g_BackBuffer, 0);
    EXPECT_EQ(w.m_bOpening, 0);
    open.bNoOpening = 1;
    w.Init(open);
    EXPECT_EQ(w.m_bOpening, 0);
}

TEST_F(MessageWindowTest, PlacementByMode) {
    const int bx = m_scene.m_ScrollX.m_nBorder, by = m_scene.m_ScrollY.m_nBorder;
    m_scene.m_ScrollX.m_dPos = 100.75;
    m_scene.m_ScrollY.m_dPos = 50.25;
    g_vPlayers.resize(1);
    cCharaPlayer& hero = g_vPlayers[0];
    hero.m_nKey = 9;
    hero.m_dX = 300.5;
    hero.m_dY = 200.5;
    hero.m_nDrawOffsetX = 4;
    hero.m_nDrawOffsetY = 6;
    hero.m_nDrawWidth = 32;
    hero.m_nDrawHeight = 40;
    const int cx = 200, cy = 150;  // (300.5 - 100), (200.5 - 50)
    struct Case {
        int mode, unit, x, y;
    } cases[] = {
        {0, 0, 3 - 50 + 320, -2 - 20 + 240},
        {1, 0, cx - 50 + 16 - 4 + 3, cy - 6 - 40 - 2},
        {4, 0, cx - 50 + 16 - 4 + 3, cy - 6 - 40 - 2},
        {2, 0, cx - 50 + 16 - 4 + 3, cy - 6 + 40 - 2 + 1},
        {6, 0, cx - 50 + 16 - 4 + 3, cy - 20 + 20 - 6 - 2},
        {7, 0, 2 * 32 + 3, 3 * 32 - 2},
        {7, 1, 2 + 3, 3 - 2},
        {8, 0, 64 - 50 + 3 + 16, 96 - 20 - 2 + 16},
        {8, 1, 2 - 50 + 3, 3 - 20 - 2},
        {9, 0, static_cast<int>((bx + 2) * 32 + 3 - 100.75), static_cast<int>((by + 3) * 32 - 2 - 50.25)},
        {9, 1, static_cast<int>(bx * 32 + 3 + 2 - 100.75), static_cast<int>(by * 32 - 2 + 3 - 50.25)},
        {10, 0, static_cast<int>((bx + 2) * 32 - 50 + 3 + 16 - 100.75),
         static_cast<int>((by + 3) * 32 - 20 - 2 + 16 - 50.25)},
        {10, 1, static_cast<int>(bx * 32 - 50 + 3 + 2 - 100.75), static_cast<int>(by * 32 - 20 - 2 + 3 - 50.25)},
        {11, 0, 0, 0},
    };
    for (const Case& c : cases) {
        cMessageWindow w = Window(c.mode, c.unit, 2, 3);
        w.m_nTargetId = 9;
        int x, y;
        ASSERT_TRUE(w.Place(x, y)) << c.mode;
        EXPECT_EQ(x, c.x) << c.mode << "/" << c.unit;
        EXPECT_EQ(y, c.y) << c.mode << "/" << c.unit;
    }
    // The chara gone: the window (a popup too) has finished.
    cMessageWindow w = Window(1, 0, 0, 0);
    w.m_nTargetId = 77;
    EXPECT_EQ(w.UpdateMessageWindow(&g_BackBuffer, 0), 1);
    w.m_nKind = MESWIN_ICON;
    EXPECT_EQ(w.UpdateMessageWindow(&g_BackBuffer, 0), 1);
}

TEST_F(MessageWindowTest, LatchingAndClamping) {
    g_vPlayers.resize(1);
    g_vPlayers[0].m_nKey = 9;
    g_vPlayers[0].m_dX = 300;
    struct Case {
        int mode, fixed;
        bool staysInStage, staysOnScreen;
    } cases[] = {
        {0, 0, true, false}, {7, 0, true, false}, {8, 0, true, false}, {0, 1, false, true},
        {1, 1, false, true}, {1, 0, false, false}, {9, 1, false, true}, {9, 0, true, false},
    };
    for (const Case& c : cases) {
        m_scene.m_ScrollX.m_dPos = 0;
        cMessageWindow w = Window(c.mode, 1, 200, 100, c.fixed);
        w.m_nTargetId = 9;
        w.UpdateMessageWindow(&g_BackBuffer, 0);
        const int first = w.m_nDrawX;
        m_scene.m_ScrollX.m_dPos = 40;
        g_vPlayers[0].m_dX = 310;  // the chara moves too
        w.UpdateMessageWindow(&g_BackBuffer, 0);
        g_vPlayers[0].m_dX = 300;
        EXPECT_EQ(w.m_nDrawX == first - 40, c.staysInStage) << c.mode << "/" << c.fixed;
        EXPECT_EQ(w.m_nDrawX == first, c.staysOnScreen) << c.mode << "/" << c.fixed;
    }
    // Clamped to the screen: 20 from the top, 2 from the right and bottom.
    struct Clamp {
        int x, y, ex, ey;
    } clamps[] = {{-5, 10, 0, 20}, {560, 450, 540, 440}, {538, 438, 538, 438}, {539, 439, 540, 440}};
    for (const Clamp& c : clamps) {
        cMessageWindow w = Window(7, 1, c.x - 3, c.y + 2, 1);
        w.m_bClampToScreen = 1;
        w.UpdateMessageWindow(&g_BackBuffer, 0);
        EXPECT_EQ(w.m_nDrawX, c.ex) << c.x;
        EXPECT_EQ(w.m_nDrawY, c.ey) << c.y;
    }
}

TEST_F(MessageWindowTest, PopupRisesAndTheDrawPassDeletesFinishedWindows) {
    g_vPlayers.resize(1);
    g_vPlayers[0].m_nKey = 9;
    g_vPlayers[0].m_dX = 300;
    g_vPlayers[0].m_dY = 200;
    ShowPickupWindow(9, "", 0, 0, {});
    ASSERT_EQ(m_scene.m_lstMessages.size(), 1u);
    cMessageWindow& w = m_scene.m_lstMessages.front();
    UpdateMessageWindows(m_scene, 0);
    const int y0 = w.m_nDrawY;
    for (int i = 0; i < 8; ++i) UpdateMessageWindows(m_scene, 0);
    EXPECT_EQ(w.m_nDrawY, y0 - 2);  // 9 frames: (30 - 21) >> 2
    std::vector<std::string> trace;
    testsupport::PlayTrace().drawn = &trace;
    for (int i = 0; i < 22; ++i) UpdateMessageWindows(m_scene, 0);
    testsupport::PlayTrace().drawn = nullptr;
    EXPECT_TRUE(m_scene.m_lstMessages.empty());
    EXPECT_EQ(trace.front(), "Messages");
}

// Work surfaces from the pool on a device: made at Init, re-made at their
// place when a refresh changes the size, given back when the window ends.
class MessageSurfaceTest : public gfxtest::GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        ASSERT_TRUE(DDInit(1, nullptr, 640, 480, 32, 0, 1, 1, 60, 0, SurfaceTable, BitmapTable, 72, 0));
        m_saved = g_lpPlayScene;
        g_lpPlayScene = &m_scene;
        m_scene.m_ScrollX.Init(0, 40);
        m_scene.m_ScrollY.Init(1, 30);
        g_Fonts[1].InitFont(SJ("ＭＳ ゴシック"), 0, 16, 16, 16, 241, 0, 1, nullptr, 1, 240, nullptr, 0);
    }
    void TearDown() override {
        m_scene.m_lstMessages.clear();
        DDReleaseSurfaceList(g_lstMessageSurfaces);
        g_lstMessageSurfaces.clear();
        g_lstMessageSlots.clear();
        g_Fonts[1].Release();
        g_lpPlayScene = m_saved;
        GfxTest::TearDown();
    }
    cScenePlay m_scene;
    cScene* m_saved = nullptr;
};

TEST_F(MessageSurfaceTest, PoolSurfacesFollowTheWindows) {
    MessageWindowInit timed;
    timed.strText = "ab\ncd";
    timed.nDurationMode = 2;
    timed.nFrames = 2;
    MessageWindowInit refreshed;
    refreshed.strText = "#S1";
    refreshed.bVariables = 1;
    refreshed.bRefresh = 1;
    refreshed.nRefreshFrames = 1;
    m_scene.m_vStageVars[1] = 5;
    m_scene.m_lstMessages.emplace_back().Init(timed);
    m_scene.m_lstMessages.emplace_back().Init(refreshed);
    cMessageWindow& a = m_scene.m_lstMessages.front();
    cMessageWindow& b = m_scene.m_lstMessages.back();
    ASSERT_EQ(g_lstMessageSurfaces.size(), 2u);
    EXPECT_EQ(a.m_lpSurface, &g_lstMessageSurfaces.front());
    EXPECT_EQ(a.m_lpSurface->nHeight, a.m_nHeight);
    EXPECT_EQ(a.m_nHeight, 2 * 16 + 2);
    EXPECT_EQ(b.m_strText, "5");
    const int narrow = b.m_nWidth;
    // A longer value: the same place in the pool, a wider surface.
    m_scene.m_vStageVars[1] = 123456;
    UpdateMessageWindows(m_scene, 0);
    EXPECT_EQ(b.m_strText, "123456");
    EXPECT_GT(b.m_nWidth, narrow);
    EXPECT_EQ(b.m_lpSurface, &g_lstMessageSurfaces.back());
    EXPECT_EQ(b.m_lpSurface->nWidth, b.m_nWidth);
    // The timed window ends on its third frame and gives its surface back.
    UpdateMessageWindows(m_scene, 0);
    UpdateMessageWindows(m_scene, 0);
    ASSERT_EQ(m_scene.m_lstMessages.size(), 1u);
    ASSERT_EQ(g_lstMessageSurfaces.size(), 1u);
    EXPECT_EQ(m_scene.m_lstMessages.front().m_lpSurface, &g_lstMessageSurfaces.front());
    EXPECT_EQ(g_lstMessageSlots.size(), 1u);
    // Set up again in place: still one surface, the new text's size.
    MessageWindowInit again;
    again.strText = "longer text";
    cMessageWindow& c = m_scene.m_lstMessages.front();
    c.Reinit(again);
    ASSERT_EQ(g_lstMessageSurfaces.size(), 1u);
    EXPECT_EQ(c.m_lpSurface, &g_lstMessageSurfaces.front());
    EXPECT_EQ(c.m_lpSurface->nWidth, c.m_nWidth);
    EXPECT_EQ(c.m_strText, "longer text");
}

// A play scene that ends with a window still open gives its work surface
// back: the pool outlives the scene, and nothing else would free it.
TEST_F(MessageSurfaceTest, AnEndingSceneGivesBackItsWindowsSurfaces) {
    {
        cScenePlay ending;
        g_lpPlayScene = &ending;
        MessageWindowInit in;
        in.strText = "still open";
        ending.m_lstMessages.emplace_back().Init(in);
        ASSERT_EQ(g_lstMessageSurfaces.size(), 1u);
        g_lpPlayScene = &m_scene;
    }
    EXPECT_TRUE(g_lstMessageSurfaces.empty());
    EXPECT_TRUE(g_lstMessageSlots.empty());
}

}  // namespace
