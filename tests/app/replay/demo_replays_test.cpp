// The demo's replays under tests/play/replays/: one scripted play of each
// demo stage to its clear, with the per-frame hashes of its playback
// (UPDATE_GOLDEN=1 plays the scripts again and remakes both). They play
// back with those hashes, and `tovaro --verify-replay` finds the first frame
// of a copy with one input word changed. The long replay under
// tests/play/replays/long/ (a hero pacing the start of a stage for 8,400
// frames) is made the same way; the Release build checks it and
// bench_replay_verify measures it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "app/scene_manager.h"
#include "app/app_init.h"
#include "base/app_state.h"
#include "base/log.h"
#include "base/main_thread.h"
#include "base/quit.h"
#include "base/scene_state.h"
#include "records/system_ini.h"
#include "base/thread.h"
#include "frontend/data/boot_data.h"
#include "frontend/replay/replay.h"
#include "app/replay_check.h"
#include "frontend/replay/replay_file.h"
#include "platform/input_source.h"
#include "platform/keyboard_state.h"
#include "platform/message_box.h"
#include "play/chara.h"
#include "play/chara_computer.h"
#include "play/scene_play.h"
#include "records/system_data.h"
#include "tests/media/input/fake_input_source.h"
#include "tests/support/demo_keys.h"
#include "tests/support/demo_run.h"
#include "tests/support/demo_template.h"
#include "tests/support/temp_dir.h"

namespace {

const std::filesystem::path kReplays = std::filesystem::path(TOVARO_SOURCE_DIR) / "tests/play/replays";
const char* const kStages[] = {"Meadow", "Caves", "Castle", "Harbour", "Theatre", "Fortress"};
// The stages whose hero has a sword, which their scripted play also swings (C).
const char* const kSwordStages[] = {"Harbour", "Theatre", "Fortress"};
// Every stage's scripted play runs at least this many frames of play.
constexpr long long kLongStageFrames = 1500;
const std::filesystem::path kLongReplays = kReplays / "long";
const char* const kLongStage = "Meadow";
constexpr int kLongFrames = 8400;

std::string ReplayOf(const std::string& stage) { return (kReplays / (stage + ".rpl4_1000")).string(); }
std::string HashesOf(const std::string& stage) { return (kReplays / (stage + ".hashes")).string(); }

// The exit status and output of a command.
int RunCommand(const std::string& command, std::string& output) {
    output.clear();
    FILE* p = ::popen((command + " 2>&1").c_str(), "r");
    if (!p) return -1;
    char buf[512];
    while (std::fgets(buf, sizeof buf, p)) output += buf;
    const int status = ::pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The keys of a scripted play. Inside a nested frame loop that offers
// choices the answer script gives the keys by the loop's own frame (counted
// by its polls of the left key); any other loop sees the scene's keys.
class cAnsweringKeys : public cFakeInputSource {
public:
    std::function<void(int loopFrame, std::set<int>& keys)> answer;

    bool IsKeyHeld(int vk) override {
        const cScenePlay* scene = PlayScene();
        const bool choosing = scene && scene->m_bInNestedLoop && scene->m_Wait.m_nChoiceCount > 0;
        if (!choosing) {
            m_loopPolls = 0;
            return keys.count(vk) != 0;
        }
        if (vk == platform::VK_LEFT) ++m_loopPolls;
        std::set<int> chosen;
        if (answer) answer(m_loopPolls, chosen);
        return chosen.count(vk) != 0;
    }

private:
    int m_loopPolls = 0;
};

// Answers, once the window is open: the first row as it stands; the second
// row (the cursor down); the first row after the cursor went down and came
// back up.
void AnswerFirst(int loop, std::set<int>& keys) {
    if (loop >= 40 && loop < 43) keys.insert('Z');
}
void AnswerSecond(int loop, std::set<int>& keys) {
    if (loop >= 30 && loop < 33) keys.insert(platform::VK_DOWN);
    if (loop >= 60 && loop < 63) keys.insert('Z');
}
void AnswerFirstAfterDown(int loop, std::set<int>& keys) {
    if (loop >= 30 && loop < 33) keys.insert(platform::VK_DOWN);
    if (loop >= 50 && loop < 53) keys.insert(platform::VK_UP);
    if (loop >= 70 && loop < 73) keys.insert('Z');
}

class DemoReplaysTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::ResetForDemoRun();
        testsupport::CopyDemo(m_dir.Path());
        ASSERT_TRUE(CreateReport((m_dir.Path() / "Report_Game.txt").string()));
    }
    void TearDown() override {
        AppEnd();
        g_bQuit = 0;
        g_bEditorTest = 0;
        g_bFreeStage = 0;
        g_SceneState.g_nGameType = 0;
        g_Replay.Reset();
        g_ReplayPrev.Reset();
    }

