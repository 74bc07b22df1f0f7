// Scripted plays of a demo stage, recorded, written to replay files, read
// back and played back headless: every frame of play must give the state
// hash it gave while recording.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "app/scene_manager.h"
#include "app/app_init.h"
#include "base/app_state.h"
#include "base/log.h"
#include "base/main_thread.h"
#include "app/main_window.h"
#include "base/quit.h"
#include "base/scene_state.h"
#include "records/system_ini.h"
#include "base/thread.h"
#include "frontend/data/boot_data.h"
#include "frontend/data/game_progress.h"
#include "frontend/data/option_data.h"
#include "frontend/frontend_services.h"
#include "frontend/replay/replay.h"
#include "app/replay_check.h"
#include "frontend/replay/replay_file.h"
#include "platform/input_source.h"
#include "platform/keyboard_state.h"
#include "platform/message_box.h"
#include "play/map_cell.h"
#include "play/scene_play.h"
#include "records/cmd_kinds.h"
#include "records/stage.h"
#include "records/system_data.h"
#include "tests/support/demo_keys.h"
#include "tests/support/demo_run.h"
#include "tests/support/demo_template.h"
#include "tests/support/temp_dir.h"

namespace {

using Keys = std::set<int>;
constexpr int kLeft = platform::VK_LEFT, kRight = platform::VK_RIGHT, kDown = platform::VK_DOWN;
constexpr int kJump = 'Z', kSpace = platform::VK_SPACE, kF1 = platform::VK_F1;

// Keys by the scene frame, and inside a nested frame loop by the loop's own
// frame (counted by its input polls).
class cScriptedKeys : public platform::cInputSource {
public:
    std::function<Keys(int frame, int loopFrame)> script;
    int frame = 0;

