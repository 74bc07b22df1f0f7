#include "play/chara_effect_handlers.h"

#include <algorithm>
#include <array>
#include <utility>
#include <cmath>
#include <cstdlib>

#include "media/gfx/dd_layer.h"
#include "media/gfx/dd_palette.h"
#include "media/gfx/effects/colour_blits.h"
#include "media/gfx/effects/mosaic_blur.h"
#include "media/gfx/effects/rotate_lens.h"
#include "media/gfx/effects/slice_blits.h"
#include "media/media_services.h"
#include "play/chara.h"
#include "play/chara_effect.h"
#include "records/database.h"
#include "records/system_data.h"

CharaBlitOps DefaultCharaBlits() {
    CharaBlitOps o;
    o.blt = DDBlt;
    o.bltParam = DDBltParam;
    o.bltStretch = DDBltStretch;
    o.bltStretchParam = DDBltStretchParam;
    o.fillRect = DDFillRect;
    o.burst = DDBltBurst;
    o.split = DDBltSplit;
    o.wave = DDBltWave;
    o.flip = DDBltFlip;
    o.rotate = DDBltRotate;
    o.circle = DDBltCircle;
    o.lens = DDBltLens;
    o.colorChange = DDBltColorChange;
    o.half = DDBltHalf;
    o.mosaic = DDBltMosaic;
    o.blur = DDBltBlur;
    o.pauseLayer = DDPauseLayer;
    o.resumeLayer = DDResumeLayer;
    o.setBlitColor = DDSetBlitColor;
    o.resetBlitColor = DDResetBlitColor;
    o.setColorOp = DDSetColorOp;
    o.resetColorOp = DDResetColorOp;
    return o;
}

CharaBlitOps& CharaBlits() {
    static CharaBlitOps ops = DefaultCharaBlits();
    return ops;
}

int CharaEffectKind(const cChara& c, const int** params) {
    static const int kNone[5] = {};
    if (params) *params = kNone;
    const auto& table = g_Database.m_vecCharaEffectWork;
    const int id = c.m_nCharaEffect;
    if (id <= 0 || id >= static_cast<int>(table.size())) return 0;
    const cDbCharaEffect& e = table[size_t(id)];
    if (params) *params = e.m_nParam;
    return e.m_nKind;
}

namespace {

constexpr int kW1 = 68, kW2 = 69, kDetourSlot = 70;

// What a handler works with.
struct Fx {
    cChara& c;
    DDSURFACEDATA* dst;
    CharaSprite& s;
    int frozen, draw;
    int L, T, DW, DH, BW, BH, S, M;
    bool scaled;
    const int* p;  // p[1]..p[4] are the entry's parameters 2..5
    double v;
    bool d3d, plain;
    CharaBlitOps& ops;

