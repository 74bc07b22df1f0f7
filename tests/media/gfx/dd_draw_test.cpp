// Blits, layers, fills, presentation and recovery over the emulated devices.
#include <gtest/gtest.h>

#include <algorithm>

#include "gfx_fixture.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_frame.h"
#include "media/gfx/dd_layer.h"
#include "media/gfx/dd_present.h"
#include "base/frame_timing.h"
#include "platform/cp932.h"
#include "platform/frame_mailbox.h"
#include "platform/message_box.h"

using namespace gfxtest;
using gfx::Fault;

namespace {

std::vector<uint32_t> Frame(DDSURFACEDATA* sd) {
    std::vector<uint32_t> f;
    int w = 0, h = 0;
    DDSurfaceToXrgb8888(sd, f, w, h);
    return f;
}
uint32_t Pixel(DDSURFACEDATA* sd, int x, int y) { return Frame(sd)[size_t(y) * sd->nWidth + x]; }
// The device's own back buffer, not redirected to the virtual one.
uint32_t RealBack(int x, int y) {
    std::vector<uint32_t> f;
    gfx::ConvertToXrgb8888(g_DD.lpDevice->BackBuffer()->img, nullptr, f);
    return f[size_t(y) * g_BackBuffer.nWidth + x];
}
std::vector<uint8_t> Bytes(const gfx::cImage& i) {
    return std::vector<uint8_t>(i.Bits(), i.Bits() + size_t(i.Pitch()) * i.Height());
}

// An off-screen render-target texture filled with one colour.
struct Solid {
    DDSURFACEDATA sd;
    Solid(int w, int h, uint32_t argb, int key = 0, int texType = DTMEMORYTYPE_VIDEO_RT) {
        EXPECT_TRUE(DDCreateSurface(&sd, w, h, key, 0, texType, 0, 0));
        DDFillSurfaceRGB(&sd, argb);
    }
    ~Solid() {
        g_LiveSurfaces.remove(&sd);
        DDReleaseSurfaceData(&sd);
    }
};

}  // namespace

// Clipping only reads the sizes and which family runs.
TEST(DDClipBlt, Table) {
    DDSURFACEDATA dst, src;
    dst.nWidth = 100, dst.nHeight = 80;
    src.nWidth = 64, src.nHeight = 32;
    struct Case {
        bool d3d;
        int x, y, w, h, sx, sy, sw, sh;
        bool ok;
        int ex, ey, ew, eh, esx, esy, esw, esh;
    } cases[] = {
        // same size, both families
        {true, 10, 5, 16, 8, 0, 0, 16, 8, true, 10, 5, 16, 8, 0, 0, 16, 8},
        {false, 10, 5, 16, 8, 0, 0, 16, 8, true, 10, 5, 16, 8, 0, 0, 16, 8},
        // negative source x: the source is cut, the destination stays
        {true, 10, 5, 16, 8, -4, 0, 16, 8, true, 10, 5, 12, 8, 0, 0, 12, 8},
        // negative destination: the source left moves instead
        {false, -5, -3, 16, 8, 0, 0, 16, 8, true, 0, 0, 11, 5, 5, 3, 11, 5},
        // past the destination's right and bottom edges
        {true, 90, 76, 16, 8, 0, 0, 16, 8, true, 90, 76, 10, 4, 0, 0, 10, 4},
        // past the source's edges
        {false, 0, 0, 16, 8, 60, 30, 16, 8, true, 0, 0, 4, 2, 60, 30, 4, 2},
        // wholly outside, zero sizes
        {true, -20, 0, 16, 8, 0, 0, 16, 8, false, 0, 0, 0, 0, 0, 0, 0, 0},
        {true, 0, 0, 0, 8, 0, 0, 0, 8, false, 0, 0, 0, 0, 0, 0, 0, 0},
        {false, 0, 0, 16, 0, 0, 0, 16, 0, false, 0, 0, 0, 0, 0, 0, 0, 0},
        // stretched ×2, inside
        {true, 0, 0, 32, 16, 0, 0, 16, 8, true, 0, 0, 32, 16, 0, 0, 16, 8},
        // stretched, source partly left of 0: the destination shrinks by the factor
        {true, 0, 0, 32, 16, -8, 0, 16, 8, true, 0, 0, 16, 16, 0, 0, 8, 8},
        // Direct3D: flipped extent keeps its sign; no cut against the destination
        {true, -10, 0, 32, 16, 16, 0, -16, 8, true, -10, 0, 32, 16, 16, 0, -16, 8},
        // DirectDraw: destination cut on the left and on the right
        {false, -8, 0, 32, 16, 0, 0, 16, 8, true, 0, 0, 24, 16, 4, 0, 12, 8},
        {false, 90, 0, 32, 16, 0, 0, 16, 8, true, 90, 0, 10, 16, 0, 0, 5, 8},
        {false, 100, 0, 32, 16, 0, 0, 16, 8, false, 0, 0, 0, 0, 0, 0, 0, 0},
        {false, 0, 0, 32, 16, 0, 0, 0, 8, false, 0, 0, 0, 0, 0, 0, 0, 0},
    };
    DTCONTEXT con;
    for (const Case& c : cases) {
        lpDTCon = c.d3d ? &con : nullptr;
        int x = c.x, y = c.y, w = c.w, h = c.h, sx = c.sx, sy = c.sy, sw = c.sw, sh = c.sh;
        const bool ok = DDClipBlt(&dst, x, y, w, h, &src, sx, sy, sw, sh);
        SCOPED_TRACE(testing::Message() << c.d3d << " " << c.x << "," << c.y << " " << c.w << "x" << c.h << " src "
                                        << c.sx << "," << c.sy << " " << c.sw << "x" << c.sh);
        EXPECT_EQ(ok, c.ok);
        if (!ok || !c.ok) continue;
        EXPECT_EQ((std::vector<int>{x, y, w, h, sx, sy, sw, sh}),
                  (std::vector<int>{c.ex, c.ey, c.ew, c.eh, c.esx, c.esy, c.esw, c.esh}));
    }
    lpDTCon = nullptr;
}

