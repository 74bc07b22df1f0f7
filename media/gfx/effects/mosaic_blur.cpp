#include "media/gfx/effects/mosaic_blur.h"

#include <algorithm>
#include <cstring>
#include <cstdint>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// A sample as four bytes, one per sum lane: 32-bit pixels keep their byte
// order (blue, green, red) with a count of 1 in place of byte 3; 16-bit
// ones give red, green and blue by the surface layout, then the count. A
// sample left out (transparent under flag 1) is 0: it adds nothing and
// counts nothing.
template <Depth D, bool KEYED>
inline uint32_t SampleOf(uint32_t p, const PixelLayout& l) {
    if (KEYED && IsTransparentT<D>(p)) return 0;
    if constexpr (D == Depth::D3D32 || D == Depth::DD32) return (p & 0xFFFFFFu) | 1u << 24;
    else
        return (p >> l.rs & uint32_t(l.rm)) | (p >> l.gs & uint32_t(l.gm)) << 8 | (p >> l.bs & uint32_t(l.bm)) << 16 |
               1u << 24;
}

inline Sum4 LanesOf(uint32_t s) { return Sum4{s & 255, s >> 8 & 255, s >> 16 & 255, s >> 24}; }

// The samples of n source pixels from sp.
template <Depth D, bool KEYED>
void SampleRow(const uint8_t* sp, uint32_t* out, int64_t n, const PixelLayout& l) {
    constexpr bool wide = D == Depth::D3D32 || D == Depth::DD32;
    int64_t c = 0;
    if constexpr (wide) {
        const uint32_t key = g_DD.dwColorKey;
        for (; c + 4 <= n; c += 4, sp += 16) {
            Sum4 p;
            std::memcpy(&p, sp, 16);
            Sum4 s = (p & 0xFFFFFFu) | (1u << 24);
            if constexpr (KEYED) {
                if constexpr (D == Depth::D3D32) s &= (Sum4)((p >> 24) != 0u);
                else s &= (Sum4)(p != key);
            }
            std::memcpy(out + c, &s, 16);
        }
    }
    for (; c < n; ++c, sp += wide ? 4 : 2) out[c] = SampleOf<D, KEYED>(LoadT<D>(sp), l);
}

// col[c] += lanes of in[c] (IN) - lanes of out[c] (OUT) for n columns.
template <bool IN, bool OUT>
void UpdateColumns(Sum4* col, const uint32_t* in, const uint32_t* out, int64_t n) {
    int64_t c = 0;
#if defined(__SSE2__)
    // Four columns at a time: bytes widened to 16 bits, the difference
    // (-255 .. 255) sign-extended to 32; added with wrap-around as lane by
    // lane.
    const __m128i z = _mm_setzero_si128();
    for (; c + 4 <= n; c += 4) {
        __m128i lo = z, hi = z;
        if constexpr (IN) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + c));
            lo = _mm_unpacklo_epi8(v, z), hi = _mm_unpackhi_epi8(v, z);
        }
        if constexpr (OUT) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + c));
            lo = _mm_sub_epi16(lo, _mm_unpacklo_epi8(v, z)), hi = _mm_sub_epi16(hi, _mm_unpackhi_epi8(v, z));
        }
        col[c] += (Sum4)_mm_srai_epi32(_mm_unpacklo_epi16(lo, lo), 16);
        col[c + 1] += (Sum4)_mm_srai_epi32(_mm_unpackhi_epi16(lo, lo), 16);
        col[c + 2] += (Sum4)_mm_srai_epi32(_mm_unpacklo_epi16(hi, hi), 16);
        col[c + 3] += (Sum4)_mm_srai_epi32(_mm_unpackhi_epi16(hi, hi), 16);
    }
#endif
    for (; c < n; ++c) {
        if constexpr (IN) col[c] += LanesOf(in[c]);
        if constexpr (OUT) col[c] -= LanesOf(out[c]);
    }
}

