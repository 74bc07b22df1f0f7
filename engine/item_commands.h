// The commands of an item, run one after the other in one frame for the
// chara that takes it: the 25-slot table of item command kinds, most of
// which forward to the chara commands' workers, and the flow change, which
// adds, replaces or deletes the chara's flows.
#pragma once
#include "records/cmd_kinds.h"

class cChara;
class cEdFlowCmd;

// 0 goes on with the item's next command; non-zero stops the list (1: the
// stage is cleared).
using ItemCmdFn = int (*)(cChara& chara, cEdFlowCmd& cmd);
extern ItemCmdFn ItemCmdExecTable[ITEM_CMD_KIND_COUNT];

// The command through the table; a kind outside it runs nothing (0).
int RunItemCommand(cChara& chara, cEdFlowCmd& cmd);

// p0 mode (0 add the nested flows, 1 replace the flows of the ID, 2 delete
// them), p1 the flow ID (its low byte; 0 all). Unless forced, a change made
// while the first player runs its flows is queued on the player and made at
// its next update. The result is not used.
int DoChangeFlow(cChara& chara, const cEdFlowCmd& cmd, int forced);
