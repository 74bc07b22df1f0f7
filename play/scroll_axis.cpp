#include "play/scroll_axis.h"

#include <algorithm>
#include <bit>

#include "play/numeric.h"
#include "records/stage.h"

int BinaryDigits(int32_t v) { return v <= 0 ? 0 : std::bit_width(static_cast<uint32_t>(v)); }

void cScrollAxis::Init(int axis, int stageCells) {
    m_nAxis = axis;
    m_nView = axis == 0 ? 640 : 480;
    m_nBorder = 10;
    m_nCells = WrapAdd(stageCells, 20);
    if (axis == 0) {
        m_nShift = BinaryDigits(WrapAdd(stageCells, 19));
        m_nStride = static_cast<int32_t>(1u << (m_nShift & 31));
    } else {
        m_nShift = 0;
        m_nStride = m_nCells;
    }
    m_nOrigin = 320;
    m_nEnd = std::max(0, WrapMul(WrapAdd(stageCells, 10), 32));
    m_nLimit = WrapAdd(WrapMul(stageCells, 32), 640);
    m_nMinPos = m_nOrigin;
    m_nMaxEnd = m_nEnd;
}

void cScrollAxis::Clamp() {
    if (m_dPos > m_nMinPos && m_dPos + m_nView < m_nMaxEnd) {
        m_bAtEdge = 0;
        return;
    }
    if (m_dPos > m_nMinPos) {
        m_dPos = m_nMaxEnd - m_nView;
        if (m_dPos >= m_nMinPos) {
            m_bAtEdge = 1;
            return;
        }
    }
    m_dPos = m_nMinPos;
    m_bAtEdge = 1;
}

void cScrollAxis::Advance() {
    m_dPos += m_dSpeed;
    Clamp();
}

void cScrollAxis::SetAutoScroll(int on, int speed) {
    if (on) {
        m_bAutoOn = 1;
        m_dSpeed = speed * 0.1 / g_Stage.m_dSubSteps;
    } else {
        m_dSpeed = 0.0;
        m_bAutoOn = 0;
    }
}

void cScrollAxis::SetRange(int minCells, int maxCells, int minOn, int maxOn) {
    m_nMinPos = minOn ? WrapAdd(m_nOrigin, WrapMul(minCells, 32)) : m_nOrigin;
    m_nMaxEnd = maxOn ? std::max(m_nMinPos, WrapAdd(WrapAdd(m_nOrigin, WrapMul(maxCells, 32)), 32)) : m_nEnd;
}
