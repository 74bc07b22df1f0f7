// What the software pixel effects share: the branch by display depth, the
// locked frame of a pass (destination first, source second, released in
// reverse), the rectangle inside both images, the transparency tests, the
// write rules of each depth, the colour addition of a blit parameter block,
// and the Direct3D quad shortcut.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_palette.h"

namespace gfx::fx {

// The branch a pixel effect takes: family and display depth.
enum class Depth { None, D3D16, D3D32, DD8, DD16, DD32 };
Depth CurrentDepth();

inline uint32_t Load16(const uint8_t* p) {
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}
inline void Store16(uint8_t* p, uint32_t v) {
    const uint16_t s = uint16_t(v);
    std::memcpy(p, &s, 2);
}
inline uint32_t Load32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
inline void Store32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }

// Bytes per pixel of a branch; 0 for a depth without one.
int BytesOf(Depth d);
// One pixel of `bytes` bytes at (x, y), which must lie inside the image.
inline uint32_t LoadAt(const cImage& img, int bytes, int64_t x, int64_t y) {
    const uint8_t* p = img.Row(int(y)) + size_t(x) * size_t(bytes);
    return bytes == 1 ? *p : bytes == 2 ? Load16(p) : Load32(p);
}
inline void StoreAt(cImage& img, int bytes, int64_t x, int64_t y, uint32_t v) {
    uint8_t* p = img.Row(int(y)) + size_t(x) * size_t(bytes);
    if (bytes == 1) *p = uint8_t(v);
    else if (bytes == 2) Store16(p, v);
    else Store32(p, v);
}

// Direct3D: both surfaces replaced by the ones they alias, and the back
// buffer by the virtual one while the redirection is on.
void ResolveSurfaces(DDSURFACEDATA*& dst, DDSURFACEDATA*& src);

// Rows [i0, i1) and columns [j0, j1) of a w x h rectangle whose pixels lie
// inside both images (destination at x, y; source at sx, sy).
struct Span {
    int i0 = 0, i1 = 0, j0 = 0, j1 = 0;
    bool Empty() const { return i0 >= i1 || j0 >= j1; }
};

// The two locks of a software pass over a w x h rectangle at (x, y) from
// (sx, sy).
class cPixelPass {
public:
    // False when either surface cannot be locked; nothing stays locked then.
    bool Lock(DDSURFACEDATA* dst, DDSURFACEDATA* src, int x, int y, int w, int h, int sx, int sy);
    cImage& Dst() const { return *m_dst.Image(); }
    const cImage& Src() const { return *m_src.Image(); }
    // The image sizes the pass keeps to (never the texture sizes).
    int DstW() const { return m_dw; }
    int DstH() const { return m_dh; }
    int SrcW() const { return m_sw; }
    int SrcH() const { return m_sh; }
    // Visits every pixel of the rectangle inside both images (the surfaces'
    // image sizes, never their texture sizes): f(destination, source pixel).
    template <int DB, int SB, class F>
    void ForEach(F&& f) const {
        cImage& d = Dst();
        const cImage& s = Src();
        const Span& sp = m_span;
        for (int i = sp.i0; i < sp.i1; ++i) {
            uint8_t* dp = d.Row(m_y + i) + size_t(m_x + sp.j0) * DB;
            const uint8_t* spx = s.Row(m_sy + i) + size_t(m_sx + sp.j0) * SB;
            for (int j = sp.j0; j < sp.j1; ++j, dp += DB, spx += SB) f(dp, spx);
        }
    }

private:
    // Declared in this order so that the source is released first.
    DDLOCK m_dst, m_src;
    int m_x = 0, m_y = 0, m_sx = 0, m_sy = 0;
    int m_dw = 0, m_dh = 0, m_sw = 0, m_sh = 0;
    Span m_span;
};

// Transparency of a source pixel under the current family and depth.
inline bool Transparent16(uint32_t px) { return (px & 0xA000u) == 0; }
inline bool Transparent32(uint32_t px) { return (px >> 24) == 0; }
inline bool TransparentKey(uint32_t px) { return px == g_DD.dwColorKey; }

// Direct3D 16-bit writing of a computed colour (channels in the ranges of
// g_SurfLayout). The full-screen back buffer takes R5G6B5 without an alpha
// bit; every other destination A1R5G5B5 with the alpha bit.
struct cWriter16 {
    bool fullScreen = false;
    PixelLayout l;
    uint32_t alphaBit = 0;
    explicit cWriter16(const DDSURFACEDATA* dst);
    // Green as given (six bits on the full-screen back buffer).
    uint32_t PackRaw(uint32_t r, uint32_t g, uint32_t b) const { return r << l.rs | g << l.gs | b << l.bs | alphaBit; }
};

// Channels of a pixel by a layout.
struct Rgb {
    uint32_t r, g, b;
};
inline Rgb Channels(uint32_t px, const PixelLayout& l) {
    return Rgb{px >> l.rs & uint32_t(l.rm), px >> l.gs & uint32_t(l.gm), px >> l.bs & uint32_t(l.bm)};
}

// The colour addition of a blit parameter block whose operation is add:
// its colour scaled once to the channel ranges, to be added to a channel
// with a clamp at the channel's maximum.
struct cColourAdd {
    bool on = false;
    uint32_t r = 0, g = 0, b = 0;
    uint32_t rm = 255, gm = 255, bm = 255;
    // Direct3D only; null or another operation adds nothing.
    static cColourAdd From(const DDBLTPARAM* param);
};

// A copied Direct3D 16-bit pixel: the colour addition (with the alpha bit)
// when on, then repacked for the full-screen back buffer.
uint32_t CopiedD3D16(uint32_t p, const cColourAdd& add, const cWriter16& w16);

// True when the effect draws one textured quad instead of computing pixels.
bool UseQuad(const DDSURFACEDATA* dst, const DDSURFACEDATA* src);

// The device's stage state, for an effect to change before its quad.
StageState CurrentStage();

// The quad shortcut after its vertices are in the source's vertex buffer:
// scene, render target, the stage state, the strip with the source's
// texture, and back to the default target. False when nothing was drawn or
// the switch back failed.
bool DrawEffectQuad(DDSURFACEDATA* dst, DDSURFACEDATA* src, const StageState& st);

}  // namespace gfx::fx
