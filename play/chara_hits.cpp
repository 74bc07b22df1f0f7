#include "play/chara_hits.h"

#include <algorithm>
#include <cmath>

#include "engine/flow_trigger.h"
#include "play/chara.h"
#include "play/effect.h"
#include "play/numeric.h"
#include "play/object_steering.h"
#include "play/shot.h"
#include "records/stage.h"
#include "records/system_data.h"

namespace {

constexpr int32_t kMaxValue = 999999;

int32_t ClampValue(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, 0, kMaxValue)); }

void StartGauge(CharaGauge& g, int32_t value, int32_t max, int32_t change) {
    if (change == 0 || max <= 0) return;
    g.nTimer = 120;
    g.nPos = static_cast<int32_t>(static_cast<int64_t>(value) * 50 / max);
    g.dStep = change * 50.0 / max;
    g.dPerFrame = g.dStep / 60;
}

// Signs that differ beyond the tolerance.
bool Opposes(double speed, double impact) {
    constexpr double eps = 1e-8;
    return (speed > eps && impact < -eps) || (speed < -eps && impact > eps);
}

void DropReferrer(cChara& target, const cChara* referrer, int kind) {
    auto& v = target.m_vReferrers;
    v.erase(std::remove(v.begin(), v.end(), CharaLink{const_cast<cChara*>(referrer), kind}), v.end());
}

}  // namespace

int32_t CalcDamage(const cChara& c, int32_t attack) {
    if (attack <= 0) return attack;
    const int32_t defence = c.m_Def.m_nDefence;
    const int32_t d = ClampValue(static_cast<int64_t>(attack) - defence);
    if (defence <= 0) return d;
    const int32_t floor = ClampValue(static_cast<int64_t>(TruncToInt(static_cast<double>(g_SystemData.OptMinDamagePercent) * attack * 0.01)) +
                                     g_SystemData.OptMinDamageAdd);
    return d >= floor ? d : std::min(floor, attack);
}

int AddHP(cChara& c, int32_t amount, int force, int animate) {
    if (!force && amount <= 0 && c.m_Def.m_nInvincible) return 0;
    const int32_t max = c.m_Def.m_nMaxHP;
    if (amount > 0) amount = static_cast<int32_t>(std::min<int64_t>(amount, static_cast<int64_t>(max) - c.m_nHP));
    c.m_nHP = static_cast<int32_t>(std::clamp<int64_t>(static_cast<int64_t>(c.m_nHP) + amount, 0, std::max(max, 0)));
    if (c.m_nHP == 0) return 1;
    if (animate && amount != 0) StartHPGauge(c, amount);
    return 0;
}

void AddSP(cChara& c, int32_t amount, int animate) {
    const int32_t max = c.m_Def.m_nMaxSP;
    if (amount > 0) amount = static_cast<int32_t>(std::min<int64_t>(amount, static_cast<int64_t>(max) - c.m_nSP));
    c.m_nSP = static_cast<int32_t>(std::clamp<int64_t>(static_cast<int64_t>(c.m_nSP) + amount, 0, std::max(max, 0)));
    if (max >= 1 && animate) StartSPGauge(c, amount);
}

void StartHPGauge(cChara& c, int32_t change) { StartGauge(c.m_HPGauge, c.m_nHP, c.m_Def.m_nMaxHP, change); }
void StartSPGauge(cChara& c, int32_t change) { StartGauge(c.m_SPGauge, c.m_nSP, c.m_Def.m_nMaxSP, change); }

