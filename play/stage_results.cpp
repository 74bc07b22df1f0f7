// A cleared stage: its results added to the game, the extra lives, the
// ranking check and the choice of what comes next.
#include "play/stage_results.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "base/app_state.h"
#include "base/files.h"
#include "base/log.h"
#include "base/quit.h"
#include "base/scene_state.h"
#include "records/stage_loader.h"
#include "frontend/data/carry_over.h"
#include "frontend/data/game_progress.h"
#include "frontend/data/option_data.h"
#include "frontend/data/ranking.h"
#include "frontend/data/world_map.h"
#include "frontend/replay/replay.h"
#include "play/chara_player.h"
#include "play/message_window.h"
#include "play/scene_play.h"
#include "play/sound_requests.h"
#include "play/stage_setup.h"
#include "records/game_type.h"
#include "records/stage.h"
#include "records/system_data.h"

std::string g_strStageListName;
int g_bLoadReplayRequest = 0;

namespace {

constexpr int kSeClear = 15;
constexpr int kSeExtraLife = 16;
constexpr int kMaxLives = 99;
constexpr int kRankKinds = 5;

// The totals are plain sums; only a sum beyond the int32 range stops at its
// limit.
int32_t AddClamped(int32_t a, int32_t b) {
    return static_cast<int32_t>(std::clamp<int64_t>(static_cast<int64_t>(a) + b, INT32_MIN, INT32_MAX));
}

// Loads the file of the progress's next stage; 1 when it was found and read.
int LoadNextStage() {
    std::string file;
    if (!MakeStageFileName(file, g_Progress.m_nNextStage, 0)) return 0;
    if (!LoadStageWithMessagePump(file, false, &g_StageStart, &g_HeroDef)) return 0;
    g_Progress.m_nStageNumber = g_Progress.m_nNextStage;
    return 1;
}

}  // namespace

void cScenePlay::ClearStage() {
    PlaySe(kSeClear);
    if (g_Progress.m_bCountsAsClear) g_Replay.m_bCleared = 1;
    ShowStageResult();
    m_bRankEntered = 0;
    m_bRankIn = 0;
    m_vRankPos.assign(kRankKinds, -1);
    m_vRankValue.resize(kRankKinds, 0);
    if (!(g_bFreeStage || (g_SceneState.g_bRankingOn && IsLastStage(g_Progress.m_nNextStage)))) return;
    m_vRankValue[0] = g_Progress.m_nScore;
    m_vRankValue[1] = g_Progress.m_nTotal1;
    m_vRankValue[2] = g_Progress.m_nTotal2;
    m_vRankValue[3] = g_Progress.m_nTotal3;
    m_vRankValue[4] = g_Progress.m_nTotal4;
    if (g_bEditorTest) return;
    const long long kind = g_SceneState.g_nGameKind;
    if (kind < 0 || kind >= static_cast<long long>(g_SystemData.m_vecRankingSets.size())) return;
    const cSysMenuFlags& set = g_SystemData.m_vecRankingSets[kind];
    for (int i = 0; i < kRankKinds; ++i) {
        const bool systemOn = i < static_cast<int>(set.m_vecKinds.size()) && set.m_vecKinds[i] != 0;
        const bool stageOn = i < static_cast<int>(g_Stage.m_vecRankingSwitch.size()) && g_Stage.m_vecRankingSwitch[i];
        if (!systemOn || !stageOn) continue;
        m_vRankPos[i] = g_Ranking.m_vecTable.at(i).FindInsertPos(m_vRankValue[i]);
        if (m_vRankPos[i] != -1) m_bRankIn = 1;
    }
}

void cScenePlay::ShowStageResult() {
    const int32_t oldScore = g_Progress.m_nScore;
    g_Progress.m_nScore = AddClamped(g_Progress.m_nScore, g_Progress.m_nStageScore);
    if (!m_bNoTimeLimit) g_Progress.m_nTotal1 = AddClamped(g_Progress.m_nTotal1, m_nTimeLeft);
    g_Progress.m_nTotal2 = AddClamped(g_Progress.m_nTotal2, m_nPlayTime);
    if (!g_vPlayers.empty()) {
        g_Progress.m_nTotal3 = AddClamped(g_Progress.m_nTotal3, g_vPlayers[0].m_nHP);
        g_Progress.m_nTotal4 = AddClamped(g_Progress.m_nTotal4, g_vPlayers[0].m_nSP);
    }
    const int32_t step = g_SystemData.OptExtraLifeScore;
    if (g_Progress.m_nLives == kUnlimitedLives || !g_SystemData.OptExtraLife || step == 0) return;
    // At most as many windows as lives can be held.
    const int gained = std::min(g_Progress.m_nScore / step - oldScore / step, kMaxLives);
    for (int i = 0; i < gained; ++i) {
        g_Progress.m_nLives = std::min(g_Progress.m_nLives + 1, kMaxLives);
        PlaySe(kSeExtraLife);
        const cMessageWindow* window = ShowExtraLifeWindow(*this);
        InitDisplayRequest(4, 0, 30, 0, nullptr);
        RunPauseLoop();
        RemoveMessageWindow(m_lstMessages, window);
        if (m_bClosing) {
            PostCloseRequest();
            break;
        }
    }
}

