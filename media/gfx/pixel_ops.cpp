#include "media/gfx/pixel_ops.h"

#include <vector>

#include <algorithm>
#include <cstring>

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

struct SkNone { bool operator()(uint32_t) const { return false; } };
struct SkKey { uint32_t k; bool operator()(uint32_t v) const { return v == k; } };
struct SkAlpha0 { bool operator()(uint32_t v) const { return v < 0x1000000u; } };
struct SkTest16 { bool operator()(uint32_t v) const { return (v & 0xA000u) == 0; } };
struct CvNone { uint32_t operator()(uint32_t v) const { return v; } };
struct CvBack565 { uint32_t operator()(uint32_t v) const { return SurfToBack565(v); } };

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
void CopyLoop(cImage& dst, int dx, int dy, const cImage& src, int sx, int sy, int w, int h, S skip, C conv) {
    const int j0 = std::max({0, -dx, -sx});
    const int j1 = std::min({w, dst.Width() - dx, src.Width() - sx});
    const int i0 = std::max({0, -dy, -sy});
    const int i1 = std::min({h, dst.Height() - dy, src.Height() - sy});
    for (int i = i0; i < i1; ++i) {
        const uint8_t* s = src.Row(sy + i) + (sx + j0) * B;
        uint8_t* d = dst.Row(dy + i) + (dx + j0) * B;
        for (int j = j0; j < j1; ++j, s += B, d += B) {
            const uint32_t v = Pix<B>::Load(s);
            if (!skip(v)) Pix<B>::Store(d, conv(v));
        }
    }
}

template <int B, class S, class C>
void StretchLoop(cImage& dst, int x, int y, int w, int h, const cImage& src, int sx, int sy, int sw, int sh, S skip,
                 C conv) {
    // The source column of every destination column inside both images,
    // worked out once for all rows.
    std::vector<std::pair<int, int>> cols;
    cols.reserve(size_t(std::min(w, dst.Width())));
    for (int j = 0; j < w; ++j) {
        const int dxx = x + j;
        if (dxx < 0) continue;
        if (dxx >= dst.Width()) break;
        const int sxx = sx + TruncOffset(j, sw, w);
        if (sxx < 0 || sxx >= src.Width()) continue;
        cols.emplace_back(dxx * B, sxx * B);
    }
    for (int i = 0; i < h; ++i) {
        const int dyy = y + i, syy = sy + TruncOffset(i, sh, h);
        if (dyy < 0 || dyy >= dst.Height() || syy < 0 || syy >= src.Height()) continue;
        const uint8_t* srow = src.Row(syy);
        uint8_t* drow = dst.Row(dyy);
        for (const auto& [d, sc] : cols) {
            const uint32_t v = Pix<B>::Load(srow + sc);
            if (!skip(v)) Pix<B>::Store(drow + d, conv(v));
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
              Convert conv) {
    if (dst.Bpp() != src.Bpp()) return false;
    WithBpp(dst.Bpp(), [&](auto b) {
        WithSkip(skip, [&](auto s) {
            WithConv(conv, [&](auto c) { CopyLoop<decltype(b)::value>(dst, dx, dy, src, sx, sy, w, h, s, c); });
        });
    });
    return true;
}

bool StretchTrunc(cImage& dst, int x, int y, int w, int h, const cImage& src, int sx, int sy, int sw, int sh,
                  SkipRule skip, Convert conv) {
    if (dst.Bpp() != src.Bpp()) return false;
    if (w <= 0 || h <= 0) return true;
    WithBpp(dst.Bpp(), [&](auto b) {
        WithSkip(skip, [&](auto s) {
            WithConv(conv, [&](auto c) {
                StretchLoop<decltype(b)::value>(dst, x, y, w, h, src, sx, sy, sw, sh, s, c);
            });
        });
    });
    return true;
}

void FillRect(cImage& dst, int x, int y, int w, int h, uint32_t px) {
    const int x0 = std::max(x, 0), x1 = std::min<int64_t>(int64_t(x) + w, dst.Width());
    const int y0 = std::max(y, 0), y1 = std::min<int64_t>(int64_t(y) + h, dst.Height());
    WithBpp(dst.Bpp(), [&](auto b) {
        constexpr int B = decltype(b)::value;
        for (int yy = y0; yy < y1; ++yy) {
            uint8_t* d = dst.Row(yy) + x0 * B;
            for (int xx = x0; xx < x1; ++xx, d += B) Pix<B>::Store(d, px);
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
