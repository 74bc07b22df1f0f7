#include "play/screen_effect.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "base/app_state.h"
#include "records/system_ini.h"
#include "media/gfx/effects/mosaic_blur.h"
#include "media/gfx/effects/rotate_lens.h"
#include "media/gfx/effects/slice_blits.h"
#include "play/chara.h"
#include "play/chara_effect.h"
#include "play/draw_stage.h"
#include "play/numeric.h"
#include "play/scene_play.h"
#include "records/database.h"

ScreenBlitOps DefaultScreenBlits() {
    ScreenBlitOps o;
    o.blt = DDBlt;
    o.bltStretch = DDBltStretch;
    o.fillRect = DDFillRect;
    o.split = DDBltSplit;
    o.wave = DDBltWave;
    o.rotate = DDBltRotate;
    o.circle = DDBltCircle;
    o.lens = DDBltLens;
    o.mosaic = DDBltMosaic;
    o.setAlphaOp = DDSetAlphaOp;
    o.resetAlphaOp = DDResetAlphaOp;
    o.setVirtualBackBuffer = DDSetVirtualBackBuffer;
    o.drawBackgrounds = DrawBackgrounds;
    return o;
}

ScreenBlitOps& ScreenBlits() {
    static ScreenBlitOps ops = DefaultScreenBlits();
    return ops;
}

namespace {

constexpr int kW1 = 68, kW2 = 69;
constexpr uint32_t kClearColour = 16;

struct Fx {
    cScenePlay& scene;
    cScreenEffect& e;
    const int* p;  // p[0]..p[4]: parameters 1 to 5
    int frozen;
    ScreenBlitOps& ops;
    DDSURFACEDATA* bb = &g_BackBuffer;

