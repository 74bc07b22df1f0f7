// The user's option files under user_data\: Option.dat (the options),
// Free.dat (the place in the stage list) and Replay.dat (the place and
// sort order of the replay list).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/checked_vector.h"
#include "records/data_record.h"

class cOptionData : public cRecord<cOptionData> {
public:
    cOptionData();

    int32_t m_bJoyRescan = 1;     // set up the joysticks again every frame
    int32_t m_nPaletteCycle = 0;  // 0..23
    int32_t m_nBgmVolume = 7;     // 0..7
    int32_t m_nSeVolume = 7;      // 0..10
    int32_t m_nRankingMode = 0;   // 0..3
    std::string m_strName;        // name offered for ranking entries
    int32_t m_nReplayAutoSave = 0;  // 0 never, 1 cleared plays, 2 always
    int32_t m_nReplayOrder = 0;     // 0..2
    int32_t m_nMessageAuto = 21;    // half seconds; 21 off

    template <class F>
    void Fields(F& f) {
        if (f.Since(952)) f.Field("m_bJoyRescan", m_bJoyRescan);
        f.Field("m_nPaletteCycle", m_nPaletteCycle);
        f.Field("m_nBgmVolume", m_nBgmVolume);
        f.Field("m_nSeVolume", m_nSeVolume);
        f.Field("m_nRankingMode", m_nRankingMode);
        if (f.Since(932)) {
            f.Field("m_nReplayAutoSave", m_nReplayAutoSave);
            f.Field("m_nReplayOrder", m_nReplayOrder);
        }
        if (f.Since(934)) f.Field("m_nMessageAuto", m_nMessageAuto);
        f.String("m_strName", m_strName);
    }
    void OnLoaded(const cLoadContext& ctx);
};
extern template class cRecord<cOptionData>;

class cFreeData : public cRecord<cFreeData> {
public:
    int32_t m_nListPos = 0;
    int32_t m_nFreeSpare = 0;
    std::string m_strLastFile;

    template <class F>
    void Fields(F& f) {
        f.Field("m_nListPos", m_nListPos);
        f.Field("m_nFreeSpare", m_nFreeSpare);
        f.String("m_strLastFile", m_strLastFile);
    }
};
extern template class cRecord<cFreeData>;

class cReplayData : public cRecord<cReplayData> {
public:
    int32_t m_nListPos = 0;
    std::string m_strLastFile;
    int32_t m_nSortOrder = 0;  // 0 date up, 1 date down, 2 name up, 3 name down

    template <class F>
    void Fields(F& f) {
        f.Field("m_nListPos", m_nListPos);
        f.Field("m_nSortOrder", m_nSortOrder);
        f.String("m_strLastFile", m_strLastFile);
    }
};
extern template class cRecord<cReplayData>;

extern cOptionData g_OptionData;
extern cFreeData g_FreeData;
extern cReplayData g_ReplayData;

// Labels of the message auto-advance option: "0.0" .. "10.0" by halves,
// "OFF" and "".
extern cCheckedVector<std::string> g_OptionLabels;
// The label shown for a message auto-advance value (21 and above: "OFF").
const std::string& MessageAutoLabel(int32_t v);

// One replay key of "System.ini": given or not, and its value.
struct cIniReplayKey {
    int32_t bSet = 0;
    int32_t nValue = 0;
};

// Start-up: reads Free.dat, Replay.dat and Option.dat (defaults stay for a
// file that cannot be read).
void LoadUserOptionFiles();
// The "System.ini" keys Replay_AutomaticSave, Replay_PlaybackOrder and
// Replay_AutomaticMessageProgress over the options. Returns the options
// menu rows (6, 7, 8) of the keys given, whose enabled flags the caller sets.
std::vector<int> ApplyReplayIniKeys(cOptionData& opt, const cIniReplayKey& autoSave, const cIniReplayKey& order,
                                    const cIniReplayKey& messageAuto);
// Leaving the options scene.
bool SaveOptionFile();
// Program end: Replay.dat and Free.dat (refused while the program is
// ending on an error).
void SaveUserFilesAtExit();
