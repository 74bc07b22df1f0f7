#include "tools/mkdemo/stages.h"

#include <cstring>
#include <initializer_list>
#include <utility>
#include <vector>

#include "records/cmd_kinds.h"
#include "records/cond.h"
#include "records/ed_flow.h"
#include "tools/mkdemo/flow_parts.h"

namespace demo {

namespace {

constexpr int kHeight = 15, kFloorRow = kHeight - 2;
// Key channels of a key step: direction codes, then the buttons.
constexpr int kKeyLeft = 1, kKeyRight = 2, kKeyButton0 = 11, kKeyButton1 = 12;
constexpr int F_CHARA = cEdFlowCmd::FAMILY_CHARA, F_ITEM = cEdFlowCmd::FAMILY_ITEM;
// Sound 1 of the database: a short blip.
constexpr int kSeBlip = 1;

// Block pictures of bmp\Block.bmp.
constexpr int kBrick = 1, kGrass = 2, kStone = 3, kChance = 4, kWater = 5;
// Chara rows of bmp\Character1.bmp.
constexpr int kHeroRow = 1, kGreenWalkerRow = 2, kBatRow = 3, kKnightRow = 4, kOrangeWalkerRow = 6,
              kRedBatRow = 7, kGoldKnightRow = 8, kGhostRow = 11;
// Item pictures of bmp\Item.bmp.
constexpr int kCoin = 1, kGem = 3, kChest = 4;

// A straight move (speed in tenths of a dot a frame, time in tenths of a
// second).
cEdFlowCmd Walk(int direction, int speed, int time) {
    cEdFlowCmd c = Cmd(F_CHARA, CMD_MOVE_STRAIGHT, {}, time);
    cEdMove& m = c.m_spMove.Create();
    m.m_nDirection = static_cast<int8_t>(direction);
    m.m_nSpeed = static_cast<int16_t>(speed);
    return c;
}

cEdFlowCmd Se() { return Cmd(F_CHARA, CMD_PLAY_SE, {kSeBlip}); }

cEdChara Chara(const char* name, int x, int y, int graphic, int hp) {
    cEdChara c;
    c.m_strName = name;
    c.m_nX = static_cast<int16_t>(x);
    c.m_nY = static_cast<int16_t>(y);
    c.m_nGraphic = static_cast<int16_t>(graphic);
    c.m_nSide = 1;
    c.m_nGroup = 1;
    c.m_nFacing = 0;
    c.m_nMaxHP = hp;
    c.m_nCarriedItem = -1;
    return c;
}

// The hero: arrows walk, Z jumps, X fires a spread of three shots.
cEdChara Hero(int x, int y) {
    cEdChara hero = Chara("Hero", x, y, kHeroRow, 3);
    hero.m_nSide = 0;  // the player's side
    hero.m_nGroup = 0;
    hero.m_nFacing = 1;
    hero.m_vecFlow = {
        KeyFlow(1, kKeyRight, true, {Walk(DIR_RIGHT, 30, 1)}),
        KeyFlow(2, kKeyLeft, true, {Walk(DIR_LEFT, 30, 1)}),
        KeyFlow(3, kKeyButton0, false, {Cmd(F_CHARA, CMD_JUMP, {0, 0, 3}, 1)}),
        KeyFlow(4, kKeyButton1, false, {SpreadShot()}),
    };
    return hero;
}

// An enemy pacing the ground it stands on, turning at walls and edges; a
// touch hurts the hero, and the hero's shots defeat it (each shot takes 5
// HP) with a blip.
cEdChara Walker(const char* name, int x, int y, int graphic, int hp) {
    cEdChara c = Chara(name, x, y, graphic, hp);
    c.m_nAttack = 1;
    c.m_nScore = 100;
    cEdFlowCmd pace = Cmd(F_CHARA, CMD_MOVE_GROUND_TURN, {}, 20);
    cEdMove& m = pace.m_spMove.Create();
    m.m_nDirection = DIR_FORWARD;
    m.m_nSpeed = 8;
    c.m_vecFlow = {Flow(1, {pace}), Flow(2, {Se()}, TRG_DIED)};
    return c;
}

// A flyer rising and sinking two blocks over where it is placed.
cEdChara Flyer(const char* name, int x, int y, int graphic) {
    cEdChara c = Chara(name, x, y, graphic, 4);
    c.m_nMoveType = 1;  // flying
    c.m_nAttack = 1;
    c.m_nScore = 200;
    c.m_vecFlow = {Flow(1, {Walk(DIR_DOWN, 10, 11), Walk(DIR_UP, 10, 11)}), Flow(2, {Se()}, TRG_DIED)};
    return c;
}

// A harmless volley of a castle archer (it stings, power 0): `count` shots
// in a formation toward a direction code, living two seconds.
cEdFlowCmd Volley(int formation, int direction, int count = 2) {
    cEdFlowCmd c = Cmd(F_CHARA, CMD_SHOT, {}, 1);
    cEdShot& s = c.m_spShot.Create();
    s.m_nCount = static_cast<int8_t>(count);
    s.m_nFormation = static_cast<int8_t>(formation);
    s.m_nDirection = static_cast<int8_t>(direction);
    s.m_nFormationParam[0] = formation == FORMATION_SPREAD ? 20 : 1;
    s.m_nFormationParam[1] = 2;
    s.m_nFormationParam[2] = 1;
    s.m_nOrigin = 1;  // thunder about the hero
    s.m_nGraphic = 2;
    s.m_nSize = 1;
    s.m_nSpeed = 30;
    s.m_bUseLife = 1;
    s.m_nLife = 20;
    return c;
}

// The same volley turned by an angle, about the archer when `rotate` is
// set, or aimed at the archer's target (the hero).
cEdFlowCmd TurnedVolley(int formation, int direction, int angle, bool rotate, bool aim) {
    cEdFlowCmd c = Volley(formation, direction);
    c.m_spShot->m_nAngle = static_cast<int16_t>(angle);
    c.m_spShot->m_bRotateOffset = rotate ? 1 : 0;
    c.m_spShot->m_bAimAtTarget = aim ? 1 : 0;
    return c;
}

// An archer of the castle guard: while the hero is near it takes him as
// its target and looses its volleys, one after another, then rests.
cEdChara Archer(int x, int y, std::vector<cEdFlowCmd> volleys) {
    cEdChara c = Chara("Archer", x, y, kGoldKnightRow, 8);
    c.m_nScore = 300;
    c.m_nInvincible = 1;  // behind their shields
    volleys.insert(volleys.begin(), Cmd(F_CHARA, CMD_SET_TARGET, std::vector<int32_t>(17, 0), 1));
    volleys.push_back(Cmd(F_CHARA, CMD_WAIT, {}, 20));
    cEdFlow shoot = Flow(1, std::move(volleys));
    cCond near;
    near.m_nKind = COND_DISTANCE;
    near.m_nValue = 40;
    shoot.m_vecCond.push_back(near);
    c.m_vecFlow = {shoot, Flow(2, {Se()}, TRG_DIED)};
    return c;
}

// A ghost: a flyer that drifts about the hero without harming him; its
// moves come from `moves`, run over and over.
cEdChara Ghost(int x, int y, std::vector<cEdFlowCmd> moves) {
    cEdChara c = Chara("Ghost", x, y, kGhostRow, 4);
    c.m_nMoveType = 1;  // flying
    c.m_nScore = 150;
    c.m_nCharaEffect = 6;  // it flickers from the start
    moves.insert(moves.begin(), Cmd(F_CHARA, CMD_SET_TARGET, std::vector<int32_t>(17, 0), 1));
    c.m_vecFlow = {Flow(1, std::move(moves)), Flow(2, {Se()}, TRG_DIED)};
    return c;
}

// A stone of the stage's block palette (entry 1) laid (mode 0), taken away
// (1) or turned over (2, laid where none is, else taken) one block above
// the summoner.
cEdFlowCmd Stone(int mode, bool sparePlayers = false) {
    cEdFlowCmd c = Cmd(F_CHARA, CMD_SUMMON_BLOCK, {0}, 1);
    cEdShot& s = c.m_spShot.Create();
    s.m_nCount = 1;
    s.m_nSize = 1;
    s.m_nSummonSource = 1;  // the stage palette
    s.m_nSummonEntry = 1;
    s.m_nOffsetY = -32;
    s.m_nBlockSummonMode = static_cast<int8_t>(mode);
    s.m_bSparePlayers = sparePlayers ? 1 : 0;
    return c;
}

cEdFlowCmd GhostMove(int kind, int speed, int time) {
    cEdFlowCmd c = Cmd(F_CHARA, kind, {}, time);
    cEdMove& m = c.m_spMove.Create();
    m.m_nDirection = DIR_FORWARD;
    m.m_nSpeed = static_cast<int16_t>(speed);
    return c;
}

cEdItem Item(int x, int y, int graphic, std::vector<cEdFlowCmd> cmds = {}) {
    cEdItem item;
    item.m_nX = static_cast<int16_t>(x);
    item.m_nY = static_cast<int16_t>(y);
    item.m_nGraphic = static_cast<int16_t>(graphic);
    item.m_bPickupWindow = 0;
    item.m_nTakeMode = cEdItem::TAKE_ONCE;
    item.m_nSound = kSeBlip;
    item.m_vecCmd = std::move(cmds);
    return item;
}

cEdBlock Block(int x, int y, int graphic, int hit = cEdBlock::HIT_SOLID) {
    cEdBlock b;
    b.m_nX = static_cast<int16_t>(x);
    b.m_nY = static_cast<int16_t>(y);
    b.m_nGraphic = static_cast<int16_t>(graphic);
    b.m_nHitMode = static_cast<int8_t>(hit);
    return b;
}

// Present once stage variable 0 (always 0) has met a number drawn from 0..7,
// and present for good from then on.
cEdBlock ChanceBlock(int x, int y) {
    cEdBlock b = Block(x, y, kChance);
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

// A stage's ground, one letter a column: '_' the floor, '-' one block
// higher, '=' two blocks higher, 'w' a pit with a bottom that takes a life
// (water in the meadow and the caves, the moat in the castle).
class cGround {
public:
    cGround(const char* profile, int graphic) : m_profile(profile), m_graphic(graphic) {}

    int Width() const { return static_cast<int>(std::strlen(m_profile)); }
    // The row of the ground's top block in column x (the floor row in a pit).
    int Top(int x) const {
        const char c = m_profile[x];
        return c == '-' ? kFloorRow - 1 : c == '=' ? kFloorRow - 2 : kFloorRow;
    }
    // The row a chara or item stands on in column x, `above` rows higher.
    int On(int x, int above = 0) const { return Top(x) - 1 - above; }

    void Build(cStage& s) const {
        for (int x = 0; x < Width(); ++x) {
            if (m_profile[x] == 'w') {
                s.m_vecPlacedBlock.push_back(Block(x, kHeight - 1, kWater, cEdBlock::HIT_DEADLY));
                continue;
            }
            for (int y = Top(x); y < kHeight; ++y) s.m_vecPlacedBlock.push_back(Block(x, y, m_graphic));
        }
    }

private:
    const char* m_profile;
    int m_graphic;
};

cStage NewStage(const char* name, const cGround& ground, int skyColour) {
    cStage s;
    s.m_strName = name;
    s.m_nWidth = static_cast<int16_t>(ground.Width());
    s.m_nHeight = kHeight;
    s.m_bReplaySave = 1;
    cEdBackground sky;
    sky.m_bFill = 1;
    sky.m_nFillColor = skyColour;
    s.m_vecBackground.push_back(sky);
    ground.Build(s);
    return s;
}

// The caves' own pieces.

// A key step of one or more keys that hold for min..max frames (0, 0: for
// any time), combined by `mode` (0 all, 1 any, 2 exactly one).
cKeyCond CaveKeyStep(std::initializer_list<int> channels, int mode, int minFrames = 0, int maxFrames = 0) {
    cKeyCond step;
    for (int ch : channels) step.m_vecKey.at(static_cast<size_t>(ch)) = cKeyCond::KEY_PRESSED;
    step.m_nKeyMode = static_cast<int8_t>(mode);
    step.m_nMinFrames = static_cast<int16_t>(minFrames);
    step.m_nMaxFrames = static_cast<int16_t>(maxFrames);
    step.m_bAnyDuration = minFrames == 0 && maxFrames == 0 ? 1 : 0;
    return step;
}

// One straight shot towards a direction code.
cEdFlowCmd CaveShot(int direction, int power) {
    cEdFlowCmd c = Cmd(F_CHARA, CMD_SHOT, {}, 1);
    cEdShot& s = c.m_spShot.Create();
    s.m_nCount = 1;
    s.m_nFormation = FORMATION_STRAIGHT_A;
    s.m_nDirection = static_cast<int8_t>(direction);
    s.m_nGraphic = 1;
    s.m_nSize = 1;
    s.m_nSpeed = 60;
    s.m_bUseRange = 1;
    s.m_nRange = 16;
    s.m_nPower = power;
    return c;
}

// Keys of the caves' hero beyond the arrows: Z (button 0), X (button 1), C
// (button 2) and the four diagonals.
constexpr int kKeyUpLeft = 5, kKeyDownLeft = 6, kKeyUpRight = 7, kKeyDownRight = 8, kKeyButton2 = 13;

// The hero of the caves: as in the other walks, and more. The jump and the
// upward shot share flow group "a", so that only one of them runs at a
// time. X pressed (or C) for at most three frames right after Z drops a
// stone straight down; an upper diagonal and X fire upward; a lower
// diagonal and Z slide.
cEdChara CaveHero(int x, int y) {
    cEdChara hero = Hero(x, y);
    hero.m_vecFlow[2].m_nFlowGroup = 1;
    cEdFlow drop = Flow(5, {CaveShot(DIR_DOWN, 5)});
    drop.m_vecKeyCond = {CaveKeyStep({kKeyButton0}, 2), CaveKeyStep({kKeyButton1, kKeyButton2}, 1, 1, 3)};
    drop.m_nKeyInterval = 4;
    cEdFlow up = Flow(6, {CaveShot(DIR_UP, 5)});
    up.m_vecKeyCond = {CaveKeyStep({kKeyUpLeft, kKeyUpRight}, 1), CaveKeyStep({kKeyButton1}, 0)};
    up.m_vecKeyCond[0].m_bMirror = 1;
    up.m_nFlowGroup = 1;
    cEdFlow slide = Flow(7, {Walk(DIR_FORWARD, 60, 2)});
    slide.m_vecKeyCond = {CaveKeyStep({kKeyDownLeft, kKeyDownRight}, 1), CaveKeyStep({kKeyButton0}, 0)};
    hero.m_vecFlow.push_back(drop);
    hero.m_vecFlow.push_back(up);
    hero.m_vecFlow.push_back(slide);
    return hero;
}

// The hero within `halfBlocks` half blocks, measured as `type` says (0
// across, 1 ahead, 2 behind, 3 up and down, 4 below, 5 above, 6 round);
// the area is drawn on the screen in palette group `colour`.
cCond ShownNear(int type, int halfBlocks, int colour) {
    cCond c;
    c.m_nKind = COND_DISTANCE;
    c.m_nDirection = static_cast<int8_t>(type);
    c.m_nValue = halfBlocks;
    c.m_nLeftSource = 1;  // the area is shown
    c.m_nLeftItem = static_cast<int8_t>(colour);
    c.m_nRightSource = 1;  // also while the chara waits out of range
    return c;
}

// A crawler of the caves: it paces like any walker and, while the hero is
// within reach on the side `type` names (1 ahead, 2 behind), hurries
// towards him (turning first when he is behind).
cEdChara CaveCrawler(int x, int y, int type) {
    cEdChara c = Walker("Crawler", x, y, kOrangeWalkerRow, 4);
    std::vector<cEdFlowCmd> hurry;
    if (type == 2) {
        hurry.push_back(Cmd(F_CHARA, CMD_SET_TARGET, std::vector<int32_t>(17, 0), 0));
        hurry.push_back(Cmd(F_CHARA, CMD_CHANGE_FACING, {2}, 1));
    }
    cEdFlowCmd run = Cmd(F_CHARA, CMD_MOVE_GROUND_TURN, {}, 10);
    cEdMove& m = run.m_spMove.Create();
    m.m_nDirection = DIR_FORWARD;
    m.m_nSpeed = 16;
    hurry.push_back(run);
    cEdFlow f = Flow(3, hurry);
    f.m_vecCond.push_back(ShownNear(type, type == 1 ? 8 : 4, type));
    // The hurry and the pacing share group "b": the hurry, first in the
    // list, wins when both may start.
    f.m_nFlowGroup = 2;
    c.m_vecFlow.at(0).m_nFlowGroup = 2;
    c.m_vecFlow.insert(c.m_vecFlow.begin(), f);
    return c;
}

// A bat of the caves: it hovers as the other flyers do, and swoops at the
// hero when he comes within the circle drawn round it.
cEdChara CaveBat(int x, int y) {
    cEdChara c = Flyer("Bat", x, y, kBatRow);
    cEdFlowCmd swoop = Cmd(F_CHARA, CMD_MOVE_HOMING, {}, 10);
    cEdMove& m = swoop.m_spMove.Create();
    m.m_nDirection = DIR_FORWARD;
    m.m_nSpeed = 20;
    cEdFlow f = Flow(3, {Cmd(F_CHARA, CMD_SET_TARGET, std::vector<int32_t>(17, 0), 1), swoop,
                         Walk(DIR_UP, 20, 10)});
    f.m_vecCond.push_back(ShownNear(6, 6, 3));
    f.m_nFlowGroup = 1;
    c.m_vecFlow.at(0).m_nFlowGroup = 1;
    c.m_vecFlow.insert(c.m_vecFlow.begin(), f);
    return c;
}

// A drip hanging from the cave's roof: while the hero passes under it (a
// block across, and below it in the column drawn down from it) a drop
// falls that does no harm.
cEdChara CaveDrip(int x, int y) {
    cEdChara c = Chara("Drip", x, y, kBatRow, 1);
    c.m_nMoveType = 1;
    c.m_nInvincible = 1;
    c.m_nFacing = 1;
    c.m_bFixedFacing = 1;
    cEdFlowCmd drop = Cmd(F_CHARA, CMD_SHOT, {}, 1);
    cEdShot& s = drop.m_spShot.Create();
    s.m_nCount = 1;
    s.m_nDirection = DIR_DOWN;
    s.m_nTrajectory = TRAJ_FALL;
    s.m_nGraphic = 1;
    s.m_nSize = 1;
    s.m_nSpeed = 10;
    s.m_bUseLife = 1;
    s.m_nLife = 15;
    cEdFlow f = Flow(1, {drop, Cmd(F_CHARA, CMD_WAIT, {}, 20)});
    f.m_vecCond.push_back(ShownNear(0, 2, 4));
    f.m_vecCond.push_back(ShownNear(4, 24, 5));
    c.m_vecFlow = {f};
    return c;
}

// The goal: a chest standing near the stage's right end that clears it.
void AddGoal(cStage& s, const cGround& ground) {
    const int x = ground.Width() - 5;
    s.m_vecPlacedItem.push_back(Item(x, ground.On(x), kChest, {Cmd(F_ITEM, ICMD_STAGE_CLEAR, {3})}));
}

}  // namespace

// Three shots forward, each turned by chance within 12 degrees.
cEdFlowCmd SpreadShot() {
    cEdFlowCmd c = Cmd(F_CHARA, CMD_SHOT, {}, 1);
    cEdShot& s = c.m_spShot.Create();
    s.m_nCount = 1;
    s.m_nFormation = FORMATION_STRAIGHT_A;
    s.m_nDirection = DIR_FORWARD;
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

cStage MeadowStage() {
    const cGround ground(
        // 0        10        20        30        40
        "______________________________________________----"  //   0
        "-______ww______-----==----______ww________________"  //  50
        "_----____________ww_______-----=====------_______w"  // 100
        "w__________----_____________________",               // 150
        kGrass);
    cStage s = NewStage("Meadow", ground, 11);  // a sky-blue sky
    // A row of blocks that may come by chance over the start.
    for (int x = 6; x <= 9; ++x) s.m_vecPlacedBlock.push_back(ChanceBlock(x, kFloorRow - 4));
    s.m_vecPlacedChara.push_back(Hero(3, ground.On(3)));
    for (int x : {18, 26, 32, 53, 62, 78, 92, 110, 122, 145, 156, 170})
        s.m_vecPlacedChara.push_back(Walker("Walker", x, ground.On(x), kGreenWalkerRow, 4));
    for (int x : {7, 8, 20, 27, 48, 57, 58, 70, 82, 83, 95, 112, 117, 118, 133, 149, 150, 163, 175})
        s.m_vecPlacedItem.push_back(Item(x, ground.On(x, 1), kCoin));
    AddGoal(s, ground);
    return s;
}

cStage CavesStage() {
    const cGround ground(
        // 0        10        20        30        40
        "________________------_____ww_____________ww____--"  //   0
        "--======-----_____ww__________----__________ww____"  //  50
        "__--=====--__________ww_____----______ww__________"  // 100
        "-----_____________ww_________________",              // 150
        kStone);
    cStage s = NewStage("Caves", ground, 1);  // darkness
    // The cave's roof, with rocks hanging from it here and there.
    for (int x = 0; x < ground.Width(); ++x) {
        s.m_vecPlacedBlock.push_back(Block(x, 0, kStone));
        if (x % 13 == 5 || x % 13 == 6) s.m_vecPlacedBlock.push_back(Block(x, 1, kStone));
        if (x % 13 == 6) s.m_vecPlacedBlock.push_back(Block(x, 2, kStone));
    }
    // Crystal blocks that may come by chance.
    for (int x : {10, 11, 12, 74, 75, 76, 143, 144, 145})
        s.m_vecPlacedBlock.push_back(ChanceBlock(x, kFloorRow - 4));
    s.m_vecPlacedChara.push_back(CaveHero(3, ground.On(3)));
    int n = 0;
    for (int x : {14, 37, 65, 76, 88, 99, 115, 134, 145, 160, 178})
        s.m_vecPlacedChara.push_back(CaveCrawler(x, ground.On(x), 1 + n++ % 2));
    for (int x : {33, 90, 114, 158}) s.m_vecPlacedChara.push_back(CaveBat(x, ground.On(x, 2)));
    // Drips under the hanging rocks.
    for (int x : {45, 97, 136}) s.m_vecPlacedChara.push_back(CaveDrip(x, 3));
    for (int x : {8, 27, 28, 43, 55, 69, 70, 90, 95, 106, 121, 122, 139, 140, 152, 169, 175})
        s.m_vecPlacedItem.push_back(Item(x, ground.On(x, 1), kGem));
    // A clear crystal widens the hero's spread to five shots (his shot flow
    // is replaced); a cracked one takes the upward shot from him.
    cEdFlowCmd widen = Cmd(F_ITEM, ICMD_CHANGE_FLOW, {1, 4});
    cEdFlowCmd spread = SpreadShot();
    spread.m_spShot->m_nClones = 4;
    widen.m_vecFlow.push_back(KeyFlow(4, kKeyButton1, false, {spread}));
    s.m_vecPlacedItem.push_back(Item(25, ground.On(25), kGem, {widen}));
    s.m_vecPlacedItem.push_back(Item(39, ground.On(39), kGem, {Cmd(F_ITEM, ICMD_CHANGE_FLOW, {2, 6})}));
    // The chest leads on to the next stage, the hero starting there at
    // column 3 of row 12, facing as he does now.
    const int goal = ground.Width() - 5;
    s.m_vecPlacedItem.push_back(
        Item(goal, ground.On(goal), kChest, {Cmd(F_ITEM, ICMD_STAGE_CLEAR, {0, 0, 0, 0, 0, 1, 3, 12, 2, 0, 1})}));
    return s;
}

cStage CastleStage() {
    const cGround ground(
        // 0        10        20        30        40
        "____________________ww_______-----_______----====-"  //   0
        "----________ww_______________--====--______ww_____"  //  50
        "__-----_______________ww___----===-----________ww_"  // 100
        "______________---------_______________",             // 150
        kBrick);
    cStage s = NewStage("Castle", ground, 13);  // the night
    // Shots hit in four of each frame's sub-steps, and what falls far
    // behind the view (charas, block charas, items) is gone.
    s.m_nHitChecks = 4;
    s.m_RemoveChara = cStageIntSet(1, 0, 0, 0, 12, 0, 0, 0);
    s.m_RemoveBlockChara = cStageIntSet(1, 0, 0, 0, 12, 0, 0, 0);
    s.m_RemoveItem = cStageIntSet(1, 0, 0, 0, 12, 0, 0, 0);
    // Battlements along the top, and treasure blocks that may come by chance.
    for (int x = 0; x < ground.Width(); x += 2) s.m_vecPlacedBlock.push_back(Block(x, 0, kStone));
    for (int x : {35, 36, 37, 88, 89, 90, 152, 153, 154})
        s.m_vecPlacedBlock.push_back(ChanceBlock(x, kFloorRow - 5));
    s.m_vecPlacedChara.push_back(Hero(3, ground.On(3)));
    for (int x : {15, 38, 57, 70, 89, 99, 114, 143, 156, 180})
        s.m_vecPlacedChara.push_back(Walker("Knight", x, ground.On(x), kKnightRow, 8));
    for (int x : {26, 75, 135, 158}) s.m_vecPlacedChara.push_back(Flyer("Bat", x, ground.On(x, 2), kRedBatRow));
    // The guard: archers loosing volleys of every formation in every
    // direction, some turned by an angle, some aimed at the hero, some
    // quickening, falling, homing or stopping where their range ends.
    auto shotOf = [](cEdFlowCmd c, auto change) {
        change(*c.m_spShot);
        return c;
    };
    std::vector<cEdFlowCmd> rowVolleys, columnVolleys, fanVolleys, rainVolleys;
    // Volleys the hero's shots can knock down (of two strengths), one that
    // passes through whom it hits, and one that carries a coin.
    rowVolleys.push_back(shotOf(Volley(FORMATION_STRAIGHT_A, DIR_FORWARD, 1), [](cEdShot& v) {
        v.m_bCancelShots = 1;
        v.m_nVanishValue = 2;
    }));
    columnVolleys.push_back(shotOf(Volley(FORMATION_STRAIGHT_A, DIR_FORWARD, 1), [](cEdShot& v) { v.m_bCancelShots = 1; }));
    fanVolleys.push_back(shotOf(Volley(FORMATION_SPREAD, DIR_FORWARD), [](cEdShot& v) { v.m_bPassCharas = 1; }));
    rainVolleys.push_back(shotOf(Volley(FORMATION_STRAIGHT_A, DIR_FORWARD, 1), [](cEdShot& v) {
        v.m_nItemSource = 2;  // the stage palette
        v.m_nItem = 1;
        v.m_nTrajectory = TRAJ_AIM_HERO;
    }));
    // Shots that quicken, fall after a while, home in while quickening,
    // stop where their range ends, and a broad one.
    fanVolleys.push_back(shotOf(Volley(FORMATION_SPREAD, DIR_FORWARD), [](cEdShot& v) {
        v.m_bAccel = 1;
        v.m_nAccel = 4;
    }));
    fanVolleys.push_back(shotOf(Volley(FORMATION_STRAIGHT_A, DIR_UP_LEFT), [](cEdShot& v) {
        v.m_nTrajectory = TRAJ_FALL;
        v.m_nTrajectoryParam[0] = 4;
        v.m_bAccel = 1;
        v.m_nAccel = 2;
    }));
    columnVolleys.push_back(shotOf(Volley(FORMATION_STRAIGHT_A, DIR_FORWARD, 1), [](cEdShot& v) {
        v.m_nTrajectory = TRAJ_HOME_HERO;
        v.m_nTrajectoryParam[0] = 3;
        v.m_nTrajectoryParam[1] = 12;
        v.m_bAccel = 1;
        v.m_nAccel = 3;
    }));
    rowVolleys.push_back(shotOf(Volley(FORMATION_STRAIGHT_A, DIR_FORWARD, 1), [](cEdShot& v) {
        v.m_bUseRange = 1;
        v.m_nRange = 6;
        v.m_bStayAtRange = 1;
        v.m_bFollowScroll = 1;  // it stays put in the view
    }));
    rowVolleys.push_back(shotOf(Volley(FORMATION_STRAIGHT_A, DIR_FORWARD, 1), [](cEdShot& v) {
        v.m_bUseRange = 1;
        v.m_nRange = 1;  // no further than its own length
    }));
    rainVolleys.push_back(shotOf(Volley(FORMATION_STRAIGHT_A, DIR_FORWARD, 1), [](cEdShot& v) { v.m_nSize = 3; }));
    // Shots homing on the nearest of the hero's group, one giving up when it
    // falls, one turning to the next.
    for (int homing : {TRAJ_HOME_NEAREST_DROP, TRAJ_HOME_NEAREST_SWITCH})
        columnVolleys.push_back(shotOf(Volley(FORMATION_STRAIGHT_A, DIR_FORWARD, 1), [homing](cEdShot& v) {
            v.m_nTrajectory = static_cast<int8_t>(homing);
            v.m_nTrajectoryParam[0] = 2;
            v.m_nTrajectoryParam[1] = 10;
            v.m_nTrajectoryParam[2] = 0;  // the hero's group
        }));
    rowVolleys.push_back(TurnedVolley(FORMATION_STRAIGHT_A, DIR_FORWARD, 20, false, false));
    rowVolleys.push_back(TurnedVolley(FORMATION_STRAIGHT_A, DIR_FORWARD, 0, false, true));
    rowVolleys.push_back(TurnedVolley(FORMATION_STRAIGHT_A, DIR_UP, 30, true, false));
    rowVolleys.push_back(TurnedVolley(FORMATION_STRAIGHT_A, DIR_FORWARD, 10, true, true));
    columnVolleys.push_back(TurnedVolley(FORMATION_STRAIGHT_B, DIR_FORWARD, 15, false, false));
    columnVolleys.push_back(TurnedVolley(FORMATION_STRAIGHT_B, DIR_FORWARD, 0, false, true));
    fanVolleys.push_back(TurnedVolley(FORMATION_SPREAD, DIR_FORWARD, 30, true, false));
    fanVolleys.push_back(TurnedVolley(FORMATION_SPREAD, DIR_FORWARD, 0, true, true));
    rainVolleys.push_back(TurnedVolley(FORMATION_THUNDER, DIR_FORWARD, 10, false, false));
    rainVolleys.push_back(shotOf(Volley(FORMATION_THUNDER, DIR_DOWN), [](cEdShot& v) { v.m_nOrigin = 2; }));
    for (int d : {DIR_UP, DIR_DOWN, DIR_UP_LEFT, DIR_DOWN_LEFT, DIR_UP_RIGHT, DIR_DOWN_RIGHT, DIR_RIGHT}) {
        rowVolleys.push_back(Volley(FORMATION_STRAIGHT_A, d, 3));
        fanVolleys.push_back(Volley(FORMATION_SPREAD, d, 3));
        rainVolleys.push_back(Volley(FORMATION_THUNDER, d));
    }
    for (int d : {DIR_UP, DIR_DOWN, DIR_UP_RIGHT, DIR_DOWN_RIGHT, DIR_FORWARD_Y, DIR_BACKWARD_Y, DIR_BACKWARD})
        columnVolleys.push_back(Volley(FORMATION_STRAIGHT_B, d, 3));
    s.m_vecPlacedChara.push_back(Archer(31, ground.On(31), std::move(rowVolleys)));
    s.m_vecPlacedChara.push_back(Archer(80, ground.On(80), std::move(columnVolleys)));
    s.m_vecPlacedChara.push_back(Archer(109, ground.On(109), std::move(fanVolleys)));
    s.m_vecPlacedChara.push_back(Archer(166, ground.On(166), std::move(rainVolleys)));

    // A mason floating over the walls (acting from the start, wherever the
    // view is) lays, takes away and turns over a stone above himself.
    s.m_vecBlockPalette.resize(1);
    s.m_vecBlockPalette.push_back(Block(0, 0, kStone));
    s.m_vecItemPalette.resize(1);
    s.m_vecItemPalette.push_back(Item(0, 0, kCoin, {Cmd(F_ITEM, ICMD_PLAY_SE, {kSeBlip})}));
    {
        cEdChara mason = Chara("Mason", 60, 3, kKnightRow, 4);
        mason.m_nMoveType = 1;
        mason.m_nInvincible = 1;
        mason.m_nActivationRange = 3;
        const cEdFlowCmd rest = Cmd(F_CHARA, CMD_WAIT, {}, 10);
        mason.m_vecFlow = {Flow(1, {Stone(0), rest, Stone(1), rest, Stone(2), rest, Stone(2), rest, Stone(0, true), rest,
                                    Stone(1), rest})};
        s.m_vecPlacedChara.push_back(mason);
    }

    // Ghosts haunting the halls: two circle (one timed by its speed), two
    // follow the hero a moment late along one axis, one swoops at an angle
    // and turns to and from the walls it meets.
    auto circle = [](int homing, int timing) {
        cEdFlowCmd c = GhostMove(CMD_MOVE_CIRCLE, 20, 30);
        c.m_spMove->m_nHoming = static_cast<int16_t>(homing);
        c.m_spMove->m_nAngle = 0;
        c.m_spMove->m_nDistance = 360;
        c.m_spMove->m_nTimingMode = static_cast<int8_t>(timing);
        return c;
    };
    auto follow = [](bool fixX, bool fixY) {
        cEdFlowCmd c = GhostMove(CMD_MOVE_HOMING, 10, 30);
        c.m_spMove->m_nHoming = 4;
        c.m_spMove->m_bStopOnArrival = 1;
        c.m_spMove->m_bFixX = fixX ? 1 : 0;
        c.m_spMove->m_bFixY = fixY ? 1 : 0;
        return c;
    };
    cEdFlowCmd swoop = GhostMove(CMD_MOVE_CHARGE, 20, 10);
    swoop.m_spMove->m_nAngle = 30;
    // The wanderer drifts a little off each diagonal and straight up and
    // down, then back to a point of the view, where it stops.
    std::vector<cEdFlowCmd> wander;
    for (int d : {DIR_UP, DIR_DOWN, DIR_UP_LEFT, DIR_DOWN_LEFT, DIR_UP_RIGHT, DIR_DOWN_RIGHT}) {
        cEdFlowCmd c = GhostMove(CMD_MOVE_STRAIGHT, 10, 3);
        c.m_spMove->m_nDirection = static_cast<int8_t>(d);
        c.m_spMove->m_nAngle = 20;
        wander.push_back(c);
    }
    {
        cEdFlowCmd c = GhostMove(CMD_MOVE_STRAIGHT, 20, 30);
        cEdMove& m = *c.m_spMove;
        m.m_nMoveMode = 1;   // to a point
        m.m_nCoordMode = 3;  // of the view
        m.m_nTargetX = 14;
        m.m_nTargetY = 4;
        m.m_bStopOnArrival = 1;
        wander.push_back(c);
    }
    wander.push_back(Cmd(F_CHARA, CMD_WAIT, {}, 5));
    s.m_vecPlacedChara.push_back(Ghost(45, 5, {circle(2, 0)}));
    s.m_vecPlacedChara.back().m_nFacing = 1;
    s.m_vecPlacedChara.push_back(Ghost(100, 5, {circle(3, 1)}));
    s.m_vecPlacedChara.push_back(Ghost(120, 4, {follow(false, true), Cmd(F_CHARA, CMD_WAIT, {}, 5)}));
    s.m_vecPlacedChara.push_back(Ghost(140, 6, {follow(true, false), Cmd(F_CHARA, CMD_WAIT, {}, 5)}));
    s.m_vecPlacedChara.push_back(Ghost(130, 5, std::move(wander)));
    // A shy ghost shrinks from the hero; a still one only watches him.
    {
        cEdFlowCmd shy = follow(false, false);
        shy.m_spMove->m_nSpeed = -10;
        s.m_vecPlacedChara.push_back(Ghost(150, 4, {shy, Cmd(F_CHARA, CMD_WAIT, {}, 5)}));
        s.m_vecPlacedChara.push_back(Ghost(160, 3, {follow(true, true), Cmd(F_CHARA, CMD_WAIT, {}, 5)}));
    }
    // A hound of the castle runs after the hero along the ground, harmless.
    {
        cEdChara hound = Chara("Hound", 60, ground.On(60), kGreenWalkerRow, 4);
        hound.m_vecFlow = {Flow(1, {Cmd(F_CHARA, CMD_SET_TARGET, std::vector<int32_t>(17, 0), 1),
                                    GhostMove(CMD_MOVE_HOMING, 12, 20), Cmd(F_CHARA, CMD_WAIT, {}, 5)}),
                           Flow(2, {Se()}, TRG_DIED)};
        s.m_vecPlacedChara.push_back(hound);
    }
    s.m_vecPlacedChara.push_back(Ghost(170, 5,
                                       {swoop, Cmd(F_CHARA, CMD_CHANGE_FACING, {10}, 2), Cmd(F_CHARA, CMD_CHANGE_FACING, {11}, 2),
                                        Cmd(F_CHARA, CMD_CHANGE_FACING, {1}, 2), Cmd(F_CHARA, CMD_WAIT, {}, 5)}));
    for (int x : {10, 21, 22, 46, 63, 64, 82, 94, 95, 112, 123, 132, 148, 149, 168, 177})
        s.m_vecPlacedItem.push_back(Item(x, ground.On(x, 1), kCoin));
    AddGoal(s, ground);
    return s;
}

}  // namespace demo
