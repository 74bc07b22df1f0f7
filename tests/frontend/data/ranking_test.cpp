// Rankings: insertion, the file layout, old and short files, file names,
// loading and saving.
#include <gtest/gtest.h>

#include "base/log.h"
#include "frontend/data/ranking.h"
#include "records/damaged_files.h"
#include "tests/frontend/data/file_builder.h"
#include "tests/records/test_util.h"
#include "tests/support/temp_dir.h"

using player_test::FileBuilder;

namespace {

class RankingTest : public ::testing::Test {
protected:
    void SetUp() override { player_test::ResetPlayerGlobals(); }
    void TearDown() override { player_test::ResetPlayerGlobals(); }
};

cRankingTable TableOf(int32_t sortFlag, std::initializer_list<int32_t> used, size_t n = kRankingEntries) {
    cRankingTable t;
    t.m_nSortFlag = sortFlag;
    t.m_vecEntry.resize(n);
    size_t i = 0;
    for (int32_t v : used) {
        t.m_vecEntry[i].m_bUsed = 1;
        t.m_vecEntry[i].m_nScore = v;
        t.m_vecEntry[i].m_strName = "e" + std::to_string(i);
        ++i;
    }
    return t;
}

std::vector<int32_t> Scores(const cRankingTable& t) {
    std::vector<int32_t> v;
    for (const auto& e : t.m_vecEntry)
        if (e.m_bUsed) v.push_back(e.m_nScore);
    return v;
}

TEST_F(RankingTest, Insert) {
    struct Case {
        const char* what;
        cRankingTable table;
        int32_t value;
        int wantPos;
        std::vector<int32_t> wantScores;
    };
    std::initializer_list<int32_t> full = {100, 95, 90, 85, 80, 75, 70, 65, 60, 55,
                                           50,  45, 40, 35, 30, 25, 20, 15, 10, 5};
    const Case cases[] = {
        {"tie goes below", TableOf(1, {900, 500, 300}), 500, 2, {900, 500, 500, 300}},
        {"times: lower first", TableOf(0, {5900, 6100}), 6000, 1, {5900, 6000, 6100}},
        {"times: tie below", TableOf(0, {6000}), 6000, 1, {6000, 6000}},
        {"empty table", TableOf(1, {}), -7, 0, {-7}},
        {"top of a full table", TableOf(1, full), 101, 0,
         {101, 100, 95, 90, 85, 80, 75, 70, 65, 60, 55, 50, 45, 40, 35, 30, 25, 20, 15, 10}},
        {"below all of a full table", TableOf(1, full), 5, -1, std::vector<int32_t>(full)},
        {"only one entry", TableOf(1, {3}, 1), 4, 0, {4}},
        {"no entries", TableOf(1, {}, 0), 4, -1, {}},
    };
    for (const Case& c : cases) {
        cRankingTable t = c.table;
        const size_t n = t.m_vecEntry.size();
        EXPECT_EQ(t.FindInsertPos(c.value), c.wantPos) << c.what;
        t.Insert("abc", c.value);
        EXPECT_EQ(Scores(t), c.wantScores) << c.what;
        EXPECT_EQ(t.m_vecEntry.size(), n) << c.what;
        if (c.wantPos >= 0) {
            EXPECT_EQ(t.m_vecEntry[c.wantPos].m_strName, "abc") << c.what;
        }
    }
}

TEST_F(RankingTest, FileLayout) {
    cRanking r;
    r.m_vecTable.at(2).Insert("", 6000);
    r.m_vecTable.at(0).Insert("ab", 7);
    const auto bytes = r.SaveBytes();
    // version, ranking body, table count, then per table its header and 20
    // entries of 20 bytes (empty name) or more.
    ASSERT_EQ(bytes.size(), 4u + 8 + 4 + 5 * (16 + 20 * 20) + 3);
    FileBuilder b(1000);
    b.I32(0).I32(0).I32(5);
    for (int t = 0; t < 5; ++t) {
        b.I32(1).I32(kRankingSortFlags[t]).I32(0).I32(20);
        for (int i = 0; i < 20; ++i) {
            const bool used = i == 0 && (t == 0 || t == 2);
            b.I32(2).I32(used ? 1 : 0).I32(used ? (t == 0 ? 7 : 6000) : 0).I32(1);
            b.Str(used && t == 0 ? "ab" : "");
        }
    }
    EXPECT_EQ(bytes, b.Bytes());
    cRanking back;
    ASSERT_TRUE(back.LoadBytes(bytes, "a.rkg"));
    EXPECT_EQ(back.SaveBytes(), bytes);
}

// A file with the given sort flags (one used entry each).
std::vector<uint8_t> RankingFile(uint32_t version, std::vector<int32_t> flags) {
    FileBuilder b(version);
    b.I32(0).I32(0).I32(static_cast<int32_t>(flags.size()));
    for (int32_t f : flags) b.I32(1).I32(f).I32(0).I32(1).I32(2).I32(1).I32(42).I32(1).Str("x");
    return b.Bytes();
}

TEST_F(RankingTest, TableCountsOfOldAndShortFiles) {
    struct Case {
        uint32_t version;
        std::vector<int32_t> stored;
        std::vector<int32_t> wantFlags;
    };
    const Case cases[] = {
        {1000, {1, 1, 0, 1, 1, 0, 0}, {1, 1, 0, 1, 1, 0, 0}},  // seven tables stay
        {170, {0, 0, 0}, {0, 0, 0, 1, 1}},                    // old: five tables, 3 and 4 high first
        {170, {0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 1, 1}},
        {1000, {0, 0}, {0, 0, 0, 1, 1}},                      // short: padded with the categories' flags
        {1000, {}, {1, 1, 0, 1, 1}},
        {181, {0, 0, 0, 0}, {0, 0, 0, 0, 1}},
        // Tables added to an old file are new tables (sort flag 0) before
        // tables 3 and 4 get theirs.
        {170, {1}, {1, 0, 0, 1, 1}},
        {180, {}, {0, 0, 0, 1, 1}},
    };
    for (const Case& c : cases) {
        cRanking r;
        ASSERT_TRUE(r.LoadBytes(RankingFile(c.version, c.stored), "r.rkg")) << LastDataFileError();
        std::vector<int32_t> flags;
        for (const auto& t : r.m_vecTable) flags.push_back(t.m_nSortFlag);
        EXPECT_EQ(flags, c.wantFlags) << c.version << " with " << c.stored.size();
        if (!c.stored.empty()) {
            EXPECT_EQ(r.m_vecTable.at(0).m_vecEntry.size(), 1u);
        }
        EXPECT_EQ(r.m_vecTable.at(4).m_vecEntry.size(), c.stored.size() >= 5 ? 1u : 20u);
    }
}

TEST_F(RankingTest, FileNames) {
    struct Case {
        int mode;
        const char* base;
        int on, var, value;
        const char* want;  // null: no name
    };
    const Case cases[] = {
        {2, "data\\stg4\\s01.", 0, 0, 0, "user_data\\free\\s01.rkg"},
        {0, "data\\stg4\\stage.", 1, 5, 3, "user_data\\story\\stage_c005_3.rkg"},
        {0, "c05.", 0, 5, 3, "user_data\\story\\c05.rkg"},
        {1, "c05.", 1, 5, 3, "user_data\\challenge\\c05.rkg"},  // variation only in story mode
        {3, "c05.", 0, 0, 0, nullptr},
        {-1, "c05.", 0, 0, 0, nullptr},
    };
    for (const Case& c : cases) {
        std::string out = "old";
        const bool ok = MakeRankingFileName(out, c.mode, c.base, c.on, c.var, c.value);
        EXPECT_EQ(ok, c.want != nullptr) << c.mode;
        EXPECT_EQ(out, c.want ? c.want : "old");
    }
    std::string out;
    EXPECT_FALSE(MakeRankingFileName(out, 2, std::string(300, 'a') + ".", 0, 0, 0));
}

TEST_F(RankingTest, LoadAndSave) {
    testsupport::TempWorkDir dir;
    dir.MakeDirs("user_data/free");
    cRanking r;
    r.m_vecTable.at(1).Insert("abc", 10);
    EXPECT_FALSE(LoadRanking(r, 2, "s01.", 0, 0, 0));  // no file: reset
    EXPECT_EQ(r.m_vecTable.at(1).FindInsertPos(0), 0);

    r.m_vecTable.at(1).Insert("abc", 10);
    ASSERT_TRUE(SaveRanking(r, 2, "s01.", 0, 0, 0));
    EXPECT_TRUE(dir.Exists("user_data/free/s01.rkg"));
    EXPECT_FALSE(SaveRanking(r, 3, "s01.", 0, 0, 0));

    cRanking q;
    ASSERT_TRUE(LoadRanking(q, 2, "s01.", 0, 0, 0));
    EXPECT_EQ(q.m_vecTable.at(1).m_vecEntry.at(0).m_strName, "abc");
    EXPECT_FALSE(LoadRanking(q, 3, "s01.", 0, 0, 0));
    EXPECT_EQ(q.m_vecTable.at(1).m_vecEntry.at(0).m_bUsed, 0);

    // A newer file resets.
    auto newer = r.SaveBytes();
    player_test::Set32(newer, 0, 1001);
    dir.WriteFile("user_data/free/s02.rkg", std::string(newer.begin(), newer.end()));
    q.m_vecTable.at(0).Insert("z", 1);
    EXPECT_FALSE(LoadRanking(q, 2, "s02.", 0, 0, 0));
    EXPECT_EQ(q.m_vecTable.at(0).m_vecEntry.at(0).m_bUsed, 0);
}

// A damaged ranking file is read as far as it goes; the first save over it
// keeps the old file beside it and says so in the report. A file of a newer
// version is not read, and is kept the same way.
TEST_F(RankingTest, DamagedFilesAreReadAsFarAsTheyGoAndKept) {
    testsupport::TempWorkDir dir;
    dir.MakeDirs("user_data/free");
    ASSERT_TRUE(CreateReport((dir.Path() / "Report_Game.txt").string()));
    ForgetDamagedFiles();
    std::vector<uint8_t> whole = RankingFile(1000, {1, 1, 0, 1, 1});
    const std::string cut(whole.begin(), whole.begin() + 4 + 12 + 2 * 38 + 10);  // inside table 2
    dir.WriteFile("user_data/free/s01.rkg", cut);

    cRanking r;
    ASSERT_TRUE(LoadRanking(r, 2, "s01.", 0, 0, 0));
    ASSERT_EQ(r.m_vecTable.size(), 5u);
    for (int t : {0, 1}) {
        ASSERT_EQ(r.m_vecTable.at(t).m_vecEntry.size(), 1u);
        EXPECT_EQ(r.m_vecTable.at(t).m_vecEntry.at(0).m_nScore, 42);
        EXPECT_EQ(r.m_vecTable.at(t).m_vecEntry.at(0).m_strName, "x");
    }
    EXPECT_EQ(r.m_vecTable.at(3).m_nSortFlag, 1);
    r.m_vecTable.at(0).m_vecEntry.resize(kRankingEntries);
    r.m_vecTable.at(0).Insert("new", 50);
    ASSERT_TRUE(SaveRanking(r, 2, "s01.", 0, 0, 0));
    EXPECT_EQ(dir.ReadFile("user_data/free/s01.rkg.damaged"), cut);
    EXPECT_NE(dir.ReadFile("Report_Game.txt").find("user_data\\free\\s01.rkg.damaged"), std::string::npos);
    cRanking q;
    ASSERT_TRUE(LoadRanking(q, 2, "s01.", 0, 0, 0));
    EXPECT_EQ(q.m_vecTable.at(0).m_vecEntry.at(0).m_strName, "new");
    // Later saves replace the mended file only.
    ASSERT_TRUE(SaveRanking(r, 2, "s01.", 0, 0, 0));
    EXPECT_FALSE(dir.Exists("user_data/free/s01.rkg.damaged2"));

    // Damaged again while the first copy is kept: a second copy.
    dir.WriteFile("user_data/free/s01.rkg", "\x01");
    EXPECT_FALSE(LoadRanking(r, 2, "s01.", 0, 0, 0));
    ASSERT_TRUE(SaveRanking(r, 2, "s01.", 0, 0, 0));
    EXPECT_EQ(dir.ReadFile("user_data/free/s01.rkg.damaged2"), "\x01");

    auto newer = RankingFile(1001, {1, 1, 0, 1, 1});
    dir.WriteFile("user_data/free/s02.rkg", std::string(newer.begin(), newer.end()));
    EXPECT_FALSE(LoadRanking(r, 2, "s02.", 0, 0, 0));
    ASSERT_TRUE(SaveRanking(r, 2, "s02.", 0, 0, 0));
    const std::string kept = dir.ReadFile("user_data/free/s02.rkg.damaged");
    EXPECT_EQ(kept, std::string(newer.begin(), newer.end()));
    ForgetDamagedFiles();
}

}  // namespace
