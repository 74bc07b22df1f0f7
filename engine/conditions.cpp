#include "engine/conditions.h"

#include <cstdlib>

#include "engine/compare_op.h"
#include "frontend/replay/replay.h"
#include "engine/flow.h"
#include "engine/status_op.h"
#include "frontend/data/game_progress.h"
#include "play/chara.h"
#include "play/chara_computer.h"
#include "play/chara_player.h"
#include "play/item.h"
#include "play/map_cell.h"
#include "play/numeric.h"
#include "play/object_steering.h"
#include "play/scene_play.h"
#include "play/shot.h"
#include "records/cond.h"
#include "records/stage.h"
#include "records/system_data.h"

namespace {

constexpr int kSubjectSystem = 5;
// Replays of data up to this version measure distances against the
// subject's last screen box.
constexpr int kLastVersionWithoutSubjectRefresh = 781;

// The chara in target slot s - 1 for a subject s of 1..4; null when the slot
// is empty. found is false for other subjects.
cChara* TargetOfSubject(cChara& chara, int subject, bool& isTarget) {
    isTarget = subject >= 1 && subject <= 4;
    if (!isTarget) return nullptr;
    return chara.TargetSlot(cChara::SubjectToSlot(subject));
}

// The owner-list rule with its latch.
template <class Latch>
bool CheckOwnerList(const std::vector<cCond>& conds, int mode, int once, Latch& latch, cChara* chara,
                    int32_t* flowVars) {
    if (conds.empty() || (once && latch)) return true;
    if (!EvalCondList(conds, mode, chara, flowVars)) return false;
    latch = 1;
    return true;
}

void RefreshScreenRect(cChara& c) {
    if (auto* p = dynamic_cast<cCharaPlayer*>(&c))
        p->UpdatePlayerScreenRect();
    else
        c.UpdateScreenRect();
}

}  // namespace

bool EvalCondList(const std::vector<cCond>& conds, int mode, cChara* chara, int32_t* flowVars) {
    if (mode == 0) {
        for (const cCond& c : conds)
            if (!EvalCond(c, chara, flowVars)) return false;
        return true;
    }
    if (mode == 1) {
        for (const cCond& c : conds)
            if (EvalCond(c, chara, flowVars)) return true;
        return false;
    }
    return false;
}

bool EvalCond(const cCond& cond, cChara* chara, int32_t* flowVars) {
    switch (cond.m_nKind) {
        case COND_COMMON_VAR:
            return CompareByOp(g_Progress.m_vecCommonVar.at(cond.m_nVarIndex), cond.m_nValue, cond.m_nOp);
        case COND_STAGE_VAR: {
            cScenePlay* scene = PlayScene();
            if (!scene) return false;
            return CompareByOp(scene->m_vStageVars.at(cond.m_nVarIndex), cond.m_nValue, cond.m_nOp);
        }
        case COND_CHARA_VAR:
            return chara && CompareByOp(chara->m_vVars.at(cond.m_nVarIndex), cond.m_nValue, cond.m_nOp);
        case COND_STATUS:
            // A status condition keeps its last operand in the record it is
            // evaluated from (the definition the list belongs to).
            return chara && EvalStatusCond(const_cast<cCond&>(cond), *chara, flowVars);
        case COND_STATUS2:
            return chara && EvalStatusCond2(*chara, cond);
        case COND_STATUS3:
            return chara && EvalStatusCond3(*chara, cond);
        case COND_DISTANCE:
            return chara && EvalDistanceCond(*chara, cond);
        default:
            return false;
    }
}

int CheckBlockConds(cScenePlay*, cMapCell& cell) {
    return CheckOwnerList(cell.m_vecCond, cell.m_nCondMode, cell.m_bCondLatch, cell.m_nLatch, Hero(), nullptr) ? 1 : 0;
}

bool CheckCharaConds(cChara& chara) {
    const cEdChara& d = chara.m_Def;
    return CheckOwnerList(d.m_vecCond, d.m_nCondMode, d.m_bCondLatch, chara.m_bCondHeld, &chara, nullptr);
}

