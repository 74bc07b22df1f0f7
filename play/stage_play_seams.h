// Test hooks of the play step and the play scene: each defaults to the real
// function it is named after, and a test may point it elsewhere to trace
// the call.
#pragma once
#include <cstdint>

class cChara;
class cShot;

namespace seam {

// The automatic replay save (1 when a file was written), one frame of input
// recorded or played back (1: the streams are exhausted).
using AutoSaveReplayFn = int (*)();
extern AutoSaveReplayFn AutoSaveReplay;
using RecordReplayFrameFn = void (*)(const int16_t words[2]);
extern RecordReplayFrameFn RecordReplayFrame;
using PlayReplayFrameFn = int (*)(int16_t words[2]);
extern PlayReplayFrameFn PlayReplayFrame;

// Clears the chara's once-per-frame flow flags.
using ResetFlowOnceFlagsFn = void (*)(cChara& chara);
extern ResetFlowOnceFlagsFn ResetFlowOnceFlags;

// The shot's trajectory step (1: finished).
using StepShotFn = int (*)(cShot& shot);
extern StepShotFn StepShot;

// Puts every hook above back to its real function.
void ResetStagePlaySeams();

}  // namespace seam
