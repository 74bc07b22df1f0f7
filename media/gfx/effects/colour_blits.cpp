#include "media/gfx/effects/colour_blits.h"

#include <algorithm>
#include <vector>

#include "base/log.h"
#include "media/gfx/dd_surface.h"
#include "media/gfx/effects/pixel_pass.h"
#include "platform/cp932.h"

using namespace gfx;
using namespace gfx::fx;

namespace {

// Texture-factor alpha of the quad road per level (texel weight).
uint32_t QuadTexelWeight(int level) {
    switch (level) {
    case 1: return 128;
    case 2: return 80;
    case 3: return 48;
    case 4: return 16;
    default: return 0;
    }
}
// Weight of the picture on the software road per level.
int SoftTexelWeight(int level) {
    switch (level) {
    case 1: return 128;
    case 2: return 64;
    case 3: return 32;
    case 4: return 16;
    default: return 0;
    }
}

// Direct3D: the source rectangle adjusted for mirrored sheets (read from the
// alias, so first), then aliases and the back-buffer redirection.
void PrepareD3D(DDSURFACEDATA*& dst, DDSURFACEDATA*& src, int& sx, int& sy, int& sw, int& sh) {
    DDAdjustMirror(src, sx, sy, sw, sh);
    ResolveSurfaces(dst, src);
}

// The blit quad into the source's vertex buffer; false when it has none.
bool PutQuad(int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int sw, int sh, uint32_t diffuse) {
    if (!src->lpDT || !src->lpDT->lpVB) return false;
    DDMakeQuad(src->lpDT->lpVB->v, x, y, w, h, sx, sy, sw, sh, src->nTexWidth, src->nTexHeight, diffuse);
    return true;
}

StageState ModulateStage() {
    StageState st = CurrentStage();
    st.colorOp = TOP_MODULATE;
    st.colorArg1 = TA_TEXTURE;
    st.colorArg2 = TA_DIFFUSE;
    st.alphaOp = TOP_MODULATE;
    st.alphaArg1 = TA_TEXTURE;
    st.alphaArg2 = TA_DIFFUSE;
    return st;
}

// The mixing step (c + t) >> 1 applied `level` times. The distance to the
// tint halves each step, so after 32 steps nothing changes any more.
inline uint32_t HalfToward(uint32_t c, uint32_t t, int level) {
    for (int k = std::min(level, 32); k > 0; --k) c = (c + t) >> 1;
    return c;
}

// Index after `level` look-ups in the blend table's row of the tint, for
// every index. Long chains are cut at their cycle, so any level is cheap.
void BlendChain(const uint8_t* table, int ci, int level, uint8_t out[256]) {
    for (int p = 0; p < 256; ++p) {
        auto next = [&](int v) { return int(table[size_t(v) * 256 + size_t(ci)]); };
        int v = p;
        const int direct = std::min(level, 256);
        for (int k = 0; k < direct; ++k) v = next(v);
        if (level > 256) {
            // After 256 steps v is on its cycle: walk the rest modulo its length.
            int len = 1;
            for (int w = next(v); w != v; w = next(w)) ++len;
            for (int k = (level - 256) % len; k > 0; --k) v = next(v);
        }
        out[p] = uint8_t(v);
    }
}

// What every value of each source channel becomes, already shifted into its
// place: a pixel is then three look-ups. Built once per call with the same
// arithmetic a pixel-by-pixel loop would use.
struct cChannelMaps {
    uint32_t r[256], g[256], b[256];
    template <class FR, class FG, class FB>
    void Build(const PixelLayout& out, FR fr, FG fg, FB fb) {
        for (uint32_t c = 0; c < 256; ++c) r[c] = fr(c) << out.rs, g[c] = fg(c) << out.gs, b[c] = fb(c) << out.bs;
    }
    uint32_t operator()(uint32_t px, const PixelLayout& in) const {
        return r[px >> in.rs & uint32_t(in.rm)] | g[px >> in.gs & uint32_t(in.gm)] | b[px >> in.bs & uint32_t(in.bm)];
    }
};

// Byte layout of 32-bit pixels: byte 2 red, 1 green, 0 blue.
constexpr PixelLayout kBytes{16, 8, 0, 24, 255, 255, 255, 255};

bool ColourChangeD3DSoft(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flag,
                         const uint8_t tint[3], int level, const DDBLTPARAM* param) {
    cPixelPass pass;
    if (!pass.Lock(dst, src, x, y, w, h, sx, sy)) return false;
    const cColourAdd add = cColourAdd::From(param);
    const float a = float(SoftTexelWeight(level)) / 255.0f;
    // One channel: the colour addition, then the mix toward the tint.
    auto mix = [&](uint32_t c, uint32_t addend, uint32_t max, uint32_t t) {
        if (add.on) c = std::min(c + addend, max);
        if (level == 1) return (c + t) >> 1;
        return uint32_t(int(float(c) * a + (1.0f - a) * float(t)));
    };
    cChannelMaps maps;
    switch (CurrentDepth()) {
    case Depth::D3D16: {
        const PixelLayout& l = g_SurfLayout;
        const cWriter16 wr(dst);
        const uint32_t tr = ScaleDown(tint[0], l.rm), tg = ScaleDown(tint[1], l.gm), tb = ScaleDown(tint[2], l.bm);
        maps.Build(
            wr.l, [&](uint32_t c) { return mix(c, add.r, add.rm, tr); },
            [&](uint32_t c) {
                // The six-bit green of the full-screen buffer: doubled, except
                // at level 1, where it is the sum itself.
                if (!wr.fullScreen) return mix(c, add.g, add.gm, tg);
                if (level == 1) return (add.on ? std::min(c + add.g, add.gm) : c) + tg;
                return mix(c, add.g, add.gm, tg) * 2;
            },
            [&](uint32_t c) { return mix(c, add.b, add.bm, tb); });
        pass.ForEach<2, 2>([&](uint8_t* d, const uint8_t* s) {
            const uint32_t p = Load16(s);
            if (flag == 1 && Transparent16(p)) return;
            Store16(d, maps(p, l) | wr.alphaBit);
        });
        break;
    }
    case Depth::D3D32:
        maps.Build(
            kBytes, [&](uint32_t c) { return mix(c, add.r, add.rm, tint[0]); },
            [&](uint32_t c) { return mix(c, add.g, add.gm, tint[1]); },
            [&](uint32_t c) { return mix(c, add.b, add.bm, tint[2]); });
        pass.ForEach<4, 4>([&](uint8_t* d, const uint8_t* s) {
            const uint32_t p = Load32(s);
            if (flag == 1 && Transparent32(p)) return;
            Store32(d, 0xFF000000u | maps(p, kBytes));
        });
        break;
    default: break;
    }
    return true;
}

bool ColourChangeDD(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flag,
                    const uint8_t (*palette)[4], const uint8_t* blendTable, int ci, int level) {
    cPixelPass pass;
    if (!pass.Lock(dst, src, x, y, w, h, sx, sy)) return false;
    cChannelMaps maps;
    switch (CurrentDepth()) {
    case Depth::DD8: {
        if (!blendTable) break;
        uint8_t after[256];
        if (level > 0) BlendChain(blendTable, ci, level, after);
        else
            for (int p = 0; p < 256; ++p) after[p] = uint8_t(p);
        pass.ForEach<1, 1>([&](uint8_t* d, const uint8_t* s) {
            if (flag == 1 && TransparentKey(*s)) return;
            *d = after[*s];
        });
        break;
    }
    case Depth::DD16: {
        if (!palette) break;
        // Channels widened to 0..255, mixed, and narrowed back.
        const PixelLayout& l = g_SurfLayout;
        auto channel = [&](int max, uint8_t tint) {
            return [=](uint32_t c) { return ScaleDown(HalfToward(ScaleUp(c, max), ScaleUp(tint, max), level), max); };
        };
        maps.Build(l, channel(l.rm, palette[ci][0]), channel(l.gm, palette[ci][1]), channel(l.bm, palette[ci][2]));
        pass.ForEach<2, 2>([&](uint8_t* d, const uint8_t* s) {
            const uint32_t p = Load16(s);
            if (flag == 1 && TransparentKey(p)) return;
            Store16(d, maps(p, l));
        });
        break;
    }
    case Depth::DD32: {
        if (!palette) break;
        auto channel = [&](uint8_t tint) { return [=](uint32_t c) { return HalfToward(c, tint, level); }; };
        maps.Build(kBytes, channel(palette[ci][0]), channel(palette[ci][1]), channel(palette[ci][2]));
        pass.ForEach<4, 4>([&](uint8_t* d, const uint8_t* s) {
            const uint32_t p = Load32(s);
            if (flag == 1 && TransparentKey(p)) return;
            Store32(d, (Load32(d) & 0xFF000000u) | maps(p, kBytes));
        });
        break;
    }
    default: break;
    }
    return true;
}

// Floor average of each of the three low bytes.
inline uint32_t Average3(uint32_t s, uint32_t d) {
    return ((s & 0xFEFEFEu) >> 1) + ((d & 0xFEFEFEu) >> 1) + (s & d & 0x010101u);
}

bool AlphaSoft(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flag,
               const uint8_t* blendTable) {
    cPixelPass pass;
    if (!pass.Lock(dst, src, x, y, w, h, sx, sy)) return false;
    switch (CurrentDepth()) {
    case Depth::D3D16: {
        const PixelLayout& l = g_SurfLayout;
        const cWriter16 wr(dst);
        pass.ForEach<2, 2>([&](uint8_t* d, const uint8_t* s) {
            const uint32_t p = Load16(s);
            if (flag == 1 && Transparent16(p)) return;
            const Rgb c = Channels(p, l), e = Channels(Load16(d), wr.l);
            // The six-bit green of the full-screen buffer takes the source's doubled.
            const uint32_t g = wr.fullScreen ? (e.g + 2 * c.g) >> 1 : (e.g + c.g) >> 1;
            Store16(d, wr.PackRaw((c.r + e.r) >> 1, g, (c.b + e.b) >> 1));
        });
        break;
    }
    case Depth::D3D32:
        pass.ForEach<4, 4>([&](uint8_t* d, const uint8_t* s) {
            const uint32_t p = Load32(s);
            if (flag == 1 && Transparent32(p)) return;
            Store32(d, 0xFF000000u | Average3(p, Load32(d)));
        });
        break;
    case Depth::DD8:
        if (!blendTable) break;
        pass.ForEach<1, 1>([&](uint8_t* d, const uint8_t* s) {
            // Index 0, not the colour key, is the transparent index here.
            if (flag == 1 && *s == 0) return;
            *d = *d == 0 ? *s : blendTable[size_t(*d) * 256 + *s];
        });
        break;
    case Depth::DD16: {
        // Each channel averaged on 0..255 and narrowed back, for every pair
        // of values (at most 64 x 64), looked up per pixel.
        const PixelLayout& l = g_SurfLayout;
        if (l.rm > 255 || l.gm > 255 || l.bm > 255) break;
        std::vector<uint16_t> tabs[3];
        const int maxima[3] = {l.rm, l.gm, l.bm}, shifts[3] = {l.rs, l.gs, l.bs};
        for (int k = 0; k < 3; ++k) {
            const int m = maxima[k], n = m + 1;
            tabs[k].resize(size_t(n) * n);
            for (int e = 0; e < n; ++e)
                for (int c = 0; c < n; ++c)
                    tabs[k][size_t(e) * n + c] =
                        uint16_t(ScaleDown((ScaleUp(e, m) + ScaleUp(c, m)) >> 1, m) << shifts[k]);
        }
        pass.ForEach<2, 2>([&](uint8_t* d, const uint8_t* s) {
            const uint32_t p = Load16(s);
            if (flag == 1 && TransparentKey(p)) return;
            const uint32_t q = Load16(d);
            if (TransparentKey(q)) {
                Store16(d, p);
                return;
            }
            const Rgb c = Channels(p, l), e = Channels(q, l);
            Store16(d, tabs[0][e.r * (l.rm + 1) + c.r] | tabs[1][e.g * (l.gm + 1) + c.g] |
                           tabs[2][e.b * (l.bm + 1) + c.b]);
        });
        break;
    }
    case Depth::DD32:
        pass.ForEach<4, 4>([&](uint8_t* d, const uint8_t* s) {
            const uint32_t p = Load32(s);
            if (flag == 1 && TransparentKey(p)) return;
            const uint32_t q = Load32(d);
            Store32(d, (q & 0xFF000000u) | (TransparentKey(q) ? p & 0xFFFFFFu : Average3(p, q)));
        });
        break;
    default: break;
    }
    return true;
}

}  // namespace

