// Stage record and stage files: layout by version, upgrades, what old files
// take over, the end code, normalisation, the speed table, the hero and the
// replay header.
#include <gtest/gtest.h>

#include <climits>
#include <fstream>

#include "base/quit.h"
#include "platform/cp932.h"
#include "platform/message_box.h"
#include "records/ed_flow_refs.h"
#include "records/stage.h"
#include "tests/records/def_test_util.h"
#include "tests/records/mutation.h"
#include "tests/records/test_util.h"

namespace {

// A stage file written part by part in the order of the file, so that a
// test may put in what the writer would not (one-entry palettes, an old
// version, no end code).
struct StageFile {
    uint32_t version = kDataVersion;
    cStage header;  // settings, ranking switches, removal settings, backgrounds, names
    std::vector<cEdBlock> blocks{1};
    std::vector<cEdChara> charas{1};
    std::vector<cEdItem> items{1};
    std::vector<cEdBlock> placedBlocks;
    std::vector<cEdChara> placedCharas;
    std::vector<cEdItem> placedItems;
    bool bEndCode = true;
    int32_t nNoSwitchCount = 0;  // the count written for no ranking switches

    std::vector<uint8_t> Bytes() {
        // Definitions check their references as they are written.
        cDefContext ctx = CurrentDefContext();
        ctx.stage = {&blocks, &charas, &items};
        const cDefContextScope scope(ctx);
        cByteWriter w;
        w.Write(version);
        header.SaveBase(w, version);
        const auto nSwitches = static_cast<int32_t>(header.m_vecRankingSwitch.size());
        w.WriteInt32(nSwitches ? nSwitches : nNoSwitchCount);
        for (int32_t v : header.m_vecRankingSwitch) w.WriteInt32(v);
        for (cStageIntSet* s : {&header.m_RemoveChara, &header.m_RemoveBlockChara, &header.m_RemoveItem,
                                &header.m_RemoveHeroShot, &header.m_RemoveEnemyShot})
            s->SaveAs(w, version);
        SaveRecordVector(w, version, blocks);
        SaveRecordVector(w, version, charas);
        SaveRecordVector(w, version, items);
        Placements(w, placedBlocks);
        Placements(w, placedCharas);
        Placements(w, placedItems);
        SaveRecordVector(w, version, header.m_vecBackground);
        SaveRecordVector(w, version, header.m_vecNameEntry);
        if (bEndCode) w.WriteInt32(kStageEndCode);
        return w.Take();
    }

