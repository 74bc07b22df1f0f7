// The chara's flow list: loop expansion, run records built from the
// definitions, insertion, removal and copies keeping the records pointing
// at the chara's own definitions, and the animation runs of flows.
#include <limits>
#include <memory>

#include "platform/cp932.h"
#include "platform/message_box.h"
#include "tests/support/chara_fixture.h"

using namespace charatest;

namespace {

class CharaFlowsTest : public CharaTest {};

TEST_F(CharaFlowsTest, LoopExpansion) {
    const cEdFlowCmd A = Wait(1), B = Wait(2), C = Wait(3), D = Wait(4);
    const cEdFlowCmd itemLoop = MakeCmd(cEdFlowCmd::FAMILY_ITEM, 24, {2, 1});
    struct Case {
        const char* name;
        std::vector<cEdFlowCmd> cmds;
        std::vector<int> times;
    } cases[] = {
        {"three times two", {Loop(3, 2), A, B, C}, {1, 2, 1, 2, 1, 2, 3}},
        {"block longer than the rest", {A, Loop(2, 5), B, C}, {1, 2, 3, 2, 3}},
        {"loop last", {A, B, Loop(4, 2)}, {1, 2}},
        {"once", {Loop(1, 2), A, B}, {1, 2}},
        {"zero times", {Loop(0, 2), A, B}, {1, 2}},
        {"negative times", {Loop(-5, 2), A, B}, {1, 2}},
        {"empty block", {Loop(3, 0), A}, {1}},
        {"negative block", {Loop(3, -1), A}, {1}},
        {"nested", {Loop(2, 3), A, Loop(2, 1), B, C}, {1, 2, 2, 1, 2, 2, 3}},
        {"two loops", {Loop(2, 1), A, Loop(3, 1), D}, {1, 1, 4, 4, 4}},
        {"item family", {itemLoop, C, D}, {3, 3, 4}},
        {"no parameters", {MakeCmd(0, 39), A}, {1}},
    };
    for (Case& k : cases) {
        cChara::ExpandLoops(k.cmds);
        EXPECT_EQ(Times(k.cmds), k.times) << k.name;
    }
    // The first loop only, one pass.
    std::vector<cEdFlowCmd> cmds{A, Loop(2, 1), B, Loop(2, 1), C};
    EXPECT_EQ(cChara::ExpandFirstLoop(cmds), 1);
    EXPECT_EQ(cmds.size(), 5u);
    EXPECT_EQ(cmds[3].m_nKind, 39);
    std::vector<cEdFlowCmd> none{A, B};
    EXPECT_EQ(cChara::ExpandFirstLoop(none), 0);
    EXPECT_EQ(g_bQuit.load(), 0);
}

TEST_F(CharaFlowsTest, HugeLoopFailsCleanly) {
    platform::CapturedMessageBoxes boxes;
    const int32_t huge = std::numeric_limits<int32_t>::max();
    // During the stage set-up: the set-up message and the quit flag.
    m_scene.m_bInSetup = 1;
    std::vector<cEdFlowCmd> cmds{Loop(huge, 2), Wait(1), Wait(2)};
    EXPECT_EQ(cChara::ExpandFirstLoop(cmds), 0);
    EXPECT_EQ(cmds.size(), 3u);  // left as it was
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, SJ("メモリ不足により、ステージの初期設定に失敗しました！"));
    EXPECT_EQ(g_bQuit.load(), 1);
    // Later: the out-of-memory exit.
    g_bQuit = 0;
    m_scene.m_bInSetup = 0;
    cChara::ExpandLoops(cmds);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].text, SJ("メモリが不足しています！"));
    EXPECT_EQ(g_bQuit.load(), 1);
}

