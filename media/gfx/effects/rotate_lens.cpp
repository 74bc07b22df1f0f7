#include "media/gfx/effects/rotate_lens.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

#include "media/gfx/dd_surface.h"
#include "media/gfx/effects/pixel_pass.h"

using namespace gfx;
using namespace gfx::fx;

namespace {

int Fixed1024(double v) { return int(std::trunc(1024.0 * v)); }

// The turned rectangle as one quad with the blit colour and operations.
void RotateQuad(DDSURFACEDATA* dst, int cx, int cy, int w, int h, int px, int py, double theta, DDSURFACEDATA* src,
                int sx, int sy, int sw, int sh) {
    if (!src->lpDT || !src->lpDT->lpVB) return;
    const double sn = std::sin(theta), cs = std::cos(theta);
    const double ox = cx - 0.5 + px - (w >> 1), oy = cy - 0.5 + py - (h >> 1);
    const double tw = src->nTexWidth, th = src->nTexHeight;
    const double u0 = sx / tw, u1 = (sx + sw) / tw, v0 = sy / th, v1 = (sy + sh) / th;
    const double corner[4][4] = {{double(-px), double(-py), u0, v0},
                                 {double(w - px), double(-py), u1, v0},
                                 {double(-px), double(h - py), u0, v1},
                                 {double(w - px), double(h - py), u1, v1}};
    D3DVertex* v = src->lpDT->lpVB->v;
    for (int k = 0; k < 4; ++k) {
        const double x = corner[k][0], y = corner[k][1];
        v[k] = {float(x * cs - y * sn + ox), float(x * sn + y * cs + oy), 0, 1, lpDTCon->dwBlitColor,
                float(corner[k][2]), float(corner[k][3])};
    }
    StageState st = CurrentStage();
    st.colorOp = lpDTCon->nColorOp;
    st.colorArg1 = TA_TEXTURE;
    st.colorArg2 = TA_DIFFUSE;
    st.alphaOp = lpDTCon->nAlphaOp;
    st.alphaArg1 = TA_TEXTURE;
    st.alphaArg2 = TA_DIFFUSE;
    DrawEffectQuad(dst, src, st);
}

bool RotateSoft(DDSURFACEDATA* dst, int cx, int cy, int w, int h, int px, int py, double theta, DDSURFACEDATA* src,
                int sx, int sy, int flag) {
    cPixelPass pass;
    if (!pass.Lock(dst, src, 0, 0, 0, 0, 0, 0)) return false;
    const int bytes = BytesOf(CurrentDepth());
    if (bytes == 0) return true;
    const int64_t s = Fixed1024(std::sin(theta)), c = Fixed1024(std::cos(theta));
    const int64_t si = Fixed1024(std::sin(-theta)), ci = Fixed1024(std::cos(-theta));
    int64_t minX = INT64_MAX, maxX = INT64_MIN, minY = INT64_MAX, maxY = INT64_MIN;
    const int64_t cornerX[4] = {-int64_t(px), int64_t(w) - px - 1, -int64_t(px), int64_t(w) - px - 1};
    const int64_t cornerY[4] = {-int64_t(py), -int64_t(py), int64_t(h) - py - 1, int64_t(h) - py - 1};
    for (int k = 0; k < 4; ++k) {
        const int64_t tx = ((c * cornerX[k] - s * cornerY[k]) >> 10) + px;
        const int64_t ty = ((s * cornerX[k] + c * cornerY[k]) >> 10) + py;
        minX = std::min(minX, tx), maxX = std::max(maxX, tx), minY = std::min(minY, ty), maxY = std::max(maxY, ty);
    }
    // The box widened by two, kept to the destination image.
    const int64_t offX = int64_t(cx) - px, offY = int64_t(cy) - py;
    const int64_t u0 = std::max(minX - 2, -offX), u1 = std::min(maxX + 1, pass.DstW() - 1 - offX);
    const int64_t v0 = std::max(minY - 2, -offY), v1 = std::min(maxY + 1, pass.DstH() - 1 - offY);
    cImage& di = pass.Dst();
    const cImage& sImg = pass.Src();
    for (int64_t V = v0; V <= v1; ++V)
        for (int64_t U = u0; U <= u1; ++U) {
            const int64_t u = U - px, v = V - py;
            const int64_t xs = px + ((ci * u - si * v) >> 10), ys = py + ((si * u + ci * v) >> 10);
            if (xs < 0 || xs >= w || ys < 0 || ys >= h) continue;
            const int64_t tx = sx + xs, ty = sy + ys;
            if (tx < 0 || ty < 0 || tx >= pass.SrcW() || ty >= pass.SrcH()) continue;
            const uint32_t p = LoadAt(sImg, bytes, tx, ty);
            if (flag == 1 && p == g_DD.dwColorKey) continue;
            StoreAt(di, bytes, offX + U, offY + V, p);
        }
    return true;
}

}  // namespace

bool DDBltRotate(DDSURFACEDATA* dst, int cx, int cy, int w, int h, int px, int py, int angle, DDSURFACEDATA* src,
                 int sx, int sy, int flag) {
    const double theta = double(angle) * kRotateDegToRad;
    if (lpDTCon) {
        if (!dst || !src) return true;
        int sw = w, sh = h;
        DDAdjustMirror(src, sx, sy, sw, sh);
        ResolveSurfaces(dst, src);
        if (UseQuad(dst, src)) {
            RotateQuad(dst, cx, cy, w, h, px, py, theta, src, sx, sy, sw, sh);
            return true;
        }
    }
    return RotateSoft(dst, cx, cy, w, h, px, py, theta, src, sx, sy, flag);
}

