#include "engine/flow_runtime.h"

#include "base/checked_vector.h"
#include "base/error_box.h"
#include "base/log.h"
#include "engine/arrange.h"
#include "engine/cmd_tables.h"
#include "engine/flow.h"
#include "platform/cp932.h"
#include "play/chara.h"
#include "play/chara_computer.h"
#include "play/chara_player.h"
#include "play/numeric.h"
#include "play/scene_play.h"
#include "records/database.h"
#include "records/ed_flow.h"
#include "records/system_data.h"

namespace {

// Stage-start flows started from inside a stage-start run.
int g_nStageStartDepth = 0;

// The command's slot in the tables, or -1 (logged for a kind the tables do
// not hold).
int TableKindOf(const cFlowCmd& cmd, const char* caller) {
    if (!cmd.m_lpDef) return -1;
    const int8_t kind = cmd.m_lpDef->m_nKind;
    if (static_cast<uint8_t>(kind) < CHARA_CMD_KIND_COUNT) return static_cast<uint8_t>(kind);
    DebugLogf("%s: command kind %d is not known", caller, kind);
    return -1;
}

// A message that waits for a button and is not a closing one.
bool IsButtonWaitMessage(const cEdFlowCmd& def) {
    return def.m_nKind == CMD_MESSAGE && CmdParam(def, 15) == 0 && CmdParam(def, 6) == 0;
}

void SetGroupSwitch(cCheckedVector<uint8_t>& switches, int g) { switches.at(g) = 1; }

// StopFlow with or without a chara to tell about an ended group.
void StopFlowOf(cFlow& flow, cChara* chara) {
    if (!flow.m_bRunning) return;
    flow.m_bRunning = 0;
    flow.m_lstArrange.clear();
    for (cFlowCmd& cmd : flow.m_vCmds) cmd.m_nRemaining = 0;
    const int trigger = flow.m_lpDef ? flow.m_lpDef->m_nTrigger : static_cast<int>(TRG_ALWAYS);
    const int g = flow.m_lpDef ? flow.m_lpDef->m_nFlowGroup : 0;
    if (g != 0 && chara) {
        SetGroupSwitch(chara->m_vGroupEnded, g);
        chara->m_bGroupEnded = 1;
    }
    // Older data keeps the latch until a key test of the flow fails.
    if (trigger != TRG_ALWAYS && !g_SystemData.m_bCompat875) flow.m_bKeyLatch = 0;
}

// The flow of the owner with the key, or null (no owner: the flow stays
// where it is).
cFlow* FindFlowByKey(cChara* owner, cFlow* flow, int32_t key) {
    if (!owner) return flow;
    for (cFlow& f : owner->m_vFlows)
        if (f.m_nKey == key) return &f;
    return nullptr;
}

// The chara whose flow vector holds the flow: the current chara first, then
// the players and the live charas; null for a flow outside them.
cChara* OwnerOf(const cFlow& flow, cScenePlay* scene) {
    const auto holds = [&](const cChara& c) {
        for (const cFlow& f : c.m_vFlows)
            if (&f == &flow) return true;
        return false;
    };
    if (scene->m_lpCurChara && holds(*scene->m_lpCurChara)) return scene->m_lpCurChara;
    for (cCharaPlayer& p : g_vPlayers)
        if (holds(p)) return &p;
    for (cCharaComputer& c : g_lstCharas)
        if (holds(c)) return &c;
    return nullptr;
}

// After a command the flow may have moved (flows added or removed before it)
// or gone; the scene's current flow follows it. Only the old addresses are
// compared, never read. The flow's place or null.
cFlow* Refind(cScenePlay* scene, cChara* owner, cFlow* flow, const int32_t* vars, int32_t key) {
    cFlow* now = FindFlowByKey(owner, flow, key);
    if (now == flow) return flow;
    if (scene->m_lpCurFlow == flow) scene->m_lpCurFlow = now;
    if (scene->m_lpCurFlowVars == vars) scene->m_lpCurFlowVars = now ? now->m_anVars : nullptr;
    return now;
}

// The instance as the current command, through its executor.
void ExecAsCurrent(cFlowCmd& cmd) {
    cScenePlay* scene = PlayScene();
    scene->m_lpCurFlowCmd = &cmd;
    if (cChara* chara = scene->m_lpCurChara) ExecCmd(*chara, cmd);
}

// One sub-step of the instance's time gone; 1 when it has finished.
int CountDownCmd(cFlowCmd& cmd) {
    cmd.m_nRemaining = WrapAdd(cmd.m_nRemaining, -1);
    if (cmd.m_nRemaining > 0) return 0;
    cmd.m_nRemaining = 0;
    return 1;
}

// The flow's place after its run, or null when a command removed it.
cFlow* RunStageStart(cFlow& start, cChara* owner, cScenePlay* scene) {
    cFlow* flow = &start;
    const int32_t key = flow->m_nKey;
    scene->m_lpCurFlow = flow;
    scene->m_lpCurFlowVars = flow->m_anVars;
    flow->m_bAbort = 0;
    const long long n = static_cast<long long>(flow->m_vCmds.size());
    for (flow->m_nPc = 0; flow->m_nPc < n; ++flow->m_nPc) {
        const long long pc = flow->m_nPc;
        cFlowCmd& cmd = flow->m_vCmds.at(pc);
        if (!cmd.m_lpDef) continue;  // a record the chara could not point (reported)
        const cEdFlowCmd& def = *cmd.m_lpDef;
        // Only the general commands that may share a frame run here.
        if (def.m_nKind < CMD_FLOW_CONTROL || !def.m_bSameFrame) continue;
        ResetFlowCmd(cmd);
        const int32_t* vars = flow->m_anVars;
        const cFlowCmd* ran = &cmd;
        ExecAsCurrent(cmd);
        // The command may have changed the owner's flow vector: no reference
        // into it is used again before the flow is found anew.
        flow = Refind(scene, owner, flow, vars, key);
        cFlowCmd* now = flow ? &flow->m_vCmds.at(pc) : nullptr;
        if (scene->m_lpCurFlowCmd == ran) scene->m_lpCurFlowCmd = now;
        if (!flow) return nullptr;
        if (!CountDownCmd(*now)) DebugErrorBoxf("%s", SJ("使用時間0なので、ここにくることはあり得ないはず！").c_str());
        if (flow->m_bAbort) break;
        now->m_bDone = 1;
    }
    return flow;
}

}  // namespace

