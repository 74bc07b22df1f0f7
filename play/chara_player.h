// The chara steered by a human player: sizes from the stage's hero
// settings, an item pickup box, a view that follows it, a jump whose height
// depends on how long the key is held, items that run their commands on it.
#pragma once
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "play/chara.h"
#include "play/play_result.h"

struct PopupGraphic;

class cInput;
struct DDSURFACEDATA;

// An entry of the hit-box display. Offsets are relative to x, y.
struct HitBoxEntry {
    int32_t nKind = 0;   // 0 collision box, 1 body box, 2 item box, 3 shot box
    int32_t nShown = 0;  // 0 hidden, 1 filled, 2 frame only
    int32_t nColor = 0;  // index of the colour list; 7 cycles
    int32_t nOffsetX = 0, nOffsetY = 0, nWidth = 0, nHeight = 0;
    int32_t nBlink = 0;  // 0..31
};

class cCharaPlayer : public cChara {
public:
    cCharaPlayer() = default;
    cCharaPlayer(const cCharaPlayer&) = default;
    cCharaPlayer& operator=(const cCharaPlayer&) = default;
    ~cCharaPlayer() override = default;

    void ScaleHitBoxes(int m) override;
    void UpdateHitBoxX() override;
    void UpdateHitBoxY() override;
    void AfterMoveX() override;
    void AfterMoveY() override;
    int MoveX() override;
    int MoveY() override;
    // One sub-step; 1 when the player is to die.
    virtual int UpdateChara(int dying);  // 19
    virtual void Jump(cFlowCmd& cmd);    // 20

    void InitPlayer(const cEdChara& def, int key);
    // Offset x, offset y, width and height of the collision box for the
    // current movement.
    void GetPlayerSizes(int& offsetX, int& offsetY, int& width, int& height) const;
    void SetMoveType(int type, int rescale, int saveBox, int restoreOnChange);
    void BuildHitBoxList();
    void UpdatePlayerScreenRect();
    void RememberFootBlock() { m_nPrevFootBlock = m_nFootBlock; }
    void RememberFacing() { m_nPrevFacing = m_nFacing; }
    int RestoreAfterTypeChange();
    int IsNewTouch(int itemKey) const;
    void ForgetTouch(int itemKey);
    void ShowPickupMessage(const std::string& text, int x, int y, const PopupGraphic& graphic);
    // The commands of an item on this player, with the item's flow
    // variables: StageClear from a stage-clear command, Miss when the player
    // died.
    PlayResult RunItemCommands(std::vector<cEdFlowCmd>& cmds, int32_t* itemVars);
    void DrawLight(DDSURFACEDATA* dst, DDSURFACEDATA* mask);
    void DrawHitBoxes(DDSURFACEDATA* dst);

    cInput* m_lpInput = nullptr;
    int32_t m_bDirLock = 0;     // the play step clears the direction bits
    int32_t m_bButtonLock = 0;  // the play step clears the button bits
    int32_t m_nHoldCounter = 0;
    int32_t m_bHoldAllowed = 1;
    int32_t m_bFootBlockJump = 0;
    double m_dConveyorSpeed = 0.0;
    int32_t m_bJumpHandled = 0;
    int32_t m_abTouch[2] = {};
    int32_t m_nPrevFacing = 0;
    int32_t m_nPrevFootBlock = 0;
    int32_t m_bBoxSaved = 0;
    double m_adTypeBox[4] = {};  // x, y, right, bottom before a movement type change
    int32_t m_bRestoreRequest = 0;
    std::list<int32_t> m_lstTouchedItems;
    int32_t m_nFootKind = 0;  // 3: scales walking by the factor
    double m_dFootFactor = 0.0;
    int32_t m_bFootFlag = 0;
    int32_t m_nFootTimer = 0;      // sub-steps left of the running foot-block effect
    int32_t m_nFootItemTimer = 0;  // sub-steps before a foot block's item is given again
    int32_t m_bSlip = 0;           // stands on a slippery block
    int32_t m_nSubStepCounter = 0;
    CharaHitBox m_HitBox3;  // item pickup box
    std::vector<HitBoxEntry> m_vHitBoxList;
    std::vector<cEdFlowCmd> m_vecPendingFlowChange;
    cCheckedList<cArrange> m_lstArrange;

private:
    // Hold counter 0, hold allowed, not blocked.
    void ResetJumpHold();
};
