// System data: defaults, the file layout at the versions where it changes,
// the upgrade chain, list counts, padding, helpers and the data tool.
#include "records/system_data.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/quit.h"
#include "platform/cp932.h"
#include "platform/fs.h"
#include "records/byte_stream.h"
#include "tests/records/mutation.h"

namespace {

std::string J(const char* utf8) { return platform::Utf8ToCp932(utf8); }

std::string Hex(const std::string& s) {
    std::string out;
    char buf[4];
    for (unsigned char c : s) {
        std::snprintf(buf, sizeof buf, "%s%02X", out.empty() ? "" : " ", c);
        out += buf;
    }
    return out;
}

// "name=value" of every non-zero field of the block, in file order.
std::string NonZeroFields(cSystemData& sd) {
    std::string out;
    for (const SysFieldDef& def : g_SysFieldDefs) {
        if (!def.name) continue;
        const long long v = def.i32 ? sd.*def.i32 : sd.*def.u8;
        if (v == 0) continue;
        if (!out.empty()) out += ' ';
        out += std::string(def.name) + "=" + std::to_string(v);
    }
    return out;
}

std::vector<std::string> Labels(const cCheckedVector<cCmd>& menu) {
    std::vector<std::string> out;
    for (const cCmd& c : menu) out.push_back(c.m_strLabel);
    return out;
}

std::vector<int> Enabled(const cCheckedVector<cCmd>& menu) {
    std::vector<int> out;
    for (const cCmd& c : menu) out.push_back(c.m_nEnabled);
    return out;
}

// Writers of the parts of a hand-built file.
void Str(cByteWriter& w, const std::string& s) { w.WriteString(s); }
void Cmd(cByteWriter& w, int enabled, const std::string& label) {
    w.WriteInt32(1);
    w.WriteInt32(enabled);
    w.WriteInt32(1);
    Str(w, label);
}

constexpr int32_t kSentinel = 0x13572468;

class SystemDataFile : public ::testing::Test {
protected:
    void SetUp() override {
        g_bQuit = 0;
        g_bStripCR = 0;
        SetBgmRecordCountSource(nullptr);
    }
    void TearDown() override {
        EXPECT_EQ(g_bQuit.load(), 0) << "a checked access failed";
        g_bQuit = 0;
        g_bStripCR = 0;
        SetBgmRecordCountSource(nullptr);
    }
};

}  // namespace

TEST(SystemDataDefaults, GoldenBytesOfLiterals) {
    EXPECT_EQ(Hex(g_TextDecorationLabels.at(0)), "82 C8 82 B5");  // なし
    ASSERT_EQ(g_FontNameList.size(), 123u);
    EXPECT_EQ(Hex(g_FontNameList.at(60)), "82 6C 82 72 20 82 6F 83 53 83 56 83 62 83 4E");  // ＭＳ Ｐゴシック
    EXPECT_EQ(Hex(g_FontNameList.at(86)), "48 47 BA DE BC AF B8 45");  // HGｺﾞｼｯｸE, half-width kana
    EXPECT_EQ(g_FontNameList.at(122), "");
    // Texts with characters that differ between the CP932 and Shift_JIS tables.
    EXPECT_EQ(Hex(SystemDataDefaults().m_vecTexts.at(35)),
              "8D 58 90 56 93 FA 8E 9E 8F 87 81 AB 81 69 90 84 8F A7 81 6A");  // 更新日時順↓（推奨）
}

TEST(SystemDataDefaults, FontFaceFallsBackToTheDefaultFace) {
    const struct {
        int face;
        std::string name;
    } cases[] = {
        {60, J("ＭＳ Ｐゴシック")}, {0, "System"},   {121, "Sydnie"}, {122, ""},
        {123, J("ＭＳ Ｐゴシック")}, {-1, J("ＭＳ Ｐゴシック")}, {100, J("メイリオ")},
    };
    cSystemData sd;
    for (const auto& c : cases) {
        sd.m_nFontFace = c.face;
        EXPECT_EQ(sd.FontFaceName(), c.name) << c.face;
    }
}

