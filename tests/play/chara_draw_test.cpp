// Chara drawing: the frame choice, the cell, the display-effect handlers'
// blits (recorded), the blink, the gauges and the death display.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "base/scene_state.h"
#include "media/frame_loop.h"
#include "media/gfx/dd_layer.h"
#include "play/chara_computer.h"
#include "play/chara_draw.h"
#include "play/chara_effect_handlers.h"
#include "play/chara_player.h"
#include "records/database.h"
#include "records/stage.h"
#include "records/system_data.h"

namespace {

std::vector<std::string> g_log;

std::string Name(const DDSURFACEDATA* s) {
    if (s == &g_BackBuffer) return "bb";
    if (s >= SurfaceTable && s < SurfaceTable + kSurfaceSlots) return "S" + std::to_string(s - SurfaceTable);
    return s ? "?" : "null";
}
std::string P(const DDBLTPARAM* p) {
    if (!p) return "-";
    char b[32];
    std::snprintf(b, sizeof b, "%08x/%d", p->dwColor, p->nColorOp);
    return b;
}
__attribute__((format(printf, 1, 2))) void Log(const char* f, ...) {
    char b[256];
    va_list a;
    va_start(a, f);
    std::vsnprintf(b, sizeof b, f, a);
    va_end(a);
    g_log.push_back(b);
}
#define N(s) Name(s).c_str()

CharaBlitOps RecordingOps() {
    CharaBlitOps o;
    o.blt = [](DDSURFACEDATA* d, int x, int y, int w, int h, DDSURFACEDATA* s, int sx, int sy, int fl) {
        Log("blt %s %d %d %d %d %s %d %d %d", N(d), x, y, w, h, N(s), sx, sy, fl);
    };
    o.bltParam = [](DDSURFACEDATA* d, int x, int y, int w, int h, DDSURFACEDATA* s, int sx, int sy, int fl,
                    const DDBLTPARAM& p) {
        Log("bltParam %s %d %d %d %d %s %d %d %d %s", N(d), x, y, w, h, N(s), sx, sy, fl, P(&p).c_str());
    };
    o.bltStretch = [](DDSURFACEDATA* d, int x, int y, int w, int h, DDSURFACEDATA* s, int sx, int sy, int sw, int sh,
                      int fl) {
        Log("bltStretch %s %d %d %d %d %s %d %d %d %d %d", N(d), x, y, w, h, N(s), sx, sy, sw, sh, fl);
        return 1;
    };
    o.bltStretchParam = [](DDSURFACEDATA* d, int x, int y, int w, int h, DDSURFACEDATA* s, int sx, int sy, int sw,
                           int sh, int fl, const DDBLTPARAM& p) {
        Log("bltStretchParam %s %d %d %d %d %s %d %d %d %d %d %s", N(d), x, y, w, h, N(s), sx, sy, sw, sh, fl,
            P(&p).c_str());
        return 1;
    };
    o.fillRect = [](DDSURFACEDATA* d, int x, int y, int w, int h, uint32_t c) {
        Log("fill %s %d %d %d %d %u", N(d), x, y, w, h, c);
    };
    o.burst = [](DDSURFACEDATA* d, int x, int y, int w, int h, DDSURFACEDATA* s, int sx, int sy, int dist, int fl) {
        Log("burst %s %d %d %d %d %s %d %d %d %d", N(d), x, y, w, h, N(s), sx, sy, dist, fl);
        return true;
    };
    o.split = [](DDSURFACEDATA* d, int x, int y, int w, int h, int slice, int shift, DDSURFACEDATA* s, int sx, int sy,
                 int fl, int v) {
        Log("split %s %d %d %d %d %d %d %s %d %d %d %d", N(d), x, y, w, h, slice, shift, N(s), sx, sy, fl, v);
        return true;
    };
    o.wave = [](DDSURFACEDATA* d, int x, int y, int w, int h, int waves, double amp, int phase, int slice,
                DDSURFACEDATA* s, int sx, int sy, int fl, int v) {
        Log("wave %s %d %d %d %d %d %g %d %d %s %d %d %d %d", N(d), x, y, w, h, waves, amp, phase, slice, N(s), sx, sy,
            fl, v);
        return true;
    };
    o.flip = [](DDSURFACEDATA* d, int x, int y, int w, int h, DDSURFACEDATA* f, int fx, int fy, DDSURFACEDATA* b,
                int bx, int by, int sw, int sh, int fl, int phase, int axis) {
        Log("flip %s %d %d %d %d %s %d %d %s %d %d %d %d %d %d %d", N(d), x, y, w, h, N(f), fx, fy, N(b), bx, by, sw,
            sh, fl, phase, axis);
        return 1;
    };
    o.rotate = [](DDSURFACEDATA* d, int cx, int cy, int w, int h, int px, int py, int a, DDSURFACEDATA* s, int sx,
                  int sy, int fl) {
        Log("rotate %s %d %d %d %d %d %d %d %s %d %d %d", N(d), cx, cy, w, h, px, py, a, N(s), sx, sy, fl);
        return true;
    };
    o.circle = [](DDSURFACEDATA* d, int cx, int cy, int hw, int hh, int r, int band, DDSURFACEDATA* s, int scx,
                  int scy, int fl) {
        Log("circle %s %d %d %d %d %d %d %s %d %d %d", N(d), cx, cy, hw, hh, r, band, N(s), scx, scy, fl);
        return true;
    };
    o.lens = [](DDSURFACEDATA* d, int cx, int cy, int r, int depth, DDSURFACEDATA* s, int scx, int scy, int fl,
                int clear, const DDBLTPARAM* p) {
        Log("lens %s %d %d %d %d %s %d %d %d %d %s", N(d), cx, cy, r, depth, N(s), scx, scy, fl, clear, P(p).c_str());
        return true;
    };
    o.colorChange = [](DDSURFACEDATA* d, int x, int y, int w, int h, DDSURFACEDATA* s, int sx, int sy, int fl,
                       const uint8_t(*)[4], const uint8_t*, int colour, int level, const DDBLTPARAM* p) {
        Log("colorChange %s %d %d %d %d %s %d %d %d %d %d %s", N(d), x, y, w, h, N(s), sx, sy, fl, colour, level,
            P(p).c_str());
        return true;
    };
    o.half = [](DDSURFACEDATA* d, int x, int y, int w, int h, DDSURFACEDATA* s, int sx, int sy, int fl,
                const uint8_t*) {
        Log("half %s %d %d %d %d %s %d %d %d", N(d), x, y, w, h, N(s), sx, sy, fl);
        return true;
    };
    o.mosaic = [](DDSURFACEDATA* d, int x, int y, int w, int h, int block, DDSURFACEDATA* s, int sx, int sy, int fl,
                  const DDBLTPARAM* p) {
        Log("mosaic %s %d %d %d %d %d %s %d %d %d %s", N(d), x, y, w, h, block, N(s), sx, sy, fl, P(p).c_str());
        return true;
    };
    o.blur = [](DDSURFACEDATA* d, int x, int y, int w, int h, int rx, int ry, DDSURFACEDATA* s, int sx, int sy, int fl,
                const DDBLTPARAM* p) {
        Log("blur %s %d %d %d %d %d %d %s %d %d %d %s", N(d), x, y, w, h, rx, ry, N(s), sx, sy, fl, P(p).c_str());
        return true;
    };
    o.pauseLayer = [] { Log("pause"); };
    o.resumeLayer = [] { Log("resume"); };
    o.setBlitColor = [](uint32_t c) { Log("setColor %08x", c); };
    o.resetBlitColor = [] { Log("resetColor"); };
    o.setColorOp = [](int op) { Log("setOp %d", op); };
    o.resetColorOp = [] { Log("resetOp"); };
    return o;
}

// A step of the chara's effect shows in its timer (the effects these tests
// run never end); it is logged as "step".
void NoteStep(const cChara& c, double& seen) {
    if (c.m_Effect.m_dTimer == seen) return;
    seen = c.m_Effect.m_dTimer;
    Log("step");
}

// A fixture without a device: every graphics call is recorded; "Direct3D"
// is a context record alone.
class CharaDrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        CharaBlits() = RecordingOps();
        m_savedDb = g_Database.m_vecCharaEffectWork;
        m_savedSets = g_Database.m_vecAnimeSet;
        m_savedIcons = g_IconSurfaces;
        m_savedPlain = g_SystemData.OptPlainCharaOrder;
        m_savedBpp = g_DD.nBpp;
        g_Database.m_vecCharaEffectWork.assign(2, cDbCharaEffect{});
        g_IconSurfaces.lpOverlay = &SurfaceTable[43];
    }
    void TearDown() override {
        CharaBlits() = DefaultCharaBlits();
        g_Database.m_vecCharaEffectWork = m_savedDb;
        g_Database.m_vecAnimeSet = m_savedSets;
        g_IconSurfaces = m_savedIcons;
        g_SystemData.OptPlainCharaOrder = m_savedPlain;
        g_DD.nBpp = m_savedBpp;
        SetD3D(false);
    }
    void SetD3D(bool on) {
        delete lpDTCon;
        lpDTCon = on ? new DTCONTEXT : nullptr;
        g_IconSurfaces.lpStretchWork = &SurfaceTable[69];
        g_IconSurfaces.lpColorWork = &SurfaceTable[on ? 71 : 69];
    }
    // A chara at (100, 50) of size s with a running effect of the kind.
    cCharaComputer Chara(int kind, int size, double v, const std::vector<int>& params = {}) {
        cDbCharaEffect& e = g_Database.m_vecCharaEffectWork[1];
        e.m_nKind = kind;
        int i = 0;
        for (int p : params) e.m_nParam[i++] = p;
        cCharaComputer c;
        c.m_Def.m_nSize = static_cast<int8_t>(size);
        c.m_nCharaEffect = 1;
        c.m_Effect.m_dValue = v;
        c.m_Effect.m_dStep = 1;  // timed, and never over
        c.m_Effect.m_nDuration = 1 << 30;
        c.m_nScrLeft = 100;
        c.m_nScrTop = 50;
        c.m_nBaseDrawWidth = c.m_nBaseDrawHeight = 32;
        c.m_nDrawWidth = c.m_nDrawHeight = 32 * size;
        return c;
    }
    static CharaSprite Sprite() {
        CharaSprite s;
        s.sp.lpSurface = &SurfaceTable[4];
        s.sp.lpSurfaceMirror = &SurfaceTable[5];
        s.sp.sx = 32;
        s.sp.sy = 64;
        return s;
    }
    cCheckedVector<cDbCharaEffect> m_savedDb;
    cCheckedVector<cDbAnimeSet> m_savedSets;
    IconSurfaces m_savedIcons{};
    int32_t m_savedPlain = 0;
    int m_savedBpp = 0;
};

