// Block definitions: the body layout, the inheritance groups, references
// and their repair, the shot-sheet upgrade.
#include <gtest/gtest.h>

#include "records/ed_block.h"
#include "tests/records/def_test_util.h"
#include "tests/records/test_util.h"

namespace {

using def_test::ContextOver;
using rec_test::FileOf;
using rec_test::Hex;

// Every field holds its position in the field table.
cEdBlock Numbered() {
    cEdBlock b;
    b.m_nPaletteSource = 1;
    b.m_nPaletteIndex = 2;
    b.m_nCondMode = 3;
    b.m_bCondLatch = 4;
    b.m_nGraphic = 5;
    b.m_nGraphicKind = 6;
    b.m_nGraphicCell = 7;
    b.m_nLayer = 8;
    b.m_bHidden = 9;
    b.m_bOverlay = 10;
    b.m_nOverlayIcon = 11;
    b.m_nHitMode = 12;
    b.m_nExemptGroup = 13;
    b.m_nFootEffect = 14;
    b.m_nFootValue = 15;
    b.m_nItemSource = 16;
    b.m_nItemIndex = 17;
    b.m_bNoOverwrite = 18;
    b.m_strName = "ab";
    b.m_nX = 0x101;
    b.m_nY = -2;
    b.m_vecInherit[10] = 1;
    b.m_vecCond.resize(1);
    b.m_vecCond[0].m_nKind = COND_STAGE_VAR;
    return b;
}

const char* kNumberedBody = R"(
    12 00 00 00                  # 18 fields
    01  02 00  03  04  05 00  06  07 00  08  09  0a  0b 00  0c  0d  0e  0f 00 00 00  10  11 00  12
    01 00 00 00  03 00 00 00 61 62 00   # one string "ab"
    01 01  fe ff                 # x, y
    0b 00 00 00  00 00 00 00 00 00 00 00 00 00 01   # eleven flags
    01 00 00 00                  # one condition follows
)";

TEST(EdBlock, BodyLayoutAndRoundTrip) {
    std::vector<cEdBlock> common(3);
    common[2] = Numbered();  // the entry it refers to (flag 10) holds the same
    const cDefContextScope scope(ContextOver(&common));
    cEdBlock b = Numbered();
    const std::vector<uint8_t> bytes = b.SaveBytes();
    const std::vector<uint8_t> head = FileOf(1000, Hex(kNumberedBody));
    ASSERT_GE(bytes.size(), head.size());
    EXPECT_EQ(def_test::HexOf(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(head.size()))),
              def_test::HexOf(head));
    EXPECT_EQ(b.FieldCount(1000), 18);
    EXPECT_EQ(b.FieldCount(1), 18);

    cEdBlock back;
    ASSERT_TRUE(back.LoadBytes(bytes, "block")) << LastDataFileError();
    EXPECT_EQ(back.SaveBytes(), bytes);
    EXPECT_EQ(back.m_nY, -2);
    EXPECT_EQ(back.m_vecCond.at(0).m_nKind, COND_STAGE_VAR);
}

TEST(EdBlock, DefaultsAndSetDefaults) {
    cEdBlock b;
    EXPECT_EQ(b.m_nHitMode, 1);
    EXPECT_EQ(b.m_nExemptGroup, -1);
    EXPECT_EQ(b.m_vecInherit, std::vector<uint8_t>(11, 0));

    cEdBlock n = Numbered();
    n.m_vecInherit.assign(15, 1);
    n.SetDefaults();
    EXPECT_EQ(n.m_nHitMode, 1);
    EXPECT_EQ(n.m_nExemptGroup, -1);
    EXPECT_EQ(n.m_nFootValue, 0);
    EXPECT_EQ(n.m_strName, "");
    EXPECT_EQ(n.m_vecInherit, std::vector<uint8_t>(11, 0));
    // Conditions and cell stay.
    EXPECT_EQ(n.m_vecCond.size(), 1u);
    EXPECT_EQ(n.m_nX, 0x101);
}

