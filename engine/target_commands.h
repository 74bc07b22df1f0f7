// Command kinds 21 and 23 to 25, and their workers that the item commands
// share: pointing a target slot at a chara, switching a chara's status flags
// (or the automatic scrolling), removing charas and shots, and handing an
// item to the first player. Also the two live counts.
#pragma once
#include <cstdint>

class cChara;
class cEdFlowCmd;
class cFlowCmd;

// Nested vanishes and item gets stop at this depth.
inline constexpr int kCmdNestingCap = 1000;

void DoSetTarget(cChara& chara, const cEdFlowCmd& cmd);
void DoStatusOp2(cChara& chara, const cEdFlowCmd& cmd);
void DoVanish(cChara& chara, const cEdFlowCmd& cmd);
// Runs the commands of palette item (p0 0 common, 1 stage; p1 index) on
// the first player; their result becomes the stage-end request. Other
// palettes do nothing.
void DoGetItem(cChara& chara, const cEdFlowCmd& cmd);

// The chara's children (and theirs, down to the nesting cap) vanish;
// withShots: their own shots go first. executing: the chara running the
// command.
void VanishDescendants(cChara& chara, int depth, bool withShots, const cChara& executing);
// The shots the chara fired go (flagged instead while the hit pass runs).
void RemoveChildShots(cChara& chara);
// Charas whose appearance conditions hold, not vanishing, HP above 0.
int CountLiveCharas();
// Shots not finished.
int CountLiveShots();

void ExecSetTarget(cChara& chara, cFlowCmd& inst);
void ExecStatusOp2(cChara& chara, cFlowCmd& inst);
void ExecVanish(cChara& chara, cFlowCmd& inst);
void ExecGetItem(cChara& chara, cFlowCmd& inst);
