#include <gtest/gtest.h>

#include <optional>

#include "gfx_fixture.h"
#include "media/gfx/bmp_file.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_frame.h"
#include "platform/cp932.h"
#include "platform/message_box.h"

using namespace gfxtest;
using gfx::Fault;

namespace {
bool InitD3D(int bpp = 32) {
    return DDInit(1, nullptr, 640, 480, bpp, 0, 1, 1, 60, 0, SurfaceTable, BitmapTable, 72, 0);
}
uint32_t BackPixel(int x, int y) {
    std::vector<uint32_t> f;
    int w, h;
    DDSurfaceToXrgb8888(&g_BackBuffer, f, w, h);
    return f[size_t(y) * w + x];
}
}  // namespace

TEST_F(GfxTest, TextureSizeRules) {
    gfx::D3DMachineState().caps.pow2 = true;
    gfx::D3DMachineState().caps.squareOnly = true;
    ASSERT_TRUE(InitD3D());
    struct Case {
        int w, h, tw, th;
    } cases[] = {{100, 50, 128, 128}, {64, 64, 64, 64}, {1, 3, 4, 4}, {129, 1, 256, 256}};
    for (const Case& c : cases) {
        DDSURFACEDATA sd;
        ASSERT_TRUE(DDCreateSurface(&sd, c.w, c.h, 1, 0, 0, 0, 0));
        EXPECT_EQ(sd.nWidth, c.w);
        EXPECT_EQ(sd.nHeight, c.h);
        EXPECT_EQ(sd.nTexWidth, c.tw);
        EXPECT_EQ(sd.nTexHeight, c.th);
        DDReleaseSurfaceData(&sd);
    }
    int w = 100, h = 50;
    lpDTCon->bSquareOnly = 0;
    DDAdjustTextureSize(w, h);
    EXPECT_EQ(w, 128);
    EXPECT_EQ(h, 64);
}

TEST_F(GfxTest, ImageWiderThanTheMaximumStillLoads) {
    gfx::D3DMachineState().caps.maxTextureWidth = 64;
    ASSERT_TRUE(InitD3D());
    DDSURFACEDATA sd;
    ASSERT_EQ(DDCreateSurfaceFromFile(&sd, "bmp\\Character1.bmp", 1, 32, 0, 0, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(sd.nTexWidth, 72);
    const std::string report = ReadText("Report_Game.txt");
    EXPECT_NE(report.find(SJ("このビデオカードでは横幅64を超える画像はサポートされていません！")), std::string::npos);
    EXPECT_NE(report.find(SJ("上記の理由でテクスチャの描画が失敗する可能性があります。(bmp\\Character1.bmp)")),
              std::string::npos);
    DDReleaseSurfaceData(&sd);
}

TEST_F(GfxTest, OutOfVideoMemoryGivesSystemTexture) {
    ASSERT_TRUE(InitD3D());
    gfx::Faults().Arm(Fault::D3DOutOfVideoMemory);
    DDSURFACEDATA sd;
    ASSERT_TRUE(DDCreateSurface(&sd, 16, 16, 1, 0, 0, 0, 0));
    EXPECT_EQ(sd.lpDT->nMemType, DTMEMORYTYPE_SYSTEM);
    EXPECT_EQ(sd.lpDT->bRenderTarget, 0);
    EXPECT_EQ(sd.lpDT->lpTexture->pool, gfx::POOL_SYSTEMMEM);
    EXPECT_NE(ReadText("Report_Game.txt").find(SJ("VRAM不足のためシステムメモリにテクスチャを作成します。(空)")),
              std::string::npos);
    DDReleaseSurfaceData(&sd);
    // An unrecoverable system texture ends the program with the failure text.
    platform::CapturedMessageBoxes boxes;
    lpDTCon->strTexFailText = "tex fail";
    gfx::Faults().Arm(Fault::D3DCreateTexture);
    EXPECT_FALSE(DDCreateSurface(&sd, 16, 16, 1, 0, 1, 0, 0));
    EXPECT_EQ(g_bQuit.load(), 1);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "tex fail");
    DDReleaseSurfaceData(&sd);
}

// Slot 5 draws the cells of slot 4 mirrored in place; releasing an alias
// keeps the texture it draws from.
TEST_F(GfxTest, AliasSlotsShareAndMirror) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    EXPECT_EQ(SurfaceTable[5].lpDT->lpTexture, nullptr);
    EXPECT_EQ(SurfaceTable[5].lpAlias, &SurfaceTable[4]);
    EXPECT_EQ(SurfaceTable[23].lpAlias, &SurfaceTable[4]);
    DDFillSurface(&g_BackBuffer, 9);
    DDBlt(&g_BackBuffer, 0, 0, 32, 8, &SurfaceTable[5], 32, 0, 1);  // whole cell 1
    DDBlt(&g_BackBuffer, 40, 0, 32, 8, &SurfaceTable[5], 0, 0, 1);  // whole cell 0
    DDBlt(&g_BackBuffer, 80, 0, 8, 8, &SurfaceTable[5], 36, 0, 1);  // part of cell 1
    EXPECT_EQ(BackPixel(0, 0), PalColor(64));   // sheet column 63
    EXPECT_EQ(BackPixel(31, 0), PalColor(33));  // sheet column 32
    EXPECT_EQ(BackPixel(40, 0), PalColor(32));  // sheet column 31
    EXPECT_EQ(BackPixel(71, 0), PalColor(9));   // sheet column 0 is transparent
    EXPECT_EQ(BackPixel(80, 0), PalColor(60));  // sheet column 59
    EXPECT_EQ(BackPixel(87, 0), PalColor(53));
    gfx::D3DSurfacePtr tex = SurfaceTable[4].lpDT->lpTexture;
    DDReleaseSurface(&SurfaceTable[5]);
    EXPECT_EQ(SurfaceTable[4].lpDT->lpTexture, tex);
    EXPECT_EQ(std::count(g_LiveSurfaces.begin(), g_LiveSurfaces.end(), &SurfaceTable[4]), 1);
}

