// Chara definitions: the body layout with its version gates, the 37
// inheritance groups, the inherit-flag shifts of old files, the upgrades,
// reference repairs and flows, and use as an element of another record.
#include <gtest/gtest.h>

#include "records/ed_chara.h"
#include "tests/records/def_test_util.h"
#include "tests/records/test_util.h"

namespace {

using def_test::ContextOver;

// Every field holds its position in the field table.
cEdChara Numbered() {
    cEdChara c;
    c.m_nPaletteSource = 1;
    c.m_nPaletteIndex = 2;
    c.m_nCondMode = 3;
    c.m_bCondLatch = 4;
    c.m_nFacing = 5;
    c.m_nCopies = 6;
    c.m_nCopyOffsetX = 7;
    c.m_nCopyStepX = 8;
    c.m_nCopyOffsetY = 9;
    c.m_nCopyStepY = 10;
    c.m_bMirrorCopyX = 11;
    c.m_bMirrorCopyY = 12;
    c.m_nGraphic = 13;
    c.m_nGraphicKind = 14;
    c.m_nGraphicCell = 15;
    c.m_nAnimeSet = 16;
    c.m_nZ = 17;
    c.m_bTransparent = 18;
    c.m_nCharaEffect = 19;
    c.m_nCharaEffectA = 20;
    c.m_nCharaEffectB = 21;
    c.m_nVanishEffect = 22;
    c.m_nVanishEffectA = 23;
    c.m_bBadge = 24;
    c.m_nBadge = 25;
    c.m_nSide = 26;
    c.m_nPlayer = 27;
    c.m_nGroup = 28;
    c.m_nCharaId = 29;
    c.m_nMoveType = 30;
    c.m_bFixedFacing = 31;
    c.m_nInvincible = 32;
    c.m_nInvincibleBlend = 33;
    c.m_bBlockChara = 34;
    c.m_nSize = 35;
    c.m_bSyncAutoScroll = 36;
    c.m_nLightShape = 37;
    c.m_nViewRange = 38;
    c.m_nMaxHP = 39;
    c.m_nMaxSP = 40;
    c.m_nFriction = 41;
    c.m_nHitRange = 42;
    c.m_nAttack = 43;
    c.m_nImpact = 44;
    c.m_nHitEffect = 45;
    c.m_nDefence = 46;
    c.m_nImpactResist = 47;
    c.m_nScore = 48;
    c.m_bExtraSwitch = 49;
    c.m_bActivationSwitch = 50;
    c.m_nActivationSwitchNo = 51;
    c.m_nActivationRange = 52;
    c.m_nActivationMode = 53;
    c.m_strName = "c";
    c.m_nX = 3;
    c.m_nY = 4;
    c.m_nCarriedItem = -1;
    c.m_vecFlow.resize(1);
    c.m_vecFlow[0].m_nId = 2;
    return c;
}

const char* kNumberedBody = R"(
    35 00 00 00                              # 53 fields
    01  02 00  03  04  05  06  07 00  08 00  09 00  0a 00  0b  0c  0d 00  0e  0f 00  10 00
    11  12  13 00  14  15  16 00  17  18  19 00  1a  1b  1c  1d  1e  1f  20  21  22  23  24
    25  26  27 00 00 00  28 00 00 00  29 00  2a  2b 00 00 00  2c  2d 00  2e 00 00 00  2f
    30 00 00 00  31  32  33 00  34  35
    01 00 00 00  02 00 00 00 63 00           # the name "c"
    03 00  04 00  ff ff ff ff                # x, y, carried item
    25 00 00 00  00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00
                 00 00 00 00 00 00 00 00 00  # 37 flags
    00 00 00 00                              # no conditions
    01 00 00 00                              # one flow follows
)";

