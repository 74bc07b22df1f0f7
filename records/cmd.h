// A menu command entry: an enabled flag and a label (CP932). The title,
// world-map and options menus of the system data are lists of these.
#pragma once
#include <string>

class cCmd {
public:
    cCmd() = default;
    cCmd(int enabled, std::string label) : m_nEnabled(enabled), m_strLabel(std::move(label)) {}

    int m_nEnabled = 1;      // non-zero: the entry is shown
    std::string m_strLabel;  // the entry's label
};