TEST(SystemDataDefaults, NewGame) {
    const cSystemData& sd = SystemDataDefaults();
    std::vector<int> carried;
    for (int i = 0; i < static_cast<int>(sd.m_vecCarryOver.size()); ++i)
        if (sd.m_vecCarryOver[i]) carried.push_back(i);
    EXPECT_EQ(carried, (std::vector<int>{0, 1, 13, 14, 16, 17, 19, 20, 21}));
    EXPECT_EQ(sd.m_vecTexts.size(), 39u);
    EXPECT_EQ(sd.m_vecSettings.size(), 11u);
    EXPECT_EQ(sd.m_vecSettings.at(SYSSET_FREESTAGE).m_bIsString, 1);
    EXPECT_EQ(sd.m_vecSceneBgmRepeat, (cCheckedVector<uint8_t>{1, 1, 1, 1, 1, 1}));
    // Every behaviour switch is off for a new game.
    for (const SysFieldDef& def : g_SysFieldDefs) {
        if (!def.name) continue;
        const std::string name = def.name;
        if (name.rfind("m_bCompat", 0) == 0) {
            EXPECT_EQ(sd.*def.i32, 0) << name;
        }
    }
    EXPECT_EQ(sd.FontFaceName(), J("ＭＳ Ｐゴシック"));
}

