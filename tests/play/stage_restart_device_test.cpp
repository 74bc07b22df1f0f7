// A stage set up again on a real graphics device: the 8-bit palette a
// screen colour left and the virtual back buffer a screen effect left are
// put back, replay playback that steps to another stage's replay shows that
// stage's backgrounds, and a nested loop whose surfaces cannot be restored
// ends the program.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "base/main_thread.h"
#include "base/quit.h"
#include "base/scene_state.h"
#include "media/scene.h"
#include "frontend/data/game_progress.h"
#include "frontend/data/option_data.h"
#include "frontend/replay/replay.h"
#include "frontend/replay/replay_file.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_palette.h"
#include "media/media_services.h"
#include "play/chara_player.h"
#include "media/gfx/run_time_surfaces.h"
#include "play/scene_play.h"
#include "play/stage_resources.h"
#include "play/stage_results.h"
#include "records/database.h"
#include "records/system_data.h"
#include "tests/media/gfx/gfx_fixture.h"
#include "tests/support/nested_loop.h"
#include "tests/support/stage_builder.h"

namespace {

using stagetest::StageBuilder;

class StageRestartDevice : public gfxtest::GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        m_savedScene = g_lpPlayScene;
        g_lpPlayScene = &m_scene;
        m_savedStage = g_Stage;
        m_savedStart = g_StageStart;
        m_savedProgress = g_Progress;
        m_savedHero = g_HeroDef;
        m_savedSystem = g_SystemData;
        m_savedDatabase = g_Database;
        m_savedReplay = g_Replay;
        m_savedReplayData = g_ReplayData;
        m_savedOrder = g_OptionData.m_nReplayOrder;
        m_savedType = g_SceneState.g_nGameType;
        m_savedRate = g_SceneState.m_nFrameRate;
        m_savedBackEnd = DDBackEnd();
        g_SystemData = cSystemData();
        g_SceneState.g_nGameType = 3;
        g_bQuit = 0;
        SetMainThread();  // sound and music requests are served at once
        testbmp::Write("bmp\\Far.bmp", gfxtest::SheetBmp8(64, 64));
        testbmp::Write("bmp\\Other.bmp", gfxtest::SheetBmp8(96, 64));
    }
    void TearDown() override {
        ReleaseStageResources();
        BuildBitmapTable();
        g_vPlayers.clear();
        g_lstCharas.clear();
        g_lstItems.clear();
        g_vMapCells.clear();
        g_ReplayFiles.clear();
        g_Stage = m_savedStage;
        g_StageStart = m_savedStart;
        g_Progress = m_savedProgress;
        g_HeroDef = m_savedHero;
        g_SystemData = m_savedSystem;
        g_Database = m_savedDatabase;
        g_Replay = m_savedReplay;
        g_ReplayData = m_savedReplayData;
        g_OptionData.m_nReplayOrder = m_savedOrder;
        g_SceneState.g_nGameType = m_savedType;
        g_SceneState.m_nFrameRate = m_savedRate;
        DDBackEnd() = m_savedBackEnd;
        g_lpPlayScene = m_savedScene;
        g_bQuit = 0;
        GfxTest::TearDown();
    }
    // A 20 x 10 stage with its hero and one bitmap background.
    static void InstallStage(const char* background) {
        StageBuilder b(20, 10);
        b.Hero(2, 5);
        cEdBackground bg;
        bg.m_strFile = background;
        b.Stage().m_vecBackground.assign(1, bg);
        b.Install();
    }
    cScenePlay m_scene;
    cScene* m_savedScene = nullptr;
    cStage m_savedStage, m_savedStart;
    cGameProgress m_savedProgress;
    cEdChara m_savedHero;
    cSystemData m_savedSystem;
    cDatabase m_savedDatabase;
    cReplay m_savedReplay;
    cReplayData m_savedReplayData;
    int m_savedType = 0, m_savedRate = 0, m_savedOrder = 0;
    DDBACKEND m_savedBackEnd;
};

