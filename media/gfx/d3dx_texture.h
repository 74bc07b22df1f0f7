// The utility library's texture-from-file call: a Windows bitmap into a
// texture of the given size, with a colour key compared on the image's own
// 8-bit colours and low bits dropped for 16-bit textures.
#pragma once
#include <string_view>

#include "media/gfx/bmp_file.h"
#include "media/gfx/d3d_device.h"

namespace gfx {

// colorKey: 0 none, else an opaque ARGB colour whose texels become 0.
HRESULT D3DXCreateTextureFromFileEx(cD3DDevice& dev, std::string_view cp932File, int width, int height, int usage,
                                    PixelFormat fmt, int pool, uint32_t colorKey, D3DSurfacePtr& out);
// Texel of one image colour (0x00RRGGBB) in a texture format, by the rules above.
uint32_t D3DXTexel(PixelFormat fmt, uint32_t rgb, uint32_t colorKey);

}  // namespace gfx
