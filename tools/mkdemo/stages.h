// The demo's stages. The first three are walks of some 180 x 15 cells to a
// chest at the far end that clears the stage: the hero (arrows walk, Z
// jumps, X fires a spread of three shots) climbs steps and jumps pits whose
// bottom takes a life, past enemies whose touch hurts and whom the shots
// defeat, coins, and blocks that may appear by chance and then stay.
#pragma once
#include "records/stage.h"

namespace demo {

// The hero's shot in every stage: three shots forward, each turned by
// chance within 12 degrees.
cEdFlowCmd SpreadShot();

// Meadow (grass, ponds and green walkers), Caves (stone under a rocky roof,
// water, crawlers and bats that go for the hero inside areas drawn on the
// screen, drips, crystals that change the hero's flows, an exit to the next
// stage) and Castle (brick, the moat, knights who take two shots, bats,
// archers loosing harmless volleys of every formation, and ghosts that circle
// and follow the hero).
cStage MeadowStage();
cStage CavesStage();
cStage CastleStage();

// The longer stages (tools/mkdemo/stages_more.cpp), with English texts when
// `english` is set: Harbour (foot blocks, cargo and a ferry that are solid
// charas to bump, ride and push, wings, a time limit, an extra life),
// Theatre (messages and choices, posters, sparks, every chara and screen
// effect, tints, backdrops, the light, a time limit, both kinds of music) and
// Fortress
// (turrets firing every trajectory and formation, flyers, a sword, summons,
// and a boss with an HP gauge and two phases).
cStage HarbourStage(bool english);
cStage TheatreStage(bool english);
cStage FortressStage(bool english);

}  // namespace demo