// Hand-built files at the versions where the field block or the switches
// change: every field 0 except a sentinel in the last named field (and a
// marker in the int that 221..259 hold and drop), every list count 0. The
// title after the field block proves the alignment.
TEST_F(SystemDataFile, FieldBlockAndSwitchesByVersion) {
    const char* const kOld =
        "OptExtraLife=1 OptSpaceMenu=1 m_nFontFace=60 OptPlainCharaOrder=1 OptReplayRecord=1 m_bReplaySaveKeys=1 "
        "OptNoStageList=1 ";
    const char* const kBefore188 =
        "m_bRestoreVars0=1 m_bSelectShowHighScore=1 m_bSelectShowTotal=1 m_bRestoreVars1=1 m_bRestoreVars2=1 "
        "m_bRestoreVarsFree=1 m_byTransG=177 ";
    const char* const kFrom214 =
        "OptScaleByCollisionBox=1 m_nColorCycleStep=16 m_bColorCycle=1 m_bCompat525=1 m_bCompat555=1 ";
    const char* const kFrom637 =
        "m_bCompat669=1 OptLandWhileRising=1 m_bCompat695=1 m_bCompat696=1 OptStartEventAll=1 m_bCompat721=1 "
        "m_bCompat728=1 OptRangeNoFootCase=1 m_bCompat744=1 OptInstantEnemyJump=1 m_bCompat752=1 "
        "OptImmediateKnockback=1 OptHarmlessShotsPass=1 OptNoHomeOffset=1 m_bCompat773=1 OptCeilingKeepsImpact=1 "
        "m_bCompat782=1 m_bCompat783=1 OptSnapAlways=1 m_bCompat805=1 m_bCompat808=1 m_bCompat818=1 "
        "OptNoGraceOnFly=1 m_bCompat819=1 m_bCompat822=1 OptKeepHeroDef=1 OptScaleFromFeet=1 "
        "OptSummonCrushAll=1 m_bCompat839=1 OptImpactYForce=1 OptRepeatJumpLaunch=1 OptEnemyJumpWaitsGrace=1 "
        "OptJumpGravityCorrection=1 m_bCompat861=1 m_bCompat875=1 m_bCompat895=1 OptImpactYKeepPrevious=1 "
        "m_bCompat904=1 OptSimpleWalls=1 OptKeepScreenRect=1 m_bCompat986=1 m_nDepthDirectDraw=2";
    const std::string s = std::to_string(kSentinel);
    const struct {
        uint32_t version;
        int fields, bytes;
        int sentinelAt, sentinelWidth;  // offset in the field block
        int droppedAt;                  // -1: none
        std::string expect;             // non-zero fields after the load
    } cases[] = {
        {100, 6, 24, 20, 4, -1,
         std::string(kOld) + "m_bAllStages=" + s + " m_bMapShowEntryInfo=1 m_bMapMenuShowTotal=1 " + kBefore188 +
             "OptFlyersFollowScroll=1 " + kFrom214 + "OptSummonKeepsBlocks=1 " + kFrom637},
        {150, 7, 28, 24, 4, -1,
         std::string(kOld) + "m_bAllStages=" + s + " m_bMapShowEntryInfo=1 m_bMapMenuShowTotal=1 " + kBefore188 +
             "OptFlyersFollowScroll=1 " + kFrom214 + "OptSummonKeepsBlocks=1 " + kFrom637},
        {168, 12, 48, 44, 4, -1,
         std::string(kOld) + "m_bRestoreVars0=1 m_bSelectShowTotal=" + s +
             " m_bRestoreVars1=1 m_bRestoreVars2=1 m_bRestoreVarsFree=1 m_byTransG=177 OptFlyersFollowScroll=1 " +
             kFrom214 + "OptSummonKeepsBlocks=1 " + kFrom637},
        {200, 25, 91, 90, 1, -1,
         "OptSpaceMenu=1 m_nFontFace=60 OptPlainCharaOrder=1 OptNoStageList=1 m_byTransB=90 "
         "OptFlyersFollowScroll=1 " +
             std::string(kFrom214) + "OptSummonKeepsBlocks=1 " + kFrom637},
        {250, 30, 111, 103, 4, 107,
         "OptSpaceMenu=1 OptPlainCharaOrder=1 OptNoStageList=1 OptFlyersFollowScroll=" + s + " " + kFrom214 +
             "OptSummonKeepsBlocks=1 " + kFrom637},
        {260, 29, 107, 103, 4, -1,
         "OptSpaceMenu=1 OptPlainCharaOrder=1 OptNoStageList=1 OptFlyersFollowScroll=" + s + " " + kFrom214 +
             "OptSummonKeepsBlocks=1 " + kFrom637},
        {616, 36, 135, 131, 4, -1,
         "OptSpaceMenu=1 OptPlainCharaOrder=1 OptNoStageList=1 m_bCompat555=" + s + " OptSummonKeepsBlocks=1 " +
             kFrom637},
        {637, 37, 139, 135, 4, -1,
         "OptSpaceMenu=1 OptPlainCharaOrder=1 OptNoStageList=1 OptSummonKeepsBlocks=" + s + " " + kFrom637},
        {820, 64, 247, 243, 4, -1,
         "OptSpaceMenu=1 OptPlainCharaOrder=1 OptNoStageList=1 m_bCompat822=1 OptKeepHeroDef=1 "
         "OptScaleFromFeet=1 m_bCompat833=1 OptSummonCrushAll=1 m_bCompat839=1 OptImpactYForce=1 "
         "OptRepeatJumpLaunch=1 OptEnemyJumpWaitsGrace=1 OptJumpGravityCorrection=1 OptRideGroundedNoY=1 "
         "m_bCompat861=1 m_bCompat875=1 m_bCompat895=1 OptImpactYKeepPrevious=1 m_bCompat904=1 OptSimpleWalls=1 "
         "OptKeepScreenRect=1 m_bCompat986=1 m_nDepthDirectDraw=" +
             s},
        {822, 66, 255, 251, 4, -1,
         "OptSpaceMenu=1 OptPlainCharaOrder=1 OptNoStageList=1 OptKeepHeroDef=1 OptScaleFromFeet=1 "
         "m_bCompat833=1 OptSummonCrushAll=1 m_bCompat839=1 OptImpactYForce=1 OptRepeatJumpLaunch=1 "
         "OptEnemyJumpWaitsGrace=1 OptJumpGravityCorrection=1 OptRideGroundedNoY=1 m_bCompat861=1 "
         "m_bCompat875=1 m_bCompat894=1 m_bCompat895=1 OptImpactYKeepPrevious=1 m_bCompat904=1 OptSimpleWalls=1 "
         "OptKeepScreenRect=1 m_bCompat986=1 m_nDepthDirectDraw=" +
             s},
        {894, 82, 319, 315, 4, -1,
         "OptNoStageList=1 m_bCompat895=1 m_bCompat896=1 OptImpactYKeepPrevious=1 m_bCompat904=1 "
         "OptSimpleWalls=1 OptKeepScreenRect=1 m_bCompat986=1 m_bNoFreeStage=" +
             s},
        {979, 94, 367, 363, 4, -1, "m_bCompat986=1 m_bNoFreeStage=" + s},
        {980, 94, 367, 363, 4, -1, "m_bCompat981=1 m_bCompat986=1 m_bNoFreeStage=" + s},
        {981, 95, 371, 367, 4, -1, "m_bCompat986=1 m_bNoFreeStage=" + s},
        {1000, 100, 391, 387, 4, -1, "m_bNoFreeStage=" + s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        cSystemData sd;
        EXPECT_EQ(sd.FieldCount(c.version), c.fields);
        EXPECT_EQ(sd.FieldBytes(c.version), c.bytes);

        cByteWriter w;
        w.Write(c.version);
        w.WriteInt32(c.fields);
        std::vector<uint8_t> block(c.bytes, 0);
        if (c.sentinelWidth == 1) {
            block[c.sentinelAt] = 0x5A;
        } else {
            std::memcpy(block.data() + c.sentinelAt, &kSentinel, 4);
        }
        if (c.droppedAt >= 0) block[c.droppedAt] = 0x77;
        w.WriteBytes(block.data(), block.size());
        const bool note = c.version >= 932;
        w.WriteInt32(note ? 2 : 1);
        Str(w, "Title");
        if (note) Str(w, "Note");
        int lists = 11;
        for (uint32_t gate : {500u, 190u, 185u, 201u, 673u, 960u, 960u}) lists += c.version > gate ? 1 : 0;
        for (int i = 0; i < lists; ++i) w.WriteInt32(0);
        const std::vector<uint8_t> bytes = w.Take();

        ASSERT_TRUE(sd.LoadBytes(bytes, "System.dat")) << LastDataFileError();
        EXPECT_EQ(sd.m_strTitle, "Title");
        EXPECT_EQ(NonZeroFields(sd), c.expect);
    }
}

// A very old file with lists as an old editor wrote them ends with the
// lists of a current game.
TEST_F(SystemDataFile, VeryOldFileEndsWithTheCurrentLists) {
    const uint32_t v = 150;
    cByteWriter w;
    w.Write(v);
    w.WriteInt32(7);
    w.WriteZeros(28);
    w.WriteInt32(1);
    Str(w, "Old");
    // Carry-over: 22 bytes 1..22.
    w.WriteInt32(22);
    for (uint8_t b = 1; b <= 22; ++b) w.Write(b);
    // Five status items with the three fields of the time.
    w.WriteInt32(5);
    for (int i = 0; i < 5; ++i) {
        w.WriteInt32(3);
        w.WriteInt32(1);
        w.WriteInt32(0);
        w.WriteInt32(i);
        w.WriteInt32(1);
        Str(w, "L" + std::to_string(i));
    }
    w.WriteInt32(4);
    for (int32_t lives : {3, 3, 3, 9}) w.WriteInt32(lives);
    // The 21 texts of the time.
    const char* const oldTexts[] = {
        "ワールド", "ステージ", "スコア", "ハイスコア", "トータルスコア", "スコア", "残り時間",
        "クリア時間", "ステージに挑む", "やっぱりやめる", "セーブする", "やっぱりやめる", "タイトルへ戻る",
        "やっぱりやめる", "しゅうりょう", "つづける", "リトライ", "Vキーでジャンルの切り替え",
        "スペースキーでタイトルへ戻る", "スペースキーで終了", "F3キーでランキングへ登録",
    };
    w.WriteInt32(21);
    for (const char* t : oldTexts) Str(w, J(t));
    w.WriteInt32(17);
    for (int i = 0; i < 17; ++i) Str(w, "se" + std::to_string(i));
    w.WriteInt32(4);
    for (int32_t bgm : {1, 2, 3, 4}) w.WriteInt32(bgm);
    w.WriteInt32(7);
    for (const char* t : {"はじめから", "つづきから", "チャレンジ", "フリー", "リプレイ", "オプション", "しゅうりょう"})
        Cmd(w, 1, J(t));
    w.WriteInt32(3);
    for (const char* t : {"セーブ", "もどる", "タイトルへ"}) Cmd(w, 1, J(t));
    w.WriteInt32(6);
    for (const char* t : {"カラー", "BGM", "SE", "ランキング登録", "ランキング登録名", "もどる"}) Cmd(w, 1, J(t));
    // Settings of the time: WindowMode, Bpp, VSync, ShowFps, FreeStage.
    const struct {
        const char* key;
        int32_t isString, value;
        const char* text;
    } settings[] = {{"WindowMode", 0, 1, ""}, {"Bpp", 0, 16, ""}, {"VSync", 0, 3, ""}, {"ShowFps", 0, 0, ""},
                    {"FreeStage", 1, 0, "x"}};
    w.WriteInt32(5);
    for (const auto& s : settings) {
        w.WriteInt32(2);
        w.WriteInt32(s.isString);
        w.WriteInt32(s.value);
        w.WriteInt32(2);
        Str(w, s.key);
        Str(w, s.text);
    }
    const std::vector<uint8_t> bytes = w.Take();

    cSystemData sd;
    ASSERT_TRUE(sd.LoadBytes(bytes, "System.dat")) << LastDataFileError();
    const cSystemData& def = SystemDataDefaults();
    EXPECT_EQ(sd.m_strTitle, "Old");
    EXPECT_EQ(sd.m_vecTexts, def.m_vecTexts);
    EXPECT_EQ(sd.m_vecCarryOver, (cCheckedVector<uint8_t>{1,  2,  3,  4,  5,  6,  7,  8,  9,  0,  10, 11, 12,
                                                          13, 14, 0,  15, 16, 1,  17, 18, 19, 20, 21, 22}));
    EXPECT_EQ(sd.m_vecProgressClear, cCheckedVector<uint8_t>(25, 0));
    EXPECT_EQ(Labels(sd.m_vecMapMenu), Labels(def.m_vecMapMenu));
    EXPECT_EQ(Enabled(sd.m_vecMapMenu), (std::vector<int>{1, 1, 1, 1}));
    EXPECT_EQ(Labels(sd.m_vecOptionMenu), Labels(def.m_vecOptionMenu));
    EXPECT_EQ(Enabled(sd.m_vecOptionMenu), (std::vector<int>{1, 1, 1, 1, 1, 1, 0, 0, 0, 1}));
    ASSERT_EQ(sd.m_vecSettings.size(), 11u);
    const int32_t values[] = {1, 1, 16, 2, 0, 1, 0, 0, 0, 0, 1};
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(sd.m_vecSettings[i].m_strKey, def.m_vecSettings[i].m_strKey) << i;
        EXPECT_EQ(sd.m_vecSettings[i].m_nValue, values[i]) << i;
        EXPECT_EQ(sd.m_vecSettings[i].m_bIsString, i == SYSSET_FREESTAGE ? 1 : 0) << i;
    }
    EXPECT_EQ(sd.m_vecSettings[SYSSET_FREESTAGE].m_strValue, "x");
    ASSERT_EQ(sd.m_vecSeFiles.size(), 18u);
    EXPECT_EQ(sd.m_vecSeFiles[7], "se7");
    EXPECT_EQ(sd.m_vecSeFiles[8], "se7");
    EXPECT_EQ(sd.m_vecSeFiles[17], "se16");
    EXPECT_EQ(sd.m_vecSceneBgm, (cCheckedVector<int32_t>{1, 2, 3, 4, 4, 4}));
    EXPECT_EQ(sd.m_vecSceneBgmRepeat, cCheckedVector<uint8_t>(6, 1));
    EXPECT_EQ(sd.m_vecInfiniteLives, (cCheckedVector<int32_t>{0, 0, 0, 1}));
    EXPECT_EQ(sd.m_vecStartLives, (cCheckedVector<int32_t>{3, 3, 3, 9}));
    ASSERT_EQ(sd.m_vecRankingSets.size(), 4u);
    EXPECT_EQ(sd.m_vecRankingSets[0].m_vecKinds, (cCheckedVector<uint8_t>{1, 1, 1, 0, 0}));
    EXPECT_EQ(sd.m_vecRankingSets[3].m_vecKinds, (cCheckedVector<uint8_t>{0, 0, 0, 0, 0}));
    ASSERT_EQ(sd.m_vecStatusItems.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(sd.m_vecStatusItems[i].m_nDigits, i);
        EXPECT_EQ(sd.m_vecStatusItems[i].m_bShowValue, 1);
        EXPECT_EQ(sd.m_vecStatusItems[i].m_nWarnLevel, i == 2 || i == 3 ? 33 : 0);
        EXPECT_EQ(sd.m_vecStatusItems[i].m_bWarnPercent, i == 2 || i == 3 ? 1 : 0);
    }
    EXPECT_EQ(sd.m_strOptionNote, def.m_strOptionNote);
    EXPECT_EQ(sd.m_bShowOptionNote, 0);
    EXPECT_EQ(sd.m_vecReplaySaveLabels, def.m_vecReplaySaveLabels);
}

