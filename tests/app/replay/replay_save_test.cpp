// The save keys F1 and F2 and the automatic save at the end of a play.
#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>
#include <set>
#include <thread>
#include <utility>
#include <vector>

#include "base/app_state.h"
#include "base/main_thread.h"
#include "app/main_window.h"
#include "base/messages.h"
#include "base/quit.h"
#include "base/scene_state.h"
#include "records/system_ini.h"
#include "frontend/data/option_data.h"
#include "frontend/replay/replay.h"
#include "play/replay_save.h"
#include "frontend/replay/replay_file.h"
#include "platform/cp932.h"
#include "platform/input_source.h"
#include "platform/keyboard_state.h"
#include "platform/message_box.h"
#include "records/system_data.h"
#include "tests/support/temp_dir.h"

namespace {

class FakeKeys : public platform::cInputSource {
public:
    std::set<int> held;
    bool IsKeyHeld(int vk) override { return held.count(vk) != 0; }
    unsigned JoyGetNumDevs() override { return 0; }
    bool JoyGetPosEx(unsigned, platform::JoyInfoEx&) override { return false; }
    bool JoyGetDevCaps(unsigned, platform::JoyCaps&) override { return false; }
};

int64_t g_freeBytes = 0;
int64_t FreeBytes() { return g_freeBytes; }

class ReplaySaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetMainThread();
        SetMainWindowHandler([this](int msg, intptr_t wParam, intptr_t) -> intptr_t {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_sent.emplace_back(msg, static_cast<int>(wParam));
            if (msg == UM_SAVEREPLAY) g_nReplaySaveDone = 1;
            return 0;
        });
        m_savedStage = g_Stage;
        g_SystemData.OptReplayRecord = 1;
        g_SystemData.m_bReplaySaveKeys = 1;
        g_SystemData.OptNoStageList = 0;
        g_Stage.m_bReplaySave = 1;
        g_Stage.m_strPath = "data\\stg4\\boss.stg4_1000";
        g_OptionData.m_nReplayAutoSave = 2;
        g_freeBytes = 1LL << 40;
        SetReplayFreeSpaceProbe(FreeBytes);
        m_dir.MakeDirs("user_data/rpl4");
        Play(g_Replay);
    }
    void TearDown() override {
        SetMainWindowHandler({});
        SetReplayFreeSpaceProbe(nullptr);
        g_Stage = m_savedStage;
        g_Replay.Reset();
        g_ReplayPrev.Reset();
        g_SceneState.g_nGameType = 0;
        g_SystemIni.Replay_On = {};
        g_OptionData.m_nReplayAutoSave = 0;
        g_SystemData.OptNoStageList = 0;
        g_bReplaySaved = 0;
        g_nReplayKeyWait = 0;
        g_bSinglePlay = 0;
        g_bEditorTest = 0;
        g_bQuit = 0;
    }
    static void Play(cReplay& r) {
        r.Reset();
        const int16_t words[2] = {4, 1};
        r.RecordReplayFrame(words);
    }
    std::vector<std::pair<int, int>> Sent() {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<std::pair<int, int>> out;
        out.swap(m_sent);
        return out;
    }
    size_t ReplayFiles() const {
        size_t n = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(m_dir.Path() / "user_data/rpl4")) ++n;
        return n;
    }

    testsupport::TempWorkDir m_dir;
    FakeKeys m_keys;
    platform::cScopedInputSource m_source{m_keys};
    std::mutex m_mutex;
    std::vector<std::pair<int, int>> m_sent;
    cStage m_savedStage;
};

TEST_F(ReplaySaveTest, RefusedKeySoundsOnceThenWaitsSixtyFrames) {
    g_Replay.Reset();
    m_keys.held = {platform::VK_F1};
    std::vector<int> soundedAt;
    for (int frame = 1; frame <= 125; ++frame) {
        EXPECT_EQ(CheckReplaySaveKeys(), 0);
        for (const auto& [msg, w] : Sent())
            if (msg == UM_PLAYSE && w == 3) soundedAt.push_back(frame);
    }
    EXPECT_EQ(soundedAt, (std::vector<int>{1, 61, 121}));
}

