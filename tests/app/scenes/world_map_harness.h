// What the world map and map menu tests share: the real world map and map
// menu in the demo run, a story play kind that clears or leaves its stage as
// the test scripts it and goes back to the map, and a small fixture map.
#pragma once
#include "app/scene_manager.h"
#include "tests/app/scenes/scene_harness.h"

#include <functional>

#include "frontend/data/world_map.h"
#include "media/input/menu_cursor.h"
#include "frontend/scenes/scene_map_menu.h"
#include "frontend/scenes/scene_world_map.h"
#include "records/stage.h"

namespace scenetest {

constexpr int kKeyButton4 = 'C';  // button value 4
constexpr int kKeyButton8 = 'V';  // button value 8

// One start of the play kind: the kind it came from, the progress and the
// stage file loaded.
struct StoryVisit {
    int prevKind = -1;
    cGameProgress progress;
    std::string stagePath;
};

// What the play does to the progress before it goes back to the map.
using PlayOutcome = std::function<void(cGameProgress&)>;

// The stage cleared: its opened flag and a best record of `score`.
inline PlayOutcome ClearWith(int score) {
    return [score](cGameProgress& p) {
        p.m_vecOpened.at(p.m_nSeriesIndex) = 1;
        p.UpdateStageRecord(p.m_strStageBase, p.m_strStageKey, p.m_bVariation, p.m_nVariationVar,
                            p.m_nVariationValue, score);
    };
}
// The stage left for the map through the in-game menu.
inline PlayOutcome LeaveForMap() {
    return [](cGameProgress& p) { p.m_bMapReturn = 1; };
}

class FakeStoryPlay : public cScene {
public:
    FakeStoryPlay(std::vector<StoryVisit>* visits, const PlayOutcome* outcome) : m_pVisits(visits), m_pOutcome(outcome) {}
    void Run() override {
        if (m_nFrames++ == 0) {
            m_pVisits->push_back(StoryVisit{g_SceneState.m_nPrevSceneKind, g_Progress, g_Stage.m_strPath});
            if (*m_pOutcome) (*m_pOutcome)(g_Progress);
            return;
        }
        g_SceneState.m_nPrevSceneKind = SCENE_PLAY;
        g_SceneState.m_nSceneKind = SCENE_WORLDMAP;
    }

private:
    std::vector<StoryVisit>* m_pVisits;
    const PlayOutcome* m_pOutcome;
    int m_nFrames = 0;
};

// Chip 0 grass, 1 water (cannot be entered).
enum { kGrass = 0, kWater = 1 };

// A map of w x h grass cells with two chip kinds and no places.
inline cWorldMap GrassMap(int w, int h) {
    cWorldMap map;
    map.SetSize(w, h);
    map.m_vecChipAttr.resize(2);
    map.m_vecChipAttr.at(kGrass).m_nChipPicture = 0;
    map.m_vecChipAttr.at(kWater).m_nChipPicture = 1;
    map.m_vecChipAttr.at(kWater).m_nMoveAttr = 1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) map.Chip(x, y) = kGrass;
    map.m_vecPoint.clear();
    map.m_nStartX = map.m_nStartY = 0;
    return map;
}

inline cWorldEntry StageEntry(const char* name, const char* file, int openIndex, int passable, int replayable) {
    cWorldEntry e;
    e.m_nKind = WORLD_ENTRY_STAGE;
    e.m_strName = name;
    e.m_strStageFile = std::string("data\\stg4\\") + file + ".stg4";
    e.m_nOpenIndex = openIndex;
    e.m_nPicture = openIndex % 3;
    e.m_bPassable = passable;
    e.m_bReplayable = replayable;
    return e;
}

inline void AddPoint(cWorldMap& map, int x, int y, const cWorldEntry& e) {
    cWorldPoint p;
    p.m_nPointX = x;
    p.m_nPointY = y;
    p.m_vecEntry.at(0) = e;
    map.m_vecPoint.push_back(p);
}

