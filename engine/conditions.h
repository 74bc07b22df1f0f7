// Conditions: lists of cCond with their mode (0 all, 1 any), the owners'
// lists with the once latch, each condition kind, the percentage shared
// with the status operations, and the pass that decides each sub-step
// which objects are active.
//
// Evaluation order is part of the replay: status conditions draw random
// numbers, so a list stops exactly where its mode says.
#pragma once
#include <cstdint>
#include <vector>

#include "engine/param_op.h"

class cChara;
class cCond;
class cFlow;
class cItem;
class cMapCell;
class cScenePlay;

// Mode 0: every condition holds (an empty list holds), stopping at the first
// that does not; mode 1: one holds (an empty list does not), stopping at the
// first that does; other modes never hold. chara may be null: the kinds that
// need one then do not hold.
bool EvalCondList(const std::vector<cCond>& conds, int mode, cChara* chara, int32_t* flowVars);
bool EvalCond(const cCond& cond, cChara* chara, int32_t* flowVars);

// The owners' lists: an empty list, or a latched list with its once byte
// set, holds without being evaluated; a list that holds sets the latch.
// Blocks latch per map cell and are evaluated for the first player, as are
// items; a chara's appearance conditions for itself; a flow's start
// conditions for the chara that owns it, with the flow's variables.
int CheckBlockConds(cScenePlay* scene, cMapCell& cell);
bool CheckCharaConds(cChara& chara);
bool CheckItemConds(cItem& item);
bool CheckFlowConds(cFlow& flow, cChara& chara);

bool EvalStatusCond2(cChara& chara, const cCond& cond);
bool EvalStatusCond3(cChara& chara, const cCond& cond);
bool EvalDistanceCond(cChara& chara, const cCond& cond);

// Once per sub-step before the charas update: the first player acts; the
// stage switches are cleared; each chara and item is active while its
// conditions hold; charas act when active and in range.
void UpdateActiveStates(cScenePlay& scene);
