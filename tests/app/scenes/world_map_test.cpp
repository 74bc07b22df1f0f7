// The world map: which entry of a place is active, the chip grid's index,
// blocked and free steps, and the flows on a small fixture map with the
// story play kind: the question and its answers, entries that must be
// played, the return from a stage left unfinished, the lives a stage starts
// with, the slot written after a play, the ranking buttons and the map page
// drawn only when the view moves; with the real play scene, the map's music
// after a stage and a chained stage clear saved and resumed.
#include "app/scene_manager.h"
#include "tests/app/scenes/world_map_harness.h"

#include <climits>
#include <filesystem>

#include "frontend/data/save_slots.h"
#include "frontend/scenes/scene_title.h"
#include "platform/cp932.h"
#include "play/scene_play.h"

namespace {

using namespace scenetest;

// Keeps the global map and progress of the test process as they were.
struct KeepGlobals {
    cWorldMap map = g_WorldMap;
    cGameProgress progress = g_Progress;
    ~KeepGlobals() {
        g_WorldMap = map;
        g_Progress = progress;
    }
};

TEST(WorldEntry, ActiveEntryByItsConditions) {
    KeepGlobals keep;
    g_Progress.Reset(3);
    struct Case {
        int v, c, op, active;
    };
    const Case cases[] = {
        {3, 3, 0, 1},   {3, 4, 0, 0},  {3, 4, 1, 1},  {3, 3, 1, 0},  {3, 3, 2, 1},        {2, 3, 2, 0},
        {3, 3, 3, 1},   {4, 3, 3, 0},  {4, 3, 4, 1},  {3, 3, 4, 0},  {2, 3, 5, 1},        {3, 3, 5, 0},
        // Operators 0 to 5 compare the value itself, not its magnitude.
        {-3, 3, 0, 0},  {-6, 3, 5, 1}, {-6, -6, 0, 1},
        // 6 and 7: divisibility of |v|; a comparand of 0 divides everything.
        {-6, 3, 6, 1},  {-7, 3, 6, 0}, {7, 0, 6, 1},  {-7, 3, 7, 1}, {6, 3, 7, 0},        {7, 0, 7, 0},
        {0, 0, 7, 0},   {INT_MIN, 2, 6, 1}, {INT_MIN, 3, 7, 1}, {INT_MIN, -1, 6, 1}, {INT_MIN, 0, 7, 0},
        // Unknown operators never hold.
        {1, 1, 8, 0},   {1, 1, -1, 0},
    };
    for (const Case& k : cases) {
        cWorldPoint point;
        cWorldEntry& e = point.m_vecEntry.at(0);
        e.m_nCondVar = 5;
        e.m_nCondValue = k.c;
        e.m_nCondOp = k.op;
        g_Progress.m_vecCommonVar.at(5) = k.v;
        EXPECT_EQ(FindActiveEntry(&point) != nullptr, k.active != 0) << k.v << " op " << k.op << " " << k.c;
    }
    EXPECT_EQ(FindActiveEntry(nullptr), nullptr);

    // Needed opened flag and best total; the first entry that passes wins.
    cWorldPoint point;
    point.m_vecEntry.resize(3);
    point.m_vecEntry.at(0).m_nNeedOpened = 4;
    point.m_vecEntry.at(1).m_nNeedTotal = 100;
    point.m_vecEntry.at(2).m_nCondVar = 9;  // variable 9 is 0: 0 == 0
    g_Progress.m_nBestTotal = 99;
    EXPECT_EQ(FindActiveEntry(&point), &point.m_vecEntry.at(2));
    g_Progress.m_nBestTotal = 100;
    EXPECT_EQ(FindActiveEntry(&point), &point.m_vecEntry.at(1));
    g_Progress.m_vecOpened.at(4) = 1;
    EXPECT_EQ(FindActiveEntry(&point), &point.m_vecEntry.at(0));
    point.m_vecEntry.at(2).m_nCondValue = 1;
    point.m_vecEntry.resize(1);
    point.m_vecEntry.at(0).m_nNeedOpened = 5;
    EXPECT_EQ(FindActiveEntry(&point), nullptr);

    // Cleared and passable.
    cWorldEntry e;
    e.m_nOpenIndex = 4;
    EXPECT_EQ(IsEntryCleared(&e), 1);
    EXPECT_EQ(IsEntryPassable(&e), 1);
    e.m_nOpenIndex = 6;
    EXPECT_EQ(IsEntryPassable(&e), 0);
    e.m_bPassable = 1;
    EXPECT_EQ(IsEntryPassable(&e), 1);
    EXPECT_EQ(IsEntryCleared(nullptr), 0);
    EXPECT_EQ(IsEntryPassable(nullptr), 0);
}

TEST(WorldEntry, CellIndexClamps) {
    KeepGlobals keep;
    g_WorldMap = GrassMap(5, 4);  // rows of 8
    ASSERT_EQ(g_WorldMap.m_nRowShift, 3);
    struct Case {
        int x, y, index;
    };
    const Case cases[] = {{2, 1, 10}, {-3, 2, 16}, {7, 1, 12}, {2, -1, 2}, {9, -5, 4}, {2, 9, 26}, {-1, 3, 24}};
    for (const Case& k : cases) EXPECT_EQ(WorldCellIndex(k.x, k.y), k.index) << k.x << "," << k.y;
}

cSceneWorldMap* EnterMap(MapRun& run, int x, int y, int prevKind = SCENE_TITLE) {
    MapRun::NewStory(x, y);
    if (!run.Enter(SCENE_WORLDMAP, prevKind)) return nullptr;
    return run.Map();
}

bool HasSound(const std::vector<std::string>& sounds, const std::string& s) {
    return std::find(sounds.begin(), sounds.end(), s) != sounds.end();
}

TEST(WorldMap, StepsBlockedByChipAndEntry) {
    MapRun run;
    ASSERT_TRUE(run.Started());
    // Row r: the hero at (0, r) steps right onto (1, r).
    enum { kNone = -1 };
    struct Case {
        int chip, kind, active, enters;
    };
    const Case cases[] = {
        {kGrass, kNone, 1, 1},
        {kWater, kNone, 1, 0},
        {kWater, WORLD_ENTRY_STAGE, 1, 1},
        {kWater, WORLD_ENTRY_ROAD, 1, 1},
        {kWater, WORLD_ENTRY_WALL, 1, 0},
        {kGrass, WORLD_ENTRY_WALL, 1, 0},
        {kWater, WORLD_ENTRY_STAGE, 0, 0},
        {kWater, WORLD_ENTRY_ROAD, 0, 0},
        {kGrass, WORLD_ENTRY_WALL, 0, 1},
    };
    const int rows = static_cast<int>(std::size(cases));
    cWorldMap map = GrassMap(2, rows);
    for (int r = 0; r < rows; ++r) {
        const Case& k = cases[r];
        map.Chip(1, r) = k.chip;
        if (k.kind == kNone) continue;
        cWorldEntry e = StageEntry("S", "Meadow", 1, 1, 1);
        e.m_nKind = k.kind;
        if (!k.active) e.m_nNeedOpened = 7;
        AddPoint(map, 1, r, e);
    }
    g_WorldMap = map;
    cSceneWorldMap* m = EnterMap(run, 0, 0);
    ASSERT_NE(m, nullptr);
    for (int r = 0; r < rows; ++r) {
        g_MenuCursor.Cur() = MenuCursorPos{0, r, 288, 224};
        run.Tap(platform::VK_RIGHT);
        ASSERT_EQ(run.State(), 1);
        EXPECT_EQ(Cursor().m_nX, cases[r].enters) << "row " << r;
        EXPECT_EQ(Cursor().m_nY, r);
        EXPECT_EQ(m->m_nFacing, 3);
        if (cases[r].enters) {
            EXPECT_EQ(m->m_nViewX, 1 - 9) << "row " << r;
        }
    }
    // At column 0 a step left only turns the hero; the view starts 9 cells
    // left of the map.
    g_MenuCursor.Cur() = MenuCursorPos{0, 0, 288, 224};
    run.Tap(platform::VK_LEFT);
    EXPECT_EQ(Cursor().m_nX, 0);
    EXPECT_EQ(m->m_nFacing, 2);
    EXPECT_EQ(m->m_nViewX, -9);
    EXPECT_EQ(g_Progress.m_nMapFacing, 2);
}

TEST(WorldMap, MapPageDrawnOnlyWhenTheViewMoves) {
    MapRun run;
    ASSERT_TRUE(run.Started());
    g_WorldMap = FixtureMap();
    cSceneWorldMap* m = EnterMap(run, 0, 1);
    ASSERT_NE(m, nullptr);
    const int built = m->m_nMapPageBuilds;
    EXPECT_EQ(built, 1);
    run.Step(10);
    EXPECT_EQ(m->m_nMapPageBuilds, built);
    run.Tap(platform::VK_LEFT);  // column 0: the view stays
    run.Tap(platform::VK_UP);    // water
    EXPECT_EQ(m->m_nMapPageBuilds, built);
    run.Tap(platform::VK_RIGHT);
    EXPECT_EQ(Cursor().m_nX, 1);
    EXPECT_EQ(m->m_nMapPageBuilds, built + 1);
    run.Tap(platform::VK_LEFT);
    EXPECT_EQ(m->m_nMapPageBuilds, built + 2);
    run.Step(5);
    EXPECT_EQ(m->m_nMapPageBuilds, built + 2);
}

TEST(WorldMap, QuestionAndItsAnswers) {
    MapRun run;
    ASSERT_TRUE(run.Started());
    g_WorldMap = FixtureMap();
    cSceneWorldMap* m = EnterMap(run, 0, 1);
    ASSERT_NE(m, nullptr);
    // A passable stage: its names are prepared, no question.
    run.Tap(platform::VK_RIGHT);
    EXPECT_EQ(run.State(), 1);
    EXPECT_EQ(g_Progress.m_strStageBase, "data\\stg4\\Meadow.");
    run.Tap(platform::VK_RIGHT);
    // A stage that must be played: the question at once, on its second
    // answer; both "no" and cancel put the hero back.
    for (int key : {kKeyDecide, kKeyCancel}) {
        run.Sounds();
        run.Tap(platform::VK_RIGHT);
        ASSERT_EQ(run.State(), 2);
        EXPECT_EQ(Cursor().m_nY, 1);
        EXPECT_EQ(g_Progress.m_nMapX, 3);
        EXPECT_TRUE(HasSound(run.Sounds(), "PlaySe 1"));
        run.Tap(key);
        EXPECT_EQ(run.State(), 1);
        EXPECT_TRUE(HasSound(run.Sounds(), key == kKeyDecide ? "PlaySe 1" : "PlaySe 2"));
        EXPECT_EQ(Cursor().m_nX, 2);
        EXPECT_EQ(g_MenuCursor.Depth(), 1);
        EXPECT_EQ(m->m_nViewX, 2 - 9);
        EXPECT_TRUE(run.m_plays.empty());
    }
    // "Yes": the stage starts with the entry's settings.
    run.Tap(platform::VK_RIGHT);
    run.Tap(platform::VK_UP);
    run.Tap(kKeyDecide);
    const StoryVisit* v = run.StepUntilPlay();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->prevKind, SCENE_WORLDMAP);
    EXPECT_EQ(v->stagePath, "data\\stg4\\Caves.stg4_001");
    EXPECT_EQ(v->progress.m_nSeriesIndex, 2);
    EXPECT_EQ(v->progress.m_nStageNumber, 1);
    EXPECT_EQ(v->progress.m_strStageBase, "data\\stg4\\Caves.");
    EXPECT_EQ(v->progress.m_nMapX, 3);
    EXPECT_EQ(v->progress.m_nMapFacing, 3);
    // Cleared: back on the entry, which now shows its best.
    ASSERT_TRUE(run.StepUntilScene(SCENE_WORLDMAP));
    m = run.Map();
    EXPECT_EQ(Cursor().m_nX, 3);
    EXPECT_EQ(m->m_nFacing, 3);
    EXPECT_EQ(m->m_nEntryBest, 100);
    run.Step(3);
    EXPECT_EQ(run.State(), 1);