struct HandlerCase {
    const char* name;
    int kind, d3d, size, plain, bpp;
    double v;
    std::vector<int> params;
    std::vector<std::string> expected;
};

TEST_F(CharaDrawTest, HandlersDrawThroughTheirRoads) {
    const std::vector<HandlerCase> cases = {
        {"burst unscaled", 1, 0, 1, 0, 32, 5, {}, {"burst bb 100 50 32 32 S4 32 64 5 1", "step"}},
        {"burst scaled, Direct3D: via work with the layer paused", 1, 1, 2, 0, 32, 5, {},
         {"pause", "bltStretch S69 0 0 64 64 S4 32 64 32 32 0", "burst bb 100 50 64 64 S69 0 0 10 1", "resume",
          "step"}},
        {"burst scaled, plain order: no pause", 1, 1, 2, 1, 32, 5, {},
         {"bltStretch S69 0 0 64 64 S4 32 64 32 32 0", "burst bb 100 50 64 64 S69 0 0 10 1", "step"}},
        {"vertical split, 4 slices of 32 dots", 3, 0, 1, 0, 32, 3, {5, 0, 0, 4},
         {"split bb 100 50 32 32 8 3 S4 32 64 1 1", "step"}},
        {"horizontal wave", 4, 1, 1, 0, 32, 8, {5, 0, 32, 2, 2},
         {"wave bb 100 50 32 32 2 8 0 2 S4 32 64 1 0", "step"}},
        {"wave scaled: amplitude and coarseness by the size", 5, 0, 2, 0, 32, 8, {5, 0, 32, 2, 2},
         {"bltStretch S69 0 0 64 64 S4 32 64 32 32 0", "wave bb 100 50 64 64 2 16 0 4 S69 0 0 1 1", "step"}},
        {"rotation A in Direct3D is rotation B", 7, 1, 1, 0, 32, 30, {},
         {"rotate bb 116 66 32 32 16 16 30 S4 32 64 1", "step"}},
        {"rotation A scaled in DirectDraw: a square of the stretch work", 7, 0, 2, 0, 32, 30, {},
         {"fill S69 0 0 45 45 0", "rotate S69 22 22 32 32 16 16 30 S4 32 64 1",
          "bltStretch bb 87 37 90 90 S69 0 0 45 45 1", "step"}},
        {"rotation B scaled in Direct3D: W1 with the layer paused", 8, 1, 2, 0, 32, 30, {},
         {"pause", "bltStretch S68 0 0 64 64 S4 32 64 32 32 0", "rotate bb 132 82 64 64 32 32 30 S68 0 0 1",
          "resume", "step"}},
        {"rotation B scaled in DirectDraw: W2", 8, 0, 2, 0, 32, 30, {},
         {"bltStretch S69 0 0 64 64 S4 32 64 32 32 0", "rotate bb 132 82 64 64 32 32 30 S69 0 0 1", "step"}},
        {"depth flip from both faces", 9, 0, 1, 0, 32, 40, {},
         {"flip bb 100 50 32 32 S4 32 64 S5 32 64 32 32 1 40 0", "step"}},
        {"circle unscaled in DirectDraw", 10, 0, 1, 0, 32, 12, {5, 32, 0, 2},
         {"circle bb 116 66 16 16 12 2 S4 48 80 1", "step"}},
        {"circle in Direct3D goes through the work", 10, 1, 1, 0, 32, 12, {5, 32, 0, 2},
         {"pause", "blt S69 0 0 32 32 S4 32 64 0", "circle bb 116 66 16 16 12 2 S69 16 16 1", "resume", "step"}},
        {"growth of a size-2 chara from 32 to 64", 11, 0, 2, 0, 32, 64, {},
         {"bltStretch S69 0 0 64 64 S4 32 64 32 32 0", "bltStretch bb 84 34 96 96 S69 0 0 64 64 1", "step"}},
        {"growth unscaled", 11, 0, 1, 0, 32, 48, {},
         {"bltStretch bb 92 42 48 48 S4 32 64 32 32 1", "step"}},
        {"lens in DirectDraw at 32 bits: a 2r square", 12, 0, 1, 0, 32, 50, {10, 100, 5, 0, 0},
         {"fill S69 0 0 44 44 0", "blt S69 0 0 32 32 S4 32 64 0", "lens bb 116 66 22 50 S69 16 16 1 0 -", "step"}},
        {"lens in Direct3D: the colour work, distance by the size", 12, 1, 1, 0, 32, 50, {10, 100, 5, 2, 0},
         {"fill S71 0 0 100 100 0", "blt S71 0 0 32 32 S4 32 64 0", "lens bb 118 66 25 50 S71 18 16 1 0 -",
          "step"}},
        {"colour change in Direct3D", 13, 1, 1, 0, 32, 3, {10, 1, 4, 16},
         {"fill S71 0 0 32 32 0", "blt S71 0 0 32 32 S4 32 64 0", "colorChange bb 100 50 32 32 S71 0 0 1 16 3 -",
          "step"}},
        {"colour change in DirectDraw from the cell", 13, 0, 1, 0, 8, 3, {10, 1, 4, 16},
         {"colorChange bb 100 50 32 32 S4 32 64 1 16 3 -", "step"}},
        {"half in Direct3D: W2 with the layer paused", 14, 1, 1, 0, 32, 0, {10, 9999},
         {"pause", "fill S69 0 0 32 32 0", "blt S69 0 0 32 32 S4 32 64 0", "half bb 100 50 32 32 S69 0 0 1",
          "resume", "step"}},
        {"mosaic in Direct3D with the plain order: the detour", 15, 1, 1, 1, 32, 4, {},
         {"blt S71 0 0 32 32 S4 32 64 0", "fill S70 0 0 64 64 0", "mosaic S70 0 0 32 32 4 S71 0 0 1 -",
          "blt bb 100 50 32 32 S70 0 0 1", "step"}},
        {"mosaic in Direct3D: onto the box from the colour work", 15, 1, 1, 0, 32, 4, {},
         {"blt S71 0 0 32 32 S4 32 64 0", "mosaic bb 100 50 32 32 4 S71 0 0 1 -", "step"}},
        {"mosaic scaled in DirectDraw", 15, 0, 2, 0, 32, 4, {},
         {"bltStretch S69 0 0 64 64 S4 32 64 32 32 0", "mosaic bb 100 50 64 64 4 S69 0 0 1 -", "step"}},
        {"blur at 8 bits is a colour change", 16, 0, 1, 0, 8, 2, {},
         {"colorChange bb 100 50 32 32 S4 32 64 1 31 2 -", "step"}},
        {"blur in DirectDraw at 32 bits", 16, 0, 1, 0, 32, 2, {}, {"blur bb 100 50 32 32 2 2 S4 32 64 1 -", "step"}},
        {"blur in Direct3D with the plain order: copy, then the detour", 16, 1, 1, 1, 32, 2, {},
         {"blt S71 0 0 32 32 S4 32 64 0", "fill S70 0 0 64 64 0", "blur S70 0 0 32 32 2 2 S71 0 0 1 -",
          "blt bb 100 50 32 32 S70 0 0 1", "step"}},
        {"plain never steps its effect", 0, 0, 1, 0, 32, 0, {}, {"blt bb 100 50 32 32 S4 32 64 1"}},
        {"plain scaled", 0, 1, 2, 0, 32, 0, {}, {"bltStretch bb 100 50 64 64 S4 32 64 32 32 1"}},
    };
    for (const HandlerCase& t : cases) {
        SCOPED_TRACE(t.name);
        SetD3D(t.d3d);
        g_SystemData.OptPlainCharaOrder = t.plain;
        g_DD.nBpp = t.bpp;
        cCharaComputer c = Chara(t.kind, t.size, t.v, t.params);
        CharaSprite s = Sprite();
        g_log.clear();
        EXPECT_EQ(CharaEffectHandlers[t.kind](c, &g_BackBuffer, s, 0, 1), 0);
        double seen = 0;
        NoteStep(c, seen);
        EXPECT_EQ(g_log, t.expected);
    }
}