TEST_F(SystemDataFile, ListCountsOfZeroOrLess) {
    // A game with its own lists, then a file whose lists all have the count 0
    // (and one with -1) loaded over it.
    cSystemData custom;
    custom.m_vecCarryOver.assign(25, 7);
    custom.m_vecSceneBgm = {1, 1, 1, 1, 1, 1};
    custom.m_vecStartLives = {2, 2, 2, 2};
    custom.m_vecTexts.assign(39, "t");
    custom.m_vecTitleMenu.assign(7, cCmd(0, "c"));
    custom.m_vecRankingSets[0].m_vecKinds = {9, 9, 9, 9, 9};
    for (int32_t count : {0, -1}) {
        SCOPED_TRACE(count);
        cSystemData sd = custom;
        cByteWriter w;
        w.Write(uint32_t{1000});
        cSystemData blank;
        blank.SaveBase(w, 1000);
        for (int i = 0; i < 17; ++i) w.WriteInt32(count);
        ASSERT_TRUE(sd.LoadBytes(w.Take(), "System.dat")) << LastDataFileError();
        // Byte and int lists keep what they held.
        EXPECT_EQ(sd.m_vecCarryOver, custom.m_vecCarryOver);
        EXPECT_EQ(sd.m_vecSceneBgm, custom.m_vecSceneBgm);
        EXPECT_EQ(sd.m_vecStartLives, custom.m_vecStartLives);
        // String and record lists were emptied; the padding gives the fixed
        // lists the entries of a new game.
        const cSystemData& def = SystemDataDefaults();
        EXPECT_EQ(sd.m_vecTexts, def.m_vecTexts);
        EXPECT_EQ(Labels(sd.m_vecTitleMenu), Labels(def.m_vecTitleMenu));
        EXPECT_EQ(Enabled(sd.m_vecTitleMenu), std::vector<int>(7, 1));
        EXPECT_EQ(sd.m_vecRankingSets[0].m_vecKinds, def.m_vecRankingSets[0].m_vecKinds);
    }
}