    // The scripted play of a stage, from its test play to the clear: right
    // (left, back to a boss the hero has passed), a jump every 50 frames and
    // at the edge of each pit, a spread of shots every 23
    // (testsupport::DashKeys); where the hero has a sword also a swing every
    // 61. A choice window is answered by `answer`.
    void RecordClear(const std::string& stage,
                     const std::function<void(int, std::set<int>&)>& answer = AnswerFirst) {
        bool sword = false;
        for (const char* s : kSwordStages) sword = sword || stage == s;
        g_bEditorTest = 1;
        ASSERT_TRUE(AppInit("data\\stg4\\" + stage + ".stg4_001", 1));
        g_bActive = 1;
        g_SystemData.OptReplayRecord = 1;
        cAnsweringKeys keys;
        keys.answer = answer;
        platform::cScopedInputSource source(keys);
        for (int frame = 0; frame < 6000 && !g_bQuit; ++frame) {
            // Past a boss the hero turns back to it.
            const cChara* hero = Hero();
            const cChara* boss = nullptr;
            for (const cCharaComputer& c : g_lstCharas)
                if (c.m_Def.m_strName == "Boss" && !c.m_bDead && !c.m_bRemoved) boss = &c;
            const bool back = hero && boss && hero->m_dX > boss->m_dRight + 32;
            keys.keys.clear();
            testsupport::DashKeys(frame, keys.keys);
            if (back) {
                keys.keys.erase(platform::VK_RIGHT);
                keys.keys.insert(platform::VK_LEFT);
            }
            if (sword && frame % 61 == 0) keys.keys.insert('C');
            ASSERT_TRUE(g_SceneManager.Update());
            if (PlayScene()->m_nState == CSCENEPLAY_STAGEEND) break;
        }
        const cChara* hero = Hero();
        ASSERT_EQ(PlayScene()->m_nState, CSCENEPLAY_STAGEEND)
            << stage << " is not cleared; the hero is at x " << (hero ? hero->m_dX : -1) << ", HP "
            << (hero ? hero->m_nHP : -1);
    }

    // The scripted long play: the hero paces between the stage's third and
    // tenth column (short of the goal and the walkers), jumping every 50
    // frames and shooting every 23, for `frames` frames of the scene.
    void RecordPacing(const std::string& stage, int frames) {
        g_bEditorTest = 1;
        ASSERT_TRUE(AppInit("data\\stg4\\" + stage + ".stg4_001", 1));
        g_bActive = 1;
        g_SystemData.OptReplayRecord = 1;
        cFakeInputSource keys;
        platform::cScopedInputSource source(keys);
        bool right = true;
        for (int frame = 0; frame < frames && !g_bQuit; ++frame) {
            if (const cChara* hero = Hero()) {
                if (hero->m_dX >= 9 * 32) right = false;
                if (hero->m_dX <= 2 * 32) right = true;
            }
            keys.keys = {right ? platform::VK_RIGHT : platform::VK_LEFT};
            if (frame % 50 < 12) keys.keys.insert('Z');
            if (frame % 23 == 0) keys.keys.insert('X');
            ASSERT_TRUE(g_SceneManager.Update());
            ASSERT_NE(PlayScene()->m_nState, CSCENEPLAY_STAGEEND) << stage << " ended at frame " << frame;
        }
    }

