#include "play/effect.h"

#include <algorithm>

#include "base/app_state.h"
#include "base/random.h"
#include "records/system_ini.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_layer.h"
#include "play/draw_stage.h"
#include "play/numeric.h"
#include "media/gfx/run_time_surfaces.h"
#include "play/scene_play.h"
#include "records/database.h"

namespace {

const cDbEffect& EffectEntry(int id) { return g_Database.m_vecEffect.at(id & 0xFFFF); }

// The stretch copy is drawn from the system-memory twin unless the
// DirectDraw back end stretches in video memory.
bool StretchFromVideo() { return !lpDTCon && g_SystemIni.DD_VideoStretch; }

}  // namespace

void cEffect::Init(const EffectRequest& r) {
    m_nEffectId = r.nId;
    m_dX = r.dX;
    m_dY = r.dY;
    m_nWidth = r.nWidth;
    m_nHeight = r.nHeight;
    m_nLayer = r.nLayer;
    m_bRunWhileFrozen = r.bRunWhileFrozen;
    m_bStretched = r.nWidth != EffectEntry(r.nId).m_nCellWidth ? 1 : 0;
    ResetEffectAnime(r.nId);
}

void cEffect::InitAtOverlap(int id, const double a[4], const double b[4], int scale) {
    m_nEffectId = id;
    m_nLayer = 1;
    m_bRunWhileFrozen = 0;
    const cDbEffect& e = EffectEntry(id);
    const int k = static_cast<int8_t>(scale);
    const bool scaled = e.m_bScalable && k > 1;
    m_nWidth = scaled ? k * e.m_nCellWidth : e.m_nCellWidth;
    m_nHeight = scaled ? k * e.m_nCellHeight : e.m_nCellHeight;
    m_bStretched = scaled ? 1 : 0;
    double l = 0, t = 0, r = 0, btm = 0;
    if (BoxesOverlap(a, b)) {
        l = std::max(a[0], b[0]);
        t = std::max(a[1], b[1]);
        r = std::min(a[2], b[2]);
        btm = std::min(a[3], b[3]);
    }
    m_dX = l + TruncToInt(r - l + 1) / 2 - m_nWidth / 2;
    m_dY = t + TruncToInt(btm - t + 1) / 2 - m_nHeight / 2;
    const int spread = 4 * (e.m_bScalable ? k : 1);
    m_dX += RandRange(-spread, spread);
    m_dY += RandRange(-spread, spread);
    ResetEffectAnime(id);
}

void cEffect::ResetEffectAnime(int id) {
    m_Anime.m_vTracks.clear();
    m_Anime.m_vTracks.push_back(g_vEffectSteps.at(id & 0xFFFF));
    m_Anime.SetTrack(0, 1);
}

int cEffect::Draw(DDSURFACEDATA* dst, int frozen) {
    const cDbEffect& e = EffectEntry(m_nEffectId);
    if (e.m_vecParts.empty()) return 1;
    int frame;
    if (m_bRunWhileFrozen || !frozen) {
        frame = m_Anime.AdvanceFrame();
        if (frame == ANIME_END) return 1;
    } else {
        frame = m_Anime.GetFrame();
    }
    const cScenePlay* scene = PlayScene();
    const double sx = scene ? scene->m_ScrollX.m_dPos : 0.0, sy = scene ? scene->m_ScrollY.m_dPos : 0.0;
    const int x = TruncToInt(m_dX - sx), y = TruncToInt(m_dY - sy);
    const long long image = 2LL * (m_nEffectId & 0xFFFF) - 2;
    if (!m_bStretched) {
        DDBlt(dst, x, y, m_nWidth, m_nHeight, &g_vEffectSurfaces.at(image), frame * m_nWidth, 0, 1);
    } else {
        DDSURFACEDATA* src = &g_vEffectSurfaces.at(StretchFromVideo() ? image : image + 1);
        DDBltStretch(dst, x, y, m_nWidth, m_nHeight, src, frame * e.m_nCellWidth, 0, e.m_nCellWidth, e.m_nCellHeight,
                     1);
    }
    return 0;
}

void DrawEffects(cScenePlay& scene, int layer, int frozen) {
    if (DrawTraced()) DrawTrace("Effects " + std::to_string(layer));
    DDBeginLayer(0);
    for (auto it = scene.m_lstEffects.begin(); it != scene.m_lstEffects.end();) {
        if (it->m_nLayer == layer && it->Draw(&g_BackBuffer, frozen) == 1) it = scene.m_lstEffects.erase(it);
        else ++it;
    }
    DDEndLayer();
}

HitEffectTraceFn g_lpHitEffectTrace = nullptr;

void AddHitEffect(int effect, const double struckBox[4], const double attackBox[4], int scale) {
    if (g_lpHitEffectTrace) g_lpHitEffectTrace(effect, struckBox, attackBox, scale);
    cScenePlay* scene = PlayScene();
    if (!scene) return;
    scene->m_lstEffects.emplace_back().InitAtOverlap(effect, struckBox, attackBox, scale);
}
