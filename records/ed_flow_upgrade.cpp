// The parameter upgrades of flow commands read from older files: one row
// per change, walked in order on the running values.
#include <algorithm>
#include <climits>
#include <iterator>

#include "records/cmd_kinds.h"
#include "records/ed_flow.h"

namespace {

using Row = cParamUpgradeRow;
constexpr int kAll = Row::kEveryCommand;
constexpr int kItem1 = Row::kItemFlowChange;

// Parameter i; a parameter the vector lacks reads as 0.
int32_t P(const cEdFlowCmd& c, size_t i) { return i < c.m_vecParam.size() ? c.m_vecParam[i] : 0; }
// Parameter i for writing; a short vector grows (with zeros) to hold it.
int32_t& W(cEdFlowCmd& c, size_t i) {
    if (i >= c.m_vecParam.size()) c.m_vecParam.resize(i + 1, 0);
    return c.m_vecParam[i];
}
void Resize(cEdFlowCmd& c, size_t n) { c.m_vecParam.resize(n, 0); }
// Parameters i.. move up by one, the last one dropped; p[i] keeps its value.
void InsertKeep(cEdFlowCmd& c, size_t i) {
    auto& v = c.m_vecParam;
    if (i >= v.size()) return;
    std::move_backward(v.begin() + static_cast<std::ptrdiff_t>(i), v.end() - 1, v.end());
}
void Insert(cEdFlowCmd& c, size_t i, int32_t value) {
    InsertKeep(c, i);
    W(c, i) = value;
}
// Additions on stored values saturate instead of overflowing.
void Add(int32_t& v, int32_t d) {
    const int64_t r = static_cast<int64_t>(v) + d;
    v = static_cast<int32_t>(std::clamp<int64_t>(r, INT32_MIN, INT32_MAX));
}
void AddUpTo119(int32_t& v) { v = static_cast<int32_t>(std::min<int64_t>(static_cast<int64_t>(v) + 1, 119)); }

// Status command: the status numbers of the old numbering, on the left
// operand (p[0] 0 a status, p[3] whose, p[4] which) and the right one
// (p[6] 2 a status, p[12] whose, p[13] which).
void ShiftStatusItems(cEdFlowCmd& c, int32_t nOldSystem, int32_t nThreshold, int32_t nBy) {
    if (P(c, 0) == 0 && P(c, 3) != nOldSystem && P(c, 4) >= nThreshold) Add(W(c, 4), nBy);
    if (P(c, 6) == 2 && P(c, 12) != nOldSystem && P(c, 13) >= nThreshold) Add(W(c, 13), nBy);
}

void Renumber734(cEdFlowCmd& c) {
    // Kind 24 (vanish) was inserted: chara kinds above 23, item kinds above 8.
    if (c.m_nFamily == cEdFlowCmd::FAMILY_CHARA && c.m_nKind > 23) c.m_nKind = static_cast<int8_t>(c.m_nKind + 1);
    if (c.m_nFamily == cEdFlowCmd::FAMILY_ITEM && c.m_nKind > 8) c.m_nKind = static_cast<int8_t>(c.m_nKind + 1);
    // The arrange command names a command kind in p[0].
    if (c.CharaKindEquivalent() == 38 && P(c, 0) > 23) Add(W(c, 0), 1);
}

void Arrange727(cEdFlowCmd& c) {
    if (P(c, 0) != 11) return;
    for (int32_t t : {1, 2, 3, 13, 14, 15, 16})
        if (P(c, 1) > t) Add(W(c, 1), 1);
}

void Arrange899(cEdFlowCmd& c) {
    switch (P(c, 0)) {
    case 11:
        if (P(c, 1) >= 14) Add(W(c, 1), 1);
        break;
    case 13:
    case 14:
    case 15:
    case 29:
        if (P(c, 1) >= 0) Add(W(c, 1), 1);
        break;
    case 22:
        if (P(c, 1) >= 0) Add(W(c, 1), 1);
        if (P(c, 1) > 0) Add(W(c, 1), 1);
        break;
    default:
        break;
    }
}

}  // namespace

