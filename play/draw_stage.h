// The draw pass of the play scene: one frame of the stage into the back
// buffer (backgrounds, blocks, items, charas, shots, effects, pictures,
// message windows, the screen effect, the status bar, the time, the caption
// and the screen colour).
//
// Only the PLAY state's pass (full 1) is part of the play: its block
// conditions draw random numbers and set latch bytes, charas whose death
// display ended are removed and the hero's miss is resolved. Every other pass
// changes no play state: it draws from a generator of its own (on the game
// thread the scene's drawing generator, in a nested frame loop the loop
// thread's own), sets no latch byte, removes no chara and leaves every
// screen box as it was.
#pragma once
#include <string>
#include <vector>

#include "media/gfx/dd_state.h"

class cScenePlay;
class cCharaComputer;

void DrawStage(cScenePlay& scene, int full, int frozen, int timeSound, int caption);

void ScrollBackgrounds(cScenePlay& scene);
void DrawBackgrounds(cScenePlay& scene, int layer);
// full 0: the conditions leave the latch bytes as they were.
void DrawBlocks(cScenePlay& scene, int layer, int full);
int CountConditionBlocks(cScenePlay& scene);
// full 0: a hero whose death display ended waits for the next PLAY pass.
void DrawPlayer(cScenePlay& scene, int frozen, int full);
// 1 when a dead chara's death display has ended.
int DrawChara(cScenePlay& scene, cCharaComputer& chara, int frozen);
void DrawTime(cScenePlay& scene, int timeSound);
// The darkness around the hero's light: a mask of twice the screen plus the
// light radius on each side, with a round or square hole in its middle.
void BuildLightMask(cScenePlay& scene, DDSURFACEDATA& mask, DDSURFACEDATA& hole);

// A new stage's drawing generator (the stage set-up calls it).
void ResetDrawRandom(cScenePlay& scene);

// Notes a step of the pass to the installed play trace (play/play_trace.h).
void DrawTrace(const std::string& step);
// Whether a play trace is installed (callers build a step's name only then).
bool DrawTraced();