bool DDBltColorChange(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flag,
                      const uint8_t (*palette)[4], const uint8_t* blendTable, int colourIndex, int level,
                      const DDBLTPARAM* param) {
    const int ci = colourIndex & 0xFF;
    if (!lpDTCon) {
        if (level == 0) return true;
        return ColourChangeDD(dst, x, y, w, h, src, sx, sy, flag, palette, blendTable, ci, level);
    }
    if (level <= 0) return true;
    int sw = w, sh = h;
    PrepareD3D(dst, src, sx, sy, sw, sh);
    const uint8_t tint[3] = {palette ? palette[ci][0] : uint8_t(0), palette ? palette[ci][1] : uint8_t(0),
                             palette ? palette[ci][2] : uint8_t(0)};
    if (UseQuad(dst, src)) {
        if (!PutQuad(x, y, w, h, src, sx, sy, sw, sh, 0xFFFFFFFFu)) return true;
        StageState st = CurrentStage();
        st.tfactor = QuadTexelWeight(level) << 24 | uint32_t(tint[0]) << 16 | uint32_t(tint[1]) << 8 | tint[2];
        st.colorOp = TOP_BLENDFACTORALPHA;
        st.colorArg1 = TA_TEXTURE;
        st.colorArg2 = TA_TFACTOR;
        st.alphaOp = TOP_SELECTARG1;
        st.alphaArg1 = TA_TEXTURE;
        DrawEffectQuad(dst, src, st);
        return true;
    }
    return ColourChangeD3DSoft(dst, x, y, w, h, src, sx, sy, flag, tint, level, param);
}

