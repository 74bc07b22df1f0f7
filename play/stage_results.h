// Where a cleared stage leads: the stage file names of the progress's next
// stage, and the stepping through the list of stage or replay files that
// the in-game menu and replay playback walk.
#pragma once
#include <string>
#include <vector>

#include "frontend/replay/replay_file_list.h"

// The shown name of the list entry made current last.
extern std::string g_strStageListName;

// Set when StepStageList made another list entry the stage to load; the
// next stage set-up of a replay playback reads that file and clears it.
extern int g_bLoadReplayRequest;

// Steps the list by step (useStep set) or by the replay playback order;
// without a step, or without a list, the stage starts again from its start
// snapshot. The entry found becomes the stage to load.
void StepStageList(int useStep, int step);
// The newest numbered file of the progress's next stage (stageNumber picks
// the variation): 1 when one exists. keepName leaves the unnumbered name in
// out when none does.
int MakeStageFileName(std::string& out, int stageNumber, int keepName);
// 1 when no file exists for the stage number (the game ends with this stage).
int IsLastStage(int stageNumber);
