#include "media/gfx/dd_surface.h"

#include <algorithm>

#include "base/checked_vector.h"
#include "base/error_box.h"
#include "base/log.h"
#include "base/quit.h"
#include "media/gfx/bmp_file.h"
#include "media/gfx/d3dx_texture.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_palette.h"
#include "platform/cp932.h"

using namespace gfx;

namespace {

void FatalTextureFailure() {
    if (lpDTCon && !lpDTCon->strTexFailText.empty()) ErrorBoxf("%s", lpDTCon->strTexFailText.c_str());
    SetQuitAndClose();
}

uint32_t OpaqueArgb(const RGBTRIPLE& t) {
    return 0xFF000000u | uint32_t(t.rgbtRed) << 16 | uint32_t(t.rgbtGreen) << 8 | t.rgbtBlue;
}

int HighBitTwice(int v) {
    int b = 1;
    while (b * 2 <= v) b *= 2;
    return b * 2;
}

// Destination index of source column (or row) i of a sheet mirrored cell by
// cell; i itself without mirroring.
int MirrorIndex(int i, int cell) { return cell ? cell * (i / cell + 1) - i % cell - 1 : i; }

}  // namespace

void DDAllocSurfacePart(DDSURFACEDATA* sd) {
    if (lpDTCon) {
        if (!sd->lpDT) sd->lpDT = new DTDATA();
    } else if (!sd->lpDD) {
        sd->lpDD = new DDDATA();
    }
}

void DDAdjustTextureSize(int& width, int& height) {
    if (!lpDTCon) return;
    if (lpDTCon->bPow2) {
        if (width > 0 && (width & (width - 1))) width = HighBitTwice(width);
        if (height > 0 && (height & (height - 1))) height = HighBitTwice(height);
    }
    if (lpDTCon->bSquareOnly) width = height = std::max(width, height);
}

bool DDCheckTextureSize(int width, int height) {
    if (!lpDTCon) return true;
    bool ok = true;
    if (width > lpDTCon->caps.maxTextureWidth) {
        ReportLogfDebug(SJ("このビデオカードでは横幅%dを超える画像はサポートされていません！").c_str(),
                        lpDTCon->caps.maxTextureWidth);
        ok = false;
    }
    if (height > lpDTCon->caps.maxTextureHeight) {
        ReportLogfDebug(SJ("このビデオカードでは縦幅%dを超える画像はサポートされていません！").c_str(),
                        lpDTCon->caps.maxTextureHeight);
        ok = false;
    }
    return ok;
}