    // The passable entry: decide asks, "no" leaves the hero on it.
    run.Tap(platform::VK_LEFT);
    run.Tap(platform::VK_LEFT);
    ASSERT_EQ(Cursor().m_nX, 1);
    run.Tap(kKeyDecide);
    ASSERT_EQ(run.State(), 2);
    run.Tap(kKeyDecide);
    EXPECT_EQ(run.State(), 1);
    EXPECT_EQ(Cursor().m_nX, 1);
    // Cleared and not to be played again: decide does nothing.
    g_Progress.m_vecOpened.at(1) = 1;
    run.Sounds();
    run.Tap(kKeyDecide);
    EXPECT_EQ(run.State(), 1);
    EXPECT_FALSE(HasSound(run.Sounds(), "PlaySe 1"));
    // The wall blocks.
    run.Tap(platform::VK_RIGHT);
    run.Tap(platform::VK_RIGHT);
    run.Tap(platform::VK_RIGHT);
    run.Tap(platform::VK_RIGHT);
    EXPECT_EQ(Cursor().m_nX, 4);
}

TEST(WorldMap, ReturnFromAStageLeftUnfinished) {
    MapRun run;
    ASSERT_TRUE(run.Started());
    g_WorldMap = FixtureMap();
    for (bool cleared : {false, true}) {
        SCOPED_TRACE(cleared);
        run.m_outcome = [cleared](cGameProgress& p) {
            if (cleared) ClearWith(5)(p);
            LeaveForMap()(p);
        };
        ASSERT_NE(EnterMap(run, 2, 1), nullptr);
        run.Tap(platform::VK_RIGHT);
        run.Tap(platform::VK_UP);
        run.Tap(kKeyDecide);
        ASSERT_NE(run.StepUntilPlay(), nullptr);
        ASSERT_TRUE(run.StepUntilScene(SCENE_WORLDMAP));
        EXPECT_EQ(g_Progress.m_bMapReturn, 0);
        // Still not cleared: back on the cell he came from.
        EXPECT_EQ(Cursor().m_nX, cleared ? 3 : 2);
        EXPECT_EQ(run.Map()->m_nViewX, Cursor().m_nX - 9);
        run.Step(3);
        EXPECT_EQ(run.State(), 1);
        EXPECT_EQ(run.m_plays.size(), cleared ? 2u : 1u);
    }
}