int cScenePlay::AdvanceStage() {
    if (g_Stage.m_bCarryOut) {
        for (size_t i = 0; i < g_vPlayers.size(); ++i) {
            const cCharaPlayer& p = g_vPlayers[i];
            StoreCarryOver(g_Progress, static_cast<int>(i), p.m_Def, p.m_nHP, p.m_nSP, p.m_nCharaEffect,
                           p.m_Effect.m_bRepeat, static_cast<int8_t>(p.m_Effect.m_nMode), m_nTimeLeft,
                           g_Progress.m_nLives, g_Progress.m_bBgmOn);
        }
    }
    switch (g_SceneState.g_nGameType) {
        case GAMETYPE_NEWGAME:
        case GAMETYPE_CONTINUE: {
            const int32_t stageNumber = g_Progress.m_nStageNumber;
            if (g_Progress.m_nNextStage != 0 && LoadNextStage()) {
                ClearReplayBuffers();
                if (m_nClearMode && g_Progress.m_bSlotSave) g_Progress.SaveStorySlot(g_Progress.m_nSlot);
                return SCENE_PLAY;
            }
            const long long series = g_Progress.m_nSeriesIndex;
            if (series >= 0 && series < static_cast<long long>(g_Progress.m_vecOpened.size()))
                g_Progress.m_vecOpened[series] = 1;
            g_Progress.UpdateStageRecord(g_Progress.m_strStageBase, g_Progress.m_strStageKey, g_Progress.m_bVariation,
                                         g_Progress.m_nVariationVar, g_Progress.m_nVariationValue,
                                         g_Progress.m_nScore);
            g_Progress.m_nStageNumber = stageNumber;
            ClearReplayBuffers();
            if (g_Progress.m_nClearAction == 2) return SCENE_TITLE;  // its cursor on the game type
            if (g_Progress.m_nClearAction == 1) g_Progress.BeginNextStage(g_WorldMap);
            return SCENE_WORLDMAP;
        }
        case GAMETYPE_CHALLENGE: {
            if (g_Progress.m_nNextStage != 0 && LoadNextStage()) {
                ClearReplayBuffers();
                return SCENE_PLAY;
            }
            g_Progress.MarkChallengeClear(g_SystemData.m_nStageCount);
            g_Progress.SaveChallenge();
            ClearReplayBuffers();
            return SCENE_STAGESELECT;
        }
        case GAMETYPE_FREE:
            if (g_Progress.m_nNextStage == 0 || g_bFreeStage) {
                g_Progress.m_bNextStartPos = 0;
                return SCENE_PLAY;
            }
            if (LoadNextStage()) {
                ClearReplayBuffers();
                return SCENE_PLAY;
            }
            return SCENE_TITLE;
        case GAMETYPE_REPLAY:
            StepStageList(0, 0);
            return SCENE_PLAY;
        default: return SCENE_STAGESELECT;
    }
}

void StepStageList(int useStep, int step) {
    int d = step;
    if (!useStep) d = (g_OptionData.m_nReplayOrder == 0 || g_OptionData.m_nReplayOrder == 1) ? 1 : 0;
    const int count = static_cast<int>(g_ReplayFiles.size());
    if (g_SystemData.OptNoStageList || count == 0 || d == 0) {
        g_Progress.RestoreStageStart(true, false);
        return;
    }
    int index = g_ReplayData.m_nListPos;
    std::string path;
    bool found = false;
    for (int tries = 0; tries < count; ++tries) {
        index += d;
        if (index >= count) index = 0;
        if (index < 0) index = count - 1;
        path = g_ReplayFiles.at(index).m_strPath;
        std::string absolute = path;
        ToAbsolutePathStr(absolute);
        if (FileExists(absolute)) {
            g_strStageListName = g_ReplayFiles.at(index).m_strFileName;
            found = true;
            break;
        }
    }
    g_ReplayData.m_nListPos = index;
    g_Stage.m_strPath = path;
    g_bLoadReplayRequest = 1;
    if (!found) {
        ReportLogf("StepStageList: %s", path.c_str());
        SetQuitAndClose();
    }
}

int MakeStageFileName(std::string& out, int stageNumber, int keepName) {
    out.clear();
    if (g_Progress.m_nNextStage == 0) return 0;
    const bool named = !g_Progress.m_strNextFile.empty();
    std::string base = named ? g_Progress.m_strNextFile : g_Progress.m_strStageBase;
    if (!base.empty()) base.pop_back();
    out = named ? Format("%s.%s", base.c_str(), "stg4") : Format("%s-%d.%s", base.c_str(), stageNumber, "stg4");
    std::string found;
    if (FindLatestNumberedFileStr(found, out, g_ExtTable.at(EXT_STG4).c_str(), 1000)) {
        out = found;
        return 1;
    }
    if (!keepName) out.clear();
    return 0;
}

int IsLastStage(int stageNumber) {
    std::string name;
    return MakeStageFileName(name, stageNumber, 0) ? 0 : 1;
}
