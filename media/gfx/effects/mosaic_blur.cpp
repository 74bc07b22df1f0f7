#include "media/gfx/effects/mosaic_blur.h"

#include <algorithm>
#include <cstring>
#include <cstdint>
#include <vector>

#include "media/gfx/dd_surface.h"
#include "media/gfx/effects/pixel_pass.h"

using namespace gfx;
using namespace gfx::fx;

namespace {

bool IsTransparent(Depth d, uint32_t px) {
    switch (d) {
    case Depth::D3D16: return Transparent16(px);
    case Depth::D3D32: return Transparent32(px);
    default: return TransparentKey(px);
    }
}

// Channels of a pixel: g_SurfLayout in 16 bits, bytes 2, 1, 0 in 32.
Rgb ChannelsOf(Depth d, uint32_t px) {
    if (BytesOf(d) == 4) return Rgb{px >> 16 & 255, px >> 8 & 255, px & 255};
    return Channels(px, g_SurfLayout);
}

uint32_t AddClamped(uint32_t c, uint32_t a, uint32_t max) { return std::min(c + a, max); }

// The block colour of the Direct3D mosaic from its top-left pixel.
uint32_t MosaicD3DColour(Depth d, uint32_t p, const cColourAdd& add, const cWriter16& w16) {
    if (d == Depth::D3D32) {
        if (add.on) {
            const Rgb c = ChannelsOf(d, p);
            p = (p & 0xFF000000u) | AddClamped(c.r, add.r, 255) << 16 | AddClamped(c.g, add.g, 255) << 8 |
                AddClamped(c.b, add.b, 255);
        }
        return p | 0xFF000000u;
    }
    return CopiedD3D16(p, add, w16);
}

}  // namespace

