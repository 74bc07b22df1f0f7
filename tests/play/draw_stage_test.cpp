// The draw pass on a Direct3D device: its order with one and eight layers
// and in the menu, frozen passes, passes outside PLAY that leave the play
// untouched, backgrounds, the status bar's layout, the time warning, the
// screen colour and the light mask.
#include <gtest/gtest.h>

#include "base/frame_timing.h"
#include "base/main_thread.h"
#include "base/random.h"
#include "base/scene_state.h"
#include "media/scene.h"
#include "engine/formula.h"
#include "engine/param_op.h"
#include "engine/status_op.h"
#include "frontend/data/game_progress.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_frame.h"
#include "play/chara_computer.h"
#include "play/chara_player.h"
#include "play/condition_areas.h"
#include "play/draw_stage.h"
#include "play/map_cell.h"
#include "play/scene_play.h"
#include "play/status_bar.h"
#include "records/cond.h"
#include "records/stage.h"
#include "records/system_data.h"
#include "tests/support/replay_io.h"
#include "records/cmd_kinds.h"
#include "tests/play/place_object.h"
#include "tests/support/stage_builder.h"
#include "tests/support/sound_log.h"
#include "tests/media/gfx/gfx_fixture.h"
#include "tests/support/play_trace.h"

namespace {

std::vector<std::string> g_trace;

// A block condition that holds with a random operand (0..32767, kept in the
// condition) and latches in its cell once it has held.
void GiveRandomCondition(cMapCell& cell) {
    cCond c;
    c.m_nKind = COND_STATUS;
    c.m_nLeftSource = 1;
    c.m_nLeftVarKind = 0;
    c.m_nVarIndex = 0;
    c.m_nOp = COND_OP_GREATER_EQUAL;
    c.m_nRightSource = SRC_RANDOM;
    c.m_nRandomMin = 0;
    c.m_nRandomMax = 32767;
    c.m_nValue = -1;
    cell.m_vecCond = {c};
    cell.m_bCondLatch = 1;
    g_Progress.m_vecCommonVar.assign(10, 0);
    g_Progress.m_vecCommonVar.at(0) = 40000;
}

using playtest::PlaceObject;

class DrawStageTest : public gfxtest::GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        SetMainThread();  // sound requests are served at once
        m_savedScene = g_lpPlayScene;
        g_lpPlayScene = &m_scene;
        m_savedStage = g_Stage;
        m_savedSystem = g_SystemData;
        m_scene.m_ScrollX.Init(0, 40);
        m_scene.m_ScrollY.Init(1, 30);
        m_scene.m_ScrollX.m_dPos = 320;
        m_scene.m_ScrollY.m_dPos = 320;
        m_scene.m_nState = CSCENEPLAY_PLAY;
        m_scene.m_bNoTimeLimit = 1;
        g_vMapCells.assign(size_t(m_scene.m_ScrollX.m_nStride) * m_scene.m_ScrollY.m_nCells, cMapCell{});
        g_Stage.m_vecBackground.clear();
        g_trace.clear();
        testsupport::PlayTrace().drawn = &g_trace;
        // The miss resolution begins with the replay's automatic save.
        testsupport::ReplayIo().autoSave = [] {
            g_trace.push_back("Miss");
            return 0;
        };
        m_savedLives = g_Progress.m_nLives;
        g_Progress.m_nLives = 0;  // the miss ends the game: no new set-up
    }
    void TearDown() override {
        testsupport::PlayTrace().drawn = nullptr;
        testsupport::ReplayIo().Reset();
        g_Progress.m_nLives = m_savedLives;
        g_vPlayers.clear();
        g_lstCharas.clear();
        g_lstItems.clear();
        g_vMapCells.clear();
        DDReleaseSurfaceData(&m_scene.m_LightMask);
        DDReleaseSurfaceData(&m_scene.m_LightHole);
        g_Stage = m_savedStage;
        g_SystemData = m_savedSystem;
        g_lpPlayScene = m_savedScene;
        GfxTest::TearDown();
    }
    // Hero in layer 3, charas 10 (layer 0) and 11 (layer 5), item 20, shot
    // 30 (layer 2), all on screen.
    int32_t m_savedLives = 0;
    void Populate() {
        g_vPlayers.resize(1);
        PlaceObject(g_vPlayers[0], 1, 400, 400);
        g_vPlayers[0].m_Def.m_nZ = 3;
        g_lstCharas.resize(2);
        PlaceObject(g_lstCharas.front(), 10, 500, 400);
        g_lstCharas.front().m_Def.m_nZ = 0;
        PlaceObject(g_lstCharas.back(), 11, 600, 400);
        g_lstCharas.back().m_Def.m_nZ = 5;
        g_lstItems.resize(1);
        PlaceObject(g_lstItems.front(), 20, 700, 400);
        m_scene.m_lstShots.resize(1);
        PlaceObject(m_scene.m_lstShots.front(), 30, 450, 500);
        m_scene.m_lstShots.front().m_EdShot.m_nZ = 2;
    }
    uint32_t Pixel(int x, int y) {
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        if (!DDSurfaceToXrgb8888(&g_BackBuffer, px, w, h)) return 0xDEADBEEF;
        return px[size_t(y) * w + x] & 0xFFFFFF;
    }
    cScenePlay m_scene;
    cScene* m_savedScene = nullptr;
    cStage m_savedStage;
    cSystemData m_savedSystem;
};

