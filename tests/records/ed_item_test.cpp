// Item definitions: body layout, the 13 inheritance groups, repairs, the
// shot-sheet upgrade and FindItemDef.
#include <gtest/gtest.h>

#include "records/cmd_kinds.h"
#include "records/ed_item.h"
#include "tests/records/def_test_util.h"
#include "tests/records/test_util.h"

namespace {

using def_test::ContextOver;

// Every field holds its position in the field table.
cEdItem Numbered() {
    cEdItem i;
    i.m_nPaletteSource = 1;
    i.m_nPaletteIndex = 2;
    i.m_nCondMode = 3;
    i.m_bCondLatch = 4;
    i.m_nOffsetX = 5;
    i.m_nOffsetY = 6;
    i.m_nGraphic = 7;
    i.m_nGraphicKind = 8;
    i.m_nGraphicCell = 9;
    i.m_nSetting5 = 10;
    i.m_bHidden = 11;
    i.m_bOverlay = 12;
    i.m_nOverlayIcon = 13;
    i.m_bPickupWindow = 14;
    i.m_nTakeMode = 15;
    i.m_nSize = 16;
    i.m_nSound = 17;
    i.m_nX = 1;
    i.m_nY = 2;
    i.m_vecCmd.resize(1);
    i.m_vecCmd[0].m_nFamily = cEdFlowCmd::FAMILY_ITEM;
    i.m_vecCmd[0].m_nKind = ICMD_PLAY_SE;
    return i;
}

const char* kNumberedBody = R"(
    11 00 00 00                                 # 17 fields
    01  02 00  03  04  05 00  06 00  07 00  08  09 00  0a  0b  0c  0d 00  0e  0f  10  11 00
    01 00 00 00  01 00 00 00                    # the empty name
    01 00  02 00                                # x, y
    0d 00 00 00  00 00 00 00 00 00 00 00 00 00 00 00 00   # 13 flags
    00 00 00 00                                 # no conditions
    01 00 00 00                                 # one command follows
)";

TEST(EdItem, BodyLayoutAndRoundTrip) {
    std::vector<cEdItem> common(3);
    const cDefContextScope scope(ContextOver(&common));
    cEdItem item = Numbered();
    const auto bytes = item.SaveBytes();
    const auto head = rec_test::FileOf(1000, rec_test::Hex(kNumberedBody));
    ASSERT_GE(bytes.size(), head.size());
    EXPECT_EQ(def_test::HexOf({bytes.begin(), bytes.begin() + static_cast<long>(head.size())}),
              def_test::HexOf(head));
    cEdItem back;
    ASSERT_TRUE(back.LoadBytes(bytes, "i")) << LastDataFileError();
    EXPECT_EQ(back.SaveBytes(), bytes);
    ASSERT_EQ(back.m_vecCmd.size(), 1u);
    EXPECT_EQ(back.m_vecCmd[0].m_nKind, ICMD_PLAY_SE);
}

TEST(EdItem, EachGroupCopiesItsMembers) {
    cEdItem src;
    def_test::ScrambleFields(src);
    src.m_vecCond.resize(1);
    src.m_vecCmd.resize(2);
    def_test::CheckGroupTable<cEdItem>(
        {
            {"m_strName"},
            {"m_vecCond", "m_nCondMode", "m_bCondLatch"},
            {"m_nOffsetX"},
            {"m_nOffsetY"},
            {"m_nGraphic", "m_nGraphicKind", "m_nGraphicCell"},
            {"m_nSetting5"},
            {"m_bHidden"},
            {"m_bOverlay", "m_nOverlayIcon"},
            {"m_nSize"},
            {"m_nTakeMode"},
            {"m_bPickupWindow"},
            {"m_nSound"},
            {"m_vecCmd"},
        },
        src);
}

TEST(EdItem, CommandsAreCopiedDeep) {
    std::vector<cEdItem> common(2);
    common[1].m_vecCmd.resize(1);
    common[1].m_vecCmd[0].m_spShot.Create().m_nPower = 5;
    cEdItem i;
    i.m_nPaletteSource = PAL_COMMON;
    i.m_nPaletteIndex = 1;
    i.m_vecInherit[12] = 1;
    i.Inherit(ContextOver(&common));
    ASSERT_EQ(i.m_vecCmd.size(), 1u);
    i.m_vecCmd[0].m_spShot->m_nPower = 6;
    EXPECT_EQ(common[1].m_vecCmd[0].m_spShot->m_nPower, 5);
}

