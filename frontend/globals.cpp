// The front end's global objects; their places in the program's order are
// listed in app/globals.h.
#include "base/checked_vector.h"
#include "base/global_order.h"
#include "frontend/scenes/scene_stage_list.h"

// 10
cCheckedVector<StageFileEntry> g_StageFiles TOVARO_GLOBAL_PLACE(10, 14);
