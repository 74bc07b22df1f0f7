#include "media/gfx/effects/rotate_lens.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The software rotation's walk over the destination box, row by row in
// order (the source may be the destination itself): each point turned back
// by the inverse pair, both products stepped along the row.
template <int B>
void RotateRows(cPixelPass& pass, int64_t u0, int64_t u1, int64_t v0, int64_t v1, int px, int py, int w, int h,
                int sx, int sy, int64_t offX, int64_t offY, int64_t si, int64_t ci, int flag) {
    cImage& di = pass.Dst();
    const cImage& sImg = pass.Src();
    const int64_t sw = pass.SrcW(), sh = pass.SrcH();
    for (int64_t V = v0; V <= v1; ++V) {
        const int64_t v = V - py;
        int64_t a = ci * (u0 - px) - si * v, b = si * (u0 - px) + ci * v;
        uint8_t* drow = di.Row(int(offY + V));
        for (int64_t U = u0; U <= u1; ++U, a += ci, b += si) {
            const int64_t xs = px + (a >> 10), ys = py + (b >> 10);
            if (xs < 0 || xs >= w || ys < 0 || ys >= h) continue;
            const int64_t tx = sx + xs, ty = sy + ys;
            if (tx < 0 || ty < 0 || tx >= sw || ty >= sh) continue;
            const uint8_t* sp = sImg.Row(int(ty)) + size_t(tx) * B;
            const uint32_t p = B == 1 ? *sp : B == 2 ? Load16(sp) : Load32(sp);
            if (flag == 1 && p == g_DD.dwColorKey) continue;
            uint8_t* dp = drow + size_t(offX + U) * B;
            if constexpr (B == 1) *dp = uint8_t(p);
            else if constexpr (B == 2) Store16(dp, p);
            else Store32(dp, p);
        }
    }
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
    switch (bytes) {
    case 1: RotateRows<1>(pass, u0, u1, v0, v1, px, py, w, h, sx, sy, offX, offY, si, ci, flag); break;
    case 2: RotateRows<2>(pass, u0, u1, v0, v1, px, py, w, h, sx, sy, offX, offY, si, ci, flag); break;
    default: RotateRows<4>(pass, u0, u1, v0, v1, px, py, w, h, sx, sy, offX, offY, si, ci, flag); break;
    }
    return true;
}

// One point of the lens's quarter: whether it lies in the disc and the
// rounded offsets for a positive and a negative distance on each axis.
struct LensCell {
    int64_t xp, xn, yp, yn;
    bool inside;
};

// How a lens point is written in each branch.
struct cLensOut {
    Depth d;
    int flag;
    bool clearing;  // Direct3D 32: points without a picture are zeroed
    cColourAdd add;
    cWriter16 w16;
};

template <Depth D>
void LensRowT(const cLensOut& o, cPixelPass& pass, const LensCell* cell, int64_t ax0, int cx, int cy, int64_t dx0, int64_t dx1,
              int64_t dy, int scx, int scy) {
    constexpr int bytes = D == Depth::DD8 ? 1 : D == Depth::D3D16 || D == Depth::DD16 ? 2 : 4;
    cImage& di = pass.Dst();
    const cImage& sImg = pass.Src();
    const uint64_t sw = uint64_t(pass.SrcW()), sh = uint64_t(pass.SrcH());
    const uint8_t* sBits = sImg.Row(0);
    const size_t sPitch = size_t(sImg.Pitch());
    uint8_t* drow = di.Row(int(cy + dy));
    const bool up = dy < 0;
    // One point: its cell and its horizontal offset.
    auto point = [&](int64_t dx, const LensCell& c, int64_t ox) __attribute__((always_inline)) {
        uint8_t* dp = drow + size_t(cx + dx) * bytes;
        bool got = false;
        uint32_t p = 0;
        if (c.inside) {
            const int64_t sxp = scx + ox, syp = scy + (up ? c.yn : c.yp);
            if (uint64_t(sxp) < sw && uint64_t(syp) < sh) {
                const uint8_t* sp = sBits + size_t(syp) * sPitch + size_t(sxp) * bytes;
                p = bytes == 1 ? *sp : bytes == 2 ? Load16(sp) : Load32(sp);
                got = true;
            }
        }
        if constexpr (D == Depth::D3D16) {
            if (!got || (o.flag == 1 && Transparent16(p))) return;
            Store16(dp, CopiedD3D16(p, o.add, o.w16));
        } else if constexpr (D == Depth::D3D32) {
            if (!got || Transparent32(p)) {
                if (o.clearing) Store32(dp, 0);
                return;
            }
            if (o.add.on)
                p = (Load32(dp) & 0xFF000000u) | std::min((p >> 16 & 255) + o.add.r, 255u) << 16 |
                    std::min((p >> 8 & 255) + o.add.g, 255u) << 8 | std::min((p & 255) + o.add.b, 255u);
            Store32(dp, p);
        } else {
            if (!got || p == g_DD.dwColorKey) return;
            if constexpr (bytes == 1) *dp = uint8_t(p);
            else if constexpr (bytes == 2) Store16(dp, p);
            else Store32(dp, p);
        }
    };
    // Left of the centre the negative offsets, from the centre on the
    // positive ones, in order along the row.
    int64_t dx = dx0;
    for (; dx <= dx1 && dx < 0; ++dx) {
        const LensCell& c = cell[size_t(-dx - ax0)];
        point(dx, c, c.xn);
    }
    for (; dx <= dx1; ++dx) {
        const LensCell& c = cell[size_t(dx - ax0)];
        point(dx, c, c.xp);
    }
}

