#include "play/draw_stage.h"

#include <cmath>

#include "base/app_state.h"
#include "base/frame_timing.h"
#include "base/random.h"
#include "base/scene_state.h"
#include "media/frame_loop.h"
#include "engine/conditions.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_layer.h"
#include "media/gfx/dd_surface.h"
#include "media/gfx/effects/slice_blits.h"
#include "media/text/dd_frames.h"
#include "media/text/font.h"
#include "play/chara_computer.h"
#include "play/chara_draw.h"
#include "play/chara_player.h"
#include "play/chara_removal.h"
#include "play/condition_areas.h"
#include "play/map_cell.h"
#include "media/gfx/run_time_surfaces.h"
#include "play/scene_play.h"
#include "play/screen_effect.h"
#include "platform/service.h"
#include "play/play_trace.h"
#include "play/sound_requests.h"
#include "play/stage_resources.h"
#include "play/status_bar.h"
#include "records/stage.h"
#include "records/system_data.h"

void DrawTrace(const std::string& step) {
    if (IPlayTrace* trace = Service<IPlayTrace>::Find()) trace->Drawn(step);
}

bool DrawTraced() { return Service<IPlayTrace>::Find() != nullptr; }

namespace {

constexpr int kBackgroundCount = 8;
constexpr uint32_t kClearColour = 16;
constexpr int kItemLayer = 0;  // items carry no layer of their own

// A screen box put back after a pass outside PLAY.
class ScreenBoxKeeper {
public:
    ScreenBoxKeeper(cObject& o, bool keep) : m_o(keep ? &o : nullptr) {
        if (m_o) {
            m_box[0] = o.m_nScrLeft;
            m_box[1] = o.m_nScrTop;
            m_box[2] = o.m_nScrRight;
            m_box[3] = o.m_nScrBottom;
        }
    }
    ~ScreenBoxKeeper() {
        if (!m_o) return;
        m_o->m_nScrLeft = m_box[0];
        m_o->m_nScrTop = m_box[1];
        m_o->m_nScrRight = m_box[2];
        m_o->m_nScrBottom = m_box[3];
    }
    ScreenBoxKeeper(const ScreenBoxKeeper&) = delete;
    ScreenBoxKeeper& operator=(const ScreenBoxKeeper&) = delete;

private:
    cObject* m_o;
    int32_t m_box[4] = {};
};

int ScrollPixel(const cScrollAxis& axis) { return static_cast<int>(axis.m_dPos); }

// A surface that was created (either back end).
bool HasImage(const DDSURFACEDATA& sd) { return sd.nWidth > 0 && sd.nHeight > 0 && (sd.lpDT || sd.lpDD); }

// Swaps the drawing generator in around a pass outside PLAY on the game thread.
class DrawRandomScope {
public:
    DrawRandomScope(cScenePlay& scene, bool active) : m_scene(active ? &scene : nullptr) {
        if (!m_scene) return;
        m_nSaved = RandState();
        SetRandState(m_scene->m_nDrawRandState);
    }
    ~DrawRandomScope() {
        if (!m_scene) return;
        m_scene->m_nDrawRandState = RandState();
        SetRandState(m_nSaved);
    }
    DrawRandomScope(const DrawRandomScope&) = delete;
    DrawRandomScope& operator=(const DrawRandomScope&) = delete;

private:
    cScenePlay* m_scene;
    uint32_t m_nSaved = 0;
};

void DrawCaption() {
    const bool single = g_bSinglePlay || !g_bFreeStage;
    if (single && !g_bEditorTest) return;
    const auto& texts = g_SystemData.m_vecTexts;
    const size_t n = single ? 29 : 30;
    if (n >= texts.size()) return;
    const std::string& text = texts[n];
    g_Fonts[1].DrawString(&g_BackBuffer, 320 - 8 * SjisCharCount(text), 456, text);
}

void DrawItems(int layer, bool layered, int frozen, bool full) {
    if (layered && layer != kItemLayer) return;
    DDBeginLayer(0);
    for (cItem& item : g_lstItems) {
        if (item.m_Def.m_bHidden) continue;
        ScreenBoxKeeper keep(item, !full);
        item.UpdateScreenRect();
        DrawTrace("Item " + std::to_string(item.m_nKey));
        item.DrawItem(&g_BackBuffer, !frozen);
    }
    DDEndLayer();
}

// The charas' sheets in the order the Direct3D layer draws them.
void OrderCharaTextures() {
    for (int slot = 22; slot < 38; ++slot) DDLayerOrderSurface(&SurfaceTable[slot]);
    for (size_t i = 2; i < g_vDedicatedSurfaces.size(); i += 4) {
        DDLayerOrderSurface(&g_vDedicatedSurfaces[i]);
        DDLayerOrderSurface(&g_vDedicatedSurfaces[i + 1]);
    }
}

void DrawCharas(cScenePlay& scene, int layer, bool layered, int frozen, bool full) {
    const bool inLayer = lpDTCon && !g_SystemData.OptPlainCharaOrder;
    if (inLayer) {
        DDBeginLayer(1);
        OrderCharaTextures();
    }
    for (auto it = g_lstCharas.begin(); it != g_lstCharas.end();) {
        if (layered && it->m_Def.m_nZ != layer) {
            ++it;
            continue;
        }
        int ended;
        {
            ScreenBoxKeeper keep(*it, !full);
            DrawTrace("Chara " + std::to_string(it->m_nKey));
            ended = DrawChara(scene, *it, frozen);
        }
        if (ended == 1 && full) {
            auto gone = it++;
            RemoveChara(g_lstCharas, gone);
        } else {
            ++it;
        }
    }
    if (inLayer) DDEndLayer();
}

void DrawShots(cScenePlay& scene, int layer, bool layered, int frozen, bool full) {
    DDBeginLayer(0);
    for (cShot& shot : scene.m_lstShots) {
        if (layered && shot.m_EdShot.m_nZ != layer) continue;
        ScreenBoxKeeper keep(shot, !full);
        shot.UpdateScreenRect();
        if (!shot.IsOnScreen()) continue;
        DrawTrace("Shot " + std::to_string(shot.m_nKey));
        DrawShot(shot, &g_BackBuffer, frozen);
    }
    DDEndLayer();
}

}  // namespace