// 8-bit DirectDraw: the palette a screen colour blended is the system
// palette again. Direct3D: a screen effect's virtual back buffer is off.
TEST_F(StageRestartDevice, PaletteAndVirtualBackBufferArePutBack) {
    ASSERT_TRUE(InitAll(0, 8, 1));
    InstallStage("bmp\\Far.bmp");
    uint8_t tinted[256][4];
    std::memcpy(tinted, g_Palette, sizeof tinted);
    for (auto& entry : tinted) entry[0] = 255;
    DDSetPaletteEntries(tinted, 0, 256);
    ASSERT_NE(g_DD.lpDDPalette, nullptr);
    ASSERT_EQ(g_DD.lpDDPalette->entries[3][0], 255);
    m_scene.SetupStage(1, 0);
    int differing = 0;
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c) differing += g_DD.lpDDPalette->entries[i][c] != g_Palette[i][c];
    EXPECT_EQ(differing, 0);

    ResetGraphics();
    BuildBitmapTable();
    ASSERT_TRUE(InitAll(1, 32, 1));
    DDSetVirtualBackBuffer(1);
    ASSERT_EQ(lpDTCon->bVirBackBuffer, 1);
    m_scene.SetupStage(1, 0);
    EXPECT_EQ(lpDTCon->bVirBackBuffer, 0);
}

// Playback that steps on to the replay of another stage loads that stage's
// backgrounds into the background slots.
TEST_F(StageRestartDevice, PlaybackSteppingToAnotherStagesReplayLoadsItsBackgrounds) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    std::filesystem::create_directories("user_data/rpl4");
    const std::string first = "user_data\\rpl4\\first.rpl4_1000", second = "user_data\\rpl4\\second.rpl4_1000";
    for (const auto& [path, background] : {std::pair{first, "bmp\\Far.bmp"}, std::pair{second, "bmp\\Other.bmp"}}) {
        InstallStage(background);
        cReplay replay;
        ASSERT_EQ(WriteReplayFile(replay, path, g_Stage, g_StageStart, g_Progress), 1) << path;
    }
    g_ReplayFiles.assign(2, ReplayFileEntry{});
    g_ReplayFiles.at(0).m_strPath = first;
    g_ReplayFiles.at(1).m_strPath = second;
    g_ReplayData.m_nListPos = 0;
    g_OptionData.m_nReplayOrder = 2;  // a miss plays the same replay again
    g_SceneState.g_nGameType = 4;
    // The first replay as the play scene starts it.
    ASSERT_EQ(ReadReplayFile(g_Replay, first, g_Stage, g_StageStart, g_Progress), 1);
    SetBackgroundFiles(g_Stage.m_vecBackground);
    ASSERT_TRUE(LoadPlaySurfaces(true));
    m_scene.SetupStage(0, 1);
    ASSERT_EQ(SurfaceTable[kBackgroundSlot].strFileName, "bmp\\Far.bmp");
    // A miss that plays the same replay again reads it again and keeps the
    // slots.
    StepStageList(0, 0);
    m_scene.SetupStage(1, 0);
    EXPECT_EQ(SurfaceTable[kBackgroundSlot].strFileName, "bmp\\Far.bmp");

    StepStageList(1, 1);
    m_scene.SetupStage(1, 1);
    EXPECT_EQ(g_bQuit.load(), 0);
    EXPECT_EQ(g_Stage.m_strPath, second);
    EXPECT_EQ(SurfaceTable[kBackgroundSlot].strFileName, "bmp\\Other.bmp");
    EXPECT_EQ(SurfaceTable[kBackgroundSlot].nWidth, 96);
}

// DirectDraw: a nested loop whose lost surfaces cannot be restored (a file
// gone since) sets the quit flag and asks for the close, as the game
// thread's frame does.
TEST_F(StageRestartDevice, ANestedLoopThatCannotRestoreItsSurfacesEndsTheProgram) {
    ASSERT_TRUE(InitAll(0, 16, 1));
    DDBackEndFromDevice();
    ASSERT_TRUE(DDBackEnd().directDraw);
    InstallStage("bmp\\Far.bmp");
    m_scene.SetupStage(0, 1);
    g_Database.m_vecEffect.assign(2, cDbEffect{});
    g_Database.m_vecEffect[1].m_strFile = "bmp\\Far.bmp";
    LoadEffectBitmaps();
    ASSERT_FALSE(g_vEffectSurfaces.empty());
    g_PrimarySurface.lpDD->lpSurface->lost = true;
    g_vEffectSurfaces[0].lpDD->lpSurface->lost = true;
    g_vEffectSurfaces[0].strFileName = "bmp\\Gone.bmp";

    testsupport::cNestedLoopDriver loop;
    const int requests = CloseRequestCount();
    m_scene.InitDisplayRequest(0, 0, 50, 0, nullptr);
    loop.RunAsGame([this] { m_scene.RunPauseLoop(); });
    EXPECT_EQ(g_bQuit.load(), 1);
    EXPECT_GT(CloseRequestCount(), requests);
    EXPECT_EQ(loop.draws, 0);
}

}  // namespace