TEST_F(DrawStageTest, OrderOfThePassWithOneAndEightLayersAndInTheMenu) {
    ASSERT_TRUE(InitAll(1, 32, 0));
    Populate();
    const std::vector<std::string> head = {"DrawBackgrounds 0", "Pictures 0", "Effects 0", "DrawBlocks 0"};
    const std::vector<std::string> tail = {"DrawBlocks 1", "DrawBackgrounds 1", "Areas",        "Pictures 1",
                                           "Effects 1",    "Messages",          "ScreenEffect"};
    auto join = [&](std::vector<std::string> middle) {
        std::vector<std::string> all = head;
        all.insert(all.end(), middle.begin(), middle.end());
        all.insert(all.end(), tail.begin(), tail.end());
        return all;
    };
    g_Stage.m_bEightLayers = 0;
    const int blink = ConditionAreaBlink();
    DrawStage(m_scene, 1, 0, 0, 0);
    EXPECT_EQ(g_trace, join({"DrawPlayer", "Item 20", "Chara 10", "Chara 11", "Shot 30"}));
    EXPECT_EQ(ConditionAreaBlink(), (blink + 1) & 31);  // the areas' pass ran
    g_trace.clear();
    g_Stage.m_bEightLayers = 1;
    DrawStage(m_scene, 1, 0, 0, 0);
    EXPECT_EQ(g_trace, join({"Item 20", "Chara 10", "Shot 30", "DrawPlayer", "Chara 11"}));
    // The menu hides the stage only with the option, and only outside PLAY.
    m_scene.m_nState = CSCENEPLAY_MENU;
    g_SystemData.OptHideStageInMenu = 1;
    g_trace.clear();
    DrawStage(m_scene, 0, 1, 0, 1);
    EXPECT_EQ(g_trace, (std::vector<std::string>{"DrawBackgrounds 0", "DrawBackgrounds 1"}));
    g_SystemData.OptHideStageInMenu = 0;
    g_trace.clear();
    DrawStage(m_scene, 0, 1, 0, 1);
    EXPECT_EQ(g_trace.size(), 16u);
}

