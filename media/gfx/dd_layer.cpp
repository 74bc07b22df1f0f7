#include "media/gfx/dd_layer.h"

#include <algorithm>

#include "base/log.h"
#include "base/quit.h"
#include "platform/cp932.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_surface.h"

using namespace gfx;

std::list<DDLAYER> g_LayerStack;
DDLAYER* g_lpLayer = nullptr;

namespace {

struct FillRec {
    DDSURFACEDATA* sd;
    int x, y, w, h;
    uint32_t colour;
};
bool g_bFillBatch = false;
bool g_bPainting = false;
std::vector<FillRec> g_FillBatch;

void SetCurrentToLast() { g_lpLayer = g_LayerStack.empty() ? nullptr : &g_LayerStack.back(); }

bool SameRun(const DDDRAWREC& a, const DDDRAWREC& b) {
    return !a.paint && !b.paint && a.lpDst == b.lpDst && a.lpSrc == b.lpSrc && a.bTrans == b.bTrans &&
           a.dwColor == b.dwColor && a.nColorOp == b.nColorOp && a.nAlphaOp == b.nAlphaOp &&
           a.nReserved == b.nReserved;
}

bool Before(const DDDRAWREC& a, const DDDRAWREC& b) {
    if (a.nOrder != b.nOrder) return a.nOrder < b.nOrder;
    return a.nSeq < b.nSeq;
}

// Quicksort down to runs of 16, then one insertion sort over the whole range.
void QuickSort(std::vector<DDDRAWREC>& r, int lo, int hi) {
    while (hi - lo > 16) {
        const DDDRAWREC pivot = r[size_t(lo + (hi - lo) / 2)];
        int i = lo, j = hi - 1;
        while (i <= j) {
            while (Before(r[size_t(i)], pivot)) ++i;
            while (Before(pivot, r[size_t(j)])) --j;
            if (i <= j) std::swap(r[size_t(i++)], r[size_t(j--)]);
        }
        if (j + 1 - lo < hi - i) {
            QuickSort(r, lo, j + 1);
            lo = i;
        } else {
            QuickSort(r, i, hi);
            hi = j + 1;
        }
    }
}

void SortRecords(std::vector<DDDRAWREC>& r) {
    QuickSort(r, 0, int(r.size()));
    for (size_t i = 1; i < r.size(); ++i) {
        DDDRAWREC v = std::move(r[i]);
        size_t j = i;
        while (j > 0 && Before(v, r[j - 1])) {
            r[j] = std::move(r[j - 1]);
            --j;
        }
        r[j] = std::move(v);
    }
}

// One run of blits of one texture and state: a vertex and an index buffer
// made for the run, one indexed draw per quad.
void DrawRun(const DDDRAWREC* recs, size_t n) {
    cD3DDevice& dev = *g_DD.lpDevice;
    const DDDRAWREC& first = recs[0];
    DDSURFACEDATA* src = first.lpSrc;
    D3DVertexBufferPtr vb;
    if (FAILED_HR(dev.CreateVertexBuffer(vb))) {
        ReportLog("CreateVertexBuffer Err");
        return;
    }
    if (!src->lpDT || !src->lpDT->lpTexture) return;
    std::vector<D3DVertex> quads(n * 4);
    for (size_t k = 0; k < n; ++k) {
        const DDDRAWREC& r = recs[k];
        DDMakeQuad(&quads[k * 4], r.x, r.y, r.w, r.h, r.sx, r.sy, r.sw, r.sh, src->nTexWidth, src->nTexHeight,
                   r.dwColor);
    }
    DDBeginScene();
    if (!DDSetRenderTarget(0, first.lpDst)) return;
    if (first.bTrans == 0 && src->lpDT->bColorKey) {
        const uint32_t clear = DDTransparentClearValue(first.lpDst);
        for (size_t k = 0; k < n; ++k) {
            const int rc[4] = {recs[k].x, recs[k].y, recs[k].w, recs[k].h};
            dev.Clear(rc, clear);
        }
    }
    dev.stage.colorOp = first.nColorOp;
    dev.stage.colorArg1 = TA_TEXTURE;
    dev.stage.colorArg2 = TA_DIFFUSE;
    dev.stage.alphaOp = first.nAlphaOp;
    dev.stage.alphaArg1 = TA_TEXTURE;
    dev.stage.alphaArg2 = TA_DIFFUSE;
    for (size_t k = 0; k < n; ++k) dev.DrawStrip(&quads[k * 4], src->lpDT->lpTexture.get());
    DDSetRenderTarget(0, lpDTCon->lpDefaultTarget);
}

void PopLayer() {
    if (!g_LayerStack.empty()) g_LayerStack.pop_back();
    SetCurrentToLast();
}

}  // namespace

void DDBeginLayer(int key) {
    if (!lpDTCon) {
        DebugLog(SJ("DDではDDBeginLayerは未対応").c_str());
        return;
    }
    if (int(g_LayerStack.size()) >= kMaxLayers) return;
    g_LayerStack.emplace_back();
    g_LayerStack.back().nKey = key;
    SetCurrentToLast();
}

void DDPauseLayer() {
    if (lpDTCon && g_lpLayer) g_lpLayer->bRecording = 0;
}

void DDResumeLayer() {
    if (lpDTCon && g_lpLayer) g_lpLayer->bRecording = 1;
}

