// The play scene's states: how long READY shows its banners, when STAGEEND
// takes input, which frames draw, the in-game menu's entries and its resume,
// the lives and the miss resolution, the first frame, the stage's frame
// rate, and what a retry restores and clears.
#include <string>
#include <vector>

#include "base/app_state.h"
#include "base/frame_timing.h"
#include "base/quit.h"
#include "records/system_ini.h"
#include "media/frame_loop.h"
#include "media/gfx/dd_state.h"
#include "media/gfx/dd_surface.h"
#include "play/palette_sprite.h"
#include "media/input/input_list.h"
#include "media/media_services.h"
#include "platform/clock.h"
#include "platform/cp932.h"
#include "platform/input_source.h"
#include "platform/keyboard_state.h"
#include "platform/message_box.h"
#include "play/draw_stage.h"
#include "media/input/menu_cursor.h"
#include "frontend/data/ranking.h"
#include "frontend/replay/replay.h"
#include "play/message_window.h"
#include "play/stage_results.h"
#include "tests/media/input/fake_input_source.h"
#include "tests/support/stage_builder.h"
#include "tests/support/temp_dir.h"
#include "tests/support/play_trace.h"

using namespace stagetest;

namespace {

class ScenePlayTest : public StageTest {
protected:
    void SetUp() override {
        StageTest::SetUp();
        m_savedType = g_SceneState.g_nGameType;
        m_savedKind = g_SceneState.g_nGameKind;
        m_savedNext = g_SceneState.m_nNextSceneKind;
        m_savedKindNow = g_SceneState.m_nSceneKind;
        m_savedPrev = g_SceneState.m_nPrevSceneKind;
        m_savedRate = g_SceneState.m_nFrameRate;
        g_SceneState.g_nGameType = 3;
        g_SceneState.g_nGameKind = 2;
        SetMediaCallLog(true);
        ClearMediaCallLog();
        g_InputList.at(0).ClearButtonInput();
        StageBuilder b(20, 10);
        b.Hero(2, 5);
        b.Install();
        Setup();
        m_scene.m_nStep = 0;
    }
    void TearDown() override {
        testsupport::PlayTrace().drawn = nullptr;
        SetMediaCallLog(false);
        g_bEditorTest = 0;
        g_bFreeStage = 0;
        g_SceneState.g_nGameType = m_savedType;
        g_SceneState.g_nGameKind = m_savedKind;
        g_SceneState.m_nNextSceneKind = m_savedNext;
        g_SceneState.m_nSceneKind = m_savedKindNow;
        g_SceneState.m_nPrevSceneKind = m_savedPrev;
        g_SceneState.m_nFrameRate = m_savedRate;
        StageTest::TearDown();
    }
    // One frame of the current state with the buttons given (after the
    // state's own filters); true when it drew the stage.
    bool Frame(int buttons = 0) {
        std::vector<std::string> drawn;
        testsupport::PlayTrace().drawn = &drawn;
        g_InputList.at(0).m_wButton = static_cast<uint16_t>(buttons);
        g_InputList.at(0).m_bTriggerLatch = 0;  // a fresh press every frame
        m_scene.Run();
        testsupport::PlayTrace().drawn = nullptr;
        return !drawn.empty();
    }
    // Frames until the state leaves `state` (at most limit); the frame count.
    int FramesIn(int state, int limit, int buttons = 0) {
        for (int n = 1; n <= limit; ++n) {
            Frame(buttons);
            if (m_scene.m_nState != state) return n;
        }
        return -1;
    }
    int m_savedType = 0, m_savedKind = 0, m_savedNext = 0, m_savedKindNow = 0, m_savedPrev = 0, m_savedRate = 0;
    cFakeInputSource m_keys;
    platform::cScopedInputSource m_source{m_keys};
};

// The scene start chooses the icon sheets and work surfaces of the graphics
// mode: under Direct3D the colour work surface is slot 71 and the overlay
// sheet slot 44; under DirectDraw slots 69 and 43.
TEST_F(ScenePlayTest, SceneStartSelectsTheIconSurfacesOfTheGraphicsMode) {
    const IconSurfaces saved = g_IconSurfaces;
    const int savedD3D = g_DD.bUseD3D, savedIni = g_SystemIni.Direct3D;
    g_SystemIni.Direct3D = 1;
    g_SceneState.m_nPrevSceneKind = SCENE_PLAY;  // the play surfaces are loaded
    struct {
        int d3d, colourWork, overlay;
    } cases[] = {{1, 71, 44}, {0, 69, 43}};
    for (const auto& k : cases) {
        g_DD.bUseD3D = k.d3d;
        g_IconSurfaces = IconSurfaces{};
        m_scene.Init();
        EXPECT_EQ(g_IconSurfaces.lpColorWork, &SurfaceTable[k.colourWork]) << k.d3d;
        EXPECT_EQ(g_IconSurfaces.lpOverlay, &SurfaceTable[k.overlay]) << k.d3d;
    }
    g_IconSurfaces = saved;
    g_DD.bUseD3D = savedD3D;
    g_SystemIni.Direct3D = savedIni;
}

TEST_F(ScenePlayTest, ReadyLeavesAfterItsBanners) {
    struct Case {
        int stageBanner, startBanner, editorFree, gameType, frames;
    };
    const Case cases[] = {
        {1, 0, 0, 3, 80}, {0, 1, 0, 3, 80}, {1, 1, 0, 3, 159}, {0, 0, 0, 3, 1}, {1, 1, 1, 3, 1}, {0, 0, 0, 4, 80},
    };
    for (const Case& c : cases) {
        g_Stage.m_bStageBanner = c.stageBanner;
        g_Stage.m_bStartBanner = c.startBanner;
        g_bEditorTest = g_bFreeStage = c.editorFree;
        g_SceneState.g_nGameType = c.gameType;
        m_scene.m_nStateFrames = m_scene.m_nStateFrames2 = 0;
        m_scene.m_nState = CSCENEPLAY_READY;
        EXPECT_EQ(FramesIn(CSCENEPLAY_READY, 400), c.frames)
            << c.stageBanner << c.startBanner << c.editorFree << " type " << c.gameType;
        EXPECT_EQ(m_scene.m_nState, CSCENEPLAY_PLAY);
        EXPECT_EQ(m_scene.m_nStateFrames, 0);
    }
}

TEST_F(ScenePlayTest, StageEndTakesInputFromItsFirstInputFrame) {
    for (const auto [banner, first] : {std::pair{1, 51}, std::pair{0, 2}}) {
        g_Stage.m_bClearBanner = banner;
        m_scene.m_nState = CSCENEPLAY_STAGEEND;
        m_scene.m_nStep = 0;
        EXPECT_EQ(FramesIn(CSCENEPLAY_STAGEEND, 100, 1), first) << "banner " << banner;
        EXPECT_EQ(m_scene.m_nState, CSCENEPLAY_FADEOUT);
    }
    // Automatic advance needs no button.
    g_Stage.m_bClearBanner = 0;
    g_Stage.m_bAutoAdvance = 1;
    m_scene.m_nState = CSCENEPLAY_STAGEEND;
    m_scene.m_nStep = 0;
    EXPECT_EQ(FramesIn(CSCENEPLAY_STAGEEND, 100), 2);
}

TEST_F(ScenePlayTest, WhichFramesDraw) {
    struct Case {
        int state, buttons;
        bool draws;
    };
    const Case cases[] = {
        {CSCENEPLAY_READY, 0, true},    {CSCENEPLAY_STAGEEND, 1, true}, {CSCENEPLAY_MENU, 0, true},
        {CSCENEPLAY_STAGEEND, 1, true},  // (counter at 200: the advance frame draws too)
        {CSCENEPLAY_MENU, 1, false},    {CSCENEPLAY_MENU, 2, false},    {CSCENEPLAY_RETRY, 0, true},
        {CSCENEPLAY_RETRY, 1, false},   {CSCENEPLAY_GAMEOVER, 0, true}, {CSCENEPLAY_GAMEOVER, 1, false},
        {CSCENEPLAY_FADEIN, 0, true},   {CSCENEPLAY_FADEOUT, 0, false},
    };
    for (const Case& c : cases) {
        // Type 2: the fade-out starts no stage file; type 3: the stage end
        // plays on.
        g_SceneState.g_nGameType = c.state == CSCENEPLAY_FADEOUT ? 2 : 3;
        m_scene.m_nState = c.state;
        m_scene.m_nStep = 0;
        m_scene.m_nSavedState = CSCENEPLAY_PLAY;
        m_scene.m_nStateFrames = 200;
        if (c.state == CSCENEPLAY_STAGEEND) m_scene.m_nStep = 1;
        EXPECT_EQ(Frame(c.buttons), c.draws) << "state " << c.state << " buttons " << c.buttons;
    }
}

TEST_F(ScenePlayTest, MenuEntriesByGameKindAndOption) {
    struct Case {
        int kind, option, listed;
        std::vector<int> enabled;
    };
    const Case cases[] = {
        {0, 0, 0, {0, 1}},
        {0, 1, 0, {0, 1, 2, 3}},  // story with restart and map return, the stage cleared
        {1, 0, 0, {0, 1}},
        {1, 1, 0, {0, 1, 2}},
        {2, 0, 0, {0, 1, 2}},
        {3, 0, 0, {0, 1, 2}},
        {3, 0, 1, {0, 1, 2, 4, 5, 6}},
    };
    for (const Case& c : cases) {
        g_SceneState.g_nGameKind = c.kind;
        g_SystemData.OptStoryRestart = g_SystemData.OptMapReturn = g_SystemData.OptSelectRestart = c.option;
        g_Progress.m_nSeriesIndex = 3;
        g_Progress.m_vecOpened.assign(10, 0);
        g_Progress.m_vecOpened.at(3) = 1;
        g_Progress.m_nStageNumber = 2;
        g_Progress.m_vecStageFlag.assign(5, StageFlagRecord());
        g_Progress.m_vecStageFlag.at(1).m_bCleared = 1;
        g_ReplayFiles.assign(c.listed, ReplayFileEntry{});
        m_scene.m_nState = CSCENEPLAY_MENU;
        m_scene.m_nStep = 0;
        Frame();
        std::vector<int> enabled;
        for (size_t i = 0; i < m_scene.m_vMenu.size(); ++i)
            if (m_scene.m_vMenu[i].m_nEnabled) enabled.push_back(static_cast<int>(i));
        EXPECT_EQ(enabled, c.enabled) << "kind " << c.kind << " option " << c.option;
    }
    g_ReplayFiles.clear();
}

TEST_F(ScenePlayTest, MenuResumesTheStateWithItsStepAndHoldsTheButtons) {
    m_keys.keys.insert(platform::VK_SPACE);
    g_SystemData.OptSpaceMenu = 1;
    m_scene.m_nState = CSCENEPLAY_GAMEOVER;
    m_scene.m_nStep = 7;
    Frame();
    m_keys.keys.clear();
    EXPECT_EQ(m_scene.m_nState, CSCENEPLAY_MENU);
    Frame();  // the cursor on entry 1
    EXPECT_EQ(g_MenuCursor.Cur().m_nY, 1);
    Frame(1);
    EXPECT_EQ(m_scene.m_nState, CSCENEPLAY_GAMEOVER);
    EXPECT_EQ(m_scene.m_nStep, 7);
    EXPECT_EQ(m_scene.m_bHoldButtons, 1);
    // Cancel does the same from PLAY.
    m_scene.m_nSavedState = CSCENEPLAY_PLAY;
    m_scene.m_nSavedStep = 0;
    m_scene.m_nState = CSCENEPLAY_MENU;
    m_scene.m_bHoldButtons = 0;
    Frame(2);
    EXPECT_EQ(m_scene.m_nState, CSCENEPLAY_PLAY);
    EXPECT_EQ(m_scene.m_bHoldButtons, 1);
    std::vector<std::string> sounds;
    for (const std::string& call : MediaCallLog())
        if (call.rfind("PlaySe", 0) == 0) sounds.push_back(call);
    EXPECT_EQ(sounds, (std::vector<std::string>{"PlaySe 4", "PlaySe 1", "PlaySe 2"}));
}

TEST_F(ScenePlayTest, UseLifeAndTheMissResolution) {
    struct Case {
        int lives, free;
        int result, after;
    };
    const Case cases[] = {{3, 0, 1, 2}, {1, 0, 1, 0}, {0, 0, 0, 0}, {-2, 0, 0, -2}, {999999, 0, 1, 999999}, {0, 1, 1, 0}};
    for (const Case& c : cases) {
        g_bFreeStage = c.free;
        g_Progress.m_nLives = c.lives;
        EXPECT_EQ(UseLife(g_Progress), c.result) << c.lives;
        EXPECT_EQ(g_Progress.m_nLives, c.after) << c.lives;
    }
    g_bFreeStage = 0;

    struct Miss {
        int lives, kind, prompt, state;
    };
    const Miss misses[] = {
        {0, 2, 0, CSCENEPLAY_GAMEOVER}, {2, 2, 0, CSCENEPLAY_READY}, {2, 0, 1, CSCENEPLAY_RETRY},
        {2, 1, 1, CSCENEPLAY_READY},
    };
    for (const Miss& m : misses) {
        g_Progress.m_nLives = m.lives;
        g_SceneState.g_nGameKind = m.kind;
        g_SystemData.OptRetryPrompt = m.prompt;
        m_scene.m_nState = CSCENEPLAY_PLAY;
        m_scene.ResolveMiss();
        EXPECT_EQ(m_scene.m_nState, m.state) << m.lives << " kind " << m.kind;
    }
}

// The per-play reset and the stage clear reach the replays, the stage's
// ranking file and the play's windows.
TEST_F(ScenePlayTest, ResetAndClearReachTheReplaysTheRankingAndTheWindows) {
    testsupport::TempWorkDir dir;
    dir.MakeDirs("user_data/free");
    const cReplay savedReplay = g_Replay, savedPrev = g_ReplayPrev;
    const cRanking savedRanking = g_Ranking;
    const int32_t savedOn = g_SceneState.g_bRankingOn;
    cRanking file;
    file.m_vecTable.at(0).Insert("Top", 1000);
    ASSERT_TRUE(SaveRanking(file, 2, "s01.", 0, 0, 0));
    g_Progress.m_strStageBase = "s01.";
    g_SceneState.g_bRankingOn = 1;
    const int16_t words[2] = {4, 16};
    g_Replay.RecordReplayFrame(words);
    g_ReplayPrev.RecordReplayFrame(words);
    MessageWindowInit popup;
    popup.nKind = MESWIN_ICON;
    popup.nDurationMode = 2;
    popup.nFrames = 30;
    m_scene.m_lstMessages.emplace_back().Init(popup);

    m_scene.ResetStageState();
    EXPECT_TRUE(m_scene.m_lstMessages.empty());
    EXPECT_TRUE(g_Replay.m_vecDirWords.empty());
    EXPECT_TRUE(g_ReplayPrev.m_vecDirWords.empty());
    EXPECT_EQ(g_Ranking.m_vecTable.at(0).m_vecEntry.at(0).m_nScore, 1000);

    // A clear that counts, of a free stage: the replay is flagged, and the
    // score enters the loaded table below its entry.
    g_bFreeStage = 1;
    g_SystemData.OptExtraLife = 0;
    g_SystemData.m_vecRankingSets.assign(3, cSysMenuFlags());
    g_SystemData.m_vecRankingSets.at(2).m_vecKinds.at(0) = 1;
    g_Stage.m_vecRankingSwitch.assign(5, 0);
    g_Stage.m_vecRankingSwitch.at(0) = 1;
    g_Progress.m_bCountsAsClear = 1;
    g_Progress.m_nStageScore = 500;
    m_scene.ClearStage();
    EXPECT_EQ(g_Replay.m_bCleared, 1);
    EXPECT_EQ(m_scene.m_vRankValue.at(0), 500);
    EXPECT_EQ(m_scene.m_vRankPos.at(0), 1);
    EXPECT_EQ(m_scene.m_vRankPos.at(2), -1);
    EXPECT_EQ(m_scene.m_bRankIn, 1);

    g_Replay = savedReplay;
    g_ReplayPrev = savedPrev;
    g_Ranking = savedRanking;
    g_SceneState.g_bRankingOn = savedOn;
}

// The first frame runs Init and then, unless Init ended the program, the
// fade-in's first step (which draws). A resumed story stage whose save
// names no stage file ends the program with the loader's message instead of
// playing the stage in memory.
TEST_F(ScenePlayTest, TheFirstFrameRunsInitAndTheFadeIn) {
    g_SceneState.m_nPrevSceneKind = SCENE_PLAY;
    m_scene.m_nState = -1;
    EXPECT_TRUE(Frame());
    EXPECT_NE(m_scene.m_nState, -1);

    platform::CapturedMessageBoxes boxes;
    g_SceneState.g_nGameType = 1;
    g_Progress.m_bResume = 1;
    g_Progress.m_nNextStage = 0;
    m_scene.m_nState = -1;
    EXPECT_FALSE(Frame());
    EXPECT_EQ(g_bQuit.load(), 1);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_NE(boxes.Boxes()[0].text.find(SJ("読み込めません")), std::string::npos);
    g_bQuit = 0;
}

// A stage of 30 frames per second is paced at 30 (33 ms a frame on the
// fake clock); once it has faded out for the title, 60 again (16 ms).
TEST_F(ScenePlayTest, TheStagesFrameRatePacesItsFrames) {
    platform::FakeClock clock(1000);
    struct BackEnd {
        DDBACKEND saved = DDBackEnd();
        int fadeSpeed = g_SceneState.m_nFadeSpeed;
        ~BackEnd() {
            DDBackEnd() = saved;
            g_SceneState.m_nFadeSpeed = fadeSpeed;
            ResetFrameTiming();
        }
    } restore;
    DDBackEnd().direct3D = false;  // DirectDraw paces by the frame tick
    DDBackEnd().directDraw = true;
    ResetFrameTiming();
    auto frameMs = [&] {
        WaitFrame();
        const uint32_t start = clock.Now();
        WaitFrame();
        return clock.Now() - start;
    };
    g_StageStart.m_nFrameRate = 30;
    Setup();
    EXPECT_EQ(frameMs(), 33u);
    g_SceneState.m_nFadeSpeed = 10;
    g_SceneState.g_nGameType = 2;
    g_SceneState.m_nNextSceneKind = SCENE_TITLE;
    m_scene.m_nState = CSCENEPLAY_FADEOUT;
    for (int i = 0; i < 300 && m_scene.m_nState != -1; ++i) Frame();
    ASSERT_EQ(m_scene.m_nState, -1);
    EXPECT_EQ(g_SceneState.m_nSceneKind, SCENE_TITLE);
    EXPECT_EQ(frameMs(), 16u);
}

// A miss clears the carried values flagged in the clear-on-miss list, and
// only those; a retry restores the common variables as the game kind says,
// while the "FreeStage" run plays by its own setting and kinds beyond 2
// always restore them.
TEST_F(ScenePlayTest, AMissClearsTheClearOnMissEntriesAndRestoresByTheRetrySetting) {
    g_Stage.m_bCarryIn = 1;
    g_SystemData.m_vecCarryOver.assign(25, 0);
    g_SystemData.m_vecCarryOver.at(0) = g_SystemData.m_vecCarryOver.at(14) = 1;
    g_SystemData.m_vecProgressClear.assign(25, 0);
    g_SystemData.m_vecProgressClear.at(11) = g_SystemData.m_vecProgressClear.at(12) = 1;
    g_Progress.m_vecCarriedItem.Fill(1);
    g_Progress.m_nLives = 3;
    g_SceneState.g_nGameKind = 2;
    m_scene.ResolveMiss();
    for (int i = 0; i < 25; ++i) EXPECT_EQ(g_Progress.m_vecCarriedItem.at(i), i == 11 || i == 12 ? 0 : 1) << i;

    struct Case {
        int freeStage, kind, restoreFree, restoreKind, restored;
    };
    const Case cases[] = {
        {1, 2, 0, 1, 0}, {1, 2, 1, 0, 1}, {0, 2, 1, 0, 0}, {0, 2, 0, 1, 1}, {0, 3, 0, 0, 1}, {0, 4, 0, 0, 1},
    };
    for (const Case& c : cases) {
        g_bFreeStage = c.freeStage;
        g_SceneState.g_nGameKind = c.kind;
        g_SystemData.m_bRestoreVarsFree = c.restoreFree;
        g_SystemData.m_bRestoreVars2 = c.restoreKind;
        g_Progress.m_vecCommonVar.at(7) = 0;
        g_Progress.SnapshotStageStart();
        g_Progress.m_vecCommonVar.at(7) = 5;
        g_Progress.m_nLives = 3;
        m_scene.ResolveMiss();
        EXPECT_EQ(m_scene.m_nState, CSCENEPLAY_READY);
        EXPECT_EQ(g_Progress.m_vecCommonVar.at(7), c.restored ? 0 : 5)
            << "free " << c.freeStage << " kind " << c.kind << " " << c.restoreFree << c.restoreKind;
    }
    g_bFreeStage = 0;
}

}  // namespace
