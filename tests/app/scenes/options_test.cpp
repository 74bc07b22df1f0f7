// The options scene on the demo: editing with wrap and apply, cancel, the
// value texts, the music switches and their back end, the name entry, the
// rows shown, and Option.dat written when the scene is left.
#include "app/scene_manager.h"
#include "tests/app/scenes/stage_menu_harness.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "base/files.h"
#include "base/main_thread.h"
#include "app/main_window.h"
#include "frontend/scenes/scene_options.h"
#include "base/messages.h"
#include "frontend/data/option_data.h"
#include "platform/cp932.h"
#include "frontend/frontend_services.h"
#include "media/gfx/dd_palette.h"
#include "media/sound/bgm_manager.h"
#include "media/sound/ds_sound.h"

namespace {

using namespace scenetest;

cSceneOptions* Options() { return dynamic_cast<cSceneOptions*>(g_SceneManager.SceneOf(SCENE_OPTIONS)); }

StartOptions AllRows(int direct3D = 1, int bpp = 32) {
    StartOptions o;
    o.direct3D = direct3D;
    o.bpp = bpp;
    o.windowMode = bpp == 8 ? 0 : 1;  // 8-bit colour is full screen only
    o.tweak = [](cSystemData& sd) {
        for (cCmd& c : sd.m_vecOptionMenu) c.m_nEnabled = 1;
    };
    return o;
}

// Enters the options and steps until rows can be chosen.
bool EnterOptions(StageMenuRun& run) {
    if (!run.Enter(SCENE_OPTIONS)) return false;
    run.Step();
    return Options() && Options()->m_nStep == 1;
}

// Moves the cursor to the row of an action.
bool GoTo(StageMenuRun& run, int action) {
    for (int i = 0; i < OPTION_ACTIONS; ++i) {
        if (Options()->m_aItemAction[Cursor().m_nY] == action) return true;
        run.Tap(platform::VK_DOWN);
    }
    return false;
}

std::vector<std::string> Logged(const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& s : MediaCallLog())
        if (s.rfind(prefix, 0) == 0) out.push_back(s);
    return out;
}

int SeCopies() {
    int n = 0;
    for (int i = 0; i < DS_SECount(); ++i) n += SeInfoAt(i).nCopies;
    return n;
}

TEST(Options, EditsWrapInTheirRangesAndApply) {
    StageMenuRun run(AllRows());
    ASSERT_TRUE(run.Started());
    ASSERT_TRUE(EnterOptions(run));
    ASSERT_EQ(Options()->m_nItems, 10);
    ASSERT_GT(SeCopies(), 0);
    const struct {
        int action;
        int32_t before;
        int key;
        int32_t after;
    } cases[] = {
        {OPTION_PALETTE, 23, platform::VK_UP, 0},
        {OPTION_SE, 0, platform::VK_DOWN, 10},
        {OPTION_JOYSTICK, 1, platform::VK_UP, 0},
        {OPTION_MESSAGE, 0, platform::VK_DOWN, 21},
        {OPTION_RANKING, 9, platform::VK_DOWN, 0},  // from a hand-typed file: wrapped in
        {OPTION_ORDER, -4, platform::VK_UP, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.action);
        int top = 0;
        int32_t* value = cSceneOptions::OptionValue(c.action, top);
        ASSERT_NE(value, nullptr);
        *value = c.before;
        ASSERT_TRUE(GoTo(run, c.action));
        const int row = Cursor().m_nY;
        run.Tap(kKeyDecide);
        ASSERT_EQ(Options()->m_nStep, 2);
        ClearMediaCallLog();
        run.Tap(c.key);
        EXPECT_EQ(*value, c.after);
        const std::vector<std::string> volumes = Logged("DS_SetVolume");
        if (c.action == OPTION_SE) {
            // Every copy of every effect at full volume.
            EXPECT_EQ(static_cast<int>(volumes.size()), SeCopies());
            for (const std::string& v : volumes) EXPECT_EQ(v.substr(v.size() - 4), " 0 0");
        } else {
            EXPECT_TRUE(volumes.empty());
        }
        run.Tap(kKeyDecide);
        EXPECT_EQ(Options()->m_nStep, 1);
        EXPECT_EQ(Cursor().m_nY, row);
    }
    EXPECT_EQ(g_bQuit.load(), 0);
}