void DDLayerOrderSurfaceEx(DDSURFACEDATA* src, int sx, int sy) {
    if (!lpDTCon || !g_lpLayer || !g_lpLayer->bRecording || g_lpLayer->nKey == 0 || !src) return;
    DDResolveAlias(src);
    for (const DDTEXORDER& e : g_lpLayer->texOrder)
        if (e.lpSrc == src && (!e.bWithPos || (e.sx == sx && e.sy == sy))) return;
    DDTEXORDER e;
    e.lpSrc = src;
    e.bWithPos = 1;
    e.sx = sx;
    e.sy = sy;
    e.nSortKey = int(g_lpLayer->texOrder.size() + 1) * 100000;
    g_lpLayer->texOrder.push_back(e);
}

void DDLayerOrderSurface(DDSURFACEDATA* src) {
    if (!lpDTCon || !g_lpLayer || !g_lpLayer->bRecording || g_lpLayer->nKey == 0 || !src) return;
    DDResolveAlias(src);
    for (const DDTEXORDER& e : g_lpLayer->texOrder)
        if (e.lpSrc == src) return;
    DDTEXORDER e;
    e.lpSrc = src;
    e.nSortKey = int(g_lpLayer->texOrder.size() + 1) * 100000;
    g_lpLayer->texOrder.push_back(e);
}

bool DDLayerRecording() { return lpDTCon && g_lpLayer && g_lpLayer->bRecording && !g_bPainting; }

void DDLayerRecordBlit(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int sw,
                       int sh, int flag) {
    DDLAYER& L = *g_lpLayer;
    DDDRAWREC r;
    r.nSeq = int(L.records.size());
    bool found = false;
    if (L.nKey != 0) {
        for (const DDDRAWREC& e : L.records) {
            if (e.paint || e.lpSrc != src) continue;
            if (e.bPosMatched && (e.sx != sx || e.sy != sy)) continue;
            r.nOrder = e.nOrder;
            r.bPosMatched = e.bPosMatched;
            found = true;
            break;
        }
    }
    if (!found) {
        r.nOrder = L.nNextOrder++;
        for (const DDTEXORDER& e : L.texOrder) {
            if (e.lpSrc != src) continue;
            if (e.bWithPos) {
                if (e.sx != sx || e.sy != sy) continue;
                r.bPosMatched = 1;
            }
            r.nOrder += e.nSortKey;
        }
    }
    r.lpDst = dst;
    r.lpSrc = src;
    r.x = x;
    r.y = y;
    r.w = w;
    r.h = h;
    r.sx = sx;
    r.sy = sy;
    r.sw = sw;
    r.sh = sh;
    r.bTrans = flag;
    r.dwColor = lpDTCon->dwBlitColor;
    r.nColorOp = lpDTCon->nColorOp;
    r.nAlphaOp = lpDTCon->nAlphaOp;
    L.records.push_back(std::move(r));
}

void DDLayerRecordPaint(std::function<void()> paint) {
    DDLAYER& L = *g_lpLayer;
    DDDRAWREC r;
    r.nSeq = int(L.records.size());
    r.nOrder = L.nNextOrder++;
    r.paint = std::move(paint);
    L.records.push_back(std::move(r));
}

void DDEndLayer() {
    if (g_bQuit || !g_lpLayer) return;
    if (g_lpLayer->records.empty()) {
        PopLayer();
        return;
    }
    std::vector<DDDRAWREC>& recs = g_lpLayer->records;
    if (g_lpLayer->nKey != 0) SortRecords(recs);
    size_t i = 0;
    while (i < recs.size()) {
        if (recs[i].paint) {
            // A recorded paint draws now, not into any layer.
            g_bPainting = true;
            recs[i].paint();
            g_bPainting = false;
            ++i;
            continue;
        }
        size_t j = i + 1;
        while (j < recs.size() && SameRun(recs[i], recs[j])) ++j;
        if (g_DD.lpDevice) DrawRun(&recs[i], j - i);
        i = j;
    }
    PopLayer();
}

void DDClearLayers() {
    g_LayerStack.clear();
    g_lpLayer = nullptr;
    g_bFillBatch = false;
    g_FillBatch.clear();
}

void DDBeginFillBatch() {
    if (!lpDTCon) return;
    g_bFillBatch = true;
    g_FillBatch.clear();
}

bool DDFillBatchOpen() { return lpDTCon && g_bFillBatch; }

void DDFillBatchAppend(DDSURFACEDATA* sd, int x, int y, int w, int h, uint32_t colour) {
    g_FillBatch.push_back({sd, x, y, w, h, colour});
}

void DDEndFillBatch() {
    if (!lpDTCon) return;
    std::vector<FillRec> recs;
    recs.swap(g_FillBatch);
    g_bFillBatch = false;
    if (!g_DD.lpDevice) return;
    cD3DDevice& dev = *g_DD.lpDevice;
    size_t i = 0;
    while (i < recs.size()) {
        size_t j = i + 1;
        while (j < recs.size() && recs[j].sd == recs[i].sd) ++j;
        D3DVertexBufferPtr vb;
        if (FAILED_HR(dev.CreateVertexBuffer(vb))) {
            ReportLog("CreateVertexBuffer Err");
            i = j;
            continue;
        }
        DDBeginScene();
        if (DDSetRenderTarget(0, recs[i].sd)) {
            dev.stage.colorOp = TOP_SELECTARG2;
            dev.stage.colorArg2 = TA_DIFFUSE;
            dev.stage.alphaOp = TOP_DISABLE;
            const cD3DSurface* tex = g_WorkSD.lpDT ? g_WorkSD.lpDT->lpTexture.get() : nullptr;
            for (size_t k = i; k < j; ++k) {
                D3DVertex v[4];
                DDMakeQuad(v, recs[k].x, recs[k].y, recs[k].w, recs[k].h, 0, 0, 0, 0, 1, 1, recs[k].colour);
                dev.DrawStrip(v, tex);
            }
            DDSetRenderTarget(0, lpDTCon->lpDefaultTarget);
        }
        i = j;
    }
}
