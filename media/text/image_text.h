// Glyphs painted into an image of the pixel core, as each device family puts
// text on a surface.
//
// Direct3D family: the text font draws through its sprite, one textured quad
// per glyph with the glyph texel (alpha = coverage, colour white) modulated by
// the vertex colour and blended by source alpha, so a glyph pixel becomes
// BlendSrcAlpha(StageColor(modulate, texel, colour), target pixel).
//
// DirectDraw family: GDI's TextOut with a transparent background on a
// colour-keyed surface: covered pixels (two-level glyphs) take the pixel value
// of the text colour; nothing is blended, so no pixel mixes with the key.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "media/gfx/image.h"
#include "media/text/text_layout.h"

namespace text {

enum class TextFamily { kDirect3D, kDirectDraw };

// The pixel value GDI writes for a text colour (0x00RRGGBB) on a surface of
// the format: 16 bits drop the low bits of each channel, 24 and 32 bits copy
// the bytes. An 8-bit surface takes the palette index (the font's colour
// index, whose palette entry is the text colour while the text is drawn).
uint32_t GdiTextPixel(gfx::PixelFormat format, uint32_t rgb, uint8_t paletteIndex);

class cImageTextTarget : public cTextTarget {
public:
    // paletteIndex: the pixel of 8-bit DirectDraw text (other formats take the
    // colour handed with each glyph). Painting is clipped to the image.
    cImageTextTarget(gfx::cImage& image, TextFamily family, uint8_t paletteIndex = 0)
        : m_Image(image), m_Family(family), m_nPaletteIndex(paletteIndex) {}
    void PaintGlyph(int penX, int cellTop, const GlyphImage& glyph, uint32_t colour) override;

private:
    struct StageLevel {
        uint32_t inv, r, g, b, a;  // 255 - A, and source × A + 127 per channel
        uint32_t solid;            // the source pixel, for A = 255
    };
    struct StageTable_ {
        uint32_t colour = 0;
        gfx::Argb argb[256];      // stage output by coverage
        StageLevel level[256];
    };
    // Stage outputs of a text colour, kept for the few colours a text uses.
    const StageTable_& StageTable(uint32_t colour);

    gfx::cImage& m_Image;
    TextFamily m_Family;
    uint8_t m_nPaletteIndex;
    std::vector<std::unique_ptr<StageTable_>> m_StageTables;
};

// The glyph style each family draws with.
inline GlyphStyle GlyphStyleOf(TextFamily family) {
    return family == TextFamily::kDirect3D ? GlyphStyle::kSmooth : GlyphStyle::kMono;
}

}  // namespace text
