#include "records/common_palette.h"

// The record passes, compiled once here (see records/data_record.h).
template class cRecord<cCommonPalette>;

cCommonPalette::cCommonPalette() = default;
cCommonPalette::cCommonPalette(const cCommonPalette&) = default;
cCommonPalette::cCommonPalette(cCommonPalette&&) noexcept = default;
cCommonPalette& cCommonPalette::operator=(const cCommonPalette&) = default;
cCommonPalette& cCommonPalette::operator=(cCommonPalette&&) noexcept = default;
cCommonPalette::~cCommonPalette() = default;

// g_CommonPalette is built with the other global objects (records/globals.cpp).

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

// The groups each entry took, then its flags cleared.
template <class Def>
std::vector<std::string> ZeroFlags(std::vector<Def>& vec) {
    std::vector<std::string> taken;
    taken.reserve(vec.size());
    for (Def& e : vec) {
        const bool bRef = (e.m_nPaletteSource == PAL_COMMON || e.m_nPaletteSource == PAL_STAGE) && e.m_nPaletteIndex != 0;
        taken.push_back(bRef ? InheritedGroupsText(e.m_vecInherit, Def::InheritTable()) : "none");
        std::fill(e.m_vecInherit.begin(), e.m_vecInherit.end(), 0);
    }
    return taken;
}

template <class Def>
void DumpPalette(cDumper& d, const char* name, std::vector<Def>& vec, const std::vector<std::string>& taken) {
    d.Open(std::string(name) + " (" + std::to_string(vec.size()) + ")");
    for (size_t i = 0; i < vec.size(); ++i) {
        d.Open("[" + std::to_string(i) + "]");
        vec[i].Dump(d);
        d.Line("taken while read", i < taken.size() ? taken[i] : "none");
        d.Close();
    }
    d.Close();
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

    m_vecBlockTaken = ZeroFlags(m_vecBlockPalette);
    m_vecCharaTaken = ZeroFlags(m_vecCharaPalette);
    m_vecItemTaken = ZeroFlags(m_vecItemPalette);
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
    DumpPalette(d, "m_vecBlockPalette", m_vecBlockPalette, m_vecBlockTaken);
    DumpPalette(d, "m_vecCharaPalette", m_vecCharaPalette, m_vecCharaTaken);
    DumpPalette(d, "m_vecItemPalette", m_vecItemPalette, m_vecItemTaken);
}
