// The common palette, "data\CommonPalette.cplt4": the block, chara and item
// definitions every stage may refer to (PAL_COMMON).
//
// File (after the version word): int32 0 fields, int32 0 strings, then
// int32 n + n cEdBlock bodies, int32 n + n cEdChara bodies, int32 n + n
// cEdItem bodies. Entry 0 of each palette is the "none" entry and is reset
// to its class's defaults whenever the file is read; common entries never
// inherit once read (their flags end 0, the values they took stay); every
// palette holds at least two entries once read or saved.
#pragma once
#include <string>
#include <vector>

#include "records/data_record.h"
#include "records/ed_block.h"
#include "records/ed_chara.h"
#include "records/ed_item.h"
#include "records/palette_inherit.h"

class cCommonPalette : public cRecord<cCommonPalette> {
public:
    // Compiled once, in common_palette.cpp (copies of the whole record are large).
    cCommonPalette();
    cCommonPalette(const cCommonPalette&);
    cCommonPalette(cCommonPalette&&) noexcept;
    cCommonPalette& operator=(const cCommonPalette&);
    cCommonPalette& operator=(cCommonPalette&&) noexcept;
    ~cCommonPalette() override;

    std::vector<cEdBlock> m_vecBlockPalette = std::vector<cEdBlock>(1);
    std::vector<cEdChara> m_vecCharaPalette = std::vector<cEdChara>(1);
    std::vector<cEdItem> m_vecItemPalette = std::vector<cEdItem>(1);
    // What each entry took from its reference while the file was read, by
    // group names (for dumps only; not stored, since the flags are cleared).
    std::vector<std::string> m_vecBlockTaken, m_vecCharaTaken, m_vecItemTaken;

    template <class F>
    void Fields(F&) {}
    // The three palettes. Each entry is read in place into a palette already
    // sized to the count, so an entry sees the earlier entries as read and
    // the later ones at their defaults.
    bool LoadExtra(cByteReader& r, const cLoadContext& ctx);
    void SaveExtra(cByteWriter& w, uint32_t nVersion);
    void DumpExtra(cDumper& d);
    void OnSaving() { PrepareSave(); }

    // Palettes filled up to two entries, then every reference checked.
    // Entries are resolved against this palette and the current stage
    // palettes.
    void PrepareSave();

    // This palette as a set of palettes.
    cPaletteSet Palettes() const { return {&m_vecBlockPalette, &m_vecCharaPalette, &m_vecItemPalette}; }
    // The current context with this palette as the common one.
    cDefContext Context() const;
};
extern template class cRecord<cCommonPalette>;

extern cCommonPalette g_CommonPalette;
