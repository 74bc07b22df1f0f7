// The blend tables of 8-bit colour ("bmp\hbt\hbtNN.dat"), one per palette
// cycle the options offer: byte a * 256 + b is the palette index nearest to
// the even mix of colours a and b of the palette as that cycle sets it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace demo {

inline constexpr int kPaletteCycles = 24;  // the options' palette cycles 0..23

struct BlendTableFile {
    std::string strPath;  // CP932 path under the game folder
    std::vector<uint8_t> bytes;
};

std::vector<BlendTableFile> DemoBlendTables();

}  // namespace demo
