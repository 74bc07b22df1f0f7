// What a piece of the play step reports to the step that runs it: play goes
// on, the stage is cleared, or the hero is missed. The numbers are those the
// scene's stage-end request holds (and the state hashes read).
#pragma once
#include <cstdint>

enum class PlayResult : int32_t {
    Continue = 0,
    StageClear = 1,
    Miss = 2,
};

// The number of a result, for the fields that store one (the scene's
// stage-end request) and the item commands' int results; every number keeps
// its value both ways.
constexpr int32_t AsNumber(PlayResult r) { return static_cast<int32_t>(r); }
constexpr PlayResult AsPlayResult(int32_t n) { return static_cast<PlayResult>(n); }
