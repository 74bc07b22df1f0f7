// A FreeType face opened at a Windows cell height, giving 8-bit coverage
// images of CP932 characters. Sizing follows GDI for a positive height h:
// em = h × units-per-em / (winAscent + winDescent), with the baseline at the
// scaled winAscent below the top of the cell.
//
// Thread-safe: faces are opened under one library lock and every face renders
// under its own lock; rendered glyphs are kept and shared.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "media/text/font_files.h"

namespace text {

// Smooth: anti-aliased coverage (the Direct3D family's text). Mono: two-level
// coverage, 0 or 255 (the DirectDraw family's GDI text on a colour-keyed
// surface, which must not blend into the key colour).
enum class GlyphStyle { kSmooth = 0, kMono = 1 };

struct GlyphImage {
    int left = 0;     // ink box from the pen x
    int top = 0;      // ink box from the top of the cell
    int width = 0;
    int height = 0;
    int advance = 0;  // pen advance in pixels
    std::vector<uint8_t> coverage;  // width × height, row by row
};

class cFontFace {
public:
    // windowsName: CP932 face name as the game stores it; height: cell height
    // in pixels (values below 1 are taken as 1); width: average character
    // width, 0 for the face's own aspect. Null when no usable face exists.
    static std::shared_ptr<cFontFace> Open(std::string_view windowsName, int height, int width);
    ~cFontFace();
    cFontFace(const cFontFace&) = delete;
    cFontFace& operator=(const cFontFace&) = delete;

    const std::string& WindowsName() const { return m_strWindowsName; }
    const FontFileRef& File() const { return m_File; }
    int Height() const { return m_nHeight; }
    int Ascent() const { return m_nAscent; }

    // code: one byte, or lead << 8 | trail. Null when CP932 or the face has
    // no glyph for it (such characters draw nothing and do not advance).
    std::shared_ptr<const GlyphImage> Glyph(uint16_t code, GlyphStyle style);
    // Sum of the advances of a line of CP932 text (no "\n" inside).
    int TextExtent(std::string_view line, GlyphStyle style);

private:
    struct Impl;
    explicit cFontFace(std::unique_ptr<Impl> impl);
    std::shared_ptr<const GlyphImage> Render(uint16_t code, GlyphStyle style);

    std::unique_ptr<Impl> m_pImpl;
    std::string m_strWindowsName;
    FontFileRef m_File;
    int m_nHeight = 0;
    int m_nAscent = 0;

    struct Slot {
        bool done = false;
        std::shared_ptr<const GlyphImage> glyph;
    };
    using Page = std::array<Slot, 256>;
    std::mutex m_Mutex;
    std::array<std::unique_ptr<Page>, 256> m_Pages[2];
};

// Each code as the font layer walks a text: a two-byte character when the
// lead byte has a valid trail byte, else one byte.
uint16_t CodeAt(std::string_view s, size_t pos, size_t* length);

}  // namespace text
