// The record of changes to the map cells' blocks, for what keeps a copy of
// the cells between frames (the replay check's state hash): every change of
// a cell's block goes through SetMapCellBlock, and the stage set-up notes a
// map made anew. A cell's latch is not logged (it changes during play).
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class cEdBlock;
class cMapCell;

class cMapCellLog {
public:
    // Cell `index` got another block.
    void Changed(size_t index) {
        m_ring[m_nSerial % kRing] = index;
        ++m_nSerial;
    }
    // The whole map was made again (or replaced without a note per cell).
    void Remade() {
        ++m_nSerial;
        m_nRemadeAt = m_nSerial;
    }
    uint64_t Serial() const { return m_nSerial; }
    // The cells changed after `since` (a Serial() value), oldest first; false
    // when they are not all known (the map was remade, or more changed than
    // the log keeps).
    bool ChangedSince(uint64_t since, std::vector<size_t>& out) const;

private:
    static constexpr uint64_t kRing = 64;
    uint64_t m_nSerial = 1, m_nRemadeAt = 1;
    std::array<size_t, kRing> m_ring{};
};

extern cMapCellLog g_MapCellLog;

// The one write path of a cell's block: the block is copied in, the latch
// cleared and the change logged.
void SetMapCellBlock(cMapCell& cell, size_t index, const cEdBlock& block);
// A whole cell (block and latch) put back, logged as a change.
void RestoreMapCell(cMapCell& cell, size_t index, const cMapCell& saved);
