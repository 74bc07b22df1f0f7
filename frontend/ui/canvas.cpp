#include "frontend/ui/canvas.h"

#include "platform/cp932.h"

#include <algorithm>
#include <mutex>

namespace ui {

std::shared_ptr<text::cFontFace> TemplateFace() {
    static std::mutex mutex;
    static std::shared_ptr<text::cFontFace> face;
    static bool tried = false;
    std::lock_guard<std::mutex> lock(mutex);
    if (!tried) {
        tried = true;
        face = text::cFontFace::Open(SJ("ＭＳ Ｐゴシック"), 12, 0);
    }
    return face;
}

cCanvas::cCanvas(uint32_t* pixels, int width, int height) : m_px(pixels), m_w(width), m_h(height) { ResetClip(); }

void cCanvas::ResetClip() {
    m_clipL = m_clipT = 0;
    m_clipR = m_w;
    m_clipB = m_h;
}

void cCanvas::SetClip(int x, int y, int w, int h) {
    m_clipL = std::clamp(x, 0, m_w);
    m_clipT = std::clamp(y, 0, m_h);
    m_clipR = std::clamp(x + w, m_clipL, m_w);
    m_clipB = std::clamp(y + h, m_clipT, m_h);
}

void cCanvas::Pixel(int x, int y, uint32_t color) {
    if (x >= m_clipL && x < m_clipR && y >= m_clipT && y < m_clipB) m_px[static_cast<size_t>(y) * m_w + x] = color;
}

void cCanvas::Fill(int x, int y, int w, int h, uint32_t color) {
    int l = std::max(x, m_clipL), r = std::min(x + w, m_clipR);
    int t = std::max(y, m_clipT), b = std::min(y + h, m_clipB);
    if (l >= r) return;  // wholly outside the clip
    for (int yy = t; yy < b; ++yy) std::fill(m_px + static_cast<size_t>(yy) * m_w + l, m_px + static_cast<size_t>(yy) * m_w + r, color);
}

void cCanvas::HLine(int x, int y, int w, uint32_t color) { Fill(x, y, w, 1, color); }
void cCanvas::VLine(int x, int y, int h, uint32_t color) { Fill(x, y, 1, h, color); }

void cCanvas::Outline(int x, int y, int w, int h, uint32_t color) {
    HLine(x, y, w, color);
    HLine(x, y + h - 1, w, color);
    VLine(x, y, h, color);
    VLine(x + w - 1, y, h, color);
}

void cCanvas::DottedOutline(int x, int y, int w, int h, uint32_t color) {
    for (int i = 0; i < w; i += 2) {
        Pixel(x + i, y, color);
        Pixel(x + i, y + h - 1, color);
    }
    for (int i = 0; i < h; i += 2) {
        Pixel(x, y + i, color);
        Pixel(x + w - 1, y + i, color);
    }
}

void cCanvas::Edge(int x, int y, int w, int h, bool sunken) {
    constexpr uint32_t kLightC = 0xFFFFFF, kShadowC = 0x808078, kDarkC = 0x303030, kMid = 0xE8E4DC;
    uint32_t outerTL = sunken ? kShadowC : kMid, outerBR = sunken ? kLightC : kDarkC;
    uint32_t innerTL = sunken ? kDarkC : kLightC, innerBR = sunken ? kMid : kShadowC;
    HLine(x, y, w - 1, outerTL);
    VLine(x, y, h - 1, outerTL);
    HLine(x, y + h - 1, w, outerBR);
    VLine(x + w - 1, y, h, outerBR);
    HLine(x + 1, y + 1, w - 3, innerTL);
    VLine(x + 1, y + 1, h - 3, innerTL);
    HLine(x + 1, y + h - 2, w - 2, innerBR);
    VLine(x + w - 2, y + 1, h - 2, innerBR);
}

int cCanvas::Text(text::cFontFace& face, int x, int y, std::string_view line, uint32_t color) {
    int pen = x;
    size_t i = 0;
    while (i < line.size()) {
        size_t len = 1;
        uint16_t code = text::CodeAt(line, i, &len);
        i += len;
        auto g = face.Glyph(code, text::GlyphStyle::kSmooth);
        if (!g) continue;
        for (int gy = 0; gy < g->height; ++gy) {
            int py = y + g->top + gy;
            if (py < m_clipT || py >= m_clipB) continue;
            for (int gx = 0; gx < g->width; ++gx) {
                int px = pen + g->left + gx;
                if (px < m_clipL || px >= m_clipR) continue;
                uint32_t a = g->coverage[static_cast<size_t>(gy) * g->width + gx];
                if (!a) continue;
                uint32_t& d = m_px[static_cast<size_t>(py) * m_w + px];
                uint32_t out = 0;
                for (int sh = 0; sh <= 16; sh += 8) {
                    uint32_t dc = d >> sh & 0xFF, sc = color >> sh & 0xFF;
                    out |= ((sc * a + dc * (255 - a) + 127) / 255) << sh;
                }
                d = out;
            }
        }
        pen += g->advance;
    }
    return pen - x;
}

int TextWidth(text::cFontFace& face, std::string_view line) { return face.TextExtent(line, text::GlyphStyle::kSmooth); }

std::vector<std::string> WrapText(text::cFontFace& face, std::string_view s, int width) {
    std::vector<std::string> lines;
    std::string cur;
    int curW = 0;
    size_t i = 0;
    while (i < s.size()) {
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
        if (s[i] == '\n') {
            lines.push_back(cur);
            cur.clear();
            curW = 0;
            ++i;
            continue;
        }
        size_t len = platform::Cp932CharLen(s, i);
        std::string_view ch = s.substr(i, len);
        int w = TextWidth(face, ch);
        if (!cur.empty() && curW + w > width) {
            lines.push_back(cur);
            cur.clear();
            curW = 0;
        }
        cur.append(ch);
        curW += w;
        i += len;
    }
    lines.push_back(cur);
    return lines;
}

}  // namespace ui
