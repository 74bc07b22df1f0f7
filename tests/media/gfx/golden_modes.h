// The device modes every golden scene is drawn in, with their file names.
#pragma once

namespace gfxtest {

struct GoldenMode {
    const char* name;
    int d3d, bpp, screenMode;
};
inline constexpr GoldenMode kGoldenModes[] = {
    {"d3d32.png", 1, 32, 1}, {"d3d16_window.png", 1, 16, 1}, {"d3d16_full.png", 1, 16, 0},
    {"dd8.png", 0, 8, 0},    {"dd16.png", 0, 16, 0},         {"dd32.png", 0, 32, 0},
};

}  // namespace gfxtest
