// The common palette file: entry 0 reset, flags cleared after inheriting,
// load order (a later entry is seen at its defaults), references into the
// start-up stage palette, padding, byte-exact resaves, damaged files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>

#include "platform/cp932.h"
#include "platform/fs.h"
#include "records/cmd_kinds.h"
#include "records/common_palette.h"
#include "tests/records/def_test_util.h"
#include "tests/records/mutation.h"
#include "tests/records/test_util.h"

namespace {

// A palette file written entry by entry, with whatever the entries hold
// (the file's own palette is the context, so references survive writing).
struct PaletteFile {
    std::vector<cEdBlock> blocks;
    std::vector<cEdChara> charas;
    std::vector<cEdItem> items;

    std::vector<uint8_t> Bytes() {
        cDefContext ctx;
        ctx.common = {&blocks, &charas, &items};
        ctx.stage = ctx.common;
        ctx.bDropTestPlayFlows = false;
        const cDefContextScope scope(ctx);
        cByteWriter w;
        w.Write(uint32_t{1000});
        w.WriteInt32(0);
        w.WriteInt32(0);
        SaveRecordVector(w, 1000, blocks);
        SaveRecordVector(w, 1000, charas);
        SaveRecordVector(w, 1000, items);
        return w.Take();
    }
};

cCommonPalette Load(const std::vector<uint8_t>& bytes) {
    cCommonPalette p;
    EXPECT_TRUE(p.LoadBytes(bytes, "palette")) << LastDataFileError();
    return p;
}

TEST(CommonPalette, OneEntryPerPaletteReadsAsTwoWithEntryZeroReset) {
    PaletteFile f;
    f.blocks.resize(1);
    cEdBlock& b = f.blocks[0];
    b.m_strName = "b0";
    b.m_nGraphic = 5;
    b.m_nHitMode = 2;
    b.m_nFootValue = 9;
    b.m_nX = 4;
    b.m_nY = 6;
    b.m_vecCond.resize(2);
    b.m_vecInherit.assign(11, 1);
    f.charas.resize(1);
    f.charas[0].m_strName = "c0";
    f.charas[0].m_nMaxHP = 99;
    f.charas[0].m_nCarriedItem = 3;
    f.items.resize(1);
    cEdItem& i = f.items[0];
    i.m_nSize = 3;
    i.m_nGraphic = 2;
    i.m_vecCond.resize(1);
    i.m_vecCmd.resize(2);

    const cCommonPalette p = Load(f.Bytes());
    ASSERT_EQ(p.m_vecBlockPalette.size(), 2u);
    ASSERT_EQ(p.m_vecCharaPalette.size(), 2u);
    ASSERT_EQ(p.m_vecItemPalette.size(), 2u);

    const cEdBlock& b0 = p.m_vecBlockPalette[0];
    EXPECT_EQ(b0.m_strName, "");
    EXPECT_EQ(b0.m_nGraphic, 0);
    EXPECT_EQ(b0.m_nFootValue, 0);
    EXPECT_EQ(b0.m_nExemptGroup, -1);
    EXPECT_EQ(b0.m_nHitMode, 0);  // no graphic, so it does not hit
    EXPECT_EQ(b0.m_vecInherit, std::vector<uint8_t>(11, 0));
    EXPECT_EQ(b0.m_vecCond.size(), 2u);  // conditions and cell stay
    EXPECT_EQ(b0.m_nX, 4);
    EXPECT_EQ(b0.m_nY, 6);
    EXPECT_EQ(p.m_vecBlockPalette[1].m_nHitMode, 0);  // the padding entry alike

    const cEdChara& c0 = p.m_vecCharaPalette[0];
    EXPECT_EQ(c0.m_strName, "");
    EXPECT_EQ(c0.m_nMaxHP, 10);
    EXPECT_EQ(c0.m_nCarriedItem, 0);

    const cEdItem& i0 = p.m_vecItemPalette[0];
    EXPECT_EQ(i0.m_nSize, 1);
    EXPECT_EQ(i0.m_nGraphic, 0);
    EXPECT_EQ(i0.m_vecCond.size(), 1u);  // conditions and commands stay
    EXPECT_EQ(i0.m_vecCmd.size(), 2u);
}

TEST(CommonPalette, EntriesInheritAsReadThenLoseTheirFlags) {
    PaletteFile f;
    f.charas.resize(3);
    cEdChara& one = f.charas[1];
    one.m_strName = "one";
    one.m_nMaxHP = 50;
    one.m_nPaletteSource = PAL_COMMON;  // a later entry: seen at its defaults
    one.m_nPaletteIndex = 2;
    one.m_vecInherit[0] = 1;
    cEdChara& two = f.charas[2];
    two.m_strName = "two";
    two.m_nAttack = 7;
    two.m_nPaletteSource = PAL_COMMON;  // an earlier entry: seen as read
    two.m_nPaletteIndex = 1;
    two.m_vecInherit[23] = 1;
    two.m_vecInherit[0] = 1;
    f.blocks.resize(3);
    f.blocks[1].m_nGraphic = 8;
    f.blocks[1].m_nLayer = 1;
    f.blocks[2].m_nPaletteSource = PAL_COMMON;
    f.blocks[2].m_nPaletteIndex = 1;
    // Written without a graphic, so with hit mode 0: group 6 brings entry 1's.
    f.blocks[2].m_vecInherit[2] = f.blocks[2].m_vecInherit[3] = f.blocks[2].m_vecInherit[6] = 1;
    f.blocks[2].m_vecInherit.resize(14, 1);  // flags beyond the groups are kept, cleared too

    const cCommonPalette p = Load(f.Bytes());
    const auto& c = p.m_vecCharaPalette;
    EXPECT_EQ(c[1].m_strName, "");
    EXPECT_EQ(c[1].m_nMaxHP, 50);
    EXPECT_EQ(c[2].m_strName, "");  // entry 1's name once entry 1 had taken it
    EXPECT_EQ(c[2].m_nMaxHP, 50);
    EXPECT_EQ(c[2].m_nAttack, 7);
    for (const auto& e : c) EXPECT_EQ(e.m_vecInherit, std::vector<uint8_t>(37, 0));
    // The reference itself stays.
    EXPECT_EQ(c[2].m_nPaletteSource, PAL_COMMON);
    EXPECT_EQ(c[2].m_nPaletteIndex, 1);

    const auto& b = p.m_vecBlockPalette;
    EXPECT_EQ(b[2].m_nGraphic, 8);
    EXPECT_EQ(b[2].m_nLayer, 1);
    EXPECT_EQ(b[2].m_nHitMode, 1);
    EXPECT_EQ(b[2].m_vecInherit, std::vector<uint8_t>(14, 0));
}

TEST(CommonPalette, ReferencesIntoTheStartUpStagePaletteAreReset) {
    // Outside any scope the stage palettes are those of a stage record that
    // has read nothing: one default entry each.
    PaletteFile f;
    f.blocks.resize(2);
    f.blocks[1].m_nGraphic = 1;
    f.blocks[1].m_nItemSource = PAL_STAGE;
    f.blocks[1].m_nItemIndex = 1;
    f.charas.resize(3);
    f.charas[1].m_nPaletteSource = PAL_STAGE;
    f.charas[1].m_nPaletteIndex = 1;
    f.charas[2].m_nPaletteSource = PAL_STAGE;
    f.charas[2].m_nPaletteIndex = 0;
    f.items.resize(2);
    f.items[1].m_nPaletteSource = PAL_STAGE;
    f.items[1].m_nPaletteIndex = 3;
    const cCommonPalette p = Load(f.Bytes());
    EXPECT_EQ(p.m_vecBlockPalette[1].m_nItemSource, PAL_NONE);
    EXPECT_EQ(p.m_vecBlockPalette[1].m_nItemIndex, 0);
    EXPECT_EQ(p.m_vecCharaPalette[1].m_nPaletteSource, PAL_NONE);
    EXPECT_EQ(p.m_vecCharaPalette[2].m_nPaletteSource, PAL_STAGE);
    EXPECT_EQ(p.m_vecItemPalette[1].m_nPaletteSource, PAL_NONE);
}

TEST(CommonPalette, CommandReferencesAreCheckedAgainstThisPalette) {
    PaletteFile f;
    f.charas.resize(2);
    f.charas[1].m_vecFlow.resize(1);
    cEdFlowCmd& cmd = f.charas[1].m_vecFlow[0].m_vecCmd.emplace_back();
    cmd.m_nKind = CMD_SUMMON_CHARA;
    cEdShot& shot = cmd.m_spShot.Create();
    shot.m_nSummonSource = 0;  // common
    shot.m_nSummonEntry = 9;
    f.charas[1].m_vecFlow.push_back(f.charas[1].m_vecFlow[0]);
    f.charas[1].m_vecFlow[1].m_vecCmd[0].m_spShot->m_nSummonEntry = 1;
    const cCommonPalette p = Load(f.Bytes());
    const auto& flows = p.m_vecCharaPalette[1].m_vecFlow;
    ASSERT_EQ(flows.size(), 2u);
    EXPECT_EQ(flows[0].m_vecCmd[0].m_spShot->m_nSummonEntry, 1);
    EXPECT_EQ(flows[1].m_vecCmd[0].m_spShot->m_nSummonEntry, 1);
}

TEST(CommonPalette, FreshPaletteSavesTwoEntriesEach) {
    cCommonPalette p;
    EXPECT_EQ(p.m_vecBlockPalette.size(), 1u);
    const auto bytes = p.SaveBytes();
    EXPECT_EQ(p.m_vecBlockPalette.size(), 2u);
    cByteReader r(bytes);
    uint32_t version = 0;
    r.Read(version);
    EXPECT_EQ(version, 1000u);
    EXPECT_EQ(r.ReadInt32(), 0);  // fields
    EXPECT_EQ(r.ReadInt32(), 0);  // strings
    EXPECT_EQ(r.ReadInt32(), 2);  // blocks
    const cCommonPalette back = Load(bytes);
    EXPECT_EQ(back.m_vecBlockPalette.size(), 2u);
    EXPECT_EQ(back.m_vecCharaPalette.size(), 2u);
    EXPECT_EQ(back.m_vecItemPalette.size(), 2u);
}

// A palette with content in every part, references between entries and
// entries the repairs change.
std::vector<uint8_t> RichFile() {
    PaletteFile f;
    f.blocks.resize(3);
    f.blocks[1].m_strName = SJ("ブロック");
    f.blocks[1].m_nGraphic = 12;
    f.blocks[1].m_vecCond.resize(1);
    f.blocks[1].m_vecCond[0].m_nKind = COND_COMMON_VAR;
    f.blocks[2].m_nPaletteSource = PAL_COMMON;
    f.blocks[2].m_nPaletteIndex = 1;
    f.blocks[2].m_vecInherit.assign(11, 1);
    f.charas.resize(3);
    f.charas[1].m_nGraphic = 3;
    f.charas[1].m_nSize = 0;
    f.charas[1].m_vecFlow.resize(2);
    f.charas[1].m_vecFlow[0].m_nId = 1;
    f.charas[1].m_vecFlow[0].m_vecCmd.resize(1);
    f.charas[1].m_vecFlow[0].m_vecCmd[0].m_nKind = CMD_SUMMON_ITEM;
    f.charas[1].m_vecFlow[0].m_vecCmd[0].m_spShot.Create().m_nSummonEntry = 1;
    f.charas[2].m_nPaletteSource = PAL_COMMON;
    f.charas[2].m_nPaletteIndex = 1;
    f.charas[2].m_vecInherit[36] = 1;
    f.charas[2].m_vecInherit[9] = 1;
    f.items.resize(2);
    f.items[1].m_nGraphic = 4;
    f.items[1].m_vecCmd.resize(1);
    f.items[1].m_vecCmd[0].m_nFamily = cEdFlowCmd::FAMILY_ITEM;
    f.items[1].m_vecCmd[0].m_nKind = ICMD_PLAY_SE;
    return f.Bytes();
}

TEST(CommonPalette, ResavesAreByteExactOnceNormalised) {
    const cCommonPalette first = Load(RichFile());
    cCommonPalette a = first;
    const auto once = a.SaveBytes();
    cCommonPalette b = Load(once);
    EXPECT_EQ(def_test::HexOf(b.SaveBytes()), def_test::HexOf(once));
    // The inherited values were kept.
    EXPECT_EQ(b.m_vecCharaPalette[2].m_nGraphic, 3);
    EXPECT_EQ(b.m_vecCharaPalette[2].m_vecFlow.size(), 2u - 1u);  // the empty flow went
    EXPECT_EQ(b.m_vecBlockPalette[2].m_strName, SJ("ブロック"));
}

int RunTool(const std::string& args, std::string* out = nullptr) {
    const std::string cmd = std::string(TOVARO_BINARY_DIR) + "/tovaro-data " + args + " 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return -1;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        if (out) out->append(buf, n);
    const int st = pclose(p);
    return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

TEST(CommonPalette, DataToolResavesAndDumps) {
    rec_test::ScratchDir dir;
    const std::string in = dir.File("in.cplt4"), once = dir.File("once"), twice = dir.File("twice");
    const auto rich = RichFile();
    std::ofstream(in, std::ios::binary).write(reinterpret_cast<const char*>(rich.data()), static_cast<long>(rich.size()));
    ASSERT_EQ(RunTool("resave palette " + in + " " + once), 0);
    ASSERT_EQ(RunTool("resave palette " + once + " " + twice), 0);
    const auto a = platform::ReadWholeFile(once), b = platform::ReadWholeFile(twice);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(*a, *b);

    std::string dump;
    ASSERT_EQ(RunTool("dump palette " + in, &dump), 0);
    for (const char* needle : {"m_vecBlockPalette (3):", "m_vecCharaPalette (3):", "m_vecItemPalette (2):",
                               "inherited groups = none", "m_vecFlow (1):",
                               "taken while read = 0 m_strName; 1 m_vecCond m_nCondMode m_bCondLatch; 2 m_nGraphicKind",
                               "taken while read = 9 m_nGraphic m_nGraphicKind m_nGraphicCell; 36 m_vecFlow", "m_strName = \"ブロック\""})
        EXPECT_NE(dump.find(needle), std::string::npos) << needle << "\n" << dump.substr(0, 2000);
}

TEST(CommonPalette, DamagedFilesFailCleanly) {
    const auto valid = RichFile();
    size_t nUnstable = 0, nSilent = 0;
    const mutation::Summary s = mutation::Run(valid, [&](const std::vector<uint8_t>& bytes) {
        cCommonPalette p;
        if (!p.LoadBytes(bytes, "mutant")) {
            if (LastDataFileError().find("mutant") == std::string::npos) ++nSilent;
            return false;
        }
        const auto saved = p.SaveBytes();
        cCommonPalette again;
        if (!again.LoadBytes(saved, "resaved") || again.SaveBytes() != saved) ++nUnstable;
        return true;
    });
    EXPECT_GT(s.nRefused, 0u);
    EXPECT_EQ(s.nSlow, 0u) << s.slowest;
    EXPECT_EQ(nSilent, 0u);
    EXPECT_EQ(nUnstable, 0u);

    // A huge count is refused before anything is allocated for it.
    std::vector<uint8_t> huge = valid;
    const int32_t n = 0x7FFFFFFF;
    std::memcpy(huge.data() + 12, &n, 4);
    cCommonPalette p;
    EXPECT_FALSE(p.LoadBytes(huge, "huge"));
    EXPECT_EQ(p.m_vecBlockPalette.size(), 1u);  // the palette is unchanged
}

}  // namespace
