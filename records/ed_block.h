// Block definition: one 32 x 32 cell of a stage's map. Definitions live in
// the common palette, the stage's block palette and the stage's placed
// blocks (which also carry their cell).
//
// Body (after the base body of 18 fields and the name): int16 x, int16 y,
// int32 flag count + one byte per inherit flag (none when the count is 0),
// int32 condition count + cCond bodies.
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "records/cond.h"
#include "records/data_record.h"
#include "records/palette_inherit.h"

struct DDSURFACEDATA;

class cEdBlock : public cRecord<cEdBlock> {
public:
    // Compiled once, in ed_block.cpp (copies of the whole record are large).
    cEdBlock();
    cEdBlock(const cEdBlock&);
    cEdBlock(cEdBlock&&) noexcept;
    cEdBlock& operator=(const cEdBlock&);
    cEdBlock& operator=(cEdBlock&&) noexcept;
    ~cEdBlock() override;

    static constexpr int kGroups = 11;

    enum HitMode : int { HIT_NONE = 0, HIT_SOLID = 1, HIT_DEADLY = 2 };
    enum FootEffect : int { FOOT_NONE = 0, FOOT_JUMP, FOOT_NO_JUMP, FOOT_SPEED, FOOT_LEFT, FOOT_RIGHT };

    int16_t m_nX = 0;  // cell of a placed block
    int16_t m_nY = 0;
    int8_t m_nPaletteSource = PAL_NONE;
    int16_t m_nPaletteIndex = 0;
    std::vector<uint8_t> m_vecInherit = std::vector<uint8_t>(kGroups, 0);
    std::string m_strName;
    std::vector<cCond> m_vecCond;  // the block exists while they hold
    int8_t m_nCondMode = 0;        // 0 all must hold, 1 one suffices
    int8_t m_bCondLatch = 0;       // once held in a cell, held for good there
    int16_t m_nGraphic = 0;        // 0: no block in the cell
    int8_t m_nGraphicKind = 0;     // 0 block sheet, 1 chara, 2 item, 3 shot, 4 own bitmap
    int16_t m_nGraphicCell = 0;
    int8_t m_nLayer = 0;  // 0 behind the objects, 1 in front
    int8_t m_bHidden = 0;
    int8_t m_bOverlay = 0;
    int16_t m_nOverlayIcon = 0;
    int8_t m_nHitMode = HIT_SOLID;
    int8_t m_nExemptGroup = -1;  // block-pass class the block does not hit; -1 none
    int8_t m_nFootEffect = FOOT_NONE;
    int32_t m_nFootValue = 0;
    int8_t m_nItemSource = PAL_NONE;  // an item the block carries
    int16_t m_nItemIndex = 0;
    int8_t m_bNoOverwrite = 0;  // a summoned block does not replace it

    template <class F>
    void Fields(F& f) {
        f.Field("m_nPaletteSource", m_nPaletteSource);
        f.Field("m_nPaletteIndex", m_nPaletteIndex);
        f.Field("m_nCondMode", m_nCondMode);
        f.Field("m_bCondLatch", m_bCondLatch);
        f.Field("m_nGraphic", m_nGraphic);
        f.Field("m_nGraphicKind", m_nGraphicKind);
        f.Field("m_nGraphicCell", m_nGraphicCell);
        f.Field("m_nLayer", m_nLayer);
        f.Field("m_bHidden", m_bHidden);
        f.Field("m_bOverlay", m_bOverlay);
        f.Field("m_nOverlayIcon", m_nOverlayIcon);
        f.Field("m_nHitMode", m_nHitMode);
        f.Field("m_nExemptGroup", m_nExemptGroup);
        f.Field("m_nFootEffect", m_nFootEffect);
        f.Field("m_nFootValue", m_nFootValue);
        f.Field("m_nItemSource", m_nItemSource);
        f.Field("m_nItemIndex", m_nItemIndex);
        f.Field("m_bNoOverwrite", m_bNoOverwrite);
        f.String("m_strName", m_strName);
        f.Raw("m_nX", m_nX);
        f.Raw("m_nY", m_nY);
        f.Vector("m_vecInherit", m_vecInherit, VectorRule::KeepIfNone);
        f.Vector("m_vecCond", m_vecCond);
    }
    // The inherited groups by name.
    void DumpExtra(cDumper& d);
    // Upgrade, Inherit and ValidateRefs against the current context.
    void OnLoaded(const cLoadContext& ctx);
    void OnSaving() { ValidateRefs(CurrentDefContext()); }

    // Fields and name cleared, then the defaults and eleven zero flags;
    // the conditions and the cell stay.
    void SetDefaults();

    void Inherit(const cDefContext& ctx);
    // The palette reference reset when outside its palette; a block without
    // a graphic neither hits nor refuses to be overwritten.
    void ValidateRefs(const cDefContext& ctx);
    // The carried item's reference reset when outside its palette.
    void ValidateItemRef(const cDefContext& ctx);

    static std::span<const cInheritGroup<cEdBlock>> InheritTable();

    // Play (play/ed_block_play.cpp): the block's 32 x 32 picture with its
    // overlay icon at (x, y). The hit mode of a map cell is cMapCell's.
    void DrawIcon(DDSURFACEDATA* surface, int x, int y);
};
extern template class cRecord<cEdBlock>;