TEST_F(DrawStageTest, FrozenPassesScrollBackgroundsAndCountGaugesButNoAnimation) {
    ASSERT_TRUE(InitAll(1, 32, 0));
    testbmp::Write("bmp\\Back.bmp", gfxtest::SheetBmp8(64, 64));
    ASSERT_TRUE(DDCreateSurfaceFromFile(&SurfaceTable[56], "bmp\\Back.bmp", 1, 32, 0, 0, 0, 0, 0, 0, 0) == 0);
    g_Stage.m_vecBackground.resize(1);
    cEdBackground& bg = g_Stage.m_vecBackground[0];
    bg.m_bAutoX = 1;
    bg.m_dAutoSpeedX = 3;
    Populate();
    cCharaPlayer& hero = g_vPlayers[0];
    static const int steps[] = {1, 1, 0, 2, 1, 0, ANIME_RESTART, 0, 0};
    const int* lists[] = {steps, nullptr};
    hero.m_Anime.BuildTracks(lists);
    hero.m_HPGauge.nTimer = 10;
    hero.m_Def.m_nMaxHP = 10;
    hero.m_nHP = 10;
    m_scene.m_nState = CSCENEPLAY_READY;
    DrawStage(m_scene, 0, 1, 0, 0);
    EXPECT_EQ(bg.m_dOffsetX, 61);  // 0 - 3 wrapped into the bitmap's width
    EXPECT_EQ(hero.m_HPGauge.nTimer, 9);
    EXPECT_EQ(hero.m_Anime.m_nTicks, 0);
    g_SystemData.OptHideStageInMenu = 0;
    m_scene.m_nState = CSCENEPLAY_MENU;  // the menu holds the backgrounds
    DrawStage(m_scene, 0, 1, 0, 0);
    EXPECT_EQ(bg.m_dOffsetX, 61);
    EXPECT_EQ(hero.m_HPGauge.nTimer, 8);
    m_scene.m_nState = CSCENEPLAY_PLAY;
    DrawStage(m_scene, 1, 0, 0, 0);
    EXPECT_EQ(bg.m_dOffsetX, 58);
    EXPECT_EQ(hero.m_Anime.m_nStep, 1);
}

// The pass draws shots through the shot's own drawing: its animation ticks
// in a play pass and stands still in a frozen one, and a hidden shot is
// not drawn.
TEST_F(DrawStageTest, ShotsAreDrawnByTheShotsOwnDrawing) {
    ASSERT_TRUE(InitAll(1, 32, 0));
    testbmp::Write("bmp\\Shot.bmp", gfxtest::SheetBmp8(128, 480));
    ASSERT_TRUE(DDCreateSurfaceFromFile(&SurfaceTable[20], "bmp\\Shot.bmp", 1, 32, 0, 0, 0, 0, 0, 0, 0) == 0);
    Populate();
    cShot& shot = m_scene.m_lstShots.front();
    static const int steps[] = {3, 8, 0, 4, 8, 0, ANIME_RESTART, 0, 0};
    const int* lists[] = {steps, nullptr};
    shot.m_Anime.BuildTracks(lists);
    shot.m_nDrawWidth = shot.m_nDrawHeight = 16;
    DrawStage(m_scene, 1, 1, 0, 0);
    EXPECT_EQ(shot.m_Anime.m_nTicks, 0) << "frozen";
    DrawStage(m_scene, 1, 0, 0, 0);
    EXPECT_EQ(shot.m_Anime.m_nTicks, 1);
    const int x = 450 - 320 + 4, y = 500 - 320 + 4;
    const uint32_t drawn = Pixel(x, y);
    shot.m_EdShot.m_bHidden = 1;
    DrawStage(m_scene, 1, 1, 0, 0);
    EXPECT_NE(Pixel(x, y), drawn) << "hidden by its definition";
}

