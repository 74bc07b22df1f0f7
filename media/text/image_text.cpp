#include "media/text/image_text.h"

#include <algorithm>

#include "media/gfx/quad.h"

namespace text {
namespace {

// Calls put(x, y, coverage) for every covered glyph pixel inside the image.
template <class Put>
void ForCovered(const gfx::cImage& img, int penX, int cellTop, const GlyphImage& g, Put put) {
    const int x0 = penX + g.left;
    const int y0 = cellTop + g.top;
    const int cx0 = std::max(0, -x0), cy0 = std::max(0, -y0);
    const int cx1 = std::min(g.width, img.Width() - x0), cy1 = std::min(g.height, img.Height() - y0);
    for (int gy = cy0; gy < cy1; ++gy) {
        const uint8_t* cov = g.coverage.data() + static_cast<size_t>(gy) * g.width;
        for (int gx = cx0; gx < cx1; ++gx) {
            if (cov[gx]) put(x0 + gx, y0 + gy, cov[gx]);
        }
    }
}

}  // namespace

uint32_t GdiTextPixel(gfx::PixelFormat format, uint32_t rgb, uint8_t paletteIndex) {
    const uint32_t r = rgb >> 16 & 0xFF, g = rgb >> 8 & 0xFF, b = rgb & 0xFF;
    switch (format) {
        case gfx::PixelFormat::Index8: return paletteIndex;
        case gfx::PixelFormat::RGB565: return (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3);
        case gfx::PixelFormat::ARGB1555: return 0x8000 | (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
        case gfx::PixelFormat::ARGB8888: return 0xFF000000 | (rgb & 0xFFFFFF);
        default: return rgb & 0xFFFFFF;
    }
}

void cImageTextTarget::PaintGlyph(int penX, int cellTop, const GlyphImage& glyph, uint32_t colour) {
    if (m_Family == TextFamily::kDirectDraw) {
        const uint32_t px = GdiTextPixel(m_Image.Format(), colour, m_nPaletteIndex);
        ForCovered(m_Image, penX, cellTop, glyph, [&](int x, int y, uint8_t cov) {
            if (cov >= 128) m_Image.Set(x, y, px);
        });
        return;
    }
    if (m_Image.Format() == gfx::PixelFormat::Index8) return;  // no 8-bit render targets
    const gfx::PixelFormat f = m_Image.Format();
    const gfx::Argb diffuse = gfx::UnpackArgb(colour);
    gfx::StageState sprite;
    sprite.colorOp = gfx::TOP_MODULATE;
    sprite.colorArg1 = gfx::TA_TEXTURE;
    sprite.colorArg2 = gfx::TA_DIFFUSE;
    sprite.alphaOp = gfx::TOP_MODULATE;
    sprite.alphaArg1 = gfx::TA_TEXTURE;
    sprite.alphaArg2 = gfx::TA_DIFFUSE;
    // The stage output depends only on the coverage: one entry per level.
    gfx::Argb stage[256];
    for (int c = 0; c < 256; ++c) stage[c] = gfx::StageColor(sprite, gfx::Argb{uint8_t(c), 255, 255, 255}, diffuse);
    ForCovered(m_Image, penX, cellTop, glyph, [&](int x, int y, uint8_t cov) {
        const gfx::Argb out = gfx::BlendSrcAlpha(stage[cov], gfx::DecodePixel(f, m_Image.Get(x, y)));
        m_Image.Set(x, y, gfx::EncodePixel(f, out));
    });
}

}  // namespace text