TEST(Options, CancelRestoresTheLevelAndItsVolume) {
    StageMenuRun run(AllRows());
    ASSERT_TRUE(run.Started());
    g_OptionData.m_nSeVolume = 7;
    ASSERT_TRUE(EnterOptions(run));
    ASSERT_TRUE(GoTo(run, OPTION_SE));
    const int row = Cursor().m_nY;
    run.Tap(kKeyDecide);
    run.Tap(platform::VK_DOWN);
    ASSERT_EQ(g_OptionData.m_nSeVolume, 6);
    EXPECT_EQ(Logged("DS_SetVolume").back().substr(Logged("DS_SetVolume").back().size() - 7), " -600 0");
    ClearMediaCallLog();
    run.Tap(kKeyCancel);
    EXPECT_EQ(g_OptionData.m_nSeVolume, 7);
    const std::vector<std::string> volumes = Logged("DS_SetVolume");
    EXPECT_EQ(static_cast<int>(volumes.size()), SeCopies());
    for (const std::string& v : volumes) EXPECT_EQ(v.substr(v.size() - 7), " -400 0");
    EXPECT_EQ(Options()->m_nStep, 1);
    EXPECT_EQ(Cursor().m_nY, row);
    EXPECT_EQ(g_SceneState.m_nSceneKind.load(), SCENE_OPTIONS);

    // A level outside 0..10 from a hand-edited file comes back on cancel
    // and plays at full volume.
    g_OptionData.m_nSeVolume = 15;
    run.Tap(kKeyDecide);
    run.Tap(platform::VK_UP);
    EXPECT_EQ(g_OptionData.m_nSeVolume, 0);
    ClearMediaCallLog();
    run.Tap(kKeyCancel);
    EXPECT_EQ(g_OptionData.m_nSeVolume, 15);
    for (const std::string& v : Logged("DS_SetVolume")) EXPECT_EQ(v.substr(v.size() - 4), " 0 0");
    EXPECT_EQ(g_bQuit.load(), 0);
}

TEST(Options, ValueTextsAndTheirPlaces) {
    StageMenuRun run;
    ASSERT_TRUE(run.Started());
    cOptionData& o = g_OptionData;
    const struct {
        int action;
        int32_t value;
        std::string text;
    } cases[] = {
        {OPTION_MESSAGE, 20, "10.0"},
        {OPTION_MESSAGE, 21, "OFF"},
        {OPTION_MESSAGE, 99, "OFF"},
        {OPTION_JOYSTICK, 1, "ON"},
        {OPTION_JOYSTICK, 0, "OFF"},
        {OPTION_JOYSTICK, 2, ""},
        {OPTION_RANKING, 3, g_SystemData.m_vecRankingModeLabels.at(3)},
        {OPTION_RANKING, 4, ""},
        {OPTION_AUTOSAVE, -1, ""},
        {OPTION_ORDER, 3, ""},
        {OPTION_BGM, 5, "5"},
    };
    for (const auto& c : cases) {
        int top = 0;
        *cSceneOptions::OptionValue(c.action, top) = c.value;
        EXPECT_EQ(cSceneOptions::ValueText(c.action), c.text) << c.action << " " << c.value;
    }
    EXPECT_EQ(cSceneOptions::ValueText(OPTION_BACK), "");
    o = cOptionData{};
    EXPECT_EQ(g_bQuit.load(), 0);
    // 16 x (characters + 6), at least 224: "SE" gives 224, the sixteen
    // characters of the message row 352.
    g_SystemData.m_vecOptionMenu.at(OPTION_SE).m_strLabel = "SE";
    EXPECT_EQ(cSceneOptions::ValueX(OPTION_SE), 224);
    g_SystemData.m_vecOptionMenu.at(OPTION_MESSAGE).m_strLabel = SJ("リプレイのメッセージ自動進行秒数");
    EXPECT_EQ(cSceneOptions::ValueX(OPTION_MESSAGE), 352);
}

