#include "media/gfx/pixel_format.h"

namespace gfx {

int BytesPerPixel(PixelFormat f) {
    switch (f) {
    case PixelFormat::Index8: return 1;
    case PixelFormat::RGB565:
    case PixelFormat::ARGB1555: return 2;
    case PixelFormat::RGB888: return 3;
    case PixelFormat::XRGB8888:
    case PixelFormat::ARGB8888: return 4;
    }
    return 1;
}

PixelLayout LayoutOf(PixelFormat f) {
    switch (f) {
    case PixelFormat::Index8: return {};
    case PixelFormat::RGB565: return {11, 5, 0, 16, 31, 63, 31, 0};
    case PixelFormat::ARGB1555: return {10, 5, 0, 15, 31, 31, 31, 1};
    case PixelFormat::RGB888:
    case PixelFormat::XRGB8888: return {16, 8, 0, 24, 255, 255, 255, 0};
    case PixelFormat::ARGB8888: return {16, 8, 0, 24, 255, 255, 255, 255};
    }
    return {};
}

bool HasAlpha(PixelFormat f) { return f == PixelFormat::ARGB1555 || f == PixelFormat::ARGB8888; }

Argb DecodePixel(PixelFormat f, uint32_t px) {
    const PixelLayout l = LayoutOf(f);
    if (f == PixelFormat::Index8) return Argb{255, uint8_t(px), uint8_t(px), uint8_t(px)};
    return Argb{Widen(l.am ? (px >> l.as) & l.am : 0, l.am), Widen((px >> l.rs) & l.rm, l.rm),
                Widen((px >> l.gs) & l.gm, l.gm), Widen((px >> l.bs) & l.bm, l.bm)};
}

uint32_t EncodePixel(PixelFormat f, Argb c) {
    const PixelLayout l = LayoutOf(f);
    if (f == PixelFormat::Index8) return c.r;
    uint32_t v = Narrow(c.r, l.rm) << l.rs | Narrow(c.g, l.gm) << l.gs | Narrow(c.b, l.bm) << l.bs;
    if (l.am) v |= Narrow(c.a, l.am) << l.as;
    return v;
}

}  // namespace gfx
