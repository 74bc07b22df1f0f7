#include "media/gfx/quad.h"

#include "media/gfx/stage_rows.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

#include "media/gfx/pixel_ops.h"

namespace gfx {
namespace {

using i64 = int64_t;
using i128 = __int128;

constexpr int kSub = 256;  // sub-pixel and sub-texel steps

// Nearest step, halves away from zero. A float times 256 has at most 24
// significant bits, so adding one half is exact below 2^52.
i64 Snap(float v) {
    const double x = double(v) * kSub;
    if (x >= 0 && x < 0x1p52) return i64(x + 0.5);
    if (x < 0 && x > -0x1p52) return -i64(-x + 0.5);
    return i64(std::llround(x));
}

struct FV {
    i64 x, y, s, t;
};

i64 Edge(const FV& a, const FV& b, i64 px, i64 py) { return (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x); }

bool TopLeft(const FV& a, const FV& b) {
    const i64 dx = b.x - a.x, dy = b.y - a.y;
    return (dy == 0 && dx > 0) || dy < 0;
}

i64 FloorDiv(i128 n, i128 d) {
    if (d < 0) n = -n, d = -d;
    // Most quads stay far inside 64 bits: divide there (same result).
    constexpr i128 kLim = i128(1) << 62;
    if (n > -kLim && n < kLim && d < kLim) {
        const i64 a = i64(n), b = i64(d);
        i64 q = a / b;
        if ((a % b) != 0 && a < 0) --q;
        return q;
    }
    i128 q = n / d;
    if ((n % d) != 0 && n < 0) --q;
    return i64(q);
}

int Wrap(i64 v, int size) {
    if (size <= 0) return 0;
    i64 m = v % size;
    if (m < 0) m += size;
    return int(m);
}

uint8_t Mul(uint8_t a, uint8_t b) { return uint8_t((int(a) * b + 127) / 255); }

uint8_t Op(int op, uint8_t a1, uint8_t a2, uint8_t factorA, uint8_t diffuse) {
    switch (op) {
    case TOP_DISABLE: return diffuse;
    case TOP_SELECTARG1: return a1;
    case TOP_SELECTARG2: return a2;
    case TOP_MODULATE: return Mul(a1, a2);
    case TOP_ADD: return uint8_t(std::min(int(a1) + a2, 255));
    case TOP_SUBTRACT: return uint8_t(std::max(int(a1) - a2, 0));
    case TOP_BLENDFACTORALPHA: return uint8_t((int(a1) * factorA + int(a2) * (255 - factorA) + 127) / 255);
    default: return a1;
    }
}

Argb Arg(int which, Argb tex, Argb diffuse, Argb factor) {
    switch (which) {
    case TA_TEXTURE: return tex;
    case TA_TFACTOR: return factor;
    default: return diffuse;
    }
}

template <PixelFormat F>
inline uint32_t LoadPx(const uint8_t* p) {
    if constexpr (F == PixelFormat::RGB565 || F == PixelFormat::ARGB1555) {
        uint16_t v;
        std::memcpy(&v, p, 2);
        return v;
    } else {
        uint32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
}
template <PixelFormat F>
inline void StorePx(uint8_t* p, uint32_t v) {
    if constexpr (F == PixelFormat::RGB565 || F == PixelFormat::ARGB1555) {
        const uint16_t s = uint16_t(v);
        std::memcpy(p, &s, 2);
    } else {
        std::memcpy(p, &v, 4);
    }
}
template <PixelFormat F>
inline Argb Dec(uint32_t v) {
    if constexpr (F == PixelFormat::ARGB8888) return UnpackArgb(v);
    else if constexpr (F == PixelFormat::XRGB8888) return UnpackArgb(v | 0xFF000000u);
    else if constexpr (F == PixelFormat::ARGB1555)
        return Argb{uint8_t(v & 0x8000 ? 255 : 0), Widen((v >> 10) & 31, 31), Widen((v >> 5) & 31, 31), Widen(v & 31, 31)};
    else if constexpr (F == PixelFormat::RGB565)
        return Argb{255, Widen((v >> 11) & 31, 31), Widen((v >> 5) & 63, 63), Widen(v & 31, 31)};
    else return DecodePixel(F, v);
}
template <PixelFormat F>
inline uint32_t Enc(Argb c) {
    if constexpr (F == PixelFormat::ARGB8888) return PackArgb(c);
    else if constexpr (F == PixelFormat::XRGB8888) return PackArgb(c) & 0xFFFFFFu;
    else if constexpr (F == PixelFormat::ARGB1555)
        return Narrow(c.a, 1) << 15 | Narrow(c.r, 31) << 10 | Narrow(c.g, 31) << 5 | Narrow(c.b, 31);
    else if constexpr (F == PixelFormat::RGB565)
        return Narrow(c.r, 31) << 11 | Narrow(c.g, 63) << 5 | Narrow(c.b, 31);
    else return EncodePixel(F, c);
}
constexpr int BytesOf(PixelFormat f) {
    return f == PixelFormat::RGB565 || f == PixelFormat::ARGB1555 ? 2 : 4;
}

// Row helpers on four pixels at a time (plain integer vector operations, so
// the result is the same as pixel by pixel).
using u32x4 = uint32_t __attribute__((vector_size(16)));
inline u32x4 Load4(const uint8_t* p) {
    u32x4 v;
    std::memcpy(&v, p, 16);
    return v;
}
inline void Store4(uint8_t* p, u32x4 v) { std::memcpy(p, &v, 16); }
using u64x2 = uint64_t __attribute__((vector_size(16)));

// A8R8G8B8 texels as they are into a row of 32-bit pixels: unblended they
// replace; blended, alpha 255 replaces, 0 keeps and anything else mixes.
// Eight at a time while the eight are each opaque or clear (colour-keyed
// sprites and opaque backgrounds).
template <PixelFormat DF>
inline void TexelRow32(uint8_t* d, const uint8_t* sp, size_t n, bool blend) {
    constexpr uint32_t keep = DF == PixelFormat::XRGB8888 ? 0xFFFFFFu : 0xFFFFFFFFu;
    auto texel = [&](size_t j) { return LoadPx<PixelFormat::ARGB8888>(sp + j * 4); };
    size_t j = 0;
    if (!blend) {
        for (; j < n; ++j) StorePx<DF>(d + j * 4, texel(j) & keep);
        return;
    }
    auto one = [&](size_t k) {
        const uint32_t t = texel(k), a = t >> 24;
        uint8_t* p = d + k * 4;
        if (a == 255) StorePx<DF>(p, t & keep);
        else if (a != 0)
            StorePx<DF>(p, Enc<DF>(BlendSrcAlpha(Dec<PixelFormat::ARGB8888>(t), Dec<DF>(LoadPx<DF>(p)))));
    };
    // Eight at a time (two vectors of four), then one by one.
    auto all = [](u32x4 m) {
        const u64x2 q = (u64x2)m;
        return (q[0] & q[1]) == ~uint64_t(0);
    };
    auto load = [&](size_t k) { return Load4(sp + k * 4); };
    for (; j + 8 <= n; j += 8) {
        u32x4 t0 = load(j), t1 = load(j + 4);
        const u32x4 a0 = t0 >> 24, a1 = t1 >> 24;
        const u32x4 o0 = (u32x4)(a0 == 255u), o1 = (u32x4)(a1 == 255u);
        const u32x4 c0 = (u32x4)(a0 == 0u), c1 = (u32x4)(a1 == 0u);
        if (all(o0 & o1)) {
            Store4(d + j * 4, t0 & keep);
            Store4(d + j * 4 + 16, t1 & keep);
        } else if (all(c0 & c1)) {
            continue;
        } else if (all((o0 | c0) & (o1 | c1))) {
            Store4(d + j * 4, (t0 & keep & o0) | (Load4(d + j * 4) & ~o0));
            Store4(d + j * 4 + 16, (t1 & keep & o1) | (Load4(d + j * 4 + 16) & ~o1));
        } else {
            for (size_t m = j; m < j + 8; ++m) one(m);
        }
    }
    for (; j < n; ++j) one(j);
}

// The same on 16-bit A1R5G5B5 texels, bit 15 being the alpha. Conv turns
// the texel into the target pixel as decoding and encoding would.
using u16x8 = uint16_t __attribute__((vector_size(16)));
using i16x8 = int16_t __attribute__((vector_size(16)));
template <class Conv>
inline void CopyRow16(uint8_t* d, const uint8_t* sp, size_t n, Conv conv) {
    size_t j = 0;
    for (; j + 8 <= n; j += 8) {
        u16x8 t;
        std::memcpy(&t, sp + j * 2, 16);
        t = conv(t);
        std::memcpy(d + j * 2, &t, 16);
    }
    for (; j < n; ++j) StorePx<PixelFormat::RGB565>(d + j * 2, conv(LoadPx<PixelFormat::RGB565>(sp + j * 2)));
}
template <class Conv>
inline void SelectRow16(uint8_t* d, const uint8_t* sp, size_t n, Conv conv) {
    size_t j = 0;
    for (; j + 8 <= n; j += 8) {
        u16x8 t, o;
        std::memcpy(&t, sp + j * 2, 16);
        std::memcpy(&o, d + j * 2, 16);
        const u16x8 m = (u16x8)((i16x8)t >> 15);
        t = (conv(t) & m) | (o & ~m);
        std::memcpy(d + j * 2, &t, 16);
    }
    for (; j < n; ++j) {
        const uint32_t t = LoadPx<PixelFormat::RGB565>(sp + j * 2);
        if (t & 0x8000u) StorePx<PixelFormat::RGB565>(d + j * 2, conv(t));
    }
}
// A1R5G5B5 -> R5G6B5 with the green widened and narrowed again (the low
// bit of six repeats the top bit of five).
struct Conv1555To565 {
    template <class V>
    V operator()(V t) const {
        return V(((t & 0x7FE0u) << 1) | ((t >> 4) & 0x20u) | (t & 0x1Fu));
    }
};
struct ConvSame {
    template <class V>
    V operator()(V t) const {
        return t;
    }
};

// Texel columns or rows a stretched run reads, worked out once per run and
// chunked so that no run needs memory beyond a fixed buffer.
constexpr size_t kChunk = 512;

// floor(n / d) wrapped into [0, size) for n = n0, n0 + step, n0 + 2 step, ...
// with d > 0: one division to start, then additions only.
template <class I>
struct TexelStepT {
    int w = 0, dw = 0, size = 1;
    I r = 0, dr = 0, d = 1;

    TexelStepT(i128 n0, i128 step, i128 den, int sz) : size(sz > 0 ? sz : 1), d(I(den)) {
        const i64 q = FloorDiv(n0, den), dq = FloorDiv(step, den);
        r = I(n0 - i128(q) * den);
        dr = I(step - i128(dq) * den);
        w = Wrap(q, size);
        dw = Wrap(dq, size);
    }
    int Value() const { return w; }
    void Next() {
        w += dw;
        r += dr;
        if (r >= d) r -= d, ++w;
        if (w >= size) w -= size;
    }
};
using TexelStep = TexelStepT<i128>;
// The same in 64 bits, for a denominator below 2^62 (the remainders stay
// below it, and their sum below 2^63).
using TexelStep64 = TexelStepT<i64>;
constexpr i128 kStep64Limit = i128(1) << 62;

// The texels of one stretched run, read once for the rows that share them.
struct TexelRun {
    int ty = -1;
    alignas(16) uint8_t bytes[kChunk * 4];
};

// One texel through the stage and the blend into one target pixel. The
// shortcuts give exactly what the full rules give: a white modulating
// vertex colour leaves the texel as it is, alpha 255 replaces, alpha 0 keeps.
template <PixelFormat TF, PixelFormat DF>
struct Shader {
    const QuadParams& q;
    cImage& target;
    Argb diffuse;
    bool identity;  // stage output = texel
    const cImage* tex;
    Argb flat;  // without a texture: the stage output, the same for every pixel

    inline void Put(int px, int py, int tx, int ty) const {
        if constexpr (TF == PixelFormat::ARGB8888 &&
                      (DF == PixelFormat::XRGB8888 || DF == PixelFormat::ARGB8888)) {
            if (identity) {
                // The texel as it is: replaced at alpha 255, kept at 0.
                const uint32_t t = LoadPx<TF>(tex->Row(ty) + tx * 4);
                uint8_t* d = target.Row(py) + px * 4;
                constexpr uint32_t keep = DF == PixelFormat::XRGB8888 ? 0xFFFFFFu : 0xFFFFFFFFu;
                const uint32_t a = t >> 24;
                if (!q.blend || a == 255) StorePx<DF>(d, t & keep);
                else if (a != 0)
                    StorePx<DF>(d, Enc<DF>(BlendSrcAlpha(Dec<TF>(t), Dec<DF>(LoadPx<DF>(d)))));
                return;
            }
        }
        Argb t{255, 255, 255, 255};  // no texture reads opaque white
        if (tex) t = Dec<TF>(LoadPx<TF>(tex->Row(ty) + tx * BytesOf(TF)));
        Argb c = identity ? t : StageColor(q.stage, t, diffuse);
        uint8_t* d = target.Row(py) + px * BytesOf(DF);
        if (q.blend) {
            if (c.a == 0) return;
            if (c.a != 255) c = BlendSrcAlpha(c, Dec<DF>(LoadPx<DF>(d)));
        }
        StorePx<DF>(d, Enc<DF>(c));
    }

    // Pixels x0 .. x1 of row py with the texel steppers s and u (advanced
    // past the run): the texel as it is (32 bits, or A1R5G5B5 into 16 bits)
    // in one loop, anything else through Put.
    template <class T>
    inline void PutSteps(i64 py, i64 x0, i64 x1, T& s, T& u) const {
        if constexpr (TF == PixelFormat::ARGB8888 &&
                      (DF == PixelFormat::XRGB8888 || DF == PixelFormat::ARGB8888)) {
            if (identity) {
                constexpr uint32_t keep = DF == PixelFormat::XRGB8888 ? 0xFFFFFFu : 0xFFFFFFFFu;
                const uint8_t* texBits = tex->Row(0);
                const size_t pitch = size_t(tex->Pitch());
                uint8_t* d = target.Row(int(py)) + size_t(x0) * 4;
                const bool blend = q.blend;
                for (i64 px = x0; px <= x1; ++px, d += 4, s.Next(), u.Next()) {
                    const uint32_t t = LoadPx<TF>(texBits + size_t(u.Value()) * pitch + size_t(s.Value()) * 4);
                    const uint32_t a = t >> 24;
                    if (!blend || a == 255) StorePx<DF>(d, t & keep);
                    else if (a != 0)
                        StorePx<DF>(d, Enc<DF>(BlendSrcAlpha(Dec<TF>(t), Dec<DF>(LoadPx<DF>(d)))));
                }
                return;
            }
        }
        if constexpr (TF == PixelFormat::ARGB1555 && (DF == PixelFormat::ARGB1555 || DF == PixelFormat::RGB565)) {
            if (identity) {
                // Alpha is 0 or 255: each pixel is kept or replaced.
                using C = std::conditional_t<DF == PixelFormat::RGB565, Conv1555To565, ConvSame>;
                const uint8_t* texBits = tex->Row(0);
                const size_t pitch = size_t(tex->Pitch());
                uint8_t* d = target.Row(int(py)) + size_t(x0) * 2;
                const bool blend = q.blend;
                for (i64 px = x0; px <= x1; ++px, d += 2, s.Next(), u.Next()) {
                    const uint32_t t = LoadPx<TF>(texBits + size_t(u.Value()) * pitch + size_t(s.Value()) * 2);
                    if (!blend || (t & 0x8000u)) StorePx<DF>(d, C{}(t));
                }
                return;
            }
        }
        for (i64 px = x0; px <= x1; ++px, s.Next(), u.Next()) Put(int(px), int(py), s.Value(), u.Value());
    }

    // A run of n pixels from column x of row py, texel columns tx, row ty.
    // The common cases (a constant colour; the texel as it is, 32 bits or
    // A1R5G5B5 into 16 bits) are done on the packed values; the result is
    // the one Put gives. Stretched runs read their texels into the buffer
    // first, once for rows that read the same texel row.
    inline void PutRow(int py, int x, size_t n, const int* tx, int ty, bool contiguous, TexelRun& run) const {
        if (!tex) {
            // Opaque or unblended: a plain fill.
            if (q.blend && flat.a == 0) return;
            uint8_t* d = target.Row(py) + size_t(x) * BytesOf(DF);
            if (!q.blend || flat.a == 255) {
                FillRow<BytesOf(DF)>(d, n, Enc<DF>(flat));
                return;
            }
            for (size_t j = 0; j < n; ++j, d += BytesOf(DF))
                StorePx<DF>(d, Enc<DF>(BlendSrcAlpha(flat, Dec<DF>(LoadPx<DF>(d)))));
            return;
        }
        constexpr bool k1555 =
            TF == PixelFormat::ARGB1555 && (DF == PixelFormat::ARGB1555 || DF == PixelFormat::RGB565);
        constexpr bool k8888 =
            TF == PixelFormat::ARGB8888 && (DF == PixelFormat::XRGB8888 || DF == PixelFormat::ARGB8888);
        if constexpr (k1555 || k8888) {
            if (identity) {
                const uint8_t* srow = tex->Row(ty);
                uint8_t* d = target.Row(py) + size_t(x) * BytesOf(DF);
                const uint8_t* sp = srow + size_t(tx[0]) * BytesOf(TF);
                if (!contiguous) {
                    if (run.ty != ty || tex == &target) {
                        for (size_t j = 0; j < n; ++j)
                            std::memcpy(run.bytes + j * BytesOf(TF), srow + size_t(tx[j]) * BytesOf(TF), BytesOf(TF));
                        run.ty = ty;
                    }
                    sp = run.bytes;
                }
                if constexpr (k8888) {
                    TexelRow32<DF>(d, sp, n, q.blend);
                } else {
                    // Alpha is 0 or 255: each pixel is kept or replaced.
                    using C = std::conditional_t<DF == PixelFormat::RGB565, Conv1555To565, ConvSame>;
                    if (q.blend) SelectRow16(d, sp, n, C{});
                    else CopyRow16(d, sp, n, C{});
                }
                return;
            }
        }
        if constexpr (k8888) {
            StageRow32(q.stage, q.diffuse, q.blend, tex->Row(ty), tx, n, contiguous, tex == &target,
                       target.Row(py) + size_t(x) * 4, DF == PixelFormat::ARGB8888);
            return;
        }
        for (size_t j = 0; j < n; ++j) Put(x + int(j), py, tx[j], ty);
    }
};

template <class F>
void WithShader(const QuadParams& q, cImage& target, F&& f) {
    const cImage* tex = q.texture && q.texture->Width() > 0 && q.texture->Height() > 0 ? q.texture : nullptr;
    const Argb dif = UnpackArgb(q.diffuse);
    const StageState& st = q.stage;
    const bool whiteMod = q.diffuse == 0xFFFFFFFFu;
    const bool colourIsTexel = (st.colorOp == TOP_SELECTARG1 && st.colorArg1 == TA_TEXTURE) ||
                               (st.colorOp == TOP_MODULATE && whiteMod && st.colorArg1 == TA_TEXTURE &&
                                st.colorArg2 == TA_DIFFUSE);
    const bool alphaIsTexel = (st.alphaOp == TOP_SELECTARG1 && st.alphaArg1 == TA_TEXTURE) ||
                              (st.alphaOp == TOP_MODULATE && whiteMod && st.alphaArg1 == TA_TEXTURE &&
                               st.alphaArg2 == TA_DIFFUSE);
    const bool identity = tex && colourIsTexel && alphaIsTexel;
    // Without a texture every texel reads opaque white.
    const Argb flat = StageColor(st, Argb{255, 255, 255, 255}, dif);
    auto withDst = [&]<PixelFormat TF>() {
        switch (target.Format()) {
        case PixelFormat::RGB565: f(Shader<TF, PixelFormat::RGB565>{q, target, dif, identity, tex, flat}); break;
        case PixelFormat::ARGB1555: f(Shader<TF, PixelFormat::ARGB1555>{q, target, dif, identity, tex, flat}); break;
        case PixelFormat::XRGB8888: f(Shader<TF, PixelFormat::XRGB8888>{q, target, dif, identity, tex, flat}); break;
        case PixelFormat::ARGB8888: f(Shader<TF, PixelFormat::ARGB8888>{q, target, dif, identity, tex, flat}); break;
        default: break;
        }
    };
    switch (tex ? tex->Format() : PixelFormat::ARGB8888) {
    case PixelFormat::RGB565: withDst.template operator()<PixelFormat::RGB565>(); break;
    case PixelFormat::ARGB1555: withDst.template operator()<PixelFormat::ARGB1555>(); break;
    case PixelFormat::XRGB8888: withDst.template operator()<PixelFormat::XRGB8888>(); break;
    case PixelFormat::ARGB8888: withDst.template operator()<PixelFormat::ARGB8888>(); break;
    default: break;  // textures are never 8- or 24-bit
    }
}

template <class S>
void DrawTriangle(const S& sh, FV a, FV b, FV c, bool perPixel) {
    i64 area = Edge(a, b, c.x, c.y);
    if (area == 0) return;
    if (area < 0) std::swap(b, c), area = -area;
    cImage& t = sh.target;
    const i64 minX = std::max<i64>(0, (std::min({a.x, b.x, c.x}) + kSub - 1) / kSub - 1);
    const i64 maxX = std::min<i64>(t.Width() - 1, std::max({a.x, b.x, c.x}) / kSub + 1);
    const i64 minY = std::max<i64>(0, (std::min({a.y, b.y, c.y}) + kSub - 1) / kSub - 1);
    const i64 maxY = std::min<i64>(t.Height() - 1, std::max({a.y, b.y, c.y}) / kSub + 1);
    if (minX > maxX) return;
    const bool tl0 = TopLeft(b, c), tl1 = TopLeft(c, a), tl2 = TopLeft(a, b);
    const int tw = sh.tex ? sh.tex->Width() : 1, th = sh.tex ? sh.tex->Height() : 1;
    const i128 d = i128(area) * kSub;
    // The edge functions and the texel numerators are linear in x: step them
    // along the row.
    const i64 e0 = -(c.y - b.y) * kSub, e1 = -(a.y - c.y) * kSub, e2 = -(b.y - a.y) * kSub;
    const i128 stepS = i128(e0) * a.s + i128(e1) * b.s + i128(e2) * c.s;
    const i128 stepT = i128(e0) * a.t + i128(e1) * b.t + i128(e2) * c.t;
    const i64 ek[3] = {e0, e1, e2};
    const i64 tk[3] = {tl0 ? 0 : 1, tl1 ? 0 : 1, tl2 ? 0 : 1};
    for (i64 py = minY; py <= maxY; ++py) {
        const i64 X = minX * kSub, Y = py * kSub;
        const i64 wk[3] = {Edge(b, c, X, Y), Edge(c, a, X, Y), Edge(a, b, X, Y)};
        if (perPixel) {
            i64 w0 = wk[0], w1 = wk[1], w2 = wk[2];
            TexelStep s(i128(w0) * a.s + i128(w1) * b.s + i128(w2) * c.s, stepS, d, tw);
            TexelStep u(i128(w0) * a.t + i128(w1) * b.t + i128(w2) * c.t, stepT, d, th);
            for (i64 px = minX; px <= maxX; ++px, w0 += e0, w1 += e1, w2 += e2, s.Next(), u.Next()) {
                if (w0 < 0 || w1 < 0 || w2 < 0) continue;
                if ((w0 == 0 && !tl0) || (w1 == 0 && !tl1) || (w2 == 0 && !tl2)) continue;
                sh.Put(int(px), int(py), s.Value(), u.Value());
            }
            continue;
        }
        // The pixels inside are those where every edge function w = W + e k
        // (k pixels from minX) is at least t (0 on a top or left edge, else
        // 1): one run per row, found by division instead of testing each.
        i64 k0 = 0, k1 = maxX - minX;
        for (int k = 0; k < 3 && k0 <= k1; ++k) {
            const i128 W = wk[k], e = ek[k], t = tk[k];
            if (e > 0) k0 = i64(std::max<i128>(k0, std::min<i128>(-i128(FloorDiv(W - t, e)), k1 + 1)));
            else if (e < 0) k1 = i64(std::min<i128>(k1, std::max<i128>(FloorDiv(W - t, -e), -1)));
            else if (W < t) k1 = -1;
        }
        if (k0 > k1) continue;
        const i128 w0 = wk[0] + i128(e0) * k0, w1 = wk[1] + i128(e1) * k0, w2 = wk[2] + i128(e2) * k0;
        auto run = [&]<class T>() {
            T s(w0 * a.s + w1 * b.s + w2 * c.s, stepS, d, tw);
            T u(w0 * a.t + w1 * b.t + w2 * c.t, stepT, d, th);
            sh.PutSteps(py, minX + k0, minX + k1, s, u);
        };
        if (d < kStep64Limit) run.template operator()<TexelStep64>();
        else run.template operator()<TexelStep>();
    }
}

// Strip TL, BL, TR, BR of an axis-aligned rectangle whose s runs along x and
// t along y.
bool AxisAligned(const FV v[4]) {
    return v[0].x == v[1].x && v[2].x == v[3].x && v[0].y == v[2].y && v[1].y == v[3].y && v[0].s == v[1].s &&
           v[2].s == v[3].s && v[0].t == v[2].t && v[1].t == v[3].t && v[0].x != v[2].x && v[0].y != v[1].y;
}

// Smallest pixel index whose centre (index * kSub) is at or after v.
i64 FirstCentreAtOrAfter(i64 v) { return v >= 0 ? (v + kSub - 1) / kSub : -((-v) / kSub); }

template <class S>
void DrawAxisAligned(const S& sh, const FV v[4]) {
    // Left/right and top/bottom edges with their coordinates.
    FV l = v[0], r = v[2];
    if (l.x > r.x) std::swap(l, r);
    FV tp = v[0], bt = v[1];
    if (tp.y > bt.y) std::swap(tp, bt);
    const cImage& t = sh.target;
    // Pixel centre X covered when l.x <= X < r.x (left edge in, right out).
    const i64 x0 = std::max<i64>(0, FirstCentreAtOrAfter(l.x));
    const i64 x1 = std::min<i64>(t.Width(), FirstCentreAtOrAfter(r.x));
    const i64 y0 = std::max<i64>(0, FirstCentreAtOrAfter(tp.y));
    const i64 y1 = std::min<i64>(t.Height(), FirstCentreAtOrAfter(bt.y));
    if (x0 >= x1 || y0 >= y1) return;
    const int tw = sh.tex ? sh.tex->Width() : 1, th = sh.tex ? sh.tex->Height() : 1;
    // Texel column of pixel px: floor((l.s (r.x - l.x) + (X - l.x)(r.s - l.s)) / ((r.x - l.x) kSub)),
    // and the rows likewise.
    const i128 dx = i128(r.x - l.x) * kSub, dy = i128(bt.y - tp.y) * kSub;
    TexelStep sx(i128(l.s) * (r.x - l.x) + i128(x0 * kSub - l.x) * (r.s - l.s), i128(kSub) * (r.s - l.s), dx, tw);
    const TexelStep sy0(i128(tp.t) * (bt.y - tp.y) + i128(y0 * kSub - tp.y) * (bt.t - tp.t),
                        i128(kSub) * (bt.t - tp.t), dy, th);
    int tx[kChunk];
    for (i64 cx = x0; cx < x1; cx += i64(kChunk)) {
        const size_t n = size_t(std::min<i64>(i64(kChunk), x1 - cx));
        bool contiguous = true;
        for (size_t j = 0; j < n; ++j, sx.Next()) {
            tx[j] = sx.Value();
            contiguous = contiguous && tx[j] == tx[0] + int(j);
        }
        TexelStep sy = sy0;
        TexelRun run;
        for (i64 py = y0; py < y1; ++py, sy.Next())
            sh.PutRow(int(py), int(cx), n, tx, sy.Value(), contiguous, run);
    }
}

}  // namespace

Argb StageColor(const StageState& st, Argb tex, Argb diffuse) {
    const Argb f = UnpackArgb(st.tfactor);
    const Argb c1 = Arg(st.colorArg1, tex, diffuse, f), c2 = Arg(st.colorArg2, tex, diffuse, f);
    const Argb a1 = Arg(st.alphaArg1, tex, diffuse, f), a2 = Arg(st.alphaArg2, tex, diffuse, f);
    Argb out;
    out.r = Op(st.colorOp, c1.r, c2.r, f.a, diffuse.r);
    out.g = Op(st.colorOp, c1.g, c2.g, f.a, diffuse.g);
    out.b = Op(st.colorOp, c1.b, c2.b, f.a, diffuse.b);
    out.a = Op(st.alphaOp, a1.a, a2.a, f.a, diffuse.a);
    return out;
}

Argb BlendSrcAlpha(Argb s, Argb d) {
    const int a = s.a;
    auto mix = [a](uint8_t x, uint8_t y) { return uint8_t((int(x) * a + int(y) * (255 - a) + 127) / 255); };
    return Argb{mix(s.a, d.a), mix(s.r, d.r), mix(s.g, d.g), mix(s.b, d.b)};
}

void BlitQuadVertices(QuadVertex v[4], int x, int y, int w, int h, double sx, double sy, double sw, double sh) {
    const float l = float(x) - 0.5f, r = float(x + w) - 0.5f, t = float(y) - 0.5f, b = float(y + h) - 0.5f;
    v[0] = {l, t, float(sx), float(sy)};
    v[1] = {l, b, float(sx), float(sy + sh)};
    v[2] = {r, t, float(sx + sw), float(sy)};
    v[3] = {r, b, float(sx + sw), float(sy + sh)};
}

void DrawQuad(cImage& target, const QuadParams& q, QuadPath path) {
    if (target.Format() == PixelFormat::Index8 || target.Format() == PixelFormat::RGB888) return;
    FV v[4];
    for (int i = 0; i < 4; ++i) v[i] = {Snap(q.v[i].x), Snap(q.v[i].y), Snap(q.v[i].s), Snap(q.v[i].t)};
    const bool fast = path == QuadPath::Auto && AxisAligned(v);
    WithShader(q, target, [&](const auto& sh) {
        if (fast) {
            DrawAxisAligned(sh, v);
        } else {
            const bool perPixel = path == QuadPath::PerPixel;
            DrawTriangle(sh, v[0], v[1], v[2], perPixel);
            DrawTriangle(sh, v[1], v[3], v[2], perPixel);
        }
    });
}

}  // namespace gfx