// The quotients of a box's lanes by its count n, for n up to 4104: a
// channel's sum x is at most 255 n, so x n < 2^32 and x times the rounded-up
// reciprocal 2^32 / n, cut to its high word, is the exact quotient (x itself
// for n = 1). Each quotient fits a byte; lane k goes to byte k.
struct cBoxQuotient {
    uint32_t n = ~0u;  // no box has that many samples: the first count sets it
    uint64_t recip = 0;
#if defined(__SSE2__)
    __m128i rv = _mm_setzero_si128();
#endif
    void Set(uint32_t count) {
        n = count;
        recip = 0xFFFFFFFFull / count + 1;
#if defined(__SSE2__)
        rv = _mm_set_epi32(0, int(uint32_t(recip)), 0, int(uint32_t(recip)));
#endif
    }
    uint32_t Bytes(Sum4 box) const {
#if defined(__SSE2__)
        __m128i q = (__m128i)box;
        if (n != 1) {
            const __m128i even = _mm_srli_epi64(_mm_mul_epu32(q, rv), 32);
            const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(q, 32), rv);
            q = _mm_or_si128(even, _mm_and_si128(odd, _mm_set_epi32(-1, 0, -1, 0)));
        }
        q = _mm_packs_epi32(q, q);
        return uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(q, q)));
#else
        uint32_t v = 0;
        for (int k = 0; k < 4; ++k) v |= uint32_t(std::min<uint64_t>(box[k] * recip >> 32, 255)) << (8 * k);
        return v;
#endif
    }
};

// The blur by running sums: each column's samples summed down the box's
// rows (a row added as it enters the box and taken off as it leaves), then
// those column sums slid along the row over the box's columns. Sums over a
// box clipped to the samples inside the rectangle and the source image come
// out as the same integers at any radius (32-bit wrap-around cancels in the
// differences); the count holds how many samples a box took, transparent
// ones left out under flag 1.
template <Depth D, bool KEYED>
void BlurRows(cPixelPass& pass, DDSURFACEDATA* dst, const DDBLTPARAM* param, int x, int y, int w, int h, int radiusX,
              int ry, int sx, int sy) {
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
    // Each sample row's samples, kept while the row is inside the box (the
    // source may be the destination itself): at most min(2 ry, sample rows)
    // rows at once, so a row entering takes a slot no row inside holds.
    const int64_t n = c1 - c0;
    const size_t ringRows = size_t(std::min<int64_t>(2 * int64_t(ry), r1 - r0)) + 1;
    thread_local std::vector<uint32_t> ring;
    ring.resize(ringRows * size_t(n));
    auto slot = [&](int64_t row) { return ring.data() + size_t(row - r0) % ringRows * size_t(n); };
    auto sampleRow = [&](int64_t row) {
        SampleRow<D, KEYED>(si.Row(int(sy + row)) + size_t(sx + c0) * bytes, slot(row), n, l);
    };
    const cColourAdd add = cColourAdd::From(param);
    const cWriter16 w16(dst);
    // Centres whose source pixel lies inside the source image's columns.
    const int64_t ci0 = std::max<int64_t>(i0, -int64_t(sx)), ci1 = std::min<int64_t>(i1, int64_t(pass.SrcW()) - sx);
    cBoxQuotient quot;
    // One rectangle row; KEYED: transparent centres (and centres that
    // cannot be tested, outside the source image) are left as they are.
    auto writeRow = [&]<bool ADD>(int64_t j) {
        // The box of the first pixel, then slid one column at a time.
        Sum4 s = {0, 0, 0, 0};
        for (int64_t c = i0 - rx; c < i0 + rx; ++c) s += col[c];
        int64_t from = i0, to = i1;
        const uint8_t* centre = nullptr;
        if constexpr (KEYED) {
            // Only centres inside the source image can be tested.
            const int64_t cy = sy + j;
            if (cy < 0 || cy >= pass.SrcH() || ci0 >= ci1) return;
            centre = si.Row(int(cy)) + size_t(sx) * bytes;
            for (; from < ci0; ++from) s += col[from + rx] - col[from - rx];
            to = ci1;
        }
        uint8_t* dp = di.Row(int(y + j)) + size_t(x + from) * bytes;
        for (int64_t i = from; i < to; ++i, dp += bytes) {
            const Sum4 box = s;
            s += col[i + rx] - col[i - rx];
            if constexpr (KEYED) {
                if (IsTransparentT<D>(LoadT<D>(centre + size_t(i) * bytes))) continue;
            }
            const uint32_t count = box[3];
            if (count != quot.n) {
                if (count == 0) continue;  // no sample inside the image
                quot.Set(count);
            }
            uint32_t r, g, bl;
            if (count <= 4104) {
                const uint32_t q = quot.Bytes(box);
                if constexpr (D == Depth::D3D32 && !ADD) {
                    Store32(dp, 0xFF000000u | q);
                    continue;
                } else if constexpr (D == Depth::DD32) {
                    Store32(dp, (Load32(dp) & 0xFF000000u) | (q & 0xFFFFFFu));
                    continue;
                }
                r = q >> (8 * R) & 255, g = q >> (8 * G) & 255, bl = q >> (8 * B) & 255;
            } else {
                r = box[R] / count, g = box[G] / count, bl = box[B] / count;
            }
            if constexpr (D == Depth::D3D32) {
                if (ADD) Store32(dp, 0xFF000000u | AddClamped(r, add.r, add.rm) << 16 |
                                         AddClamped(g, add.g, add.gm) << 8 | AddClamped(bl, add.b, add.bm));
                else Store32(dp, 0xFF000000u | r << 16 | g << 8 | bl);
            } else if constexpr (D == Depth::DD32) {
                Store32(dp, (Load32(dp) & 0xFF000000u) | r << 16 | g << 8 | bl);
            } else if constexpr (D == Depth::DD16) {
                Store16(dp, r << l.rs | g << l.gs | bl << l.bs);
            } else {
                uint32_t cr = r, cg = g, cb = bl;
                if (ADD) cr = AddClamped(cr, add.r, add.rm), cg = AddClamped(cg, add.g, add.gm),
                         cb = AddClamped(cb, add.b, add.bm);
                Store16(dp, w16.PackRaw(cr, w16.fullScreen ? cg * 2 : cg, cb));
            }
        }
    };
    // The window of sample rows for rectangle row j: [lo, hi), both
    // clamped into the sample rows, so both only grow with j.
    int64_t lo = r0, hi = r0;
    Sum4* cols = col + c0;
    for (int64_t j = j0; j < j1; ++j) {
        const int64_t nlo = std::clamp<int64_t>(j - ry, r0, r1), nhi = std::clamp<int64_t>(j + ry, r0, r1);
        // A row entering as another leaves: one pass over the columns.
        for (; hi < nhi && lo < nlo; ++hi, ++lo) {
            sampleRow(hi);
            UpdateColumns<true, true>(cols, slot(hi), slot(lo), n);
        }
        for (; lo < nlo; ++lo) UpdateColumns<false, true>(cols, nullptr, slot(lo), n);
        for (; hi < nhi; ++hi) {
            sampleRow(hi);
            UpdateColumns<true, false>(cols, slot(hi), nullptr, n);
        }
        if (lo >= hi) continue;
        if (add.on) writeRow.template operator()<true>(j);
        else writeRow.template operator()<false>(j);
    }
}

