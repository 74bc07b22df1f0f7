// The demo's longer stages: Harbour (foot blocks, solid cargo, a ferry,
// wings, a time limit), Theatre (messages, pictures, effects, lights and
// music) and Fortress (shots of every kind, a sword, summons and a boss).
#include <string>
#include <utility>
#include <vector>

#include "records/cmd_kinds.h"
#include "records/cond.h"
#include "records/ed_flow.h"
#include "tools/mkdemo/flow_parts.h"
#include "tools/mkdemo/stages.h"

namespace demo {

namespace {

constexpr int kHeight = 15, kFloorRow = kHeight - 2;
constexpr int kKeyDown = 4;
constexpr int kKeyLeft = 1, kKeyRight = 2, kKeyButton0 = 11, kKeyButton1 = 12, kKeyButton2 = 13;
constexpr int F_CHARA = cEdFlowCmd::FAMILY_CHARA, F_ITEM = cEdFlowCmd::FAMILY_ITEM;

// Sound 1 of the database (a short blip); music 1 the ogg tune, 2 the MIDI piece.
constexpr int kSeBlip = 1, kBgmOgg = 1, kBgmMidi = 2;

// The kind of a command in its family: the item kind or the chara kind.
int Kind(int family, int itemKind, int charaKind) { return family == F_ITEM ? itemKind : charaKind; }

cEdFlowCmd C(int kind, std::vector<int32_t> params = {}, int time = 0) {
    return Cmd(F_CHARA, kind, std::move(params), time);
}

cEdFlowCmd Move(int kind, int direction, int speed, int time) {
    cEdFlowCmd c = C(kind, {}, time);
    cEdMove& m = c.m_spMove.Create();
    m.m_nDirection = static_cast<int8_t>(direction);
    m.m_nSpeed = static_cast<int16_t>(speed);
    return c;
}

cEdFlowCmd Walk(int direction, int speed, int time) { return Move(CMD_MOVE_STRAIGHT, direction, speed, time); }

cEdShot& ShotPart(cEdFlowCmd& c) {
    cEdShot& s = c.m_spShot.Create();
    s.m_nCount = 1;
    s.m_nGraphic = 1;
    s.m_nSize = 1;
    s.m_nDirection = DIR_FORWARD;
    s.m_nAngle = 90;
    return s;
}

cEdFlowCmd Shot(int formation, int trajectory, int power, int speed = 40) {
    cEdFlowCmd c = C(CMD_SHOT, {}, 1);
    cEdShot& s = ShotPart(c);
    s.m_nFormation = static_cast<int8_t>(formation);
    s.m_nTrajectory = static_cast<int8_t>(trajectory);
    s.m_nSpeed = static_cast<int16_t>(speed);
    s.m_nPower = power;
    s.m_bUseLife = 1;
    s.m_nLife = 30;
    if (formation == FORMATION_SPREAD || formation == FORMATION_BURST || formation == FORMATION_SURROUND) {
        s.m_nCount = 3;
        s.m_nFormationParam[0] = 30;
    }
    if (trajectory == TRAJ_WAVE) {
        s.m_nTrajectoryParam[0] = 16;
        s.m_nTrajectoryParam[1] = 20;
    }
    return c;
}

cEdFlowCmd Sword(int power) {
    cEdFlowCmd c = C(CMD_SWORD, {}, 3);
    cEdShot& s = ShotPart(c);
    s.m_nTrajectory = 1;  // sword type 1
    s.m_nPower = power;
    return c;
}

// A summon of stage palette entry `entry` (chara, item or block).
cEdFlowCmd Summon(int kind, int entry, int life = 0) {
    cEdFlowCmd c = C(kind, kind == CMD_SUMMON_ITEM ? std::vector<int32_t>{} : std::vector<int32_t>{0}, 1);
    cEdShot& s = ShotPart(c);
    s.m_nSummonSource = 1;
    s.m_nSummonEntry = static_cast<int16_t>(entry);
    s.m_nItemSource = 2;
    s.m_nItem = static_cast<int16_t>(entry);
    s.m_nOffsetY = -32;
    if (life) {
        s.m_bUseRange = 1;
        s.m_nRange = static_cast<int16_t>(life);
    }
    return c;
}

cEdFlowCmd Se() { return C(CMD_PLAY_SE, {kSeBlip}); }

// The status operation: target (kind, subject, status, index), operator and constant.
cEdFlowCmd StatusOp(int family, int subject, int status, int op, int value, int index = 0, bool gauge = false) {
    std::vector<int32_t> p(25, 0);
    p[2] = index;
    p[3] = subject;
    p[4] = status;
    p[6] = op;
    p[8] = value;
    p[18] = gauge ? 1 : 0;
    return Cmd(family, Kind(family, ICMD_STATUS_OP, CMD_STATUS_OP), p);
}

cEdFlowCmd Code(int family, const std::string& text) {
    cEdFlowCmd c = Cmd(family, Kind(family, ICMD_RUN_CODE, CMD_RUN_CODE));
    c.m_strCode = text;
    return c;
}

// A message at the chara (p0 1: above it) for `tenths` of a second that does
// not hold the play.
cEdFlowCmd Message(int family, const std::string& text, int tenths) {
    std::vector<int32_t> p(21, 0);
    p[0] = 1;
    p[6] = 2;
    p[7] = tenths;
    cEdFlowCmd c = Cmd(family, Kind(family, ICMD_MESSAGE, CMD_MESSAGE), p);
    c.m_strCode = text;
    return c;
}

// A picture at the screen centre for `tenths` of a second that does not hold the play.
cEdFlowCmd Picture(int family, int tenths) {
    std::vector<int32_t> p(20, 0);
    p[0] = 1;
    p[7] = 100;
    p[9] = 100;
    p[12] = 2;
    p[13] = tenths;
    return Cmd(family, Kind(family, ICMD_SHOW_PICTURE, CMD_SHOW_PICTURE), p);
}

// A tint of the screen (colour index, strength) for the rest of the stage or until changed.
cEdFlowCmd ScreenColour(int family, int colour, int strength) {
    return Cmd(family, Kind(family, ICMD_SCREEN_COLOR, CMD_SCREEN_COLOR),
               {1, colour, strength, 0, 0, 0, 0, 0});
}

cEdFlowCmd Effect(int family, int id) {
    std::vector<int32_t> p(10, 0);
    p[0] = id;
    p[7] = 100;
    return Cmd(family, Kind(family, ICMD_RUN_EFFECT, CMD_RUN_EFFECT), p);
}

cCond StatusCond(int subject, int status, int op, int value) {
    cCond c;
    c.m_nKind = COND_STATUS;
    c.m_nLeftTarget = static_cast<int8_t>(subject);
    c.m_nLeftItem = static_cast<int8_t>(status);
    c.m_nOp = static_cast<int8_t>(op);
    c.m_nValue = value;
    return c;
}

cCond VarCond(int kind, int index, int op, int value) {
    cCond c;
    c.m_nKind = static_cast<int8_t>(kind);
    c.m_nVarIndex = static_cast<int16_t>(index);
    c.m_nOp = static_cast<int8_t>(op);
    c.m_nValue = value;
    return c;
}

// The hero within `halfBlocks` half blocks, measured across.
cCond Near(int halfBlocks) {
    cCond c;
    c.m_nKind = COND_DISTANCE;
    c.m_nValue = halfBlocks;
    return c;
}

cEdBlock Block(int x, int y, int graphic, int hit = cEdBlock::HIT_SOLID) {
    cEdBlock b;
    b.m_nX = static_cast<int16_t>(x);
    b.m_nY = static_cast<int16_t>(y);
    b.m_nGraphic = static_cast<int16_t>(graphic);
    b.m_nHitMode = static_cast<int8_t>(hit);
    return b;
}

cEdBlock FootBlock(int x, int foot, int value) {
    cEdBlock b = Block(x, kFloorRow, 1);
    b.m_nFootEffect = static_cast<int8_t>(foot);
    b.m_nFootValue = value;
    return b;
}

cEdChara Chara(const char* name, int x, int y, int hp) {
    cEdChara c;
    c.m_strName = name;
    c.m_nX = static_cast<int16_t>(x);
    c.m_nY = static_cast<int16_t>(y);
    c.m_nGraphic = 1;
    c.m_nSide = 1;
    c.m_nGroup = 1;
    c.m_nFacing = 0;
    c.m_nMaxHP = hp;
    c.m_nCarriedItem = -1;
    return c;
}

cEdItem Item(int x, int y, std::vector<cEdFlowCmd> cmds, bool popup = false, const char* name = "") {
    cEdItem item;
    item.m_strName = name;
    item.m_nX = static_cast<int16_t>(x);
    item.m_nY = static_cast<int16_t>(y);
    item.m_nGraphic = 1;
    item.m_bPickupWindow = popup ? 1 : 0;
    item.m_nTakeMode = cEdItem::TAKE_ONCE;
    item.m_nSound = kSeBlip;
    item.m_vecCmd = std::move(cmds);
    return item;
}

cEdItem Goal(int x) { return Item(x, kFloorRow - 1, {Cmd(F_ITEM, ICMD_STAGE_CLEAR, {3})}); }

// The hero of the long stages: arrows walk, Z jumps, X fires, down then X
// swings the sword; a hit by anything shows in a blink.
cEdChara Hero(int x, int hp) {
    cEdChara hero = Chara("Hero", x, kFloorRow - 1, hp);
    hero.m_nSide = 0;
    hero.m_nGroup = 0;
    hero.m_nFacing = 1;
    hero.m_bFixedFacing = 0;
    cEdFlow sword = Flow(5, {Sword(8)});
    sword.m_vecKeyCond = {KeyStep(kKeyDown), KeyStep(kKeyButton1)};
    hero.m_vecFlow = {
        KeyFlow(1, kKeyRight, true, {Walk(DIR_RIGHT, 30, 1)}),
        KeyFlow(2, kKeyLeft, true, {Walk(DIR_LEFT, 30, 1)}),
        KeyFlow(3, kKeyButton0, false, {C(CMD_JUMP, {0, 0, 3, 0, 0}, 1)}),
        KeyFlow(4, kKeyButton1, false, {SpreadShot()}),
        sword,
        KeyFlow(6, kKeyButton2, false, {Sword(8)}),
        Flow(7, {C(CMD_RUN_CHARA_EFFECT, {6, 0, 0})}, TRG_DAMAGED),
    };
    return hero;
}

// A walker the hero's shots defeat; it turns at walls and edges, and
// leaves a spark and a coin when it falls.
cEdChara Walker(int x, int carried = -1) {
    cEdChara c = Chara("Walker", x, kFloorRow - 1, 4);
    c.m_nAttack = 1;
    c.m_nScore = 100;
    c.m_nGraphic = 2;
    c.m_vecFlow = {
        Flow(1, {Move(CMD_MOVE_GROUND_TURN, DIR_FORWARD, 8, 20)}),
        Flow(2, {Effect(F_CHARA, 1), Se(), Summon(CMD_SUMMON_ITEM, 1)}, TRG_DIED),
        Flow(3, {C(CMD_RUN_CHARA_EFFECT, {14, 0, 0})}, TRG_DAMAGED_POWER),
    };
    c.m_nCarriedItem = carried;
    return c;
}

void Floor(cStage& s, int from, int to, int graphic) {
    for (int x = from; x < to; ++x)
        for (int y = kFloorRow; y < kHeight; ++y) s.m_vecPlacedBlock.push_back(Block(x, y, graphic));
}

cStage LongStage(const char* name, int width) {
    cStage s;
    s.m_strName = name;
    s.m_nWidth = width;
    s.m_nHeight = kHeight;
    s.m_bReplaySave = 1;
    // Palette entry 0 of each kind stands for none.
    s.m_vecCharaPalette.resize(1);
    s.m_vecItemPalette.resize(1);
    s.m_vecBlockPalette.resize(1);
    return s;
}

// Item palette entry 1: a coin worth a blip.
cEdItem CoinEntry() {
    cEdItem coin = Item(0, 0, {Cmd(F_ITEM, ICMD_PLAY_SE, {kSeBlip})}, false, "Coin");
    coin.m_nGraphicCell = 0;
    return coin;
}

// The stagehand: a flyer high over the stage's start that nobody sees or
// hits. Once, when the stage starts, it works through the engine's less
// common settings: moves by every direction code, by angle and to points,
// with inertia and by distance; the parameter change of every command kind
// it can change; status operations on every status with every operand
// source and operator; formulas over every name; messages with variables;
// target searches and vanishing. Its last command sets stage variable 9, so
// it runs only once.
cEdFlowCmd Ops(int family, std::vector<int32_t> p) {
    p.resize(25, 0);
    return Cmd(family, Kind(family, ICMD_STATUS_OP, CMD_STATUS_OP), std::move(p));
}

cEdFlowCmd MoveBy(int mode, int direction, int angle, int speed, int time, int timing = 0, bool inertia = false) {
    cEdFlowCmd c = Move(CMD_MOVE_STRAIGHT, direction, speed, time);
    cEdMove& m = *c.m_spMove;
    m.m_nMoveMode = static_cast<int8_t>(mode);
    m.m_nAngle = static_cast<int16_t>(angle);
    m.m_nTimingMode = static_cast<int8_t>(timing);
    m.m_nDistance = 2;
    m.m_bInertia = inertia ? 1 : 0;
    m.m_nMaxSpeed = 30;
    m.m_nTargetX = 2;
    m.m_nTargetY = -1;
    return c;
}

std::vector<cEdFlowCmd> StagehandWork(bool english) {
    std::vector<cEdFlowCmd> w;
    // Moves: every direction code, angles, points in each coordinate kind,
    // timing by distance, inertia.
    for (int d = 0; d < DIRECTION_CODE_COUNT; ++d) w.push_back(MoveBy(0, d, 0, 10, 1));
    for (int a : {45, -120, 200}) w.push_back(MoveBy(0, DIR_FORWARD, a, 10, 1));
    for (int coord = 0; coord < 3; ++coord) {
        cEdFlowCmd c = MoveBy(1, DIR_FORWARD, 0, 10, 2);
        c.m_spMove->m_nCoordMode = static_cast<int8_t>(coord);
        c.m_spMove->m_nTargetUnit = static_cast<int8_t>(coord == 2 ? 1 : 0);
        if (coord == 1) c.m_spMove->m_nTargetX = 6, c.m_spMove->m_nTargetY = 3;
        if (coord == 2) c.m_spMove->m_nTargetX = 200, c.m_spMove->m_nTargetY = 64;
        w.push_back(c);
    }
    w.push_back(MoveBy(0, DIR_RIGHT, 0, 10, 3, 1));
    w.push_back(MoveBy(0, DIR_LEFT, 0, 10, 3, 2));
    w.push_back(MoveBy(0, DIR_RIGHT, 0, 20, 3, 0, true));
    w.push_back(MoveBy(0, DIR_LEFT, 30, 20, 3, 0, true));

    // Targets: slot 1 the hero, then every way of finding a chara, each
    // filter once; the hero again at the end.
    auto target = [](int slot, int what, std::vector<std::pair<int, int>> more = {}) {
        std::vector<int32_t> p(17, 0);
        p[0] = slot;
        p[1] = what;
        p[16] = 1;
        for (auto [i, v] : more) p[static_cast<size_t>(i)] = v;
        return C(CMD_SET_TARGET, p, 1);
    };
    for (int what = 0; what <= 10; ++what) w.push_back(target(1, what, {{2, 1}, {4, 40}}));
    w.push_back(target(1, 2, {{3, 1}, {4, 40}, {5, 1}, {6, 1}}));
    w.push_back(target(1, 3, {{3, 1}, {7, 1}, {8, 1}}));
    w.push_back(target(1, 3, {{2, 1}, {9, 1}, {10, 0}, {15, 1}}));
    w.push_back(target(1, 6, {{3, 1}, {11, 1}, {12, 1}, {13, 0}, {14, COND_OP_GREATER_EQUAL}}));
    w.push_back(target(2, 3, {{2, 1}, {15, 2}}));
    w.push_back(target(0, 0));
    w.push_back(target(1, 0));

    // The parameter change, every index of every kind it can change, from
    // each operand source (all of them 0 here, so only the limits apply).
    struct Kinds {
        int kind, count;
    };
    auto arrangeAll = [&](int kind, int count) {
        for (int i = 0; i < count; ++i) w.push_back(C(CMD_ARRANGE, {kind, i, 1, i % 4, 1}, 1));
    };
    cEdFlowCmd straight = MoveBy(1, DIR_FORWARD, 0, 10, 1);
    arrangeAll(CMD_MOVE_STRAIGHT, 6), w.push_back(straight);
    arrangeAll(CMD_MOVE_CHARGE, 6), w.push_back(Move(CMD_MOVE_CHARGE, DIR_FORWARD, 10, 1));
    arrangeAll(CMD_MOVE_HOMING, 6), w.push_back(Move(CMD_MOVE_HOMING, DIR_FORWARD, 10, 1));
    arrangeAll(CMD_CHANGE_FACING, 1), w.push_back(C(CMD_CHANGE_FACING, {2}, 1));
    arrangeAll(CMD_JUMP, 1), w.push_back(C(CMD_JUMP, {0, 0, 1, 0, 0}, 1));
    arrangeAll(CMD_SHOT, 32), w.push_back(Shot(FORMATION_SPREAD, TRAJ_STRAIGHT, 0));
    arrangeAll(CMD_SWORD, 7), w.push_back(Sword(0));
    arrangeAll(CMD_SUMMON_BLOCK, 8);
    arrangeAll(CMD_SUMMON_CHARA, 10), w.push_back(Summon(CMD_SUMMON_CHARA, 1, 20));
    arrangeAll(CMD_SUMMON_ITEM, 9), w.push_back(Summon(CMD_SUMMON_ITEM, 1, 20));
    arrangeAll(CMD_MESSAGE, 5), w.push_back(Message(F_CHARA, "...", 5));
    cEdFlowCmd stay = C(CMD_WARP, {1}, 1);
    stay.m_spMove.Create().m_nDistance = 0;
    arrangeAll(CMD_WARP, 6), w.push_back(stay);
    arrangeAll(CMD_SET_TARGET, 3), w.push_back(target(2, 1));
    arrangeAll(CMD_STATUS_OP, 5), w.push_back(Ops(F_CHARA, {1, 1, 5, 0, 0, 0, 1, 0, 0}));
    arrangeAll(CMD_VANISH, 1), w.push_back(C(CMD_VANISH, {0, 6, 1, 1}, 1));
    arrangeAll(CMD_GET_ITEM, 1), w.push_back(C(CMD_GET_ITEM, {1, 1}, 1));
    arrangeAll(CMD_CHANGE_GRAPHIC, 2), w.push_back(C(CMD_CHANGE_GRAPHIC, {1, 1, 0}, 1));
    arrangeAll(CMD_RUN_EFFECT, 6), w.push_back(Effect(F_CHARA, 1));
    arrangeAll(CMD_RUN_CHARA_EFFECT, 1), w.push_back(C(CMD_RUN_CHARA_EFFECT, {6, 0, 0}, 1));
    arrangeAll(CMD_RUN_SCREEN_EFFECT, 1), w.push_back(C(CMD_RUN_SCREEN_EFFECT, {0, 0, 0}, 1));
    arrangeAll(CMD_SHOW_PICTURE, 8), w.push_back(Picture(F_CHARA, 2));
    arrangeAll(CMD_SCREEN_COLOR, 4), w.push_back(ScreenColour(F_CHARA, 0, 0));
    arrangeAll(CMD_CHANGE_BACKGROUND, 1), w.push_back(C(CMD_CHANGE_BACKGROUND, {1, 0}, 1));
    arrangeAll(CMD_PLAY_SE, 1), w.push_back(Se());
    arrangeAll(CMD_PLAY_BGM, 1);

    // Status operations: each status of the stagehand and of the hero
    // (target slot 1) given back its own value; the system values; variables
    // and flow variables with every operator and operand source; the
    // percent forms, the gauge, the invincible refusal and the report.
    for (int subject : {0, 1})
        for (int status = 0; status <= STATUS_GETSC; ++status) {
            std::vector<int32_t> p(25, 0);
            p[2] = 1, p[3] = subject, p[4] = status, p[6] = 0, p[7] = 2, p[12] = 1, p[13] = subject, p[14] = status;
            p[20] = p[21] = status == 6 || status == 7 ? 1 : 0;
            p[22] = p[23] = 2;
            p[24] = 1;
            w.push_back(Ops(F_CHARA, p));
        }
    for (int sys = 0; sys <= 4; ++sys) {
        std::vector<int32_t> p(25, 0);
        p[3] = 5, p[4] = sys, p[6] = 1, p[7] = 2, p[13] = 5, p[14] = sys, p[24] = 1;
        p[6] = sys == 1 || sys == 2 ? 0 : 1;  // the scroll speeds set as they are
        p[7] = sys == 1 || sys == 2 ? 2 : 0;
        w.push_back(Ops(F_CHARA, p));
    }
    for (int op = 0; op <= 7; ++op)
        for (int src = 0; src <= 4; ++src) {
            std::vector<int32_t> p(25, 0);
            p[0] = src % 3;          // a status (chara variable 8), a variable, a flow variable
            p[1] = op % 2;           // common or stage
            p[2] = 8;                // variable 8
            p[5] = 1 + op % 2;       // fA or fB
            p[6] = op, p[7] = src;   // the operator and the operand's source
            p[8] = 3 + op, p[9] = -5, p[10] = 9;
            p[11] = src % 2, p[12] = 2, p[13] = op % 2, p[14] = 1 + op, p[15] = 1 + src % 2;
            p[16] = op == 6 ? 1 : 0;
            p[24] = 1;
            w.push_back(Ops(F_CHARA, p));
        }
    for (int mode : {1, 2})
        for (int status : {STATUS_HP, STATUS_SP}) {
            std::vector<int32_t> p(25, 0);
            p[3] = 1, p[4] = status, p[6] = 1, p[8] = 0, p[17] = mode, p[18] = 1, p[19] = 1, p[24] = 1;
            w.push_back(Ops(F_CHARA, p));
        }
    // An empty target slot makes the operation fail (and report it).
    w.push_back(Ops(F_CHARA, {0, 0, 1, 4, 1, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));

    // Formulas.
    for (const char* text :
         {"v1 = (3 + 4) * 2 - rand(1, 5)", "v2 = 2 - (0 - 3) + rand(rand(1, 2), (4))",
          "v3 = tg.hp + tg1.mhp + pl.sp - pl.msp + my.cid + tg.x_rel + x_abs + x_scr",
          "v4 = y_rel + y_abs + tg.y_scr + z + mark + pl.sight + power + imp + def + impd + stop + getsc",
          "v5 = sys.time + scrlx + scrly + score + life + my.time", "fA = 7 % 3", "fB = fA * 4 / 2", "rA = rB - -5",
          "C3 = C3 + 1", "S4 = S4 + C3", "hp = hp", "mhp = mhp", "sp = sp", "msp = msp", "x_abs = x_abs",
          "y_abs = y_abs", "x_scr = x_scr", "y_rel = 0", "x_rel = 0", "y_scr = y_scr", "tg.sight = tg.sight",
          "z = 1", "mark = mark", "stop = stop", "score = score", "life = life", "scrlx = scrlx",
          "v6 = 3+4", "v6", "v7 = v6 + (v6 * (2 + (1)))"})
        w.push_back(Code(F_CHARA, text));

    // Messages with variables, refreshed, in each placement; one of them
    // addressed again by its ID, replaced, and closed.
    for (int anchor = 0; anchor <= 8; ++anchor) {
        std::vector<int32_t> p(21, 0);
        p[0] = anchor, p[1] = 4, p[2] = 3, p[3] = 8, p[4] = -8, p[18] = anchor % 2;
        p[6] = 2, p[7] = 6, p[9] = 1, p[11] = 1, p[16] = 2, p[14] = anchor % 2;
        cEdFlowCmd m = C(CMD_MESSAGE, p, 1);
        m.m_strCode = english ? "Tickets #S2, var #V1_4Z, #C3_P. flow #F1 #F2_3PZ #X1 #S0"
                              : "#S2 #V1_4Z #C3_P. #F1 #F2_3PZ #X1 #S0";
        w.push_back(m);
    }
    for (int step = 0; step < 3; ++step) {
        std::vector<int32_t> p(21, 0);
        p[0] = 0, p[6] = 2, p[7] = 20, p[9] = 1, p[12] = 1, p[13] = 7, p[15] = step == 2 ? 1 : 0;
        p[17] = step == 1 ? 1 : 0;
        cEdFlowCmd m = C(CMD_MESSAGE, p, 3);
        m.m_strCode = step == 0 ? "#S4" : "#S4 and more text";
        w.push_back(m);
    }

    // Flow control: the stagehand's second flow started, paused, resumed,
    // stopped, started by ID on the hero's slot, and deleted.
    for (int op : {0, 2, 3, 1, 0, 5}) w.push_back(C(CMD_FLOW_CONTROL, {op, 2, 2, 0, 1}, 1));
    w.push_back(C(CMD_FLOW_CONTROL, {1, 2, 2, 3, 1}, 1));
    w.push_back(C(CMD_FLOW_CONTROL, {2, 1, 0, 0, 1}, 1));
    w.push_back(C(CMD_FLOW_CONTROL, {3, 1, 0, 0, 1}, 1));
    w.push_back(C(CMD_FLOW_CONTROL, {4, 2, 3, 0, 1}, 1));

    // Vanishing: every mode on a group nobody is in and on its own
    // summons.
    w.push_back(Summon(CMD_SUMMON_CHARA, 1, 20));
    for (int mode = 0; mode <= 5; ++mode) w.push_back(C(CMD_VANISH, {mode, 6, mode % 2, 1}, 1));
    // The second status operation: each setting of the stagehand given as
    // it stands, the hero's way of moving given again through his slot, the
    // refusals of a chara that is not the player and of the empty fourth
    // slot, and the vertical auto-scroll speed.
    for (auto [item, value] : {std::pair{1, 1}, {2, 0}, {3, 1}, {4, 1}, {5, 1}, {6, 0}})
        w.push_back(C(CMD_STATUS_OP2, {0, item, value, 0, 0, 1}));
    w.push_back(C(CMD_STATUS_OP2, {1, 3, 0, 0, 0, 1}));
    w.push_back(C(CMD_STATUS_OP2, {4, 4, 0, 0, 0, 1}));
    w.push_back(C(CMD_STATUS_OP2, {5, 1, 0, 0, 0, 1}));
    // Flow control behind a guard that holds (stage variable 8 counts the
    // second flow's runs) and one that does not; on the empty fourth slot;
    // the fourth flow, which pauses itself; and the hero's flow 26 taken
    // away from him.
    for (int op : {COND_OP_GREATER_EQUAL, COND_OP_LESS}) {
        cEdFlowCmd guarded = C(CMD_FLOW_CONTROL, {0, 2, 2, 0, 1});
        guarded.m_spCondList.Create().m_vecCond.push_back(VarCond(COND_STAGE_VAR, 8, op, 0));
        w.push_back(guarded);
    }
    w.push_back(C(CMD_FLOW_CONTROL, {1, 2, 2, 4, 1}));
    w.push_back(C(CMD_FLOW_CONTROL, {0, 2, 4, 0, 1}));
    w.push_back(C(CMD_FLOW_CONTROL, {4, 2, 26, 1, 1}));
    // Warps by every direction code over no distance: the stagehand stays
    // where it is.
    for (int d = 0; d < DIRECTION_CODE_COUNT; ++d) {
        cEdFlowCmd still = C(CMD_WARP, {1});
        cEdMove& m = still.m_spMove.Create();
        m.m_nDirection = static_cast<int8_t>(d);
        m.m_nDistance = 0;
        w.push_back(still);
    }
    // Products beyond the value range saturate (stage variable 7 squared
    // at the top of the range and at its bottom); the badge, a 16-bit
    // status, halved and then set to a percentage of itself; the sight of
    // a chara that is not the player refused.
    constexpr int kSet = 0, kMul = 3, kDiv = 4;
    for (int start : {999999, -999999}) {
        w.push_back(Ops(F_CHARA, {1, 1, 7, 0, 0, 0, kSet, 0, start}));
        w.push_back(Ops(F_CHARA, {1, 1, 7, 0, 0, 0, kMul, 0, 999999, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
    }
    w.push_back(Ops(F_CHARA, {0, 0, 0, 0, STATUS_MARK, 0, kDiv, 0, 2}));
    w.push_back(Ops(F_CHARA, {0, 0, 0, 0, STATUS_MARK, 0, kSet, 0, 50, 0, 0, 0, 0, 0, 0, 0, 1}));
    w.push_back(Ops(F_CHARA, {0, 0, 0, 0, STATUS_SIGHT, 0, kSet, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
    // A formula over the empty fourth slot reads nothing.
    w.push_back(Code(F_CHARA, "v2 = tg4.hp"));
    w.push_back(Code(F_CHARA, "S9 = 1"));
    // Only the moves and the swing take their time: the bookkeeping takes a
    // step each, so that the whole list is through long before the boss.
    for (cEdFlowCmd& c : w)
        if (c.m_nKind < CMD_MOVE_STRAIGHT || c.m_nKind > CMD_MOVE_DISABLE) c.m_nTime = c.m_nKind == CMD_SWORD ? c.m_nTime : 0;
    return w;
}

// Conditions of every kind, each starting a watch flow of the stagehand
// (a wait) when it holds and tested again when the wait is over: status conditions with each left side and
// operand source, the display statuses, the plain states and each
// distance axis.
std::vector<cCond> StagehandWatch() {
    std::vector<cCond> list;
    for (int left = 0; left <= 2; ++left)
        for (int src = 0; src <= 4; ++src) {
            cCond c;
            c.m_nKind = COND_STATUS;
            c.m_nLeftSource = static_cast<int8_t>(left);
            c.m_nLeftVarKind = static_cast<int8_t>(src % 2);
            c.m_nLeftTarget = static_cast<int8_t>(src == 3 ? 5 : src == 4 ? 1 : 0);
            c.m_nLeftItem = static_cast<int8_t>(src == 3 ? 2 : 1 + 3 * src);
            c.m_nVarIndex = 2;
            c.m_nLeftFlowVar = static_cast<int8_t>(1 + src % 2);
            c.m_nRightSource = static_cast<int8_t>(src);
            c.m_nValue = 123456;
            c.m_nRandomMin = 900000;
            c.m_nRandomMax = 999999;
            c.m_nRightTarget = static_cast<int8_t>(left == 2 ? 5 : 0);
            c.m_nRightItem = static_cast<int8_t>(left == 2 ? 3 : 7);
            c.m_nRightVarKind = static_cast<int8_t>(left % 2);
            c.m_nRightVarIndex = 3;
            c.m_nRightFlowVar = 1;
            c.m_nOp = COND_OP_EQUAL;
            c.m_bPercent = static_cast<int8_t>(src == 2 ? 1 : 0);
            c.m_nLeftCoordMode = 1;
            c.m_nRightCoordMode = 2;
            list.push_back(c);
        }
    for (int status = 0; status <= STATUS_GETSC; ++status) {
        cCond c = StatusCond(0, status, COND_OP_EQUAL, 777777);
        c.m_nRightSource = 2;
        c.m_nRightTarget = 1;
        c.m_nRightItem = static_cast<int8_t>(status);
        list.push_back(c);
    }
    for (int sys = 0; sys <= 5; ++sys) list.push_back(StatusCond(5, sys, COND_OP_EQUAL, 777777));
    for (int subject : {0, 1, 3, 5})
        for (int item = 0; item <= 7; ++item) {
            cCond c;
            c.m_nKind = COND_STATUS2;
            c.m_nLeftTarget = static_cast<int8_t>(subject);
            c.m_nLeftItem = static_cast<int8_t>(item);
            c.m_nVarIndex = 99;
            c.m_nOp = COND_OP_EQUAL;
            list.push_back(c);
        }
    for (int subject : {0, 1, 3})
        for (int item = 0; item <= 5; ++item) {
            cCond c;
            c.m_nKind = COND_STATUS3;
            c.m_nLeftTarget = static_cast<int8_t>(subject);
            c.m_nLeftItem = static_cast<int8_t>(item);
            c.m_nOp = static_cast<int8_t>(subject == 3 && item == 4 ? 0 : item == 5 ? 0 : 1);
            list.push_back(c);
        }
    for (int axis = 0; axis <= 6; ++axis)
        for (int subject : {0, 1, 3, 6}) {
            cCond c = Near(200);
            c.m_nLeftTarget = static_cast<int8_t>(subject);
            c.m_nDirection = static_cast<int8_t>(axis);
            c.m_nRightVarIndex = 5;
            c.m_nOp = 1;  // outside: never, the distance being the whole stage
            list.push_back(c);
        }
    for (int op = 0; op <= 8; ++op) list.push_back(VarCond(COND_STAGE_VAR, 8, op, 4));
    list.push_back(VarCond(COND_COMMON_VAR, 3, COND_OP_GREATER, 100));
    list.push_back(VarCond(COND_NONE, 0, 0, 0));
    cCond noAxis = Near(1);
    noAxis.m_nDirection = 7;
    list.push_back(noAxis);
    return list;
}

cEdChara Stagehand(int x, bool english) {
    cEdChara c = Chara("Stagehand", x, 1, 1);
    c.m_nMoveType = 1;
    c.m_bTransparent = 1;
    c.m_nInvincible = 1;
    c.m_nGroup = 5;
    c.m_nActivationMode = 1;
    cEdFlow work = Flow(1, StagehandWork(english));
    work.m_vecCond.push_back(VarCond(COND_STAGE_VAR, 9, COND_OP_EQUAL, 0));
    // The second flow plays the first animation while it waits; the fourth
    // pauses itself after a wait.
    cEdFlowCmd posing = C(CMD_WAIT, {}, 5);
    posing.m_nAnime = 1;
    cEdFlow second = Flow(2, {posing, Code(F_CHARA, "S8 = S8 + 1")}, TRG_NONE);
    cEdFlow third = Flow(3, {C(CMD_WAIT, {}, 5)}, TRG_NONE);
    cEdFlow fourth = Flow(4, {C(CMD_WAIT, {}, 5), C(CMD_FLOW_CONTROL, {2, 0, 0, 0, 1})}, TRG_NONE);
    c.m_vecFlow = {work, second, third, fourth};
    for (const cCond& cond : StagehandWatch()) {
        cEdFlow watch = Flow(0, {C(CMD_WAIT, {}, 30)});
        watch.m_vecCond.push_back(cond);
        c.m_vecFlow.push_back(watch);
    }
    return c;
}

}  // namespace

cStage HarbourStage(bool english) {
    const int width = 170;
    cStage s = LongStage("Harbour", width);
    s.m_bTimeLimit = 1;
    s.m_nTimeLimit = 120;
    s.m_nBgm = kBgmOgg;
    s.m_bBgmRepeat = 1;
    s.m_bCarryOut = 1;
    s.m_vecItemPalette.push_back(CoinEntry());
    // A sea-blue sky behind everything.
    cEdBackground sea;
    sea.m_bFill = 1;
    sea.m_nFillColor = 12;
    s.m_vecBackground.push_back(sea);

    Floor(s, 0, width, 2);
    // Foot blocks along the quay: a spring, slippery planks, slow sand and
    // two conveyors (the one running left is gentle enough to walk against).
    auto replaceFloor = [&](int x, int foot, int value) {
        for (cEdBlock& b : s.m_vecPlacedBlock)
            if (b.m_nX == x && b.m_nY == kFloorRow) b = FootBlock(x, foot, value);
    };
    for (int x = 17; x < 20; ++x) replaceFloor(x, cEdBlock::FOOT_JUMP, 4);
    // The middle spring pays a coin (stage item palette entry 1).
    for (cEdBlock& b : s.m_vecPlacedBlock)
        if (b.m_nX == 18 && b.m_nY == kFloorRow) b.m_nItemSource = PAL_STAGE, b.m_nItemIndex = 1;
    for (int x = 28; x < 34; ++x) replaceFloor(x, cEdBlock::FOOT_NO_JUMP, 0);
    for (int x = 40; x < 46; ++x) replaceFloor(x, cEdBlock::FOOT_SPEED, 50);
    for (int x = 52; x < 58; ++x) replaceFloor(x, cEdBlock::FOOT_RIGHT, 10);
    for (int x = 64; x < 68; ++x) replaceFloor(x, cEdBlock::FOOT_LEFT, 5);
    // Spikes on a high ledge that nothing reaches, and a ledge of blocks that
    // come by chance and stay.
    for (int x = 100; x < 104; ++x) s.m_vecPlacedBlock.push_back(Block(x, 2, 1, cEdBlock::HIT_DEADLY));
    // Beams low over the quay, which the hero's jumps knock his head on.
    for (int x = 84; x < 88; ++x) s.m_vecPlacedBlock.push_back(Block(x, kFloorRow - 3, 1));
    for (int x = 76; x < 80; ++x) {
        cEdBlock b = Block(x, kFloorRow - 4, 1);
        b.m_vecCond.push_back(VarCond(COND_STAGE_VAR, 1, COND_OP_EQUAL, 0));
        b.m_bCondLatch = 1;
        s.m_vecPlacedBlock.push_back(b);
    }

    cEdChara hero = Hero(3, 20);
    hero.m_vecFlow.push_back(Flow(8, {Message(F_CHARA, english ? "The harbour! Reach the lighthouse." : "\x83\x6e\x81\x5b\x83\x6f\x81\x5b\x82\xbe\x81\x49", 30),
                                      C(CMD_PLAY_BGM, {0, kBgmOgg})},
                                 TRG_STAGE_START));
    hero.m_vecFlow.push_back(Flow(9, {Se()}, TRG_ON_BLOCK_CHARA));
    hero.m_vecFlow.push_back(Flow(10, {Se()}, TRG_HIT_ITEM));
    // A pair of wings (stage variable 6): for two seconds the hero flies
    // (a flyer that hits blocks), then walks again.
    cEdFlow wings = Flow(11, {C(CMD_STATUS_OP2, {0, 3, 2, 1, 0, 0}, 1), C(CMD_WAIT, {}, 20),
                              C(CMD_STATUS_OP2, {0, 3, 0, 0, 0, 0}, 1), Code(F_CHARA, "S6 = 2")});
    wings.m_vecCond.push_back(VarCond(COND_STAGE_VAR, 6, COND_OP_EQUAL, 1));
    hero.m_vecFlow.push_back(wings);
    hero.m_nImpactResist = 1;  // sea legs: knocks throw him a little less far
    s.m_vecPlacedChara.push_back(hero);

    // Cargo: block charas drawn from the block sheet, solid for everyone.
    auto cargo = [&](const char* name, int x, int y, int moveType, std::vector<cEdFlow> flows) {
        cEdChara c = Chara(name, x, y, 1);
        c.m_bBlockChara = 1;
        c.m_nMoveType = static_cast<int8_t>(moveType);
        c.m_nGroup = 2;
        c.m_nInvincible = 1;
        c.m_nGraphicKind = 0;  // the block sheet
        c.m_nGraphic = 3;      // stone
        c.m_vecFlow = std::move(flows);
        s.m_vecPlacedChara.push_back(c);
    };
    // An awning over the quay, flapping a little in the wind (its parts
    // keep time from the start): the hero's jumps bump against it.
    for (int x = 97; x < 102; ++x) {
        cargo("Awning", x, kFloorRow - 3, 1, {Flow(1, {Walk(DIR_DOWN, 5, 3), Walk(DIR_UP, 5, 3)})});
        s.m_vecPlacedChara.back().m_nActivationRange = 3;
    }
    // A ferry of two planks shuttling along the quay, which the hero is
    // pushed by, rides and walks across; they keep time from the start.
    for (int x : {106, 107}) {
        cargo("Ferry", x, kFloorRow - 1, 1,
              {Flow(1, {Walk(DIR_RIGHT, 10, 30), Walk(DIR_LEFT, 10, 30)}), Flow(2, {Se()}, TRG_RIDDEN_BY_HERO),
               Flow(3, {Se()}, TRG_RIDDEN_BY_CHARA)});
        s.m_vecPlacedChara.back().m_nActivationRange = 3;
    }
    // A gull flying low over the quay (a flyer that hits blocks) meets the
    // ferry; a tern diving onto the crates (a flyer that dies on a block)
    // does not come up again.
    {
        cEdChara gull = Chara("Gull", 117, kFloorRow - 1, 4);
        gull.m_nMoveType = 2;
        gull.m_nGraphic = 3;
        gull.m_nAttack = 1;
        gull.m_nImpact = 4;     // its touch knocks the hero back
        gull.m_nHitEffect = 1;  // with a spark
        gull.m_nInvincible = 1;
        gull.m_vecFlow = {Flow(1, {Walk(DIR_LEFT, 10, 30), Walk(DIR_RIGHT, 10, 30)}), Flow(2, {Se()}, TRG_HIT_BLOCK_CHARA)};
        s.m_vecPlacedChara.push_back(gull);
        cEdChara tern = Chara("Tern", 134, 4, 4);
        tern.m_nMoveType = 3;
        tern.m_nInvincible = 1;
        tern.m_nGraphic = 3;
        tern.m_vecFlow = {Flow(1, {Walk(DIR_DOWN, 10, 60)}), Flow(2, {Se()}, TRG_DIED)};
        s.m_vecPlacedChara.push_back(tern);
    }
    // Crates stacked as steps (one, then two high), a walker pacing between
    // them and a crate that slides on ahead of the hero.
    cargo("Crate", 133, kFloorRow - 1, 0, {Flow(1, {Se()}, TRG_HIT_BLOCK_CHARA)});
    cargo("Crate", 134, kFloorRow - 2, 0, {});
    cargo("Crate", 134, kFloorRow - 1, 0, {});
    {
        // Once the hero comes near it slides a few blocks on and stays.
        cEdFlow slide = Flow(1, {Walk(DIR_RIGHT, 15, 20), Se()});
        slide.m_vecCond.push_back(Near(3));
        slide.m_bCondOnce = 1;
        cargo("Crate", 151, kFloorRow - 1, 0, {slide});
    }
    // Loose planks laid in the quay just past the springs (the spring's
    // jump holds back the hero's own until he next stands on a chara).
    for (int x = 21; x < 27; ++x) {
        std::erase_if(s.m_vecPlacedBlock, [x](const cEdBlock& b) { return b.m_nX == x && b.m_nY == kFloorRow; });
        cargo("Plank", x, kFloorRow, 1, {});
    }
    // An anchor let down from a crane sinks through the quay into the sea
    // and is gone.
    cEdChara anchor = Chara("Anchor", 30, 2, 1);
    anchor.m_nMoveType = 1;
    anchor.m_nGraphicKind = 0;
    anchor.m_nGraphic = 3;
    anchor.m_nActivationRange = 3;  // it sinks from the start, seen or not
    anchor.m_vecFlow = {Flow(1, {Walk(DIR_DOWN, 20, 100)})};
    s.m_vecPlacedChara.push_back(anchor);
    // A walker starts on top of the steps and climbs down them; another,
    // tougher one paces in a pen of two crates, turning at each.
    cEdChara stepWalker = Walker(134);
    stepWalker.m_nY = kFloorRow - 3;
    s.m_vecPlacedChara.push_back(stepWalker);
    cargo("Crate", 139, kFloorRow - 1, 0, {});
    cargo("Crate", 143, kFloorRow - 1, 0, {});
    cEdChara penned = Walker(141);
    penned.m_nMaxHP = 20;
    penned.m_nDefence = 2;
    s.m_vecPlacedChara.push_back(penned);

    // Placed item 0 is a coin the last walker carries until it falls.
    s.m_vecPlacedItem.push_back(Item(0, 0, {}, true, "Coin"));
    for (int x : {24, 48, 72, 92}) s.m_vecPlacedChara.push_back(Walker(x));
    // One walker paces the chance ledge, turning at its ends.
    cEdChara ledgeWalker = Walker(77);
    ledgeWalker.m_nY = kFloorRow - 5;
    s.m_vecPlacedChara.push_back(ledgeWalker);
    s.m_vecPlacedChara.push_back(Walker(120, 0));
    // Coins with their popup, the wings, an extra life, and the lighthouse goal.
    for (int x : {10, 36, 60, 88, 130}) s.m_vecPlacedItem.push_back(Item(x, kFloorRow - 2, {}, true, "Coin"));
    s.m_vecPlacedItem.push_back(Item(126, kFloorRow - 1, {Code(F_ITEM, "S6 = 1"), Cmd(F_ITEM, ICMD_PLAY_SE, {kSeBlip})}, true,
                                     english ? "Wings" : "\x83\x45\x83\x43\x83\x93\x83\x4f"));
    // A bell on the quay rings whenever the hero walks into it anew.
    cEdItem bell = Item(112, kFloorRow - 1, {Cmd(F_ITEM, ICMD_PLAY_SE, {kSeBlip})}, false, "Bell");
    bell.m_nTakeMode = cEdItem::TAKE_ALWAYS;
    s.m_vecPlacedItem.push_back(bell);
    s.m_vecPlacedItem.push_back(Item(96, kFloorRow - 1,
                                     {StatusOp(F_ITEM, 5, SYSVAL_LIFE, 1, 1), Cmd(F_ITEM, ICMD_PLAY_SE, {kSeBlip})},
                                     true, english ? "Extra life" : "1UP"));
    s.m_vecPlacedItem.push_back(Goal(width - 5));
    return s;
}

namespace {

// The theatre's presentation commands, each with the parameters by name.
struct MessageSpec {
    int anchor = 1;             // 1..3 at this chara, 4..6 at the hero, 0 and 7..10 on the screen or stage
    int x = 0, y = 0;           // the point of anchors 7..10
    int dx = 0, dy = 0;         // offsets in dots
    bool clamp = false;         // kept on the screen
    int wait = 2;               // 0 a button, 2 the time, 1 neither: the window stays
    int tenths = 0;             // the time shown
    bool block = false;         // the flow waits for the window
    bool variables = false;     // "#S2" and the like show their values
    bool fixed = false;         // the place is taken once
    int refreshFrames = 0;      // variables shown again every so many frames (0: never)
    int id = 0;                 // the window's ID (0: none)
    bool framed = false;        // in a framed box
    bool close = false;         // closes the window with the ID
    bool oneFrame = false;      // shown for one frame
    int unit = 0;               // the point in blocks (0) or dots (1)
};

cEdFlowCmd Say(int family, const std::string& text, const MessageSpec& m) {
    std::vector<int32_t> p(21, 0);
    p[0] = m.anchor, p[1] = m.x, p[2] = m.y, p[3] = m.dx, p[4] = m.dy, p[5] = m.clamp;
    p[6] = m.wait, p[7] = m.tenths, p[8] = m.block, p[9] = m.variables, p[10] = m.fixed;
    p[11] = m.refreshFrames != 0, p[12] = m.id != 0, p[13] = m.id, p[14] = m.framed, p[15] = m.close;
    p[16] = m.refreshFrames, p[17] = m.oneFrame, p[18] = m.unit;
    cEdFlowCmd c = Cmd(family, Kind(family, ICMD_MESSAGE, CMD_MESSAGE), p);
    c.m_strCode = text;
    return c;
}

struct PictureSpec {
    int picture = 1;            // 0: takes pictures away
    int place = 0;              // 0 screen centre, 1 this chara, 2 the hero, 3..6 screen or stage points
    int x = 0, y = 0, dx = 0, dy = 0;
    int layer = 0;              // 0 behind the charas, 1 in front
    int percent = 100, percentY = 0;  // the size; percentY 0: as percent
    bool mirrorX = false, mirrorY = false;
    int mode = 2;               // 2: for the time; others until taken away
    int tenths = 0;
    bool block = false;         // the flow waits for it
    bool keepOnScreen = false;  // swaps the anchoring of the place
    int id = 0;                 // the picture's ID (0: none)
    int unit = 0;               // points in blocks (0) or dots (1)
};

cEdFlowCmd Show(int family, const PictureSpec& s) {
    std::vector<int32_t> p(20, 0);
    p[0] = s.picture, p[1] = s.place, p[2] = s.x, p[3] = s.y, p[4] = s.dx, p[5] = s.dy, p[6] = s.layer;
    p[7] = s.percent, p[8] = s.percentY != 0, p[9] = s.percentY, p[10] = s.mirrorX, p[11] = s.mirrorY;
    p[12] = s.mode, p[13] = s.tenths, p[14] = s.block, p[15] = s.keepOnScreen, p[16] = s.id != 0, p[17] = s.id;
    p[19] = s.unit;
    return Cmd(family, Kind(family, ICMD_SHOW_PICTURE, CMD_SHOW_PICTURE), p);
}

struct EffectSpec {
    int id = 1;                 // 0: clears every effect
    int anchor = 0;             // 0 screen centre, 1 this chara, 2 the hero, 3..6 screen or stage points
    int x = 0, y = 0, dx = 0, dy = 0;
    int layer = 1;
    int percent = 100;
    bool wait = false;          // the flow waits for its end
    int unit = 0;
};

cEdFlowCmd Spark(int family, const EffectSpec& e) {
    std::vector<int32_t> p(10, 0);
    p[0] = e.id, p[1] = e.anchor, p[2] = e.x, p[3] = e.y, p[4] = e.dx, p[5] = e.dy, p[6] = e.layer;
    p[7] = e.percent, p[8] = e.wait, p[9] = e.unit;
    return Cmd(family, Kind(family, ICMD_RUN_EFFECT, CMD_RUN_EFFECT), p);
}

// A tint of the screen in red, green and blue at a strength in percent over
// `tenths`; `back` fades back from the tint in force; `flashes` > 0 flashes
// that many times instead.
cEdFlowCmd Tint(int r, int g, int b, int strength, bool back, int tenths, int flashes = 0) {
    return C(CMD_SCREEN_COLOR, {r, g, b, strength, back, tenths, flashes > 0, flashes}, 0);
}

cEdFlowCmd Wait(int tenths) { return C(CMD_WAIT, {}, tenths); }

// The hero within `halfBlocks` half blocks, measured along `axis` (0 across,
// 1 ahead, 2 behind, 3 up and down, 4 and 5 below or above by the facing, 6
// round), with the area drawn over the stage in colour `colour` (0..7); also
// while the chara does not act, or while it is not shown, when asked.
cCond ShownNear(int halfBlocks, int axis, int colour, bool whenInactive = false, bool whenUnseen = false) {
    cCond c = Near(halfBlocks);
    c.m_nDirection = static_cast<int8_t>(axis);
    c.m_nLeftSource = 1;  // the area is shown
    c.m_nLeftItem = static_cast<int8_t>(colour);
    c.m_nRightSource = whenInactive ? 1 : 0;
    c.m_nRightTarget = whenUnseen ? 1 : 0;
    return c;
}

// The duration (tenths) of the database's chara effect of each kind.
int CharaEffectTenths(int kind) { return (kind >= 1 && kind <= 5) || kind == 10 ? 5 : 10; }

// A chara effect run to its end: forward (0), backward (1) or there and back (2).
void RunCharaEffect(std::vector<cEdFlowCmd>& show, int kind, int mode) {
    show.push_back(C(CMD_RUN_CHARA_EFFECT, {kind, mode, 0}));
    show.push_back(Wait(CharaEffectTenths(kind) * (mode == 2 ? 2 : 1) + 1));
}

// The narrator: a large figure over the stage that floats along with the
// view. It runs every chara effect on itself, and the screen effects, tints,
// pictures and effects of the play, and keeps the house's board up to date.
cEdChara Narrator(bool english) {
    cEdChara n = Chara(english ? "Narrator" : "\x8c\xea\x82\xe8\x8e\xe8", 15, 4, 10);
    n.m_nSize = 2;
    n.m_nGraphic = 5;
    n.m_nMoveType = 1;  // flying
    n.m_bSyncAutoScroll = 1;
    n.m_nInvincible = 1;
    n.m_nGroup = 4;
    n.m_bBadge = 1;
    n.m_nBadge = 2;
    // Each flow runs once: its last command sets its own chara variable.
    auto once = [](int id, std::vector<cEdFlowCmd> cmds, int var) {
        cmds.push_back(Code(F_CHARA, "v" + std::to_string(var) + " = 1"));
        cEdFlow f = Flow(id, std::move(cmds));
        f.m_vecCond.push_back(VarCond(COND_CHARA_VAR, var, COND_OP_EQUAL, 0));
        return f;
    };

    // Every chara effect on the narrator, in each direction.
    std::vector<cEdFlowCmd> looks;
    for (int k = 1; k <= 16; ++k) RunCharaEffect(looks, k, k % 3);

    // The screen: a red tint that fades in and back out and three white
    // flashes; then every screen effect, one of them there and back, two
    // backwards, and one repeated until stopped.
    std::vector<cEdFlowCmd> screen = {Tint(255, 48, 48, 40, false, 10), Wait(12), Tint(0, 0, 0, 0, true, 10), Wait(12),
                                      Tint(255, 255, 255, 80, false, 2, 3), Wait(8)};
    for (int k = 1; k <= 13; ++k) {
        const int mode = k == 4 ? 2 : k == 9 || k == 11 ? 1 : 0;
        screen.push_back(C(CMD_RUN_SCREEN_EFFECT, {k, mode, 0}));
        screen.push_back(Wait(mode == 2 ? 21 : 11));
    }
    // The view drawn back to half its size; a mosaic held still.
    for (int k : {14, 15}) {
        screen.push_back(C(CMD_RUN_SCREEN_EFFECT, {k, 0, 0}));
        screen.push_back(Wait(11));
    }
    screen.push_back(C(CMD_RUN_SCREEN_EFFECT, {2, 0, 1}));
    screen.push_back(Wait(15));
    screen.push_back(C(CMD_RUN_SCREEN_EFFECT, {0, 0, 0}));

    // The board, in a framed window kept on the screen and shown again
    // every six frames: the tickets taken, the seconds of the play, the
    // encores asked for, and whether the narrator's looks are done (its own
    // variable 1, which shows as "?" once the board is shown again, as no
    // chara runs then). A card with the act over the stage, changed as the
    // acts go by.
    MessageSpec board;
    board.anchor = 7, board.unit = 1, board.x = -8, board.y = 4, board.clamp = true, board.wait = 1;
    board.variables = true, board.refreshFrames = 6, board.id = 1, board.framed = true;
    MessageSpec card;
    card.anchor = 8, card.x = 10, card.y = 3, card.wait = 0, card.id = 2, card.framed = true;
    MessageSpec closeCard = card;
    closeCard.close = true;
    std::vector<cEdFlowCmd> acts = {
        Say(F_CHARA, english ? "Act 1" : "\x91\xe6""1\x96\x8b", card),
        Say(F_CHARA, english ? "Tickets #S2  Time #S6 s  Encores #S8  Looks done #V1"
                        : "\x83`\x83P\x83""b\x83g#S2 \x8e\x9e\x8a\xd4#S6\x95""b \x83""A\x83\x93\x83R\x81[\x83\x8b#S8 #V1",
            board),
        Wait(40),
        Say(F_CHARA, english ? "Act 2" : "\x91\xe6""2\x96\x8b", card),
        Wait(40),
        Say(F_CHARA, english ? "Act 3: Finale" : "\x91\xe6""3\x96\x8b \x83t\x83""B\x83i\x81[\x83\x8c", card),
        Wait(40),
        Say(F_CHARA, "", closeCard),
    };

    // Pictures: the poster by ID 2 at a screen point, then in its place at
    // another point, mirrored (the same image, so its surface is kept),
    // while ID 3 stands at a point of the stage and gives its place to the
    // playbill; one poster follows the narrator and one the hero; then ID 2
    // and an ID nobody has are taken away, and at last all of them. The
    // play waits for a last, small one.
    PictureSpec poster;
    poster.place = 3, poster.x = 1, poster.y = 3, poster.percent = 50, poster.layer = 1, poster.mode = 0, poster.id = 2;
    PictureSpec moved = poster;
    moved.place = 4, moved.unit = 1, moved.x = 480, moved.y = 120, moved.mirrorX = true;
    PictureSpec onStage;
    onStage.place = 5, onStage.x = 40, onStage.y = 4, onStage.percentY = 60, onStage.mirrorY = true, onStage.mode = 0;
    onStage.id = 3;
    PictureSpec centred = onStage;
    centred.place = 6, centred.unit = 1, centred.x = 1100, centred.y = 96, centred.keepOnScreen = true, centred.id = 4;
    centred.percent = 40, centred.percentY = 0, centred.mirrorY = false;
    PictureSpec playbill = onStage;  // ID 3 becomes the playbill, another image
    playbill.picture = 2, playbill.percent = 20, playbill.percentY = 0, playbill.mirrorY = false;
    PictureSpec withMe;
    withMe.place = 1, withMe.percent = 25, withMe.dy = -48, withMe.tenths = 20, withMe.layer = 1;
    PictureSpec withHero = withMe;
    withHero.place = 2, withHero.keepOnScreen = true, withHero.dy = -64;
    PictureSpec takeId2;
    takeId2.picture = 0, takeId2.id = 2;
    PictureSpec takeNobody = takeId2;
    takeNobody.id = 9;
    PictureSpec takeAll;
    takeAll.picture = 0;
    PictureSpec held;
    held.percent = 30, held.tenths = 5, held.block = true;
    std::vector<cEdFlowCmd> pictures = {
        Wait(30), Show(F_CHARA, poster), Show(F_CHARA, onStage), Wait(10), Show(F_CHARA, moved), Wait(10),
        Show(F_CHARA, centred), Show(F_CHARA, playbill), Show(F_CHARA, withMe), Show(F_CHARA, withHero), Wait(20),
        Show(F_CHARA, takeId2), Show(F_CHARA, takeNobody), Wait(10), Show(F_CHARA, takeAll), Show(F_CHARA, held),
    };

    // Sparks at each kind of place, in blocks and in dots, one of them
    // large; the play waits for the last one, and the sparks still burning
    // stand still meanwhile; then every spark is cleared.
    std::vector<cEdFlowCmd> sparks = {Wait(60)};
    for (int anchor = 1; anchor <= 6; ++anchor)
        for (int unit = 0; unit <= 1; ++unit) {
            EffectSpec e;
            e.anchor = anchor, e.unit = unit, e.layer = unit;
            e.x = unit ? 96 : 3, e.y = unit ? 160 : 5, e.dx = 8 * anchor, e.dy = -4 * anchor;
            e.percent = anchor == 4 ? 150 : 100;
            sparks.push_back(Spark(F_CHARA, e));
        }
    EffectSpec awaited;
    awaited.wait = true;
    sparks.push_back(Spark(F_CHARA, awaited));
    EffectSpec clear;
    clear.id = 0;
    sparks.push_back(Spark(F_CHARA, clear));

    // The narrator's gestures: it starts an animation and holds itself,
    // the animation with it, until its other flow lets it go a second
    // later; after a moment two quick poses, each with the animation while
    // it lasts, overlap, and two longer ones follow; the animation is
    // stopped at last.
    cEdFlowCmd start = C(CMD_RUN_ANIME, {1, 0});
    start.m_bSameFrame = 1;
    std::vector<cEdFlowCmd> gestures = {start, C(CMD_FLOW_CONTROL, {2, 0, 0, 0, 0}), Wait(5)};
    for (int tenths : {0, 0, 30, 10}) {
        cEdFlowCmd pose = Wait(tenths);
        pose.m_nAnime = 1;
        gestures.push_back(pose);
    }
    gestures.push_back(C(CMD_RUN_ANIME, {1, 1}));
    std::vector<cEdFlowCmd> hold = {Wait(10), C(CMD_FLOW_CONTROL, {3, 2, 5, 0, 0})};

    n.m_vecFlow = {once(1, looks, 1),     once(2, screen, 2),     once(3, acts, 3),
                   once(4, pictures, 4),  once(5, gestures, 5),   once(6, hold, 6),
                   once(7, sparks, 7)};
    // The seconds of the play, on the board.
    n.m_vecFlow.push_back(Flow(8, {Code(F_CHARA, "S6 = S6 + 1"), Wait(10)}));
    return n;
}

}  // namespace

cStage TheatreStage(bool english) {
    const int width = 170;
    cStage s = LongStage("Theatre", width);
    // The view moves on by itself, a little slower than the hero walks.
    s.m_bAutoScrollX = 1;
    s.m_nAutoScrollSpeedX = 25;
    s.m_nBgm = kBgmMidi;
    s.m_bBgmRepeat = 1;
    s.m_bCarryIn = 1;
    // The curtain falls in a minute; the last three quarters of it are
    // counted down aloud.
    s.m_bTimeLimit = 1;
    s.m_nTimeLimit = 60;
    s.m_nWarnTime = 45;
    s.m_vecItemPalette.push_back(CoinEntry());
    // Behind the stage: the house's dark (the stage's first background), the
    // curtain and a painted backdrop of hills, drifting slowly.
    cEdBackground curtain;
    curtain.m_bFill = 1;
    curtain.m_nFillColor = 6;
    s.m_vecBackground.push_back(curtain);
    cEdBackground backdrop;
    backdrop.m_strFile = "bmp\\Poster.bmp";
    backdrop.m_dParallaxX = 0.5;
    backdrop.m_dParallaxY = 0.0;
    backdrop.m_bAutoX = 1;
    backdrop.m_dAutoSpeedX = 0.5;
    s.m_vecBackground.push_back(backdrop);
    Floor(s, 0, width, 2);
    // Footlights: a row of blocks high over the stage (out of the hero's
    // reach, as they come and go) that show only while stage variable 2,
    // the tickets taken, is even.
    for (int x = 30; x < 120; x += 6) {
        cEdBlock b = Block(x, 2, 1);
        b.m_vecCond.push_back(VarCond(COND_STAGE_VAR, 2, COND_OP_DIVISIBLE, 2));
        s.m_vecPlacedBlock.push_back(b);
    }
    // Statues of knights at the back of the stage, one facing each way.
    for (int x : {44, 90}) {
        cEdBlock statue = Block(x, kFloorRow - 3, 4);
        statue.m_nGraphicKind = 1;
        statue.m_nGraphicCell = x == 44 ? 0 : 20;
        statue.m_nHitMode = cEdBlock::HIT_NONE;
        s.m_vecPlacedBlock.push_back(statue);
    }

    cEdChara hero = Hero(3, 20);
    hero.m_nLightShape = 1;  // a round spotlight while the house is dark
    // The hero's spread shots (its fourth flow) spark where they strike.
    hero.m_vecFlow[3].m_vecCmd[0].m_spShot->m_nEffect = 1;
    // The show: the hero's own flow runs chara effects on the hero (a blink,
    // a fade, a wave there and back, a growth, a burst repeated until
    // stopped, a turn backwards), a poster, the backgrounds out and back in,
    // messages and the lights.
    std::vector<cEdFlowCmd> show;
    show.push_back(StatusOp(F_CHARA, 0, STATUS_SIGHT, 0, 8));
    show.push_back(Message(F_CHARA, english ? "Welcome to the theatre!" : "\x82\xe6\x82\xa4\x82\xb1\x82\xbb\x81\x49", 20));
    RunCharaEffect(show, 6, 0);
    RunCharaEffect(show, 14, 0);
    RunCharaEffect(show, 4, 2);
    RunCharaEffect(show, 11, 0);
    show.push_back(C(CMD_RUN_CHARA_EFFECT, {1, 0, 1}));
    show.push_back(Wait(12));
    show.push_back(C(CMD_RUN_CHARA_EFFECT, {0, 0, 0}));
    show.push_back(C(CMD_RUN_CHARA_EFFECT, {7, 1, 0}));
    show.push_back(Wait(5));
    show.push_back(Picture(F_CHARA, 20));
    show.push_back(Wait(10));
    // The backdrop goes, then the curtain and the house's own dark: nothing
    // is left behind the stage for a second; all three come back.
    show.push_back(C(CMD_CHANGE_BACKGROUND, {3, 1}));
    show.push_back(C(CMD_CHANGE_BACKGROUND, {2, 1}));
    show.push_back(C(CMD_CHANGE_BACKGROUND, {1, 2}));
    show.push_back(Wait(10));
    show.push_back(C(CMD_CHANGE_BACKGROUND, {1, 0}));
    show.push_back(C(CMD_CHANGE_BACKGROUND, {2, 2}));
    show.push_back(C(CMD_CHANGE_BACKGROUND, {3, 2}));
    show.push_back(Effect(F_CHARA, 1));
    show.push_back(StatusOp(F_CHARA, 0, STATUS_SIGHT, 0, 0));
    show.push_back(C(CMD_PLAY_BGM, {0, kBgmOgg}, 1));
    // The stage's start runs only the commands that finish at once: it
    // raises the curtain (stage variable 3), and the show runs once while
    // the curtain is up.
    cEdFlowCmd curtainUp = Code(F_CHARA, "S3 = 1");
    curtainUp.m_bSameFrame = 1;
    hero.m_vecFlow.push_back(Flow(8, {curtainUp}, TRG_STAGE_START));
    show.push_back(Code(F_CHARA, "S3 = 2"));
    cEdFlow showAlways = Flow(9, std::move(show));
    showAlways.m_vecCond.push_back(VarCond(COND_STAGE_VAR, 3, COND_OP_EQUAL, 1));
    hero.m_vecFlow.push_back(showAlways);
    hero.m_vecFlow.push_back(Flow(10, {Code(F_CHARA, "v1 = v1 + 1")}, TRG_HIT_ITEM));
    s.m_vecPlacedChara.push_back(hero);
    s.m_vecPlacedChara.push_back(Narrator(english));

    // A bouquet on the stage asks, in a window that holds the play, whether
    // the hero takes it: "Yes" (1) lights a balcony over the stage and puts
    // an extra life in the hero's way; "No" (2) leaves both dark. The answer
    // given before (stage variable 5) is offered first.
    std::vector<int32_t> offer(21, 0);
    offer[0] = 4;   // at the hero
    offer[8] = 1;   // the play waits for the answer
    offer[19] = 1;  // with choices
    offer[20] = 1;  // the chosen value goes to the command's result
    cEdFlowCmd ask = Cmd(F_ITEM, ICMD_MESSAGE, offer);
    ask.m_strCode = english ? "A bouquet from the house. Will you take it?\n#R1_S5 Yes\n#R2_S5 No"
                            : "\x8c\x80\x8f\xea\x82\xcc\x89\xd4\x91\xa9\x82\xc5\x82\xb7\x81"
                              "B\x8e\xf3\x82\xaf\x8e\xe6\x82\xe8\x82\xdc\x82\xb7\x82\xa9\x81H\n#R1_S5 "
                              "\x82\xcd\x82\xa2\n#R2_S5 \x82\xa2\x82\xa2\x82\xa6";
    s.m_vecPlacedItem.push_back(Item(12, kFloorRow - 1, {ask, Code(F_ITEM, "S5 = fA")}));
    cEdItem life = Item(16, kFloorRow - 1, {StatusOp(F_ITEM, 5, SYSVAL_LIFE, 1, 1), Cmd(F_ITEM, ICMD_PLAY_SE, {kSeBlip})},
                        true, english ? "Extra life" : "1UP");
    life.m_vecCond.push_back(VarCond(COND_STAGE_VAR, 5, COND_OP_EQUAL, 1));
    s.m_vecPlacedItem.push_back(life);
    // The balcony, lit only after a "Yes".
    for (int x = 20; x < 26; ++x) {
        cEdBlock b = Block(x, kFloorRow - 6, 1);
        b.m_vecCond.push_back(VarCond(COND_STAGE_VAR, 5, COND_OP_EQUAL, 1));
        s.m_vecPlacedBlock.push_back(b);
    }

    // Actors: each says its line (with its take) below, on or over itself or
    // the hero, changes its looks and runs an animation when the hero comes
    // near (the area of which is drawn on the stage); the last bows out. One
    // wears a badge.
    for (int i = 0; i < 4; ++i) {
        cEdChara actor = Chara("Actor", 30 + 25 * i, kFloorRow - 1, 4);
        actor.m_nGroup = 3;
        actor.m_nInvincible = 1;
        if (i == 1) actor.m_bBadge = 1, actor.m_nBadge = 1;
        MessageSpec line;
        line.anchor = 2 + i;  // below or on itself, over or below the hero
        line.tenths = 15;
        line.variables = true;
        line.fixed = i % 2 == 1;
        cEdFlow act = Flow(1, {Say(F_CHARA, english ? "Take #V2_2Z: To be, or not to be..."
                                                    : "\x83""e\x83""C\x83N#V2_2Z\x81""F\x82\xa0\x82\xa0\x81""c",
                                   line),
                               C(CMD_GAME_WAIT, {2}),
                               C(CMD_CHANGE_GRAPHIC, {1, 2, 0}, 1), C(CMD_CHANGE_ANIME_SET, {0}, 1),
                               C(CMD_RUN_ANIME, {1, 0}, 5), C(CMD_CHANGE_FACING, {2}, 1),
                               C(CMD_STATUS_OP2, {0, 1, 1, 0, 0, 0}, 5), C(CMD_STATUS_OP2, {0, 1, 0, 0, 0, 0}, 1),
                               Code(F_CHARA, "v2 = v2 + 1"), C(CMD_WAIT, {}, 20)});
        // Each measures the hero's nearness its own way (across, round, ahead,
        // behind), and the area shows on the stage.
        const int axes[4] = {0, 6, 1, 2};
        act.m_vecCond.push_back(ShownNear(12, axes[i], i, i == 3));
        act.m_vecCond.push_back(VarCond(COND_CHARA_VAR, 2, COND_OP_LESS, 3));
        actor.m_vecFlow = {act};
        // The actors' group (3) on screen bows out.
        if (i == 3) actor.m_vecFlow.push_back(Flow(2, {C(CMD_VANISH, {0, 3, 0, 0})}, TRG_HIT_CHARA));
        s.m_vecPlacedChara.push_back(actor);
    }
    // Painted flats in the hero's way: his shots knock them down (a struck
    // one shows its strength), and each bursts apart as it falls.
    for (int x : {36, 66, 96, 126}) {
        cEdChara flat = Chara(english ? "Flat" : "\x8f\x91\x82\xab\x8a\x84\x82\xe8", x, kFloorRow - 1, 10);
        flat.m_nGraphicKind = 0;  // a block's picture
        flat.m_nGraphic = 3;
        flat.m_nGroup = 5;
        flat.m_nScore = 50;
        flat.m_nVanishEffect = static_cast<int16_t>(x == 36 ? 1 : x == 66 ? 2 : x == 96 ? 10 : 15);
        // A struck flat props itself up a little; a falling one creaks.
        MessageSpec creak;
        creak.tenths = 20;
        // A falling chara's flows get one step: the sound goes in the same step.
        cEdFlowCmd creaks = Say(F_CHARA, english ? "Creak..." : "\x83M\x83""C\x81""c", creak);
        creaks.m_bSameFrame = 1;
        flat.m_vecFlow = {Flow(1, {StatusOp(F_CHARA, 0, STATUS_HP, 1, 2, 0, true)}, TRG_DAMAGED),
                          Flow(2, {creaks, Se()}, TRG_DIED)};
        s.m_vecPlacedChara.push_back(flat);
    }
    // The prompter: it takes its box in the screen's top right corner and
    // stays there while the view moves on, until it flies off at the end of
    // the second act.
    {
        cEdChara prompter = Chara(english ? "Prompter" : "\x83v\x83\x8d\x83\x93\x83v\x83^\x81[", 10, 1, 4);
        prompter.m_nGraphic = 3;
        prompter.m_nMoveType = 1;
        prompter.m_nInvincible = 1;
        prompter.m_nGroup = 5;
        cEdFlowCmd toBox = C(CMD_WARP, {0});
        cEdMove& m = toBox.m_spMove.Create();
        m.m_nMoveMode = 5;
        m.m_nCoordMode = 2;  // a point of the screen
        m.m_nTargetX = 18;
        m.m_nTargetY = 1;
        cEdFlow cue = Flow(1, {toBox, Wait(100), Walk(DIR_UP, 20, 10), Code(F_CHARA, "v1 = 1")});
        cue.m_vecCond.push_back(VarCond(COND_CHARA_VAR, 1, COND_OP_EQUAL, 0));
        prompter.m_vecFlow = {cue};
        s.m_vecPlacedChara.push_back(prompter);
    }
    // Will-o'-wisps (a shot's picture) bobbing over the stage while the hero
    // is near enough up or down.
    for (int x : {58, 118}) {
        cEdChara wisp = Chara(english ? "Wisp" : "\x89\xce", x, kFloorRow - 6, 4);
        wisp.m_nGraphicKind = 3;
        wisp.m_nGraphic = 1;
        wisp.m_nMoveType = 1;
        wisp.m_nInvincible = 1;
        wisp.m_nGroup = 5;
        cEdFlow bob = Flow(1, {Walk(DIR_DOWN, 10, 11), Walk(DIR_UP, 10, 11)});
        bob.m_vecCond.push_back(x == 58 ? ShownNear(10, 3, 4) : ShownNear(10, 5, 5, true));
        wisp.m_vecFlow = {bob};
        s.m_vecPlacedChara.push_back(wisp);
    }
    // A puppet drawn from its own bitmap in cells of two blocks dangles over
    // the last part of the stage (an invincible chara would be drawn from
    // further cells, which the bitmap does not have).
    {
        cEdChara puppet = Chara(english ? "Puppet" : "\x90l\x8c`", 138, kFloorRow - 6, 60);
        puppet.m_nGraphicKind = 4;  // an own bitmap
        puppet.m_nGraphic = 1;
        puppet.m_nSize = 2;
        puppet.m_nMoveType = 1;
        puppet.m_nGroup = 5;
        puppet.m_vecFlow = {Flow(1, {Walk(DIR_UP, 10, 8), Walk(DIR_DOWN, 10, 8)})};
        s.m_vecPlacedChara.push_back(puppet);
    }
    // The theatre's ghost: nobody sees it, but the area where it haunts
    // shows, and it says "Boo!" to a hero below it.
    {
        cEdChara ghost = Chara(english ? "Ghost" : "\x97H\x97\xec", 100, kFloorRow - 3, 4);
        ghost.m_nGraphic = 7;
        ghost.m_nMoveType = 1;
        ghost.m_nInvincible = 1;
        ghost.m_bTransparent = 1;
        ghost.m_nFacing = 1;
        ghost.m_nGroup = 5;
        MessageSpec boo;
        boo.tenths = 15;
        cEdFlow haunt = Flow(1, {Say(F_CHARA, english ? "Boo!" : "\x82\xce\x82\xa0\x81I", boo), Wait(30)});
        haunt.m_vecCond.push_back(ShownNear(6, 4, 6, false, true));
        haunt.m_vecCond.push_back(Near(8));
        ghost.m_vecFlow = {haunt};
        s.m_vecPlacedChara.push_back(ghost);
    }
    for (int x : {20, 50, 80, 110}) {
        cEdItem coin = Item(x, kFloorRow - 2, {Code(F_ITEM, "S2 = S2 + 1"), Cmd(F_ITEM, ICMD_PLAY_SE, {kSeBlip})}, true,
                            english ? "Ticket" : "\x83\x60\x83\x50\x83\x62\x83\x67");
        s.m_vecPlacedItem.push_back(coin);
    }
    // Masks of the actors lying about, one turned each way.
    for (int x : {46, 76}) {
        cEdItem mask = Item(x, kFloorRow - 1, {Cmd(F_ITEM, ICMD_PLAY_SE, {kSeBlip})}, true, english ? "Mask" : "\x89\xbc\x96\xca");
        mask.m_nGraphicKind = 1;  // a chara's picture
        mask.m_nGraphic = 4;
        mask.m_nGraphicCell = x == 46 ? 0 : 20;
        s.m_vecPlacedItem.push_back(mask);
    }
    // Presentation items, each running its command once when taken.
    MessageSpec flower;
    flower.anchor = 8, flower.x = 19, flower.y = 14, flower.tenths = 15, flower.block = true, flower.clamp = true;
    s.m_vecPlacedItem.push_back(Item(40, kFloorRow - 1, {Say(F_ITEM, english ? "A flower for you." : "\x89\xd4\x82\xf0\x82\xc7\x82\xa4\x82\xbc\x81""B", flower)}));
    MessageSpec programme;
    programme.anchor = 9, programme.unit = 1, programme.x = 1800, programme.y = 200, programme.tenths = 20;
    programme.variables = true;
    s.m_vecPlacedItem.push_back(Item(
        54, kFloorRow - 1,
        {Code(F_ITEM, "fA = 3"),
         Say(F_ITEM,
             english ? "Programme #1: #s2 tickets, #F1 curtain calls, seat #S2_3Z, #C1_P bravos"
                     : "\x89\x89\x96\xda#1\x81""F\x83`\x83P\x83""b\x83g#s2\x96\x87\x81""A\x83J\x81[\x83""e\x83\x93\x83R\x81[\x83\x8b#F1\x89\xf1\x81""A\x8d\xc0\x90\xc8#S2_3Z\x81""A\x83u\x83\x89\x83{\x81[#C1_P",
             programme)}));
    s.m_vecPlacedItem.push_back(Item(60, kFloorRow - 1, {Picture(F_ITEM, 15)}));
    MessageSpec bravo;
    bravo.anchor = 10, bravo.x = 64, bravo.y = 6, bravo.oneFrame = true;
    MessageSpec interval;
    interval.anchor = 0, interval.dy = -80, interval.tenths = 10, interval.block = true, interval.framed = true;
    MessageSpec whisper;
    whisper.anchor = 11, whisper.tenths = 10;
    s.m_vecPlacedItem.push_back(Item(70, kFloorRow - 1,
                                     {Cmd(F_ITEM, ICMD_RUN_CHARA_EFFECT, {7, 0, 0}),
                                      Say(F_ITEM, english ? "Bravo!" : "\x83u\x83\x89\x83{\x81[\x81I", bravo),
                                      Say(F_ITEM, english ? "(a whisper)" : "\x81i\x82\xd0\x82\xbb\x82\xd0\x82\xbb\x81j", whisper)}));
    s.m_vecPlacedItem.push_back(Item(85, kFloorRow - 1,
                                     {Cmd(F_ITEM, ICMD_RUN_SCREEN_EFFECT, {2, 0, 0}),
                                      Say(F_ITEM, english ? "Interval" : "\x8bx\x8c""e", interval)}));
    s.m_vecPlacedItem.push_back(Item(95, kFloorRow - 1, {ScreenColour(F_ITEM, 5, 1)}));
    s.m_vecPlacedItem.push_back(Item(100, kFloorRow - 1, {ScreenColour(F_ITEM, 0, 0), Effect(F_ITEM, 1)}));
    s.m_vecPlacedItem.push_back(Item(115, kFloorRow - 1,
                                     {Cmd(F_ITEM, ICMD_CHANGE_BACKGROUND, {1, 2}), Cmd(F_ITEM, ICMD_PLAY_BGM, {0, kBgmMidi}),
                                      Cmd(F_ITEM, ICMD_CHANGE_GRAPHIC, {1, 1, 0}), Cmd(F_ITEM, ICMD_CHANGE_ANIME_SET, {0}),
                                      Cmd(F_ITEM, ICMD_RUN_ANIME, {1, 0})}));
    // The curtain call asks for encores, and the answer is kept in common
    // variable 1 and on the board. The cursor starts on "Three more" for a
    // player who asked for three before, on "Two more" for a hero who has
    // taken just two things, on "One more" when the call's own second
    // variable is 1, and otherwise on "No more".
    std::vector<int32_t> call(21, 0);
    call[0] = 6;    // on the hero
    call[8] = 1;    // the play waits for the answer
    call[19] = 1;   // with choices
    call[20] = 1;   // the chosen value goes to the command's result
    cEdFlowCmd encore = Cmd(F_ITEM, ICMD_MESSAGE, call);
    encore.m_strCode = english ? "Encore?\n#R3_C1 Three more\n#R2_V1 Two more\n#R1_F2 One more\n#R-1_D No more"
                               : "\x83""A\x83\x93\x83R\x81[\x83\x8b\x81H\x0a#R3_C1 \x82\xa0\x82\xc6""3\x89\xf1\x0a#R2_V1 \x82\xa0\x82\xc6""2\x89\xf1\x0a#R1_F2 \x82\xa0\x82\xc6""1\x89\xf1\x0a#R-1_D \x82\xe0\x82\xa4\x8c\x8b\x8d\x5c";
    s.m_vecPlacedItem.push_back(Item(150, kFloorRow - 1, {encore, Code(F_ITEM, "C1 = fA"), Code(F_ITEM, "S8 = fA")}));
    s.m_vecPlacedItem.push_back(Goal(width - 5));
    return s;
}

cStage FortressStage(bool english) {
    const int width = 185;
    cStage s = LongStage("Fortress", width);
    s.m_nBgm = kBgmOgg;
    s.m_vecItemPalette.push_back(CoinEntry());
    // Stage palette: chara 1 a bat the boss calls, block 1 a wall piece.
    cEdChara bat = Chara("Bat", 0, 0, 2);
    bat.m_nMoveType = 1;
    bat.m_nAttack = 0;
    bat.m_nGraphic = 3;  // the flyer's row
    // It homes in for three seconds and then vanishes (itself: a vanish of
    // group 0 would take the hero).
    bat.m_vecFlow = {Flow(1, {Move(CMD_MOVE_HOMING, DIR_FORWARD, 12, 30), C(CMD_STATUS_OP2, {0, 0, 1, 0, 0, 0}, 1)})};
    s.m_vecCharaPalette.push_back(bat);
    s.m_vecBlockPalette.push_back(Block(0, 0, 1));
    Floor(s, 0, width, 2);
    // A ledge above the path.
    for (int x = 60; x < 64; ++x) s.m_vecPlacedBlock.push_back(Block(x, kFloorRow - 6, 1));

    cEdChara hero = Hero(3, 40);
    // On the fortress's flat floor the jump rises for as long as Z is held,
    // up to the jump's time.
    hero.m_vecFlow.at(2).m_vecCmd.at(0).m_vecParam.at(0) = 1;
    hero.m_vecFlow.push_back(Flow(8, {Se()}, TRG_HIT_SHOT));
    hero.m_vecFlow.push_back(Flow(9, {C(CMD_RUN_CHARA_EFFECT, {14, 0, 0})}, TRG_IMPACTED));
    hero.m_vecFlow.push_back(Flow(10, {Se()}, TRG_IMPACTED_POWER));
    hero.m_vecFlow.push_back(Flow(11, {Code(F_CHARA, "v3 = v3 + 1")}, TRG_HIT_CHARA));
    hero.m_vecFlow.push_back(Flow(12, {Code(F_CHARA, "v4 = v4 + 1")}, TRG_BLOCK_LEFT_RIGHT));
    hero.m_vecFlow.push_back(Flow(13, {Code(F_CHARA, "v5 = v5 + 1")}, TRG_BLOCK_UP));
    hero.m_vecFlow.push_back(Flow(14, {Code(F_CHARA, "v6 = v6 + 1")}, TRG_ATTACK_HIT));
    hero.m_vecFlow.push_back(Flow(15, {Code(F_CHARA, "v7 = v7 + 1")}, TRG_ATTACK_DAMAGE));
    hero.m_vecFlow.push_back(Flow(16, {Se()}, TRG_ATTACK_DAMAGE_POWER));
    hero.m_vecFlow.push_back(Flow(17, {Se()}, TRG_ATTACK_IMPACT));
    hero.m_vecFlow.push_back(Flow(18, {Se()}, TRG_ATTACK_IMPACT_POWER));
    hero.m_vecFlow.push_back(Flow(19, {Code(F_CHARA, "v8 = v8 + 1")}, TRG_BLOCK_LEFT));
    hero.m_vecFlow.push_back(Flow(20, {Se()}, TRG_BLOCK_UP_DOWN));
    hero.m_vecFlow.push_back(Flow(21, {Se()}, TRG_BLOCK_DOWN));
    hero.m_vecFlow.push_back(Flow(22, {Se()}, TRG_HIT_BLOCK));
    hero.m_vecFlow.push_back(Flow(23, {C(CMD_GET_ITEM, {1, 1})}, TRG_NONE));
    hero.m_vecFlow.push_back(Flow(24, {C(CMD_FLOW_CONTROL, {0, 2, 23, 0, 1})}, TRG_BLOCK_RIGHT));
    // A flow only the flow control would start, which the stagehand deletes.
    hero.m_vecFlow.push_back(Flow(26, {Se()}, TRG_NONE));
    s.m_vecPlacedChara.push_back(hero);

    // Turrets: still, each firing its own trajectory in its own formation
    // while the hero is near; their shots sting but do no harm.
    for (int t = 0; t < SHOT_TRAJECTORY_COUNT; ++t) {
        cEdChara turret = Chara("Turret", 16 + 9 * t, kFloorRow - 1, 4);
        turret.m_nGraphic = 4;  // the knight's row
        cEdFlowCmd shot = Shot(t % SHOT_FORMATION_COUNT, t, 0);
        cEdFlow fire = Flow(1, {C(CMD_MOVE_DISABLE, {}, 1), C(CMD_SET_TARGET, std::vector<int32_t>(17, 0), 1),
                                std::move(shot), C(CMD_WAIT, {}, 15)});
        fire.m_vecCond.push_back(Near(24));
        turret.m_vecFlow = {fire, Flow(2, {Effect(F_CHARA, 1), Se()}, TRG_DIED)};
        s.m_vecPlacedChara.push_back(turret);
    }
    // The last formation, surround, from a turret of its own.
    {
        cEdChara turret = Chara("Turret", 106, kFloorRow - 1, 4);
        turret.m_nGraphic = 4;  // the knight's row
        cEdFlow fire = Flow(1, {Shot(FORMATION_SURROUND, TRAJ_STRAIGHT, 0), C(CMD_WAIT, {}, 15)});
        fire.m_vecCond.push_back(Near(24));
        turret.m_vecFlow = {fire};
        s.m_vecPlacedChara.push_back(turret);
    }
    // Flyers: one circling, one charging, one avoiding the screen's edge.
    {
        cEdChara c = Chara("Circler", 40, kFloorRow - 6, 4);
        c.m_nMoveType = 1;
        c.m_nAttack = 1;
        c.m_vecFlow = {Flow(1, {Move(CMD_MOVE_CIRCLE, DIR_FORWARD, 20, 30)})};
        s.m_vecPlacedChara.push_back(c);
        cEdChara ch = Chara("Charger", 70, kFloorRow - 1, 4);
        ch.m_nAttack = 1;
        ch.m_vecFlow = {Flow(1, {Move(CMD_MOVE_CHARGE, DIR_FORWARD, 20, 10), C(CMD_WAIT, {}, 10)}),
                        Flow(2, {C(CMD_JUMP, {0, 0, 2, 0, 0}, 1)}, TRG_BLOCK_LEFT)};
        ch.m_vecFlow[0].m_vecCond.push_back(Near(16));
        s.m_vecPlacedChara.push_back(ch);
        cEdChara av = Chara("Dodger", 90, kFloorRow - 7, 4);
        av.m_nMoveType = 1;
        av.m_vecFlow = {Flow(1, {Move(CMD_MOVE_AVOID_OFFSCREEN, DIR_FORWARD, 20, 10)})};
        cCond onScreen;  // it dodges only while the view shows it
        onScreen.m_nKind = COND_STATUS3;
        onScreen.m_nLeftItem = 3;
        av.m_vecFlow[0].m_vecCond.push_back(onScreen);
        s.m_vecPlacedChara.push_back(av);
    }

    // The boss: a gauge of 120 HP; while above half it hops, aims and calls
    // bats; below half it warps about and fires bursts; its fall clears the
    // stage.
    cEdChara boss = Chara("Boss", 165, kFloorRow - 2, 120);
    boss.m_nSize = 2;
    boss.m_nGraphic = 8;  // the knight in gold
    boss.m_nAttack = 1;
    boss.m_nScore = 5000;
    boss.m_bFixedFacing = 0;
    cEdFlow wake = Flow(1, {StatusOp(F_CHARA, 0, STATUS_HP, 0, 120, 0, true),
                            Message(F_CHARA, english ? "You shall not pass!" : "\x82\xc6\x82\xa8\x82\xb3\x82\xf1\x81\x49", 20),
                            C(CMD_STATUS_OP2, {5, 0, 0, 0, 0, 0}, 1), C(CMD_PLAY_BGM, {0, kBgmMidi}, 1)});
    wake.m_vecCond.push_back(Near(20));
    wake.m_bCondOnce = 1;
    cEdFlow phaseA = Flow(2, {C(CMD_SET_TARGET, std::vector<int32_t>(17, 0), 1),
                              C(CMD_LOOP, {2, 2}),
                              C(CMD_JUMP, {0, 0, 2, 0, 0}, 6),
                              Shot(FORMATION_STRAIGHT_B, TRAJ_AIM_TARGET, 0),
                              C(CMD_ARRANGE, {11, 19, 1, 2, 1}),
                              Shot(FORMATION_SPREAD, TRAJ_AIM_HERO, 0),
                              Summon(CMD_SUMMON_CHARA, 1, 60), C(CMD_WAIT, {}, 10),
                              Code(F_CHARA, "v1 = (v1 + 5) % 30")});
    phaseA.m_vecCond.push_back(Near(20));
    phaseA.m_vecCond.push_back(StatusCond(0, STATUS_HP, COND_OP_GREATER, 60));
    phaseA.m_vecCmd[2].m_nAnime = 1;  // the hop plays the first animation
    cEdFlow turn = Flow(3, {C(CMD_FLOW_CONTROL, {1, 2, 2, 0, 0}, 1), C(CMD_FLOW_CONTROL, {0, 2, 4, 0, 0}, 1),
                            C(CMD_RUN_SCREEN_EFFECT, {2, 0, 0}, 1), C(CMD_STATUS_OP2, {0, 4, 1, 0, 0, 0}, 10),
                            C(CMD_STATUS_OP2, {0, 4, 0, 0, 0, 0}, 1)});
    turn.m_vecCond.push_back(StatusCond(0, STATUS_HP, COND_OP_LESS_EQUAL, 60));
    turn.m_bCondOnce = 1;
    cEdFlowCmd hop = C(CMD_WARP, {1}, 1);
    {
        cEdMove& m = hop.m_spMove.Create();
        m.m_nMoveMode = 0;
        m.m_nDirection = DIR_BACKWARD;
        m.m_nDistance = 2;
    }
    cEdFlowCmd toHero = C(CMD_WARP, {1}, 1);
    {
        cEdMove& m = toHero.m_spMove.Create();
        m.m_nMoveMode = 1;
        m.m_nDirection = DIR_UP;
        m.m_nDistance = 8;
    }
    cEdFlowCmd toPlace = C(CMD_WARP, {1}, 1);
    {
        cEdMove& m = toPlace.m_spMove.Create();
        m.m_nMoveMode = 5;
        m.m_nCoordMode = 1;
        m.m_nTargetX = 165;
        m.m_nTargetY = kFloorRow - 2;
    }
    cEdFlowCmd seek = C(CMD_MOVE_STRAIGHT, {}, 10);
    {
        cEdMove& m = seek.m_spMove.Create();
        m.m_nMoveMode = 1;
        m.m_nTargetX = -3;
        m.m_nSpeed = 20;
    }
    // The wall piece appears high over the boss, out of the hero's reach: a
    // block that appears where the hero stands would crush him.
    cEdFlowCmd wallPiece = Summon(CMD_SUMMON_BLOCK, 1);
    wallPiece.m_spShot->m_nOffsetY = -288;
    cEdFlow phaseB = Flow(4, {hop, Shot(FORMATION_BURST, TRAJ_HOME_TARGET, 0), toHero, C(CMD_WAIT, {}, 5),
                              Shot(FORMATION_THUNDER, TRAJ_FALL, 0), toPlace, seek,
                              wallPiece, Summon(CMD_SUMMON_ITEM, 1), C(CMD_WAIT, {}, 10)},
                          TRG_NONE);
    // A falling chara's flows get one step: the commands before the clear
    // go on in that same step.
    cEdFlow fall = Flow(5, {C(CMD_RUN_SCREEN_EFFECT, {3, 0, 0}, 1), C(CMD_VANISH, {2, 0, 1, 0}, 1),
                            C(CMD_STAGE_CLEAR, {3, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1}, 1)},
                        TRG_DIED);
    fall.m_vecCmd[0].m_bSameFrame = fall.m_vecCmd[1].m_bSameFrame = 1;
    cEdFlow blink = Flow(6, {C(CMD_RUN_CHARA_EFFECT, {6, 0, 0})}, TRG_DAMAGED);
    cCond vulnerable;  // no blink while the boss is invincible
    vulnerable.m_nKind = COND_STATUS2;
    vulnerable.m_nLeftItem = 4;
    vulnerable.m_nVarIndex = 0;
    vulnerable.m_nOp = COND_OP_EQUAL;
    blink.m_vecCond.push_back(vulnerable);
    boss.m_vecFlow = {wake, phaseA, turn, phaseB, fall, blink,
                      Flow(7, {Se()}, TRG_HIT_SHOT)};
    s.m_vecPlacedChara.push_back(boss);
    s.m_vecPlacedChara.push_back(Stagehand(6, english));

    // Items: a key that sets a common variable, one that hands over a coin,
    // one that changes the hero's flows, targets and status, and the gate.
    s.m_vecPlacedItem.push_back(Item(30, kFloorRow - 1,
                                     {Cmd(F_ITEM, ICMD_GET_ITEM, {1, 1}), Cmd(F_ITEM, ICMD_SET_TARGET, std::vector<int32_t>(17, 0)),
                                      Cmd(F_ITEM, ICMD_STATUS_OP2, {0, 1, 0, 0, 0, 0}),
                                      Cmd(F_ITEM, ICMD_ARRANGE, {17, 0, 0, 0, 1}),
                                      Cmd(F_ITEM, ICMD_LOOP, {2, 1}), Cmd(F_ITEM, ICMD_PLAY_SE, {kSeBlip})},
                                     true, english ? "Key" : "\x8c\xae"));
    {
        cEdFlowCmd change = Cmd(F_ITEM, ICMD_CHANGE_FLOW, {0, 0});
        change.m_vecFlow.push_back(Flow(25, {Se()}, TRG_HIT_ITEM));
        s.m_vecPlacedItem.push_back(Item(48, kFloorRow - 1,
                                         {change, StatusOp(F_ITEM, 0, STATUS_VAR, 1, 1, 1),
                                          Cmd(F_ITEM, ICMD_VANISH, {2, 1, 0, 0}), Cmd(F_ITEM, ICMD_GAME_WAIT, {3})},
                                         true, english ? "Scroll" : "\x8a\xaa"));
    }
    cEdFlowCmd itemWarp = Cmd(F_ITEM, ICMD_WARP, {1});
    {
        cEdMove& m = itemWarp.m_spMove.Create();
        m.m_nDirection = DIR_UP;
        m.m_nDistance = 1;
    }
    s.m_vecPlacedItem.push_back(Item(80, kFloorRow - 1, {itemWarp}, true, english ? "Feather" : "\x89\x48"));
    // No goal: only the boss's fall clears the fortress.
    return s;
}

}  // namespace demo
