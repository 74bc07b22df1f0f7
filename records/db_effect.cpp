#include "records/db_effect.h"

#include "records/db_effect_params.h"

// The record passes, compiled once here (see records/data_record.h).
template class cRecord<cDbCharaEffect>;
template class cRecord<cDbScrEffect>;

namespace {

// Parameters that files up to version 510 did not store: {kind, parameter}.
struct UnstoredParam {
    int nKind;
    int nParam;
};
constexpr UnstoredParam kCharaUnstored[] = {{4, 4}, {5, 4}, {10, 3}};  // wave and circle coarseness
constexpr UnstoredParam kScrUnstored[] = {{6, 4}, {7, 4}, {10, 3}};

template <size_t N>
void SetUnstoredDefaults(int32_t nKind, int32_t (&param)[5], const UnstoredParam (&unstored)[N],
                         const cCheckedVector<cParamInfo>& table) {
    for (const UnstoredParam& u : unstored) {
        if (nKind == u.nKind) param[u.nParam] = table.at(u.nKind * kEffectParamCount + u.nParam).nDefault;
    }
}

}  // namespace

void cDbCharaEffect::OnLoaded(const cLoadContext& ctx) {
    if (ctx.Below(511)) SetUnstoredDefaults(m_nKind, m_nParam, kCharaUnstored, CharaEffectParamTable());
}

void cDbScrEffect::OnLoaded(const cLoadContext& ctx) {
    if (ctx.Below(511)) SetUnstoredDefaults(m_nKind, m_nParam, kScrUnstored, ScrEffectParamTable());
}