// DirectDraw keeps a mirrored copy of its own; trailing columns after the
// last whole cell stay empty.
TEST_F(GfxTest, DirectDrawMirroredCopy) {
    for (int bpp : {8, 32}) {
        SCOPED_TRACE(bpp);
        ResetGraphics();
        BuildBitmapTable();
        ASSERT_TRUE(InitAll(0, bpp, 0));
        DDLOCK lock(&SurfaceTable[5]);
        ASSERT_TRUE(lock.Locked());
        const gfx::cImage& img = *lock.Image();
        auto colour = [&](int x) {
            const uint32_t v = img.Get(x, 3);
            return bpp == 8 ? PalColor(int(v)) : v;
        };
        EXPECT_EQ(colour(0), PalColor(32));  // column 31 of the sheet
        EXPECT_EQ(colour(31), PalColor(0));  // column 0: transparent
        EXPECT_EQ(colour(32), PalColor(64));
        EXPECT_EQ(img.Get(64, 3), img.Get(71, 3));
        EXPECT_EQ(img.Get(64, 3), g_DD.dwColorKey);
    }
}

// At 16 bits a true-colour pixel that is not the transparent colour but
// converts to the colour-key value is moved off it by one: raised, or lowered
// when its blue field is already at its maximum. Black stays black.
TEST_F(GfxTest, SixteenBitCopyKeepsNearKeyColoursVisible) {
    platform::CapturedMessageBoxes boxes;  // the debug box of the 16-bit colour form
    gfx::DDMachineState().desktopBpp = 16;
    ASSERT_TRUE(DDInit(0, nullptr, 640, 480, 16, 0, 0, 1, 60, 0, SurfaceTable, BitmapTable, 72, 0));
    const struct Case {
        uint32_t trans, nearKey, other;
        int step;               // the near colour's value from the key
        uint32_t otherValue;    // what the third pixel becomes
    } cases[] = {
        {0xF800F8, 0xF901F9, 0xF800FF, +1, (30u << 11) | 31u},  // 248 * 31 / 255 = 30
        {0x1020FF, 0x0F20FF, 0x000000, -1, 0},                  // blue at 31: lowered
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.trans);
        lpDDCon->rgbTransmit16 = {uint8_t(c.trans), uint8_t(c.trans >> 8), uint8_t(c.trans >> 16)};
        DDSetTransmit(uint8_t(c.trans >> 16), uint8_t(c.trans >> 8), uint8_t(c.trans));
        const uint32_t key = g_DD.dwColorKey;
        testbmp::Write("t.bmp", testbmp::MakeRgb(3, 1, {c.trans, c.nearKey, c.other}));
        DDSURFACEDATA sd;
        ASSERT_EQ(DDCreateSurfaceFromFile(&sd, "t.bmp", 1, 16, 1, 0, 0, 0, 0, 0, 0), 0);
        DDLOCK lock(&sd);
        EXPECT_EQ(lock.Image()->Get(0, 0), key);  // the transparent colour
        EXPECT_EQ(lock.Image()->Get(1, 0), uint32_t(int(key) + c.step));  // same 16-bit value, another colour
        EXPECT_EQ(lock.Image()->Get(2, 0), c.otherValue);
        DDUnlock(lock);
        DDReleaseSurfaceData(&sd);
    }
}