TEST(WorldMap, EntryThatMustBePlayedStartsAfterTheFadeInButNotFromTheMapMenu) {
    MapRun run;
    ASSERT_TRUE(run.Started());
    g_WorldMap = FixtureMap();
    // From the map menu: no start; walking opens the question instead.
    cSceneWorldMap* m = EnterMap(run, 3, 1, SCENE_MAPMENU);
    ASSERT_NE(m, nullptr);
    run.Step(2);
    EXPECT_TRUE(run.m_plays.empty());
    EXPECT_EQ(run.State(), 2);

    // A new game from the title whose start cell holds one.
    g_WorldMap.m_nStartX = 3;
    g_WorldMap.m_nStartY = 1;
    g_SceneManager.DeleteAllScenes();
    g_SceneState.m_nSceneKind = SCENE_TITLE;
    g_SceneState.g_nGameType = TITLE_NEWGAME;
    ASSERT_TRUE(run.StepUntilState(1));
    run.Tap(kKeyDecide);  // new game
    ASSERT_EQ(run.State(), 2);
    run.Step();
    run.Tap(kKeyDecide);  // the first free slot
    const StoryVisit* v = run.StepUntilPlay(120);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->prevKind, SCENE_WORLDMAP);
    EXPECT_EQ(v->progress.m_nSeriesIndex, 2);
    EXPECT_EQ(v->progress.m_nMapCursorX, 3);
    EXPECT_EQ(v->progress.m_nSlot, 0);
}

