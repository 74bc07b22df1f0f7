// The glyph-cache road of the text body and the filling of the two atlases.
#pragma once
#include <string_view>

#include "media/text/glyph_atlas.h"
#include "media/text/text_layout.h"

namespace text {

// DrawTextBody with the glyph cache on (grid fonts only; a proportional
// style is drawn directly): one-byte codes are copied from the half-width
// atlas; a two-byte character from the full-width atlas, registered first
// when it is new and a cell is free (its cell is then drawn with the
// settings in force); when the atlas is full it is drawn directly.
void DrawTextBodyCached(cTextTarget& dst, const TextStyle& style, int x, int y, std::string_view text,
                        bool plainLetters, cGlyphAtlas& half, cGlyphAtlas& full);

// Fills the half-width atlas: code c in cell (c mod 16, c div 16), drawn by
// the font itself with icons off.
void FillHalfAtlas(cGlyphAtlas& half, const TextStyle& style);
// Fills the full-width atlas with its registered characters; when not
// rebuilding, the fixed list is registered first.
void FillFullAtlas(cGlyphAtlas& full, const TextStyle& style, bool rebuild);

}  // namespace text
