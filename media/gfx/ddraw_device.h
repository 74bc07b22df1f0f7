// The DirectDraw-like device family: a display mode, a primary surface with
// an attached back buffer and a real flip, off-screen surfaces in video or
// system memory, copy / colour-key / stretch / colour-fill blits, lock,
// surface loss, and a 256-entry palette applied when an 8-bit frame is shown.
#pragma once
#include <cstdint>
#include <memory>

#include "media/gfx/d3d_device.h"
#include "media/gfx/fault_points.h"
#include "media/gfx/image.h"

namespace gfx {

constexpr HRESULT DD_OK = 0;
constexpr HRESULT DDERR_GENERIC = int32_t(0x80004005u);
constexpr HRESULT DDERR_OUTOFVIDEOMEMORY = int32_t(0x8876017Cu);
constexpr HRESULT DDERR_SURFACELOST = int32_t(0x887601C2u);
constexpr HRESULT DDERR_INVALIDPARAMS = int32_t(0x80070057u);

struct cDDPalette {
    uint8_t entries[256][4]{};  // red, green, blue, flags
};
using DDPalettePtr = std::shared_ptr<cDDPalette>;

struct cDDSurface {
    cImage img;
    int memory = 0;  // 0 video, 1 system
    bool primary = false;
    bool hasKey = false;
    uint32_t key = 0;
    bool lost = false;
    bool locked = false;
    bool hasClipper = false;
    std::shared_ptr<cDDSurface> back;  // attached back buffer of a flipping primary
    DDPalettePtr palette;
};
using DDSurfacePtr = std::shared_ptr<cDDSurface>;

// What the machine reports; tests change it.
struct DDMachine {
    int desktopBpp = 32;
    int clientWidth = 640, clientHeight = 480;
};
DDMachine& DDMachineState();

// Display format of a colour depth (16 bits: R5G6B5).
PixelFormat DisplayFormat(int bpp);

class cDDraw {
public:
    HRESULT SetCooperativeLevel(bool fullScreen);
    HRESULT SetDisplayMode(int w, int h, int bpp, int refresh);
    HRESULT RestoreDisplayMode();
    int DisplayBpp() const { return m_nBpp; }
    int RefreshRate() const { return m_nRefresh; }
    bool FullScreen() const { return m_bFullScreen; }

    // Flipping primary with one attached back buffer (full screen) or a plain
    // primary of the window's client size.
    HRESULT CreatePrimary(bool flipping, DDSurfacePtr& out);
    HRESULT GetAttachedBackBuffer(const DDSurfacePtr& primary, DDSurfacePtr& out);
    // Off-screen surface in the display format.
    HRESULT CreateOffscreen(int w, int h, int memory, DDSurfacePtr& out);
    HRESULT CreatePalette(DDPalettePtr& out);
    HRESULT SetPalette(const DDSurfacePtr& primary, const DDPalettePtr& pal);
    HRESULT CreateClipper();
    HRESULT ClipperSetHWnd();
    HRESULT SetClipper(const DDSurfacePtr& primary);
    HRESULT SetColorKey(const DDSurfacePtr& s, uint32_t key);

    // Objects handed out and not yet given back (the leak check at release).
    int Refs() const { return m_nRefs; }
    void AddRef() { ++m_nRefs; }
    void ReleaseRef() { if (m_nRefs > 0) --m_nRefs; }

private:
    bool m_bFullScreen = false;
    int m_nBpp = 0, m_nRefresh = 0, m_nWidth = 0, m_nHeight = 0;
    int m_nRefs = 0;
};
std::unique_ptr<cDDraw> DirectDrawCreateEx();

// Blits. Rectangles are x, y, w, h; null = whole surface.
constexpr int DDBLT_KEYSRC = 1;
HRESULT DDSurfBlt(const DDSurfacePtr& dst, const int* dstRect, const DDSurfacePtr& src, const int* srcRect, int flags);
HRESULT DDSurfBltFast(const DDSurfacePtr& dst, int x, int y, const DDSurfacePtr& src, const int* srcRect, int flags);
HRESULT DDSurfColorFill(const DDSurfacePtr& dst, const int* dstRect, uint32_t value);
HRESULT DDSurfLock(const DDSurfacePtr& s);
HRESULT DDSurfUnlock(const DDSurfacePtr& s);
HRESULT DDSurfIsLost(const DDSurfacePtr& s);
HRESULT DDSurfRestore(const DDSurfacePtr& s);
// Exchanges the images of the primary and its back buffer.
HRESULT DDSurfFlip(const DDSurfacePtr& primary);

}  // namespace gfx