TEST_F(DrawStageTest, PassesOutsidePlayLeaveThePlayAsItWas) {
    testbmp::Write("bmp\\Block.bmp", gfxtest::SheetBmp8(64, 64));
    ASSERT_TRUE(InitAll(1, 32, 0));
    g_SystemData.OptHideStageInMenu = 0;
    const cCheckedVector<int32_t> savedVars = g_Progress.m_vecCommonVar;
    // A block on screen at column 12, row 11 (screen 64, 32).
    cMapCell& cell = g_vMapCells[size_t(12 + (11 << m_scene.m_ScrollX.m_nShift))];
    GiveRandomCondition(cell);
    const int32_t& kept = cell.m_vecCond.at(0).m_nValue;
    cell.m_nGraphic = 1;
    cell.m_nGraphicKind = 0;
    g_vPlayers.resize(1);
    PlaceObject(g_vPlayers[0], 1, 400, 400);
    g_lstCharas.resize(2);
    cCharaComputer& fixed = g_lstCharas.front();
    PlaceObject(fixed, 10, 500, 400);
    fixed.m_Draw.abFixed[0] = 1;
    fixed.m_Draw.anFixedPos[0] = 300;
    fixed.m_nScrLeft = 7;
    cCharaComputer& dead = g_lstCharas.back();
    PlaceObject(dead, 11, 520, 400);
    dead.m_bDead = 1;  // no death effect: its display has ended
    dead.m_nSide = 1;
    struct Case {
        int state, passes;
    } cases[] = {{CSCENEPLAY_FADEIN, 10},  {CSCENEPLAY_READY, 1},    {CSCENEPLAY_READY, 80},
                 {CSCENEPLAY_READY, 159},  {CSCENEPLAY_MENU, 5},     {CSCENEPLAY_STAGEEND, 20},
                 {CSCENEPLAY_RETRY, 3},    {CSCENEPLAY_GAMEOVER, 3}};
    SRand(12345);
    for (const Case& t : cases) {
        SCOPED_TRACE(t.state * 1000 + t.passes);
        m_scene.m_nState = t.state;
        const uint32_t before = RandState();
        for (int i = 0; i < t.passes; ++i) DrawStage(m_scene, 0, 1, 0, 1);
        EXPECT_EQ(RandState(), before);
        EXPECT_EQ(cell.m_nLatch, 0);
        EXPECT_EQ(g_lstCharas.size(), 2u);
        EXPECT_EQ(fixed.m_nScrLeft, 7);
        EXPECT_NE(Pixel(64 + 1, 32 + 1), gfxtest::PalColor(16));  // the block is drawn
    }
    // The drawing generator runs on from seed 1 across those passes: its state
    // is seed 1 advanced by at least one draw a pass, the last of which the
    // condition kept.
    {
        SRand(1);
        int last = -1, draws = 0;
        while (RandState() != m_scene.m_nDrawRandState && draws < 100000) last = Rand(), ++draws;
        EXPECT_GE(draws, 281);
        EXPECT_EQ(kept, last);
    }
    // Nested loops: the loop thread's own generator from seed 1.
    for (int passes : {0, 1, 30}) {
        SCOPED_TRACE(passes);
        SRand(777);
        const uint32_t drawState = m_scene.m_nDrawRandState;
        cell.m_vecCond.at(0).m_nValue = -1;
        {
            cFreshRandScope loop;
            m_scene.m_bInNestedLoop = 1;
            for (int i = 0; i < passes; ++i) DrawStage(m_scene, 0, 1, 0, 0);
            m_scene.m_bInNestedLoop = 0;
        }
        EXPECT_EQ(RandState(), 777u);
        EXPECT_EQ(m_scene.m_nDrawRandState, drawState);
        // What the loop drew came from seed 1.
        SRand(1);
        bool fromSeed1 = passes == 0 && kept == -1;
        for (int i = 0; i < passes * 4 && !fromSeed1; ++i) fromSeed1 = Rand() == kept;
        EXPECT_TRUE(fromSeed1);
        EXPECT_EQ(cell.m_nLatch, 0);
        EXPECT_EQ(g_lstCharas.size(), 2u);
        EXPECT_EQ(fixed.m_nScrLeft, 7);
    }
    // The PLAY pass draws from the play's generator, latches and removes.
    SRand(12345);
    m_scene.m_nState = CSCENEPLAY_PLAY;
    for (int i = 0; i < 4 && !cell.m_nLatch; ++i) DrawStage(m_scene, 1, 0, 0, 0);
    EXPECT_NE(RandState(), 12345u);
    EXPECT_EQ(cell.m_nLatch, 1);
    EXPECT_EQ(g_lstCharas.size(), 1u);
    EXPECT_EQ(fixed.m_nScrLeft, 300);
    g_Progress.m_vecCommonVar = savedVars;
}

TEST_F(DrawStageTest, TheHerosMissIsResolvedOnlyByAPlayPass) {
    ASSERT_TRUE(InitAll(1, 32, 0));
    g_Stage.m_nFrameRate = 60;
    g_vPlayers.resize(1);
    PlaceObject(g_vPlayers[0], 1, 400, 400);
    g_vPlayers[0].m_bDead = 1;
    int missAt = 0;
    for (int pass = 1; pass <= 70 && !missAt; ++pass) {
        DrawStage(m_scene, 0, 1, 0, 0);  // frozen passes between do not count
        g_trace.clear();
        DrawPlayer(m_scene, 0, 1);
        if (!g_trace.empty() && g_trace.back() == "Miss") missAt = pass;
    }
    EXPECT_EQ(missAt, 61);
    g_trace.clear();
    DrawPlayer(m_scene, 1, 0);
    EXPECT_EQ(g_trace, std::vector<std::string>{"DrawPlayer"});
}

