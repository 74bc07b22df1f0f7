// Effects, pictures and the message window in one frame. Targets: 200
// effects and 20 pictures drawn in both layers, median at most 1 ms; a
// ten-line window with 20 escapes refreshed and redrawn, at most 0.5 ms
// (Direct3D 32-bit, Release).
#include <benchmark/benchmark.h>

#include "app/scene_manager.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_init.h"
#include "media/gfx/dd_present.h"
#include "media/gfx/dd_surface.h"
#include "media/text/font.h"
#include "play/effect.h"
#include "play/message_window.h"
#include "play/picture.h"
#include "media/gfx/run_time_surfaces.h"
#include "play/scene_play.h"
#include "platform/cp932.h"
#include "records/database.h"

namespace {

cScenePlay g_Scene;

bool Build() {
    DDEnd();
    BuildBitmapTable();
    if (!DDInit(1, nullptr, 640, 480, 32, 0, 1, 1, 60, 0, SurfaceTable, BitmapTable, kSurfaceSlots, 0)) return false;
    g_lpPlayScene = &g_Scene;
    g_Scene.m_ScrollX.Init(0, 60);
    g_Scene.m_ScrollY.Init(1, 40);
    g_Scene.m_ScrollX.m_dPos = 400;
    g_Scene.m_ScrollY.m_dPos = 350;
    g_Fonts[1].InitFont(SJ("ＭＳ ゴシック"), 0, 16, 16, 16, 241, 0, 1, nullptr, 1, 240, nullptr, 0);
    // Two effects of three long parts, 32 x 32 cells.
    cDbEffect e;
    e.m_vecParts.assign(3, cDbEffectPart{});
    for (int k = 0; k < 3; ++k) {
        e.m_vecParts[size_t(k)].m_nPicture = k;
        e.m_vecParts[size_t(k)].m_nDuration = 9999;
    }
    g_Database.m_vecEffect = {cDbEffect{}, e, e};
    CompileEffectSteps(g_Database.m_vecEffect, g_vEffectSteps);
    g_vEffectSurfaces.clear();
    g_vEffectSurfaces.reserve(4);
    for (int i = 0; i < 4; ++i) {
        g_vEffectSurfaces.emplace_back();
        if (!DDCreateSurface(&g_vEffectSurfaces.back(), 96, 32, 1, 0, 0, 0, 0)) return false;
        DDFillRect(&g_vEffectSurfaces.back(), 4, 4, 80, 24, 40 + i);
    }
    g_Scene.m_lstEffects.clear();
    for (int i = 0; i < 200; ++i) {
        EffectRequest r;
        r.nId = 1 + i % 2;
        r.dX = 400 + (i * 37) % 600;
        r.dY = 350 + (i * 53) % 440;
        r.nWidth = r.nHeight = i % 4 == 0 ? 64 : 32;
        r.nLayer = i % 2;
        g_Scene.m_lstEffects.emplace_back().Init(r);
    }
    g_Scene.m_lstPictures.clear();
    for (int i = 0; i < 20; ++i) {
        g_lstRunTimeSurfaces.emplace_back();
        g_lstRunTimeSlots.emplace_back();
        if (!DDCreateSurface(&g_lstRunTimeSurfaces.back(), 100, 60, 1, 0, 0, 0, 0)) return false;
        DDFillRect(&g_lstRunTimeSurfaces.back(), 10, 10, 80, 40, 60 + i);
        PictureRequest r;
        r.nPicture = 1;
        r.nPosKind = i % 7;
        r.nUnit = 1;
        r.nX = (i * 29) % 500;
        r.nY = (i * 17) % 400;
        r.nImageWidth = 100;
        r.nImageHeight = 60;
        r.nPercent = i % 3 == 0 ? 150 : 100;
        r.nLayer = i % 2;
        g_Scene.m_lstPictures.emplace_back().Init(r);
    }
    return true;
}

void TearDown() {
    g_Scene.m_lstEffects.clear();
    g_Scene.m_lstPictures.clear();
    g_Scene.m_lstMessages.clear();
    DDReleaseSurfaceVector(g_vEffectSurfaces);
    g_vEffectSurfaces.clear();
    DDReleaseSurfaceList(g_lstRunTimeSurfaces);
    g_lstRunTimeSurfaces.clear();
    g_lstRunTimeSlots.clear();
    DDReleaseSurfaceList(g_lstMessageSurfaces);
    g_lstMessageSurfaces.clear();
    g_lstMessageSlots.clear();
    for (Font& f : g_Fonts) f.Release();
    g_FontList.clear();
    for (auto& s : SurfaceTable) DDReleaseSurfaceData(&s);
    g_lpPlayScene = nullptr;
    DDEnd();
}

bool SetUp(benchmark::State& state) {
    g_DDFrameLimiter = [](int, int, DDSURFACEDATA*) { return true; };
    if (Build()) return true;
    state.SkipWithError("set-up failed");
    return false;
}

void BM_EffectsAndPictures(benchmark::State& state) {
    if (!SetUp(state)) return;
    for (auto _ : state) {
        DDBeginScene();
        for (int layer = 0; layer < 2; ++layer) {
            DrawPictures(g_Scene, layer, 0);
            DrawEffects(g_Scene, layer, 0);
        }
        DDEndScene();
    }
    TearDown();
}
BENCHMARK(BM_EffectsAndPictures)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_RefreshedWindow(benchmark::State& state) {
    if (!SetUp(state)) return;
    std::string text;
    for (int line = 0; line < 10; ++line) text += "HP #S1_4Z  MP #S2_4Z.\n";
    MessageWindowInit in;
    in.strText = text;
    in.bVariables = 1;
    in.bRefresh = 1;
    in.nRefreshFrames = 1;
    in.bFramed = 0;
    in.bNoOpening = 1;
    g_Scene.m_lstMessages.emplace_back().Init(in);
    cMessageWindow& w = g_Scene.m_lstMessages.back();
    int32_t v = 0;
    for (auto _ : state) {
        g_Scene.m_vStageVars[1] = ++v % 10000;
        g_Scene.m_vStageVars[2] = (v * 7) % 10000;
        DDBeginScene();
        w.UpdateMessageWindow(&g_BackBuffer, 0);
        DDEndScene();
    }
    TearDown();
}
BENCHMARK(BM_RefreshedWindow)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
