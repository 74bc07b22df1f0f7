#include "media/gfx/quad.h"

#include "media/gfx/stage_rows.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace gfx {
namespace {

using i64 = int64_t;
using i128 = __int128;

constexpr int kSub = 256;  // sub-pixel and sub-texel steps

i64 Snap(float v) { return i64(std::llround(double(v) * kSub)); }

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
using i32x4 = int32_t __attribute__((vector_size(16)));
inline u32x4 Load4(const uint8_t* p) {
    u32x4 v;
    std::memcpy(&v, p, 16);
    return v;
}
inline void Store4(uint8_t* p, u32x4 v) { std::memcpy(p, &v, 16); }

enum class RowAlpha { Opaque, Keyed, Mixed };

// Opaque: every alpha is 255. Keyed: every alpha is 0 or 255.
inline RowAlpha ClassifyAlpha(const uint8_t* sp, size_t n) {
    u32x4 all = {~0u, ~0u, ~0u, ~0u}, partial = {0, 0, 0, 0};
    size_t j = 0;
    for (; j + 4 <= n; j += 4) {
        const u32x4 t = Load4(sp + j * 4);
        all &= t;
        partial |= ((t >> 24) + 1) & 0xFEu;
    }
    uint32_t a = all[0] & all[1] & all[2] & all[3];
    uint32_t p = partial[0] | partial[1] | partial[2] | partial[3];
    for (; j < n; ++j) {
        uint32_t t;
        std::memcpy(&t, sp + j * 4, 4);
        a &= t;
        p |= ((t >> 24) + 1) & 0xFEu;
    }
    if ((a >> 24) == 255) return RowAlpha::Opaque;
    return p == 0 ? RowAlpha::Keyed : RowAlpha::Mixed;
}

inline void CopyRowMasked(uint8_t* d, const uint8_t* sp, size_t n, uint32_t keep) {
    size_t j = 0;
    for (; j + 4 <= n; j += 4) Store4(d + j * 4, Load4(sp + j * 4) & keep);
    for (; j < n; ++j) {
        uint32_t t;
        std::memcpy(&t, sp + j * 4, 4);
        t &= keep;
        std::memcpy(d + j * 4, &t, 4);
    }
}

// Alpha 255 replaces the pixel, alpha 0 keeps it.
inline void SelectRowByAlpha(uint8_t* d, const uint8_t* sp, size_t n, uint32_t keep) {
    size_t j = 0;
    for (; j + 4 <= n; j += 4) {
        const u32x4 t = Load4(sp + j * 4);
        const u32x4 m = (u32x4)((i32x4)t >> 31);
        Store4(d + j * 4, ((t & keep) & m) | (Load4(d + j * 4) & ~m));
    }
    for (; j < n; ++j) {
        uint32_t t, o;
        std::memcpy(&t, sp + j * 4, 4);
        std::memcpy(&o, d + j * 4, 4);
        const uint32_t m = uint32_t(int32_t(t) >> 31);
        t = ((t & keep) & m) | (o & ~m);
        std::memcpy(d + j * 4, &t, 4);
    }
}

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