class DrawTest : public GfxTest {
protected:
    void TearDown() override {
        g_DDFrameLimiter = &FrameLimiter;
        GfxTest::TearDown();
    }
};

// The quad road samples at pixel centres, the per-pixel road truncates; the
// per-pixel road ignores the blit colour.
TEST_F(DrawTest, TwoRoadsSampleDifferently) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    const uint32_t cols[4] = {0xFF100000, 0xFF200000, 0xFF300000, 0xFF400000};
    Solid rt(4, 1, 0xFF000000), sys(4, 1, 0xFF000000, 0, DTMEMORYTYPE_SYSTEM);
    for (int i = 0; i < 4; ++i) {
        DDFillRectRGB(&rt.sd, i, 0, 1, 1, cols[i]);
        DDFillRectRGB(&sys.sd, i, 0, 1, 1, cols[i]);
    }
    DDSetBlitColor(0xFF808080);
    DDBltStretch(&g_BackBuffer, 0, 0, 3, 1, &rt.sd, 0, 0, 4, 1, 0);
    DDBltStretch(&g_BackBuffer, 0, 1, 3, 1, &sys.sd, 0, 0, 4, 1, 0);
    DDBltStretch(&g_BackBuffer, 0, 2, 4, 1, &rt.sd, 4, 0, -4, 1, 0);  // flipped
    DDResetBlitColor();
    auto f = Frame(&g_BackBuffer);
    auto half = [](uint32_t c) { return (((c >> 16 & 0xFF) * 128 + 127) / 255) << 16; };
    // centres: 0.67, 2, 3.33 -> texels 0, 2, 3, modulated by grey
    EXPECT_EQ(f[0], half(cols[0]));
    EXPECT_EQ(f[1], half(cols[2]));
    EXPECT_EQ(f[2], half(cols[3]));
    // truncation: 0, 1, 2, unmodulated
    EXPECT_EQ(f[640 + 0], cols[0] & 0xFFFFFF);
    EXPECT_EQ(f[640 + 1], cols[1] & 0xFFFFFF);
    EXPECT_EQ(f[640 + 2], cols[2] & 0xFFFFFF);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(f[1280 + i], half(cols[3 - i])) << i;
}