// Flow keys, durations, speeds and the set-up routine of the kind per
// instance (through the set-up table).
TEST_F(CharaFlowsTest, InsertFlowsBuildsTheRunRecords) {
    SetSubSteps(2);
    static std::vector<int> setups;
    setups.clear();
    CmdSetupTable[CMD_WAIT] = CmdSetupTable[CMD_MOVE_STRAIGHT] = [](cFlowCmd& cmd, cChara&) {
        setups.push_back(cmd.m_nDuration);
    };
    cEdFlowCmd move = MakeCmd(0, 2, {}, 3, 2);
    cEdMove& m = move.m_spMove.Create();
    m.m_nSpeed = 10;
    m.m_nSpeedStep = 5;
    m.m_bInertia = 1;
    m.m_nMaxSpeed = 40;
    m.m_nDirection = 3;
    cEdFlowCmd plainMove = MakeCmd(0, 2, {}, 1);
    plainMove.m_spMove.Create().m_nMaxSpeed = 40;
    cEdFlow keyed = MakeFlow(2, {Wait(1)});
    keyed.m_vecKeyCond.resize(2);
    cTestChara c;
    cEdChara def = MakeCharaDef({MakeFlow(1, {move, plainMove}), keyed});
    c.InitChara(&def, nullptr, 4);
    c.InsertFlows(c.m_Def.m_vecFlow, 0, 0);
    ExpectOwnDefinitions(c);
    ASSERT_EQ(c.m_vFlows.size(), 2u);
    EXPECT_EQ(c.m_vFlows[0].m_nKey, 0);
    EXPECT_EQ(c.m_vFlows[1].m_nKey, 1);
    EXPECT_EQ(c.m_nFlowKeyCounter, 2);
    const cFlowCmd& a = c.m_vFlows[0].m_vCmds[0];
    EXPECT_EQ(a.m_nDuration, (2 * 4 + 3) * 2 * 6);
    EXPECT_DOUBLE_EQ(a.m_dSpeed, (5 * 4 + 10) * 0.1 / 2);
    EXPECT_DOUBLE_EQ(a.m_dMaxSpeed, 40 * 0.1 / 2);
    EXPECT_EQ(a.m_nDirection, 3);
    EXPECT_EQ(c.m_vFlows[0].m_vCmds[1].m_dMaxSpeed, 0.0);  // no inertia
    EXPECT_EQ(setups, (std::vector<int>{132, 12, 12}));
    // Initialisation leaves the key latches alone.
    EXPECT_EQ(c.m_vFlows[1].m_bKeyLatch, 0);
}

TEST_F(CharaFlowsTest, InsertFlowsAtAnIndexRepointsTheRest) {
    cTestChara c;
    cEdChara def = MakeCharaDef({MakeFlow(1, {Wait(1)}), MakeFlow(2, {Wait(2), Wait(3)})});
    c.InitChara(&def, nullptr, 0);
    c.InsertFlows(c.m_Def.m_vecFlow, 0, 0);
    cEdFlow edge = MakeFlow(7, {Loop(2, 1), Wait(4)});
    edge.m_bKeyRepeat = 0;
    cEdFlow repeat = MakeFlow(8, {Wait(5)});
    repeat.m_bKeyRepeat = 1;
    c.InsertFlows({edge, repeat}, 1, 1);
    ExpectOwnDefinitions(c);
    ASSERT_EQ(c.m_vFlows.size(), 4u);
    EXPECT_EQ(c.m_Def.m_vecFlow[1].m_nId, 7);
    EXPECT_EQ(Times(c.m_Def.m_vecFlow[1].m_vecCmd), (std::vector<int>{4, 4}));  // loops expanded
    EXPECT_EQ(c.m_vFlows[1].m_bKeyLatch, 1);
    EXPECT_EQ(c.m_vFlows[2].m_bKeyLatch, 0);
    EXPECT_EQ(c.m_vFlows[1].m_nKey, 2);
    EXPECT_EQ(c.m_vFlows[3].m_nKey, 1);  // the old second flow, moved
    // Any index that is not a position appends.
    for (int index : {-1, 4, 99, -7}) {
        c.InsertFlows({MakeFlow(9, {Wait(6)})}, 1, index);
        EXPECT_EQ(c.m_Def.m_vecFlow.back().m_nId, 9);
    }
    ExpectOwnDefinitions(c);
}

