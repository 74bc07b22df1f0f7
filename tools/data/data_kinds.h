// The kinds of data file the data tool (tovaro-data) and the file tests know:
// one entry per kind in data_kinds.cpp. To add a kind, add one line there.
#pragma once
#include <memory>
#include <string_view>
#include <vector>

#include "records/data_record.h"

struct cDataKind {
    const char* szName;     // short lower-case name used on the command line
    const char* szSummary;  // one line for --help
    // A fresh record of the kind, as the player makes it before loading.
    std::unique_ptr<cDataRecord> (*pfnMake)();
    // Files of this kind in a game folder (CP932, backslashes, '*' and '?'
    // allowed in the last component), or null when the kind is no file of a
    // game folder of its own. "check" loads every match.
    const char* szGameFiles = nullptr;
    // "check" reports a game folder without a match as a problem.
    bool bRequired = false;
    // Loading and saving differ from cDataRecord::LoadFile / SaveFile (null:
    // those are used).
    bool (*pfnLoad)(cDataRecord& rec, std::string_view cp932Path) = nullptr;
    bool (*pfnSave)(cDataRecord& rec, std::string_view cp932Path) = nullptr;
};

const std::vector<cDataKind>& DataKinds();
// The kind of that name, or null.
const cDataKind* FindDataKind(std::string_view name);

// Loads and saves through the kind's functions.
bool LoadDataKind(const cDataKind& kind, cDataRecord& rec, std::string_view cp932Path);
bool SaveDataKind(const cDataKind& kind, cDataRecord& rec, std::string_view cp932Path);
