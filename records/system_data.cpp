#include "records/system_data.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <type_traits>

#include "platform/cp932.h"

// The record passes, compiled once here (see records/data_record.h).
template class cRecord<cSysStatusItem>;
template class cRecord<cSysMenuFlags>;
template class cRecord<cSysSetting>;
template class cRecord<cSystemData>;

cSystemData::cSystemData(const cSystemData&) = default;
cSystemData::cSystemData(cSystemData&&) noexcept = default;
cSystemData& cSystemData::operator=(const cSystemData&) = default;
cSystemData& cSystemData::operator=(cSystemData&&) noexcept = default;
cSystemData::~cSystemData() = default;

namespace {

constexpr uint32_t kNoEnd = 0xFFFFFFFFu;

}  // namespace

const SysFieldDef g_SysFieldDefs[kSysFieldDefCount] = {
    {"OptExtraLife", &cSystemData::OptExtraLife, nullptr, 185, kNoEnd},
    {"OptExtraLifeScore", &cSystemData::OptExtraLifeScore, nullptr, 0, kNoEnd},
    {"OptSpaceMenu", &cSystemData::OptSpaceMenu, nullptr, 838, kNoEnd},
    {"OptHideStageInMenu", &cSystemData::OptHideStageInMenu, nullptr, 0, kNoEnd},
    {"m_bFontFlag", &cSystemData::m_bFontFlag, nullptr, 0, kNoEnd},
    {"m_nFontFace", &cSystemData::m_nFontFace, nullptr, 205, kNoEnd},
    {"m_nTextDecoration", &cSystemData::m_nTextDecoration, nullptr, 966, kNoEnd},
    {"m_nTextDecorationParam", &cSystemData::m_nTextDecorationParam, nullptr, 170, kNoEnd},
    {"OptMinDamageAdd", &cSystemData::OptMinDamageAdd, nullptr, 989, kNoEnd},
    {"OptMinDamagePercent", &cSystemData::OptMinDamagePercent, nullptr, 989, kNoEnd},
    {"OptMinImpactAdd", &cSystemData::OptMinImpactAdd, nullptr, 991, kNoEnd},
    {"OptMinImpactPercent", &cSystemData::OptMinImpactPercent, nullptr, 991, kNoEnd},
    {"m_bKeepFlaggedFlows", &cSystemData::m_bKeepFlaggedFlows, nullptr, 113, kNoEnd},
    {"OptPlainCharaOrder", &cSystemData::OptPlainCharaOrder, nullptr, 855, kNoEnd},
    {"OptReplayRecord", &cSystemData::OptReplayRecord, nullptr, 184, kNoEnd},
    {"m_bReplaySaveKeys", &cSystemData::m_bReplaySaveKeys, nullptr, 943, kNoEnd},
    {"m_nReplayNameFormat", &cSystemData::m_nReplayNameFormat, nullptr, 933, kNoEnd},
    {"OptNoStageList", &cSystemData::OptNoStageList, nullptr, 943, kNoEnd},
    {"m_bTitleMenuCentred", &cSystemData::m_bTitleMenuCentred, nullptr, 157, kNoEnd},
    {"m_nSaveMode", &cSystemData::m_nSaveMode, nullptr, 821, kNoEnd},
    {"m_bShowOptionNote", &cSystemData::m_bShowOptionNote, nullptr, 932, kNoEnd},
    {"m_bMapAppliesLives", &cSystemData::m_bMapAppliesLives, nullptr, 0, kNoEnd},
    {"OptRetryPrompt", &cSystemData::OptRetryPrompt, nullptr, 191, kNoEnd},
    {"m_bMapShowLives", &cSystemData::m_bMapShowLives, nullptr, 191, kNoEnd},
    {"m_bClearFlag", &cSystemData::m_bClearFlag, nullptr, 915, kNoEnd},
    {"m_nStageCount", &cSystemData::m_nStageCount, nullptr, 0, kNoEnd},
    {"m_bAllStages", &cSystemData::m_bAllStages, nullptr, 0, kNoEnd},
    {"m_bMapShowEntryInfo", &cSystemData::m_bMapShowEntryInfo, nullptr, 167, kNoEnd},
    {"m_bMapMenuShowTotal", &cSystemData::m_bMapMenuShowTotal, nullptr, 167, kNoEnd},
    {"m_bRestoreVars0", &cSystemData::m_bRestoreVars0, nullptr, 188, kNoEnd},
    {"OptStoryRestart", &cSystemData::OptStoryRestart, nullptr, 224, kNoEnd},
    {"m_bSelectShowHighScore", &cSystemData::m_bSelectShowHighScore, nullptr, 167, kNoEnd},
    {"m_bSelectShowTotal", &cSystemData::m_bSelectShowTotal, nullptr, 167, kNoEnd},
    {"m_bRestoreVars1", &cSystemData::m_bRestoreVars1, nullptr, 188, kNoEnd},
    {"OptSelectRestart", &cSystemData::OptSelectRestart, nullptr, 224, kNoEnd},
    {"m_bRestoreVars2", &cSystemData::m_bRestoreVars2, nullptr, 188, kNoEnd},
    {"m_bRestoreVarsFree", &cSystemData::m_bRestoreVarsFree, nullptr, 192, kNoEnd},
    {"m_nPaletteMode", &cSystemData::m_nPaletteMode, nullptr, 187, kNoEnd},
    {"m_byTransR", nullptr, &cSystemData::m_byTransR, 187, kNoEnd},
    {"m_byTransG", nullptr, &cSystemData::m_byTransG, 187, kNoEnd},
    {"m_byTransB", nullptr, &cSystemData::m_byTransB, 187, kNoEnd},
    {"OptFlyersFollowScroll", &cSystemData::OptFlyersFollowScroll, nullptr, 214, kNoEnd},
    {nullptr, nullptr, nullptr, 221, 260},
    {"OptScaleByCollisionBox", &cSystemData::OptScaleByCollisionBox, nullptr, 261, kNoEnd},
    {"OptKeepDeadCharas", &cSystemData::OptKeepDeadCharas, nullptr, 272, kNoEnd},
    {"m_bCharaDrawOption", &cSystemData::m_bCharaDrawOption, nullptr, 287, kNoEnd},
    {"m_nColorCycleStep", &cSystemData::m_nColorCycleStep, nullptr, 515, kNoEnd},
    {"m_bColorCycle", &cSystemData::m_bColorCycle, nullptr, 289, kNoEnd},
    {"OptMapReturn", &cSystemData::OptMapReturn, nullptr, 757, kNoEnd},
    {"m_bCompat525", &cSystemData::m_bCompat525, nullptr, 525, kNoEnd},
    {"m_bCompat555", &cSystemData::m_bCompat555, nullptr, 555, kNoEnd},
    {"OptSummonKeepsBlocks", &cSystemData::OptSummonKeepsBlocks, nullptr, 637, kNoEnd},
    {"m_bCompat669", &cSystemData::m_bCompat669, nullptr, 669, kNoEnd},
    {"OptLandWhileRising", &cSystemData::OptLandWhileRising, nullptr, 677, kNoEnd},
    {"m_bCompat695", &cSystemData::m_bCompat695, nullptr, 695, kNoEnd},
    {"m_bCompat696", &cSystemData::m_bCompat696, nullptr, 696, kNoEnd},
    {"OptStartEventAll", &cSystemData::OptStartEventAll, nullptr, 697, kNoEnd},
    {"m_bCompat721", &cSystemData::m_bCompat721, nullptr, 721, kNoEnd},
    {"m_bCompat728", &cSystemData::m_bCompat728, nullptr, 728, kNoEnd},
    {"OptRangeNoFootCase", &cSystemData::OptRangeNoFootCase, nullptr, 733, kNoEnd},
    {"m_bCompat744", &cSystemData::m_bCompat744, nullptr, 744, kNoEnd},
    {"OptInstantEnemyJump", &cSystemData::OptInstantEnemyJump, nullptr, 749, kNoEnd},
    {"m_bCompat752", &cSystemData::m_bCompat752, nullptr, 752, kNoEnd},
    {"OptImmediateKnockback", &cSystemData::OptImmediateKnockback, nullptr, 763, kNoEnd},
    {"OptHarmlessShotsPass", &cSystemData::OptHarmlessShotsPass, nullptr, 763, kNoEnd},
    {"OptNoHomeOffset", &cSystemData::OptNoHomeOffset, nullptr, 768, kNoEnd},
    {"m_bCompat773", &cSystemData::m_bCompat773, nullptr, 773, kNoEnd},
    {"OptCeilingKeepsImpact", &cSystemData::OptCeilingKeepsImpact, nullptr, 781, kNoEnd},
    {"m_bCompat782", &cSystemData::m_bCompat782, nullptr, 782, kNoEnd},
    {"m_bCompat783", &cSystemData::m_bCompat783, nullptr, 783, kNoEnd},
    {"OptSnapAlways", &cSystemData::OptSnapAlways, nullptr, 793, kNoEnd},
    {"m_bCompat805", &cSystemData::m_bCompat805, nullptr, 805, kNoEnd},
    {"m_bCompat808", &cSystemData::m_bCompat808, nullptr, 808, kNoEnd},
    {"m_bCompat818", &cSystemData::m_bCompat818, nullptr, 818, kNoEnd},
    {"OptNoGraceOnFly", &cSystemData::OptNoGraceOnFly, nullptr, 818, kNoEnd},
    {"m_bCompat819", &cSystemData::m_bCompat819, nullptr, 819, kNoEnd},
    {"m_bCompat822", &cSystemData::m_bCompat822, nullptr, 822, kNoEnd},
    {"OptKeepHeroDef", &cSystemData::OptKeepHeroDef, nullptr, 827, kNoEnd},
    {"OptScaleFromFeet", &cSystemData::OptScaleFromFeet, nullptr, 831, kNoEnd},
    {"m_bCompat833", &cSystemData::m_bCompat833, nullptr, 833, kNoEnd},
    {"OptSummonCrushAll", &cSystemData::OptSummonCrushAll, nullptr, 837, kNoEnd},
    {"m_bCompat839", &cSystemData::m_bCompat839, nullptr, 839, kNoEnd},
    {"OptImpactYForce", &cSystemData::OptImpactYForce, nullptr, 841, kNoEnd},
    {"OptRepeatJumpLaunch", &cSystemData::OptRepeatJumpLaunch, nullptr, 845, kNoEnd},
    {"OptEnemyJumpWaitsGrace", &cSystemData::OptEnemyJumpWaitsGrace, nullptr, 845, kNoEnd},
    {"OptJumpGravityCorrection", &cSystemData::OptJumpGravityCorrection, nullptr, 845, kNoEnd},
    {"OptRideGroundedNoY", &cSystemData::OptRideGroundedNoY, nullptr, 845, kNoEnd},
    {"m_bCompat861", &cSystemData::m_bCompat861, nullptr, 861, kNoEnd},
    {"m_bCompat875", &cSystemData::m_bCompat875, nullptr, 875, kNoEnd},
    {"m_bCompat894", &cSystemData::m_bCompat894, nullptr, 894, kNoEnd},
    {"m_bCompat895", &cSystemData::m_bCompat895, nullptr, 895, kNoEnd},
    {"m_bCompat896", &cSystemData::m_bCompat896, nullptr, 896, kNoEnd},
    {"OptImpactYKeepPrevious", &cSystemData::OptImpactYKeepPrevious, nullptr, 897, kNoEnd},
    {"m_bCompat904", &cSystemData::m_bCompat904, nullptr, 904, kNoEnd},
    {"OptSimpleWalls", &cSystemData::OptSimpleWalls, nullptr, 912, kNoEnd},
    {"OptKeepScreenRect", &cSystemData::OptKeepScreenRect, nullptr, 913, kNoEnd},
    {"m_bCompat981", &cSystemData::m_bCompat981, nullptr, 981, kNoEnd},
    {"m_bCompat986", &cSystemData::m_bCompat986, nullptr, 986, kNoEnd},
    {"m_nDepthDirect3D", &cSystemData::m_nDepthDirect3D, nullptr, 670, kNoEnd},
    {"m_nDepthDirectDraw", &cSystemData::m_nDepthDirectDraw, nullptr, 670, kNoEnd},
    {"m_bNoFreeStage", &cSystemData::m_bNoFreeStage, nullptr, 880, kNoEnd},
};

