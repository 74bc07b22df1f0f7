#include "engine/item_commands.h"

#include "base/log.h"
#include "engine/command_results.h"
#include "engine/flow.h"
#include "engine/flow_control.h"
#include "engine/flow_runtime.h"
#include "engine/message_commands.h"
#include "engine/presentation_commands.h"
#include "engine/status_commands.h"
#include "engine/status_op.h"
#include "engine/target_commands.h"
#include "engine/warp.h"
#include "play/chara.h"
#include "play/chara_player.h"
#include "play/scene_play.h"
#include "records/ed_flow.h"

namespace {

enum ChangeFlowMode : int { CHANGE_ADD = 0, CHANGE_REPLACE, CHANGE_DELETE };

int ItemExecNone(cChara&, cEdFlowCmd&) { return 0; }
int ItemExecChangeFlow(cChara& c, cEdFlowCmd& cmd) {
    DoChangeFlow(c, cmd, 0);
    return 0;
}
// Nothing after a stage clear in the same item runs.
int ItemExecStageClear(cChara& c, cEdFlowCmd& cmd) {
    DoStageClear(c, cmd);
    return 1;
}
int ItemExecGameWait(cChara& c, cEdFlowCmd& cmd) {
    DoGameWait(c, cmd);
    return 0;
}
// The first message of an item opens with the sound and the start delay,
// every later one as a chained one.
int ItemExecMessage(cChara& c, cEdFlowCmd& cmd) {
    cScenePlay* scene = PlayScene();
    DoMessage(c, cmd, scene->m_bItemMessageShown);
    scene->m_bItemMessageShown = 1;
    return 0;
}
// Reports into the running pair: for an item, the item's own.
int ItemExecWarp(cChara& c, cEdFlowCmd& cmd) {
    const bool ok = DoWarp(c, cmd, 0);
    if (CmdParam(cmd, 0)) WriteCmdResult(ok ? 1 : 2);
    return 0;
}
int ItemExecSetTarget(cChara& c, cEdFlowCmd& cmd) {
    DoSetTarget(c, cmd);
    return 0;
}
int ItemExecStatusOp(cChara& c, cEdFlowCmd& cmd) {
    DoStatusOp(c, cmd, PlayScene()->m_lpCurFlowVars);
    return 0;
}
int ItemExecStatusOp2(cChara& c, cEdFlowCmd& cmd) {
    DoStatusOp2(c, cmd);
    return 0;
}
int ItemExecVanish(cChara& c, cEdFlowCmd& cmd) {
    DoVanish(c, cmd);
    return 0;
}
int ItemExecGetItem(cChara& c, cEdFlowCmd& cmd) {
    DoGetItem(c, cmd);
    return 0;
}
// The presentation workers.
template <void (*Worker)(cChara&, const cEdFlowCmd&)>
int ItemExecPresentation(cChara& c, cEdFlowCmd& cmd) {
    Worker(c, cmd);
    return 0;
}
int ItemExecRunCode(cChara& c, cEdFlowCmd& cmd) {
    DoRunCode(c, cmd);
    return 0;
}
// The record goes to the first player's arrange list.
int ItemExecArrange(cChara& c, cEdFlowCmd& cmd) {
    DoArrange(c, cmd);
    return 0;
}
// Repeats were expanded when the item was built.
int ItemExecLoop(cChara&, cEdFlowCmd&) { return 0; }

}  // namespace

ItemCmdFn ItemCmdExecTable[ITEM_CMD_KIND_COUNT] = {
    ItemExecNone,                                           // ICMD_NONE
    ItemExecChangeFlow,                                     // ICMD_CHANGE_FLOW
    ItemExecStageClear,                                     // ICMD_STAGE_CLEAR
    ItemExecGameWait,                                       // ICMD_GAME_WAIT
    ItemExecMessage,                                        // ICMD_MESSAGE
    ItemExecWarp,                                           // ICMD_WARP
    ItemExecSetTarget,                                      // ICMD_SET_TARGET
    ItemExecStatusOp,                                       // ICMD_STATUS_OP
    ItemExecStatusOp2,                                      // ICMD_STATUS_OP2
    ItemExecVanish,                                         // ICMD_VANISH
    ItemExecGetItem,                                        // ICMD_GET_ITEM
    ItemExecPresentation<DoChangeGraphic>,                  // ICMD_CHANGE_GRAPHIC
    ItemExecPresentation<DoChangeAnimeSet>,                 // ICMD_CHANGE_ANIME_SET
    ItemExecPresentation<DoRunAnime>,                       // ICMD_RUN_ANIME
    ItemExecPresentation<DoRunEffect>,                      // ICMD_RUN_EFFECT
    ItemExecPresentation<DoRunCharaEffect>,                 // ICMD_RUN_CHARA_EFFECT
    ItemExecPresentation<DoRunScreenEffect>,                // ICMD_RUN_SCREEN_EFFECT
    ItemExecPresentation<DoShowPicture>,                    // ICMD_SHOW_PICTURE
    ItemExecPresentation<DoScreenColor>,                    // ICMD_SCREEN_COLOR
    ItemExecPresentation<DoChangeBackground>,               // ICMD_CHANGE_BACKGROUND
    ItemExecPresentation<DoPlaySe>,                         // ICMD_PLAY_SE
    ItemExecPresentation<DoPlayBgm>,                        // ICMD_PLAY_BGM
    ItemExecRunCode,                                        // ICMD_RUN_CODE
    ItemExecArrange,                                        // ICMD_ARRANGE
    ItemExecLoop,                                           // ICMD_LOOP
};

int RunItemCommand(cChara& chara, cEdFlowCmd& cmd) {
    const int kind = static_cast<uint8_t>(cmd.m_nKind);
    if (kind >= ITEM_CMD_KIND_COUNT) {
        DebugLogf("RunItemCommand: item command kind %d is not known", cmd.m_nKind);
        return 0;
    }
    return ItemCmdExecTable[kind](chara, cmd);
}

int DoChangeFlow(cChara& chara, const cEdFlowCmd& cmd, int forced) {
    cScenePlay* scene = PlayScene();
    // The first player changes its flows only at its next update.
    if (!forced && !g_vPlayers.empty() && scene && scene->m_lpCurChara == &g_vPlayers.at(0)) {
        auto* player = dynamic_cast<cCharaPlayer*>(&chara);
        (player ? *player : g_vPlayers.at(0)).m_vecPendingFlowChange.push_back(cmd);
        return 0;
    }
    const int id = static_cast<int8_t>(CmdParam(cmd, 1) & 0xFF);
    switch (CmdParam(cmd, 0)) {
        case CHANGE_ADD: chara.InsertFlows(cmd.m_vecFlow, 1, -1); break;
        case CHANGE_REPLACE: {
            // The new flows take the place of the first one removed (the
            // end when none was).
            const int at = chara.RemoveFlowsById(id);
            chara.InsertFlows(cmd.m_vecFlow, 1, at);
            break;
        }
        case CHANGE_DELETE: chara.RemoveFlowsById(id); break;
        default: break;
    }
    return 0;
}