int AdjustImpact(const cChara& c, int impact) {
    const int resist = c.m_Def.m_nImpactResist;
    const int r = impact < 0 ? std::clamp(impact + resist, -20, 0) : std::clamp(impact - resist, 0, 20);
    if (resist <= 0) return r;
    // The product in double: exact where the int product fits, and no wrap
    // where a stored percentage is out of range.
    int f = TruncToInt(static_cast<double>(g_SystemData.OptMinImpactPercent) * impact * 0.01);
    if (impact < 0) {
        f = static_cast<int>(std::clamp<int64_t>(static_cast<int64_t>(f) - g_SystemData.OptMinImpactAdd, -20, 0));
        return r <= f ? r : std::max(f, impact);
    }
    f = static_cast<int>(std::clamp<int64_t>(static_cast<int64_t>(f) + g_SystemData.OptMinImpactAdd, 0, 20));
    return r >= f ? r : std::min(f, impact);
}

void ApplyImpact(cChara& c, int impact, double dirX, double dirY, int& applied) {
    if (impact == 0) return;
    const int a = AdjustImpact(c, impact);
    applied = a;
    ImpactVelocity(c.m_dImpactX, c.m_dImpactY, a, dirX, dirY, c.m_dPrevImpactY);
    if (Opposes(c.m_dMoveSpeedX, c.m_dImpactX)) c.m_dMoveSpeedX = 0.0;
    if (Opposes(c.m_dMoveSpeedY, c.m_dImpactY)) c.m_dMoveSpeedY = 0.0;
    if (Opposes(c.m_dSpeedY, c.m_dImpactY)) c.m_dSpeedY = 0.0;
    c.m_bKnockedBack = 1;
}

void ImpactFromChara(cChara& c, const cChara& attacker, int& applied) {
    double dirY = attacker.m_dSpeedY;
    if (!attacker.m_bFlying && attacker.m_dSpeedY < 8 * g_Stage.m_nSubSteps * g_Stage.m_dGravityStep) dirY = 0.0;
    ApplyImpact(c, attacker.m_Def.m_nImpact, attacker.m_dSpeedX, dirY, applied);
}

int TakeContactDamage(cChara& c, cChara& attacker, int32_t& damage) {
    const int32_t d = CalcDamage(c, attacker.m_Def.m_nAttack);
    damage = c.m_Def.m_nInvincible ? 0 : d;
    const int dead = AddHP(c, WrapMul(d, -1), 0, 1);
    if (attacker.m_Def.m_nHitEffect)
        AddHitEffect(attacker.m_Def.m_nHitEffect, c.m_HitBox1.box, attacker.m_HitBox1.box, attacker.m_Def.m_nSize);
    return dead;
}

int TakeHitFromChara(cChara& c, cChara& attacker, int32_t& damage, int& impact) {
    const int dead = TakeContactDamage(c, attacker, damage);
    ImpactFromChara(c, attacker, impact);
    return dead;
}

void ImpactFromShot(cChara& c, const cShot& shot, int& applied) {
    if (!shot.m_bIsShot)
        ApplyImpact(c, shot.m_EdShot.m_nImpact, shot.GetDirSign(), 0.0, applied);
    else
        ApplyImpact(c, shot.m_EdShot.m_nImpact, shot.m_dSpeedX, shot.m_dSpeedY, applied);
}

int TakeHitFromShot(cChara& c, cShot& shot, int32_t& damage, int& impact) {
    const int32_t d = CalcDamage(c, shot.m_EdShot.m_nPower);
    damage = c.m_Def.m_nInvincible ? 0 : d;
    const int dead = AddHP(c, WrapMul(d, -1), 0, 1);
    if (shot.m_EdShot.m_nEffect)
        AddHitEffect(shot.m_EdShot.m_nEffect, c.m_HitBox1.box, shot.m_adHitBox, shot.m_EdShot.m_nSize);
    ImpactFromShot(c, shot, impact);
    return dead;
}

void SetInvincible(cChara& c) {
    c.m_nInvincibleTimer = WrapMul(g_Stage.m_nSubSteps, c.m_nSide == 0 ? g_Stage.m_nInvincible0 : g_Stage.m_nInvincible1);
}

