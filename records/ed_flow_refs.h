// What the flow definitions need to know about the rest of the game data
// when they check themselves: the sizes of the database tables their
// commands refer to, the durations of the sword types' parts, the entry
// counts of the two palettes, and whether flows meant for test plays only
// are kept when definitions are read.
//
// The database installs a source once it is loaded (SetFlowRefSource);
// without one, the database reference checks of a command are skipped and
// only its parameter vector is brought to its kind's count.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

enum class FlowRefTable : int {
    AnimeSet = 0,
    Anime,
    CharaBitmap,
    SwordType,
    Effect,
    CharaEffect,
    ScreenEffect,
    Picture,
    Sound,
    Bgm,
    Count
};

class cFlowRefSource {
public:
    virtual ~cFlowRefSource() = default;
    // Number of entries of a database table.
    virtual int TableSize(FlowRefTable t) const = 0;
    // The m_nDuration of every part of sword type n, in order
    // (0 <= n < TableSize(SwordType)).
    virtual std::vector<int32_t> SwordPartDurations(int nSwordType) const = 0;
};

// A plain source: the counts and the sword parts held by value.
class cFlowRefCounts : public cFlowRefSource {
public:
    std::array<int, static_cast<int>(FlowRefTable::Count)> anSize{};
    // One entry per sword type: the durations of its parts.
    std::vector<std::vector<int32_t>> vecSwordDurations;

    void Set(FlowRefTable t, int n) { anSize[static_cast<int>(t)] = n; }
    int TableSize(FlowRefTable t) const override { return anSize[static_cast<int>(t)]; }
    std::vector<int32_t> SwordPartDurations(int nSwordType) const override;
};

// The source the command checks read; null (the start) means none.
void SetFlowRefSource(const cFlowRefSource* pSource);
const cFlowRefSource* FlowRefSource();

// Entry counts of one palette, for the reference checks made before a
// palette or a stage is saved.
struct cPaletteCounts {
    int nBlocks = 0;
    int nCharas = 0;
    int nItems = 0;
};

// Flows flagged for test plays are kept when the play was started by the
// editor for a test (bEditorTest) or when the system data keeps them
// (bKeepFlaggedFlows); otherwise reading definitions drops them. Both are
// 0 at the start.
void SetTestPlayFlowPolicy(bool bEditorTest, bool bKeepFlaggedFlows);
// True when flagged flows are to be dropped as definitions are read.
bool DropTestPlayFlows();