TEST_F(CharaFlowsTest, AnimationSchedule) {
    SetSubSteps(2);
    cDbAnime anime;
    anime.m_vecFrames.resize(3);
    anime.m_vecFrames[0].m_nDuration = 1;
    anime.m_vecFrames[1].m_nDuration = 2;
    anime.m_vecFrames[2].m_nDuration = 7;
    anime.m_vecFrames[2].m_bLock = 1;
    g_Database.m_vecAnime.assign(2, cDbAnime());
    g_Database.m_vecAnime[1] = anime;  // lead-in 3 tenths: 18 frames, 36 sub-steps
    auto withAnime = [](cEdFlowCmd c, int n) {
        c.m_nAnime = static_cast<int16_t>(n);
        return c;
    };
    cEdFlowCmd sameFrame = Wait(10);
    sameFrame.m_bSameFrame = 1;
    cEdFlowCmd movingAnime = withAnime(MakeCmd(0, 2, {}, 2), 1);
    movingAnime.m_spMove.Create().m_nAnime = 0;  // the move's own animation
    cEdFlowCmd leftAlone = withAnime(MakeCmd(0, 2, {}, 2), 1);
    leftAlone.m_spMove.Create().m_nAnime = 2;
    cTestChara c;
    cEdChara def = MakeCharaDef({MakeFlow(1, {
                                                 Wait(2),                             // t 0, 24 sub-steps
                                                 withAnime(Wait(5), 1),               // t 24 < 36
                                                 sameFrame,                           // not counted
                                                 // jump at t 84; its time becomes the rise time
                                                 withAnime(MakeCmd(0, 10, {0, 0, 0, 0, 0}, 4), 1),
                                                 movingAnime,                         // no entry
                                                 leftAlone,                           // at t 120
                                                 withAnime(MakeCmd(0, 12, {}, 1), 0),  // no animation
                                             })});
    c.InitChara(&def, nullptr, 0);
    c.InsertFlows(c.m_Def.m_vecFlow, 0, 0);
    const std::vector<FlowAnimeEntry> want = {
        {0, 0, 1, 6, 12, 30, 1},
        {48, 48, 1, 0, 18, 6, 0},
        {84, 84, 1, 0, 18, 12, 1},
    };
    EXPECT_EQ(std::vector<FlowAnimeEntry>(c.m_vFlows[0].m_vAnimeSchedule.begin(),
                                          c.m_vFlows[0].m_vAnimeSchedule.end()),
              want);
}

cAnimeRun AnimeRunOf(int owner, int anime, int repeats = 1) {
    cAnimeRun r;
    r.m_nOwnerKey = owner;
    r.m_nAnime = anime;
    r.m_nRepeatsLeft = repeats;
    return r;
}

// The group switches a stopped flow ends, as numbers.
std::vector<int> EndedGroups(const cChara& c) {
    std::vector<int> ended;
    for (size_t g = 0; g < c.m_vGroupEnded.size(); ++g)
        if (c.m_vGroupEnded[g]) ended.push_back(static_cast<int>(g));
    return ended;
}

TEST_F(CharaFlowsTest, RemoveFlowsByIdRepointsTheLaterFlows) {
    auto c = std::make_unique<cTestChara>();
    cEdChara def = MakeCharaDef({MakeFlow(1, {Wait(1)}), MakeFlow(2, {Wait(2)}), MakeFlow(3, {Wait(3), Wait(4)}),
                                 MakeFlow(2, {Wait(5)}), MakeFlow(4, {Wait(6)})});
    // Each flow ends the group of its ID when it is stopped.
    for (cEdFlow& f : def.m_vecFlow) f.m_nFlowGroup = f.m_nId;
    c->InitChara(&def, nullptr, 0);
    c->InsertFlows(c->m_Def.m_vecFlow, 0, 0);
    for (cFlow& f : c->m_vFlows) f.m_bRunning = 1;
    c->m_lstAnimeRuns = {AnimeRunOf(1, 5), AnimeRunOf(2, 5), AnimeRunOf(3, 6)};
    EXPECT_EQ(c->RemoveFlowsById(2), 1) << "the index of the first flow removed";
    EXPECT_EQ(EndedGroups(*c), std::vector<int>{2});  // both flows with ID 2 were stopped
    c->m_vGroupEnded.Fill(0);
    ExpectOwnDefinitions(*c);
    ASSERT_EQ(c->m_vFlows.size(), 3u);
    EXPECT_EQ(c->m_vFlows[1].m_lpDef->m_nId, 3);
    EXPECT_EQ(c->m_vFlows[2].m_lpDef->m_nId, 4);
    EXPECT_EQ(c->m_lstAnimeRuns.size(), 1u);  // the runs of flow keys 1 and 3 went
    EXPECT_EQ(c->RemoveFlowsById(9), -1);     // none: nothing changes
    EXPECT_EQ(c->m_vFlows.size(), 3u);
    // The later flows are stepped through their own definitions.
    static std::vector<int> steppedTimes;
    steppedTimes.clear();
    CmdExecTable[CMD_WAIT] = [](cChara&, cFlowCmd&) {
        for (const cFlowCmd& cmd : PlayScene()->m_lpCurFlow->m_vCmds) steppedTimes.push_back(cmd.m_lpDef->m_nTime);
    };
    g_vPlayers.resize(1);
    cCharaPlayer& p = g_vPlayers[0];
    p.Assign(*c);
    c.reset();  // the copy must not lean on the original
    for (cFlow& f : p.m_vFlows) f.m_bRunning = 1;
    p.m_nHP = 1;
    EXPECT_EQ(p.UpdateChara(0), 0);
    EXPECT_EQ(steppedTimes, (std::vector<int>{1, 3, 4, 6}));
    // ID 0 removes everything.
    EXPECT_EQ(p.RemoveFlowsById(0), 0);
    EXPECT_EQ(EndedGroups(p), (std::vector<int>{1, 3, 4}));
    EXPECT_TRUE(p.m_vFlows.empty() && p.m_Def.m_vecFlow.empty() && p.m_lstAnimeRuns.empty());
}

