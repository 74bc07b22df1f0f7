#include "media/gfx/effects/mosaic_blur.h"

#include <algorithm>
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

// A computed colour written by the rules of its depth; `old` is the
// destination pixel it replaces.
struct cColourOut {
    Depth d;
    cWriter16 w16;
    cColourAdd add;
    cColourOut(Depth depth, const DDSURFACEDATA* dst, const DDBLTPARAM* param)
        : d(depth), w16(dst), add(cColourAdd::From(param)) {}
    uint32_t Pack(Rgb c, uint32_t old) const {
        if (add.on && (d == Depth::D3D16 || d == Depth::D3D32))
            c = Rgb{AddClamped(c.r, add.r, add.rm), AddClamped(c.g, add.g, add.gm), AddClamped(c.b, add.b, add.bm)};
        switch (d) {
        case Depth::D3D16: return w16.PackRaw(c.r, w16.fullScreen ? c.g * 2 : c.g, c.b);
        case Depth::D3D32: return 0xFF000000u | c.r << 16 | c.g << 8 | c.b;
        case Depth::DD16: {
            const PixelLayout& l = g_SurfLayout;
            return c.r << l.rs | c.g << l.gs | c.b << l.bs;
        }
        case Depth::DD32: return (old & 0xFF000000u) | c.r << 16 | c.g << 8 | c.b;
        default: return old;
        }
    }
};

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
                for (int64_t py = y0; py < y1; ++py)
                    for (int64_t px = x0; px < x1; ++px) {
                        const uint32_t p = LoadAt(si, bytes, int(px), int(py));
                        if (flag == 1 && TransparentKey(p)) continue;
                        const Rgb c = ChannelsOf(d, p);
                        if (d == Depth::DD16)
                            sr += ScaleUp(c.r, l.rm), sg += ScaleUp(c.g, l.gm), sb += ScaleUp(c.b, l.bm);
                        else sr += c.r, sg += c.g, sb += c.b;
                        ++n;
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
            for (int64_t ty = ty0; ty < ty1; ++ty)
                for (int64_t tx = tx0; tx < tx1; ++tx) {
                    uint32_t v = colour;
                    if (keepByte3) v |= LoadAt(di, 4, int(tx), int(ty)) & 0xFF000000u;
                    StoreAt(di, bytes, int(tx), int(ty), v);
                }
        }
    }
    return true;
}

namespace {

// Summed-area tables of the three channels and of the sample count over the
// part of the rectangle inside the source image, transparent samples left
// out under flag 1. Any box sum is then four look-ups, in exact integers
// (32-bit wrap-around cancels in the differences).
struct cBoxSums {
    int64_t c0 = 0, r0 = 0;  // rectangle column and row of the table's origin
    int cw = 0, ch = 0;
    std::vector<uint32_t> t;  // (ch + 1) x (cw + 1) cells of r, g, b, n

    uint32_t* Cell(int col, int row) { return &t[(size_t(row) * size_t(cw + 1) + size_t(col)) * 4]; }

    void Build(const cImage& si, Depth d, int bytes, int64_t sx, int64_t sy, int64_t c1, int64_t r1, int flag) {
        cw = int(std::max<int64_t>(c1 - c0, 0)), ch = int(std::max<int64_t>(r1 - r0, 0));
        t.assign(size_t(cw + 1) * size_t(ch + 1) * 4, 0);
        for (int row = 0; row < ch; ++row) {
            uint32_t run[4] = {0, 0, 0, 0};
            for (int col = 0; col < cw; ++col) {
                const uint32_t p = LoadAt(si, bytes, int(sx + c0 + col), int(sy + r0 + row));
                if (!(flag == 1 && IsTransparent(d, p))) {
                    const Rgb c = ChannelsOf(d, p);
                    run[0] += c.r, run[1] += c.g, run[2] += c.b, run[3] += 1;
                }
                const uint32_t* up = Cell(col + 1, row);
                uint32_t* out = Cell(col + 1, row + 1);
                for (int k = 0; k < 4; ++k) out[k] = up[k] + run[k];
            }
        }
    }
    // Sums over rectangle columns [a0, a1) and rows [b0, b1), clipped.
    void Box(int64_t a0, int64_t a1, int64_t b0, int64_t b1, uint32_t out[4]) {
        const int x0 = int(std::clamp<int64_t>(a0 - c0, 0, cw)), x1 = int(std::clamp<int64_t>(a1 - c0, 0, cw));
        const int y0 = int(std::clamp<int64_t>(b0 - r0, 0, ch)), y1 = int(std::clamp<int64_t>(b1 - r0, 0, ch));
        if (x0 >= x1 || y0 >= y1) {
            out[0] = out[1] = out[2] = out[3] = 0;
            return;
        }
        const uint32_t *a = Cell(x1, y1), *b = Cell(x0, y1), *c = Cell(x1, y0), *e = Cell(x0, y0);
        for (int k = 0; k < 4; ++k) out[k] = a[k] - b[k] - c[k] + e[k];
    }
};

}  // namespace

bool DDBltBlur(DDSURFACEDATA* dst, int x, int y, int w, int h, int radiusX, int radiusY, DDSURFACEDATA* src, int sx,
               int sy, int flag, const DDBLTPARAM* param) {
    if (radiusX <= 0 || radiusY <= 0) return true;
    ResolveSurfaces(dst, src);
    cPixelPass pass;
    if (!pass.Lock(dst, src, x, y, w, h, sx, sy)) return false;
    const Depth d = CurrentDepth();
    if (d != Depth::D3D16 && d != Depth::D3D32 && d != Depth::DD16 && d != Depth::DD32) return true;
    const int bytes = BytesOf(d);
    cImage& di = pass.Dst();
    const cImage& si = pass.Src();
    // Samples: rectangle positions whose source lies inside the source image.
    cBoxSums sums;
    sums.c0 = std::max<int64_t>(0, -int64_t(sx));
    sums.r0 = std::max<int64_t>(0, -int64_t(sy));
    sums.Build(si, d, bytes, sx, sy, std::min<int64_t>(w, int64_t(pass.SrcW()) - sx),
               std::min<int64_t>(h, int64_t(pass.SrcH()) - sy), flag);
    const cColourOut out(d, dst, param);
    const int64_t i0 = std::max<int64_t>(0, -int64_t(x)), i1 = std::min<int64_t>(w, int64_t(pass.DstW()) - x);
    const int64_t j0 = std::max<int64_t>(0, -int64_t(y)), j1 = std::min<int64_t>(h, int64_t(pass.DstH()) - y);
    for (int64_t j = j0; j < j1; ++j)
        for (int64_t i = i0; i < i1; ++i) {
            if (flag == 1) {
                // A centre outside the source image cannot be tested: left as it is.
                const int64_t cx = sx + i, cy = sy + j;
                if (cx < 0 || cy < 0 || cx >= pass.SrcW() || cy >= pass.SrcH()) continue;
                if (IsTransparent(d, LoadAt(si, bytes, int(cx), int(cy)))) continue;
            }
            uint32_t s[4];
            sums.Box(i - radiusX, i + radiusX, j - radiusY, j + radiusY, s);
            if (s[3] == 0) continue;
            const int tx = int(x + i), ty = int(y + j);
            const uint32_t old = LoadAt(di, bytes, tx, ty);
            StoreAt(di, bytes, tx, ty, out.Pack(Rgb{s[0] / s[3], s[1] / s[3], s[2] / s[3]}, old));
        }
    return true;
}
