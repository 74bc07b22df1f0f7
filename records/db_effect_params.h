// The parameter tables of chara effects and screen effects: for every kind
// five entries (label, minimum, maximum, default), indexed kind x 5 +
// parameter. An unused parameter has an empty label and 0, 0, 0. Parameter
// 0 is always the duration in tenths of a second.
//
// These tables are the one source of the effect-parameter defaults: the
// upgrade of old effect records and the effects at run time both read them.
#pragma once
#include "base/checked_vector.h"
#include "records/ed_shot.h"  // cParamInfo

inline constexpr int kCharaEffectKindCount = 17;  // kinds 0 (none) to 16
inline constexpr int kScrEffectKindCount = 14;    // kinds 0 (none) to 13
inline constexpr int kEffectParamCount = 5;

// kCharaEffectKindCount x kEffectParamCount entries.
const cCheckedVector<cParamInfo>& CharaEffectParamTable();
// kScrEffectKindCount x kEffectParamCount entries.
const cCheckedVector<cParamInfo>& ScrEffectParamTable();
