#include "play/map_cell_log.h"

#include "play/map_cell.h"

cMapCellLog g_MapCellLog;

bool cMapCellLog::ChangedSince(uint64_t since, std::vector<size_t>& out) const {
    out.clear();
    if (since < m_nRemadeAt || since > m_nSerial || m_nSerial - since > kRing) return false;
    for (uint64_t s = since; s < m_nSerial; ++s) out.push_back(m_ring[s % kRing]);
    return true;
}

void SetMapCellBlock(cMapCell& cell, size_t index, const cEdBlock& block) {
    static_cast<cEdBlock&>(cell) = block;
    cell.m_nLatch = 0;
    g_MapCellLog.Changed(index);
}

void RestoreMapCell(cMapCell& cell, size_t index, const cMapCell& saved) {
    cell = saved;
    g_MapCellLog.Changed(index);
}
