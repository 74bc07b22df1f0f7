#include "media/text/dd_fade.h"

#include <cstring>

#include "base/quit.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_palette_fx.h"
#include "media/gfx/dd_state.h"
#include "media/text/fade_angle.h"

namespace {

using text::cFadeAngle;
using text::FadeDirection;

// Each lives for the whole run; only the pair of the active back end is used.
cFadeAngle g_FadeOutD3D(FadeDirection::kOut), g_FadeInD3D(FadeDirection::kIn);
cFadeAngle g_FadeOutDD(FadeDirection::kOut), g_FadeInDD(FadeDirection::kIn);

// Direct3D: a quad over the whole target in black with alpha 255 - a.
// False when the scene or a render-target switch fails.
bool DrawFadeQuad(double angle) {
    const int a = text::FadeQuadWeight(angle);
    const uint32_t colour = static_cast<uint32_t>(255 - a) << 24;
    DDSURFACEDATA* target = &g_BackBuffer;
    DDRedirectBackBuffer(&target);
    if (!target->lpDT || !target->lpDT->lpVB || !g_DD.lpDevice) return true;  // no quad, the angle moves on
    gfx::cD3DVertexBuffer& vb = *target->lpDT->lpVB;
    const float w = static_cast<float>(target->nWidth), h = static_cast<float>(target->nHeight);
    const float u = target->nTexWidth ? w / static_cast<float>(target->nTexWidth) : 1.0f;
    const float v = target->nTexHeight ? h / static_cast<float>(target->nTexHeight) : 1.0f;
    vb.v[0] = {-0.5f, -0.5f, 0, 1, colour, 0, 0};
    vb.v[1] = {-0.5f, h - 0.5f, 0, 1, colour, 0, v};
    vb.v[2] = {w - 0.5f, -0.5f, 0, 1, colour, u, 0};
    vb.v[3] = {w - 0.5f, h - 0.5f, 0, 1, colour, u, v};
    gfx::cD3DDevice& dev = *g_DD.lpDevice;
    dev.stage.colorOp = gfx::TOP_SELECTARG2;
    dev.stage.colorArg2 = gfx::TA_DIFFUSE;
    dev.stage.alphaOp = gfx::TOP_SELECTARG2;
    dev.stage.alphaArg2 = gfx::TA_DIFFUSE;
    if (!DDBeginScene()) return false;
    if (!DDSetRenderTarget(0, target)) return false;
    dev.DrawStrip(vb.v, nullptr);
    if (!DDSetRenderTarget(0, lpDTCon->lpDefaultTarget)) return false;
    return true;
}

// DirectDraw: the palette (8 bits) or the snapshot (16, 24, 32 bits) blended
// toward the colour by the picture's weight.
void DrawFadeDD(cFadeAngle& fade, uint8_t palette[256][4], int first, int last, uint8_t red, uint8_t green,
                uint8_t blue, const uint8_t srcPalette[256][4]) {
    const int g = text::FadeBlendWeight(fade.Angle());
    if (g_DD.nBpp == 8) {
        DDBlendPalette(palette, first, last, g, red, green, blue, srcPalette);
        if (g_DD.lpDDPalette && first >= 0 && last <= 255 && last >= first) {
            std::memcpy(g_DD.lpDDPalette->entries[first], palette[first], static_cast<size_t>(last - first + 1) * 4);
        }
    } else if (g_DD.nBpp == 16 || g_DD.nBpp == 24 || g_DD.nBpp == 32) {
        DDFade_UnPal(&g_BackBuffer, g, red, green, blue, &g_WorkSurface);
    }
}

bool FadeStep(bool fadeIn, uint8_t palette[256][4], int first, int last, uint8_t red, uint8_t green, uint8_t blue,
              double step, const uint8_t srcPalette[256][4], bool reset) {
    if (lpDTCon) {
        cFadeAngle& fade = fadeIn ? g_FadeInD3D : g_FadeOutD3D;
        if (reset) fade.Reset();
        if (!DrawFadeQuad(fade.Angle())) return false;
        return fade.Step(step);
    }
    cFadeAngle& fade = fadeIn ? g_FadeInDD : g_FadeOutDD;
    if (fade.AtStart() && g_DD.nBpp != 8) {
        DDBlt(&g_WorkSurface, 0, 0, g_WorkSurface.nWidth, g_WorkSurface.nHeight, &g_BackBuffer, 0, 0, 0);
    }
    if (reset) fade.Reset();
    DrawFadeDD(fade, palette, first, last, red, green, blue, srcPalette);
    return fade.Step(step);
}

}  // namespace

bool DDFadeOut(uint8_t palette[256][4], int first, int last, uint8_t red, uint8_t green, uint8_t blue, double step,
               const uint8_t srcPalette[256][4], bool reset) {
    return FadeStep(false, palette, first, last, red, green, blue, step, srcPalette, reset);
}

bool DDFadeIn(uint8_t palette[256][4], int first, int last, uint8_t red, uint8_t green, uint8_t blue, double step,
              const uint8_t srcPalette[256][4], bool reset) {
    return FadeStep(true, palette, first, last, red, green, blue, step, srcPalette, reset);
}

namespace text {

void ResetFadeAngles() {
    g_FadeOutD3D = cFadeAngle(FadeDirection::kOut);
    g_FadeInD3D = cFadeAngle(FadeDirection::kIn);
    g_FadeOutDD = cFadeAngle(FadeDirection::kOut);
    g_FadeInDD = cFadeAngle(FadeDirection::kIn);
}

double FadeAngle(bool direct3D, bool fadeIn) {
    if (direct3D) return (fadeIn ? g_FadeInD3D : g_FadeOutD3D).Angle();
    return (fadeIn ? g_FadeInDD : g_FadeOutDD).Angle();
}

}  // namespace text