void LensRow(const cLensOut& o, cPixelPass& pass, const LensCell* cell, int64_t ax0, int cx, int cy, int64_t dx0, int64_t dx1,
             int64_t dy, int scx, int scy) {
    switch (o.d) {
    case Depth::D3D16: LensRowT<Depth::D3D16>(o, pass, cell, ax0, cx, cy, dx0, dx1, dy, scx, scy); break;
    case Depth::D3D32: LensRowT<Depth::D3D32>(o, pass, cell, ax0, cx, cy, dx0, dx1, dy, scx, scy); break;
    case Depth::DD8: LensRowT<Depth::DD8>(o, pass, cell, ax0, cx, cy, dx0, dx1, dy, scx, scy); break;
    case Depth::DD16: LensRowT<Depth::DD16>(o, pass, cell, ax0, cx, cy, dx0, dx1, dy, scx, scy); break;
    case Depth::DD32: LensRowT<Depth::DD32>(o, pass, cell, ax0, cx, cy, dx0, dx1, dy, scx, scy); break;
    default: break;
    }
}

// The offsets of one point of the quarter, in the order the lens is
// defined: z = sqrt(K^2 - dx^2 - dy^2), offset = trunc(+-dx depth / z + 0.5).
void LensCellAt(LensCell& c, int64_t ax, double fy, double K, double dd) {
    const double z = std::sqrt(K * K - double(ax) * double(ax) - fy * fy);
    const int64_t ay = int64_t(fy);
    if (z == 0) {
        // The plain offset.
        c.xp = ax, c.xn = -ax, c.yp = ay, c.yn = -ay;
        return;
    }
    const double qx = double(ax) * dd / z, qy = fy * dd / z;
    c.xp = int64_t(std::trunc(qx + 0.5)), c.xn = int64_t(std::trunc(-qx + 0.5));
    c.yp = int64_t(std::trunc(qy + 0.5)), c.yn = int64_t(std::trunc(-qy + 0.5));
}

