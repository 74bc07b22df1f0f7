#include "media/gfx/stage_rows.h"

#include <cstring>

namespace gfx {
namespace {

using u16x8 = uint16_t __attribute__((vector_size(16)));
using u8x16 = uint8_t __attribute__((vector_size(16)));
using u8x8 = uint8_t __attribute__((vector_size(8)));
using u32x4 = uint32_t __attribute__((vector_size(16)));

// One pixel (uint32_t) or four (u32x4) at an unaligned address.
template <class V = uint32_t>
inline V Load(const uint8_t* p) {
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
template <class V>
inline void Store(uint8_t* p, V v) {
    std::memcpy(p, &v, sizeof v);
}

// The stage as four 256-entry tables, for any set-up.
struct cStageTables {
    uint8_t a[256], r[256], g[256], b[256];
    void Build(const StageState& s, Argb d) {
        for (int x = 0; x < 256; ++x) {
            const uint8_t v = uint8_t(x);
            const Argb c = StageColor(s, Argb{v, v, v, v}, d);
            a[x] = c.a, r[x] = c.r, g[x] = c.g, b[x] = c.b;
        }
    }
    uint32_t Apply(uint32_t t) const {
        return uint32_t(a[t >> 24]) << 24 | uint32_t(r[t >> 16 & 255]) << 16 | uint32_t(g[t >> 8 & 255]) << 8 |
               b[t & 255];
    }
};

// A channel of the stage as (texel x m + k) / 255, where the operation and
// its arguments allow it (k includes the rounding 127).
struct Affine {
    bool ok = false;
    uint16_t m = 0, k = 0;
};
Affine AffineOf(int op, int arg1, int arg2, uint8_t v1, uint8_t v2, uint8_t factorA, uint8_t diffuse) {
    // v1, v2: the arguments' values when they are not the texture.
    const bool t1 = arg1 == TA_TEXTURE, t2 = arg2 == TA_TEXTURE;
    auto konst = [](int c) { return Affine{true, 0, uint16_t(c * 255 + 127)}; };
    switch (op) {
    case TOP_DISABLE: return konst(diffuse);
    case TOP_SELECTARG1: return t1 ? Affine{true, 255, 127} : konst(v1);
    case TOP_SELECTARG2: return t2 ? Affine{true, 255, 127} : konst(v2);
    case TOP_MODULATE:
        if (t1 && t2) return {};
        if (t1) return {true, v2, 127};
        if (t2) return {true, v1, 127};
        return {true, 0, uint16_t(v1 * v2 + 127)};
    case TOP_BLENDFACTORALPHA: {
        const int f = factorA, g = 255 - factorA;
        if (t1 && t2) return {true, 255, 127};
        if (t1) return {true, uint16_t(f), uint16_t(v2 * g + 127)};
        if (t2) return {true, uint16_t(g), uint16_t(v1 * f + 127)};
        return {true, 0, uint16_t(v1 * f + v2 * g + 127)};
    }
    case TOP_ADD:
    case TOP_SUBTRACT: return {};
    default: return t1 ? Affine{true, 255, 127} : konst(v1);  // the first argument
    }
}

uint8_t ArgValue(int which, int channel, Argb diffuse, Argb factor) {
    const Argb c = which == TA_TFACTOR ? factor : diffuse;
    switch (channel) {
    case 0: return c.b;
    case 1: return c.g;
    case 2: return c.r;
    default: return c.a;
    }
}

struct cStageRows {
    bool valid = false;
    StageState st;
    uint32_t diffuse = 0;
    bool affine = false;
    u16x8 m, k;  // per byte lane of two pixels: b, g, r, a
    cStageTables tab;

    bool Matches(const StageState& s, uint32_t dif) const {
        return valid && diffuse == dif && st.colorOp == s.colorOp && st.colorArg1 == s.colorArg1 &&
               st.colorArg2 == s.colorArg2 && st.alphaOp == s.alphaOp && st.alphaArg1 == s.alphaArg1 &&
               st.alphaArg2 == s.alphaArg2 && st.tfactor == s.tfactor;
    }
    void Build(const StageState& s, uint32_t dif) {
        const Argb d = UnpackArgb(dif), f = UnpackArgb(s.tfactor);
        tab.Build(s, d);
        affine = true;
        for (int ch = 0; ch < 4; ++ch) {
            const bool alpha = ch == 3;
            const int op = alpha ? s.alphaOp : s.colorOp;
            const int a1 = alpha ? s.alphaArg1 : s.colorArg1, a2 = alpha ? s.alphaArg2 : s.colorArg2;
            const Affine af = AffineOf(op, a1, a2, ArgValue(a1, ch, d, f), ArgValue(a2, ch, d, f), f.a,
                                       ArgValue(TA_DIFFUSE, ch, d, f));
            affine = affine && af.ok;
            m[ch] = m[ch + 4] = af.m;
            k[ch] = k[ch + 4] = af.k;
        }
        st = s;
        diffuse = dif;
        valid = true;
    }
};

inline u16x8 Div255(u16x8 v) { return (v + 1 + (v >> 8)) >> 8; }
inline u16x8 Lo(u8x16 v) {
    return __builtin_convertvector(__builtin_shufflevector(v, v, 0, 1, 2, 3, 4, 5, 6, 7), u16x8);
}
inline u16x8 Hi(u8x16 v) {
    return __builtin_convertvector(__builtin_shufflevector(v, v, 8, 9, 10, 11, 12, 13, 14, 15), u16x8);
}
inline u32x4 Join(u16x8 lo, u16x8 hi) {
    const u8x8 l = __builtin_convertvector(lo, u8x8), h = __builtin_convertvector(hi, u8x8);
    const u8x16 b = __builtin_shufflevector(l, h, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    u32x4 out;
    std::memcpy(&out, &b, 16);
    return out;
}
inline u8x16 Bytes(u32x4 v) {
    u8x16 b;
    std::memcpy(&b, &v, 16);
    return b;
}

// Four pixels: texels t (packed ARGB), target d (as stored). `force` is the
// alpha an XRGB target reads, `keep` the bits it stores.
inline u32x4 Four(u32x4 t, u32x4 d, const cStageRows& s, bool blend, uint32_t force, uint32_t keep) {
    const u8x16 tb = Bytes(t);
    const u16x8 cl = Div255(Lo(tb) * s.m + s.k), ch = Div255(Hi(tb) * s.m + s.k);
    if (!blend) return Join(cl, ch) & keep;
    const u8x16 db = Bytes(d | force);
    const u16x8 al = __builtin_shufflevector(cl, cl, 3, 3, 3, 3, 7, 7, 7, 7);
    const u16x8 ah = __builtin_shufflevector(ch, ch, 3, 3, 3, 3, 7, 7, 7, 7);
    const u16x8 ol = Div255(cl * al + Lo(db) * (255 - al) + 127);
    const u16x8 oh = Div255(ch * ah + Hi(db) * (255 - ah) + 127);
    const u32x4 out = Join(ol, oh) & keep;
    // A stage alpha of 0 leaves the pixel exactly as it was stored.
    const u32x4 zero = (u32x4)((Join(cl, ch) >> 24) == 0);
    return (d & zero) | (out & ~zero);
}

}  // namespace

void StageRow32(const StageState& st, uint32_t diffuse, bool blend, const uint8_t* texRow, const int* tx, size_t n,
                bool contiguous, bool sameImage, uint8_t* target, bool argbTarget) {
    thread_local cStageRows rows;
    if (!rows.Matches(st, diffuse)) rows.Build(st, diffuse);
    const uint32_t keep = argbTarget ? 0xFFFFFFFFu : 0x00FFFFFFu;
    const uint32_t force = argbTarget ? 0u : 0xFF000000u;  // an XRGB pixel reads alpha 255
    size_t j = 0;
    // Four pixels at a time, unless the texture is the target and a texel
    // could be one this row has already written.
    const uint8_t* t0 = texRow ? texRow + size_t(tx[0]) * 4 : nullptr;
    if (rows.affine && (!texRow || !sameImage || (contiguous && t0 == target))) {
        for (; j + 4 <= n; j += 4) {
            u32x4 t = {~0u, ~0u, ~0u, ~0u};  // no texture: opaque white
            if (texRow && contiguous) t = Load<u32x4>(t0 + j * 4);
            else if (texRow)
                for (int i = 0; i < 4; ++i) t[i] = Load(texRow + size_t(tx[j + i]) * 4);
            Store(target + j * 4, Four(t, Load<u32x4>(target + j * 4), rows, blend, force, keep));
        }
    }
    for (; j < n; ++j) {
        uint8_t* d = target + j * 4;
        const uint32_t c = rows.tab.Apply(texRow ? Load(texRow + size_t(tx[j]) * 4) : 0xFFFFFFFFu);
        if (blend) {
            const uint32_t a = c >> 24;
            if (a == 0) continue;
            if (a != 255) {
                Store(d, BlendPacked(c, Load(d) | force) & keep);
                continue;
            }
        }
        Store(d, c & keep);
    }
}

}  // namespace gfx