TEST_F(DrawStageTest, BackgroundsTileFromTheScrollTimesTheParallax) {
    ASSERT_TRUE(InitAll(1, 32, 0));
    // 64 x 64, index 1 + x / 8 + 8 * (y / 8).
    std::vector<uint32_t> colors(256);
    for (int i = 0; i < 256; ++i) colors[size_t(i)] = gfxtest::PalColor(i);
    std::vector<uint8_t> px(64 * 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) px[size_t(y) * 64 + x] = uint8_t(1 + x / 8 + 8 * (y / 8));
    testbmp::Write("bmp\\Back.bmp", testbmp::Make8(64, 64, colors, px));
    ASSERT_EQ(DDCreateSurfaceFromFile(&SurfaceTable[56], "bmp\\Back.bmp", 1, 32, 0, 0, 0, 0, 0, 0, 0), 0);
    g_Stage.m_vecBackground.resize(2);
    g_Stage.m_vecBackground[1].m_bShow = 0;
    cEdBackground& bg = g_Stage.m_vecBackground[0];
    auto at = [&](int bx, int by) { return gfxtest::PalColor(1 + (bx % 64) / 8 + 8 * ((by % 64) / 8)); };
    struct Case {
        double parallax, scrollX, scrollY;
        int bx, by;  // bitmap point at screen (0, 0)
    } cases[] = {{0, 900, 700, 0, 0}, {1, 345.4, 330, 25, 10}, {1, 345.6, 330.9, 26, 10}, {1, 300, 320, 44, 0},
                 {0.5, 400, 256, 40, 32}};
    for (const Case& t : cases) {
        SCOPED_TRACE(t.scrollX);
        bg.m_dParallaxX = bg.m_dParallaxY = t.parallax;
        m_scene.m_ScrollX.m_dPos = t.scrollX;
        m_scene.m_ScrollY.m_dPos = t.scrollY;
        DrawBackgrounds(m_scene, 0);
        EXPECT_EQ(Pixel(0, 0), at(t.bx, t.by));
        EXPECT_EQ(Pixel(64 * 3, 64 * 2), at(t.bx, t.by));  // tiled
    }
    // None shown, or a shown one without an image: colour 16.
    DDFillSurface(&g_BackBuffer, 3);
    bg.m_bShow = 0;
    DrawBackgrounds(m_scene, 0);
    EXPECT_EQ(Pixel(5, 5), gfxtest::PalColor(16));
    bg.m_bShow = 1;
    DDReleaseSurfaceData(&SurfaceTable[56]);
    DDFillSurface(&g_BackBuffer, 3);
    DrawBackgrounds(m_scene, 0);
    EXPECT_EQ(Pixel(5, 5), gfxtest::PalColor(16));
}

TEST_F(DrawStageTest, StatusItemsShareTheWidthEvenly) {
    auto& items = g_SystemData.m_vecStatusItems;
    items.assign(5, cSysStatusItem{});
    struct Case {
        const char* name;
        int shown[5], icon[5], digits[5];
        const char* labels[5];
        int gap, xs[5];
    } cases[] = {
        {"five icons", {1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}, {6, 6, 0, 0, 2}, {"", "", "", "", ""}, 39,
         {39, 190, 341, 446, 551}},
        {"two labels", {1, 0, 0, 0, 1}, {0, 0, 0, 0, 1}, {6, 0, 0, 0, 2}, {"SC", "", "", "", ""}, 154,
         {154, 436, 436, 436, 436}},
        {"gauges with labels", {0, 0, 1, 1, 0}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {"", "", "HP", "SPX", ""}, 152,
         {152, 152, 152, 386, 386}},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        for (int i = 0; i < 5; ++i) {
            items[size_t(i)].m_bShow = t.shown[i];
            items[size_t(i)].m_bIcon = t.icon[i];
            items[size_t(i)].m_nDigits = t.digits[i];
            items[size_t(i)].m_strLabel = t.labels[i];
        }
        int xs[5];
        EXPECT_EQ(StatusItemLayout(xs), t.gap);
        for (int i = 0; i < 5; ++i)
            if (t.shown[i]) EXPECT_EQ(xs[i], t.xs[i]) << i;
    }
}