TEST_F(CharaFlowsTest, RemoveFlowAndAddFlow) {
    cTestChara c;
    cEdChara def = MakeCharaDef({MakeFlow(1, {Wait(1)}), MakeFlow(2, {Wait(2)}), MakeFlow(3, {Wait(3)})});
    c.InitChara(&def, nullptr, 0);
    c.InsertFlows(c.m_Def.m_vecFlow, 0, 0);
    c.m_lstAnimeRuns = {AnimeRunOf(0, 1), AnimeRunOf(1, 1), AnimeRunOf(1, 2)};
    c.RemoveFlow(1);
    ExpectOwnDefinitions(c);
    EXPECT_EQ(c.m_vFlows[1].m_lpDef->m_nId, 3);
    EXPECT_EQ(c.m_vFlows[1].m_nKey, 2);
    EXPECT_EQ(c.m_lstAnimeRuns.size(), 1u);
    c.RemoveFlow(5);  // reported, nothing removed
    EXPECT_EQ(g_bQuit.load(), 1);
    EXPECT_EQ(c.m_vFlows.size(), 2u);
    // AddFlow appends a record for a definition already there.
    c.m_Def.m_vecFlow.push_back(MakeFlow(6, {Wait(6), Wait(7)}));
    cFlow extra;
    extra.m_vCmds.resize(2);
    c.AddFlow(extra);
    ExpectOwnDefinitions(c);
}

TEST_F(CharaFlowsTest, CopiedCharaPointsAtItsOwnDefinitions) {
    auto original = std::make_unique<cTestChara>();
    cEdFlow f = MakeFlow(1, {Wait(1), Wait(2)});
    f.m_vecKeyCond.resize(1);
    cEdChara def = MakeCharaDef({f, MakeFlow(2, {Wait(3)})});
    original->InitChara(&def, nullptr, 0);
    original->InsertFlows(original->m_Def.m_vecFlow, 0, 0);
    original->m_vFlows[1].m_bRunning = 1;
    cTestChara copy(*original);
    cTestChara assigned;
    assigned = *original;
    original.reset();
    for (const cChara* c : {static_cast<const cChara*>(&copy), static_cast<const cChara*>(&assigned)}) {
        ExpectOwnDefinitions(*c);
        EXPECT_EQ(c->m_vFlows[1].m_bRunning, 1);
        EXPECT_EQ(c->m_vFlows[0].m_vCmds[1].m_lpDef->m_nTime, 2);  // read through the pointer (ASan)
        EXPECT_EQ(c->m_vFlows[0].m_vKeyConds[0]->m_vecKey.size(), 19u);
    }
}

TEST_F(CharaFlowsTest, AnimationRunsOfFlows) {
    cTestChara c;
    c.m_lstAnimeRuns = {AnimeRunOf(1, 5, 0), AnimeRunOf(1, 6, 2), AnimeRunOf(2, 5, 0)};
    c.PauseFlowAnimeRuns(1);
    EXPECT_EQ(c.m_lstAnimeRuns.at(0).m_bPaused + c.m_lstAnimeRuns.at(1).m_bPaused, 2);
    EXPECT_EQ(c.m_lstAnimeRuns.at(2).m_bPaused, 0);
    c.ResumeFlowAnimeRuns(1);
    EXPECT_EQ(c.m_lstAnimeRuns.at(0).m_bPaused + c.m_lstAnimeRuns.at(1).m_bPaused, 0);
    // With the older behaviour a run without repetitions left goes.
    g_SystemData.m_bCompat904 = 1;
    c.PauseFlowAnimeRuns(1);
    ASSERT_EQ(c.m_lstAnimeRuns.size(), 2u);
    EXPECT_EQ(c.m_lstAnimeRuns.at(0).m_nAnime, 6);
    EXPECT_EQ(c.m_lstAnimeRuns.at(0).m_bPaused, 1);
    c.StopAnimeRuns(5);
    EXPECT_EQ(c.m_lstAnimeRuns.size(), 1u);
    c.RemoveFlowAnimeRuns(1);
    EXPECT_TRUE(c.m_lstAnimeRuns.empty());
}

}  // namespace