const SysFieldDef* FindSysField(const char* name) {
    for (const SysFieldDef& def : g_SysFieldDefs) {
        if (def.name && std::strcmp(def.name, name) == 0) return &def;
    }
    return nullptr;
}

cSystemData::cSystemData() { SetDefaults(); }

namespace {

BgmRecordCountFn g_pfnBgmRecordCount = nullptr;

// One list of the file: int32 count, then the elements. A byte or int list
// keeps its content for a count of 0 or less; a string or record list is
// emptied and filled. A count that the bytes left cannot hold fails.
template <class T>
void ReadList(cByteReader& r, const cLoadContext& ctx, cCheckedVector<T>& vec, const char* name) {
    if (!r.ok()) return;
    const size_t countAt = r.Offset();
    const int32_t n = r.ReadInt32(name);
    if (!r.ok()) return;
    if constexpr (std::is_arithmetic_v<T>) {
        if (n <= 0) return;
        if (static_cast<uint64_t>(n) * sizeof(T) > r.Left()) {
            r.Failf("bad count %d of %s at offset %zu (%zu bytes left)", n, name, countAt, r.Left());
            return;
        }
        vec.resize(static_cast<size_t>(n));
        r.ReadBytes(vec.data(), sizeof(T) * static_cast<size_t>(n), name);
    } else {
        vec.clear();
        if (n <= 0) return;
        // A string takes at least its length word, a record body its two counts.
        const uint64_t minBytes = std::is_same_v<T, std::string> ? 4 : 8;
        if (static_cast<uint64_t>(n) * minBytes > r.Left()) {
            r.Failf("bad count %d of %s at offset %zu (%zu bytes left)", n, name, countAt, r.Left());
            return;
        }
        vec.resize(static_cast<size_t>(n));
        for (T& e : vec) {
            if constexpr (std::is_same_v<T, std::string>) {
                if (!r.ReadString(e, name)) return;
                if (ctx.bStripCR) std::erase(e, '\r');
            } else {
                if (!e.Load(r, ctx)) return;
            }
        }
    }
}

template <class T>
void WriteList(cByteWriter& w, uint32_t nVersion, cCheckedVector<T>& vec) {
    w.WriteInt32(static_cast<int32_t>(vec.size()));
    if constexpr (std::is_arithmetic_v<T>) {
        if (!vec.empty()) w.WriteBytes(vec.data(), sizeof(T) * vec.size());
    } else if constexpr (std::is_same_v<T, std::string>) {
        for (const std::string& e : vec) w.WriteString(e);
    } else {
        for (T& e : vec) e.SaveAs(w, nVersion);
    }
}

}  // namespace

