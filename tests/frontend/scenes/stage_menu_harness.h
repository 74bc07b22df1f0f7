// What the stage menu tests share: the real stage select and stage list in
// the demo run, and a play kind that takes the starts and goes back to the
// menu it came from.
#pragma once
#include "tests/frontend/scenes/scene_harness.h"

#include "frontend/data/option_data.h"
#include "frontend/scenes/menu_cursor.h"
#include "frontend/scenes/scene_stage_list.h"
#include "frontend/scenes/scene_stage_select.h"
#include "platform/keyboard_state.h"
#include "records/stage.h"

namespace scenetest {

constexpr int kKeyButton4 = 'C';  // button value 4
constexpr int kKeyButton8 = 'V';  // button value 8

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
            m_nFrom = g_SceneManager.m_nPrevSceneKind;
            m_pVisits->push_back(PlayVisit{m_nFrom, g_Progress, g_Stage.m_strPath});
            return;
        }
        g_SceneManager.m_nPrevSceneKind = SCENE_PLAY;
        g_SceneManager.m_nSceneKind = m_nFrom;
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
        SetSceneFactory(SCENE_PLAY, [this] { return static_cast<cScene*>(new FakePlayScene(&m_plays)); });
        // The remembered rows of an earlier run in this process are not kept.
        g_SceneManager.m_nSelectRow = 0;
        g_SceneManager.m_nSelectTop = 0;
        g_FreeData.m_nListPos = 0;
        g_FreeData.m_strLastFile.clear();
    }

    // Enters a menu scene as the title does (game kind, ranking switch) and
    // steps until its list runs.
    bool Enter(int kind) {
        const int gameKind = kind == SCENE_STAGESELECT ? 1 : 2;
        g_SceneManager.DeleteAllScenes();
        g_SceneManager.g_nGameKind = gameKind;
        g_SceneManager.g_nGameType = kind == SCENE_STAGESELECT ? 2 : 3;
        g_SceneManager.g_bRankingOn = g_SystemData.m_vecRankingSets.at(gameKind).m_bEnabled;
        g_SceneManager.m_nSceneKind = kind;
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

}  // namespace scenetest
