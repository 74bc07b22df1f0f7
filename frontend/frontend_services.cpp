#include "frontend/frontend_services.h"

#include "base/error_box.h"
#include "base/log.h"
#include "base/main_thread.h"
#include "base/scene_state.h"
#include "records/system_ini.h"
#include "frontend/data/option_data.h"
#include "frontend/ui/name_entry_dialog.h"
#include "frontend/ui/replay_save_dialog.h"
#include "media/media_services.h"
#include "platform/cp932.h"
#include "play/scene_play.h"
#include "records/database.h"
#include "records/game_type.h"
#include "records/stage.h"
#include "records/system_data.h"

#include <mutex>

#include "base/app_state.h"
#include "base/files.h"
#include "records/stage_loader.h"
#include "frontend/data/game_progress.h"
#include "play/stage_setup.h"


// ConfirmEnd and SetConfirmEndImpl: frontend/ui/message_dialog.cpp.

std::string* NameEntryTarget() {
    if (g_SceneState.g_nGameType == GAMETYPE_OPTIONS) return &g_OptionData.m_strName;
    if (cScenePlay* scene = PlayScene()) return &scene->m_strRankName;
    return nullptr;
}

bool RunNameEntryDialog() {
    ui::cNameEntryDialog dialog(nullptr, NameEntryTarget());
    return dialog.DoModal(0) == 1;
}

bool RunReplaySaveDialog(int which, std::string& name) {
    name.clear();
    ui::cReplaySaveDialog dialog(nullptr, which, g_Stage.m_strPath, &name);
    return dialog.DoModal(0) == 1;
}

namespace {
std::mutex g_replaySeamMutex;
std::function<bool(int, const std::string&, bool)> g_replayWriter;
std::function<bool(const std::string&)> g_replayReader;
}  // namespace

void SetReplayWriter(std::function<bool(int, const std::string&, bool)> writer) {
    std::lock_guard<std::mutex> lock(g_replaySeamMutex);
    g_replayWriter = std::move(writer);
}

bool SaveReplayAfterDialog(int previousPlay, const std::string& path, bool mayReplace) {
    std::function<bool(int, const std::string&, bool)> writer;
    {
        std::lock_guard<std::mutex> lock(g_replaySeamMutex);
        writer = g_replayWriter;
    }
    const bool ok = writer ? writer(previousPlay, path, mayReplace) : WriteReplayOf(previousPlay, path, mayReplace) != 0;
    if (!ok) {
        ReportLogf("%s: %s", path.c_str(), LastDataFileError().c_str());
        ErrorBoxf(SJ("リプレイファイル %s の保存に失敗しました！").c_str(), path.c_str());
    }
    return ok;
}
void SetReplayReader(std::function<bool(const std::string&)> reader) {
    std::lock_guard<std::mutex> lock(g_replaySeamMutex);
    g_replayReader = std::move(reader);
}
bool OpenReplayFile(const std::string& path) {
    std::function<bool(const std::string&)> reader;
    {
        std::lock_guard<std::mutex> lock(g_replaySeamMutex);
        reader = g_replayReader;
    }
    if (reader) return reader(path);
    return ReadReplayFile(g_Replay, path, g_Stage, g_StageStart, g_Progress) != 0;
}
void SetRememberedFilePath(const std::string&) {}

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

void SetPlayingBgmEntry(int entry) { g_Progress.m_nBgm = entry; }
int PlayBgmRepeat() { return g_Progress.m_bBgmRepeat; }