void SetBgmRecordCountSource(BgmRecordCountFn source) { g_pfnBgmRecordCount = source; }

bool cSysMenuFlags::LoadExtra(cByteReader& r, const cLoadContext&) {
    const int32_t n = r.ReadInt32("m_vecKinds");
    if (!r.ok() || n < 1) return r.ok();
    if (static_cast<uint64_t>(n) > r.Left()) {
        return r.Failf("bad count %d of m_vecKinds (%zu bytes left)", n, r.Left());
    }
    m_vecKinds.resize(static_cast<size_t>(n));
    return r.ReadBytes(m_vecKinds.data(), m_vecKinds.size(), "m_vecKinds");
}

void cSysMenuFlags::SaveExtra(cByteWriter& w, uint32_t nVersion) { WriteList(w, nVersion, m_vecKinds); }

void cSysMenuFlags::DumpExtra(cDumper& d) {
    record_detail::DumpPass p(g_nDataVersion, d, 2);
    p.Vector("m_vecKinds", m_vecKinds);
}

bool cSystemData::LoadExtra(cByteReader& r, const cLoadContext& ctx) {
    ReadList(r, ctx, m_vecCarryOver, "m_vecCarryOver");
    if (ctx.Above(500)) ReadList(r, ctx, m_vecProgressClear, "m_vecProgressClear");
    ReadList(r, ctx, m_vecStatusItems, "m_vecStatusItems");
    ReadList(r, ctx, m_vecStartLives, "m_vecStartLives");
    if (ctx.Above(190)) ReadList(r, ctx, m_vecInfiniteLives, "m_vecInfiniteLives");
    if (ctx.Above(185)) ReadList(r, ctx, m_vecRankingSets, "m_vecRankingSets");
    ReadList(r, ctx, m_vecTexts, "m_vecTexts");
    ReadList(r, ctx, m_vecSeFiles, "m_vecSeFiles");
    ReadList(r, ctx, m_vecSceneBgm, "m_vecSceneBgm");
    if (ctx.Above(201)) ReadList(r, ctx, m_vecSceneBgmRepeat, "m_vecSceneBgmRepeat");
    ReadList(r, ctx, m_vecTitleMenu, "m_vecTitleMenu");
    ReadList(r, ctx, m_vecMapMenu, "m_vecMapMenu");
    ReadList(r, ctx, m_vecOptionMenu, "m_vecOptionMenu");
    if (ctx.Above(673)) ReadList(r, ctx, m_vecRankingModeLabels, "m_vecRankingModeLabels");
    if (ctx.Above(960)) {
        ReadList(r, ctx, m_vecReplaySaveLabels, "m_vecReplaySaveLabels");
        ReadList(r, ctx, m_vecReplayOrderLabels, "m_vecReplayOrderLabels");
    }
    ReadList(r, ctx, m_vecSettings, "m_vecSettings");
    return r.ok();
}

