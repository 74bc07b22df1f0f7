// Palette references and inheritance, shared by blocks, charas and items.
//
// A definition may refer to an entry of the common palette or of the stage
// palette (the pair source byte, int16 index; index 0 is the "none" entry
// every palette keeps in front) and take chosen property groups from it:
// one inherit flag per group, and a table of copy functions per class.
//
// What a definition is resolved and checked against comes in through a
// cDefContext: the two sets of palettes, the database table sizes and
// whether flows meant for test plays are dropped. Definitions read the
// innermost cDefContextScope of their thread when they load and save;
// without one they use the process-wide context (the common palette, the
// stage palettes installed with SetStagePalettes, the flow reference
// source and the test-play policy of the flow records).
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "records/byte_stream.h"
#include "records/data_record.h"
#include "records/ed_flow_refs.h"

class cEdBlock;
class cEdChara;
class cEdItem;

// The kind of a palette reference.
enum PaletteSource : int8_t {
    PAL_NONE = 0,
    PAL_COMMON = 1,  // an entry of the common palette
    PAL_STAGE = 2,   // an entry of the palette of the stage being played
};

// One set of palettes (the common palette's or a stage's). A null vector
// counts as empty.
struct cPaletteSet {
    const std::vector<cEdBlock>* pBlocks = nullptr;
    const std::vector<cEdChara>* pCharas = nullptr;
    const std::vector<cEdItem>* pItems = nullptr;

    int Blocks() const;
    int Charas() const;
    int Items() const;
    cPaletteCounts Counts() const { return {Blocks(), Charas(), Items()}; }
};

struct cDefContext {
    cPaletteSet common;
    cPaletteSet stage;
    // Sizes of the database tables; null: database references are not
    // checked (as the flow commands do without a database).
    const cFlowRefSource* pDatabase = nullptr;
    // Flows flagged for test plays are dropped as definitions are read.
    bool bDropTestPlayFlows = true;

    // The palette of a reference's source (PAL_COMMON or PAL_STAGE), else null.
    const cPaletteSet* SetOf(int8_t nSource) const {
        return nSource == PAL_COMMON ? &common : nSource == PAL_STAGE ? &stage : nullptr;
    }
    // The size of a database table; -1 when there is no database.
    int TableSize(FlowRefTable t) const { return pDatabase ? pDatabase->TableSize(t) : -1; }
};

// The context definitions use now on this thread.
cDefContext CurrentDefContext();
// The process-wide context (what CurrentDefContext gives outside any scope).
cDefContext ProcessDefContext();

// Makes a context current on this thread for its lifetime.
class cDefContextScope {
public:
    explicit cDefContextScope(const cDefContext& ctx);
    ~cDefContextScope();
    cDefContextScope(const cDefContextScope&) = delete;
    cDefContextScope& operator=(const cDefContextScope&) = delete;

private:
    cDefContext m_Ctx;
    const cDefContext* m_pPrev;
};

// The stage palettes of the process-wide context (the stage record installs
// its own; the set is copied, the vectors it points at must live on). Null,
// the start: one default entry per palette, as a stage record holds before
// any stage is read.
void SetStagePalettes(const cPaletteSet* pStage);

// ---------------------------------------------------------------------------
// Generic inheritance

template <class Def>
struct cInheritGroup {
    const char* szMembers;  // the members the group copies (for dumps)
    void (*pfnCopy)(Def& dst, const Def& src);
};

// Entry nIndex of a palette vector, or null when the index, taken as an
// unsigned 16-bit value, is not below its size.
template <class Def>
const Def* PaletteEntry(const std::vector<Def>* pPalette, int16_t nIndex) {
    const size_t i = static_cast<uint16_t>(nIndex);
    if (!pPalette || i >= pPalette->size()) return nullptr;
    return &(*pPalette)[i];
}

// True when the reference points outside its palette (sources other than
// PAL_COMMON and PAL_STAGE never do).
inline bool RefOutside(int8_t nSource, int16_t nIndex, int nCommon, int nStage) {
    const int idx = static_cast<uint16_t>(nIndex);
    if (nSource == PAL_COMMON) return idx >= nCommon;
    if (nSource == PAL_STAGE) return idx >= nStage;
    return false;
}

// Takes the flagged groups from the referenced entry, as it is at this
// moment. Nothing for index 0 or PAL_NONE; an index outside the palette
// only resets the source to PAL_NONE; any other source is the definition
// itself (nothing changes). Flags beyond the table are kept but unused.
template <class Def>
void InheritGroups(Def& self, const std::vector<Def>* pCommon, const std::vector<Def>* pStage,
                   std::span<const cInheritGroup<Def>> table) {
    if (self.m_nPaletteIndex == 0 || self.m_nPaletteSource == PAL_NONE) return;
    const Def* src = &self;
    if (self.m_nPaletteSource == PAL_COMMON || self.m_nPaletteSource == PAL_STAGE) {
        src = PaletteEntry(self.m_nPaletteSource == PAL_COMMON ? pCommon : pStage, self.m_nPaletteIndex);
        if (!src) {
            self.m_nPaletteSource = PAL_NONE;
            return;
        }
    }
    if (src == &self) return;
    const size_t n = std::min(self.m_vecInherit.size(), table.size());
    for (size_t i = 0; i < n; ++i)
        if (self.m_vecInherit[i] != 0) table[i].pfnCopy(self, *src);
}

// The names of the flagged groups, "none" when there is none.
template <class Def>
std::string InheritedGroupsText(const std::vector<uint8_t>& flags, std::span<const cInheritGroup<Def>> table) {
    std::string s;
    const size_t n = std::min(flags.size(), table.size());
    for (size_t i = 0; i < n; ++i) {
        if (!flags[i]) continue;
        if (!s.empty()) s += "; ";
        s += std::to_string(i) + " " + table[i].szMembers;
    }
    return s.empty() ? "none" : s;
}

// ---------------------------------------------------------------------------
// Parts shared by the definitions and their palettes

// Graphic numbers of the shot sheet moved up by one in version 219.
template <class Def>
void UpgradeShotGraphic(Def& def, const cLoadContext& ctx) {
    if (ctx.Below(219) && def.m_nGraphicKind == 3) {
        const int g = def.m_nGraphic + 1;
        def.m_nGraphic = static_cast<int16_t>(g > 119 ? 119 : g);
    }
}
