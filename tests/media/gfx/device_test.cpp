#include <gtest/gtest.h>

#include "media/gfx/d3d_device.h"
#include "media/gfx/ddraw_device.h"

using namespace gfx;

namespace {
struct DeviceTest : ::testing::Test {
    void SetUp() override {
        Faults().Clear();
        DDMachineState() = DDMachine{};
        D3DMachineState() = D3DMachine{};
    }
    void TearDown() override { Faults().Clear(); }
};

DDSurfacePtr Surface(cDDraw& dd, int w, int h, std::initializer_list<uint32_t> px) {
    DDSurfacePtr s;
    EXPECT_EQ(dd.CreateOffscreen(w, h, 1, s), DD_OK);
    int i = 0;
    for (uint32_t v : px) s->img.Set(i % w, i / w, v), ++i;
    return s;
}
}  // namespace

TEST_F(DeviceTest, DirectDrawColourKeyStretchAndFill) {
    auto dd = DirectDrawCreateEx();
    ASSERT_EQ(dd->SetCooperativeLevel(true), DD_OK);
    ASSERT_EQ(dd->SetDisplayMode(640, 480, 8, 0), DD_OK);
    DDSurfacePtr src = Surface(*dd, 4, 1, {7, 1, 2, 7});
    DDSurfacePtr dst = Surface(*dd, 4, 2, {});
    ASSERT_EQ(DDSurfColorFill(dst, nullptr, 9), DD_OK);
    ASSERT_EQ(dd->SetColorKey(src, 7), DD_OK);
    const int srcRect[4] = {0, 0, 4, 1};
    ASSERT_EQ(DDSurfBltFast(dst, 0, 0, src, srcRect, DDBLT_KEYSRC), DD_OK);
    EXPECT_EQ(dst->img.Get(0, 0), 9u);
    EXPECT_EQ(dst->img.Get(1, 0), 1u);
    EXPECT_EQ(dst->img.Get(3, 0), 9u);
    // Without the key flag every pixel is copied; 4 -> 3 stretching truncates.
    const int d3[4] = {0, 1, 3, 1};
    ASSERT_EQ(DDSurfBlt(dst, d3, src, srcRect, 0), DD_OK);
    EXPECT_EQ(dst->img.Get(0, 1), 7u);
    EXPECT_EQ(dst->img.Get(1, 1), 1u);
    EXPECT_EQ(dst->img.Get(2, 1), 2u);
    EXPECT_EQ(dst->img.Get(3, 1), 9u);
    // Rectangles outside the surface are refused, a fill rectangle too.
    const int bad[4] = {2, 0, 4, 1};
    EXPECT_EQ(DDSurfBlt(dst, bad, src, srcRect, 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(DDSurfColorFill(dst, bad, 1), DDERR_INVALIDPARAMS);
    const int fill[4] = {1, 1, 2, 1};
    ASSERT_EQ(DDSurfColorFill(dst, fill, 4), DD_OK);
    EXPECT_EQ(dst->img.Get(1, 1), 4u);
    EXPECT_EQ(dst->img.Get(0, 1), 7u);
}

TEST_F(DeviceTest, DirectDrawFlipLossAndPalettedFrame) {
    auto dd = DirectDrawCreateEx();
    dd->SetCooperativeLevel(true);
    dd->SetDisplayMode(4, 2, 8, 60);
    DDSurfacePtr primary, back;
    ASSERT_EQ(dd->CreatePrimary(true, primary), DD_OK);
    ASSERT_EQ(dd->GetAttachedBackBuffer(primary, back), DD_OK);
    DDPalettePtr pal;
    ASSERT_EQ(dd->CreatePalette(pal), DD_OK);
    pal->entries[3][0] = 0x12, pal->entries[3][1] = 0x34, pal->entries[3][2] = 0x56;
    ASSERT_EQ(dd->SetPalette(primary, pal), DD_OK);
    DDSurfColorFill(back, nullptr, 3);
    DDSurfColorFill(primary, nullptr, 1);
    ASSERT_EQ(DDSurfFlip(primary), DD_OK);
    EXPECT_EQ(primary->img.Get(0, 0), 3u);
    EXPECT_EQ(back->img.Get(0, 0), 1u);  // the frame shown before
    std::vector<uint32_t> frame;
    ConvertToXrgb8888(primary->img, primary->palette->entries, frame);
    EXPECT_EQ(frame[5], 0x123456u);
    EXPECT_EQ(dd->Refs(), 3);
    // A lost video-memory surface refuses blits until restored, then is blank.
    DDSurfacePtr v;
    ASSERT_EQ(dd->CreateOffscreen(2, 2, 0, v), DD_OK);
    DDSurfColorFill(v, nullptr, 5);
    v->lost = true;
    EXPECT_EQ(DDSurfBltFast(back, 0, 0, v, nullptr, 0), DDERR_SURFACELOST);
    EXPECT_EQ(DDSurfLock(v), DDERR_SURFACELOST);
    ASSERT_EQ(DDSurfRestore(v), DD_OK);
    EXPECT_EQ(v->img.Get(1, 1), 0u);
    Faults().Arm(Fault::DDLock);
    EXPECT_NE(DDSurfLock(v), DD_OK);
    EXPECT_EQ(DDSurfLock(v), DD_OK);
    EXPECT_NE(DDSurfLock(v), DD_OK);  // already locked
}

TEST_F(DeviceTest, Direct3DTexturesLockAndLoss) {
    auto d3d = Direct3DCreate9();
    std::unique_ptr<cD3DDevice> dev;
    D3DPresentParams pp;
    pp.backBufferFormat = PixelFormat::ARGB1555;
    ASSERT_EQ(d3d->CreateDevice(pp, true, dev), D3D_OK);
    EXPECT_EQ(dev->BackBuffer()->img.Width(), 640);
    D3DCapsEmu caps;
    ASSERT_EQ(d3d->GetDeviceCaps(caps), D3D_OK);
    EXPECT_EQ(caps.maxTextureWidth, 4096);
    EXPECT_FALSE(caps.pow2);
    // Out of video memory only hits the default pool.
    Faults().Arm(Fault::D3DOutOfVideoMemory);
    D3DSurfacePtr sys, rt, copy;
    ASSERT_EQ(dev->CreateTexture(8, 8, USAGE_DYNAMIC, PixelFormat::ARGB1555, POOL_SYSTEMMEM, sys), D3D_OK);
    EXPECT_EQ(dev->CreateTexture(8, 8, USAGE_RENDERTARGET, PixelFormat::ARGB1555, POOL_DEFAULT, rt),
              D3DERR_OUTOFVIDEOMEMORY);
    ASSERT_EQ(dev->CreateTexture(8, 8, USAGE_RENDERTARGET, PixelFormat::ARGB1555, POOL_DEFAULT, rt), D3D_OK);
    // A render target is read and written through a system copy.
    EXPECT_NE(dev->LockRect(rt), D3D_OK);
    ASSERT_EQ(dev->SetRenderTarget(rt), D3D_OK);
    EXPECT_NE(dev->SetRenderTarget(sys), D3D_OK);
    const int r[4] = {1, 1, 2, 2};
    dev->Clear(r, 0xFFFF0000);
    ASSERT_EQ(dev->CreateOffscreenPlainSurface(8, 8, PixelFormat::ARGB1555, POOL_SYSTEMMEM, copy), D3D_OK);
    ASSERT_EQ(dev->GetRenderTargetData(rt, copy), D3D_OK);
    EXPECT_EQ(copy->img.Get(2, 2), 0xFC00u);
    EXPECT_EQ(copy->img.Get(3, 3), 0u);
    copy->img.Set(0, 0, 0x801F);
    ASSERT_EQ(dev->UpdateSurface(copy, rt), D3D_OK);
    EXPECT_EQ(rt->img.Get(0, 0), 0x801Fu);
    // Present shows the back buffer and keeps it; a loss needs a reset.
    dev->SetRenderTarget(dev->BackBuffer());
    dev->Clear(nullptr, 0xFF00FF00);
    ASSERT_EQ(dev->Present(), D3D_OK);
    EXPECT_EQ(dev->Shown().Get(0, 0), 0x83E0u);
    EXPECT_EQ(dev->BackBuffer()->img.Get(0, 0), 0x83E0u);
    Faults().Arm(Fault::D3DDeviceLost);
    Faults().Arm(Fault::D3DNotResettable);
    EXPECT_EQ(dev->Present(), D3DERR_DEVICELOST);
    EXPECT_EQ(dev->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(dev->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    Faults().Arm(Fault::D3DReset);
    EXPECT_NE(dev->Reset(pp), D3D_OK);
    EXPECT_EQ(dev->Present(), D3DERR_DEVICELOST);
    ASSERT_EQ(dev->Reset(pp), D3D_OK);
    EXPECT_EQ(dev->Present(), D3D_OK);
    EXPECT_EQ(dev->PresentCount(), 2);
}