void AddHitRecord(cChara& c, int32_t attackerKey) {
    SetInvincible(c);
    c.m_lstHitRecords.push_back(
        {attackerKey, WrapMul(g_Stage.m_nSubSteps, c.m_nSide == 0 ? g_Stage.m_nHitInterval0 : g_Stage.m_nHitInterval1)});
}

int IsInvincible(const cChara& c) { return c.m_nInvincibleTimer > 0; }

int IsHitBlocked(const cChara& c, int32_t attackerKey) {
    if (c.m_nInvincibleTimer >= 1) return 1;
    for (const HitRecord& r : c.m_lstHitRecords)
        if (r.nAttackerKey == attackerKey) return 1;
    return 0;
}

void StepHitTimers(cChara& c) {
    if (c.m_nInvincibleTimer > 0) --c.m_nInvincibleTimer;
    for (auto it = c.m_lstHitRecords.begin(); it != c.m_lstHitRecords.end();) {
        if (--it->nLeft <= 0)
            it = c.m_lstHitRecords.erase(it);
        else
            ++it;
    }
}

namespace {

// Events 1..4 on the struck chara with the partner; 20..23 on the reported
// chara (when there is one) with the struck chara and the group.
void FireHitEvents(cChara& c, cChara* partner, cChara* reported, int group, int32_t attack, int impact,
                   int32_t damage, int impactApplied) {
    auto fire = [&](int hit, int hurt, bool second) {
        FireFlowTriggerEx(c, hit, partner, 0);
        if (second) FireFlowTriggerEx(c, hurt, partner, 0);
        if (reported) {
            FireFlowTriggerEx(*reported, hit + 19, &c, group);
            if (second) FireFlowTriggerEx(*reported, hurt + 19, &c, group);
        }
    };
    if (attack != 0) fire(1, 2, damage >= 1);
    if (impact != 0) fire(3, 4, impactApplied != 0);
}

}  // namespace

void FireHitEventsChara(cChara& c, cChara& attacker, int32_t damage, int impactApplied) {
    cChara* parent = attacker.m_lpParent && attacker.m_bAttackPart ? attacker.m_lpParent : nullptr;
    FireHitEvents(c, parent ? parent : &attacker, parent, attacker.m_nAttackGroup, attacker.m_Def.m_nAttack,
                  attacker.m_Def.m_nImpact, damage, impactApplied);
}

void FireHitEventsShot(cChara& c, cShot& shot, int32_t damage, int impactApplied) {
    cChara* owner = shot.m_lpOwner;
    FireHitEvents(c, owner, owner && shot.m_bReportToOwner ? owner : nullptr, static_cast<uint8_t>(shot.m_nReportGroup),
                  shot.m_EdShot.m_nPower, shot.m_EdShot.m_nImpact, damage, impactApplied);
}

void Unlink(cChara& c) {
    for (const CharaLink& l : c.m_vReferrers) {
        if (!l.lpChara) continue;
        if (l.nKind >= 0 && l.nKind < kTargetSlots) {
            if (l.nKind < static_cast<int>(l.lpChara->m_vTargets.size())) l.lpChara->m_vTargets[l.nKind] = nullptr;
        } else if (l.nKind == 4) {
            l.lpChara->m_lpParent = nullptr;
        }
    }
    c.m_vReferrers.clear();
    for (int i = 0; i < static_cast<int>(c.m_vTargets.size()); ++i) {
        if (cChara* t = c.m_vTargets[i]) {
            DropReferrer(*t, &c, i);
            c.m_vTargets[i] = nullptr;
        }
    }
    if (c.m_lpParent) {
        DropReferrer(*c.m_lpParent, &c, 4);
        c.m_lpParent = nullptr;
    }
    for (const ShotLink& l : c.m_vShotLinks) {
        if (!l.lpShot) continue;
        if (l.nKind == 0) l.lpShot->m_lpTarget = nullptr;
        if (l.nKind == 4) l.lpShot->m_lpOwner = nullptr;
    }
    c.m_vShotLinks.clear();
}
