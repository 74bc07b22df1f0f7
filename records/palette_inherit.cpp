#include "records/palette_inherit.h"

#include "records/common_palette.h"
#include "records/ed_block.h"
#include "records/ed_chara.h"
#include "records/ed_item.h"

namespace {

thread_local const cDefContext* t_pCurrent = nullptr;
cPaletteSet s_StagePalettes;
bool s_bStagePalettes = false;

template <class T>
int SizeOf(const std::vector<T>* p) {
    return p ? static_cast<int>(std::min<size_t>(p->size(), INT32_MAX)) : 0;
}

// What a stage record holds before any stage is read: one default entry
// per palette.
const cPaletteSet& DefaultStagePalettes() {
    static const std::vector<cEdBlock> blocks(1);
    static const std::vector<cEdChara> charas(1);
    static const std::vector<cEdItem> items(1);
    static const cPaletteSet set{&blocks, &charas, &items};
    return set;
}

}  // namespace

int cPaletteSet::Blocks() const { return SizeOf(pBlocks); }
int cPaletteSet::Charas() const { return SizeOf(pCharas); }
int cPaletteSet::Items() const { return SizeOf(pItems); }

cDefContext ProcessDefContext() {
    cDefContext ctx;
    ctx.common = g_CommonPalette.Palettes();
    ctx.stage = s_bStagePalettes ? s_StagePalettes : DefaultStagePalettes();
    ctx.pDatabase = FlowRefSource();
    ctx.bDropTestPlayFlows = DropTestPlayFlows();
    return ctx;
}

cDefContext CurrentDefContext() { return t_pCurrent ? *t_pCurrent : ProcessDefContext(); }

cDefContextScope::cDefContextScope(const cDefContext& ctx) : m_Ctx(ctx), m_pPrev(t_pCurrent) {
    t_pCurrent = &m_Ctx;
}

cDefContextScope::~cDefContextScope() { t_pCurrent = m_pPrev; }

void SetStagePalettes(const cPaletteSet* pStage) {
    s_bStagePalettes = pStage != nullptr;
    s_StagePalettes = pStage ? *pStage : cPaletteSet{};
}
