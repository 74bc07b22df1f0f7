// The game-wide system data read from data\System.dat: options, menu
// entries, fixed texts, start-up setting defaults and the behaviour switches
// that keep games made with older editor versions running as they were made.
//
// Behaviour switches: a switch named m_bCompatNNN (or an Opt... name for the
// ones with a readable meaning) is 0 for a new game and set to 1 by the
// upgrade chain for data older than the version NNN that changed the
// behaviour. Each switch has exactly one name; search for it to find every
// place that keeps the older behaviour.
#pragma once
#include <cstdint>
#include <string>

#include "base/checked_vector.h"
#include "records/cmd.h"
#include "records/data_record.h"

// One head-up display item.
class cSysStatusItem : public cRecord<cSysStatusItem> {
public:
    int32_t m_bShow = 0;         // the item is drawn
    int32_t m_bIcon = 0;         // the label is a 16-pixel icon instead of text
    int32_t m_nDigits = 0;       // width of the value in 16-pixel characters
    int32_t m_bShowValue = 0;    // a gauge also shows its number (from 204)
    int32_t m_nWarnLevel = 0;    // warning level of a gauge (from 587)
    int32_t m_bWarnPercent = 0;  // the level is a percentage of the maximum (from 587)
    std::string m_strLabel;

    template <class F>
    void Fields(F& f) {
        f.Field("m_bShow", m_bShow);
        f.Field("m_bIcon", m_bIcon);
        f.Field("m_nDigits", m_nDigits);
        if (f.Since(204)) f.Field("m_bShowValue", m_bShowValue);
        if (f.Since(587)) {
            f.Field("m_nWarnLevel", m_nWarnLevel);
            f.Field("m_bWarnPercent", m_bWarnPercent);
        }
        f.String("m_strLabel", m_strLabel);
    }
    void OnLoaded(const cLoadContext& ctx) {
        if (ctx.Below(204)) m_bShowValue = 1;
    }
};
extern template class cRecord<cSysStatusItem>;

// The ranking rule of one game type: on/off and one flag per ranking kind
// (score, remaining time, clear time, remaining HP, remaining SP). After the
// field and string blocks: int32 count and the kind bytes; a count below 1
// keeps the kinds as they were.
class cSysMenuFlags : public cRecord<cSysMenuFlags> {
public:
    cSysMenuFlags() : m_vecKinds(5, 0) {}
    int32_t m_bEnabled = 0;
    cCheckedVector<uint8_t> m_vecKinds;

    template <class F>
    void Fields(F& f) {
        f.Field("m_bEnabled", m_bEnabled);
    }
    bool LoadExtra(cByteReader& r, const cLoadContext& ctx);
    void SaveExtra(cByteWriter& w, uint32_t nVersion);
    void DumpExtra(cDumper& d);
};
extern template class cRecord<cSysMenuFlags>;

// One start-up setting: the key as "System.ini" spells it and its default.
class cSysSetting : public cRecord<cSysSetting> {
public:
    void SetInt(const std::string& key, int32_t value);
    void SetString(const std::string& key, const std::string& value);

    int32_t m_bIsString = 0;
    int32_t m_nValue = 0;
    std::string m_strKey;
    std::string m_strValue;

    template <class F>
    void Fields(F& f) {
        f.Field("m_bIsString", m_bIsString);
        f.Field("m_nValue", m_nValue);
        f.String("m_strKey", m_strKey);
        f.String("m_strValue", m_strValue);
    }
};
extern template class cRecord<cSysSetting>;

// Indexes of the start-up settings (the key order of "System.ini").
enum eSysSetting {
    SYSSET_DIRECT3D = 0,
    SYSSET_WINDOWMODE = 1,
    SYSSET_BPP = 2,
    SYSSET_VSYNC = 3,
    SYSSET_D3D_FONTCACHE = 4,
    SYSSET_DD_FONTCACHE = 5,
    SYSSET_DD_VIDEOSTRETCH = 6,
    SYSSET_SHOWFPS = 7,
    SYSSET_FREESTAGE = 8,
    SYSSET_ENGLISH = 9,
    SYSSET_MIDI_DIRECTMUSIC = 10,
    SYSSET_COUNT = 11,
};

// Lengths of the lists that the program indexes at fixed positions.
constexpr int kSysTextCount = 39;
constexpr int kSysFlagCount = 25;          // carry-over and progress-clear bytes
constexpr int kSysStatusItemCount = 5;
constexpr int kSysGameTypeCount = 4;       // lives and ranking rules
constexpr int kSysRankingKindCount = 5;
constexpr int kSysTitleMenuCount = 7;
constexpr int kSysMapMenuCount = 4;
constexpr int kSysOptionMenuCount = 10;
constexpr int kSysRankingModeLabelCount = 4;
constexpr int kSysReplayLabelCount = 3;
constexpr int kSysSeFileCount = 18;
constexpr int kSysSceneBgmCount = 6;
constexpr int kSysDefaultFontFace = 60;    // "ＭＳ Ｐゴシック"

