// The ranking entry at a game's end on a demo stage's play scene: the name
// by registration mode, the entered tables and their file, a failed save,
// one entry per clear, the ranking screen's buttons on thRanking, and the
// stage end that enters the ranking and shows the result. The game side
// runs on thGame while the test thread serves the main thread's requests
// and holds the keys.
#include "media/frame_loop.h"
#include "tests/app/scenes/scene_harness.h"

#include <atomic>
#include <chrono>
#include <thread>

#include "base/app_state.h"
#include "records/stage_loader.h"
#include "frontend/data/option_data.h"
#include "frontend/data/ranking.h"
#include "play/ranking_entry.h"
#include "frontend/frontend_services.h"
#include "media/input/input_list.h"
#include "platform/cp932.h"
#include "play/chara_computer.h"
#include "play/chara_player.h"
#include "play/item.h"
#include "play/scene_play.h"
#include "play/stage_setup.h"
#include "records/stage.h"

namespace {

using namespace scenetest;

// One key held at a time, set by the test thread, read by the frame loops.
class HeldKey : public platform::cInputSource {
public:
    bool IsKeyHeld(int vk) override { return vk == held.load(); }
    unsigned JoyGetNumDevs() override { return 0; }
    bool JoyGetPosEx(unsigned, platform::JoyInfoEx&) override { return false; }
    bool JoyGetDevCaps(unsigned, platform::JoyCaps&) override { return false; }
    std::atomic<int> held{0};
};

bool Logged(const std::string& call) {
    for (const std::string& s : MediaCallLog())
        if (s == call) return true;
    return false;
}

int CountLogged(const std::string& call) {
    int n = 0;
    for (const std::string& s : MediaCallLog()) n += s == call ? 1 : 0;
    return n;
}

// The first challenge stage of the demo cleared with a score of 1234 and a
// clear time of 65 seconds, reaching place 0 of the score and time tables.
class RankingPlay {
public:
    RankingPlay() {
        g_SceneState.g_nGameKind = 1;
        g_SceneState.g_bRankingOn = 1;
        m_bLoaded = LoadStageWithMessagePump("data\\stg4\\c01-1.stg4", true, &g_StageStart, &g_HeroDef) == 1;
        g_Progress.Reset(g_SystemData.m_nStageCount);
        g_Progress.ParseStageVariation(g_Stage.m_strPath, 0, 0, 0);
        LoadRanking(g_Ranking, 1, g_Progress.m_strStageBase, 0, 0, 0);
        g_lpPlayScene = &scene;
        scene.SetupStage(0, 1);
        g_Progress.m_nScore = 1234;
        g_Progress.m_nTotal2 = 6500;
        scene.m_vRankValue = cCheckedVector<int32_t>{1234, 0, 6500, 0, 0};
        scene.m_vRankPos = cCheckedVector<int32_t>{0, -1, 0, -1, -1};
        scene.m_bRankIn = 1;
        scene.m_bRankEntered = 0;
        g_bActive = 1;
    }
    ~RankingPlay() {
        g_lpPlayScene = nullptr;
        g_vPlayers.clear();
        g_lstCharas.clear();
        g_lstItems.clear();
        SetMainWindowHandler({});
    }
    bool Loaded() const { return m_bLoaded; }