bool DDCreateSurface(DDSURFACEDATA* sd, int width, int height, int colourKey, int memory, int textureType,
                     int aliasFlag, int reload) {
    DDAllocSurfacePart(sd);
    if (!lpDTCon) {
        if (!g_DD.lpDDraw) return false;
        DDSurfacePtr s;
        int used = memory ? 1 : 0;
        HRESULT hr = g_DD.lpDDraw->CreateOffscreen(width, height, used, s);
        if (FAILED_HR(hr)) {
            if (used == 1) {
                ReportLogfDebug("CreateSurface System Err");
                return false;
            }
            used = 1;
            if (FAILED_HR(g_DD.lpDDraw->CreateOffscreen(width, height, used, s))) {
                ReportLogfDebug("CreateSurface Video -> System Err");
                return false;
            }
        }
        if (sd->lpDD->lpSurface) g_DD.lpDDraw->ReleaseRef();
        sd->lpDD->lpSurface = s;
        if (colourKey == 1 && FAILED_HR(g_DD.lpDDraw->SetColorKey(s, g_DD.dwColorKey)))
            ReportLogfDebug("SetColorKey Err");
        sd->nWidth = sd->nTexWidth = width;
        sd->nHeight = sd->nTexHeight = height;
        sd->nMemory = used;
        DDFillRect(sd, 0, 0, width, height, 0);
        return true;
    }
    DTDATA& dt = *sd->lpDT;
    cD3DDevice& dev = *g_DD.lpDevice;
    if (!reload) {
        sd->strType = "OffScreen";
        sd->strFileName = "E";
        dt.nMemType = textureType;
        dt.lpSurface.reset();
        dt.lpSystemSurface.reset();
        dt.lpTexture.reset();
        dt.lpExtra.reset();
        dt.bColorKey = colourKey == 1;
        if (!aliasFlag) {
            dt.nTexNum = lpDTCon->nTexCounter++;
            if (FAILED_HR(dev.CreateVertexBuffer(dt.lpVB))) {
                ReportLogfDebug("CreateVertexBuffer Err");
                return false;
            }
        }
    }
    if (aliasFlag) {
        sd->nWidth = sd->nTexWidth = width;
        sd->nHeight = sd->nTexHeight = height;
        sd->nMemory = memory;
        return true;
    }
    int tw = width, th = height;
    DDAdjustTextureSize(tw, th);
    if (!DDCheckTextureSize(tw, th))
        ReportLogfDebug("%s", SJ("上記の理由でテクスチャの描画が失敗する可能性があります。(空)").c_str());
    if (dt.nMemType == DTMEMORYTYPE_VIDEO_NORT) dt.nMemType = DTMEMORYTYPE_VIDEO_RT;
    if (dt.nMemType == DTMEMORYTYPE_VIDEO_RT) {
        dt.bRenderTarget = 1;
        HRESULT hr = dev.CreateTexture(tw, th, USAGE_RENDERTARGET, lpDTCon->fmtTex, POOL_DEFAULT, dt.lpTexture);
        if (hr == D3DERR_OUTOFVIDEOMEMORY) {
            ReportLogfDebug("%s", SJ("VRAM不足のためシステムメモリにテクスチャを作成します。(空)").c_str());
            dt.nMemType = DTMEMORYTYPE_SYSTEM;
        } else if (FAILED_HR(hr)) {
            return false;
        }
    }
    if (dt.nMemType == DTMEMORYTYPE_SYSTEM && !dt.lpTexture) {
        dt.bRenderTarget = 0;
        HRESULT hr = dev.CreateTexture(tw, th, USAGE_DYNAMIC, lpDTCon->fmtTex, POOL_SYSTEMMEM, dt.lpTexture);
        if (FAILED_HR(hr)) {
            ReportLogfDebug("D3DXCreateTexture Err hr = %x", unsigned(hr));
            FatalTextureFailure();
            return false;
        }
    }
    dt.lpSurface = dt.lpTexture;
    dt.desc = {dt.lpTexture->img.Format(), dt.lpTexture->usage, dt.lpTexture->pool, dt.lpTexture->img.Width(),
               dt.lpTexture->img.Height()};
    if (dt.nMemType == DTMEMORYTYPE_VIDEO_RT && !reload) {
        HRESULT hr = dev.CreateOffscreenPlainSurface(dt.desc.width, dt.desc.height, dt.desc.format, POOL_SYSTEMMEM,
                                                     dt.lpSystemSurface);
        if (FAILED_HR(hr)) {
            ReportLogfDebug("CreateOffscreenPlainSurface Err hr = %x", unsigned(hr));
            FatalTextureFailure();
            return false;
        }
    }
    sd->nWidth = width;
    sd->nHeight = height;
    sd->nTexWidth = dt.desc.width;
    sd->nTexHeight = dt.desc.height;
    if (DDSetRenderTarget(0, sd)) {
        dev.Clear(nullptr, lpDTCon->dwTransARGB);
        DDSetRenderTarget(0, lpDTCon->lpDefaultTarget);
    }
    if (!reload) g_LiveSurfaces.push_back(sd);
    return true;
}

namespace {

// The per-surface steps after an image file was placed.
int FinishFromFile(DDSURFACEDATA* sd, int memory, int buildIndexMap, int mirrorW, int mirrorH) {
    sd->nMirrorW = mirrorW;
    sd->nMirrorH = mirrorH;
    sd->nMemory = memory;
    std::vector<uint8_t>** where = sd->lpDT ? &sd->lpDT->lpPalIdx : &sd->lpDD->lpPalIdx;
    if (buildIndexMap && g_DD.nBpp != 8) {
        DDBuildPaletteIndexMap(where, sd);
    } else {
        delete *where;
        *where = nullptr;
    }
    return SURF_OK;
}

}  // namespace