    inline void Put(int px, int py, int tx, int ty) const {
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

    // A run of n pixels from column x of row py, texel columns tx, row ty.
    // The common case (the texel as it is, blended, 32 bits both sides) is
    // done on the packed values; the result is the one Put gives.
    inline void PutRow(int py, int x, size_t n, const int* tx, int ty, bool contiguous) const {
        if constexpr (TF == PixelFormat::ARGB8888 && (DF == PixelFormat::XRGB8888 || DF == PixelFormat::ARGB8888)) {
            if (identity && q.blend) {
                const uint8_t* srow = tex->Row(ty);
                uint8_t* d = target.Row(py) + size_t(x) * 4;
                {
                    // When all texels of the row are opaque the row is a
                    // plain copy; colour-keyed sprites have only alpha 0 and
                    // 255, so each pixel is kept or replaced. Stretched rows
                    // gather their texels first.
                    const uint8_t* sp = srow + size_t(tx[0]) * 4;
                    if (!contiguous) {
                        thread_local std::vector<uint32_t> gathered;
                        gathered.resize(n);
                        for (size_t j = 0; j < n; ++j) gathered[j] = LoadPx<TF>(srow + size_t(tx[j]) * 4);
                        sp = reinterpret_cast<const uint8_t*>(gathered.data());
                    }
                    const uint32_t keep = DF == PixelFormat::XRGB8888 ? 0xFFFFFFu : 0xFFFFFFFFu;
                    switch (ClassifyAlpha(sp, n)) {
                    case RowAlpha::Opaque: CopyRowMasked(d, sp, n, keep); return;
                    case RowAlpha::Keyed: SelectRowByAlpha(d, sp, n, keep); return;
                    case RowAlpha::Mixed: break;
                    }
                }
                for (size_t j = 0; j < n; ++j, d += 4) {
                    const uint32_t t = LoadPx<TF>(srow + size_t(tx[j]) * 4);
                    const uint32_t a = t >> 24;
                    if (a == 0) continue;
                    if (a == 255) {
                        StorePx<DF>(d, DF == PixelFormat::XRGB8888 ? t & 0xFFFFFFu : t);
                        continue;
                    }
                    StorePx<DF>(d, Enc<DF>(BlendSrcAlpha(Dec<TF>(t), Dec<DF>(LoadPx<DF>(d)))));
                }
                return;
            }
            StageRow32(q.stage, q.diffuse, q.blend, tex ? tex->Row(ty) : nullptr, tx, n, contiguous, tex == &target,
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
    auto withDst = [&]<PixelFormat TF>() {
        switch (target.Format()) {
        case PixelFormat::RGB565: f(Shader<TF, PixelFormat::RGB565>{q, target, dif, identity, tex}); break;
        case PixelFormat::ARGB1555: f(Shader<TF, PixelFormat::ARGB1555>{q, target, dif, identity, tex}); break;
        case PixelFormat::XRGB8888: f(Shader<TF, PixelFormat::XRGB8888>{q, target, dif, identity, tex}); break;
        case PixelFormat::ARGB8888: f(Shader<TF, PixelFormat::ARGB8888>{q, target, dif, identity, tex}); break;
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
void DrawTriangle(const S& sh, FV a, FV b, FV c) {
    i64 area = Edge(a, b, c.x, c.y);
    if (area == 0) return;
    if (area < 0) std::swap(b, c), area = -area;
    cImage& t = sh.target;
    const i64 minX = std::max<i64>(0, (std::min({a.x, b.x, c.x}) + kSub - 1) / kSub - 1);
    const i64 maxX = std::min<i64>(t.Width() - 1, std::max({a.x, b.x, c.x}) / kSub + 1);
    const i64 minY = std::max<i64>(0, (std::min({a.y, b.y, c.y}) + kSub - 1) / kSub - 1);
    const i64 maxY = std::min<i64>(t.Height() - 1, std::max({a.y, b.y, c.y}) / kSub + 1);
    const bool tl0 = TopLeft(b, c), tl1 = TopLeft(c, a), tl2 = TopLeft(a, b);
    for (i64 py = minY; py <= maxY; ++py) {
        for (i64 px = minX; px <= maxX; ++px) {
            const i64 X = px * kSub, Y = py * kSub;
            const i64 w0 = Edge(b, c, X, Y), w1 = Edge(c, a, X, Y), w2 = Edge(a, b, X, Y);
            if (w0 < 0 || w1 < 0 || w2 < 0) continue;
            if ((w0 == 0 && !tl0) || (w1 == 0 && !tl1) || (w2 == 0 && !tl2)) continue;
            const i128 ns = i128(w0) * a.s + i128(w1) * b.s + i128(w2) * c.s;
            const i128 nt = i128(w0) * a.t + i128(w1) * b.t + i128(w2) * c.t;
            const i128 d = i128(area) * kSub;
            const int tw = sh.tex ? sh.tex->Width() : 1, th = sh.tex ? sh.tex->Height() : 1;
            sh.Put(int(px), int(py), Wrap(FloorDiv(ns, d), tw), Wrap(FloorDiv(nt, d), th));
        }
    }
}

// Strip TL, BL, TR, BR of an axis-aligned rectangle whose s runs along x and
// t along y.
bool AxisAligned(const FV v[4]) {
    return v[0].x == v[1].x && v[2].x == v[3].x && v[0].y == v[2].y && v[1].y == v[3].y && v[0].s == v[1].s &&
           v[2].s == v[3].s && v[0].t == v[2].t && v[1].t == v[3].t && v[0].x != v[2].x && v[0].y != v[1].y;
}

// Texels of consecutive pixel centres P = p x kSub along one axis of an
// axis-aligned quad, floor((s0 (hi - lo) + (P - lo)(s1 - s0)) / ((hi - lo)
// kSub)) wrapped into the texture: one division at the first pixel, then
// exact steps of the same quotient and remainder.
struct AxisStep {
    i128 rem = 0, den = 1, rs = 0;
    int u = 0, qsw = 0, size = 1;
    void Start(i64 lo, i64 hi, i64 s0, i64 s1, i64 p, int texSize) {
        den = i128(hi - lo) * kSub;
        const i128 num = i128(s0) * (hi - lo) + i128(p * kSub - lo) * (s1 - s0);
        const i64 q = FloorDiv(num, den);
        rem = num - i128(q) * den;
        const i128 step = i128(s1 - s0) * kSub;
        const i64 qs = FloorDiv(step, den);
        rs = step - i128(qs) * den;
        size = texSize;
        u = Wrap(q, size);
        qsw = Wrap(qs, size);
    }
    void Next() {
        rem += rs;
        int carry = 0;
        if (rem >= den) rem -= den, carry = 1;
        u += qsw + carry;
        if (u >= size) u -= size;
    }
};

template <class S>
void DrawAxisAligned(const S& sh, const FV v[4]) {
    // Left/right and top/bottom edges with their coordinates.
    FV l = v[0], r = v[2];
    if (l.x > r.x) std::swap(l, r);
    FV tp = v[0], bt = v[1];
    if (tp.y > bt.y) std::swap(tp, bt);
    const cImage& t = sh.target;
    // Pixel centre X covered when l.x <= X < r.x (left edge in, right out).
    const i64 x0 = std::max<i64>(0, (l.x + kSub - 1) / kSub - (l.x < 0 ? 1 : 0));
    const i64 y0 = std::max<i64>(0, (tp.y + kSub - 1) / kSub - (tp.y < 0 ? 1 : 0));
    thread_local std::vector<int> tx, ty;
    thread_local std::vector<i64> cols, rows;
    tx.clear(), ty.clear(), cols.clear(), rows.clear();
    AxisStep cs, rs;
    for (i64 px = x0; px < t.Width(); ++px) {
        const i64 X = px * kSub;
        if (X < l.x) continue;
        if (X >= r.x) break;
        if (cols.empty()) cs.Start(l.x, r.x, l.s, r.s, px, sh.tex ? sh.tex->Width() : 1);
        else cs.Next();
        cols.push_back(px);
        tx.push_back(cs.u);
    }
    for (i64 py = y0; py < t.Height(); ++py) {
        const i64 Y = py * kSub;
        if (Y < tp.y) continue;
        if (Y >= bt.y) break;
        if (rows.empty()) rs.Start(tp.y, bt.y, tp.t, bt.t, py, sh.tex ? sh.tex->Height() : 1);
        else rs.Next();
        rows.push_back(py);
        ty.push_back(rs.u);
    }
    // The covered columns are consecutive; the texel columns may be too.
    if (cols.empty()) return;
    bool contiguous = true;
    for (size_t j = 1; j < tx.size() && contiguous; ++j) contiguous = tx[j] == tx[0] + int(j);
    for (size_t i = 0; i < rows.size(); ++i)
        sh.PutRow(int(rows[i]), int(cols[0]), cols.size(), tx.data(), ty[i], contiguous);
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
            DrawTriangle(sh, v[0], v[1], v[2]);
            DrawTriangle(sh, v[1], v[3], v[2]);
        }
    });
}

}  // namespace gfx