    void Copy(DDSURFACEDATA* w) const { ops.blt(w, 0, 0, 640, 480, bb, 0, 0, 0); }
    void Clear() const { ops.fillRect(bb, 0, 0, 640, 480, kClearColour); }
    template <class F>
    void Transform(F f) const {
        ops.setAlphaOp(1);
        f();
        ops.resetAlphaOp();
    }
    // Unless frozen, one step of the run from start to end.
    int Advance(int start, int end) const { return frozen ? 0 : StepScreenEffect(e, start, end, e.m_dStep); }
    int AdvanceCounted() const { return Advance(p[1], p[2]); }
    int AdvanceTimed() const { return Advance(0, e.m_nDuration); }
    int V() const { return TruncToInt(e.m_dValue); }
};

// The hero's centre on screen; the screen's centre without a hero.
void HeroCentre(int& cx, int& cy) {
    const cChara* hero = Hero();
    if (!hero) {
        cx = 320;
        cy = 240;
        return;
    }
    cx = hero->m_nScrLeft + hero->m_nDrawWidth / 2;
    cy = hero->m_nScrTop + hero->m_nDrawHeight / 2;
}

int None(Fx& f) {
    if (lpDTCon && lpDTCon->bVirBackBuffer) f.ops.setVirtualBackBuffer(0);
    return 0;
}

int Move(Fx& f) {
    DDSURFACEDATA* w1 = &SurfaceTable[kW1];
    f.Copy(w1);
    f.Clear();
    f.Transform([&] { f.ops.blt(f.bb, f.e.m_anWork[0], f.e.m_anWork[1], 640, 480, w1, 0, 0, 0); });
    if (!f.frozen) {
        const double d = f.e.m_nDuration;
        f.e.m_anWork[0] = TruncToInt((f.p[3] - f.p[1]) / d * f.e.m_dValue + f.p[1]);
        f.e.m_anWork[1] = TruncToInt((f.p[4] - f.p[2]) / d * f.e.m_dValue + f.p[2]);
    }
    return f.AdvanceTimed();
}

// The offset swings between -amplitude and amplitude.
void Swing(Fx& f) {
    if (f.frozen) return;
    const double amp = f.p[1];
    const double c = f.p[1] * f.p[2] * 4.0 / (f.e.m_nDuration * 6.0);
    double& o = f.e.m_dOffset;
    if (f.e.m_anWork[0] == 0) {
        o += c;
        if (o >= amp) {
            o = amp;
            f.e.m_anWork[0] = 1;
        }
    } else {
        o -= c;
        if (o <= -amp) {
            o = -amp;
            f.e.m_anWork[0] = 0;
        }
    }
}

int ShakeH(Fx& f) {
    DDSURFACEDATA* w1 = &SurfaceTable[kW1];
    f.Copy(w1);
    const int o = TruncToInt(f.e.m_dOffset);
    if (f.e.m_dOffset > 0) f.ops.fillRect(f.bb, 0, 0, o + 1, 480, kClearColour);
    else if (f.e.m_dOffset < 0) f.ops.fillRect(f.bb, 640 + o, 0, 1 - o, 480, kClearColour);
    f.Transform([&] { f.ops.blt(f.bb, o, 0, 640, 480, w1, 0, 0, 0); });
    Swing(f);
    return f.AdvanceTimed();
}

int ShakeV(Fx& f) {
    DDSURFACEDATA* w1 = &SurfaceTable[kW1];
    f.Copy(w1);
    f.Clear();
    f.Transform([&] { f.ops.blt(f.bb, 0, TruncToInt(f.e.m_dOffset), 640, 480, w1, 0, 0, 0); });
    Swing(f);
    return f.AdvanceTimed();
}

int Split(Fx& f, int vertical) {
    DDSURFACEDATA* w1 = &SurfaceTable[kW1];
    f.Copy(w1);
    f.Clear();
    const int n = std::max(1, f.p[3]);
    const int size = vertical ? 640 : 480;
    const int slice = (size + n - 1) / n;
    f.Transform([&] { f.ops.split(f.bb, 0, 0, 640, 480, slice, f.V(), w1, 0, 0, 0, vertical); });
    return f.AdvanceCounted();
}
int SplitH(Fx& f) { return Split(f, 0); }
int SplitV(Fx& f) { return Split(f, 1); }

int Wave(Fx& f, int vertical) {
    DDSURFACEDATA* w1 = &SurfaceTable[kW1];
    f.Copy(w1);
    f.Clear();
    int& phase = f.e.m_anWork[0];
    f.Transform([&] { f.ops.wave(f.bb, 0, 0, 640, 480, f.p[3], f.e.m_dValue, phase, f.p[4], w1, 0, 0, 0, vertical); });
    if (!f.frozen && ++phase >= 360) phase = 0;
    return f.AdvanceCounted();
}
int WaveH(Fx& f) { return Wave(f, 0); }
int WaveV(Fx& f) { return Wave(f, 1); }

int Blink(Fx& f) {
    int& toggle = f.e.m_anWork[0];
    if (!toggle) {
        f.ops.drawBackgrounds(f.scene, 0);
        f.ops.drawBackgrounds(f.scene, 1);
    }
    if (f.e.m_nCounter >= f.p[1]) {
        f.e.m_nCounter = 0;
        toggle = !toggle;
    }
    if (!f.frozen) ++f.e.m_nCounter;
    return f.AdvanceTimed();
}

int Rotate(Fx& f) {
    DDSURFACEDATA* w2 = &SurfaceTable[kW2];
    f.Copy(w2);
    f.Clear();
    f.Transform([&] { f.ops.rotate(f.bb, 320, 240, 640, 480, 320, 240, f.V(), w2, 0, 0, 0); });
    return f.AdvanceCounted();
}

int Circle(Fx& f) {
    DDSURFACEDATA* w1 = &SurfaceTable[kW1];
    f.Copy(w1);
    f.Clear();
    int cx, cy;
    HeroCentre(cx, cy);
    const int reachX = cx >= 320 ? cx : 640 - cx, reachY = cy >= 240 ? cy : 480 - cy;
    f.Transform([&] { f.ops.circle(f.bb, cx, cy, reachX, reachY, f.V(), f.p[3], w1, cx, cy, 0); });
    return f.AdvanceCounted();
}

int Zoom(Fx& f) {
    DDSURFACEDATA* w = &SurfaceTable[!lpDTCon && g_SystemIni.DD_VideoStretch ? kW1 : kW2];
    f.Copy(w);
    const double z = f.e.m_dValue * 0.0015625;
    if (z >= 1) {
        int cx, cy;
        HeroCentre(cx, cy);
        const int sw = TruncToInt(640 / z), sh = TruncToInt(480 / z);
        int x = cx - sw / 2, y = cy - sh / 2;
        if (x + sw >= 640) x = 640 - sw;
        else if (x < 0) x = 0;
        if (y + sh >= 480) y = 480 - sh;
        else if (y < 0) y = 0;
        f.Transform([&] { f.ops.bltStretch(f.bb, 0, 0, 640, 480, w, x, y, sw, sh, 0); });
    } else {
        f.Clear();
        const int dw = TruncToInt(640 * z), dh = TruncToInt(480 * z);
        f.Transform([&] { f.ops.bltStretch(f.bb, (640 - dw) / 2, (480 - dh) / 2, dw, dh, w, 0, 0, 640, 480, 0); });
    }
    return f.AdvanceCounted();
}

int Lens(Fx& f) {
    DDSURFACEDATA* w2 = &SurfaceTable[kW2];
    int cx, cy;
    HeroCentre(cx, cy);
    const int e = cx + f.p[3], c = cy + f.p[4];
    const int rx = e >= 320 ? e : 640 - e, ry = c >= 240 ? c : 480 - c;
    const int r = TruncToInt(std::sqrt(2.0) * std::max(rx, ry));
    const int side = g_DD.nBpp == 16 ? 4 * r : 2 * r;
    f.ops.fillRect(w2, 0, 0, side, side, 0);
    f.Copy(w2);
    f.Clear();
    f.Transform([&] { f.ops.lens(f.bb, e, c, r, f.V(), w2, e, c, 0, 0, nullptr); });
    return f.AdvanceCounted();
}

int Mosaic(Fx& f) {
    DDSURFACEDATA* w2 = &SurfaceTable[kW2];
    f.Copy(w2);
    f.Clear();
    f.Transform([&] { f.ops.mosaic(f.bb, 0, 0, 640, 480, f.V(), w2, 0, 0, 0, nullptr); });
    return f.AdvanceCounted();
}

using KindFn = int (*)(Fx&);
constexpr KindFn kKinds[kScreenEffectKinds] = {None,  Move,   ShakeH, ShakeV, SplitH, SplitV, WaveH,
                                               WaveV, Blink,  Rotate, Circle, Zoom,   Lens,   Mosaic};

template <int K>
int Handler(cScenePlay& scene, int frozen) {
    static const int kNone[5] = {};
    cScreenEffect& e = scene.m_ScreenEffect;
    Fx f{scene, e, e.m_lpDef ? e.m_lpDef->m_nParam : kNone, frozen, ScreenBlits()};
    return kKinds[K](f);
}

template <int... K>
constexpr std::array<ScreenEffectHandler, sizeof...(K)> MakeHandlers(std::integer_sequence<int, K...>) {
    return {Handler<K>...};
}
constexpr auto kHandlers = MakeHandlers(std::make_integer_sequence<int, kScreenEffectKinds>{});

}  // namespace

const ScreenEffectHandler ScreenEffectHandlers[kScreenEffectKinds] = {
    kHandlers[0], kHandlers[1], kHandlers[2],  kHandlers[3],  kHandlers[4],  kHandlers[5],  kHandlers[6],
    kHandlers[7], kHandlers[8], kHandlers[9], kHandlers[10], kHandlers[11], kHandlers[12], kHandlers[13]};

void RunScreenEffect(cScenePlay& scene, int frozen) {
    if (DrawTraced()) DrawTrace("ScreenEffect");
    cScreenEffect& e = scene.m_ScreenEffect;
    if (e.m_nEffectId == 0) return;
    int kind = e.m_lpDef ? e.m_lpDef->m_nKind : 0;
    if (kind < 0 || kind >= kScreenEffectKinds) kind = 0;
    if (ScreenEffectHandlers[kind](scene, frozen) == 1) {
        e.m_nEffectId = 0;
        ScreenBlits().setVirtualBackBuffer(0);
    }
}