int32_t& CmdParam(cEdFlowCmd& cmd, long long i) {
    std::vector<int32_t>& v = cmd.m_vecParam;
    if (i >= 0 && i < static_cast<long long>(v.size())) return v[static_cast<size_t>(i)];
    ReportBadIndex("V", i, static_cast<long long>(v.size()), sizeof(int32_t));
    if (!v.empty()) return v[0];
    static int32_t fallback;
    fallback = 0;
    return fallback;
}

int32_t CmdParam(const cEdFlowCmd& cmd, long long i) { return CmdParam(const_cast<cEdFlowCmd&>(cmd), i); }

cFlowVarsGuard::cFlowVarsGuard(cScenePlay* scene)
    : m_lpScene(scene), m_lpSaved(scene ? scene->m_lpCurFlowVars : nullptr) {}

cFlowVarsGuard::~cFlowVarsGuard() {
    if (m_lpScene) m_lpScene->m_lpCurFlowVars = m_lpSaved;
}

void ExecCmd(cChara& chara, cFlowCmd& cmd) {
    const int kind = TableKindOf(cmd, "ExecCmd");
    if (kind < 0) return;
    const CmdExecFn exec = CmdExecTable[kind];
    if (!exec) return;
    if (kind == CMD_GET_ITEM) {
        // The item's commands point the flow variables at a temporary item.
        const cFlowVarsGuard keep(PlayScene());
        exec(chara, cmd);
        return;
    }
    exec(chara, cmd);
}

void SetupFlowCmd(cFlowCmd& cmd, cChara& chara) {
    const int kind = TableKindOf(cmd, "SetupFlowCmd");
    if (kind < 0) return;
    if (const CmdSetupFn setup = CmdSetupTable[kind]) setup(cmd, chara);
}

