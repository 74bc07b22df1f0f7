// Replay files: names, the written layout and its round trip, old versions,
// and damaged files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

#include "base/files.h"
#include "base/quit.h"
#include "frontend/frontend_services.h"
#include "frontend/replay/replay_file.h"
#include "platform/cp932.h"
#include "platform/fs.h"
#include "platform/message_box.h"
#include "records/system_data.h"
#include "tests/support/temp_dir.h"
#include "tests/support/run_tool.h"

namespace {

SaveTime At(int y, int mo, int d, int h, int mi, int s) {
    SaveTime t{};
    t[ST_YEAR] = static_cast<uint16_t>(y);
    t[ST_MONTH] = static_cast<uint16_t>(mo);
    t[ST_DAY] = static_cast<uint16_t>(d);
    t[ST_HOUR] = static_cast<uint16_t>(h);
    t[ST_MINUTE] = static_cast<uint16_t>(mi);
    t[ST_SECOND] = static_cast<uint16_t>(s);
    return t;
}

std::vector<uint8_t> ReadBytes(const std::string& cp932Path) { return platform::ReadWholeFile(cp932Path).value(); }

class ReplayFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedStage = g_Stage;
        m_savedStart = g_StageStart;
        m_dir.MakeDirs("user_data/rpl4");
        SetReplayNameClock([] { return At(2024, 3, 7, 9, 5, 2); });
        // A stage with a placed hero and a chara, and a play of it.
        g_Stage = cStage();
        g_Stage.m_strPath = "data\\stg4\\c05-1.stg4_1000";
        g_Stage.m_strName = SJ("洞窟");
        g_Stage.m_nTimeLimit = 150;
        cEdChara hero;
        hero.m_nGraphic = 3;
        hero.m_nSide = 0;
        hero.m_nX = 2;
        hero.m_nY = 4;
        cEdChara enemy;
        enemy.m_nGraphic = 5;
        enemy.m_nX = 9;
        enemy.m_nY = 4;
        enemy.m_nMaxHP = 31;
        g_Stage.m_vecPlacedChara = {hero, enemy};
        g_Stage.PrepareSave();  // as a loaded stage is
        g_StageStart.TakeStartCopyOf(g_Stage);
        g_StageStart.m_nTimeLimit = 200;  // the start copy's settings go to the file
        m_replay.m_vecDirWords = {0, 4, 1};
        m_replay.m_vecDirRuns = {2, 30, 1};
        m_replay.m_vecButtonWords = {0, 16};
        m_replay.m_vecButtonRuns = {10, 23};
        m_replay.m_vecChoice = {1, 0, 2};
        m_replay.m_nSeed = 123456;
        m_replay.m_bCleared = 1;
        m_progress.m_nLives = 4;
        m_progress.m_nScore = 1200;
        m_progress.m_vecCommonVar.at(7) = 5;
    }
    void TearDown() override {
        SetReplayNameClock({});
        g_Stage = m_savedStage;
        g_StageStart = m_savedStart;
        g_SystemData.m_nReplayNameFormat = 0;
        g_Progress = cGameProgress();
        g_bQuit = 0;
    }
    std::string Write(const std::string& name) {
        const std::string path = "user_data\\rpl4\\" + name;
        EXPECT_EQ(WriteReplayFile(m_replay, path, g_Stage, g_StageStart, m_progress), 1) << LastDataFileError();
        return path;
    }

    testsupport::TempWorkDir m_dir;
    cStage m_savedStage, m_savedStart;
    cReplay m_replay;
    cGameProgress m_progress;
};

