#include "media/gfx/dd_blit.h"

#include <cmath>
#include <cstdlib>

#include "base/log.h"
#include "base/quit.h"
#include "media/gfx/dd_layer.h"
#include "media/gfx/dd_palette.h"
#include "media/gfx/dd_surface.h"
#include "media/gfx/pixel_ops.h"

using namespace gfx;

void DDSetBlitColor(uint32_t argb) { if (lpDTCon) lpDTCon->dwBlitColor = argb; }
void DDResetBlitColor() { if (lpDTCon) lpDTCon->dwBlitColor = 0xFFFFFFFF; }
void DDSetColorOp(int op) { if (lpDTCon) lpDTCon->nColorOp = op; }
void DDResetColorOp() { if (lpDTCon) lpDTCon->nColorOp = 4; }
void DDSetAlphaOp(int op) { if (lpDTCon) lpDTCon->nAlphaOp = op; }
void DDResetAlphaOp() { if (lpDTCon) lpDTCon->nAlphaOp = 2; }

int DDBeginScene() {
    if (!lpDTCon || !g_DD.lpDevice) return 0;
    if (lpDTCon->bSceneOpen) return 1;
    HRESULT hr = g_DD.lpDevice->BeginScene();
    if (FAILED_HR(hr)) {
        ReportLogf("BeginScene Err %x", unsigned(hr));
        return 0;
    }
    lpDTCon->bSceneOpen = 1;
    return 1;
}

void DDEndScene() {
    if (!lpDTCon || !lpDTCon->bSceneOpen) return;
    if (g_DD.lpDevice) g_DD.lpDevice->EndScene();
    lpDTCon->bSceneOpen = 0;
}

int DDSetRenderTarget(int /*reserved*/, DDSURFACEDATA* sd) {
    if (!lpDTCon || !g_DD.lpDevice || !sd || !sd->lpDT || !sd->lpDT->bRenderTarget) return 0;
    HRESULT hr = g_DD.lpDevice->SetRenderTarget(sd->lpDT->lpSurface);
    if (FAILED_HR(hr)) {
        ReportLogf("SetRenderTarget Err %x (%s)", unsigned(hr), sd->strFileName.c_str());
        return 0;
    }
    return 1;
}

bool DDIsFullScreenBackBuffer(const DDSURFACEDATA* sd) { return sd == &g_BackBuffer && g_DD.nScreenMode == 0; }

bool DDClipBlt(DDSURFACEDATA* dst, int& x, int& y, int& w, int& h, DDSURFACEDATA* src, int& sx, int& sy, int& sw,
               int& sh) {
    const int swIn = sw, shIn = sh;
    const int srcW = src->nWidth, srcH = src->nHeight, dstW = dst->nWidth, dstH = dst->nHeight;
    if (sw == w && sh == h) {
        if (w <= 0 || h <= 0 || sw == 0 || sh == 0) return false;
        int right = std::min(sx + sw, srcW), bottom = std::min(sy + sh, srcH);
        int left = std::max(sx, 0), top = std::max(sy, 0);
        // A blit overhanging both edges of the destination is cut on both.
        if (x < 0) {
            left += -x;
            x = 0;
        }
        if (right - left + x > dstW) right = left + dstW - x;
        if (y < 0) {
            top += -y;
            y = 0;
        }
        if (bottom - top + y > dstH) bottom = top + dstH - y;
        sx = left;
        sy = top;
        w = sw = right - left;
        h = sh = bottom - top;
    } else {
        int left = sx, right = sx + sw, top = sy, bottom = sy + sh;
        const bool d3d = lpDTCon != nullptr;
        if (d3d && sw < 0) std::swap(left, right);
        if (d3d && sh < 0) std::swap(top, bottom);
        left = std::max(left, 0);
        top = std::max(top, 0);
        right = std::min(right, srcW);
        bottom = std::min(bottom, srcH);
        if (sw == 0 || sh == 0) return false;
        const double fx = double(right - left) / sw, fy = double(bottom - top) / sh;
        if (d3d) {
            if (sw < 0) std::swap(left, right);
            if (sh < 0) std::swap(top, bottom);
            sx = left;
            sy = top;
            sw = right - left;
            sh = bottom - top;
            w = std::abs(int(std::trunc(w * fx)));
            h = std::abs(int(std::trunc(h * fy)));
        } else {
            sx = left;
            sy = top;
            sw = right - left;
            sh = bottom - top;
            w = int(std::trunc(w * fx));
            h = int(std::trunc(h * fy));
            if (x < 0) {
                if (x + w < 0 || w == 0) return false;
                const int nl = int(std::trunc(double(-x) / w * sw + sx));
                sw -= nl - sx;
                sx = nl;
                w += x;
                x = 0;
            }
            if (x + w > dstW) {
                if (x >= dstW || w == 0) return false;
                sw = int(std::trunc(double(dstW - x) / w * sw));
                w = dstW - x;
            }
            if (y < 0) {
                if (y + h < 0 || h == 0) return false;
                const int nt = int(std::trunc(double(-y) / h * sh + sy));
                sh -= nt - sy;
                sy = nt;
                h += y;
                y = 0;
            }
            if (y + h > dstH) {
                if (y >= dstH || h == 0) return false;
                sh = int(std::trunc(double(dstH - y) / h * sh));
                h = dstH - y;
            }
        }
    }
    return w > 0 && h > 0 && sw != 0 && sh != 0 && (sw < 0) == (swIn < 0) && (sh < 0) == (shIn < 0);
}

