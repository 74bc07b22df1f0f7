#include "tools/mkdemo/canvas.h"

namespace demo {

const std::vector<uint8_t>& DemoPalette() {
    static const std::vector<uint8_t> palette = [] {
        const uint8_t named[COLOUR_COUNT][3] = {
            {255, 0, 255},   {0, 0, 0},       {255, 255, 255}, {160, 160, 160}, {80, 80, 80},   {220, 40, 40},
            {130, 20, 20},   {240, 140, 30},  {250, 220, 40},  {60, 190, 70},   {30, 110, 40},  {120, 190, 250},
            {40, 90, 220},   {20, 40, 120},   {140, 90, 40},   {250, 200, 160}, {150, 70, 200},
        };
        std::vector<uint8_t> p(256 * 3);
        for (int i = 0; i < 256; ++i) {
            if (i < COLOUR_COUNT) {
                for (int k = 0; k < 3; ++k) p[i * 3 + k] = named[i][k];
            } else {
                // 32..255: a sky-to-white ramp for backgrounds.
                const int t = (i - COLOUR_COUNT) * 255 / (255 - COLOUR_COUNT);
                p[i * 3 + 0] = static_cast<uint8_t>(60 + t * 195 / 255);
                p[i * 3 + 1] = static_cast<uint8_t>(110 + t * 145 / 255);
                p[i * 3 + 2] = static_cast<uint8_t>(200 + t * 55 / 255);
            }
        }
        return p;
    }();
    return palette;
}

cCanvas::cCanvas(int width, int height, uint8_t fill)
    : m_nWidth(width), m_nHeight(height), m_vecPixels(static_cast<size_t>(width) * height, fill) {}

void cCanvas::Pixel(int x, int y, uint8_t c) {
    if (x >= 0 && y >= 0 && x < m_nWidth && y < m_nHeight) m_vecPixels[static_cast<size_t>(y) * m_nWidth + x] = c;
}

void cCanvas::Rect(int x, int y, int w, int h, uint8_t c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) Pixel(i, j, c);
}

void cCanvas::Frame(int x, int y, int w, int h, uint8_t c) {
    Rect(x, y, w, 1, c);
    Rect(x, y + h - 1, w, 1, c);
    Rect(x, y, 1, h, c);
    Rect(x + w - 1, y, 1, h, c);
}

void cCanvas::Disc(int cx, int cy, int r, uint8_t c) {
    for (int j = -r; j <= r; ++j)
        for (int i = -r; i <= r; ++i)
            if (i * i + j * j <= r * r) Pixel(cx + i, cy + j, c);
}

void cCanvas::Diamond(int cx, int cy, int r, uint8_t c) {
    for (int j = -r; j <= r; ++j)
        for (int i = -r; i <= r; ++i)
            if ((i < 0 ? -i : i) + (j < 0 ? -j : j) <= r) Pixel(cx + i, cy + j, c);
}