TEST_F(DrawTest, StageOperations) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    Solid tex(1, 1, 0xFF604020);
    struct Op {
        int colorOp, alphaOp;
        uint32_t blit, want;
    } ops[] = {
        {4, 2, 0xFF808080, 0x302010},   // modulate
        {7, 2, 0xFF304050, 0x908070},   // add
        {10, 2, 0xFF304050, 0x300000},  // subtract, clamped at 0
        {2, 2, 0xFF123456, 0x604020},   // texture
        {3, 2, 0xFF123456, 0x123456},   // diffuse
        {3, 3, 0x80FFFFFF, 0x808080},   // diffuse alpha 0x80 over black
        {1, 1, 0x00FFFFFF, 0x000000},   // disable: diffuse alpha 0 keeps the black
    };
    int y = 0;
    for (const Op& o : ops) {
        DDFillRectRGB(&g_BackBuffer, 0, y, 1, 1, 0xFF000000);
        DDSetColorOp(o.colorOp);
        DDSetAlphaOp(o.alphaOp);
        DDSetBlitColor(o.blit);
        DDBlt(&g_BackBuffer, 0, y, 1, 1, &tex.sd, 0, 0, 0);
        DDResetColorOp();
        DDResetAlphaOp();
        DDResetBlitColor();
        EXPECT_EQ(Pixel(&g_BackBuffer, 0, y), o.want) << o.colorOp << " " << o.alphaOp;
        ++y;
    }
}

// Sources A and B overlap at one place; which one ends on top shows the order.
TEST_F(DrawTest, LayerOrder) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    Solid a(4, 4, 0xFFFF0000), b(4, 4, 0xFF0000FF);
    struct Case {
        int key;
        bool registerBFirst;
        uint32_t top;
    } cases[] = {
        {0, false, 0x0000FF},  // recording order: B recorded last
        {0, true, 0x0000FF},   // key 0 ignores registration
        {1, false, 0x0000FF},  // keyed, A registered first: B later on top
        {1, true, 0xFF0000},   // keyed, B registered first: A on top though recorded first
    };
    for (const Case& c : cases) {
        DDFillSurfaceRGB(&g_BackBuffer, 0xFF000000);
        DDBeginLayer(c.key);
        if (c.registerBFirst) DDLayerOrderSurface(&b.sd);
        DDLayerOrderSurface(&a.sd);
        DDLayerOrderSurface(&b.sd);
        DDBlt(&g_BackBuffer, 0, 0, 4, 4, &a.sd, 0, 0, 0);
        DDBlt(&g_BackBuffer, 2, 0, 4, 4, &b.sd, 0, 0, 0);
        DDBlt(&g_BackBuffer, 8, 0, 4, 4, &a.sd, 0, 0, 0);
        EXPECT_EQ(Pixel(&g_BackBuffer, 2, 0), 0u);  // nothing drawn while recording
        DDEndLayer();
        EXPECT_EQ(Pixel(&g_BackBuffer, 3, 0), c.top) << c.key << " " << c.registerBFirst;
        EXPECT_EQ(Pixel(&g_BackBuffer, 9, 0), 0xFF0000u);
        EXPECT_EQ(g_lpLayer, nullptr);
    }
    // Paused blits draw at once; a recorded paint keeps its place among the blits.
    DDFillSurfaceRGB(&g_BackBuffer, 0xFF000000);
    DDBeginLayer(0);
    DDPauseLayer();
    DDBlt(&g_BackBuffer, 0, 0, 4, 4, &a.sd, 0, 0, 0);
    EXPECT_EQ(Pixel(&g_BackBuffer, 0, 0), 0xFF0000u);
    DDResumeLayer();
    DDBlt(&g_BackBuffer, 0, 0, 4, 4, &b.sd, 0, 0, 0);
    DDLayerRecordPaint([] { DDFillRectRGB(&g_BackBuffer, 1, 0, 1, 1, 0xFF00FF00); });
    EXPECT_TRUE(DDLayerRecording());
    DDEndLayer();
    EXPECT_EQ(Pixel(&g_BackBuffer, 0, 0), 0x0000FFu);
    EXPECT_EQ(Pixel(&g_BackBuffer, 1, 0), 0x00FF00u);
}

TEST_F(DrawTest, HundredLayersAtMost) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    for (int i = 0; i < 101; ++i) DDBeginLayer(i + 1);
    EXPECT_EQ(g_LayerStack.size(), 100u);
    EXPECT_EQ(g_lpLayer->nKey, 100);  // the 101st was ignored
    DDEndLayer();
    EXPECT_EQ(g_LayerStack.size(), 99u);
    EXPECT_EQ(g_lpLayer->nKey, 99);
    while (g_lpLayer) DDEndLayer();
    EXPECT_TRUE(g_LayerStack.empty());
}