void ResetFlowCmd(cFlowCmd& cmd) {
    cmd.m_nRemaining = cmd.m_nDuration;
    cmd.m_bDone = 0;
    cmd.m_nStep = 0;
    for (int32_t& w : cmd.m_anWork) w = 0;
    // The jump's launched flag is one of the work fields a start clears: a
    // jump command run again (the next press of a key flow, an enemy's next
    // jump) launches again.
    cmd.m_bLaunched = 0;
    if (!cmd.m_lpDef || cmd.m_lpDef->m_nKind == CMD_ARRANGE) return;
    cScenePlay* scene = PlayScene();
    cFlow* flow = scene->m_lpCurFlow;
    if (!flow) return;
    if (scene->m_lpCurChara) ApplyFlowArranges(const_cast<cEdFlowCmd&>(*cmd.m_lpDef), *scene->m_lpCurChara, flow);
    flow->m_lstArrange.clear();
}

int RunFlowCmd(cFlowCmd& cmd) {
    ExecAsCurrent(cmd);
    return CountDownCmd(cmd);
}

cFlow* StartFlow(cFlow& flow) {
    cScenePlay* scene = PlayScene();
    const cFlow& f = flow;
    const bool stageStart = !f.m_vCmds.empty() && f.m_lpDef && f.m_lpDef->m_nTrigger == TRG_STAGE_START;
    return StartFlow(flow, stageStart ? OwnerOf(flow, scene) : nullptr);
}

cFlow* StartFlow(cFlow& flow, cChara* owner) {
    cScenePlay* scene = PlayScene();
    cChara* chara = scene->m_lpCurChara;
    // The flow starts at its first command, every command undone.
    flow.m_bRunning = 1;
    flow.m_nPc = 0;
    flow.m_nFrames = 0;
    flow.m_bMessageChain = 0;
    for (cFlowCmd& cmd : flow.m_vCmds) cmd.m_bDone = 0;
    flow.m_bStartedThisFrame = 1;
    ++flow.m_nStartCount;
    // An always-flow of a group marks its group running and started.
    const int trigger = flow.m_lpDef ? flow.m_lpDef->m_nTrigger : static_cast<int>(TRG_ALWAYS);
    const int g = flow.m_lpDef ? flow.m_lpDef->m_nFlowGroup : 0;
    if (trigger == TRG_ALWAYS && g != 0 && chara) {
        SetGroupSwitch(chara->m_vGroupRunning, g);
        SetGroupSwitch(chara->m_vGroupStarted, g);
    }
    // Only a stage-start flow with commands runs at once.
    if (flow.m_vCmds.empty() || trigger != TRG_STAGE_START) return &flow;
    // Runs at once. The current flow and variables stay on this flow for
    // the rest of the caller's pass.
    cFlow* now = &flow;
    if (g_nStageStartDepth >= kStageStartNestingCap) {
        DebugLogf("StartFlow: stage-start flows nest deeper than %d; flow %d not run", kStageStartNestingCap,
                  flow.m_nIndex);
    } else {
        ++g_nStageStartDepth;
        now = RunStageStart(flow, owner, scene);
        --g_nStageStartDepth;
    }
    if (now) StopFlowOf(*now, chara);
    return now;
}

