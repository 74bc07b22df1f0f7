// The command workers of the status operation, the formula and the
// parameter change, as the command tables call them.
#pragma once
#include <cstdint>

class cChara;
class cEdFlowCmd;
class cFlowCmd;

// Kind 22: the status operation of the running instance with the running
// flow's variables.
void ExecStatusOp(cChara& chara, cFlowCmd& inst);
// "コードの実行": the command's code text for the chara; 1, or 0 after an
// error.
int DoRunCode(cChara& chara, const cEdFlowCmd& cmd);
// "アレンジ": queues the command's five parameters as an arrange record: an
// item command on the first player's list, a chara command on the current
// flow's list (nothing without a current flow).
void DoArrange(cChara& chara, const cEdFlowCmd& cmd);

// Kinds 37 and 38 as the command table calls them: the running instance's
// code, and its parameter change queued.
void ExecRunCode(cChara& chara, cFlowCmd& inst);
void ExecArrange(cChara& chara, cFlowCmd& inst);