TEST_F(DrawTest, Fills) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    // Palette 0 on a colour-keyed render-target texture clears to transparent:
    // blitting it with transparency leaves the back buffer alone.
    Solid keyed(8, 8, 0xFFFFFFFF, 1);
    DDFillRect(&keyed.sd, 2, 2, 4, 4, 0);
    DDFillSurfaceRGB(&g_BackBuffer, 0xFF102030);
    DDBlt(&g_BackBuffer, 0, 0, 8, 8, &keyed.sd, 0, 0, 1);
    EXPECT_EQ(Pixel(&g_BackBuffer, 3, 3), 0x102030u);
    EXPECT_EQ(Pixel(&g_BackBuffer, 0, 0), 0xFFFFFFu);
    // Palette 0 on the back buffer is a fully transparent quad.
    DDFillRect(&g_BackBuffer, 0, 0, 8, 8, 0);
    EXPECT_EQ(Pixel(&g_BackBuffer, 0, 0), 0xFFFFFFu);
    // A batch draws what single fills draw, and only at its end.
    DDFillSurfaceRGB(&g_BackBuffer, 0xFF000000);
    const auto fills = [] {
        DDFillRectRGB(&g_BackBuffer, 10, 10, 20, 5, 0xFF4080C0);
        DDFillRectRGB(&g_BackBuffer, 15, 12, 4, 30, 0x80FF0000);
        DDFillRect(&g_BackBuffer, 600, 470, 100, 100, 7);
    };
    fills();
    const auto direct = Frame(&g_BackBuffer);
    DDFillSurfaceRGB(&g_BackBuffer, 0xFF000000);
    DDBeginFillBatch();
    fills();
    EXPECT_EQ(Pixel(&g_BackBuffer, 10, 10), 0u);
    DDEndFillBatch();
    EXPECT_EQ(Frame(&g_BackBuffer), direct);
    // The circle is an outline; pixels are cut at the image.
    DDFillSurfaceRGB(&g_BackBuffer, 0xFF000000);
    DDCircle(&g_BackBuffer, 100, 100, 5, 7);
    DDCircle(&g_BackBuffer, 100, 100, 0, 9);
    DDSetPixel(&g_BackBuffer, -1, 0, 7);
    DDSetPixel(&g_BackBuffer, 639, 479, 7);
    auto f = Frame(&g_BackBuffer);
    const uint32_t c7 = PalNumToRGB(7) & 0xFFFFFF;
    EXPECT_EQ(f[100 * 640 + 105], c7);
    EXPECT_EQ(f[95 * 640 + 100], c7);
    EXPECT_EQ(f[100 * 640 + 100], 0u);
    EXPECT_EQ(f[479 * 640 + 639], c7);
    EXPECT_EQ(std::count(f.begin(), f.end(), c7), 28 + 1);  // r 5: 28 distinct outline points, 1 pixel
}

// A fill or a blit that starts left of or above the image covers only its
// visible part, and a blit wider than the image on both sides draws all the
// columns it covers: the same in every family and depth.
TEST_F(DrawTest, FillsAndBlitsOverTheEdgesCoverOnlyTheVisiblePart) {
    const struct {
        int d3d, bpp;
    } modes[] = {{0, 8}, {0, 16}, {0, 32}, {1, 16}, {1, 32}};
    for (const auto& m : modes) {
        SCOPED_TRACE(testing::Message() << (m.d3d ? "Direct3D " : "DirectDraw ") << m.bpp);
        ResetGraphics();
        BuildBitmapTable();
        ASSERT_TRUE(InitAll(m.d3d, m.bpp, 1));
        DDFillSurface(&g_BackBuffer, 3);
        const uint32_t bg = Pixel(&g_BackBuffer, 0, 0);
        DDFillRect(&g_BackBuffer, -5, -2, 10, 4, 7);
        auto f = Frame(&g_BackBuffer);
        const uint32_t c7 = f[size_t(1) * 640 + 4];
        EXPECT_NE(c7, bg);
        EXPECT_EQ(std::count(f.begin(), f.end(), c7), 5 * 2);
        EXPECT_EQ(f[5], bg);
        EXPECT_EQ(f[size_t(2) * 640], bg);
        {
            Solid wide(700, 4, 0);
            DDFillRect(&wide.sd, 0, 0, 700, 4, 7);
            DDFillSurface(&g_BackBuffer, 3);
            DDBlt(&g_BackBuffer, -10, 0, 700, 4, &wide.sd, 0, 0, 0);
            f = Frame(&g_BackBuffer);
            EXPECT_EQ(std::count(f.begin(), f.end(), c7), 640 * 4);
            EXPECT_EQ(f[size_t(4) * 640], bg);
        }
    }
}

