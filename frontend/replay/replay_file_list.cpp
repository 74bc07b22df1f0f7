#include "frontend/replay/replay_file_list.h"

#include <algorithm>
#include <ctime>
#include <vector>

#include "base/files.h"
#include "frontend/data/option_data.h"
#include "platform/fs.h"

// g_ReplayFiles is built with the other global objects (frontend/data/globals.cpp).

namespace {

constexpr char kClearedMark[] = "_CLEAR_";

bool IsClearedReplay(const std::string& path) {
    std::string base = path;
    RemoveFileExtStr(base);
    const size_t n = sizeof kClearedMark - 1;
    return base.size() >= n && base.compare(base.size() - n, n, kClearedMark) == 0;
}

bool DateLess(const ReplayFileEntry& a, const ReplayFileEntry& b) {
    return a.m_nDate != b.m_nDate ? a.m_nDate < b.m_nDate : a.m_nTime < b.m_nTime;
}

bool NameLess(const ReplayFileEntry& a, const ReplayFileEntry& b) {
    return platform::WindowsNameLess(a.m_strFileName, b.m_strFileName);
}

}  // namespace

void FileTimeToLocalDateTime(uint64_t fileTime, int32_t& date, int32_t& time) {
    constexpr uint64_t kTicksPerSecond = 10000000;
    constexpr int64_t kUnixEpoch = 11644473600;  // seconds from 1601 to 1970
    const time_t t = static_cast<time_t>(static_cast<int64_t>(fileTime / kTicksPerSecond) - kUnixEpoch);
    std::tm tm{};
    if (!localtime_r(&t, &tm)) {
        date = time = 0;
        return;
    }
    date = (tm.tm_year + 1900) * 10000 + (tm.tm_mon + 1) * 100 + tm.tm_mday;
    time = tm.tm_hour * 10000 + tm.tm_min * 100 + tm.tm_sec;
}

int ReplaySortOrder() {
    const int order = g_ReplayData.m_nSortOrder;
    return order >= 0 && order <= 3 ? order : 0;
}

void BuildReplayList() {
    g_ReplayFiles.clear();
    std::vector<std::string> paths;
    if (!ListFiles(paths, g_PathTable.at(PATH_USER_RPL4), g_ExtTable.at(EXT_RPL4) + "*")) return;
    const bool clearedOnly = g_OptionData.m_nReplayOrder == 1;
    for (const std::string& path : paths) {
        if (clearedOnly && !IsClearedReplay(path)) continue;
        ReplayFileEntry e;
        e.m_strPath = path;
        e.m_strFileName = path;
        ExtractFileNameStr(e.m_strFileName);
        uint64_t written = 0;
        if (GetFileTimes(path, nullptr, nullptr, &written)) FileTimeToLocalDateTime(written, e.m_nDate, e.m_nTime);
        g_ReplayFiles.push_back(std::move(e));
    }
    switch (ReplaySortOrder()) {
        case 0: std::stable_sort(g_ReplayFiles.begin(), g_ReplayFiles.end(), DateLess); break;
        case 1:
            std::stable_sort(g_ReplayFiles.begin(), g_ReplayFiles.end(),
                             [](const ReplayFileEntry& a, const ReplayFileEntry& b) { return DateLess(b, a); });
            break;
        case 2: std::stable_sort(g_ReplayFiles.begin(), g_ReplayFiles.end(), NameLess); break;
        default:
            std::stable_sort(g_ReplayFiles.begin(), g_ReplayFiles.end(),
                             [](const ReplayFileEntry& a, const ReplayFileEntry& b) { return NameLess(b, a); });
            break;
    }
}
