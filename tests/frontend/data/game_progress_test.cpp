// Game progress record: reset state, the layout at 1000 and of old files
// with their upgrades, normalisation, and damaged counts.
#include <gtest/gtest.h>

#include <map>

#include "frontend/data/game_progress.h"
#include "tests/frontend/data/file_builder.h"

using player_test::FileBuilder;

namespace {

class GameProgressTest : public ::testing::Test {
protected:
    void SetUp() override { player_test::ResetPlayerGlobals(); }
    void TearDown() override { player_test::ResetPlayerGlobals(); }
};

// The base fields and strings of a progress file with the first version
// that stores each ("old4" is the fourth field: the old map value before
// 916, the after-clear action from then on).
struct Gated {
    const char* name;
    uint32_t since;
};
const Gated kFields[] = {
    {"m_bCarried", 0},        {"m_nMapX", 0},           {"m_nMapY", 0},           {"old4", 0},
    {"m_nWorld", 0},          {"m_bResume", 915},       {"m_bVariation", 758},    {"m_nVariationVar", 758},
    {"m_nVariationValue", 758}, {"m_nSeriesIndex", 0},  {"m_nStageNumber", 0},    {"m_nStartLives", 0},
    {"m_nLives", 0},          {"m_nStageScore", 0},     {"m_nScore", 0},          {"m_nBestTotal", 0},
    {"m_nTotal1", 0},         {"m_nTotal2", 0},         {"m_nTotal3", 182},       {"m_nTotal4", 182},
    {"m_bNumbered", 0},       {"m_nNextStage", 915},    {"m_bBgmOn", 0},          {"m_nBgm", 166},
    {"m_nMapFacing", 194},    {"m_bMapReturn", 190},    {"m_nMapCursorX", 191},   {"m_nMapCursorY", 191},
    {"m_nHighestStage", 0},   {"m_nStartLivesSnap", 915}, {"m_nStartScoreSnap", 915}, {"m_nSlot", 0},
    {"m_bSlotSave", 169},     {"m_bShowRanking", 0},    {"m_nRankCategory", 0},   {"m_bNextStartPos", 678},
    {"m_nNextStartX", 678},   {"m_nNextStartY", 678},   {"m_nNextStartDir", 679}, {"m_bCountsAsClear", 944},
};
const Gated kStrings[] = {{"m_strStageBase", 0}, {"m_strStageKey", 724}, {"m_strNextFile", 915}, {"m_strPlayerName", 0}};

// Every stored field gets a distinct value (100 + its position in the
// full list) unless given; map place and highest stage stay small so that
// normalising leaves them.
void WriteBase(FileBuilder& b, uint32_t version, std::map<std::string, int32_t> given = {}) {
    given.try_emplace("m_nMapX", 3);
    given.try_emplace("m_nMapY", 4);
    given.try_emplace("m_nHighestStage", 2);
    int n = 0;
    for (const Gated& g : kFields) n += version >= g.since;
    b.I32(n);
    for (size_t i = 0; i < std::size(kFields); ++i) {
        if (version < kFields[i].since) continue;
        auto it = given.find(kFields[i].name);
        b.I32(it != given.end() ? it->second : static_cast<int32_t>(100 + i));
    }
    int m = 0;
    for (const Gated& g : kStrings) m += version >= g.since;
    b.I32(m);
    for (const Gated& g : kStrings)
        if (version >= g.since) b.Str(std::string("s:") + g.name);
}

void WriteTime(FileBuilder& b) {
    for (uint16_t v : {2024, 5, 3, 15, 13, 45, 30, 250}) b.U16(v);
}

int32_t Value(const char* name) {
    for (size_t i = 0; i < std::size(kFields); ++i)
        if (std::string(kFields[i].name) == name) return static_cast<int32_t>(100 + i);
    return -1;
}

TEST_F(GameProgressTest, ResetGivesTheNewGameState) {
    cGameProgress p;
    p.m_nScore = 5;
    p.m_strStageKey = "x.";
    p.m_vecStartVar = {1, 2};
    p.m_stSaveTime[ST_YEAR] = 2020;
    p.m_vecStageBest.resize(3);
    p.Reset(7);
    EXPECT_EQ(p.m_nScore, 0);
    EXPECT_EQ(p.m_strStageKey, "");
    EXPECT_EQ(p.m_vecCarriedItem, std::vector<int32_t>(25, 0));
    EXPECT_EQ(p.m_vecSavedChara.size(), 1u);
    ASSERT_EQ(p.m_vecOpened.size(), 1000u);
    EXPECT_EQ(p.m_vecOpened[0], 1);
    EXPECT_EQ(p.m_vecOpened[1], 0);
    EXPECT_EQ(p.m_vecCommonVar, std::vector<int32_t>(1001, 0));
    EXPECT_TRUE(p.m_vecStageBest.empty());
    EXPECT_EQ(p.m_vecStageFlag.size(), 7u);
    EXPECT_EQ(p.m_nHighestStage, 1);
    EXPECT_EQ(p.m_nSlot, -1);
    EXPECT_EQ(p.m_strPlayerName, "aaa");
    // Kept by a reset.
    EXPECT_EQ(p.m_vecStartVar, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(p.m_stSaveTime[ST_YEAR], 2020);
}

// A version-1000 file (no saved charas) loads into the named members and is
// written back byte for byte.
TEST_F(GameProgressTest, Version1000FileRoundTripsExactly) {
    g_PlayerDataSettings.nStageCount = 3;
    FileBuilder b(1000);
    WriteBase(b, 1000);
    WriteTime(b);
    b.IntVec(std::vector<int32_t>(25, 1));
    b.I32(0);  // saved charas
    b.I32(1);  // one best record
    b.I32(4).I32(1).I32(12).I32(3).I32(900).I32(2).Str("boss.").Str("boss_c012_3.");
    b.I32(3);  // stage flags = the stage count
    for (int i = 0; i < 3; ++i) b.I32(2).I32(i & 1).I32(10 * i).I32(0);
    b.Ints({1, 1, 0, 1}).Ints({7, -8, 9}).Ints({5, 6});

    cGameProgress p;
    ASSERT_TRUE(p.LoadBytes(b.Bytes(), "Story01.dat")) << LastDataFileError();
    EXPECT_EQ(p.m_nMapX, 3);
    EXPECT_EQ(p.m_nClearAction, Value("old4"));
    EXPECT_EQ(p.m_nOldMapValue, 0);
    EXPECT_EQ(p.m_bResume, Value("m_bResume"));
    EXPECT_EQ(p.m_nLives, Value("m_nLives"));
    EXPECT_EQ(p.m_nTotal4, Value("m_nTotal4"));
    EXPECT_EQ(p.m_nBgm, Value("m_nBgm"));
    EXPECT_EQ(p.m_nSlot, Value("m_nSlot"));
    EXPECT_EQ(p.m_nNextStartDir, Value("m_nNextStartDir"));
    EXPECT_EQ(p.m_bCountsAsClear, Value("m_bCountsAsClear"));
    EXPECT_EQ(p.m_strStageKey, "s:m_strStageKey");
    EXPECT_EQ(p.m_strPlayerName, "s:m_strPlayerName");
    EXPECT_EQ(p.m_stSaveTime[ST_MINUTE], 45);
    EXPECT_TRUE(p.m_vecSavedChara.empty());
    ASSERT_EQ(p.m_vecStageBest.size(), 1u);
    EXPECT_EQ(p.m_vecStageBest[0].m_nBest, 900);
    EXPECT_EQ(p.m_vecStageBest[0].m_strStageKey, "boss_c012_3.");
    EXPECT_EQ(p.m_vecStageFlag.at(2).m_nBest, 20);
    EXPECT_EQ(p.m_vecCommonVar, (std::vector<int32_t>{7, -8, 9}));
    EXPECT_EQ(p.m_vecStartVar, (std::vector<int32_t>{5, 6}));
    EXPECT_EQ(p.SaveBytes(), b.Bytes());
}

// Hand-built old files of each generation and what their upgrades give.
TEST_F(GameProgressTest, OldFilesAreUpgraded) {
    struct Case {
        uint32_t version;
        int nFields, nStrings;
    };
    // Stored counts of the generations, counted by hand from the layout.
    for (const Case& c : {Case{165, 20, 2}, Case{500, 28, 2}, Case{753, 32, 3}, Case{915, 39, 4}}) {
        SCOPED_TRACE(c.version);
        FileBuilder b(c.version);
        WriteBase(b, c.version);
        WriteTime(b);
        if (c.version >= 501) b.IntVec(std::vector<int32_t>{0, 1, 0});
        b.I32(0).I32(1);  // no saved charas, one best record
        if (c.version >= 759)
            b.I32(4).I32(0).I32(0).I32(0).I32(50).I32(2).Str("old.").Str("old.");
        else
            b.I32(1).I32(50).I32(1).Str("old.");
        b.I32(0);                                  // stage flags
        b.Ints({0, 1, 1});                         // opened, entry 0 clear
        b.IntVec(std::vector<int32_t>(1001, 4));   // common variables
        if (c.version >= 915) b.Ints({3, 3, 3});  // start variables
        // The counts of the hand-built header.
        int32_t n, m;
        std::memcpy(&n, b.Bytes().data() + 4, 4);
        std::memcpy(&m, b.Bytes().data() + 8 + 4 * n, 4);
        ASSERT_EQ(n, c.nFields);
        ASSERT_EQ(m, c.nStrings);

        cGameProgress p;
        p.m_vecStartVar.assign(1200, 9);  // kept by the load's reset
        ASSERT_TRUE(p.LoadBytes(b.Bytes(), "old")) << LastDataFileError();
        const uint32_t v = c.version;
        EXPECT_EQ(p.m_nBgm, v < 166 ? 1 : Value("m_nBgm"));
        EXPECT_EQ(p.m_nTotal3, v < 182 ? 0 : Value("m_nTotal3"));
        EXPECT_EQ(p.m_nMapFacing, v < 194 ? 0 : Value("m_nMapFacing"));
        EXPECT_EQ(p.m_bSlotSave, v < 169 ? 0 : Value("m_bSlotSave"));
        if (v < 501)
            EXPECT_EQ(p.m_vecCarriedItem, std::vector<int32_t>(25, 1));
        else
            EXPECT_EQ(p.m_vecCarriedItem, (std::vector<int32_t>{0, 1, 0}));
        if (v < 754) {
            EXPECT_EQ(p.m_vecCommonVar, std::vector<int32_t>(1000, 4));
            EXPECT_EQ(p.m_vecStartVar.size(), 1000u);
        } else {
            EXPECT_EQ(p.m_vecCommonVar.size(), 1001u);
        }
        if (v >= 915) {
            EXPECT_EQ(p.m_vecStartVar, (std::vector<int32_t>{3, 3, 3}));
        }
        EXPECT_EQ(p.m_vecOpened[0], v < 804 ? 1 : 0);
        // The fourth field is the old map value in all of these.
        EXPECT_EQ(p.m_nOldMapValue, Value("old4"));
        EXPECT_EQ(p.m_nClearAction, 0);
        EXPECT_EQ(p.m_bResume, v >= 915 ? Value("m_bResume") : 0);
        EXPECT_EQ(p.m_nNextStartDir, v >= 679 ? Value("m_nNextStartDir") : 0);
        EXPECT_EQ(p.m_strStageKey, v >= 724 ? "s:m_strStageKey" : "");
        EXPECT_EQ(p.m_strPlayerName, "s:m_strPlayerName");
        ASSERT_EQ(p.m_vecStageBest.size(), 1u);
        EXPECT_EQ(p.m_vecStageBest[0].m_strStageKey, "old.");
        EXPECT_EQ(p.m_vecStageFlag.size(), 40u);  // the stage count
    }
}

TEST_F(GameProgressTest, NormalizeOnSave) {
    g_PlayerDataSettings.nStageCount = 10;
    struct Case {
        int x, y, flags, highest;
        int wantX, wantY, wantHighest;
    };
    const Case cases[] = {
        {19, 14, 12, 15, 19, 14, 10},  // inside; 12 flags cut to 10
        {20, 3, 3, 4, 9, 3, 4},        // column outside: start column; 3 flags grow
        {2, 15, 10, 10, 2, 7, 10},     // row outside: start row
    };
    for (const Case& c : cases) {
        cGameProgress p;
        p.m_nMapX = c.x;
        p.m_nMapY = c.y;
        p.m_vecStageFlag.assign(static_cast<size_t>(c.flags), StageFlagRecord());
        for (auto& f : p.m_vecStageFlag) f.m_nBest = 5;
        p.m_nHighestStage = c.highest;
        cGameProgress q;
        ASSERT_TRUE(q.LoadBytes(p.SaveBytes(), "n"));
        EXPECT_EQ(q.m_nMapX, c.wantX);
        EXPECT_EQ(q.m_nMapY, c.wantY);
        ASSERT_EQ(q.m_vecStageFlag.size(), 10u);
        EXPECT_EQ(q.m_vecStageFlag[0].m_nBest, 5);
        EXPECT_EQ(q.m_vecStageFlag[9].m_nBest, c.flags >= 10 ? 5 : 0);
        EXPECT_EQ(q.m_nHighestStage, c.wantHighest);
    }
}

// Map cells from a damaged or crafted file, negative or huge, for the
// player's place and the map's cursor, are brought to the map's start cell
// (the cursor's stored values stay, so that files round-trip).
TEST_F(GameProgressTest, MapCellsOutsideTheMapGoToTheStartCell) {
    struct Case {
        int x, y, cx, cy;
        int wantX, wantY, wantCx, wantCy;
    };
    const Case cases[] = {
        {-1, -7, -3, INT32_MIN, 9, 7, 9, 7},
        {INT32_MAX, 2, 19, 14, 9, 2, 19, 14},
        {0, 0, 20, -1, 0, 0, 9, 7},
        {5, INT32_MIN, INT32_MAX, 15, 5, 7, 9, 7},
    };
    for (const Case& c : cases) {
        cGameProgress p;
        p.m_nMapX = c.x;
        p.m_nMapY = c.y;
        p.m_nMapCursorX = c.cx;
        p.m_nMapCursorY = c.cy;
        cGameProgress q;
        ASSERT_TRUE(q.LoadBytes(p.SaveBytes(), "n"));
        EXPECT_EQ(q.m_nMapX, c.wantX) << c.x;
        EXPECT_EQ(q.m_nMapY, c.wantY) << c.y;
        EXPECT_EQ(q.m_nMapCursorX, c.cx);
        int32_t cx = 0, cy = 0;
        q.MapReturnCell(g_WorldMap, cx, cy);
        EXPECT_EQ(cx, c.wantCx) << c.cx;
        EXPECT_EQ(cy, c.wantCy) << c.cy;
    }
}

// A count of 0 keeps the reset contents of an int vector and leaves a
// record vector empty; negative counts and counts beyond the bytes left
// refuse the file.
TEST_F(GameProgressTest, StoredCountsAreBounded) {
    auto file = [](int32_t carried, int32_t saved, int32_t common) {
        FileBuilder b(1000);
        WriteBase(b, 1000);
        WriteTime(b);
        b.I32(carried);
        b.I32(saved);
        b.I32(0).I32(0);
        b.Ints({1});
        b.I32(common);
        if (common > 0 && common < 100)
            for (int i = 0; i < common; ++i) b.I32(i);
        b.Ints({});
        return b.Bytes();
    };
    cGameProgress p;
    ASSERT_TRUE(p.LoadBytes(file(0, 0, 0), "zero")) << LastDataFileError();
    EXPECT_EQ(p.m_vecCarriedItem, std::vector<int32_t>(25, 0));
    EXPECT_TRUE(p.m_vecSavedChara.empty());
    EXPECT_EQ(p.m_vecCommonVar.size(), 1001u);
    EXPECT_EQ(p.m_vecOpened, std::vector<int32_t>{1});

    p.m_nScore = 77;
    for (auto bytes : {file(0x7FFFFFFF, 0, 2), file(0, 0x40000000, 2), file(0, 0, 0x7FFFFFFF), file(0, 0, 1000),
                       file(-1, 0, 2), file(0, -1, 2), file(0, 0, -3)}) {
        EXPECT_FALSE(p.LoadBytes(bytes, "huge"));
        EXPECT_EQ(p.m_nScore, 77);
    }
}

}  // namespace

namespace {

// A saved chara carries a whole chara definition body: a progress written
// with one reads back to the same bytes and the same values.
TEST_F(GameProgressTest, SavedCharaCarriesTheCharaBody) {
    cGameProgress p;
    p.Reset(3);
    ASSERT_FALSE(p.m_vecSavedChara.empty());
    p.m_vecSavedChara[0].m_nItem23 = 7;
    p.m_vecSavedChara[0].m_Chara.m_nMaxHP = 345;
    const std::vector<uint8_t> bytes = p.SaveBytes();
    cGameProgress q;
    ASSERT_TRUE(q.LoadBytes(bytes, "progress")) << LastDataFileError();
    ASSERT_EQ(q.m_vecSavedChara.size(), p.m_vecSavedChara.size());
    EXPECT_EQ(q.m_vecSavedChara[0].m_nItem23, 7);
    EXPECT_EQ(q.m_vecSavedChara[0].m_Chara.m_nMaxHP, 345);
    EXPECT_EQ(q.SaveBytes(), bytes);
}

}  // namespace