TEST(WorldMap, LivesAStageStartsWith) {
    struct Case {
        int applies, unlimited, startLives, lives;
    };
    const Case cases[] = {{0, 0, 3, 2}, {1, 0, 5, 4}, {1, 1, 999999, 999999}, {0, 1, 999999, 999999}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.applies * 10 + k.unlimited);
        StartOptions o;
        o.tweak = [k](cSystemData& sd) {
            sd.m_bMapAppliesLives = k.applies;
            sd.m_vecInfiniteLives.at(0) = k.unlimited;
            sd.m_vecStartLives.at(0) = 3;
        };
        MapRun run(o);
        ASSERT_TRUE(run.Started());
        g_WorldMap = FixtureMap();
        MapRun::NewStory(3, 1);
        g_Progress.m_nLives = 4;
        g_SceneManager.DeleteAllScenes();
        g_SceneState.m_nSceneKind = SCENE_WORLDMAP;
        const StoryVisit* v = run.StepUntilPlay();
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v->progress.m_nStartLives, k.startLives);
        EXPECT_EQ(v->progress.m_nLives, k.lives);
    }
}

TEST(WorldMap, SlotWrittenAfterEachPlay) {
    // No slot saving, saving, a story folder that cannot be written, a slot
    // number (from a damaged save) past the 99 slots.
    for (int mode : {0, 1, 2, 3}) {
        SCOPED_TRACE(mode);
        MapRun run;
        ASSERT_TRUE(run.Started());
        g_WorldMap = FixtureMap();
        const std::filesystem::path story = run.Dir().Path() / "user_data/story";
        if (mode == 2) {
            std::filesystem::remove_all(story);
            run.Dir().WriteFile("user_data/story", "not a folder");
            platform::InvalidateDirCache();
        }
        MapRun::NewStory(3, 1);
        g_Progress.m_nSlot = mode == 3 ? 120 : 4;
        g_Progress.m_bSlotSave = mode != 0;
        g_SceneManager.DeleteAllScenes();
        g_SceneState.m_nSceneKind = SCENE_WORLDMAP;
        ASSERT_NE(run.StepUntilPlay(), nullptr);
        run.Sounds();
        ASSERT_TRUE(run.StepUntilScene(SCENE_WORLDMAP));
        const bool written = std::filesystem::exists(story / "Story05.dat");
        EXPECT_EQ(written, mode == 1);
        EXPECT_FALSE(std::filesystem::exists(story / "Story121.dat"));
        const bool fails = mode >= 2;
        EXPECT_EQ(HasSound(run.Sounds(), "PlaySe 3"), fails);
        EXPECT_EQ(run.Boxes().size(), fails ? 1u : 0u);
        if (fails && !run.Boxes().empty()) {
            EXPECT_NE(run.Boxes().back().text.find(mode == 2 ? "Story05.dat" : "Story121.dat"), std::string::npos)
                << run.Boxes().back().text;
        }
        if (written) {
            cGameProgress back;
            ASSERT_TRUE(back.LoadFile("user_data\\story\\Story05.dat"));
            EXPECT_EQ(back.m_vecOpened.at(2), 1);
            EXPECT_EQ(back.m_nMapX, 3);
            EXPECT_EQ(back.m_nSlot, 4);
            EXPECT_EQ(back.m_nBestTotal, 100);
        }
        run.Step(3);
        EXPECT_EQ(run.State(), 1);
        EXPECT_EQ(g_bQuit.load(), 0);
    }
}

