#include "records/common_palette.h"

cCommonPalette g_CommonPalette;

namespace {

// Smallest bodies: the two base counts, the raw members and the part counts.
constexpr size_t kMinBlockBody = 8 + 4 + 4 + 4;
constexpr size_t kMinCharaBody = 8 + 8 + 4 + 4 + 4;
constexpr size_t kMinItemBody = 8 + 4 + 4 + 4 + 4;

template <class Def, class Reset>
bool LoadPalette(cByteReader& r, const cLoadContext& ctx, std::vector<Def>& vec, size_t minBody,
                 const char* what, Reset reset) {
    const int32_t n = r.ReadCount(minBody, what);
    if (!r.ok()) return false;
    Def fresh;
    reset(fresh);
    vec.assign(static_cast<size_t>(n), fresh);
    for (Def& e : vec) {
        if (!e.Load(r, ctx)) {
            if (r.ok()) r.Failf("bad %s entry", what);
            return false;
        }
    }
    return true;
}

template <class Def>
void ZeroFlags(std::vector<Def>& vec) {
    for (Def& e : vec) std::fill(e.m_vecInherit.begin(), e.m_vecInherit.end(), 0);
}

template <class Def>
void PadToTwo(std::vector<Def>& vec, void (Def::*reset)()) {
    while (vec.size() < 2) {
        vec.emplace_back();
        (vec.back().*reset)();
    }
}

}  // namespace

cDefContext cCommonPalette::Context() const {
    cDefContext ctx = CurrentDefContext();
    ctx.common = Palettes();
    return ctx;
}

bool cCommonPalette::LoadExtra(cByteReader& r, const cLoadContext& ctx) {
    const cDefContextScope scope(Context());
    if (!LoadPalette(r, ctx, m_vecBlockPalette, kMinBlockBody, "block palette",
                     [](cEdBlock& b) { b.SetDefaults(); }))
        return false;
    if (!LoadPalette(r, ctx, m_vecCharaPalette, kMinCharaBody, "chara palette", [](cEdChara& c) { c.Init(); }))
        return false;
    if (!LoadPalette(r, ctx, m_vecItemPalette, kMinItemBody, "item palette", [](cEdItem& i) { i.Init(); }))
        return false;

    // Entry 0 stands for none; the block keeps its conditions and cell, the
    // chara and the item their conditions, flows and commands.
    if (!m_vecBlockPalette.empty()) m_vecBlockPalette[0].SetDefaults();
    if (!m_vecCharaPalette.empty()) m_vecCharaPalette[0].Init();
    if (!m_vecItemPalette.empty()) m_vecItemPalette[0].Init();

    ZeroFlags(m_vecBlockPalette);
    ZeroFlags(m_vecCharaPalette);
    ZeroFlags(m_vecItemPalette);
    PrepareSave();
    return r.ok();
}

void cCommonPalette::PrepareSave() {
    PadToTwo(m_vecBlockPalette, &cEdBlock::SetDefaults);
    PadToTwo(m_vecCharaPalette, &cEdChara::Init);
    PadToTwo(m_vecItemPalette, &cEdItem::Init);
    const cDefContext ctx = Context();
    for (cEdBlock& b : m_vecBlockPalette) {
        b.ValidateRefs(ctx);
        b.ValidateItemRef(ctx);
    }
    for (cEdChara& c : m_vecCharaPalette) {
        c.ValidateRefs(ctx);
        c.ValidateCommandRefs(ctx);
    }
    for (cEdItem& i : m_vecItemPalette) {
        i.ValidateRefs(ctx);
        i.ValidateCommandRefs(ctx);
    }
}

void cCommonPalette::SaveExtra(cByteWriter& w, uint32_t nVersion) {
    const cDefContextScope scope(Context());
    SaveRecordVector(w, nVersion, m_vecBlockPalette);
    SaveRecordVector(w, nVersion, m_vecCharaPalette);
    SaveRecordVector(w, nVersion, m_vecItemPalette);
}

void cCommonPalette::DumpExtra(cDumper& d) {
    DumpRecordVector(d, "m_vecBlockPalette", m_vecBlockPalette);
    DumpRecordVector(d, "m_vecCharaPalette", m_vecCharaPalette);
    DumpRecordVector(d, "m_vecItemPalette", m_vecItemPalette);
}