int DDCreateSurfaceFromFile(DDSURFACEDATA* sd, const std::string& file, int colourKey, int bpp, int memory,
                            int textureType, int aliasFlag, int buildIndexMap, int mirrorW, int mirrorH, int reload) {
    if (!lpDTCon) {
        auto dib = LoadDib(file);
        if (!dib) {
            DebugLog(file);
            return SURF_LOADIMAGE_ERR;
        }
        if (!DDCreateSurface(sd, dib->width, dib->height, colourKey, memory, 0, 0, 0)) return SURF_CREATE_ERR;
        if (!CopyBitmap(sd, file, bpp, buildIndexMap, mirrorW, mirrorH)) return SURF_LOADIMAGE_ERR;
        sd->nMirrorW = mirrorW;
        sd->nMirrorH = mirrorH;
        sd->nWidth = sd->nTexWidth = dib->width;
        sd->nHeight = sd->nTexHeight = dib->height;
        sd->strFileName = file;
        sd->nMemory = memory;
        return SURF_OK;
    }
    cD3DDevice& dev = *g_DD.lpDevice;
    DDAllocSurfacePart(sd);
    DTDATA& dt = *sd->lpDT;
    if (!reload) {
        sd->strType = "OffScreenFromFile";
        sd->strFileName = file;
        dt.nMemType = textureType;
        dt.lpSurface.reset();
        dt.lpSystemSurface.reset();
        dt.lpTexture.reset();
        dt.lpExtra.reset();
        dt.bColorKey = colourKey == 1;
        if (!aliasFlag) {
            dt.nTexNum = lpDTCon->nTexCounter++;
            HRESULT hr = dev.CreateVertexBuffer(dt.lpVB);
            if (FAILED_HR(hr)) {
                ReportLogfDebug("CreateVertexBuffer Err %x", unsigned(hr));
                return hr;
            }
        }
    }
    auto dib = LoadDib(file);
    if (!dib) {
        if (!file.empty()) ReportLogfDebug("LoadImage Err %s", file.c_str());
        return SURF_LOADIMAGE_ERR;
    }
    if (aliasFlag) {
        sd->nWidth = sd->nTexWidth = dib->width;
        sd->nHeight = sd->nTexHeight = dib->height;
        return FinishFromFile(sd, memory, buildIndexMap, mirrorW, mirrorH);
    }
    int tw = dib->width, th = dib->height;
    DDAdjustTextureSize(tw, th);
    if (!DDCheckTextureSize(tw, th))
        ReportLogfDebug(SJ("上記の理由でテクスチャの描画が失敗する可能性があります。(%s)").c_str(), file.c_str());
    uint32_t key = 0;
    if (colourKey == 1) key = OpaqueArgb(g_DD.nBpp == 16 ? lpDTCon->rgbTransmit16 : lpDTCon->rgbTransmit);
    if (dt.nMemType == DTMEMORYTYPE_VIDEO_NORT) {
        DebugLog(SJ("DDCreateSurfaceFromFile Err DTMEMORYTYPE_VIDEO_NORTの指定は未対応です。DTMEMORYTYPE_VIDEO_RTでテクスチャを作成します。"));
        dt.nMemType = DTMEMORYTYPE_VIDEO_RT;
    }
    if (dt.nMemType == DTMEMORYTYPE_VIDEO_RT) {
        dt.bRenderTarget = 0;
        HRESULT hr = D3DXCreateTextureFromFileEx(dev, file, tw, th, 0, lpDTCon->fmtTex, POOL_MANAGED, key, dt.lpTexture);
        if (hr == D3DERR_OUTOFVIDEOMEMORY) {
            ReportLogfDebug(SJ("VRAM不足のためシステムメモリにテクスチャを作成します。(%s)").c_str(), file.c_str());
            dt.nMemType = DTMEMORYTYPE_SYSTEM;
        } else if (FAILED_HR(hr)) {
            ReportLogfDebug(SJ("テクスチャの作成に失敗。(%s)").c_str(), file.c_str());
            return hr;
        }
    }
    if (dt.nMemType == DTMEMORYTYPE_SYSTEM && !reload) {
        HRESULT hr = D3DXCreateTextureFromFileEx(dev, file, tw, th, USAGE_DYNAMIC, lpDTCon->fmtTex, POOL_SYSTEMMEM, key,
                                                 dt.lpTexture);
        if (FAILED_HR(hr)) {
            ReportLogfDebug("D3DXCreateTextureFromFileEx Err %x %s", unsigned(hr), file.c_str());
            FatalTextureFailure();
            return hr;
        }
    }
    if (!dt.lpTexture) return D3DERR_INVALIDCALL;
    dt.lpSurface = dt.lpTexture;
    dt.desc = {dt.lpTexture->img.Format(), dt.lpTexture->usage, dt.lpTexture->pool, dt.lpTexture->img.Width(),
               dt.lpTexture->img.Height()};
    sd->nWidth = dib->width;
    sd->nHeight = dib->height;
    sd->nTexWidth = dt.desc.width;
    sd->nTexHeight = dt.desc.height;
    if (mirrorW || mirrorH) {
        DDSURFACEDATA tmp;
        if (DDCreateSurfaceFromFile(&tmp, file, colourKey, bpp, memory, textureType, 0, 0, 0, 0, 0) == SURF_OK)
            DDCreateMirror(sd, &tmp, mirrorW, mirrorH);
        DDReleaseSurfaceData(&tmp);
    }
    if (!reload) g_LiveSurfaces.push_back(sd);
    return FinishFromFile(sd, memory, buildIndexMap, mirrorW, mirrorH);
}