TEST(EdItem, Repairs) {
    cFlowRefCounts db;
    db.Set(FlowRefTable::Sound, 4);
    std::vector<cEdItem> stage(4);
    cDefContext ctx = ContextOver<cEdItem>(nullptr, &stage);
    ctx.pDatabase = &db;
    struct Case {
        const char* what;
        void (*setup)(cEdItem&);
        bool (*ok)(const cEdItem&);
    } cases[] = {
        {"size 0", [](cEdItem& i) { i.m_nSize = 0; }, [](const cEdItem& i) { return i.m_nSize == 1; }},
        {"size -3", [](cEdItem& i) { i.m_nSize = -3; }, [](const cEdItem& i) { return i.m_nSize == 1; }},
        {"sound beyond", [](cEdItem& i) { i.m_nSound = 4; }, [](const cEdItem& i) { return i.m_nSound == 0; }},
        {"sound inside", [](cEdItem& i) { i.m_nSound = 3; }, [](const cEdItem& i) { return i.m_nSound == 3; }},
        {"negative sound", [](cEdItem& i) { i.m_nSound = -2; }, [](const cEdItem& i) { return i.m_nSound == 0; }},
        {"stage entry 9 of 4", [](cEdItem& i) { i.m_nPaletteSource = PAL_STAGE, i.m_nPaletteIndex = 9; },
         [](const cEdItem& i) { return i.m_nPaletteSource == PAL_NONE && i.m_nPaletteIndex == 0; }},
        {"common entry 1 of none", [](cEdItem& i) { i.m_nPaletteSource = PAL_COMMON, i.m_nPaletteIndex = 1; },
         [](const cEdItem& i) { return i.m_nPaletteSource == PAL_NONE && i.m_nPaletteIndex == 0; }},
        {"command parameters sized by the kind table",
         [](cEdItem& i) {
             i.m_vecCmd.resize(1);
             i.m_vecCmd[0].m_nFamily = cEdFlowCmd::FAMILY_ITEM;
             i.m_vecCmd[0].m_nKind = ICMD_WARP;
             i.m_vecCmd[0].m_vecParam.assign(40, 1);
         },
         [](const cEdItem& i) {
             return i.m_vecCmd[0].m_vecParam.size() ==
                    static_cast<size_t>(CmdKindParamCount(cEdFlowCmd::FAMILY_ITEM, ICMD_WARP));
         }},
    };
    for (const auto& c : cases) {
        cEdItem item;
        c.setup(item);
        item.ValidateRefs(ctx);
        EXPECT_TRUE(c.ok(item)) << c.what;
        // And on the way through a file.
        cEdItem file;
        c.setup(file);
        const cDefContextScope scope(ctx);
        cEdItem back;
        ASSERT_TRUE(back.LoadBytes(file.SaveBytes(), "i"));
        EXPECT_TRUE(c.ok(back)) << c.what;
    }
}

TEST(EdItem, ShotSheetGraphicsMovedUpInVersion219) {
    struct Case {
        uint32_t version;
        int8_t kind;
        int16_t graphic, expected;
    } cases[] = {{218, 3, 119, 119}, {218, 3, 5, 6}, {219, 3, 5, 5}, {218, 2, 5, 5}};
    for (const Case& c : cases) {
        cEdItem i;
        i.m_nGraphicKind = c.kind;
        i.m_nGraphic = c.graphic;
        cEdItem back;
        ASSERT_TRUE(back.LoadBytes(i.SaveBytesAs(c.version), "i"));
        EXPECT_EQ(back.m_nGraphic, c.expected) << c.version << " " << c.graphic;
    }
}

TEST(EdItem, InitKeepsConditionsAndCommands) {
    cEdItem i = Numbered();
    i.m_vecCond.resize(1);
    i.m_vecInherit.assign(20, 1);
    i.m_strName = "x";
    i.Init();
    const cEdItem fresh;
    EXPECT_EQ(i.m_vecInherit, fresh.m_vecInherit);
    EXPECT_EQ(i.m_nGraphicKind, 2);
    EXPECT_EQ(i.m_bPickupWindow, 1);
    EXPECT_EQ(i.m_nSize, 1);
    EXPECT_EQ(i.m_nSetting5, 6);
    EXPECT_EQ(i.m_nSound, 0);
    EXPECT_EQ(i.m_strName, "");
    EXPECT_EQ(i.m_vecCond.size(), 1u);
    EXPECT_EQ(i.m_vecCmd.size(), 1u);
}

TEST(EdItem, FindItemDef) {
    std::vector<cEdItem> common(3), stage(2);
    cDefContext ctx;
    ctx.common.pItems = &common;
    ctx.stage.pItems = &stage;
    struct Case {
        int source;
        int16_t index;
        const cEdItem* expected;
    } cases[] = {
        {1, -1, nullptr}, {3, 0, nullptr}, {0, 0, nullptr},       {1, 0, &common[0]}, {1, 2, &common[2]},
        {1, 3, nullptr},  {2, 1, &stage[1]}, {2, 2, nullptr}, {-1, 0, nullptr},
    };
    for (const Case& c : cases) EXPECT_EQ(FindItemDef(c.source, c.index, ctx), c.expected) << c.source << "/" << c.index;

    const cDefContextScope scope(ctx);
    EXPECT_EQ(FindItemDef(2, 1), &stage[1]);
    EXPECT_EQ(FindItemDef(1, -1), nullptr);
    EXPECT_EQ(FindItemDef(3, 0), nullptr);
}

}  // namespace