TEST_F(SystemDataFile, ShortListsArePaddedAndLongOnesKept) {
    cSystemData src;
    src.m_vecTexts.resize(3);
    src.m_vecTexts[0] = "first";
    src.m_vecSettings.resize(9);
    src.m_vecMapMenu.resize(1);
    src.m_vecStatusItems.resize(2);
    src.m_vecSeFiles.assign(20, "s");
    src.m_vecRankingSets[1].m_vecKinds = {1, 0};
    cSystemData sd;
    ASSERT_TRUE(sd.LoadBytes(src.SaveBytes(), "System.dat")) << LastDataFileError();
    const cSystemData& def = SystemDataDefaults();
    ASSERT_EQ(sd.m_vecTexts.size(), 39u);
    EXPECT_EQ(sd.m_vecTexts[0], "first");
    EXPECT_EQ(sd.m_vecTexts[38], def.m_vecTexts[38]);
    ASSERT_EQ(sd.m_vecSettings.size(), 11u);
    EXPECT_EQ(sd.m_vecSettings[10].m_strKey, "Midi_DirectMusic");
    EXPECT_EQ(sd.m_vecSettings[10].m_nValue, 1);
    EXPECT_EQ(Labels(sd.m_vecMapMenu), Labels(def.m_vecMapMenu));
    EXPECT_EQ(sd.m_vecStatusItems.size(), 5u);
    EXPECT_EQ(sd.m_vecStatusItems[4].m_strLabel, def.m_vecStatusItems[4].m_strLabel);
    EXPECT_EQ(sd.m_vecSeFiles.size(), 20u);
    EXPECT_EQ(sd.m_vecRankingSets[1].m_vecKinds, (cCheckedVector<uint8_t>{1, 0, 1, 1, 1}));
}