TEST_F(DrawStageTest, TimeWarningOnlyWithTimeSoundAtTheSecondTick) {
    ASSERT_TRUE(InitAll(1, 32, 0));
    m_scene.m_bNoTimeLimit = 0;
    g_Stage.m_nWarnTime = 20;
    struct Case {
        int time, timeSound, tick, sounds;
    } cases[] = {{20, 1, 1, 1}, {5, 1, 1, 1}, {21, 1, 1, 0}, {0, 1, 1, 0}, {20, 0, 1, 0}, {20, 1, 0, 0}};
    soundlog::Scope sounds;
    for (const Case& t : cases) {
        ClearMediaCallLog();
        m_scene.m_nTimeLeft = t.time;
        FrameSkipCounter(0, 0);
        if (!t.tick) FrameSkipCounter(1, 10);
        DrawTime(m_scene, t.timeSound);
        EXPECT_EQ(soundlog::Played().size(), size_t(t.sounds)) << t.time << " " << t.timeSound << " " << t.tick;
    }
    m_scene.m_bNoTimeLimit = 1;
    g_trace.clear();
    DrawTime(m_scene, 1);
    EXPECT_TRUE(g_trace.empty());
    FrameSkipCounter(0, 0);
}

TEST_F(DrawStageTest, ScreenColourAlphasPerMode) {
    ASSERT_TRUE(InitAll(1, 32, 0));
    struct Case {
        const char* name;
        int params[8];
        int frozen;
        std::vector<int> alphas;  // per frame; -1 inactive
    } cases[] = {
        {"fade to the colour and hold", {255, 0, 0, 100, 0, 1, 0, 0}, 0, {255, 212, 170, 127, 85, 42, 0, 0, 0}},
        {"frozen: the counter stands", {255, 0, 0, 100, 0, 1, 0, 0}, 1, {255, 255, 255}},
        {"strength 0 ends", {255, 0, 0, 0, 0, 1, 0, 0}, 0, {255, 255, 255, 255, 255, 255, 255, -1}},
        {"flash twice", {0, 0, 255, 100, 0, 1, 1, 2},
         0, {255, 212, 170, 127, 85, 42, 255, 255, 212, 170, 127, 85, 42, 255, -1}},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        ScreenColor sc;
        SetScreenColor(sc, t.params);
        std::vector<int> got;
        for (size_t i = 0; i < t.alphas.size(); ++i) {
            if (!sc.bActive) {
                got.push_back(-1);
                continue;
            }
            const int alpha = ScreenColorAlpha(sc);
            DrawScreenColor(sc, t.frozen);
            got.push_back(alpha);
        }
        EXPECT_EQ(got, t.alphas);
    }
    // Back from a held colour: from its alpha to 255, then off.
    ScreenColor sc;
    const int hold[8] = {0, 255, 0, 100, 0, 0, 0, 0};
    SetScreenColor(sc, hold);
    DrawScreenColor(sc, 0);
    EXPECT_EQ(sc.nAlpha, 0);
    const int back[8] = {0, 0, 0, 0, 1, 1, 0, 0};
    SetScreenColor(sc, back);
    EXPECT_EQ(sc.green, 255);
    std::vector<int> got;
    while (sc.bActive && got.size() < 20) {
        DrawScreenColor(sc, 0);
        got.push_back(sc.nAlpha);
    }
    EXPECT_EQ(got, (std::vector<int>{0, 42, 85, 127, 170, 212, 255}));
    // A return with no colour in force is ignored.
    ScreenColor idle;
    SetScreenColor(idle, back);
    EXPECT_EQ(idle.bActive, 0);
}

