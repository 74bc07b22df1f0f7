#include "media/gfx/d3dx_texture.h"

namespace gfx {

uint32_t D3DXTexel(PixelFormat fmt, uint32_t rgb, uint32_t colorKey) {
    if (colorKey && (0xFF000000u | rgb) == colorKey) return 0;
    const uint32_t r = (rgb >> 16) & 255, g = (rgb >> 8) & 255, b = rgb & 255;
    switch (fmt) {
    case PixelFormat::ARGB1555: return 0x8000u | (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
    case PixelFormat::RGB565: return (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3);
    default: return 0xFF000000u | rgb;
    }
}

HRESULT D3DXCreateTextureFromFileEx(cD3DDevice& dev, std::string_view cp932File, int width, int height, int usage,
                                    PixelFormat fmt, int pool, uint32_t colorKey, D3DSurfacePtr& out) {
    out.reset();
    auto dib = LoadDib(cp932File);
    if (!dib) return D3DERR_INVALIDCALL;
    if (width <= 0) width = dib->width;
    if (height <= 0) height = dib->height;
    HRESULT hr = dev.CreateTexture(width, height, usage, fmt, pool, out);
    if (FAILED_HR(hr)) return hr;
    for (int y = 0; y < dib->height && y < height; ++y)
        for (int x = 0; x < dib->width && x < width; ++x) out->img.Set(x, y, D3DXTexel(fmt, dib->Rgb(x, y), colorKey));
    return D3D_OK;
}

}  // namespace gfx
