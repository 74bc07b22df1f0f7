#include "app/color_depth.h"

#include <gtest/gtest.h>

#include "platform/cp932.h"

namespace {

enum Err { NONE, WINDOW_TEXT, GENERAL_TEXT };

struct Case {
    const char* name;
    int d3d, windowMode, bpp, vsync, paletteMode, depthD3D, depthDD, desktop;
    bool vista;
    bool ok;
    int wantBpp, wantVSync;
    Err err;
    bool sizing;
};

// d3d, mode, bpp, vsync, palette mode, depth D3D, depth DD, desktop, vista -> ok, bpp, vsync, error, sizing frame
const Case kCases[] = {
    {"d3d window takes the desktop", 1, 1, 0, 2, 0, 0, 0, 32, true, true, 32, 1, NONE, false},
    {"d3d free-size window gets a frame", 1, 2, 0, 2, 0, 0, 0, 32, true, true, 32, 1, NONE, true},
    {"d3d window 16 on a 32 desktop", 1, 1, 16, 1, 0, 0, 0, 32, true, false, 16, 1, WINDOW_TEXT, false},
    {"d3d free size refused: no frame", 1, 2, 16, 1, 0, 0, 0, 32, true, false, 16, 1, WINDOW_TEXT, false},
    {"d3d window 16 on a 16 desktop", 1, 1, 0, 0, 0, 0, 0, 16, true, true, 16, 0, NONE, false},
    {"dd window: vsync off", 0, 1, 0, 1, 0, 0, 0, 32, true, true, 32, 0, NONE, false},
    {"dd window on a 24-bit desktop", 0, 1, 0, 1, 0, 0, 0, 24, true, false, 24, 0, GENERAL_TEXT, false},
    {"dd window at 8 bits", 0, 1, 8, 1, 0, 0, 0, 8, true, false, 8, 0, GENERAL_TEXT, false},
    {"dd full 8 bits with palette", 0, 0, 0, 2, 0, 0, 2, 32, true, true, 8, 0, NONE, false},
    {"dd full 8 bits before vista", 0, 0, 0, 2, 0, 0, 2, 32, false, true, 8, 1, NONE, false},
    {"dd full depth 2 without palette", 0, 0, 0, 2, 1, 0, 2, 32, true, true, 32, 0, NONE, false},
    {"dd full depth 1", 0, 0, 0, 1, 0, 0, 1, 32, true, true, 16, 1, NONE, false},
    {"dd full depth 0", 0, 0, 0, 0, 0, 0, 0, 16, true, true, 32, 0, NONE, false},
    {"dd full unknown depth", 0, 0, 0, 0, 0, 0, 7, 16, true, true, 32, 0, NONE, false},
    {"dd full 8 given, no palette", 0, 0, 8, 0, 1, 0, 0, 32, true, false, 8, 0, GENERAL_TEXT, false},
    {"dd full 24 given", 0, 0, 24, 0, 0, 0, 0, 24, true, false, 24, 0, GENERAL_TEXT, false},
    {"d3d full depth 1", 1, 0, 0, 3, 0, 1, 2, 32, true, true, 16, 1, NONE, false},
    {"d3d full other depth", 1, 0, 0, 0, 1, 5, 2, 32, true, true, 32, 0, NONE, false},
    {"d3d full 8 given", 1, 0, 8, 1, 0, 0, 2, 32, true, false, 8, 1, GENERAL_TEXT, false},
    {"d3d full, desktop differs", 1, 0, 16, 1, 0, 0, 0, 32, true, true, 16, 1, NONE, false},
};

TEST(ColorDepth, AlgorithmTable) {
    const std::string windowText =
        SJ("画面モードが不正です！\nウインドウモードではSystem.iniの設定と画面の色の設定を合わせて下さい！");
    const std::string generalText = SJ("画面モードが不正です！\nSystem.iniと画面の設定を見直して下さい！");
    for (const Case& c : kCases) {
        ColorDepthInput in;
        in.nDirect3D = c.d3d;
        in.nWindowMode = c.windowMode;
        in.nBpp = c.bpp;
        in.nVSync = c.vsync;
        in.nPaletteMode = c.paletteMode;
        in.nDepthDirect3D = c.depthD3D;
        in.nDepthDirectDraw = c.depthDD;
        in.nDesktopBpp = c.desktop;
        in.bVistaOrLater = c.vista;
        const ColorDepthChoice out = ChooseColorDepth(in);
        EXPECT_EQ(out.bOk, c.ok) << c.name;
        EXPECT_EQ(out.nBpp, c.wantBpp) << c.name;
        EXPECT_EQ(out.nVSync, c.wantVSync) << c.name;
        EXPECT_EQ(out.bWindowed, c.windowMode != 0) << c.name;
        EXPECT_EQ(out.bSizingFrame, c.sizing) << c.name;
        EXPECT_EQ(out.strError, c.err == NONE ? "" : c.err == WINDOW_TEXT ? windowText : generalText) << c.name;
    }
}

}  // namespace
