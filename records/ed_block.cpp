#include "records/ed_block.h"

// The record passes, compiled once here (see records/data_record.h).
template class cRecord<cEdBlock>;

cEdBlock::cEdBlock() = default;
cEdBlock::cEdBlock(const cEdBlock&) = default;
cEdBlock::cEdBlock(cEdBlock&&) noexcept = default;
cEdBlock& cEdBlock::operator=(const cEdBlock&) = default;
cEdBlock& cEdBlock::operator=(cEdBlock&&) noexcept = default;
cEdBlock::~cEdBlock() = default;

namespace {

using Group = cInheritGroup<cEdBlock>;

const Group kBlockInheritTable[cEdBlock::kGroups] = {
    {"m_strName", [](cEdBlock& d, const cEdBlock& s) { d.m_strName = s.m_strName; }},
    {"m_vecCond m_nCondMode m_bCondLatch",
     [](cEdBlock& d, const cEdBlock& s) {
         d.m_vecCond = s.m_vecCond;
         d.m_nCondMode = s.m_nCondMode;
         d.m_bCondLatch = s.m_bCondLatch;
     }},
    {"m_nGraphicKind m_nGraphic m_nGraphicCell",
     [](cEdBlock& d, const cEdBlock& s) {
         d.m_nGraphicKind = s.m_nGraphicKind;
         d.m_nGraphic = s.m_nGraphic;
         d.m_nGraphicCell = s.m_nGraphicCell;
     }},
    {"m_nLayer", [](cEdBlock& d, const cEdBlock& s) { d.m_nLayer = s.m_nLayer; }},
    {"m_bHidden", [](cEdBlock& d, const cEdBlock& s) { d.m_bHidden = s.m_bHidden; }},
    {"m_bOverlay m_nOverlayIcon",
     [](cEdBlock& d, const cEdBlock& s) {
         d.m_bOverlay = s.m_bOverlay;
         d.m_nOverlayIcon = s.m_nOverlayIcon;
     }},
    {"m_nHitMode", [](cEdBlock& d, const cEdBlock& s) { d.m_nHitMode = s.m_nHitMode; }},
    {"m_nExemptGroup", [](cEdBlock& d, const cEdBlock& s) { d.m_nExemptGroup = s.m_nExemptGroup; }},
    {"m_nFootEffect m_nFootValue",
     [](cEdBlock& d, const cEdBlock& s) {
         d.m_nFootEffect = s.m_nFootEffect;
         d.m_nFootValue = s.m_nFootValue;
     }},
    {"m_nItemSource m_nItemIndex",
     [](cEdBlock& d, const cEdBlock& s) {
         d.m_nItemSource = s.m_nItemSource;
         d.m_nItemIndex = s.m_nItemIndex;
     }},
    {"m_bNoOverwrite", [](cEdBlock& d, const cEdBlock& s) { d.m_bNoOverwrite = s.m_bNoOverwrite; }},
};

}  // namespace

std::span<const cInheritGroup<cEdBlock>> cEdBlock::InheritTable() { return kBlockInheritTable; }

void cEdBlock::DumpExtra(cDumper& d) {
    d.Line("inherited groups", InheritedGroupsText(m_vecInherit, InheritTable()));
}

void cEdBlock::OnLoaded(const cLoadContext& ctx) {
    UpgradeShotGraphic(*this, ctx);
    const cDefContext def = CurrentDefContext();
    Inherit(def);
    ValidateRefs(def);
}

void cEdBlock::SetDefaults() {
    Clear();
    m_nHitMode = HIT_SOLID;
    m_vecInherit.assign(kGroups, 0);
    m_nExemptGroup = -1;
    m_nGraphic = 0;
}

void cEdBlock::Inherit(const cDefContext& ctx) {
    InheritGroups(*this, ctx.common.pBlocks, ctx.stage.pBlocks, InheritTable());
}

void cEdBlock::ValidateRefs(const cDefContext& ctx) {
    if (RefOutside(m_nPaletteSource, m_nPaletteIndex, ctx.common.Blocks(), ctx.stage.Blocks())) {
        m_nPaletteSource = PAL_NONE;
        m_nPaletteIndex = 0;
    }
    if (m_nGraphic == 0) {
        m_nHitMode = HIT_NONE;
        m_bNoOverwrite = 0;
    }
}

void cEdBlock::ValidateItemRef(const cDefContext& ctx) {
    if (RefOutside(m_nItemSource, m_nItemIndex, ctx.common.Items(), ctx.stage.Items())) {
        m_nItemSource = PAL_NONE;
        m_nItemIndex = 0;
    }
}
