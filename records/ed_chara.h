// Chara definition: looks, side, body statistics, hit settings, activation,
// presence conditions and flows. Definitions live in the common palette,
// the stage's chara palette and the stage's placed charas (which also carry
// their cell and the item they hold); saved game progress keeps them too.
//
// Body (after the base body of 53 fields, fewer in older versions, and the
// name): int16 x, int16 y, int32 carried item, int32 flag count + one byte
// per inherit flag (none when the count is 0), int32 condition count +
// cCond bodies, int32 flow count + cEdFlow bodies.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "records/cond.h"
#include "records/data_record.h"
#include "records/ed_flow.h"
#include "records/palette_inherit.h"

class cEdChara : public cRecord<cEdChara> {
public:
    // Compiled once, in ed_chara.cpp (copies of the whole record are large).
    cEdChara();
    cEdChara(const cEdChara&);
    cEdChara(cEdChara&&) noexcept;
    cEdChara& operator=(const cEdChara&);
    cEdChara& operator=(cEdChara&&) noexcept;
    ~cEdChara() override;

    static constexpr int kGroups = 37;

    int16_t m_nX = 0;  // cell of a placed chara
    int16_t m_nY = 0;
    int32_t m_nCarriedItem = 0;  // placed item the chara carries; -1 none
    int8_t m_nPaletteSource = PAL_NONE;
    int16_t m_nPaletteIndex = 0;
    std::vector<uint8_t> m_vecInherit = std::vector<uint8_t>(kGroups, 0);
    std::string m_strName;
    std::vector<cCond> m_vecCond;  // the chara is present while they hold
    int8_t m_nCondMode = 0;
    int8_t m_bCondLatch = 0;
    int8_t m_nFacing = 0;  // 0 left, 1 right
    int8_t m_nCopies = 0;  // a placement makes m_nCopies + 1 charas
    int16_t m_nCopyOffsetX = 0;
    int16_t m_nCopyStepX = 0;
    int16_t m_nCopyOffsetY = 0;
    int16_t m_nCopyStepY = 0;
    int8_t m_bMirrorCopyX = 0;
    int8_t m_bMirrorCopyY = 0;
    int16_t m_nGraphic = 0;  // 0: empty entry
    int8_t m_nGraphicKind = 1;
    int16_t m_nGraphicCell = 0;
    int16_t m_nAnimeSet = 0;
    int8_t m_nZ = 3;
    int8_t m_bTransparent = 0;
    int16_t m_nCharaEffect = 0;
    int8_t m_nCharaEffectA = 0;
    uint8_t m_nCharaEffectB = 1;
    int16_t m_nVanishEffect = 0;
    int8_t m_nVanishEffectA = 0;
    int8_t m_bBadge = 0;
    int16_t m_nBadge = 0;
    int8_t m_nSide = 1;  // 0 player, 1 computer
    int8_t m_nPlayer = 0;
    int8_t m_nGroup = 1;
    int8_t m_nCharaId = 0;
    int8_t m_nMoveType = 0;
    int8_t m_bFixedFacing = 1;
    int8_t m_nInvincible = 0;
    int8_t m_nInvincibleBlend = 0;
    int8_t m_bBlockChara = 0;
    int8_t m_nSize = 1;
    int8_t m_bSyncAutoScroll = 0;
    int8_t m_nLightShape = 0;
    int8_t m_nViewRange = 0;
    int32_t m_nMaxHP = 10;
    int32_t m_nMaxSP = 0;
    int16_t m_nFriction = 10;
    int8_t m_nHitRange = 0;
    int32_t m_nAttack = 0;
    int8_t m_nImpact = 0;
    int16_t m_nHitEffect = 0;
    int32_t m_nDefence = 0;
    int8_t m_nImpactResist = 0;
    int32_t m_nScore = 0;
    int8_t m_bExtraSwitch = 1;
    int8_t m_bActivationSwitch = 0;
    int16_t m_nActivationSwitchNo = 0;
    int8_t m_nActivationRange = 0;
    int8_t m_nActivationMode = 0;
    std::vector<cEdFlow> m_vecFlow;

