// Layout of the font layer, independent of where the pixels go: the fixed
// grid walk (one pitch per character, one line pitch per line), the
// proportional lines, the glyph positions inside a cell, shadow and edge
// decoration, the icon pass and the geometry of text boxes. Drawing goes
// through cTextTarget, which the surface layer and the tests implement.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "media/text/font_face.h"
#include "media/text/sjis_text.h"

namespace text {

// Receives coverage glyphs: the pen position (x) and the top of the cell (y)
// as GDI's TextOut takes them; colour is 0xAARRGGBB.
class cTextTarget {
public:
    virtual ~cTextTarget() = default;
    virtual void PaintGlyph(int penX, int cellTop, const GlyphImage& glyph, uint32_t colour) = 0;
};

// What the layout needs of a font.
struct TextStyle {
    std::shared_ptr<cFontFace> face;
    std::string faceName;   // the stored Windows name (CP932); decides the bracket shift
    int charPitch = 0;      // 0 = proportional layout
    int linePitch = 0;
    uint32_t colour = 0xFFFFFFFF;
    uint32_t shadowColour = 0xFF000000;
    bool shadow = false;
    bool edge = false;      // wins over the shadow
    bool centre = false;    // centre every glyph in its cell; no bracket shift
    bool icons = false;     // a..z are icons (the icon picture must be loaded too)
    bool iconPicture = false;
    bool decorate = true;   // shadow and edge exist only in the Direct3D family
    GlyphStyle glyphStyle = GlyphStyle::kSmooth;
};

// One drawable character of the grid walk, relative to the text's origin.
struct GridChar {
    int x = 0;           // column offset
    int y = 0;           // line offset
    uint16_t code = 0;   // one byte, or lead << 8 | trail
    bool twoByte = false;
    int shift = 0;       // bracket shift of a proportional face
};

// Walks a text on the grid (character pitch must be non-zero) and calls
// emit for every character that is drawn: spaces, the full-width space,
// "\n" and icon letters (icons on, icon picture loaded, plainLetters 0) only
// move the position.
void WalkGrid(const TextStyle& style, std::string_view text, bool plainLetters,
              const std::function<void(const GridChar&)>& emit);

// True when the face is "ＭＳ Ｐゴシック" and glyphs are not centred: then
// "(", ")", "{", "}" and their full-width forms move right by pitch / 4.
bool UsesBracketShift(const TextStyle& style);

// One character (DrawFontChar) with its top-left cell corner at (x, y).
void DrawFontChar(cTextTarget& target, const TextStyle& style, int x, int y, uint16_t code, bool twoByte);

// The grid or proportional body of a text with its top-left at (x, y),
// every glyph drawn directly.
void DrawTextBody(cTextTarget& target, const TextStyle& style, int x, int y, std::string_view text,
                  bool plainLetters);

// Icon cells of a text: letter index 0..25 at offsets (x, y), in text order.
// Does nothing unless icons are on, the icon picture is loaded and the
// character pitch is non-zero.
void WalkIcons(const TextStyle& style, std::string_view text,
               const std::function<void(int x, int y, int letter)>& emit);

// The size of a text box: the grid rule with a character pitch, else the
// widest line's extent and lines × line pitch.
TextSize MeasureText(const TextStyle& style, std::string_view text);

// Width of the widest line by the face's advances (lines measuring 0 are
// ignored) and line count × line pitch.
TextSize GetTextSize(const TextStyle& style, std::string_view text);

// Geometry of a multi-line text box (DrawMultiLineEx).
struct MultiLineBox {
    int x = 0, y = 0, w = 0, h = 0;  // picture blit
    int textX = 0, textY = 0;        // DrawString position
    int frameX = 0, frameY = 0, frameW = 0, frameH = 0;  // frame rectangle
};
MultiLineBox LayoutMultiLineBox(int x, int y, int w, int h, int margin, TextSize textSize, int frameW,
                                int frameH, int thickness);

}  // namespace text
