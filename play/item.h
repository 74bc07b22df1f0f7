// An item lying in the stage, carried by a computer chara, or built for one
// use (the item of a foot block). It holds its own copy of its definition;
// when the player touches it, the player runs the item's commands.
#pragma once
#include <cstdint>

#include "media/gfx/dd_state.h"
#include "play/object.h"
#include "records/ed_item.h"

class cItem : public cObject {
public:
    cItem() = default;
    cItem(const cItem&) = default;
    cItem& operator=(const cItem&) = default;
    ~cItem() override = default;

    void ScaleHitBoxes(int) override {}
    void KeepBaseOnScale(int newScale, int oldScale, int keep) override;
    void UpdateHitBoxX() override {}
    void UpdateHitBoxY() override {}

    // Copies the definition (size 0 counts as 1) and sets the object up as
    // a flying item centred in its cell; a temporary item acts at once and
    // is never scaled. The command list's loops are expanded.
    void InitItem(int key, const cEdItem& def, int temporary);
    // Puts the item on stage cell (col, row), counted from the stage's
    // first cell after the border.
    void PlaceItemAtCell(int col, int row, int keep);
    // Draws the item at its screen box; advance steps its animation by one tick.
    void DrawItem(DDSURFACEDATA* dst, int advance);

    // Where overlay icon n lies in the overlay sheet (15 icons to a column).
    static void OverlayIconSource(int n, int& sx, int& sy) {
        sx = (n / 15) * 32;
        sy = (n % 15) * 32;
    }

    cEdItem m_Def;
    int32_t m_anFlowVars[2] = {};  // the variables the item's commands use
    int32_t m_bTemporary = 0;
    int32_t m_bCondHeld = 0;  // its conditions have held once
};
