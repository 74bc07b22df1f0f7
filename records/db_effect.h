// Chara-effect and screen-effect records of the database: a kind and five
// parameters whose meaning per kind is given by the parameter tables
// (records/db_effect_params.h). Both classes have the same members and file
// layout; they differ in their kind numbers and in the upgrade of old files.
#pragma once
#include <cstdint>
#include <string>

#include "records/data_record.h"

namespace db_detail {
template <class R, class F>
void EffectDefFields(R& rec, F& f) {
    f.String("m_strName", rec.m_strName);
    f.Field("m_nKind", rec.m_nKind);
    f.Field("m_nParam", rec.m_nParam);
}
}  // namespace db_detail

class cDbCharaEffect : public cRecord<cDbCharaEffect> {
public:
    std::string m_strName;
    int32_t m_nKind = 1;         // 0 (none) to 16
    int32_t m_nParam[5] = {};    // one field of five values

    template <class F>
    void Fields(F& f) {
        db_detail::EffectDefFields(*this, f);
    }
    // Files up to 510 lacked some parameters; they get their table default.
    void OnLoaded(const cLoadContext& ctx);
};
extern template class cRecord<cDbCharaEffect>;

class cDbScrEffect : public cRecord<cDbScrEffect> {
public:
    std::string m_strName;
    int32_t m_nKind = 1;         // 0 (none) to 13
    int32_t m_nParam[5] = {};

    template <class F>
    void Fields(F& f) {
        db_detail::EffectDefFields(*this, f);
    }
    void OnLoaded(const cLoadContext& ctx);
};
extern template class cRecord<cDbScrEffect>;
