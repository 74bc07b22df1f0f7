#include "media/gfx/dd_frame.h"

#include "media/gfx/dd_palette.h"

using namespace gfx;

namespace {
// The palette attached to the primary, else the layer's palette object.
const uint8_t (*DisplayPalette())[4] {
    if (g_PrimarySurface.lpDD && g_PrimarySurface.lpDD->lpSurface && g_PrimarySurface.lpDD->lpSurface->palette)
        return g_PrimarySurface.lpDD->lpSurface->palette->entries;
    return g_DD.lpDDPalette ? g_DD.lpDDPalette->entries : nullptr;
}
bool Convert(const cImage& img, std::vector<uint32_t>& out, int& w, int& h) {
    ConvertToXrgb8888(img, DisplayPalette(), out);
    w = img.Width();
    h = img.Height();
    return true;
}
}  // namespace

bool DDSurfaceToXrgb8888(DDSURFACEDATA* sd, std::vector<uint32_t>& out, int& width, int& height) {
    DDLOCK lock(sd);
    if (!lock.Locked()) return false;
    return Convert(*lock.Image(), out, width, height);
}

bool DDShownFrameToXrgb8888(std::vector<uint32_t>& out, int& width, int& height) {
    if (lpDTCon && g_DD.lpDevice) return Convert(g_DD.lpDevice->Shown(), out, width, height);
    if (g_PrimarySurface.lpDD && g_PrimarySurface.lpDD->lpSurface)
        return Convert(g_PrimarySurface.lpDD->lpSurface->img, out, width, height);
    return false;
}

bool DDShownFrameToXrgb8888(uint32_t* out, int width, int height) {
    const gfx::cImage* img = nullptr;
    if (lpDTCon && g_DD.lpDevice) img = &g_DD.lpDevice->Shown();
    else if (g_PrimarySurface.lpDD && g_PrimarySurface.lpDD->lpSurface) img = &g_PrimarySurface.lpDD->lpSurface->img;
    if (!img || img->Width() != width || img->Height() != height) return false;
    ConvertToXrgb8888(*img, DisplayPalette(), out);
    return true;
}