// At 8 bits the copy mirrors each whole cell of columns and of rows; a column
// that would land past the image (the part of a last, partial cell) ends the
// row and is not drawn.
TEST_F(GfxTest, EightBitCopyMirrorsColumnsAndRowsCellByCell) {
    ASSERT_TRUE(InitAll(0, 8, 0));
    std::vector<uint32_t> colours(256);
    for (int i = 0; i < 256; ++i) colours[i] = PalColor(i);
    std::vector<uint8_t> px(5 * 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) px[size_t(y) * 5 + x] = uint8_t(1 + y * 5 + x);
    testbmp::Write("m.bmp", testbmp::Make8(5, 4, colours, px));
    DDSURFACEDATA sd;
    ASSERT_EQ(DDCreateSurfaceFromFile(&sd, "m.bmp", 0, 8, 1, 0, 0, 0, 2, 2, 0), 0);
    DDLOCK lock(&sd);
    ASSERT_TRUE(lock.Locked());
    std::vector<int> got;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) got.push_back(int(lock.Image()->Get(x, y)));
    // Cells of 2 x 2 turned over both ways: (x, y) shows (x ^ 1, y ^ 1).
    std::vector<int> want;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) want.push_back(1 + (y ^ 1) * 5 + (x ^ 1));
    EXPECT_EQ(got, want);
    for (int y = 0; y < 4; ++y) EXPECT_EQ(lock.Image()->Get(4, y), 0u) << y;  // the partial cell
    DDUnlock(lock);
    g_LiveSurfaces.remove(&sd);
    DDReleaseSurfaceData(&sd);
}