    bool IsKeyHeld(int vk) override {
        const cScenePlay* scene = PlayScene();
        const bool inLoop = scene && scene->m_bInNestedLoop;
        if (!inLoop) m_loopPolls = 0;
        if (inLoop && vk == kLeft) ++m_loopPolls;
        return script && script(frame, inLoop ? m_loopPolls : 0).count(vk) != 0;
    }
    unsigned JoyGetNumDevs() override { return 0; }
    bool JoyGetPosEx(unsigned, platform::JoyInfoEx&) override { return false; }
    bool JoyGetDevCaps(unsigned, platform::JoyCaps&) override { return false; }

private:
    int m_loopPolls = 0;
};

cEdFlowCmd ItemCommand(int kind, std::vector<int32_t> params, const std::string& code = "") {
    cEdFlowCmd c;
    c.m_nFamily = cEdFlowCmd::FAMILY_ITEM;
    c.m_nKind = static_cast<int8_t>(kind);
    c.m_vecParam = std::move(params);
    c.m_vecParam.resize(21, 0);
    c.m_strCode = code;
    return c;
}

// A blocking message at the hero that waits for button 0; with choices,
// the chosen value goes to the command's result.
cEdFlowCmd Message(const std::string& text, bool choices) {
    std::vector<int32_t> p(21, 0);
    p[0] = 4;  // at the hero
    p[8] = 1;  // the play waits
    p[19] = choices ? 1 : 0;
    p[20] = choices ? 1 : 0;
    return ItemCommand(ICMD_MESSAGE, p, text);
}

cEdItem TouchItem(int x, std::vector<cEdFlowCmd> cmds) {
    cEdItem item;
    item.m_nX = static_cast<int16_t>(x);
    item.m_nY = 12;
    item.m_nGraphic = 1;
    item.m_bPickupWindow = 0;
    item.m_vecCmd = std::move(cmds);
    return item;
}

class ReplayDeterminismTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::ResetForDemoRun();
        g_bEditorTest = 1;
        testsupport::CopyDemo(m_dir.Path());
        ASSERT_TRUE(CreateReport((m_dir.Path() / "Report_Game.txt").string()));
        ASSERT_TRUE(AppInit("data\\stg4\\Meadow.stg4_001", 1));
        g_bActive = 1;
        g_SystemData.OptReplayRecord = 1;
        g_SystemData.m_bReplaySaveKeys = 1;
        // F1 writes this play at once, as the replay-save window would.
        SetMainWindowHandler([this](int msg, intptr_t wParam, intptr_t) -> intptr_t {
            if (msg != UM_SAVEREPLAY) return 0;
            m_f1Saves.push_back(SaveReplayAfterDialog(static_cast<int>(wParam), Path("f1")));
            g_nReplaySaveDone = 1;
            return 1;
        });
    }
    void TearDown() override {
        SetMainWindowHandler({});
        AppEnd();
        g_bQuit = 0;
        g_bEditorTest = 0;
        g_bFreeStage = 0;
        g_SceneState.g_nGameType = 0;
        g_Replay.Reset();
        g_ReplayPrev.Reset();
    }

    std::string Path(const std::string& name) { return (m_dir.Path() / (name + ".rpl4_1000")).string(); }

    // Runs scene frames with the script's keys until `frames` have run or
    // the stage is cleared; the hashes of every frame of play, one list per
    // try (a set-up starts a new one).
    void Record(int frames, std::function<Keys(int frame, int loopFrame)> script) {
        cScriptedKeys keys;
        keys.script = std::move(script);
        platform::cScopedInputSource source(keys);
        m_tries.assign(1, {});
        cPlayFrameWatch watch;
        for (keys.frame = 0; keys.frame < frames && !g_bQuit; ++keys.frame) {
            const int32_t before = PlayScene() ? PlayScene()->m_nFrame : 0;
            watch.Before();
            ASSERT_TRUE(g_SceneManager.Update());
            const cScenePlay* scene = PlayScene();
            ASSERT_NE(scene, nullptr);
            if (watch.After()) {
                m_tries.back().push_back(watch.Hash());
            } else if (scene->m_nFrame < before && !m_tries.back().empty()) {
                m_tries.emplace_back();
            }
            if (scene->m_nState == CSCENEPLAY_STAGEEND) break;
        }
        ASSERT_EQ(g_bQuit.load(), 0);
    }

    // Writes this play (0) or the previous one (1); the file's name.
    std::string Write(int previous) {
        const std::string path = Path((previous ? "previous" : "this") + std::to_string(m_writes++));
        EXPECT_TRUE(WriteReplayOf(previous, path, false));
        return path;
    }
    // Reads a replay back and plays it: the hashes of the recorded try must
    // come again.
    void ExpectPlayback(const std::string& path, const std::vector<uint64_t>& recorded, int ending) {
        ReplayRun run;
        ASSERT_TRUE(PlayReplayRun(path, run));
        EXPECT_EQ(FirstDifference(recorded, run.hashes), -1)
            << recorded.size() << " frames recorded, " << run.hashes.size() << " played";
        EXPECT_EQ(run.ending, ending) << ReplayEndingName(run.ending);
        m_runs.push_back(run);
        // The check of the command line agrees.
        std::FILE* out = std::tmpfile();
        EXPECT_EQ(VerifyReplay(path, "", "", out), 0);
        std::fclose(out);
    }

    // The stage as it is played (before the first frame).
    static void AddItems(std::vector<cEdItem> items) {
        for (cEdItem& i : items) g_Stage.m_vecPlacedItem.push_back(std::move(i));
    }
    // Without its goal the stage goes on until the hero dies.
    static void RemoveGoal() {
        std::erase_if(g_Stage.m_vecPlacedItem, [](const cEdItem& i) { return !i.m_vecCmd.empty(); });
    }
    // How the recording ended, as the playback of its last try must end.
    static int RecordedEnding() {
        return PlayScene()->m_nState == CSCENEPLAY_STAGEEND ? REPLAY_END_CLEAR : REPLAY_END_STREAMS;
    }

    // Frames run unpaced: the frame waits pass at once.
    platform::FakeClock m_clock;
    testsupport::TempWorkDir m_dir;
    platform::CapturedMessageBoxes m_boxes;
    std::vector<std::vector<uint64_t>> m_tries;
    std::vector<ReplayRun> m_runs;
    std::vector<bool> m_f1Saves;
    int m_writes = 0;
};

// Walking right, jumping now and then and at each pit, and firing spreads of
// shots past the blocks that come by chance, the walkers and the coins.
Keys Dash(int frame) {
    Keys k;
    testsupport::DashKeys(frame, k);
    return k;
}

TEST_F(ReplayDeterminismTest, ShotsChanceBlocksAndTheClearPlayBack) {
    Record(2600, [](int f, int) { return Dash(f); });
    ASSERT_EQ(m_tries.size(), 1u);
    ASSERT_GT(m_tries[0].size(), 100u);
    // The play met what the demo stage holds.
    const cScenePlay& scene = *PlayScene();
    EXPECT_EQ(scene.m_nState, CSCENEPLAY_STAGEEND);
    int latched = 0;
    for (const cMapCell& cell : g_vMapCells) latched += cell.m_nLatch != 0;
    EXPECT_GT(latched, 0);
    EXPECT_GT(scene.m_nShotSerial, 6);
    // Played back outside a free stage run, the replay keeps the lives it
    // was recorded with.
    g_bFreeStage = 0;
    ExpectPlayback(Write(0), m_tries[0], REPLAY_END_CLEAR);
}

