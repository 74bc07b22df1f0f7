// A small 8-bit picture with the demo's palette, drawn with simple shapes
// and written as a Windows bitmap (the format the bitmap table loads).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace demo {

// Palette indexes of the demo's colours. Index 0 is the transparent colour.
enum Colour : uint8_t {
    KEY = 0,
    BLACK,
    WHITE,
    GREY,
    DARK_GREY,
    RED,
    DARK_RED,
    ORANGE,
    YELLOW,
    GREEN,
    DARK_GREEN,
    SKY,
    BLUE,
    DARK_BLUE,
    BROWN,
    SKIN,
    PURPLE,
    COLOUR_COUNT
};

// The 256 palette entries (r, g, b): the named colours, then a grey ramp.
const std::vector<uint8_t>& DemoPalette();

class cCanvas {
public:
    cCanvas(int width, int height, uint8_t fill = KEY);
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    void Pixel(int x, int y, uint8_t c);
    void Rect(int x, int y, int w, int h, uint8_t c);
    void Frame(int x, int y, int w, int h, uint8_t c);  // one-pixel outline
    void Disc(int cx, int cy, int r, uint8_t c);
    void Diamond(int cx, int cy, int r, uint8_t c);
    // Block letters (A-Z, 0-9, space, "!", "-", ":", "."), each a 5 x 7 grid
    // of scale x scale squares with one column of space after it, the top-left
    // at (x, y); a shadow one square down-right when shadow is not KEY.
    // TextWidth: the width of a text drawn with squares sx wide.
    void Text(int x, int y, const char* s, int scale, uint8_t c, uint8_t shadow = KEY) {
        Text(x, y, s, scale, scale, c, shadow);
    }
    // The same with squares sx wide and sy high.
    void Text(int x, int y, const char* s, int sx, int sy, uint8_t c, uint8_t shadow);
    static int TextWidth(const char* s, int sx);
    // Horizontal bands from colour index `first` over `count` ramp entries.
    void VerticalRamp(int y, int h, uint8_t first, int count);
    // Windows bitmap, 8 bits per pixel with the demo palette, bottom-up rows.
    std::vector<uint8_t> Bmp() const;

private:
    int m_nWidth, m_nHeight;
    std::vector<uint8_t> m_vecPixels;
};

}  // namespace demo
