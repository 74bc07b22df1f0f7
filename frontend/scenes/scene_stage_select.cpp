#include "frontend/scenes/scene_stage_select.h"

#include <algorithm>

#include "base/error_box.h"
#include "base/files.h"
#include "base/log.h"
#include "base/scene_state.h"
#include "records/stage_loader.h"
#include "frontend/data/game_progress.h"
#include "frontend/data/number_format.h"
#include "frontend/data/ranking.h"
#include "frontend/frontend_services.h"
#include "media/input/menu_cursor.h"
#include "media/gfx/dd_blit.h"
#include "media/input/input_list.h"
#include "media/sound/ds_sound.h"
#include "media/text/font.h"
#include "platform/cp932.h"
#include "play/stage_setup.h"
#include "records/stage.h"
#include "records/system_data.h"

namespace {

constexpr int kSlotAccessory = 50, kSlotWindow = 46;
constexpr int kChallenge = 1;  // the challenge's game kind

bool ChallengeRankingOn() { return g_SystemData.m_vecRankingSets.at(kChallenge).m_bEnabled != 0; }

}  // namespace

cSceneStageSelect::cSceneStageSelect()
    : cSceneMenu(SCENE_STAGESELECT, 2, kMenuButtons4, {kSlotAccessory, kSlotWindow}) {
    SetHandlers<cSceneStageSelect>(
        {&cSceneStageSelect::FadeIn, &cSceneStageSelect::UpdateList, &cSceneStageSelect::FadeOut});
}

std::string cSceneStageSelect::StageName(int n) {
    return Format("%s%02d-1.%s", g_PathTable.at(PATH_STG4_C).c_str(), n, g_ExtTable.at(EXT_STG4).c_str());
}

void cSceneStageSelect::UpdateCounts() {
    m_nOffered = g_SystemData.m_bAllStages ? g_SystemData.m_nStageCount : g_Progress.m_nHighestStage;
    m_nListRows = std::min(m_nOffered - m_nListTop, kMaxRows);
}

void cSceneStageSelect::PrepareStage(int n) {
    g_Progress.ParseStageVariation(StageName(n), 0, 0, 0);
    if (g_SceneState.g_bRankingOn)
        LoadRanking(g_Ranking, g_SceneState.g_nGameKind, g_Progress.m_strStageBase, g_Progress.m_bVariation,
                    g_Progress.m_nVariationVar, g_Progress.m_nVariationValue);
}

void cSceneStageSelect::Init() {
    BeginInit();
    g_MenuCursor.Cur().m_nY = g_SceneState.m_nSelectRow;
    m_nListTop = g_SceneState.m_nSelectTop;
    PrepareStage(g_MenuCursor.Cur().m_nY + 1);
    BuildScreenPage();
    m_nStep = 0;
}

void cSceneStageSelect::DrawPage() {
    DDSURFACEDATA* page = BeginTitledPage(2);
    if (!page) return;
    Font& large = g_Fonts[2];
    Font& normal = g_Fonts[1];

    const cGameProgress& p = g_Progress;
    if (g_SystemData.m_bSelectShowTotal && p.m_nBestTotal > 0) {
        const std::string& label = g_SystemData.m_vecTexts.at(4);
        const int chars = SjisCharCount(label) + CountDigits(p.m_nBestTotal);
        normal.DrawStringF(page, 320 - 16 * chars / 2, 88, "%s%d", label.c_str(), p.m_nBestTotal);
    }

    UpdateCounts();
    const std::string& rowLabel = g_SystemData.m_vecTexts.at(0);
    const std::string& bestLabel = g_SystemData.m_vecTexts.at(3);
    const int labelChars = SjisCharCount(rowLabel);
    const int bestX = 32 * (labelChars + 6);
    for (int f = 0; f < m_nListRows; ++f) {
        const int y = kListY + kPitch * f;
        const int s = m_nListTop + f;
        large.DrawStringF(page, 64, y, "%s%d", rowLabel.c_str(), s + 1);
        // Rows past the progress's stage flags show no record.
        const bool known = s >= 0 && s < static_cast<int>(p.m_vecStageFlag.size());
        if (known && p.m_vecStageFlag.at(s).m_bCleared)
            DDBlt(page, 32 * (labelChars + 4), y, 32, 32, &SurfaceTable[kSlotAccessory], 96, 0, 1);
        if (!g_SystemData.m_bSelectShowHighScore) continue;
        if (f == 0 && !p.m_bShowRanking) {
            const int headingChars = SjisCharCount(bestLabel);
            const int hx = bestX + 32 * headingChars > 640 ? 32 * (20 - headingChars) : bestX;
            large.DrawString(page, hx, y - 32, bestLabel);
        }
        large.DrawStringF(page, bestX, y, "%d", known ? p.m_vecStageFlag.at(s).m_nBest : 0);
    }
    if (ChallengeRankingOn() && p.m_bShowRanking) g_Ranking.Draw(page, kPanelX, kPanelY, p.m_nRankCategory, -1);
}

