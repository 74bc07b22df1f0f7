// Parameter changes ("アレンジ"): an arrange record names a parameter of
// the next command of a kind, an operator and a variable; just before that
// command runs, the records queued for it change the command definition
// itself, within the limits of the descriptor table.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "base/checked_vector.h"
#include "engine/flow.h"

class cChara;
class cCharaPlayer;
class cEdFlowCmd;

// One changeable parameter of a command kind: its label (CP932) and range.
struct cArrangeParam {
    std::string strLabel;
    int32_t nMin = 0;
    int32_t nMax = 0;
};

inline constexpr int kArrangeKinds = 40;

// Indexed by chara command kind (an item command of item kind k is kind
// k + 15); built once at start-up.
extern cCheckedVector<cCheckedVector<cArrangeParam>> ArrangeParamTable;
void BuildArrangeParamTable();
void DestroyArrangeParamTable();
// Checked access to a kind's list and to one descriptor of a list.
cCheckedVector<cArrangeParam>& ArrangeParamKindAt(long long kind);
cArrangeParam& ArrangeParamAt(cCheckedVector<cArrangeParam>& list, long long index);
cArrangeParam SetArrangeParam(const char* utf8Label, int32_t min, int32_t max);

// Reads / writes parameter `index` of the command. False when the command
// lacks the part the row lives in; an index outside the kind's rows reads
// and writes nothing.
using ArrangeGetFn = bool (*)(int32_t& out, int index, cEdFlowCmd& cmd);
using ArrangeSetFn = bool (*)(int32_t value, int index, cEdFlowCmd& cmd);
extern const std::array<ArrangeGetFn, kArrangeKinds> ArrangeGetTable;  // null: the kind cannot be changed
extern const std::array<ArrangeSetFn, kArrangeKinds> ArrangeSetTable;

// The getters and setters, one pair per group of rows.
bool ArrangeGetNothing(int32_t& out, int index, cEdFlowCmd& cmd);
bool ArrangeSetNothing(int32_t value, int index, cEdFlowCmd& cmd);
bool ArrangeGetMoveStraight(int32_t& out, int index, cEdFlowCmd& cmd);
bool ArrangeSetMoveStraight(int32_t value, int index, cEdFlowCmd& cmd);
bool ArrangeGetMoveCharge(int32_t& out, int index, cEdFlowCmd& cmd);
bool ArrangeSetMoveCharge(int32_t value, int index, cEdFlowCmd& cmd);
bool ArrangeGetMoveHoming(int32_t& out, int index, cEdFlowCmd& cmd);
bool ArrangeSetMoveHoming(int32_t value, int index, cEdFlowCmd& cmd);
bool ArrangeGetSound(int32_t& out, int index, cEdFlowCmd& cmd);
bool ArrangeSetSound(int32_t value, int index, cEdFlowCmd& cmd);
bool ArrangeGetShot(int32_t& out, int index, cEdFlowCmd& cmd);
bool ArrangeSetShot(int32_t value, int index, cEdFlowCmd& cmd);
bool ArrangeGetSword(int32_t& out, int index, cEdFlowCmd& cmd);
bool ArrangeSetSword(int32_t value, int index, cEdFlowCmd& cmd);
bool ArrangeGetSummonBlock(int32_t& out, int index, cEdFlowCmd& cmd);
bool ArrangeSetSummonBlock(int32_t value, int index, cEdFlowCmd& cmd);
bool ArrangeGetSummonChara(int32_t& out, int index, cEdFlowCmd& cmd);
bool ArrangeSetSummonChara(int32_t value, int index, cEdFlowCmd& cmd);
bool ArrangeGetSummonItem(int32_t& out, int index, cEdFlowCmd& cmd);
bool ArrangeSetSummonItem(int32_t value, int index, cEdFlowCmd& cmd);
bool ArrangeGetStageClear(int32_t& out, int index, cEdFlowCmd& cmd);
bool ArrangeSetStageClear(int32_t value, int index, cEdFlowCmd& cmd);
bool ArrangeGetMessage(int32_t& out, int index, cEdFlowCmd& cmd);
bool ArrangeSetMessage(int32_t value, int index, cEdFlowCmd& cmd);
bool ArrangeGetWarp(int32_t& out, int index, cEdFlowCmd& cmd);
bool ArrangeSetWarp(int32_t value, int index, cEdFlowCmd& cmd);
bool ArrangeGetSetTarget(int32_t& out, int index, cEdFlowCmd& cmd);
bool ArrangeSetSetTarget(int32_t value, int index, cEdFlowCmd& cmd);
bool ArrangeGetStatusOp(int32_t& out, int index, cEdFlowCmd& cmd);
bool ArrangeSetStatusOp(int32_t value, int index, cEdFlowCmd& cmd);
bool ArrangeGetParam1(int32_t& out, int index, cEdFlowCmd& cmd);
bool ArrangeSetParam1(int32_t value, int index, cEdFlowCmd& cmd);
bool ArrangeGetChangeGraphic(int32_t& out, int index, cEdFlowCmd& cmd);
bool ArrangeSetChangeGraphic(int32_t value, int index, cEdFlowCmd& cmd);
bool ArrangeGetRunEffect(int32_t& out, int index, cEdFlowCmd& cmd);
bool ArrangeSetRunEffect(int32_t value, int index, cEdFlowCmd& cmd);
bool ArrangeGetShowPicture(int32_t& out, int index, cEdFlowCmd& cmd);
bool ArrangeSetShowPicture(int32_t value, int index, cEdFlowCmd& cmd);
bool ArrangeGetScreenColor(int32_t& out, int index, cEdFlowCmd& cmd);
bool ArrangeSetScreenColor(int32_t value, int index, cEdFlowCmd& cmd);
bool ArrangeGetParam0(int32_t& out, int index, cEdFlowCmd& cmd);
bool ArrangeSetParam0(int32_t value, int index, cEdFlowCmd& cmd);

// Applies one record to the command about to run for the chara; a record
// for another kind, or one that fails a check, changes nothing.
void ApplyArrange(cEdFlowCmd& cmd, const cArrange& rec, cChara& chara);
// Every record of the flow's list (nothing for a null flow), in order.
void ApplyFlowArranges(cEdFlowCmd& cmd, cChara& chara, cFlow* flow);
// Every record of the player's list, in order (its item commands).
void ApplyCharaArranges(cEdFlowCmd& cmd, cCharaPlayer& chara);
