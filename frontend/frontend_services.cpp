#include "frontend/frontend_services.h"

#include "app/error_box.h"
#include "app/log.h"
#include "app/main_thread.h"
#include "app/scene_manager.h"
#include "app/system_ini.h"
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

#include "app/app_state.h"
#include "app/files.h"
#include "app/stage_loader.h"
#include "frontend/data/game_progress.h"
#include "play/stage_setup.h"

namespace {
// The longest stage path a start takes (the copy of the path holds 259
// bytes and the terminating zero).
constexpr size_t kMaxStagePath = 259;
}  // namespace

// ConfirmEnd: frontend/ui/message_dialog.cpp.

std::string* NameEntryTarget() {
    if (g_SceneManager.g_nGameType == GAMETYPE_OPTIONS) return &g_OptionData.m_strName;
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
bool StartStageFile(const std::string& path, int flag) {
    if (path.size() > kMaxStagePath) {
        ErrorBoxf(SJ("ステージファイル %s が読み込めません！").c_str(), path.c_str());
        return false;
    }
    const std::string file = path;
    g_Progress.Reset(g_SystemData.m_nStageCount);
    if (!LoadStageWithMessagePump(file, flag != 0, &g_StageStart, &g_HeroDef)) return false;
    g_Progress.m_nSeriesIndex = 1;
    g_Progress.m_nStageNumber = 1;
    constexpr long long kFreePlay = 2;
    const bool unlimited = g_bFreeStage || (kFreePlay < static_cast<long long>(g_SystemData.m_vecInfiniteLives.size()) &&
                                            g_SystemData.m_vecInfiniteLives[kFreePlay] != 0);
    if (unlimited) {
        g_Progress.m_nStartLives = g_Progress.m_nLives = 999999;
    } else {
        const int32_t lives = kFreePlay < static_cast<long long>(g_SystemData.m_vecStartLives.size())
                                  ? g_SystemData.m_vecStartLives[kFreePlay]
                                  : 0;
        g_Progress.m_nStartLives = lives;
        g_Progress.m_nLives = lives - 1;
    }
    std::string relative = g_Stage.m_strPath;
    ToRelativePathStr(relative, true);
    g_Progress.ParseStageVariation(relative, 0, 0, 0);
    return true;
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

// The live play scene (the play slot may hold another scene in tests).
static cScenePlay* LivePlayScene() { return dynamic_cast<cScenePlay*>(g_lpPlayScene); }
void PlaySceneSetClosing() {
    if (cScenePlay* scene = LivePlayScene()) scene->m_bClosing = 1;
}
bool PlaySceneInPlayState() {
    cScenePlay* scene = LivePlayScene();
    return scene && scene->m_nState == CSCENEPLAY_PLAY;
}
void PlaySceneSetFps(int fps) {
    if (cScenePlay* scene = LivePlayScene()) scene->m_nFps = fps;
}
bool ColorCycleOn() { return g_SystemData.m_bColorCycle != 0; }
int ColorCycleStep() { return g_SystemData.m_nColorCycleStep; }
void SetPlayingBgmEntry(int entry) { g_Progress.m_nBgm = entry; }
int PlayBgmRepeat() { return g_Progress.m_bBgmRepeat; }
