// Surfaces with known raw pixels for the pixel-effect tests.
#pragma once
#include "../gfx_fixture.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/effects/colour_blits.h"

namespace gfxtest {

// The pixels a surface holds now (the device's copy, read without a lock).
inline gfx::cImage& Img(DDSURFACEDATA* sd) {
    DDResolveAlias(sd);
    DDRedirectBackBuffer(&sd);
    return lpDTCon ? sd->lpDT->lpSurface->img : sd->lpDD->lpSurface->img;
}
inline uint32_t Raw(DDSURFACEDATA* sd, int x, int y) { return Img(sd).Get(x, y); }
inline void SetRaw(DDSURFACEDATA* sd, int x, int y, uint32_t v) { Img(sd).Set(x, y, v); }
inline void FillRaw(DDSURFACEDATA* sd, uint32_t v) {
    gfx::cImage& i = Img(sd);
    for (int y = 0; y < i.Height(); ++y)
        for (int x = 0; x < i.Width(); ++x) i.Set(x, y, v);
}

// An empty surface of the given texture memory type (Direct3D) filled with
// one raw value.
struct Surf {
    DDSURFACEDATA sd;
    explicit Surf(int w, int h, int texType = DTMEMORYTYPE_SYSTEM, uint32_t raw = 0) {
        EXPECT_TRUE(DDCreateSurface(&sd, w, h, 0, 0, texType, 0, 0));
        FillRaw(&sd, raw);
    }
    ~Surf() {
        g_LiveSurfaces.remove(&sd);
        DDReleaseSurfaceData(&sd);
    }
};

// A palette whose entry i is (i, 2i, 3i) except the entries a test sets.
struct Pal {
    uint8_t e[256][4] = {};
    Pal() {
        for (int i = 0; i < 256; ++i) e[i][0] = uint8_t(i), e[i][1] = uint8_t(2 * i), e[i][2] = uint8_t(3 * i);
    }
    Pal& Set(int i, uint8_t r, uint8_t g, uint8_t b) {
        e[i][0] = r, e[i][1] = g, e[i][2] = b;
        return *this;
    }
};

}  // namespace gfxtest