uint32_t DDTransparentClearValue(DDSURFACEDATA* dst) {
    if (dst == &g_BackBuffer) return g_DD.nBpp == 32 ? lpDTCon->dwTransARGB : lpDTCon->wTransmit_16;
    return lpDTCon->dwTransTexel;
}

void DDMakeQuad(D3DVertex v[4], int x, int y, int w, int h, int sx, int sy, int sw, int sh, int texW, int texH,
                uint32_t diffuse) {
    const float l = float(x) - 0.5f, r = float(x + w) - 0.5f, t = float(y) - 0.5f, b = float(y + h) - 0.5f;
    const float u0 = float(sx) / float(texW), u1 = float(sx + sw) / float(texW);
    const float v0 = float(sy) / float(texH), v1 = float(sy + sh) / float(texH);
    v[0] = {l, t, 0, 1, diffuse, u0, v0};
    v[1] = {l, b, 0, 1, diffuse, u0, v1};
    v[2] = {r, t, 0, 1, diffuse, u1, v0};
    v[3] = {r, b, 0, 1, diffuse, u1, v1};
}

namespace {
void WriteQuad(cD3DVertexBuffer& vb, int x, int y, int w, int h, int sx, int sy, int sw, int sh, int texW, int texH,
               uint32_t diffuse) {
    DDMakeQuad(vb.v, x, y, w, h, sx, sy, sw, sh, texW, texH, diffuse);
}
}  // namespace

