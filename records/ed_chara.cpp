#include "records/ed_chara.h"

#include <algorithm>

// The record passes, compiled once here (see records/data_record.h).
template class cRecord<cEdChara>;

cEdChara::cEdChara() = default;
cEdChara::cEdChara(const cEdChara&) = default;
cEdChara::cEdChara(cEdChara&&) noexcept = default;
cEdChara& cEdChara::operator=(const cEdChara&) = default;
cEdChara& cEdChara::operator=(cEdChara&&) noexcept = default;
cEdChara::~cEdChara() = default;

namespace {

using Group = cInheritGroup<cEdChara>;

#define G1(a) {#a, [](cEdChara& d, const cEdChara& s) { d.a = s.a; }}
#define G2(a, b)                                     \
    {#a " " #b, [](cEdChara& d, const cEdChara& s) { \
         d.a = s.a;                                  \
         d.b = s.b;                                  \
     }}
#define G3(a, b, c)                                         \
    {#a " " #b " " #c, [](cEdChara& d, const cEdChara& s) { \
         d.a = s.a;                                         \
         d.b = s.b;                                         \
         d.c = s.c;                                         \
     }}

const Group kCharaInheritTable[cEdChara::kGroups] = {
    G1(m_strName),                                          // 0
    G2(m_nSide, m_nPlayer),                                 // 1
    G1(m_nGroup),                                           // 2
    G1(m_nCharaId),                                         // 3
    G3(m_vecCond, m_nCondMode, m_bCondLatch),               // 4
    G1(m_nFacing),                                          // 5
    G1(m_nCopies),                                          // 6
    G3(m_nCopyOffsetX, m_nCopyStepX, m_bMirrorCopyX),       // 7
    G3(m_nCopyOffsetY, m_nCopyStepY, m_bMirrorCopyY),       // 8
    G3(m_nGraphic, m_nGraphicKind, m_nGraphicCell),         // 9
    G1(m_nAnimeSet),                                        // 10
    G1(m_nZ),                                               // 11
    G1(m_bTransparent),                                     // 12
    G3(m_nCharaEffect, m_nCharaEffectA, m_nCharaEffectB),   // 13
    G2(m_nVanishEffect, m_nVanishEffectA),                  // 14
    G2(m_bBadge, m_nBadge),                                 // 15
    G1(m_bFixedFacing),                                     // 16
    G1(m_nMoveType),                                        // 17
    G2(m_nInvincible, m_nInvincibleBlend),                  // 18
    G1(m_bBlockChara),                                      // 19
    G1(m_nSize),                                            // 20
    G1(m_bSyncAutoScroll),                                  // 21
    G2(m_nLightShape, m_nViewRange),                        // 22
    G1(m_nMaxHP),                                           // 23
    G1(m_nMaxSP),                                           // 24
    G1(m_nHitRange),                                        // 25
    G1(m_nAttack),                                          // 26
    G1(m_nImpact),                                          // 27
    G1(m_nHitEffect),                                       // 28
    G1(m_nDefence),                                         // 29
    G1(m_nImpactResist),                                    // 30
    G1(m_nFriction),                                        // 31
    G2(m_nActivationRange, m_nActivationMode),              // 32
    G2(m_bActivationSwitch, m_nActivationSwitchNo),         // 33
    G1(m_nScore),                                           // 34
    G1(m_bExtraSwitch),                                     // 35
    G1(m_vecFlow),                                          // 36 (each flow deep)
};

#undef G1
#undef G2
#undef G3

// Database indexes are compared unsigned: a negative one counts as too large.
bool OutsideTable(int16_t v, int nSize) { return nSize >= 0 && static_cast<uint16_t>(v) >= nSize; }

// The flags of groups that a version introduced: resized to 37 (new flags
// 0), flags from `first` up to 35 moved up by one (the last one dropped)
// and the new group's flag set, so that a definition referring to an entry
// takes the new member from it.
void InsertGroupFlag(std::vector<uint8_t>& flags, size_t first) {
    flags.resize(cEdChara::kGroups, 0);
    for (size_t i = cEdChara::kGroups - 1; i > first; --i) flags[i] = flags[i - 1];
    flags[first] = 1;
}

}  // namespace

std::span<const cInheritGroup<cEdChara>> cEdChara::InheritTable() { return kCharaInheritTable; }

bool IsEmptyFlow(const cEdFlow& f) {
    return f.m_nId == 0 && f.m_nFlowGroup == 0 && f.m_nTrigger == 0 && f.m_vecCond.empty() &&
           f.m_vecKeyCond.empty() && f.m_vecCmd.empty();
}