    template <class Def>
    void Placements(cByteWriter& w, std::vector<Def>& v) {
        w.WriteInt32(static_cast<int32_t>(v.size()));
        for (Def& d : v) {
            w.WriteInt32(-77);  // ignored by the reader
            d.SaveAs(w, version);
        }
    }
};

cEdChara Hero() {
    cEdChara c;
    c.m_nGraphic = 3;
    c.m_nSide = 0;
    return c;
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

TEST(Stage, SpeedTable) {
    struct Case {
        int32_t level;
        int32_t subSteps;
        double cap, capStep;
    };
    const Case cases[] = {
        {10, 10, 60.0, 6.0}, {15, 5, 60.0, 12.0}, {20, 20, 120.0, 6.0}, {1, 1, 6.0, 6.0},
        {11, 1, 60.0, 60.0}, {19, 9, 60.0, 60.0 / 9}, {0, 1, 6.0, 6.0},  {-4, 1, 6.0, 6.0},
    };
    for (const Case& c : cases) {
        cStage s;
        s.m_dGravity = 0.5;
        s.ApplySpeedLevel(c.level);
        const int b = c.subSteps;
        EXPECT_EQ(s.m_nSpeedLevel, c.level);
        EXPECT_EQ(s.m_nSubSteps, b) << c.level;
        EXPECT_EQ(s.m_dSubSteps, b) << c.level;
        EXPECT_EQ(s.m_dSubSteps2, b * b) << c.level;
        EXPECT_EQ(s.m_nTenthSteps, 6 * b) << c.level;
        EXPECT_EQ(s.m_nAirTimeLimit, 8 * b) << c.level;
        EXPECT_EQ(s.m_dSpeedCap, c.cap) << c.level;
        EXPECT_DOUBLE_EQ(s.m_dSpeedCapStep, c.capStep) << c.level;
        EXPECT_DOUBLE_EQ(s.m_dGravityStep, 0.5 / (b * b)) << c.level;
    }
    // A level no editor writes: no overflow, the counts saturate.
    cStage s;
    s.ApplySpeedLevel(INT32_MAX);
    EXPECT_EQ(s.m_nSubSteps, INT32_MAX);
    EXPECT_EQ(s.m_nTenthSteps, INT32_MAX);
    EXPECT_EQ(s.m_nAirTimeLimit, INT32_MAX);
}

TEST(Stage, SavedFileRoundTripsAndEndsWithTheEndCode) {
    cStage s;
    s.m_strName = SJ("ステージ");
    s.m_nWidth = 40;
    s.m_nHeight = 30;
    s.m_nSpeedLevel = 15;
    s.m_anBoxSetting[48] = 9;
    s.m_vecPlacedChara.push_back(Hero());
    s.m_vecPlacedBlock.resize(2);
    s.m_vecPlacedBlock[1].m_nGraphic = 4;
    s.m_vecPlacedBlock[1].m_nX = 12;
    s.m_vecBackground.resize(2);
    s.m_vecBackground[1].m_strFile = "bg.bmp";
    s.m_vecNameEntry.resize(3);
    s.m_vecNameEntry[2].m_strName = "ab";
    const auto bytes = s.SaveBytes();
    ASSERT_GE(bytes.size(), 8u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.end() - 4, bytes.end()), (std::vector<uint8_t>{0x15, 0xCD, 0x5B, 0x07}));
    EXPECT_TRUE(StageFileTailOk(bytes));

    cStage back;
    ASSERT_TRUE(back.LoadStageBytes(bytes, "s")) << LastDataFileError();
    EXPECT_EQ(back.SaveBytes(), bytes);
    EXPECT_EQ(back.m_nSubSteps, 5);
    EXPECT_EQ(back.m_vecPlacedBlock[1].m_nX, 12);
    EXPECT_EQ(back.m_vecNameEntry[2].m_strName, "ab");

    auto cut = bytes;
    cut.pop_back();
    EXPECT_FALSE(StageFileTailOk(cut));
}

TEST(Stage, CheckStageFileTailReportsADamagedFile) {
    rec_test::ScratchDir dir;
    cStage s;
    auto bytes = s.SaveBytes();
    const std::string good = dir.File("good.stg4"), bad = dir.File("bad.stg4");
    WriteFile(good, bytes);
    bytes.pop_back();
    WriteFile(bad, bytes);

    platform::CapturedMessageBoxes boxes;
    g_bQuit = 0;
    EXPECT_EQ(CheckStageFileTail(good), 1);
    EXPECT_EQ(CheckStageFileTail(dir.File("missing")), 1);  // the read reports it
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(g_bQuit.load(), 0);

    EXPECT_EQ(CheckStageFileTail(bad), 0);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_NE(boxes.Boxes()[0].text.find(bad), std::string::npos);
    EXPECT_NE(boxes.Boxes()[0].text.find(SJ("破損")), std::string::npos);
    EXPECT_EQ(g_bQuit.load(), 1);
    g_bQuit = 0;
}

// The end code is absent before 173, read but not checked in 173, and
// required from 174 on.
TEST(Stage, EndCodeByVersion) {
    struct Case {
        uint32_t version;
        bool bEndCode;
        int32_t code;
        bool loads, tailOk;
    };
    const Case cases[] = {
        {172, false, 0, true, true},
        {173, true, 0, true, true},  // any four bytes
        {173, false, 0, true, true},
        {174, true, kStageEndCode, true, true},
        {174, true, 0, true, false},
        {174, false, 0, false, false},
    };
    for (const Case& c : cases) {
        StageFile f;
        f.version = c.version;
        f.bEndCode = c.bEndCode;
        auto bytes = f.Bytes();
        if (c.bEndCode) std::memcpy(bytes.data() + bytes.size() - 4, &c.code, 4);
        cStage s;
        EXPECT_EQ(s.LoadStageBytes(bytes, "v"), c.loads) << c.version << " " << LastDataFileError();
        EXPECT_EQ(StageFileTailOk(bytes), c.tailOk) << c.version;
    }
    // The writer leaves it out only for versions that do not have it.
    cStage s;
    EXPECT_EQ(s.SaveBytesAs(172).size() + 4, s.SaveBytesAs(173).size());
}

// A version-150 file typed field by field.
std::vector<uint8_t> HandBuiltVersion150() {
    cByteWriter w;
    w.Write(uint32_t{150});
    w.WriteInt32(71);  // fields registered for 150
    // Rows 2..21: width, two kept values, height, scroll switches and
    // limits, frame rate, time limit, warning, automatic scrolling.
    for (int32_t v : {40, 7, 8, 20, 0, 0, 0, 0, 0, 0, 0, 0, 60, 0, 200, 20, 0, 0, 0, 0}) w.WriteInt32(v);
    w.Write(0.5);                                     // gravity
    for (int32_t v : {10, 0, 2}) w.WriteInt32(v);    // speed level, hit checks, music
    for (int32_t v : {1, 0, 0}) w.WriteInt32(v);     // eight layers, carry in, carry out
    for (int32_t v : {1, 1, 1}) w.WriteInt32(v);     // stage, clear and game-over banners
    for (int i : {4, 5, 8, 9, 10, 11, 17, 18, 19, 21, 22, 23, 28, 29, 32, 33, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48})
        w.WriteInt32(100 + i);                        // box settings without a gate
    for (int32_t v : {1280, 960, 3}) w.WriteInt32(v);  // pixel size, sub-steps
    for (double v : {3.0, 9.0, 18.0, 0.1, 6.0}) w.Write(v);
    for (int32_t v : {24, 1, 30, 0, 30, 0}) w.WriteInt32(v);
    w.WriteInt32(1);
    w.WriteString("old");
    for (int32_t v : {3, 1, 1, 1}) w.WriteInt32(v);  // three ranking switches
    for (int n = 0; n < 5; ++n) {                      // removal settings
        w.WriteInt32(8);
        for (int32_t v : {1, 1, 1, 1, 2, 2, 2, 2}) w.WriteInt32(v);
        w.WriteInt32(0);
    }
    for (int n = 0; n < 6; ++n) w.WriteInt32(0);  // no palettes, no placements
    w.WriteInt32(1);                              // one background
    w.WriteInt32(10);
    for (int32_t v : {1, 0, 16, 0}) w.WriteInt32(v);
    w.Write(0.5);
    w.Write(0.25);
    for (int32_t v : {1, 0}) w.WriteInt32(v);  // automatic in x only
    w.Write(0.0);
    w.Write(0.0);
    w.WriteInt32(1);
    w.WriteString("bg.bmp");
    w.WriteInt32(0);  // no name entries, no end code
    return w.Take();
}

TEST(Stage, Version150GetsEveryUpgrade) {
    cStage s;
    // Values the upgrades must set whatever the record held.
    s.m_bBgmRepeat = 0;
    s.m_bKeepBgm = 1;
    s.m_bAutoAdvance = 1;
    s.m_bSceneFlag = 0;
    s.m_bStartBanner = 1;
    s.m_bReplaySave = 0;
    s.m_anBoxSetting.fill(-1);
    ASSERT_TRUE(s.LoadStageBytes(HandBuiltVersion150(), "v150")) << LastDataFileError();

    EXPECT_EQ(s.m_strName, "old");
    EXPECT_EQ(s.m_nWidth, 40);
    EXPECT_EQ(s.m_nUnused1, 7);
    EXPECT_EQ(s.m_nBgm, 2);  // no database: not checked
    EXPECT_EQ(s.m_dGravity, 0.5);
    const auto& box = s.m_anBoxSetting;
    EXPECT_EQ(box[6], 104);
    EXPECT_EQ(box[7], 105);
    EXPECT_EQ(box[30], 128);
    EXPECT_EQ(box[31], 129);
    for (int i : {14, 15, 36, 37}) EXPECT_EQ(box[i], 0) << i;
    const std::pair<int, int> v200[] = {{0, 16},  {1, 24},  {2, 16},  {3, 16},  {12, 1}, {13, 0}, {16, 0},
                                        {20, 5},  {24, 16}, {25, 30}, {26, 16}, {27, 30}, {34, 1}, {35, 1}};
    for (auto [i, v] : v200) EXPECT_EQ(box[i], v) << i;
    EXPECT_EQ(box[48], 148);
    EXPECT_EQ(s.m_bBgmRepeat, 1);
    EXPECT_EQ(s.m_vecRankingSwitch, (std::vector<int32_t>{1, 1, 1, 0, 0}));
    EXPECT_EQ(s.m_bSceneFlag, 1);
    EXPECT_EQ(s.m_bAutoAdvance, 0);
    EXPECT_EQ(s.m_bKeepBgm, 0);
    EXPECT_EQ(s.m_bStartBanner, 0);
    EXPECT_EQ(s.m_bReplaySave, 1);
    ASSERT_EQ(s.m_vecNameEntry.size(), 1000u);
    EXPECT_TRUE(s.m_vecNameEntry[999].m_strName.empty());
    ASSERT_EQ(s.m_vecBackground.size(), 1u);
    const cEdBackground& bg = s.m_vecBackground[0];
    EXPECT_EQ(bg.m_dAutoSpeedX, 0.5);
    EXPECT_EQ(bg.m_dParallaxX, 1.0);
    EXPECT_EQ(bg.m_dAutoSpeedY, 0.0);
    EXPECT_EQ(bg.m_dParallaxY, 0.25);
    EXPECT_EQ(bg.m_strFile, "bg.bmp");
    // Derived values come from the level, not from the file.
    EXPECT_EQ(s.m_nSubSteps, 10);
    EXPECT_DOUBLE_EQ(s.m_dGravityStep, 0.005);
    EXPECT_EQ(s.m_vecBlockPalette.size(), 2u);
}

// Backgrounds of versions 60 and 61 have their own layouts.
TEST(Stage, OldBackgroundLayouts) {
    struct Case {
        uint32_t version;
        int32_t nFields;
    };
    for (const Case& c : {Case{60, 5}, Case{61, 9}, Case{62, 10}}) {
        cByteWriter w;
        w.Write(c.version);
        w.WriteInt32(c.nFields);
        if (c.version >= 62) w.WriteInt32(0);  // shown
        for (int32_t v : {1, 33, 1}) w.WriteInt32(v);
        if (c.version == 60) {
            w.WriteInt32(5);
            w.WriteInt32(6);
        } else {
            w.Write(0.5);
            w.Write(0.75);
            w.WriteInt32(1);
            w.WriteInt32(1);
            if (c.version == 61) {
                w.WriteInt32(8);
                w.WriteInt32(9);
            } else {
                w.Write(2.5);
                w.Write(3.5);
            }
        }
        w.WriteInt32(1);
        w.WriteString("b.bmp");
        auto bytes = w.Take();
        cEdBackground bg;
        ASSERT_TRUE(bg.LoadBytes(bytes, "bg")) << c.version << " " << LastDataFileError();
        EXPECT_EQ(bg.m_bShow, c.version >= 62 ? 0 : 1) << c.version;
        EXPECT_EQ(bg.m_bFill, 1);
        EXPECT_EQ(bg.m_nFillColor, 33);
        EXPECT_EQ(bg.m_nLayer, 1);
        EXPECT_EQ(bg.m_dParallaxX, c.version == 60 ? 0.1 : 0.5) << c.version;
        EXPECT_EQ(bg.m_bAutoY, c.version == 60 ? 0 : 1) << c.version;
        EXPECT_EQ(bg.m_dOffsetY, c.version >= 62 ? 3.5 : 0.0) << c.version;
        EXPECT_EQ(bg.m_strFile, "b.bmp");
        EXPECT_EQ(bg.FieldCount(c.version), c.nFields);
    }
}

// What a file does not hold stays as the stage read before left it.
TEST(Stage, OldFilesKeepThePreviousStagesValues) {
    cStage prev;
    prev.m_RemoveHeroShot = cStageIntSet(1, 0, 1, 0, 5, 5, 5, 5);
    prev.m_vecRankingSwitch = {1, 0, 1, 0, 1};

    StageFile v124;
    v124.version = 124;
    v124.header.m_RemoveHeroShot = cStageIntSet(0, 1, 0, 1, 3, 4, 5, 6);
    cStage s = prev;
    ASSERT_TRUE(s.LoadStageBytes(v124.Bytes(), "v124")) << LastDataFileError();
    const cStageIntSet& r = s.m_RemoveHeroShot;
    EXPECT_EQ((std::vector<int32_t>{r.m_bLeft, r.m_bRight, r.m_bTop, r.m_bBottom, r.m_nLeft, r.m_nRight, r.m_nTop,
                                    r.m_nBottom}),
              (std::vector<int32_t>{0, 0, 1, 0, 3, 4, 5, 6}));

    StageFile noSwitches;
    noSwitches.header.m_vecRankingSwitch.clear();  // count 0
    s = prev;
    ASSERT_TRUE(s.LoadStageBytes(noSwitches.Bytes(), "none")) << LastDataFileError();
    EXPECT_EQ(s.m_vecRankingSwitch, prev.m_vecRankingSwitch);
    // A negative count is read the same way.
    noSwitches.nNoSwitchCount = -5;
    s = prev;
    ASSERT_TRUE(s.LoadStageBytes(noSwitches.Bytes(), "negative")) << LastDataFileError();
    EXPECT_EQ(s.m_vecRankingSwitch, prev.m_vecRankingSwitch);
}

TEST(Stage, FailedLoadLeavesTheStageAsItWas) {
    cStage s;
    s.m_strName = "before";
    s.m_vecPlacedChara.push_back(Hero());
    s.m_RemoveItem.m_bLeft = 1;
    const std::string before = s.DumpText();
    StageFile f;
    f.header.m_strName = "after";
    f.placedCharas.resize(3);
    auto bytes = f.Bytes();
    bytes.resize(bytes.size() - 40);
    EXPECT_FALSE(s.LoadStageBytes(bytes, "cut.stg4"));
    EXPECT_NE(LastDataFileError().find("cut.stg4"), std::string::npos);
    EXPECT_EQ(s.DumpText(), before);
}

TEST(Stage, PalettesLoadAgainstTheStageBeingRead) {
    // The stage read before has other palettes.
    cStage s;
    s.m_vecBlockPalette.resize(6);
    s.m_vecBlockPalette[1].m_nGraphic = 5;

    StageFile f;
    f.blocks.resize(2);
    f.blocks[1].m_nGraphic = 9;
    f.blocks[1].m_nHitMode = cEdBlock::HIT_DEADLY;
    f.placedBlocks.resize(2);
    for (cEdBlock& b : f.placedBlocks) {
        b.m_nPaletteSource = PAL_STAGE;
        b.m_vecInherit[2] = 1;  // graphic
    }
    f.placedBlocks[0].m_nPaletteIndex = 1;
    f.placedBlocks[1].m_nPaletteIndex = 4;  // inside the old palette only
    ASSERT_TRUE(s.LoadStageBytes(f.Bytes(), "pal")) << LastDataFileError();
    EXPECT_EQ(s.m_vecPlacedBlock[0].m_nGraphic, 9);
    EXPECT_EQ(s.m_vecPlacedBlock[0].m_nPaletteSource, PAL_STAGE);
    EXPECT_EQ(s.m_vecPlacedBlock[1].m_nPaletteSource, PAL_NONE);
    EXPECT_EQ(s.m_vecPlacedBlock[1].m_nPaletteIndex, 0);
}

TEST(Stage, OneEntryPalettesComeBackWithTwoAndEntryZeroAtItsDefaults) {
    StageFile f;
    def_test::ScrambleFields(f.blocks[0]);
    def_test::ScrambleFields(f.charas[0]);
    def_test::ScrambleFields(f.items[0]);
    f.blocks[0].m_nX = 3;
    f.blocks[0].m_vecInherit.assign(cEdBlock::kGroups, 1);
    f.charas[0].m_vecInherit.assign(cEdChara::kGroups, 1);
    cStage s;
    ASSERT_TRUE(s.LoadStageBytes(f.Bytes(), "one")) << LastDataFileError();
    ASSERT_EQ(s.m_vecBlockPalette.size(), 2u);
    ASSERT_EQ(s.m_vecCharaPalette.size(), 2u);
    ASSERT_EQ(s.m_vecItemPalette.size(), 2u);

    cEdBlock block;
    block.SetDefaults();
    block.m_nHitMode = cEdBlock::HIT_NONE;  // no graphic: it does not hit
    block.m_nX = 3;                         // the cell stays
    EXPECT_EQ(s.m_vecBlockPalette[0].SaveBytes(), block.SaveBytes());
    cEdChara chara;
    chara.Init();
    EXPECT_EQ(s.m_vecCharaPalette[0].DumpText(), chara.DumpText());
    cEdItem item;
    item.Init();
    EXPECT_EQ(s.m_vecItemPalette[0].DumpText(), item.DumpText());

    cStage back;
    ASSERT_TRUE(back.LoadStageBytes(s.SaveBytes(), "two"));
    EXPECT_EQ(back.m_vecCharaPalette.size(), 2u);
}

TEST(Stage, PrepareSaveLimitsScrollAndMusic) {
    cFlowRefCounts db;
    db.Set(FlowRefTable::Bgm, 3);
    SetFlowRefSource(&db);
    struct Case {
        int32_t bgm, expected;
    };
    for (const Case& c : {Case{2, 2}, Case{3, 0}, Case{-1, 0}, Case{INT32_MIN, 0}, Case{0, 0}}) {
        cStage s;
        s.m_nBgm = c.bgm;
        s.PrepareSave();
        EXPECT_EQ(s.m_nBgm, c.expected) << c.bgm;
    }
    SetFlowRefSource(nullptr);

    cStage s;
    s.m_nWidth = 30;
    s.m_nHeight = 20;
    s.m_nScrollMinX = s.m_nScrollMaxX = s.m_nScrollMinY = s.m_nScrollMaxY = 100;
    s.PrepareSave();
    EXPECT_EQ(s.m_nScrollMinX, 10);
    EXPECT_EQ(s.m_nScrollMaxX, 29);
    EXPECT_EQ(s.m_nScrollMinY, 5);
    EXPECT_EQ(s.m_nScrollMaxY, 19);
    s.m_nWidth = INT32_MIN;  // no overflow
    s.PrepareSave();
    EXPECT_EQ(s.m_nScrollMinX, INT32_MIN);
}

TEST(Stage, FindHeroIndex) {
    auto chara = [](int16_t graphic, int8_t side) {
        cEdChara c;
        c.m_nGraphic = graphic;
        c.m_nSide = side;
        return c;
    };
    struct Case {
        std::vector<cEdChara> placed;
        int expected;
    };
    const Case cases[] = {
        {{}, -1},
        {{chara(0, 0), chara(3, 1)}, -1},
        {{chara(0, 0), chara(3, 1), chara(3, 0), chara(4, 0)}, 2},
        {{chara(-1, 0)}, 0},
    };
    for (const Case& c : cases) {
        cStage s;
        s.m_vecPlacedChara = c.placed;
        EXPECT_EQ(s.FindHeroIndex(), c.expected);
        EXPECT_EQ(s.HasHero(), c.expected != -1);
    }
}

TEST(Stage, SaveWithStartHeaderTakesTheStartsSettings) {
    cStage play;
    play.m_strName = "play";
    play.m_nTimeLimit = 5;
    play.m_vecRankingSwitch = {0, 0, 0, 0, 0};
    play.m_vecCharaPalette.resize(3);
    play.m_vecCharaPalette[2].m_nGraphic = 8;
    play.m_vecPlacedChara.push_back(Hero());
    play.m_vecBackground.clear();
    cStage start;
    start.m_strName = "start";
    start.m_nTimeLimit = 300;
    start.m_RemoveItem.m_bTop = 1;
    start.m_vecBackground.resize(3);
    start.m_vecNameEntry.resize(2);
    start.m_vecNameEntry[1].m_strName = "n";
    start.PrepareSave();

    cByteWriter w;
    play.SaveWithStartHeader(w, start);
    const auto body = w.Take();

    // The same as a stage with the start's settings and the play's
    // palettes and placements.
    cStage expected = start;
    expected.m_vecBlockPalette = play.m_vecBlockPalette;
    expected.m_vecCharaPalette = play.m_vecCharaPalette;
    expected.m_vecItemPalette = play.m_vecItemPalette;
    expected.m_vecPlacedChara = play.m_vecPlacedChara;
    const auto file = expected.SaveBytes();
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 4, file.end()), body);
    // A normalised copy was written; the stage itself (mid-play) is left as it was.
    EXPECT_EQ(play.m_vecBlockPalette.size(), 1u);
}

