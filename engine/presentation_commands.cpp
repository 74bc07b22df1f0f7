#include "engine/presentation_commands.h"

#include <cmath>
#include <iterator>

#include "base/app_state.h"
#include "base/error_box.h"
#include "base/log.h"
#include "base/quit.h"
#include "records/system_ini.h"
#include "base/system_report.h"
#include "engine/flow.h"
#include "engine/flow_runtime.h"
#include "engine/param_op.h"
#include "media/gfx/dd_surface.h"
#include "platform/cp932.h"
#include "play/chara.h"
#include "play/chara_effect.h"
#include "play/chara_player.h"
#include "media/gfx/run_time_surfaces.h"
#include "play/scene_play.h"
#include "play/screen_effect.h"
#include "records/database.h"
#include "records/ed_flow.h"
#include "records/stage.h"
#include "records/system_data.h"
#include "play/sound_requests.h"

namespace {

int32_t P(const cEdFlowCmd& cmd, int i) { return CmdParam(cmd, i); }

// The scene a presentation command works on; null while it closes.
cScenePlay* OpenScene() {
    cScenePlay* scene = PlayScene();
    return scene && !scene->m_bClosing ? scene : nullptr;
}

double CentreX(const cChara& c) { return c.m_dX + c.m_nWidth / 2; }
double CentreY(const cChara& c) { return c.m_dY + c.m_nHeight / 2; }

// The surface and slot record at position i of the picture lists.
DDSURFACEDATA& PictureSurfaceAt(long long i) { return *std::next(g_lstRunTimeSurfaces.begin(), i); }
BMPSLOT& PictureSlotAt(long long i) { return *std::next(g_lstRunTimeSlots.begin(), i); }

// A fresh surface and slot for the file at position i (-1: the end).
DDSURFACEDATA& InsertPictureSurface(long long i, const std::string& file) {
    BMPSLOT slot;
    slot.strFileName = file.substr(0, 300);
    const bool atEnd = i < 0 || i >= static_cast<long long>(g_lstRunTimeSurfaces.size());
    if (atEnd) {
        g_lstRunTimeSlots.push_back(slot);
        return g_lstRunTimeSurfaces.emplace_back();
    }
    g_lstRunTimeSlots.insert(std::next(g_lstRunTimeSlots.begin(), std::min<long long>(i, g_lstRunTimeSlots.size())),
                             slot);
    return *g_lstRunTimeSurfaces.emplace(std::next(g_lstRunTimeSurfaces.begin(), i));
}

}  // namespace

int LoadPictureSurface(DDSURFACEDATA* sd, const std::string& file, int memory) {
    return DDCreateSurfaceFromFile(sd, file, 1, g_DD.nBpp, memory, 0, 0, 0, 0, 0, 0);
}

PictureLoadFn& PictureLoader() {
    static PictureLoadFn loader = LoadPictureSurface;
    return loader;
}

void CalcEffectPos(double& x, double& y, int w, int h, const cChara& chara, int anchor, int unit, int px, int py,
                   int ox, int oy) {
    x = y = 0;
    const cScenePlay* scene = PlayScene();
    const double sx = scene ? scene->m_ScrollX.m_dPos : 0.0, sy = scene ? scene->m_ScrollY.m_dPos : 0.0;
    const int minX = scene ? scene->m_ScrollX.m_nBorder : 0, minY = scene ? scene->m_ScrollY.m_nBorder : 0;
    const int hw = w >> 1, hh = h >> 1;
    if (anchor >= 3 && anchor <= 6 && unit != 0 && unit != 1) return;
    const bool cells = unit == 0;
    switch (anchor) {
        case 0:
            x = ox + sx + 320 - hw;
            y = oy + sy + 240 - hh;
            break;
        case 1:
        case 2: {
            const cChara* c = &chara;
            if (anchor == 2) {
                if (g_vPlayers.empty()) return;
                c = &g_vPlayers[0];
            }
            x = ox + CentreX(*c) - hw;
            y = oy + CentreY(*c) - hh;
            break;
        }
        case 3:
            x = ox + sx + (cells ? px * 32 : px);
            y = oy + sy + (cells ? py * 32 : py);
            break;
        case 4:
            x = cells ? ox + sx + px * 32 + 16 - hw : sx + px - hw + ox;
            y = cells ? oy + sy + py * 32 + 16 - hh : sy + py - hh + oy;
            break;
        case 5:
            x = cells ? px * 32 + minX * 32 + ox : px + minX * 32 + ox;
            y = cells ? py * 32 + oy + minY * 32 : py + oy + minY * 32;
            break;
        case 6:
            x = cells ? (px + minX) * 32 + ox - hw + 16 : px + ox + minX * 32 - hw;
            y = cells ? (py + minY) * 32 + oy - hh + 16 : py + oy - hh + minY * 32;
            break;
        default: break;
    }
}