    cScenePlay scene;

private:
    bool m_bLoaded = false;
};

unsigned EnterOnGameThread(void* arg) {
    EnterRanking(*static_cast<cScenePlay*>(arg));
    return 0;
}

// A stage-end frame, its 200 frames shown, on which button 0 goes down.
unsigned StageEndOnGameThread(void* arg) {
    cInput& in = g_InputList.at(0);
    in.m_wButton = 1;
    in.m_bTriggerLatch = 0;
    static_cast<cScenePlay*>(arg)->UpdateStageEnd();
    return 0;
}

// Runs EnterRanking on thGame. The name entry answers with `typed`; on the
// ranking screen `stepKey` is held until the screen has answered it with
// sound 6 (or for 300 ms), then button 0 until the screen ends.
struct EntryRun {
    int dialogs = 0;
    std::string offered;  // the name the dialog opened with
    bool finished = false;
};

EntryRun RunEntry(RankingPlay& play, const std::string& typed, int stepKey,
                  cThread::Proc proc = &EnterOnGameThread) {
    EntryRun r;
    SetMainWindowHandler([&r, typed](int msg, intptr_t, intptr_t) -> intptr_t {
        if (msg == UM_NAMEENTRY) {
            ++r.dialogs;
            if (std::string* target = NameEntryTarget()) {
                r.offered = *target;
                *target = typed;
            }
            g_nNameEntryDone = 1;
        }
        return 0;
    });
    HeldKey keys;
    platform::cScopedInputSource scoped(keys);
    const int sixes = CountLogged("PlaySe 6");
    if (!thGame.Start(proc, &play.scene)) return r;
    using Clock = std::chrono::steady_clock;
    auto phaseStart = Clock::now();
    int phase = 0;  // 0 until the screen shows, 1 step key, 2 released, 3 button 0
    const auto start = Clock::now();
    while (!thGame.HasFinished() && Clock::now() - start < std::chrono::seconds(120)) {
        ServeMainThreadRequests();
        const auto elapsed = Clock::now() - phaseStart;
        auto next = [&](int p, int key) {
            phase = p;
            keys.held = key;
            phaseStart = Clock::now();
        };
        if (phase == 0 && thRanking.IsRunning() && elapsed > std::chrono::milliseconds(50))
            next(1, stepKey);
        else if (phase == 1 &&
                 (CountLogged("PlaySe 6") > sixes || elapsed > std::chrono::milliseconds(300) || stepKey == 0))
            next(2, 0);
        else if (phase == 2 && elapsed > std::chrono::milliseconds(50))
            next(3, kKeyDecide);
        else if (phase == 3 && elapsed > std::chrono::milliseconds(1000))
            next(2, 0);  // a loaded machine missed the press: again
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    r.finished = thGame.HasFinished();
    thGame.Wait();
    keys.held = 0;
    SetMainWindowHandler({});
    return r;
}

TEST(RankingEntry, RegistrationModes) {
    struct Case {
        int mode;
        int dialogs;
        const char* stored;
        const char* playerAfter;
    };
    const Case cases[] = {
        {0, 1, "Amy", "Amy"},
        {1, 0, "Opt", "Pre"},
        {2, 1, "Amy", "Amy"},
        {3, 0, "Opt", "Pre"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        DemoRun run;
        ASSERT_TRUE(run.Started());
        RankingPlay play;
        ASSERT_TRUE(play.Loaded());
        g_OptionData.m_nRankingMode = c.mode;
        g_OptionData.m_strName = "Opt";
        g_Progress.m_strPlayerName = "Pre";
        ClearMediaCallLog();
        const EntryRun r = RunEntry(play, "Amy", 0);
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(r.dialogs, c.dialogs);
        if (c.dialogs) {
            EXPECT_EQ(r.offered, "Pre");
        }
        EXPECT_EQ(play.scene.m_strRankName, c.stored);
        EXPECT_EQ(g_Progress.m_strPlayerName, c.playerAfter);
        EXPECT_EQ(play.scene.m_bRankEntered, 1);
        EXPECT_TRUE(Logged("PlaySe 17"));
        EXPECT_TRUE(Logged("PlaySe 1"));  // the screen left with button 0
        // The file holds the entries in the score and time tables only.
        cRanking file;
        ASSERT_TRUE(LoadRanking(file, 1, "data\\stg4\\c01.", 0, 0, 0));
        for (int t = 0; t < 5; ++t) {
            const cRankingEntry& e = file.m_vecTable.at(t).m_vecEntry.at(0);
            EXPECT_EQ(e.m_bUsed, t == 0 || t == 2 ? 1 : 0) << t;
            if (!e.m_bUsed) continue;
            EXPECT_EQ(e.m_strName, c.stored);
            EXPECT_EQ(e.m_nScore, t == 0 ? 1234 : 6500);
        }
        // The same clear is entered once.
        ClearMediaCallLog();
        EnterRanking(play.scene);
        EXPECT_TRUE(MediaCallLog().empty());
        EXPECT_EQ(g_Ranking.m_vecTable.at(0).m_vecEntry.at(1).m_bUsed, 0);
        EXPECT_TRUE(run.Boxes().empty());
    }
}

TEST(RankingEntry, NothingWithoutRankingsOrRecord) {
    DemoRun run;
    ASSERT_TRUE(run.Started());
    RankingPlay play;
    ASSERT_TRUE(play.Loaded());
    g_OptionData.m_nRankingMode = 3;
    for (int which = 0; which < 2; ++which) {
        g_SceneState.g_bRankingOn = which == 0 ? 0 : 1;
        play.scene.m_bRankIn = which == 0 ? 1 : 0;
        ClearMediaCallLog();
        EnterRanking(play.scene);
        EXPECT_TRUE(MediaCallLog().empty());
        EXPECT_EQ(play.scene.m_bRankEntered, 0);
    }
}

TEST(RankingEntry, FailedSaveIsReportedAndTheEntryKept) {
    DemoRun run;
    ASSERT_TRUE(run.Started());
    RankingPlay play;
    ASSERT_TRUE(play.Loaded());
    // The challenge folder is a file: nothing can be written in it.
    std::filesystem::remove_all(run.Dir().Path() / "user_data/challenge");
    run.Dir().WriteFile("user_data/challenge", "x");
    platform::InvalidateDirCache();
    g_OptionData.m_nRankingMode = 3;
    g_OptionData.m_strName = "Opt";
    const EntryRun r = RunEntry(play, "", 0);
    ASSERT_TRUE(r.finished);
    ASSERT_EQ(run.Boxes().size(), 1u);
    EXPECT_EQ(run.Boxes()[0].text, SJ("ランキングファイル user_data\\challenge\\c01.rkg の保存に失敗しました！"));
    EXPECT_EQ(g_Ranking.m_vecTable.at(0).m_vecEntry.at(0).m_strName, "Opt");
    EXPECT_EQ(g_Ranking.m_vecTable.at(2).m_vecEntry.at(0).m_nScore, 6500);
    EXPECT_EQ(play.scene.m_bRankEntered, 1);
}

TEST(RankingEntry, ScreenStepsTheCategoryOnlyWithTwoEnabled) {
    struct Case {
        std::vector<uint8_t> kinds;
        int sixes, categoryAfter;
    };
    for (const Case& c : {Case{{1, 0, 1, 0, 0}, 1, 2}, Case{{1, 0, 0, 0, 0}, 0, 0}}) {
        SCOPED_TRACE(c.sixes);
        StartOptions o;
        o.tweak = [&c](cSystemData& sd) { sd.m_vecRankingSets.at(1).m_vecKinds.assign(c.kinds.begin(), c.kinds.end()); };
        DemoRun run(o);
        ASSERT_TRUE(run.Started());
        RankingPlay play;
        ASSERT_TRUE(play.Loaded());
        g_OptionData.m_nRankingMode = 3;
        g_Progress.m_nRankCategory = 0;
        ClearMediaCallLog();
        const EntryRun r = RunEntry(play, "", 'V');
        ASSERT_TRUE(r.finished);
        EXPECT_EQ(CountLogged("PlaySe 6"), c.sixes);
        EXPECT_EQ(g_Progress.m_nRankCategory, c.categoryAfter);
        EXPECT_EQ(CountLogged("PlaySe 1"), 1);
    }
}

// The stage end of the play scene enters the ranking on button 0, and its
// frames show the result box while rankings are on.
TEST(RankingEntry, StageEndEntersTheRankingAndShowsTheResult) {
    DemoRun run;
    ASSERT_TRUE(run.Started());
    RankingPlay play;
    ASSERT_TRUE(play.Loaded());
    g_SceneState.g_nGameType = 2;
    g_OptionData.m_nRankingMode = 3;
    g_OptionData.m_strName = "Opt";
    g_Stage.m_bAutoAdvance = 0;
    play.scene.m_nState = CSCENEPLAY_STAGEEND;
    play.scene.m_nStep = 1;
    play.scene.m_nStateFrames = 200;
    ClearMediaCallLog();
    const EntryRun r = RunEntry(play, "", 0, &StageEndOnGameThread);
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(play.scene.m_bRankEntered, 1);
    EXPECT_TRUE(Logged("PlaySe 17"));
    EXPECT_EQ(g_Ranking.m_vecTable.at(0).m_vecEntry.at(0).m_strName, "Opt");
    EXPECT_EQ(play.scene.m_nState, CSCENEPLAY_FADEOUT);
    EXPECT_EQ(g_SceneState.m_nNextSceneKind, SCENE_STAGESELECT);

    // Two frames of the stage end without input, rankings on and off: they
    // differ only in the result box of the two categories, 240 x 32 at
    // (336, 224), and its frame line round it.
    ClaimGameToken();
    auto frame = [&](int rankingOn) {
        g_SceneState.g_bRankingOn = rankingOn;
        play.scene.m_nState = CSCENEPLAY_STAGEEND;
        play.scene.m_nStep = 1;
        play.scene.m_nStateFrames = 200;
        g_InputList.at(0).m_wButton = 0;
        play.scene.UpdateStageEnd();
        PresentFrame();
        return run.Shown();
    };
    const std::vector<uint32_t> on = frame(1), off = frame(0);
    ASSERT_EQ(on.size(), off.size());
    int inside = 0, outside = 0;
    for (size_t i = 0; i < on.size(); ++i) {
        const int x = static_cast<int>(i % 640), y = static_cast<int>(i / 640);
        const bool box = x >= 335 && x <= 576 && y >= 223 && y <= 256;
        if (on[i] != off[i]) ++(box ? inside : outside);
    }
    EXPECT_GT(inside, 0);
    EXPECT_EQ(outside, 0);

}

}  // namespace