TEST_F(CharaDrawTest, ColourPairGoesAroundOrIntoTheBlit) {
    SetD3D(true);
    CharaSprite s = Sprite();
    s.bColor = 1;
    s.pair = DDBLTPARAM{0xFF112233, 7};
    cCharaComputer plain = Chara(0, 1, 0);
    CharaEffectHandlers[0](plain, &g_BackBuffer, s, 0, 1);
    cCharaComputer flip = Chara(9, 1, 40);
    CharaEffectHandlers[9](flip, &g_BackBuffer, s, 1, 1);  // frozen: no step
    EXPECT_EQ(g_log, (std::vector<std::string>{"bltParam bb 100 50 32 32 S4 32 64 1 ff112233/7", "setColor ff112233",
                                               "setOp 7", "flip bb 100 50 32 32 S4 32 64 S5 32 64 32 32 1 40 0",
                                               "resetColor", "resetOp"}));
}

TEST_F(CharaDrawTest, WithoutDrawingOnlyTheEffectAdvances) {
    cCharaComputer c = Chara(4, 1, 8, {5, 0, 32, 2, 2});
    CharaSprite s = Sprite();
    CharaEffectHandlers[4](c, &g_BackBuffer, s, 0, 0);
    double seen = 0;
    NoteStep(c, seen);
    EXPECT_EQ(g_log, std::vector<std::string>{"step"});
    EXPECT_EQ(c.m_Effect.m_anWork[0], 1);
    c.m_Effect.m_anWork[0] = 359;
    CharaEffectHandlers[4](c, &g_BackBuffer, s, 0, 0);
    EXPECT_EQ(c.m_Effect.m_anWork[0], 0);
    CharaEffectHandlers[4](c, &g_BackBuffer, s, 1, 0);  // frozen
    EXPECT_EQ(c.m_Effect.m_anWork[0], 0);
}

