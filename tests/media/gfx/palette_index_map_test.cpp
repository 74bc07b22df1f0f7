// The palette-index map gives each pixel the first palette entry of its
// colour, as a scan of the 256 entries in order does, in every family and
// depth that builds one.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <utility>

#include "gfx_fixture.h"
#include "media/gfx/palette_lookup.h"
#include "media/gfx/pixel_format.h"

using namespace gfxtest;

namespace {

bool Init(int useD3D, int bpp) {
    gfx::DDMachineState().desktopBpp = bpp;
    return DDInit(useD3D, nullptr, 640, 480, bpp, 0, 1, 1, 60, 0, SurfaceTable, BitmapTable, 72, 0);
}

// The map as the entry-by-entry scan makes it (0 where no entry matches).
std::vector<uint8_t> ScanMap(DDSURFACEDATA* sd) {
    DDLOCK lock(sd);
    const gfx::cImage& img = *lock.Image();
    std::vector<uint8_t> map(size_t(lock.m_nPitch) * sd->nHeight, 0);
    const gfx::PixelLayout& l = g_SurfLayout;
    const bool keyed = sd->lpDT && sd->lpDT->bColorKey;
    for (int y = 0; y < sd->nHeight && y < img.Height(); ++y)
        for (int x = 0; x < sd->nWidth && x < img.Width(); ++x) {
            const uint32_t px = img.Get(x, y);
            if (lpDTCon && g_DD.nBpp == 16 && keyed && px == 0) continue;
            for (int i = 0; i < 256; ++i) {
                const uint8_t* e = g_Palette[i];
                bool eq;
                if (g_DD.nBpp == 16 && lpDTCon)
                    eq = e[0] == gfx::ScaleUp((px >> l.rs) & l.rm, l.rm) &&
                         e[1] == gfx::ScaleUp((px >> l.gs) & l.gm, l.gm) &&
                         e[2] == gfx::ScaleUp((px >> l.bs) & l.bm, l.bm);
                else if (g_DD.nBpp == 16)
                    eq = DDPalToRGB16(e) == px;
                else
                    eq = e[0] == ((px >> 16) & 255) && e[1] == ((px >> 8) & 255) && e[2] == (px & 255);
                if (eq) {
                    map[size_t(y) * lock.m_nPitch + x] = uint8_t(i);
                    break;
                }
            }
        }
    return map;
}

}  // namespace

TEST(PaletteLookup, FirstEntryOfEachKeyWins) {
    std::array<uint32_t, 256> keys{};
    for (int i = 0; i < 256; ++i) keys[size_t(i)] = uint32_t(i) * 0x10101u;
    keys[9] = keys[3];      // a later duplicate is never found
    keys[255] = keys[200];
    keys[0] = keys[1] = 0xABCDEFu;  // entry 0 itself has a colour
    const gfx::cPaletteLookup lookup(keys);
    EXPECT_EQ(lookup.Find(keys[3]), 3);
    EXPECT_EQ(lookup.Find(keys[200]), 200);
    EXPECT_EQ(lookup.Find(0xABCDEFu), 0);
    EXPECT_TRUE(lookup.Has(0xABCDEFu));
    EXPECT_EQ(lookup.Find(0x123456u), 0);
    EXPECT_FALSE(lookup.Has(0x123456u));
    EXPECT_EQ(lookup.Find(uint32_t(77) * 0x10101u), 77);
}

