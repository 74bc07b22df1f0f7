// The flow runtime: which command runs in which sub-step, the stage-start
// run, pausing and stopping, the animations flows schedule, restarts from a
// flow's own command, and the current references the executors rely on.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/log.h"
#include "base/thread.h"
#include "engine/arrange.h"
#include "engine/param_op.h"
#include "frontend/data/game_progress.h"
#include "platform/cp932.h"
#include "platform/message_box.h"
#include "tests/engine/flow_engine_fixture.h"
#include "tests/support/temp_dir.h"

using namespace flowtest;

namespace {

constexpr int kA = 1, kB = 2, kC = 3;
constexpr int kRestart = 0, kPause = 2;  // operations of the fake flow control

// A flow control of its own for these tests, on the current flow: restart
// (p0 = 0) or pause (p0 = 2), as the flow-control command does it.
void FakeFlowControl(cChara& chara, cFlowCmd& cmd) {
    Record(chara, cmd);
    cFlow& flow = *PlayScene()->m_lpCurFlow;
    if (CmdParam(*cmd.m_lpDef, 0) == kRestart) {
        StopFlow(flow, chara);
        chara.RemoveFlowAnimeRuns(flow.m_nKey);
        StartFlow(flow);
    } else {
        PauseFlow(flow);
        chara.PauseFlowAnimeRuns(flow.m_nKey);
    }
    flow.m_bAbort = 1;
}

Cmd Seq(int tag, int steps = 1) { return Cmd{CMD_WAIT, tag, steps, 0}; }
Cmd Same(int tag, int steps = 1) { return Cmd{CMD_WAIT, tag, steps, 1}; }
Cmd Restart(int tag = 9, int sameFrame = 0) { return Cmd{CMD_FLOW_CONTROL, tag, 1, sameFrame, {kRestart, 0, 0, 0, 0}}; }
Cmd Pause(int steps, int tag = 8) { return Cmd{CMD_FLOW_CONTROL, tag, steps, 0, {kPause, 0, 0, 0, 0}}; }

std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class FlowRuntimeTest : public FlowEngineTest {
protected:
    void SetUp() override {
        FlowEngineTest::SetUp();
        CmdExecTable[CMD_FLOW_CONTROL] = FakeFlowControl;
    }
    void TearDown() override {
        SetDebugLog(0, "");
        FlowEngineTest::TearDown();
    }
    std::filesystem::path EnableDebugLog() {
        const std::filesystem::path p = m_dir.Path() / "ZI_Vare.txt";
        SetDebugLog(1, p.string());
        return p;
    }
    testsupport::TempWorkDir m_dir;
};

// ---------------------------------------------------------------------------
// Timelines

TEST_F(FlowRuntimeTest, WhichCommandRunsInWhichSubStep) {
    struct Case {
        const char* name;
        std::vector<Cmd> cmds;
        const char* log;
        int finishesAt;
    } cases[] = {
        {"sequential 2, 1, 3", {Seq(kA, 2), Seq(kB, 1), Seq(kC, 3)}, "1:1 2:1 3:2 4:3 5:3 6:3", 6},
        {"same-frame 5 cut off by a sequential 2", {Same(kA, 5), Seq(kB, 2)}, "1:1 1:2 2:1 2:2", 2},
        {"sequential 1, then same-frame 3", {Seq(kA, 1), Same(kB, 3)}, "1:1 2:2 3:2 4:2", 4},
        {"duration 0 runs once, like 1", {Seq(kA, 0), Seq(kB, 1)}, "1:1 2:2", 2},
        {"a same-frame chain runs in one sub-step", {Same(kA, 2), Same(kB, 1), Seq(kC, 2)}, "1:1 1:2 1:3 2:1 2:3", 2},
        {"a lone same-frame command", {Same(kA, 2)}, "1:1 2:1", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_log.clear();
        g_step = 0;
        cFlow& flow = Build(c.cmds);
        StartFlow(flow);
        int finished = 0;
        while (!finished && g_step < 20) {
            ++g_step;
            finished = StepFlow(flow);
        }
        EXPECT_EQ(Joined(), c.log);
        EXPECT_EQ(g_step, c.finishesAt);
        EXPECT_EQ(flow.m_nFrames, c.finishesAt - 1);  // counted only on passes that did not finish
    }
}

TEST_F(FlowRuntimeTest, TheCharaPassStopsAFinishedFlowAndTheNextTriggerStartsItAgain) {
    cFlow& flow = Build({Seq(kA, 1), Seq(kB, 1)});
    StartFlow(flow);
    EXPECT_EQ(Passes(3), "1:1 2:2");
    EXPECT_EQ(flow.m_bRunning, 0);
    for (const cFlowCmd& cmd : flow.m_vCmds) EXPECT_EQ(cmd.m_nRemaining, 0);
    StartFlow(flow);
    EXPECT_EQ(flow.m_nPc, 0);
    EXPECT_EQ(Passes(1), "1:1 2:2 4:1");
}

// The arrange list goes to the next command that starts, except an arrange
// command, and is emptied then: both queued changes (add common variable 1
// to parameter 0 of kind 34, the background number) reach the first kind-34
// command only.
TEST_F(FlowRuntimeTest, QueuedArrangesChangeOnlyTheNextCommand) {
    constexpr int kChanged = 34;
    BuildArrangeParamTable();
    const cCheckedVector<int32_t> savedVars = g_Progress.m_vecCommonVar;
    g_Progress.m_vecCommonVar.assign(10, 0);
    g_Progress.m_vecCommonVar.at(1) = 3;
    static std::vector<int32_t> seen;
    seen.clear();
    CmdExecTable[kChanged] = [](cChara& c, cFlowCmd& cmd) {
        Record(c, cmd);
        seen.push_back(cmd.m_lpDef->m_vecParam.at(0));
    };
    // The arrange commands run through the table's own executor.
    const std::vector<int32_t> change = {kChanged, 0, OP_ADD, 0, 1};
    cFlow& flow = Build({Cmd{CMD_ARRANGE, 7, 1, 1, change}, Cmd{CMD_ARRANGE, 8, 1, 1, change},
                         Cmd{kChanged, 1, 1, 0, {0}}, Cmd{kChanged, 2, 1, 0, {0}}});
    StartFlow(flow);
    EXPECT_EQ(Passes(2), "1:1 2:2");
    EXPECT_EQ(seen, (std::vector<int32_t>{6, 0}));
    EXPECT_TRUE(flow.m_lstArrange.empty());
    g_Progress.m_vecCommonVar = savedVars;
    DestroyArrangeParamTable();
}

// A code command runs its text through the table's own executor.
TEST_F(FlowRuntimeTest, CodeCommandRunsItsText) {
    Build({Cmd{CMD_RUN_CODE, 1, 1}});
    m_chara.m_Def.m_vecFlow.at(0).m_vecCmd.at(0).m_strCode = "my.v2 = 7";
    cFlow& flow = m_chara.m_vFlows[0];
    StartFlow(flow);
    Passes(1);
    EXPECT_EQ(m_chara.m_vVars.at(2), 7);
}

// ---------------------------------------------------------------------------
// The stage-start trigger

TEST_F(FlowRuntimeTest, StageStartRunsTheGeneralSameFrameCommandsAtOnce) {
    EnableDebugLog();  // the box shows only with the debug log
    platform::CapturedMessageBoxes boxes;
    CmdExecTable[CMD_MOVE_STRAIGHT] = CmdExecTable[CMD_SCREEN_COLOR] = Record;
    cFlow& flow = Build({Cmd{CMD_MOVE_STRAIGHT, 1, 0, 1},  // kind below 16: skipped
                         Cmd{CMD_WAIT, 2, 0, 1},           // skipped too
                         Cmd{CMD_SCREEN_COLOR, 3, 0, 1},   //
                         Cmd{CMD_SCREEN_COLOR, 4, 0, 0},   // not same-frame: skipped
                         Cmd{CMD_SCREEN_COLOR, 5, 3, 1},   // does not finish: the box, then on
                         Cmd{CMD_SCREEN_COLOR, 6, 1, 1}},
                        TRG_STAGE_START);
    StartFlow(flow);
    EXPECT_EQ(Joined(), "0:3 0:5 0:6");
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, SJ("使用時間0なので、ここにくることはあり得ないはず！"));
    EXPECT_EQ(flow.m_bRunning, 0);  // stopped before the first frame
    EXPECT_EQ(flow.m_vCmds[4].m_bDone, 1);
    EXPECT_EQ(flow.m_vCmds[1].m_bDone, 0);
    EXPECT_EQ(m_scene.m_lpCurFlow, &flow);  // left current for the caller's pass

    // A command that sets the abort flag ends the run.
    g_log.clear();
    CmdExecTable[CMD_SCREEN_COLOR] = [](cChara& c, cFlowCmd& cmd) {
        Record(c, cmd);
        if (cmd.m_lpDef->m_nSound == 3) PlayScene()->m_lpCurFlow->m_bAbort = 1;
    };
    cFlow& again = Build({Cmd{CMD_SCREEN_COLOR, 3, 0, 1}, Cmd{CMD_SCREEN_COLOR, 6, 0, 1}}, TRG_STAGE_START);
    StartFlow(again);
    EXPECT_EQ(Joined(), "0:3");
    EXPECT_EQ(again.m_bRunning, 0);
    EXPECT_EQ(again.m_vCmds[0].m_bDone, 0);
}

// A command that starts a stage-start flow runs it inside itself; the rest
// of the caller's pass then reports into the started flow's variables.
TEST_F(FlowRuntimeTest, AnInlineStageStartKeepsItsFlowCurrent) {
    static cTestChara other;
    Give(other, {{Cmd{CMD_SCREEN_COLOR, 4, 0, 1}}}, TRG_STAGE_START);
    CmdExecTable[CMD_SCREEN_COLOR] = [](cChara& c, cFlowCmd& cmd) {
        Record(c, cmd);
        EXPECT_EQ(&c, PlayScene()->m_lpCurChara);
        PlayScene()->m_lpCurFlowVars[0] = cmd.m_lpDef->m_nSound;
    };
    CmdExecTable[CMD_FLOW_CONTROL] = [](cChara& c, cFlowCmd& cmd) {
        Record(c, cmd);
        StopFlow(other.m_vFlows[0], other);
        StartFlow(other.m_vFlows[0]);
    };
    cFlow& flow = Build({Cmd{CMD_FLOW_CONTROL, 1, 1, 1}, Cmd{CMD_SCREEN_COLOR, 5, 1, 0}});
    StartFlow(flow);
    EXPECT_EQ(Passes(1), "1:1 1:4 1:5");
    EXPECT_EQ(other.m_vFlows[0].m_anVars[0], 5);  // the caller's later command reported here
    EXPECT_EQ(flow.m_anVars[0], 0);
    EXPECT_EQ(other.m_vFlows[0].m_bRunning, 0);
    other = cTestChara{};
}

// ---------------------------------------------------------------------------
// Pause, resume, stop

TEST_F(FlowRuntimeTest, APausedFlowContinuesWhereItWas) {
    cFlow& flow = Build({Seq(kA, 3), Seq(kB, 1)});
    StartFlow(flow);
    EXPECT_EQ(Passes(1), "1:1");
    PauseFlow(flow);
    EXPECT_EQ(Passes(2), "1:1");
    EXPECT_EQ(flow.m_vCmds[0].m_nRemaining, 2);
    ResumeFlow(flow);
    EXPECT_EQ(Passes(3), "1:1 4:1 5:1 6:2");
    EXPECT_EQ(flow.m_bRunning, 0);
}

TEST_F(FlowRuntimeTest, StopAndStopForGood) {
    cFlow& flow = Build({Seq(kA, 3)});
    cEdFlow& def = m_chara.m_Def.m_vecFlow[0];
    def.m_nFlowGroup = 3;
    def.m_nTrigger = TRG_DAMAGED;
    struct Case {
        int trigger, compat875, latchKept;
    } latches[] = {{TRG_ALWAYS, 0, 1}, {TRG_DAMAGED, 0, 0}, {TRG_DAMAGED, 1, 1}, {TRG_ALWAYS, 1, 1}};
    for (const Case& c : latches) {
        def.m_nTrigger = static_cast<int8_t>(c.trigger);
        g_SystemData.m_bCompat875 = c.compat875;
        StartFlow(flow);
        Pass();
        flow.m_bKeyLatch = 1;
        flow.m_lstArrange.push_back(cArrange{});
        StopFlow(flow, m_chara);
        EXPECT_EQ(flow.m_bKeyLatch, c.latchKept) << c.trigger << " " << c.compat875;
        EXPECT_EQ(flow.m_bRunning + flow.m_vCmds[0].m_nRemaining + static_cast<int>(flow.m_lstArrange.size()), 0);
        EXPECT_EQ(m_chara.m_vGroupEnded[3] + m_chara.m_bGroupEnded, 2);
        m_chara.m_vGroupEnded[3] = 0;
        m_chara.m_bGroupEnded = 0;
    }
    flow.m_bKeyLatch = 1;
    StopFlow(flow, m_chara);  // not running: nothing
    EXPECT_EQ(flow.m_bKeyLatch, 1);
    EXPECT_EQ(m_chara.m_bGroupEnded, 0);

    // For good: the flow keeps its running flag but never steps again.
    g_log.clear();
    StartFlow(flow);
    Pass();
    StopFlowForever(flow, m_chara);
    EXPECT_EQ(flow.m_bHalted, 1);
    EXPECT_EQ(flow.m_bRunning, 1);
    EXPECT_EQ(flow.m_vCmds[0].m_nRemaining, 0);
    EXPECT_EQ(m_chara.m_vGroupEnded[3] + m_chara.m_bGroupEnded, 2);
    Pass();
    EXPECT_EQ(Joined(), std::to_string(g_step - 1) + ":1");
}

// ---------------------------------------------------------------------------
// Animations of the schedule

TEST_F(FlowRuntimeTest, ScheduledAnimationsStartWithTheirOffsetAndRepeats) {
    // Animation 2: two lead-in steps of 2 ticks, then the looping step.
    g_vAnimeSteps.assign(3, AnimeTrack{});
    g_vAnimeSteps[2] = AnimeTrack{AnimeStep{10, 2, 0}, AnimeStep{11, 2, 0}, AnimeStep{12, 1, 1},
                                  AnimeStep{ANIME_RESTART, 0, 0}};
    cFlow& flow = Build({Seq(kA, 5)});
    flow.m_vAnimeSchedule = {FlowAnimeEntry{0, 0, 2, 2, 2, 10, 1},  // skips 2 ticks, loops 10
                             FlowAnimeEntry{0, 0, 2, 0, 4, 10, 0},  // a jump's: no loop extension
                             FlowAnimeEntry{0, 0, 2, 0, 4, 1, 1},   // command time 1: nothing added
                             FlowAnimeEntry{3, 3, 2, 0, 4, 6, 1}};  // due later
    StartFlow(flow);
    Pass();
    ASSERT_EQ(m_chara.m_lstAnimeRuns.size(), 3u);
    auto it = m_chara.m_lstAnimeRuns.begin();
    const cAnimeRun& a = *it++;
    EXPECT_EQ(a.m_nAnime, 2);
    EXPECT_EQ(a.m_nBaseAnime, 2);
    EXPECT_EQ(a.m_nMode, 1);
    EXPECT_EQ(a.m_nValue, 2);
    EXPECT_EQ(a.m_nValue2, 10);
    EXPECT_EQ(a.m_nOwnerKey, flow.m_nKey);
    EXPECT_EQ(a.m_Player.m_nStep, 1);  // two ticks in
    EXPECT_EQ(a.m_Player.m_vTracks[0][2].nDuration, 10);
    EXPECT_EQ(it++->m_Player.m_vTracks[0][2].nDuration, 1);
    EXPECT_EQ(it->m_Player.m_vTracks[0][2].nDuration, 1);
    EXPECT_EQ(g_vAnimeSteps[2][2].nDuration, 1);  // the table itself is untouched
    // Frame count 3: the last entry; a paused flow starts none.
    Pass();
    Pass();
    PauseFlow(flow);
    Pass();
    EXPECT_EQ(m_chara.m_lstAnimeRuns.size(), 3u);
    ResumeFlow(flow);
    Pass();
    EXPECT_EQ(m_chara.m_lstAnimeRuns.size(), 4u);
}

// ---------------------------------------------------------------------------
// A flow restarted by its own command

TEST_F(FlowRuntimeTest, ARestartFromTheFlowItselfBeginsAgainAtCommandZero) {
    struct Case {
        const char* name;
        std::vector<Cmd> cmds;
        int trigger;
        const char* log;
    } cases[] = {
        {"[A, restart] loops", {Seq(kA), Restart()}, TRG_ALWAYS, "1:1 2:9 3:1 4:9 5:1 6:9"},
        {"[A, restart, B] never reaches B", {Seq(kA), Restart(), Seq(kB)}, TRG_ALWAYS, "1:1 2:9 3:1 4:9 5:1 6:9"},
        {"[A, B, restart] on a damage trigger", {Seq(kA), Seq(kB), Restart()}, TRG_DAMAGED,
         "1:1 2:2 3:9 4:1 5:2 6:9"},
        {"a same-frame restart mid-list", {Same(kA, 3), Restart(9, 1), Seq(kB, 2)}, TRG_ALWAYS,
         "1:1 1:9 2:1 2:9 3:1 3:9 4:1 4:9 5:1 5:9 6:1 6:9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_log.clear();
        g_step = 0;
        cFlow& flow = Build(c.cmds, c.trigger);
        StartFlow(flow);
        EXPECT_EQ(Passes(6), c.log);
        EXPECT_EQ(flow.m_bRunning, 1);
    }
}

TEST_F(FlowRuntimeTest, ARestartLeavesTheStateStartFlowMade) {
    g_vAnimeSteps.assign(2, AnimeTrack{AnimeStep{1, 1, 0}, AnimeStep{ANIME_RESTART, 0, 0}});
    cFlow& flow = Build({Seq(kA), Restart()});
    flow.m_vAnimeSchedule = {FlowAnimeEntry{0, 0, 1, 0, 0, 6, 1}};
    StartFlow(flow);
    Pass();
    EXPECT_EQ(m_chara.m_lstAnimeRuns.size(), 1u);
    Pass();  // the restart removes the flow's runs
    EXPECT_EQ(flow.m_nPc, 0);
    EXPECT_EQ(flow.m_nFrames, 0);
    EXPECT_EQ(flow.m_vCmds[0].m_bDone + flow.m_vCmds[1].m_bDone, 0);
    EXPECT_TRUE(m_chara.m_lstAnimeRuns.empty());
    Pass();  // command 0's animation plays again
    EXPECT_EQ(m_chara.m_lstAnimeRuns.size(), 1u);
}

// A pause of time 0 finishes as it pauses: the flow resumes after it. A
// longer one stays unfinished and pauses again at each resume.
TEST_F(FlowRuntimeTest, PausesFromTheFlowItself) {
    struct Case {
        int pauseSteps;
        const char* log;
    } cases[] = {
        {0, "1:1 2:8 3:2"},                    // time 0
        {1, "1:1 2:8 3:2"},                    // one sub-step: the same
        {3, "1:1 2:8 3:8 4:8 5:2"},            //
        {6, "1:1 2:8 3:8 4:8 5:8 6:8 7:8 8:2"},  // time 1: six sub-steps, six pauses
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pauseSteps);
        g_log.clear();
        g_step = 0;
        cFlow& flow = Build({Seq(kA), Pause(c.pauseSteps), Seq(kB)});
        StartFlow(flow);
        for (int i = 0; i < 12 && flow.m_bRunning; ++i) {
            if (flow.m_bPaused) {
                // Paused passes run nothing; then the resume.
                const size_t before = g_log.size();
                Pass();
                EXPECT_EQ(g_log.size(), before);
                --g_step;
                ResumeFlow(flow);
            }
            Pass();
        }
        EXPECT_EQ(Joined(), c.log);
        EXPECT_EQ(flow.m_bRunning, 0);
    }
}

// ---------------------------------------------------------------------------
// Kinds outside the table, parameters, the current references

TEST_F(FlowRuntimeTest, AKindOutsideTheTableRunsNothingAndIsLogged) {
    const auto log = EnableDebugLog();
    static int setups = 0;
    setups = 0;
    for (CmdSetupFn& s : CmdSetupTable) s = [](cFlowCmd&, cChara&) { ++setups; };
    cFlow& flow = Build({Cmd{45, 5, 1, 0}, Cmd{-3, 6, 1, 0}, Seq(kA)});
    EXPECT_EQ(setups, 1);  // only the wait's
    StartFlow(flow);
    EXPECT_EQ(Passes(3), "3:1");
    EXPECT_EQ(flow.m_bRunning, 0);
    const std::string text = ReadAll(log);
    EXPECT_NE(text.find("kind 45"), std::string::npos) << text;
    EXPECT_NE(text.find("kind -3"), std::string::npos) << text;
}

TEST_F(FlowRuntimeTest, ParametersAreReadThroughTheCheckedAccessor) {
    cEdFlowCmd cmd = MakeCmd(0, CMD_WAIT, {4, 5});
    EXPECT_EQ(CmdParam(cmd, 1), 5);
    EXPECT_EQ(g_bQuit.load(), 0);
    EXPECT_EQ(CmdParam(cmd, 2), 4);  // reported, element 0
    EXPECT_EQ(g_bQuit.load(), 1);
    g_bQuit = 0;
    const cEdFlowCmd empty = MakeCmd(0, CMD_WAIT);
    EXPECT_EQ(CmdParam(empty, 0), 0);
    EXPECT_EQ(g_bQuit.load(), 1);
}

// The item-getting command runs a temporary item's commands with the item's
// variables: the flow's come back when it returns, even if the item is gone.
TEST_F(FlowRuntimeTest, GetItemGivesTheFlowVariablesBack) {
    CmdExecTable[CMD_GET_ITEM] = [](cChara&, cFlowCmd&) {
        auto* temporary = new int32_t[2]{};
        PlayScene()->m_lpCurFlowVars = temporary;
        temporary[0] = 1;
        delete[] temporary;
    };
    CmdExecTable[CMD_SCREEN_COLOR] = [](cChara&, cFlowCmd&) { PlayScene()->m_lpCurFlowVars[0] = 7; };
    cFlow& flow = Build({Cmd{CMD_GET_ITEM, 1, 1, 1}, Cmd{CMD_SCREEN_COLOR, 2, 1, 0}});
    StartFlow(flow);
    Pass();
    EXPECT_EQ(flow.m_anVars[0], 7);
}

TEST_F(FlowRuntimeTest, RemovingAFlowKeepsTheCurrentReferencesTrue) {
    Give(m_chara, {{Seq(kA)}, {Seq(kB)}, {Seq(kC)}});
    std::vector<cFlow>& flows = m_chara.m_vFlows;
    m_scene.m_lpCurFlow = &flows[2];
    m_scene.m_lpCurFlowVars = flows[2].m_anVars;
    m_scene.m_lpCurFlowCmd = &flows[2].m_vCmds[0];
    flows[2].m_anVars[0] = 33;
    m_chara.RemoveFlow(0);  // a flow before: the references follow theirs
    EXPECT_EQ(m_scene.m_lpCurFlow, &flows[1]);
    EXPECT_EQ(m_scene.m_lpCurFlowVars[0], 33);
    EXPECT_EQ(m_scene.m_lpCurFlowCmd->m_lpDef->m_nSound, kC);
    m_chara.RemoveFlow(1);  // theirs: cleared
    EXPECT_EQ(m_scene.m_lpCurFlow, nullptr);
    EXPECT_EQ(m_scene.m_lpCurFlowVars, nullptr);
    EXPECT_EQ(m_scene.m_lpCurFlowCmd, nullptr);
}

// A chara that dies in its flow pass leaves no reference into itself.
TEST_F(FlowRuntimeTest, ADyingCharaLeavesNoReference) {
    g_vPlayers.resize(1);
    cCharaComputer& c = g_lstCharas.emplace_back();
    cEdChara def = MakeCharaDef({FlowOf(1, {Same(kA, 2), Seq(kB, 2)})});
    c.InitComputer(5, def, nullptr, nullptr, 0);
    CmdExecTable[CMD_WAIT] = [](cChara& chara, cFlowCmd&) { chara.m_nHP = 0; };
    StartFlow(c.m_vFlows[0]);
    EXPECT_EQ(c.UpdateChara(0), 1);
    g_lstCharas.clear();
    EXPECT_EQ(m_scene.m_lpCurChara, nullptr);
    EXPECT_EQ(m_scene.m_lpCurFlow, nullptr);
    EXPECT_EQ(m_scene.m_lpCurFlowVars, nullptr);
    EXPECT_EQ(m_scene.m_lpCurFlowCmd, nullptr);
}

// A stage-start flow that starts itself from its own command nests until
// the cap, then stops without running; on a worker thread's stack.
TEST_F(FlowRuntimeTest, SelfStartingStageStartFlowStopsAtTheCap) {
    const auto log = EnableDebugLog();
    static int runs = 0;
    runs = 0;
    CmdExecTable[CMD_FLOW_CONTROL] = [](cChara&, cFlowCmd&) {
        ++runs;
        StartFlow(*PlayScene()->m_lpCurFlow);
    };
    static cFlow* s_flow = nullptr;
    s_flow = &Build({Cmd{CMD_FLOW_CONTROL, 1, 0, 1}}, TRG_STAGE_START);
    cThread worker;
    ASSERT_TRUE(worker.Start(
        [](void*) -> unsigned {
            StartFlow(*s_flow);
            return 0;
        },
        nullptr));
    worker.Wait();
    EXPECT_EQ(runs, kStageStartNestingCap);
    EXPECT_EQ(s_flow->m_bRunning, 0);
    const std::string text = ReadAll(log);
    EXPECT_NE(text.find("nest deeper than 1000"), std::string::npos) << text;
    // The counter unwinds: the next start runs again.
    runs = 0;
    CmdExecTable[CMD_FLOW_CONTROL] = [](cChara&, cFlowCmd&) { ++runs; };
    StartFlow(*s_flow);
    EXPECT_EQ(runs, 1);
}

TEST_F(FlowRuntimeTest, FindCharaByIdAndTheBottomAnchor) {
    g_vPlayers.resize(2);
    g_vPlayers[0].m_nKey = 1;
    g_vPlayers[1].m_nKey = 7;
    g_lstCharas.resize(2);
    g_lstCharas.front().m_nKey = 7;
    g_lstCharas.back().m_nKey = 9;
    EXPECT_EQ(FindCharaById(7), &g_vPlayers[1]);
    EXPECT_EQ(FindCharaById(9), &g_lstCharas.back());
    EXPECT_EQ(FindCharaById(3), nullptr);
    const struct {
        int anchor, flying;
        bool bottom;
    } anchors[] = {{0, 0, false}, {1, 0, true}, {1, 1, true}, {2, 0, true}, {2, 1, false}, {3, 0, false}};
    for (const auto& a : anchors) EXPECT_EQ(IsBottomAnchor(a.anchor, a.flying), a.bottom) << a.anchor << a.flying;
}

}  // namespace