TEST(EdChara, BodyLayoutGatesAndRoundTrip) {
    std::vector<cEdChara> common(3);
    const cDefContextScope scope(ContextOver(&common));
    cEdChara c = Numbered();
    const auto bytes = c.SaveBytes();
    const auto head = rec_test::FileOf(1000, rec_test::Hex(kNumberedBody));
    ASSERT_GE(bytes.size(), head.size());
    EXPECT_EQ(def_test::HexOf({bytes.begin(), bytes.begin() + static_cast<long>(head.size())}),
              def_test::HexOf(head));
    cEdChara back;
    ASSERT_TRUE(back.LoadBytes(bytes, "c")) << LastDataFileError();
    EXPECT_EQ(back.SaveBytes(), bytes);
    EXPECT_EQ(back.m_vecFlow.size(), 1u);

    // Six gated fields: defence 168, the two effect parameters 196, hit
    // range 201, auto-scroll switch 210, invincible blend 285.
    struct Gate {
        uint32_t version;
        int fields;
    } gates[] = {{167, 47}, {168, 48}, {195, 48}, {196, 50}, {201, 51}, {210, 52}, {284, 52}, {285, 53}};
    for (const Gate& g : gates) EXPECT_EQ(c.FieldCount(g.version), g.fields) << g.version;
}

TEST(EdChara, EachGroupCopiesItsMembers) {
    cEdChara src;
    def_test::ScrambleFields(src);
    src.m_vecCond.resize(1);
    src.m_vecFlow.resize(2);
    src.m_vecFlow[1].m_vecCmd.resize(1);
    def_test::CheckGroupTable<cEdChara>(
        {
            {"m_strName"},                                             // 0
            {"m_nSide", "m_nPlayer"},                                  // 1
            {"m_nGroup"},                                              // 2
            {"m_nCharaId"},                                            // 3
            {"m_vecCond", "m_nCondMode", "m_bCondLatch"},              // 4
            {"m_nFacing"},                                             // 5
            {"m_nCopies"},                                             // 6
            {"m_nCopyOffsetX", "m_nCopyStepX", "m_bMirrorCopyX"},      // 7
            {"m_nCopyOffsetY", "m_nCopyStepY", "m_bMirrorCopyY"},      // 8
            {"m_nGraphic", "m_nGraphicKind", "m_nGraphicCell"},        // 9
            {"m_nAnimeSet"},                                           // 10
            {"m_nZ"},                                                  // 11
            {"m_bTransparent"},                                        // 12
            {"m_nCharaEffect", "m_nCharaEffectA", "m_nCharaEffectB"},  // 13
            {"m_nVanishEffect", "m_nVanishEffectA"},                   // 14
            {"m_bBadge", "m_nBadge"},                                  // 15
            {"m_bFixedFacing"},                                        // 16
            {"m_nMoveType"},                                           // 17
            {"m_nInvincible", "m_nInvincibleBlend"},                   // 18
            {"m_bBlockChara"},                                         // 19
            {"m_nSize"},                                               // 20
            {"m_bSyncAutoScroll"},                                     // 21
            {"m_nLightShape", "m_nViewRange"},                         // 22
            {"m_nMaxHP"},                                              // 23
            {"m_nMaxSP"},                                              // 24
            {"m_nHitRange"},                                           // 25
            {"m_nAttack"},                                             // 26
            {"m_nImpact"},                                             // 27
            {"m_nHitEffect"},                                          // 28
            {"m_nDefence"},                                            // 29
            {"m_nImpactResist"},                                       // 30
            {"m_nFriction"},                                           // 31
            {"m_nActivationRange", "m_nActivationMode"},               // 32
            {"m_bActivationSwitch", "m_nActivationSwitchNo"},          // 33
            {"m_nScore"},                                              // 34
            {"m_bExtraSwitch"},                                        // 35
            {"m_vecFlow"},                                             // 36
        },
        src);
}

TEST(EdChara, FlowsAreCopiedDeep) {
    std::vector<cEdChara> common(2);
    common[1].m_vecFlow.resize(1);
    common[1].m_vecFlow[0].m_nId = 4;
    common[1].m_vecFlow[0].m_vecCmd.resize(1);
    common[1].m_vecFlow[0].m_vecCmd[0].m_spMove.Create().m_nAnime = 9;
    cEdChara c;
    c.m_nPaletteSource = PAL_COMMON;
    c.m_nPaletteIndex = 1;
    c.m_vecInherit[36] = 1;
    c.Inherit(ContextOver(&common));
    ASSERT_EQ(c.m_vecFlow.size(), 1u);
    c.m_vecFlow[0].m_vecCmd[0].m_spMove->m_nAnime = 1;
    EXPECT_EQ(common[1].m_vecFlow[0].m_vecCmd[0].m_spMove->m_nAnime, 9);
}