TEST(Options, RowsOfTheEnabledEntriesOrOneColourRow) {
    for (bool none : {false, true}) {
        SCOPED_TRACE(none);
        StartOptions o;
        o.tweak = [none](cSystemData& sd) {
            for (size_t i = 0; i < sd.m_vecOptionMenu.size(); ++i)
                sd.m_vecOptionMenu.at(i).m_nEnabled = none ? 0 : (i % 3 != 1);
        };
        StageMenuRun run(o);
        ASSERT_TRUE(run.Started());
        ASSERT_TRUE(EnterOptions(run));
        const cSceneOptions* s = Options();
        if (none) {
            ASSERT_EQ(s->m_nItems, 1);
            EXPECT_EQ(s->m_aItemAction[0], OPTION_PALETTE);
        } else {
            EXPECT_EQ(std::vector<int>(s->m_aItemAction, s->m_aItemAction + s->m_nItems),
                      (std::vector<int>{0, 2, 3, 5, 6, 8, 9}));
        }
    }
}

// Steps until the options have handed over to the title (before its first
// frame).
bool StepUntilLeft(StageMenuRun& run) {
    for (int i = 0; i < 100 && g_SceneState.m_nSceneKind.load() == SCENE_OPTIONS; ++i) run.Step();
    return g_SceneState.m_nSceneKind.load() == SCENE_TITLE;
}

