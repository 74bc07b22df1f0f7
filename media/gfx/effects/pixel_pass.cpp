#include "media/gfx/effects/pixel_pass.h"

#include "media/gfx/dd_surface.h"

namespace gfx::fx {

Depth CurrentDepth() {
    if (lpDTCon) {
        switch (g_DD.nBpp) {
        case 16: return Depth::D3D16;
        case 32: return Depth::D3D32;
        default: return Depth::None;
        }
    }
    switch (g_DD.nBpp) {
    case 8: return Depth::DD8;
    case 16: return Depth::DD16;
    case 32: return Depth::DD32;
    default: return Depth::None;
    }
}

int BytesOf(Depth d) {
    switch (d) {
    case Depth::DD8: return 1;
    case Depth::D3D16:
    case Depth::DD16: return 2;
    case Depth::D3D32:
    case Depth::DD32: return 4;
    default: return 0;
    }
}

void ResolveSurfaces(DDSURFACEDATA*& dst, DDSURFACEDATA*& src) {
    if (!lpDTCon) return;
    DDResolveAlias(dst);
    DDResolveAlias(src);
    DDRedirectBackBuffer(&dst);
    DDRedirectBackBuffer(&src);
}

bool cPixelPass::Lock(DDSURFACEDATA* dst, DDSURFACEDATA* src, int x, int y, int w, int h, int sx, int sy) {
    if (!m_dst.Lock(dst)) return false;
    if (!m_src.Lock(src)) {
        DDUnlock(m_dst);
        return false;
    }
    const int dw = std::min(m_dst.m_lpSD->nWidth, Dst().Width()), dh = std::min(m_dst.m_lpSD->nHeight, Dst().Height());
    const int sw = std::min(m_src.m_lpSD->nWidth, Src().Width()), sh = std::min(m_src.m_lpSD->nHeight, Src().Height());
    // 64-bit bounds: positions and sizes come from game data.
    auto range = [](int64_t n, int64_t d, int64_t dSize, int64_t s, int64_t sSize, int& lo, int& hi) {
        lo = int(std::max<int64_t>({0, -d, -s}));
        hi = int(std::max<int64_t>(lo, std::min<int64_t>({n, dSize - d, sSize - s})));
    };
    range(w, x, dw, sx, sw, m_span.j0, m_span.j1);
    range(h, y, dh, sy, sh, m_span.i0, m_span.i1);
    m_x = x, m_y = y, m_sx = sx, m_sy = sy;
    m_dw = dw, m_dh = dh, m_sw = sw, m_sh = sh;
    return true;
}

cWriter16::cWriter16(const DDSURFACEDATA* dst) {
    fullScreen = DDIsFullScreenBackBuffer(dst);
    l = fullScreen ? g_BackLayout : g_SurfLayout;
    alphaBit = fullScreen ? 0 : 1u << g_SurfLayout.as;
}

cColourAdd cColourAdd::From(const DDBLTPARAM* param) {
    cColourAdd a;
    if (!lpDTCon || !param || param->nColorOp != TOP_ADD) return a;
    a.on = true;
    const Argb c = UnpackArgb(param->dwColor);
    a.r = c.r, a.g = c.g, a.b = c.b;
    if (g_DD.nBpp == 16) {
        const PixelLayout& l = g_SurfLayout;
        a.rm = uint32_t(l.rm), a.gm = uint32_t(l.gm), a.bm = uint32_t(l.bm);
        a.r = ScaleDown(a.r, l.rm), a.g = ScaleDown(a.g, l.gm), a.b = ScaleDown(a.b, l.bm);
    }
    return a;
}

uint32_t CopiedD3D16(uint32_t p, const cColourAdd& add, const cWriter16& w16) {
    const PixelLayout& l = g_SurfLayout;
    if (add.on) {
        const Rgb c = Channels(p, l);
        p = std::min(c.r + add.r, add.rm) << l.rs | std::min(c.g + add.g, add.gm) << l.gs |
            std::min(c.b + add.b, add.bm) << l.bs | 1u << l.as;
    }
    if (w16.fullScreen) {
        const Rgb c = Channels(p, l);
        p = w16.PackRaw(c.r, c.g * 2, c.b);
    }
    return p;
}

bool UseQuad(const DDSURFACEDATA* dst, const DDSURFACEDATA* src) {
    return lpDTCon && dst && src && dst->lpDT && src->lpDT && dst->lpDT->bRenderTarget &&
           src->lpDT->nMemType != DTMEMORYTYPE_SYSTEM;
}

StageState CurrentStage() { return g_DD.lpDevice ? g_DD.lpDevice->stage : StageState{}; }

bool DrawEffectQuad(DDSURFACEDATA* dst, DDSURFACEDATA* src, const StageState& st) {
    if (!g_DD.lpDevice || !src->lpDT->lpVB) return false;
    if (!DDBeginScene()) return false;
    if (!DDSetRenderTarget(0, dst)) return false;
    cD3DDevice& dev = *g_DD.lpDevice;
    dev.stage = st;
    dev.DrawStrip(src->lpDT->lpVB->v, src->lpDT->lpTexture.get());
    return DDSetRenderTarget(0, lpDTCon->lpDefaultTarget) != 0;
}

}  // namespace gfx::fx
