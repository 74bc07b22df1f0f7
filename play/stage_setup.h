// Stage set-up helpers: where a stage cell lies among the map cells, the
// sub-steps in which shots hit, and the music decision of a set-up. The
// set-up itself and the creation operations are members of cScenePlay.
#pragma once
#include <cstdint>
#include <vector>

#include "records/ed_chara.h"

// The hero's placed definition as the stage loader read it; a retry puts
// it back over the stage's placement (unless the game keeps the changed one).
extern cEdChara g_HeroDef;

// The stride shift of a map `width` cells wide: the binary digits of
// width + 19, so that a row of 1 << shift cells holds the 10-cell borders.
int MapCellShift(int width);
// Map cell of stage cell (x, y): (x + 10) + ((y + 10) << shift).
long long StageCellToMapCell(int x, int y, int shift);
// Per sub-step of a frame, 1 when shots hit in it: every sub-step for a
// hit-check count of 0 (or one of subSteps or more); otherwise the sub-steps
// floor(i * subSteps / hitChecks) and, when fewer than hitChecks came out,
// the last one too; a negative count selects the first sub-step only.
std::vector<int32_t> BuildSubStepSchedule(int subSteps, int hitChecks);
// 1 when the set-up requests the stage's music: always in replay playback;
// for a new stage unless the keep switch holds a playing entry other than 0;
// for a retry only when the entry differs from the playing one.
int ChooseStageBgm(int playback, int newStage, int keep, int entry, int playing);

// Starts a stage file as a single stage: a new progress, the stage loaded
// (flag: pick its newest numbered version), lives of free play and the
// stage's base name. 0 when the stage cannot be started (a path longer than
// 259 bytes is refused with an error box).
bool StartStageFile(const std::string& path, int flag);