bool DDBltMosaic(DDSURFACEDATA* dst, int x, int y, int w, int h, int block, DDSURFACEDATA* src, int sx, int sy,
                 int flag, const DDBLTPARAM* param) {
    // A negative block would never step forward: nothing to draw.
    if (block <= 0) return true;
    ResolveSurfaces(dst, src);
    cPixelPass pass;
    if (!pass.Lock(dst, src, x, y, w, h, sx, sy)) return false;
    const Depth d = CurrentDepth();
    const int bytes = BytesOf(d);
    if (bytes == 0) return true;
    cImage& di = pass.Dst();
    const cImage& si = pass.Src();
    const cColourAdd add = cColourAdd::From(param);
    const cWriter16 w16(dst);
    const PixelLayout& l = g_SurfLayout;
    auto inSrc = [&](int64_t px, int64_t py) { return px >= 0 && py >= 0 && px < pass.SrcW() && py < pass.SrcH(); };
    for (int64_t by = 0; by < h; by += block) {
        const int64_t bh = std::min<int64_t>(block, h - by);
        for (int64_t bx = 0; bx < w; bx += block) {
            const int64_t bw = std::min<int64_t>(block, w - bx);
            uint32_t colour = 0;
            bool keepByte3 = false;
            if (d == Depth::D3D16 || d == Depth::D3D32 || d == Depth::DD8) {
                if (!inSrc(sx + bx, sy + by)) continue;
                const uint32_t p = LoadAt(si, bytes, int(sx + bx), int(sy + by));
                if (flag == 1 && IsTransparent(d, p)) continue;
                colour = d == Depth::DD8 ? p : MosaicD3DColour(d, p, add, w16);
            } else {
                // The block's average over the samples inside the source image.
                uint32_t sr = 0, sg = 0, sb = 0, n = 0;
                const int64_t y0 = std::max<int64_t>(sy + by, 0), y1 = std::min<int64_t>(sy + by + bh, pass.SrcH());
                const int64_t x0 = std::max<int64_t>(sx + bx, 0), x1 = std::min<int64_t>(sx + bx + bw, pass.SrcW());
                for (int64_t py = y0; py < y1; ++py) {
                    const uint8_t* sp = si.Row(int(py)) + size_t(x0) * size_t(bytes);
                    if (d == Depth::DD32) {
                        for (int64_t px = x0; px < x1; ++px, sp += 4) {
                            const uint32_t p = Load32(sp);
                            if (flag == 1 && TransparentKey(p)) continue;
                            sr += p >> 16 & 255, sg += p >> 8 & 255, sb += p & 255;
                            ++n;
                        }
                    } else {
                        for (int64_t px = x0; px < x1; ++px, sp += 2) {
                            const uint32_t p = Load16(sp);
                            if (flag == 1 && TransparentKey(p)) continue;
                            const Rgb c = Channels(p, l);
                            sr += ScaleUp(c.r, l.rm), sg += ScaleUp(c.g, l.gm), sb += ScaleUp(c.b, l.bm);
                            ++n;
                        }
                    }
                }
                if (n == 0) continue;
                sr /= n, sg /= n, sb /= n;
                if (d == Depth::DD16)
                    colour = ScaleDown(sr, l.rm) << l.rs | ScaleDown(sg, l.gm) << l.gs | ScaleDown(sb, l.bm) << l.bs;
                else colour = sr << 16 | sg << 8 | sb, keepByte3 = true;
                if (flag == 1 && colour == g_DD.dwColorKey) continue;
            }
            const int64_t ty0 = std::max<int64_t>(y + by, 0), ty1 = std::min<int64_t>(y + by + bh, pass.DstH());
            const int64_t tx0 = std::max<int64_t>(x + bx, 0), tx1 = std::min<int64_t>(x + bx + bw, pass.DstW());
            for (int64_t ty = ty0; ty < ty1; ++ty) {
                uint8_t* dp = di.Row(int(ty)) + size_t(tx0) * size_t(bytes);
                if (keepByte3)
                    for (int64_t tx = tx0; tx < tx1; ++tx, dp += 4) Store32(dp, colour | (Load32(dp) & 0xFF000000u));
                else if (bytes == 4)
                    for (int64_t tx = tx0; tx < tx1; ++tx, dp += 4) Store32(dp, colour);
                else if (bytes == 2)
                    for (int64_t tx = tx0; tx < tx1; ++tx, dp += 2) Store16(dp, colour);
                else std::memset(dp, int(colour & 255), size_t(tx1 - tx0));
            }
        }
    }
    return true;
}