// The options' music back-end switch runs on the main thread, which owns the
// music manager (its close stops the music): the game thread only waits.
TEST(Options, TheMusicBackEndIsSwitchedOnTheMainThread) {
    StageMenuRun run(AllRows());
    ASSERT_TRUE(run.Started());
    ASSERT_TRUE(DS_BgmInitialised());
    for (const int volume : {0, 1}) {
        SCOPED_TRACE(volume);
        g_OptionData.m_nBgmVolume = volume;
        g_SceneState.m_nBgmEntry = 3;
        std::atomic<bool> done{false};
        std::thread game([&] {
            UpdateMusicBackEnd();
            done = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_FALSE(done.load());
        EXPECT_EQ(DS_BgmInitialised(), volume == 0);  // not yet switched
        while (!done.load()) {
            ServeMainThreadRequests();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        game.join();
        EXPECT_EQ(DS_BgmInitialised(), volume != 0);
        EXPECT_EQ(g_SceneState.m_nBgmEntry, 0);
    }
}

TEST(Options, MusicVolumeSwitchesTheMusicBackEnd) {
    StageMenuRun run(AllRows());
    ASSERT_TRUE(run.Started());
    ScopedMainWindow window;
    ASSERT_TRUE(DS_BgmInitialised());
    g_OptionData.m_nBgmVolume = 1;
    ASSERT_TRUE(EnterOptions(run));
    ASSERT_TRUE(GoTo(run, OPTION_BGM));
    run.Tap(kKeyDecide);
    run.Tap(platform::VK_DOWN);
    ClearMediaCallLog();
    run.Tap(kKeyDecide);  // the options' music asked for again, forced
    const int entry = SceneBgmEntry(5);
    EXPECT_EQ(Logged(entry ? "DS_BgmPlay 0 5 " : "DS_BgmStop").size(), 1u);
    EXPECT_EQ(g_SceneState.m_nBgmEntry, entry);
    ClearMediaCallLog();
    run.Tap(kKeyCancel);
    ASSERT_TRUE(StepUntilLeft(run));
    EXPECT_EQ(Logged("DS_Bgm"), (std::vector<std::string>{"DS_BgmEnd"}));
    EXPECT_FALSE(DS_BgmInitialised());
    EXPECT_EQ(g_SceneState.m_nBgmEntry, 0);

    // Back above 0: the back end starts again and the title's music plays.
    ASSERT_TRUE(EnterOptions(run));
    ASSERT_TRUE(GoTo(run, OPTION_BGM));
    run.Tap(kKeyDecide);
    run.Tap(platform::VK_UP);
    run.Tap(kKeyDecide);
    ClearMediaCallLog();
    run.Tap(kKeyCancel);
    ASSERT_TRUE(StepUntilLeft(run));
    EXPECT_EQ(Logged("DS_Bgm"), (std::vector<std::string>{"DS_BgmEnd", "DS_BgmInit 1 7 1"}));
    EXPECT_TRUE(DS_BgmInitialised());
    EXPECT_EQ(g_SceneState.m_nBgmEntry, 0);
    ClearMediaCallLog();
    ASSERT_TRUE(run.StepUntilState(1));
    if (SceneBgmEntry(0)) {
        EXPECT_EQ(Logged("DS_BgmPlay 0 0 ").size(), 1u);
    }
}

TEST(Options, NameRowAsksTheNameEntry) {
    StageMenuRun run(AllRows());
    ASSERT_TRUE(run.Started());
    ScopedMainWindow names("abc");
    g_OptionData.m_strName = "zz";
    ASSERT_TRUE(EnterOptions(run));
    ASSERT_TRUE(GoTo(run, OPTION_NAME));
    run.Tap(kKeyDecide);
    EXPECT_EQ(names.Dialogs(), 1);
    EXPECT_EQ(g_OptionData.m_strName, "abc");
    EXPECT_EQ(Options()->m_nStep, 1);  // no editing state
    EXPECT_EQ(g_MenuCursor.Depth(), 1);
}

TEST(Options, LeavingWritesOptionDat) {
    StageMenuRun run(AllRows());
    ASSERT_TRUE(run.Started());
    std::filesystem::remove(run.Dir().Path() / "user_data/Option.dat");
    g_OptionData.m_nReplayOrder = 0;
    ASSERT_TRUE(EnterOptions(run));
    ASSERT_TRUE(GoTo(run, OPTION_ORDER));
    run.Tap(kKeyDecide);
    run.Tap(platform::VK_UP);
    run.Tap(kKeyDecide);
    EXPECT_FALSE(std::filesystem::exists(run.Dir().Path() / "user_data/Option.dat"));  // not before leaving
    ASSERT_TRUE(GoTo(run, OPTION_BACK));
    run.Tap(kKeyDecide);
    ASSERT_TRUE(StepUntilLeft(run));
    cOptionData same = g_OptionData;
    ASSERT_EQ(same.m_nReplayOrder, 1);
    const std::vector<uint8_t> bytes = same.SaveBytes();
    EXPECT_EQ(run.Dir().ReadFile("user_data/Option.dat"), std::string(bytes.begin(), bytes.end()));
    EXPECT_TRUE(run.Boxes().empty());
}

TEST(Options, FailedWriteIsReported) {
    StageMenuRun run;
    ASSERT_TRUE(run.Started());
    // A folder in the file's place cannot be replaced.
    std::filesystem::remove(run.Dir().Path() / "user_data/Option.dat");
    run.Dir().WriteFile("user_data/Option.dat/keep", "x");
    platform::InvalidateDirCache();
    ASSERT_TRUE(EnterOptions(run));
    run.Tap(kKeyCancel);
    ASSERT_TRUE(StepUntilLeft(run));
    ASSERT_EQ(run.Boxes().size(), 1u);
    EXPECT_NE(run.Boxes()[0].text.find("Option.dat"), std::string::npos);
    EXPECT_NE(run.Dir().ReadFile("Report_Game.txt").find("Option.dat"), std::string::npos);
    EXPECT_EQ(g_bQuit.load(), 0);
}

TEST(Options, ColourCycleLoadsInEightBitColourOnly) {
    for (int bpp : {8, 32}) {
        SCOPED_TRACE(bpp);
        StageMenuRun run(AllRows(0, bpp));
        ASSERT_TRUE(run.Started());
        g_OptionData.m_nPaletteCycle = 0;
        ASSERT_TRUE(EnterOptions(run));
        run.Step();
        uint8_t before[256][4];
        std::memcpy(before, g_Palette, sizeof before);
        ASSERT_TRUE(GoTo(run, OPTION_PALETTE));
        run.Tap(kKeyDecide);
        run.Tap(platform::VK_UP);
        EXPECT_EQ(g_OptionData.m_nPaletteCycle, 1);
        EXPECT_EQ(std::memcmp(before, g_Palette, sizeof before) != 0, bpp == 8);
        EXPECT_TRUE(run.Boxes().empty());
    }
}

}  // namespace
