#include "engine/target_commands.h"

#include <memory>
#include <vector>

#include "base/checked_vector.h"
#include "base/log.h"
#include "engine/command_results.h"
#include "engine/conditions.h"
#include "engine/flow.h"
#include "engine/flow_runtime.h"
#include "engine/status_op.h"
#include "play/chara.h"
#include "play/chara_player.h"
#include "play/chara_search.h"
#include "play/item.h"
#include "play/scene_play.h"
#include "play/shot.h"
#include "records/common_palette.h"
#include "records/ed_flow.h"
#include "records/stage.h"
#include "records/system_data.h"

namespace {

int g_nGetItemDepth = 0;

enum : int {
    TAKE_FIRST_PLAYER = 0,
    TAKE_SELF,
    TAKE_NEAREST,
    TAKE_FIRST_MATCH,
    TAKE_PARENT,
    TAKE_LAST_CHILD,
    TAKE_MATCHING_CHILD,
    TAKE_OWN_SLOT1,  // .. TAKE_OWN_SLOT1 + 3
};

std::vector<cChara*> GroupList(cScenePlay& scene, int group) {
    const std::list<cChara*>& l = scene.m_vCharaGroups.at(group);
    return {l.begin(), l.end()};
}

int CentreOf(int32_t a, int32_t b) { return static_cast<int>((static_cast<int64_t>(a) + b) / 2); }

TargetFilter FilterOf(const cChara& chara, const cEdFlowCmd& cmd) {
    TargetFilter f;
    f.excludeKey = CmdParam(cmd, 5);
    f.key = chara.m_nKey;
    f.excludeInvincible1 = CmdParam(cmd, 6);
    f.excludeInvincible2 = CmdParam(cmd, 7);
    f.excludeBlockCharas = CmdParam(cmd, 8);
    f.byId = CmdParam(cmd, 9);
    f.charaId = static_cast<int8_t>(CmdParam(cmd, 10));
    f.byVariable = CmdParam(cmd, 11);
    f.variable = static_cast<int16_t>(CmdParam(cmd, 12));
    f.value = CmdParam(cmd, 13);
    f.op = CmdParam(cmd, 14);
    return f;
}

cChara* FindCandidate(cChara& chara, const cEdFlowCmd& cmd) {
    cScenePlay& scene = *PlayScene();
    const int what = CmdParam(cmd, 1);
    const int group = CmdParam(cmd, 2);
    const bool anyGroup = CmdParam(cmd, 3) != 0;
    const TargetFilter filter = FilterOf(chara, cmd);
    switch (what) {
        case TAKE_FIRST_PLAYER: return Hero();
        case TAKE_SELF: return &chara;
        case TAKE_NEAREST: {
            const int x = CentreOf(chara.m_nScrLeft, chara.m_nScrRight);
            const int y = CentreOf(chara.m_nScrTop, chara.m_nScrBottom);
            const int mode = CmdParam(cmd, 4);
            if (!anyGroup) return FindNearestTargetChara(x, y, GroupList(scene, group), mode, filter);
            std::vector<cChara*> nearest;
            for (int g = 0; g < cScenePlay::kGroupLists; ++g) {
                if (scene.m_vCharaGroups.at(g).empty()) continue;
                if (cChara* c = FindNearestTargetChara(x, y, GroupList(scene, g), mode, filter)) nearest.push_back(c);
            }
            return FindNearestTargetChara(x, y, nearest, mode, filter);
        }
        case TAKE_FIRST_MATCH:
            if (!anyGroup) return FindTargetChara(GroupList(scene, group), filter);
            for (int g = 0; g < cScenePlay::kGroupLists; ++g)
                if (cChara* c = FindTargetChara(GroupList(scene, g), filter)) return c;
            return nullptr;
        case TAKE_PARENT: return chara.m_lpParent;
        case TAKE_LAST_CHILD:
            for (auto it = chara.m_vReferrers.rbegin(); it != chara.m_vReferrers.rend(); ++it)
                if (it->nKind == 4) return it->lpChara;
            return nullptr;
        case TAKE_MATCHING_CHILD: {
            std::vector<std::pair<cChara*, int>> table;
            for (const CharaLink& l : chara.m_vReferrers) table.emplace_back(l.lpChara, l.nKind);
            return FindTargetCharaById(table, 4, anyGroup, group, filter);
        }
        default:
            if (what >= TAKE_OWN_SLOT1 && what < TAKE_OWN_SLOT1 + kTargetSlots) return chara.TargetSlot(what - TAKE_OWN_SLOT1);
            return nullptr;
    }
}

// Vanishing: a computer chara is flagged to go, a player chara loses its HP.
void VanishChara(cChara& c, const cChara& executing) {
    if (IsPlayerChara(c))
        c.m_nHP = 0;
    else
        c.m_bDiesNow = 1;
    if (&c != &executing) PlayScene()->m_bDeathPending = 1;
}

// A shot goes at once, or is flagged while the hit pass walks the shots.
void RemoveShot(cScenePlay& scene, cShot& shot) {
    if (scene.m_bInHitPass) {
        shot.m_bFinished = 1;
        return;
    }
    EraseShot(scene, &shot);
}

}  // namespace

