// Computer charas: sizes and hit boxes (block charas at multipliers 1 and
// 2), placing, the move codes, the activation range, switches and modes,
// and the carried item's icon counter.
#include "play/chara_computer.h"

#include <string>
#include <vector>

#include "base/quit.h"
#include "engine/flow_runtime.h"
#include "tests/support/sound_log.h"
#include "tests/support/chara_fixture.h"

using namespace charatest;

namespace {

std::vector<std::string> g_trace;

class ComputerTest : public CharaTest {
protected:
    static cEdChara Def(int moveType = 0, int block = 0, int size = 1) {
        cEdChara d;
        d.m_nMoveType = static_cast<int8_t>(moveType);
        d.m_bBlockChara = static_cast<int8_t>(block);
        d.m_nSize = static_cast<int8_t>(size);
        return d;
    }
    static void Quad(const CharaHitBox& b, int x, int y, int w, int h, const char* what) {
        EXPECT_EQ(b.nOffsetX, x) << what;
        EXPECT_EQ(b.nOffsetY, y) << what;
        EXPECT_EQ(b.nWidth, w) << what;
        EXPECT_EQ(b.nHeight, h) << what;
    }
};

// A chara warped to a cell stands where a placed chara of its size stands:
// a walker of size 2 or 3 with its bottom on the cell's bottom as the
// stage set-up puts it, a flyer centred likewise.
TEST_F(ComputerTest, WarpedToACellStandsWhereAPlacedCharaStands) {
    for (int moveType : {0, 1})
        for (int size : {1, 2, 3}) {
            SCOPED_TRACE(moveType * 10 + size);
            cCharaComputer placed, warped;
            placed.InitComputer(1, Def(moveType, 0, size), nullptr, nullptr, 0);
            warped.InitComputer(2, Def(moveType, 0, size), nullptr, nullptr, 0);
            placed.PlaceAtCell(4, 5);
            warped.PlaceAtCell(1, 1);
            warped.WarpToCellX(4);
            warped.WarpToCellY(5, 1);
            EXPECT_DOUBLE_EQ(warped.m_dX, placed.m_dX);
            EXPECT_DOUBLE_EQ(warped.m_dY, placed.m_dY);
            EXPECT_DOUBLE_EQ(warped.m_dBottom, placed.m_dBottom);
        }
}

TEST_F(ComputerTest, BoxesOfWalkersAndBlockCharas) {
    // Defaults for other charas: walking 16 x 24 standing on the cell's
    // bottom, body 12 x 24 bottom-aligned, shot box 30 x 30.
    cCharaComputer w;
    w.InitComputer(3, Def(0, 0, 0), nullptr, nullptr, 0);
    EXPECT_EQ(w.m_Def.m_nSize, 1);
    EXPECT_EQ(w.m_nWidth, 16);
    EXPECT_EQ(w.m_nHeight, 24);
    EXPECT_EQ(w.m_nDrawOffsetX, 8);
    EXPECT_EQ(w.m_nDrawOffsetY, 8);
    Quad(w.m_HitBox1, 2, 0, 12, 24, "walker body");
    Quad(w.m_HitBox2, -7, -7, 30, 30, "walker shot box");
    EXPECT_EQ(w.m_CarriedItem.m_Def.m_nGraphic, 0);

    cCharaComputer b1;
    b1.InitComputer(4, Def(0, 1, 1), nullptr, nullptr, 0);
    EXPECT_EQ(b1.m_nWidth, 32);
    EXPECT_EQ(b1.m_nDrawOffsetX, 0);
    Quad(b1.m_HitBox1, 0, 0, 0, 0, "block body");
    Quad(b1.m_HitBox2, 0, 0, 32, 32, "block shot box");
    b1.PlaceAtCell(2, 3);
    EXPECT_DOUBLE_EQ(b1.m_dX, 12 * 32 + 0.5);
    EXPECT_DOUBLE_EQ(b1.m_dY, 13 * 32);
    EXPECT_DOUBLE_EQ(b1.m_HitBox2.box[0], 12 * 32);
    EXPECT_DOUBLE_EQ(b1.m_HitBox2.box[3], 13 * 32 + 31);

    // From multiplier 2 on both boxes cover the scaled collision box.
    cCharaComputer b2;
    b2.InitComputer(5, Def(0, 1, 2), nullptr, nullptr, 0);
    EXPECT_EQ(b2.m_nWidth, 64);
    Quad(b2.m_HitBox1, 0, 0, 64, 64, "scaled block body");
    Quad(b2.m_HitBox2, 0, 0, 64, 64, "scaled block shot box");
    b2.PlaceAtCell(2, 3);
    EXPECT_DOUBLE_EQ(b2.m_dX, 12 * 32 + 0.5 - 16);
    EXPECT_DOUBLE_EQ(b2.m_HitBox1.box[2], 12 * 32 - 16 + 63);

    cItem item;
    item.m_Def.m_nGraphic = 7;
    cCharaComputer carrier;
    carrier.InitComputer(6, Def(), &item, nullptr, 0);
    EXPECT_EQ(carrier.GetCarriedItem(), &carrier.m_CarriedItem);
    EXPECT_EQ(carrier.m_CarriedItem.m_Def.m_nGraphic, 7);
}

TEST_F(ComputerTest, MoveCodes) {
    // A walker pushed against the stage's left side: 3 is reported as 4.
    cCharaComputer c;
    c.InitComputer(1, Def(), nullptr, nullptr, 0);
    c.m_dX = 1;
    c.AfterMoveX();
    c.m_dSpeedX = -4;
    EXPECT_EQ(c.MoveX(), 4);
    EXPECT_DOUBLE_EQ(c.m_dX, 0);
    c.m_dX = 400;
    c.m_dSpeedX = 2;
    EXPECT_EQ(c.MoveX(), 0);
    // A walker falling out below the stage: 7.
    const int bottom = m_scene.m_ScrollY.m_nLimit;
    c.m_dY = bottom - 25;
    c.AfterMoveY();
    c.m_dSpeedY = 5;
    EXPECT_EQ(c.MoveY(), 7);
    // A flyer stopped at the stage's top: 8; at the bottom: 8.
    cCharaComputer f;
    f.InitComputer(2, Def(2), nullptr, nullptr, 0);
    f.m_dX = 400;
    f.m_dY = 2;
    f.AfterMoveX();
    f.AfterMoveY();
    f.m_dSpeedY = -5;
    EXPECT_EQ(f.MoveY(), 8);
    EXPECT_DOUBLE_EQ(f.m_dY, 0);
    f.m_dY = bottom - 17;
    f.AfterMoveY();
    f.m_dSpeedY = 5;
    EXPECT_EQ(f.MoveY(), 8);
}

TEST_F(ComputerTest, ActivationRanges) {
    // View at (320, 320); positions in view, right of it, below it, both.
    m_scene.m_ScrollX.m_dPos = 320;
    m_scene.m_ScrollY.m_dPos = 320;
    const double pos[4][2] = {{400, 400}, {1000, 400}, {400, 900}, {1000, 900}};
    const int expected[4][4] = {
        {1, 0, 0, 0},  // range 0: both axes tested
        {1, 0, 1, 0},  // range 1: only x
        {1, 1, 0, 0},  // range 2: only y
        {1, 1, 1, 1},  // range 3: always
    };
    for (int range = 0; range < 4; ++range)
        for (int p = 0; p < 4; ++p) {
            cEdChara d = Def(2);
            d.m_nActivationRange = static_cast<int8_t>(range);
            cCharaComputer c;
            c.InitComputer(1, d, nullptr, nullptr, 0);
            c.m_dX = pos[p][0];
            c.m_dY = pos[p][1];
            c.AfterMoveX();
            c.AfterMoveY();
            EXPECT_EQ(c.CheckActivationRange(), expected[range][p]) << range << " " << p;
            EXPECT_EQ(c.m_bInRange, expected[range][p]);
            EXPECT_EQ(c.UpdateActing(), expected[range][p]) << range << " " << p;
        }
    // Mode 1: once acting it acts for good.
    cEdChara d = Def(2);
    d.m_nActivationMode = 1;
    cCharaComputer c;
    c.InitComputer(1, d, nullptr, nullptr, 0);
    c.m_dX = c.m_dY = 400;
    c.AfterMoveX();
    c.AfterMoveY();
    c.CheckActivationRange();
    EXPECT_EQ(c.UpdateActing(), 1);
    c.m_dX = c.m_dY = 1200;
    c.AfterMoveX();
    c.AfterMoveY();
    EXPECT_EQ(c.CheckActivationRange(), 1);
    EXPECT_EQ(c.UpdateActing(), 1);
}

TEST_F(ComputerTest, SharedSwitchAndFallOutOfRange) {
    cEdChara d = Def(2);
    d.m_bActivationSwitch = 1;
    d.m_nActivationSwitchNo = 5;
    cCharaComputer near, far;
    near.InitComputer(1, d, nullptr, nullptr, 0);
    far.InitComputer(2, d, nullptr, nullptr, 0);
    near.m_dX = near.m_dY = 100;
    far.m_dX = 1500;
    far.m_dY = 100;
    for (cCharaComputer* c : {&near, &far}) c->AfterMoveX(), c->AfterMoveY();
    EXPECT_EQ(far.CheckActivationRange(), 0);
    EXPECT_EQ(far.UpdateActing(), 0);
    EXPECT_EQ(near.CheckActivationRange(), 1);
    EXPECT_EQ(m_scene.m_vStageSwitches.at(5), 1);
    EXPECT_EQ(far.CheckActivationRange(), 0);
    EXPECT_EQ(far.UpdateActing(), 1);  // the switch another chara turned on

    // Walkers out of range: one that has appeared finishes its fall, one
    // with a jump started acts, a flyer and a new walker do not.
    struct Case {
        int flying, appeared, airborne, jumpStarted, acting;
    } cases[] = {{0, 1, 1, 0, 1}, {0, 0, 1, 0, 0}, {0, 1, 0, 0, 0}, {0, 0, 0, 1, 1}, {1, 1, 1, 1, 0}};
    for (const Case& k : cases) {
        cCharaComputer c;
        c.InitComputer(3, Def(k.flying ? 2 : 0), nullptr, nullptr, 0);
        c.m_dX = 1500;
        c.AfterMoveX();
        c.CheckActivationRange();
        c.m_bAppeared = k.appeared;
        c.m_bAirborne = k.airborne;
        c.m_bJumpStarted = k.jumpStarted;
        EXPECT_EQ(c.UpdateActing(), k.acting) << k.flying << k.appeared << k.airborne << k.jumpStarted;
    }

    // A switch number outside the 60 switches is reported and ends the run.
    d.m_nActivationSwitchNo = 60;
    cCharaComputer bad;
    bad.InitComputer(4, d, nullptr, nullptr, 0);
    bad.m_dX = bad.m_dY = 100;
    bad.AfterMoveX();
    bad.AfterMoveY();
    bad.CheckActivationRange();
    EXPECT_EQ(g_bQuit.load(), 1);
    EXPECT_EQ(m_scene.m_vStageSwitches.size(), 60u);
}

TEST_F(ComputerTest, CarriedItemIconCounter) {
    cCharaComputer c;
    c.InitComputer(1, Def(), nullptr, nullptr, 0);
    c.m_bShowCarriedItem = 1;
    c.m_bInView = 1;
    c.m_Def.m_bTransparent = 1;
    c.DrawCarriedItemIcon(nullptr);
    EXPECT_EQ(c.m_nIconCounter, 0);  // a transparent chara shows nothing
    c.m_Def.m_bTransparent = 0;
    for (int i = 0; i < 63; ++i) c.DrawCarriedItemIcon(nullptr);
    EXPECT_EQ(c.m_nIconCounter, 63);
}

// The update through the real flow runtime: wait commands of time 0 end at
// their first sub-step, longer ones keep their flow running; the executor
// writes the trace.
TEST_F(ComputerTest, UpdateChara) {
    g_trace.clear();
    static cCharaComputer* s_chara = nullptr;
    // Flow 2 sets the dies-now flag: the update ends after it.
    CmdExecTable[CMD_WAIT] = [](cChara& c, cFlowCmd&) {
        g_trace.push_back("step " + CurrentFlowId() + (&c == s_chara ? "" : " (not the current chara)"));
        if (CurrentFlowId() == "2") s_chara->m_bDiesNow = 1;
    };
    cEdChara d = Def();
    d.m_vecFlow = {MakeFlow(1, {Wait(0)}), MakeFlow(2, {Wait(1)}), MakeFlow(3, {Wait(1)})};
    cCharaComputer c;
    c.InitComputer(1, d, nullptr, nullptr, 0);
    s_chara = &c;
    for (cFlow& f : c.m_vFlows) f.m_bRunning = 1;
    c.m_nHP = 5;
    c.m_nMoveTypeCounter = 2;
    c.m_vFlows[2].m_bRemove = 1;
    c.m_bRemovePending = 1;
    m_scene.m_bDeathPending = 1;
    EXPECT_EQ(c.UpdateChara(0), 1);
    EXPECT_EQ(g_trace, (std::vector<std::string>{"step 1", "step 2"}));
    EXPECT_EQ(c.m_vFlows[0].m_bRunning, 0);  // its last command finished: stopped
    EXPECT_EQ(c.m_vFlows[1].m_bRunning, 1);
    EXPECT_EQ(m_scene.m_lpCurChara, nullptr);
    EXPECT_EQ(m_scene.m_lpCurFlow, nullptr);
    EXPECT_EQ(m_scene.m_bDeathPending, 0);
    EXPECT_EQ(c.m_vFlows.size(), 3u);  // the removal is left undone
    EXPECT_EQ(c.m_nMoveTypeCounter, 1);

    // Without the flag every flow runs, the removal is made and the result
    // is 0 even with HP below 1 (no final HP test); while dying only death
    // flows run and HP below 1 does not end the pass.
    g_trace.clear();
    c.m_bDiesNow = 0;
    CmdExecTable[CMD_WAIT] = [](cChara&, cFlowCmd&) { g_trace.push_back("step " + CurrentFlowId()); };
    for (cFlow& f : c.m_vFlows) StartFlow(f);
    c.m_Draw.bNoDraw = 1;
    EXPECT_EQ(c.UpdateChara(0), 0);
    EXPECT_EQ(c.m_Draw.bNoDraw, 0) << "every update shows the chara again";
    EXPECT_EQ(g_trace, (std::vector<std::string>{"step 1", "step 2", "step 3"}));
    EXPECT_EQ(c.m_vFlows.size(), 2u);  // flow 3 removed
    c.m_nHP = 0;
    g_trace.clear();
    StartFlow(c.m_vFlows[0]);
    EXPECT_EQ(c.UpdateChara(0), 1);  // a non-death flow ran with HP below 1
    EXPECT_EQ(g_trace, (std::vector<std::string>{"step 1"}));

    cEdChara dd = Def();
    dd.m_vecFlow = {MakeFlow(1, {Wait(1)}), MakeFlow(2, {Wait(1)}, 5), MakeFlow(3, {Wait(1)}, 5)};
    cCharaComputer dying;
    dying.InitComputer(2, dd, nullptr, nullptr, 0);
    for (cFlow& f : dying.m_vFlows) f.m_bRunning = 1;
    g_trace.clear();
    EXPECT_EQ(dying.UpdateChara(1), 0);
    EXPECT_EQ(g_trace, (std::vector<std::string>{"step 2", "step 3"}));
}


TEST_F(ComputerTest, Jump) {
    SetSubSteps(3);
    soundlog::Scope sounds;
    cEdFlowCmd def = Wait(1);
    def.m_nSound = 9;
    def.m_bSoundOnScreenOnly = 1;
    auto fresh = [&def] {
        cFlowCmd cmd;
        cmd.m_lpDef = &def;
        cmd.m_dLaunchSpeed = -6;
        cmd.m_nRemaining = 50;
        return cmd;
    };
    cCharaComputer c;
    c.InitComputer(1, Def(), nullptr, nullptr, 0);
    auto reset = [&c] {
        c.m_bAirborne = c.m_bJumpBlocked = c.m_bKnockedBack = c.m_bJumpStarted = c.m_bJumpCut = 0;
        c.m_nGraceCounter = 0;
        c.m_dSpeedY = 0;
        c.m_bOnBlockChara = 1;
        c.m_bInView = 0;
        ClearMediaCallLog();
    };

    // Instant: waits while airborne for as long as it takes, then launches
    // with its sound even off screen.
    g_SystemData.OptInstantEnemyJump = 1;
    reset();
    c.m_bAirborne = 1;
    cFlowCmd cmd = fresh();
    for (int i = 0; i < 40; ++i) c.Jump(cmd);
    EXPECT_EQ(cmd.m_bLaunched, 0);
    EXPECT_EQ(cmd.m_nRemaining, 50);
    c.m_bAirborne = 0;
    c.m_nGraceCounter = 1;
    c.Jump(cmd);
    EXPECT_EQ(cmd.m_bLaunched, 0);  // the grace time blocks it
    c.m_nGraceCounter = 0;
    c.Jump(cmd);
    EXPECT_EQ(cmd.m_bLaunched, 1);
    EXPECT_DOUBLE_EQ(c.m_dSpeedY, -6);
    EXPECT_EQ(c.m_bJumpStarted + c.m_bJumpCut, 2);
    EXPECT_EQ(c.m_bOnBlockChara, 0);
    EXPECT_EQ(soundlog::UserPlayed(), (std::vector<int>{9}));
    // Once launched it ends when the chara stands again.
    c.m_bJumpBlocked = c.m_bKnockedBack = 1;
    c.Jump(cmd);
    EXPECT_EQ(cmd.m_nRemaining, 50);
    c.m_bOnBlockChara = 1;
    c.Jump(cmd);
    EXPECT_EQ(cmd.m_nRemaining, 0);
    EXPECT_EQ(c.m_bJumpBlocked + c.m_bKnockedBack, 0);

    // Waiting: gives up after 4 frames (12 command steps at 3 sub-steps).
    g_SystemData.OptInstantEnemyJump = 0;
    for (int grace = 0; grace < 2; ++grace) {
        g_SystemData.OptEnemyJumpWaitsGrace = grace;
        reset();
        c.m_bAirborne = 1;
        cmd = fresh();
        for (int i = 0; i < 11; ++i) c.Jump(cmd);
        EXPECT_EQ(cmd.m_bLaunched, 0) << grace;
        c.Jump(cmd);
        EXPECT_EQ(cmd.m_bLaunched, 1) << grace;
        EXPECT_EQ(cmd.m_nRemaining, 0) << grace;
        EXPECT_DOUBLE_EQ(c.m_dSpeedY, 0) << grace;
        EXPECT_TRUE(soundlog::Played().empty());
    }
    // The grace time and a started jump: off, a started jump waits and the
    // grace time does not; on, the other way round. Off screen the sound is
    // skipped.
    const int cases[][4] = {{0, 1, 0, 1}, {0, 0, 1, 0}, {1, 1, 0, 0}, {1, 0, 1, 1}};
    for (const auto& k : cases) {
        g_SystemData.OptEnemyJumpWaitsGrace = k[0];
        reset();
        c.m_nGraceCounter = k[1];
        c.m_bJumpStarted = k[2];
        cmd = fresh();
        c.Jump(cmd);
        EXPECT_EQ(cmd.m_bLaunched, k[3]) << k[0] << k[1] << k[2];
        EXPECT_TRUE(soundlog::Played().empty());
    }
    reset();
    c.m_bInView = 1;
    cmd = fresh();
    c.Jump(cmd);
    EXPECT_EQ(soundlog::UserPlayed(), (std::vector<int>{9}));
}

TEST_F(ComputerTest, IsOverlappingSolid) {
    cCheckedList<cCharaComputer> list;
    auto add = [&list, this](int key, double x, double y, int block, int acting, int dead) {
        cCharaComputer& s = list.emplace_back();
        s.InitComputer(key, Def(0, block), nullptr, nullptr, 0);
        s.m_dX = x;
        s.m_dY = y;
        s.AfterMoveX();
        s.AfterMoveY();
        s.m_bActing = acting;
        s.m_bDead = dead;
    };
    cCharaComputer owner;
    owner.InitComputer(1, Def(), nullptr, nullptr, 0);  // 16 x 24
    owner.m_dX = 400;
    owner.m_dY = 400;
    owner.AfterMoveX();
    owner.AfterMoveY();
    // Touching the owner's right edge (closed intervals) counts.
    add(2, 415, 400, 1, 1, 0);
    EXPECT_EQ(IsOverlappingSolid(owner, list, -1), 1);
    EXPECT_EQ(IsOverlappingSolid(owner, list, 2), 0);  // excluded
    list.front().m_dX = 416;
    list.front().AfterMoveX();
    EXPECT_EQ(IsOverlappingSolid(owner, list, -1), 0);  // one dot apart
    // Not a block chara, not acting, dead, the owner itself: never solid.
    add(3, 400, 400, 0, 1, 0);
    add(4, 400, 400, 1, 0, 0);
    add(5, 400, 400, 1, 1, 1);
    add(1, 400, 400, 1, 1, 0);
    EXPECT_EQ(IsOverlappingSolid(owner, list, -1), 0);
    add(6, 390, 420, 1, 1, 0);
    EXPECT_EQ(IsOverlappingSolid(owner, list, -1), 1);
    // A flyer passing through everything meets no solid; a blocked flyer does.
    owner.m_bFlying = 1;
    owner.m_nWallMode = 0;
    EXPECT_EQ(IsOverlappingSolid(owner, list, -1), 0);
    owner.m_nWallMode = 1;
    EXPECT_EQ(IsOverlappingSolid(owner, list, -1), 1);
}

}  // namespace
