#include "media/text/cached_text.h"

namespace text {
namespace {

TextStyle FillStyle(const TextStyle& style) {
    TextStyle s = style;
    s.icons = false;
    return s;
}

// Draws one character into its cell as the layout would draw it there
// (bracket shift included).
void FillCell(cGlyphAtlas& atlas, const TextStyle& style, int index, std::string_view character) {
    int cellX = 0, cellY = 0;
    atlas.Cells().CellPos(index, &cellX, &cellY);
    cTextTarget& target = atlas.FillTarget(index);
    WalkGrid(style, character, false, [&](const GridChar& c) {
        DrawFontChar(target, style, cellX + c.shift, cellY, c.code, c.twoByte);
    });
}

}  // namespace

void DrawTextBodyCached(cTextTarget& dst, const TextStyle& style, int x, int y, std::string_view s,
                        bool plainLetters, cGlyphAtlas& half, cGlyphAtlas& full) {
    if (style.charPitch == 0 || !style.face) {
        DrawTextBody(dst, style, x, y, s, plainLetters);
        return;
    }
    WalkGrid(style, s, plainLetters, [&](const GridChar& c) {
        const int px = x + c.x, py = y + c.y;
        if (!c.twoByte) {
            half.DrawByte(dst, px, py, static_cast<uint8_t>(c.code));
            return;
        }
        const auto lead = static_cast<uint8_t>(c.code >> 8), trail = static_cast<uint8_t>(c.code);
        if (full.DrawWide(dst, px, py, lead, trail)) return;
        const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        if (full.Cells().Add(std::string_view(bytes, 2))) {
            const int index = full.Cells().Used() - 1;
            DrawFontChar(full.FillTarget(index), style, full.Cells().Cells().back().x,
                         full.Cells().Cells().back().y, c.code, true);
            full.DrawCell(dst, index, px, py);
        } else {
            DrawFontChar(dst, style, px + c.shift, py, c.code, true);
        }
    });
}

// Code c goes to cell c, each byte drawn on its own: the atlas of the rows
// of HalfAtlasText() without reading a lead byte and the next code as one
// two-byte character.
void FillHalfAtlas(cGlyphAtlas& half, const TextStyle& style) {
    half.Clear();
    const TextStyle s = FillStyle(style);
    for (int c = 16; c < 256 && c < half.Cells().Capacity(); ++c) {
        const char byte = static_cast<char>(c);
        if (byte != '\n') FillCell(half, s, c, std::string_view(&byte, 1));
    }
}

void FillFullAtlas(cGlyphAtlas& full, const TextStyle& style, bool rebuild) {
    if (!rebuild) RegisterFixedFullWidth(full.Cells());
    full.Clear();
    const TextStyle s = FillStyle(style);
    for (const auto& cell : full.Cells().Cells()) FillCell(full, s, cell.index, cell.character);
}

}  // namespace text