TEST_F(DrawStageTest, ScreenColourInDirectDrawBlendsThePaletteOnlyAtEightBits) {
    ASSERT_TRUE(InitAll(0, 16, 1));
    ScreenColor sc;
    const int p[8] = {255, 0, 0, 100, 0, 1, 0, 0};
    SetScreenColor(sc, p);
    DrawScreenColor(sc, 0);
    EXPECT_EQ(sc.bActive, 0);
}

TEST_F(DrawStageTest, LightMaskAndHolePerShape) {
    ASSERT_TRUE(InitAll(1, 32, 0));
    g_vPlayers.resize(1);
    struct Case {
        int shape, radius, holeW;
        bool holeAtCentre;
    } cases[] = {{1, 20, 40, true}, {2, 20, 40, true}, {3, 20, 0, true}, {1, 0, 0, false}};
    for (const Case& t : cases) {
        SCOPED_TRACE(t.shape * 100 + t.radius);
        g_vPlayers[0].m_Def.m_nLightShape = static_cast<int8_t>(t.shape);
        g_vPlayers[0].m_nLightRadius = t.radius;
        BuildLightMask(m_scene, m_scene.m_LightMask, m_scene.m_LightHole);
        EXPECT_EQ(m_scene.m_LightMask.nWidth, 1280 + 2 * t.radius);
        EXPECT_EQ(m_scene.m_LightMask.nHeight, 960 + 2 * t.radius);
        EXPECT_EQ(m_scene.m_LightHole.lpDT != nullptr ? m_scene.m_LightHole.nWidth : 0, t.holeW);
        std::vector<uint32_t> px;
        int w = 0, h = 0;
        ASSERT_TRUE(DDSurfaceToXrgb8888(&m_scene.m_LightMask, px, w, h));
        const uint32_t centre = px[size_t(h / 2) * w + w / 2] & 0xFFFFFF;
        const uint32_t corner = px[0] & 0xFFFFFF;
        EXPECT_EQ(corner, gfxtest::PalColor(16));
        EXPECT_EQ(centre != corner, t.holeAtCentre);
        // The edge of a round hole stays dark at its corners.
        if (t.shape != 3 && t.radius) {
            const uint32_t edge = px[size_t(h / 2 - t.radius + 1) * w + w / 2 - t.radius + 1] & 0xFFFFFF;
            EXPECT_EQ(edge, corner);
        }
    }
}

// The stage set-up, a status operation and a formula that change the
// hero's sight build the mask for the new light radius.
TEST_F(DrawStageTest, SetUpAndSightChangesRebuildTheMask) {
    ASSERT_TRUE(InitAll(1, 32, 0));
    const cStage savedStart = g_StageStart;
    const cEdChara savedHero = g_HeroDef;
    const cGameProgress savedProgress = g_Progress;
    stagetest::StageBuilder b(20, 10);
    b.Hero(2, 5);
    b.Stage().m_vecPlacedChara.at(0).m_nLightShape = 1;
    b.Stage().m_vecPlacedChara.at(0).m_nViewRange = 2;
    b.Install();
    m_scene.SetupStage(1, 0);
    ASSERT_FALSE(g_vPlayers.empty());
    cCharaPlayer& hero = g_vPlayers[0];
    EXPECT_EQ(hero.m_nLightRadius, 32);  // the view range of 2 half blocks
    EXPECT_EQ(m_scene.m_LightMask.nWidth, 1280 + 2 * hero.m_nLightRadius);

    cEdFlowCmd sight;
    sight.m_nKind = 22;
    sight.m_vecParam.assign(25, 0);
    sight.m_vecParam[4] = STATUS_SIGHT;
    sight.m_vecParam[6] = OP_SET;
    sight.m_vecParam[8] = 5;
    sight.m_vecParam[24] = 1;
    int32_t vars[2] = {};
    DoStatusOp(hero, sight, vars);
    EXPECT_EQ(hero.m_nLightRadius, 80);
    EXPECT_EQ(m_scene.m_LightMask.nWidth, 1280 + 160);

    EXPECT_EQ(RunCode("pl.sight = 3", hero), 1);
    EXPECT_EQ(hero.m_nLightRadius, 48);
    EXPECT_EQ(m_scene.m_LightMask.nWidth, 1280 + 96);

    g_StageStart = savedStart;
    g_HeroDef = savedHero;
    g_Progress = savedProgress;
}

}  // namespace
