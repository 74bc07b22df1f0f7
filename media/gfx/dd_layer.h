// Draw layers and the fill batch of the Direct3D back end: blits recorded
// while a layer records are drawn at the layer's end, sorted by the layer's
// texture order when its key is non-zero, in runs of equal texture and state;
// fills inside the batch are drawn in runs of equal surface.
#pragma once
#include <cstdint>
#include <functional>
#include <list>
#include <vector>

#include "media/gfx/dd_state.h"

// A recorded blit. `paint` is set instead of the surfaces for a draw that is
// not a blit (text): it runs in its place when the layer ends.
struct DDDRAWREC {
    int nSeq = 0;
    int nOrder = 0;
    DDSURFACEDATA* lpDst = nullptr;
    DDSURFACEDATA* lpSrc = nullptr;
    int x = 0, y = 0, w = 0, h = 0;
    int sx = 0, sy = 0, sw = 0, sh = 0;
    int bTrans = 0;
    uint32_t dwColor = 0xFFFFFFFF;
    int nColorOp = 4, nAlphaOp = 2;
    int nReserved = 0;
    int bPosMatched = 0;
    std::function<void()> paint;
};

struct DDTEXORDER {
    DDSURFACEDATA* lpSrc = nullptr;
    int bWithPos = 0;
    int sx = 0, sy = 0;
    int nSortKey = 0;
};

struct DDLAYER {
    int bRecording = 1;
    std::vector<DDDRAWREC> records;
    int nNextOrder = 0;
    int nKey = 0;
    std::vector<DDTEXORDER> texOrder;
};

constexpr int kMaxLayers = 100;
extern std::list<DDLAYER> g_LayerStack;
extern DDLAYER* g_lpLayer;  // the innermost layer, or null

void DDBeginLayer(int key);
void DDPauseLayer();
void DDResumeLayer();
void DDLayerOrderSurface(DDSURFACEDATA* src);
void DDLayerOrderSurfaceEx(DDSURFACEDATA* src, int sx, int sy);
void DDEndLayer();
// Drops every layer without drawing (device loss, tests).
void DDClearLayers();

// True while the innermost layer records (blits go into it).
bool DDLayerRecording();
// Records a clipped blit with the current blit state.
void DDLayerRecordBlit(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int sw,
                       int sh, int flag);
// Records a draw that runs when the layer ends, in the layer's order.
void DDLayerRecordPaint(std::function<void()> paint);

void DDBeginFillBatch();
void DDEndFillBatch();
bool DDFillBatchOpen();
void DDFillBatchAppend(DDSURFACEDATA* sd, int x, int y, int w, int h, uint32_t colour);