TEST_F(CharaDrawTest, BlinkHidesOnFramesOneToThreeAndShowsOnFourAndFive) {
    cCharaComputer c = Chara(6, 1, 0, {10, 2});
    CharaSprite s = Sprite();
    std::string shown;
    for (int frame = 1; frame <= 9; ++frame) {
        g_log.clear();
        CharaEffectHandlers[6](c, &g_BackBuffer, s, 0, 1);
        shown += g_log.size() == 1 ? 'S' : '-';
        if (frame == 4) {  // frozen frames keep the state
            for (int k = 0; k < 5; ++k) {
                g_log.clear();
                CharaEffectHandlers[6](c, &g_BackBuffer, s, 1, 1);
                EXPECT_EQ(g_log.size(), 1u);
            }
        }
    }
    EXPECT_EQ(shown, "---SS--SS");
}

TEST_F(CharaDrawTest, TheCellAddsTheAnimationSetsOffsets) {
    g_Database.m_vecAnimeSet.assign(1, cDbAnimeSet{});
    struct Case {
        int moveType, invincible, blockChara, expected;
    } cases[] = {{0, 0, 0, 7}, {1, 1, 0, 11}, {0, 1, 0, 11}, {0, 0, 1, 15}, {2, 1, 1, 19}};
    for (const Case& t : cases) {
        cCharaComputer c;
        c.m_nGraphic = 7;
        c.m_Def.m_nMoveType = static_cast<int8_t>(t.moveType);
        c.m_Def.m_nInvincible = static_cast<int8_t>(t.invincible);
        c.m_Def.m_bBlockChara = static_cast<int8_t>(t.blockChara);
        CharaSprite s;
        EXPECT_EQ(GetCharaCell(c, s), t.expected);
        EXPECT_EQ(s.bColor, 0);
    }
    // The blend colour only in Direct3D with the chara draw option.
    cCharaComputer c;
    c.m_Def.m_nInvincible = 1;
    c.m_Def.m_nInvincibleBlend = 3;
    CharaSprite s;
    const int32_t saved = g_SystemData.m_bCharaDrawOption;
    g_SystemData.m_bCharaDrawOption = 1;
    GetCharaCell(c, s);
    EXPECT_EQ(s.bColor, 0);
    SetD3D(true);
    g_BlinkColors[3] = {0xFF00AA00, 7};
    GetCharaCell(c, s);
    EXPECT_EQ(s.bColor, 1);
    EXPECT_EQ(s.pair.dwColor, 0xFF00AA00u);
    g_SystemData.m_bCharaDrawOption = saved;
}