bool DDCheckSurfaceError(int code) {
    switch (code) {
    case SURF_CREATE_ERR: DebugLog("CREATESURFACE_ERR"); return false;
    case SURF_LOADIMAGE_ERR: DebugLog("LOADIMAGE_ERR"); return false;
    case SURF_SETCOLORKEY_ERR: DebugLog("SETCOLORKEY_ERR"); return false;
    default: return true;
    }
}

bool DDLoadSurfaces(DDSURFACEDATA* table, const int* slotNumbers, int count) {
    for (int k = 0; k < count; ++k) {
        const int n = slotNumbers[k];
        if (n < 0 || n >= kSurfaceSlots || !g_DD.lpBitmapTable) continue;
        DDSURFACEDATA* sd = &table[n];
        const BMPSLOT& b = g_DD.lpBitmapTable[n];
        DDReleaseSurface(sd);
        if (!IsEmptyName(b.strFileName)) {
            const int code = DDCreateSurfaceFromFile(sd, b.strFileName, b.bColorKey, g_DD.nBpp, b.nMemory, b.nTexType,
                                                     b.bAlias, b.bPalIdx, b.nMirrorW, b.nMirrorH, 0);
            if (!DDCheckSurfaceError(code) && !b.bOptional) {
                ErrorBoxf(SJ("%s の読み込みに失敗！").c_str(), b.strFileName.c_str());
                return false;
            }
        } else if (!DDCreateSurface(sd, b.nWidth, b.nHeight, b.bColorKey, b.nMemory, b.nTexType, b.bAlias, 0) &&
                   !b.bOptional) {
            OutOfMemoryExit();
            return false;
        }
    }
    return true;
}

bool DDAddSurface(std::vector<DDSURFACEDATA>& surfaces, std::vector<BMPSLOT>& slots, int width, int height,
                  int colourKey, int memory, int textureType, int aliasFlag) {
    surfaces.emplace_back();
    BMPSLOT b;
    b.Set("", colourKey, memory, textureType, aliasFlag, 0, 0, 0, 0, 0, 0);
    slots.push_back(b);
    return DDCreateSurface(&surfaces.back(), width, height, colourKey, memory, textureType, aliasFlag, 0);
}

bool DDAddSurfaceToList(std::list<DDSURFACEDATA>& surfaces, std::list<BMPSLOT>& slots, int width, int height,
                        int colourKey, int memory, int textureType, int aliasFlag) {
    surfaces.emplace_back();
    BMPSLOT b;
    b.Set("", colourKey, memory, textureType, aliasFlag, 0, 0, 0, 0, 0, 0);
    slots.push_back(b);
    return DDCreateSurface(&surfaces.back(), width, height, colourKey, memory, textureType, aliasFlag, 0);
}

bool DDInsertSurface(std::list<DDSURFACEDATA>& surfaces, std::list<BMPSLOT>& slots, int index, int width, int height,
                     int colourKey, int memory, int textureType, int aliasFlag) {
    if (index < 0) index = 0;
    if (size_t(index) >= surfaces.size())
        return DDAddSurfaceToList(surfaces, slots, width, height, colourKey, memory, textureType, aliasFlag);
    auto si = std::next(surfaces.begin(), index);
    auto bi = slots.begin();
    if (size_t(index) < slots.size()) bi = std::next(slots.begin(), index);
    else bi = slots.end();
    auto it = surfaces.emplace(si);
    BMPSLOT b;
    b.Set("", colourKey, memory, textureType, aliasFlag, 0, 0, 0, 0, 0, 0);
    slots.insert(bi, b);
    return DDCreateSurface(&*it, width, height, colourKey, memory, textureType, aliasFlag, 0);
}

int DDRemoveSurface(std::list<DDSURFACEDATA>& surfaces, std::list<BMPSLOT>& slots, DDSURFACEDATA* sd) {
    size_t pos = 0;
    for (auto it = surfaces.begin(); it != surfaces.end(); ++it, ++pos) {
        if (&*it != sd) continue;
        DDReleaseSurface(&*it);
        surfaces.erase(it);
        if (pos < slots.size()) slots.erase(std::next(slots.begin(), pos));
        return 1;
    }
    return 0;
}