// Row 1 of grass from (0, 1) to (5, 1), water above and below: a passable
// stage that cannot be played again at (1, 1) ("Alpha", Meadow, opened flag
// 1), a stage that must be played at (3, 1) ("Beta", Caves, opened flag 2),
// a wall at (5, 1).
inline cWorldMap FixtureMap() {
    cWorldMap map = GrassMap(6, 3);
    for (int x = 0; x < 6; ++x) map.Chip(x, 0) = map.Chip(x, 2) = kWater;
    AddPoint(map, 1, 1, StageEntry("Alpha", "Meadow", 1, 1, 0));
    AddPoint(map, 3, 1, StageEntry("Beta", "Caves", 2, 0, 1));
    cWorldEntry wall;
    wall.m_nKind = WORLD_ENTRY_WALL;
    AddPoint(map, 5, 1, wall);
    map.m_nStartX = 0;
    map.m_nStartY = 1;
    return map;
}

// The demo run with the real world map and map menu and the story play kind.
class MapRun : public DemoRun {
public:
    explicit MapRun(const StartOptions& o = {}) : DemoRun(o) {
        if (!Started()) return;
        SetSceneFactory(SCENE_WORLDMAP, [] { return static_cast<cScene*>(new cSceneWorldMap()); });
        SetSceneFactory(SCENE_MAPMENU, [] { return static_cast<cScene*>(new cSceneMapMenu()); });
        SetSceneFactory(SCENE_PLAY, [this] { return static_cast<cScene*>(new FakeStoryPlay(&m_plays, &m_outcome)); });
        cSceneWorldMap::s_nHeroFrame = 0;
    }

    // A new story game standing on (x, y), as the title leaves it.
    static void NewStory(int x, int y) {
        g_Progress.Reset(g_SystemData.m_nStageCount);
        g_Progress.m_nMapX = x;
        g_Progress.m_nMapY = y;
        g_Progress.m_nStartLives = 3;
        g_Progress.m_nLives = 2;
    }

    // Enters a scene kind as `prevKind` leaves it, in the story mode, and
    // steps until its main state runs (or, for the map, it has left).
    bool Enter(int kind, int prevKind = SCENE_TITLE) {
        g_SceneManager.DeleteAllScenes();
        g_SceneState.g_nGameKind = 0;
        g_SceneState.g_nGameType = 0;
        g_SceneState.g_bRankingOn = g_SystemData.m_vecRankingSets.at(0).m_bEnabled;
        g_SceneState.m_nPrevSceneKind = prevKind;
        g_SceneState.m_nSceneKind = kind;
        Release();
        const bool ok = StepUntilState(1);
        Sounds();
        return ok;
    }
    // Steps until the play kind has taken a start.
    const StoryVisit* StepUntilPlay(int limit = 60) {
        const size_t before = m_plays.size();
        for (int i = 0; i < limit && m_plays.size() == before; ++i) Step();
        return m_plays.size() == before ? nullptr : &m_plays.back();
    }
    // Steps until `kind` is shown and runs its main state.
    bool StepUntilScene(int kind, int state = 1, int limit = 120) {
        for (int i = 0; i < limit; ++i) {
            if (g_SceneState.m_nSceneKind == kind && State() == state) return true;
            Step();
        }
        return false;
    }

    cSceneWorldMap* Map() const { return dynamic_cast<cSceneWorldMap*>(g_SceneManager.SceneOf(SCENE_WORLDMAP)); }
    cSceneMapMenu* Menu() const { return dynamic_cast<cSceneMapMenu*>(g_SceneManager.SceneOf(SCENE_MAPMENU)); }

    std::vector<StoryVisit> m_plays;
    PlayOutcome m_outcome = ClearWith(100);
};

inline const MenuCursorPos& Cursor() { return g_MenuCursor.Cur(); }

}  // namespace scenetest
