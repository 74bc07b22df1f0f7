// The demo's stages: a field of 40 x 15 cells with a floor along the
// bottom, the hero (arrows walk, Z jumps, X fires a spread of three shots),
// walking enemies whose touch hurts, coins, a row of blocks that may appear
// by chance and then stay, and the goal that clears the stage.
#pragma once
#include "records/stage.h"

namespace demo {

// Stage number 0, 1, 2 (the placements shift a little from stage to stage).
cStage DemoStage(const char* name, int number);

}  // namespace demo