// Inherit flags of old files: each version that added a group inserts its
// flag set to 1 and drops the last flag.
TEST(EdChara, InheritFlagShiftsOfOldFiles) {
    struct Case {
        uint32_t version;
        std::vector<int> stored;    // flags set in the file
        std::vector<int> expected;  // flags set after reading
    } cases[] = {
        {167, {}, {21, 25, 29}},
        {167, {27}, {21, 25, 29, 30}},
        {167, {0, 20, 21, 24}, {0, 20, 21, 22, 25, 26, 29}},
        {167, {33}, {21, 25, 29, 36}},
        {167, {35}, {21, 25, 29}},  // moved to 36 by the first step, dropped by the second
        {200, {}, {21, 25}},
        {200, {24}, {21, 25, 26}},
        {209, {}, {21}},
        {209, {36}, {21}},
        {210, {36}, {36}},
        {1000, {}, {}},
    };
    for (const Case& c : cases) {
        cEdChara src;
        src.m_vecInherit.assign(c.version < 168 ? 34 : 37, 0);
        for (int i : c.stored) src.m_vecInherit[i] = 1;
        cEdChara back;
        ASSERT_TRUE(back.LoadBytes(src.SaveBytesAs(c.version), "c")) << LastDataFileError();
        std::vector<int> set;
        for (size_t i = 0; i < back.m_vecInherit.size(); ++i)
            if (back.m_vecInherit[i]) set.push_back(static_cast<int>(i));
        EXPECT_EQ(back.m_vecInherit.size(), 37u) << c.version;
        EXPECT_EQ(set, c.expected) << c.version;
    }
}

TEST(EdChara, OldFileTakesTheNewGroupsFromItsPaletteEntry) {
    std::vector<cEdChara> common(2);
    common[1].m_nDefence = 50;
    common[1].m_nMaxSP = 7;
    common[1].m_nHitRange = 2;
    common[1].m_bSyncAutoScroll = 1;
    common[1].m_nAttack = 9;
    const cDefContextScope scope(ContextOver(&common));
    cEdChara c;
    c.m_nPaletteSource = PAL_COMMON;
    c.m_nPaletteIndex = 1;
    c.m_vecInherit.assign(34, 0);
    cEdChara back;
    back.m_nDefence = 3;
    ASSERT_TRUE(back.LoadBytes(c.SaveBytesAs(167), "c"));
    EXPECT_EQ(back.m_nDefence, 50);
    EXPECT_EQ(back.m_nHitRange, 2);
    EXPECT_EQ(back.m_nMaxSP, 0);
    EXPECT_EQ(back.m_bSyncAutoScroll, 1);
    EXPECT_EQ(back.m_nAttack, 0);  // group 26 was not asked for
    EXPECT_EQ(back.m_vecInherit[29], 1);
}

