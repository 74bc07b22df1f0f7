// Windows bitmap files as the graphics layer reads them: 8-bit images keep
// their colour table, true-colour images are given as 0x00RRGGBB pixels.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gfx {

struct cDib {
    int width = 0, height = 0;
    int bitCount = 0;            // 8 for an indexed image, else 24 or 32
    uint8_t colors[256][4]{};    // colour table: red, green, blue, 0
    std::vector<uint8_t> index;  // 8-bit: one index per pixel, top row first
    std::vector<uint32_t> rgb;   // true colour: 0x00RRGGBB, top row first
    uint32_t Rgb(int x, int y) const {
        if (bitCount == 8) {
            const uint8_t* c = colors[index[size_t(y) * width + x]];
            return uint32_t(c[0]) << 16 | uint32_t(c[1]) << 8 | c[2];
        }
        return rgb[size_t(y) * width + x];
    }
};

// The most pixels a bitmap may have on either side.
constexpr int kMaxDibSide = 16384;

// Loads a file named as the game data names it (CP932, backslashes). Files
// that are not Windows bitmaps of 8, 24 or 32 bits fail; the reason goes to
// `why` when given. A header that asks for more than kMaxDibSide pixels on
// a side, or for more uncompressed rows than the file holds, is refused
// before anything is allocated, and the report names the file.
std::optional<cDib> LoadDib(std::string_view cp932Path, std::string* why = nullptr);
std::optional<cDib> DecodeDib(const std::vector<uint8_t>& bytes, std::string* why = nullptr);

}  // namespace gfx
