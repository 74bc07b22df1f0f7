#include "frontend/frontend_services.h"

#include "app/log.h"
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

int SceneBgmEntry(int) { return 0; }
int SceneBgmRepeat(int) { return 1; }
bool BgmRecord(int, std::string& file, int& volume) {
    file.clear();
    volume = 100;
    return false;
}
int MusicVolumeLevel() { return 7; }
int EnglishSetting() { return 0; }

void PlaySceneSetClosing() {}
bool PlaySceneInPlayState() { return false; }
void PlaySceneSetFps(int) {}
bool ColorCycleOn() { return false; }
int ColorCycleStep() { return 4; }
void SetPlayingBgmEntry(int) {}
int PlayBgmRepeat() { return 1; }