// A run showing `frame` for a long time.
cAnimeRun MakeRun(int frame, int paused, int timed, int timer) {
    static int steps[8][6];
    static int next = 0;
    int* s = steps[next++ % 8];
    s[0] = frame, s[1] = 1000, s[2] = 0, s[3] = ANIME_HOLD, s[4] = 0, s[5] = 0;
    const int* lists[] = {s, nullptr};
    cAnimeRun r;
    r.m_Player.BuildTracks(lists);
    r.m_bPaused = paused;
    r.m_nMode = timed;
    r.m_nValue = timer;
    return r;
}

TEST_F(CharaDrawTest, FrameChoiceAmongTheRuns) {
    struct R {
        int paused, timed, timer;
    };
    struct Case {
        const char* name;
        std::vector<R> runs;
        int expected;  // run index, -1 the chara's own frame
    } cases[] = {
        {"no runs", {}, -1},
        {"an untimed run", {{0, 0, 0}}, 0},
        {"a paused run is passed over", {{1, 0, 0}}, -1},
        {"a timed run after an untimed one", {{0, 0, 0}, {0, 1, 3}}, 1},
        {"an untimed run after a timed one is not taken", {{0, 1, 3}, {0, 0, 0}}, 0},
        {"the smaller timer", {{0, 1, 3}, {0, 1, 1}, {0, 1, 2}}, 1},
        {"expired: the one closest to running out", {{0, 1, 0}, {0, 1, -2}, {0, 1, -1}, {0, 1, -5}}, 2},
        {"after an expired choice an untimed run with timer 0 wins", {{0, 1, 0}, {0, 1, -2}, {0, 0, 0}}, 2},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        cCharaComputer c;
        static const int own[] = {99, 1000, 0, ANIME_HOLD, 0, 0};
        const int* lists[] = {own, nullptr};
        c.m_Anime.BuildTracks(lists);
        for (size_t i = 0; i < t.runs.size(); ++i)
            c.m_lstAnimeRuns.push_back(MakeRun(10 + int(i), t.runs[i].paused, t.runs[i].timed, t.runs[i].timer));
        EXPECT_EQ(SelectCharaFrame(c, 1), t.expected < 0 ? 99 : 10 + t.expected);
    }
}