class cSystemData;

// The field block, one entry per member in file order. A member is in a file
// of version v when from <= v < below (unsigned). The entry without a member
// is the int that files of versions 221 to 259 hold after
// OptFlyersFollowScroll; it is read and dropped.
struct SysFieldDef {
    const char* name;                 // member name; nullptr for the dropped int
    int32_t cSystemData::*i32;        // 4-byte member, or
    uint8_t cSystemData::*u8;         // 1-byte member
    uint32_t from;
    uint32_t below;
};
constexpr int kSysFieldDefCount = 101;
extern const SysFieldDef g_SysFieldDefs[kSysFieldDefCount];

// Looks a field up by member name; nullptr when there is none.
const SysFieldDef* FindSysField(const char* name);

// The number of BGM records of the database, which bounds the scene music
// entries. The database installs it; without it only negative entries are
// cleared.
using BgmRecordCountFn = int (*)();
void SetBgmRecordCountSource(BgmRecordCountFn source);

// data\System.dat: the field block (100 fields at version 1000), the title
// and the option note, then 17 lists in this order, each an int32 count and
// its elements: carry-over bytes, progress-clear bytes (above 500), status
// items, start lives, infinite lives (above 190), ranking sets (above 185),
// texts, sound-effect files, scene music, scene music repeat bytes (above
// 201), title menu, map menu, option menu, ranking mode labels (above 673),
// replay save and replay order labels (above 960), settings. A count of 0 or
// less keeps a byte or int list as it was and empties a string or record list.
class cSystemData : public cRecord<cSystemData> {
public:
    // Compiled once, in system_data.cpp (copies of the whole record are large).
    cSystemData(const cSystemData&);
    cSystemData(cSystemData&&) noexcept;
    cSystemData& operator=(const cSystemData&);
    cSystemData& operator=(cSystemData&&) noexcept;
    ~cSystemData() override;

    cSystemData();

    template <class F>
    void Fields(F& f) {
        for (const SysFieldDef& def : g_SysFieldDefs) {
            if (!f.Since(def.from) || !f.Below(def.below)) continue;
            if (def.i32) {
                f.Field(def.name, this->*def.i32);
            } else if (def.u8) {
                f.Field(def.name, this->*def.u8);
            } else {
                f.Dropped("(unused)", 4);
            }
        }
        f.String("m_strTitle", m_strTitle);
        if (f.Since(932)) f.String("m_strOptionNote", m_strOptionNote);
    }
    bool LoadExtra(cByteReader& r, const cLoadContext& ctx);
    void SaveExtra(cByteWriter& w, uint32_t nVersion);
    void DumpExtra(cDumper& d);
    // After a load: the upgrade chain, the padding of the fixed lists, and
    // the clamp of the scene music.
    void OnLoaded(const cLoadContext& ctx);
    void OnSaving() { ClampSceneBgm(); }

    // The content of a new game.
    void SetDefaults();

    // Every field of the block 0, both strings empty.
    void ClearFieldBlock();

    // Upgrade of content read from a file older than the current version.
    void Upgrade(uint32_t fileVersion);

    // Pads every list that the program indexes at fixed positions to its
    // length with the entries of a new game; longer lists are kept.
    void PadLists();

    // Every m_vecSceneBgm entry that is negative or not below the number of
    // BGM records of the database becomes 0.
    void ClampSceneBgm(int bgmRecordCount);
    // The same with the database's count (see SetBgmRecordCountSource).
    void ClampSceneBgm();

    // 0 when rankings are off for the game type, else the number of its
    // ranking kinds that are on.
    int CountEnabled(int gameType) const;

    // x minus half the width (16 pixels a character) of the widest of the
    // texts first .. first + count - 1, with one more column for a cursor.
    int MenuColumnCenterX(int x, int first, int count, int cursor) const;

    // Characters (a two-byte character counts one) of the widest of the
    // texts first .. first + count - 1; 0 when count is not positive. The
    // menus draw these texts with DrawMenuStrings (media/text/cmd_menu.h).
    int WidestText(int first, int count) const;

    // 1 when the value of a gauge is at or below the item's warning level.
    int IsAtThreshold(int item, int value, int maximum) const;

    // The face name of the fonts; a face number outside the list gives the
    // default face.
    const std::string& FontFaceName() const;