TEST_F(ReplayFileTest, NamesFromTheStageFileTimeAndClearFlag) {
    std::string name;
    ASSERT_EQ(MakeReplayFileName(name, g_Stage.m_strPath, 1), 1);
    const std::string want = "user_data\\rpl4\\2024_0307_090502_c05-1_CLEAR_.rpl4_1000";
    ASSERT_TRUE(IsAbsolutePath(name)) << name;
    EXPECT_TRUE(name.ends_with("\\" + want)) << name;

    // Taken: " (2)" before the extension, then " (3)".
    m_dir.WriteFile("user_data/rpl4/2024_0307_090502_c05-1_CLEAR_.rpl4_1000");
    MakeReplayFileName(name, g_Stage.m_strPath, 1);
    EXPECT_TRUE(name.ends_with("\\user_data\\rpl4\\2024_0307_090502_c05-1_CLEAR_ (2).rpl4_1000")) << name;
    m_dir.WriteFile("user_data/rpl4/2024_0307_090502_c05-1_CLEAR_ (2).rpl4_1000");
    MakeReplayFileName(name, g_Stage.m_strPath, 1);
    EXPECT_TRUE(name.ends_with("_CLEAR_ (3).rpl4_1000")) << name;

    struct Case {
        int format, variation, cleared;
        const char* tail;
    };
    const Case cases[] = {
        {0, 0, 0, "\\2024_0307_090502_c05-1.rpl4_1000"},
        {1, 0, 0, "\\2024_0307_090502_洞窟.rpl4_1000"},      // the stage's name
        {0, 1, 1, "\\2024_0307_090502_c05-1_c012_3_CLEAR_.rpl4_1000"},  // the variation part
    };
    for (const Case& c : cases) {
        g_SystemData.m_nReplayNameFormat = c.format;
        g_Progress.m_bVariation = c.variation;
        g_Progress.m_nVariationVar = 12;
        g_Progress.m_nVariationValue = 3;
        MakeReplayFileName(name, g_Stage.m_strPath, c.cleared);
        EXPECT_TRUE(name.ends_with(SJ(c.tail))) << c.tail;
    }
    name = "x";
    EXPECT_EQ(MakeReplayFileName(name, "", 1), 1);
    EXPECT_EQ(name, "");
}

