// Progress bookkeeping: stage keys, best records and totals, challenge
// flags, the stage-start snapshot, the next lap and the ranking category.
#include <gtest/gtest.h>

#include <climits>

#include "frontend/data/game_progress.h"
#include "frontend/data/world_map.h"
#include "tests/frontend/data/file_builder.h"

namespace {

class ProgressBookTest : public ::testing::Test {
protected:
    void SetUp() override { player_test::ResetPlayerGlobals(); }
    void TearDown() override { player_test::ResetPlayerGlobals(); }
};

TEST_F(ProgressBookTest, ParseStageVariation) {
    struct Case {
        const char* file;
        int on, var, value;
        int numbered;
        const char* base;
        const char* key;
    };
    const Case cases[] = {
        {"c05-1.stg4_1000", 0, 0, 0, 1, "c05.", "c05."},
        {"boss.stg4_1000", 0, 0, 0, 0, "boss.", "boss."},
        {"boss.stg4_1000", 1, 12, 3, 0, "boss.", "boss_c012_3."},
        {"stage-10.stg4_1000", 0, 0, 0, 1, "stage.", "stage."},  // "-1" followed by more digits
        {"a-1-2.stg4_1000", 0, 0, 0, 1, "a.", "a."},
        {"a-2-1.stg4_1000", 0, 0, 0, 1, "a-2.", "a-2."},          // the last "-1" counts
        {"c05-2.stg4_1000", 0, 0, 0, 0, "c05-2.", "c05-2."},
        {"data\\stg4\\x-1.stg4_1000", 1, 5, -4, 1, "data\\stg4\\x.", "data\\stg4\\x_c005_-4."},
        {"noext", 1, 1, 1, 0, "noext", "noext_c001_1"},
        {"trail-", 0, 0, 0, 0, "trail-", "trail-"},
        {"", 0, 0, 0, 0, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        cGameProgress p;
        p.m_bNumbered = 7;
        p.ParseStageVariation(c.file, c.on, c.var, c.value);
        EXPECT_EQ(p.m_bNumbered, c.numbered);
        EXPECT_EQ(p.m_strStageBase, c.base);
        EXPECT_EQ(p.m_strStageKey, c.key);
        EXPECT_EQ(p.m_bVariation, c.on);
        EXPECT_EQ(p.m_nVariationVar, c.var);
        EXPECT_EQ(p.m_nVariationValue, c.value);
    }
    std::string s = "stage.";
    AppendStageVariation(s, 0, 5, 3);
    EXPECT_EQ(s, "stage.");
    AppendStageVariation(s, 1, 5, 3);
    EXPECT_EQ(s, "stage_c005_3.");
}

TEST_F(ProgressBookTest, BestRecordsAndTheirTotal) {
    cGameProgress p;
    p.UpdateStageRecord("a.", "a.", 0, 0, 0, 300);
    p.UpdateStageRecord("b.", "b_c001_2.", 1, 1, 2, 500);
    EXPECT_EQ(p.m_nBestTotal, 800);
    p.UpdateStageRecord("a.", "a.", 0, 0, 0, 200);  // lower: nothing changes
    EXPECT_EQ(p.m_nBestTotal, 800);
    EXPECT_EQ(p.GetStageBest("a."), 300);
    p.UpdateStageRecord("a.", "a.", 0, 0, 0, 450);
    EXPECT_EQ(p.m_nBestTotal, 950);
    EXPECT_EQ(p.GetStageBest("a."), 450);
    EXPECT_EQ(p.GetStageBest("b_c001_2."), 500);
    EXPECT_EQ(p.GetStageBest("b."), 0);
    EXPECT_EQ(p.m_vecStageBest.size(), 2u);
    // Totals stop at the int32 limits instead of wrapping round.
    p.UpdateStageRecord("c.", "c.", 0, 0, 0, INT32_MAX);
    EXPECT_EQ(p.m_nBestTotal, INT32_MAX);

    // The total over the world map counts the stages its stage entries play.
    cWorldMap map;
    cWorldPoint pt;
    pt.m_vecEntry.resize(3);
    pt.m_vecEntry[0].m_strStageFile = "a-1.stg4_1000";
    pt.m_vecEntry[1].m_strStageFile = "b.stg4_1000";
    pt.m_vecEntry[1].m_bVariation = 1;
    pt.m_vecEntry[1].m_nVariationVar = 1;
    pt.m_vecEntry[1].m_nVariationValue = 2;
    pt.m_vecEntry[2].m_strStageFile = "c.stg4_1000";
    pt.m_vecEntry[2].m_nKind = WORLD_ENTRY_ROAD;
    map.m_vecPoint.push_back(pt);
    p.RecalcBestTotal(map);
    EXPECT_EQ(p.m_nBestTotal, 950);
}

TEST_F(ProgressBookTest, ChallengeClearSetsFlagsAndHighestStage) {
    struct Case {
        int flags, series, highest, score, best;
        int wantBest, wantTotal, wantHighest;
    };
    const Case cases[] = {
        {5, 3, 2, 700, 500, 700, 1200, 4},  // better score, highest moves on
        {5, 3, 5, 400, 500, 500, 1000, 5},  // lower score, highest already past
        {5, 5, 5, 10, 0, 10, 1010, 5},      // the last stage: highest stays at the count
    };
    for (const Case& c : cases) {
        cGameProgress p;
        p.Reset(c.flags);
        p.m_nBestTotal = 1000;
        p.m_nSeriesIndex = c.series;
        p.m_nHighestStage = c.highest;
        p.m_nScore = c.score;
        p.m_vecStageFlag.at(c.series - 1).m_nBest = c.best;
        p.MarkChallengeClear(5);
        EXPECT_EQ(p.m_vecStageFlag.at(c.series - 1).m_bCleared, 1);
        EXPECT_EQ(p.m_vecStageFlag.at(c.series - 1).m_nBest, c.wantBest);
        EXPECT_EQ(p.m_nBestTotal, c.wantTotal);
        EXPECT_EQ(p.m_nHighestStage, c.wantHighest);
    }
    cGameProgress p;  // no stage flags: only the highest stage
    p.m_nSeriesIndex = 2;
    p.MarkChallengeClear(5);
    EXPECT_EQ(p.m_nHighestStage, 3);
}

TEST_F(ProgressBookTest, SnapshotAndRestore) {
    struct Case {
        bool all, modeRestores;
        int wantVar, wantLives;
    };
    for (const Case& c : {Case{true, false, 0, 3}, Case{false, false, 5, 2}, Case{false, true, 0, 2}}) {
        cGameProgress p;
        p.m_nLives = 3;
        p.m_nScore = 100;
        p.SnapshotStageStart();
        p.m_vecCommonVar.at(7) = 5;
        p.m_nLives = 2;
        p.m_nScore = 180;
        EXPECT_EQ(p.RestoreStageStart(c.all, c.modeRestores), 100);
        EXPECT_EQ(p.m_nScore, 100);
        EXPECT_EQ(p.m_vecCommonVar.at(7), c.wantVar);
        EXPECT_EQ(p.m_vecCommonVar.size(), 1001u);
        EXPECT_EQ(p.m_nLives, c.wantLives);
    }
}

TEST_F(ProgressBookTest, StepRankCategory) {
    const uint8_t oneAndThree[5] = {0, 1, 0, 1, 0};
    const uint8_t none[5] = {};
    const uint8_t all[5] = {1, 1, 1, 1, 1};
    struct Case {
        const uint8_t* enabled;
        int from, n, want;
    };
    const Case cases[] = {
        {oneAndThree, 3, 1, 1},  {oneAndThree, 3, -1, 1}, {oneAndThree, 1, 1, 3},
        {oneAndThree, 2, 0, 3},  {oneAndThree, 1, 0, 1},  {oneAndThree, 1, 2, 1},
        {oneAndThree, 7, 0, 1},  {oneAndThree, 1, INT_MIN, 1}, {oneAndThree, 3, INT_MAX, 1},
        {none, 2, 1, 2},         {all, 4, 1, 0},          {all, 0, -1, 4},
        {all, 2, -7, 0},
    };
    for (const Case& c : cases) {
        cGameProgress p;
        p.m_nRankCategory = c.from;
        p.StepRankCategory(std::span<const uint8_t>(c.enabled, 5), c.n);
        EXPECT_EQ(p.m_nRankCategory, c.want) << c.from << " by " << c.n;
    }
}

TEST_F(ProgressBookTest, NextLapCountersAndMissFlags) {
    cWorldMap map;
    map.m_nStartX = 4;
    map.m_nStartY = 6;
    cGameProgress p;
    p.m_nWorld = 2;
    p.m_vecOpened.at(0) = 0;
    p.m_vecOpened.at(12) = 1;
    p.BeginNextStage(map);
    EXPECT_EQ(p.m_nWorld, 3);
    EXPECT_EQ(p.m_vecOpened.at(0), 1);
    EXPECT_EQ(p.m_vecOpened.at(12), 0);
    EXPECT_EQ(p.m_nMapX, 4);
    EXPECT_EQ(p.m_nMapY, 6);

    p.m_nScore = p.m_nTotal1 = p.m_nTotal2 = p.m_nTotal3 = p.m_nTotal4 = 9;
    p.m_nBestTotal = 9;
    p.ClearProgressCounters();
    EXPECT_EQ(p.m_nScore + p.m_nTotal1 + p.m_nTotal2 + p.m_nTotal3 + p.m_nTotal4, 0);
    EXPECT_EQ(p.m_nBestTotal, 9);

    p.m_vecCarriedItem.assign(25, 1);
    std::vector<uint8_t> clear(25, 0);
    clear[0] = clear[24] = 1;
    p.ClearFlaggedProgressEntries(clear);
    EXPECT_EQ(p.m_vecCarriedItem[0], 0);
    EXPECT_EQ(p.m_vecCarriedItem[1], 1);
    EXPECT_EQ(p.m_vecCarriedItem[24], 0);
}

}  // namespace
