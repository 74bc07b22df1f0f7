// Row fast path of the textured quad for 32-bit texels and targets under any
// stage set-up that is not a plain copy (the colour effects' modulation by
// the vertex colour, their blend toward the texture factor). Each output
// channel of the stage depends only on the same channel of the texel, so the
// stage becomes (texel x m + k) / 255 per channel where the operations allow,
// else four 256-entry tables, built once per set-up; four pixels go at a
// time through 16-bit lanes. The values are those of the general path.
#pragma once
#include <cstddef>
#include <cstdint>

#include "media/gfx/quad.h"

namespace gfx {

// n target pixels from the texels texRow[tx[j]] (texRow null: no texture,
// which reads opaque white). contiguous: tx[j] = tx[0] + j. sameImage: the
// texture is the target. argbTarget: the target keeps alpha (ARGB8888),
// else it is XRGB8888.
void StageRow32(const StageState& st, uint32_t diffuse, bool blend, const uint8_t* texRow, const int* tx, size_t n,
                bool contiguous, bool sameImage, uint8_t* target, bool argbTarget);

// Source-alpha blend of a stage colour over a target pixel, both as packed
// ARGB (the target's alpha as it reads).
inline uint32_t BlendPacked(uint32_t src, uint32_t dst) {
    const uint32_t a = src >> 24, ia = 255 - a;
    uint32_t rb = (src & 0x00FF00FFu) * a + (dst & 0x00FF00FFu) * ia + 0x007F007Fu;
    uint32_t ag = (src >> 8 & 0x00FF00FFu) * a + (dst >> 8 & 0x00FF00FFu) * ia + 0x007F007Fu;
    // v / 255 = (v + 1 + (v >> 8)) >> 8 for every v a field can hold here.
    rb = (rb + 0x00010001u + (rb >> 8 & 0x00FF00FFu)) >> 8 & 0x00FF00FFu;
    ag = (ag + 0x00010001u + (ag >> 8 & 0x00FF00FFu)) >> 8 & 0x00FF00FFu;
    return rb | ag << 8;
}

}  // namespace gfx