TEST_F(GfxTest, MissingSlots) {
    platform::RemoveFile("bmp\\Item.bmp");
    ASSERT_TRUE(DDInit(0, nullptr, 640, 480, 8, 0, 0, 1, 60, 0, SurfaceTable, BitmapTable, 72, 0));
    platform::CapturedMessageBoxes boxes;
    const int optional[] = {6, 7, 45, 56};
    EXPECT_TRUE(DDLoadSurfaces(SurfaceTable, optional, 4));
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(SurfaceTable[6].nWidth, 0);
    const int required[] = {4, 40, 42};
    EXPECT_FALSE(DDLoadSurfaces(SurfaceTable, required, 3));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "bmp\\Item.bmp" + SJ(" の読み込みに失敗！"));
    EXPECT_EQ(SurfaceTable[4].nWidth, 72);
    EXPECT_EQ(SurfaceTable[42].lpDD, nullptr);  // not reached
    // Names are CP932 and looked up without regard to case.
    testbmp::Write(SJ("背景その1.bmp"), SheetBmp8(8, 4));
    testbmp::Write("BMP\\ITEM_MINI.BMP", SheetBmp8(8, 4));
    const int named[] = {56, 42};
    EXPECT_TRUE(DDLoadSurfaces(SurfaceTable, named, 2));
    EXPECT_EQ(SurfaceTable[56].nHeight, 4);
    EXPECT_EQ(SurfaceTable[42].nHeight, 4);
    int tooBig = -1;
    EXPECT_EQ(DDCheckBitmapSize(&tooBig, "bmp\\Character1.bmp", 64, 64), 1);
    EXPECT_EQ(tooBig, 1);
    EXPECT_EQ(DDCheckBitmapSize(&tooBig, "bmp\\Character1.bmp", 72, 8), 1);
    EXPECT_EQ(tooBig, 0);
    EXPECT_EQ(DDCheckBitmapSize(&tooBig, "bmp\\none.bmp", 72, 8), 0);
    // A file that is not a bitmap fails the same way.
    testbmp::Write("bmp\\Item.bmp", std::vector<uint8_t>(100, 'x'));
    EXPECT_FALSE(DDLoadSurfaces(SurfaceTable, required + 1, 1));
}

TEST_F(GfxTest, SurfaceListsInsertAndRemove) {
    ASSERT_TRUE(InitD3D());
    std::list<DDSURFACEDATA> surfaces;
    std::list<BMPSLOT> slots;
    ASSERT_TRUE(DDAddSurfaceToList(surfaces, slots, 8, 8, 1, 0, 0, 0));
    ASSERT_TRUE(DDInsertSurface(surfaces, slots, -3, 16, 4, 0, 1, 1, 0));
    ASSERT_TRUE(DDInsertSurface(surfaces, slots, 99, 2, 2, 1, 0, 0, 0));
    ASSERT_EQ(surfaces.size(), 3u);
    EXPECT_EQ(surfaces.front().nWidth, 16);
    EXPECT_EQ(slots.front().nMemory, 1);
    EXPECT_EQ(surfaces.back().nWidth, 2);
    EXPECT_EQ(g_LiveSurfaces.size(), 5u);
    DDSURFACEDATA* mid = &*std::next(surfaces.begin());
    EXPECT_EQ(DDRemoveSurface(surfaces, slots, mid), 1);
    EXPECT_EQ(DDRemoveSurface(surfaces, slots, &g_WorkSD), 0);
    EXPECT_EQ(surfaces.size(), 2u);
    EXPECT_EQ(slots.size(), 2u);
    EXPECT_EQ(g_LiveSurfaces.size(), 4u);
    DDReleaseSurfaceList(surfaces);
    EXPECT_EQ(g_LiveSurfaces.size(), 2u);
}

TEST_F(GfxTest, BlitFromFailedSlotDoesNothing) {
    platform::CapturedMessageBoxes boxes;
    for (int useD3D : {1, 0}) {
        SCOPED_TRACE(useD3D);
        ResetGraphics();
        BuildBitmapTable();
        ASSERT_TRUE(DDInit(useD3D, nullptr, 640, 480, 32, 0, 0, 1, 60, 0, SurfaceTable, BitmapTable, 72, 0));
        if (lpDTCon) LinkSurfaceAliases();
        const int slots[] = {6, 7, 71};  // Character2 is missing; 71 is a system-memory texture
        ASSERT_TRUE(DDLoadSurfaces(SurfaceTable, slots, 3));
        DDFillSurfaceRGB(&g_BackBuffer, 0xFF102030);
        for (DDSURFACEDATA* dst : {&g_BackBuffer, &SurfaceTable[71]}) {
            DDBlt(dst, 0, 0, 32, 32, &SurfaceTable[6], 0, 0, 1);
            DDBlt(dst, 0, 0, 32, 32, &SurfaceTable[7], 0, 0, 0);
        }
        EXPECT_EQ(BackPixel(0, 0), 0x102030u);
    }
    EXPECT_TRUE(boxes.Boxes().empty());
}

