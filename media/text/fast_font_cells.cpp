#include "media/text/fast_font_cells.h"

#include <algorithm>
#include <cstring>

#include "media/text/sjis_text.h"
#include "platform/cp932.h"

namespace text {

cFastFontCells::cFastFontCells(int kind, int cellW, int cellH, int columns, int rows)
    : m_nKind(kind),
      m_nCellW(cellW),
      m_nCellH(cellH),
      m_nColumns(std::max(columns, 0)),
      m_nRows(std::max(rows, 0)),
      m_FirstCell(0x10000, -1) {}

bool cFastFontCells::Add(std::string_view character) {
    if (Used() >= Capacity() || m_nColumns == 0) return false;
    FastFontCell cell;
    size_t n = std::min<size_t>(character.size(), 3);
    std::memcpy(cell.character, character.data(), n);
    cell.index = Used();
    CellPos(cell.index, &cell.x, &cell.y);
    if (n >= 2) {
        int key = static_cast<uint8_t>(cell.character[0]) << 8 | static_cast<uint8_t>(cell.character[1]);
        if (m_FirstCell[key] < 0) m_FirstCell[key] = static_cast<int16_t>(cell.index);
    }
    m_Cells.push_back(cell);
    return true;
}

int cFastFontCells::FindWide(uint8_t lead, uint8_t trail) const { return m_FirstCell[lead << 8 | trail]; }

void cFastFontCells::CellPos(int index, int* x, int* y) const {
    int cols = std::max(m_nColumns, 1);
    *x = index % cols * m_nCellW;
    *y = index / cols * m_nCellH;
}

AtlasGrid FullAtlasGrid(bool direct3D, int charPitch, int linePitch, int backW, int backH) {
    if (charPitch <= 0 || linePitch <= 0) return {};
    if (direct3D) return {std::min(1024 / charPitch, 32), std::min(1024 / linePitch, 32)};
    return {std::min(backW / charPitch, 32), std::min(backH / linePitch, 30)};
}

const std::vector<std::string>& FixedFullWidthList() {
    static const std::vector<std::string> list = [] {
        const std::string all = platform::Utf8ToCp932(
            "０１２３４５６７８９ー～、。．！？「」（）｛｝・…※→↑↓←＋－＝○●×"
            "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ"
            "ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ"
            "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"
            "がぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽぁぃぅぇぉっゃゅょ"
            "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲン"
            "ガギグゲゴザジズゼゾダヂヅデトバビブベボヴパピプペポァィゥェォッャュョ□■☆★％＆＜＞：");
        std::vector<std::string> chars;
        for (size_t i = 0; i < all.size();) {
            size_t n = IsDoubleByteChar(all, i) ? 2 : 1;
            chars.push_back(all.substr(i, n));
            i += n;
        }
        return chars;
    }();
    return list;
}

void RegisterFixedFullWidth(cFastFontCells& cells) {
    for (const auto& c : FixedFullWidthList()) {
        if (!cells.Add(c)) break;
    }
}

}  // namespace text
