#include "play/ranking_entry.h"

#include <span>
#include <string>

#include "base/app_state.h"
#include "base/error_box.h"
#include "base/log.h"
#include "base/main_thread.h"
#include "base/quit.h"
#include "base/scene_state.h"
#include "media/frame_loop.h"
#include "play/frame_input.h"
#include "base/thread.h"
#include "frontend/data/game_progress.h"
#include "frontend/data/option_data.h"
#include "frontend/data/ranking.h"
#include "play/sound_requests.h"
#include "media/gfx/dd_state.h"
#include "media/input/input_list.h"
#include "platform/cp932.h"
#include "play/draw_stage.h"
#include "play/scene_play.h"
#include "records/system_data.h"

namespace {

constexpr int kScreenX = 184, kScreenY = 64;

std::span<const uint8_t> EnabledCategories() {
    const cCheckedVector<uint8_t>& kinds = g_SystemData.m_vecRankingSets.at(g_SceneState.g_nGameKind).m_vecKinds;
    return std::span<const uint8_t>(kinds.data(), kinds.size());
}

unsigned RankingThreadProc(void* arg) {
    return static_cast<unsigned>(ShowRankingLoop(*static_cast<cScenePlay*>(arg)));
}

// The tables stay in memory when the file cannot be written; the player is
// told which file it was.
void SaveRankingFile() {
    const int mode = g_SceneState.g_nGameKind;
    const cGameProgress& p = g_Progress;
    std::string name;
    if (!MakeRankingFileName(name, mode, p.m_strStageBase, p.m_bVariation, p.m_nVariationVar, p.m_nVariationValue))
        return;  // no ranking file for this kind of game
    if (SaveRanking(g_Ranking, mode, p.m_strStageBase, p.m_bVariation, p.m_nVariationVar, p.m_nVariationValue)) return;
    ReportLogf("Ranking save failed: %s", name.c_str());
    ErrorBoxf(SJ("ランキングファイル %s の保存に失敗しました！").c_str(), name.c_str());
}

}  // namespace

void EnterRanking(cScenePlay& scene) {
    if (!g_SceneState.g_bRankingOn || !scene.m_bRankIn || scene.m_bRankEntered) return;
    const int mode = g_OptionData.m_nRankingMode;
    if (mode == 1 || mode == 3) {
        scene.m_strRankName = g_OptionData.m_strName;
    } else {
        // The main thread's name entry edits the play scene's name.
        scene.m_strRankName = g_Progress.m_strPlayerName;
        SendMainWindowMessageAndWait(UM_NAMEENTRY, 0, g_nNameEntryDone);
        g_Progress.m_strPlayerName = scene.m_strRankName;
    }
    PlaySe(17);
    for (int i = 0; i < kRankingTables; ++i)
        if (scene.m_vRankPos.at(i) != -1) g_Ranking.m_vecTable.at(i).Insert(scene.m_strRankName, scene.m_vRankValue.at(i));
    SaveRankingFile();
    scene.m_bRankEntered = 1;
    // The screen draws the stage from its own thread's generator.
    const int32_t nested = scene.m_bInNestedLoop;
    scene.m_bInNestedLoop = 1;
    RunNestedLoop(thRanking, &RankingThreadProc, &scene, {});
    scene.m_bInNestedLoop = nested;
}

int ShowRankingLoop(cScenePlay& scene) {
    g_Progress.StepRankCategory(EnabledCategories(), 0);
    for (;;) {
        if (ThreadQuitRequested() || g_bQuit) return 1;
        if (!g_bActive) {
            if (!ThreadSleep(1)) return 1;
            continue;
        }
        WaitFrame();
        if (!CheckLostSurfaces()) SetQuitAndClose();
        UpdateFrameInput();
        cInput& input = g_InputList.at(0);
        input.UpdateButtonTrigger(0);
        input.UpdateKeyRepeat();
        if (input.m_wButton & 1) {
            PlaySe(1);
            return 1;
        }
        if ((input.m_wButton & 8) && g_SystemData.CountEnabled(g_SceneState.g_nGameKind) >= 2) {
            PlaySe(6);
            g_Progress.StepRankCategory(EnabledCategories(), 1);
        }
        DrawStage(scene, 0, 1, 0, 1);
        const int c = g_Progress.m_nRankCategory;
        g_Ranking.Draw(&g_BackBuffer, kScreenX, kScreenY, c, scene.m_vRankPos.at(c));
        PresentFrame();
    }
}