void ResetDrawRandom(cScenePlay& scene) { scene.m_nDrawRandState = 1; }

void ScrollBackgrounds(cScenePlay& scene) {
    if (scene.m_nState == CSCENEPLAY_MENU) return;
    auto& bgs = g_Stage.m_vecBackground;
    for (size_t i = 0; i < bgs.size() && i < kBackgroundCount; ++i) {
        cEdBackground& bg = bgs[i];
        const DDSURFACEDATA& sd = SurfaceTable[kBackgroundSlot + i];
        auto wrap = [](double v, int size) {
            if (size <= 0) return v;
            v = std::fmod(v, static_cast<double>(size));
            return v < 0 ? v + size : v;
        };
        if (bg.m_bAutoX) bg.m_dOffsetX = wrap(bg.m_dOffsetX - bg.m_dAutoSpeedX, sd.nWidth);
        if (bg.m_bAutoY) bg.m_dOffsetY = wrap(bg.m_dOffsetY - bg.m_dAutoSpeedY, sd.nHeight);
    }
}

void DrawBackgrounds(cScenePlay& scene, int layer) {
    DrawTrace("DrawBackgrounds " + std::to_string(layer));
    DDSURFACEDATA* bb = &g_BackBuffer;
    const auto& bgs = g_Stage.m_vecBackground;
    const size_t count = std::min<size_t>(bgs.size(), kBackgroundCount);
    bool anyShown = false;
    for (size_t i = 0; i < count; ++i) anyShown = anyShown || bgs[i].m_bShow;
    if (layer == 0 && !anyShown) {
        DDFillRect(bb, 0, 0, 640, 480, kClearColour);
        return;
    }
    bool drawn = false;
    for (size_t i = 0; i < count; ++i) {
        const cEdBackground& bg = bgs[i];
        if (!bg.m_bShow || bg.m_nLayer != layer) continue;
        if (bg.m_bFill) {
            DDFillRect(bb, 0, 0, 640, 480, static_cast<uint32_t>(bg.m_nFillColor));
            drawn = true;
            continue;
        }
        DDSURFACEDATA* sd = &SurfaceTable[kBackgroundSlot + i];
        // A background without an image (no file) has nothing to tile.
        if (!HasImage(*sd)) continue;
        double x0 = (std::floor(scene.m_ScrollX.m_dPos + 0.5) - 320) * bg.m_dParallaxX;
        double y0 = (std::floor(scene.m_ScrollY.m_dPos) - 320) * bg.m_dParallaxY;
        if (bg.m_bAutoX) x0 += bg.m_dOffsetX;
        if (bg.m_bAutoY) y0 += bg.m_dOffsetY;
        const int w = sd->nWidth, h = sd->nHeight;
        long long rx = static_cast<long long>(x0) % w, ry = static_cast<long long>(y0) % h;
        if (rx < 0) rx += w;
        if (ry < 0) ry += h;
        const int flag = (drawn || layer == 1) ? 1 : 0;
        for (long long y = -ry; y < 480; y += h)
            for (long long x = -rx; x < 640; x += w)
                DDBlt(bb, static_cast<int>(x), static_cast<int>(y), w, h, sd, 0, 0, flag);
        drawn = true;
    }
    if (layer == 0 && !drawn) DDFillRect(bb, 0, 0, 640, 480, kClearColour);
}