TEST_F(CharaDrawTest, UnfrozenTicksDropEndedRunsAndCountTimersDown) {
    cCharaComputer c;
    static const int ending[] = {5, 1, 0, ANIME_END, 0, 0};
    const int* endLists[] = {ending, nullptr};
    cAnimeRun a;
    a.m_Player.BuildTracks(endLists);
    c.m_lstAnimeRuns.push_back(a);
    c.m_lstAnimeRuns.push_back(MakeRun(20, 0, 1, 4));
    c.m_lstAnimeRuns.push_back(MakeRun(21, 1, 1, 4));  // paused: no tick
    EXPECT_EQ(SelectCharaFrame(c, 1), 20);
    EXPECT_EQ(c.m_lstAnimeRuns.size(), 3u);
    EXPECT_EQ(SelectCharaFrame(c, 0), 20);
    ASSERT_EQ(c.m_lstAnimeRuns.size(), 2u);
    EXPECT_EQ(c.m_lstAnimeRuns.front().m_nValue, 3);
    EXPECT_EQ(c.m_lstAnimeRuns.back().m_nValue, 4);
}

TEST_F(CharaDrawTest, GaugeStripShrinksOverSixtyFramesAndStaysSixtyMore) {
    SurfaceTable[43].nHeight = 200;  // the older sheet: rows from 128, 16 apart
    cCharaComputer c = Chara(0, 1, 0);
    c.m_Def.m_nMaxHP = 10;
    c.m_nHP = 8;
    c.m_HPGauge = CharaGauge{120, 40, 10.0, 10.0 / 60};
    std::vector<int> changeWidths;
    int drawn = 0;
    for (int frame = 0; frame < 130; ++frame) {
        g_log.clear();
        DrawHpGauge(c, &g_BackBuffer);
        if (g_log.empty()) continue;
        ++drawn;
        ASSERT_EQ(g_log.size(), 3u);
        EXPECT_EQ(g_log[0], "blt bb 91 47 50 2 S43 0 128 1");
        EXPECT_EQ(g_log[1], "blt bb 91 47 40 2 S43 0 144 1");
        int x, w;
        ASSERT_EQ(std::sscanf(g_log[2].c_str(), "blt bb %d 47 %d 2 S43 0 192 1", &x, &w), 2) << g_log[2];
        EXPECT_EQ(x + w, 91 + 40);
        changeWidths.push_back(w);
    }
    EXPECT_EQ(drawn, 120);
    EXPECT_EQ(changeWidths[0], 10);
    EXPECT_GT(changeWidths[30], 0);
    EXPECT_EQ(changeWidths[60], 0);
    EXPECT_EQ(changeWidths[119], 0);
    SurfaceTable[43].nHeight = 0;
}