    // A play of a stage from its test play, with the script's keys, until
    // the stage is cleared, the game is over or `frames` frames have run. A
    // retry prompt is answered "retry". `lives` (0: as a test play has them,
    // without end) are the lives the play starts with. The script gets the
    // frame of the current try and the try's number (0 first).
    void RecordTries(const std::string& stage, int lives, int frames,
                     const std::function<void(int frame, int attempt, std::set<int>& keys)>& script) {
        g_bEditorTest = 1;
        ASSERT_TRUE(AppInit("data\\stg4\\" + stage + ".stg4_001", 1));
        if (lives > 0) {
            // A test play has lives without end; this one counts them, as a
            // game whose settings give a number of lives does.
            g_bFreeStage = 0;
            g_Progress.m_nStartLives = g_Progress.m_nLives = lives;
        }
        g_bActive = 1;
        g_SystemData.OptReplayRecord = 1;
        cFakeInputSource keys;
        platform::cScopedInputSource source(keys);
        m_attempt = 0;
        int tryFrame = 0;
        bool wasPlaying = false;
        for (int frame = 0; frame < frames && !g_bQuit; ++frame) {
            const int state = PlayScene() ? PlayScene()->m_nState : -1;
            keys.keys.clear();
            if (state == CSCENEPLAY_RETRY) {
                if (frame % 2 == 0) keys.keys.insert('Z');
            } else {
                script(tryFrame, m_attempt, keys.keys);
            }
            ASSERT_TRUE(g_SceneManager.Update());
            ASSERT_NE(PlayScene(), nullptr);
            const int now = PlayScene()->m_nState;
            if (now == CSCENEPLAY_STAGEEND || now == CSCENEPLAY_GAMEOVER) break;
            if (now == CSCENEPLAY_PLAY) {
                ++tryFrame;
                wasPlaying = true;
            } else if (wasPlaying && (now == CSCENEPLAY_READY || now == CSCENEPLAY_RETRY)) {
                ++m_attempt;
                tryFrame = 0;
                wasPlaying = false;
            }
        }
    }

    // Frames run unpaced: the frame waits pass at once.
    platform::FakeClock m_clock;
    testsupport::TempWorkDir m_dir;
    platform::CapturedMessageBoxes m_boxes;
    int m_attempt = 0;
};

// The long replay and its list: remade with UPDATE_GOLDEN=1 (a play of its
// whole length, to the end of its input, with no miss); otherwise only their
// length is checked here (the whole check is the Release build's
// verify_replay_long_* test, as a Debug playback of it takes minutes).
TEST_F(DemoReplaysTest, LongReplayIsLongEnough) {
    const std::string replay = (kLongReplays / (std::string(kLongStage) + ".rpl4_1000")).string();
    const std::string hashes = (kLongReplays / (std::string(kLongStage) + ".hashes")).string();
    const char* update = std::getenv("UPDATE_GOLDEN");
    if (update && *update && std::string(update) != "0") {
        RecordPacing(kLongStage, kLongFrames);
        std::filesystem::create_directories(kLongReplays);
        std::filesystem::remove(replay);
        ASSERT_TRUE(WriteReplayOf(0, replay, false));
        AppEnd();
        g_bEditorTest = 0;
        ASSERT_TRUE(AppInit("", 0, true));
        ReplayRun run;
        ASSERT_TRUE(PlayReplayRun(replay, run));
        EXPECT_EQ(run.ending, REPLAY_END_STREAMS);
        ASSERT_TRUE(WriteHashList(hashes, run.hashes));
    }
    std::vector<uint64_t> expected;
    ASSERT_TRUE(ReadHashList(hashes, expected));
    EXPECT_GE(expected.size(), 8000u);
    cReplay read;
    cStage played, start;
    cGameProgress progress;
    ASSERT_TRUE(ReadReplayFile(read, replay, played, start, progress));
    long long frames = 0;
    for (int32_t run : read.m_vecDirRuns) frames += run;
    EXPECT_GE(frames, static_cast<long long>(expected.size()));
}

TEST_F(DemoReplaysTest, EachStagePlaysBackWithItsHashes) {
    const char* update = std::getenv("UPDATE_GOLDEN");
    if (update && *update && std::string(update) != "0") {
        for (const char* stage : kStages) {
            RecordClear(stage);
            std::filesystem::create_directories(kReplays);
            std::filesystem::remove(ReplayOf(stage));
            ASSERT_TRUE(WriteReplayOf(0, ReplayOf(stage), false));
            AppEnd();
        }
    }
    // The lists come from playbacks as `tovaro --verify-replay` makes them.
    g_bEditorTest = 0;
    g_bFreeStage = 0;
    ASSERT_TRUE(AppInit("", 0, true));
    for (const char* stage : kStages) {
        SCOPED_TRACE(stage);
        if (update && *update && std::string(update) != "0") {
            ReplayRun run;
            ASSERT_TRUE(PlayReplayRun(ReplayOf(stage), run));
            ASSERT_TRUE(WriteHashList(HashesOf(stage), run.hashes));
        }
        std::vector<uint64_t> expected;
        ASSERT_TRUE(ReadHashList(HashesOf(stage), expected));
        EXPECT_GE(static_cast<long long>(expected.size()), kLongStageFrames);
        ReplayRun run;
        ASSERT_TRUE(PlayReplayRun(ReplayOf(stage), run));
        EXPECT_EQ(FirstDifference(expected, run.hashes), -1);
        EXPECT_EQ(run.ending, REPLAY_END_CLEAR);
    }
}

