#include "frontend/data/carry_over.h"

#include <algorithm>

#include "frontend/data/game_progress.h"
#include "records/ed_chara.h"
#include "records/stage.h"
#include "records/system_data.h"

namespace {

constexpr int kItemGraphic = 0, kItemAnimeSet = 1, kItemCharaEffect = 4, kItemHP = 11, kItemSP = 12, kItemTime = 22,
              kItemLives = 23, kItemBgm = 24;

// Member copies of the items that are groups of the chara definition
// (null: the item is handled on its own).
using CopyFn = void (*)(cEdChara& to, const cEdChara& from);
const CopyFn kCopy[kCarryItemCount] = {
    [](cEdChara& t, const cEdChara& f) {
        t.m_nGraphicKind = f.m_nGraphicKind;
        t.m_nGraphic = f.m_nGraphic;
        t.m_nGraphicCell = f.m_nGraphicCell;
    },
    [](cEdChara& t, const cEdChara& f) { t.m_nAnimeSet = f.m_nAnimeSet; },
    [](cEdChara& t, const cEdChara& f) {
        t.m_nZ = f.m_nZ;
        t.m_bTransparent = f.m_bTransparent;
    },
    [](cEdChara& t, const cEdChara& f) {
        t.m_nVanishEffect = f.m_nVanishEffect;
        t.m_nVanishEffectA = f.m_nVanishEffectA;
    },
    [](cEdChara& t, const cEdChara& f) {
        t.m_nCharaEffect = f.m_nCharaEffect;
        t.m_nCharaEffectA = f.m_nCharaEffectA;
        t.m_nCharaEffectB = f.m_nCharaEffectB;
    },
    [](cEdChara& t, const cEdChara& f) {
        t.m_bBadge = f.m_bBadge;
        t.m_nBadge = f.m_nBadge;
    },
    [](cEdChara& t, const cEdChara& f) {
        t.m_bFixedFacing = f.m_bFixedFacing;
        t.m_nMoveType = f.m_nMoveType;
    },
    [](cEdChara& t, const cEdChara& f) {
        t.m_nInvincible = f.m_nInvincible;
        t.m_nInvincibleBlend = f.m_nInvincibleBlend;
    },
    [](cEdChara& t, const cEdChara& f) { t.m_nSize = f.m_nSize; },
    [](cEdChara& t, const cEdChara& f) { t.m_bSyncAutoScroll = f.m_bSyncAutoScroll; },
    [](cEdChara& t, const cEdChara& f) {
        t.m_nLightShape = f.m_nLightShape;
        t.m_nViewRange = f.m_nViewRange;
    },
    nullptr,
    nullptr,
    [](cEdChara& t, const cEdChara& f) {
        t.m_nMaxHP = f.m_nMaxHP;
        t.m_nMaxSP = f.m_nMaxSP;
    },
    [](cEdChara& t, const cEdChara& f) { t.m_nHitRange = f.m_nHitRange; },
    [](cEdChara& t, const cEdChara& f) {
        t.m_nAttack = f.m_nAttack;
        t.m_nImpact = f.m_nImpact;
        t.m_nHitEffect = f.m_nHitEffect;
    },
    [](cEdChara& t, const cEdChara& f) { t.m_nDefence = f.m_nDefence; },
    [](cEdChara& t, const cEdChara& f) { t.m_nImpactResist = f.m_nImpactResist; },
    [](cEdChara& t, const cEdChara& f) { t.m_nFriction = f.m_nFriction; },
    [](cEdChara& t, const cEdChara& f) {
        t.m_nGroup = f.m_nGroup;
        t.m_nCharaId = f.m_nCharaId;
    },
    [](cEdChara& t, const cEdChara& f) { t.m_nScore = f.m_nScore; },
    [](cEdChara& t, const cEdChara& f) { t.m_vecFlow = f.m_vecFlow; },
    nullptr,
    nullptr,
    nullptr,
};

bool GameFlag(int item) {
    const auto& flags = g_SystemData.m_vecCarryOver;
    return item < static_cast<int>(flags.size()) && flags[static_cast<size_t>(item)] != 0;
}

bool CarriedFlag(const cGameProgress& progress, int item) {
    const auto& flags = progress.m_vecCarriedItem;
    return item < static_cast<int>(flags.size()) && flags[static_cast<size_t>(item)] != 0;
}

}  // namespace

void StoreCarryOver(cGameProgress& progress, int player, const cEdChara& hero, int32_t item11, int32_t item12,
                    int16_t item4a, int32_t item4b, int8_t item4c, int32_t item22, int32_t item23, int32_t item24) {
    progress.m_bCarried = 1;
    if (progress.m_vecCarriedItem.size() < static_cast<size_t>(kCarryItemCount))
        progress.m_vecCarriedItem.resize(kCarryItemCount, 0);
    cSavedChara& saved = progress.m_vecSavedChara.at(player);
    for (int item = 0; item < kCarryItemCount; ++item) {
        if (!GameFlag(item)) continue;
        switch (item) {
            case kItemHP: saved.m_nItem11 = item11; break;
            case kItemSP: saved.m_nItem12 = item12; break;
            case kItemTime: saved.m_nItem22 = item22; break;
            case kItemLives: saved.m_nItem23 = item23; break;
            case kItemBgm: saved.m_nItem24 = item24; break;
            case kItemCharaEffect:
                saved.m_Chara.m_nCharaEffect = item4a;
                saved.m_Chara.m_nCharaEffectB = static_cast<uint8_t>(std::clamp<int32_t>(item4b, 0, 255));
                saved.m_Chara.m_nCharaEffectA = item4c;
                break;
            default: kCopy[item](saved.m_Chara, hero); break;
        }
        progress.m_vecCarriedItem[static_cast<size_t>(item)] = 1;
    }
}

void ApplyCarryOver(cGameProgress& progress, int player, cEdChara& placed, cStage& stage) {
    if (!progress.m_bCarried) return;
    const cSavedChara& saved = progress.m_vecSavedChara.at(player);
    const cEdChara& from = saved.m_Chara;
    for (int item = 0; item < kCarryItemCount; ++item) {
        if (!CarriedFlag(progress, item)) continue;
        switch (item) {
            case kItemHP:
            case kItemSP: break;  // GetCarriedCounters
            case kItemTime: stage.m_nTimeLimit = saved.m_nItem22; break;
            case kItemLives: progress.m_nLives = saved.m_nItem23; break;
            case kItemBgm: stage.m_bKeepBgm = saved.m_nItem24; break;
            case kItemGraphic:
                kCopy[item](placed, from);
                if (placed.m_nGraphic == 0) placed.m_nGraphic = 1;
                break;
            case kItemAnimeSet:
                if (placed.m_nAnimeSet != from.m_nAnimeSet) placed.m_nAnimeSet = from.m_nAnimeSet;
                break;
            default: kCopy[item](placed, from); break;
        }
    }
}

void GetCarriedCounters(cGameProgress& progress, int player, int32_t& out11, int32_t& out12) {
    if (!progress.m_bCarried) return;
    const cSavedChara& saved = progress.m_vecSavedChara.at(player);
    if (CarriedFlag(progress, kItemHP)) out11 = saved.m_nItem11;
    if (CarriedFlag(progress, kItemSP)) out12 = saved.m_nItem12;
}