// A 37 x 23 picture (an odd width, so the map's pitch differs from it) of
// palette colours, colours of no entry and the transparent colour, with
// entries that repeat an earlier colour; and one of 301 x 223, more pixels
// than a 16-bit pixel has values (each value is then looked up once).
TEST_F(GfxTest, PaletteIndexMapEqualsFirstMatchScan) {
    testbmp::Write("p24.bmp", PaletteBmp24());
    for (const auto& [w, h] : {std::pair{37, 23}, std::pair{301, 223}}) {
        std::vector<uint32_t> rgb(size_t(w) * h);
        uint32_t seed = 12345;
        for (size_t i = 0; i < rgb.size(); ++i) {
            seed = seed * 1103515245u + 12345u;
            const uint32_t r = seed >> 8;
            switch (i % 4) {
            case 0: rgb[i] = PalColor(int(r % 256)); break;   // a palette colour
            case 1: rgb[i] = r & 0xFFFFFF; break;              // most likely none
            case 2: rgb[i] = PalColor(int(r % 16)); break;     // the repeated entries' colours
            default: rgb[i] = i % 8 == 3 ? PalColor(0) : (r & 0xF8F8F8); break;
            }
        }
        testbmp::Write("m24.bmp", testbmp::MakeRgb(w, h, rgb));
        std::vector<uint32_t> table(256);
        for (int i = 0; i < 256; ++i) table[size_t(i)] = PalColor(i);
        for (int i = 128; i < 256; ++i) table[size_t(i)] = 0x010203u * uint32_t(i);  // colours of no entry
        std::vector<uint8_t> idx(size_t(w) * h);
        for (size_t i = 0; i < idx.size(); ++i) idx[i] = uint8_t((i * 97 + i / 5) % 256);
        testbmp::Write("m8.bmp", testbmp::Make8(w, h, table, idx));
        const struct Case {
            int useD3D, bpp;
            const char* palette;
            const char* image;
            int key;
        } cases[] = {
            {1, 16, "bmp\\plt\\Palette.bmp", "m24.bmp", 0}, {1, 16, "bmp\\plt\\Palette.bmp", "m24.bmp", 1},
            {1, 16, "p24.bmp", "m8.bmp", 1},                   {0, 16, "p24.bmp", "m24.bmp", 0},
            {0, 16, "bmp\\plt\\Palette.bmp", "m8.bmp", 0},   {1, 32, "bmp\\plt\\Palette.bmp", "m24.bmp", 0},
            {1, 32, "bmp\\plt\\Palette.bmp", "m8.bmp", 1},   {0, 32, "bmp\\plt\\Palette.bmp", "m24.bmp", 0},
            {0, 32, "p24.bmp", "m8.bmp", 0},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << (c.useD3D ? "Direct3D " : "DirectDraw ") << c.bpp << " " << c.palette << " "
                                            << c.image << " key " << c.key << " " << w << " x " << h);
            ResetGraphics();
            ASSERT_TRUE(Init(c.useD3D, c.bpp));
            ASSERT_TRUE(DDLoadPaletteFromFile(g_Palette, c.palette));
            ASSERT_EQ(DDSetTransmit(std::string(c.palette)), 1);
            // Repeated colours: entries 9..15 repeat 2..8, entry 250 repeats 0.
            for (int i = 9; i < 16; ++i)
                for (int k = 0; k < 3; ++k) g_Palette[i][k] = g_Palette[i - 7][k];
            for (int k = 0; k < 3; ++k) g_Palette[250][k] = g_Palette[0][k];
            DDSURFACEDATA sd;
            ASSERT_EQ(DDCreateSurfaceFromFile(&sd, c.image, c.key, c.bpp, 1, 0, 0, 1, 0, 0, 0), 0);
            const std::vector<uint8_t>* map = c.useD3D ? sd.lpDT->lpPalIdx : sd.lpDD->lpPalIdx;
            ASSERT_NE(map, nullptr);
            const std::vector<uint8_t> expected = ScanMap(&sd);
            EXPECT_EQ(*map, expected);
            // The picture holds matched pixels beyond entry 0, and unmatched ones.
            EXPECT_GT(std::count_if(expected.begin(), expected.end(), [](uint8_t v) { return v > 1; }), w);
            g_LiveSurfaces.remove(&sd);
            DDReleaseSurfaceData(&sd);
        }
    }
}
