// The replay files of the replay folder as the replay list shows them and as
// the play scene steps through them during playback (next, previous, back to
// the list): every file whose extension begins with the replay extension,
// optionally only the cleared plays, sorted by date or name.
#pragma once
#include <cstdint>
#include <string>

#include "base/checked_vector.h"

// One listed replay: the folder and file name as listed, the file name, and
// its last-write date (year x 10000 + month x 100 + day) and time (hour x
// 10000 + minute x 100 + second) in local time; both 0 when the file's times
// cannot be read.
struct ReplayFileEntry {
    std::string m_strPath;
    std::string m_strFileName;
    int32_t m_nDate = 0;
    int32_t m_nTime = 0;
};

// The replays of the last listing; the current one is g_ReplayData's list
// position.
extern cCheckedVector<ReplayFileEntry> g_ReplayFiles;

// The replay data's sort order, an order outside 0..3 read as 0 (date
// ascending).
int ReplaySortOrder();

// Lists the replay folder into g_ReplayFiles: with the playback order option
// 1 only names whose base ends in "_CLEAR_", then sorted by the sort order (0
// date ascending, 1 date descending, 2 name ascending, 3 name descending);
// equal keys keep the folder's order.
void BuildReplayList();

// Windows file time (100 ns units since 1601-01-01 UTC) as the local
// calendar date and time of a ReplayFileEntry.
void FileTimeToLocalDateTime(uint64_t fileTime, int32_t& date, int32_t& time);