    DDSURFACEDATA* Cell() const { return s.sp.lpSurface; }
    int sx() const { return s.sp.sx; }
    int sy() const { return s.sp.sy; }
    int Cx() const { return L + DW / 2; }
    int Cy() const { return T + DH / 2; }
    const DDBLTPARAM* Pair() const { return s.bColor ? &s.pair : nullptr; }
    // Pauses the draw layer (Direct3D without the plain order) for a draw
    // through a work surface.
    bool Pause() const {
        if (!d3d || plain) return false;
        ops.pauseLayer();
        return true;
    }
    void Resume(bool paused) const {
        if (paused) ops.resumeLayer();
    }
    // The colour pair around f when the sprite has it.
    template <class F>
    void Coloured(F f) const {
        if (s.bColor) {
            ops.setBlitColor(s.pair.dwColor);
            ops.setColorOp(s.pair.nColorOp);
        }
        f();
        if (s.bColor) {
            ops.resetBlitColor();
            ops.resetColorOp();
        }
    }
    DDSURFACEDATA* Work() const { return g_IconSurfaces.lpStretchWork; }
    DDSURFACEDATA* ColorWork() const { return g_IconSurfaces.lpColorWork; }
    void Render(DDSURFACEDATA* work) const { RenderCellToWork(c, work, s); }
    int Finish() const { return frozen ? 0 : StepCharaEffect(c); }
    // The detour of Direct3D: drawn into slot 70, then copied onto the box.
    template <class F>
    void Detour(F effect) const {
        DDSURFACEDATA* d = &SurfaceTable[kDetourSlot];
        ops.fillRect(d, 0, 0, 2 * DW, 2 * DH, 0);
        effect(d, 0, 0);
        if (s.bColor) ops.bltParam(dst, L, T, DW, DH, d, 0, 0, 1, s.pair);
        else ops.blt(dst, L, T, DW, DH, d, 0, 0, 1);
    }
    bool VirtualBackBuffer() const { return lpDTCon && lpDTCon->bVirBackBuffer; }
};

void DrawPlain(const Fx& f) {
    if (f.scaled) {
        const int w = f.M * f.BW, h = f.M * f.BH;
        if (f.s.bColor) f.ops.bltStretchParam(f.dst, f.L, f.T, f.DW, f.DH, f.Cell(), f.sx(), f.sy(), w, h, 1, f.s.pair);
        else f.ops.bltStretch(f.dst, f.L, f.T, f.DW, f.DH, f.Cell(), f.sx(), f.sy(), w, h, 1);
    } else {
        if (f.s.bColor) f.ops.bltParam(f.dst, f.L, f.T, f.DW, f.DH, f.Cell(), f.sx(), f.sy(), 1, f.s.pair);
        else f.ops.blt(f.dst, f.L, f.T, f.DW, f.DH, f.Cell(), f.sx(), f.sy(), 1);
    }
}

// Draws through the stretch work surface when scaled: effect(src, sx, sy, scale).
template <class F>
void ViaWorkWhenScaled(const Fx& f, F effect) {
    if (!f.scaled) return effect(f.Cell(), f.sx(), f.sy(), 1);
    const bool paused = f.Pause();
    f.Render(f.Work());
    effect(f.Work(), 0, 0, f.S);
    f.Resume(paused);
}

// The blink of kinds 6 and 14: the toggle flips each time the counter
// reaches the interval; tested after the drawing.
void StepBlink(const Fx& f, int interval) {
    if (f.frozen) return;
    cCharaEffect& d = f.c.m_Effect;
    if (d.m_anWork[0] == interval) {
        d.m_anWork[0] = 0;
        d.m_anWork[1] = !d.m_anWork[1];
    }
    ++d.m_anWork[0];
}

int Plain(Fx& f) {
    if (f.draw) DrawPlain(f);
    return 0;
}

int Burst(Fx& f) {
    if (f.draw)
        ViaWorkWhenScaled(f, [&](DDSURFACEDATA* src, int sx, int sy, int k) {
            f.ops.burst(f.dst, f.L, f.T, f.DW, f.DH, src, sx, sy, static_cast<int>(k * f.v), 1);
        });
    return f.Finish();
}

int Split(Fx& f, int vertical) {
    if (f.draw) {
        const int n = std::max(1, f.p[3]);
        const int size = vertical ? f.DW : f.DH;
        const int slice = (size + n - 1) / n;
        ViaWorkWhenScaled(f, [&](DDSURFACEDATA* src, int sx, int sy, int k) {
            f.ops.split(f.dst, f.L, f.T, f.DW, f.DH, slice, static_cast<int>(k * f.v), src, sx, sy, 1, vertical);
        });
    }
    return f.Finish();
}
int SplitH(Fx& f) { return Split(f, 0); }
int SplitV(Fx& f) { return Split(f, 1); }

int Wave(Fx& f, int vertical) {
    int& phase = f.c.m_Effect.m_anWork[0];
    if (f.draw)
        ViaWorkWhenScaled(f, [&](DDSURFACEDATA* src, int sx, int sy, int k) {
            f.ops.wave(f.dst, f.L, f.T, f.DW, f.DH, f.p[3], k * f.v, phase, k * f.p[4], src, sx, sy, 1, vertical);
        });
    if (!f.frozen && ++phase >= 360) phase = 0;
    return f.Finish();
}
int WaveH(Fx& f) { return Wave(f, 0); }
int WaveV(Fx& f) { return Wave(f, 1); }

int Blink(Fx& f) {
    if (f.draw && f.c.m_Effect.m_anWork[1]) DrawPlain(f);
    StepBlink(f, f.p[1]);
    return f.Finish();
}

void RotateB(const Fx& f) {
    const int angle = static_cast<int>(f.v);
    if (!f.scaled) {
        f.Coloured([&] {
            f.ops.rotate(f.dst, f.Cx(), f.Cy(), f.DW, f.DH, f.DW / 2, f.DH / 2, angle, f.Cell(), f.sx(), f.sy(), 1);
        });
        return;
    }
    bool paused = false;
    DDSURFACEDATA* work = &SurfaceTable[kW2];
    if (f.d3d) {
        work = &SurfaceTable[kW1];
        f.ops.pauseLayer();
        paused = true;
    }
    f.Render(work);
    f.ops.rotate(f.dst, f.Cx(), f.Cy(), f.DW, f.DH, f.DW / 2, f.DH / 2, angle, work, 0, 0, 1);
    f.Resume(paused);
}

int RotateAKind(Fx& f) {
    if (f.draw) {
        if (f.d3d) {
            RotateB(f);
        } else if (!f.scaled) {
            f.ops.rotate(f.dst, f.Cx(), f.Cy(), f.DW, f.DH, f.DW / 2, f.DH / 2, static_cast<int>(f.v), f.Cell(),
                         f.sx(), f.sy(), 1);
        } else {
            const int w = f.M * f.BW, h = f.M * f.BH;
            const int s = static_cast<int>(f.M * f.BW * std::sqrt(2.0));
            const int d = static_cast<int>(std::sqrt(2.0) * f.DW);
            f.ops.fillRect(f.Work(), 0, 0, s, s, 0);
            f.ops.rotate(f.Work(), s / 2, s / 2, w, h, w / 2, h / 2, static_cast<int>(f.v), f.Cell(), f.sx(), f.sy(),
                         1);
            f.ops.bltStretch(f.dst, f.Cx() - d / 2, f.Cy() - d / 2, d, d, f.Work(), 0, 0, s, s, 1);
        }
    }
    return f.Finish();
}

int RotateBKind(Fx& f) {
    if (f.draw) RotateB(f);
    return f.Finish();
}

int FlipKind(Fx& f) {
    if (f.draw)
        f.Coloured([&] {
            f.ops.flip(f.dst, f.L, f.T, f.DW, f.DH, f.Cell(), f.sx(), f.sy(), f.s.sp.lpSurfaceMirror, f.sx(), f.sy(),
                       f.M * f.BW, f.M * f.BH, 1, static_cast<int>(f.v), 0);
        });
    return f.Finish();
}

int CircleKind(Fx& f) {
    if (f.draw) {
        if (!f.d3d && !f.scaled) {
            f.ops.circle(f.dst, f.Cx(), f.Cy(), f.DW / 2, f.DH / 2, static_cast<int>(f.v), f.p[3], f.Cell(),
                         f.sx() + f.DW / 2, f.sy() + f.DH / 2, 1);
        } else {
            const bool paused = f.Pause();
            f.Render(f.Work());
            f.ops.circle(f.dst, f.Cx(), f.Cy(), f.DW / 2, f.DH / 2, static_cast<int>(f.S * f.v), f.S * f.p[3],
                         f.Work(), f.DW / 2, f.DH / 2, 1);
            f.Resume(paused);
        }
    }
    return f.Finish();
}

int GrowKind(Fx& f) {
    if (f.draw) {
        if (!f.scaled) {
            const int e = static_cast<int>(f.v - 32);
            if (f.s.bColor)
                f.ops.bltStretchParam(f.dst, f.L - e / 2, f.T - e / 2, f.DW + e, f.DH + e, f.Cell(), f.sx(), f.sy(),
                                      f.DW, f.DH, 1, f.s.pair);
            else
                f.ops.bltStretch(f.dst, f.L - e / 2, f.T - e / 2, f.DW + e, f.DH + e, f.Cell(), f.sx(), f.sy(), f.DW,
                                 f.DH, 1);
        } else {
            const int e = static_cast<int>((f.v - 32) * f.S) / 2;
            const bool paused = f.Pause();
            f.Render(f.Work());
            f.ops.bltStretch(f.dst, f.L - e / 2, f.T - e / 2, f.DW + e, f.DH + e, f.Work(), 0, 0, f.DW, f.DH, 1);
            f.Resume(paused);
        }
    }
    return f.Finish();
}

int LensKind(Fx& f) {
    if (!f.draw) return f.Finish();
    const int c = f.p[3] * f.S, d = f.p[4] * f.S;
    const int r = static_cast<int>(std::sqrt(2.0) * (std::max(std::abs(c), std::abs(d)) + f.DW / 2));
    const int cx = f.Cx() + c, cy = f.Cy() + d;
    const int scx = f.DW / 2 + c, scy = f.DH / 2 + d;
    DDSURFACEDATA* cw = f.ColorWork();
    if (f.d3d && !f.plain) {
        f.ops.fillRect(cw, 0, 0, 4 * r, 4 * r, 0);
        f.Render(cw);
        f.ops.lens(f.dst, cx, cy, r, static_cast<int>(f.v) * f.S, cw, scx, scy, 1, 0, f.Pair());
        return f.Finish();
    }
    const int side = (!f.d3d && g_DD.nBpp != 16) ? 2 * r : 4 * r;
    f.ops.fillRect(cw, 0, 0, side, side, 0);
    int depth = static_cast<int>(f.v);
    if (f.scaled) {
        f.Render(cw);
        depth *= f.S;
    } else if (f.s.bColor) {
        f.ops.bltParam(cw, 0, 0, f.DW, f.DH, f.Cell(), f.sx(), f.sy(), 0, f.s.pair);
    } else {
        f.ops.blt(cw, 0, 0, f.DW, f.DH, f.Cell(), f.sx(), f.sy(), 0);
    }
    if (f.d3d && (f.s.bColor || f.VirtualBackBuffer())) {
        DDSURFACEDATA* w = &SurfaceTable[kDetourSlot];
        const int further = f.s.bColor ? 1 : (g_DD.nScreenMode == 1 && g_DD.nBpp == 32 ? 1 : 0);
        f.ops.fillRect(w, 0, 0, 4 * r, 4 * r, 0);
        f.ops.lens(w, r, r, r, depth, cw, scx, scy, 1, further, nullptr);
        if (f.s.bColor) f.ops.bltParam(f.dst, cx - r, cy - r, 2 * r, 2 * r, w, 0, 0, 1, f.s.pair);
        else f.ops.blt(f.dst, cx - r, cy - r, 2 * r, 2 * r, w, 0, 0, 1);
    } else {
        f.ops.lens(f.dst, cx, cy, r, depth, cw, scx, scy, 1, 0, nullptr);
    }
    return f.Finish();
}

// The source of kinds 13 and 14 outside the plain Direct3D road: W2 with
// the cell drawn into it when scaled or coloured, else the cell itself.
void PickSource(const Fx& f, DDSURFACEDATA*& src, int& sx, int& sy) {
    if (f.scaled || f.s.bColor) {
        src = &SurfaceTable[kW2];
        sx = sy = 0;
        f.Render(src);
    } else {
        src = f.Cell();
        sx = f.sx();
        sy = f.sy();
    }
}

int ColorChangeKind(Fx& f) {
    if (f.draw) {
        const int level = static_cast<int>(f.v);
        if (f.d3d && !f.plain) {
            DDSURFACEDATA* cw = f.ColorWork();
            f.ops.fillRect(cw, 0, 0, f.DW, f.DH, 0);
            f.Render(cw);
            f.ops.colorChange(f.dst, f.L, f.T, f.DW, f.DH, cw, 0, 0, 1, g_Palette, g_BlendTable, f.p[3], level,
                              f.Pair());
        } else {
            DDSURFACEDATA* src;
            int sx, sy;
            PickSource(f, src, sx, sy);
            f.ops.colorChange(f.dst, f.L, f.T, f.DW, f.DH, src, sx, sy, 1, g_Palette, g_BlendTable, f.p[3], level,
                              nullptr);
        }
    }
    return f.Finish();
}

int HalfKind(Fx& f) {
    if (f.draw && !f.c.m_Effect.m_anWork[1]) {
        if (f.d3d && !f.plain) {
            f.ops.pauseLayer();
            DDSURFACEDATA* w2 = &SurfaceTable[kW2];
            f.ops.fillRect(w2, 0, 0, f.DW, f.DH, 0);
            f.Render(w2);
            f.ops.half(f.dst, f.L, f.T, f.DW, f.DH, w2, 0, 0, 1, g_BlendTable);
            f.ops.resumeLayer();
        } else {
            DDSURFACEDATA* src;
            int sx, sy;
            PickSource(f, src, sx, sy);
            f.ops.half(f.dst, f.L, f.T, f.DW, f.DH, src, sx, sy, 1, g_BlendTable);
        }
    }
    StepBlink(f, f.p[1]);
    return f.Finish();
}

// Mosaic and blur share their roads: draw(dst, x, y, src, sx, sy, param).
template <class Draw>
void SmearRoads(const Fx& f, bool copyWithColour, Draw draw) {
    DDSURFACEDATA* cw = f.ColorWork();
    if (f.d3d && !f.plain) {
        f.Render(cw);
        draw(f.dst, f.L, f.T, cw, 0, 0, f.Pair());
        return;
    }
    DDSURFACEDATA* src = f.Cell();
    int sx = f.sx(), sy = f.sy();
    if (f.scaled) {
        f.Render(cw);
        src = cw;
        sx = sy = 0;
    } else if (f.d3d) {
        if (copyWithColour) {
            if (f.s.bColor) f.ops.bltParam(cw, 0, 0, f.DW, f.DH, f.Cell(), f.sx(), f.sy(), 0, f.s.pair);
            else f.ops.blt(cw, 0, 0, f.DW, f.DH, f.Cell(), f.sx(), f.sy(), 0);
        } else {
            f.Render(cw);
        }
        src = cw;
        sx = sy = 0;
    }
    const bool detour = f.d3d && (!f.scaled || f.s.bColor || f.VirtualBackBuffer());
    if (detour)
        f.Detour([&](DDSURFACEDATA* d, int x, int y) { draw(d, x, y, src, sx, sy, nullptr); });
    else
        draw(f.dst, f.L, f.T, src, sx, sy, nullptr);
}

int MosaicKind(Fx& f) {
    if (f.draw) {
        const int block = static_cast<int>(f.v);
        SmearRoads(f, false, [&](DDSURFACEDATA* d, int x, int y, DDSURFACEDATA* src, int sx, int sy,
                                 const DDBLTPARAM* param) {
            f.ops.mosaic(d, x, y, f.DW, f.DH, block, src, sx, sy, 1, param);
        });
    }
    return f.Finish();
}

int BlurKind(Fx& f) {
    if (f.draw) {
        const int k = static_cast<int>(f.v);
        const bool eightBits = !f.d3d && g_DD.nBpp == 8;
        SmearRoads(f, true, [&](DDSURFACEDATA* d, int x, int y, DDSURFACEDATA* src, int sx, int sy,
                                const DDBLTPARAM* param) {
            if (eightBits)
                f.ops.colorChange(d, x, y, f.DW, f.DH, src, sx, sy, 1, g_Palette, g_BlendTable, 31, k, nullptr);
            else
                f.ops.blur(d, x, y, f.DW, f.DH, k, k, src, sx, sy, 1, param);
        });
    }
    return f.Finish();
}

using KindFn = int (*)(Fx&);
constexpr KindFn kKinds[kCharaEffectKinds] = {Plain,    Burst,       SplitH,   SplitV,     WaveH,   WaveV,
                                              Blink,    RotateAKind, RotateBKind, FlipKind, CircleKind, GrowKind,
                                              LensKind, ColorChangeKind, HalfKind, MosaicKind, BlurKind};

template <int K>
int Handler(cChara& c, DDSURFACEDATA* dst, CharaSprite& sprite, int frozen, int draw) {
    const int* p = nullptr;
    CharaEffectKind(c, &p);
    const PaletteSprite& sp = sprite.sp;
    const int S = c.m_Def.m_nSize;
    const int M = sp.bPrepared ? sp.nScale : 1;
    const bool scaled = sp.bPrepared ? S != M : S > 1;
    Fx f{c,
         dst,
         sprite,
         frozen,
         draw,
         c.m_nScrLeft,
         c.m_nScrTop,
         c.m_nDrawWidth,
         c.m_nDrawHeight,
         c.m_nBaseDrawWidth,
         c.m_nBaseDrawHeight,
         S,
         M,
         scaled,
         p,
         c.m_Effect.m_dValue,
         lpDTCon != nullptr,
         g_SystemData.OptPlainCharaOrder != 0,
         CharaBlits()};
    return kKinds[K](f);
}

template <int... K>
constexpr std::array<CharaEffectHandler, sizeof...(K)> MakeHandlers(std::integer_sequence<int, K...>) {
    return {Handler<K>...};
}
constexpr auto kHandlers = MakeHandlers(std::make_integer_sequence<int, kCharaEffectKinds>{});

}  // namespace

const CharaEffectHandler CharaEffectHandlers[kCharaEffectKinds] = {
    kHandlers[0],  kHandlers[1],  kHandlers[2],  kHandlers[3],  kHandlers[4],  kHandlers[5],
    kHandlers[6],  kHandlers[7],  kHandlers[8],  kHandlers[9],  kHandlers[10], kHandlers[11],
    kHandlers[12], kHandlers[13], kHandlers[14], kHandlers[15], kHandlers[16]};

CharaEffectHandler CharaEffectHandlerOf(int kind) {
    if (kind < 0 || kind >= kCharaEffectKinds) kind = 0;
    return CharaEffectHandlers[kind];
}