TEST_F(DrawTest, VirtualBackBufferFlushesOnceWhenSwitchedOff) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    DDFillSurfaceRGB(&g_BackBuffer, 0xFF000000);
    DDSetVirtualBackBuffer(1);
    DDFillSurfaceRGB(&g_BackBuffer, 0xFF00FF00);  // goes to the virtual one
    DDSetVirtualBackBuffer(1);                     // on twice: nothing copied
    EXPECT_EQ(RealBack(5, 5), 0u);
    DDSetVirtualBackBuffer(0);
    EXPECT_EQ(RealBack(5, 5), 0x00FF00u);
    DDFillSurfaceRGB(&g_VirBackBuffer, 0xFFFF0000);
    DDSetVirtualBackBuffer(0);  // off twice: nothing copied
    EXPECT_EQ(RealBack(5, 5), 0x00FF00u);
}

namespace {
int g_nLimiterCalls = 0;
bool CountingLimiter(int, int, DDSURFACEDATA*) { return ++g_nLimiterCalls >= 2; }
}  // namespace

TEST_F(DrawTest, LimiterOnlyWithVSyncOff) {
    g_DDFrameLimiter = &CountingLimiter;
    for (int vsync : {0, 1}) {
        ResetGraphics();
        BuildBitmapTable();
        ASSERT_TRUE(InitAll(1, 32, 1, vsync));
        g_nLimiterCalls = 0;
        DDFillSurfaceRGB(&g_BackBuffer, 0xFF123456);
        EXPECT_EQ(DDPresent(60, 0, nullptr), 1);
        EXPECT_EQ(g_nLimiterCalls, vsync ? 0 : 2) << vsync;
        std::vector<uint32_t> shown;
        int w, h;
        ASSERT_TRUE(DDShownFrameToXrgb8888(shown, w, h));
        EXPECT_EQ(shown[0], 0x123456u);
    }
}

TEST_F(DrawTest, DeviceLossInWindowModeRecovers) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    g_DDFrameLimiter = [](int, int, DDSURFACEDATA*) { return true; };
    Solid sys(4, 4, 0xFF00FF00, 0, DTMEMORYTYPE_SYSTEM);
    const gfx::D3DSurfacePtr sysTex = sys.sd.lpDT->lpTexture;
    Solid off(4, 4, 0xFF00FF00, 1);
    gfx::Faults().Arm(Fault::D3DDeviceLost);
    gfx::Faults().Arm(Fault::D3DNotResettable, 2);
    const std::string fail = SJ("復旧失敗…リセット可能な状態ではありません…");
    int frames = 0;
    while (!DDPresent(60, 0, nullptr)) {  // what the scene manager does each frame
        ++frames;
        const int restored = DDRestoreSurface();
        const std::string log = ReadText("ZI_Vare.txt");
        size_t n = 0;
        for (size_t p = log.find(fail); p != std::string::npos; p = log.find(fail, p + 1)) ++n;
        EXPECT_EQ(n, size_t(std::min(frames, 2)));
        EXPECT_EQ(restored, frames > 2 ? 1 : 0);
        ASSERT_LT(frames, 10);
    }
    EXPECT_EQ(frames, 3);
    // A keyed image is transparent as before; "E" comes back cleared and lost.
    ASSERT_NE(SurfaceTable[4].lpDT->lpTexture, nullptr);
    DDFillSurfaceRGB(&g_BackBuffer, 0xFF102030);
    DDBlt(&g_BackBuffer, 0, 0, 8, 8, &SurfaceTable[4], 0, 0, 1);
    EXPECT_EQ(Pixel(&g_BackBuffer, 0, 0), 0x102030u);
    EXPECT_EQ(Pixel(&g_BackBuffer, 1, 0), PalColor(2));
    EXPECT_EQ(off.sd.bLost, 1);
    DDBlt(&g_BackBuffer, 0, 0, 4, 4, &off.sd, 0, 0, 0);
    EXPECT_EQ(Pixel(&g_BackBuffer, 0, 0), lpDTCon->dwTransARGB & 0xFFFFFF);
    EXPECT_EQ(sys.sd.lpDT->lpTexture, sysTex);
    EXPECT_EQ(sys.sd.bLost, 0);
}

