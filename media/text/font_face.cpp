#include "media/text/font_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>

#include "base/log.h"
#include "media/text/cp932_unicode.h"
#include "media/text/sjis_text.h"
#include "platform/cp932.h"

namespace text {
namespace {

std::mutex g_LibraryMutex;
FT_Library g_Library = nullptr;

FT_Library Library() {
    if (!g_Library && FT_Init_FreeType(&g_Library) != 0) g_Library = nullptr;
    return g_Library;
}

int64_t RoundDiv(int64_t num, int64_t den) { return (num * 2 + den) / (den * 2); }

}  // namespace

struct cFontFace::Impl {
    FT_Face face = nullptr;
};

uint16_t CodeAt(std::string_view s, size_t pos, size_t* length) {
    if (IsDoubleByteChar(s, pos)) {
        *length = 2;
        return static_cast<uint16_t>(static_cast<unsigned char>(s[pos]) << 8 | static_cast<unsigned char>(s[pos + 1]));
    }
    *length = 1;
    return static_cast<unsigned char>(s[pos]);
}

cFontFace::cFontFace(std::unique_ptr<Impl> impl) : m_pImpl(std::move(impl)) {}

cFontFace::~cFontFace() {
    std::lock_guard<std::mutex> lock(g_LibraryMutex);
    if (m_pImpl && m_pImpl->face) FT_Done_Face(m_pImpl->face);
}

std::shared_ptr<cFontFace> cFontFace::Open(std::string_view windowsName, int height, int width) {
    FontFileRef file = ResolveFontFile(windowsName);
    if (file.path.empty()) return nullptr;
    height = std::max(height, 1);
    width = std::max(width, 0);

    auto impl = std::make_unique<Impl>();
    int ascent = 0;
    {
        std::lock_guard<std::mutex> lock(g_LibraryMutex);
        FT_Library lib = Library();
        if (!lib || FT_New_Face(lib, file.path.c_str(), file.index, &impl->face) != 0) {
            ReportLogf("Font : FT_New_Face failed (%s)", file.path.c_str());
            return nullptr;
        }
        FT_Face face = impl->face;
        if (FT_IS_SCALABLE(face)) {
            // GDI maps a positive height to the cell: the Windows ascent plus
            // descent fill it exactly.
            auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
            int64_t winAscent = os2 ? os2->usWinAscent : face->ascender;
            int64_t winDescent = os2 ? os2->usWinDescent : -face->descender;
            int64_t cell = winAscent + winDescent;
            if (cell <= 0) {
                winAscent = face->units_per_EM;
                winDescent = 0;
                cell = winAscent;
            }
            int64_t upem = face->units_per_EM;
            FT_F26Dot6 charH = static_cast<FT_F26Dot6>(RoundDiv(int64_t{height} * 64 * upem, cell));
            FT_F26Dot6 charW = 0;
            if (width > 0) {
                int64_t avg = os2 && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : upem / 2;
                charW = static_cast<FT_F26Dot6>(RoundDiv(int64_t{width} * 64 * upem, avg));
            }
            FT_Set_Char_Size(face, charW, charH, 72, 72);
            ascent = static_cast<int>(RoundDiv(int64_t{height} * winAscent, cell));
        } else {
            FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(width), static_cast<FT_UInt>(height));
            ascent = static_cast<int>(face->size->metrics.ascender >> 6);
        }
    }
    std::shared_ptr<cFontFace> result(new cFontFace(std::move(impl)));
    result->m_strWindowsName = std::string(windowsName);
    result->m_File = std::move(file);
    result->m_nHeight = height;
    result->m_nAscent = ascent;
    return result;
}

std::shared_ptr<const GlyphImage> cFontFace::Glyph(uint16_t code, GlyphStyle style) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    auto& page = m_Pages[static_cast<int>(style)][code >> 8];
    if (!page) page = std::make_unique<Page>();
    Slot& slot = (*page)[code & 0xFF];
    if (!slot.done) {
        slot.glyph = Render(code, style);
        slot.done = true;
    }
    return slot.glyph;
}

std::shared_ptr<const GlyphImage> cFontFace::Render(uint16_t code, GlyphStyle style) {
    char32_t u = Cp932ToUnicode(code);
    if (u == 0) return nullptr;
    FT_Face face = m_pImpl->face;
    FT_UInt index = FT_Get_Char_Index(face, u);
    if (index == 0) return nullptr;
    bool mono = style == GlyphStyle::kMono;
    FT_Int32 flags = FT_LOAD_DEFAULT | (mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);
    if (FT_Load_Glyph(face, index, flags) != 0) return nullptr;
    FT_GlyphSlot g = face->glyph;
    if (g->format != FT_GLYPH_FORMAT_BITMAP &&
        FT_Render_Glyph(g, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0)
        return nullptr;

    auto image = std::make_shared<GlyphImage>();
    image->advance = static_cast<int>((g->advance.x + 32) >> 6);
    const FT_Bitmap& bm = g->bitmap;
    image->left = g->bitmap_left;
    image->top = m_nAscent - g->bitmap_top;
    image->width = static_cast<int>(bm.width);
    image->height = static_cast<int>(bm.rows);
    image->coverage.assign(static_cast<size_t>(image->width) * image->height, 0);
    for (int y = 0; y < image->height; ++y) {
        const unsigned char* row = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
        uint8_t* out = image->coverage.data() + static_cast<size_t>(y) * image->width;
        for (int x = 0; x < image->width; ++x) {
            uint8_t c = 0;
            if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
                c = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
            } else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
                int grays = bm.num_grays > 1 ? bm.num_grays - 1 : 255;
                c = static_cast<uint8_t>(row[x] * 255 / grays);
            }
            if (mono) c = c >= 128 ? 255 : 0;
            out[x] = c;
        }
    }
    return image;
}

int cFontFace::TextExtent(std::string_view line, GlyphStyle style) {
    int w = 0;
    for (size_t i = 0; i < line.size();) {
        size_t len = 1;
        uint16_t code = CodeAt(line, i, &len);
        if (auto g = Glyph(code, style)) w += g->advance;
        i += len;
    }
    return w;
}

}  // namespace text