void DoChangeGraphic(cChara& chara, const cEdFlowCmd& cmd) {
    chara.m_Def.m_nGraphicKind = static_cast<int8_t>(P(cmd, 0));
    chara.m_Def.m_nGraphic = static_cast<int16_t>(P(cmd, 1));
    chara.m_nGraphic = chara.m_Def.m_nGraphic;
    chara.m_Def.m_nGraphicCell = static_cast<int16_t>(P(cmd, 2));
}

void DoChangeAnimeSet(cChara& chara, const cEdFlowCmd& cmd) { chara.SetAnimeSet(static_cast<uint16_t>(P(cmd, 0)), 0); }

void DoRunAnime(cChara& chara, const cEdFlowCmd& cmd) {
    const int anime = P(cmd, 0);
    if (P(cmd, 1)) {
        chara.StopAnimeRuns(anime);
        return;
    }
    const cScenePlay* scene = PlayScene();
    const cFlow* flow = scene ? scene->m_lpCurFlow : nullptr;
    cAnimeRun& run = chara.m_lstAnimeRuns.emplace_front();
    InitAnimeRun(run, anime, 0, 0, 0, flow ? flow->m_nKey : -1);
    run.m_Player.m_vTracks.assign(1, g_vAnimeSteps.at(anime));
    run.m_Player.SetTrack(0, 1);
}

void DoRunEffect(cChara& chara, const cEdFlowCmd& cmd) {
    cScenePlay* scene = OpenScene();
    if (!scene) return;
    const int id = P(cmd, 0);
    if (id == 0) {
        scene->m_lstEffects.clear();
        return;
    }
    const cDbEffect& e = g_Database.m_vecEffect.at(id);
    const int pct = P(cmd, 7);
    EffectRequest r;
    r.nId = id;
    r.nWidth = static_cast<int32_t>(std::lround(pct * e.m_nCellWidth * 0.01));
    r.nHeight = PercentOf(e.m_nCellHeight, pct, 1);
    CalcEffectPos(r.dX, r.dY, r.nWidth, r.nHeight, chara, P(cmd, 1), P(cmd, 9), P(cmd, 2), P(cmd, 3), P(cmd, 4),
                  P(cmd, 5));
    r.nLayer = P(cmd, 6);
    r.bRunWhileFrozen = P(cmd, 8);
    scene->m_lstEffects.emplace_back().Init(r);
    if (!P(cmd, 8)) return;
    long long frames = 0;
    for (const cDbEffectPart& part : e.m_vecParts) frames += part.m_nDuration * 6LL;
    scene->InitDisplayRequest(2, 0, static_cast<int>(std::min<long long>(frames, INT32_MAX)), 0, nullptr);
    scene->RunPauseLoop();
}

void DoRunCharaEffect(cChara& chara, const cEdFlowCmd& cmd) {
    StartCharaEffect(chara, static_cast<int16_t>(P(cmd, 0)), P(cmd, 1), P(cmd, 2));
}

