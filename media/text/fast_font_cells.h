// The cell bookkeeping of a glyph atlas (FastFont): which character sits in
// which cell and the atlas grid for each device family.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace text {

enum FastFontKind { kFastFontHalf = 0, kFastFontFull = 1 };

struct FastFontCell {
    char character[4] = {};  // one or two bytes and a terminating zero
    int index = 0;
    int x = 0;
    int y = 0;
};

class cFastFontCells {
public:
    cFastFontCells(int kind, int cellW, int cellH, int columns, int rows);

    int Kind() const { return m_nKind; }
    int CellW() const { return m_nCellW; }
    int CellH() const { return m_nCellH; }
    int Columns() const { return m_nColumns; }
    int Rows() const { return m_nRows; }
    int Capacity() const { return m_nColumns * m_nRows; }
    int Used() const { return static_cast<int>(m_Cells.size()); }
    const std::vector<FastFontCell>& Cells() const { return m_Cells; }

    // AddFastFontChar: appends the character (1 or 2 bytes) in the next cell
    // when one is free.
    bool Add(std::string_view character);
    // The first cell whose first two bytes are lead and trail, or -1.
    int FindWide(uint8_t lead, uint8_t trail) const;
    // Top-left pixel of a cell index, and of the cell of a one-byte code
    // (byte mod columns, byte div columns).
    void CellPos(int index, int* x, int* y) const;
    void ByteCellPos(uint8_t byte, int* x, int* y) const { CellPos(byte, x, y); }

private:
    int m_nKind;
    int m_nCellW;
    int m_nCellH;
    int m_nColumns;
    int m_nRows;
    std::vector<FastFontCell> m_Cells;
    std::vector<int16_t> m_FirstCell;  // by lead << 8 | trail
};

struct AtlasGrid {
    int columns = 0;
    int rows = 0;
};
// Half-width atlas: 16 × 16 cells for the codes 0..255.
constexpr AtlasGrid kHalfAtlasGrid{16, 16};
// Full-width atlas: Direct3D min(1024 / pitch, 32) × min(1024 / line pitch,
// 32); DirectDraw min(back width / pitch, 32) × min(back height / line
// pitch, 30). Pitches must be non-zero.
AtlasGrid FullAtlasGrid(bool direct3D, int charPitch, int linePitch, int backW, int backH);

// The common full-width characters registered first, in order (258, CP932).
const std::vector<std::string>& FixedFullWidthList();
// Registers the fixed list in order until the list or the capacity ends.
void RegisterFixedFullWidth(cFastFontCells& cells);

}  // namespace text