void cSceneStageSelect::UpdateList() {
    cInput& in = g_InputList.at(0);
    UpdateCounts();
    g_MenuCursor.MoveList(in.m_sDir, 1, m_nListTop, kListY, kPitch, kCursorX, m_nListRows, m_nOffered, 1, 1);
    DS_PlayCursorSE(in.m_sDir, 3, 0);
    const int row = g_MenuCursor.Cur().m_nY;
    if (in.m_sDir) {
        PrepareStage(row + 1);
        DrawPage();
    }
    if (in.m_wButton & kButtonDecide) {
        StartStage(row);
        return;
    }
    if (in.m_wButton & kButtonCancel) {
        PlaySe(2);
        Leave(SCENE_TITLE);
        return;
    }
    cGameProgress& p = g_Progress;
    if (in.m_wButton & 4) {
        if (ChallengeRankingOn()) {
            PlaySe(6);
            p.m_bShowRanking = p.m_bShowRanking ? 0 : 1;
            DrawPage();
        } else {
            p.m_bShowRanking = 0;
        }
    }
    if ((in.m_wButton & 8) && ChallengeRankingOn()) {
        if (g_SystemData.CountEnabled(g_SceneState.g_nGameKind) >= 2) {
            PlaySe(6);
            const cCheckedVector<uint8_t>& kinds =
                g_SystemData.m_vecRankingSets.at(g_SceneState.g_nGameKind).m_vecKinds;
            p.StepRankCategory(std::span<const uint8_t>(kinds.data(), kinds.size()), 1);
        }
        DrawPage();
    }
    ShowScreenPage();
    const MenuCursorPos& c = g_MenuCursor.Cur();
    DDBlt(&g_BackBuffer, c.m_nPixelX, c.m_nPixelY, 32, 32, &SurfaceTable[kSlotAccessory], 0, 0, 1);
}

void cSceneStageSelect::StartStage(int row) {
    const std::string name = StageName(row + 1);
    if (!LoadStageWithMessagePump(name, true, &g_StageStart, &g_HeroDef)) {
        PlaySe(3);
        ErrorBoxf(SJ("ステージファイル %s が読み込めません！").c_str(), name.c_str());
        return;
    }
    PlaySe(1);
    cGameProgress& p = g_Progress;
    p.ParseStageVariation(g_Stage.m_strPath, 0, 0, 0);
    p.m_nStageNumber = 1;
    p.m_nSeriesIndex = row + 1;
    if (g_SystemData.m_vecInfiniteLives.at(kChallenge)) {
        p.m_nStartLives = p.m_nLives = kUnlimitedLives;
    } else {
        p.m_nStartLives = g_SystemData.m_vecStartLives.at(kChallenge);
        p.m_nLives = p.m_nStartLives - 1;
    }
    p.m_bNumbered = 1;
    g_SceneState.m_nSelectRow = row;
    g_SceneState.m_nSelectTop = m_nListTop;
    Leave(SCENE_PLAY);
}
