// Reading a stage on thLoad: success with the start copy and the hero, the
// numbered search, failures that leave g_Stage alone, and a caller asked to
// quit while the loader runs.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "base/quit.h"
#include "records/stage_loader.h"
#include "base/thread.h"
#include "platform/cp932.h"
#include "platform/message_box.h"
#include "records/stage.h"
#include "tests/support/temp_dir.h"

namespace {

std::string Str(const std::vector<uint8_t>& b) { return std::string(b.begin(), b.end()); }

std::vector<uint8_t> StageBytes(const std::string& name, bool withHero = true) {
    cStage s;
    s.m_strName = name;
    s.m_nTimeLimit = 99;
    s.m_vecNameEntry.resize(2);
    if (withHero) {
        s.m_vecPlacedChara.resize(2);
        s.m_vecPlacedChara[1].m_nGraphic = 7;
        s.m_vecPlacedChara[1].m_nSide = 0;
        s.m_vecPlacedChara[1].m_nMaxHP = 44;
    }
    return s.SaveBytes();
}

class StageLoader : public ::testing::Test {
protected:
    void SetUp() override {
        g_bQuit = 0;
        g_Stage.SetDefaults();
        g_Stage.m_strName = "previous";
        g_Stage.m_vecPlacedChara.resize(1);
        m_strBefore = g_Stage.DumpText();
    }
    void TearDown() override {
        SetStageLoaderHookForTests(nullptr);
        g_Stage = cStage();
        g_StageStart = cStage();
        g_bQuit = 0;
    }
    bool StageUnchanged() { return g_Stage.DumpText() == m_strBefore; }

    testsupport::TempWorkDir m_Dir;
    platform::CapturedMessageBoxes m_Boxes;
    std::string m_strBefore;
};

TEST_F(StageLoader, LoadsWithStartCopyAndHero) {
    m_Dir.WriteFile("data/stg4/a.stg4", Str(StageBytes("A")));
    cStage start;
    cEdChara hero;
    ASSERT_EQ(LoadStageWithMessagePump("data\\stg4\\a.stg4", false, &start, &hero), 1);
    EXPECT_EQ(g_Stage.m_strName, "A");
    EXPECT_EQ(g_Stage.m_bLoaded, 1);
    EXPECT_EQ(g_Stage.m_bNumbered, 0);
    EXPECT_EQ(g_Stage.m_strPath, "data\\stg4\\a.stg4");
    EXPECT_EQ(start.m_nTimeLimit, 99);
    EXPECT_EQ(start.m_vecNameEntry.size(), 2u);
    EXPECT_TRUE(start.m_vecPlacedChara.empty() && start.m_vecCharaPalette.empty());
    EXPECT_EQ(hero.m_nMaxHP, 44);
    EXPECT_TRUE(m_Boxes.Boxes().empty());
    EXPECT_FALSE(thLoad.IsRunning());
}

TEST_F(StageLoader, NumberedSearchTakesTheHighestUpTo1000) {
    m_Dir.WriteFile("data/stg4/s.stg4_005", Str(StageBytes("five")));
    m_Dir.WriteFile("data/stg4/s.stg4_012", Str(StageBytes("twelve")));
    m_Dir.WriteFile("data/stg4/s.stg4_1001", Str(StageBytes("beyond")));
    ASSERT_EQ(LoadStageWithMessagePump("data\\stg4\\s.stg4", true, nullptr, nullptr), 1);
    EXPECT_EQ(g_Stage.m_strName, "twelve");
    EXPECT_EQ(g_Stage.m_strPath, "data\\stg4\\s.stg4_012");
    EXPECT_EQ(g_Stage.m_bNumbered, 1);

    EXPECT_EQ(LoadStageWithMessagePump("data\\stg4\\none.stg4", true, nullptr, nullptr), 0);
    EXPECT_EQ(g_Stage.m_strName, "twelve");
    EXPECT_TRUE(m_Boxes.Boxes().empty());
}

TEST_F(StageLoader, FailuresLeaveTheStageAndSayWhy) {
    auto damagedBody = StageBytes("bad");
    damagedBody.erase(damagedBody.begin() + 100, damagedBody.end() - 4);  // the end code stays
    auto noEndCode = StageBytes("cut");
    noEndCode.pop_back();
    m_Dir.WriteFile("bad.stg4", Str(damagedBody));
    m_Dir.WriteFile("cut.stg4", Str(noEndCode));
    m_Dir.WriteFile("nohero.stg4", Str(StageBytes("nohero", false)));
    struct Case {
        const char* file;
        const char* text;  // of the error box
        int quit;          // the program closes
        bool unchanged;    // g_Stage keeps the previous stage
    };
    const Case cases[] = {
        {"missing.stg4", "の読み込みに失敗しました！", 0, true},
        {"bad.stg4", "の読み込みに失敗しました！", 0, true},
        {"cut.stg4", "が破損しています！", 1, true},
        {"nohero.stg4", "主人公が配置されていないのでプレイできません！", 1, false},
    };
    for (const Case& c : cases) {
        SetUp();
        const size_t nBoxes = m_Boxes.Boxes().size();
        cStage start;
        start.m_strName = "start";
        EXPECT_EQ(LoadStageWithMessagePump(c.file, false, &start, nullptr), 0) << c.file;
        ASSERT_EQ(m_Boxes.Boxes().size(), nBoxes + 1) << c.file;
        EXPECT_NE(m_Boxes.Boxes().back().text.find(SJ(c.text)), std::string::npos) << c.file;
        EXPECT_EQ(g_bQuit.load(), c.quit) << c.file;
        EXPECT_EQ(start.m_strName, "start") << c.file;
        g_Stage.m_strPath.clear();  // describes the last read
        g_Stage.m_bLoaded = 0;
        if (c.unchanged) {
            EXPECT_TRUE(StageUnchanged()) << c.file;
        }
        g_bQuit = 0;
    }
}

// The game thread asks for a stage and is told to quit while the loader
// still runs: both threads end, nothing is read into g_Stage, no message.
TEST_F(StageLoader, CallerAskedToQuitStopsTheLoader) {
    m_Dir.WriteFile("q.stg4", Str(StageBytes("Q")));
    static std::atomic<bool> s_bInLoader;
    static std::atomic<int> s_nResult;
    s_bInLoader = false;
    s_nResult = -1;
    // The loader waits until it is asked to quit.
    SetStageLoaderHookForTests([] {
        s_bInLoader = true;
        ThreadWaitUntil([] { return false; });
    });
    cThread caller;
    ASSERT_TRUE(caller.Start(
        [](void*) -> unsigned {
            s_nResult = LoadStageWithMessagePump("q.stg4", false, nullptr, nullptr);
            return 0;
        },
        nullptr));
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!s_bInLoader && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(s_bInLoader.load());
    caller.Exit();
    EXPECT_EQ(s_nResult.load(), 0);
    EXPECT_FALSE(thLoad.IsRunning());
    EXPECT_EQ(g_Stage.m_bLoaded, 0);
    g_Stage.m_strPath.clear();
    EXPECT_TRUE(StageUnchanged());
    EXPECT_TRUE(m_Boxes.Boxes().empty());
    EXPECT_EQ(g_bQuit.load(), 0);
}

}  // namespace