TEST_F(ReplayFileTest, WrittenOnceReadOnlyAndReadBackWhole) {
    const std::string path = Write("a.rpl4_1000");
    struct stat st {};
    ASSERT_EQ(::stat(platform::OsPath(path).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0222, 0u);  // read-only
    const std::vector<uint8_t> first = ReadBytes(path);

    // The same name again is refused and the file stays.
    m_replay.m_nSeed = 1;
    EXPECT_EQ(WriteReplayFile(m_replay, path, g_Stage, g_StageStart, m_progress), 0);
    EXPECT_EQ(ReadBytes(path), first);
    m_replay.m_nSeed = 123456;

    cReplay r;
    r.m_vecChoice = {9, 9};  // a recording of choices before the read
    r.m_nDirPos = 1;
    cStage stage, start;
    cGameProgress progress;
    ASSERT_EQ(ReadReplayFile(r, path, stage, start, progress), 1);
    EXPECT_EQ(r.m_vecDirWords, m_replay.m_vecDirWords);
    EXPECT_EQ(r.m_vecButtonRuns, m_replay.m_vecButtonRuns);
    EXPECT_EQ(r.m_vecChoice, m_replay.m_vecChoice);
    EXPECT_EQ(r.m_nSeed, 123456);
    EXPECT_EQ(r.m_bCleared, 1);
    EXPECT_EQ(r.m_nDirPos, 1);  // playback positions are the set-up's
    EXPECT_EQ(stage.m_nTimeLimit, 200);
    EXPECT_EQ(start.m_nTimeLimit, 200);
    ASSERT_EQ(stage.m_vecPlacedChara.size(), 2u);
    EXPECT_EQ(stage.m_vecPlacedChara[1].m_nMaxHP, 31);
    EXPECT_TRUE(start.m_vecPlacedChara.empty());
    EXPECT_EQ(stage.m_strPath, path);
    EXPECT_EQ(progress.m_nScore, 1200);
    EXPECT_EQ(progress.m_vecCommonVar.at(7), 5);

    // Written again from what was read: the same bytes; the data tool too.
    const std::string again = "user_data\\rpl4\\b.rpl4_1000";
    ASSERT_EQ(WriteReplayFile(r, again, stage, start, progress), 1);
    EXPECT_EQ(ReadBytes(again), first);
    const std::string host = platform::OsPath(path), out = (m_dir.Path() / "tool.rpl4_1000").string();
    const tool_test::RunResult run = tool_test::RunTool("resave replay '" + host + "' '" + out + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(ReadBytes("tool.rpl4_1000"), first);

    // A replay without choices read after one with them has none.
    m_replay.m_vecChoice.clear();
    const std::string none = Write("c.rpl4_1000");
    ASSERT_EQ(ReadReplayFile(r, none, stage, start, progress), 1);
    EXPECT_TRUE(r.m_vecChoice.empty());
}

TEST_F(ReplayFileTest, OlderVersionsWithoutChoicesOrProgress) {
    cReplayFile file;
    file.m_Stage = g_Stage;
    file.m_StageStart = g_StageStart;
    file.m_Replay = m_replay;
    file.m_Progress = m_progress;

    // 973: no choice vector; the run vectors follow the button words.
    const std::vector<uint8_t> v973 = file.SaveBytesAs(973);
    EXPECT_EQ(v973.size(), file.SaveBytesAs(974).size() - 4 - 3 * 4);
    m_dir.WriteFile("old973.rpl4_1000", std::string(v973.begin(), v973.end()));
    cReplay r;
    r.m_vecChoice = {7};
    cStage stage, start;
    cGameProgress progress;
    ASSERT_EQ(ReadReplayFile(r, "old973.rpl4_1000", stage, start, progress), 1) << LastDataFileError();
    EXPECT_TRUE(r.m_vecChoice.empty());
    EXPECT_EQ(r.m_vecDirRuns, m_replay.m_vecDirRuns);
    EXPECT_EQ(r.m_vecButtonRuns, m_replay.m_vecButtonRuns);
    EXPECT_EQ(ReplayDataVersion(), 1000);  // g_Replay was not read
    EXPECT_EQ(r.m_nFileVersion, 973u);

    // 172: the file ends after the replay; the progress stays as it was.
    const std::vector<uint8_t> v172 = file.SaveBytesAs(172);
    m_dir.WriteFile("old172.rpl4_1000", std::string(v172.begin(), v172.end()));
    progress.m_nScore = 77;
    ASSERT_EQ(ReadReplayFile(r, "old172.rpl4_1000", stage, start, progress), 1) << LastDataFileError();
    EXPECT_EQ(progress.m_nScore, 77);
    EXPECT_EQ(r.m_vecDirWords, m_replay.m_vecDirWords);
}

TEST_F(ReplayFileTest, DamagedFilesAreRefusedAndChangeNothing) {
    const std::vector<uint8_t> good = ReadBytes(Write("good.rpl4_1000"));
    cReplayFile probe;
    ASSERT_TRUE(probe.LoadBytes(good, "good"));

    // The replay body starts after the stage part; its direction runs are
    // found by their values (2, 30, 1).
    cByteWriter stagePart;
    g_Stage.SaveWithStartHeader(stagePart, g_StageStart);
    const size_t replayAt = 4 + stagePart.Size();

    cReplayFile unequalFile = probe;  // a direction word without its run
    unequalFile.m_Replay.m_vecDirRuns.pop_back();
    const std::vector<uint8_t> unequal = unequalFile.SaveBytes();
    std::vector<uint8_t> zeroRun = good;  // a run of 0 frames
    const std::vector<uint8_t> runs = {2, 0, 0, 0, 30, 0, 0, 0, 1, 0, 0, 0};
    auto at = std::search(zeroRun.begin() + static_cast<long>(replayAt), zeroRun.end(), runs.begin(), runs.end());
    ASSERT_NE(at, zeroRun.end());
    at[4] = 0;
    const std::vector<uint8_t> tooNew = [&] {
        std::vector<uint8_t> b = good;
        b[0] = 0xE9;  // 1001
        return b;
    }();
    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"short", std::vector<uint8_t>(good.begin(), good.end() - 9)},
        {"cut in the replay", std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(replayAt) + 30)},
        {"unequal", unequal},
        {"zero run", zeroRun},
        {"too new", tooNew},
    };
    for (const auto& [label, bytes] : cases) {
        SCOPED_TRACE(label);
        m_dir.WriteFile("bad.rpl4_1000", std::string(bytes.begin(), bytes.end()));
        platform::CapturedMessageBoxes boxes;
        cReplay r;
        r.m_nSeed = 42;
        cStage stage, start;
        stage.m_nTimeLimit = 99;
        cGameProgress progress;
        progress.m_nScore = 5;
        EXPECT_EQ(ReadReplayFile(r, "bad.rpl4_1000", stage, start, progress), 0);
        EXPECT_EQ(r.m_nSeed, 42);
        EXPECT_EQ(stage.m_nTimeLimit, 99);
        EXPECT_EQ(progress.m_nScore, 5);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_NE(boxes.Boxes()[0].text.find("bad.rpl4_1000"), std::string::npos);
        EXPECT_EQ(g_bQuit.load(), 0);
    }
}

