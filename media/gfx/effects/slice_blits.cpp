#include "media/gfx/effects/slice_blits.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_layer.h"
#include "media/gfx/dd_surface.h"

namespace {

constexpr double kDegToRad = 0.017453292519943295;

// Truncation toward zero that saturates instead of overflowing.
int TruncSat(double v) {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return int(-2147483647 - 1);
    return int(std::trunc(v));
}

// Half chord of the circle at row m; the full radius (only at m = 0) is
// taken one pixel in.
int HalfChord(int64_t radius, int64_t m) {
    const int64_t sq = radius * radius - m * m;
    int64_t c = sq > 0 ? int64_t(std::floor(std::sqrt(double(sq)))) : 0;
    if (c == radius) c = radius - 1;
    return int(c);
}

}  // namespace

DDSLICEOPS DDDefaultSliceOps() { return DDSLICEOPS{DDBlt, DDBltStretch, DDBeginLayer, DDEndLayer}; }

DDSLICEOPS& DDSliceOps() {
    static DDSLICEOPS ops = DDDefaultSliceOps();
    return ops;
}

bool DDBltWave(DDSURFACEDATA* dst, int x, int y, int w, int h, int waves, double amplitude, int phase, int slice,
               DDSURFACEDATA* src, int sx, int sy, int bltFlag, int vertical) {
    if (slice <= 0) return true;
    const DDSLICEOPS& ops = DDSliceOps();
    ops.beginLayer(0);
    const int extent = vertical ? w : h;
    if (extent > 0) {
        const double step = 360.0 * slice / extent;
        double sum = phase;
        for (int64_t o = 0; o < extent; o += slice) {
            const int part = int(std::min<int64_t>(slice, extent - o));
            sum += step;
            const double angle = double(waves) * sum * kDegToRad;
            const int d = TruncSat(amplitude * std::sin(angle) + 0.5);
            const int off = int(o);
            if (vertical) ops.blt(dst, x + off, y + d, part, h, src, sx + off, sy, bltFlag);
            else ops.blt(dst, x + d, y + off, w, part, src, sx, sy + off, bltFlag);
        }
    }
    ops.endLayer();
    return true;
}

bool DDBltSplit(DDSURFACEDATA* dst, int x, int y, int w, int h, int slice, int shift, DDSURFACEDATA* src, int sx,
                int sy, int bltFlag, int vertical) {
    const DDSLICEOPS& ops = DDSliceOps();
    if (slice == 0) {
        ops.blt(dst, x, y, w, h, src, sx, sy, bltFlag);
        return true;
    }
    ops.beginLayer(0);
    const int n = slice > 0 ? (vertical ? w : h) / slice : 0;
    for (int first : {1, 0}) {
        // Odd strips move up (left), even strips down (right).
        const int d = first == 1 ? -shift : shift;
        for (int i = first; i < n; i += 2) {
            const int o = i * slice;
            if (vertical) ops.blt(dst, x + o, y + d, slice, h, src, sx + o, sy, bltFlag);
            else ops.blt(dst, x + d, y + o, w, slice, src, sx, sy + o, bltFlag);
        }
    }
    ops.endLayer();
    return true;
}

int DDBltFlip(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* front, int fx, int fy,
              DDSURFACEDATA* back, int bx, int by, int srcW, int srcH, int bltFlag, int phase, int axis) {
    if (axis != 0 && axis != 1) return 0;
    const int extent = axis == 0 ? w : h;
    const int u = extent >> 1;
    if (u <= 0) return 0;  // no picture below two pixels
    const int q = phase / u, r = phase % u;
    const int v = q % 2 != 0 ? u - r - 1 : r;
    const bool useBack = ((phase + u) / extent) % 2 != 0;
    DDSURFACEDATA* pic = useBack ? back : front;
    const int px = useBack ? bx : fx, py = useBack ? by : fy;
    const DDSLICEOPS& ops = DDSliceOps();
    if (axis == 0) return ops.bltStretch(dst, x + v, y, w - 2 * v, h, pic, px, py, srcW, srcH, bltFlag);
    return ops.bltStretch(dst, x, y + v, w, h - 2 * v, pic, px, py, srcW, srcH, bltFlag);
}

bool DDBltBurst(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int distance,
                int bltFlag) {
    const int hw = w >> 1, hh = h >> 1;
    const DDSLICEOPS& ops = DDSliceOps();
    ops.beginLayer(0);
    ops.blt(dst, x - distance, y - distance, hw, hh, src, sx, sy, bltFlag);
    ops.blt(dst, x + hw + distance, y - distance, hw, hh, src, sx + hw, sy, bltFlag);
    ops.blt(dst, x - distance, y + hh + distance, hw, hh, src, sx, sy + hh, bltFlag);
    ops.blt(dst, x + hw + distance, y + hh + distance, hw, hh, src, sx + hw, sy + hh, bltFlag);
    ops.endLayer();
    return true;
}

bool DDBltCircle(DDSURFACEDATA* dst, int cx, int cy, int halfW, int halfH, int radius, int band, DDSURFACEDATA* src,
                 int scx, int scy, int bltFlag) {
    if (radius <= 0 || band <= 0 || !src) return true;
    DDResolveAlias(dst);
    DDResolveAlias(src);
    const int left = std::max(scx - halfW, 0);
    const int right = std::min(scx + halfW, src->nWidth);
    const DDSLICEOPS& ops = DDSliceOps();
    // One piece: `rows` rows of the chord at source row sr, destination row dr.
    auto piece = [&](int c, int sr, int dr, int rows) {
        int s = scx - c, width = 2 * c, dx = cx - c;
        if (s < left) {
            width -= left - s;
            s = left;
            dx = left + cx - scx;
        }
        if (s + width >= right) width = right - s;
        if (lpDTCon) ops.bltStretch(dst, dx, dr, width, rows, src, s, sr, width, rows, bltFlag);
        else ops.blt(dst, dx, dr, width, rows, src, s, sr, bltFlag);
    };
    ops.beginLayer(0);
    // Rows at or below the half height are skipped: start at the first one
    // that is not, so that a huge radius costs nothing.
    if (band == 1) {
        for (int64_t dy = std::min<int64_t>(int64_t(radius) - 1, int64_t(halfH) - 1); dy >= -int64_t(radius); --dy) {
            if (dy >= halfH) continue;
            if (dy < -int64_t(halfH)) break;
            piece(HalfChord(radius, dy), scy + int(dy), cy + int(dy), 1);
        }
    } else {
        int64_t first = int64_t(radius) - band;
        if (first >= halfH) first -= ((first - halfH) / band + 1) * int64_t(band);
        for (int64_t t = first; t >= -int64_t(radius); t -= band) {
            if (t >= halfH) continue;
            if (t + band <= -int64_t(halfH)) break;
            if (t + band > halfH) t = int64_t(halfH) - band;
            else if (t < -int64_t(halfH)) t = -int64_t(halfH);
            const int64_t m = t + (band >> 1);
            piece(HalfChord(radius, m), scy + int(t), cy + int(t), band);
        }
    }
    ops.endLayer();
    return true;
}
