// Surfaces and fonts of one test: released before the device goes, so that
// no registered surface outlives its test.
#pragma once
#include <algorithm>

#include "media/gfx/dd_surface.h"
#include "media/text/font.h"

namespace texttest {

struct ScopedSurface : DDSURFACEDATA {
    ScopedSurface() = default;
    ScopedSurface(const ScopedSurface&) = delete;
    ~ScopedSurface() { DDReleaseSurfaceData(this); }
};

struct ScopedFont : Font {
    ~ScopedFont() {
        Release();
        g_FontList.erase(std::remove(g_FontList.begin(), g_FontList.end(), this), g_FontList.end());
    }
};

}  // namespace texttest
