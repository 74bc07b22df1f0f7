#include "play/chara_draw.h"

#include <climits>

#include "base/scene_state.h"
#include "media/frame_loop.h"
#include "play/chara.h"
#include "play/chara_effect_handlers.h"
#include "records/database.h"
#include "records/stage.h"
#include "records/system_data.h"

int SelectCharaFrame(cChara& c, int frozen) {
    if (!frozen) {
        c.m_Anime.AdvanceFrame();
        for (auto it = c.m_lstAnimeRuns.begin(); it != c.m_lstAnimeRuns.end();) {
            if (it->m_bPaused) {
                ++it;
                continue;
            }
            if (it->m_Player.AdvanceFrame() == ANIME_END) {
                it = c.m_lstAnimeRuns.erase(it);
                continue;
            }
            --it->m_nValue;  // the timer of a timed run
            ++it;
        }
    }
    // Among the runs that are not paused: an untimed run only when nothing
    // is chosen yet, the timed run with the smallest timer, and once a timer
    // has run out, the expired run closest to running out.
    cAnimeRun* chosen = nullptr;
    int best = INT_MAX;
    bool expired = false;
    for (cAnimeRun& run : c.m_lstAnimeRuns) {
        if (run.m_bPaused) continue;
        const bool timed = run.m_nMode != 0;
        const int t = run.m_nValue;
        if (!expired) {
            if (!timed) {
                if (!chosen) {
                    chosen = &run;
                    best = INT_MAX;
                }
            } else if (t <= 0 && best <= 0) {
                chosen = &run;
                best = t;
                expired = true;
            } else if (t < best) {
                chosen = &run;
                best = t;
            }
        } else if (t <= 0 && best <= 0 && best < t) {
            chosen = &run;
            best = t;
        }
    }
    return chosen ? chosen->m_Player.GetFrame() : c.m_Anime.GetFrame();
}

int GetCharaCell(const cChara& c, CharaSprite& sprite) {
    int n = c.m_nGraphic;
    const auto& sets = g_Database.m_vecAnimeSet;
    const cDbAnimeSet* set =
        c.m_nAnimeSet >= 0 && c.m_nAnimeSet < static_cast<int>(sets.size()) ? &sets[size_t(c.m_nAnimeSet)] : nullptr;
    if (set) {
        if (c.m_Def.m_nMoveType != 0) n += set->m_nFlyingGraphicOffset;
        if (c.m_Def.m_bBlockChara) n += set->m_nBlockCharaGraphicOffset;
        if (c.m_Def.m_nInvincible != 0) n += set->m_nInvincibleGraphicOffset;
    }
    const int blend = c.m_Def.m_nInvincibleBlend;
    sprite.bColor = lpDTCon && g_SystemData.m_bCharaDrawOption && c.m_Def.m_nInvincible != 0 && blend != 0 &&
                    blend > 0 && blend < 9;
    if (sprite.bColor) sprite.pair = DDBLTPARAM{g_BlinkColors[blend].argb, g_BlinkColors[blend].kind};
    return n;
}

void PrepareCharaSprite(cChara& c, CharaSprite& sprite, int frame) {
    const int n = GetCharaCell(c, sprite);
    GetPaletteSprite(sprite.sp, PUSER_CHARA, c.m_Def.m_nGraphicKind, n, frame, &c, 0);
}

void RenderCellToWork(const cChara& c, DDSURFACEDATA* work, const CharaSprite& sprite) {
    CharaBlitOps& ops = CharaBlits();
    const PaletteSprite& sp = sprite.sp;
    const int S = c.m_Def.m_nSize;
    const int M = sp.bPrepared ? sp.nScale : 1;
    const bool scaled = sp.bPrepared ? S != M : S > 1;
    const int DW = c.m_nDrawWidth, DH = c.m_nDrawHeight;
    if (scaled) {
        const int w = M * c.m_nBaseDrawWidth, h = M * c.m_nBaseDrawHeight;
        if (sprite.bColor) ops.bltStretchParam(work, 0, 0, DW, DH, sp.lpSurface, sp.sx, sp.sy, w, h, 0, sprite.pair);
        else ops.bltStretch(work, 0, 0, DW, DH, sp.lpSurface, sp.sx, sp.sy, w, h, 0);
    } else {
        if (sprite.bColor) ops.bltParam(work, 0, 0, DW, DH, sp.lpSurface, sp.sx, sp.sy, 0, sprite.pair);
        else ops.blt(work, 0, 0, DW, DH, sp.lpSurface, sp.sx, sp.sy, 0);
    }
}

