// The play scene's frame and its states: fade in, the banners of READY, the
// in-game menu, the stage end, the retry prompt, game over and fade out, and
// the miss resolution after the hero's death display.
#include "play/scene_play.h"

#include <span>
#include <string>

#include "base/app_state.h"
#include "base/error_box.h"
#include "records/stage_loader.h"
#include "base/log.h"
#include "base/quit.h"
#include "base/scene_state.h"
#include "media/frame_loop.h"
#include "frontend/data/game_progress.h"
#include "frontend/data/option_data.h"
#include "frontend/data/ranking.h"
#include "play/ranking_draw.h"
#include "play/ranking_entry.h"
#include "frontend/replay/replay.h"
#include "play/replay_save.h"
#include "media/text/cmd_menu.h"
#include "media/input/menu_cursor.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_palette.h"
#include "media/gfx/dd_surface.h"
#include "media/gfx/effects/slice_blits.h"
#include "media/input/input_list.h"
#include "media/sound/ds_sound.h"
#include "media/text/dd_fade.h"
#include "media/text/dd_frames.h"
#include "media/text/font.h"
#include "platform/cp932.h"
#include "platform/input_source.h"
#include "platform/keyboard_state.h"
#include "play/chara_player.h"
#include "play/draw_stage.h"
#include "play/message_window.h"
#include "play/palette_sprite.h"
#include "play/sound_requests.h"
#include "play/replay_io.h"
#include "platform/service.h"
#include "play/stage_resources.h"
#include "play/stage_results.h"
#include "play/stage_setup.h"
#include "records/game_type.h"
#include "records/stage.h"
#include "records/system_data.h"

cScenePlay* PlayScene() { return static_cast<cScenePlay*>(g_lpPlayScene); }

static cScenePlay* LivePlayScene() { return dynamic_cast<cScenePlay*>(g_lpPlayScene); }

void PlaySceneSetClosing() {
    if (cScenePlay* scene = LivePlayScene()) scene->m_bClosing = 1;
}

bool PlaySceneInPlayState() {
    cScenePlay* scene = LivePlayScene();
    return scene && scene->m_nState == CSCENEPLAY_PLAY;
}

void PlaySceneSetFps(int fps) {
    if (cScenePlay* scene = LivePlayScene()) scene->m_nFps = fps;
}

MenuAnchor g_InGameMenuAnchor = {320, 272, 0, 0};
MenuAnchor g_RetryPromptAnchor = {320, 272, 0, 0};
MenuAnchor g_RankingAnchor = {184, 64, 0, 0};

namespace {

constexpr int kSeDecide = 1;
constexpr int kSeCancel = 2;
constexpr int kSeMenu = 4;
constexpr int kBannerFrames = 79;
constexpr int kStageEndFrames = 200;

int GameType() { return g_SceneState.g_nGameType; }
int GameKind() { return g_SceneState.g_nGameKind; }

DDSURFACEDATA* Word() { return &SurfaceTable[kWordSlot]; }

void DrawPlainPass(cScenePlay& scene) { DrawStage(scene, 0, 1, 0, 1); }

void DrawCursorSprite() {
    const MenuCursorPos& cur = g_MenuCursor.Cur();
    DDBlt(&g_BackBuffer, cur.m_nPixelX, cur.m_nPixelY, 16, 16, &SurfaceTable[kAccessorySlot], 64, 0, 1);
}

// Whether a retry restores the common variables: the "FreeStage" run's own
// setting while it plays, else the game kind's; other kinds always do.
bool KindRestoresVars() {
    if (g_bFreeStage) return g_SystemData.m_bRestoreVarsFree != 0;
    switch (GameKind()) {
        case 0: return g_SystemData.m_bRestoreVars0 != 0;
        case 1: return g_SystemData.m_bRestoreVars1 != 0;
        case 2: return g_SystemData.m_bRestoreVars2 != 0;
        default: return true;
    }
}

// The progress's cleared flag of a stage (by series index); false outside
// the list.
bool StageFlagged(long long index) {
    return index >= 0 && index < static_cast<long long>(g_Progress.m_vecOpened.size()) &&
           g_Progress.m_vecOpened[index] != 0;
}

const std::string& Text(long long i) {
    static const std::string empty;
    return i >= 0 && i < static_cast<long long>(g_SystemData.m_vecTexts.size()) ? g_SystemData.m_vecTexts[i] : empty;
}

}  // namespace