// Theatre's usher asks whether the hero takes a bouquet: one play answers
// "Yes" (after moving the cursor down and back) and gets the extra life and
// the balcony, one answers "No". The same keys answer the curtain call's
// question of encores, whose cursor starts on its last row, "No more": the
// first play leaves it there, the second takes the row below it, which is
// the first. Both reach the clear, each replay keeps the rows it chose and
// plays back with its hashes, and the plays part ways.
TEST_F(DemoReplaysTest, TheatreChoiceAnsweredEachWayPlaysBack) {
    struct Case {
        std::string name;
        std::function<void(int, std::set<int>&)> answer;
        std::vector<int32_t> rows;
    };
    const std::vector<Case> cases = {{"Theatre_yes", AnswerFirstAfterDown, {0, 3}},
                                     {"Theatre_no", AnswerSecond, {1, 0}}};
    const char* update = std::getenv("UPDATE_GOLDEN");
    const bool remake = update && *update && std::string(update) != "0";
    if (remake) {
        for (const Case& c : cases) {
            RecordClear("Theatre", c.answer);
            std::filesystem::remove(ReplayOf(c.name));
            ASSERT_TRUE(WriteReplayOf(0, ReplayOf(c.name), false));
            AppEnd();
        }
    }
    g_bEditorTest = 0;
    g_bFreeStage = 0;
    ASSERT_TRUE(AppInit("", 0, true));
    std::vector<std::vector<uint64_t>> lists;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (remake) {
            ReplayRun run;
            ASSERT_TRUE(PlayReplayRun(ReplayOf(c.name), run));
            ASSERT_TRUE(WriteHashList(HashesOf(c.name), run.hashes));
        }
        std::vector<uint64_t> expected;
        ASSERT_TRUE(ReadHashList(HashesOf(c.name), expected));
        EXPECT_GE(static_cast<long long>(expected.size()), kLongStageFrames);
        ReplayRun run;
        ASSERT_TRUE(PlayReplayRun(ReplayOf(c.name), run));
        EXPECT_EQ(FirstDifference(expected, run.hashes), -1);
        EXPECT_EQ(run.ending, REPLAY_END_CLEAR) << ReplayEndingName(run.ending);
        cReplay read;
        cStage played, start;
        cGameProgress progress;
        ASSERT_TRUE(ReadReplayFile(read, ReplayOf(c.name), played, start, progress));
        EXPECT_EQ(read.m_vecChoice, c.rows);
        lists.push_back(expected);
    }
    ASSERT_EQ(lists.size(), 2u);
    EXPECT_NE(FirstDifference(lists[0], lists[1]), -1);
}