TEST_F(SystemDataFile, BadFilesAreRefusedAndChangeNothing) {
    cSystemData src;
    src.m_strTitle = "Good";
    const std::vector<uint8_t> good = src.SaveBytes();
    // The count of m_vecTexts: 39 followed by the first text.
    std::string pattern("\x27\0\0\0\x09\0\0\0", 8);
    pattern += J("ワールド");
    const std::string all(good.begin(), good.end());
    const size_t textsCount = all.find(pattern);
    ASSERT_NE(textsCount, std::string::npos);
    int32_t count = 0;
    std::memcpy(&count, good.data() + textsCount, 4);
    ASSERT_EQ(count, 39);

    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    std::vector<Case> cases;
    auto withCount = [&](int32_t n) {
        std::vector<uint8_t> b = good;
        std::memcpy(b.data() + textsCount, &n, 4);
        return b;
    };
    cases.push_back({"huge text count", withCount(0x7FFFFFFF)});
    cases.push_back({"text count past the end", withCount(static_cast<int32_t>((good.size() - textsCount) / 4))});
    cases.push_back({"cut short", std::vector<uint8_t>(good.begin(), good.end() - 3)});
    std::vector<uint8_t> tooNew = good;
    tooNew[0] = 0xE9;  // 1001
    tooNew[1] = 0x03;
    cases.push_back({"version 1001", tooNew});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cSystemData sd;
        sd.m_strTitle = "Before";
        EXPECT_FALSE(sd.LoadBytes(c.bytes, "System.dat"));
        EXPECT_EQ(sd.m_strTitle, "Before");
        EXPECT_FALSE(LastDataFileError().empty());
    }
    EXPECT_EQ(g_bFileTooNew, 1);
}

