// The commands that put things into the stage from a command's shot part:
// the shot (a volley on the first sub-step of every frame), the sword (one
// per run), and the block, chara and item summons (once per frame).
#pragma once

class cChara;
class cFlowCmd;

void ExecShot(cChara& chara, cFlowCmd& inst);
void ExecSword(cChara& chara, cFlowCmd& inst);
void ExecSummonBlock(cChara& chara, cFlowCmd& inst);
void ExecSummonChara(cChara& chara, cFlowCmd& inst);
void ExecSummonItem(cChara& chara, cFlowCmd& inst);
