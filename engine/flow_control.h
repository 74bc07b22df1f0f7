// Command kinds 16 and 17: starting, stopping, pausing, resuming and
// deleting flows of the chara or of a chara in its target slots, and
// ending the stage with the choice of the next one.
#pragma once

class cChara;
class cEdFlowCmd;
class cFlowCmd;

// Operations and scopes of the flow control.
enum FlowControlOp : int { FLOWOP_START = 0, FLOWOP_STOP, FLOWOP_PAUSE, FLOWOP_RESUME, FLOWOP_DELETE, FLOWOP_HALT };
enum FlowControlScope : int { FLOWSCOPE_THIS = 0, FLOWSCOPE_OTHERS, FLOWSCOPE_BY_ID };

void ExecFlowControl(cChara& chara, cFlowCmd& inst);

// Sets the progress's next stage, map position and start position as the
// command says; 1 (the stage is cleared).
int DoStageClear(cChara& chara, const cEdFlowCmd& cmd);
// DoStageClear, whose result becomes the play scene's stage-end request.
void ExecStageClear(cChara& chara, cFlowCmd& inst);