TEST(Stage, StartCopyHasSettingsButNoPalettesOrPlacements) {
    cStage s;
    s.m_strName = "s";
    s.m_nWarnTime = 7;
    s.m_vecPlacedChara.push_back(Hero());
    s.m_vecBackground.resize(2);
    s.m_vecBackground[1].m_strFile = "x.bmp";
    s.m_vecNameEntry.resize(4);
    s.m_RemoveEnemyShot.m_nTop = 2;
    s.m_vecRankingSwitch = {0, 1};
    cStage copy;
    copy.m_vecPlacedItem.resize(1);
    copy.TakeStartCopyOf(s);
    EXPECT_EQ(copy.m_strName, "s");
    EXPECT_EQ(copy.m_nWarnTime, 7);
    ASSERT_EQ(copy.m_vecBackground.size(), 2u);
    EXPECT_EQ(copy.m_vecBackground[1].m_strFile, "x.bmp");
    EXPECT_EQ(copy.m_vecNameEntry.size(), 4u);
    EXPECT_EQ(copy.m_RemoveEnemyShot.m_nTop, 2);
    EXPECT_EQ(copy.m_vecRankingSwitch, s.m_vecRankingSwitch);
    EXPECT_TRUE(copy.m_vecBlockPalette.empty() && copy.m_vecCharaPalette.empty() && copy.m_vecItemPalette.empty());
    EXPECT_TRUE(copy.m_vecPlacedBlock.empty() && copy.m_vecPlacedChara.empty() && copy.m_vecPlacedItem.empty());
}

TEST(Stage, DamagedFilesAreRefusedOrLoadStably) {
    StageFile f;
    f.header.m_strName = "m";
    f.blocks.resize(2);
    f.placedBlocks.resize(1);
    f.placedCharas.push_back(Hero());
    f.placedItems.resize(1);
    f.header.m_vecNameEntry.resize(1);
    const auto valid = f.Bytes();
    size_t nUnstable = 0;
    const mutation::Summary sum = mutation::Run(valid, [&](const std::vector<uint8_t>& bytes) {
        cStage s;
        if (!s.LoadStageBytes(bytes, "mutant")) return false;
        const auto saved = s.SaveBytes();
        cStage again;
        if (!again.LoadStageBytes(saved, "resaved") || again.SaveBytes() != saved) ++nUnstable;
        return true;
    });
    EXPECT_GT(sum.nRefused, 0u);
    EXPECT_EQ(sum.nSlow, 0u) << sum.slowest;
    EXPECT_EQ(nUnstable, 0u);
}

}  // namespace
