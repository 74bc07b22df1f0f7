#include "play/picture.h"

#include <cmath>
#include <iterator>

#include "base/app_state.h"
#include "engine/flow_runtime.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_surface.h"
#include "play/chara.h"
#include "play/draw_stage.h"
#include "play/numeric.h"
#include "media/gfx/run_time_surfaces.h"
#include "play/scene_play.h"
#include "records/system_data.h"

void cPicture::Init(const PictureRequest& r) {
    m_nPicture = r.nPicture;
    m_nPosKind = r.nPosKind;
    m_nUnit = r.nUnit;
    m_nX = r.nX;
    m_nY = r.nY;
    m_nOffsetX = r.nOffsetX;
    m_nOffsetY = r.nOffsetY;
    m_bSwapAnchoring = r.bSwapAnchoring;
    m_nLayer = r.nLayer;
    const int py = r.bSeparateY ? r.nPercentY : r.nPercent;
    m_nWidth = static_cast<int32_t>(std::lround(r.nImageWidth * r.nPercent * 0.01));
    m_nHeight = static_cast<int32_t>(std::lround(r.nImageHeight * py * 0.01));
    m_bMirrorX = r.bMirrorX;
    m_bMirrorY = r.bMirrorY;
    m_bStretched = (r.nPercent != 100 || (r.bSeparateY && r.nPercentY != r.nPercent) || r.bMirrorX || r.bMirrorY) ? 1 : 0;
    m_nDisplayMode = r.nDisplayMode;
    m_nFramesLeft = r.nFrames;
    m_bRunWhileFrozen = r.bRunWhileFrozen;
    m_nCharaKey = r.nCharaKey;
    m_bHasId = r.bHasId;
    m_nPictureId = r.nPictureId;
    m_bPlaced = 0;
}

void cPicture::GetPicturePosition(int& x, int& y) {
    if (m_nPosKind != 1 && m_nPosKind != 2) return;
    if (const cChara* c = FindCharaById(m_nCharaKey)) {
        m_dFollowX = c->m_dX + c->m_nWidth / 2;
        m_dFollowY = c->m_dY + c->m_nHeight / 2;
    }
    x = WrapAdd(TruncToInt(m_dFollowX - m_nWidth / 2), m_nOffsetX);
    y = WrapAdd(TruncToInt(m_dFollowY - m_nHeight / 2), m_nOffsetY);
}

void cPicture::Locate(int& a, int& b) {
    const cScenePlay* scene = PlayScene();
    const double sx = scene ? scene->m_ScrollX.m_dPos : 0.0, sy = scene ? scene->m_ScrollY.m_dPos : 0.0;
    const int bx = scene ? scene->m_ScrollX.m_nBorder : 0, by = scene ? scene->m_ScrollY.m_nBorder : 0;
    const int w = m_nWidth, h = m_nHeight;
    const bool unitOk = m_nUnit == 0 || m_nUnit == 1;
    const bool cells = m_nUnit == 0;
    a = b = 0;
    switch (m_nPosKind) {
        case 0:
            a = m_nOffsetX - w / 2 + 320;
            b = m_nOffsetY - h / 2 + 240;
            break;
        case 3:
            if (!unitOk) break;
            a = m_nOffsetX + (cells ? m_nX * 32 : m_nX);
            b = m_nOffsetY + (cells ? m_nY * 32 : m_nY);
            break;
        case 4:
            if (!unitOk) break;
            a = cells ? m_nX * 32 + m_nOffsetX - w / 2 + 16 : m_nOffsetX + m_nX - w / 2;
            b = cells ? m_nY * 32 + m_nOffsetY - h / 2 + 16 : m_nOffsetY + m_nY - h / 2;
            break;
        case 5:
        case 6: {
            if (!unitOk) break;
            double stx = cells ? (m_nX + bx) * 32 + m_nOffsetX : m_nOffsetX + bx * 32 + m_nX;
            double sty = cells ? (m_nY + by) * 32 + m_nOffsetY : m_nOffsetY + by * 32 + m_nY;
            if (m_nPosKind == 6) {
                stx -= w / 2 - (cells ? 16 : 0);
                sty -= h / 2 - (cells ? 16 : 0);
            }
            a = TruncToInt(stx - sx);
            b = TruncToInt(sty - sy);
            break;
        }
        case 1:
        case 2:
            if (g_SystemData.m_bCompat833) {
                int x = 0, y = 0;
                GetPicturePosition(x, y);
                a = x - TruncToInt(sx);
                b = y - TruncToInt(sy);
            } else {
                a = m_nX - TruncToInt(sx);
                b = m_nY - TruncToInt(sy);
            }
            break;
        default: break;
    }
    const bool screenKind = m_nPosKind == 0 || m_nPosKind == 3 || m_nPosKind == 4;
    if (screenKind && !m_bSwapAnchoring) {
        if (!m_bPlaced) {
            m_nPlacedX = TruncToInt(sx + 0.5 + a);
            m_nPlacedY = TruncToInt(sy + 0.5 + b);
            m_bPlaced = 1;
        } else {
            a = TruncToInt(m_nPlacedX - (sx - 0.5));
            b = TruncToInt(m_nPlacedY - (sy - 0.5));
        }
    } else if (!screenKind && m_bSwapAnchoring) {
        if (!m_bPlaced) {
            m_nPlacedX = a;
            m_nPlacedY = b;
            m_bPlaced = 1;
        }
        a = m_nPlacedX;
        b = m_nPlacedY;
    }
}