TEST(EdChara, UpgradesOfOldFiles) {
    struct Case {
        const char* what;
        uint32_t version;
        void (*setup)(cEdChara& file, cEdChara& before);
        int (*get)(const cEdChara&);
        int expected;
    } cases[] = {
        {"hit range 2 below 206", 205, [](cEdChara& f, cEdChara&) { f.m_nHitRange = 2; },
         [](const cEdChara& c) { return int(c.m_nHitRange); }, 3},
        {"hit range 1 below 206", 205, [](cEdChara& f, cEdChara&) { f.m_nHitRange = 1; },
         [](const cEdChara& c) { return int(c.m_nHitRange); }, 1},
        {"hit range 2 at 206", 206, [](cEdChara& f, cEdChara&) { f.m_nHitRange = 2; },
         [](const cEdChara& c) { return int(c.m_nHitRange); }, 2},
        {"hit range absent below 201", 200, [](cEdChara&, cEdChara& b) { b.m_nHitRange = 3; },
         [](const cEdChara& c) { return int(c.m_nHitRange); }, 0},
        {"effect parameters absent below 196", 195,
         [](cEdChara&, cEdChara& b) { b.m_nCharaEffectA = b.m_nVanishEffectA = 5; },
         [](const cEdChara& c) { return c.m_nCharaEffectA + c.m_nVanishEffectA; }, 0},
        {"auto-scroll switch absent below 210", 209, [](cEdChara&, cEdChara& b) { b.m_bSyncAutoScroll = 1; },
         [](const cEdChara& c) { return int(c.m_bSyncAutoScroll); }, 0},
        {"defence absent below 168", 167, [](cEdChara&, cEdChara& b) { b.m_nDefence = 8; },
         [](const cEdChara& c) { return int(c.m_nDefence); }, 0},
        {"blend below 285", 284, [](cEdChara&, cEdChara&) {},
         [](const cEdChara& c) { return int(c.m_nInvincibleBlend); }, 1},
        {"blend at 285", 285, [](cEdChara&, cEdChara&) {},
         [](const cEdChara& c) { return int(c.m_nInvincibleBlend); }, 0},
        {"shot graphic below 219", 218,
         [](cEdChara& f, cEdChara&) {
             f.m_nGraphicKind = 3;
             f.m_nGraphic = 40;
         },
         [](const cEdChara& c) { return int(c.m_nGraphic); }, 41},
        {"shot graphic 119 below 219", 218,
         [](cEdChara& f, cEdChara&) {
             f.m_nGraphicKind = 3;
             f.m_nGraphic = 119;
         },
         [](const cEdChara& c) { return int(c.m_nGraphic); }, 119},
    };
    for (const auto& c : cases) {
        cEdChara file, back;
        c.setup(file, back);
        ASSERT_TRUE(back.LoadBytes(file.SaveBytesAs(c.version), "c")) << c.what;
        EXPECT_EQ(c.get(back), c.expected) << c.what;
    }
}

