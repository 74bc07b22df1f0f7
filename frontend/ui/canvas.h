// Drawing into a CPU copy of the 640 × 480 frame (0x00RRGGBB): rectangles,
// lines and CP932 text in the template font, clipped to a rectangle.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "media/text/font_face.h"

namespace ui {

// The template font ("ＭＳ Ｐゴシック", 12-pixel cell), opened once. Null when no
// face can be opened.
std::shared_ptr<text::cFontFace> TemplateFace();

class cCanvas {
public:
    cCanvas(uint32_t* pixels, int width, int height);

    void SetClip(int x, int y, int w, int h);  // within the frame
    void ResetClip();

    void Fill(int x, int y, int w, int h, uint32_t color);
    void HLine(int x, int y, int w, uint32_t color);
    void VLine(int x, int y, int h, uint32_t color);
    void Outline(int x, int y, int w, int h, uint32_t color);
    void DottedOutline(int x, int y, int w, int h, uint32_t color);
    // Raised (light top-left) or sunken edge two pixels wide.
    void Edge(int x, int y, int w, int h, bool sunken);
    void Pixel(int x, int y, uint32_t color);

    // One line of text with its cell's top at y; returns the advance.
    int Text(text::cFontFace& face, int x, int y, std::string_view line, uint32_t color);

private:
    uint32_t* m_px;
    int m_w, m_h;
    int m_clipL = 0, m_clipT = 0, m_clipR = 0, m_clipB = 0;
};

// Width of a line of text (no "\n" inside).
int TextWidth(text::cFontFace& face, std::string_view line);
// Lines of a text wrapped to a width: breaks at "\n" (a CR before it is
// dropped) and before a character that would pass the width.
std::vector<std::string> WrapText(text::cFontFace& face, std::string_view s, int width);

}  // namespace ui