TEST(WorldMap, RankingButtons) {
    for (bool on : {true, false}) {
        SCOPED_TRACE(on);
        StartOptions o;
        o.tweak = [on](cSystemData& sd) { sd.m_vecRankingSets.at(0).m_bEnabled = on; };
        MapRun run(o);
        ASSERT_TRUE(run.Started());
        g_WorldMap = FixtureMap();
        ASSERT_NE(EnterMap(run, 1, 1), nullptr);
        g_Progress.m_bShowRanking = on ? 0 : 1;
        // Held: one toggle until every button was released.
        run.Hold({kKeyButton4});
        run.Step(6);
        EXPECT_EQ(g_Progress.m_bShowRanking, on ? 1 : 0);
        const std::vector<std::string> sounds = run.Sounds();
        EXPECT_EQ(std::count(sounds.begin(), sounds.end(), "PlaySe 6"), on ? 1 : 0);
        run.Release();
        run.Step();
        run.Tap(kKeyButton4);
        EXPECT_EQ(g_Progress.m_bShowRanking, 0);
        // Button 8: the next enabled table (score, then clear time).
        run.Sounds();
        run.Tap(kKeyButton8);
        EXPECT_EQ(g_Progress.m_nRankCategory, on ? 2 : 0);
        EXPECT_EQ(HasSound(run.Sounds(), "PlaySe 6"), on);
    }
}

}  // namespace