bool cEdChara::LoadExtra(cByteReader& r, const cLoadContext& ctx) { return LoadFlowVector(r, ctx, m_vecFlow); }

void cEdChara::SaveExtra(cByteWriter& w, uint32_t nVersion) { SaveFlowVector(w, nVersion, m_vecFlow); }

void cEdChara::DumpExtra(cDumper& d) {
    DumpRecordVector(d, "m_vecFlow", m_vecFlow);
    d.Line("inherited groups", InheritedGroupsText(m_vecInherit, InheritTable()));
}

void cEdChara::OnLoaded(const cLoadContext& ctx) {
    const cDefContext def = CurrentDefContext();
    if (def.bDropTestPlayFlows) RemoveTestPlayFlows(m_vecFlow);
    if (ctx.Below(kDataVersion)) Upgrade(ctx);
    Inherit(def);
    ValidateRefs(def);
}

void cEdChara::Upgrade(const cLoadContext& ctx) {
    if (ctx.Below(168)) {
        m_nDefence = 0;
        InsertGroupFlag(m_vecInherit, 27);
    }
    if (ctx.Below(196)) {
        m_nCharaEffectA = 0;
        m_nVanishEffectA = 0;
    }
    if (ctx.Below(201)) {
        m_nHitRange = 0;
        InsertGroupFlag(m_vecInherit, 24);
    }
    if (ctx.Below(206) && m_nHitRange >= 2) ++m_nHitRange;
    if (ctx.Below(210)) {
        m_bSyncAutoScroll = 0;
        InsertGroupFlag(m_vecInherit, 21);
    }
    UpgradeShotGraphic(*this, ctx);
    if (ctx.Below(285)) m_nInvincibleBlend = 1;
}

void cEdChara::Init() {
    m_nCarriedItem = 0;
    Clear();
    m_vecInherit.assign(kGroups, 0);
    m_nGraphicKind = 1;
    m_nZ = 3;
    m_nCharaEffectB = 1;
    m_nSide = 1;
    m_nGroup = 1;
    m_bFixedFacing = 1;
    m_nSize = 1;
    m_nMaxHP = 10;
    m_nFriction = 10;
    m_bExtraSwitch = 1;
}

void cEdChara::Inherit(const cDefContext& ctx) {
    InheritGroups(*this, ctx.common.pCharas, ctx.stage.pCharas, InheritTable());
}

void cEdChara::ValidateRefs(const cDefContext& ctx) {
    if (RefOutside(m_nPaletteSource, m_nPaletteIndex, ctx.common.Charas(), ctx.stage.Charas())) {
        m_nPaletteSource = PAL_NONE;
        m_nPaletteIndex = 0;
    }
    if (m_nGraphicKind == 4 && OutsideTable(m_nGraphic, ctx.TableSize(FlowRefTable::CharaBitmap))) m_nGraphic = 1;
    if (m_nSize <= 0) m_nSize = 1;
    if (OutsideTable(m_nAnimeSet, ctx.TableSize(FlowRefTable::AnimeSet))) m_nAnimeSet = 0;
    if (OutsideTable(m_nCharaEffect, ctx.TableSize(FlowRefTable::CharaEffect))) m_nCharaEffect = 0;
    if (OutsideTable(m_nVanishEffect, ctx.TableSize(FlowRefTable::CharaEffect))) m_nVanishEffect = 0;
    if (OutsideTable(m_nHitEffect, ctx.TableSize(FlowRefTable::Effect))) m_nHitEffect = 0;
    if (m_nSide == 0) {
        m_bBlockChara = 0;
        m_nCopies = 0;
    }
    for (cEdFlow& f : m_vecFlow) f.Validate();
    std::erase_if(m_vecFlow, IsEmptyFlow);
}

void cEdChara::ValidateCommandRefs(const cDefContext& ctx) {
    const cPaletteCounts common = ctx.common.Counts(), stage = ctx.stage.Counts();
    for (cEdFlow& f : m_vecFlow) f.ValidateCommandRefs(common, stage);
}

int cEdChara::CalcScaledX(int n, int nFacing) const {
    const int v = n * m_nCopyStepX + m_nCopyOffsetX;
    return nFacing == 1 && m_bMirrorCopyX ? -v : v;
}

int cEdChara::CalcScaledY(int n, int nFacing) const {
    const int v = n * m_nCopyStepY + m_nCopyOffsetY;
    return nFacing == 1 && m_bMirrorCopyY ? -v : v;
}
