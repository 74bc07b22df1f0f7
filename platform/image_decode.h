// Decoding a Windows bitmap held in memory.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace platform {

struct DecodedImage {
    int width = 0, height = 0;
    // Indexed decoding: the palette's colours (r, g, b) and one index a pixel.
    std::vector<std::array<uint8_t, 3>> palette;
    std::vector<uint8_t> index;
    // Direct decoding: one 0x00RRGGBB a pixel.
    std::vector<uint32_t> rgb;
};

enum class ImageDecodeResult { Ok, OutOfMemory, BadData };

// Decodes the bitmap in bytes, rows top-down. indexed: the picture must be
// 8 bits a pixel with a palette and is kept as indices (else BadData);
// otherwise any depth is converted to 0x00RRGGBB.
ImageDecodeResult DecodeBmp(const std::vector<uint8_t>& bytes, bool indexed, DecodedImage& out);

}  // namespace platform