void cSystemData::SaveExtra(cByteWriter& w, uint32_t v) {
    WriteList(w, v, m_vecCarryOver);
    if (v > 500) WriteList(w, v, m_vecProgressClear);
    WriteList(w, v, m_vecStatusItems);
    WriteList(w, v, m_vecStartLives);
    if (v > 190) WriteList(w, v, m_vecInfiniteLives);
    if (v > 185) WriteList(w, v, m_vecRankingSets);
    WriteList(w, v, m_vecTexts);
    WriteList(w, v, m_vecSeFiles);
    WriteList(w, v, m_vecSceneBgm);
    if (v > 201) WriteList(w, v, m_vecSceneBgmRepeat);
    WriteList(w, v, m_vecTitleMenu);
    WriteList(w, v, m_vecMapMenu);
    WriteList(w, v, m_vecOptionMenu);
    if (v > 673) WriteList(w, v, m_vecRankingModeLabels);
    if (v > 960) {
        WriteList(w, v, m_vecReplaySaveLabels);
        WriteList(w, v, m_vecReplayOrderLabels);
    }
    WriteList(w, v, m_vecSettings);
}

void cSystemData::DumpExtra(cDumper& d) {
    record_detail::DumpPass p(g_nDataVersion, d, 2);
    p.Vector("m_vecCarryOver", m_vecCarryOver);
    p.Vector("m_vecProgressClear", m_vecProgressClear);
    p.Vector("m_vecStatusItems", m_vecStatusItems);
    p.Vector("m_vecStartLives", m_vecStartLives);
    p.Vector("m_vecInfiniteLives", m_vecInfiniteLives);
    p.Vector("m_vecRankingSets", m_vecRankingSets);
    p.Vector("m_vecTexts", m_vecTexts);
    p.Vector("m_vecSeFiles", m_vecSeFiles);
    p.Vector("m_vecSceneBgm", m_vecSceneBgm);
    p.Vector("m_vecSceneBgmRepeat", m_vecSceneBgmRepeat);
    p.Vector("m_vecTitleMenu", m_vecTitleMenu);
    p.Vector("m_vecMapMenu", m_vecMapMenu);
    p.Vector("m_vecOptionMenu", m_vecOptionMenu);
    p.Vector("m_vecRankingModeLabels", m_vecRankingModeLabels);
    p.Vector("m_vecReplaySaveLabels", m_vecReplaySaveLabels);
    p.Vector("m_vecReplayOrderLabels", m_vecReplayOrderLabels);
    p.Vector("m_vecSettings", m_vecSettings);
}

