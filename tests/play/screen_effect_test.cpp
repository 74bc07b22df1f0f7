// The screen effect: its machine (timer mode, truncated test, the reversed
// "move"), the shake's swing, the zoom's source box, and the handlers' calls
// by log: copy, clear, and the transforming blit inside the alpha operation.
#include <gtest/gtest.h>

#include <cstdarg>
#include <string>
#include <vector>

#include "play/chara_effect.h"
#include "play/chara_player.h"
#include "play/scene_play.h"
#include "play/screen_effect.h"
#include "records/database.h"
#include "records/db_effect_params.h"
#include "tests/play/play_fixture.h"

namespace {

std::vector<std::string> g_log;

void Log(const char* format, ...) {
    char buf[256];
    va_list ap;
    va_start(ap, format);
    vsnprintf(buf, sizeof buf, format, ap);
    va_end(ap);
    g_log.emplace_back(buf);
}

std::string N(const DDSURFACEDATA* s) {
    if (s == &g_BackBuffer) return "bb";
    return "S" + std::to_string(s - SurfaceTable);
}

ScreenBlitOps RecordingOps() {
    ScreenBlitOps o;
    o.blt = [](DDSURFACEDATA* d, int x, int y, int w, int h, DDSURFACEDATA* s, int sx, int sy, int f) {
        Log("blt %s %d %d %d %d %s %d %d %d", N(d).c_str(), x, y, w, h, N(s).c_str(), sx, sy, f);
    };
    o.bltStretch = [](DDSURFACEDATA* d, int x, int y, int w, int h, DDSURFACEDATA* s, int sx, int sy, int sw, int sh,
                      int f) {
        Log("stretch %s %d %d %d %d %s %d %d %d %d %d", N(d).c_str(), x, y, w, h, N(s).c_str(), sx, sy, sw, sh, f);
        return 1;
    };
    o.fillRect = [](DDSURFACEDATA* d, int x, int y, int w, int h, uint32_t c) {
        Log("fill %s %d %d %d %d %u", N(d).c_str(), x, y, w, h, c);
    };
    o.split = [](DDSURFACEDATA* d, int, int, int, int, int slice, int shift, DDSURFACEDATA* s, int, int, int,
                 int vertical) {
        Log("split %s %d %d %s %d", N(d).c_str(), slice, shift, N(s).c_str(), vertical);
        return true;
    };
    o.wave = [](DDSURFACEDATA* d, int, int, int, int, int waves, double amp, int phase, int slice, DDSURFACEDATA* s,
                int, int, int, int vertical) {
        Log("wave %s %d %g %d %d %s %d", N(d).c_str(), waves, amp, phase, slice, N(s).c_str(), vertical);
        return true;
    };
    o.rotate = [](DDSURFACEDATA* d, int cx, int cy, int w, int h, int px, int py, int a, DDSURFACEDATA* s, int, int,
                  int) {
        Log("rotate %s %d %d %d %d %d %d %d %s", N(d).c_str(), cx, cy, w, h, px, py, a, N(s).c_str());
        return true;
    };
    o.circle = [](DDSURFACEDATA* d, int cx, int cy, int hw, int hh, int r, int band, DDSURFACEDATA* s, int, int, int) {
        Log("circle %s %d %d %d %d %d %d %s", N(d).c_str(), cx, cy, hw, hh, r, band, N(s).c_str());
        return true;
    };
    o.lens = [](DDSURFACEDATA* d, int cx, int cy, int r, int depth, DDSURFACEDATA* s, int scx, int scy, int, int,
                const DDBLTPARAM*) {
        Log("lens %s %d %d %d %d %s %d %d", N(d).c_str(), cx, cy, r, depth, N(s).c_str(), scx, scy);
        return true;
    };
    o.mosaic = [](DDSURFACEDATA* d, int, int, int w, int h, int block, DDSURFACEDATA* s, int, int, int,
                  const DDBLTPARAM*) {
        Log("mosaic %s %d %d %d %s", N(d).c_str(), w, h, block, N(s).c_str());
        return true;
    };
    o.setAlphaOp = [](int op) { Log("alpha %d", op); };
    o.resetAlphaOp = [] { Log("alpha reset"); };
    o.setVirtualBackBuffer = [](int on) { Log("virtual %d", on); };
    o.drawBackgrounds = [](cScenePlay&, int layer) { Log("backgrounds %d", layer); };
    return o;
}

class ScreenEffectTest : public playtest::PlaySceneTest {
protected:
    void SetUp() override {
        PlaySceneTest::SetUp();
        m_saved = g_Database;
        ScreenBlits() = RecordingOps();
        g_log.clear();
        g_Database.m_vecScrEffect.assign(kScreenEffectKinds, cDbScrEffect{});
        // Every kind at its table's defaults.
        for (int k = 0; k < kScreenEffectKinds; ++k) {
            cDbScrEffect& e = g_Database.m_vecScrEffect[size_t(k)];
            e.m_nKind = k;
            for (int i = 0; i < 5; ++i) e.m_nParam[i] = ScrEffectParamTable()[size_t(k * 5 + i)].nDefault;
        }
        g_vPlayers.resize(1);
        cCharaPlayer& hero = g_vPlayers[0];
        hero.m_nScrLeft = 100;
        hero.m_nScrTop = 400;
        hero.m_nDrawWidth = hero.m_nDrawHeight = 32;
    }
    void TearDown() override {
        ScreenBlits() = DefaultScreenBlits();
        g_Database = m_saved;
        for (auto& t : g_vScrEffectSlots) t.clear();
        g_vPlayers.clear();
        PlaySceneTest::TearDown();
    }
    void Prepare() {
        g_Database.MakeWorkingCopies();
        PrepareScrEffectSlots();
    }
    void Start(int id, int mode = 0, int repeat = 0) { StartScreenEffect(m_scene.m_ScreenEffect, id, mode, repeat); }
    cDatabase m_saved;
};

TEST_F(ScreenEffectTest, HandlersCopyClearAndTransform) {
    Prepare();
    struct Case {
        int kind;
        std::vector<std::string> calls;
    } cases[] = {
        {4, {"blt S68 0 0 640 480 bb 0 0 0", "fill bb 0 0 640 480 16", "alpha 1", "split bb 32 0 S68 0", "alpha reset"}},
        {5, {"blt S68 0 0 640 480 bb 0 0 0", "fill bb 0 0 640 480 16", "alpha 1", "split bb 32 0 S68 1", "alpha reset"}},
        {6, {"blt S68 0 0 640 480 bb 0 0 0", "fill bb 0 0 640 480 16", "alpha 1", "wave bb 4 0 0 8 S68 0", "alpha reset"}},
        {7, {"blt S68 0 0 640 480 bb 0 0 0", "fill bb 0 0 640 480 16", "alpha 1", "wave bb 4 0 0 10 S68 1",
             "alpha reset"}},
        {9, {"blt S69 0 0 640 480 bb 0 0 0", "fill bb 0 0 640 480 16", "alpha 1", "rotate bb 320 240 640 480 320 240 0 S69",
             "alpha reset"}},
        // The hero's centre (116, 416): reach 640 - 116 across, 416 down.
        {10, {"blt S68 0 0 640 480 bb 0 0 0", "fill bb 0 0 640 480 16", "alpha 1", "circle bb 116 416 524 416 640 8 S68",
              "alpha reset"}},
        // Reach sqrt(2) x 524.
        {12, {"fill S69 0 0 1482 1482 0", "blt S69 0 0 640 480 bb 0 0 0", "fill bb 0 0 640 480 16", "alpha 1",
              "lens bb 116 416 741 1500 S69 116 416", "alpha reset"}},
        {13, {"blt S69 0 0 640 480 bb 0 0 0", "fill bb 0 0 640 480 16", "alpha 1", "mosaic bb 640 480 1 S69",
              "alpha reset"}},
        {8, {"backgrounds 0", "backgrounds 1"}},
    };
    for (const Case& t : cases) {
        Start(t.kind);
        g_log.clear();
        RunScreenEffect(m_scene, 0);
        EXPECT_EQ(g_log, t.calls) << t.kind;
    }
}

TEST_F(ScreenEffectTest, StandsStillWhileFrozenButIsDrawn) {
    Prepare();
    Start(4);
    RunScreenEffect(m_scene, 0);
    const double v = m_scene.m_ScreenEffect.m_dValue;
    EXPECT_GT(v, 0);
    g_log.clear();
    for (int i = 0; i < 10; ++i) RunScreenEffect(m_scene, 1);
    EXPECT_EQ(m_scene.m_ScreenEffect.m_dValue, v);
    EXPECT_EQ(g_log.size(), 50u);
}

TEST_F(ScreenEffectTest, EndsTurningTheVirtualBackBufferOff) {
    // Split 0 -> 640 over 1 tenth: 6 frames of 106.67, the test truncates v.
    g_Database.m_vecScrEffect[4].m_nParam[0] = 1;
    Prepare();
    Start(4);
    int frames = 0;
    while (m_scene.m_ScreenEffect.m_nEffectId && frames < 100) {
        g_log.clear();
        RunScreenEffect(m_scene, 0);
        ++frames;
    }
    EXPECT_EQ(frames, 7);
    EXPECT_EQ(g_log.back(), "virtual 0");
    // S = E: a timer of D tenths instead.
    g_Database.m_vecScrEffect[4].m_nParam[2] = 0;
    Prepare();
    Start(4);
    EXPECT_EQ(m_scene.m_ScreenEffect.m_bTimerMode, 1);
    frames = 0;
    while (m_scene.m_ScreenEffect.m_nEffectId && frames < 100) {
        RunScreenEffect(m_scene, 0);
        ++frames;
    }
    EXPECT_GE(frames, 6);
    EXPECT_LE(frames, 7);
}

TEST_F(ScreenEffectTest, ShakeSwingsAndReversesAtTheAmplitude) {
    Prepare();  // amplitude 4, 4 times, 10 tenths
    Start(2);
    const double c = 16.0 * 4 / 60;
    std::vector<double> offsets;
    for (int i = 0; i < 12; ++i) {
        RunScreenEffect(m_scene, 0);
        offsets.push_back(m_scene.m_ScreenEffect.m_dOffset);
    }
    EXPECT_DOUBLE_EQ(offsets[0], c);
    EXPECT_DOUBLE_EQ(offsets[3], 4);  // 4.27 held at the amplitude
    EXPECT_DOUBLE_EQ(offsets[4], 4 - c);
    EXPECT_DOUBLE_EQ(offsets[11], -4);  // and at minus it on the way down
    // The uncovered strip at the left is cleared, the copy drawn shifted.
    g_log.clear();
    m_scene.m_ScreenEffect.m_dOffset = 2.5;
    RunScreenEffect(m_scene, 1);
    EXPECT_EQ(g_log, (std::vector<std::string>{"blt S68 0 0 640 480 bb 0 0 0", "fill bb 0 0 3 480 16", "alpha 1",
                                               "blt bb 2 0 640 480 S68 0 0 0", "alpha reset"}));
    m_scene.m_ScreenEffect.m_dOffset = -2.5;
    g_log.clear();
    RunScreenEffect(m_scene, 1);
    EXPECT_EQ(g_log[1], "fill bb 638 0 3 480 16");
}

TEST_F(ScreenEffectTest, ZoomFromOneToTwo) {
    Prepare();  // 640 -> 1280
    Start(11);
    g_log.clear();
    RunScreenEffect(m_scene, 1);
    EXPECT_EQ(g_log[2], "stretch bb 0 0 640 480 S69 0 0 640 480 0");
    m_scene.m_ScreenEffect.m_dValue = 1280;
    g_log.clear();
    RunScreenEffect(m_scene, 1);
    // 320 x 240 around the hero's centre (116, 416), moved inside the screen.
    EXPECT_EQ(g_log[2], "stretch bb 0 0 640 480 S69 0 240 320 240 0");
    m_scene.m_ScreenEffect.m_dValue = 320;
    g_log.clear();
    RunScreenEffect(m_scene, 1);
    EXPECT_EQ(g_log[1], "fill bb 0 0 640 480 16");
    EXPECT_EQ(g_log[3], "stretch bb 160 120 320 240 S69 0 0 640 480 0");
}

TEST_F(ScreenEffectTest, MoveReversedSwapsBothPairs) {
    Prepare();  // (0, 0) -> (640, 0)
    const cDbScrEffect& w = g_Database.m_vecScrEffectWork[1];
    EXPECT_EQ(w.m_nParam[1], 640);
    EXPECT_EQ(w.m_nParam[3], 0);
    Start(1, 1);
    EXPECT_EQ(m_scene.m_ScreenEffect.m_anWork[0], 640);
    for (int i = 0; i < 30; ++i) RunScreenEffect(m_scene, 0);
    // Each frame draws at the place of the time before its step: 29 frames in.
    EXPECT_EQ(m_scene.m_ScreenEffect.m_anWork[0], 330);
    // Mode 2 swings back through the restart.
    Start(1, 2);
    int frames = 0;
    while (m_scene.m_ScreenEffect.m_nEffectId && frames < 1000) {
        RunScreenEffect(m_scene, 0);
        ++frames;
    }
    EXPECT_GT(frames, 120);
    EXPECT_LT(frames, 140);
}

}  // namespace
