// Small Windows bitmap writer for fixtures made by the tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/fs.h"

namespace testbmp {

inline void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) { b[at] = uint8_t(v); b[at + 1] = uint8_t(v >> 8); }
inline void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

// 8-bit image: colours are 0x00RRGGBB, pixels are indices, top row first.
inline std::vector<uint8_t> Make8(int w, int h, const std::vector<uint32_t>& colors, const std::vector<uint8_t>& px) {
    const int stride = (w + 3) & ~3;
    const size_t off = 54 + colors.size() * 4, size = off + size_t(stride) * h;
    std::vector<uint8_t> b(size, 0);
    b[0] = 'B'; b[1] = 'M';
    Put32(b, 2, uint32_t(size)); Put32(b, 10, uint32_t(off)); Put32(b, 14, 40);
    Put32(b, 18, uint32_t(w)); Put32(b, 22, uint32_t(h)); Put16(b, 26, 1); Put16(b, 28, 8);
    Put32(b, 34, uint32_t(stride * h)); Put32(b, 46, uint32_t(colors.size()));
    for (size_t i = 0; i < colors.size(); ++i) {
        b[54 + i * 4] = uint8_t(colors[i]); b[55 + i * 4] = uint8_t(colors[i] >> 8); b[56 + i * 4] = uint8_t(colors[i] >> 16);
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b[off + size_t(h - 1 - y) * stride + x] = px[size_t(y) * w + x];
    return b;
}

// True-colour image (24 or 32 bits): pixels 0x00RRGGBB, top row first.
inline std::vector<uint8_t> MakeRgb(int w, int h, const std::vector<uint32_t>& px, int bits = 24) {
    const int bpp = bits / 8, stride = (w * bpp + 3) & ~3;
    const size_t size = 54 + size_t(stride) * h;
    std::vector<uint8_t> b(size, 0);
    b[0] = 'B'; b[1] = 'M';
    Put32(b, 2, uint32_t(size)); Put32(b, 10, 54); Put32(b, 14, 40);
    Put32(b, 18, uint32_t(w)); Put32(b, 22, uint32_t(h)); Put16(b, 26, 1); Put16(b, 28, uint32_t(bits));
    Put32(b, 34, uint32_t(stride * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t c = px[size_t(y) * w + x];
            uint8_t* p = &b[54 + size_t(h - 1 - y) * stride + size_t(x) * bpp];
            p[0] = uint8_t(c); p[1] = uint8_t(c >> 8); p[2] = uint8_t(c >> 16);
        }
    return b;
}

inline void Write(const std::string& cp932Path, const std::vector<uint8_t>& bytes) {
    platform::WriteFileAtomic(cp932Path, bytes);
}

}  // namespace testbmp