namespace {

// The channels of a sum and the count, four 32-bit lanes (plain integer
// vector operations: the same as lane by lane).
using Sum4 = uint32_t __attribute__((vector_size(16)));

template <Depth D>
inline bool IsTransparentT(uint32_t px) {
    if constexpr (D == Depth::D3D16) return Transparent16(px);
    else if constexpr (D == Depth::D3D32) return Transparent32(px);
    else return TransparentKey(px);
}

template <Depth D>
inline uint32_t LoadT(const uint8_t* p) {
    if constexpr (D == Depth::D3D32 || D == Depth::DD32) return Load32(p);
    else return Load16(p);
}
template <Depth D>
inline void StoreT(uint8_t* p, uint32_t v) {
    if constexpr (D == Depth::D3D32 || D == Depth::DD32) Store32(p, v);
    else Store16(p, v);
}

// One sample as sum lanes with a count of 1. 32-bit pixels keep their
// byte order (blue, green, red, then the count in place of byte 3); 16-bit
// ones give red, green, blue by the surface layout.
template <Depth D>
inline Sum4 SampleOf(uint32_t p, const PixelLayout& l) {
    if constexpr (D == Depth::D3D32 || D == Depth::DD32) {
        using Bytes4 = uint8_t __attribute__((vector_size(4)));
        Bytes4 b;
        std::memcpy(&b, &p, 4);
        return (__builtin_convertvector(b, Sum4) & Sum4{~0u, ~0u, ~0u, 0}) | Sum4{0, 0, 0, 1};
    } else {
        return Sum4{p >> l.rs & uint32_t(l.rm), p >> l.gs & uint32_t(l.gm), p >> l.bs & uint32_t(l.bm), 1};
    }
}

// The blur by running sums: each column's samples summed down the box's
// rows (a row added as it enters the box and taken off as it leaves), then
// those column sums slid along the row over the box's columns. Sums over a
// box clipped to the samples inside the rectangle and the source image come
// out as the same integers at any radius (32-bit wrap-around cancels in the
// differences); the count holds how many samples a box took, transparent
// ones left out under flag 1.
template <Depth D>
void BlurRows(cPixelPass& pass, DDSURFACEDATA* dst, const DDBLTPARAM* param, int x, int y, int w, int h, int radiusX,
              int ry, int sx, int sy, int flag) {
    constexpr bool wide = D == Depth::D3D32 || D == Depth::DD32;
    constexpr int bytes = wide ? 4 : 2;
    constexpr int R = wide ? 2 : 0, G = 1, B = wide ? 0 : 2;  // lanes of the channels
    cImage& di = pass.Dst();
    const cImage& si = pass.Src();
    // Samples: rectangle columns [c0, c1) and rows [r0, r1) whose source
    // pixels lie inside the source image.
    const int64_t c0 = std::max<int64_t>(0, -int64_t(sx)), c1 = std::min<int64_t>(w, int64_t(pass.SrcW()) - sx);
    const int64_t r0 = std::max<int64_t>(0, -int64_t(sy)), r1 = std::min<int64_t>(h, int64_t(pass.SrcH()) - sy);
    // Pixels written: rectangle columns [i0, i1) and rows [j0, j1) inside
    // the destination image.
    const int64_t i0 = std::max<int64_t>(0, -int64_t(x)), i1 = std::min<int64_t>(w, int64_t(pass.DstW()) - x);
    const int64_t j0 = std::max<int64_t>(0, -int64_t(y)), j1 = std::min<int64_t>(h, int64_t(pass.DstH()) - y);
    if (i0 >= i1 || j0 >= j1 || c0 >= c1 || r0 >= r1) return;
    // A box wider than the rectangle takes every sample column from every
    // pixel, as one of the rectangle's width does.
    const int64_t rx = std::min<int64_t>(radiusX, w);
    // Column sums by rectangle column, padded with rx empty columns on both
    // sides so that the sliding box never leaves the array.
    thread_local std::vector<Sum4> columns;
    columns.assign(size_t(w + 2 * rx), Sum4{0, 0, 0, 0});
    Sum4* col = columns.data() + rx;
    const PixelLayout l = g_SurfLayout;
    const bool keyed = flag == 1;
    // Each sample row's samples, kept while the row is inside the box: at
    // most min(2 ry, sample rows) rows at once, so a row taking a slot never
    // finds one still inside there.
    const int64_t n = c1 - c0;
    const size_t ringRows = size_t(std::min<int64_t>(2 * int64_t(ry), r1 - r0)) + 1;
    thread_local std::vector<Sum4> ring;
    ring.resize(ringRows * size_t(n));
    auto slot = [&](int64_t row) { return ring.data() + size_t(row - r0) % ringRows * size_t(n); };
    // Decodes sample row `row` into its slot and adds it to the column sums.
    auto enterRow = [&](int64_t row) {
        const uint8_t* sp = si.Row(int(sy + row)) + size_t(sx + c0) * bytes;
        Sum4* out = slot(row);
        Sum4* cp = col + c0;
        int64_t c = 0;
        if constexpr (wide) {
            // Four pixels at a time: bytes spread into the lanes, byte 3
            // replaced by the count (0 for a transparent sample).
            using Bytes16 = uint8_t __attribute__((vector_size(16)));
            const Bytes16 zero = {};
            const uint32_t key = g_DD.dwColorKey;
            for (; c + 4 <= n; c += 4, sp += 16) {
                Bytes16 v;
                std::memcpy(&v, sp, 16);
                Sum4 px;
                std::memcpy(&px, sp, 16);
                Sum4 keep = Sum4{~0u, ~0u, ~0u, ~0u};
                if (keyed) {
                    if constexpr (D == Depth::D3D32) keep = (Sum4)((px >> 24) != 0u);
                    else keep = (Sum4)(px != key);
                }
                // Two interleaves with zeros widen bytes to 32-bit lanes.
                using Words8 = uint16_t __attribute__((vector_size(16)));
                const Words8 z16 = {};
                const Words8 w0 = (Words8)__builtin_shuffle(
                    v, zero, (Bytes16){0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5, 21, 6, 22, 7, 23});
                const Words8 w1 = (Words8)__builtin_shuffle(
                    v, zero, (Bytes16){8, 24, 9, 25, 10, 26, 11, 27, 12, 28, 13, 29, 14, 30, 15, 31});
                const Sum4 lanes[4] = {(Sum4)__builtin_shuffle(w0, z16, (Words8){0, 8, 1, 9, 2, 10, 3, 11}),
                                       (Sum4)__builtin_shuffle(w0, z16, (Words8){4, 12, 5, 13, 6, 14, 7, 15}),
                                       (Sum4)__builtin_shuffle(w1, z16, (Words8){0, 8, 1, 9, 2, 10, 3, 11}),
                                       (Sum4)__builtin_shuffle(w1, z16, (Words8){4, 12, 5, 13, 6, 14, 7, 15})};
                for (int k = 0; k < 4; ++k) {
                    const Sum4 m = __builtin_shuffle(keep, (Sum4){uint32_t(k), uint32_t(k), uint32_t(k), uint32_t(k)});
                    const Sum4 sample = ((lanes[k] & Sum4{~0u, ~0u, ~0u, 0}) | Sum4{0, 0, 0, 1}) & m;
                    out[c + k] = sample;
                    cp[c + k] += sample;
                }
            }
        }
        for (; c < n; ++c, sp += bytes) {
            const uint32_t p = LoadT<D>(sp);
            Sum4 v = SampleOf<D>(p, l);
            if (keyed && IsTransparentT<D>(p)) v = Sum4{0, 0, 0, 0};
            out[c] = v;
            cp[c] += v;
        }
    };
    auto leaveRow = [&](int64_t row) {
        const Sum4* in = slot(row);
        Sum4* cp = col + c0;
        int64_t c = 0;
        for (; c + 2 <= n; c += 2) cp[c] -= in[c], cp[c + 1] -= in[c + 1];
        for (; c < n; ++c) cp[c] -= in[c];
    };
    const cColourAdd add = cColourAdd::From(param);
    const cWriter16 w16(dst);
    // The window of sample rows for rectangle row j: [lo, hi), both
    // clamped into the sample rows, so both only grow with j.
    int64_t lo = r0, hi = r0;
    uint32_t lastN = 0;
    uint64_t recip = 0;
    bool byRecip = false;
    // Centres whose source pixel lies inside the source image's columns.
    const int64_t ci0 = std::max<int64_t>(i0, -int64_t(sx)), ci1 = std::min<int64_t>(i1, int64_t(pass.SrcW()) - sx);
    // One rectangle row; KEYED: transparent centres (and centres that
    // cannot be tested, outside the source image) are left as they are.
    auto writeRow = [&]<bool KEYED>(int64_t j) {
        // The box of the first pixel, then slid one column at a time.
        Sum4 s = {0, 0, 0, 0};
        for (int64_t c = i0 - rx; c < i0 + rx; ++c) s += col[c];
        const int64_t cy = sy + j;
        const bool centreRowIn = cy >= 0 && cy < pass.SrcH();
        const uint8_t* centre = centreRowIn ? si.Row(int(cy)) + size_t(sx) * bytes : nullptr;
        uint8_t* dp = di.Row(int(y + j)) + size_t(x + i0) * bytes;
        for (int64_t i = i0; i < i1; ++i, dp += bytes) {
            const Sum4 box = s;
            s += col[i + rx] - col[i - rx];
            if constexpr (KEYED) {
                if (!centreRowIn || i < ci0 || i >= ci1) continue;
                if (IsTransparentT<D>(LoadT<D>(centre + size_t(i) * bytes))) continue;
            }
            const uint32_t count = box[3];
            if (count != lastN) {
                if (count == 0) continue;
                lastN = count;
                recip = 0xFFFFFFFFull / count + 1;
                byRecip = count <= 4104;
            }
            // A channel's sum x is at most 255 n, so for n up to 4104 (x n <
            // 2^32) x times the rounded-up reciprocal 2^32 / n, cut to its
            // high word, is the exact quotient.
            uint32_t r, g, bl;
            if (byRecip)
                r = uint32_t(box[R] * recip >> 32), g = uint32_t(box[G] * recip >> 32),
                bl = uint32_t(box[B] * recip >> 32);
            else r = box[R] / count, g = box[G] / count, bl = box[B] / count;
            if constexpr (D == Depth::D3D32) {
                if (add.on) Store32(dp, 0xFF000000u | AddClamped(r, add.r, add.rm) << 16 |
                                            AddClamped(g, add.g, add.gm) << 8 | AddClamped(bl, add.b, add.bm));
                else Store32(dp, 0xFF000000u | r << 16 | g << 8 | bl);
            } else if constexpr (D == Depth::DD32) {
                Store32(dp, (Load32(dp) & 0xFF000000u) | r << 16 | g << 8 | bl);
            } else if constexpr (D == Depth::DD16) {
                Store16(dp, r << l.rs | g << l.gs | bl << l.bs);
            } else {
                uint32_t cr = r, cg = g, cb = bl;
                if (add.on) cr = AddClamped(cr, add.r, add.rm), cg = AddClamped(cg, add.g, add.gm),
                            cb = AddClamped(cb, add.b, add.bm);
                Store16(dp, w16.PackRaw(cr, w16.fullScreen ? cg * 2 : cg, cb));
            }
        }
    };
    for (int64_t j = j0; j < j1; ++j) {
        const int64_t nlo = std::clamp<int64_t>(j - ry, r0, r1), nhi = std::clamp<int64_t>(j + ry, r0, r1);
        for (; hi < nhi; ++hi) enterRow(hi);
        for (; lo < nlo; ++lo) leaveRow(lo);
        if (lo >= hi) continue;
        if (keyed) writeRow.template operator()<true>(j);
        else writeRow.template operator()<false>(j);
    }
}

}  // namespace

bool DDBltBlur(DDSURFACEDATA* dst, int x, int y, int w, int h, int radiusX, int radiusY, DDSURFACEDATA* src, int sx,
               int sy, int flag, const DDBLTPARAM* param) {
    if (radiusX <= 0 || radiusY <= 0) return true;
    ResolveSurfaces(dst, src);
    cPixelPass pass;
    if (!pass.Lock(dst, src, x, y, w, h, sx, sy)) return false;
    switch (CurrentDepth()) {
    case Depth::D3D16: BlurRows<Depth::D3D16>(pass, dst, param, x, y, w, h, radiusX, radiusY, sx, sy, flag); break;
    case Depth::D3D32: BlurRows<Depth::D3D32>(pass, dst, param, x, y, w, h, radiusX, radiusY, sx, sy, flag); break;
    case Depth::DD16: BlurRows<Depth::DD16>(pass, dst, param, x, y, w, h, radiusX, radiusY, sx, sy, flag); break;
    case Depth::DD32: BlurRows<Depth::DD32>(pass, dst, param, x, y, w, h, radiusX, radiusY, sx, sy, flag); break;
    default: break;  // no blur at 8 and 24 bits
    }
    return true;
}
