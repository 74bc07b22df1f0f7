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
#include "play/replay_io.h"
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


// ConfirmEnd: frontend/ui/message_dialog.cpp.

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

bool SaveReplayAfterDialog(int previousPlay, const std::string& path, bool mayReplace) {
    const bool ok = Service<IReplayIo>::Get().WriteChosen(previousPlay, path, mayReplace);
    if (!ok) {
        ReportLogf("%s: %s", path.c_str(), LastDataFileError().c_str());
        ErrorBoxf(SJ("リプレイファイル %s の保存に失敗しました！").c_str(), path.c_str());
    }
    return ok;
}
bool OpenReplayFile(const std::string& path) { return Service<IReplayIo>::Get().ReadChosen(path); }
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
