// The records' global objects; their places in the program's order are
// listed in app/globals.h.
#include "base/checked_vector.h"
#include "base/global_order.h"
#include "records/common_palette.h"
#include "records/database.h"
#include "records/system_data.h"

// 14
cCommonPalette g_CommonPalette TOVARO_GLOBAL_PLACE(14, 1);
cSystemData g_SystemData TOVARO_GLOBAL_PLACE(14, 2);
cDatabase g_Database TOVARO_GLOBAL_PLACE(14, 3);

// 15
cCheckedVector<AnimeTrack> g_vAnimeSteps TOVARO_GLOBAL_PLACE(15, 1);
cCheckedVector<AnimeTrack> g_vEffectSteps TOVARO_GLOBAL_PLACE(15, 2);