void DoRunScreenEffect(cChara&, const cEdFlowCmd& cmd) {
    cScenePlay* scene = PlayScene();
    if (!scene) return;
    StartScreenEffect(scene->m_ScreenEffect, static_cast<int16_t>(P(cmd, 0)), P(cmd, 1), P(cmd, 2));
    if (scene->m_ScreenEffect.m_nEffectId == 0 && lpDTCon && lpDTCon->bVirBackBuffer)
        ScreenBlits().setVirtualBackBuffer(0);
}

void DoShowPicture(cChara& chara, const cEdFlowCmd& cmd) {
    cScenePlay* scene = OpenScene();
    if (!scene) return;
    auto& pics = scene->m_lstPictures;
    const int id = P(cmd, 0), byId = P(cmd, 16), pictureId = P(cmd, 17);
    // Every picture removed.
    if (id == 0 && !byId) {
        DDReleaseSurfaceList(g_lstRunTimeSurfaces);
        g_lstRunTimeSurfaces.clear();
        g_lstRunTimeSlots.clear();
        pics.clear();
        return;
    }
    // The picture with the ID.
    long long at = -1;
    bool reuse = false;
    if (byId) {
        long long i = 0;
        for (const cPicture& p : pics) {
            if (p.m_bHasId && p.m_nPictureId == pictureId) {
                at = i;
                break;
            }
            ++i;
        }
        if (id == 0) {
            if (at >= 0) RemovePictureAt(*scene, at);
            return;
        }
        if (at >= 0) {
            pics.erase(std::next(pics.begin(), at));
            const bool hasSurface = at < static_cast<long long>(g_lstRunTimeSurfaces.size());
            reuse = hasSurface && at < static_cast<long long>(g_lstRunTimeSlots.size()) &&
                    PictureSlotAt(at).strFileName == g_Database.m_vecPicture.at(id).m_strFile;
            if (hasSurface && !reuse)
                DDRemoveSurface(g_lstRunTimeSurfaces, g_lstRunTimeSlots, &PictureSurfaceAt(at));
        }
    }
    // The image.
    const cDbPicture& entry = g_Database.m_vecPicture.at(id);
    DDSURFACEDATA* sd = nullptr;
    if (reuse) {
        sd = &PictureSurfaceAt(at);
    } else {
        int memory = 0;
        if (!lpDTCon && ((P(cmd, 7) != 100 && !g_SystemIni.DD_VideoStretch) || IsVideoMemoryLow())) memory = 1;
        sd = &InsertPictureSurface(at, entry.m_strFile);
        if (!DDCheckSurfaceError(PictureLoader()(sd, entry.m_strFile, memory))) {
            const std::string text = SJ("%s 読み込み失敗！");
            ErrorBoxf(text.c_str(), entry.m_strFile.c_str());
            DebugLogf(text.c_str(), entry.m_strFile.c_str());
            DDRemoveSurface(g_lstRunTimeSurfaces, g_lstRunTimeSlots, sd);
            SetQuitAndClose();
            return;
        }
    }
    // The picture.
    const int frames = P(cmd, 18) ? 1 : P(cmd, 13) * 6;
    const int follow = P(cmd, 1);
    int owner = 0;
    if (follow == 1) owner = chara.m_nKey;
    else if (follow == 2 && !g_vPlayers.empty()) owner = g_vPlayers[0].m_nKey;
    PictureRequest r;
    r.nPicture = id;
    r.nPosKind = follow;
    r.nUnit = P(cmd, 19);
    r.nX = P(cmd, 2);
    r.nY = P(cmd, 3);
    r.nOffsetX = P(cmd, 4);
    r.nOffsetY = P(cmd, 5);
    r.nImageWidth = sd->nWidth;
    r.nImageHeight = sd->nHeight;
    r.bSwapAnchoring = P(cmd, 15);
    r.nLayer = P(cmd, 6);
    r.nPercent = P(cmd, 7);
    r.bSeparateY = P(cmd, 8);
    r.nPercentY = P(cmd, 9);
    r.bMirrorX = P(cmd, 10);
    r.bMirrorY = P(cmd, 11);
    r.nDisplayMode = P(cmd, 12);
    r.nFrames = frames;
    r.bRunWhileFrozen = P(cmd, 14);
    r.nCharaKey = owner;
    r.bHasId = byId;
    r.nPictureId = pictureId;
    cPicture pic;
    pic.Init(r);
    DebugLogf("[CCMDGENERAL_PIC_STRETCH] = %d, [CCMDGENERAL_PIC_STRETCH_Y_USE] = %d, [CCMDGENERAL_PIC_STRETCH_Y] = %d",
              P(cmd, 7), P(cmd, 8), P(cmd, 9));
    if (owner) {
        if (const cChara* c = FindCharaById(owner)) {
            pic.m_dFollowX = CentreX(*c);
            pic.m_dFollowY = CentreY(*c);
        }
    }
    if (!g_SystemData.m_bCompat833) pic.GetPicturePosition(pic.m_nX, pic.m_nY);
    const bool atEnd = at < 0 || at >= static_cast<long long>(pics.size());
    if (atEnd) pics.push_back(pic);
    else pics.insert(std::next(pics.begin(), at), pic);
    // A picture the flow waits for.
    if (!P(cmd, 14)) return;
    const int mode = P(cmd, 12);
    scene->InitDisplayRequest(3, mode == 0 ? 1 : 0, mode == 2 ? frames : 0, 0, nullptr);
    scene->RunPauseLoop();
    RemovePictureAt(*scene, atEnd ? static_cast<long long>(pics.size()) - 1 : at);
}

