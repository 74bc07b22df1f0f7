// A menu command entry: an enabled flag and a label (CP932). The title,
// world-map and options menus of the system data are lists of these.
#pragma once
#include <string>

#include "records/data_record.h"

class cCmd : public cRecord<cCmd> {
public:
    cCmd() = default;
    cCmd(int32_t enabled, std::string label) : m_nEnabled(enabled), m_strLabel(std::move(label)) {}

    int32_t m_nEnabled = 1;  // non-zero: the entry is shown
    std::string m_strLabel;  // the entry's label

    template <class F>
    void Fields(F& f) {
        f.Field("m_nEnabled", m_nEnabled);
        f.String("m_strLabel", m_strLabel);
    }
};
extern template class cRecord<cCmd>;
