// Calls of the presentation commands and the message window into the play
// scene's nested frame loops, which are not built yet, each named after the
// call or member it stands for. Tests may replace them.
#pragma once
#include <cstdint>
#include <vector>

#include "play/message_window.h"

class cScenePlay;

namespace seam {

// The play scene's wait record, filled before every nested frame loop.
struct WaitRecord {
    int32_t nKind = 0;  // 0 game wait, 1 message, 2 effect, 3 picture, 4 extra-life message
    int32_t nDelay = 0;
    int32_t bWaitButton = 0;
    int32_t nTimeout = 0;
    int32_t nReserved = 0;
    std::vector<MessageChoice> vChoices;
    int32_t nChoiceCount = 0;
    int32_t nChoice = 0;
};

// Stand-in until the play scene's nested frame loops land: the scene's wait
// record m_Wait (the stand-in keeps one record of its own).
using WaitOfFn = WaitRecord& (*)(cScenePlay& scene);
extern WaitOfFn m_Wait;
// Stand-in until the play scene's nested frame loops land: whether the
// scene is closing, m_bClosing (the stand-in: never).
using ClosingOfFn = int (*)(const cScenePlay& scene);
extern ClosingOfFn m_bClosing;
// Stand-in until the play scene's nested frame loops land: fills the live
// scene's wait record (the stand-in as the loop's owner describes it).
using InitDisplayRequestFn = void (*)(int kind, int waitButton, int timeout, int noDelay,
                                      const std::vector<MessageChoice>* choices);
extern InitDisplayRequestFn InitDisplayRequest;
// Stand-in until the play scene's nested frame loops land: runs the nested
// frame loop of the filled wait record (the stand-in returns at once).
using RunPauseLoopFn = void (*)();
extern RunPauseLoopFn RunPauseLoop;

// Puts every seam above back to its stand-in.
void ResetPresentationSeams();

}  // namespace seam