TEST_F(SystemDataFile, Version1000RoundTripAndLayout) {
    cSystemData src;
    src.m_strTitle = J("テストゲーム");
    src.m_strOptionNote = "Note";  // no CR: the tool strips them as the player does
    src.OptSimpleWalls = 1;
    src.m_byTransG = 200;
    src.m_bNoFreeStage = kSentinel;
    src.m_vecTexts.push_back(J("四十番目"));
    // Music entries the default database has (the data tool reads against it).
    src.m_vecSceneBgm = {0, 1, 1, 0, 1, 0};
    src.m_vecRankingSets[2].m_vecKinds = {1, 0, 1, 0, 1, 1, 1};
    src.m_vecSettings[SYSSET_FREESTAGE].m_strValue = "data\\stg4\\a.stg4_001";
    const std::vector<uint8_t> bytes = src.SaveBytes();

    // Version word, then the field block: its count and 391 bytes, with the
    // sentinel last, then the string count.
    int32_t word = 0;
    std::memcpy(&word, bytes.data(), 4);
    EXPECT_EQ(word, 1000);
    std::memcpy(&word, bytes.data() + 4, 4);
    EXPECT_EQ(word, 100);
    std::memcpy(&word, bytes.data() + 8 + 391 - 4, 4);
    EXPECT_EQ(word, kSentinel);
    std::memcpy(&word, bytes.data() + 8 + 391, 4);
    EXPECT_EQ(word, 2);

    cSystemData sd;
    ASSERT_TRUE(sd.LoadBytes(bytes, "System.dat")) << LastDataFileError();
    EXPECT_EQ(sd.SaveBytes(), bytes);
    EXPECT_EQ(sd.m_vecTexts.size(), 40u);

    // Through the data tool.
    const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "tovaro_system_dat";
    std::filesystem::create_directories(dir);
    const std::string in = (dir / "System.dat").string(), out = (dir / "Resaved.dat").string();
    ASSERT_TRUE(platform::WriteFileAtomic(in, bytes));
    const std::string tool = std::string(TOVARO_BINARY_DIR) + "/tovaro-data";
    ASSERT_EQ(std::system((tool + " resave system " + in + " " + out).c_str()), 0);
    auto resaved = platform::ReadWholeFile(out);
    ASSERT_TRUE(resaved.has_value());
    EXPECT_EQ(*resaved, bytes);

    // The dump names every switch.
    const std::string dumpPath = (dir / "dump.txt").string();
    ASSERT_EQ(std::system((tool + " dump system " + in + " > " + dumpPath).c_str()), 0);
    std::ifstream dumpFile(dumpPath);
    const std::string dump((std::istreambuf_iterator<char>(dumpFile)), std::istreambuf_iterator<char>());
    for (const SysFieldDef& def : g_SysFieldDefs) {
        if (def.name) {
            EXPECT_NE(dump.find(def.name), std::string::npos) << def.name;
        }
    }
    EXPECT_NE(dump.find("OptSimpleWalls"), std::string::npos);
}

TEST_F(SystemDataFile, DamagedVariantsNeverCrash) {
    cSystemData src;
    const std::vector<uint8_t> valid = src.SaveBytes();
    mutation::Options opt;
    opt.nRandomFlips = 600;
    const auto summary = mutation::Run(
        valid,
        [](const std::vector<uint8_t>& b) {
            cSystemData sd;
            const bool ok = sd.LoadBytes(b, "mutant");
            g_bQuit = 0;
            return ok;
        },
        opt);
    EXPECT_EQ(summary.nSlow, 0u) << summary.slowest;
    EXPECT_GT(summary.nRefused, 0u);
}

