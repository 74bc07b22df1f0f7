// The flow control on flows of the chara and of a target, through the real
// flow runtime where the order of a pass matters, and the stage clear.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/log.h"
#include "base/scene_state.h"
#include "base/thread.h"
#include "engine/flow_control.h"
#include "frontend/data/game_progress.h"
#include "frontend/data/world_map.h"
#include "platform/cp932.h"
#include "platform/message_box.h"
#include "tests/engine/flow_engine_fixture.h"
#include "tests/support/temp_dir.h"

using namespace flowtest;

namespace {

constexpr int kA = 1, kB = 2;

// A flow control command: operation, scope, flow ID, subject, report.
Cmd Control(int op, int scope, int id = 0, int subject = 0, int tag = 9, int steps = 1, int sameFrame = 0) {
    return Cmd{CMD_FLOW_CONTROL, tag, steps, sameFrame, {op, scope, id, subject, 1}};
}
Cmd Seq(int tag, int steps = 1) { return Cmd{CMD_WAIT, tag, steps, 0}; }

// The real flow control, logged like the waits.
void LoggedControl(cChara& chara, cFlowCmd& cmd) {
    Record(chara, cmd);
    ExecFlowControl(chara, cmd);
}

// Each flow: running or stopped, '*' started by the command, paused,
// halted, marked for removal, then its animation run: 'a' active, 'z'
// paused, nothing when it was removed.
std::string State(const cChara& c) {
    std::string s;
    for (const cFlow& f : c.m_vFlows) {
        if (!s.empty()) s += ' ';
        s += f.m_bRunning ? 'r' : 's';
        if (f.m_nStartCount) s += '*';
        if (f.m_bPaused) s += 'p';
        if (f.m_bHalted) s += 'h';
        if (f.m_bRemove) s += 'x';
        for (const cAnimeRun& r : c.m_lstAnimeRuns)
            if (r.m_nOwnerKey == f.m_nKey) s += r.m_bPaused ? 'z' : 'a';
    }
    return s;
}

class FlowControlTest : public FlowEngineTest {
protected:
    void SetUp() override {
        FlowEngineTest::SetUp();
        m_scene.m_lpCurFlowVars = m_vars;
    }
    void TearDown() override {
        SetDebugLog(0, "");
        FlowEngineTest::TearDown();
    }
    // Flows A, B, A: the first running, the second running and paused, the
    // third stopped; each with an animation run.
    static void Prepare(cChara& c) {
        Give(c, {{Seq(1)}, {Seq(2)}, {Seq(3)}});
        c.m_Def.m_vecFlow[2].m_nId = kA;
        c.m_vFlows[0].m_bRunning = c.m_vFlows[1].m_bRunning = 1;
        c.m_vFlows[1].m_bPaused = 1;
        for (const cFlow& f : c.m_vFlows) c.m_lstAnimeRuns.emplace_back().m_nOwnerKey = f.m_nKey;
        c.m_vTargets.assign(kTargetSlots, nullptr);
    }
    // Runs the command on m_chara with its first flow current.
    void Run(const std::vector<int32_t>& params) {
        cEdFlowCmd def = MakeCmd(0, CMD_FLOW_CONTROL, params);
        cFlowCmd inst;
        inst.m_lpDef = &def;
        m_scene.m_lpCurChara = &m_chara;
        m_scene.m_lpCurFlow = &m_chara.m_vFlows[0];
        m_scene.m_lpCurFlowVars = m_vars;
        ExecFlowControl(m_chara, inst);
    }
    std::filesystem::path EnableDebugLog() {
        const std::filesystem::path p = m_dir.Path() / "ZI_Vare.txt";
        SetDebugLog(1, p.string());
        return p;
    }
    int32_t m_vars[2] = {};
    testsupport::TempWorkDir m_dir;
};

TEST_F(FlowControlTest, OperationsByScopeOnItselfAndOnATarget) {
    static cTestChara other;
    struct Case {
        int op, scope, id, subject;
        const char* own;
        const char* target;
    };
    const Case cases[] = {
        {FLOWOP_START, FLOWSCOPE_THIS, 0, 0, "r* rpa sa", "ra rpa sa"},
        {FLOWOP_START, FLOWSCOPE_OTHERS, 0, 0, "ra r*p r*", "ra rpa sa"},
        {FLOWOP_START, FLOWSCOPE_BY_ID, kA, 0, "r* rpa r*", "ra rpa sa"},
        {FLOWOP_START, FLOWSCOPE_BY_ID, 0, 0, "ra rpa sa", "ra rpa sa"},  // ID 0 names no flow
        {FLOWOP_STOP, FLOWSCOPE_THIS, 0, 0, "s rpa sa", "ra rpa sa"},
        {FLOWOP_STOP, FLOWSCOPE_OTHERS, 0, 0, "ra sp s", "ra rpa sa"},
        {FLOWOP_PAUSE, FLOWSCOPE_THIS, 0, 0, "rpz rpa sa", "ra rpa sa"},
        {FLOWOP_PAUSE, FLOWSCOPE_BY_ID, kA, 0, "rpz rpa spz", "ra rpa sa"},
        {FLOWOP_RESUME, FLOWSCOPE_OTHERS, 0, 0, "ra ra sa", "ra rpa sa"},
        {FLOWOP_HALT, FLOWSCOPE_OTHERS, 0, 0, "ra rph sh", "ra rpa sa"},
        {FLOWOP_DELETE, FLOWSCOPE_THIS, 0, 0, "rxa rpa sa", "ra rpa sa"},
        {FLOWOP_DELETE, FLOWSCOPE_OTHERS, 0, 0, "ra rpxa sxa", "ra rpa sa"},
        {FLOWOP_DELETE, FLOWSCOPE_BY_ID, kA, 0, "rxa rpa sxa", "ra rpa sa"},
        // Target slot 3 holds the other chara: scope 2 acts on it.
        {FLOWOP_START, FLOWSCOPE_BY_ID, kA, 3, "ra rpa sa", "r* rpa r*"},
        {FLOWOP_STOP, FLOWSCOPE_BY_ID, kB, 3, "ra rpa sa", "ra sp sa"},
        {FLOWOP_RESUME, FLOWSCOPE_BY_ID, kB, 3, "ra rpa sa", "ra ra sa"},
        {FLOWOP_DELETE, FLOWSCOPE_BY_ID, kA, 3, "ra rpa sa", "rpa"},  // at once, both
        {FLOWOP_DELETE, FLOWSCOPE_BY_ID, 0, 3, "ra rpa sa", "ra rpa sa"},
        // Scopes 0 and 1 always act on the chara itself.
        {FLOWOP_STOP, FLOWSCOPE_THIS, 0, 3, "s rpa sa", "ra rpa sa"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "op " << k.op << " scope " << k.scope << " id " << k.id << " subject "
                                        << k.subject);
        Prepare(m_chara);
        Prepare(other);
        m_chara.SetTargetSlot(2, &other, 1);
        m_vars[0] = 0;
        Run({k.op, k.scope, k.id, k.subject, 1});
        EXPECT_EQ(State(m_chara), k.own);
        EXPECT_EQ(State(other), k.target);
        EXPECT_EQ(m_chara.m_bRemovePending, std::string(k.own).find('x') != std::string::npos ? 1 : 0);
        EXPECT_EQ(m_vars[0], 1);
        m_chara.SetTargetSlot(2, nullptr, 1);
    }
}

// StartFlow sets the group switches on the chara that runs the command.
TEST_F(FlowControlTest, StartingATargetsFlowSetsGroupSwitchesOnTheExecutingChara) {
    static cTestChara other;
    Prepare(m_chara);
    Prepare(other);
    other.m_Def.m_vecFlow[0].m_nFlowGroup = 3;
    m_chara.SetTargetSlot(0, &other, 1);
    Run({FLOWOP_START, FLOWSCOPE_BY_ID, kA, 1, 0});
    EXPECT_EQ(m_chara.m_vGroupRunning[3], 1);
    EXPECT_EQ(other.m_vGroupRunning[3], 0);
    m_chara.SetTargetSlot(0, nullptr, 1);
}

TEST_F(FlowControlTest, AnEmptySlotOrAFailingGuardDoesNothing) {
    Prepare(m_chara);
    for (int scope : {FLOWSCOPE_THIS, FLOWSCOPE_OTHERS, FLOWSCOPE_BY_ID}) {
        m_vars[0] = m_vars[1] = 7;
        Run({FLOWOP_STOP, scope, kA, 4, 1});
        EXPECT_EQ(State(m_chara), "ra rpa sa") << scope;
        EXPECT_EQ(m_vars[0], 2);
        EXPECT_EQ(m_vars[1], 7);
    }
    // A guard that fails; with the version-980 switch word 1 is zeroed.
    g_SystemData.m_bCompat981 = 1;
    cEdFlowCmd def = MakeCmd(0, CMD_FLOW_CONTROL, {FLOWOP_STOP, FLOWSCOPE_THIS, 0, 0, 1});
    def.m_spCondList.Create().m_vecCond.resize(1);  // COND_NONE never holds
    cFlowCmd inst;
    inst.m_lpDef = &def;
    m_scene.m_lpCurFlow = &m_chara.m_vFlows[0];
    m_vars[1] = 7;
    ExecFlowControl(m_chara, inst);
    EXPECT_EQ(State(m_chara), "ra rpa sa");
    EXPECT_EQ(m_vars[0], 2);
    EXPECT_EQ(m_vars[1], 0);
    def.m_spCondList->m_vecCond.clear();  // an empty list holds
    ExecFlowControl(m_chara, inst);
    EXPECT_EQ(State(m_chara), "s rpa sa");
    EXPECT_EQ(m_vars[0], 1);
}

// Own flows marked for deletion go at the end of the chara's update.
TEST_F(FlowControlTest, OwnDeletionWaitsForTheEndOfTheUpdate) {
    CmdExecTable[CMD_FLOW_CONTROL] = LoggedControl;
    Give(m_chara, {{Control(FLOWOP_DELETE, FLOWSCOPE_BY_ID, kB), Seq(1)}, {Seq(2)}, {Seq(3)}});
    m_chara.m_Def.m_vecFlow[2].m_nId = kB;
    for (cFlow& f : m_chara.m_vFlows) StartFlow(f);
    Pass();
    EXPECT_EQ(Joined(), "1:9 1:2 1:3");  // B flows still run in this pass
    EXPECT_EQ(m_chara.m_vFlows.size(), 3u);
    m_chara.ApplyFlowRemovals();
    ASSERT_EQ(m_chara.m_vFlows.size(), 1u);
    EXPECT_EQ(m_chara.m_vFlows[0].m_lpDef->m_nId, kA);
}

// Through the runtime: a restart of the running flow ends its pass at once;
// a pause of time 0 resumes after itself; a flow started by scope 1 later in
// the vector runs in the same sub-step.
TEST_F(FlowControlTest, OrderInsideAPass) {
    CmdExecTable[CMD_FLOW_CONTROL] = LoggedControl;
    struct Case {
        const char* name;
        std::vector<Cmd> cmds;
        const char* log;
    } cases[] = {
        {"[A, restart] loops", {Seq(kA), Control(FLOWOP_START, FLOWSCOPE_THIS)}, "1:1 2:9 3:1 4:9 5:1 6:9"},
        {"[A, restart, B] never reaches B",
         {Seq(kA), Control(FLOWOP_START, FLOWSCOPE_THIS), Seq(kB)},
         "1:1 2:9 3:1 4:9 5:1 6:9"},
        {"[A, restart by ID, B]", {Seq(kA), Control(FLOWOP_START, FLOWSCOPE_BY_ID, 1), Seq(kB)},
         "1:1 2:9 3:1 4:9 5:1 6:9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_log.clear();
        g_step = 0;
        cFlow& flow = Build(c.cmds);
        StartFlow(flow);
        EXPECT_EQ(Passes(6), c.log);
    }
    // [A, pause of time 0, B]: paused after the pause; resumed, B runs.
    g_log.clear();
    g_step = 0;
    cFlow& flow = Build({Seq(kA), Control(FLOWOP_PAUSE, FLOWSCOPE_THIS, 0, 0, 8, 0), Seq(kB)});
    StartFlow(flow);
    EXPECT_EQ(Passes(3), "1:1 2:8");
    EXPECT_EQ(flow.m_bPaused, 1);
    ResumeFlow(flow);
    EXPECT_EQ(Passes(1), "1:1 2:8 4:2");
    // Scope 1 starts a later flow, which runs in the same pass.
    g_log.clear();
    g_step = 0;
    Give(m_chara, {{Control(FLOWOP_START, FLOWSCOPE_OTHERS, 0, 0, 7)}, {Seq(kB)}});
    StartFlow(m_chara.m_vFlows[0]);
    EXPECT_EQ(Passes(1), "1:7 1:2");
}

// A stage-start flow of another chara, started by ID, whose first command
// removes that very flow (a flow control by ID on the chara in the running
// chara's target slot) ends there: its later command never runs on the
// erased record, and the flow that moved into its place is left alone.
TEST_F(FlowControlTest, StageStartFlowRemovedByItsOwnCommandEndsThere) {
    CmdExecTable[CMD_FLOW_CONTROL] = LoggedControl;
    static cTestChara other;
    const Cmd removeItself = Control(FLOWOP_DELETE, FLOWSCOPE_BY_ID, kA, 1, 3, 1, 1);
    const Cmd stopTheNext = Control(FLOWOP_STOP, FLOWSCOPE_BY_ID, kB, 1, 4, 1, 1);
    Give(other, {{removeItself, stopTheNext}, {Seq(5)}}, TRG_STAGE_START);
    Give(m_chara, {{Seq(1)}});
    m_chara.m_vTargets.at(0) = &other;
    other.m_vFlows[1].m_bRunning = 1;
    Run({FLOWOP_START, FLOWSCOPE_BY_ID, kA, 1, 1});
    EXPECT_EQ(Joined(), "0:3");
    ASSERT_EQ(other.m_vFlows.size(), 1u);
    EXPECT_EQ(other.m_vFlows[0].m_lpDef->m_nId, kB);
    EXPECT_EQ(other.m_vFlows[0].m_bRunning, 1) << "the flow after it was not stopped";
    EXPECT_EQ(other.m_vFlows[0].m_bAbort, 0);
    other.m_vFlows.clear();
    other.m_Def.m_vecFlow.clear();
}

// Two stage-start flows that start each other nest until the cap, then stop
// with a line in the debug log; on a worker thread's stack.
TEST_F(FlowControlTest, StageStartFlowsStartingEachOtherStopAtTheCap) {
    const auto log = EnableDebugLog();
    Give(m_chara,
         {{Control(FLOWOP_START, FLOWSCOPE_BY_ID, kB, 0, 1, 0, 1)}, {Control(FLOWOP_START, FLOWSCOPE_BY_ID, kA, 0, 2, 0, 1)}},
         TRG_STAGE_START);
    m_scene.m_lpCurChara = &m_chara;
    cThread worker;
    ASSERT_TRUE(worker.Start(
        [](void* arg) -> unsigned {
            StartFlow(static_cast<cChara*>(arg)->m_vFlows[0]);
            return 0;
        },
        &m_chara));
    worker.Wait();
    EXPECT_EQ(m_chara.m_vFlows[0].m_bRunning + m_chara.m_vFlows[1].m_bRunning, 0);
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("nest deeper than 1000"), std::string::npos) << text.str();
    EXPECT_EQ(m_chara.m_vFlows[0].m_nStartCount + m_chara.m_vFlows[1].m_nStartCount, 1001u);
}

// ---------------------------------------------------------------------------
// Stage clear

class StageClearTest : public FlowControlTest {
protected:
    void SetUp() override {
        FlowControlTest::SetUp();
        m_savedProgress = g_Progress;
        m_savedMap = g_WorldMap;
        m_savedType = g_SceneState.g_nGameType;
        g_WorldMap.m_nWidth = 20;
        g_WorldMap.m_nHeight = 10;
        g_Progress.m_nStageNumber = 4;
        g_vPlayers.resize(1);
    }
    void TearDown() override {
        g_Progress = m_savedProgress;
        g_WorldMap = m_savedMap;
        g_SceneState.g_nGameType = m_savedType;
        FlowControlTest::TearDown();
    }
    static cEdFlowCmd Clear(std::vector<int32_t> p, const std::string& text = "") {
        p.resize(11, 0);
        cEdFlowCmd c = MakeCmd(0, CMD_STAGE_CLEAR, p);
        c.m_strCode = text;
        return c;
    }
    cGameProgress m_savedProgress;
    cWorldMap m_savedMap;
    int m_savedType = 0;
};

TEST_F(StageClearTest, NextStage) {
    struct Case {
        int mode, number;
        const char* text;
        int next;
        const char* file;
    };
    const Case cases[] = {
        {0, 9, "x.stg4", 5, ""},
        {1, 9, "x.stg4", 9, ""},
        {2, 9, "data\\stg4\\Cave.stg4", 4, "data\\stg4\\Cave."},
        {3, 9, "", 0, ""},
        {7, 9, "", 77, "keep"},  // another mode changes neither
    };
    for (const Case& k : cases) {
        g_Progress.m_nNextStage = 77;
        g_Progress.m_strNextFile = "keep";
        cEdFlowCmd cmd = Clear({k.mode, k.number}, k.text);
        EXPECT_EQ(DoStageClear(m_chara, cmd), 1);
        EXPECT_EQ(g_Progress.m_nNextStage, k.next) << k.mode;
        EXPECT_EQ(g_Progress.m_strNextFile, k.file) << k.mode;
    }
    // The command's text keeps the rewrite; a second run changes nothing.
    cEdFlowCmd cmd = Clear({2}, "Cave.stg4");
    DoStageClear(m_chara, cmd);
    EXPECT_EQ(cmd.m_strCode, "Cave.");
    DoStageClear(m_chara, cmd);
    EXPECT_EQ(cmd.m_strCode, "Cave.");
    EXPECT_EQ(g_Progress.m_strNextFile, "Cave.");
    // An empty text: the box, the current stage again.
    platform::CapturedMessageBoxes boxes;
    cEdFlowCmd empty = Clear({2});
    DoStageClear(m_chara, empty);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, SJ("ステージファイル  が不正です。\nステージファイルとして認識できません。"));
    EXPECT_EQ(g_Progress.m_nNextStage, 4);
    EXPECT_EQ(g_Progress.m_strNextFile, "");
}

