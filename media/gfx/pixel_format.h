// Pixel formats of the two device families and the eight-int channel layout.
#pragma once
#include <cstdint>

namespace gfx {

enum class PixelFormat { Index8, RGB565, ARGB1555, RGB888, XRGB8888, ARGB8888 };

// Shift and maximum (mask shifted down) of each channel, in the order the
// graphics layer stores them.
struct PixelLayout {
    int rs = 0, gs = 0, bs = 0, as = 0;
    int rm = 0, gm = 0, bm = 0, am = 0;
    bool operator==(const PixelLayout&) const = default;
};

int BytesPerPixel(PixelFormat f);
PixelLayout LayoutOf(PixelFormat f);
bool HasAlpha(PixelFormat f);

struct Argb {
    uint8_t a, r, g, b;
    bool operator==(const Argb&) const = default;
};
inline uint32_t PackArgb(Argb c) {
    return uint32_t(c.a) << 24 | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
}
inline Argb UnpackArgb(uint32_t v) {
    return Argb{uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
}

// Channel widening by bit replication and narrowing with rounding.
inline uint8_t Widen(uint32_t c, int max) {
    switch (max) {
    case 0: return 255;
    case 1: return c ? 255 : 0;
    case 31: return uint8_t(c << 3 | c >> 2);
    case 63: return uint8_t(c << 2 | c >> 4);
    case 255: return uint8_t(c);
    default: return uint8_t((c * 255 + max / 2) / max);
    }
}
inline uint32_t Narrow(uint8_t c, int max) { return (uint32_t(c) * uint32_t(max) + 127) / 255; }

// Pixel value of a format (not Index8) <-> ARGB, by the rules above.
Argb DecodePixel(PixelFormat f, uint32_t px);
uint32_t EncodePixel(PixelFormat f, Argb c);

// The game's own conversion of an 8-bit channel into a layout field.
inline uint32_t ScaleDown(uint32_t c, int max) { return c * uint32_t(max) / 255; }
// ... and back (field x 255 / max, integer division).
inline uint32_t ScaleUp(uint32_t f, int max) { return max ? f * 255 / uint32_t(max) : 0; }

}  // namespace gfx