// The cells of row ay for ax0 .. ax0 + n - 1.
void LensCells(LensCell* cells, int64_t ax0, size_t n, int64_t ay, int64_t r2, double K, double dd) {
    const double fy = double(ay);
    size_t k = 0;
#if defined(__SSE2__)
    // Two points at a time: the same IEEE operations lane by lane. A pair
    // with z = 0 or an offset outside 32 bits (the conversion's marker)
    // goes the scalar way.
    const __m128d kk = _mm_set1_pd(K * K), yy = _mm_set1_pd(fy * fy), d = _mm_set1_pd(dd), half = _mm_set1_pd(0.5);
    const __m128d qy0 = _mm_set1_pd(fy * dd), zero = _mm_setzero_pd(), sign = _mm_set1_pd(-0.0);
    for (; k + 2 <= n; k += 2) {
        const int64_t a0 = ax0 + int64_t(k), a1 = a0 + 1;
        LensCell& c0 = cells[k];
        LensCell& c1 = cells[k + 1];
        c0.inside = a0 * a0 + ay * ay <= r2;
        c1.inside = a1 * a1 + ay * ay <= r2;
        if (!c0.inside && !c1.inside) continue;
        const __m128d a = _mm_set_pd(double(a1), double(a0));
        const __m128d z = _mm_sqrt_pd(_mm_sub_pd(_mm_sub_pd(kk, _mm_mul_pd(a, a)), yy));
        if (_mm_movemask_pd(_mm_cmpeq_pd(z, zero)) != 0) {
            if (c0.inside) LensCellAt(c0, a0, fy, K, dd);
            if (c1.inside) LensCellAt(c1, a1, fy, K, dd);
            continue;
        }
        const __m128d qx = _mm_div_pd(_mm_mul_pd(a, d), z), qy = _mm_div_pd(qy0, z);
        const __m128i xp = _mm_cvttpd_epi32(_mm_add_pd(qx, half));
        const __m128i xn = _mm_cvttpd_epi32(_mm_add_pd(_mm_xor_pd(qx, sign), half));
        const __m128i yp = _mm_cvttpd_epi32(_mm_add_pd(qy, half));
        const __m128i yn = _mm_cvttpd_epi32(_mm_add_pd(_mm_xor_pd(qy, sign), half));
        const __m128i marker = _mm_set1_epi32(INT32_MIN);
        const __m128i bad = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi32(xp, marker), _mm_cmpeq_epi32(xn, marker)),
                                         _mm_or_si128(_mm_cmpeq_epi32(yp, marker), _mm_cmpeq_epi32(yn, marker)));
        if ((_mm_movemask_epi8(bad) & 0xFF) != 0) {
            if (c0.inside) LensCellAt(c0, a0, fy, K, dd);
            if (c1.inside) LensCellAt(c1, a1, fy, K, dd);
            continue;
        }
        int32_t v[4][4];
        _mm_storeu_si128(reinterpret_cast<__m128i*>(v[0]), xp);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(v[1]), xn);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(v[2]), yp);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(v[3]), yn);
        c0.xp = v[0][0], c0.xn = v[1][0], c0.yp = v[2][0], c0.yn = v[3][0];
        c1.xp = v[0][1], c1.xn = v[1][1], c1.yp = v[2][1], c1.yn = v[3][1];
    }
#endif
    for (; k < n; ++k) {
        LensCell& c = cells[k];
        const int64_t ax = ax0 + int64_t(k);
        c.inside = ax * ax + ay * ay <= r2;
        if (c.inside) LensCellAt(c, ax, fy, K, dd);
    }
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
    // Depth 0 or radius 0 draws nothing (a lens animated through 0 would
    // otherwise paint its whole disc with the centre's colour).
    if (depth <= 0 || radius <= 0) return false;
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
    const int64_t r = radius, r2 = r * r;
    const int64_t dy0 = std::max(-r, -int64_t(cy)), dy1 = std::min(r, int64_t(pass.DstH()) - 1 - cy);
    const int64_t dx0 = std::max(-r, -int64_t(cx)), dx1 = std::min(r, int64_t(pass.DstW()) - 1 - cx);
    if (dx0 > dx1 || dy0 > dy1) return true;
    // z and |d| x depth / z depend only on |dx| and |dy| (the division is
    // sign-symmetric): they are computed once per magnitude pair, for the row
    // above the centre and the row below it; only the rounding
    // trunc(+-q + 0.5) takes the sign.
    auto magnitudes = [](int64_t lo, int64_t hi, int64_t& a0, int64_t& a1) {
        a0 = lo <= 0 && hi >= 0 ? 0 : std::min(std::abs(lo), std::abs(hi));
        a1 = std::max(std::abs(lo), std::abs(hi));
    };
    int64_t ax0, ax1, ay0, ay1;
    magnitudes(dx0, dx1, ax0, ax1);
    magnitudes(dy0, dy1, ay0, ay1);
    const size_t qw = size_t(ax1 - ax0 + 1);
    thread_local std::vector<LensCell> cells;
    cells.resize(qw);
    const cLensOut out{d, flag, clearing, add, w16};
    for (int64_t ay = ay0; ay <= ay1; ++ay) {
        LensCells(cells.data(), ax0, qw, ay, r2, K, dd);
        for (int side = 0; side < 2; ++side) {
            const int64_t dy = side == 0 ? -ay : ay;
            if (side == 1 && ay == 0) break;
            if (dy < dy0 || dy > dy1) continue;
            LensRow(out, pass, cells.data(), ax0, cx, cy, dx0, dx1, dy, scx, scy);
        }
    }
    return true;
}