namespace {

// Rows of a 5 x 7 letter, top first; '#' is ink.
struct Glyph {
    char c;
    const char* rows[7];
};

const Glyph kGlyphs[] = {
    {'A', {" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'B', {"#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "}},
    {'C', {" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "}},
    {'D', {"#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "}},
    {'E', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"}},
    {'F', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#    "}},
    {'G', {" ### ", "#   #", "#    ", "# ###", "#   #", "#   #", " ####"}},
    {'H', {"#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'I', {" ### ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'J', {"  ###", "   # ", "   # ", "   # ", "   # ", "#  # ", " ##  "}},
    {'K', {"#   #", "#  # ", "# #  ", "##   ", "# #  ", "#  # ", "#   #"}},
    {'L', {"#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"}},
    {'M', {"#   #", "## ##", "# # #", "# # #", "#   #", "#   #", "#   #"}},
    {'N', {"#   #", "##  #", "# # #", "#  ##", "#   #", "#   #", "#   #"}},
    {'O', {" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'P', {"#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "}},
    {'Q', {" ### ", "#   #", "#   #", "#   #", "# # #", "#  # ", " ## #"}},
    {'R', {"#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"}},
    {'S', {" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "}},
    {'T', {"#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'U', {"#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'V', {"#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "}},
    {'W', {"#   #", "#   #", "#   #", "# # #", "# # #", "## ##", "#   #"}},
    {'X', {"#   #", "#   #", " # # ", "  #  ", " # # ", "#   #", "#   #"}},
    {'Y', {"#   #", "#   #", " # # ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'Z', {"#####", "    #", "   # ", "  #  ", " #   ", "#    ", "#####"}},
    {'0', {" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "}},
    {'1', {"  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'2', {" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"}},
    {'3', {"#####", "   # ", "  #  ", "   # ", "    #", "#   #", " ### "}},
    {'4', {"   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "}},
    {'5', {"#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "}},
    {'6', {"  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "}},
    {'7', {"#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "}},
    {'8', {" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "}},
    {'9', {" ### ", "#   #", "#   #", " ####", "    #", "   # ", " ##  "}},
    {'!', {"  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "     ", "  #  "}},
    {'-', {"     ", "     ", "     ", "#####", "     ", "     ", "     "}},
    {':', {"     ", "  #  ", "  #  ", "     ", "  #  ", "  #  ", "     "}},
    {'.', {"     ", "     ", "     ", "     ", "     ", " ##  ", " ##  "}},
};

const Glyph* FindGlyph(char c) {
    for (const Glyph& g : kGlyphs)
        if (g.c == c) return &g;
    return nullptr;
}

}  // namespace

void cCanvas::Text(int x, int y, const char* s, int sx, int sy, uint8_t c, uint8_t shadow) {
    for (int pass = shadow == KEY ? 1 : 0; pass < 2; ++pass) {
        const int dx = pass == 0 ? sx : 0, dy = pass == 0 ? sy : 0;
        const uint8_t ink = pass == 0 ? shadow : c;
        int cx = x;
        for (const char* p = s; *p; ++p, cx += 6 * sx) {
            const Glyph* g = FindGlyph(*p);
            if (!g) continue;
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col)
                    if (g->rows[row][col] == '#') Rect(cx + col * sx + dx, y + row * sy + dy, sx, sy, ink);
        }
    }
}

int cCanvas::TextWidth(const char* s, int sx) {
    int n = 0;
    for (const char* p = s; *p; ++p) ++n;
    return n == 0 ? 0 : (6 * n - 1) * sx;
}

void cCanvas::VerticalRamp(int y, int h, uint8_t first, int count) {
    for (int j = 0; j < h; ++j) Rect(0, y + j, m_nWidth, 1, static_cast<uint8_t>(first + j * count / h));
}

std::vector<uint8_t> cCanvas::Bmp() const {
    const int stride = (m_nWidth + 3) & ~3;
    const uint32_t offset = 14 + 40 + 256 * 4;
    const uint32_t size = offset + static_cast<uint32_t>(stride) * m_nHeight;
    std::vector<uint8_t> out;
    auto u16 = [&](uint32_t v) {
        out.push_back(static_cast<uint8_t>(v));
        out.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto u32 = [&](uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    out.push_back('B');
    out.push_back('M');
    u32(size);
    u32(0);
    u32(offset);
    u32(40);  // BITMAPINFOHEADER
    u32(static_cast<uint32_t>(m_nWidth));
    u32(static_cast<uint32_t>(m_nHeight));  // bottom-up
    u16(1);
    u16(8);
    u32(0);  // no compression
    u32(static_cast<uint32_t>(stride) * m_nHeight);
    u32(2835);
    u32(2835);
    u32(256);
    u32(0);
    const std::vector<uint8_t>& pal = DemoPalette();
    for (int i = 0; i < 256; ++i) {
        out.push_back(pal[i * 3 + 2]);
        out.push_back(pal[i * 3 + 1]);
        out.push_back(pal[i * 3 + 0]);
        out.push_back(0);
    }
    for (int y = m_nHeight - 1; y >= 0; --y) {
        const uint8_t* row = &m_vecPixels[static_cast<size_t>(y) * m_nWidth];
        out.insert(out.end(), row, row + m_nWidth);
        out.insert(out.end(), static_cast<size_t>(stride - m_nWidth), 0);
    }
    return out;
}

}  // namespace demo
