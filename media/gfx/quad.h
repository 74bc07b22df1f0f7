// Textured quad with one texture stage and source-alpha blending, point
// sampling at pixel centres and the top-left fill rule. Positions follow the
// platform convention (a pixel's centre at its integer coordinate); texture
// coordinates are in texels.
#pragma once
#include <cstdint>

#include "media/gfx/image.h"

namespace gfx {

enum StageOp : int {
    TOP_DISABLE = 1,
    TOP_SELECTARG1 = 2,
    TOP_SELECTARG2 = 3,
    TOP_MODULATE = 4,
    TOP_ADD = 7,
    TOP_SUBTRACT = 10,
    TOP_BLENDFACTORALPHA = 14,
};
enum StageArg : int { TA_DIFFUSE = 0, TA_TEXTURE = 2, TA_TFACTOR = 3 };

struct StageState {
    int colorOp = TOP_MODULATE, colorArg1 = TA_TEXTURE, colorArg2 = TA_DIFFUSE;
    int alphaOp = TOP_SELECTARG1, alphaArg1 = TA_TEXTURE, alphaArg2 = TA_DIFFUSE;
    uint32_t tfactor = 0xFFFFFFFF;
};

struct QuadVertex {
    float x = 0, y = 0;  // position
    float s = 0, t = 0;  // texture coordinate in texels
};

struct QuadParams {
    const cImage* texture = nullptr;  // null: texel reads opaque white
    QuadVertex v[4];                  // triangle-strip order
    uint32_t diffuse = 0xFFFFFFFF;
    StageState stage;
    bool blend = true;  // source alpha / inverse source alpha
};

// Auto: the axis-aligned shortcut where it applies. General: always the
// triangle walk. PerPixel: the triangle walk testing every pixel of the
// bounding box, the reference the run-per-row walk must match.
enum class QuadPath { Auto, General, PerPixel };

// Draws into the target (RGB565, ARGB1555, XRGB8888 or ARGB8888).
void DrawQuad(cImage& target, const QuadParams& q, QuadPath path = QuadPath::Auto);

// Stage output for one texel and the vertex colour.
Argb StageColor(const StageState& st, Argb texel, Argb diffuse);
// Source-alpha blend of every channel.
Argb BlendSrcAlpha(Argb src, Argb dst);

// Quad vertices for an axis-aligned blit: (x - 0.5, y - 0.5) .. (x + w - 0.5,
// y + h - 0.5), texels sx .. sx + sw, sy .. sy + sh; strip order top-left,
// bottom-left, top-right, bottom-right.
void BlitQuadVertices(QuadVertex v[4], int x, int y, int w, int h, double sx, double sy, double sw, double sh);

}  // namespace gfx