TEST(EdBlock, EachGroupCopiesItsMembers) {
    cEdBlock src;
    def_test::ScrambleFields(src);
    src.m_vecCond.resize(2);
    def_test::CheckGroupTable<cEdBlock>(
        {
            {"m_strName"},
            {"m_vecCond", "m_nCondMode", "m_bCondLatch"},
            {"m_nGraphicKind", "m_nGraphic", "m_nGraphicCell"},
            {"m_nLayer"},
            {"m_bHidden"},
            {"m_bOverlay", "m_nOverlayIcon"},
            {"m_nHitMode"},
            {"m_nExemptGroup"},
            {"m_nFootEffect", "m_nFootValue"},
            {"m_nItemSource", "m_nItemIndex"},
            {"m_bNoOverwrite"},
        },
        src);
}

TEST(EdBlock, ReferencesThatInheritNothing) {
    std::vector<cEdBlock> common(3), stage(5);
    common[1].m_strName = stage[4].m_strName = "named";
    const cDefContext ctx = ContextOver(&common, &stage);
    struct Case {
        int8_t source;
        int16_t index;
        int8_t sourceAfterInherit;  // Inherit alone resets only the source
        int8_t sourceAfterCheck;
        int16_t indexAfterCheck;
        const char* name;  // name afterwards
    } cases[] = {
        {PAL_COMMON, 0, PAL_COMMON, PAL_COMMON, 0, ""},  // entry 0 is none
        {PAL_NONE, 1, PAL_NONE, PAL_NONE, 1, ""},
        {PAL_COMMON, 1, PAL_COMMON, PAL_COMMON, 1, "named"},
        {PAL_COMMON, 3, PAL_NONE, PAL_NONE, 0, ""},  // one past the end
        {PAL_COMMON, -1, PAL_NONE, PAL_NONE, 0, ""},  // negative counts as too large
        {PAL_STAGE, 4, PAL_STAGE, PAL_STAGE, 4, "named"},
        {PAL_STAGE, 7, PAL_NONE, PAL_NONE, 0, ""},
        {5, 1, 5, 5, 1, ""},  // other sources refer to the block itself
    };
    for (const Case& c : cases) {
        cEdBlock b;
        b.m_nPaletteSource = c.source;
        b.m_nPaletteIndex = c.index;
        b.m_vecInherit.assign(11, 1);
        b.m_nGraphic = 1;
        b.Inherit(ctx);
        EXPECT_EQ(b.m_nPaletteSource, c.sourceAfterInherit) << c.source << "/" << c.index;
        EXPECT_EQ(b.m_nPaletteIndex, c.index);
        EXPECT_EQ(b.m_strName, c.name) << c.source << "/" << c.index;
        cEdBlock checked;
        checked.m_nPaletteSource = c.source;
        checked.m_nPaletteIndex = c.index;
        checked.ValidateRefs(ctx);
        EXPECT_EQ(checked.m_nPaletteSource, c.sourceAfterCheck) << c.source << "/" << c.index;
        EXPECT_EQ(checked.m_nPaletteIndex, c.indexAfterCheck) << c.source << "/" << c.index;
    }
}

TEST(EdBlock, StageReferenceBeyondThePaletteIsSavedAsNone) {
    std::vector<cEdBlock> stage(5);
    const cDefContextScope scope(ContextOver<cEdBlock>(nullptr, &stage));
    cEdBlock b;
    b.m_nPaletteSource = PAL_STAGE;
    b.m_nPaletteIndex = 7;
    b.m_nGraphic = 3;
    cEdBlock back;
    ASSERT_TRUE(back.LoadBytes(b.SaveBytes(), "b"));
    EXPECT_EQ(back.m_nPaletteSource, PAL_NONE);
    EXPECT_EQ(back.m_nPaletteIndex, 0);
    EXPECT_EQ(b.m_nPaletteSource, PAL_NONE);  // the save repaired the block itself
}

TEST(EdBlock, WithoutGraphicNeitherHitsNorRefusesOverwrite) {
    cEdBlock b;
    b.m_nHitMode = 2;
    b.m_bNoOverwrite = 1;
    cEdBlock back;
    ASSERT_TRUE(back.LoadBytes(b.SaveBytes(), "b"));
    EXPECT_EQ(back.m_nHitMode, 0);
    EXPECT_EQ(back.m_bNoOverwrite, 0);
    b.m_nGraphic = 4;
    b.m_nHitMode = 2;
    b.m_bNoOverwrite = 1;
    ASSERT_TRUE(back.LoadBytes(b.SaveBytes(), "b"));
    EXPECT_EQ(back.m_nHitMode, 2);
    EXPECT_EQ(back.m_bNoOverwrite, 1);
}

