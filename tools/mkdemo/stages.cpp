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
              kRedBatRow = 7;
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
    s.m_vecPlacedChara.push_back(Hero(3, ground.On(3)));
    for (int x : {14, 37, 65, 76, 88, 99, 115, 134, 145, 160, 178})
        s.m_vecPlacedChara.push_back(Walker("Crawler", x, ground.On(x), kOrangeWalkerRow, 4));
    for (int x : {33, 90, 114, 158}) s.m_vecPlacedChara.push_back(Flyer("Bat", x, ground.On(x, 2), kBatRow));
    for (int x : {8, 27, 28, 43, 55, 69, 70, 90, 95, 106, 121, 122, 139, 140, 152, 169, 175})
        s.m_vecPlacedItem.push_back(Item(x, ground.On(x, 1), kGem));
    AddGoal(s, ground);
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
    // Battlements along the top, and treasure blocks that may come by chance.
    for (int x = 0; x < ground.Width(); x += 2) s.m_vecPlacedBlock.push_back(Block(x, 0, kStone));
    for (int x : {35, 36, 37, 88, 89, 90, 152, 153, 154})
        s.m_vecPlacedBlock.push_back(ChanceBlock(x, kFloorRow - 5));
    s.m_vecPlacedChara.push_back(Hero(3, ground.On(3)));
    for (int x : {15, 38, 57, 70, 89, 99, 114, 143, 156, 180})
        s.m_vecPlacedChara.push_back(Walker("Knight", x, ground.On(x), kKnightRow, 8));
    for (int x : {26, 75, 135, 158}) s.m_vecPlacedChara.push_back(Flyer("Bat", x, ground.On(x, 2), kRedBatRow));
    for (int x : {10, 21, 22, 46, 63, 64, 82, 94, 95, 112, 123, 132, 148, 149, 168, 177})
        s.m_vecPlacedItem.push_back(Item(x, ground.On(x, 1), kCoin));
    AddGoal(s, ground);
    return s;
}

}  // namespace demo