namespace {

// The effect's handler; a 1 ends the effect.
int RunEffect(cChara& c, DDSURFACEDATA* dst, CharaSprite& sprite, int frozen, int draw) {
    const int kind = CharaEffectKind(c, nullptr);
    const int done = CharaEffectHandlerOf(kind)(c, dst, sprite, frozen, draw);
    if (done == 1) c.m_nCharaEffect = 0;
    return done;
}

}  // namespace

void StepCharaEffectOnly(cChara& c, int frozen) {
    CharaSprite sprite;
    RunEffect(c, nullptr, sprite, frozen, 0);
}

void DrawCharaSprite(cChara& c, DDSURFACEDATA* dst, int frozen) {
    const int frame = SelectCharaFrame(c, frozen);
    if (c.m_Draw.bNoDraw || c.m_Def.m_bTransparent) {
        StepCharaEffectOnly(c, frozen);
        return;
    }
    c.UpdateScreenRect();
    if (c.m_Draw.abFixed[0]) {
        c.m_nScrLeft = c.m_Draw.anFixedPos[0];
        c.m_nScrRight = c.m_nScrLeft + c.m_nDrawWidth - 1;
    }
    if (c.m_Draw.abFixed[1]) {
        c.m_nScrTop = c.m_Draw.anFixedPos[1];
        c.m_nScrBottom = c.m_nScrTop + c.m_nDrawHeight - 1;
    }
    CharaSprite sprite;
    PrepareCharaSprite(c, sprite, frame);
    RunEffect(c, dst, sprite, frozen, 1);
    if (c.m_Def.m_bBadge != 1) return;
    const int b = c.m_Def.m_nBadge;
    const int bx = (b / 15) * 32, by = (b % 15) * 32;
    CharaBlitOps& ops = CharaBlits();
    if (c.m_Def.m_nSize > 1)
        ops.bltStretch(dst, c.m_nScrLeft, c.m_nScrTop, c.m_nDrawWidth, c.m_nDrawHeight, g_IconSurfaces.lpOverlay, bx,
                       by, c.m_nBaseDrawWidth, c.m_nBaseDrawHeight, 1);
    else
        ops.blt(dst, c.m_nScrLeft, c.m_nScrTop, 32, 32, &SurfaceTable[43], bx, by, 1);
}

int DrawDyingChara(cChara& c, DDSURFACEDATA* dst, int frozen) {
    CharaSprite sprite;
    PrepareCharaSprite(c, sprite, 0);
    const bool running = CharaEffectKind(c, nullptr) != 0;
    if (c.m_nSide != 0) {
        if (!running) return 1;
        return RunEffect(c, dst, sprite, frozen, 1) == 1 ? 1 : 0;
    }
    if (running) {
        RunEffect(c, dst, sprite, frozen, 1);
        return 0;
    }
    if (!frozen) ++c.m_Draw.nDeathCounter;
    return c.m_Draw.nDeathCounter > g_Stage.m_nFrameRate ? 1 : 0;
}

void DrawCharaGauge(cChara& c, DDSURFACEDATA* dst, CharaGauge& gauge, int which) {
    if (gauge.nTimer <= 0 || c.m_bDead) return;
    DDSURFACEDATA* sheet = g_IconSurfaces.lpOverlay;
    const int f = sheet->nHeight > 208 ? 208 : 128;
    const int g = sheet->nHeight > 208 ? 2 : 16;
    const int u = which ? 64 : 0;
    const int x = c.m_nScrLeft + c.m_nDrawWidth / 2 - 25;
    const int y = c.m_nScrTop - (which ? 7 : 3);
    const int warn = which ? g_SystemData.IsAtThreshold(3, c.m_nSP, c.m_Def.m_nMaxSP)
                           : g_SystemData.IsAtThreshold(2, c.m_nHP, c.m_Def.m_nMaxHP);
    CharaBlitOps& ops = CharaBlits();
    ops.blt(dst, x, y, 50, 2, sheet, u, f, 1);
    ops.blt(dst, x, y, gauge.nPos, 2, sheet, u, warn ? f + 2 * g : f + g, 1);
    const double step = gauge.dStep;
    if (step >= 0) {
        const int w = static_cast<int>(step);
        ops.blt(dst, x + gauge.nPos - w, y, w, 2, sheet, u, f + 4 * g, 1);
    } else {
        ops.blt(dst, x + gauge.nPos, y, static_cast<int>(-step), 2, sheet, u, f + 3 * g, 1);
    }
    if (--gauge.nTimer < 60) gauge.dStep = 0;
    else gauge.dStep -= gauge.dPerFrame;
}

void DrawHpGauge(cChara& c, DDSURFACEDATA* dst) { DrawCharaGauge(c, dst, c.m_HPGauge, 0); }
void DrawSpGauge(cChara& c, DDSURFACEDATA* dst) { DrawCharaGauge(c, dst, c.m_SPGauge, 1); }
