// What the menu scene tests share: the real stage select, stage list, replay
// list and options in the demo run, and a play kind that takes the starts and
// goes back to the menu it came from.
#pragma once
#include "app/scene_manager.h"
#include "tests/app/scenes/scene_harness.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>

#include "app/main_window.h"
#include "base/messages.h"
#include "frontend/data/option_data.h"
#include "frontend/frontend_services.h"
#include "media/input/menu_cursor.h"
#include "frontend/scenes/scene_options.h"
#include "frontend/scenes/scene_replay_list.h"
#include "frontend/scenes/scene_stage_list.h"
#include "frontend/scenes/scene_stage_select.h"
#include "platform/keyboard_state.h"
#include "records/stage.h"

namespace scenetest {

constexpr int kKeyButton4 = 'C';  // button value 4
constexpr int kKeyButton8 = 'V';  // button value 8
constexpr int kKeyButton16 = 'A';  // button value 16

// The play kind: notes the start (the scene it came from, the progress and
// the stage loaded for it) on its first frame and goes back to the scene
// that started it on its second.
struct PlayVisit {
    int prevKind = -1;
    cGameProgress progress;
    std::string stage;
};

class FakePlayScene : public cScene {
public:
    explicit FakePlayScene(std::vector<PlayVisit>* visits) : m_pVisits(visits) {}
    void Run() override {
        if (m_nFrames++ == 0) {
            m_nFrom = g_SceneState.m_nPrevSceneKind;
            m_pVisits->push_back(PlayVisit{m_nFrom, g_Progress, g_Stage.m_strPath});
            return;
        }
        g_SceneState.m_nPrevSceneKind = SCENE_PLAY;
        g_SceneState.m_nSceneKind = m_nFrom;
    }

private:
    std::vector<PlayVisit>* m_pVisits;
    int m_nFrames = 0;
    int m_nFrom = SCENE_TITLE;
};

// The demo run with the real stage menus and the fake play kind.
class StageMenuRun : public DemoRun {
public:
    explicit StageMenuRun(const StartOptions& o = {}) : DemoRun(o) {
        if (!Started()) return;
        SetSceneFactory(SCENE_STAGESELECT, [] { return static_cast<cScene*>(new cSceneStageSelect()); });
        SetSceneFactory(SCENE_STAGELIST, [] { return static_cast<cScene*>(new cSceneStageList()); });
        SetSceneFactory(SCENE_REPLAYLIST, [] { return static_cast<cScene*>(new cSceneReplayList()); });
        SetSceneFactory(SCENE_OPTIONS, [] { return static_cast<cScene*>(new cSceneOptions()); });
        SetSceneFactory(SCENE_PLAY, [this] { return static_cast<cScene*>(new FakePlayScene(&m_plays)); });
        // The remembered rows of an earlier run in this process are not kept.
        g_SceneState.m_nSelectRow = 0;
        g_SceneState.m_nSelectTop = 0;
        g_FreeData.m_nListPos = 0;
        g_FreeData.m_strLastFile.clear();
        g_ReplayData = cReplayData{};
        g_OptionData = cOptionData{};
    }

    // Enters a menu scene as the title does (title item, game kind, ranking
    // switch) and steps until its list runs.
    bool Enter(int kind) {
        const int gameKind = kind == SCENE_STAGESELECT ? 1 : kind == SCENE_STAGELIST ? 2 : 3;
        g_SceneManager.DeleteAllScenes();
        g_SceneState.g_nGameKind = gameKind;
        g_SceneState.g_nGameType = kind == SCENE_STAGESELECT ? 2
                                     : kind == SCENE_STAGELIST ? 3
                                     : kind == SCENE_REPLAYLIST ? 4
                                                                : 5;
        g_SceneState.g_bRankingOn = g_SystemData.m_vecRankingSets.at(gameKind).m_bEnabled;
        g_SceneState.m_nSceneKind = kind;
        Release();
        const bool ok = StepUntilState(1);
        Sounds();
        return ok;
    }
    // Steps until the fake play scene has taken a start.
    const PlayVisit* StepUntilPlay(int limit = 40) {
        const size_t before = m_plays.size();
        for (int i = 0; i < limit && m_plays.size() == before; ++i) Step();
        return m_plays.size() == before ? nullptr : &m_plays.back();
    }

    std::vector<PlayVisit> m_plays;
};

inline const MenuCursorPos& Cursor() { return g_MenuCursor.Cur(); }
inline int Kind() { return g_SceneState.m_nSceneKind.load(); }

// The title's cursor moved to the row of an action and decided.
inline void ChooseTitleItem(DemoRun& run, int action) {
    ASSERT_TRUE(run.StepUntilState(1));
    for (int i = 0; i < action; ++i) run.Tap(platform::VK_DOWN);
    ASSERT_EQ(g_MenuCursor.Cur().m_nY, action);
    run.Tap(kKeyDecide);
}

// A file of the run's folder written with its last change at `modified`.
inline void WriteFileAt(const DemoRun& run, const std::string& rel, time_t modified) {
    run.Dir().WriteFile(rel, "x");
    const timespec times[2] = {{modified, 0}, {modified, 0}};
    ::utimensat(AT_FDCWD, (run.Dir().Path() / rel).c_str(), times, 0);
}

// The main window's messages handled while it lives (music requests play),
// the name entry answered as the dialog would: the name it edits becomes
// `typed`.
class ScopedMainWindow {
public:
    explicit ScopedMainWindow(std::string typed = {}) : m_strTyped(std::move(typed)) {
        SetMainWindowHandler([this](int msg, intptr_t w, intptr_t l) -> intptr_t {
            if (msg != UM_NAMEENTRY) return g_MainWindow.OnMessage(msg, w, l);
            ++m_nDialogs;
            if (std::string* target = NameEntryTarget()) *target = m_strTyped;
            g_nNameEntryDone = 1;
            return 0;
        });
    }
    ~ScopedMainWindow() { SetMainWindowHandler({}); }
    int Dialogs() const { return m_nDialogs; }

private:
    std::string m_strTyped;
    int m_nDialogs = 0;
};

}  // namespace scenetest