bool CheckItemConds(cItem& item) {
    const cEdItem& d = item.m_Def;
    return CheckOwnerList(d.m_vecCond, d.m_nCondMode, d.m_bCondLatch, item.m_bCondHeld, Hero(), nullptr);
}

bool CheckFlowConds(cFlow& flow, cChara& chara) {
    if (!flow.m_lpDef) return true;
    const cEdFlow& d = *flow.m_lpDef;
    return CheckOwnerList(d.m_vecCond, d.m_nCondMode, d.m_bCondOnce, flow.m_bCondLatch, &chara, flow.m_anVars);
}

bool EvalStatusCond2(cChara& chara, const cCond& cond) {
    int32_t value = 0;
    if (cond.m_nLeftTarget == kSubjectSystem) {
        if (cond.m_nLeftItem == 0)
            value = g_Stage.m_nAutoScrollSpeedX;
        else if (cond.m_nLeftItem == 1)
            value = g_Stage.m_nAutoScrollSpeedY;
        else
            return false;
        return CompareByOp(value, cond.m_nVarIndex, cond.m_nOp);
    }
    bool isTarget = false;
    cChara* subject = TargetOfSubject(chara, cond.m_nLeftTarget, isTarget);
    if (isTarget && !subject) return false;
    const cChara& c = isTarget ? *subject : chara;
    switch (cond.m_nLeftItem) {
        case 1: value = c.m_Def.m_bTransparent; break;
        case 2: value = c.m_Def.m_bFixedFacing; break;
        case 3: value = c.m_Def.m_nMoveType; break;
        case 4: value = c.m_Def.m_nInvincible; break;
        case 5: value = c.m_Def.m_nSize; break;
        case 6: value = c.m_bFollowScroll; break;
        default: return false;
    }
    return CompareByOp(value, cond.m_nVarIndex, cond.m_nOp);
}

bool EvalStatusCond3(cChara& chara, const cCond& cond) {
    const bool invert = cond.m_nOp == 1;
    bool isTarget = false;
    cChara* subject = TargetOfSubject(chara, cond.m_nLeftTarget, isTarget);
    if (cond.m_nLeftItem == 4) {
        const bool exists = isTarget ? subject && !subject->m_bDead : true;
        return exists != invert;
    }
    // Any other state of an empty slot is false, inverted or not.
    if (isTarget && !subject) return false;
    cChara& c = isTarget ? *subject : chara;
    bool state = false;
    switch (cond.m_nLeftItem) {
        case 0: state = c.m_nFacing == 0; break;
        case 1: state = c.m_nFacing == 1; break;
        case 2: state = !c.m_bFlying && (c.m_bOnBlockChara || (!c.m_bAirborne && !c.m_bJumpStarted)); break;
        case 3:  // the player now, a computer chara as the last activity pass saw it
            state = dynamic_cast<cCharaPlayer*>(&c) ? c.IsOnScreen() : c.m_bInView != 0;
            break;
        default: state = false; break;
    }
    return state != invert;
}