TEST(EdChara, ReferenceAndDatabaseRepairs) {
    cFlowRefCounts db;
    db.Set(FlowRefTable::CharaBitmap, 3);
    db.Set(FlowRefTable::AnimeSet, 4);
    db.Set(FlowRefTable::CharaEffect, 5);
    db.Set(FlowRefTable::Effect, 6);
    std::vector<cEdChara> common(2), stage(3);
    cDefContext ctx = ContextOver(&common, &stage);
    ctx.pDatabase = &db;

    struct Case {
        const char* what;
        void (*setup)(cEdChara&);
        bool (*ok)(const cEdChara&);
    } cases[] = {
        {"size 0", [](cEdChara& c) { c.m_nSize = 0; }, [](const cEdChara& c) { return c.m_nSize == 1; }},
        {"size -4", [](cEdChara& c) { c.m_nSize = -4; }, [](const cEdChara& c) { return c.m_nSize == 1; }},
        {"own bitmap beyond the table", [](cEdChara& c) { c.m_nGraphicKind = 4, c.m_nGraphic = 3; },
         [](const cEdChara& c) { return c.m_nGraphic == 1; }},
        {"own bitmap inside", [](cEdChara& c) { c.m_nGraphicKind = 4, c.m_nGraphic = 2; },
         [](const cEdChara& c) { return c.m_nGraphic == 2; }},
        {"chara sheet number unchecked", [](cEdChara& c) { c.m_nGraphicKind = 1, c.m_nGraphic = 300; },
         [](const cEdChara& c) { return c.m_nGraphic == 300; }},
        {"animation set", [](cEdChara& c) { c.m_nAnimeSet = 4; }, [](const cEdChara& c) { return c.m_nAnimeSet == 0; }},
        {"negative animation set", [](cEdChara& c) { c.m_nAnimeSet = -1; },
         [](const cEdChara& c) { return c.m_nAnimeSet == 0; }},
        {"chara effect", [](cEdChara& c) { c.m_nCharaEffect = 5, c.m_nVanishEffect = 4; },
         [](const cEdChara& c) { return c.m_nCharaEffect == 0 && c.m_nVanishEffect == 4; }},
        {"vanish effect", [](cEdChara& c) { c.m_nVanishEffect = 9; },
         [](const cEdChara& c) { return c.m_nVanishEffect == 0; }},
        {"hit effect", [](cEdChara& c) { c.m_nHitEffect = 6; }, [](const cEdChara& c) { return c.m_nHitEffect == 0; }},
        {"player side", [](cEdChara& c) { c.m_nSide = 0, c.m_nCopies = 3, c.m_bBlockChara = 1; },
         [](const cEdChara& c) { return c.m_nCopies == 0 && c.m_bBlockChara == 0; }},
        {"computer side", [](cEdChara& c) { c.m_nSide = 1, c.m_nCopies = 3, c.m_bBlockChara = 1; },
         [](const cEdChara& c) { return c.m_nCopies == 3 && c.m_bBlockChara == 1; }},
        {"stage reference beyond", [](cEdChara& c) { c.m_nPaletteSource = PAL_STAGE, c.m_nPaletteIndex = 3; },
         [](const cEdChara& c) { return c.m_nPaletteSource == PAL_NONE && c.m_nPaletteIndex == 0; }},
        {"stage reference inside", [](cEdChara& c) { c.m_nPaletteSource = PAL_STAGE, c.m_nPaletteIndex = 2; },
         [](const cEdChara& c) { return c.m_nPaletteSource == PAL_STAGE && c.m_nPaletteIndex == 2; }},
    };
    for (const auto& c : cases) {
        // On load and on save alike.
        cEdChara file;
        c.setup(file);
        // The file as written without the checks' tables: the load repairs.
        std::vector<uint8_t> raw;
        {
            cEdChara unchecked = file;
            const cDefContextScope scope(cDefContext{});
            unchecked.m_nPaletteSource = PAL_NONE;
            raw = unchecked.SaveBytes();
        }
        const cDefContextScope scope(ctx);
        cEdChara back;
        ASSERT_TRUE(back.LoadBytes(raw, "c"));
        if (file.m_nPaletteSource == PAL_NONE) {
            EXPECT_TRUE(c.ok(back)) << c.what;
        }
        file.SaveBytes();
        EXPECT_TRUE(c.ok(file)) << c.what << " (save)";
    }
}

TEST(EdChara, WithoutDatabaseOnlyPaletteAndShapeChecksRun) {
    cEdChara c;
    c.m_nGraphicKind = 4;
    c.m_nGraphic = 500;
    c.m_nAnimeSet = 400;
    c.m_nSize = 0;
    c.ValidateRefs(cDefContext{});
    EXPECT_EQ(c.m_nGraphic, 500);
    EXPECT_EQ(c.m_nAnimeSet, 400);
    EXPECT_EQ(c.m_nSize, 1);
}

TEST(EdChara, EmptyFlowsAreRemovedAndTestPlayFlowsDropped) {
    cEdChara c;
    c.m_vecFlow.resize(7);
    c.m_vecFlow[1].m_nId = 1;                   // kept: only an ID
    c.m_vecFlow[3].m_nTrigger = 2;              // kept
    c.m_vecFlow[4].m_vecKeyCond.resize(1);      // kept
    c.m_vecFlow[5].m_nFlowGroup = 3;            // kept
    c.m_vecFlow[6].m_nId = 9;
    c.m_vecFlow[6].m_bTestPlayOnly = 1;         // dropped unless kept by the context
    cDefContext ctx;
    ctx.bDropTestPlayFlows = false;
    auto bytes = [&] {
        cEdChara copy = c;
        const cDefContextScope scope(ctx);
        return copy.SaveBytes();
    }();
    for (bool drop : {false, true}) {
        ctx.bDropTestPlayFlows = drop;
        const cDefContextScope scope(ctx);
        cEdChara back;
        ASSERT_TRUE(back.LoadBytes(bytes, "c"));
        std::vector<int> ids;
        for (const cEdFlow& f : back.m_vecFlow) ids.push_back(f.m_nId * 100 + f.m_nTrigger * 10 + f.m_nFlowGroup);
        const std::vector<int> keep = {100, 20, 0, 3, 900};
        const std::vector<int> dropped = {100, 20, 0, 3};
        EXPECT_EQ(ids, drop ? dropped : keep) << drop;
    }
}