int DDBltStretch(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int sw, int sh,
                 int flag) {
    if (g_bQuit) return 0;
    DDAdjustMirror(src, sx, sy, sw, sh);
    if (!lpDTCon) {
        if (!dst || !src || !dst->lpDD || !src->lpDD) return 0;
        if (!DDClipBlt(dst, x, y, w, h, src, sx, sy, sw, sh)) return 0;
        const int d[4] = {x, y, w, h}, s[4] = {sx, sy, sw, sh};
        DDSurfBlt(dst->lpDD->lpSurface, d, src->lpDD->lpSurface, s, flag == 1 ? DDBLT_KEYSRC : 0);
        return 1;
    }
    if (!dst || !src) return 0;
    DDResolveAlias(dst);
    DDResolveAlias(src);
    if (lpDTCon->bCopying) {
        dst = &g_BackBuffer;
        src = &g_VirBackBuffer;
    } else {
        DDRedirectBackBuffer(&dst);
        DDRedirectBackBuffer(&src);
    }
    // A slot whose image failed to load has no texture: nothing to draw.
    if (!dst->lpDT || !src->lpDT || !src->lpDT->lpSurface || !dst->lpDT->lpSurface) return 0;
    if (dst->lpDT->bRenderTarget && src->lpDT->nMemType != DTMEMORYTYPE_SYSTEM) {
        if (!DDClipBlt(dst, x, y, w, h, src, sx, sy, sw, sh)) return 0;
        if (DDLayerRecording()) {
            DDLayerRecordBlit(dst, x, y, w, h, src, sx, sy, sw, sh, flag);
            return 1;
        }
        if (!src->lpDT->lpVB || !src->lpDT->lpTexture) return 0;
        WriteQuad(*src->lpDT->lpVB, x, y, w, h, sx, sy, sw, sh, src->nTexWidth, src->nTexHeight, lpDTCon->dwBlitColor);
        cD3DDevice& dev = *g_DD.lpDevice;
        DDBeginScene();
        if (!DDSetRenderTarget(0, dst)) return 0;
        if (flag == 0 && src->lpDT->bColorKey) {
            const int r[4] = {x, y, w, h};
            dev.Clear(r, DDTransparentClearValue(dst));
        }
        dev.stage.colorOp = lpDTCon->nColorOp;
        dev.stage.colorArg1 = TA_TEXTURE;
        dev.stage.colorArg2 = TA_DIFFUSE;
        dev.stage.alphaOp = lpDTCon->nAlphaOp;
        dev.stage.alphaArg1 = TA_TEXTURE;
        dev.stage.alphaArg2 = TA_DIFFUSE;
        dev.DrawStrip(src->lpDT->lpVB->v, src->lpDT->lpTexture.get());
        DDSetRenderTarget(0, lpDTCon->lpDefaultTarget);
        return 1;
    }
    DDLOCK ld(dst);
    if (!ld.Locked()) return 0;
    DDLOCK ls(src);
    if (!ls.Locked()) return 0;
    const Convert conv =
        g_DD.nBpp == 16 && DDIsFullScreenBackBuffer(dst) ? Convert::SurfToBack565 : Convert::None;
    SkipRule rule;
    if (flag == 1) rule.kind = g_DD.nBpp == 16 ? Skip::Test16 : Skip::Alpha0;
    if (sw == w && sh == h) CopyRect(*ld.Image(), x, y, *ls.Image(), sx, sy, w, h, rule, conv);
    else StretchTrunc(*ld.Image(), x, y, w, h, *ls.Image(), sx, sy, sw, sh, rule, conv);
    return 1;
}

void DDBlt(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flag) {
    if (lpDTCon) {
        DDBltStretch(dst, x, y, w, h, src, sx, sy, w, h, flag);
        return;
    }
    if (g_bQuit || !dst || !src || !dst->lpDD || !src->lpDD) return;
    int sw = w, sh = h;
    if (!DDClipBlt(dst, x, y, w, h, src, sx, sy, sw, sh)) return;
    const int s[4] = {sx, sy, sw, sh};
    DDSurfBltFast(dst->lpDD->lpSurface, x, y, src->lpDD->lpSurface, s, flag == 1 ? DDBLT_KEYSRC : 0);
}

void DDFillRect(DDSURFACEDATA* sd, int x, int y, int w, int h, uint32_t palNum) {
    if (lpDTCon) {
        uint32_t c = 0;
        if (palNum > 255) DebugLogf("PalNumToRGB(DWORD dwPalNum) Err dwPalNum = %d", int(palNum));
        else c = PalNumToRGB(palNum);
        DDFillRectRGB(sd, x, y, w, h, c);
        return;
    }
    DDFillRectRGB(sd, x, y, w, h, PalNumToRGB(palNum));
}

void DDFillSurface(DDSURFACEDATA* sd, uint32_t palNum) {
    if (sd) DDFillRect(sd, 0, 0, sd->nWidth, sd->nHeight, palNum);
}

