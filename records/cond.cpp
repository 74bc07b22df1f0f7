#include "records/cond.h"

// The record passes, compiled once here (see records/data_record.h).
template class cRecord<cCond>;
template class cRecord<cCondList>;
template class cRecord<cKeyCond>;

cCond::cCond() = default;
cCond::cCond(const cCond&) = default;
cCond::cCond(cCond&&) noexcept = default;
cCond& cCond::operator=(const cCond&) = default;
cCond& cCond::operator=(cCond&&) noexcept = default;
cCond::~cCond() = default;

void cCond::OnLoaded(const cLoadContext& ctx) {
    if (!ctx.Below(1000)) return;
    const uint32_t v = ctx.nVersion;
    if (v < 160 && m_nKind >= 5) m_nKind += 2;
    if (v < 161 && m_nKind == COND_STATUS3 && m_nLeftItem == 2) m_nOp ^= 1;
    auto shiftItems = [this](int threshold, int oldSystem) {
        if (m_nLeftSource == 0 && m_nLeftTarget != oldSystem && m_nLeftItem >= threshold) m_nLeftItem += 1;
        if (m_nRightSource == 2 && m_nRightTarget != oldSystem && m_nRightItem >= threshold) m_nRightItem += 1;
    };
    if (v < 168 && m_nKind == COND_STATUS) shiftItems(10, 2);
    if (v < 203 && m_nKind == COND_STATUS) shiftItems(5, 2);
    if (v < 210 && m_nKind == COND_STATUS2 && m_nLeftTarget != 2 && m_nLeftItem >= 6) m_nLeftItem += 1;
    if (v < 657 && m_nKind == COND_DISTANCE) m_nLeftTarget = 0;
    if (v < 745 && m_nKind == COND_DISTANCE) m_nLeftSource = 0;
    if (v < 746 && m_nKind == COND_DISTANCE) {
        m_nRightSource = 1;
        m_nRightTarget = 1;
    }
    if (v < 767 && (m_nKind == COND_STATUS || m_nKind == COND_STATUS2)) {
        // Target slots 2 to 4 were inserted before the system.
        if (m_nLeftTarget >= 2) m_nLeftTarget += 3;
        if (m_nRightTarget >= 2) m_nRightTarget += 3;
    }
    if (v < 883 && m_nKind == COND_STATUS) {
        m_nLeftCoordMode = 0;
        m_nRightCoordMode = 0;
        if (m_nLeftSource == 0 && m_nLeftTarget != 5 && m_nLeftItem >= 6) m_nLeftItem += 2;
        if (m_nRightSource == 2 && m_nRightTarget != 5 && m_nRightItem >= 6) m_nRightItem += 2;
    }
    if (v < 892 && m_nKind == COND_STATUS) {
        m_nLeftCoordRef = 0;
        m_nRightCoordRef = 0;
    }
    if (v < 984 && m_nKind == COND_STATUS) {
        if (m_nLeftSource == 2) m_nLeftFlowVar += 1;
        if (m_nRightSource == 4) m_nRightFlowVar += 1;
    }
    if (v < 985 && m_nKind == COND_STATUS) {
        if (m_nLeftFlowVar == 0) m_nLeftFlowVar = 1;
        if (m_nRightFlowVar == 0) m_nRightFlowVar = 1;
    }
}

void cKeyCond::Init() {
    Clear();
    m_vecKey.resize(kChannels, 0);
}

int CreateCondList(cCondListHolder& holder) {
    holder.Create();
    return 1;
}

cCondListHolder& AssignCondListHolder(cCondListHolder& dst, const cCondListHolder& src) {
    dst = src;
    return dst;
}