TEST_F(ReplaySaveTest, KeysSaveThisOrThePreviousPlayWhenAllowed) {
    using Sends = std::vector<std::pair<int, int>>;
    struct Case {
        const char* label;
        std::set<int> keys;
        bool prevRecorded, stageAllows;
        int iniReplayOn, gameType;
        int result;
        Sends sent;
    };
    const int f1 = platform::VK_F1, f2 = platform::VK_F1 + 1;
    const Case cases[] = {
        {"F1", {f1}, false, true, -1, 0, 1, {{UM_PLAYSE, 1}, {UM_SAVEREPLAY, 0}}},
        {"F1 wins over F2", {f1, f2}, true, true, -1, 0, 1, {{UM_PLAYSE, 1}, {UM_SAVEREPLAY, 0}}},
        {"F2", {f2}, true, true, -1, 0, 1, {{UM_PLAYSE, 1}, {UM_SAVEREPLAY, 1}}},
        {"F2 without a previous play", {f2}, false, true, -1, 0, 0, {{UM_PLAYSE, 3}}},
        {"stage refuses", {f1}, false, false, -1, 0, 0, {{UM_PLAYSE, 3}}},
        {"System.ini allows every stage", {f1}, false, false, 2, 0, 1, {{UM_PLAYSE, 1}, {UM_SAVEREPLAY, 0}}},
        {"System.ini 1 does not", {f1}, false, false, 1, 0, 0, {{UM_PLAYSE, 3}}},
        {"playback", {f1}, false, true, -1, 4, 0, {}},
        {"no key", {}, true, true, -1, 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        g_nReplayKeyWait = 0;
        g_ReplayPrev.Reset();
        if (c.prevRecorded) Play(g_ReplayPrev);
        g_Stage.m_bReplaySave = c.stageAllows;
        g_SystemIni.Replay_On = c.iniReplayOn < 0 ? SystemIniReplayKey{} : SystemIniReplayKey{1, c.iniReplayOn};
        g_SceneState.g_nGameType = c.gameType;
        m_keys.held = c.keys;
        EXPECT_EQ(CheckReplaySaveKeys(), c.result);
        EXPECT_EQ(Sent(), c.sent);
    }
    // Keys off in the game: nothing.
    g_SceneState.g_nGameType = 0;
    g_SystemData.m_bReplaySaveKeys = 0;
    m_keys.held = {f1};
    EXPECT_EQ(CheckReplaySaveKeys(), 0);
    EXPECT_TRUE(Sent().empty());
}

// With the file-selection window in place of the replay-save window, the
// save-as request goes to the main thread's pump.
TEST_F(ReplaySaveTest, SaveAsRequestWhenTheGameUsesTheFileWindow) {
    g_SystemData.OptNoStageList = 1;
    Play(g_ReplayPrev);
    m_keys.held = {platform::VK_F1 + 1};
    int result = -1;
    std::thread game([&] { result = CheckReplaySaveKeys(); });
    int param = -1;
    for (int i = 0; i < 5000 && param < 0; ++i) {
        ServeMainThreadRequests();
        if (g_nSaveReplayAsRequest.exchange(0)) {
            param = g_nSaveReplayAsParam;
            g_nFileDialogDone = 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    game.join();
    EXPECT_EQ(result, 1);
    EXPECT_EQ(param, 1);
}

TEST_F(ReplaySaveTest, AutoSaveConditions) {
    struct Case {
        const char* label;
        int mode, cleared, gameType, singlePlay, editor, saved, stageAllows, recorded;
        int result;
        size_t files;
    };
    const Case cases[] = {
        {"always, a death", 2, 0, 0, 0, 0, 0, 1, 1, 1, 1},
        {"cleared only, a death", 1, 0, 0, 0, 0, 0, 1, 1, 0, 0},
        {"cleared only, a clear", 1, 1, 0, 0, 0, 0, 1, 1, 1, 1},
        {"never", 0, 1, 0, 0, 0, 0, 1, 1, 0, 0},
        {"playback", 2, 1, 4, 0, 0, 0, 1, 1, 0, 0},
        {"single stage run", 2, 1, 0, 1, 0, 0, 1, 1, 0, 0},
        {"editor test play", 2, 1, 0, 0, 1, 0, 1, 1, 0, 0},
        {"already saved", 2, 1, 0, 0, 0, 1, 1, 1, 0, 0},
        {"stage refuses", 2, 1, 0, 0, 0, 0, 0, 1, 0, 0},
        {"nothing recorded", 2, 1, 0, 0, 0, 0, 1, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::filesystem::remove_all(m_dir.Path() / "user_data/rpl4");
        m_dir.MakeDirs("user_data/rpl4");
        g_OptionData.m_nReplayAutoSave = c.mode;
        Play(g_Replay);
        if (!c.recorded) g_Replay.Reset();
        g_Replay.m_bCleared = c.cleared;
        g_SceneState.g_nGameType = c.gameType;
        g_bSinglePlay = c.singlePlay;
        g_bEditorTest = c.editor;
        g_bReplaySaved = c.saved;
        g_Stage.m_bReplaySave = c.stageAllows;
        EXPECT_EQ(AutoSaveReplay(), c.result);
        EXPECT_EQ(ReplayFiles(), c.files);
    }
    // One automatic save per play.
    g_SceneState.g_nGameType = 0;
    g_bSinglePlay = g_bEditorTest = 0;
    g_bReplaySaved = 0;
    g_Stage.m_bReplaySave = 1;
    g_OptionData.m_nReplayAutoSave = 2;
    Play(g_Replay);
    EXPECT_EQ(AutoSaveReplay(), 1);
    EXPECT_EQ(AutoSaveReplay(), 0);
}

TEST_F(ReplaySaveTest, AutoSaveNeedsFreeSpace) {
    platform::CapturedMessageBoxes boxes;
    g_freeBytes = 123289599;
    EXPECT_EQ(AutoSaveReplay(), 0);
    EXPECT_EQ(ReplayFiles(), 0u);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text,
              SJ("リプレイファイルの保存に失敗しました...ストレージを100MB以上空けてください。"));
    EXPECT_EQ(g_bReplaySaved, 1);

    g_bReplaySaved = 0;
    g_freeBytes = 123289600;
    EXPECT_EQ(AutoSaveReplay(), 1);
    EXPECT_EQ(ReplayFiles(), 1u);
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST_F(ReplaySaveTest, AFailedAutoSaveLetsPlayGoOn) {
    std::filesystem::remove_all(m_dir.Path() / "user_data/rpl4");
    m_dir.WriteFile("user_data/rpl4");  // a file where the folder should be
    platform::CapturedMessageBoxes boxes;
    EXPECT_EQ(AutoSaveReplay(), 1);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_NE(boxes.Boxes()[0].text.find("boss"), std::string::npos);
    EXPECT_EQ(g_bQuit.load(), 0);
}

// Saving mid-play writes a normalised copy: the live stage keeps its
// scroll limits and speed values.
TEST_F(ReplaySaveTest, ASaveLeavesTheStageAsItWas) {
    g_Stage.m_nWidth = 30;
    g_Stage.m_nScrollMaxX = 500;  // beyond the map: a save clamps it
    g_Stage.m_nSpeedLevel = 3;
    g_Stage.m_dSpeedCap = 1.25;   // not what level 3 derives
    const std::vector<uint8_t> before = cStage(g_Stage).SaveBytes();
    const int32_t maxX = g_Stage.m_nScrollMaxX;
    ASSERT_EQ(WriteReplayOf(0, "user_data\\rpl4\\mid.rpl4_1000", false), 1);
    EXPECT_EQ(g_Stage.m_nScrollMaxX, maxX);
    EXPECT_EQ(g_Stage.m_dSpeedCap, 1.25);
    EXPECT_EQ(cStage(g_Stage).SaveBytes(), before);
}

}  // namespace
