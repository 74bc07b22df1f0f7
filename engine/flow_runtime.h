// Running a chara's flows: starting, stepping one sub-step, pausing and
// stopping them, running a command instance through the executor table, and
// the animations a flow schedules.
//
// While a chara's flows run, the play scene holds the current chara, flow,
// flow variables and command (cScenePlay::m_lpCur...); the executors read
// them. Time counts sub-steps: a command lasts max(duration, 1) sub-steps.
#pragma once
#include <cstdint>

class cAnimeRun;
class cChara;
class cEdFlowCmd;
class cFlow;
class cFlowCmd;
class cScenePlay;

// Starts the flow from its first command. A flow of the stage-start trigger
// runs its general same-frame commands at once and is stopped again. Those
// commands may add flows to the owner (the chara whose flow vector holds the
// flow) or remove some, so the flow is found again by its key after each
// one. The result is the flow's place afterwards, or null when a command
// removed it. Without an owner given, the live charas are searched for it.
cFlow* StartFlow(cFlow& flow, cChara* owner);
cFlow* StartFlow(cFlow& flow);
// One sub-step of a running flow; 1 when its last command has finished.
int StepFlow(cFlow& flow);
// Stops a running flow (nothing when it does not run).
void StopFlow(cFlow& flow, cChara& chara);
void PauseFlow(cFlow& flow);
void ResumeFlow(cFlow& flow);
// The flow is never started or stepped again.
void StopFlowForever(cFlow& flow, cChara& chara);
// Prepares an instance for a new run; the current flow's queued parameter
// changes go to it unless it is an arrange command itself.
void ResetFlowCmd(cFlowCmd& cmd);
// One sub-step of an instance; 1 when it has finished.
int RunFlowCmd(cFlowCmd& cmd);
// The kind's executor on the chara; a kind outside the table runs nothing.
void ExecCmd(cChara& chara, cFlowCmd& cmd);
// The kind's set-up routine on a new instance, when the kind has one.
void SetupFlowCmd(cFlowCmd& cmd, cChara& chara);
// The animations of the chara's running flows that are due at the flows'
// frame counts join the chara's animation runs.
void StartFlowAnimes(cChara& chara);
void InitAnimeRun(cAnimeRun& run, int anime, int mode, int value, int value2, int ownerKey);
// Anchor 1 is the bottom centre; anchor 2 is the bottom centre while
// walking and the centre while flying.
bool IsBottomAnchor(int anchor, int flying);
// The chara with the object key: the players first, then the live charas.
cChara* FindCharaById(int key);

// Parameter i of a command, checked: a bad index is reported like any bad
// vector index and gives element 0 (a fallback when there is none).
int32_t& CmdParam(cEdFlowCmd& cmd, long long i);
int32_t CmdParam(const cEdFlowCmd& cmd, long long i);

// Keeps the scene's current flow variables across a command that points
// them elsewhere for a while (the item-getting command runs a temporary
// item's commands with the item's variables).
class cFlowVarsGuard {
public:
    explicit cFlowVarsGuard(cScenePlay* scene);
    ~cFlowVarsGuard();
    cFlowVarsGuard(const cFlowVarsGuard&) = delete;
    cFlowVarsGuard& operator=(const cFlowVarsGuard&) = delete;

private:
    cScenePlay* m_lpScene;
    int32_t* m_lpSaved;
};

// Nested starts of stage-start flows run inline up to this depth; a deeper
// one is stopped without running its commands.
inline constexpr int kStageStartNestingCap = 1000;