template <Depth D>
void BlurKeyed(cPixelPass& pass, DDSURFACEDATA* dst, const DDBLTPARAM* param, int x, int y, int w, int h, int rx, int ry,
               int sx, int sy, int flag) {
    if (flag == 1) BlurRows<D, true>(pass, dst, param, x, y, w, h, rx, ry, sx, sy);
    else BlurRows<D, false>(pass, dst, param, x, y, w, h, rx, ry, sx, sy);
}

}  // namespace

bool DDBltBlur(DDSURFACEDATA* dst, int x, int y, int w, int h, int radiusX, int radiusY, DDSURFACEDATA* src, int sx,
               int sy, int flag, const DDBLTPARAM* param) {
    if (radiusX <= 0 || radiusY <= 0) return true;
    ResolveSurfaces(dst, src);
    cPixelPass pass;
    if (!pass.Lock(dst, src, x, y, w, h, sx, sy)) return false;
    switch (CurrentDepth()) {
    case Depth::D3D16: BlurKeyed<Depth::D3D16>(pass, dst, param, x, y, w, h, radiusX, radiusY, sx, sy, flag); break;
    case Depth::D3D32: BlurKeyed<Depth::D3D32>(pass, dst, param, x, y, w, h, radiusX, radiusY, sx, sy, flag); break;
    case Depth::DD16: BlurKeyed<Depth::DD16>(pass, dst, param, x, y, w, h, radiusX, radiusY, sx, sy, flag); break;
    case Depth::DD32: BlurKeyed<Depth::DD32>(pass, dst, param, x, y, w, h, radiusX, radiusY, sx, sy, flag); break;
    default: break;  // no blur at 8 and 24 bits
    }
    return true;
}
