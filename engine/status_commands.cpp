#include "engine/status_commands.h"

#include "engine/flow.h"
#include "engine/formula.h"
#include "engine/status_op.h"
#include "play/chara.h"
#include "play/chara_player.h"
#include "play/scene_play.h"
#include "records/ed_flow.h"

void ExecStatusOp(cChara& chara, cFlowCmd& inst) {
    if (!inst.m_lpDef) return;
    cScenePlay* scene = PlayScene();
    DoStatusOp(chara, *inst.m_lpDef, scene ? scene->m_lpCurFlowVars : nullptr);
}

int DoRunCode(cChara& chara, const cEdFlowCmd& cmd) { return RunCode(cmd.m_strCode, chara); }

void ExecRunCode(cChara& chara, cFlowCmd& inst) {
    if (inst.m_lpDef) DoRunCode(chara, *inst.m_lpDef);
}

void ExecArrange(cChara& chara, cFlowCmd& inst) {
    if (inst.m_lpDef) DoArrange(chara, *inst.m_lpDef);
}

void DoArrange(cChara&, const cEdFlowCmd& cmd) {
    cArrange rec;
    int32_t* fields[5] = {&rec.nKind, &rec.nParam, &rec.nOp, &rec.nSource, &rec.nValue};
    for (int i = 0; i < 5; ++i) {
        const auto& p = cmd.m_vecParam;
        if (i < static_cast<int>(p.size())) {
            *fields[i] = p[i];
        } else {
            ReportBadIndex("V", i, static_cast<long long>(p.size()), sizeof(int32_t));
            *fields[i] = p.empty() ? 0 : p[0];
        }
    }
    if (cmd.m_nFamily == cEdFlowCmd::FAMILY_ITEM) {
        g_vPlayers.at(0).m_lstArrange.push_back(rec);
        return;
    }
    cScenePlay* scene = PlayScene();
    if (scene && scene->m_lpCurFlow) scene->m_lpCurFlow->m_lstArrange.push_back(rec);
}
