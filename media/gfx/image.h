// A block of pixels in one format: what a texture, a device surface or a
// decoded file holds.
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

#include "media/gfx/pixel_format.h"

namespace gfx {

class cImage {
public:
    cImage() = default;
    cImage(PixelFormat f, int w, int h) { Reset(f, w, h); }
    void Reset(PixelFormat f, int w, int h) {
        m_format = f;
        m_nWidth = w > 0 ? w : 0;
        m_nHeight = h > 0 ? h : 0;
        m_nPitch = m_nWidth * BytesPerPixel(f);
        m_bits.assign(size_t(m_nPitch) * m_nHeight, 0);
    }
    PixelFormat Format() const { return m_format; }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    int Pitch() const { return m_nPitch; }  // bytes
    int Bpp() const { return BytesPerPixel(m_format); }
    uint8_t* Row(int y) { return m_bits.data() + size_t(y) * m_nPitch; }
    const uint8_t* Row(int y) const { return m_bits.data() + size_t(y) * m_nPitch; }
    uint8_t* Bits() { return m_bits.data(); }
    const uint8_t* Bits() const { return m_bits.data(); }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < m_nWidth && y < m_nHeight; }

    // Raw pixel value (24-bit pixels as 0x00RRGGBB).
    uint32_t Get(int x, int y) const {
        const uint8_t* p = Row(y) + x * Bpp();
        switch (Bpp()) {
        case 1: return *p;
        case 2: { uint16_t v; std::memcpy(&v, p, 2); return v; }
        case 3: return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
        default: { uint32_t v; std::memcpy(&v, p, 4); return v; }
        }
    }
    void Set(int x, int y, uint32_t v) {
        uint8_t* p = Row(y) + x * Bpp();
        switch (Bpp()) {
        case 1: *p = uint8_t(v); break;
        case 2: { uint16_t s = uint16_t(v); std::memcpy(p, &s, 2); break; }
        case 3: p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); p[2] = uint8_t(v >> 16); break;
        default: std::memcpy(p, &v, 4); break;
        }
    }
    bool operator==(const cImage& o) const {
        return m_format == o.m_format && m_nWidth == o.m_nWidth && m_nHeight == o.m_nHeight && m_bits == o.m_bits;
    }

private:
    PixelFormat m_format = PixelFormat::Index8;
    int m_nWidth = 0, m_nHeight = 0, m_nPitch = 0;
    std::vector<uint8_t> m_bits;
};

// Frame for the window: every pixel as 0x00RRGGBB. An 8-bit image looks its
// indices up in the 256 palette entries (red, green, blue, flags).
void ConvertToXrgb8888(const cImage& img, const uint8_t (*palette)[4], std::vector<uint32_t>& out);
// The same into a buffer of width x height pixels.
void ConvertToXrgb8888(const cImage& img, const uint8_t (*palette)[4], uint32_t* out);

}  // namespace gfx
