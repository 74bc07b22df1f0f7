// The status vocabulary of a chara and of the game (CharaStatus and
// SystemValue, records/cmd_kinds.h) with its two full users: the status
// condition, which compares a left-hand value with an operand, and the
// status operation (command kind 22, item kind 7), which applies a value
// operator to a target. Also the coordinate readers and writers of a chara
// that the formula evaluator shares.
#pragma once
#include <cstdint>

#include "records/cmd_kinds.h"

class cChara;
class cCond;
class cEdFlowCmd;

// Subjects of statuses: the chara itself, its target slots 1..4, the game.
enum StatusSubject : int { SUBJ_SELF = 0, SUBJ_TARGET1, SUBJ_TARGET2, SUBJ_TARGET3, SUBJ_TARGET4, SUBJ_SYSTEM };
// Where an operand comes from.
enum OperandSource : int { SRC_CONST = 0, SRC_RANDOM, SRC_STATUS, SRC_VARIABLE, SRC_FLOWVAR };
// Coordinates relative to the chara that asks, on the stage, on the screen.
enum CoordMode : int { COORD_REL = 0, COORD_ABS, COORD_SCR };

// The chara of a subject: itself, or the chara in target slot 1..4; null
// for an empty slot, the system and a subject outside 0..5.
cChara* SubjectChara(cChara& self, int subject);
// A player chara (the only kind that has a sight).
bool IsPlayerChara(const cChara& c);
// The lives as conditions and formulas read them: unlimited lives read 100,
// or 0 where old data asks for it.
int32_t LivesAsOperand();

// A chara's X or Y in a coordinate mode (ref: what COORD_REL is measured
// from). False for a null chara or a COORD_REL without ref; out unchanged
// for a mode outside 0..2.
bool GetCharaX(int32_t& out, const cChara* chara, int mode, const cChara* ref);
bool GetCharaY(int32_t& out, const cChara* chara, int mode, int anchor, const cChara* ref);
// Moves the chara there through a warp; false when the warp is refused.
bool SetCharaX(int32_t value, cChara& chara, int mode);
bool SetCharaY(int32_t value, cChara& chara, int mode, int anchor);

// Condition kind 4 for the chara; flowVars: the two variables of the flow
// being tested, or null.
bool EvalStatusCond(cCond& cond, cChara& chara, int32_t* flowVars);
// The left-hand flow variable of a status condition against the operand.
bool TestStatusCondValue(const cCond& cond, int32_t value, int32_t operand);

// The status operation of the command for the chara; flowVars: the running
// flow's variables, or null.
void DoStatusOp(cChara& chara, const cEdFlowCmd& cmd, int32_t* flowVars);
// With reporting on (parameter 24): 2 and 0 into the running flow's variables.
void ReportStatusOpFailure(const cEdFlowCmd& cmd);
