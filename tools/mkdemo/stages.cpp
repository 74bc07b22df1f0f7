#include "tools/mkdemo/stages.h"

#include <initializer_list>
#include <utility>

#include "records/cmd_kinds.h"
#include "records/cond.h"
#include "records/ed_flow.h"
#include "tools/mkdemo/flow_parts.h"

namespace demo {

namespace {

constexpr int kWidth = 40, kHeight = 15, kFloorRow = kHeight - 2;
// Key channels of a key step: direction codes, then the buttons.
constexpr int kKeyLeft = 1, kKeyRight = 2, kKeyButton0 = 11, kKeyButton1 = 12;

// A straight move of a tenth of a second (speed in tenths of a dot a frame).
cEdFlowCmd Walk(int direction, int speed, int time) {
    cEdFlowCmd c = Cmd(cEdFlowCmd::FAMILY_CHARA, CMD_MOVE_STRAIGHT, {}, time);
    cEdMove& m = c.m_spMove.Create();
    m.m_nDirection = static_cast<int8_t>(direction);
    m.m_nSpeed = static_cast<int16_t>(speed);
    return c;
}

cEdChara Hero(int x) {
    cEdChara hero;
    hero.m_strName = "Hero";
    hero.m_nX = static_cast<int16_t>(x);
    hero.m_nY = static_cast<int16_t>(kFloorRow - 1);
    hero.m_nGraphic = 1;  // bmp\Character1.bmp
    hero.m_nSide = 0;     // the player's side
    hero.m_nGroup = 0;
    hero.m_nFacing = 1;
    hero.m_nMaxHP = 3;
    hero.m_vecFlow = {
        KeyFlow(1, kKeyRight, true, {Walk(DIR_RIGHT, 30, 1)}),
        KeyFlow(2, kKeyLeft, true, {Walk(DIR_LEFT, 30, 1)}),
        KeyFlow(3, kKeyButton0, false, {Cmd(cEdFlowCmd::FAMILY_CHARA, CMD_JUMP, {0, 0, 3}, 1)}),
        KeyFlow(4, kKeyButton1, false, {SpreadShot()}),
    };
    return hero;
}

// An enemy walking back and forth on the floor; a touch hurts the hero.
cEdChara Enemy(int x) {
    cEdChara c;
    c.m_strName = "Walker";
    c.m_nX = static_cast<int16_t>(x);
    c.m_nY = static_cast<int16_t>(kFloorRow - 1);
    c.m_nSide = 1;
    c.m_nGroup = 1;
    c.m_nFacing = 0;
    c.m_nGraphic = 2;  // the walker's row of bmp\Character1.bmp
    c.m_nMaxHP = 5;
    c.m_nAttack = 1;
    c.m_nScore = 100;
    c.m_vecFlow = {Flow(1, {Walk(DIR_FORWARD, 8, 15), Cmd(cEdFlowCmd::FAMILY_CHARA, CMD_CHANGE_FACING, {}, 1)})};
    return c;
}

// Item pictures: 1 a coin, 4 a chest.
cEdItem Item(int x, int y, std::vector<cEdFlowCmd> cmds, int graphic = 1) {
    cEdItem item;
    item.m_nX = static_cast<int16_t>(x);
    item.m_nY = static_cast<int16_t>(y);
    item.m_nGraphic = static_cast<int16_t>(graphic);
    item.m_bPickupWindow = 0;
    item.m_nTakeMode = cEdItem::TAKE_ONCE;
    item.m_vecCmd = std::move(cmds);
    return item;
}

cEdBlock Block(int x, int y, int graphic) {
    cEdBlock b;
    b.m_nX = static_cast<int16_t>(x);
    b.m_nY = static_cast<int16_t>(y);
    b.m_nGraphic = static_cast<int16_t>(graphic);
    b.m_nHitMode = cEdBlock::HIT_SOLID;
    return b;
}

// Present once stage variable 0 (always 0) has met a number drawn from 0..7,
// and present for good from then on.
cEdBlock ChanceBlock(int x, int y) {
    cEdBlock b = Block(x, y, 4);  // the chance block picture
    cCond c;
    c.m_nKind = COND_STATUS;
    c.m_nLeftSource = 1;
    c.m_nLeftVarKind = 1;
    c.m_nVarIndex = 0;
    c.m_nOp = COND_OP_EQUAL;
    c.m_nRightSource = 1;
    c.m_nRandomMin = 0;
    c.m_nRandomMax = 7;
    b.m_vecCond.push_back(c);
    b.m_bCondLatch = 1;
    return b;
}

}  // namespace

// Three shots forward, each turned by chance within 12 degrees.
cEdFlowCmd SpreadShot() {
    cEdFlowCmd c = Cmd(cEdFlowCmd::FAMILY_CHARA, CMD_SHOT, {}, 1);
    cEdShot& s = c.m_spShot.Create();
    s.m_nCount = 1;
    s.m_nFormation = FORMATION_STRAIGHT_A;
    s.m_nDirection = DIR_FORWARD;
    s.m_nAngle = 90;
    s.m_nSpread = 12;
    s.m_nClones = 2;
    s.m_nGraphic = 1;
    s.m_nSize = 1;
    s.m_nSpeed = 60;
    s.m_bUseRange = 1;
    s.m_nRange = 24;
    s.m_nPower = 5;
    return c;
}

cStage DemoStage(const char* name, int number) {
    cStage stage;
    stage.m_strName = name;
    stage.m_nWidth = kWidth;
    stage.m_nHeight = kHeight;
    stage.m_bReplaySave = 1;
    for (int y = kFloorRow; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) stage.m_vecPlacedBlock.push_back(Block(x, y, 2));  // grass on earth
    // A row of blocks that may come by chance.
    for (int x = 6; x <= 9; ++x) stage.m_vecPlacedBlock.push_back(ChanceBlock(x, kFloorRow - 4));
    stage.m_vecPlacedChara.push_back(Hero(3));
    for (int x : {16 + number, 25, 31 - number}) stage.m_vecPlacedChara.push_back(Enemy(x));
    for (int x : {7, 8, 20 + number, 27}) stage.m_vecPlacedItem.push_back(Item(x, kFloorRow - 2, {}));
    // The goal before the walkers clears the stage (no next stage).
    const cEdFlowCmd clear = Cmd(cEdFlowCmd::FAMILY_ITEM, ICMD_STAGE_CLEAR, {3});
    stage.m_vecPlacedItem.push_back(Item(14, kFloorRow - 1, {clear}, 4));
    return stage;
}

}  // namespace demo
