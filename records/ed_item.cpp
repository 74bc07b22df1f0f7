#include "records/ed_item.h"

// The record passes, compiled once here (see records/data_record.h).
template class cRecord<cEdItem>;

cEdItem::cEdItem() = default;
cEdItem::cEdItem(const cEdItem&) = default;
cEdItem::cEdItem(cEdItem&&) noexcept = default;
cEdItem& cEdItem::operator=(const cEdItem&) = default;
cEdItem& cEdItem::operator=(cEdItem&&) noexcept = default;
cEdItem::~cEdItem() = default;

namespace {

using Group = cInheritGroup<cEdItem>;

#define G1(a) {#a, [](cEdItem& d, const cEdItem& s) { d.a = s.a; }}
#define G2(a, b)                                   \
    {#a " " #b, [](cEdItem& d, const cEdItem& s) { \
         d.a = s.a;                                \
         d.b = s.b;                                \
     }}
#define G3(a, b, c)                                       \
    {#a " " #b " " #c, [](cEdItem& d, const cEdItem& s) { \
         d.a = s.a;                                       \
         d.b = s.b;                                       \
         d.c = s.c;                                       \
     }}

const Group kItemInheritTable[cEdItem::kGroups] = {
    G1(m_strName),                                   // 0
    G3(m_vecCond, m_nCondMode, m_bCondLatch),        // 1
    G1(m_nOffsetX),                                  // 2
    G1(m_nOffsetY),                                  // 3
    G3(m_nGraphic, m_nGraphicKind, m_nGraphicCell),  // 4
    G1(m_nSetting5),                                 // 5
    G1(m_bHidden),                                   // 6
    G2(m_bOverlay, m_nOverlayIcon),                  // 7
    G1(m_nSize),                                     // 8
    G1(m_nTakeMode),                                 // 9
    G1(m_bPickupWindow),                             // 10
    G1(m_nSound),                                    // 11
    G1(m_vecCmd),                                    // 12 (each command deep)
};

#undef G1
#undef G2
#undef G3

}  // namespace

std::span<const cInheritGroup<cEdItem>> cEdItem::InheritTable() { return kItemInheritTable; }

void cEdItem::DumpExtra(cDumper& d) {
    d.Line("inherited groups", InheritedGroupsText(m_vecInherit, InheritTable()));
}

void cEdItem::OnLoaded(const cLoadContext& ctx) {
    UpgradeShotGraphic(*this, ctx);
    const cDefContext def = CurrentDefContext();
    Inherit(def);
    ValidateRefs(def);
}

void cEdItem::Init() {
    Clear();
    m_vecInherit.assign(kGroups, 0);
    m_nGraphicKind = 2;
    m_nGraphic = 0;
    m_bPickupWindow = 1;
    m_nSize = 1;
    m_nSetting5 = 6;
}

void cEdItem::Inherit(const cDefContext& ctx) {
    InheritGroups(*this, ctx.common.pItems, ctx.stage.pItems, InheritTable());
}

void cEdItem::ValidateRefs(const cDefContext& ctx) {
    if (RefOutside(m_nPaletteSource, m_nPaletteIndex, ctx.common.Items(), ctx.stage.Items())) {
        m_nPaletteSource = PAL_NONE;
        m_nPaletteIndex = 0;
    }
    if (m_nSize <= 0) m_nSize = 1;
    const int nSounds = ctx.TableSize(FlowRefTable::Sound);
    if (nSounds >= 0 && static_cast<uint16_t>(m_nSound) >= nSounds) m_nSound = 0;
    for (cEdFlowCmd& c : m_vecCmd) c.Validate();
}

void cEdItem::ValidateCommandRefs(const cDefContext& ctx) {
    const cPaletteCounts common = ctx.common.Counts(), stage = ctx.stage.Counts();
    for (cEdFlowCmd& c : m_vecCmd) c.ValidateRefs(common, stage);
}

const cEdItem* FindItemDef(int nSource, int16_t nIndex, const cDefContext& ctx) {
    if (nSource != PAL_COMMON && nSource != PAL_STAGE) return nullptr;
    return PaletteEntry(ctx.SetOf(static_cast<int8_t>(nSource))->pItems, nIndex);
}

const cEdItem* FindItemDef(int nSource, int16_t nIndex) { return FindItemDef(nSource, nIndex, CurrentDefContext()); }
