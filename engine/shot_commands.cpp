#include "engine/shot_commands.h"

#include <limits>

#include "engine/flow.h"
#include "engine/flow_runtime.h"
#include "engine/target_commands.h"
#include "play/chara.h"
#include "play/draw_stage.h"
#include "play/numeric.h"
#include "play/scene_play.h"
#include "play/shot.h"
#include "play/shot_volley.h"
#include "records/cmd_kinds.h"
#include "records/database.h"
#include "records/ed_flow.h"
#include "records/stage.h"
#include "records/system_data.h"
#include "play/sound_requests.h"

namespace {

// The command's shot part; files may leave it out.
cEdShot* PartOf(const cFlowCmd& inst) { return inst.m_lpDef ? inst.m_lpDef->m_spShot.get() : nullptr; }

// The command's sound, unless it sounds only on screen and the chara is
// off screen.
void CommandSound(const cChara& chara, const cEdFlowCmd& def) {
    if (def.m_nSound == 0) return;
    if (!def.m_bSoundOnScreenOnly || chara.IsOnScreen()) PlayUserSe(def.m_nSound);
}

// Once per frame: the step counter wraps at the sub-steps of a frame.
void CountFrameStep(cFlowCmd& inst) {
    inst.m_nStep = WrapAdd(inst.m_nStep, 1);
    if (inst.m_nStep >= g_Stage.m_nSubSteps) inst.m_nStep = 0;
}

// A summon that may report what it added: with parameter 0 set, flow
// variable 1 gets the change of the count (variable 2 becomes 0 for data
// of version 980).
void RunCountedSummon(cChara& chara, cFlowCmd& inst, void (*summon)(cChara&, cFlowCmd&, cEdShot&),
                      int (*count)()) {
    cEdShot* part = PartOf(inst);
    if (inst.m_nStep == 0 && part) {
        CommandSound(chara, *inst.m_lpDef);
        const bool report = CmdParam(*inst.m_lpDef, 0) != 0;
        const int before = report ? count() : 0;
        summon(chara, inst, *part);
        int32_t* vars = PlayScene()->m_lpCurFlowVars;
        if (report && vars) {
            vars[0] = WrapAdd(count(), -before);
            if (g_SystemData.m_bCompat981) vars[1] = 0;
        }
    }
    CountFrameStep(inst);
}

int CountBlocks() { return CountConditionBlocks(*PlayScene()); }
int CountCharas() { return CountLiveCharas(); }

}  // namespace

void ExecShot(cChara& chara, cFlowCmd& inst) {
    cEdShot* part = PartOf(inst);
    if (inst.m_nStep == 0 && part) {
        CommandSound(chara, *inst.m_lpDef);
        FireShot(&PlayScene()->m_lstShots, chara, inst, *part);
    }
    CountFrameStep(inst);
}

void ExecSword(cChara& chara, cFlowCmd& inst) {
    cEdShot* part = PartOf(inst);
    if (inst.m_nStep == 0 && part) {
        CommandSound(chara, *inst.m_lpDef);
        // A type or part outside the table is reported; entry 0 stands in.
        cDbSwordType& type = g_Database.m_vecSwordType.at(part->m_nTrajectory);
        type.m_vecParts.at(0);
        cScenePlay& scene = *PlayScene();
        cShot made;
        made.InitShot(scene.m_nShotSerial, chara, CMD_SWORD, *part, ShotVolley{});
        cShot& sword = AddShot(scene, made);
        scene.m_nShotSerial = WrapAdd(scene.m_nShotSerial, 1);
        // A sword aims at nothing; its owner keeps a link to it (the new
        // node is in no list yet).
        sword.m_lpTarget = nullptr;
        if (sword.m_lpOwner) sword.m_lpOwner->m_vShotLinks.push_back({&sword, 4});
    }
    // Counted without wrapping: one sword per run.
    if (inst.m_nStep < std::numeric_limits<int32_t>::max()) ++inst.m_nStep;
}

void ExecSummonBlock(cChara& chara, cFlowCmd& inst) { RunCountedSummon(chara, inst, SummonBlock, CountBlocks); }

void ExecSummonChara(cChara& chara, cFlowCmd& inst) { RunCountedSummon(chara, inst, SummonChara, CountCharas); }

void ExecSummonItem(cChara& chara, cFlowCmd& inst) {
    cEdShot* part = PartOf(inst);
    if (inst.m_nStep == 0 && part) {
        CommandSound(chara, *inst.m_lpDef);
        SummonItem(chara, inst, *part);
    }
    CountFrameStep(inst);
}