void DDReleaseSurfaceData(DDSURFACEDATA* sd) {
    if (!sd) return;
    if (sd->lpDT) {
        if (!sd->lpAlias) {
            DTDATA& dt = *sd->lpDT;
            dt.lpTexture.reset();
            dt.lpExtra.reset();
            dt.lpVB.reset();
            dt.lpSystemSurface.reset();
            dt.lpSurface.reset();
            const int num = dt.nTexNum;
            if (sd != &g_BackBuffer)
                g_LiveSurfaces.remove_if([&](DDSURFACEDATA* s) { return s->lpDT && s->lpDT->nTexNum == num; });
        }
        delete sd->lpDT->lpPalIdx;
        delete sd->lpDT;
        sd->lpDT = nullptr;
    }
    if (sd->lpDD) {
        if (sd->lpDD->lpSurface && g_DD.lpDDraw) g_DD.lpDDraw->ReleaseRef();
        sd->lpDD->lpSurface.reset();
        delete sd->lpDD->lpPalIdx;
        delete sd->lpDD;
        sd->lpDD = nullptr;
    }
}

void DDReleaseSurfaceVector(std::vector<DDSURFACEDATA>& v) {
    for (auto& s : v) DDReleaseSurfaceData(&s);
}
void DDReleaseSurfaceList(std::list<DDSURFACEDATA>& l) {
    for (auto& s : l) DDReleaseSurfaceData(&s);
}

int DDCheckBitmapSize(int* out, const std::string& file, int maxWidth, int maxHeight) {
    if (lpDTCon) return 1;
    auto dib = LoadDib(file);
    if (!dib) {
        *out = 0;
        return 0;
    }
    *out = dib->width > maxWidth || dib->height > maxHeight;
    return 1;
}

bool CopyBitmap(DDSURFACEDATA* sd, const std::string& file, int bpp, int buildIndexMap, int mirrorW, int mirrorH) {
    if (lpDTCon || file.empty()) return true;
    auto dib = LoadDib(file);
    if (!dib) return false;
    const int w = dib->width, h = dib->height;
    if (bpp == 8 || (bpp == 16 && dib->bitCount != 8)) {
        DDLOCK lock(sd);
        if (!lock.Locked()) return false;
        cImage& img = *lock.Image();
        if (bpp == 8) {
            if (dib->bitCount != 8) {
                DebugLogf("CopyBitmap Err %s true colour into 8 bits", file.c_str());
                return false;
            }
            if (img.Width() != w || img.Height() != h) {
                DebugLogf("CopyBitmap Err %s Surface(%d,%d) Bmp(%d,%d)", file.c_str(), img.Width(), img.Height(), w, h);
            } else {
                for (int j = 0; j < h; ++j) {
                    const int dy = MirrorIndex(j, mirrorH);
                    if (dy >= h) break;
                    for (int i = 0; i < w; ++i) {
                        const int dx = MirrorIndex(i, mirrorW);
                        if (dx >= w) break;
                        img.Set(dx, dy, dib->index[size_t(j) * w + i]);
                    }
                }
            }
        } else {
            const PixelLayout& l = g_SurfLayout;
            const RGBTRIPLE t = lpDDCon ? lpDDCon->rgbTransmit16 : RGBTRIPLE{};
            const uint32_t key = g_DD.dwColorKey;
            for (int j = 0; j < h && j < img.Height(); ++j) {
                const int dy = MirrorIndex(j, mirrorH);
                if (dy >= h || dy >= img.Height()) break;
                for (int i = 0; i < w && i < img.Width(); ++i) {
                    const int dx = MirrorIndex(i, mirrorW);
                    if (dx >= w || dx >= img.Width()) break;
                    const uint32_t c = dib->Rgb(i, j);
                    const uint32_t r = (c >> 16) & 255, g = (c >> 8) & 255, b = c & 255;
                    uint32_t v;
                    if (r == t.rgbtRed && g == t.rgbtGreen && b == t.rgbtBlue) {
                        v = key;
                    } else {
                        v = ScaleDown(b, l.bm) << l.bs | ScaleDown(g, l.gm) << l.gs | ScaleDown(r, l.rm) << l.rs;
                        if (v == key) v = ((v >> l.bs) & l.bm) == uint32_t(l.bm) ? v - 1 : v + 1;
                    }
                    img.Set(dx, dy, v);
                }
            }
        }
    } else {
        // The system's device-independent copy into a 16-, 24- or 32-bit surface.
        DDLOCK lock(sd);
        if (!lock.Locked()) return false;
        cImage& img = *lock.Image();
        const PixelFormat f = img.Format();
        auto put = [&](int dx, int dy, int sx, int sy) {
            const uint32_t c = dib->Rgb(sx, sy);
            if (f == PixelFormat::RGB565)
                img.Set(dx, dy, ((c >> 19) & 31) << 11 | ((c >> 10) & 63) << 5 | ((c >> 3) & 31));
            else
                img.Set(dx, dy, c);
        };
        if (mirrorW || mirrorH) {
            const int cw = mirrorW ? mirrorW : w, ch = mirrorH ? mirrorH : h;
            const int nx = w / cw, ny = h / ch;
            for (int cy = 0; cy < ny; ++cy)
                for (int cx = 0; cx < nx; ++cx)
                    for (int y = 0; y < ch; ++y)
                        for (int x = 0; x < cw; ++x) {
                            const int sx = cx * cw + x, sy = cy * ch + y;
                            const int dx = mirrorW ? cx * cw + cw - 1 - x : sx;
                            const int dy = mirrorH ? cy * ch + ch - 1 - y : sy;
                            if (img.Inside(dx, dy)) put(dx, dy, sx, sy);
                        }
        } else {
            for (int y = 0; y < h && y < img.Height(); ++y)
                for (int x = 0; x < w && x < img.Width(); ++x) put(x, y, x, y);
        }
    }
    sd->nWidth = w;
    sd->nHeight = h;
    sd->nMirrorW = mirrorW;
    sd->nMirrorH = mirrorH;
    sd->strFileName = file;
    std::vector<uint8_t>** where = &sd->lpDD->lpPalIdx;
    if (buildIndexMap && bpp != 8) {
        if (!DDBuildPaletteIndexMap(where, sd)) return false;
    } else {
        delete *where;
        *where = nullptr;
    }
    return true;
}

