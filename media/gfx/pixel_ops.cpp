#include "media/gfx/pixel_ops.h"

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <vector>

namespace gfx {
namespace {

template <int B>
struct Pix;
template <>
struct Pix<1> {
    static uint32_t Load(const uint8_t* p) { return *p; }
    static void Store(uint8_t* p, uint32_t v) { *p = uint8_t(v); }
};
template <>
struct Pix<2> {
    static uint32_t Load(const uint8_t* p) { uint16_t v; std::memcpy(&v, p, 2); return v; }
    static void Store(uint8_t* p, uint32_t v) { uint16_t s = uint16_t(v); std::memcpy(p, &s, 2); }
};
template <>
struct Pix<3> {
    static uint32_t Load(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16; }
    static void Store(uint8_t* p, uint32_t v) { p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); p[2] = uint8_t(v >> 16); }
};
template <>
struct Pix<4> {
    static uint32_t Load(const uint8_t* p) { uint32_t v; std::memcpy(&v, p, 4); return v; }
    static void Store(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }
};

// Sixteen bytes of pixels of B bytes (B = 1, 2, 4).
using u8x16 = uint8_t __attribute__((vector_size(16)));
using u16x8 = uint16_t __attribute__((vector_size(16)));
using u32x4 = uint32_t __attribute__((vector_size(16)));
template <int B>
using Lanes = std::conditional_t<B == 1, u8x16, std::conditional_t<B == 2, u16x8, u32x4>>;

// Each rule and conversion also works on a vector of pixels (Mask: all ones
// in the lanes skipped); pixels narrower than the rule's values compare as
// the scalar rule does on them.
struct SkNone {
    bool operator()(uint32_t) const { return false; }
    template <class V> V Mask(V) const { return V{}; }
};
struct SkKey {
    uint32_t k;
    bool operator()(uint32_t v) const { return v == k; }
    template <class V> V Mask(V v) const {
        using E = std::remove_reference_t<decltype(v[0])>;
        if (k != E(k)) return V{};  // no pixel of this size equals the key
        return (V)(v == E(k));
    }
};
struct SkAlpha0 {
    bool operator()(uint32_t v) const { return v < 0x1000000u; }
    template <class V> V Mask(V v) const {
        if constexpr (std::is_same_v<V, u32x4>) return (V)(v < 0x1000000u);
        else return ~V{};
    }
};
struct SkTest16 {
    bool operator()(uint32_t v) const { return (v & 0xA000u) == 0; }
    template <class V> V Mask(V v) const {
        if constexpr (std::is_same_v<V, u8x16>) return ~V{};
        else return (V)((v & 0xA000u) == 0);
    }
};
struct CvNone {
    uint32_t operator()(uint32_t v) const { return v; }
    static constexpr bool kVector = true;
    template <class V> V Vec(V v) const { return v; }
};
struct CvBack565 {
    uint32_t operator()(uint32_t v) const { return SurfToBack565(v); }
    static constexpr bool kVector = false;  // 16-bit pixels only; see Vec16
    u16x8 Vec16(u16x8 v) const { return ((v & 0x7C00u) << 1) | ((v & 0x3E0u) << 1) | (v & 0x1Fu); }
};

// A run of n pixels through the rule and the conversion, sixteen bytes at a
// time; the same result as pixel by pixel.
template <int B, class S, class C>
void CopyRun(uint8_t* d, const uint8_t* s, int n, S skip, C conv) {
    using V = Lanes<B>;
    constexpr int L = 16 / B;
    int j = 0;
    if constexpr (std::is_same_v<S, SkNone> && std::is_same_v<C, CvNone>) {
        std::memcpy(d, s, size_t(n) * B);
        return;
    }
    constexpr bool vec = B != 3 && (C::kVector || B == 2);
    if constexpr (vec) {
        for (; j + L <= n; j += L) {
            V v, o;
            std::memcpy(&v, s + j * B, 16);
            const V m = skip.Mask(v);
            V c;
            if constexpr (C::kVector) c = conv.Vec(v);
            else c = conv.Vec16(v);
            if constexpr (std::is_same_v<S, SkNone>) {
                o = c;
            } else {
                std::memcpy(&o, d + j * B, 16);
                o = (c & ~m) | (o & m);
            }
            std::memcpy(d + j * B, &o, 16);
        }
    }
    for (; j < n; ++j) {
        const uint32_t v = Pix<B>::Load(s + j * B);
        if (!skip(v)) Pix<B>::Store(d + j * B, conv(v));
    }
}

template <class F>
void WithSkip(const SkipRule& r, F&& f) {
    switch (r.kind) {
    case Skip::None: f(SkNone{}); break;
    case Skip::Key: f(SkKey{r.key}); break;
    case Skip::Alpha0: f(SkAlpha0{}); break;
    case Skip::Test16: f(SkTest16{}); break;
    }
}
template <class F>
void WithConv(Convert c, F&& f) {
    if (c == Convert::SurfToBack565) f(CvBack565{});
    else f(CvNone{});
}

template <int B, class S, class C>
void CopyLoop(cImage& dst, int dx, int dy, const cImage& src, int sx, int sy, int w, int h, S skip, C conv,
              bool fast) {
    const int j0 = std::max({0, -dx, -sx});
    const int j1 = std::min({w, dst.Width() - dx, src.Width() - sx});
    const int i0 = std::max({0, -dy, -sy});
    const int i1 = std::min({h, dst.Height() - dy, src.Height() - sy});
    if (j1 <= j0) return;
    for (int i = i0; i < i1; ++i) {
        const uint8_t* s = src.Row(sy + i) + (sx + j0) * B;
        uint8_t* d = dst.Row(dy + i) + (dx + j0) * B;
        // Runs are done in blocks unless the two rectangles share an image
        // (a forward copy then reads what it wrote).
        if (fast && &dst != &src) {
            CopyRun<B>(d, s, j1 - j0, skip, conv);
            continue;
        }
        for (int j = j0; j < j1; ++j, s += B, d += B) {
            const uint32_t v = Pix<B>::Load(s);
            if (!skip(v)) Pix<B>::Store(d, conv(v));
        }
    }
}

template <int B, class S, class C>
void StretchLoop(cImage& dst, int x, int y, int w, int h, const cImage& src, int sx, int sy, int sw, int sh, S skip,
                 C conv, bool fast) {
    // The source column of every destination column inside both images,
    // worked out once for all rows, a block of columns at a time. A row of
    // the block reads its source pixels into a buffer (kept while the next
    // row reads the same source row) and then goes as a run when its
    // columns are consecutive.
    constexpr int kBlock = 256;
    int dcol[kBlock], scol[kBlock];
    uint8_t gathered[kBlock * 4];
    const bool runs = fast && &dst != &src;
    int j = 0;
    while (j < w) {
        int n = 0;
        for (; j < w && n < kBlock; ++j) {
            const int dxx = x + j;
            if (dxx < 0) continue;
            if (dxx >= dst.Width()) {
                j = w;
                break;
            }
            const int sxx = sx + TruncOffset(j, sw, w);
            if (sxx < 0 || sxx >= src.Width()) continue;
            dcol[n] = dxx * B, scol[n] = sxx * B, ++n;
        }
        if (n == 0) continue;
        const bool consecutive = dcol[n - 1] - dcol[0] == (n - 1) * B;
        int lastRow = -1;
        for (int i = 0; i < h; ++i) {
            const int dyy = y + i, syy = sy + TruncOffset(i, sh, h);
            if (dyy < 0 || dyy >= dst.Height() || syy < 0 || syy >= src.Height()) continue;
            const uint8_t* srow = src.Row(syy);
            uint8_t* drow = dst.Row(dyy);
            if (runs && consecutive) {
                if (syy != lastRow)
                    for (int k = 0; k < n; ++k) std::memcpy(gathered + k * B, srow + scol[k], B);
                lastRow = syy;
                CopyRun<B>(drow + dcol[0], gathered, n, skip, conv);
                continue;
            }
            for (int k = 0; k < n; ++k) {
                const uint32_t v = Pix<B>::Load(srow + scol[k]);
                if (!skip(v)) Pix<B>::Store(drow + dcol[k], conv(v));
            }
        }
    }
}

template <class F>
void WithBpp(int bpp, F&& f) {
    switch (bpp) {
    case 1: f(std::integral_constant<int, 1>{}); break;
    case 2: f(std::integral_constant<int, 2>{}); break;
    case 3: f(std::integral_constant<int, 3>{}); break;
    default: f(std::integral_constant<int, 4>{}); break;
    }
}

}  // namespace

