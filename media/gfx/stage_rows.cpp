#include "media/gfx/stage_rows.h"

#include <cstring>

namespace gfx {
namespace {

struct cStageTables {
    bool valid = false;
    StageState st;
    uint32_t diffuse = 0;
    uint8_t a[256], r[256], g[256], b[256];

    void Build(const StageState& s, uint32_t dif) {
        const Argb d = UnpackArgb(dif);
        for (int x = 0; x < 256; ++x) {
            const uint8_t v = uint8_t(x);
            const Argb c = StageColor(s, Argb{v, v, v, v}, d);
            a[x] = c.a, r[x] = c.r, g[x] = c.g, b[x] = c.b;
        }
        st = s;
        diffuse = dif;
        valid = true;
    }
    bool Matches(const StageState& s, uint32_t dif) const {
        return valid && diffuse == dif && st.colorOp == s.colorOp && st.colorArg1 == s.colorArg1 &&
               st.colorArg2 == s.colorArg2 && st.alphaOp == s.alphaOp && st.alphaArg1 == s.alphaArg1 &&
               st.alphaArg2 == s.alphaArg2 && st.tfactor == s.tfactor;
    }
    uint32_t Apply(uint32_t t) const {
        return uint32_t(a[t >> 24]) << 24 | uint32_t(r[t >> 16 & 255]) << 16 | uint32_t(g[t >> 8 & 255]) << 8 |
               b[t & 255];
    }
};

inline uint32_t Load(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
inline void Store(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }

}  // namespace

void StageRow32(const StageState& st, uint32_t diffuse, bool blend, const uint8_t* texRow, const int* tx, size_t n,
                uint8_t* target, bool argbTarget) {
    thread_local cStageTables tab;
    if (!tab.Matches(st, diffuse)) tab.Build(st, diffuse);
    const uint32_t keep = argbTarget ? 0xFFFFFFFFu : 0x00FFFFFFu;
    const uint32_t dstAlpha = argbTarget ? 0u : 0xFF000000u;  // an XRGB pixel reads alpha 255
    if (!texRow) {
        const uint32_t c = tab.Apply(0xFFFFFFFFu);
        const uint32_t a = c >> 24;
        if (blend && a == 0) return;
        if (!blend || a == 255) {
            for (size_t j = 0; j < n; ++j) Store(target + j * 4, c & keep);
            return;
        }
        for (size_t j = 0; j < n; ++j) {
            uint8_t* d = target + j * 4;
            Store(d, BlendPacked(c, Load(d) | dstAlpha) & keep);
        }
        return;
    }
    for (size_t j = 0; j < n; ++j) {
        uint8_t* d = target + j * 4;
        const uint32_t c = tab.Apply(Load(texRow + size_t(tx[j]) * 4));
        if (blend) {
            const uint32_t a = c >> 24;
            if (a == 0) continue;
            if (a != 255) {
                Store(d, BlendPacked(c, Load(d) | dstAlpha) & keep);
                continue;
            }
        }
        Store(d, c & keep);
    }
}

}  // namespace gfx
