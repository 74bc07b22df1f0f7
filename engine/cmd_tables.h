// The two tables every chara command kind plugs into, indexed by the
// command's kind (CharaCmdKind): the executor that runs one sub-step of a
// command instance, and the set-up routine run once on each new instance.
// An empty (null) slot does nothing.
#pragma once
#include "records/cmd_kinds.h"

class cChara;
class cFlowCmd;

using CmdExecFn = void (*)(cChara& chara, cFlowCmd& cmd);
using CmdSetupFn = void (*)(cFlowCmd& cmd, cChara& chara);

extern CmdExecFn CmdExecTable[CHARA_CMD_KIND_COUNT];
extern CmdSetupFn CmdSetupTable[CHARA_CMD_KIND_COUNT];

// The executor of the kinds that only last their time (none, wait, and the
// loop, which is expanded before a flow runs).
void ExecNothing(cChara& chara, cFlowCmd& cmd);