namespace {

// The block conditions of a cell; outside PLAY its latch byte is kept.
int BlockCondsHold(cScenePlay& scene, cMapCell& cell, int full) {
    const int32_t latch = cell.m_nLatch;
    const int r = CheckBlockConds(&scene, cell);
    if (!full) cell.m_nLatch = latch;
    return r;
}

cMapCell* CellAt(cScenePlay& scene, int col, int row) {
    if (col < 0 || row < 0 || col >= scene.m_ScrollX.m_nCells || row >= scene.m_ScrollY.m_nCells) return nullptr;
    const long long i = col + (static_cast<long long>(row) << scene.m_ScrollX.m_nShift);
    if (i >= static_cast<long long>(g_vMapCells.size())) return nullptr;
    return &g_vMapCells[size_t(i)];
}

}  // namespace

void DrawBlocks(cScenePlay& scene, int layer, int full) {
    DrawTrace("DrawBlocks " + std::to_string(layer));
    const int sx = ScrollPixel(scene.m_ScrollX), sy = ScrollPixel(scene.m_ScrollY);
    const int c0 = sx >> 5, r0 = sy >> 5;
    DDBeginLayer(0);
    for (int row = 0; row < 16; ++row)
        for (int col = 0; col < 21; ++col) {
            cMapCell* cell = CellAt(scene, c0 + col, r0 + row);
            if (!cell || cell->m_nGraphic == 0 || cell->m_nLayer != layer) continue;
            if (!BlockCondsHold(scene, *cell, full) || cell->m_bHidden) continue;
            cell->DrawIcon(&g_BackBuffer, col * 32 - (sx & 31), row * 32 - (sy & 31));
        }
    DDEndLayer();
}

int CountConditionBlocks(cScenePlay& scene) {
    const cScrollAxis& ax = scene.m_ScrollX;
    const cScrollAxis& ay = scene.m_ScrollY;
    int n = 0;
    for (int row = ay.m_nBorder; row < ay.m_nCells - ay.m_nBorder; ++row)
        for (int col = ax.m_nBorder; col < ax.m_nCells - ax.m_nBorder; ++col) {
            cMapCell* cell = CellAt(scene, col, row);
            if (cell && cell->m_nGraphic != 0 && CheckBlockConds(&scene, *cell)) ++n;
        }
    return n;
}

void DrawPlayer(cScenePlay& scene, int frozen, int full) {
    if (g_vPlayers.empty()) return;
    cCharaPlayer& hero = g_vPlayers[0];
    DrawTrace("DrawPlayer");
    ScreenBoxKeeper keep(hero, !full);
    hero.UpdatePlayerScreenRect();
    if (!hero.m_bDead) {
        DrawCharaSprite(hero, &g_BackBuffer, frozen);
        DrawHpGauge(hero, &g_BackBuffer);
        DrawSpGauge(hero, &g_BackBuffer);
        return;
    }
    if (DrawDyingChara(hero, &g_BackBuffer, frozen) == 1 && full) scene.ResolveMiss();
}

int DrawChara(cScenePlay&, cCharaComputer& chara, int frozen) {
    if (chara.m_bDead) return DrawDyingChara(chara, &g_BackBuffer, frozen);
    chara.UpdateScreenRect();
    if (chara.IsOnScreen()) {
        if (chara.m_bHidden) {
            SelectCharaFrame(chara, frozen);
            return 0;
        }
        DrawCharaSprite(chara, &g_BackBuffer, frozen);
        DrawHpGauge(chara, &g_BackBuffer);
        DrawSpGauge(chara, &g_BackBuffer);
        chara.DrawCarriedItemIcon(&g_BackBuffer);
    } else if (chara.m_bAppeared) {
        SelectCharaFrame(chara, frozen);
    }
    return 0;
}

