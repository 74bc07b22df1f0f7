// A glyph atlas (FastFont) in software. The atlas keeps, instead of pixels,
// the glyph paints that filled each cell (glyph, offset from the cell's
// corner, colour); copying a cell replays them at the destination. So a
// cached character gives exactly the pixels the direct road gives with the
// settings that were in force when its cell was filled: the cache saves the
// layout and glyph work, it does not change the picture.
#pragma once
#include <memory>
#include <vector>

#include "media/text/fast_font_cells.h"
#include "media/text/text_layout.h"

namespace text {

class cGlyphAtlas {
public:
    cGlyphAtlas(int kind, int cellW, int cellH, int columns, int rows);

    cFastFontCells& Cells() { return m_Cells; }
    const cFastFontCells& Cells() const { return m_Cells; }

    // Fill with palette number 0: every paint is forgotten (registered cells
    // stay registered).
    void Clear();
    // Target that draws into the cell of an index; paints are taken relative
    // to the cell's corner (cellX, cellY in atlas pixels).
    cTextTarget& FillTarget(int index);

    // DrawFastFontChar: the cell of a one-byte code.
    void DrawByte(cTextTarget& dst, int x, int y, uint8_t byte) const { DrawCell(dst, byte, x, y); }
    // DrawFastFontWide: the first cell holding lead, trail; false if none.
    bool DrawWide(cTextTarget& dst, int x, int y, uint8_t lead, uint8_t trail) const;
    // Copies the cell of an index to (x, y); indices outside draw nothing.
    void DrawCell(cTextTarget& dst, int index, int x, int y) const;

private:
    struct Recorded {
        std::shared_ptr<const GlyphImage> glyph;
        int dx, dy;
        uint32_t colour;
    };
    class cFillTarget : public cTextTarget {
    public:
        explicit cFillTarget(cGlyphAtlas& atlas) : m_Atlas(atlas) {}
        void PaintGlyph(int penX, int cellTop, const GlyphImage& glyph, uint32_t colour) override;
        int m_nIndex = -1;

    private:
        cGlyphAtlas& m_Atlas;
    };

    cFastFontCells m_Cells;
    std::vector<std::vector<Recorded>> m_CellPaints;  // by cell index, in paint order
    cFillTarget m_Fill{*this};
};

}  // namespace text
