#include <gtest/gtest.h>

#include <cstdlib>

#include "gfx_fixture.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_frame.h"
#include "platform/cp932.h"
#include "platform/message_box.h"

using namespace gfxtest;
using gfx::Fault;

namespace {

bool Near(uint32_t a, uint32_t b, int tol = 8) {
    for (int s = 0; s < 24; s += 8)
        if (std::abs(int((a >> s) & 255) - int((b >> s) & 255)) > tol) return false;
    return true;
}

struct Config {
    int useD3D, bpp, screenMode;
};

class InitConfigs : public GfxTest, public ::testing::WithParamInterface<Config> {};

}  // namespace

// Every configuration sets up, loads the palette, the transparent colour and
// every required slot, and draws a keyed sprite into the frame.
TEST_P(InitConfigs, SetUpLoadAndDraw) {
    const Config c = GetParam();
    gfx::DDMachineState().desktopBpp = c.bpp;
    platform::CapturedMessageBoxes boxes;
    ASSERT_TRUE(InitAll(c.useD3D, c.bpp, c.screenMode));
    EXPECT_EQ(lpDTCon != nullptr, c.useD3D == 1);
    EXPECT_EQ(lpDDCon != nullptr, c.useD3D == 0);
    EXPECT_EQ(g_DD.bInit, 1);
    // Required slots hold their images, optional missing ones stay empty.
    EXPECT_EQ(SurfaceTable[4].nWidth, 72);
    EXPECT_EQ(SurfaceTable[4].nHeight, 8);
    EXPECT_EQ(SurfaceTable[66].nWidth, 640);
    EXPECT_EQ(SurfaceTable[6].nWidth, 0);
    EXPECT_TRUE(SurfaceTable[6].lpDT == nullptr || SurfaceTable[6].lpDT->lpTexture == nullptr);
    EXPECT_EQ(SurfaceTable[6].lpDD, nullptr);
    EXPECT_TRUE(boxes.Boxes().empty());

    DDFillSurface(&g_BackBuffer, 5);
    DDBlt(&g_BackBuffer, 10, 20, 72, 8, &SurfaceTable[4], 0, 0, 1);
    std::vector<uint32_t> frame;
    int w = 0, h = 0;
    ASSERT_TRUE(DDSurfaceToXrgb8888(&g_BackBuffer, frame, w, h));
    ASSERT_EQ(w, 640);
    const int tol = c.bpp == 16 ? 8 : 0;
    EXPECT_PRED3(Near, frame[20 * 640 + 10], PalColor(5), tol);  // transparent column
    EXPECT_PRED3(Near, frame[20 * 640 + 11], PalColor(2), tol);
    EXPECT_PRED3(Near, frame[27 * 640 + 81], PalColor(8), tol);
    EXPECT_PRED3(Near, frame[28 * 640 + 11], PalColor(5), tol);  // below the sprite

    DDEnd();
    EXPECT_EQ(lpDTCon, nullptr);
    EXPECT_EQ(lpDDCon, nullptr);
    EXPECT_TRUE(g_LiveSurfaces.empty());
    EXPECT_TRUE(boxes.Boxes().empty()) << "nothing leaked";
}

INSTANTIATE_TEST_SUITE_P(All, InitConfigs,
                         ::testing::Values(Config{1, 16, 1}, Config{1, 16, 0}, Config{1, 32, 1}, Config{1, 32, 0},
                                           Config{0, 8, 0}, Config{0, 8, 1}, Config{0, 16, 0}, Config{0, 16, 1},
                                           Config{0, 32, 0}, Config{0, 32, 1}));

TEST_F(GfxTest, Direct3DLayoutsPerMode) {
    struct Case {
        int bpp, screen;
        gfx::PixelFormat back;
        DDPIXELLAYOUT backLayout, surfLayout;
    } cases[] = {
        {16, 1, gfx::PixelFormat::ARGB1555, {10, 5, 0, 15, 31, 31, 31, 1}, {10, 5, 0, 15, 31, 31, 31, 1}},
        {16, 0, gfx::PixelFormat::RGB565, {11, 5, 0, 16, 31, 63, 31, 0}, {10, 5, 0, 15, 31, 31, 31, 1}},
        {32, 1, gfx::PixelFormat::XRGB8888, {}, {16, 8, 0, 24, 255, 255, 255, 255}},
    };
    for (const Case& c : cases) {
        ResetGraphics();
        ASSERT_TRUE(DDInit(1, nullptr, 640, 480, c.bpp, 0, c.screen, 1, 60, 0, SurfaceTable, BitmapTable, 72, 0));
        EXPECT_EQ(g_BackBuffer.lpDT->lpSurface->img.Format(), c.back);
        EXPECT_EQ(g_BackLayout, c.backLayout);
        EXPECT_EQ(g_SurfLayout, c.surfLayout);
        EXPECT_EQ(lpDTCon->nAlphaOp, 2);
        EXPECT_EQ(lpDTCon->nColorOp, 4);
        EXPECT_EQ(lpDTCon->nTexCounter, 3);  // two work textures took 1 and 2
        EXPECT_EQ(g_VirBackBuffer.strType, "VirBackBuffer");
        EXPECT_EQ(g_WorkSD.lpDT->bRenderTarget, 1);
        EXPECT_EQ(g_LiveSurfaces.size(), 2u);
    }
}

