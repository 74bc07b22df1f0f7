// The presentation commands: effect positions by anchor and unit, effect
// and picture commands with their waits, pictures replaced and reused by ID,
// backgrounds, sounds and music, animations, and the command table's slots.
#include <algorithm>
#include <gtest/gtest.h>

#include "base/main_thread.h"
#include "engine/cmd_tables.h"
#include "engine/flow_runtime.h"
#include "engine/presentation_commands.h"
#include "base/quit.h"
#include "media/gfx/dd_surface.h"
#include "play/chara_player.h"
#include "media/gfx/run_time_surfaces.h"
#include "records/database.h"
#include "records/stage.h"
#include "tests/support/chara_fixture.h"
#include "tests/support/nested_loop.h"
#include "tests/support/sound_log.h"

namespace {

using charatest::cTestChara;
using charatest::MakeCmd;

int g_loads = 0;
int CountingLoader(DDSURFACEDATA* sd, const std::string& file, int) {
    ++g_loads;
    sd->strFileName = file;
    sd->nWidth = 100;
    sd->nHeight = 60;
    return file == "missing.bmp" ? SURF_LOADIMAGE_ERR : SURF_OK;
}

class PresentationTest : public charatest::CharaTest {
protected:
    void SetUp() override {
        CharaTest::SetUp();
        m_savedDb = g_Database;
        m_savedBgs = g_Stage.m_vecBackground;
        cDbEffect e;
        e.m_nCellWidth = 33;
        e.m_nCellHeight = 20;
        e.m_vecParts.assign(3, cDbEffectPart{});
        e.m_vecParts[2].m_nDuration = 2;
        g_Database.m_vecEffect = {cDbEffect{}, e};
        CompileEffectSteps(g_Database.m_vecEffect, g_vEffectSteps);
        cDbPicture a, b, bad;
        a.m_strFile = "a.bmp";
        b.m_strFile = "b.bmp";
        bad.m_strFile = "missing.bmp";
        g_Database.m_vecPicture = {cDbPicture{}, a, b, bad};
        PictureLoader() = CountingLoader;
        g_loads = 0;
        // Each loop: its kind and button wait, the effects and pictures on
        // its first frame, and the frames it drew.
        m_loop.onDraw = [this](cScenePlay& scene, int draw) {
            if (draw != 1) return;
            m_loops.push_back(std::to_string(scene.m_Wait.m_nKind) + " " + std::to_string(scene.m_Wait.m_bWaitButton) +
                              " " + std::to_string(scene.m_lstEffects.size()) + " " +
                              std::to_string(scene.m_lstPictures.size()));
        };
        m_loop.PressEveryOtherFrame();
        m_scene.m_ScrollX.m_dPos = 100;
        m_scene.m_ScrollY.m_dPos = 40;
        m_chara.m_nKey = 3;
        m_chara.m_dX = 500;
        m_chara.m_dY = 300;
        m_chara.m_nWidth = 32;
        m_chara.m_nHeight = 16;
    }
    void TearDown() override {
        PictureLoader() = LoadPictureSurface;
        g_lstRunTimeSurfaces.clear();
        g_lstRunTimeSlots.clear();
        g_Database = m_savedDb;
        g_Stage.m_vecBackground = m_savedBgs;
        m_scene.m_bClosing = 0;
        CharaTest::TearDown();
    }
    // A picture command: picture, ID (0 none), display time and wait flags.
    static cEdFlowCmd Picture(int id, int pictureId, std::vector<std::pair<int, int>> more = {}) {
        std::vector<int32_t> p(20, 0);
        p[0] = id;
        p[7] = 100;
        p[9] = 100;
        p[16] = pictureId ? 1 : 0;
        p[17] = pictureId;
        for (auto [i, v] : more) p[size_t(i)] = v;
        return MakeCmd(cEdFlowCmd::FAMILY_CHARA, CMD_SHOW_PICTURE, p);
    }
    std::vector<std::string> Files() const {
        std::vector<std::string> v;
        for (const BMPSLOT& s : g_lstRunTimeSlots) v.push_back(s.strFileName);
        return v;
    }
    // A command as the game thread runs it; the frames its loop drew.
    template <typename Fn>
    int Run(Fn command, const cEdFlowCmd& cmd) {
        m_loop.draws = 0;
        m_loop.keys.keys.clear();
        m_loop.RunAsGame([&] { command(m_chara, cmd); });
        return m_loop.draws;
    }
    testsupport::cNestedLoopDriver m_loop;
    std::vector<std::string> m_loops;  // kind, button, effects, pictures
    cTestChara m_chara;
    cDatabase m_savedDb;
    std::vector<cEdBackground> m_savedBgs;
};

TEST_F(PresentationTest, EffectPositionByAnchorAndUnit) {
    const int bx = m_scene.m_ScrollX.m_nBorder, by = m_scene.m_ScrollY.m_nBorder;
    g_vPlayers.resize(1);
    g_vPlayers[0].m_dX = 200;
    g_vPlayers[0].m_dY = 100;
    g_vPlayers[0].m_nWidth = 16;
    g_vPlayers[0].m_nHeight = 16;
    struct Case {
        int anchor, unit;
        double x, y;
    } cases[] = {
        {0, 0, 7 + 100 + 320 - 10, -1 + 40 + 240 - 5},
        {1, 0, 7 + 516 - 10, -1 + 308 - 5},
        {2, 1, 7 + 208 - 10, -1 + 108 - 5},
        {3, 0, 7 + 100 + 64, -1 + 40 + 96},
        {3, 1, 7 + 100 + 2, -1 + 40 + 3},
        {4, 0, 7 + 100 + 64 + 16 - 10, -1 + 40 + 96 + 16 - 5},  // centred at (80, 112) + the scroll and offsets
        {4, 1, 100 + 2 - 10 + 7, 40 + 3 - 5 - 1},
        {5, 0, 64 + bx * 32 + 7, 96 - 1 + by * 32},
        {5, 1, 2 + bx * 32 + 7, 3 - 1 + by * 32},
        {6, 0, (2 + bx) * 32 + 7 - 10 + 16, (3 + by) * 32 - 1 - 5 + 16},
        {6, 1, 2 + 7 + bx * 32 - 10, 3 - 1 - 5 + by * 32},
        {3, 2, 0, 0},  // an unknown unit
        {7, 0, 0, 0},  // an unknown anchor
    };
    for (const Case& c : cases) {
        double x = -1, y = -1;
        CalcEffectPos(x, y, 20, 10, m_chara, c.anchor, c.unit, 2, 3, 7, -1);
        EXPECT_EQ(x, c.x) << c.anchor << "/" << c.unit;
        EXPECT_EQ(y, c.y) << c.anchor << "/" << c.unit;
    }
}

TEST_F(PresentationTest, EffectCommandSizesWaitsAndClears) {
    // 50 % of 33 x 20: 17 x 10, at the screen's centre.
    DoRunEffect(m_chara, MakeCmd(0, CMD_RUN_EFFECT, {1, 0, 0, 0, 0, 0, 1, 50, 0, 0}));
    ASSERT_EQ(m_scene.m_lstEffects.size(), 1u);
    const cEffect& fx = m_scene.m_lstEffects.back();
    EXPECT_EQ(fx.m_nWidth, 17);
    EXPECT_EQ(fx.m_nHeight, 10);
    EXPECT_EQ(fx.m_nLayer, 1);
    EXPECT_EQ(fx.m_dX, 100 + 320 - 8);
    EXPECT_TRUE(m_loops.empty());
    // Waiting: the loop runs the parts' total, 1 + 1 + 2 tenths, while the
    // effect runs on 23 of them and goes on the 24th; the other one stands.
    EXPECT_EQ(Run(DoRunEffect, MakeCmd(0, CMD_RUN_EFFECT, {1, 0, 0, 0, 0, 0, 0, 100, 1, 0})), 24);
    EXPECT_EQ(m_loops, (std::vector<std::string>{"2 0 2 0"}));
    ASSERT_EQ(m_scene.m_lstEffects.size(), 1u);
    EXPECT_EQ(m_scene.m_lstEffects.back().m_bRunWhileFrozen, 0);
    // Effect 0 clears them; nothing while the scene closes.
    DoRunEffect(m_chara, MakeCmd(0, CMD_RUN_EFFECT, {0, 0, 0, 0, 0, 0, 0, 100, 0, 0}));
    EXPECT_TRUE(m_scene.m_lstEffects.empty());
    m_scene.m_bClosing = 1;
    DoRunEffect(m_chara, MakeCmd(0, CMD_RUN_EFFECT, {1, 0, 0, 0, 0, 0, 0, 100, 0, 0}));
    DoShowPicture(m_chara, Picture(1, 0));
    EXPECT_TRUE(m_scene.m_lstEffects.empty());
    EXPECT_TRUE(m_scene.m_lstPictures.empty());
}

TEST_F(PresentationTest, PicturesReplacedAndReusedById) {
    DoShowPicture(m_chara, Picture(1, 0));
    DoShowPicture(m_chara, Picture(1, 5));
    DoShowPicture(m_chara, Picture(2, 0));
    EXPECT_EQ(g_loads, 3);
    // The same file under ID 5 again: replaced in place, its surface reused.
    DoShowPicture(m_chara, Picture(1, 5, {{7, 150}}));
    EXPECT_EQ(g_loads, 3);
    ASSERT_EQ(m_scene.m_lstPictures.size(), 3u);
    auto second = std::next(m_scene.m_lstPictures.begin());
    EXPECT_EQ(second->m_nPictureId, 5);
    EXPECT_EQ(second->m_nWidth, 150);
    // Another file: a new surface at the same place.
    DoShowPicture(m_chara, Picture(2, 5));
    EXPECT_EQ(g_loads, 4);
    EXPECT_EQ(Files(), (std::vector<std::string>{"a.bmp", "b.bmp", "b.bmp"}));
    // Hiding an ID that does not exist does nothing; an existing one goes.
    DoShowPicture(m_chara, Picture(0, 9));
    EXPECT_EQ(m_scene.m_lstPictures.size(), 3u);
    DoShowPicture(m_chara, Picture(0, 5));
    EXPECT_EQ(m_scene.m_lstPictures.size(), 2u);
    EXPECT_EQ(Files(), (std::vector<std::string>{"a.bmp", "b.bmp"}));
    // Picture 0 without an ID: all of them.
    DoShowPicture(m_chara, Picture(0, 0));
    EXPECT_TRUE(m_scene.m_lstPictures.empty());
    EXPECT_TRUE(g_lstRunTimeSurfaces.empty());
    EXPECT_TRUE(g_lstRunTimeSlots.empty());
    // A file that cannot be read ends the game.
    DoShowPicture(m_chara, Picture(3, 0));
    EXPECT_EQ(g_bQuit.load(), 1);
    EXPECT_TRUE(m_scene.m_lstPictures.empty());
    EXPECT_TRUE(g_lstRunTimeSurfaces.empty());
}

TEST_F(PresentationTest, PictureWaitsAndFollowing) {
    // Waiting for the button, then for 3 tenths; the picture goes afterwards.
    DoShowPicture(m_chara, Picture(1, 0));
    soundlog::Scope sounds;
    EXPECT_EQ(Run(DoShowPicture, Picture(2, 0, {{14, 1}})), 2);  // answered on the second frame
    EXPECT_EQ(Run(DoShowPicture, Picture(2, 0, {{14, 1}, {12, 2}, {13, 3}})), 18);
    EXPECT_EQ(m_loops, (std::vector<std::string>{"3 1 0 2", "3 0 0 2"}));
    EXPECT_EQ(soundlog::Played(), (std::vector<int>{1}));  // the answer's; a time-out has none
    EXPECT_EQ(m_scene.m_lstPictures.size(), 1u);
    EXPECT_EQ(Files(), std::vector<std::string>{"a.bmp"});
    // One frame only.
    DoShowPicture(m_chara, Picture(1, 0, {{12, 2}, {13, 3}, {18, 1}}));
    EXPECT_EQ(m_scene.m_lstPictures.back().m_nFramesLeft, 1);
    // Following the first player: the position from its centre, unless the
    // old behaviour keeps p2 and p3.
    g_vPlayers.resize(1);
    g_vPlayers[0].m_nKey = 3;
    g_vPlayers[0].m_dX = 500;
    g_vPlayers[0].m_dY = 300;
    g_vPlayers[0].m_nWidth = 32;
    g_vPlayers[0].m_nHeight = 16;
    for (int compat : {0, 1}) {
        g_SystemData.m_bCompat833 = compat;
        DoShowPicture(m_chara, Picture(1, 0, {{1, 2}, {2, 4}, {3, 6}}));
        const cPicture& p = m_scene.m_lstPictures.back();
        EXPECT_EQ(p.m_nCharaKey, 3);
        EXPECT_EQ(p.m_nX, compat ? 4 : 516 - 50) << compat;
        EXPECT_EQ(p.m_nY, compat ? 6 : 308 - 30) << compat;
    }
}

TEST_F(PresentationTest, BackgroundsSoundsMusicAndAnimations) {
    g_Stage.m_vecBackground.assign(2, cEdBackground{});
    auto bg = [](int n, int op) { return MakeCmd(0, CMD_CHANGE_BACKGROUND, {n, op}); };
    for (auto [n, op] : std::vector<std::pair<int, int>>{{0, 1}, {3, 1}, {2, 1}, {1, 2}, {1, 2}, {1, 1}})
        DoChangeBackground(m_chara, bg(n, op));
    EXPECT_EQ(g_Stage.m_vecBackground[0].m_bShow, 0);
    EXPECT_EQ(g_Stage.m_vecBackground[1].m_bShow, 0);
    DoChangeBackground(m_chara, bg(2, 0));
    EXPECT_EQ(g_Stage.m_vecBackground[1].m_bShow, 1);
    // Music: entry p1, played once with p0 = 0.
    SetMainThread();  // sound and music requests are served at once
    soundlog::Scope log;
    DoPlayBgm(m_chara, MakeCmd(0, CMD_PLAY_BGM, {0, 4}));
    const std::vector<std::string> calls = MediaCallLog();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "RequestBgm 4 0"), calls.end());
    // A sound only while on screen when the command says so.
    cEdFlowCmd se = MakeCmd(0, CMD_PLAY_SE, {7});
    se.m_bSoundOnScreenOnly = 1;
    m_chara.m_nScrLeft = m_chara.m_nScrRight = -500;
    DoPlaySe(m_chara, se);
    se.m_bSoundOnScreenOnly = 0;
    DoPlaySe(m_chara, se);
    EXPECT_EQ(soundlog::UserPlayed(), (std::vector<int>{7}));
    // A run joins at the front, owned by the current flow or by -1.
    g_vAnimeSteps.assign(3, AnimeTrack{AnimeStep{0, 6, 0}, AnimeStep{ANIME_END, 0, 0}});
    m_chara.m_lstAnimeRuns.emplace_back().m_nAnime = 9;
    DoRunAnime(m_chara, MakeCmd(0, CMD_RUN_ANIME, {2, 0}));
    EXPECT_EQ(m_chara.m_lstAnimeRuns.front().m_nAnime, 2);
    EXPECT_EQ(m_chara.m_lstAnimeRuns.front().m_nOwnerKey, -1);
    cFlow flow;
    flow.m_nKey = 12;
    m_scene.m_lpCurFlow = &flow;
    DoRunAnime(m_chara, MakeCmd(0, CMD_RUN_ANIME, {1, 0}));
    m_scene.m_lpCurFlow = nullptr;
    EXPECT_EQ(m_chara.m_lstAnimeRuns.front().m_nOwnerKey, 12);
    DoRunAnime(m_chara, MakeCmd(0, CMD_RUN_ANIME, {2, 1}));
    EXPECT_EQ(m_chara.m_lstAnimeRuns.size(), 2u);
    // The graphic into the drawing state and the definition copy.
    DoChangeGraphic(m_chara, MakeCmd(0, CMD_CHANGE_GRAPHIC, {2, 40, 3}));
    EXPECT_EQ(m_chara.m_nGraphic, 40);
    EXPECT_EQ(m_chara.m_Def.m_nGraphic, 40);
    EXPECT_EQ(m_chara.m_Def.m_nGraphicKind, 2);
    EXPECT_EQ(m_chara.m_Def.m_nGraphicCell, 3);
}