int cPicture::Draw(DDSURFACEDATA* dst, DDSURFACEDATA* surface, int frozen) {
    if (m_nDisplayMode == 2 && (m_bRunWhileFrozen || !frozen)) {
        if (--m_nFramesLeft < 0) return 1;
    }
    int a, b;
    Locate(a, b);
    const int w = m_nWidth, h = m_nHeight;
    if (!m_bStretched) {
        DDBlt(dst, a, b, w, h, surface, 0, 0, 1);
        return 0;
    }
    int srcX = 0, srcY = 0, srcW = surface ? surface->nWidth : 0, srcH = surface ? surface->nHeight : 0;
    if (lpDTCon) {
        if (m_bMirrorX) {
            srcX = srcW;
            srcW = -srcW;
        }
        if (m_bMirrorY) {
            srcY = srcH;
            srcH = -srcH;
        }
    }
    DDBltStretch(dst, a, b, w, h, surface, srcX, srcY, srcW, srcH, 1);
    return 0;
}

void RemovePictureAt(cScenePlay& scene, long long i) {
    if (i < 0 || i >= static_cast<long long>(scene.m_lstPictures.size())) return;
    scene.m_lstPictures.erase(std::next(scene.m_lstPictures.begin(), i));
    if (i < static_cast<long long>(g_lstRunTimeSurfaces.size())) {
        DDSURFACEDATA* sd = &*std::next(g_lstRunTimeSurfaces.begin(), i);
        DDRemoveSurface(g_lstRunTimeSurfaces, g_lstRunTimeSlots, sd);
    }
}

void DrawPictures(cScenePlay& scene, int layer, int frozen) {
    if (DrawTraced()) DrawTrace("Pictures " + std::to_string(layer));
    auto pic = scene.m_lstPictures.begin();
    auto surf = g_lstRunTimeSurfaces.begin();
    auto slot = g_lstRunTimeSlots.begin();
    while (pic != scene.m_lstPictures.end()) {
        DDSURFACEDATA* sd = surf != g_lstRunTimeSurfaces.end() ? &*surf : nullptr;
        if (pic->m_nLayer != layer || pic->Draw(&g_BackBuffer, sd, frozen) != 1) {
            ++pic;
            if (surf != g_lstRunTimeSurfaces.end()) ++surf;
            if (slot != g_lstRunTimeSlots.end()) ++slot;
            continue;
        }
        pic = scene.m_lstPictures.erase(pic);
        if (sd) {
            DDReleaseSurface(sd);
            surf = g_lstRunTimeSurfaces.erase(surf);
        }
        if (slot != g_lstRunTimeSlots.end()) slot = g_lstRunTimeSlots.erase(slot);
    }
}

void ClearPictures() {
    if (cScenePlay* scene = PlayScene()) scene->m_lstPictures.clear();
}