// Meadow played with a miss (the hero walks right without a shot into the
// walkers, whom his three HP do not outlast) and a retry that clears it; and
// played with two lives, both lost the same way, to a game over. Each try's
// replay plays back with its hashes and ends as it was played: the last try
// before the game over has no life left.
TEST_F(DemoReplaysTest, MissRetryAndGameOverPlayBack) {
    const std::string stage = "Meadow";
    const std::string miss = stage + "_miss", retry = stage + "_retry", over = stage + "_gameover";
    const auto intoTheWalkers = [](int, int, std::set<int>& keys) { keys.insert(platform::VK_RIGHT); };
    const char* update = std::getenv("UPDATE_GOLDEN");
    const bool remake = update && *update && std::string(update) != "0";
    if (remake) {
        RecordTries(stage, 0, 6000, [&](int frame, int attempt, std::set<int>& keys) {
            if (attempt == 0) return intoTheWalkers(frame, attempt, keys);
            testsupport::DashKeys(frame, keys);
        });
        ASSERT_EQ(PlayScene()->m_nState, CSCENEPLAY_STAGEEND);
        ASSERT_EQ(m_attempt, 1);
        for (const std::string& name : {miss, retry}) std::filesystem::remove(ReplayOf(name));
        ASSERT_TRUE(WriteReplayOf(1, ReplayOf(miss), false));
        ASSERT_TRUE(WriteReplayOf(0, ReplayOf(retry), false));
        AppEnd();
        RecordTries(stage, 2, 6000, intoTheWalkers);
        ASSERT_EQ(PlayScene()->m_nState, CSCENEPLAY_GAMEOVER) << "try " << m_attempt << ", lives " << g_Progress.m_nLives;
        ASSERT_EQ(m_attempt, 1);
        std::filesystem::remove(ReplayOf(over));
        ASSERT_TRUE(WriteReplayOf(0, ReplayOf(over), false));
        AppEnd();
    }
    g_bEditorTest = 0;
    g_bFreeStage = 0;
    ASSERT_TRUE(AppInit("", 0, true));
    struct Case {
        std::string name;
        int ending;
    };
    for (const Case& c : {Case{miss, REPLAY_END_MISS}, Case{retry, REPLAY_END_CLEAR}, Case{over, REPLAY_END_MISS}}) {
        SCOPED_TRACE(c.name);
        if (remake) {
            ReplayRun run;
            ASSERT_TRUE(PlayReplayRun(ReplayOf(c.name), run));
            ASSERT_TRUE(WriteHashList(HashesOf(c.name), run.hashes));
        }
        std::vector<uint64_t> expected;
        ASSERT_TRUE(ReadHashList(HashesOf(c.name), expected));
        ASSERT_GT(expected.size(), 100u);
        ReplayRun run;
        ASSERT_TRUE(PlayReplayRun(ReplayOf(c.name), run));
        EXPECT_EQ(FirstDifference(expected, run.hashes), -1);
        EXPECT_EQ(run.ending, c.ending) << ReplayEndingName(run.ending);
    }
    cReplay read;
    cStage played, start;
    cGameProgress progress;
    ASSERT_TRUE(ReadReplayFile(read, ReplayOf(over), played, start, progress));
    EXPECT_EQ(progress.m_nLives, 0);
    EXPECT_EQ(progress.m_nStartLives, 2);
}

// One button word of a replay changed: the check names the first frame that
// uses it and ends with status 1; the replay itself is identical (0), and a
// file that is not a replay is refused (2).
TEST_F(DemoReplaysTest, VerifyReplayFindsTheFirstChangedFrame) {
    const std::string stage = "Meadow";
    cReplay replay;
    cStage played, start;
    cGameProgress progress;
    ASSERT_TRUE(ReadReplayFile(replay, ReplayOf(stage), played, start, progress));
    ASSERT_GT(replay.m_vecButtonWords.size(), 4u);
    const size_t changed = 3;
    replay.m_vecButtonWords[changed] = static_cast<int16_t>(replay.m_vecButtonWords[changed] ^ 0x40);
    long long frame = 1;
    for (size_t i = 0; i < changed; ++i) frame += replay.m_vecButtonRuns[i];
    const std::string copy = (m_dir.Path() / "changed.rpl4_1000").string();
    ASSERT_TRUE(WriteReplayFile(replay, copy, played, start, progress));
    std::ofstream(m_dir.Path() / "junk.rpl4_1000") << "not a replay";

    const std::string tovaro = std::string(TOVARO_BINARY_DIR) + "/tovaro --verify-replay ";
    const std::string game = " '" + m_dir.Path().string() + "'";
    std::string out;
    // The identical case on the shortest recording: it only has to run through.
    EXPECT_EQ(RunCommand(tovaro + "'" + ReplayOf("Meadow_miss") + "'" + game + " --expect '" + HashesOf("Meadow_miss") + "'", out), 0) << out;
    EXPECT_NE(out.find("identical"), std::string::npos) << out;
    EXPECT_EQ(RunCommand(tovaro + "'" + copy + "'" + game + " --expect '" + HashesOf(stage) + "'", out), 1) << out;
    EXPECT_NE(out.find("diverged at frame " + std::to_string(frame) + ":"), std::string::npos) << out;
    EXPECT_EQ(RunCommand(tovaro + "junk.rpl4_1000" + game, out), 2) << out;
}

}  // namespace