cScenePlay::cScenePlay() {
    SetHandlers<cScenePlay>({&cScenePlay::FadeIn, &cScenePlay::UpdateReady, &cScenePlay::UpdatePlay,
                             &cScenePlay::UpdateMenu, &cScenePlay::UpdateStageEnd, &cScenePlay::UpdateRetry,
                             &cScenePlay::UpdateGameOver, &cScenePlay::FadeOut});
    m_vRankPos.assign(5, -1);
    m_vRankValue.assign(5, 0);
}

cScenePlay::~cScenePlay() {
    // Windows still open when the scene ends give back their work surfaces,
    // which live in a list that outlasts the scene.
    ClearMessageWindows(*this);
    if (m_bResourcesLoaded) ReleaseStageResources();
    // The darkness mask is the scene's own (each visit of the play builds it).
    DDReleaseSurfaceData(&m_LightMask);
    DDReleaseSurfaceData(&m_LightHole);
}

int UseLife(cGameProgress& progress) {
    if (g_bFreeStage) return 1;
    if (progress.m_nLives == kUnlimitedLives) return 1;
    if (progress.m_nLives <= 0) return 0;
    --progress.m_nLives;
    return 1;
}

void cScenePlay::Run() {
    if (g_bQuit) return;
    if (m_nState == -1) {
        InitOrFail();
        m_nState = CSCENEPLAY_FADEIN;
        // The fade-in's first step is made in the same frame.
        if (g_bQuit) return;
    }
    if (m_nState < 0 || static_cast<size_t>(m_nState) >= m_vecHandlers.size()) {
        ReportBadIndex("V", m_nState, static_cast<long long>(m_vecHandlers.size()), sizeof(StateHandler));
        return;
    }
    (this->*m_vecHandlers[static_cast<size_t>(m_nState)])();
}

void cScenePlay::Init() {
    RedrawScreen();
    const int type = GameType();
    bool loaded = false;
    if (IsStoryGame(type) && g_Progress.m_bResume) {
        // A story stage resumed from a save: its stage file is loaded here.
        // A save naming no stage file fails like one that cannot be read
        // rather than playing whatever stage is in memory.
        std::string file;
        const bool found = MakeStageFileName(file, g_Progress.m_nStageNumber, 1) != 0;
        if (!found || !LoadStageWithMessagePump(file, false, &g_StageStart, &g_HeroDef)) {
            ErrorBoxf(SJ("ステージファイル %s が読み込めません！").c_str(), file.c_str());
            SetQuitAndClose();
            return;
        }
        loaded = true;
    }
    m_vRankPos.resize(5, 0);
    m_vRankValue.resize(5, 0);
    SetBackgroundFiles(g_Stage.m_vecBackground);
    const bool fromPlay = g_SceneState.m_nPrevSceneKind == SCENE_PLAY;
    if (!fromPlay) {
        if (!LoadPlaySurfaces(false)) {
            SetQuitAndClose();
            return;
        }
        m_bResourcesLoaded = 1;
        BuildShotSheets();
        LoadDedicatedBitmaps();
        LoadSwordBitmaps();
        LoadEffectBitmaps();
        if (!loaded) {
            // A replay keeps the lives its progress was recorded with, so
            // that it plays back as it was played.
            const int32_t lives = g_Progress.m_nLives;
            ResetStageState();
            if (GameType() == GAMETYPE_REPLAY)
                g_Progress.m_nLives = lives;
            else
                UseLife(g_Progress);
        }
    } else {
        if (!LoadPlaySurfaces(true)) {
            SetQuitAndClose();
            return;
        }
        m_bResourcesLoaded = 1;
    }
    // The icon sheets and work surfaces of this graphics mode.
    SelectIconSurfaces();
    SetupStage(fromPlay ? 1 : 0, 1);
    ResetCursorPositions();
    m_nStep = 0;
}

void cScenePlay::ResetStageState() {
    const int type = GameType();
    if (type != GAMETYPE_REPLAY && g_Progress.m_bVariation && g_Progress.m_nVariationVar >= 0 &&
        g_Progress.m_nVariationVar < static_cast<int>(g_Progress.m_vecCommonVar.size()))
        g_Progress.m_vecCommonVar[g_Progress.m_nVariationVar] = g_Progress.m_nVariationValue;
    g_Progress.m_nLives = g_Progress.m_nStartLives;
    g_Progress.m_nStageScore = g_Progress.m_nScore = 0;
    g_Progress.m_nTotal1 = g_Progress.m_nTotal2 = g_Progress.m_nTotal3 = g_Progress.m_nTotal4 = 0;
    g_Progress.m_bNextStartPos = 0;
    m_ScrollX.m_dSpeed = m_ScrollY.m_dSpeed = 0.0;
    m_ScrollX.m_bAutoOn = m_ScrollY.m_bAutoOn = 0;
    m_nStep = m_nStateFrames = m_nStateFrames2 = 0;
    m_bHoldButtons = m_nTimeLeft = m_bRankEntered = 0;
    ClearMessageWindows(*this);
    if (type != GAMETYPE_REPLAY) ClearReplayBuffers();
    if (g_bFreeStage) g_Progress.m_nStageNumber = 1;
    if (g_SceneState.g_bRankingOn)
        LoadRanking(g_Ranking, GameKind(), g_Progress.m_strStageBase, g_Progress.m_bVariation,
                    g_Progress.m_nVariationVar, g_Progress.m_nVariationValue);
}

