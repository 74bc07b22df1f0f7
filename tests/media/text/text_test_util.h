// Shared pieces of the font layer tests: the three game fonts as layout
// styles and a target that records every glyph painted.
#pragma once
#include <string>
#include <vector>

#include "media/text/text_layout.h"
#include "platform/cp932.h"

namespace texttest {

// Font 0, 1 or 2 of the game with the default face "ＭＳ Ｐゴシック".
inline text::TextStyle GameFont(int n, const std::string& face = SJ("ＭＳ Ｐゴシック")) {
    static const int height[] = {10, 16, 30}, pitch[] = {10, 16, 32};
    text::TextStyle s;
    s.faceName = face;
    s.face = text::cFontFace::Open(face, height[n], 0);
    s.charPitch = pitch[n];
    s.linePitch = pitch[n];
    s.colour = 0xFFFFFFFF;
    s.shadowColour = 0xFF666666;
    return s;
}

struct Painted {
    int penX, top;
    int inkX0, inkY0, inkX1, inkY1;  // ink box, exclusive end; empty when x0 == x1
    uint32_t colour;
};

class cRecordingTarget : public text::cTextTarget {
public:
    std::vector<Painted> painted;
    void PaintGlyph(int penX, int top, const text::GlyphImage& g, uint32_t colour) override {
        Painted p{penX, top, 0, 0, 0, 0, colour};
        int x0 = g.width, y0 = g.height, x1 = 0, y1 = 0;
        for (int y = 0; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x)
                if (g.coverage[static_cast<size_t>(y) * g.width + x]) {
                    x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x + 1), y1 = std::max(y1, y + 1);
                }
        if (x1 > 0) {
            p.inkX0 = penX + g.left + x0, p.inkY0 = top + g.top + y0;
            p.inkX1 = penX + g.left + x1, p.inkY1 = top + g.top + y1;
        }
        painted.push_back(p);
    }
};

}  // namespace texttest
