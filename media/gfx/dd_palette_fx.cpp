#include "media/gfx/dd_palette_fx.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "base/log.h"
#include "media/gfx/dd_palette.h"
#include "platform/cp932.h"
#include "platform/fs.h"

using namespace gfx;

namespace {
bool RangeOk(int first, int last) { return first >= 0 && last <= 255 && last >= first - 1; }
}  // namespace

bool DDBlendPalette(uint8_t out[256][4], int first, int last, int alpha, uint8_t red, uint8_t green, uint8_t blue,
                    const uint8_t src[256][4]) {
    if (!RangeOk(first, last) || alpha < 0 || alpha > 256) return false;
    for (int i = first; i <= last; ++i) {
        out[i][0] = uint8_t((red * (256 - alpha) + alpha * src[i][0]) >> 8);
        out[i][1] = uint8_t((green * (256 - alpha) + alpha * src[i][1]) >> 8);
        out[i][2] = uint8_t((blue * (256 - alpha) + alpha * src[i][2]) >> 8);
        out[i][3] = 1;
    }
    return true;
}

bool DDRotatePalette(uint8_t dst[256][4], int first, int last, int count, int direction, const uint8_t src[256][4]) {
    if (g_DD.nBpp != 8 && g_DD.nBpp != 16 && g_DD.nBpp != 32) return true;
    if (!RangeOk(first, last)) return false;
    const int n = last - first + 1;
    if (count < 0 || count > n) return false;
    uint8_t tmp[256][4];
    std::memcpy(tmp, src, sizeof tmp);
    std::memcpy(dst, tmp, sizeof tmp);
    if (n == 0 || (direction != 0 && direction != 1)) return true;
    for (int k = 0; k < n; ++k) {
        const int to = direction == 0 ? (k + count) % n : ((k - count) % n + n) % n;
        std::memcpy(dst[first + to], tmp[first + k], 4);
    }
    return true;
}

bool DDLoadBlendTable(uint8_t table[65536], const char* path) {
    if (lpDTCon) return true;
    std::ifstream f(platform::OsPath(path), std::ios::binary);
    if (!f) return false;
    f.read(reinterpret_cast<char*>(table), 65536);
    return true;
}

int DDSetPalette_UnPal(uint8_t palette[256][4], DDSURFACEDATA* sd) {
    DDLOCK lock(sd);
    if (!lock.Locked()) {
        DebugLogf("DDSetPalette_UnPal Lock Err");
        return 1;
    }
    const cImage& img = *lock.Image();
    const PixelLayout& l = g_SurfLayout;
    for (int i = 0; i < 256; ++i) {
        const int x = i % 16, y = 8 + i / 16;
        if (!img.Inside(x, y)) continue;  // a swatch cut off by a small image reads nothing
        const uint32_t px = img.Get(x, y);
        uint8_t* e = palette[i];
        if (lpDTCon && g_DD.nBpp == 16) {
            if ((px >> l.as) & l.am) {
                e[0] = uint8_t(ScaleUp((px >> l.rs) & l.rm, l.rm));
                e[1] = uint8_t(ScaleUp((px >> l.gs) & l.gm, l.gm));
                e[2] = uint8_t(ScaleUp((px >> l.bs) & l.bm, l.bm));
            }
        } else if (lpDTCon && g_DD.nBpp == 32) {
            if (px >> 24) {
                e[0] = uint8_t(px >> 16), e[1] = uint8_t(px >> 8), e[2] = uint8_t(px), e[3] = uint8_t(px >> 24);
            }
        } else if (!lpDTCon && g_DD.nBpp == 16) {
            e[0] = uint8_t((px >> l.rs) & l.rm);
            e[1] = uint8_t((px >> l.gs) & l.gm);
            e[2] = uint8_t((px >> l.bs) & l.bm);
        } else if (!lpDTCon && g_DD.nBpp == 32) {
            e[0] = uint8_t(px >> 16), e[1] = uint8_t(px >> 8), e[2] = uint8_t(px), e[3] = uint8_t(px >> 24);
        }
    }
    return 1;
}

int DDFade_UnPal(DDSURFACEDATA* dst, int weight, uint8_t red, uint8_t green, uint8_t blue, DDSURFACEDATA* src) {
    if (lpDTCon) {
        DebugLogf("%s", SJ("D3DではDDFade_UnPalは未対応").c_str());
        return 1;
    }
    DDLOCK ld(dst);
    if (!ld.Locked()) return 0;
    DDLOCK ls(src);
    if (!ls.Locked()) return 0;
    cImage& d = *ld.Image();
    const cImage& s = *ls.Image();
    const PixelLayout& l = g_SurfLayout;
    const int w = std::min({dst->nWidth, d.Width(), s.Width()}), h = std::min({dst->nHeight, d.Height(), s.Height()});
    auto mix = [weight](uint32_t colour, uint32_t v) { return (colour * uint32_t(256 - weight) + uint32_t(weight) * v) >> 8; };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint32_t px = s.Get(x, y);
            if (g_DD.nBpp == 16) {
                auto ch = [&](uint8_t c, int shift, int max) {
                    const uint32_t m = mix(c, ScaleUp((px >> shift) & max, max));
                    return (m * uint32_t(max) / 255) << shift;
                };
                d.Set(x, y, ch(red, l.rs, l.rm) | ch(green, l.gs, l.gm) | ch(blue, l.bs, l.bm));
            } else if (g_DD.nBpp == 32) {
                const uint32_t keep = d.Get(x, y) & 0xFF000000u;
                d.Set(x, y,
                      keep | mix(red, (px >> 16) & 255) << 16 | mix(green, (px >> 8) & 255) << 8 | mix(blue, px & 255));
            }
        }
    }
    return 1;
}