// ---------------------------------------------------------------------------

void DoSetTarget(cChara& chara, const cEdFlowCmd& cmd) {
    const int slot = CmdParam(cmd, 0);
    const cChara* before = chara.TargetSlot(slot);
    cChara* candidate = FindCandidate(chara, cmd);
    const int mode = CmdParam(cmd, 15);
    if (mode == 0) chara.SetTargetSlot(slot, candidate, 1);
    if (mode == 1) chara.SetTargetSlot(slot, candidate, 0);
    if (!CmdParam(cmd, 16)) return;
    const cChara* now = chara.TargetSlot(slot);
    WriteCmdResults(now ? 1 : 2, now == before ? 2 : 1);
}

void DoStatusOp2(cChara& chara, const cEdFlowCmd& cmd) {
    const int subject = CmdParam(cmd, 0);
    const int item = CmdParam(cmd, 1);
    const int32_t v = CmdParam(cmd, 2);
    cScenePlay& scene = *PlayScene();
    int result = 1;
    if (subject == SUBJ_SYSTEM) {
        if (item == 0) {
            g_Stage.m_nAutoScrollSpeedX = v;
            scene.m_ScrollX.SetAutoScroll(g_Stage.m_bAutoScrollX, v);
        } else if (item == 1) {
            g_Stage.m_nAutoScrollSpeedY = v;
            scene.m_ScrollY.SetAutoScroll(g_Stage.m_bAutoScrollY, v);
        }
    } else {
        cChara* c = subject >= SUBJ_TARGET1 && subject <= SUBJ_TARGET4 ? SubjectChara(chara, subject) : &chara;
        if (!c) {
            result = 2;
        } else {
            cEdChara& d = c->m_Def;
            switch (item) {
                case 0: VanishChara(*c, chara); break;
                case 1: d.m_bTransparent = static_cast<int8_t>(v); break;
                case 2: d.m_bFixedFacing = static_cast<int8_t>(v); break;
                case 3:
                    if (IsPlayerChara(*c))
                        g_vPlayers.at(0).SetMoveType(v, 1, CmdParam(cmd, 3), CmdParam(cmd, 4));
                    else
                        result = 2;
                    break;
                case 4: d.m_nInvincible = static_cast<int8_t>(v); break;
                case 5: {
                    const int old = d.m_nSize;
                    if (v != old && !g_SystemData.OptScaleFromFeet) c->m_nMoveTypeCounter = 2;
                    c->SetScale(v, old, 0);
                    d.m_nSize = static_cast<int8_t>(v);
                    if (IsPlayerChara(*c)) g_vPlayers.at(0).BuildHitBoxList();
                    break;
                }
                case 6:
                    d.m_bSyncAutoScroll = static_cast<int8_t>(v);
                    c->m_bFollowScroll = d.m_bSyncAutoScroll;
                    break;
                default: break;
            }
        }
    }
    if (CmdParam(cmd, 5)) WriteCmdResult(result);
}