bool DDBltLens(DDSURFACEDATA* dst, int cx, int cy, int radius, int depth, DDSURFACEDATA* src, int scx, int scy,
               int flag, int clear, const DDBLTPARAM* param) {
    if (depth < 0 || radius < 0) return false;
    const double dd = depth, rr = radius;
    const double K = std::trunc(std::sqrt(dd * dd + rr * rr));
    if (dd >= K) return false;
    ResolveSurfaces(dst, src);
    cPixelPass pass;
    if (!pass.Lock(dst, src, 0, 0, 0, 0, 0, 0)) return false;
    const Depth d = CurrentDepth();
    const int bytes = BytesOf(d);
    if (bytes == 0) return true;
    const cColourAdd add = cColourAdd::From(param);
    const cWriter16 w16(dst);
    const bool clearing = d == Depth::D3D32 && clear != 0;
    cImage& di = pass.Dst();
    const cImage& sImg = pass.Src();
    const int64_t r = radius, r2 = r * r;
    const int64_t dy0 = std::max(-r, -int64_t(cy)), dy1 = std::min(r, int64_t(pass.DstH()) - 1 - cy);
    const int64_t dx0 = std::max(-r, -int64_t(cx)), dx1 = std::min(r, int64_t(pass.DstW()) - 1 - cx);
    if (dx0 > dx1 || dy0 > dy1) return true;
    // z and |d| x depth / z depend only on |dx| and |dy| (the division is
    // sign-symmetric): one quarter, over the magnitudes the walk meets, is
    // computed and mirrored; only the rounding trunc(+-q + 0.5) takes the sign.
    auto magnitudes = [](int64_t lo, int64_t hi, int64_t& a0, int64_t& a1) {
        a0 = lo <= 0 && hi >= 0 ? 0 : std::min(std::abs(lo), std::abs(hi));
        a1 = std::max(std::abs(lo), std::abs(hi));
    };
    int64_t ax0, ax1, ay0, ay1;
    magnitudes(dx0, dx1, ax0, ax1);
    magnitudes(dy0, dy1, ay0, ay1);
    const size_t qw = size_t(ax1 - ax0 + 1);
    struct Cell {
        double qx, qy;  // |dx| x depth / z and |dy| x depth / z
        bool inside, flat;  // inside the disc; z = 0 (the plain offset)
    };
    std::vector<Cell> quarter(qw * size_t(ay1 - ay0 + 1));
    for (int64_t ay = ay0; ay <= ay1; ++ay)
        for (int64_t ax = ax0; ax <= ax1; ++ax) {
            Cell& c = quarter[size_t(ay - ay0) * qw + size_t(ax - ax0)];
            c = Cell{0, 0, ax * ax + ay * ay <= r2, false};
            if (!c.inside) continue;
            const double z = std::sqrt(K * K - double(ax) * double(ax) - double(ay) * double(ay));
            c.flat = z == 0;
            if (!c.flat) c.qx = double(ax) * dd / z, c.qy = double(ay) * dd / z;
        }
    auto offset = [](int64_t a, double q, bool flat) {
        return flat ? a : int64_t(std::trunc((a < 0 ? -q : q) + 0.5));
    };
    for (int64_t dy = dy0; dy <= dy1; ++dy) {
        const Cell* row = &quarter[size_t(std::abs(dy) - ay0) * qw];
        for (int64_t dx = dx0; dx <= dx1; ++dx) {
            const int64_t tx = cx + dx, ty = cy + dy;
            const Cell& c = row[size_t(std::abs(dx) - ax0)];
            bool got = false;
            uint32_t p = 0;
            if (c.inside) {
                const int64_t sxp = scx + offset(dx, c.qx, c.flat), syp = scy + offset(dy, c.qy, c.flat);
                if (sxp >= 0 && syp >= 0 && sxp < pass.SrcW() && syp < pass.SrcH()) {
                    p = LoadAt(sImg, bytes, sxp, syp);
                    got = true;
                }
            }
            switch (d) {
            case Depth::D3D16:
                if (!got || (flag == 1 && Transparent16(p))) break;
                StoreAt(di, 2, tx, ty, CopiedD3D16(p, add, w16));
                break;
            case Depth::D3D32:
                if (!got || Transparent32(p)) {
                    if (clearing) StoreAt(di, 4, tx, ty, 0);
                    break;
                }
                if (add.on) {
                    const Rgb c = Channels(p, PixelLayout{16, 8, 0, 24, 255, 255, 255, 255});
                    p = (LoadAt(di, 4, tx, ty) & 0xFF000000u) | std::min(c.r + add.r, 255u) << 16 |
                        std::min(c.g + add.g, 255u) << 8 | std::min(c.b + add.b, 255u);
                }
                StoreAt(di, 4, tx, ty, p);
                break;
            default:
                if (got && p != g_DD.dwColorKey) StoreAt(di, bytes, tx, ty, p);
                break;
            }
        }
    }
    return true;
}
