// A generated game folder with the bitmaps of the bitmap table, and a clean
// graphics state around each test.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <string>

#include "base/log.h"
#include "base/quit.h"
#include "bmp_writer.h"
#include "media/gfx/dd_init.h"
#include "media/gfx/dd_palette.h"
#include "media/gfx/dd_surface.h"
#include "platform/fs.h"

namespace gfxtest {

// Palette colour i: multiples of 8 so that 16-bit modes keep them.
inline uint32_t PalColor(int i) {
    if (i == 0) return 0xF800F8;  // the transparent colour
    return uint32_t((i * 8) & 0xF8) << 16 | uint32_t((255 - i) & 0xF8) << 8 | uint32_t((i * 40) & 0xF8);
}

// Palette image: 8-bit, colour table = PalColor, swatch rows 8..23 hold
// index i at column i % 16, row 8 + i / 16; the top-left pixel is index 0.
inline std::vector<uint8_t> PaletteBmp8() {
    std::vector<uint32_t> colors(256);
    for (int i = 0; i < 256; ++i) colors[i] = PalColor(i);
    std::vector<uint8_t> px(16 * 24, 0);
    for (int i = 0; i < 256; ++i) px[size_t(8 + i / 16) * 16 + i % 16] = uint8_t(i);
    return testbmp::Make8(16, 24, colors, px);
}
inline std::vector<uint8_t> PaletteBmp24() {
    std::vector<uint32_t> px(16 * 24, PalColor(0));
    for (int i = 0; i < 256; ++i) px[size_t(8 + i / 16) * 16 + i % 16] = PalColor(i);
    return testbmp::MakeRgb(16, 24, px, 24);
}

// Character sheet: 72 x 8 in palette indices; pixel (x, y) = 1 + x % 64 for
// x < 64 except column 0 of each row, which is transparent (index 0).
inline std::vector<uint8_t> SheetBmp8(int w = 72, int h = 8) {
    std::vector<uint32_t> colors(256);
    for (int i = 0; i < 256; ++i) colors[i] = PalColor(i);
    std::vector<uint8_t> px(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) px[size_t(y) * w + x] = x == 0 ? 0 : uint8_t(1 + x % 64);
    return testbmp::Make8(w, h, colors, px);
}

class GfxTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/tovaro_gfx_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        m_dir = tmpl;
        m_prev = platform::CurrentDirectory();
        ASSERT_TRUE(platform::ChangeDirectory(m_dir));
        CreateReport("Report_Game.txt");
        SetDebugLog(1, "ZI_Vare.txt");
        ResetGraphics();
        BuildBitmapTable();
        WriteGameFolder();
    }
    void TearDown() override {
        ResetGraphics();
        SetDebugLog(0, "");
        platform::ChangeDirectory(m_prev);
        std::string cmd = "rm -rf '" + m_dir + "'";
        (void)!system(cmd.c_str());
    }
    static void ResetGraphics() {
        DDEnd();
        delete lpDTCon;
        lpDTCon = nullptr;
        delete lpDDCon;
        lpDDCon = nullptr;
        for (auto& s : SurfaceTable) {
            DDReleaseSurfaceData(&s);
            s = DDSURFACEDATA{};
        }
        for (DDSURFACEDATA* s : {&g_BackBuffer, &g_VirBackBuffer, &g_WorkSD, &g_PrimarySurface, &g_WorkSurface}) {
            DDReleaseSurfaceData(s);
            *s = DDSURFACEDATA{};
        }
        g_LiveSurfaces.clear();
        g_DD = DDSTATE{};
        g_BackLayout = g_SurfLayout = DDPIXELLAYOUT{};
        std::memset(g_Palette, 0, sizeof g_Palette);
        gfx::Faults().Clear();
        gfx::D3DMachineState() = gfx::D3DMachine{};
        gfx::DDMachineState() = gfx::DDMachine{};
        g_bQuit = 0;
    }
    void WriteGameFolder() {
        platform::MakeDirectory("bmp");
        platform::MakeDirectory("bmp\\plt");
        testbmp::Write("bmp\\plt\\Palette.bmp", PaletteBmp8());
        const auto small = SheetBmp8(8, 8);
        for (const char* n : {"Debug", "Block", "Shot", "Item", "Item_Mini", "Mark", "Window", "StatusWindow", "Title",
                              "Accessory", "Symbol", "Word", "WorldMapChip", "WorldEvent"})
            testbmp::Write(std::string("bmp\\") + n + ".bmp", small);
        testbmp::Write("bmp\\Character1.bmp", SheetBmp8());
    }
    // Set-up as the start-up does it, then palette, transparent colour and
    // every slot of the table.
    bool InitAll(int useD3D, int bpp, int screenMode, int vsync = 0) {
        if (!DDInit(useD3D, nullptr, 640, 480, bpp, vsync, screenMode, 1, 60, vsync, SurfaceTable, BitmapTable, 72, 0))
            return false;
        if (lpDTCon) LinkSurfaceAliases();
        if (!DDLoadPaletteFromFile(g_Palette, BitmapTable[0].strFileName)) return false;
        std::memcpy(g_PaletteCopy, g_Palette, sizeof g_Palette);
        if (!DDSetTransmit(BitmapTable[0].strFileName)) return false;
        std::vector<int> slots(72);
        for (int i = 0; i < 72; ++i) slots[i] = i;
        return DDLoadSurfaces(SurfaceTable, slots.data(), 72);
    }
    static std::string ReadText(const char* name) {
        auto b = platform::ReadWholeFile(name);
        return b ? std::string(b->begin(), b->end()) : std::string();
    }
    std::string m_dir, m_prev;
};

}  // namespace gfxtest