void DoVanish(cChara& chara, const cEdFlowCmd& cmd) {
    cScenePlay& scene = *PlayScene();
    const bool counts = CmdParam(cmd, 3) != 0;
    const int charasBefore = counts ? CountLiveCharas() : 0;
    const int shotsBefore = counts ? CountLiveShots() : 0;
    const int group = CmdParam(cmd, 1);
    const bool offScreenToo = CmdParam(cmd, 2) != 0;
    switch (CmdParam(cmd, 0)) {
        case 0:
            for (cChara* c : GroupList(scene, group))
                if (c->m_bActive && (offScreenToo || c->IsOnScreen())) VanishChara(*c, chara);
            break;
        case 1: {
            const std::list<cShot*> shots = scene.m_vShotGroups.at(group);
            for (cShot* s : shots)
                if (s->m_bActive && (offScreenToo || s->IsOnScreen())) RemoveShot(scene, *s);
            break;
        }
        case 2: VanishDescendants(chara, 0, false, chara); break;
        case 3: RemoveChildShots(chara); break;
        case 4:
            RemoveChildShots(chara);
            VanishDescendants(chara, 0, true, chara);
            break;
        case 5: VanishDescendants(chara, 0, true, chara); break;
        default: break;
    }
    if (counts) WriteCmdResults(charasBefore - CountLiveCharas(), shotsBefore - CountLiveShots());
}

void VanishDescendants(cChara& chara, int depth, bool withShots, const cChara& executing) {
    if (depth > kCmdNestingCap) return;
    const std::vector<CharaLink> links = chara.m_vReferrers;
    for (const CharaLink& l : links) {
        if (l.nKind != 4 || !l.lpChara || !l.lpChara->m_bActive) continue;
        cChara& child = *l.lpChara;
        if (withShots) RemoveChildShots(child);
        VanishDescendants(child, depth + 1, withShots, executing);
        VanishChara(child, executing);
    }
}

void RemoveChildShots(cChara& chara) {
    cScenePlay& scene = *PlayScene();
    const std::vector<ShotLink> links = chara.m_vShotLinks;
    for (const ShotLink& l : links)
        if (l.nKind == 4 && l.lpShot && l.lpShot->m_bActive) RemoveShot(scene, *l.lpShot);
}

int CountLiveCharas() {
    int n = 0;
    for (const std::list<cChara*>& group : PlayScene()->m_vCharaGroups)
        for (cChara* c : group)
            if (CheckCharaConds(*c) && !c->m_bDiesNow && c->m_nHP > 0) ++n;
    return n;
}

int CountLiveShots() {
    int n = 0;
    for (const std::list<cShot*>& group : PlayScene()->m_vShotGroups)
        for (const cShot* s : group)
            if (!s->m_bFinished) ++n;
    return n;
}

void DoGetItem(cChara&, const cEdFlowCmd& cmd) {
    const int source = CmdParam(cmd, 0);
    if (source != 0 && source != 1) return;
    if (g_nGetItemDepth >= kCmdNestingCap) {
        DebugLogf("DoGetItem: items get items deeper than %d; item %d not given", kCmdNestingCap, CmdParam(cmd, 1));
        return;
    }
    const std::vector<cEdItem>& palette = source == 0 ? g_CommonPalette.m_vecItemPalette : g_Stage.m_vecItemPalette;
    long long index = CmdParam(cmd, 1);
    if (index < 0 || index >= static_cast<long long>(palette.size())) {
        ReportBadIndex("V", index, static_cast<long long>(palette.size()), sizeof(cEdItem));
        if (palette.empty()) return;
        index = 0;
    }
    if (g_vPlayers.empty()) return;
    cScenePlay* scene = PlayScene();
    // The item's commands point the flow variables at the temporary item.
    const cFlowVarsGuard keep(scene);
    auto item = std::make_unique<cItem>();
    item->InitItem(0, palette[static_cast<size_t>(index)], 1);
    ++g_nGetItemDepth;
    const PlayResult result = g_vPlayers.at(0).RunItemCommands(item->m_Def.m_vecCmd, item->m_anFlowVars);
    --g_nGetItemDepth;
    scene->m_nStageEndRequest = AsNumber(result);
}

// ---------------------------------------------------------------------------

void ExecSetTarget(cChara& chara, cFlowCmd& inst) {
    if (inst.m_lpDef) DoSetTarget(chara, *inst.m_lpDef);
}
void ExecStatusOp2(cChara& chara, cFlowCmd& inst) {
    if (inst.m_lpDef) DoStatusOp2(chara, *inst.m_lpDef);
}
void ExecVanish(cChara& chara, cFlowCmd& inst) {
    if (inst.m_lpDef) DoVanish(chara, *inst.m_lpDef);
}
void ExecGetItem(cChara& chara, cFlowCmd& inst) {
    if (inst.m_lpDef) DoGetItem(chara, *inst.m_lpDef);
}
