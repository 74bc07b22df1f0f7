// Story save slots (user_data\story\Story01.dat .. Story99.dat) and the
// challenge file (user_data\challenge\Challenge.dat): plain record files
// holding a game progress. The slot list keeps a summary of each slot for
// the title and the map menu.
#pragma once
#include <string>

#include "base/checked_vector.h"
#include "frontend/data/game_progress.h"
#include "records/data_record.h"

inline constexpr int kStorySlotCount = 99;

// Summary of one slot; never written to a file.
class cSaveSlotInfo : public cRecord<cSaveSlotInfo> {
public:
    int32_t m_bUsed = 0;  // the slot's file exists and was read
    SaveTime m_stTime = {};

    template <class F>
    void Fields(F& f) {
        f.Field("m_bUsed", m_bUsed);
    }
};
extern template class cRecord<cSaveSlotInfo>;

extern cCheckedVector<cSaveSlotInfo> g_SaveSlots;

// The file of slot n (0 based): ...\Story01.dat for slot 0.
void StorySlotFileName(std::string& out, int n);
void SetSlotInfo(cSaveSlotInfo& info, const cGameProgress& progress);
cCheckedVector<cSaveSlotInfo> MakeSlotInfoList(int n);
// Refreshes every entry from the slot files: a file that cannot be opened
// (missing or newer than this program) is not used; one that opens counts
// as used with whatever save time could be read.
void ScanStorySlots(cCheckedVector<cSaveSlotInfo>& list);
