// Story slots and the challenge file: names, the lives fix-up, saving,
// loading and scanning against real files in a scratch game folder.
#include <gtest/gtest.h>

#include "base/log.h"
#include "frontend/data/save_slots.h"
#include "records/damaged_files.h"
#include "tests/frontend/data/file_builder.h"
#include "tests/support/temp_dir.h"

namespace {

class SaveSlotsTest : public ::testing::Test {
protected:
    void SetUp() override {
        player_test::ResetPlayerGlobals();
        m_dir.MakeDirs("user_data/story");
        m_dir.MakeDirs("user_data/challenge");
        g_SaveSlots = MakeSlotInfoList(kStorySlotCount);
    }
    void TearDown() override {
        player_test::ResetPlayerGlobals();
        g_SaveSlots = MakeSlotInfoList(kStorySlotCount);
    }
    testsupport::TempWorkDir m_dir;
};

TEST_F(SaveSlotsTest, SlotFileNames) {
    const std::pair<int, const char*> cases[] = {
        {0, "user_data\\story\\Story01.dat"},
        {8, "user_data\\story\\Story09.dat"},
        {9, "user_data\\story\\Story10.dat"},
        {98, "user_data\\story\\Story99.dat"},
    };
    for (const auto& [n, want] : cases) {
        std::string name;
        StorySlotFileName(name, n);
        EXPECT_EQ(name, want);
    }
    EXPECT_EQ(g_SaveSlots.size(), 99u);
}

TEST_F(SaveSlotsTest, LivesFixUp) {
    struct Case {
        int unlimited, modeLives, lives, startLives;
        int wantLives, wantStart;
    };
    const Case cases[] = {
        {1, 5, 3, 5, 999999, 999999},  // unlimited switched on after the save
        {0, 5, 999999, 999999, 5, 999999},  // saved unlimited, now limited
        {0, 5, 3, 4, 3, 4},
        {1, 5, 999999, 999999, 999999, 999999},
    };
    for (const Case& c : cases) {
        cGameProgress p;
        p.m_nLives = c.lives;
        p.m_nStartLives = c.startLives;
        p.FixLives(c.unlimited, c.modeLives);
        EXPECT_EQ(p.m_nLives, c.wantLives);
        EXPECT_EQ(p.m_nStartLives, c.wantStart);
    }
}

TEST_F(SaveSlotsTest, SaveAndLoadAStorySlot) {
    g_PlayerDataSettings.abInfiniteLives = {0, 1, 1, 1};
    g_PlayerDataSettings.anStartLives = {4, 6, 5, 99};
    cGameProgress p;
    p.Reset(40);
    p.m_nScore = 1234;
    p.m_nLives = 999999;
    p.m_nStartLives = 999999;
    p.m_vecSavedChara.clear();
    ASSERT_TRUE(p.SaveStorySlot(2));
    EXPECT_TRUE(m_dir.Exists("user_data/story/Story03.dat"));
    EXPECT_GE(p.m_stSaveTime[ST_YEAR], 2000);
    EXPECT_EQ(g_SaveSlots.at(2).m_bUsed, 1);
    EXPECT_EQ(g_SaveSlots.at(2).m_stTime, p.m_stSaveTime);

    cGameProgress q;
    ASSERT_EQ(q.LoadStorySlot(2), 1);
    EXPECT_EQ(q.m_nScore, 1234);
    EXPECT_EQ(q.m_nLives, 4);  // the story lives setting
    EXPECT_EQ(q.m_nStartLives, 999999);
    EXPECT_EQ(q.m_stSaveTime, p.m_stSaveTime);

    // A slot that cannot be read leaves the progress as it was.
    m_dir.WriteFile("user_data/story/Story05.dat", std::string("\xe8\x03\x00\x00\x28\x00", 6));
    q.m_nScore = 55;
    EXPECT_EQ(q.LoadStorySlot(4), 0);
    EXPECT_EQ(q.LoadStorySlot(6), 0);
    EXPECT_EQ(q.m_nScore, 55);
}

TEST_F(SaveSlotsTest, FailedSaveLeavesTheSlotList) {
    cGameProgress p;
    p.m_vecSavedChara.clear();
    g_bQuit = 1;
    EXPECT_FALSE(p.SaveStorySlot(0));
    g_bQuit = 0;
    EXPECT_EQ(g_SaveSlots.at(0).m_bUsed, 0);
    std::filesystem::remove_all(m_dir.Path() / "user_data/story");
    platform::InvalidateDirCache();
    EXPECT_FALSE(p.SaveStorySlot(1));
    EXPECT_EQ(g_SaveSlots.at(1).m_bUsed, 0);
}

TEST_F(SaveSlotsTest, ScanMarksReadableSlots) {
    cGameProgress p;
    p.m_vecSavedChara.clear();
    ASSERT_TRUE(p.SaveStorySlot(0));
    const auto good = p.SaveBytes();
    // Slot 2: a newer format; slot 3: a damaged body whose save time is
    // still readable (cut inside the vectors that follow it).
    auto newer = good;
    player_test::Set32(newer, 0, 1001);
    m_dir.WriteFile("user_data/story/Story03.dat", std::string(newer.begin(), newer.end()));
    // Version, 40 fields, four strings (three empty and "aaa"), the time.
    const size_t timeEnd = 4 + (4 + 40 * 4) + (4 + 4 + 4 + 4 + 8) + 16;
    ASSERT_EQ(std::vector<uint8_t>(good.begin() + timeEnd - 16, good.begin() + timeEnd),
              std::vector<uint8_t>(reinterpret_cast<const uint8_t*>(p.m_stSaveTime.data()),
                                   reinterpret_cast<const uint8_t*>(p.m_stSaveTime.data()) + 16));
    m_dir.WriteFile("user_data/story/Story04.dat", std::string(good.begin(), good.begin() + timeEnd + 6));

    auto list = MakeSlotInfoList(5);
    list[1].m_bUsed = 1;  // no file: becomes unused
    ScanStorySlots(list);
    EXPECT_EQ(list[0].m_bUsed, 1);
    EXPECT_EQ(list[0].m_stTime, p.m_stSaveTime);
    EXPECT_EQ(list[1].m_bUsed, 0);
    EXPECT_EQ(list[2].m_bUsed, 0);
    EXPECT_EQ(list[3].m_bUsed, 1);
    EXPECT_EQ(list[3].m_stTime, p.m_stSaveTime);
    EXPECT_EQ(list[4].m_bUsed, 0);
    cGameProgress q;
    EXPECT_EQ(q.LoadStorySlot(3), 0);  // used, but refused when loaded
}

TEST_F(SaveSlotsTest, ChallengeFile) {
    g_PlayerDataSettings.abInfiniteLives = {0, 1, 0, 0};
    cGameProgress p;
    p.m_nScore = 9;
    EXPECT_EQ(p.LoadChallenge(), 0);  // no file yet: untouched
    EXPECT_EQ(p.m_nScore, 9);
    p.m_nLives = 2;
    p.m_vecSavedChara.clear();
    ASSERT_TRUE(p.SaveChallenge());
    EXPECT_TRUE(m_dir.Exists("user_data/challenge/Challenge.dat"));
    cGameProgress q;
    ASSERT_EQ(q.LoadChallenge(), 1);
    EXPECT_EQ(q.m_nScore, 9);
    EXPECT_EQ(q.m_nLives, 999999);  // the challenge mode's unlimited lives
    EXPECT_EQ(q.m_nStartLives, 999999);
}

// A damaged challenge file is read as far as it goes (the title does not
// start over), and the first save over it keeps it beside the new one.
TEST_F(SaveSlotsTest, DamagedChallengeFileIsReadAsFarAsItGoesAndKept) {
    ASSERT_TRUE(CreateReport((m_dir.Path() / "Report_Game.txt").string()));
    ForgetDamagedFiles();
    cGameProgress p;
    p.m_nScore = 1234;
    p.m_nMapX = 1;
    const std::vector<uint8_t> whole = p.SaveBytes();
    const std::string cut(whole.begin(), whole.end() - 40);  // the start variables break off
    m_dir.WriteFile("user_data/challenge/Challenge.dat", cut);

    cGameProgress q;
    ASSERT_EQ(q.LoadChallenge(), 1);
    EXPECT_EQ(q.m_nScore, 1234);
    EXPECT_EQ(q.m_vecCommonVar.size(), p.m_vecCommonVar.size());
    EXPECT_NE(m_dir.ReadFile("Report_Game.txt").find("Challenge.dat"), std::string::npos);
    EXPECT_FALSE(m_dir.Exists("user_data/challenge/Challenge.dat.damaged"));
    q.m_nScore = 2000;
    ASSERT_TRUE(q.SaveChallenge());
    EXPECT_EQ(m_dir.ReadFile("user_data/challenge/Challenge.dat.damaged"), cut);
    EXPECT_NE(m_dir.ReadFile("Report_Game.txt").find("Challenge.dat.damaged"), std::string::npos);
    cGameProgress r;
    ASSERT_EQ(r.LoadChallenge(), 1);
    EXPECT_EQ(r.m_nScore, 2000);
    ForgetDamagedFiles();
}

}  // namespace