void DoScreenColor(cChara&, const cEdFlowCmd& cmd) {
    cScenePlay* scene = PlayScene();
    if (!scene) return;
    int params[8];
    for (int i = 0; i < 8; ++i) params[i] = P(cmd, i);
    SetScreenColor(scene->m_ScreenColor, params);
}

void DoChangeBackground(cChara&, const cEdFlowCmd& cmd) {
    auto& bgs = g_Stage.m_vecBackground;
    const int n = P(cmd, 0);
    if (n < 1 || n > static_cast<int>(bgs.size())) return;
    int32_t& show = bgs[size_t(n - 1)].m_bShow;
    switch (P(cmd, 1)) {
        case 0: show = 1; break;
        case 1: show = 0; break;
        case 2: show = !show; break;
        default: break;
    }
}

void DoPlaySe(cChara& chara, const cEdFlowCmd& cmd) {
    if (!cmd.m_bSoundOnScreenOnly || chara.IsOnScreen()) PlayUserSe(P(cmd, 0));
}

void DoPlayBgm(cChara&, const cEdFlowCmd& cmd) { RequestBgm(P(cmd, 1), P(cmd, 0)); }

#define PRESENTATION_EXEC(Name)                            \
    void Exec##Name(cChara& chara, cFlowCmd& inst) {      \
        if (inst.m_lpDef) Do##Name(chara, *inst.m_lpDef); \
    }
PRESENTATION_EXEC(ChangeGraphic)
PRESENTATION_EXEC(ChangeAnimeSet)
PRESENTATION_EXEC(RunAnime)
PRESENTATION_EXEC(RunEffect)
PRESENTATION_EXEC(RunCharaEffect)
PRESENTATION_EXEC(RunScreenEffect)
PRESENTATION_EXEC(ShowPicture)
PRESENTATION_EXEC(ScreenColor)
PRESENTATION_EXEC(ChangeBackground)
PRESENTATION_EXEC(PlaySe)
PRESENTATION_EXEC(PlayBgm)
#undef PRESENTATION_EXEC