TEST(EdBlock, ItemReferenceCheck) {
    std::vector<cEdItem> common(2), stage(4);
    cDefContext ctx;
    ctx.common.pItems = &common;
    ctx.stage.pItems = &stage;
    struct Case {
        int8_t source;
        int16_t index;
        bool kept;
    } cases[] = {{1, 1, true}, {1, 2, false}, {2, 3, true}, {2, 4, false}, {2, -3, false}, {0, 9, true}, {3, 9, true}};
    for (const Case& c : cases) {
        cEdBlock b;
        b.m_nItemSource = c.source;
        b.m_nItemIndex = c.index;
        b.ValidateItemRef(ctx);
        EXPECT_EQ(b.m_nItemSource, c.kept ? c.source : 0) << int(c.source) << "/" << c.index;
        EXPECT_EQ(b.m_nItemIndex, c.kept ? c.index : 0) << int(c.source) << "/" << c.index;
    }
}

TEST(EdBlock, ShotSheetGraphicsMovedUpInVersion219) {
    struct Case {
        uint32_t version;
        int8_t kind;
        int16_t graphic, expected;
    } cases[] = {{218, 3, 119, 119}, {218, 3, 40, 41}, {218, 3, 118, 119}, {219, 3, 40, 40}, {218, 2, 40, 40}};
    for (const Case& c : cases) {
        cEdBlock b;
        b.m_nGraphicKind = c.kind;
        b.m_nGraphic = c.graphic;
        cEdBlock back;
        ASSERT_TRUE(back.LoadBytes(b.SaveBytesAs(c.version), "b"));
        EXPECT_EQ(back.m_nGraphic, c.expected) << c.version << " " << c.graphic;
    }
}

TEST(EdBlock, FlagsBeyondTheGroupsAreKeptAndShortListsInheritLess) {
    std::vector<cEdBlock> common(2);
    common[1].m_strName = "src";
    common[1].m_nLayer = 1;
    const cDefContextScope scope(ContextOver(&common));
    cEdBlock b;
    b.m_nGraphic = 1;
    b.m_nPaletteSource = PAL_COMMON;
    b.m_nPaletteIndex = 1;
    b.m_vecInherit.assign(200, 1);  // 189 flags beyond the eleven groups
    cEdBlock back;
    const auto bytes = b.SaveBytes();
    ASSERT_TRUE(back.LoadBytes(bytes, "b"));
    EXPECT_EQ(back.m_vecInherit, std::vector<uint8_t>(200, 1));
    EXPECT_EQ(back.m_strName, "src");
    EXPECT_EQ(back.m_nGraphic, 0);  // inherited, so the block no longer hits
    EXPECT_EQ(back.m_nHitMode, 0);

    b.m_vecInherit.assign(1, 1);  // only the name group
    ASSERT_TRUE(back.LoadBytes(b.SaveBytes(), "b"));
    EXPECT_EQ(back.m_strName, "src");
    EXPECT_EQ(back.m_nLayer, 0);
}

TEST(EdBlock, FlagCountZeroKeepsTheFlagsAndBadCountsFail) {
    cEdBlock b;
    b.m_vecInherit.clear();
    const auto zero = b.SaveBytes();
    cEdBlock back;
    back.m_vecInherit.assign(11, 1);
    ASSERT_TRUE(back.LoadBytes(zero, "b"));
    EXPECT_EQ(back.m_vecInherit, std::vector<uint8_t>(11, 1));

    // A flag count beyond the bytes left fails with a message.
    std::vector<uint8_t> bad = zero;
    const size_t at = bad.size() - 8;  // flag count, then condition count
    bad[at] = 0x40;
    EXPECT_FALSE(back.LoadBytes(bad, "bad"));
    EXPECT_NE(LastDataFileError().find("bad"), std::string::npos);
}

}  // namespace
