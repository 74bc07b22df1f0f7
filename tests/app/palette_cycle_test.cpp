// The palette cycle chosen in the options reaches the 8-bit palette object.
#include "app/scene_manager.h"
#include "media/gfx/dd_palette.h"
#include "media/gfx/dd_state.h"
#include "platform/fs.h"
#include "tests/media/gfx/gfx_fixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

using namespace gfxtest;

namespace {

class PaletteCycleTest : public GfxTest {};

uint32_t Entry(int i) {
    const uint8_t* e = g_DD.lpDDPalette->entries[i];
    return uint32_t(e[0]) << 16 | uint32_t(e[1]) << 8 | e[2];
}

}  // namespace

// Each call loads the palette again and rotates it once: entries 16..207 move
// up by 16 x n, and the palette object shows it at once; a second call with
// the same number shows the same colours.
TEST_F(PaletteCycleTest, DirectDraw8ShowsTheCycledPaletteOncePerCall) {
    ASSERT_TRUE(InitAll(0, 8, 1));
    ASSERT_TRUE(g_DD.lpDDPalette);
    platform::MakeDirectory("bmp\\hbt");
    {
        std::ofstream f(platform::OsPath("bmp\\hbt\\hbt01.dat"), std::ios::binary);
        f << std::string(65536, '\x07');
    }
    for (int call = 0; call < 2; ++call) {
        ASSERT_TRUE(LoadPaletteCycle(1)) << call;
        EXPECT_EQ(Entry(32), PalColor(16)) << call;
        EXPECT_EQ(Entry(16), PalColor(192)) << call;
        EXPECT_EQ(Entry(15), PalColor(15)) << call;
        EXPECT_EQ(Entry(208), PalColor(208)) << call;
        EXPECT_EQ(g_PaletteCopy[32][0], g_Palette[32][0]);
    }
    // No cycle file: the box names it and nothing changes.
    EXPECT_FALSE(LoadPaletteCycle(2));
    EXPECT_EQ(Entry(32), PalColor(16));
}