void DDFillRectRGB(DDSURFACEDATA* sd, int x, int y, int w, int h, uint32_t colour) {
    if (!sd) return;
    if (!lpDTCon) {
        if (!sd->lpDD || !sd->lpDD->lpSurface) return;
        // The part left of or above the image is cut off, as on Direct3D.
        if (x < 0) {
            w += x;
            x = 0;
        }
        if (y < 0) {
            h += y;
            y = 0;
        }
        if (x + w > sd->nWidth) w = sd->nWidth - x;
        if (y + h > sd->nHeight) h = sd->nHeight - y;
        if (w <= 0 || h <= 0) return;
        const int r[4] = {x, y, w, h};
        DDSurfColorFill(sd->lpDD->lpSurface, r, colour);
        return;
    }
    DDResolveAlias(sd);
    DDRedirectBackBuffer(&sd);
    if (!sd->lpDT) return;
    if (sd->lpDT->bRenderTarget) {
        const int x0 = std::max(x, 0), y0 = std::max(y, 0);
        const int x1 = std::min(x + w, sd->nWidth), y1 = std::min(y + h, sd->nHeight);
        if (x1 <= x0 || y1 <= y0) return;
        cD3DDevice& dev = *g_DD.lpDevice;
        const uint32_t trans = sd == &g_BackBuffer ? lpDTCon->dwTransARGB : lpDTCon->dwTransTexel;
        const int r[4] = {x0, y0, x1 - x0, y1 - y0};
        if (sd->lpDT->bColorKey && (g_DD.nBpp == 16 || g_DD.nBpp == 32) && colour == trans) {
            if (DDSetRenderTarget(0, sd)) {
                dev.Clear(r, trans);
                DDSetRenderTarget(0, lpDTCon->lpDefaultTarget);
            }
            return;
        }
        if (DDFillBatchOpen()) {
            DDFillBatchAppend(sd, r[0], r[1], r[2], r[3], colour);
            return;
        }
        if (!sd->lpDT->lpVB) return;
        WriteQuad(*sd->lpDT->lpVB, r[0], r[1], r[2], r[3], 0, 0, 0, 0, 1, 1, colour);
        DDBeginScene();
        if (!DDSetRenderTarget(0, sd)) return;
        dev.stage.tfactor = colour;
        dev.stage.colorOp = TOP_SELECTARG2;
        dev.stage.colorArg2 = TA_TFACTOR;
        dev.stage.alphaOp = TOP_SELECTARG2;
        dev.stage.alphaArg2 = TA_TFACTOR;
        dev.DrawStrip(sd->lpDT->lpVB->v, nullptr);
        dev.stage.colorArg2 = TA_DIFFUSE;
        dev.stage.alphaArg2 = TA_DIFFUSE;
        DDSetRenderTarget(0, lpDTCon->lpDefaultTarget);
        return;
    }
    DDLOCK lock(sd);
    if (!lock.Locked()) return;
    uint32_t px = colour;
    if (g_DD.nBpp == 16) {
        const Argb c = UnpackArgb(colour);
        if (DDIsFullScreenBackBuffer(sd)) {
            const PixelLayout& l = g_BackLayout;
            px = ScaleDown(c.r, 31) << l.rs | (ScaleDown(c.g, 31) * 2) << l.gs | ScaleDown(c.b, 31) << l.bs;
        } else {
            const PixelLayout& l = g_SurfLayout;
            px = ScaleDown(c.r, l.rm) << l.rs | ScaleDown(c.g, l.gm) << l.gs | ScaleDown(c.b, l.bm) << l.bs |
                 ScaleDown(c.a, l.am) << l.as;
        }
    }
    FillRect(*lock.Image(), x, y, w, h, px);
}

void DDFillSurfaceRGB(DDSURFACEDATA* sd, uint32_t colour) {
    if (sd) DDFillRectRGB(sd, 0, 0, sd->nWidth, sd->nHeight, colour);
}

void DDSetVirtualBackBuffer(int on) {
    if (!lpDTCon) return;
    if (lpDTCon->bVirBackBuffer && !on && g_VirBackBuffer.lpDT && g_VirBackBuffer.lpDT->lpSurface)
        DDFlushVirtualBackBuffer(&g_BackBuffer, &g_VirBackBuffer);
    lpDTCon->bVirBackBuffer = on;
    lpDTCon->lpDefaultTarget = on ? &g_BackBuffer : &g_VirBackBuffer;
    if (lpDTCon->lpDefaultTarget->lpDT && lpDTCon->lpDefaultTarget->lpDT->lpSurface)
        DDSetRenderTarget(0, lpDTCon->lpDefaultTarget);
}

int DDRedirectBackBuffer(DDSURFACEDATA** sd) {
    if (!lpDTCon || !sd || *sd != &g_BackBuffer || !lpDTCon->bVirBackBuffer) return 0;
    *sd = &g_VirBackBuffer;
    return 1;
}

void DDFlushVirtualBackBuffer(DDSURFACEDATA* dst, DDSURFACEDATA* src) {
    if (!lpDTCon) return;
    lpDTCon->bCopying = 1;
    DDSetAlphaOp(1);
    DDBlt(dst, 0, 0, src->nWidth, src->nHeight, src, 0, 0, 0);
    DDResetAlphaOp();
    lpDTCon->bCopying = 0;
}
