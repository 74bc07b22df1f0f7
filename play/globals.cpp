// The play's global objects; their places in the program's order are listed
// in app/globals.h.
#include "base/checked_vector.h"
#include "base/global_order.h"
#include "play/chara_computer.h"
#include "play/chara_player.h"
#include "play/item.h"
#include "play/map_cell.h"
#include "play/stage_setup.h"

// 17
cCheckedVector<cCharaPlayer> g_vPlayers TOVARO_GLOBAL_PLACE(17, 1);
cCheckedVector<cMapCell> g_vMapCells TOVARO_GLOBAL_PLACE(17, 2);

// 18
cCheckedList<cCharaComputer> g_lstCharas TOVARO_GLOBAL_PLACE(18, 1);
cCheckedList<cItem> g_lstItems TOVARO_GLOBAL_PLACE(18, 2);

// 20
cEdChara g_HeroDef TOVARO_GLOBAL_PLACE(20, 1);