    template <class F>
    void Fields(F& f) {
        f.Field("m_nPaletteSource", m_nPaletteSource);
        f.Field("m_nPaletteIndex", m_nPaletteIndex);
        f.Field("m_nCondMode", m_nCondMode);
        f.Field("m_bCondLatch", m_bCondLatch);
        f.Field("m_nFacing", m_nFacing);
        f.Field("m_nCopies", m_nCopies);
        f.Field("m_nCopyOffsetX", m_nCopyOffsetX);
        f.Field("m_nCopyStepX", m_nCopyStepX);
        f.Field("m_nCopyOffsetY", m_nCopyOffsetY);
        f.Field("m_nCopyStepY", m_nCopyStepY);
        f.Field("m_bMirrorCopyX", m_bMirrorCopyX);
        f.Field("m_bMirrorCopyY", m_bMirrorCopyY);
        f.Field("m_nGraphic", m_nGraphic);
        f.Field("m_nGraphicKind", m_nGraphicKind);
        f.Field("m_nGraphicCell", m_nGraphicCell);
        f.Field("m_nAnimeSet", m_nAnimeSet);
        f.Field("m_nZ", m_nZ);
        f.Field("m_bTransparent", m_bTransparent);
        f.Field("m_nCharaEffect", m_nCharaEffect);
        if (f.Since(196)) f.Field("m_nCharaEffectA", m_nCharaEffectA);
        f.Field("m_nCharaEffectB", m_nCharaEffectB);
        f.Field("m_nVanishEffect", m_nVanishEffect);
        if (f.Since(196)) f.Field("m_nVanishEffectA", m_nVanishEffectA);
        f.Field("m_bBadge", m_bBadge);
        f.Field("m_nBadge", m_nBadge);
        f.Field("m_nSide", m_nSide);
        f.Field("m_nPlayer", m_nPlayer);
        f.Field("m_nGroup", m_nGroup);
        f.Field("m_nCharaId", m_nCharaId);
        f.Field("m_nMoveType", m_nMoveType);
        f.Field("m_bFixedFacing", m_bFixedFacing);
        f.Field("m_nInvincible", m_nInvincible);
        if (f.Since(285)) f.Field("m_nInvincibleBlend", m_nInvincibleBlend);
        f.Field("m_bBlockChara", m_bBlockChara);
        f.Field("m_nSize", m_nSize);
        if (f.Since(210)) f.Field("m_bSyncAutoScroll", m_bSyncAutoScroll);
        f.Field("m_nLightShape", m_nLightShape);
        f.Field("m_nViewRange", m_nViewRange);
        f.Field("m_nMaxHP", m_nMaxHP);
        f.Field("m_nMaxSP", m_nMaxSP);
        f.Field("m_nFriction", m_nFriction);
        if (f.Since(201)) f.Field("m_nHitRange", m_nHitRange);
        f.Field("m_nAttack", m_nAttack);
        f.Field("m_nImpact", m_nImpact);
        f.Field("m_nHitEffect", m_nHitEffect);
        if (f.Since(168)) f.Field("m_nDefence", m_nDefence);
        f.Field("m_nImpactResist", m_nImpactResist);
        f.Field("m_nScore", m_nScore);
        f.Field("m_bExtraSwitch", m_bExtraSwitch);
        f.Field("m_bActivationSwitch", m_bActivationSwitch);
        f.Field("m_nActivationSwitchNo", m_nActivationSwitchNo);
        f.Field("m_nActivationRange", m_nActivationRange);
        f.Field("m_nActivationMode", m_nActivationMode);
        f.String("m_strName", m_strName);
        f.Raw("m_nX", m_nX);
        f.Raw("m_nY", m_nY);
        f.Raw("m_nCarriedItem", m_nCarriedItem);
        f.Vector("m_vecInherit", m_vecInherit, VectorRule::KeepIfNone);
        f.Vector("m_vecCond", m_vecCond);
    }
    // The flows (each read into a flow made for reading), and the
    // inherited groups by name in the dump.
    bool LoadExtra(cByteReader& r, const cLoadContext& ctx);
    void SaveExtra(cByteWriter& w, uint32_t nVersion);
    void DumpExtra(cDumper& d);
    // Test-play flows dropped, upgrades of older files, Inherit and
    // ValidateRefs against the current context.
    void OnLoaded(const cLoadContext& ctx);
    void OnSaving() { ValidateRefs(CurrentDefContext()); }

    // The constructor's reset on an existing definition: carried item 0,
    // fields and name cleared, 37 zero flags, the defaults. Cell,
    // conditions and flows stay.
    void Init();

    // The upgrade steps for a file of the given version (below 1000).
    void Upgrade(const cLoadContext& ctx);
    void Inherit(const cDefContext& ctx);
    // References outside their palette or table reset, size at least 1,
    // player charas neither block charas nor copied, flows checked and the
    // empty ones removed.
    void ValidateRefs(const cDefContext& ctx);
    // The palette references inside every command of every flow.
    void ValidateCommandRefs(const cDefContext& ctx);

    // Offset of copy n of a placed chara with the given facing.
    int CalcScaledX(int n, int nFacing) const;
    int CalcScaledY(int n, int nFacing) const;

    static std::span<const cInheritGroup<cEdChara>> InheritTable();
};
extern template class cRecord<cEdChara>;

// A flow with nothing in it: no ID, no group, trigger 0, no conditions,
// key conditions or commands.
bool IsEmptyFlow(const cEdFlow& f);
