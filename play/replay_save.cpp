#include "play/replay_save.h"

#include <atomic>

#include "base/app_state.h"
#include "base/error_box.h"
#include "base/log.h"
#include "base/main_thread.h"
#include "records/system_ini.h"
#include "base/system_report.h"
#include "frontend/data/option_data.h"
#include "frontend/replay/replay.h"
#include "frontend/replay/replay_file.h"
#include "platform/cp932.h"
#include "platform/input_source.h"
#include "platform/keyboard_state.h"
#include "play/sound_requests.h"
#include "records/stage.h"
#include "records/system_data.h"

namespace {

constexpr int kVkF2 = platform::VK_F1 + 1;
constexpr int kSeDecide = 1;
constexpr int kSeRefused = 3;
constexpr int kRefusalQuietFrames = 60;
// 100 MB and a margin must be free for an automatic save.
constexpr int64_t kAutoSaveFreeBytes = 123289600;
constexpr char kNoSpaceText[] = "リプレイファイルの保存に失敗しました...ストレージを100MB以上空けてください。";

std::atomic<int64_t (*)()> g_freeSpaceProbe{nullptr};

int64_t FreeSpace() {
    if (int64_t (*probe)() = g_freeSpaceProbe.load()) return probe();
    return GetFreeDiskSpace(nullptr);
}

// Replays of this stage may be saved, or "System.ini" allows every stage.
bool SaveAllowed() { return g_Stage.m_bReplaySave != 0 || (g_SystemIni.Replay_On.bSet && g_SystemIni.Replay_On.nValue == 2); }

bool KeyHeld(int vk) { return platform::InputSource().IsKeyHeld(vk); }

}  // namespace

void SetReplayFreeSpaceProbe(int64_t (*probe)()) { g_freeSpaceProbe = probe; }

int CheckReplaySaveKeys() {
    if (IsReplayPlayback() || !g_SystemData.OptReplayRecord || !g_SystemData.m_bReplaySaveKeys) return 0;
    g_nReplaySaveWhich = 0;
    if (g_nReplayKeyWait > 0) --g_nReplayKeyWait;
    const bool allowed = SaveAllowed();

    int which;
    const cReplay* replay;
    if (KeyHeld(platform::VK_F1)) {
        which = 0;
        replay = &g_Replay;
    } else if (KeyHeld(kVkF2)) {
        which = 1;
        replay = &g_ReplayPrev;
    } else {
        return 0;
    }
    if (replay->m_vecDirWords.empty() || !allowed) {
        if (g_nReplayKeyWait <= 0) {
            PlaySe(kSeRefused);
            g_nReplayKeyWait = kRefusalQuietFrames;
        }
        return 0;
    }

    g_nReplaySaveWhich = which;
    PlaySe(kSeDecide);
    if (g_SystemData.OptNoStageList) {
        g_nSaveReplayAsParam = which;
        WaitMainThreadRequest(g_nSaveReplayAsRequest, g_nFileDialogDone);
    } else {
        SendMainWindowMessageAndWait(UM_SAVEREPLAY, which, g_nReplaySaveDone);
    }
    return 1;
}

int AutoSaveReplay() {
    if (IsReplayPlayback() || !g_SystemData.OptReplayRecord || g_bSinglePlay || g_bEditorTest || g_bReplaySaved ||
        !SaveAllowed())
        return 0;
    const int mode = g_OptionData.m_nReplayAutoSave;
    if (mode == 0 || (mode == 1 && !g_Replay.m_bCleared)) return 0;
    g_bReplaySaved = 1;

    if (FreeSpace() < kAutoSaveFreeBytes) {
        ErrorBox(SJ(kNoSpaceText));
        ReportLog(SJ(kNoSpaceText));
        return 0;
    }
    if (g_Replay.m_vecDirWords.empty()) return 0;

    g_nReplaySaveWhich = 0;
    std::string path;
    if (!MakeReplayFileName(path, g_Stage.m_strPath, g_Replay.m_bCleared) || path.empty()) return 1;
    // A failed write loses this replay, not the game in progress.
    if (!WriteReplayOf(0, path, false)) {
        ReportLogf("%s", LastDataFileError().c_str());
        ErrorBoxf(SJ("リプレイファイル %s の保存に失敗しました！").c_str(), path.c_str());
    }
    return 1;
}
