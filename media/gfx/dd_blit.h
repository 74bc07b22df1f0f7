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

// True when the surface is g_BackBuffer in full-screen mode.
bool DDIsFullScreenBackBuffer(const DDSURFACEDATA* sd);