bool DDCreateMirror(DDSURFACEDATA* dst, DDSURFACEDATA* src, int mirrorW, int mirrorH) {
    if (!lpDTCon || mirrorW == 0 || mirrorH != 0) return true;
    if (DDSetRenderTarget(0, dst)) {
        g_DD.lpDevice->Clear(nullptr, lpDTCon->dwTransTexel);
        DDSetRenderTarget(0, lpDTCon->lpDefaultTarget);
    }
    for (int k = 0; (k + 1) * mirrorW <= src->nWidth; ++k)
        DDBltStretch(dst, k * mirrorW, 0, mirrorW, src->nHeight, src, k * mirrorW + mirrorW, 0, -mirrorW, src->nHeight,
                     0);
    return true;
}

void DDAdjustMirror(DDSURFACEDATA* src, int& sx, int& sy, int& sw, int& sh) {
    if (!lpDTCon || !src || !src->lpAlias) return;
    if (const int w = src->nMirrorW) {
        if (sw == w) {
            sx += sw;
            sw = -sw;
        } else if (sw < w) {
            sx = sx + w - 2 * (sx % w);
            sw = -sw;
        }
    }
    if (const int h = src->nMirrorH) {
        if (sh == h) {
            sy += sh;
            sh = -sh;
        } else if (sh < h) {
            sy = sy + h - 2 * (sy % h);
            sh = -sh;
        }
    }
}

void DDResolveAlias(DDSURFACEDATA*& sd) {
    if (lpDTCon && sd && sd->lpAlias) sd = sd->lpAlias;
}

void LinkSurfaceAliases() {
    DDSURFACEDATA* t = SurfaceTable;
    t[3].lpAlias = &t[2];
    for (int k = 0; k < 8; ++k) {
        t[5 + 2 * k].lpAlias = &t[4 + 2 * k];      // 5 -> 4 ... 19 -> 18
        t[22 + 2 * k].lpAlias = &t[4 + 2 * k];     // 22, 23 -> 4 ... 36, 37 -> 18
        t[23 + 2 * k].lpAlias = &t[4 + 2 * k];
    }
    t[21].lpAlias = &t[20];
    t[38].lpAlias = &t[20];
    t[39].lpAlias = &t[20];
    t[41].lpAlias = &t[40];
    t[44].lpAlias = &t[43];
    t[69].lpAlias = &t[68];
}