TEST_F(PresentationTest, CommandTableRunsTheCommands) {
    // Through the table: an effect, then a background hidden.
    g_Stage.m_vecBackground.assign(1, cEdBackground{});
    cEdFlowCmd effect = MakeCmd(0, CMD_RUN_EFFECT, {1, 0, 0, 0, 0, 0, 0, 100, 0, 0});
    cEdFlowCmd hide = MakeCmd(0, CMD_CHANGE_BACKGROUND, {1, 1});
    cFlowCmd a, b;
    a.m_lpDef = &effect;
    b.m_lpDef = &hide;
    ExecCmd(m_chara, a);
    ExecCmd(m_chara, b);
    EXPECT_EQ(m_scene.m_lstEffects.size(), 1u);
    EXPECT_EQ(g_Stage.m_vecBackground[0].m_bShow, 0);
    const CmdExecFn expected[] = {ExecChangeGraphic, ExecChangeAnimeSet, ExecRunAnime, ExecRunEffect,
                                  ExecRunCharaEffect, ExecRunScreenEffect, ExecShowPicture, ExecScreenColor,
                                  ExecChangeBackground, ExecPlaySe, ExecPlayBgm};
    for (int k = CMD_CHANGE_GRAPHIC; k <= CMD_PLAY_BGM; ++k) EXPECT_EQ(CmdExecTable[k], expected[k - CMD_CHANGE_GRAPHIC]) << k;
}

}  // namespace