TEST_F(CharaDrawTest, AnSpLossAtTheWarningLevelUsesTheWarningRow) {
    SurfaceTable[43].nHeight = 240;  // the newer sheet: rows from 208, 2 apart
    cCharaComputer c = Chara(0, 1, 0);
    c.m_Def.m_nMaxSP = 10;
    c.m_nSP = 0;
    c.m_SPGauge = CharaGauge{1, 0, -5.0, 0};
    DrawSpGauge(c, &g_BackBuffer);
    EXPECT_EQ(g_log, (std::vector<std::string>{"blt bb 91 43 50 2 S43 64 208 1", "blt bb 91 43 0 2 S43 64 212 1",
                                               "blt bb 91 43 5 2 S43 64 214 1"}));
    g_log.clear();
    DrawSpGauge(c, &g_BackBuffer);  // its timer has run out
    c.m_SPGauge.nTimer = 5;
    c.m_bDead = 1;
    DrawSpGauge(c, &g_BackBuffer);
    EXPECT_TRUE(g_log.empty());
    SurfaceTable[43].nHeight = 0;
}

TEST_F(CharaDrawTest, DeathDisplays) {
    // A computer chara without an effect is over at once; with one, when its
    // handler ends it.
    cCharaComputer enemy = Chara(0, 1, 0);
    enemy.m_nSide = 1;
    enemy.m_nCharaEffect = 0;
    EXPECT_EQ(DrawDyingChara(enemy, &g_BackBuffer, 0), 1);
    cCharaComputer burst = Chara(1, 1, 0);
    burst.m_nSide = 1;
    int calls = 0;
    burst.m_Effect.m_nDuration = 0;  // over at its next step
    EXPECT_EQ(DrawDyingChara(burst, &g_BackBuffer, 1), 0);  // frozen: the effect does not step
    EXPECT_EQ(DrawDyingChara(burst, &g_BackBuffer, 0), 1);
    EXPECT_EQ(burst.m_nCharaEffect, 0);
    (void)calls;
    // The hero without an effect: over on the 61st unfrozen call at 60
    // frames a second; frozen calls do not count.
    const int32_t rate = g_Stage.m_nFrameRate;
    g_Stage.m_nFrameRate = 60;
    cCharaComputer hero = Chara(0, 1, 0);
    hero.m_nSide = 0;
    hero.m_nCharaEffect = 0;
    int over = 0;
    for (int i = 1; i <= 61 && !over; ++i) {
        EXPECT_EQ(DrawDyingChara(hero, &g_BackBuffer, 1), 0);
        over = DrawDyingChara(hero, &g_BackBuffer, 0) ? i : 0;
    }
    EXPECT_EQ(over, 61);
    g_Stage.m_nFrameRate = rate;
}

TEST_F(CharaDrawTest, NoDrawAndTransparentOnlyStepTheEffect) {
    for (int which = 0; which < 2; ++which) {
        cCharaComputer c = Chara(1, 1, 5);
        if (which) c.m_Def.m_bTransparent = 1;
        else c.m_Draw.bNoDraw = 1;
        g_log.clear();
        DrawCharaSprite(c, &g_BackBuffer, 0);
        double seen = 0;
        NoteStep(c, seen);
        EXPECT_EQ(g_log, std::vector<std::string>{"step"});
    }
}

}  // namespace
