// The group hit pass: once per sub-step, shots against charas, charas
// against charas and shots against shots of different groups. Groups are
// the only friend-or-foe rule. The loops' nesting fixes the order of the
// events, sounds and kills, which replays rely on.
#include <algorithm>

#include "engine/flow_trigger.h"
#include "play/chara.h"
#include "play/chara_hits.h"
#include "play/chara_player.h"
#include "play/chara_removal.h"
#include "play/item.h"
#include "play/scene_play.h"
#include "play/sound_requests.h"
#include "play/shot.h"
#include "records/ed_item.h"
#include "records/stage.h"
#include "records/system_data.h"

namespace {

enum : int {
    kEventHitChara = 6,
    kEventHitShot = 9,
    kEventAttackHit = 24,
};
enum : int {
    kSeHitDamage = 7,
    kSeHitNoDamage = 8,
    kSeEnemyDeath = 10,
};

bool IsComputer(cChara& c) { return dynamic_cast<cCharaPlayer*>(&c) == nullptr; }

// A chara that dies in the pass: the sound for a computer chara, then the
// kill, whose StageClear or Miss ends the pass.
PlayResult KillInPass(cChara& c) {
    if (IsComputer(c)) PlaySe(kSeEnemyDeath);
    return KillChara(c);
}

// The item a shot carries, given to the hero.
PlayResult GiveShotItem(const cShot& shot) {
    if (shot.m_EdShot.m_nItemSource == 0) return PlayResult::Continue;
    const cEdItem* def = FindItemDef(shot.m_EdShot.m_nItemSource, shot.m_EdShot.m_nItem);
    cChara* hero = Hero();
    if (!def || !hero) return PlayResult::Continue;
    cItem item;
    item.InitItem(0, *def, 1);
    return GiveItem(&item, hero);
}

bool Harmful(const cShot& s) {
    return s.m_EdShot.m_nPower != 0 || s.m_EdShot.m_nImpact != 0 || s.m_EdShot.m_nItemSource != 0;
}

bool Takes(const cChara& c) { return c.m_bActing && !c.m_bDead; }

void FireHitChara(cChara& struck, cChara& other) {
    if (other.m_lpParent && other.m_bAttackPart) {
        FireFlowTriggerEx(struck, kEventHitChara, other.m_lpParent, 0);
        FireFlowTriggerEx(*other.m_lpParent, kEventAttackHit, &struck, other.m_nAttackGroup);
    } else {
        FireFlowTriggerEx(struck, kEventHitChara, &other, 0);
    }
}

bool HasPower(const cChara& c) { return c.m_Def.m_nAttack != 0 || c.m_Def.m_nImpact != 0; }

// One shot against one chara of another group: the events, the damage or
// the kill, the sound, and whether the shot passes on or vanishes (noted in
// vanishing, erased after the group pair).
PlayResult HitShotOnChara(cShot& I, cChara& K, bool harmful, bool onScreenOnly, std::vector<cShot*>& vanishing) {
    if (onScreenOnly && !K.IsOnScreen()) return PlayResult::Continue;
    if (!K.m_bActing || K.m_bDead || K.m_Def.m_nInvincible == 2) return PlayResult::Continue;
    if (!BoxesOverlap(I.m_adHitBox, K.m_HitBox2.box)) return PlayResult::Continue;
    if (std::find(I.m_lstHitCharas.begin(), I.m_lstHitCharas.end(), K.m_nKey) != I.m_lstHitCharas.end())
        return PlayResult::Continue;
    if (harmful && IsInvincible(K)) return PlayResult::Continue;
    FireFlowTriggerEx(K, kEventHitShot, I.m_lpOwner, 0);
    if (I.m_lpOwner && I.m_bReportToOwner) FireFlowTriggerEx(*I.m_lpOwner, kEventAttackHit, &K, I.m_nReportGroup);
    if (!harmful && g_SystemData.OptHarmlessShotsPass) return PlayResult::Continue;
    int32_t damage = 0;
    int impact = 0;
    const int dead = TakeHitFromShot(K, I, damage, impact);
    // The damaged and impact events (and the owner's attack events) as a
    // chara attacker's contact fires them.
    FireHitEventsShot(K, I, damage, impact);
    if (dead) {
        if (const PlayResult r = KillInPass(K); r != PlayResult::Continue) return r;
    } else {
        if (damage > 0 || impact != 0 || I.m_EdShot.m_nItemSource != 0)
            PlaySe(kSeHitDamage);
        else if (I.m_EdShot.m_nImpact != 0 || (I.m_EdShot.m_nPower > 0 && damage == 0))
            PlaySe(kSeHitNoDamage);
        if (harmful) SetInvincible(K);
    }
    if (!I.m_bIsShot) {
        I.m_lstHitCharas.push_back(K.m_nKey);
    } else if ((K.m_Def.m_bBlockChara ? I.m_EdShot.m_bPassBlockCharas : I.m_EdShot.m_bPassCharas) == 1) {
        I.m_lstHitCharas.push_back(K.m_nKey);
    } else if (std::find(vanishing.begin(), vanishing.end(), &I) == vanishing.end()) {
        vanishing.push_back(&I);
    }
    return GiveShotItem(I);
}

// The shots of each group against the charas of every other group, in the
// sub-steps the stage's hit schedule selects.
PlayResult HitShotsOnCharas(cScenePlay& scene, int groups, bool onScreenOnly) {
    const bool shotsHit = g_Stage.m_nHitChecks == 0 || scene.m_vSubStepActive.at(scene.m_nSubStep - 1) != 0;
    for (int i = 0; shotsHit && i < groups; ++i) {
        if (scene.m_vShotGroups[i].empty()) continue;
        for (int j = 0; j < groups; ++j) {
            if (j == i) continue;
            std::list<cChara*>& charas = scene.m_vCharaGroups[j];
            if (charas.empty()) continue;
            std::vector<cShot*> vanishing;
            for (cShot* shot : scene.m_vShotGroups[i]) {
                if (shot->m_bFinished || (onScreenOnly && !shot->m_bInView)) continue;
                const bool harmful = Harmful(*shot);
                for (cChara* chara : charas) {
                    const PlayResult r = HitShotOnChara(*shot, *chara, harmful, onScreenOnly, vanishing);
                    if (r != PlayResult::Continue) return r;
                }
            }
            for (cShot* s : vanishing)
                if (!s->m_bFinished) EraseShot(scene, s);
        }
    }
    return PlayResult::Continue;
}

// Shots that finished in the pass go.
void EraseFinishedShots(cScenePlay& scene) {
    for (auto it = scene.m_lstShots.begin(); it != scene.m_lstShots.end();) {
        cShot* s = &*it;
        ++it;
        if (s->m_bFinished) EraseShot(scene, s);
    }
}

// Two charas of different groups that touch: each one not blocked from the
// other takes the other's contact damage and impact; the events, one sound
// for the pair, then the kills or the hit records.
PlayResult HitCharaPair(cChara& J, cChara& K, bool onScreenOnly) {
    if (onScreenOnly && (!J.IsOnScreen() || !K.IsOnScreen())) return PlayResult::Continue;
    if (J.m_Def.m_bBlockChara || K.m_Def.m_bBlockChara || !Takes(J) || !Takes(K)) return PlayResult::Continue;
    if (!BoxesOverlap(J.m_HitBox1.box, K.m_HitBox1.box)) return PlayResult::Continue;
    const bool openJ = !IsHitBlocked(J, K.m_nKey);
    const bool openK = !IsHitBlocked(K, J.m_nKey);
    if (openJ) FireHitChara(J, K);
    if (openK) FireHitChara(K, J);
    const bool hitJ = openJ && HasPower(K);
    const bool hitK = openK && HasPower(J);
    int32_t damageJ = 0, damageK = 0;
    int impactJ = 0, impactK = 0, deadJ = 0, deadK = 0;
    if (g_SystemData.OptImmediateKnockback) {
        if (hitJ) {
            deadJ = TakeContactDamage(J, K, damageJ);
            ImpactFromChara(J, K, impactJ);
        }
        if (hitK) {
            deadK = TakeContactDamage(K, J, damageK);
            ImpactFromChara(K, J, impactK);
        }
    } else {
        if (hitJ) deadJ = TakeContactDamage(J, K, damageJ);
        if (hitK) deadK = TakeContactDamage(K, J, damageK);
        if (hitJ) ImpactFromChara(J, K, impactJ);
        if (hitK) ImpactFromChara(K, J, impactK);
    }
    if (hitJ) FireHitEventsChara(J, K, damageJ, impactJ);
    if (hitK) FireHitEventsChara(K, J, damageK, impactK);
    if (damageJ > 0 || impactJ != 0 || damageK > 0 || impactK != 0)
        PlaySe(kSeHitDamage);
    else if (hitJ || hitK)
        PlaySe(kSeHitNoDamage);
    if (hitJ) {
        if (deadJ) {
            if (const PlayResult r = KillInPass(J); r != PlayResult::Continue) return r;
        } else {
            AddHitRecord(J, K.m_nKey);
        }
    }
    if (hitK) {
        if (deadK) {
            if (const PlayResult r = KillInPass(K); r != PlayResult::Continue) return r;
        } else {
            AddHitRecord(K, J.m_nKey);
        }
    }
    return PlayResult::Continue;
}

// The charas of each pair of groups against each other, each pair once.
PlayResult HitCharasOnCharas(cScenePlay& scene, int groups, bool onScreenOnly) {
    for (int i = 0; i < groups; ++i) {
        if (scene.m_vCharaGroups[i].empty()) continue;
        for (int j = i + 1; j < groups; ++j) {
            if (scene.m_vCharaGroups[j].empty()) continue;
            for (cChara* pj : scene.m_vCharaGroups[i]) {
                for (cChara* pk : scene.m_vCharaGroups[j]) {
                    const PlayResult r = HitCharaPair(*pj, *pk, onScreenOnly);
                    if (r != PlayResult::Continue) return r;
                }
            }
        }
    }
    return PlayResult::Continue;
}

// Shots against shots of each pair of groups: a destructible shot loses to
// a stronger one; equal strengths both go.
void HitShotsOnShots(cScenePlay& scene, int groups) {
    for (int i = 0; i < groups; ++i) {
        for (int j = i + 1; j < groups; ++j) {
            std::list<cShot*>& gi = scene.m_vShotGroups[i];
            std::list<cShot*>& gj = scene.m_vShotGroups[j];
            for (auto nt = gi.begin(); nt != gi.end();) {
                cShot* N = *nt;
                ++nt;
                bool destroyN = false;
                for (auto ot = gj.begin(); ot != gj.end();) {
                    cShot* O = *ot;
                    ++ot;
                    const double nb[4] = {N->m_dX, N->m_dY, N->m_dRight, N->m_dBottom};
                    const double ob[4] = {O->m_dX, O->m_dY, O->m_dRight, O->m_dBottom};
                    const bool dn = N->m_EdShot.m_bCancelShots != 0, dO = O->m_EdShot.m_bCancelShots != 0;
                    if ((!dn && !dO) || !BoxesOverlap(nb, ob)) continue;
                    bool killN = dn, killO = dO;
                    if (dn && dO) {
                        killN = N->m_EdShot.m_nVanishValue <= O->m_EdShot.m_nVanishValue;
                        killO = O->m_EdShot.m_nVanishValue <= N->m_EdShot.m_nVanishValue;
                    }
                    if (killO) EraseShot(scene, O);
                    if (killN) destroyN = true;
                }
                if (destroyN) EraseShot(scene, N);
            }
        }
    }
}

}  // namespace

PlayResult cScenePlay::HitGroups() {
    m_bInHitPass = 1;
    const bool onScreenOnly = g_Stage.m_bHitInViewOnly != 0;
    const int groups = static_cast<int>(std::min(m_vShotGroups.size(), m_vCharaGroups.size()));
    // A kill that clears the stage or misses the hero ends the pass at once.
    if (const PlayResult r = HitShotsOnCharas(*this, groups, onScreenOnly); r != PlayResult::Continue) return r;
    EraseFinishedShots(*this);
    if (const PlayResult r = HitCharasOnCharas(*this, groups, onScreenOnly); r != PlayResult::Continue) return r;
    HitShotsOnShots(*this, groups);
    m_bInHitPass = 0;
    return PlayResult::Continue;
}
