// Golden frames of the replay list (in a window, full screen, empty) and the
// options (rows with the note, a value being edited) in the Japanese and
// English demos; and the key walks from the title through the replay list
// into a replay's playback and back, and through every options row.
#include "app/scene_manager.h"
#include "tests/app/scenes/stage_menu_harness.h"

#include "base/files.h"
#include "app/main_window.h"
#include "base/messages.h"
#include "frontend/data/option_data.h"
#include "platform/cp932.h"
#include "frontend/frontend_services.h"
#include "frontend/replay/replay.h"
#include "frontend/scenes/scene_title.h"
#include "media/text/font.h"
#include "play/scene_play.h"

namespace {

using namespace scenetest;

// Replays named r00 .. r(n-1), one minute apart (their names sort as their
// times).
void WriteReplayNames(const DemoRun& run, int n) {
    std::filesystem::remove_all(run.Dir().Path() / "user_data/rpl4");
    run.Dir().MakeDirs("user_data/rpl4");
    for (int i = 0; i < n; ++i) {
        const std::string name = "2009_0101_1200" + std::string(i < 10 ? "0" : "") + std::to_string(i) +
                                 "_stage" + (i % 3 == 0 ? "_CLEAR_" : "") + ".rpl4_1000";
        WriteFileAt(run, "user_data/rpl4/" + name, 1230778800 + 60 * i);
    }
    platform::InvalidateDirCache();
}

TEST(ReplayListGolden, WindowFullScreenAndEmpty) {
    for (bool english : {false, true}) {
        for (int windowed : {1, 0}) {
            const std::string lang = english ? "en" : "ja";
            SCOPED_TRACE(lang + (windowed ? " window" : " full screen"));
            StartOptions o;
            o.english = english;
            o.windowMode = windowed;
            StageMenuRun run(o);
            ASSERT_TRUE(run.Started());
            WriteReplayNames(run, 24);
            g_ReplayData.m_nSortOrder = windowed ? 1 : 2;
            ASSERT_TRUE(run.Enter(SCENE_REPLAYLIST));
            ASSERT_EQ(g_ReplayFiles.size(), 24u);
            run.Tap(platform::VK_DOWN);
            run.Step();
            EXPECT_EQ(Golden("replay_list_" + std::string(windowed ? "window_" : "full_") + lang + ".png",
                             run.Shown()),
                      "");
            if (!windowed) continue;
            WriteReplayNames(run, 0);
            ASSERT_TRUE(run.Enter(SCENE_REPLAYLIST));
            run.Step();
            EXPECT_EQ(Golden("replay_list_empty_" + lang + ".png", run.Shown()), "");
        }
    }
}

TEST(OptionsGolden, RowsNoteAndEditing) {
    for (bool english : {false, true}) {
        const std::string lang = english ? "en" : "ja";
        SCOPED_TRACE(lang);
        StartOptions o;
        o.english = english;
        o.tweak = [english](cSystemData& sd) {
            for (cCmd& c : sd.m_vecOptionMenu) c.m_nEnabled = 1;
            sd.m_bShowOptionNote = 1;
            sd.m_strOptionNote = english ? "Up/down change a value." : SJ("上下キーで値を変更します");
            if (english) return;
            // Icon letters: the name row still shows letters.
            sd.m_bFontFlag = 1;
            g_Fonts[1].m_bIcon = 1;
        };
        StageMenuRun run(o);
        ASSERT_TRUE(run.Started());
        g_OptionData = cOptionData{};
        g_OptionData.m_strName = "abc";
        g_OptionData.m_nRankingMode = 2;
        g_OptionData.m_nReplayAutoSave = 1;
        g_OptionData.m_nReplayOrder = 1;
        g_OptionData.m_nMessageAuto = 20;
        ASSERT_TRUE(run.Enter(SCENE_OPTIONS));
        run.Step(2);
        EXPECT_EQ(Golden("options_" + lang + ".png", run.Shown()), "");
        if (!english) {
            // Without the icon setting the same name shows as icons.
            g_SystemData.m_bFontFlag = 0;
            const std::vector<uint32_t> letters = run.Shown();
            ASSERT_TRUE(run.Enter(SCENE_OPTIONS));
            run.Step(2);
            EXPECT_NE(run.Shown(), letters);
            g_SystemData.m_bFontFlag = 1;
            ASSERT_TRUE(run.Enter(SCENE_OPTIONS));
            run.Step(2);
        }
        // Editing the replay order: the sign on its row, the cursor before
        // its value.
        for (int i = 0; i < OPTION_ORDER; ++i) run.Tap(platform::VK_DOWN);
        run.Tap(kKeyDecide);
        run.Tap(platform::VK_UP);
        ASSERT_EQ(g_OptionData.m_nReplayOrder, 2);
        EXPECT_EQ(Golden("options_edit_" + lang + ".png", run.Shown()), "");
    }
}

// Three replays of the demo's first stage: a standing hero for 2000 frames.
void WriteDemoReplays(const DemoRun& run) {
    run.Dir().MakeDirs("user_data/rpl4");
    BuildStageFileList();
    ASSERT_TRUE(StartStageFile(g_StageFiles.at(0).m_strPath, 1));
    cReplay replay;
    replay.m_vecDirWords = {0};
    replay.m_vecDirRuns = {2000};
    replay.m_vecButtonWords = {0};
    replay.m_vecButtonRuns = {2000};
    replay.m_nSeed = 7;
    for (const char* name : {"a", "b", "c"})
        ASSERT_EQ(WriteReplayFile(replay, std::string("user_data\\rpl4\\") + name + ".rpl4_1000", g_Stage,
                                  g_StageStart, g_Progress),
                  1);
    platform::InvalidateDirCache();
}

TEST(ListOptionsWalk, TitleReplayListPlaybackAndBack) {
    StageMenuRun run;
    ASSERT_TRUE(run.Started());
    SetSceneFactory(SCENE_PLAY, [] { return static_cast<cScene*>(new cScenePlay()); });
    WriteDemoReplays(run);
    g_ReplayData.m_nSortOrder = 2;
    ChooseTitleItem(run, TITLE_REPLAY);
    ASSERT_TRUE(run.StepUntilState(1));
    ASSERT_EQ(Kind(), SCENE_REPLAYLIST);
    ASSERT_EQ(g_ReplayFiles.size(), 3u);
    run.Tap(platform::VK_DOWN);
    run.Tap(kKeyDecide);
    for (int i = 0; i < 400 && !(Kind() == SCENE_PLAY && run.State() == CSCENEPLAY_PLAY); ++i) run.Step();
    ASSERT_EQ(Kind(), SCENE_PLAY);
    ASSERT_EQ(run.State(), CSCENEPLAY_PLAY);
    EXPECT_EQ(g_Stage.m_strPath, "user_data\\rpl4\\b.rpl4_1000");
    EXPECT_EQ(g_ReplayData.m_nListPos, 1);
    EXPECT_EQ(g_Replay.m_nSeed, 7);  // the file's recording plays back
    run.Step(10);
    EXPECT_EQ(run.State(), CSCENEPLAY_PLAY);
    // Space, then the menu's last entry: back to the list.
    run.Tap(platform::VK_SPACE);
    ASSERT_EQ(run.State(), CSCENEPLAY_MENU);
    run.Tap(platform::VK_UP);
    run.Tap(platform::VK_UP);
    run.Tap(kKeyDecide);
    for (int i = 0; i < 400 && !(Kind() == SCENE_REPLAYLIST && run.State() == 1); ++i) run.Step();
    ASSERT_EQ(Kind(), SCENE_REPLAYLIST);
    run.Step();
    EXPECT_EQ(Cursor().m_nY, 1);
    run.Tap(kKeyCancel);
    ASSERT_TRUE(run.StepUntilState(1));
    EXPECT_EQ(Kind(), SCENE_TITLE);
    EXPECT_EQ(g_bQuit.load(), 0);
    EXPECT_TRUE(run.Boxes().empty());
}

TEST(ListOptionsWalk, TitleOptionsEveryRowAndBack) {
    StartOptions o;
    o.tweak = [](cSystemData& sd) {
        for (cCmd& c : sd.m_vecOptionMenu) c.m_nEnabled = 1;
    };
    StageMenuRun run(o);
    ASSERT_TRUE(run.Started());
    ScopedMainWindow names("XYZ");
    g_OptionData = cOptionData{};
    const cOptionData before = g_OptionData;
    ChooseTitleItem(run, TITLE_OPTIONS);
    ASSERT_TRUE(run.StepUntilState(1));
    ASSERT_EQ(Kind(), SCENE_OPTIONS);
    run.Step();
    // Every row but the last: a value raised and lowered again, the name typed.
    for (int row = 0; row < OPTION_BACK; ++row) {
        SCOPED_TRACE(row);
        ASSERT_EQ(Cursor().m_nY, row);
        run.Tap(kKeyDecide);
        if (row != OPTION_NAME) {
            run.Tap(platform::VK_UP);
            run.Tap(platform::VK_DOWN);
            run.Tap(kKeyDecide);
        }
        run.Tap(platform::VK_DOWN);
    }
    EXPECT_EQ(names.Dialogs(), 1);
    EXPECT_EQ(g_OptionData.m_strName, "XYZ");
    EXPECT_EQ(g_OptionData.m_nSeVolume, before.m_nSeVolume);
    EXPECT_EQ(g_OptionData.m_nPaletteCycle, before.m_nPaletteCycle);
    run.Tap(kKeyDecide);  // the back row
    ASSERT_TRUE(run.StepUntilState(1));
    EXPECT_EQ(Kind(), SCENE_TITLE);
    run.Step();
    EXPECT_EQ(Cursor().m_nY, TITLE_OPTIONS);
    EXPECT_TRUE(std::filesystem::exists(run.Dir().Path() / "user_data/Option.dat"));
    EXPECT_EQ(g_bQuit.load(), 0);
}

// The program's own scene factories make both scenes from the title.
TEST(ListOptionsWalk, TheProgramMakesBothScenes) {
    DemoRun run;
    ASSERT_TRUE(run.Started());
    ResetSceneFactories();
    for (int item : {TITLE_REPLAY, TITLE_OPTIONS}) {
        SCOPED_TRACE(item);
        ASSERT_TRUE(run.StepUntilState(1));
        ASSERT_EQ(Kind(), SCENE_TITLE);
        for (int i = 0; i < 10 && g_MenuCursor.Cur().m_nY != item; ++i) run.Tap(platform::VK_DOWN);
        ASSERT_EQ(g_MenuCursor.Cur().m_nY, item);
        run.Tap(kKeyDecide);
        ASSERT_TRUE(run.StepUntilState(1));
        cScene* s = run.Scene();
        EXPECT_TRUE(item == TITLE_REPLAY ? dynamic_cast<cSceneReplayList*>(s) != nullptr
                                         : dynamic_cast<cSceneOptions*>(s) != nullptr);
        run.Tap(kKeyCancel);
    }
}

}  // namespace
