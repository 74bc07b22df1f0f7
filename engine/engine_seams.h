// Calls of the flow engine into parts that are not built yet, each named
// after the call it stands for. Tests may replace them; the part that builds
// the call deletes its seam and points the callers at the real function.
#pragma once
#include <cstdint>

class cChara;
class cCond;
class cEdFlowCmd;
class cFlow;

namespace seam {

// Stand-in until the status conditions land: a condition of the status kind
// (the stand-in: never holds).
using EvalStatusCondFn = int (*)(const cCond& cond, cChara& chara, int32_t* flowVars);
extern EvalStatusCondFn EvalStatusCond;

// Stand-in until parameter changes land: applies the flow's queued
// parameter changes to a command about to start (the stand-in changes
// nothing).
using ApplyFlowArrangesFn = void (*)(cEdFlowCmd& cmd, cChara& chara, cFlow* flow);
extern ApplyFlowArrangesFn ApplyFlowArranges;

// Stand-in until replay playback lands: whether a replay is being played
// back (the stand-in: no).
using IsReplayPlaybackFn = int (*)();
extern IsReplayPlaybackFn IsReplayPlayback;
// Stand-in until replay playback lands: the data version of the replay
// being played back (the stand-in: the current version).
using ReplayDataVersionFn = int (*)();
extern ReplayDataVersionFn ReplayDataVersion;

// Puts every seam above back to its stand-in.
void ResetEngineSeams();

}  // namespace seam
