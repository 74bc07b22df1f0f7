#include "engine/flow_control.h"

#include <algorithm>
#include <string>

#include "base/error_box.h"
#include "base/files.h"
#include "base/scene_state.h"
#include "engine/command_results.h"
#include "engine/conditions.h"
#include "engine/flow.h"
#include "engine/flow_runtime.h"
#include "frontend/data/game_progress.h"
#include "frontend/data/world_map.h"
#include "platform/cp932.h"
#include "play/chara.h"
#include "play/chara_player.h"
#include "play/scene_play.h"
#include "records/cond.h"
#include "records/ed_flow.h"
#include "records/game_type.h"

namespace {

// One operation on one flow of `owner`; own: the owner runs the command.
void ApplyToFlow(int op, cFlow& flow, cChara& owner, bool own) {
    switch (op) {
        case FLOWOP_START:
            StopFlow(flow, owner);
            owner.RemoveFlowAnimeRuns(flow.m_nKey);
            // A stage-start flow runs at once and may move or remove itself.
            if (cFlow* now = StartFlow(flow, &owner)) now->m_bAbort = 1;
            break;
        case FLOWOP_STOP:
            StopFlow(flow, owner);
            owner.RemoveFlowAnimeRuns(flow.m_nKey);
            flow.m_bAbort = 1;
            break;
        case FLOWOP_PAUSE:
            PauseFlow(flow);
            owner.PauseFlowAnimeRuns(flow.m_nKey);
            flow.m_bAbort = 1;
            break;
        case FLOWOP_RESUME:
            ResumeFlow(flow);
            owner.ResumeFlowAnimeRuns(flow.m_nKey);
            break;
        case FLOWOP_DELETE:
            // Another chara's flows went before this is reached.
            if (own) {
                owner.m_bRemovePending = 1;
                flow.m_bRemove = 1;
                flow.m_bAbort = 1;
            }
            break;
        case FLOWOP_HALT:
            StopFlowForever(flow, owner);
            owner.RemoveFlowAnimeRuns(flow.m_nKey);
            flow.m_bAbort = 1;
            break;
        default: break;
    }
}

bool HasId(const cFlow& flow, int id) { return id != 0 && flow.m_lpDef && flow.m_lpDef->m_nId == id; }

}  // namespace

void ExecFlowControl(cChara& chara, cFlowCmd& inst) {
    if (!inst.m_lpDef) return;
    const cEdFlowCmd& cmd = *inst.m_lpDef;
    cScenePlay* scene = PlayScene();
    const bool report = CmdParam(cmd, 4) != 0;
    // The guard.
    if (const cCondList* guard = cmd.m_spCondList.get()) {
        if (!EvalCondList(guard->m_vecCond, guard->m_nCondMode, &chara, scene->m_lpCurFlowVars)) {
            if (report) WriteCmdResult(2);
            return;
        }
    }
    // The subject; an empty slot does nothing in any scope.
    const int p3 = CmdParam(cmd, 3);
    cChara* subject = &chara;
    if (p3 >= 1 && p3 <= kTargetSlots) {
        subject = chara.TargetSlot(cChara::SubjectToSlot(p3));
        if (!subject) {
            if (report) WriteCmdResult(2);
            return;
        }
    }
    // The flows in scope. A started stage-start flow runs its commands
    // inside StartFlow and may change the flow list: walk it by index.
    const int op = CmdParam(cmd, 0);
    const int id = CmdParam(cmd, 2);
    switch (CmdParam(cmd, 1)) {
        case FLOWSCOPE_THIS:
            if (cFlow* current = scene->m_lpCurFlow) ApplyToFlow(op, *current, chara, true);
            break;
        case FLOWSCOPE_OTHERS: {
            const cFlow* current = scene->m_lpCurFlow;
            for (size_t i = 0; i < chara.m_vFlows.size(); ++i)
                if (&chara.m_vFlows[i] != current) ApplyToFlow(op, chara.m_vFlows[i], chara, true);
            break;
        }
        case FLOWSCOPE_BY_ID: {
            const bool own = subject == &chara;
            if (op == FLOWOP_DELETE && !own) {
                if (id != 0) subject->RemoveFlowsById(id);
                break;
            }
            for (size_t i = 0; i < subject->m_vFlows.size(); ++i)
                if (HasId(subject->m_vFlows[i], id)) ApplyToFlow(op, subject->m_vFlows[i], *subject, own);
            break;
        }
        default: break;
    }
    // The command ran.
    if (report) WriteCmdResult(1);
}

int DoStageClear(cChara&, const cEdFlowCmd& cmd) {
    cGameProgress& pr = g_Progress;
    // The next stage.
    switch (CmdParam(cmd, 0)) {
        case 0:
            pr.m_nNextStage = pr.m_nStageNumber + 1;
            pr.m_strNextFile.clear();
            break;
        case 1:
            pr.m_nNextStage = CmdParam(cmd, 1);
            pr.m_strNextFile.clear();
            break;
        case 2: {
            // The stage file's name without its extension, ending in ".";
            // the command keeps the rewritten text.
            std::string& text = const_cast<cEdFlowCmd&>(cmd).m_strCode;
            pr.m_nNextStage = pr.m_nStageNumber;
            if (text.empty()) {
                // The box names the (empty) file.
                const std::string box = SJ("ステージファイル ") + SJ(" が不正です。\nステージファイルとして認識できません。");
                ErrorBoxf("%s", box.c_str());
                pr.m_strNextFile.clear();
                break;
            }
            RemoveFileExtStr(text);
            text += '.';
            pr.m_strNextFile = text;
            break;
        }
        case 3:
            pr.m_nNextStage = 0;
            pr.m_strNextFile.clear();
            break;
        default: break;
    }
    // A story game keeps the save request and the map position.
    if (IsStoryGame(g_SceneState.g_nGameType)) {
        PlayScene()->m_nClearMode = CmdParam(cmd, 9);
        if (CmdParam(cmd, 2)) {
            pr.m_nMapX = std::max(0, std::min(CmdParam(cmd, 3), g_WorldMap.m_nWidth - 1));
            pr.m_nMapY = std::max(0, std::min(CmdParam(cmd, 4), g_WorldMap.m_nHeight - 1));
            pr.m_nMapFacing = 0;
        }
    }
    // The start position of the next stage.
    if (CmdParam(cmd, 5)) {
        pr.m_bNextStartPos = 1;
        pr.m_nNextStartX = CmdParam(cmd, 6);
        pr.m_nNextStartY = CmdParam(cmd, 7);
        const int facing = CmdParam(cmd, 8);
        pr.m_nNextStartDir = facing == 2 && !g_vPlayers.empty() ? g_vPlayers.at(0).m_nFacing : facing;
    } else {
        pr.m_bNextStartPos = 0;
    }
    // Whether the clear counts as a clear of the stage.
    pr.m_bCountsAsClear = CmdParam(cmd, 10) != 0;
    return 1;
}

void ExecStageClear(cChara& chara, cFlowCmd& inst) {
    if (inst.m_lpDef) PlayScene()->m_nStageEndRequest = DoStageClear(chara, *inst.m_lpDef);
}
