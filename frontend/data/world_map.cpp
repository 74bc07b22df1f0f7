#include "frontend/data/world_map.h"

#include <cstdarg>
#include <cstdio>

#include "base/error_box.h"
#include "base/files.h"
#include "platform/cp932.h"

// The record passes, compiled once here (see records/data_record.h).
template class cRecord<cWorldChipAttr>;
template class cRecord<cWorldEntry>;
template class cRecord<cWorldPoint>;
template class cRecord<cWorldMap>;

// g_WorldMap is built with the other global objects (frontend/data/globals.cpp).

void cWorldMap::SetDefaults() {
    Clear();
    m_strWorldName = SJ("ワールド");
    m_nStartX = 9;
    m_nStartY = 7;
    m_nBackColor = 16;
    m_bBackPicture = 0;
    SetSize(20, 15);
    m_vecPoint.clear();
    m_vecPointTemplate.assign(1, cWorldPoint());
    m_vecPointTemplate.at(0).m_strPointName = SJ("デフォルト");
}

bool cWorldMap::SetSize(int32_t w, int32_t h) {
    // A negative size is refused like 0: it cannot make a grid.
    if (w <= 0 || h <= 0) {
        DebugErrorBoxf("%s", SJ("SetSize()で 0 を指定しました！").c_str());
        return false;
    }
    int32_t shift = 0;
    for (int32_t v = w - 1; v > 0; v /= 2) ++shift;
    const int64_t cells = static_cast<int64_t>(h) << shift;
    if (shift > 30 || cells > INT32_MAX) {
        DebugErrorBoxf("SetSize(%d, %d)", w, h);
        return false;
    }
    const bool bOld = !m_vecChip.empty();
    cCheckedVector<int32_t> old;
    const int32_t oldW = m_nWidth, oldH = m_nHeight, oldShift = m_nRowShift;
    if (bOld) {
        DebugErrorBoxf("nBeforeWidth = %d,nBeforePitch = %d,nBeforePitch_Shift = %d", m_nWidth, m_nPitch,
                       m_nRowShift);
        old = m_vecChip;
    }
    m_nWidth = w;
    m_nHeight = h;
    m_nRowShift = shift;
    m_nPitch = 1 << shift;
    m_vecChip.assign(static_cast<size_t>(cells), 0);
    if (bOld) {
        for (int32_t y = 0; y < oldH && y < h; ++y)
            for (int32_t x = 0; x < oldW && x < w; ++x)
                m_vecChip.at(x + (static_cast<long long>(y) << shift)) =
                    old.at(x + (static_cast<long long>(y) << oldShift));
    }
    return true;
}

void cWorldMap::Normalize() {
    if (m_nStartX >= m_nWidth) m_nStartX = m_nWidth - 1;
    if (m_nStartY >= m_nHeight) m_nStartY = m_nHeight - 1;
    const uint32_t nAttr = static_cast<uint32_t>(m_vecChipAttr.size());
    for (int32_t y = 0; y < m_nHeight; ++y)
        for (int32_t x = 0; x < m_nWidth; ++x) {
            int32_t& c = Chip(x, y);
            if (static_cast<uint32_t>(c) >= nAttr) c = 0;
        }
    std::erase_if(m_vecPoint,
                  [&](const cWorldPoint& p) { return p.m_nPointX >= m_nWidth || p.m_nPointY >= m_nHeight; });
}

const cWorldPoint* cWorldMap::FindPointAt(int32_t x, int32_t y) const {
    for (const cWorldPoint& p : m_vecPoint)
        if (p.m_nPointX == x && p.m_nPointY == y) return &p;
    return nullptr;
}

bool cWorldMap::FindPointByStageFile(std::string_view base, int32_t bVariation, int32_t nVar, int32_t nValue) const {
    for (const cWorldPoint& p : m_vecPoint) {
        for (const cWorldEntry& e : p.m_vecEntry) {
            if (e.m_nKind != WORLD_ENTRY_STAGE) continue;
            std::string text = e.m_strStageFile;
            RemoveFileExtStr(text);
            const size_t at = text.rfind("-1");
            if (at != std::string::npos) {
                text.resize(at);
                text += '.';
            } else {
                text += '.';
            }
            if (text != base) continue;
            if (bVariation) {
                if (e.m_bVariation && e.m_nVariationVar == nVar && e.m_nVariationValue == nValue) return true;
            } else if (!e.m_bVariation) {
                return true;
            }
        }
    }
    return false;
}

bool cWorldMap::LoadExtra(cByteReader& r, const cLoadContext&) {
    // The grid is indexed with the stored shift, so the stored sizes must
    // describe it.
    const bool bShiftOk = m_nRowShift >= 0 && m_nRowShift <= 30;
    if (m_nWidth < 1 || m_nHeight < 1 || !bShiftOk || m_nPitch != (1 << m_nRowShift) || m_nPitch < m_nWidth ||
        static_cast<int64_t>(m_nHeight) * m_nPitch > static_cast<int64_t>(m_vecChip.size()))
        return r.Failf("world map of %d x %d with pitch %d and row shift %d does not fit its grid of %zu cells",
                       m_nWidth, m_nHeight, m_nPitch, m_nRowShift, m_vecChip.size());
    return true;
}

void cWorldMap::OnLoaded(const cLoadContext& ctx) {
    if (ctx.Below(812)) {
        m_vecChipAttr.resize(10);
        for (int i = 0; i < 10; ++i) {
            cWorldChipAttr& a = m_vecChipAttr.at(i);
            a.m_nChipPicture = i;
            a.m_nMoveAttr = i < 5 ? 1 : 0;
            a.m_strChipName = i < 5 ? SJ("移動不可") : SJ("移動可");
            a.m_strChipText.clear();
        }
    }
    Normalize();
}

void AppendFormat(std::string& s, const char* format, ...) {
    char buf[5120];
    va_list ap;
    va_start(ap, format);
    std::vsnprintf(buf, sizeof buf, format, ap);
    va_end(ap);
    s += buf;
}
