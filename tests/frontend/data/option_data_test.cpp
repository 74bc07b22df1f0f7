// User option files: layouts, the upgrades of old Option.dat files, the
// "System.ini" replay keys, the labels, and which files start-up and
// program end touch.
#include <gtest/gtest.h>

#include "frontend/data/option_data.h"
#include "tests/frontend/data/file_builder.h"
#include "tests/records/test_util.h"
#include "tests/support/temp_dir.h"

using player_test::FileBuilder;
using rec_test::Hex;

namespace {

class OptionDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        player_test::ResetPlayerGlobals();
        ResetFiles();
    }
    void TearDown() override {
        player_test::ResetPlayerGlobals();
        ResetFiles();
    }
    static void ResetFiles() {
        g_OptionData = cOptionData();
        g_FreeData = cFreeData();
        g_ReplayData = cReplayData();
    }
};

TEST_F(OptionDataTest, LayoutsAtVersion1000) {
    const auto option = Hex(R"(
        e8 03 00 00  08 00 00 00
        01 00 00 00  00 00 00 00  07 00 00 00  07 00 00 00  # rescan, palette, music, sound
        00 00 00 00  00 00 00 00  00 00 00 00  15 00 00 00  # ranking, auto-save, order, message 21
        01 00 00 00  04 00 00 00  61 61 61 00               # "aaa"
    )");
    EXPECT_EQ(cOptionData().SaveBytes(), option);

    const auto free = FileBuilder(1000).I32(2).I32(12).I32(0).I32(1).Str("data\\stg4\\a.stg4_1000").Bytes();
    cFreeData f;
    ASSERT_TRUE(f.LoadBytes(free, "Free.dat"));
    EXPECT_EQ(f.m_nListPos, 12);
    EXPECT_EQ(f.m_strLastFile, "data\\stg4\\a.stg4_1000");
    EXPECT_EQ(f.SaveBytes(), free);

    const auto replay = FileBuilder(1000).I32(2).I32(3).I32(2).I32(1).Str("x.rpl4_1000").Bytes();
    cReplayData r;
    ASSERT_TRUE(r.LoadBytes(replay, "Replay.dat"));
    EXPECT_EQ(r.m_nListPos, 3);
    EXPECT_EQ(r.m_nSortOrder, 2);
    EXPECT_EQ(r.m_strLastFile, "x.rpl4_1000");
    EXPECT_EQ(r.SaveBytes(), replay);

    auto changed = option;
    player_test::Set32(changed, 8 + 4 * 7, 4);  // message auto-advance
    cOptionData o;
    ASSERT_TRUE(o.LoadBytes(changed, "Option.dat"));
    EXPECT_EQ(o.m_nMessageAuto, 4);
    EXPECT_EQ(o.SaveBytes(), changed);
}

TEST_F(OptionDataTest, OldOptionFilesAreUpgraded) {
    // Fields of each generation in file order; -1 marks what the version lacks.
    struct Case {
        uint32_t version;
        int rescan, music, sound, autoSave, order, message;
        int wantRescan, wantMusic, wantSound, wantAutoSave, wantOrder, wantMessage;
    };
    const Case cases[] = {
        {985, 0, 3, 4, 1, 1, 5, /**/ 0, 7, 5, 1, 1, 5},
        {985, 0, 0, 9, 1, 1, 5, /**/ 0, 0, 10, 1, 1, 5},
        {985, 0, 2, 3, 1, 1, 5, /**/ 0, 7, 3, 1, 1, 5},
        {985, 0, 6, 10, 1, 1, 5, /**/ 0, 7, 10, 1, 1, 5},
        {986, 0, 3, 4, 1, 1, 5, /**/ 0, 3, 4, 1, 1, 5},
        {951, -1, 7, 7, 2, 1, 6, /**/ 1, 7, 8, 2, 1, 6},
        {933, -1, 7, 7, 2, 1, -1, /**/ 1, 7, 8, 2, 1, 21},
        {931, -1, 7, 7, -1, -1, -1, /**/ 1, 7, 8, 0, 2, 21},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        std::vector<int> fields;
        if (c.rescan >= 0) fields.push_back(c.rescan);
        for (int v : {3, c.music, c.sound, 1}) fields.push_back(v);
        if (c.autoSave >= 0) fields.insert(fields.end(), {c.autoSave, c.order});
        if (c.message >= 0) fields.push_back(c.message);
        FileBuilder b(c.version);
        b.I32(static_cast<int32_t>(fields.size()));
        for (int v : fields) b.I32(v);
        b.I32(1).Str("bob");
        cOptionData o;
        o.m_nMessageAuto = 9;  // what a version without the field must not keep
        ASSERT_TRUE(o.LoadBytes(b.Bytes(), "Option.dat")) << LastDataFileError();
        EXPECT_EQ(o.m_bJoyRescan, c.wantRescan);
        EXPECT_EQ(o.m_nPaletteCycle, 3);
        EXPECT_EQ(o.m_nBgmVolume, c.wantMusic);
        EXPECT_EQ(o.m_nSeVolume, c.wantSound);
        EXPECT_EQ(o.m_nRankingMode, 1);
        EXPECT_EQ(o.m_nReplayAutoSave, c.wantAutoSave);
        EXPECT_EQ(o.m_nReplayOrder, c.wantOrder);
        EXPECT_EQ(o.m_nMessageAuto, c.wantMessage);
        EXPECT_EQ(o.m_strName, "bob");
    }
}

