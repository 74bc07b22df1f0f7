// A plain 32-bit ARGB picture that text can be drawn into without a device:
// used to compose glyph runs in software and by the tests.
#pragma once
#include <cstdint>
#include <vector>

#include "media/text/text_layout.h"

namespace text {

struct ArgbCanvas {
    int w = 0;
    int h = 0;
    std::vector<uint32_t> px;  // w × h, row by row

    ArgbCanvas() = default;
    ArgbCanvas(int width, int height, uint32_t fill = 0);
    uint32_t At(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
};

// Smooth glyphs blend over the picture by coverage × the colour's alpha
// (source over, alpha channel included); mono glyphs set the covered pixels
// to the colour. Pixels outside the canvas are clipped.
void PaintGlyphBlend(ArgbCanvas& dst, int penX, int cellTop, const GlyphImage& glyph, uint32_t colour);
void PaintGlyphSolid(ArgbCanvas& dst, int penX, int cellTop, const GlyphImage& glyph, uint32_t colour);

class cArgbTextTarget : public cTextTarget {
public:
    cArgbTextTarget(ArgbCanvas& canvas, GlyphStyle style) : m_Canvas(canvas), m_Style(style) {}
    void PaintGlyph(int penX, int cellTop, const GlyphImage& glyph, uint32_t colour) override;

private:
    ArgbCanvas& m_Canvas;
    GlyphStyle m_Style;
};

}  // namespace text
