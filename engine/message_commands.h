// Command kinds 18 and 19: the game wait and the message. Both stop the game
// while a nested frame loop runs on thPause; a message may also stay on
// screen by itself, be found again by its ID to be replaced or closed, and
// offer choices whose chosen row goes into the replay.
#pragma once

class cChara;
class cEdFlowCmd;
class cFlowCmd;

// Stops the game for p0 tenths of a second behind a window without text.
void DoGameWait(cChara& chara, const cEdFlowCmd& cmd);
// chain: the message continues a chain of button-wait messages (no sound,
// no start delay).
void DoMessage(cChara& chara, const cEdFlowCmd& cmd, int chain);

void ExecGameWait(cChara& chara, cFlowCmd& inst);
// DoMessage with the current flow's chain flag.
void ExecMessage(cChara& chara, cFlowCmd& inst);