// clang-format off
const cParamUpgradeRow kParamUpgradeRows[] = {
    {145, 17, -1, [](cEdFlowCmd& c) { Resize(c, 11); }},
    {166, 35, -1, [](cEdFlowCmd& c) { Resize(c, 2); W(c, 1) = 1; }},
    {168, 22, -1, [](cEdFlowCmd& c) { ShiftStatusItems(c, 2, 10, 1); }},
    {189, 21, -1, [](cEdFlowCmd& c) { Resize(c, 17); Insert(c, 2, 0); }},
    {194, 31, -1, [](cEdFlowCmd& c) { Resize(c, 20); Insert(c, 6, 1); }},
    {195, 29, 30, [](cEdFlowCmd& c) { Resize(c, 3); Insert(c, 1, 0); }},
    {203, 14, 15, [](cEdFlowCmd& c) { c.m_vecParam.clear(); }},
    {203, 16, -1, [](cEdFlowCmd& c) { Resize(c, 5); }},
    {203, 22, -1, [](cEdFlowCmd& c) { ShiftStatusItems(c, 2, 5, 1); }},
    {210, 23, -1, [](cEdFlowCmd& c) { if (P(c, 0) != 2 && P(c, 1) >= 6) Add(W(c, 1), 1); }},
    {219, 25, -1, [](cEdFlowCmd& c) { if (P(c, 0) == 3) AddUpTo119(W(c, 1)); }},
    {220, 11, -1, [](cEdFlowCmd& c) {
        if (!c.m_spShot) return;
        c.m_spShot->m_nGraphic = static_cast<int16_t>(std::min(c.m_spShot->m_nGraphic + 1, 119));
    }},
    {514, 5, -1, [](cEdFlowCmd& c) {
        if (!c.m_spMove) return;
        c.m_spMove->m_nAngle = 0;
        c.m_spMove->m_nAngleStep = 0;
        c.m_spMove->m_bMirrorAngle = 1;
    }},
    {545, 19, -1, [](cEdFlowCmd& c) { Resize(c, 21); W(c, 10) = 1; }},
    {545, 31, -1, [](cEdFlowCmd& c) { Resize(c, 20); W(c, 11) = 0; }},
    {546, 19, -1, [](cEdFlowCmd& c) { W(c, 10) = (P(c, 0) == 0 || P(c, 0) == 7) ? 1 : 0; }},
    {547, 19, -1, [](cEdFlowCmd& c) {
        Resize(c, 21); W(c, 11) = 0; W(c, 12) = 0; W(c, 13) = 0; W(c, 14) = 1; W(c, 15) = 0;
    }},
    {547, 31, -1, [](cEdFlowCmd& c) { Resize(c, 20); W(c, 12) = 0; W(c, 13) = 0; }},
    {556, 19, -1, [](cEdFlowCmd& c) { Resize(c, 21); W(c, 16) = 1; }},
    {722, 17, -1, [](cEdFlowCmd& c) { if (P(c, 0) >= 2) Add(W(c, 0), 1); }},
    {723, 19, -1, [](cEdFlowCmd& c) { Resize(c, 21); W(c, 17) = 0; }},
    {723, 31, -1, [](cEdFlowCmd& c) { Resize(c, 20); W(c, 14) = 0; }},
    {726, 37, -1, [](cEdFlowCmd& c) { Resize(c, 5); W(c, 0) = 11; }},
    {727, 37, -1, Arrange727},
    {734, kAll, -1, Renumber734},
    {747, 21, -1, [](cEdFlowCmd& c) { Resize(c, 17); W(c, 10) = 0; W(c, 11) = 1; W(c, 14) = 0; }},
    {760, 16, -1, [](cEdFlowCmd& c) { Resize(c, 5); W(c, 3) = 0; }},
    {764, 16, -1, [](cEdFlowCmd& c) { c.m_spCondList.Create().m_nCondMode = 0; }},
    {767, 9, -1, [](cEdFlowCmd& c) { if (P(c, 0) >= 4) Add(W(c, 0), 6); }},
    {767, 20, -1, [](cEdFlowCmd& c) {
        if (c.m_spMove && c.m_spMove->m_nMoveMode >= 2) c.m_spMove->m_nMoveMode = static_cast<int8_t>(c.m_spMove->m_nMoveMode + 3);
    }},
    {767, 21, -1, [](cEdFlowCmd& c) { Resize(c, 17); Insert(c, 0, 0); }},
    {767, 22, -1, [](cEdFlowCmd& c) {
        if (P(c, 0) == 0 && P(c, 3) >= 2) Add(W(c, 3), 3);
        if (P(c, 6) == 2 && P(c, 12) >= 2) Add(W(c, 12), 3);
    }},
    {767, 23, -1, [](cEdFlowCmd& c) { if (P(c, 0) >= 2) Add(W(c, 0), 3); }},
    {820, 23, -1, [](cEdFlowCmd& c) { Resize(c, 6); }},
    {879, 28, -1, [](cEdFlowCmd& c) { Resize(c, 2); W(c, 1) = 0; }},
    {882, 20, -1, [](cEdFlowCmd& c) {
        if (!c.m_spMove) return;
        c.m_spMove->m_bUseTargetX = 1;
        c.m_spMove->m_bUseTargetY = 1;
    }},
    {882, 22, -1, [](cEdFlowCmd& c) {
        Resize(c, 25); W(c, 18) = 0; W(c, 19) = 0;
        ShiftStatusItems(c, 5, 6, 2);
    }},
    {891, 19, -1, [](cEdFlowCmd& c) { Resize(c, 21); if (P(c, 0) == 8) W(c, 0) = 9; }},
    {891, 29, -1, [](cEdFlowCmd& c) { Resize(c, 10); if (P(c, 1) == 4) W(c, 1) = 5; }},
    {891, 32, -1, [](cEdFlowCmd& c) { Resize(c, 20); if (P(c, 1) == 4) W(c, 1) = 5; }},
    {892, 20, -1, [](cEdFlowCmd& c) { if (c.m_spMove) c.m_spMove->m_nAnchor = 2; }},
    {892, 22, -1, [](cEdFlowCmd& c) { Resize(c, 25); W(c, 20) = 2; W(c, 21) = 0; }},
    {898, 38, -1, [](cEdFlowCmd& c) { if (P(c, 0) == 32 && P(c, 1) >= 0) Add(W(c, 1), 1); }},
    {899, 38, -1, Arrange899},
    {915, 17, -1, [](cEdFlowCmd& c) { Resize(c, 11); }},
    {944, 17, -1, [](cEdFlowCmd& c) { Resize(c, 11); W(c, 10) = 1; }},
    {965, 29, -1, [](cEdFlowCmd& c) { Resize(c, 10); Insert(c, 6, 1); }},
    {969, 19, -1, [](cEdFlowCmd& c) { Resize(c, 21); W(c, 19) = 0; }},
    {969, 22, -1, [](cEdFlowCmd& c) { Resize(c, 25); Insert(c, 14, 0); }},
    {971, 16, -1, [](cEdFlowCmd& c) { Resize(c, 5); W(c, 4) = 0; }},
    {971, 19, -1, [](cEdFlowCmd& c) { Resize(c, 21); W(c, 20) = 0; }},
    {971, 20, -1, [](cEdFlowCmd& c) { Resize(c, 1); W(c, 0) = 0; }},
    {971, 21, -1, [](cEdFlowCmd& c) { Resize(c, 17); W(c, 16) = 0; }},
    {971, 22, -1, [](cEdFlowCmd& c) { Resize(c, 25); W(c, 23) = 0; }},
    {971, 23, -1, [](cEdFlowCmd& c) { Resize(c, 6); W(c, 5) = 0; }},
    {971, 24, -1, [](cEdFlowCmd& c) { Resize(c, 4); W(c, 3) = 0; }},
    {971, kItem1, -1, [](cEdFlowCmd& c) { Resize(c, 5); W(c, 4) = 0; }},
    {972, kItem1, -1, [](cEdFlowCmd& c) { Resize(c, 2); }},
    {973, 22, -1, [](cEdFlowCmd& c) { Resize(c, 25); InsertKeep(c, 5); }},
    {983, 13, 14, [](cEdFlowCmd& c) { Resize(c, 1); W(c, 0) = 0; }},
    {984, 22, -1, [](cEdFlowCmd& c) {
        if (P(c, 0) == 2) Add(W(c, 5), 1);
        if (P(c, 7) == 4) Add(W(c, 15), 1);
    }},
    {985, 22, -1, [](cEdFlowCmd& c) {
        if (P(c, 5) == 0) W(c, 5) = 1;
        if (P(c, 15) == 0) W(c, 15) = 1;
    }},
    {998, 32, -1, [](cEdFlowCmd& c) {
        Resize(c, 20); Insert(c, 8, 0); Insert(c, 9, 100); Insert(c, 10, 0); Insert(c, 11, 0);
    }},
};
// clang-format on
const int kParamUpgradeRowCount = static_cast<int>(std::size(kParamUpgradeRows));

void cEdFlowCmd::UpgradeParams(uint32_t nFileVersion, uint32_t nUpTo) {
    for (const cParamUpgradeRow& row : kParamUpgradeRows) {
        if (nFileVersion >= row.nBelow || row.nBelow > nUpTo) continue;
        bool match;
        if (row.nKindA == kAll) {
            match = true;
        } else if (row.nKindA == kItem1) {
            match = m_nFamily == FAMILY_ITEM && m_nKind == ICMD_CHANGE_FLOW;
        } else {
            // Item commands share the rows of kinds 17 and up.
            const int kind = CharaKindEquivalent();
            match = kind >= 0 && (kind == row.nKindA || kind == row.nKindB) &&
                    (m_nFamily == FAMILY_CHARA || kind >= 17);
        }
        if (match) row.pfnChange(*this);
    }
}