bool EvalDistanceCond(cChara& chara, const cCond& cond) {
    cChara* subject = nullptr;
    if (cond.m_nLeftTarget == 0) {
        subject = Hero();
    } else if (cond.m_nLeftTarget >= 1 && cond.m_nLeftTarget <= 4) {
        subject = chara.TargetSlot(cChara::SubjectToSlot(cond.m_nLeftTarget));
    } else {
        subject = &chara;
    }
    if (!subject) return false;
    const int32_t d = WrapAdd(WrapMul(cond.m_nValue, 16), cond.m_nRightVarIndex);
    RefreshScreenRect(chara);
    const bool oldRect = g_SystemData.m_bCompat782 ||
                         (IsReplayPlayback() && ReplayDataVersion() <= kLastVersionWithoutSubjectRefresh);
    if (!oldRect) RefreshScreenRect(*subject);
    const cChara& s = *subject;
    const bool right = chara.m_nFacing != 0;
    int within = 0;
    switch (cond.m_nDirection) {
        case 0:  // horizontal: both sides, the whole extent at d = 0
            within = IsWithinRange(chara.m_nScrLeft, chara.m_nDrawWidth, s.m_nScrLeft, s.m_nScrRight, s.m_nDrawOffsetX,
                                   d, d, 1, 0, s);
            break;
        case 1:  // forward
            within = IsWithinRange(chara.m_nScrLeft, chara.m_nDrawWidth, s.m_nScrLeft, s.m_nScrRight, s.m_nDrawOffsetX,
                                   right ? 0 : d, right ? d : 0, 0, 0, s);
            break;
        case 2:  // backward
            within = IsWithinRange(chara.m_nScrLeft, chara.m_nDrawWidth, s.m_nScrLeft, s.m_nScrRight, s.m_nDrawOffsetX,
                                   right ? d : 0, right ? 0 : d, 0, 0, s);
            break;
        case 3:  // vertical
            within = IsWithinRange(chara.m_nScrTop, chara.m_nDrawHeight, s.m_nScrTop, s.m_nScrBottom, s.m_nDrawOffsetY,
                                   d, d, 1, 1, s);
            break;
        case 4:  // forward-Y: below when facing right, above when facing left
            within = IsWithinRange(chara.m_nScrTop, chara.m_nDrawHeight, s.m_nScrTop, s.m_nScrBottom, s.m_nDrawOffsetY,
                                   right ? 0 : d, right ? d : 0, 0, 1, s);
            break;
        case 5:  // backward-Y
            within = IsWithinRange(chara.m_nScrTop, chara.m_nDrawHeight, s.m_nScrTop, s.m_nScrBottom, s.m_nDrawOffsetY,
                                   right ? d : 0, right ? 0 : d, 0, 1, s);
            break;
        case 6: {  // circle round the centres
            const int64_t dx = static_cast<int64_t>(chara.m_nScrLeft + chara.m_nDrawWidth / 2) -
                               (s.m_nScrLeft + s.m_nDrawWidth / 2);
            const int64_t dy = static_cast<int64_t>(chara.m_nScrTop + chara.m_nDrawHeight / 2) -
                               (s.m_nScrTop + s.m_nDrawHeight / 2);
            within = d >= 0 && dx * dx + dy * dy <= static_cast<int64_t>(d) * d;
            break;
        }
        default:
            within = 0;
            break;
    }
    if (cond.m_nOp == 0) return within != 0;
    if (cond.m_nOp == 1) return within == 0;
    return false;
}

void UpdateActiveStates(cScenePlay& scene) {
    // The hero always acts.
    if (cChara* hero = Hero()) hero->m_bActive = hero->m_bInView = hero->m_bActing = 1;
    // The stage switches start cleared.
    scene.m_vStageSwitches.Fill(0);
    // Computer charas whose conditions hold are active: in view, and their activation range checked.
    for (cCharaComputer& c : g_lstCharas) {
        if (CheckCharaConds(c)) {
            c.m_bActive = 1;
            c.m_bInView = c.IsOnScreen();
            c.CheckActivationRange();
        } else {
            c.m_bActive = c.m_bInView = 0;
        }
    }
    // An active chara acts when its acting rule says so.
    for (cCharaComputer& c : g_lstCharas) c.m_bActing = c.m_bActive && c.UpdateActing();
    // Items whose conditions hold are active.
    for (cItem& item : g_lstItems) {
        if (CheckItemConds(item)) {
            item.m_bActive = 1;
            item.m_bInView = item.IsOnScreen();
        } else {
            item.m_bActive = item.m_bInView = 0;
        }
    }
    // Every shot (and sword) takes part; the vanish command and the
    // hit pass's on-screen switch read these.
    for (cShot& shot : scene.m_lstShots) {
        shot.m_bActive = 1;
        shot.m_bInView = shot.IsOnScreen();
    }
}
