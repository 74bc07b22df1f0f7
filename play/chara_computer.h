// Every chara not steered by a player: enemies, allies, moving platforms
// (block charas) and summoned charas. Its sizes come from the stage's
// settings for other charas; it acts only inside its activation range or
// once its activation switch is on, and it may carry an item.
#pragma once
#include <cstdint>

#include "media/gfx/dd_state.h"
#include "play/chara.h"
#include "play/item.h"

class cCharaComputer : public cChara {
public:
    cCharaComputer() = default;
    cCharaComputer(const cCharaComputer&) = default;
    cCharaComputer& operator=(const cCharaComputer&) = default;
    ~cCharaComputer() override = default;

    void ScaleHitBoxes(int m) override;
    void UpdateHitBoxX() override;
    void UpdateHitBoxY() override;
    cObject* GetCarriedItem() override { return &m_CarriedItem; }
    void AfterMoveX() override { ClampToStageX(2); }
    void AfterMoveY() override { ClampToStageY(2); }
    // Codes of MoveByX, a stop at the stage's side reported as 4.
    int MoveX() override;
    // Codes of MoveByY; 7 when a walker falls out below, 8 when a flyer is
    // stopped at the stage's top or bottom.
    int MoveY() override;
    // One sub-step of the chara's flows; 1 when the chara is to die.
    virtual int UpdateChara(int dying);  // 19
    // A fixed jump with the command's launch speed.
    virtual void Jump(cFlowCmd& cmd);  // 20

    // item may be null (nothing carried); placement: four values or null.
    void InitComputer(int key, const cEdChara& def, const cItem* item, const int32_t* placement, int clone);
    // Puts the chara on stage cell (col, row), counted after the border.
    void PlaceAtCell(int col, int row);
    // 1 when the collision box meets the box (closed intervals).
    int BoxIntersects(double left, double top, double right, double bottom) const;
    // 1 when the chara lies in the view on the axes that are tested; turns
    // its activation switch on then.
    int CheckActivationRange();
    // 1 when the chara takes part in this sub-step.
    int UpdateActing();
    // The carried item's blinking icon above the chara.
    void DrawCarriedItemIcon(DDSURFACEDATA* dst);

    int32_t m_bInRange = 0;
    cItem m_CarriedItem;  // empty when its definition's graphic number is 0
    int32_t m_bShowCarriedItem = 0;
    int32_t m_nIconCounter = 0;  // 0..95; the icon shows from 64 on
    int32_t m_bSkipRangeX = 0, m_bSkipRangeY = 0;
    int32_t m_bAppeared = 0;
    int32_t m_nSpare = 0;

private:
    int InActivationRange(int skipX, int skipY) const;
};

// The computer charas of the stage, in play order.
extern cCheckedList<cCharaComputer> g_lstCharas;
// The items lying in the stage.
extern cCheckedList<cItem> g_lstItems;

// A solid for the chara with the given key: a block chara that is not dead,
// acts and is another chara.
inline bool IsSolidFor(const cCharaComputer& s, int key) {
    return s.m_Def.m_bBlockChara && !s.m_bDead && s.m_bActing && s.m_nKey != key;
}

// 1 when a solid (see IsSolidFor; its key not excludeKey either) overlaps
// or touches the owner's collision box, or the given box of the owner;
// always 0 for a flyer that passes through everything.
int IsOverlappingSolid(const cChara& owner, const cCheckedList<cCharaComputer>& list, int excludeKey);
int IsOverlappingSolid(const cChara& owner, const double box[4], const cCheckedList<cCharaComputer>& list,
                       int excludeKey);
