// Command-kind tables and the direction choice mapping.
#include <gtest/gtest.h>

#include "platform/cp932.h"
#include "records/cmd_kinds.h"

namespace {

TEST(CmdKinds, TablesAndParameterCounts) {
    EXPECT_EQ(CharaCmdKindTable[CMD_STATUS_OP].nParams, 25);
    EXPECT_EQ(ItemCmdKindTable[ICMD_STATUS_OP].nParams, 25);
    EXPECT_EQ(CharaCmdKindTable[CMD_MESSAGE].strName, SJ("メッセージ"));
    EXPECT_EQ(CharaCmdKindTable[CMD_LOOP].nParams, 2);
    EXPECT_EQ(ItemCmdKindTable[ICMD_CHANGE_FLOW].strName, SJ("フローの変更"));
    EXPECT_EQ(ItemCmdKindTable[ICMD_CHANGE_FLOW].nParams, 2);
    EXPECT_TRUE(ItemCmdKindTable[ICMD_NONE].strName.empty());
    // Item kinds 2..24 are the chara kinds 17..39.
    for (int k = ICMD_STAGE_CLEAR; k < ITEM_CMD_KIND_COUNT; ++k) {
        EXPECT_EQ(ItemCmdKindTable[k].strName, CharaCmdKindTable[k + 15].strName) << k;
        EXPECT_EQ(ItemCmdKindTable[k].nParams, CharaCmdKindTable[k + 15].nParams) << k;
    }
    EXPECT_EQ(CmdKindParamCount(0, CMD_SET_TARGET), 17);
    EXPECT_EQ(CmdKindParamCount(1, ICMD_SHOW_PICTURE), 20);
    EXPECT_EQ(CmdKindParamCount(0, 40), 0);
    EXPECT_EQ(CmdKindParamCount(1, -1), 0);
    EXPECT_EQ(CmdKindParamCount(2, 1), 0);
    int total = 0;
    for (const cCmdKindInfo& k : CharaCmdKindTable) total += k.nParams;
    EXPECT_EQ(total, 1 + 5 + 1 + 1 + 5 + 11 + 1 + 21 + 1 + 17 + 25 + 6 + 4 + 2 + 3 + 1 + 2 + 10 + 3 + 3 + 20 + 8 + 2 +
                         1 + 2 + 5 + 2);
}

TEST(CmdKinds, MapChoiceCode) {
    struct Row {
        int choice, keepNine, alternative;
        bool replay;
        uint32_t version;
        int expected;
    };
    const Row rows[] = {
        // Outside a replay.
        {9, 0, 0, false, 0, 2},
        {9, 1, 0, false, 0, 0},
        {0, 1, 1, false, 0, 3},
        {4, 0, 0, false, 0, 7},
        {0, 0, 0, false, 0, 2},
        {8, 0, 1, false, 0, 11},
        {1, 1, 0, false, 0, 2},
        // Replays of 777 and before: only choice 0 falls back.
        {9, 0, 0, true, 777, 0},
        {9, 0, 1, true, 700, 0},
        {0, 0, 1, true, 777, 3},
        // 778 and 779: choice 9 falls back whatever keepNine says.
        {9, 1, 0, true, 778, 2},
        {9, 1, 1, true, 779, 3},
        {5, 1, 1, true, 779, 8},
        // 780 and later follow keepNine.
        {9, 1, 0, true, 780, 0},
        {9, 0, 0, true, 780, 2},
        {9, 0, 1, true, 1000, 3},
        // Choices outside the table give the fallback.
        {10, 0, 0, false, 0, 2},
        {-1, 0, 1, false, 0, 3},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(MapChoiceCode(r.choice, r.keepNine, r.alternative, r.replay, r.version), r.expected)
            << r.choice << " " << r.keepNine << " " << r.alternative << " replay " << r.replay << " " << r.version;
    }
}

}  // namespace
