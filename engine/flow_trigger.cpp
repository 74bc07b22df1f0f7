#include "engine/flow_trigger.h"

#include <cstdint>

#include "engine/conditions.h"
#include "engine/flow.h"
#include "engine/flow_runtime.h"
#include "engine/key_conds.h"
#include "media/input/input_list.h"
#include "platform/service.h"
#include "play/chara.h"
#include "play/chara_player.h"
#include "play/play_trace.h"
#include "play/scene_play.h"
#include "records/cmd_kinds.h"
#include "records/ed_flow.h"
#include "records/system_data.h"

namespace {

// The input record whose direction a flow of the chara starts with: the
// player's own record, record 0 for a computer chara.
const cInput& StartInputOf(const cChara& chara) {
    if (const auto* player = dynamic_cast<const cCharaPlayer*>(&chara)) return g_InputList.at(player->m_nPlayer);
    return g_InputList.at(0);
}

bool CondsHold(cChara& chara, cFlow& flow) { return CheckFlowConds(flow, chara) && CheckFlowKeyConds(chara, flow); }

}  // namespace

void FireFlowTrigger(cChara& chara, int kind) { FireFlowTriggerEx(chara, kind, nullptr, 0); }

void FireFlowTriggerEx(cChara& chara, int kind, cChara* partner, int id) {
    if (IPlayTrace* trace = Service<IPlayTrace>::Find()) trace->FlowTriggered(chara, kind, partner, id);
    cScenePlay* scene = PlayScene();
    if (!scene) return;
    const int8_t idFilter = static_cast<int8_t>(id);
    const bool c525 = g_SystemData.m_bCompat525 != 0;
    const bool c744 = g_SystemData.m_bCompat744 != 0;
    const bool c861 = g_SystemData.m_bCompat861 != 0;
    // Flows may be added or removed by a stage-start flow that runs at once:
    // the vector is indexed afresh each turn.
    for (size_t i = 0; i < chara.m_vFlows.size(); ++i) {
        cFlow& flow = chara.m_vFlows[i];
        scene->m_lpCurChara = &chara;
        // The flow's variables are the current ones while it is looked at.
        scene->m_lpCurFlowVars = flow.m_anVars;
        const cEdFlow* def = flow.m_lpDef;
        // Only flows of this trigger.
        if (!def || def->m_nTrigger != kind) continue;
        if (c744 && !c525) {
            // Older data looks at a flow once a frame, whatever comes of it.
            if (flow.m_bFiredThisFrame) continue;
            flow.m_bFiredThisFrame = 1;
        }
        // A flow already running, paused, halted or started this frame is not started.
        if (flow.m_bRunning || flow.m_bPaused || flow.m_bHalted || flow.m_bStartedThisFrame) continue;
        // The earlier always-flow of a group wins.
        const int g = def->m_nFlowGroup;
        if (kind == TRG_ALWAYS && g != 0 && (chara.m_vGroupRunning.at(g) || chara.m_vGroupStarted.at(g))) continue;
        // An ID given picks the flows of that ID.
        if (idFilter > 0 && def->m_nId != idFilter) continue;
        // A flow is looked at once a frame.
        if (!c744 && !c525) {
            if (flow.m_bFiredThisFrame) continue;
            if (c861) flow.m_bFiredThisFrame = 1;
        }
        // The conditions, with the partner bound to its slot while they are checked.
        if (def->m_bBindPartner && partner) {
            const int slot = def->m_nPartnerSlot;
            cChara* const kept = chara.TargetSlot(slot);
            chara.SetTargetSlot(slot, partner, 1);
            if (!CondsHold(chara, flow)) {
                // An empty slot is emptied again.
                chara.SetTargetSlot(slot, kept, 1);
                continue;
            }
        } else if (!CondsHold(chara, flow)) {
            continue;
        }
        // Marked as looked at, the flow starts with the input's direction.
        if (!c861) flow.m_bFiredThisFrame = 1;
        flow.m_nStartDir = GetInputDirection(StartInputOf(chara));
        StartFlow(flow, &chara);
    }
    scene->m_lpCurChara = nullptr;
    scene->m_lpCurFlow = nullptr;
    scene->m_lpCurFlowVars = nullptr;
    scene->m_lpCurFlowCmd = nullptr;
}

void ResetFlowOnceFlags(cChara& chara) {
    for (cFlow& flow : chara.m_vFlows) {
        flow.m_bFiredThisFrame = 0;
        flow.m_bStartedThisFrame = 0;
    }
    for (uint8_t& s : chara.m_vGroupStarted) s = 0;
}
