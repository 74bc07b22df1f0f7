// The blit pieces that set-up and surface creation use: blit state, scene
// and render-target guards, clipping, the stretched blit, fills and the
// virtual back buffer.
#pragma once
#include <cstdint>

#include "media/gfx/dd_state.h"

void DDSetBlitColor(uint32_t argb);
void DDResetBlitColor();
void DDSetColorOp(int op);
void DDResetColorOp();
void DDSetAlphaOp(int op);
void DDResetAlphaOp();

int DDBeginScene();
void DDEndScene();
int DDSetRenderTarget(int reserved, DDSURFACEDATA* sd);

bool DDClipBlt(DDSURFACEDATA* dst, int& x, int& y, int& w, int& h, DDSURFACEDATA* src, int& sx, int& sy, int& sw,
               int& sh);
int DDBltStretch(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int sw, int sh,
                 int flag);
void DDBlt(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flag);

void DDFillRect(DDSURFACEDATA* sd, int x, int y, int w, int h, uint32_t palNum);
void DDFillSurface(DDSURFACEDATA* sd, uint32_t palNum);
void DDFillRectRGB(DDSURFACEDATA* sd, int x, int y, int w, int h, uint32_t colour);
void DDFillSurfaceRGB(DDSURFACEDATA* sd, uint32_t colour);

void DDSetVirtualBackBuffer(int on);
int DDRedirectBackBuffer(DDSURFACEDATA** sd);
void DDFlushVirtualBackBuffer(DDSURFACEDATA* dst, DDSURFACEDATA* src);

// Blit and fill parameter forms, and the blit state carried by them.
struct DDBLTPARAM {
    uint32_t dwColor = 0xFFFFFFFF;
    int nColorOp = 4;
};
void DDBltParam(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flag,
                const DDBLTPARAM& params);
int DDBltStretchParam(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int sw,
                      int sh, int flag, const DDBLTPARAM& params);

// Small drawing operations.
void DDSetPixel(DDSURFACEDATA* sd, int x, int y, uint32_t palNum);
void DDCircle(DDSURFACEDATA* sd, int cx, int cy, int r, uint32_t palNum);
void DDDrawHexText(DDSURFACEDATA* sd, int x, int y, int cellW, int cellH, DDSURFACEDATA* digits, const char* text);
void DDDebugPrintf(DDSURFACEDATA* sd, int x, int y, int cellW, int cellH, DDSURFACEDATA* digits, const char* format,
                   ...) __attribute__((format(printf, 7, 8)));
int DDSetDialogBoxMode(int on);
int DDMesBox(const char* text, const char* caption, int type);

// The value a colour-keyed destination is cleared to where the source is transparent.
uint32_t DDTransparentClearValue(DDSURFACEDATA* dst);
// The four vertices of a blit quad (top-left, bottom-left, top-right, bottom-right).
void DDMakeQuad(gfx::D3DVertex v[4], int x, int y, int w, int h, int sx, int sy, int sw, int sh, int texW, int texH,
                uint32_t diffuse);

// True when the surface is g_BackBuffer in full-screen mode.
bool DDIsFullScreenBackBuffer(const DDSURFACEDATA* sd);
