#include "media/text/text_layout.h"

#include <algorithm>
#include <vector>

#include "platform/cp932.h"

namespace text {
namespace {

constexpr uint16_t kFullWidthSpace = 0x8140;

bool IsShiftedBracket(uint16_t code) {
    switch (code) {
        case '(': case ')': case '{': case '}':
        case 0x8169: case 0x816A: case 0x816F: case 0x8170:  // （ ） ｛ ｝
            return true;
        default:
            return false;
    }
}

bool IsIconLetter(const TextStyle& style, unsigned char c) {
    return c >= 'a' && c <= 'z' && style.icons && style.iconPicture;
}

// Shadow or edge copies in the shadow colour, then the text in its colour;
// paint(dx, dy, colour) draws the whole run once.
template <class Paint>
void DrawDecorated(const TextStyle& style, Paint paint) {
    if (style.decorate) {
        int t = std::max(style.linePitch / 16, 1);
        if (style.edge) {
            paint(-t, 0, style.shadowColour);
            paint(t, 0, style.shadowColour);
            paint(0, -t, style.shadowColour);
            paint(0, t, style.shadowColour);
        } else if (style.shadow) {
            paint(t, t, style.shadowColour);
        }
    }
    paint(0, 0, style.colour);
}

// A proportional line: glyphs side by side by their advances.
void DrawRun(cTextTarget& target, const TextStyle& style, int x, int y, std::string_view line) {
    struct Placed {
        int x;
        std::shared_ptr<const GlyphImage> glyph;
    };
    std::vector<Placed> run;
    int pen = x;
    for (size_t i = 0; i < line.size();) {
        size_t len = 1;
        uint16_t code = CodeAt(line, i, &len);
        i += len;
        auto g = style.face->Glyph(code, style.glyphStyle);
        if (!g) continue;
        run.push_back({pen, g});
        pen += g->advance;
    }
    DrawDecorated(style, [&](int dx, int dy, uint32_t colour) {
        for (const auto& p : run) target.PaintGlyph(p.x + dx, y + dy, *p.glyph, colour);
    });
}

}  // namespace

bool UsesBracketShift(const TextStyle& style) {
    return !style.centre && style.faceName == SJ("ＭＳ Ｐゴシック");
}

void WalkGrid(const TextStyle& style, std::string_view s, bool plainLetters,
              const std::function<void(const GridChar&)>& emit) {
    const int pitch = style.charPitch;
    const bool shiftBrackets = UsesBracketShift(style);
    int col = 0;
    int line = 0;
    for (size_t i = 0; i < s.size();) {
        size_t len = 1;
        uint16_t code = CodeAt(s, i, &len);
        i += len;
        if (len == 2) {
            if (code != kFullWidthSpace) {
                int shift = shiftBrackets && IsShiftedBracket(code) ? pitch >> 2 : 0;
                emit({col, line, code, true, shift});
            }
            col += pitch;
            continue;
        }
        auto c = static_cast<unsigned char>(code);
        if (c == ' ' || (!plainLetters && IsIconLetter(style, c))) {
            col += pitch;
        } else if (c == '\n') {
            col = 0;
            line += style.linePitch;
        } else {
            int shift = shiftBrackets && IsShiftedBracket(code) ? pitch >> 2 : 0;
            emit({col, line, code, false, shift});
            col += pitch;
        }
    }
}

void DrawFontChar(cTextTarget& target, const TextStyle& style, int x, int y, uint16_t code, bool twoByte) {
    if (!style.face) return;
    auto glyph = style.face->Glyph(code, style.glyphStyle);
    if (!glyph) return;
    if (style.centre) {
        x += style.charPitch / 2 - glyph->advance / 2;
        y += style.linePitch / 2 - style.face->Height() / 2;
    } else if (!twoByte) {
        x += style.charPitch / 8;
        y += style.linePitch / 16 - 1;
    }
    DrawDecorated(style, [&](int dx, int dy, uint32_t colour) { target.PaintGlyph(x + dx, y + dy, *glyph, colour); });
}

void DrawTextBody(cTextTarget& target, const TextStyle& style, int x, int y, std::string_view s,
                  bool plainLetters) {
    if (!style.face) return;
    if (style.charPitch == 0) {
        int lineY = y;
        for (auto line : SplitLines(s)) {
            DrawRun(target, style, x, lineY, line);
            lineY += style.linePitch;
        }
        return;
    }
    WalkGrid(style, s, plainLetters, [&](const GridChar& c) {
        DrawFontChar(target, style, x + c.x + c.shift, y + c.y, c.code, c.twoByte);
    });
}

void WalkIcons(const TextStyle& style, std::string_view s,
               const std::function<void(int x, int y, int letter)>& emit) {
    if (!style.icons || !style.iconPicture || style.charPitch == 0) return;
    int col = 0;
    int line = 0;
    for (size_t i = 0; i < s.size();) {
        size_t len = 1;
        uint16_t code = CodeAt(s, i, &len);
        i += len;
        if (len == 1 && code == '\n') {
            col = 0;
            line += style.linePitch;
            continue;
        }
        if (len == 1 && code >= 'a' && code <= 'z') emit(col, line, code - 'a');
        col += style.charPitch;
    }
}

TextSize GetTextSize(const TextStyle& style, std::string_view s) {
    auto lines = SplitLines(s);
    int widest = 0;
    if (style.face) {
        for (auto line : lines) widest = std::max(widest, style.face->TextExtent(line, style.glyphStyle));
    }
    return {widest, static_cast<int>(lines.size()) * style.linePitch};
}

TextSize MeasureText(const TextStyle& style, std::string_view s) {
    if (style.charPitch != 0) return MeasureGridText(s, style.charPitch, style.linePitch);
    return GetTextSize(style, s);
}

MultiLineBox LayoutMultiLineBox(int x, int y, int w, int h, int margin, TextSize textSize, int frameW,
                                int frameH, int thickness) {
    if (w == 0) w = margin + textSize.w;
    if (h == 0) h = textSize.h;
    MultiLineBox box;
    box.x = ResolveCentred(x, frameW, w);
    box.y = ResolveCentred(y, frameH, h);
    box.w = w;
    box.h = h;
    box.textX = box.x + margin;
    box.textY = box.y;
    box.frameX = box.x - thickness;
    box.frameY = box.y - thickness;
    box.frameW = w + 2 * thickness;
    box.frameH = h + 2 * thickness;
    return box;
}

}  // namespace text
