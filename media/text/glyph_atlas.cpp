#include "media/text/glyph_atlas.h"

namespace text {

cGlyphAtlas::cGlyphAtlas(int kind, int cellW, int cellH, int columns, int rows)
    : m_Cells(kind, cellW, cellH, columns, rows), m_CellPaints(static_cast<size_t>(m_Cells.Capacity())) {}

void cGlyphAtlas::Clear() {
    for (auto& list : m_CellPaints) list.clear();
}

cTextTarget& cGlyphAtlas::FillTarget(int index) {
    m_Fill.m_nIndex = index;
    return m_Fill;
}

void cGlyphAtlas::cFillTarget::PaintGlyph(int penX, int cellTop, const GlyphImage& glyph, uint32_t colour) {
    if (m_nIndex < 0 || m_nIndex >= m_Atlas.m_Cells.Capacity()) return;
    int cellX = 0, cellY = 0;
    m_Atlas.m_Cells.CellPos(m_nIndex, &cellX, &cellY);
    // The painter hands over a glyph it keeps; take a copy we own.
    m_Atlas.m_CellPaints[static_cast<size_t>(m_nIndex)].push_back(
        {std::make_shared<const GlyphImage>(glyph), penX - cellX, cellTop - cellY, colour});
}

void cGlyphAtlas::DrawCell(cTextTarget& dst, int index, int x, int y) const {
    if (index < 0 || index >= m_Cells.Capacity()) return;
    for (const Recorded& p : m_CellPaints[static_cast<size_t>(index)]) dst.PaintGlyph(x + p.dx, y + p.dy, *p.glyph, p.colour);
}

bool cGlyphAtlas::DrawWide(cTextTarget& dst, int x, int y, uint8_t lead, uint8_t trail) const {
    int index = m_Cells.FindWide(lead, trail);
    if (index < 0) return false;
    DrawCell(dst, index, x, y);
    return true;
}

}  // namespace text
