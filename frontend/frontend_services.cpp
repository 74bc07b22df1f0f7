#include "frontend/frontend_services.h"

#include "app/log.h"
#include "frontend/data/game_progress.h"
#include "frontend/data/option_data.h"
#include "records/database.h"
#include "records/system_data.h"
#include "platform/cp932.h"
#include "platform/message_box.h"

#include <mutex>

namespace {
std::mutex g_mutex;
std::function<bool(int)> g_confirmEnd;
}  // namespace

void SetConfirmEndImpl(std::function<bool(int english)> impl) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_confirmEnd = std::move(impl);
}

bool ConfirmEnd(int english) {
    std::function<bool(int)> f;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        f = g_confirmEnd;
    }
    if (f) return f(english);
    std::string text = english ? std::string("Would you like to quit?\n") : SJ("終了しますか？\n");
    std::string caption = english ? std::string("End confirmation") : SJ("終了確認");
    return platform::ShowMessageBoxOs(text, caption, platform::MB_YESNO) == platform::IDYES;
}

// Stand-ins until the name entry, file selection and replay save dialogs land.
bool RunNameEntryDialog() { return false; }
bool RunFileSelectDialog(int, std::string&) { return false; }
bool RunReplaySaveDialog(std::string& name) {
    name.clear();
    return false;
}
// Stand-in until stage play starts a stage file.
bool StartStageFile(const std::string&, int) { return false; }
// Stand-ins until replay recording and replay files land.
bool ReadReplayFile(const std::string&) { return false; }
bool WriteReplayFile(int, const std::string&) { return false; }
int MakeReplayFileName(std::string& out, int) {
    out.clear();
    return 1;
}
void SetRememberedFilePath(const std::string&) {}
// Stand-in until the menu scenes keep their cursors.
void ResetCursorPositions() {}

int SceneBgmEntry(int slot) { return g_SystemData.m_vecSceneBgm.at(slot); }
int SceneBgmRepeat(int slot) { return g_SystemData.m_vecSceneBgmRepeat.at(slot); }
bool BgmRecord(int entry, std::string& file, int& volume) {
    const cDbBgm& bgm = g_Database.m_vecBgm.at(entry);
    file = bgm.m_strFile;
    volume = bgm.m_nVolume;
    return true;
}
int MusicVolumeLevel() { return g_OptionData.m_nBgmVolume; }
int EnglishSetting() { return 0; }

// Stand-ins until the play scene lands.
void PlaySceneSetClosing() {}
bool PlaySceneInPlayState() { return false; }
void PlaySceneSetFps(int) {}
bool ColorCycleOn() { return g_SystemData.m_bColorCycle != 0; }
int ColorCycleStep() { return g_SystemData.m_nColorCycleStep; }
void SetPlayingBgmEntry(int entry) { g_Progress.m_nBgm = entry; }
int PlayBgmRepeat() { return g_Progress.m_bBgmOn; }