void cSystemData::OnLoaded(const cLoadContext& ctx) {
    Upgrade(ctx.nVersion);
    // The upgrade's default texts lose their CRs as the stored ones did.
    if (ctx.bStripCR && ctx.nVersion < g_nDataVersion) StripCR();
    PadLists();
    ClampSceneBgm();
}

void cSystemData::ClearFieldBlock() {
    for (const SysFieldDef& def : g_SysFieldDefs) {
        if (def.i32) this->*def.i32 = 0;
        if (def.u8) this->*def.u8 = 0;
    }
    m_strTitle.clear();
    m_strOptionNote.clear();
}

namespace {

// Appends the entries of the default list past the end of the list.
template <class T>
void PadTo(cCheckedVector<T>& vec, const cCheckedVector<T>& defaults) {
    for (size_t i = vec.size(); i < defaults.size(); ++i) vec.push_back(defaults[i]);
}

// Characters of a CP932 text; a two-byte character counts one.
int CharCount(const std::string& s) {
    int n = 0;
    for (size_t i = 0; i < s.size(); ++i, ++n) {
        if (platform::IsSjisLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ++i;
    }
    return n;
}

}  // namespace

void cSystemData::PadLists() {
    const cSystemData& def = SystemDataDefaults();
    PadTo(m_vecCarryOver, def.m_vecCarryOver);
    PadTo(m_vecProgressClear, def.m_vecProgressClear);
    PadTo(m_vecStatusItems, def.m_vecStatusItems);
    PadTo(m_vecStartLives, def.m_vecStartLives);
    PadTo(m_vecInfiniteLives, def.m_vecInfiniteLives);
    PadTo(m_vecRankingSets, def.m_vecRankingSets);
    for (size_t i = 0; i < m_vecRankingSets.size(); ++i) {
        cCheckedVector<uint8_t>& kinds = m_vecRankingSets[i].m_vecKinds;
        if (i < def.m_vecRankingSets.size()) {
            PadTo(kinds, def.m_vecRankingSets[i].m_vecKinds);
        } else if (kinds.size() < static_cast<size_t>(kSysRankingKindCount)) {
            kinds.resize(kSysRankingKindCount, 0);
        }
    }
    PadTo(m_vecTexts, def.m_vecTexts);
    PadTo(m_vecSeFiles, def.m_vecSeFiles);
    PadTo(m_vecSceneBgm, def.m_vecSceneBgm);
    PadTo(m_vecSceneBgmRepeat, def.m_vecSceneBgmRepeat);
    PadTo(m_vecTitleMenu, def.m_vecTitleMenu);
    PadTo(m_vecMapMenu, def.m_vecMapMenu);
    PadTo(m_vecOptionMenu, def.m_vecOptionMenu);
    PadTo(m_vecRankingModeLabels, def.m_vecRankingModeLabels);
    PadTo(m_vecReplaySaveLabels, def.m_vecReplaySaveLabels);
    PadTo(m_vecReplayOrderLabels, def.m_vecReplayOrderLabels);
    PadTo(m_vecSettings, def.m_vecSettings);
}

void cSystemData::ClampSceneBgm() {
    ClampSceneBgm(g_pfnBgmRecordCount ? g_pfnBgmRecordCount() : INT_MAX);
}

void cSystemData::ClampSceneBgm(int bgmRecordCount) {
    for (int32_t& bgm : m_vecSceneBgm) {
        if (bgm < 0 || bgm >= bgmRecordCount) bgm = 0;
    }
}

int cSystemData::CountEnabled(int gameType) const {
    const cSysMenuFlags& set = m_vecRankingSets.at(gameType);
    if (set.m_bEnabled == 0) return 0;
    int n = 0;
    for (uint8_t kind : set.m_vecKinds) n += kind != 0 ? 1 : 0;
    return n;
}

int cSystemData::WidestText(int first, int count) const {
    int widest = 0;
    for (int i = 0; i < count; ++i) {
        const int n = CharCount(m_vecTexts.at(static_cast<long long>(first) + i));
        if (n > widest) widest = n;
    }
    return widest;
}

int cSystemData::MenuColumnCenterX(int x, int first, int count, int cursor) const {
    return x - ((cursor ? 1 : 0) + WidestText(first, count)) * 16 / 2;
}

int cSystemData::IsAtThreshold(int item, int value, int maximum) const {
    const cSysStatusItem& it = m_vecStatusItems.at(item);
    if (it.m_bWarnPercent) {
        // value * 100 / 0 is +inf for a positive value and no number for 0,
        // neither of which a level reaches; -inf for a negative value.
        if (maximum == 0) return value < 0 ? 1 : 0;
        return it.m_nWarnLevel >= value * 100.0 / maximum ? 1 : 0;
    }
    return value <= it.m_nWarnLevel ? 1 : 0;
}

const std::string& cSystemData::FontFaceName() const {
    if (m_nFontFace >= 0 && m_nFontFace < static_cast<int>(g_FontNameList.size())) {
        return g_FontNameList[m_nFontFace];
    }
    return g_FontNameList.at(kSysDefaultFontFace);
}

// g_SystemData is built with the other global objects (records/globals.cpp).