    // ---- field block, in file order ----
    int32_t OptExtraLife = 0;            // 185
    int32_t OptExtraLifeScore = 0;
    int32_t OptSpaceMenu = 0;            // 838
    int32_t OptHideStageInMenu = 0;
    int32_t m_bFontFlag = 0;
    int32_t m_nFontFace = 0;             // from 205
    int32_t m_nTextDecoration = 0;       // from 966: 0 none, 1 shadow, 2 outline
    int32_t m_nTextDecorationParam = 0;  // from 170
    int32_t OptMinDamageAdd = 0;         // from 989
    int32_t OptMinDamagePercent = 0;     // from 989
    int32_t OptMinImpactAdd = 0;         // from 991
    int32_t OptMinImpactPercent = 0;     // from 991
    int32_t m_bKeepFlaggedFlows = 0;     // from 113
    int32_t OptPlainCharaOrder = 0;      // 855
    int32_t OptReplayRecord = 0;         // from 184
    int32_t m_bReplaySaveKeys = 0;       // from 943
    int32_t m_nReplayNameFormat = 0;     // from 933
    int32_t OptNoStageList = 0;          // 943
    int32_t m_bTitleMenuCentred = 0;     // from 157
    int32_t m_nSaveMode = 0;             // from 821
    int32_t m_bShowOptionNote = 0;       // from 932
    int32_t m_bMapAppliesLives = 0;
    int32_t OptRetryPrompt = 0;          // from 191
    int32_t m_bMapShowLives = 0;         // from 191
    int32_t m_bClearFlag = 0;            // from 915
    int32_t m_nStageCount = 0;
    int32_t m_bAllStages = 0;
    int32_t m_bMapShowEntryInfo = 0;     // from 167
    int32_t m_bMapMenuShowTotal = 0;     // from 167
    int32_t m_bRestoreVars0 = 0;         // from 188
    int32_t OptStoryRestart = 0;         // from 224
    int32_t m_bSelectShowHighScore = 0;  // from 167
    int32_t m_bSelectShowTotal = 0;      // from 167
    int32_t m_bRestoreVars1 = 0;         // from 188
    int32_t OptSelectRestart = 0;        // from 224
    int32_t m_bRestoreVars2 = 0;         // from 188
    int32_t m_bRestoreVarsFree = 0;      // 192
    int32_t m_nPaletteMode = 0;          // from 187: 0 8-bit with palette, 1 no palette
    uint8_t m_byTransR = 0;              // from 187
    uint8_t m_byTransG = 0;              // from 187
    uint8_t m_byTransB = 0;              // from 187
    int32_t OptFlyersFollowScroll = 0;   // 214
    // (files of versions 221 to 259 hold one int here that has no meaning)
    int32_t OptScaleByCollisionBox = 0;  // 261
    int32_t OptKeepDeadCharas = 0;       // from 272
    int32_t m_bCharaDrawOption = 0;      // from 287
    int32_t m_nColorCycleStep = 0;       // from 515
    int32_t m_bColorCycle = 0;           // from 289
    int32_t OptMapReturn = 0;            // from 757
    int32_t m_bCompat525 = 0;
    int32_t m_bCompat555 = 0;
    int32_t OptSummonKeepsBlocks = 0;    // 637 (set for data up to 616)
    int32_t m_bCompat669 = 0;
    int32_t OptLandWhileRising = 0;      // 677
    int32_t m_bCompat695 = 0;
    int32_t m_bCompat696 = 0;
    int32_t OptStartEventAll = 0;        // 697
    int32_t m_bCompat721 = 0;
    int32_t m_bCompat728 = 0;
    int32_t OptRangeNoFootCase = 0;      // 733
    int32_t m_bCompat744 = 0;
    int32_t OptInstantEnemyJump = 0;     // 749
    int32_t m_bCompat752 = 0;
    int32_t OptImmediateKnockback = 0;   // 763
    int32_t OptHarmlessShotsPass = 0;    // 763
    int32_t OptNoHomeOffset = 0;         // 768
    int32_t m_bCompat773 = 0;
    int32_t OptCeilingKeepsImpact = 0;   // 781
    int32_t m_bCompat782 = 0;
    int32_t m_bCompat783 = 0;
    int32_t OptSnapAlways = 0;           // 793
    int32_t m_bCompat805 = 0;
    int32_t m_bCompat808 = 0;
    int32_t m_bCompat818 = 0;
    int32_t OptNoGraceOnFly = 0;         // 818
    int32_t m_bCompat819 = 0;
    int32_t m_bCompat822 = 0;
    int32_t OptKeepHeroDef = 0;          // 827
    int32_t OptScaleFromFeet = 0;        // 831
    int32_t m_bCompat833 = 0;            // set for data of 817 to 832
    int32_t OptSummonCrushAll = 0;       // 837
    int32_t m_bCompat839 = 0;
    int32_t OptImpactYForce = 0;         // 841
    int32_t OptRepeatJumpLaunch = 0;     // 845
    int32_t OptEnemyJumpWaitsGrace = 0;  // 845
    int32_t OptJumpGravityCorrection = 0;  // 845
    int32_t OptRideGroundedNoY = 0;      // 845 (set for data of 656 to 844)
    int32_t m_bCompat861 = 0;
    int32_t m_bCompat875 = 0;
    int32_t m_bCompat894 = 0;            // set for data of 822 to 893
    int32_t m_bCompat895 = 0;
    int32_t m_bCompat896 = 0;            // set for data of 890 to 895
    int32_t OptImpactYKeepPrevious = 0;  // 897
    int32_t m_bCompat904 = 0;
    int32_t OptSimpleWalls = 0;          // 912
    int32_t OptKeepScreenRect = 0;       // 913
    int32_t m_bCompat981 = 0;            // set for data of 980 only
    int32_t m_bCompat986 = 0;
    int32_t m_nDepthDirect3D = 0;        // from 670: 0 32 bits, 1 16 bits
    int32_t m_nDepthDirectDraw = 0;      // from 670: 0 32, 1 16, 2 8 bits
    int32_t m_bNoFreeStage = 0;          // from 880

