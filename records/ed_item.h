// Item definition: looks, how it can be taken, the window and sound that
// acknowledge the taking, presence conditions and the item commands run on
// the taker. Definitions live in the common palette, the stage's item
// palette and the stage's placed items (which also carry their cell).
//
// Body (after the base body of 17 fields and the name): int16 x, int16 y,
// int32 flag count + one byte per inherit flag (none when the count is 0),
// int32 condition count + cCond bodies, int32 command count + cEdFlowCmd
// bodies (item commands).
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "records/cond.h"
#include "records/data_record.h"
#include "records/ed_flow.h"
#include "records/palette_inherit.h"

class cEdItem : public cRecord<cEdItem> {
public:
    // Compiled once, in ed_item.cpp (copies of the whole record are large).
    cEdItem();
    cEdItem(const cEdItem&);
    cEdItem(cEdItem&&) noexcept;
    cEdItem& operator=(const cEdItem&);
    cEdItem& operator=(cEdItem&&) noexcept;
    ~cEdItem() override;

    static constexpr int kGroups = 13;

    enum TakeMode : int { TAKE_ONCE = 0, TAKE_ALWAYS = 1, TAKE_NEVER = 2 };

    int16_t m_nX = 0;  // cell of a placed item
    int16_t m_nY = 0;
    int8_t m_nPaletteSource = PAL_NONE;
    int16_t m_nPaletteIndex = 0;
    std::vector<uint8_t> m_vecInherit = std::vector<uint8_t>(kGroups, 0);
    std::string m_strName;
    std::vector<cCond> m_vecCond;
    int8_t m_nCondMode = 0;
    int8_t m_bCondLatch = 0;
    int16_t m_nOffsetX = 0;  // dots from the cell
    int16_t m_nOffsetY = 0;
    int16_t m_nGraphic = 0;  // 0: empty entry
    int8_t m_nGraphicKind = 2;
    int16_t m_nGraphicCell = 0;
    int8_t m_nSetting5 = 6;  // kept, copied and inherited
    int8_t m_bHidden = 0;
    int8_t m_bOverlay = 0;
    int16_t m_nOverlayIcon = 0;
    int8_t m_nTakeMode = TAKE_ONCE;
    int8_t m_bPickupWindow = 1;
    int8_t m_nSize = 1;
    int16_t m_nSound = 0;  // played when taken; 0 none
    std::vector<cEdFlowCmd> m_vecCmd;

    template <class F>
    void Fields(F& f) {
        f.Field("m_nPaletteSource", m_nPaletteSource);
        f.Field("m_nPaletteIndex", m_nPaletteIndex);
        f.Field("m_nCondMode", m_nCondMode);
        f.Field("m_bCondLatch", m_bCondLatch);
        f.Field("m_nOffsetX", m_nOffsetX);
        f.Field("m_nOffsetY", m_nOffsetY);
        f.Field("m_nGraphic", m_nGraphic);
        f.Field("m_nGraphicKind", m_nGraphicKind);
        f.Field("m_nGraphicCell", m_nGraphicCell);
        f.Field("m_nSetting5", m_nSetting5);
        f.Field("m_bHidden", m_bHidden);
        f.Field("m_bOverlay", m_bOverlay);
        f.Field("m_nOverlayIcon", m_nOverlayIcon);
        f.Field("m_bPickupWindow", m_bPickupWindow);
        f.Field("m_nTakeMode", m_nTakeMode);
        f.Field("m_nSize", m_nSize);
        f.Field("m_nSound", m_nSound);
        f.String("m_strName", m_strName);
        f.Raw("m_nX", m_nX);
        f.Raw("m_nY", m_nY);
        f.Vector("m_vecInherit", m_vecInherit, VectorRule::KeepIfNone);
        f.Vector("m_vecCond", m_vecCond);
        f.Vector("m_vecCmd", m_vecCmd);
    }
    // The inherited groups by name.
    void DumpExtra(cDumper& d);
    // Upgrade, Inherit and ValidateRefs against the current context.
    void OnLoaded(const cLoadContext& ctx);
    void OnSaving() { ValidateRefs(CurrentDefContext()); }

    // Fields and name cleared, 13 zero flags, the defaults; cell,
    // conditions and commands stay.
    void Init();

    void Inherit(const cDefContext& ctx);
    // Reference outside its palette reset, size at least 1, sound outside
    // the database 0, every command checked.
    void ValidateRefs(const cDefContext& ctx);
    // The palette references inside every command.
    void ValidateCommandRefs(const cDefContext& ctx);

    static std::span<const cInheritGroup<cEdItem>> InheritTable();
};
extern template class cRecord<cEdItem>;

// Item nIndex of the common (source 1) or stage (source 2) palette; null
// for any other source or an index, taken as an unsigned 16-bit value, not
// below that palette's item count.
const cEdItem* FindItemDef(int nSource, int16_t nIndex, const cDefContext& ctx);
const cEdItem* FindItemDef(int nSource, int16_t nIndex);