int cScenePlay::CheckMenuKey() {
    if (!platform::InputSource().IsKeyHeld(platform::VK_SPACE)) return 0;
    if (GameType() != GAMETYPE_REPLAY && !g_SystemData.OptSpaceMenu) return 0;
    PlaySe(kSeMenu);
    m_nSavedState = m_nState;
    m_nSavedStep = m_nStep;
    return 1;
}

void cScenePlay::FadeIn() {
    DrawPlainPass(*this);
    if (DDFadeIn(g_PaletteCopy, 0, 255, 0, 0, 0, g_SceneState.m_nFadeSpeed, g_Palette, false))
        m_nState = CSCENEPLAY_READY;
}

void cScenePlay::FadeOut() {
    if (!DDFadeOut(g_PaletteCopy, 0, 255, 0, 0, 0, g_SceneState.m_nFadeSpeed, g_Palette, false)) return;
    DDFillSurface(&g_BackBuffer, 16);
    if (g_bSinglePlay) g_SceneState.m_nNextSceneKind = SCENE_TITLE;
    const int type = GameType();
    if (g_bFreeStage || (type == GAMETYPE_FREE && g_Progress.m_nNextStage == 0)) {
        g_Progress.m_nNextStage = 0;
        if (!StartStageFile(g_Stage.m_strPath, 0)) SetQuitAndClose();
    } else if (IsStoryGame(type)) {
        g_Progress.m_bResume = 0;
    }
    g_SceneState.m_nFrameRate = 60;
    g_SceneState.m_nPrevSceneKind = SCENE_PLAY;
    g_SceneState.m_nSceneKind = g_SceneState.m_nNextSceneKind;
    m_nState = -1;
}

void cScenePlay::UpdateReady() {
    DrawPlainPass(*this);
    if (!(g_bEditorTest && g_bFreeStage)) {
        if (GameType() == GAMETYPE_REPLAY) {
            if (++m_nStateFrames <= kBannerFrames) {
                DDBlt(&g_BackBuffer, 256, 224, 128, 32, Word(), 0, 32, 1);
                return;
            }
        } else {
            if (g_Stage.m_bStageBanner && m_nStateFrames <= kBannerFrames) {
                if (++m_nStateFrames <= kBannerFrames) {
                    DDBlt(&g_BackBuffer, 256, 224, 128, 32, Word(), 0, 0, 1);
                    DDDrawNumber(&g_BackBuffer, 384, 224, 32, 32, Word(), 0, 128, 1, g_Progress.m_nStageNumber, 1, 0);
                    return;
                }
            }
            if (g_Stage.m_bStartBanner && ++m_nStateFrames2 <= kBannerFrames) {
                DDBlt(&g_BackBuffer, 280, 224, 80, 32, Word(), 160, 0, 1);
                return;
            }
        }
    }
    if (!g_vPlayers.empty()) g_vPlayers[0].m_Anime.SetTrack(g_vPlayers[0].m_bFlying ? 2 : 0, 1);
    m_nStateFrames = 0;
    m_nStep = 0;
    m_nState = CSCENEPLAY_PLAY;
}

