#include "frontend/data/save_slots.h"

#include "base/files.h"
#include "base/log.h"
#include "frontend/data/player_settings.h"
#include "frontend/data/world_map.h"
#include "platform/fs.h"

// The record passes, compiled once here (see records/data_record.h).
template class cRecord<cSaveSlotInfo>;

// g_SaveSlots is built with the other global objects (frontend/data/globals.cpp).

void StorySlotFileName(std::string& out, int n) {
    out = Format("%s%s.dat", g_PathTable.at(PATH_STORY_FILE).c_str(), Format("%02d", n + 1).c_str());
}

void SetSlotInfo(cSaveSlotInfo& info, const cGameProgress& progress) {
    info.m_bUsed = 1;
    info.m_stTime = progress.m_stSaveTime;
}

cCheckedVector<cSaveSlotInfo> MakeSlotInfoList(int n) {
    return cCheckedVector<cSaveSlotInfo>(static_cast<size_t>(n > 0 ? n : 0));
}

void ScanStorySlots(cCheckedVector<cSaveSlotInfo>& list) {
    for (long long i = 0; i < static_cast<long long>(list.size()); ++i) {
        std::string name;
        StorySlotFileName(name, static_cast<int>(i));
        cDataFileIn in;
        if (!in.Open(name)) {
            list.at(i).m_bUsed = 0;
            continue;
        }
        // A damaged body still marks the slot as used; what was read of the
        // save time is shown.
        cGameProgress temp;
        temp.Load(in.Reader(), in.Context());
        SetSlotInfo(list.at(i), temp);
    }
}

void cGameProgress::FixLives(int32_t bUnlimited, int32_t nModeLives) {
    if (bUnlimited) {
        m_nStartLives = m_nLives = kUnlimitedLives;
    } else if (m_nLives == kUnlimitedLives) {
        m_nLives = nModeLives;
    }
}

bool cGameProgress::SaveStorySlot(int n) {
    // A slot number from a damaged file names no slot of the list.
    if (n < 0 || n >= kStorySlotCount) return false;
    RecalcBestTotal(g_WorldMap);
    m_stSaveTime = LocalSaveTime();
    std::string name;
    StorySlotFileName(name, n);
    if (!SaveFile(name)) {
        ReportLogf("%s", LastDataFileError().c_str());
        return false;
    }
    SetSlotInfo(g_SaveSlots.at(n), *this);
    return true;
}

int cGameProgress::LoadStorySlot(int n) {
    std::string name;
    StorySlotFileName(name, n);
    if (!LoadFile(name)) {
        ReportLogf("%s", LastDataFileError().c_str());
        return 0;
    }
    FixLives(g_PlayerDataSettings.abInfiniteLives[0], g_PlayerDataSettings.anStartLives[0]);
    return 1;
}

int cGameProgress::LoadChallenge() {
    // A damaged file is read as far as it goes; it is kept aside before the
    // first save over it.
    const FileRead read = LoadFileAsFarAsItGoes(g_PathTable.at(PATH_CHALLENGE_FILE));
    if (read != FileRead::Whole && platform::PathExists(g_PathTable.at(PATH_CHALLENGE_FILE)))
        ReportLogf("%s", LastDataFileError().c_str());
    if (read == FileRead::NotRead) return 0;
    FixLives(g_PlayerDataSettings.abInfiniteLives[1], g_PlayerDataSettings.anStartLives[1]);
    return 1;
}

bool cGameProgress::SaveChallenge() {
    if (SaveFile(g_PathTable.at(PATH_CHALLENGE_FILE))) return true;
    ReportLogf("%s", LastDataFileError().c_str());
    return false;
}