// The in-game menu held open, then closed; F1 saves mid-play and leaves the
// stage as it was.
TEST_F(ReplayDeterminismTest, MenuHeldOpenAndAnF1Save) {
    RemoveGoal();
    Record(330, [](int f, int) -> Keys {
        if (f >= 100 && f < 103) return {kSpace};
        if (f >= 103 && f < 160) return {kDown};  // the menu stays open
        if (f >= 160 && f < 162) return {'X'};    // closed with button 1
        if (f == 250) return {kF1};
        return Dash(f);
    });
    ASSERT_EQ(m_tries.size(), 1u);
    ASSERT_EQ(m_f1Saves, std::vector<bool>{true});
    ExpectPlayback(Write(0), m_tries[0], REPLAY_END_STREAMS);
    // The F1 file is the play up to the save.
    ReplayRun f1;
    ASSERT_TRUE(PlayReplayRun(Path("f1"), f1));
    ASSERT_LE(f1.hashes.size(), m_tries[0].size());
    const std::vector<uint64_t> upToSave(m_tries[0].begin(), m_tries[0].begin() + static_cast<long>(f1.hashes.size()));
    EXPECT_EQ(FirstDifference(upToSave, f1.hashes), -1);
    EXPECT_GT(f1.hashes.size(), 100u);
}

// A miss (the hero walks into the walkers without shooting) and the retry:
// both tries play back from their own files.
TEST_F(ReplayDeterminismTest, RetryAfterAMiss) {
    RemoveGoal();
    Record(600, [](int, int) -> Keys { return {kRight}; });
    ASSERT_EQ(m_tries.size(), 2u);
    const int ending = RecordedEnding();
    const std::string first = Write(1), second = Write(0);
    ExpectPlayback(first, m_tries[0], REPLAY_END_MISS);
    ExpectPlayback(second, m_tries[1], ending);
}

// A message answered in its first round in playback, a choice answered after
// a delay and a game wait with a direction held: the nested loops take
// frames of their own that playback does not repeat.
TEST_F(ReplayDeterminismTest, MessageChoiceAndGameWait) {
    AddItems({TouchItem(5, {Message("Hello", false)}), TouchItem(7, {Message("Go on?\n#R1 Yes\n#R2 No", true)}),
              TouchItem(9, {ItemCommand(ICMD_GAME_WAIT, {5})})});
    Record(500, [](int f, int loop) -> Keys {
        if (loop > 0) {
            // Answered after a delay, the cursor one row down first.
            if (loop >= 30 && loop < 33) return {kDown, kRight};
            if (loop >= 40 && loop < 42) return {kJump, kRight};
            return {kRight};
        }
        return f < 60 ? Keys{kRight} : Dash(f);
    });
    ASSERT_EQ(m_tries.size(), 1u);
    ExpectPlayback(Write(0), m_tries[0], RecordedEnding());
}

// The first try of a play with its fade-in, and with no, one or both of the
// stage's banners: the frames before play change nothing that play reads.
// One test per case, so that the cases run side by side.
struct BannerCase {
    int stageBanner, startBanner;
};

class FadeInAndBannersTest : public ReplayDeterminismTest, public ::testing::WithParamInterface<BannerCase> {};

TEST_P(FadeInAndBannersTest, PlaysBack) {
    const BannerCase c = GetParam();
    g_SceneManager.DeleteAllScenes();
    g_SceneState.g_nGameType = 3;
    g_SceneState.m_nPrevSceneKind = SCENE_TITLE;
    g_SceneState.m_nSceneKind = SCENE_PLAY;
    g_bEditorTest = 0;  // the banners show outside an editor test
    ASSERT_TRUE(StartStageFile("data\\stg4\\Meadow.stg4_001", 1));
    g_Stage.m_bStageBanner = g_StageStart.m_bStageBanner = c.stageBanner;
    g_Stage.m_bStartBanner = g_StageStart.m_bStartBanner = c.startBanner;
    Record(420, [](int f, int) { return Dash(f); });
    ASSERT_EQ(m_tries.size(), 1u);
    ASSERT_GT(m_tries[0].size(), 100u);
    ExpectPlayback(Write(0), m_tries[0], RecordedEnding());
}

INSTANTIATE_TEST_SUITE_P(Banners, FadeInAndBannersTest,
                         ::testing::Values(BannerCase{0, 0}, BannerCase{1, 0}, BannerCase{0, 1}, BannerCase{1, 1}),
                         [](const ::testing::TestParamInfo<BannerCase>& info) {
                             return "Stage" + std::to_string(info.param.stageBanner) + "Start" +
                                    std::to_string(info.param.startBanner);
                         });

}  // namespace
