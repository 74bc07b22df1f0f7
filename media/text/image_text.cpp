#include "media/text/image_text.h"

#include <algorithm>
#include <cstring>

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
    const auto& stage = StageTable(colour);
    if (f == gfx::PixelFormat::XRGB8888 || f == gfx::PixelFormat::ARGB8888) {
        // 32 bits keep every 8-bit channel as it is: the blend straight on
        // the pixel words (the arithmetic of BlendSrcAlpha).
        const bool keepAlpha = f == gfx::PixelFormat::ARGB8888;
        ForCovered(m_Image, penX, cellTop, glyph, [&](int x, int y, uint8_t cov) {
            const StageLevel& l = stage.level[cov];
            uint8_t* p = m_Image.Row(y) + static_cast<size_t>(x) * 4;
            if (l.inv == 0) {  // opaque: the blend gives the source
                const uint32_t out = keepAlpha ? l.solid : l.solid & 0xFFFFFF;
                std::memcpy(p, &out, 4);
                return;
            }
            uint32_t d;
            std::memcpy(&d, p, 4);
            const uint32_t r = (l.r + (d >> 16 & 0xFF) * l.inv) / 255;
            const uint32_t g = (l.g + (d >> 8 & 0xFF) * l.inv) / 255;
            const uint32_t b = (l.b + (d & 0xFF) * l.inv) / 255;
            // XRGB reads alpha 255 and stores none.
            const uint32_t a = keepAlpha ? (l.a + (d >> 24) * l.inv) / 255 : 0;
            const uint32_t out = a << 24 | r << 16 | g << 8 | b;
            std::memcpy(p, &out, 4);
        });
        return;
    }
    ForCovered(m_Image, penX, cellTop, glyph, [&](int x, int y, uint8_t cov) {
        const gfx::Argb out = gfx::BlendSrcAlpha(stage.argb[cov], gfx::DecodePixel(f, m_Image.Get(x, y)));
        m_Image.Set(x, y, gfx::EncodePixel(f, out));
    });
}

const cImageTextTarget::StageTable_& cImageTextTarget::StageTable(uint32_t colour) {
    for (const auto& t : m_StageTables) {
        if (t->colour == colour) return *t;
    }
    // The sprite's stage: texel (coverage, white) modulated by the vertex
    // colour, in colour and alpha.
    gfx::StageState sprite;
    sprite.colorOp = gfx::TOP_MODULATE;
    sprite.colorArg1 = gfx::TA_TEXTURE;
    sprite.colorArg2 = gfx::TA_DIFFUSE;
    sprite.alphaOp = gfx::TOP_MODULATE;
    sprite.alphaArg1 = gfx::TA_TEXTURE;
    sprite.alphaArg2 = gfx::TA_DIFFUSE;
    auto t = std::make_unique<StageTable_>();
    t->colour = colour;
    const gfx::Argb diffuse = gfx::UnpackArgb(colour);
    for (int c = 0; c < 256; ++c) {
        const gfx::Argb st = gfx::StageColor(sprite, gfx::Argb{uint8_t(c), 255, 255, 255}, diffuse);
        const uint32_t a = st.a;
        t->argb[c] = st;
        t->level[c] = {255 - a, st.r * a + 127, st.g * a + 127, st.b * a + 127, st.a * a + 127, gfx::PackArgb(st)};
    }
    if (m_StageTables.size() >= 8) m_StageTables.erase(m_StageTables.begin());
    m_StageTables.push_back(std::move(t));
    return *m_StageTables.back();
}

}  // namespace text