TEST_F(GfxTest, Direct3DSetUpFailures) {
    struct Case {
        const char* name;
        int bpp;
        void (*arrange)();
        bool ok;
        const char* report;  // expected in the report file (empty: none)
        const char* debug;   // expected in the debug log
    } cases[] = {
        {"driver level 8", 32, [] { gfx::D3DMachineState().dxLevel = 8; }, false,
         "DirectX9をサポートしていません！ 8", ""},
        {"unknown level", 32, [] { gfx::D3DMachineState().dxLevel = 99999; }, true, "Device HAL-HARD", ""},
        {"no Direct3D", 32, [] { gfx::Faults().Arm(Fault::D3DCreate); }, false, "ビデオカードがDirectX9", ""},
        {"software vertex processing", 32, [] { gfx::Faults().Arm(Fault::D3DCreateDeviceHW); }, true,
         "Device HAL-SOFT", ""},
        {"no device", 32, [] {
             gfx::Faults().Arm(Fault::D3DCreateDeviceHW);
             gfx::Faults().Arm(Fault::D3DCreateDeviceSW);
         }, false, "", "CreateDevice Err"},
        {"24 bits", 24, [] {}, false, "", ""},
        {"no back vertex buffer", 32, [] { gfx::Faults().Arm(Fault::D3DVertexBuffer); }, false,
         "Back CreateVertexBuffer Err", ""},
        {"no caps", 32, [] { gfx::Faults().Arm(Fault::D3DDeviceCaps); }, true, "", "GetDeviceCaps Err"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetGraphics();
        CreateReport("Report_Game.txt");
        SetDebugLog(1, "ZI_Vare.txt");
        c.arrange();
        EXPECT_EQ(DDInit(1, nullptr, 640, 480, c.bpp, 0, 1, 1, 60, 0, SurfaceTable, BitmapTable, 72, 0), c.ok);
        if (*c.report) {
            EXPECT_NE(ReadText("Report_Game.txt").find(SJ(c.report)), std::string::npos);
        }
        if (*c.debug) {
            EXPECT_NE(ReadText("ZI_Vare.txt").find(c.debug), std::string::npos);
        }
        if (!c.ok) {
            // The start-up's fallback: DDEnd, then DirectDraw everywhere.
            DDEnd();
            EXPECT_EQ(lpDTCon, nullptr);
            gfx::Faults().Clear();
            ASSERT_TRUE(DDInit(0, nullptr, 640, 480, 8, 0, 0, 1, 60, 0, SurfaceTable, BitmapTable, 72, 0));
            EXPECT_EQ(PalNumToRGB(3), 3u);
            EXPECT_NE(lpDDCon, nullptr);
        }
    }
}

TEST_F(GfxTest, WindowedVSyncWithoutSixtyHertzTurnsVSyncOff) {
    gfx::D3DMachineState().desktopRefresh = 75;
    gfx::D3DMachineState().refreshChangeTestFails = true;
    ASSERT_TRUE(DDInit(1, nullptr, 640, 480, 32, 1, 1, 1, 60, 1, SurfaceTable, BitmapTable, 72, 0));
    EXPECT_EQ(g_DD.bVSync, 0);
    EXPECT_TRUE(lpDTCon->pp.intervalImmediate);
    const std::string report = ReadText("Report_Game.txt");
    EXPECT_NE(report.find("ChangeDisplaySettings != DISP_CHANGE_SUCCESSFUL"), std::string::npos);
    EXPECT_NE(report.find("RefreshRate : 75"), std::string::npos);
    // A desktop that accepts 60 Hz keeps VSync.
    ResetGraphics();
    gfx::D3DMachineState().desktopRefresh = 75;
    ASSERT_TRUE(DDInit(1, nullptr, 640, 480, 32, 1, 1, 1, 60, 1, SurfaceTable, BitmapTable, 72, 0));
    EXPECT_EQ(g_DD.bVSync, 1);
    EXPECT_FALSE(lpDTCon->pp.intervalImmediate);
}

TEST_F(GfxTest, DirectDrawSetUpErrorCodes) {
    struct Case {
        Fault fault;
        int bpp, screen;
        const char* name;
        const char* report;
    } cases[] = {
        {Fault::DDCreateEx, 16, 0, "CREATEEX_ERR", "DirectDrawCreateEx Err"},
        {Fault::DDSetCoopLevel, 16, 1, "SETCOOPLEVEL_ERR", "SetCooperativeLevel Err"},
        {Fault::DDSetDisplayMode, 16, 0, "SETDISPLAYMODE_ERR", "SetDisplayMode Err"},
        {Fault::DDCreatePrimary, 32, 0, "CREATESURFACE_ERR", "Primary CreateSurface Err"},
        {Fault::DDGetAttached, 32, 0, "GETATTACHEDSURFACE_ERR", "GetAttachedSurface Err"},
        {Fault::DDCreateSystem, 32, 0, "CREATESURFACE_ERR", "CreateSurface System Err"},
        {Fault::DDCreatePalette, 8, 1, "CREATEPALETTE_ERR", "CreatePalette Err"},
        {Fault::DDSetPalette, 8, 0, "SETPALETTE_ERR", "SetPalette Err"},
        {Fault::DDCreateClipper, 32, 1, "CLIPPER_ERR", "CreateClipper Err"},
        {Fault::DDSetHWnd, 32, 1, "SETHWND_ERR", "SetHWnd Err"},
        {Fault::DDSetClipper, 32, 1, "SETCLIPPER_ERR", "SetClipper Err"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetGraphics();
        CreateReport("Report_Game.txt");
        SetDebugLog(1, "ZI_Vare.txt");
        gfx::DDMachineState().desktopBpp = c.bpp;
        gfx::Faults().Arm(c.fault);
        EXPECT_FALSE(DDInit(0, nullptr, 640, 480, c.bpp, 0, c.screen, 1, 60, 0, SurfaceTable, BitmapTable, 72, 0));
        EXPECT_NE(ReadText("ZI_Vare.txt").find(c.name), std::string::npos);
        EXPECT_NE(ReadText("Report_Game.txt").find(c.report), std::string::npos);
        EXPECT_EQ(g_DD.bInit, 0);
    }
}

TEST_F(GfxTest, DirectDrawModeDetails) {
    // 60 Hz refused: the mode is set with the default rate.
    gfx::Faults().Arm(Fault::DDRefreshRate60);
    ASSERT_TRUE(DDInit(0, nullptr, 640, 480, 16, 1, 0, 1, 60, 1, SurfaceTable, BitmapTable, 72, 0));
    EXPECT_EQ(g_DD.lpDDraw->RefreshRate(), 0);
    EXPECT_EQ(g_SurfLayout, (DDPIXELLAYOUT{11, 5, 0, 0, 31, 63, 31, 0}));
    EXPECT_EQ(g_WorkSurface.nMemory, 1);
    EXPECT_EQ(g_DD.lpDDPalette->entries[0][2], 255);  // full-screen placeholder
    // A second DirectDraw set-up ends the first one before it starts.
    ASSERT_TRUE(DDInit(0, nullptr, 640, 480, 8, 0, 1, 1, 60, 0, SurfaceTable, BitmapTable, 72, 0));
    EXPECT_EQ(g_DD.lpDDPalette->entries[5][3], 0x02);  // system entry in a window
    EXPECT_EQ(g_DD.lpDDPalette->entries[10][3], 0x01);
    // Screen mode 2 creates no DirectDraw objects.
    ResetGraphics();
    ASSERT_TRUE(DDInit(0, nullptr, 640, 480, 16, 0, 2, 1, 60, 0, SurfaceTable, BitmapTable, 72, 0));
    EXPECT_EQ(g_DD.lpDDraw, nullptr);
    EXPECT_NE(lpDDCon, nullptr);
}

TEST_F(GfxTest, LeakedDirectDrawObjectIsReported) {
    platform::CapturedMessageBoxes boxes;
    ASSERT_TRUE(DDInit(0, nullptr, 640, 480, 32, 0, 0, 1, 60, 0, SurfaceTable, BitmapTable, 72, 0));
    DDSURFACEDATA own;  // a surface some other part forgot to release
    ASSERT_TRUE(DDCreateSurface(&own, 8, 8, 0, 1, 0, 0, 0));
    DDEnd();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, SJ("解放漏れがあります"));
    EXPECT_EQ(boxes.Boxes()[0].caption, "DirectDraw");
    DDReleaseSurfaceData(&own);
}

// DirectDraw keeps its 24-bit branches: images copy, the palette is not read
// from the swatch at that depth, so palette numbers stay black.
TEST_F(GfxTest, DirectDrawTwentyFourBits) {
    gfx::DDMachineState().desktopBpp = 24;
    ASSERT_TRUE(InitAll(0, 24, 1));
    EXPECT_EQ(g_DD.dwColorKey, PalColor(0));
    DDFillSurface(&g_BackBuffer, 5);
    DDBlt(&g_BackBuffer, 10, 20, 72, 8, &SurfaceTable[4], 0, 0, 1);
    std::vector<uint32_t> frame;
    int w = 0, h = 0;
    ASSERT_TRUE(DDSurfaceToXrgb8888(&g_BackBuffer, frame, w, h));
    EXPECT_EQ(frame[20 * 640 + 10], 0u);
    EXPECT_EQ(frame[20 * 640 + 11], PalColor(2));
}
