// Rectangle copy, nearest stretch and fill over images of one format. The
// loops are templated per pixel size and per skip rule.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "media/gfx/image.h"

namespace gfx {

enum class Skip {
    None,
    Key,     // the source pixel equals the key
    Alpha0,  // a 32-bit texel below 0x1000000
    Test16,  // a 16-bit texel with bits 15 and 13 clear
};
struct SkipRule {
    Skip kind = Skip::None;
    uint32_t key = 0;
};

enum class Convert {
    None,
    SurfToBack565,  // A1R5G5B5 texel -> R5G6B5 pixel, green doubled, no alpha
};

// Auto takes the block-wise rows where they apply; General goes pixel by
// pixel (the reference the fast rows are compared against).
enum class PixelPath { Auto, General };

// Pixel (dx + j, dy + i) <- (sx + j, sy + i) for 0 <= j < w, 0 <= i < h,
// every pair inside both images. False when the pixel sizes differ.
bool CopyRect(cImage& dst, int dx, int dy, const cImage& src, int sx, int sy, int w, int h, SkipRule skip = {},
              Convert conv = Convert::None, PixelPath path = PixelPath::Auto);

// Truncating nearest stretch: destination column j reads
// sx + trunc(j * sw / w) (minus one when sw < 0), rows likewise. Pixels
// outside either image are skipped.
bool StretchTrunc(cImage& dst, int x, int y, int w, int h, const cImage& src, int sx, int sy, int sw, int sh,
                  SkipRule skip = {}, Convert conv = Convert::None, PixelPath path = PixelPath::Auto);

// Source offset of destination column j by the truncating rule.
inline int TruncOffset(int j, int sw, int w) {
    const int o = int(int64_t(j) * sw / w);
    return sw < 0 ? o - 1 : o;
}

// Raw pixel value into every pixel of the rectangle inside the image.
void FillRect(cImage& dst, int x, int y, int w, int h, uint32_t px);

// Raw pixel value into n pixels of B bytes (2 or 4) from d, sixteen bytes
// at a time.
template <int B>
inline void FillRow(uint8_t* d, size_t n, uint32_t px) {
    static_assert(B == 2 || B == 4);
    using u32x4 = uint32_t __attribute__((vector_size(16)));
    if constexpr (B == 2) {
        const uint16_t p16 = uint16_t(px);
        if (n & 1) std::memcpy(d + (n - 1) * 2, &p16, 2);
        px = uint32_t(p16) * 0x10001u;
        n /= 2;
    }
    const u32x4 v = {px, px, px, px};
    size_t j = 0;
    for (; j + 4 <= n; j += 4) std::memcpy(d + j * 4, &v, 16);
    for (; j < n; ++j) std::memcpy(d + j * 4, &px, 4);
}

// Skip test of one pixel value.
inline bool Skipped(const SkipRule& r, uint32_t px) {
    switch (r.kind) {
    case Skip::None: return false;
    case Skip::Key: return px == r.key;
    case Skip::Alpha0: return px < 0x1000000u;
    case Skip::Test16: return (px & 0xA000u) == 0;
    }
    return false;
}

inline uint32_t SurfToBack565(uint32_t px) {
    const uint32_t r = (px >> 10) & 31, g = (px >> 5) & 31, b = px & 31;
    return r << 11 | (g * 2) << 5 | b;
}

}  // namespace gfx