void cScenePlay::UpdateMenu() {
    if (CheckReplaySaveKeys()) return;
    m_vMenu.assign(7, cCmd());
    for (int i = 0; i < 7; ++i) m_vMenu[static_cast<size_t>(i)].m_strLabel = Text(19 + i);
    auto off = [&](int i) { m_vMenu[static_cast<size_t>(i)].m_nEnabled = 0; };
    switch (GameKind()) {
        case 0: {
            const bool flagged = StageFlagged(g_Progress.m_nSeriesIndex);
            if (!(g_SystemData.OptStoryRestart && flagged)) off(2);
            if (!(g_SystemData.OptMapReturn && flagged)) off(3);
            off(4), off(5), off(6);
            break;
        }
        case 1: {
            const long long i = static_cast<long long>(g_Progress.m_nStageNumber) - 1;
            const bool flagged = i >= 0 && i < static_cast<long long>(g_Progress.m_vecStageFlag.size()) &&
                                 g_Progress.m_vecStageFlag[i].m_bCleared;
            if (!(g_SystemData.OptSelectRestart && flagged)) off(2);
            off(3), off(4), off(5), off(6);
            break;
        }
        case 2: off(3), off(4), off(5), off(6); break;
        case 3:
            off(3);
            if (g_ReplayFiles.empty()) off(4), off(5), off(6);
            break;
        default: break;
    }
    if (m_nStep == 0) {
        g_MenuCursor.Cur().m_nY = 1;
        m_nStep = 1;
    }
    cInput& in = g_InputList.at(0);
    in.UpdateButtonTrigger(0);
    in.UpdateKeyRepeat();
    const int x = CmdMenuCenterX(g_InGameMenuAnchor.x, m_vMenu);
    g_MenuCursor.MoveGrid(in.m_sDir, x, g_InGameMenuAnchor.y, 0, 16, 1, CountEnabledCmds(m_vMenu));
    DS_PlayCursorSE(in.m_sDir, 2, 0);
    if (in.m_wButton & 1) {
        const int entry = GetCmdNum(g_MenuCursor.Cur().m_nY, m_vMenu);
        PlaySe(kSeDecide);
        switch (entry) {
            case 0:
                m_nState = CSCENEPLAY_FADEOUT;
                Service<IReplayIo>::Get().AutoSave();
                if (g_bFreeStage) {
                    PostCloseRequest();
                    return;
                }
                // The title puts its cursor on the game type by itself.
                g_SceneState.m_nNextSceneKind = SCENE_TITLE;
                break;
            case 1:
                m_bHoldButtons = 1;
                m_nState = m_nSavedState;
                m_nStep = m_nSavedStep;
                return;
            case 2:
                m_bHoldButtons = 1;
                Service<IReplayIo>::Get().AutoSave();
                g_Progress.RestoreStageStart(true, KindRestoresVars());
                SetupStage(1, 0);
                m_nState = CSCENEPLAY_READY;
                break;
            case 3:
                m_bHoldButtons = 1;
                Service<IReplayIo>::Get().AutoSave();
                g_Progress.RestoreStageStart(false, KindRestoresVars());
                g_Progress.m_bMapReturn = 1;
                g_SceneState.m_nNextSceneKind = SCENE_WORLDMAP;
                m_nState = CSCENEPLAY_FADEOUT;
                break;
            case 4:
            case 5:
                m_bHoldButtons = 1;
                StepStageList(1, entry == 4 ? 1 : -1);
                SetupStage(1, 1);
                m_nState = CSCENEPLAY_READY;
                break;
            case 6:
                m_bHoldButtons = 1;
                g_SceneState.m_nNextSceneKind = SCENE_REPLAYLIST;
                m_nState = CSCENEPLAY_FADEOUT;
                break;
            default: break;
        }
        m_nStep = 0;
        return;
    }
    if (in.m_wButton & 2) {
        PlaySe(kSeCancel);
        m_bHoldButtons = 1;
        m_nState = m_nSavedState;
        m_nStep = m_nSavedStep;
        return;
    }
    DrawPlainPass(*this);
    DrawCmdMenu(&g_BackBuffer, x, g_InGameMenuAnchor.y, m_vMenu);
    DrawCursorSprite();
}