TEST(EdChara, CopyOffsets) {
    struct Case {
        int16_t offset, step;
        int8_t mirror, facing;
        std::vector<int> xs;
    } cases[] = {
        {0, 16, 0, 0, {0, 16, 32}},
        {0, 16, 1, 1, {0, -16, -32}},
        {0, 16, 1, 0, {0, 16, 32}},
        {0, 16, 0, 1, {0, 16, 32}},
        {5, -3, 1, 1, {-5, -2, 1}},
    };
    for (const Case& c : cases) {
        cEdChara ch;
        ch.m_nCopyOffsetX = ch.m_nCopyOffsetY = c.offset;
        ch.m_nCopyStepX = ch.m_nCopyStepY = c.step;
        ch.m_bMirrorCopyX = ch.m_bMirrorCopyY = c.mirror;
        std::vector<int> xs, ys;
        for (int n = 0; n < 3; ++n) {
            xs.push_back(ch.CalcScaledX(n, c.facing));
            ys.push_back(ch.CalcScaledY(n, c.facing));
        }
        EXPECT_EQ(xs, c.xs);
        EXPECT_EQ(ys, c.xs);
    }
}

TEST(EdChara, InitKeepsCellConditionsAndFlows) {
    cEdChara c = Numbered();
    c.m_vecCond.resize(2);
    c.m_vecInherit.assign(40, 1);
    c.Init();
    const cEdChara fresh;
    EXPECT_EQ(c.m_nCarriedItem, 0);
    EXPECT_EQ(c.m_vecInherit, fresh.m_vecInherit);
    EXPECT_EQ(c.m_nZ, 3);
    EXPECT_EQ(c.m_nMaxHP, 10);
    EXPECT_EQ(c.m_nFriction, 10);
    EXPECT_EQ(c.m_nCharaEffectB, 1);
    EXPECT_EQ(c.m_bExtraSwitch, 1);
    EXPECT_EQ(c.m_nDefence, 0);
    EXPECT_EQ(c.m_vecCond.size(), 2u);
    EXPECT_EQ(c.m_vecFlow.size(), 1u);
    EXPECT_EQ(c.m_nX, 3);
    // A fresh definition and an Init one save alike once the parts agree.
    c.m_vecCond.clear();
    c.m_vecFlow.clear();
    c.m_nX = c.m_nY = 0;
    cEdChara f2;
    EXPECT_EQ(c.SaveBytes(), f2.SaveBytes());
}

// A record that keeps charas as a vector part, as saved game progress does.
class cCharaHolder : public cRecord<cCharaHolder> {
public:
    int32_t m_nValue = 0;
    std::vector<cEdChara> m_vecChara;
    template <class F>
    void Fields(F& f) {
        f.Field("m_nValue", m_nValue);
        f.Vector("m_vecChara", m_vecChara);
    }
};

TEST(EdChara, LoadsAndSavesAsAVectorElement) {
    cCharaHolder h;
    h.m_nValue = 5;
    h.m_vecChara.resize(2);
    h.m_vecChara[0].m_nMaxHP = 77;
    h.m_vecChara[1] = Numbered();
    h.m_vecChara[1].m_nPaletteSource = PAL_NONE;
    const auto bytes = h.SaveBytes();
    cCharaHolder back;
    ASSERT_TRUE(back.LoadBytes(bytes, "h")) << LastDataFileError();
    ASSERT_EQ(back.m_vecChara.size(), 2u);
    EXPECT_EQ(back.m_vecChara[0].m_nMaxHP, 77);
    EXPECT_EQ(back.m_vecChara[1].m_vecFlow.size(), 1u);
    EXPECT_EQ(back.m_vecChara[1].m_nCarriedItem, -1);
    EXPECT_EQ(back.SaveBytes(), bytes);
    EXPECT_NE(back.DumpText().find("m_nMaxHP = 77"), std::string::npos);
}

}  // namespace
