// The demo's stages: a field of 40 x 15 cells with a floor along the
// bottom, the hero (arrows walk, Z jumps, X fires a spread of three shots),
// walking enemies whose touch hurts, coins, a row of blocks that may appear
// by chance and then stay, and the goal that clears the stage.
#pragma once
#include "records/stage.h"

namespace demo {

// The hero's shot in every stage: three shots forward, each turned by
// chance within 12 degrees.
cEdFlowCmd SpreadShot();

// Stage number 0, 1, 2 (the placements shift a little from stage to stage).
cStage DemoStage(const char* name, int number);

// The longer stages (tools/mkdemo/stages_more.cpp), with English texts when
// `english` is set: Harbour (foot blocks, a raft to ride, a crate to push,
// a time limit, an extra life), Theatre (messages, a poster, every chara and
// screen effect, a tint, the light, both kinds of music) and Fortress
// (turrets firing every trajectory and formation, flyers, a sword, summons,
// and a boss with an HP gauge and two phases).
cStage HarbourStage(bool english);
cStage TheatreStage(bool english);
cStage FortressStage(bool english);

}  // namespace demo