TEST_F(DrawTest, DirectDrawRestoreReloadsVideoSlotsAndKeepsSystemSlots) {
    ASSERT_TRUE(InitAll(0, 8, 1));
    DDSURFACEDATA& video = SurfaceTable[4];
    DDSURFACEDATA& system = SurfaceTable[2];
    system.nMemory = 1;
    system.lpDD->lpSurface->memory = 1;
    const auto videoBefore = Bytes(video.lpDD->lpSurface->img);
    DDFillRect(&system, 0, 0, 1, 1, 77);
    const auto systemBefore = Bytes(system.lpDD->lpSurface->img);
    EXPECT_FALSE(DDIsPrimaryLost());
    for (DDSURFACEDATA* s : {&g_PrimarySurface, &video, &system}) s->lpDD->lpSurface->lost = true;
    g_DD.lpDDPalette->entries[5][0] = 0;
    EXPECT_TRUE(DDIsPrimaryLost());
    EXPECT_TRUE(DDRestore());
    EXPECT_FALSE(DDIsPrimaryLost());
    EXPECT_EQ(Bytes(video.lpDD->lpSurface->img), videoBefore);
    EXPECT_EQ(Bytes(system.lpDD->lpSurface->img), systemBefore);
    EXPECT_EQ(g_DD.lpDDPalette->entries[5][0], g_PaletteCopy[5][0]);
}

TEST_F(DrawTest, MessageBoxAndHexText) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    {
        platform::CapturedMessageBoxes boxes(platform::IDCANCEL);
        EXPECT_EQ(DDMesBox("text", "caption", platform::MB_OKCANCEL), 1);  // the button is not returned
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].caption, "caption");
    }
    // Cells: column code & 15, row (code >> 4) & 15 less 10 for 0xA6..0xBF and
    // 4 for 0xC0..0xDD; a line feed starts the next cell row.
    Solid digits(16 * 2, 16 * 2, 0xFF000000);
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c) DDFillRectRGB(&digits.sd, c * 2, r * 2, 2, 2, 0xFF000000u | uint32_t(r << 4 | c));
    DDDrawHexText(&g_BackBuffer, 10, 10, 2, 2, &digits.sd, "\x31\xA7\n\xC5\x7F");
    EXPECT_EQ(Pixel(&g_BackBuffer, 10, 10), 0x31u);
    EXPECT_EQ(Pixel(&g_BackBuffer, 12, 10), 0x07u);  // 0xA7: row 10 - 10
    EXPECT_EQ(Pixel(&g_BackBuffer, 10, 12), 0x85u);  // 0xC5: row 12 - 4
    EXPECT_EQ(Pixel(&g_BackBuffer, 12, 12), 0x7Fu);
    EXPECT_EQ(g_lpLayer, nullptr);
}

// Frames no one watches (a headless replay check): blits, fills and text
// leave the surfaces as they were and the frame is not handed to the window,
// while every call reports as before; watched again, both come back.
TEST_F(DrawTest, FramesNoOneWatchesDrawNothing) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    Solid tex(2, 2, 0xFF604020);
    DDFillRectRGB(&g_BackBuffer, 0, 0, 4, 4, 0xFF000000);
    ASSERT_TRUE(DDPresent(0, 0, nullptr));
    const uint64_t put = platform::FrameMailbox().PutCount();

    DDSetFramesWatched(false);
    EXPECT_FALSE(DDFramesWatched());
    DDBlt(&g_BackBuffer, 0, 0, 2, 2, &tex.sd, 0, 0, 0);
    DDFillRectRGB(&g_BackBuffer, 2, 2, 2, 2, 0xFFFFFFFF);
    EXPECT_EQ(DDPresent(0, 0, nullptr), 1);
    EXPECT_EQ(platform::FrameMailbox().PutCount(), put);
    DDSetFramesWatched(true);
    EXPECT_EQ(Pixel(&g_BackBuffer, 0, 0), 0x000000u);
    EXPECT_EQ(Pixel(&g_BackBuffer, 3, 3), 0x000000u);

    DDBlt(&g_BackBuffer, 0, 0, 2, 2, &tex.sd, 0, 0, 0);
    EXPECT_EQ(Pixel(&g_BackBuffer, 1, 1), 0x604020u);
    EXPECT_EQ(DDPresent(0, 0, nullptr), 1);
    EXPECT_GT(platform::FrameMailbox().PutCount(), put);
}