bool CopyRect(cImage& dst, int dx, int dy, const cImage& src, int sx, int sy, int w, int h, SkipRule skip,
              Convert conv, PixelPath path) {
    if (dst.Bpp() != src.Bpp()) return false;
    const bool fast = path == PixelPath::Auto;
    WithBpp(dst.Bpp(), [&](auto b) {
        WithSkip(skip, [&](auto s) {
            WithConv(conv, [&](auto c) { CopyLoop<decltype(b)::value>(dst, dx, dy, src, sx, sy, w, h, s, c, fast); });
        });
    });
    return true;
}

bool StretchTrunc(cImage& dst, int x, int y, int w, int h, const cImage& src, int sx, int sy, int sw, int sh,
                  SkipRule skip, Convert conv, PixelPath path) {
    if (dst.Bpp() != src.Bpp()) return false;
    if (w <= 0 || h <= 0) return true;
    const bool fast = path == PixelPath::Auto;
    WithBpp(dst.Bpp(), [&](auto b) {
        WithSkip(skip, [&](auto s) {
            WithConv(conv, [&](auto c) {
                StretchLoop<decltype(b)::value>(dst, x, y, w, h, src, sx, sy, sw, sh, s, c, fast);
            });
        });
    });
    return true;
}

void FillRect(cImage& dst, int x, int y, int w, int h, uint32_t px) {
    const int x0 = std::max(x, 0), x1 = std::min<int64_t>(int64_t(x) + w, dst.Width());
    const int y0 = std::max(y, 0), y1 = std::min<int64_t>(int64_t(y) + h, dst.Height());
    if (x1 <= x0) return;
    WithBpp(dst.Bpp(), [&](auto b) {
        constexpr int B = decltype(b)::value;
        for (int yy = y0; yy < y1; ++yy) {
            uint8_t* d = dst.Row(yy) + x0 * B;
            if constexpr (B == 1) std::memset(d, int(uint8_t(px)), size_t(x1 - x0));
            else if constexpr (B == 2 || B == 4) FillRow<B>(d, size_t(x1 - x0), px);
            else for (int xx = x0; xx < x1; ++xx, d += B) Pix<B>::Store(d, px);
        }
    });
}