bool DDBltAlpha(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flag,
                const uint8_t* blendTable, int alpha) {
    if (lpDTCon) {
        int sw = w, sh = h;
        PrepareD3D(dst, src, sx, sy, sw, sh);
        if (UseQuad(dst, src)) {
            if (!PutQuad(x, y, w, h, src, sx, sy, sw, sh, uint32_t(255 - alpha) << 24 | 0xFFFFFFu)) return true;
            if (DrawEffectQuad(dst, src, ModulateStage())) {
                StageState& st = g_DD.lpDevice->stage;
                st.alphaOp = TOP_SELECTARG1;
                st.alphaArg1 = TA_TEXTURE;
            }
            return true;
        }
    }
    return AlphaSoft(dst, x, y, w, h, src, sx, sy, flag, blendTable);
}

bool DDBltHalf(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flag,
               const uint8_t* blendTable) {
    return DDBltAlpha(dst, x, y, w, h, src, sx, sy, flag, blendTable, 128);
}

int DDChangeColor(DDSURFACEDATA* dst, int /*x*/, int /*y*/, int /*width*/, int /*height*/, DDSURFACEDATA* src,
                  int alpha, uint8_t red, uint8_t green, uint8_t blue) {
    if (!lpDTCon) {
        DebugLogf("%s", SJ("DDrawでは DDChangeColor(DDSURFACEDATA *lpDstSD,int x,int y,int nWidth,int nHeight,"
                           "int nAlpha,BYTE bRed,BYTE bGreen,BYTE bBlue) は未対応")
                            .c_str());
        return 1;
    }
    if (!dst || !src) return 1;
    ResolveSurfaces(dst, src);
    if (!dst->lpDT || !PutQuad(0, 0, dst->nWidth, dst->nHeight, src, 0, 0, dst->nWidth, dst->nHeight,
                               uint32_t(255 - alpha) << 24 | uint32_t(red) << 16 | uint32_t(green) << 8 | blue))
        return 1;
    DrawEffectQuad(dst, src, ModulateStage());
    return 1;
}

int DDChangeColor(DDSURFACEDATA* dst, int x, int y, int width, int height, int alpha, uint8_t red, uint8_t green,
                  uint8_t blue) {
    return DDChangeColor(dst, x, y, width, height, dst, alpha, red, green, blue);
}