TEST_F(SystemDataFile, SceneMusicIsClampedToTheDatabase) {
    static int records = 3;
    SetBgmRecordCountSource([] { return records; });
    cSystemData src;
    src.m_vecSceneBgm = {0, 3, 2, -1, 7, 1};
    cSystemData sd;
    ASSERT_TRUE(sd.LoadBytes(src.SaveBytes(), "System.dat"));
    EXPECT_EQ(sd.m_vecSceneBgm, (cCheckedVector<int32_t>{0, 0, 2, 0, 0, 1}));
}

TEST_F(SystemDataFile, StripsCarriageReturnsFromListTexts) {
    g_bStripCR = 1;
    cSystemData src;
    src.m_vecTexts[0] = "a\r\nb";
    src.m_vecTitleMenu[0].m_strLabel = "c\r\nd";
    cSystemData sd;
    ASSERT_TRUE(sd.LoadBytes(src.SaveBytes(), "System.dat"));
    EXPECT_EQ(sd.m_vecTexts[0], "a\nb");
    EXPECT_EQ(sd.m_vecTitleMenu[0].m_strLabel, "c\nd");
}

TEST(SystemDataHelpers, IsAtThreshold) {
    cSystemData sd;
    sd.m_vecStatusItems[2].m_nWarnLevel = 33;
    sd.m_vecStatusItems[2].m_bWarnPercent = 1;
    sd.m_vecStatusItems[4].m_nWarnLevel = 10;
    sd.m_vecStatusItems[4].m_bWarnPercent = 0;
    const struct {
        int item, value, maximum, result;
    } cases[] = {
        {2, 33, 100, 1}, {2, 34, 100, 0}, {2, 0, 100, 1},  {2, 1, 4, 1},   {2, 1, 3, 0},
        {2, 0, 0, 0},    {2, 5, 0, 0},    {2, -1, 0, 1},   {2, 50, -100, 1},
        {4, 10, 0, 1},   {4, 11, 100, 0}, {4, -5, 100, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sd.IsAtThreshold(c.item, c.value, c.maximum), c.result)
            << c.item << " " << c.value << "/" << c.maximum;
    }
}

TEST(SystemDataHelpers, CountEnabled) {
    cSystemData sd;
    EXPECT_EQ(sd.CountEnabled(0), 5);
    EXPECT_EQ(sd.CountEnabled(3), 0);
    sd.m_vecRankingSets[1].m_vecKinds = {1, 0, 2, 0, 0};
    EXPECT_EQ(sd.CountEnabled(1), 2);
    sd.m_vecRankingSets[1].m_bEnabled = 0;
    EXPECT_EQ(sd.CountEnabled(1), 0);
}

TEST(SystemDataHelpers, MenuColumnCenterX) {
    cSystemData sd;
    sd.m_vecTexts[0] = "ab";
    sd.m_vecTexts[1] = J("ワールド") + "!";  // five characters in nine bytes
    sd.m_vecTexts[2] = "abc";
    sd.m_vecTexts[3] = "ab\x82";  // a lead byte at the end counts one
    const struct {
        int first, count, cursor, result;
    } cases[] = {
        {0, 2, 0, 320 - 40}, {0, 2, 1, 320 - 48}, {2, 1, 0, 320 - 24},
        {2, 1, 1, 320 - 32}, {3, 1, 0, 320 - 24}, {0, 0, 1, 320 - 8},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sd.MenuColumnCenterX(320, c.first, c.count, c.cursor), c.result)
            << c.first << " " << c.count << " " << c.cursor;
    }
}

TEST(SystemDataHelpers, SlideUp) {
    const struct {
        long long a;
        cCheckedVector<int> result;
    } cases[] = {
        {0, {0, 0, 1, 2, 3}}, {1, {0, 1, 1, 2, 3}}, {3, {0, 1, 2, 3, 3}},
        {4, {0, 1, 2, 3, 4}}, {9, {0, 1, 2, 3, 4}}, {-1, {0, 1, 2, 3, 4}},
    };
    for (const auto& c : cases) {
        cCheckedVector<int> v = {0, 1, 2, 3, 4};
        SlideUp(v, c.a);
        EXPECT_EQ(v, c.result) << c.a;
    }
    cCheckedVector<std::string> texts = {"a", "b", "c"};
    SlideUpStrings(texts, 0);
    EXPECT_EQ(texts, (cCheckedVector<std::string>{"a", "a", "b"}));
}