void ConvertToXrgb8888(const cImage& img, const uint8_t (*palette)[4], std::vector<uint32_t>& out) {
    // Every pixel is written, so the buffer is only sized.
    out.resize(size_t(img.Width()) * img.Height());
    ConvertToXrgb8888(img, palette, out.data());
}

void ConvertToXrgb8888(const cImage& img, const uint8_t (*palette)[4], uint32_t* out) {
    const PixelFormat f = img.Format();
    uint32_t lut[256];
    if (f == PixelFormat::Index8)
        for (int i = 0; i < 256; ++i)
            lut[i] = palette ? uint32_t(palette[i][0]) << 16 | uint32_t(palette[i][1]) << 8 | palette[i][2]
                             : uint32_t(i) * 0x010101u;
    for (int y = 0; y < img.Height(); ++y) {
        uint32_t* o = out + size_t(y) * img.Width();
        const uint8_t* row = img.Row(y);
        const int w = img.Width();
        switch (f) {
        case PixelFormat::Index8:
            for (int x = 0; x < w; ++x) o[x] = lut[row[x]];
            break;
        case PixelFormat::XRGB8888:
        case PixelFormat::ARGB8888:
        {
            // Four pixels at a time (plain integer vector operations).
            using u32x4 = uint32_t __attribute__((vector_size(16)));
            int x = 0;
            for (; x + 4 <= w; x += 4) {
                u32x4 v;
                std::memcpy(&v, row + 4 * x, 16);
                v &= 0xFFFFFFu;
                std::memcpy(o + x, &v, 16);
            }
            for (; x < w; ++x) o[x] = Pix<4>::Load(row + 4 * x) & 0xFFFFFFu;
            break;
        }
        case PixelFormat::RGB888:
            for (int x = 0; x < w; ++x) o[x] = Pix<3>::Load(row + 3 * x);
            break;
        default:
            for (int x = 0; x < w; ++x) o[x] = PackArgb(DecodePixel(f, Pix<2>::Load(row + 2 * x))) & 0xFFFFFFu;
            break;
        }
    }
}

}  // namespace gfx
