#include "frontend/frontend_services.h"

#include "records/system_data.h"
#include "app/log.h"
#include "app/system_ini.h"
#include "frontend/data/option_data.h"
#include "records/database.h"
#include "records/system_data.h"
#include "platform/cp932.h"

// ConfirmEnd and SetConfirmEndImpl: frontend/ui/message_dialog.cpp.

bool RunNameEntryDialog() { return false; }
bool RunFileSelectDialog(int, std::string&) { return false; }
bool RunReplaySaveDialog(std::string& name) {
    name.clear();
    return false;
}
bool StartStageFile(const std::string&, int) { return false; }
bool ReadReplayFile(const std::string&) { return false; }
bool WriteReplayFile(int, const std::string&) { return false; }
int MakeReplayFileName(std::string& out, int) {
    out.clear();
    return 1;
}
void SetRememberedFilePath(const std::string&) {}
void ResetCursorPositions() {}

int SceneBgmEntry(int slot) { return g_SystemData.m_vecSceneBgm.at(slot); }
int SceneBgmRepeat(int slot) { return g_SystemData.m_vecSceneBgmRepeat.at(slot); }
bool BgmRecord(int entry, std::string& file, int& volume) {
    const cDbBgm& record = g_Database.m_vecBgm.at(entry);
    file = record.m_strFile;
    volume = record.m_nVolume;
    return true;
}
int MusicVolumeLevel() { return g_OptionData.m_nBgmVolume; }
int EnglishSetting() { return g_SystemIni.English; }

void PlaySceneSetClosing() {}
bool PlaySceneInPlayState() { return false; }
void PlaySceneSetFps(int) {}
bool ColorCycleOn() { return g_SystemData.m_bColorCycle != 0; }
int ColorCycleStep() { return g_SystemData.m_nColorCycleStep; }
void SetPlayingBgmEntry(int) {}
int PlayBgmRepeat() { return 1; }