void cScenePlay::UpdateStageEnd() {
    const int autoAdvance = g_Stage.m_bAutoAdvance;
    const int rankingMode = g_OptionData.m_nRankingMode;
    if (!autoAdvance) {
        if (CheckMenuKey()) {
            m_nStep = 0;
            m_nState = CSCENEPLAY_MENU;
            return;
        }
        if (CheckReplaySaveKeys()) return;
        if ((rankingMode == 0 || rankingMode == 1) && platform::InputSource().IsKeyHeld(platform::VK_F1 + 2)) EnterRanking(*this);
    }
    if (m_nStep == 0) {
        m_nStateFrames = 0;
        Service<IReplayIo>::Get().AutoSave();
        m_nStep = 1;
    }
    cInput& in = g_InputList.at(0);
    in.UpdateButtonTrigger(0);
    in.UpdateKeyRepeat();
    if (m_nStateFrames >= kStageEndFrames) {
        bool advance = autoAdvance != 0;
        if (!autoAdvance && (in.m_wButton & 1)) {
            if (m_bRankIn && (rankingMode == 2 || rankingMode == 3))
                EnterRanking(*this);
            else
                PlaySe(kSeDecide);
            advance = true;
        }
        if (advance) {
            // The frame still draws: the fade-out starts from it.
            g_SceneState.m_nNextSceneKind = AdvanceStage();
            m_nStateFrames = 0;
            m_nStep = 0;
            m_nState = CSCENEPLAY_FADEOUT;
        }
    }
    DrawPlainPass(*this);
    bool anyPos = false;
    for (int32_t p : m_vRankPos)
        if (p != -1) anyPos = true;
    if (!g_bSinglePlay && !autoAdvance && !m_bRankEntered && anyPos && (rankingMode == 0 || rankingMode == 1)) {
        const std::string& t = Text(31);
        g_Fonts[1].DrawString(&g_BackBuffer, 320 - 8 * SjisCharCount(t), 456, t);
    }
    if (g_Stage.m_bClearBanner) {
        m_nStateFrames += 4;
        if (m_nStateFrames < 100)
            DDBltSplit(&g_BackBuffer, 256, 192, 128, 32, 4, 100 - m_nStateFrames, Word(), 0, 64, 1, 0);
        else
            DDBlt(&g_BackBuffer, 256, 192, 128, 32, Word(), 0, 64, 1);
    } else {
        m_nStateFrames = kStageEndFrames;
    }
    if (m_nStateFrames >= kStageEndFrames && g_SceneState.g_bRankingOn && !autoAdvance)
        DrawStageResult(&g_BackBuffer, 336, 224, std::span<const int32_t>(m_vRankPos.data(), m_vRankPos.size()));
}

void cScenePlay::UpdateRetry() {
    if (CheckReplaySaveKeys()) return;
    if (m_nStep == 0) {
        g_MenuCursor.Cur().m_nY = 0;
        m_nStep = 1;
    }
    cInput& in = g_InputList.at(0);
    in.UpdateButtonTrigger(0);
    in.UpdateKeyRepeat();
    const int x = g_SystemData.MenuColumnCenterX(g_RetryPromptAnchor.x, 26, 2, 1);
    g_MenuCursor.MoveGrid(in.m_sDir, x, g_RetryPromptAnchor.y, 0, 16, 1, 2);
    DS_PlayCursorSE(in.m_sDir, 2, 0);
    if (in.m_wButton & 1) {
        PlaySe(kSeDecide);
        if (g_MenuCursor.Cur().m_nY == 0) {
            SetupStage(1, 1);
            m_nState = CSCENEPLAY_READY;
        } else {
            g_Progress.m_bMapReturn = 1;
            g_SceneState.m_nNextSceneKind = SCENE_WORLDMAP;
            m_nState = CSCENEPLAY_FADEOUT;
        }
        m_nStep = 0;
        return;
    }
    DrawPlainPass(*this);
    DrawMenuStrings(g_SystemData, x, g_RetryPromptAnchor.y, 26, 2, 1);
    DrawCursorSprite();
}

void cScenePlay::UpdateGameOver() {
    if (CheckMenuKey()) {
        m_nStep = 0;
        m_nState = CSCENEPLAY_MENU;
        return;
    }
    if (CheckReplaySaveKeys()) return;
    if (g_InputList.at(0).m_wButton & 1) {
        PlaySe(kSeDecide);
        g_SceneState.m_nNextSceneKind = SCENE_TITLE;
        m_nState = CSCENEPLAY_FADEOUT;
        return;
    }
    DrawPlainPass(*this);
    if (g_Stage.m_bGameOverBanner) DDBlt(&g_BackBuffer, 248, 224, 144, 32, Word(), 0, 96, 1);
}

void cScenePlay::ResolveMiss() {
    if (GameType() == GAMETYPE_REPLAY) {
        StepStageList(0, 0);
        SetupStage(1, 1);
        m_nState = CSCENEPLAY_READY;
        return;
    }
    Service<IReplayIo>::Get().AutoSave();
    if (!UseLife(g_Progress)) {
        m_nState = CSCENEPLAY_GAMEOVER;
        return;
    }
    if (g_Stage.m_bCarryIn)
        g_Progress.ClearFlaggedProgressEntries(
            std::span<const uint8_t>(g_SystemData.m_vecProgressClear.data(), g_SystemData.m_vecProgressClear.size()));
    g_Progress.RestoreStageStart(false, KindRestoresVars());
    if (GameKind() == 0 && g_SystemData.OptRetryPrompt) {
        m_nStep = 0;
        m_nState = CSCENEPLAY_RETRY;
        return;
    }
    SetupStage(1, 0);
    m_nState = CSCENEPLAY_READY;
}
