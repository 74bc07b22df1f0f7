#include "frontend/frontend_services.h"

#include "records/system_data.h"
#include "app/log.h"
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
bool ColorCycleOn() { return g_SystemData.m_bColorCycle != 0; }
int ColorCycleStep() { return g_SystemData.m_nColorCycleStep; }
void SetPlayingBgmEntry(int) {}
int PlayBgmRepeat() { return 1; }
