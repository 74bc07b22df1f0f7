// The saved data's global objects; their places in the program's order are
// listed in app/globals.h.
#include "base/checked_vector.h"
#include "base/global_order.h"
#include "frontend/data/game_progress.h"
#include "frontend/data/option_data.h"
#include "frontend/data/ranking.h"
#include "frontend/data/save_slots.h"
#include "frontend/data/world_map.h"
#include "frontend/replay/replay.h"
#include "frontend/replay/replay_file_list.h"

// 10
cCheckedVector<ReplayFileEntry> g_ReplayFiles TOVARO_GLOBAL_PLACE(10, 15);

// 16
cReplay g_Replay TOVARO_GLOBAL_PLACE(16, 1);
cReplay g_ReplayPrev TOVARO_GLOBAL_PLACE(16, 2);

// 21
cWorldMap g_WorldMap TOVARO_GLOBAL_PLACE(21, 1);

// 22
cGameProgress g_Progress TOVARO_GLOBAL_PLACE(22, 1);
cGameProgress g_ProgressAtStart TOVARO_GLOBAL_PLACE(22, 2);
cGameProgress g_ProgressPrevStart TOVARO_GLOBAL_PLACE(22, 3);

// 23
cFreeData g_FreeData TOVARO_GLOBAL_PLACE(23, 1);
cReplayData g_ReplayData TOVARO_GLOBAL_PLACE(23, 2);
cOptionData g_OptionData TOVARO_GLOBAL_PLACE(23, 3);

// 24
cCheckedVector<cSaveSlotInfo> g_SaveSlots TOVARO_GLOBAL_PLACE(24, 1) = MakeSlotInfoList(kStorySlotCount);

// 25
cRanking g_Ranking TOVARO_GLOBAL_PLACE(25, 1);
