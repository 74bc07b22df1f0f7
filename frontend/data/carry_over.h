// Carry-over: the hero's values that a cleared stage hands to the next one.
// The game's 25 carry-over flags (system data) say which items are carried;
// at a clear with the stage's carry-out switch the player's values are
// stored in the progress, at the set-up of a stage with the carry-in switch
// they go back onto the hero's placed definition and counters.
//
// The items and the chara definition members each copies (the definition is
// stored whole in the progress's cSavedChara, only the flagged items' members
// are written and read back):
//
//   item  members of the chara definition
//   ----  -------------------------------------------------------------
//    0    m_nGraphicKind, m_nGraphic, m_nGraphicCell (a stored graphic 0
//         comes back as 1: the hero never becomes an empty entry)
//    1    m_nAnimeSet (written back only when it differs)
//    2    m_nZ, m_bTransparent
//    3    m_nVanishEffect, m_nVanishEffectA
//    4    m_nCharaEffect, m_nCharaEffectA, m_nCharaEffectB: the chara effect
//         running on the hero (number, first parameter; the second
//         parameter passed as an int and kept in 0..255)
//    5    m_bBadge, m_nBadge
//    6    m_bFixedFacing, m_nMoveType
//    7    m_nInvincible, m_nInvincibleBlend
//    8    m_nSize
//    9    m_bSyncAutoScroll
//   10    m_nLightShape, m_nViewRange
//   11    the hero's HP counter (an int of cSavedChara)
//   12    the hero's SP counter (an int of cSavedChara)
//   13    m_nMaxHP, m_nMaxSP
//   14    m_nHitRange
//   15    m_nAttack, m_nImpact, m_nHitEffect
//   16    m_nDefence
//   17    m_nImpactResist
//   18    m_nFriction
//   19    m_nGroup, m_nCharaId
//   20    m_nScore
//   21    m_vecFlow (the whole flow list, assigned)
//   22    the remaining time -> the stage's time limit
//   23    the lives -> the progress's lives
//   24    the music switch -> the stage's keep-music switch
#pragma once
#include <cstdint>

class cGameProgress;
class cEdChara;
class cStage;

// At a stage clear, once per player: the flagged items into the player's
// saved chara, their carried flags set.
void StoreCarryOver(cGameProgress& progress, int player, const cEdChara& hero, int32_t item11, int32_t item12,
                    int16_t item4a, int32_t item4b, int8_t item4c, int32_t item22, int32_t item23, int32_t item24);
// At the stage set-up: the carried items back onto the hero's placed
// definition, the stage record and the lives; nothing unless carried.
void ApplyCarryOver(cGameProgress& progress, int player, cEdChara& placed, cStage& stage);
// At the stage set-up: the carried counters (items 11 and 12) onto the hero.
void GetCarriedCounters(cGameProgress& progress, int player, int32_t& out11, int32_t& out12);

