#include "media/text/argb_canvas.h"

#include <algorithm>

namespace text {
namespace {

inline uint32_t Mix(uint32_t s, uint32_t d, uint32_t a) {
    return (s * a + d * (255 - a) + 127) / 255;
}

template <class Put>
void ForCovered(ArgbCanvas& dst, int penX, int cellTop, const GlyphImage& g, Put put) {
    int x0 = penX + g.left;
    int y0 = cellTop + g.top;
    int cx0 = std::max(0, -x0), cy0 = std::max(0, -y0);
    int cx1 = std::min(g.width, dst.w - x0), cy1 = std::min(g.height, dst.h - y0);
    for (int gy = cy0; gy < cy1; ++gy) {
        const uint8_t* cov = g.coverage.data() + static_cast<size_t>(gy) * g.width;
        uint32_t* row = dst.px.data() + static_cast<size_t>(y0 + gy) * dst.w + x0;
        for (int gx = cx0; gx < cx1; ++gx) {
            if (cov[gx]) put(row[gx], cov[gx]);
        }
    }
}

}  // namespace

ArgbCanvas::ArgbCanvas(int width, int height, uint32_t fill)
    : w(std::max(width, 0)), h(std::max(height, 0)), px(static_cast<size_t>(w) * h, fill) {}

void PaintGlyphBlend(ArgbCanvas& dst, int penX, int cellTop, const GlyphImage& glyph, uint32_t colour) {
    uint32_t ca = colour >> 24;
    ForCovered(dst, penX, cellTop, glyph, [&](uint32_t& p, uint8_t cov) {
        uint32_t a = (ca * cov + 127) / 255;
        if (a == 0) return;
        uint32_t r = Mix(colour >> 16 & 0xFF, p >> 16 & 0xFF, a);
        uint32_t g = Mix(colour >> 8 & 0xFF, p >> 8 & 0xFF, a);
        uint32_t b = Mix(colour & 0xFF, p & 0xFF, a);
        uint32_t outA = a + ((p >> 24) * (255 - a) + 127) / 255;
        p = outA << 24 | r << 16 | g << 8 | b;
    });
}

void PaintGlyphSolid(ArgbCanvas& dst, int penX, int cellTop, const GlyphImage& glyph, uint32_t colour) {
    ForCovered(dst, penX, cellTop, glyph, [&](uint32_t& p, uint8_t cov) {
        if (cov >= 128) p = colour;
    });
}

void cArgbTextTarget::PaintGlyph(int penX, int cellTop, const GlyphImage& glyph, uint32_t colour) {
    if (m_Style == GlyphStyle::kMono) {
        PaintGlyphSolid(m_Canvas, penX, cellTop, glyph, colour);
    } else {
        PaintGlyphBlend(m_Canvas, penX, cellTop, glyph, colour);
    }
}

}  // namespace text