TEST_F(StageClearTest, StoryMapStartPositionAndRequest) {
    struct Case {
        int gameType, x, y;
        int mapX, mapY, saveFlag;
    };
    const Case cases[] = {
        {0, 3, 4, 3, 4, 1},
        {1, 25, 12, 19, 9, 1},  // limited to the map
        {1, -3, -1, 0, 0, 1},   // and below at 0
        {2, 3, 4, 8, 8, 0},     // not a story game: left alone
    };
    for (const Case& k : cases) {
        g_SceneState.g_nGameType = k.gameType;
        g_Progress.m_nMapX = g_Progress.m_nMapY = 8;
        g_Progress.m_nMapFacing = 3;
        m_scene.m_nClearMode = 0;
        DoStageClear(m_chara, Clear({0, 0, 1, k.x, k.y, 0, 0, 0, 0, 1}));
        EXPECT_EQ(g_Progress.m_nMapX, k.mapX) << k.gameType << " " << k.x;
        EXPECT_EQ(g_Progress.m_nMapY, k.mapY) << k.gameType << " " << k.y;
        EXPECT_EQ(g_Progress.m_nMapFacing, k.gameType < 2 ? 0 : 3);
        EXPECT_EQ(m_scene.m_nClearMode, k.saveFlag);
    }
    // Start position: facing 2 is the first player's.
    g_vPlayers[0].m_nFacing = 1;
    DoStageClear(m_chara, Clear({0, 0, 0, 0, 0, 1, 12, 7, 2, 0, 1}));
    EXPECT_EQ(g_Progress.m_bNextStartPos, 1);
    EXPECT_EQ(g_Progress.m_nNextStartX, 12);
    EXPECT_EQ(g_Progress.m_nNextStartY, 7);
    EXPECT_EQ(g_Progress.m_nNextStartDir, 1);
    EXPECT_EQ(g_Progress.m_bCountsAsClear, 1);
    DoStageClear(m_chara, Clear({0, 0, 0, 0, 0, 0, 12, 7, 0, 0, 0}));
    EXPECT_EQ(g_Progress.m_bNextStartPos, 0);
    EXPECT_EQ(g_Progress.m_bCountsAsClear, 0);
    // The chara form asks for the clear.
    cEdFlowCmd def = Clear({0});
    cFlowCmd inst;
    inst.m_lpDef = &def;
    m_scene.m_nStageEndRequest = 0;
    CmdExecTable[CMD_STAGE_CLEAR](m_chara, inst);
    EXPECT_EQ(m_scene.m_nStageEndRequest, 1);
}

}  // namespace