// A bitmap whose header asks for more than 16384 pixels on a side, or for
// more uncompressed rows than the file holds, is refused before the decode
// allocates anything, and the report names the file; 16384 still loads.
TEST_F(GfxTest, BitmapsAskingForTooMuchAreRefusedByName) {
    auto indexed = [](int w, int h) {
        return testbmp::Make8(w, h, {0, 0xFFFFFF}, std::vector<uint8_t>(size_t(w) * h, 1));
    };
    std::vector<uint8_t> topDown = indexed(4, 2);
    testbmp::Put32(topDown, 22, uint32_t(-20000));
    std::vector<uint8_t> cut = testbmp::MakeRgb(2000, 2, std::vector<uint32_t>(4000, 0x123456));
    testbmp::Put32(cut, 22, 2000);  // 2000 rows in a file of two
    // Run-length coded: end of the bitmap at once.
    std::vector<uint8_t> rle = indexed(4, 2);
    rle.resize(62);
    testbmp::Put32(rle, 18, 20000);
    testbmp::Put32(rle, 30, 1);
    rle.insert(rle.end(), {0, 1});
    // Run-length coding of 32-bit pixels 16144 x 9995, with its runs past the
    // end of the file (found by fuzzing: the decode took gigabytes).
    const std::vector<uint8_t> deepRuns = {
        0x42, 0x4d, 0x8c, 0x00, 0x00, 0x00, 0x00, 0x00, 0x76, 0x00, 0x00, 0x00, 0x00, 0x00, 0x28, 0x00, 0x00, 0x00,
        0x10, 0x3f, 0x00, 0x00, 0x0b, 0x27, 0x00, 0x00, 0x01, 0x00, 0x20, 0x00, 0x01, 0x00, 0x00, 0x00, 0x76, 0xfb,
        0x00, 0x00, 0x00, 0x00, 0x25, 0xf9, 0x7f, 0x00, 0x00, 0x00, 0x04, 0x00, 0xf8, 0xff, 0xff, 0x00, 0x00, 0x01};
    struct Case {
        const char* file;
        std::vector<uint8_t> bytes;
        const char* reason;  // null: loads
    } cases[] = {
        {"bmp\DeepRuns.bmp", deepRuns,
         "the header asks for 16144 x 9995 pixels of 32 bits in 8-bit runs, which the file's 54 bytes cannot hold"},
        {"bmp\\Wide.bmp", indexed(16385, 1), "the header asks for 16385 x 1 pixels, more than 16384 x 16384"},
        {"bmp\\Widest.bmp", indexed(16384, 1), nullptr},
        {"bmp\\Tall.bmp", topDown, "the header asks for 4 x 20000 pixels, more than 16384 x 16384"},
        {"bmp\\Cut.bmp", cut, "the header asks for 2000 x 2000 pixels of 24 bits, more than the file's 12054 bytes hold"},
        {"bmp\\Runs.bmp", rle, "the header asks for 20000 x 2 pixels, more than 16384 x 16384"},
    };
    ASSERT_TRUE(InitD3D());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        testbmp::Write(c.file, c.bytes);
        std::string why;
        const std::optional<gfx::cDib> dib = gfx::LoadDib(c.file, &why);
        const std::string line = std::string(c.file) + ": " + (c.reason ? c.reason : "");
        if (!c.reason) {
            ASSERT_TRUE(dib) << why;
            EXPECT_EQ(dib->width, 16384);
            EXPECT_EQ(ReadText("Report_Game.txt").find(c.file), std::string::npos);
            continue;
        }
        EXPECT_FALSE(dib);
        EXPECT_EQ(why, c.reason);
        EXPECT_NE(ReadText("Report_Game.txt").find(line), std::string::npos);
        DDSURFACEDATA sd;
        EXPECT_EQ(DDCreateSurfaceFromFile(&sd, c.file, 1, 32, 0, 0, 0, 0, 0, 0, 0), SURF_LOADIMAGE_ERR);
        DDReleaseSurfaceData(&sd);
    }
}