TEST_F(OptionDataTest, ReplayKeysOfSystemIni) {
    cOptionData o;
    o.m_nReplayAutoSave = 0;
    o.m_nReplayOrder = 1;
    o.m_nMessageAuto = 3;
    EXPECT_TRUE(ApplyReplayIniKeys(o, {}, {}, {}).empty());
    EXPECT_EQ(o.m_nReplayAutoSave, 0);
    EXPECT_EQ(ApplyReplayIniKeys(o, {1, 2}, {}, {}), std::vector<int>{6});
    EXPECT_EQ(o.m_nReplayAutoSave, 2);
    EXPECT_EQ(o.m_nReplayOrder, 1);
    EXPECT_EQ(ApplyReplayIniKeys(o, {1, 0}, {1, 2}, {1, 20}), (std::vector<int>{6, 7, 8}));
    EXPECT_EQ(o.m_nReplayAutoSave, 0);
    EXPECT_EQ(o.m_nReplayOrder, 2);
    EXPECT_EQ(o.m_nMessageAuto, 20);
}

TEST_F(OptionDataTest, MessageAutoLabels) {
    ASSERT_EQ(g_OptionLabels.size(), 23u);
    const std::pair<int, const char*> cases[] = {{0, "0.0"}, {1, "0.5"},  {2, "1.0"}, {19, "9.5"},
                                                 {20, "10.0"}, {21, "OFF"}, {30, "OFF"}, {-1, "0.0"}};
    for (const auto& [v, want] : cases) EXPECT_EQ(MessageAutoLabel(v), want) << v;
    EXPECT_EQ(g_OptionLabels[22], "");
}

TEST_F(OptionDataTest, StartUpAndProgramEndFiles) {
    testsupport::TempWorkDir dir;
    dir.MakeDirs("user_data");
    LoadUserOptionFiles();  // nothing there: defaults stay
    EXPECT_EQ(g_OptionData.m_nBgmVolume, 7);
    EXPECT_EQ(g_OptionData.m_strName, "aaa");

    g_OptionData.m_nSeVolume = 2;
    g_FreeData.m_nListPos = 4;
    g_ReplayData.m_nSortOrder = 3;
    SaveUserFilesAtExit();
    EXPECT_TRUE(dir.Exists("user_data/Free.dat"));
    EXPECT_TRUE(dir.Exists("user_data/Replay.dat"));
    EXPECT_FALSE(dir.Exists("user_data/Option.dat"));  // saved by the options scene
    ASSERT_TRUE(SaveOptionFile());

    ResetFiles();
    LoadUserOptionFiles();
    EXPECT_EQ(g_OptionData.m_nSeVolume, 2);
    EXPECT_EQ(g_FreeData.m_nListPos, 4);
    EXPECT_EQ(g_ReplayData.m_nSortOrder, 3);
}

}  // namespace