int StepFlow(cFlow& flow) {
    cScenePlay* scene = PlayScene();
    // This flow is the one running.
    scene->m_lpCurFlow = &flow;
    scene->m_lpCurFlowVars = flow.m_anVars;
    flow.m_bAbort = 0;
    const long long n = static_cast<long long>(flow.m_vCmds.size());
    // The program counter may grow during the pass.
    for (long long i = 0; i <= flow.m_nPc && i < n; ++i) {
        cFlowCmd& cmd = flow.m_vCmds[static_cast<size_t>(i)];
        if (cmd.m_bDone || !cmd.m_lpDef) continue;
        const cEdFlowCmd& def = *cmd.m_lpDef;
        const bool sameFrame = def.m_bSameFrame == 1;
        // A command starting afresh: a message chain breaks unless it waits for a button or runs in the same frame.
        if (cmd.m_nRemaining == 0) {
            ResetFlowCmd(cmd);
            if (!IsButtonWaitMessage(def) && !sameFrame) flow.m_bMessageChain = 0;
        }
        const uint32_t starts = flow.m_nStartCount;
        const int finished = RunFlowCmd(cmd);
        // The command restarted this flow: command 0 runs on the next sub-step.
        if (flow.m_nStartCount != starts) return 0;
        if (sameFrame) {
            // A same-frame command: the pass goes on to the next command.
            if (finished) {
                cmd.m_bDone = 1;
                if (i == n - 1) return 1;
            }
            if (i == flow.m_nPc) ++flow.m_nPc;
            if (flow.m_bAbort) return 0;
        } else if (finished) {
            // A finished command ends the pass; the next one runs in the next sub-step.
            cmd.m_bDone = 1;
            if (IsButtonWaitMessage(def)) flow.m_bMessageChain = 1;
            if (i == n - 1) return 1;
            ++flow.m_nPc;
            break;
        } else if (flow.m_bAbort) {
            return 0;
        }
    }
    // The flow ends with its last command; else its frame count goes on.
    if (n > 0 && flow.m_vCmds[static_cast<size_t>(n - 1)].m_bDone) return 1;
    flow.m_nFrames = WrapAdd(flow.m_nFrames, 1);
    return 0;
}

void StopFlow(cFlow& flow, cChara& chara) { StopFlowOf(flow, &chara); }

void PauseFlow(cFlow& flow) { flow.m_bPaused = 1; }

void ResumeFlow(cFlow& flow) { flow.m_bPaused = 0; }

void StopFlowForever(cFlow& flow, cChara& chara) {
    flow.m_bHalted = 1;
    if (!flow.m_bRunning) return;
    for (cFlowCmd& cmd : flow.m_vCmds) cmd.m_nRemaining = 0;
    const int g = flow.m_lpDef ? flow.m_lpDef->m_nFlowGroup : 0;
    if (g != 0) {
        SetGroupSwitch(chara.m_vGroupEnded, g);
        chara.m_bGroupEnded = 1;
    }
}

void InitAnimeRun(cAnimeRun& run, int anime, int mode, int value, int value2, int ownerKey) {
    run = cAnimeRun{};
    run.m_nAnime = run.m_nBaseAnime = anime;
    run.m_nMode = mode;
    run.m_nValue = value;
    run.m_nValue2 = value2;
    run.m_nOwnerKey = ownerKey;
}

void StartFlowAnimes(cChara& chara) {
    for (cFlow& flow : chara.m_vFlows) {
        if (!flow.m_bRunning || flow.m_bPaused) continue;
        for (const FlowAnimeEntry& e : flow.m_vAnimeSchedule) {
            if (e.nStart != flow.m_nFrames) continue;
            cAnimeRun& run = chara.m_lstAnimeRuns.emplace_back();
            InitAnimeRun(run, e.nAnime, 1, e.nFrames, e.nCmdTime, flow.m_nKey);
            // The run plays its own copy of the animation's steps.
            run.m_Player.m_vTracks.assign(1, g_vAnimeSteps.at(e.nAnime));
            run.m_Player.SetTrack(0, 1);
            for (int k = 0; k < e.nSkip; ++k) run.m_Player.AdvanceFrame();
            run.m_nFramesPlayed = e.nSkip;
            if (e.nCmdTime > 1 && e.bLoop) {
                // The first looping frame holds for the whole command time.
                for (AnimeStep& step : run.m_Player.m_vTracks[0]) {
                    if (step.nFrame < 0) break;
                    if (!step.bLock) continue;
                    step.nDuration = WrapAdd(step.nDuration, e.nCmdTime - 1);
                    break;
                }
            }
        }
    }
}

bool IsBottomAnchor(int anchor, int flying) { return anchor == 1 || (anchor == 2 && !flying); }

cChara* FindCharaById(int key) {
    for (cCharaPlayer& p : g_vPlayers)
        if (p.m_nKey == key) return &p;
    for (cCharaComputer& c : g_lstCharas)
        if (c.m_nKey == key && !c.m_bRemoved) return &c;
    return nullptr;
}