namespace {

TEST(WorldMap, StageFileThatCannotBeLoaded) {
    MapRun run;
    ASSERT_TRUE(run.Started());
    cWorldMap map = FixtureMap();
    map.m_vecPoint.at(1).m_vecEntry.at(0).m_strStageFile = "data\\stg4\\Missing.stg4";
    // In the question: the box, and "yes" only goes back to walking.
    g_WorldMap = map;
    ASSERT_NE(EnterMap(run, 2, 1), nullptr);
    run.Tap(platform::VK_RIGHT);
    ASSERT_EQ(run.State(), 2);
    ASSERT_EQ(run.Boxes().size(), 1u);
    EXPECT_NE(run.Boxes().back().text.find("Missing.stg4"), std::string::npos);
    run.Tap(platform::VK_UP);
    run.Tap(kKeyDecide);
    EXPECT_EQ(run.State(), 1);
    EXPECT_EQ(Cursor().m_nX, 2);
    run.Step(5);
    EXPECT_TRUE(run.m_plays.empty());
    EXPECT_EQ(g_bQuit.load(), 0);
    // At the automatic start of an entry that must be played: the box, and
    // the program ends.
    EnterMap(run, 3, 1);
    EXPECT_EQ(run.Boxes().size(), 2u);
    EXPECT_EQ(g_bQuit.load(), 1);
    EXPECT_GE(run.CloseRequests(), 1);
    EXPECT_TRUE(run.m_plays.empty());
}

// The real play scene for the story stages, entered from (2, 1) by walking
// onto "Beta" (Caves) and answering its question; true once it is READY.
bool PlayBeta(MapRun& run) {
    SetSceneFactory(SCENE_PLAY, [] { return static_cast<cScene*>(new cScenePlay()); });
    run.Tap(platform::VK_RIGHT);
    run.Tap(platform::VK_UP);
    run.Tap(kKeyDecide);
    return run.StepUntilScene(SCENE_PLAY, CSCENEPLAY_READY, 200);
}

// Requests of the world map's music (track 1) in the media call log.
size_t MapMusicRequests() {
    size_t n = 0;
    for (const std::string& call : MediaCallLog()) n += call.rfind("DS_BgmPlay 0 1 ", 0) == 0;
    return n;
}

// Back on the map after a stage, the map's repeating piece is requested
// again: the stage's set-up forgot the menu music requested last.
TEST(WorldMap, MapMusicIsRequestedAgainAfterAStage) {
    MapRun run;
    ASSERT_TRUE(run.Started());
    KeepGlobals keep;
    // The main window plays the music the scenes ask for.
    SetMainWindowHandler([](int msg, intptr_t w, intptr_t l) { return g_MainWindow.OnMessage(msg, w, l); });
    struct Unhook {
        ~Unhook() { SetMainWindowHandler({}); }
    } unhook;
    g_WorldMap = FixtureMap();
    ASSERT_NE(EnterMap(run, 2, 1), nullptr);
    ASSERT_EQ(g_SceneState.m_nBgmEntry, g_SystemData.m_vecSceneBgm.at(1));
    ASSERT_TRUE(PlayBeta(run));
    // Left for the map as the in-game menu leaves it.
    ClearMediaCallLog();
    g_Progress.m_bMapReturn = 1;
    g_SceneState.m_nNextSceneKind = SCENE_WORLDMAP;
    run.Scene()->m_nState = CSCENEPLAY_FADEOUT;
    ASSERT_TRUE(run.StepUntilScene(SCENE_WORLDMAP));
    EXPECT_EQ(MapMusicRequests(), 1u);
    EXPECT_EQ(g_Progress.m_bResume, 0);  // the fade-out ended the story stage
}

// A clear that chains to the next stage of a numbered series and saves the
// game stores a slot that resumes in the play scene; continued from the
// title it plays that stage.
TEST(WorldMap, AChainedClearSavesASlotThatResumesItsStage) {
    MapRun run;
    ASSERT_TRUE(run.Started());
    KeepGlobals keep;
    g_WorldMap = FixtureMap();
    g_SystemData.m_nSaveMode = 1;
    const std::filesystem::path stages = run.Dir().Path() / "data" / "stg4";
    std::filesystem::copy_file(stages / "Caves.stg4_001", stages / "Caves-2.stg4_001");
    platform::InvalidateDirCache();
    ASSERT_NE(EnterMap(run, 2, 1), nullptr);
    g_Progress.m_nSlot = 4;
    g_Progress.m_bSlotSave = 1;
    ASSERT_TRUE(PlayBeta(run));
    EXPECT_EQ(g_Progress.m_bResume, 1);
    // The stage-clear command chose stage 2 and asked for the save.
    cScenePlay* play = PlayScene();
    ASSERT_NE(play, nullptr);
    g_Progress.m_nNextStage = 2;
    play->m_nClearMode = 1;
    EXPECT_EQ(play->AdvanceStage(), SCENE_PLAY);
    std::string slotFile;
    StorySlotFileName(slotFile, 4);
    cGameProgress saved;
    ASSERT_TRUE(saved.LoadFile(slotFile));
    EXPECT_EQ(saved.m_bResume, 1);
    EXPECT_EQ(saved.m_nStageNumber, 2);

    // Continued from the title: the play scene on Caves-2.
    g_SceneManager.DeleteAllScenes();
    g_Progress.Reset(g_SystemData.m_nStageCount);
    g_Stage.m_strPath.clear();
    g_SceneState.m_nSceneKind = SCENE_TITLE;
    g_SceneState.g_nGameType = TITLE_CONTINUE;
    run.Release();
    ASSERT_TRUE(run.StepUntilState(1));
    run.Tap(kKeyDecide);
    ASSERT_EQ(run.State(), 3);
    for (int i = 0; i < 4; ++i) run.Tap(platform::VK_DOWN);
    ASSERT_EQ(Cursor().m_nY, 4);
    run.Tap(kKeyDecide);
    ASSERT_TRUE(run.StepUntilScene(SCENE_PLAY, CSCENEPLAY_READY, 200));
    EXPECT_NE(g_Stage.m_strPath.find("Caves-2"), std::string::npos) << g_Stage.m_strPath;
    EXPECT_EQ(g_Progress.m_nStageNumber, 2);
    EXPECT_EQ(g_bQuit.load(), 0);
}

}  // namespace