    // ---- string block ----
    std::string m_strTitle;
    std::string m_strOptionNote;  // from 932

    // ---- lists, in file order ----
    cCheckedVector<uint8_t> m_vecCarryOver;
    cCheckedVector<uint8_t> m_vecProgressClear;
    cCheckedVector<cSysStatusItem> m_vecStatusItems;
    cCheckedVector<int32_t> m_vecStartLives;
    cCheckedVector<int32_t> m_vecInfiniteLives;
    cCheckedVector<cSysMenuFlags> m_vecRankingSets;
    cCheckedVector<std::string> m_vecTexts;
    cCheckedVector<std::string> m_vecSeFiles;
    cCheckedVector<int32_t> m_vecSceneBgm;
    cCheckedVector<uint8_t> m_vecSceneBgmRepeat;
    cCheckedVector<cCmd> m_vecTitleMenu;
    cCheckedVector<cCmd> m_vecMapMenu;
    cCheckedVector<cCmd> m_vecOptionMenu;
    cCheckedVector<std::string> m_vecRankingModeLabels;
    cCheckedVector<std::string> m_vecReplaySaveLabels;
    cCheckedVector<std::string> m_vecReplayOrderLabels;
    cCheckedVector<cSysSetting> m_vecSettings;
};
extern template class cRecord<cSystemData>;

// Slide-up of a fixed-length list: element i takes element i - 1 for i from
// the last index down to a + 1; the last element's value is lost and element
// a keeps its value. Nothing happens for an index at or past the last element
// (or a negative one). Followed by an assignment to element a, this inserts.
template <class T>
void SlideUp(cCheckedVector<T>& vec, long long a) {
    const long long last = static_cast<long long>(vec.size()) - 1;
    if (a < 0 || a >= last) return;
    for (long long i = last; i > a; --i) vec[i] = vec[i - 1];
}
inline void SlideUpBytes(cCheckedVector<uint8_t>& vec, long long a) { SlideUp(vec, a); }
inline void SlideUpStrings(cCheckedVector<std::string>& vec, long long a) { SlideUp(vec, a); }
inline void SlideUpSettings(cCheckedVector<cSysSetting>& vec, long long a) { SlideUp(vec, a); }
inline void SlideUpCmds(cCheckedVector<cCmd>& vec, long long a) { SlideUp(vec, a); }

// Face names of the fonts, indexed by m_nFontFace: 122 names and an empty
// last entry.
constexpr int kFontNameCount = 123;
extern const cCheckedVector<std::string> g_FontNameList;

// Value labels of the editor's vocabulary, carried along (the tools print
// them; the player does not read them).
extern const cCheckedVector<std::string> g_TextDecorationLabels;
extern const cCheckedVector<std::string> g_PaletteModeLabels;
extern const cCheckedVector<std::string> g_ColorDepthLabels;   // Direct3D: 32, 16 bits
extern const cCheckedVector<std::string> g_ColorDepthLabels2;  // DirectDraw: 32, 16, 8 bits

// The option note of a new game (CP932).
const std::string& DefaultOptionNote();
// Default entry i of each fixed list, as a new game has it.
const cSystemData& SystemDataDefaults();

extern cSystemData g_SystemData;