void DrawTime(cScenePlay& scene, int timeSound) {
    if (scene.m_bNoTimeLimit) return;
    DrawTrace("DrawTime");
    DDDrawNumber(&g_BackBuffer, 272, 24, 32, 32, &SurfaceTable[kWordSlot], 0, 160, 1, scene.m_nTimeLeft, 3, 0);
    if (scene.m_nTimeLeft > 0 && scene.m_nTimeLeft <= g_Stage.m_nWarnTime && FrameSkipCounter(2, 0) && timeSound)
        PlaySe(14);
}

void BuildLightMask(cScenePlay&, DDSURFACEDATA& mask, DDSURFACEDATA& hole) {
    DDReleaseSurface(&mask);
    DDReleaseSurface(&hole);
    const cChara* hero = Hero();
    const int r = hero ? std::max(0, hero->m_nLightRadius) : 0;
    const int w = 1280 + 2 * r, h = 960 + 2 * r;
    if (!DDCreateSurface(&mask, w, h, 1, 0, 0, 0, 0)) return;
    DDFillSurface(&mask, kClearColour);
    if (r == 0) return;
    const int shape = hero->m_Def.m_nLightShape;
    if (shape == 1 || shape == 2) {
        if (!DDCreateSurface(&hole, 2 * r, 2 * r, 1, 0, 0, 0, 0)) return;
        if (g_SystemData.m_nPaletteMode == 1 && lpDTCon) DDFillSurfaceRGB(&hole, DDTransparentClearValue(&hole));
        else DDFillSurface(&hole, 0);
        DDBltCircle(&mask, w / 2, h / 2, r, r, r, 1, &hole, r, r, 0);
    } else {
        DDFillRect(&mask, w / 2 - r, h / 2 - r, 2 * r, 2 * r, 0);
    }
}

void DrawStage(cScenePlay& scene, int full, int frozen, int timeSound, int caption) {
    DrawRandomScope random(scene, !full && !scene.m_bInNestedLoop);
    DDSURFACEDATA* bb = &g_BackBuffer;
    // Shot sheets drawn again after a surface loss.
    if (SurfaceTable[kShotSheetSlot].bLost || SurfaceTable[kShotSheetSlot + 1].bLost) {
        BuildShotSheets();
        SurfaceTable[kShotSheetSlot].bLost = SurfaceTable[kShotSheetSlot + 1].bLost = 0;
    }
    // A running screen effect draws to the virtual back buffer.
    if (scene.m_ScreenEffect.m_nEffectId) DDSetVirtualBackBuffer(1);
    // The backgrounds behind the stage.
    ScrollBackgrounds(scene);
    DrawBackgrounds(scene, 0);
    if (scene.m_nState == CSCENEPLAY_MENU && !full && g_SystemData.OptHideStageInMenu) {
        // The in-game menu hides the stage: only the front backgrounds.
        DrawBackgrounds(scene, 1);
    } else {
        // Behind the layers: pictures, effects and blocks; then per layer the hero, items, charas and shots.
        DrawPictures(scene, 0, frozen);
        DrawEffects(scene, 0, frozen);
        DrawBlocks(scene, 0, full);
        const bool layered = g_Stage.m_bEightLayers != 0;
        const int heroLayer = g_vPlayers.empty() ? -1 : g_vPlayers[0].m_Def.m_nZ;
        for (int i = 0; i < (layered ? 8 : 1); ++i) {
            if (!layered || i == heroLayer) DrawPlayer(scene, frozen, full);
            DrawItems(i, layered, frozen, full);
            DrawCharas(scene, i, layered, frozen, full);
            DrawShots(scene, i, layered, frozen, full);
        }
        // In front: blocks, backgrounds, condition areas, the hero's light, pictures and effects.
        DrawBlocks(scene, 1, full);
        DrawBackgrounds(scene, 1);
        DrawConditionAreas(bb);
        if (!g_vPlayers.empty() && HasImage(scene.m_LightMask)) g_vPlayers[0].DrawLight(bb, &scene.m_LightMask);
        DrawPictures(scene, 1, frozen);
        DrawEffects(scene, 1, frozen);
        // The message windows and the draw-pass hook.
        UpdateMessageWindows(scene, frozen);
        if (IPlayTrace* trace = Service<IPlayTrace>::Find()) trace->MessageWindowsDrawn(scene, frozen);
        // The screen effect, the status bar and the time.
        RunScreenEffect(scene, frozen);
        DrawStatus(scene);
        DrawTime(scene, timeSound);
    }
    // The caption.
    if (caption) DrawCaption();
    // The colour cycling and the screen colour.
    CycleColors();
    DrawScreenColor(scene.m_ScreenColor, frozen);
}
