// What a hit does to a chara: damage against the defence, HP and SP with
// their gauges, the knock-back of an impact against the resistance, the
// invincibility timer and per-attacker hit records, the flow events of a
// hit, and taking a chara out of every link.
#pragma once
#include <cstdint>

class cChara;
class cShot;

// The damage of an attack; an attack <= 0 comes back unchanged (it heals).
int32_t CalcDamage(const cChara& c, int32_t attack);
// 1 when HP reached 0. Unless forced, a chara whose definition is
// invincible takes no damage.
int AddHP(cChara& c, int32_t amount, int force, int animate);
void AddSP(cChara& c, int32_t amount, int animate);
// Start the bar animation of a change; nothing for no change or a maximum
// of 0 or less.
void StartHPGauge(cChara& c, int32_t change);
void StartSPGauge(cChara& c, int32_t change);

// The impact after the resistance, -20..20.
int AdjustImpact(const cChara& c, int impact);
// Knock-back along (dirX, dirY): applied gets the adjusted impact; speeds
// against the new impact stop.
void ApplyImpact(cChara& c, int impact, double dirX, double dirY, int& applied);
void ImpactFromChara(cChara& c, const cChara& attacker, int& applied);
// A sword pushes along its facing, a flying shot along its speed.
void ImpactFromShot(cChara& c, const cShot& shot, int& applied);

// Invincibility and hit records, counted in sub-steps.
void SetInvincible(cChara& c);
void AddHitRecord(cChara& c, int32_t attackerKey);
int IsInvincible(const cChara& c);
int IsHitBlocked(const cChara& c, int32_t attackerKey);
void StepHitTimers(cChara& c);

// A hit by a chara, in order: the damage, the HP (damage refused by an
// invincible definition), the hit effect, the impact. damage is 0 on an
// invincible definition; 1 when HP reached 0.
int TakeHitFromChara(cChara& c, cChara& attacker, int32_t& damage, int& impact);
// The same for a shot: its power, its hit effect at its size, its impact.
int TakeHitFromShot(cChara& c, cShot& shot, int32_t& damage, int& impact);
// The same without the impact (the hit pass applies knock-backs apart).
int TakeContactDamage(cChara& c, cChara& attacker, int32_t& damage);

// The flow events of a hit by a chara (1..4 on the struck chara, 20..23 on
// an attack part's parent).
void FireHitEventsChara(cChara& c, cChara& attacker, int32_t damage, int impactApplied);
// The same for a shot: its owner is the partner, and the owner hears 20..23
// only when the shot reports to it.
void FireHitEventsShot(cChara& c, cShot& shot, int32_t damage, int impactApplied);

// Clears both ends of every link to and from the chara, then its shot links.
void Unlink(cChara& c);