// The dialogs' writer and the open dialog's reader reach the replay files.
TEST_F(ReplayFileTest, DialogSaveAndOpenReachTheFiles) {
    g_Replay = m_replay;
    g_ProgressAtStart = m_progress;
    std::string path;
    MakeReplayFileName(path, 0);
    EXPECT_TRUE(path.ends_with("_CLEAR_.rpl4_1000")) << path;
    ASSERT_TRUE(SaveReplayAfterDialog(0, path));
    ASSERT_TRUE(platform::PathExists(path));

    g_Replay.Reset();
    g_Stage.m_vecPlacedChara.clear();
    ASSERT_TRUE(OpenReplayFile(path));
    EXPECT_EQ(g_Replay.m_nSeed, 123456);
    EXPECT_EQ(g_Stage.m_vecPlacedChara.size(), 2u);
    EXPECT_EQ(g_Progress.m_nScore, 1200);
    EXPECT_EQ(g_Stage.m_strPath, path);

    // A failed write is shown with its name; play goes on.
    platform::CapturedMessageBoxes boxes;
    EXPECT_FALSE(SaveReplayAfterDialog(0, path));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_NE(boxes.Boxes()[0].text.find(path), std::string::npos);
    EXPECT_EQ(g_bQuit.load(), 0);
    g_Replay.Reset();
    g_ProgressAtStart = cGameProgress();
}

// A game folder below folders whose names have no CP932 form, on a drive
// without hard links: a play of a stage with a Japanese name is saved (the
// F1/F2 and dialog saves, the auto-save), listed and read back.
TEST_F(ReplayFileTest, SavedAndReadInAGameFolderBelowAnyNames) {
    struct Reset {
        ~Reset() { platform::SetCommitFaults({}); }
    } reset;
    m_dir.MakeDirs("josé/下载/game/user_data/rpl4");
    ASSERT_TRUE(platform::ChangeDirectory((m_dir.Path() / "josé/下载/game").string()));
    for (const bool hardLinks : {true, false}) {
        SCOPED_TRACE(hardLinks ? "hard links" : "no hard links");
        platform::SetCommitFaults({hardLinks ? 0 : EPERM, 0});
        g_Stage.m_strPath = SJ("data\\stg4\\洞窟-1.stg4_1000");
        g_Replay = m_replay;
        g_ProgressAtStart = m_progress;
        std::string path;
        MakeReplayFileName(path, 0);
        ASSERT_TRUE(SaveReplayAfterDialog(0, path)) << path;
        EXPECT_NE(path.find(SJ("洞窟-1_CLEAR_")), std::string::npos) << path;
        std::vector<std::string> listed;
        for (const auto& e : platform::ListDir("user_data\\rpl4", "*.rpl4_1000")) listed.push_back(e.name);
        ASSERT_EQ(listed.size(), 1u);
        std::string relative = path;
        ASSERT_TRUE(ToRelativePathStr(relative, true));
        EXPECT_EQ(relative, "user_data\\rpl4\\" + listed[0]);

        g_Replay.Reset();
        ASSERT_TRUE(OpenReplayFile(path));
        EXPECT_EQ(g_Replay.m_nSeed, 123456);
        EXPECT_EQ(g_Progress.m_nScore, 1200);
        std::filesystem::remove(platform::OsPath(path));
        platform::InvalidateDirCache();
    }
    g_Replay.Reset();
    g_ProgressAtStart = cGameProgress();
}

}  // namespace
