#include "media/gfx/ddraw_device.h"

#include <algorithm>

#include "media/gfx/draw_pixels.h"
#include "media/gfx/pixel_ops.h"

namespace gfx {

DDMachine& DDMachineState() {
    static DDMachine m;
    return m;
}

PixelFormat DisplayFormat(int bpp) {
    switch (bpp) {
    case 8: return PixelFormat::Index8;
    case 16: return PixelFormat::RGB565;
    case 24: return PixelFormat::RGB888;
    default: return PixelFormat::XRGB8888;
    }
}

std::unique_ptr<cDDraw> DirectDrawCreateEx() {
    if (Faults().Hit(Fault::DDCreateEx)) return nullptr;
    return std::make_unique<cDDraw>();
}

HRESULT cDDraw::SetCooperativeLevel(bool fullScreen) {
    if (Faults().Hit(Fault::DDSetCoopLevel)) return DDERR_GENERIC;
    m_bFullScreen = fullScreen;
    if (!fullScreen) {
        m_nBpp = DDMachineState().desktopBpp;
        m_nWidth = DDMachineState().clientWidth;
        m_nHeight = DDMachineState().clientHeight;
    }
    return DD_OK;
}

HRESULT cDDraw::SetDisplayMode(int w, int h, int bpp, int refresh) {
    if (refresh == 60 && Faults().Hit(Fault::DDRefreshRate60)) return DDERR_GENERIC;
    if (Faults().Hit(Fault::DDSetDisplayMode)) return DDERR_GENERIC;
    if (bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return DDERR_INVALIDPARAMS;
    m_nWidth = w;
    m_nHeight = h;
    m_nBpp = bpp;
    m_nRefresh = refresh;
    return DD_OK;
}

HRESULT cDDraw::RestoreDisplayMode() {
    m_nBpp = DDMachineState().desktopBpp;
    m_nRefresh = 0;
    return DD_OK;
}

HRESULT cDDraw::CreatePrimary(bool flipping, DDSurfacePtr& out) {
    out.reset();
    if (Faults().Hit(Fault::DDCreatePrimary)) return DDERR_GENERIC;
    out = std::make_shared<cDDSurface>();
    out->img.Reset(DisplayFormat(m_nBpp), m_nWidth, m_nHeight);
    out->primary = true;
    if (flipping) {
        out->back = std::make_shared<cDDSurface>();
        out->back->img.Reset(DisplayFormat(m_nBpp), m_nWidth, m_nHeight);
    }
    AddRef();
    return DD_OK;
}

HRESULT cDDraw::GetAttachedBackBuffer(const DDSurfacePtr& primary, DDSurfacePtr& out) {
    out.reset();
    if (!primary || !primary->back || Faults().Hit(Fault::DDGetAttached)) return DDERR_GENERIC;
    out = primary->back;
    AddRef();
    return DD_OK;
}

HRESULT cDDraw::CreateOffscreen(int w, int h, int memory, DDSurfacePtr& out) {
    out.reset();
    if (w <= 0 || h <= 0) return DDERR_INVALIDPARAMS;
    if (memory == 0 && Faults().Hit(Fault::DDCreateVideo)) return DDERR_OUTOFVIDEOMEMORY;
    if (memory == 1 && Faults().Hit(Fault::DDCreateSystem)) return DDERR_GENERIC;
    out = std::make_shared<cDDSurface>();
    out->img.Reset(DisplayFormat(m_nBpp), w, h);
    out->memory = memory;
    AddRef();
    return DD_OK;
}

HRESULT cDDraw::CreatePalette(DDPalettePtr& out) {
    out.reset();
    if (Faults().Hit(Fault::DDCreatePalette)) return DDERR_GENERIC;
    out = std::make_shared<cDDPalette>();
    AddRef();
    return DD_OK;
}

HRESULT cDDraw::SetPalette(const DDSurfacePtr& primary, const DDPalettePtr& pal) {
    if (!primary || Faults().Hit(Fault::DDSetPalette)) return DDERR_GENERIC;
    primary->palette = pal;
    return DD_OK;
}

HRESULT cDDraw::CreateClipper() {
    if (Faults().Hit(Fault::DDCreateClipper)) return DDERR_GENERIC;
    AddRef();
    return DD_OK;
}
HRESULT cDDraw::ClipperSetHWnd() { return Faults().Hit(Fault::DDSetHWnd) ? DDERR_GENERIC : DD_OK; }
HRESULT cDDraw::SetClipper(const DDSurfacePtr& primary) {
    if (!primary || Faults().Hit(Fault::DDSetClipper)) return DDERR_GENERIC;
    primary->hasClipper = true;
    return DD_OK;
}

HRESULT cDDraw::SetColorKey(const DDSurfacePtr& s, uint32_t key) {
    if (!s || Faults().Hit(Fault::DDSetColorKey)) return DDERR_GENERIC;
    s->hasKey = true;
    s->key = key;
    return DD_OK;
}

namespace {
void Whole(const DDSurfacePtr& s, const int* r, int out[4]) {
    if (r) std::copy(r, r + 4, out);
    else out[0] = 0, out[1] = 0, out[2] = s->img.Width(), out[3] = s->img.Height();
}
bool InsideOf(const cImage& img, const int r[4]) {
    return r[0] >= 0 && r[1] >= 0 && r[2] >= 0 && r[3] >= 0 && r[0] + r[2] <= img.Width() &&
           r[1] + r[3] <= img.Height();
}
}  // namespace

HRESULT DDSurfBlt(const DDSurfacePtr& dst, const int* dstRect, const DDSurfacePtr& src, const int* srcRect, int flags) {
    if (!dst || !src) return DDERR_INVALIDPARAMS;
    if (dst->lost || src->lost) return DDERR_SURFACELOST;
    int d[4], s[4];
    Whole(dst, dstRect, d);
    Whole(src, srcRect, s);
    // Rectangles must lie inside their surfaces (no clipper cuts them).
    if (!InsideOf(dst->img, d) || !InsideOf(src->img, s)) return DDERR_INVALIDPARAMS;
    if (d[2] == 0 || d[3] == 0 || s[2] == 0 || s[3] == 0 || !g_bDrawPixels) return DD_OK;
    SkipRule rule;
    if ((flags & DDBLT_KEYSRC) && src->hasKey) rule = {Skip::Key, src->key};
    if (src.get() == dst.get()) {
        const cImage copy = src->img;
        StretchTrunc(dst->img, d[0], d[1], d[2], d[3], copy, s[0], s[1], s[2], s[3], rule);
    } else if (d[2] == s[2] && d[3] == s[3]) {
        CopyRect(dst->img, d[0], d[1], src->img, s[0], s[1], s[2], s[3], rule);
    } else {
        StretchTrunc(dst->img, d[0], d[1], d[2], d[3], src->img, s[0], s[1], s[2], s[3], rule);
    }
    return DD_OK;
}

HRESULT DDSurfBltFast(const DDSurfacePtr& dst, int x, int y, const DDSurfacePtr& src, const int* srcRect, int flags) {
    if (!src) return DDERR_INVALIDPARAMS;
    int s[4];
    Whole(src, srcRect, s);
    const int d[4] = {x, y, s[2], s[3]};
    return DDSurfBlt(dst, d, src, s, flags);
}

HRESULT DDSurfColorFill(const DDSurfacePtr& dst, const int* dstRect, uint32_t value) {
    if (!dst) return DDERR_INVALIDPARAMS;
    if (dst->lost) return DDERR_SURFACELOST;
    int d[4];
    Whole(dst, dstRect, d);
    if (!InsideOf(dst->img, d)) return DDERR_INVALIDPARAMS;
    if (g_bDrawPixels) FillRect(dst->img, d[0], d[1], d[2], d[3], value);
    return DD_OK;
}

HRESULT DDSurfLock(const DDSurfacePtr& s) {
    if (!s || s->locked) return DDERR_INVALIDPARAMS;
    if (s->lost) return DDERR_SURFACELOST;
    if (Faults().Hit(Fault::DDLock)) return DDERR_GENERIC;
    s->locked = true;
    return DD_OK;
}

HRESULT DDSurfUnlock(const DDSurfacePtr& s) {
    if (!s || !s->locked) return DDERR_INVALIDPARAMS;
    s->locked = false;
    return DD_OK;
}

HRESULT DDSurfIsLost(const DDSurfacePtr& s) { return s && s->lost ? DDERR_SURFACELOST : DD_OK; }

HRESULT DDSurfRestore(const DDSurfacePtr& s) {
    if (!s) return DDERR_INVALIDPARAMS;
    if (s->lost && s->memory == 0) FillRect(s->img, 0, 0, s->img.Width(), s->img.Height(), 0);
    s->lost = false;
    return DD_OK;
}

HRESULT DDSurfFlip(const DDSurfacePtr& primary) {
    if (!primary || !primary->back) return DDERR_INVALIDPARAMS;
    if (primary->lost) return DDERR_SURFACELOST;
    std::swap(primary->img, primary->back->img);
    return DD_OK;
}

}  // namespace gfx
