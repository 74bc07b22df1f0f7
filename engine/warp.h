// Command kind 20: the warp, which moves a chara at once by its movement
// part (from its own place, from a target's, or to coordinates) and is
// undone when the chara would leave the stage or end inside a solid. The
// status operation's position setters warp through it too.
#pragma once

class cChara;
class cEdFlowCmd;
class cFlowCmd;

// Warp bases of the movement part (its move mode).
enum WarpBase : int { WARP_FROM_SELF = 0, WARP_FROM_TARGET1 = 1, WARP_FROM_TARGET4 = 4, WARP_TO_COORDS = 5 };

// fromStatus: a position setter of the status operation asks. False when
// the warp was refused (no movement part, an empty target slot, outside the
// stage or inside a solid).
bool DoWarp(cChara& chara, const cEdFlowCmd& cmd, int fromStatus);
// DoWarp; with p0 set, 1 or 2 into the running flow's word 0.
void ExecWarp(cChara& chara, cFlowCmd& inst);
