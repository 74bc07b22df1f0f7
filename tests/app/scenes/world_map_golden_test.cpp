// Golden frames of the world map (walking onto a stage with its name and
// best, the question, the ranking panel, the lives, the view at the map's
// left edge) and the map menu (items with the best total, the slot list with
// its question, the automatic-saving question, the notice, the title's
// question), in the Japanese and English demos; and the key walk from the
// title through a new game, a stage and every item of the map menu.
#include "tests/app/scenes/world_map_harness.h"

#include "frontend/data/ranking.h"
#include "frontend/scenes/scene_title.h"
#include "tests/media/text/png_golden.h"

namespace {

using namespace scenetest;

std::string Golden(const std::string& name, const std::vector<uint32_t>& frame) {
    if (frame.size() != 640u * 480u) return "no frame shown";
    return texttest::CompareGoldenIn("tests/app/scenes/golden", name, 640, 480, frame);
}

std::string Lang(const std::string& name, bool english) { return name + (english ? "_en.png" : "_ja.png"); }

StartOptions MapOptions(bool english) {
    StartOptions o;
    o.english = english;
    o.tweak = [](cSystemData& sd) {
        sd.m_bMapShowLives = 1;
        sd.m_bMapShowEntryInfo = 1;
        sd.m_bMapMenuShowTotal = 1;
    };
    return o;
}

// The demo's first stage cleared with 1500, its story ranking on file; the
// hero one cell left of it.
void PrepareStory(bool english) {
    MapRun::NewStory(3, 7);
    cGameProgress& p = g_Progress;
    p.m_nLives = english ? 12 : kUnlimitedLives;
    p.m_nSlot = 0;
    p.m_vecOpened.at(1) = 1;
    p.UpdateStageRecord("data\\stg4\\Meadow.", "data\\stg4\\Meadow.", 0, 0, 0, 1500);
    cRanking r;
    r.m_vecTable.at(0).Insert("Ann", 1500);
    r.m_vecTable.at(0).Insert("bob", 30);
    ASSERT_TRUE(SaveRanking(r, 0, "data\\stg4\\Meadow.", 0, 0, 0));
}

TEST(WorldMapGolden, WalkQuestionRankingAndMapMenu) {
    for (bool english : {false, true}) {
        SCOPED_TRACE(english);
        MapRun run(MapOptions(english));
        ASSERT_TRUE(run.Started());
        PrepareStory(english);
        ASSERT_TRUE(run.Enter(SCENE_WORLDMAP));
        run.Tap(platform::VK_RIGHT);
        ASSERT_EQ(Cursor().m_nX, 4);
        EXPECT_EQ(Golden(Lang("world_map_walk", english), run.Shown()), "");
        run.Tap(kKeyButton4);
        ASSERT_EQ(g_Progress.m_bShowRanking, 1);
        EXPECT_EQ(Golden(Lang("world_map_ranking", english), run.Shown()), "");
        run.Tap(kKeyDecide);
        run.Step();
        ASSERT_EQ(run.State(), 2);
        EXPECT_EQ(Golden(Lang("world_map_question", english), run.Shown()), "");
        run.Tap(kKeyCancel);
        run.Tap(kKeyButton4);

        run.Tap(kKeyCancel);
        ASSERT_TRUE(run.StepUntilScene(SCENE_MAPMENU));
        run.Step();
        EXPECT_EQ(Golden(Lang("map_menu", english), run.Shown()), "");
        run.Tap(kKeyDecide);  // save
        run.Step();
        run.Tap(platform::VK_DOWN);
        run.Tap(kKeyDecide);
        EXPECT_EQ(Golden(Lang("map_menu_save", english), run.Shown()), "");
        run.Tap(kKeyCancel);
        run.Tap(kKeyCancel);
        run.Tap(platform::VK_DOWN);
        run.Tap(kKeyDecide);  // automatic saving
        run.Step();
        EXPECT_EQ(Golden(Lang("map_menu_autosave", english), run.Shown()), "");
        run.Tap(kKeyCancel);
        g_Progress.m_nSlot = -1;
        run.Tap(kKeyDecide);
        run.Step();
        ASSERT_EQ(run.Menu()->m_nStep, 2);
        EXPECT_EQ(Golden(Lang("map_menu_notice", english), run.Shown()), "");
        run.Tap(kKeyCancel);
        run.Tap(platform::VK_DOWN);
        run.Tap(platform::VK_DOWN);
        run.Tap(kKeyDecide);  // to the title
        run.Step();
        EXPECT_EQ(Golden(Lang("map_menu_title", english), run.Shown()), "");
    }
}

TEST(WorldMapGolden, ViewAtTheLeftEdge) {
    MapRun run(MapOptions(false));
    ASSERT_TRUE(run.Started());
    // A background picture (the title's) and the chips start 288 pixels
    // right of the screen's edge, the rows above the map 224 pixels down;
    // the grass shows the picture through an empty chip cell.
    g_WorldMap.m_vecChipAttr.at(0).m_nChipPicture = 4;
    g_WorldMap.m_bBackPicture = 1;
    g_WorldMap.m_strBackPicture = "bmp\\Title.bmp";
    g_WorldMap.m_nBackColor = 13;
    MapRun::NewStory(0, 0);
    ASSERT_TRUE(run.Enter(SCENE_WORLDMAP));
    run.Tap(platform::VK_LEFT);
    ASSERT_EQ(run.Map()->m_nViewX, -9);
    ASSERT_EQ(run.Map()->m_nViewY, -7);
    EXPECT_EQ(Golden("world_map_edge.png", run.Shown()), "");
}

int Kind() { return g_SceneState.m_nSceneKind.load(); }

TEST(WorldMapWalk, TitleNewGameStageMapMenuAndBackToTheTitle) {
    MapRun run;
    ASSERT_TRUE(run.Started());
    ASSERT_TRUE(run.StepUntilState(1));
    ASSERT_EQ(Kind(), SCENE_TITLE);
    run.Tap(kKeyDecide);  // new game
    run.Step();
    run.Tap(kKeyDecide);  // slot 1
    ASSERT_TRUE(run.StepUntilScene(SCENE_WORLDMAP));
    EXPECT_EQ(g_Progress.m_nSlot, 0);
    EXPECT_EQ(Cursor().m_nX, 3);
    // Stage 1 must be played: the question, "yes", the play kind.
    run.Tap(platform::VK_RIGHT);
    ASSERT_EQ(run.State(), 2);
    run.Tap(platform::VK_UP);
    run.Tap(kKeyDecide);
    const StoryVisit* v = run.StepUntilPlay();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->stagePath, "data\\stg4\\Meadow.stg4_001");
    EXPECT_EQ(v->progress.m_nSeriesIndex, 1);
    ASSERT_TRUE(run.StepUntilScene(SCENE_WORLDMAP));
    EXPECT_EQ(Cursor().m_nX, 4);
    EXPECT_EQ(g_Progress.m_vecOpened.at(1), 1);
    // The map menu: save into slot 1, automatic saving off, back to the map.
    run.Tap(kKeyCancel);
    ASSERT_TRUE(run.StepUntilScene(SCENE_MAPMENU));
    run.Tap(kKeyDecide);
    run.Step();
    run.Tap(kKeyDecide);
    run.Tap(platform::VK_UP);
    run.Tap(kKeyDecide);
    EXPECT_EQ(g_SaveSlots.at(0).m_bUsed, 1);
    run.Tap(kKeyCancel);
    // The new game saves itself; automatic saving off.
    EXPECT_EQ(g_Progress.m_bSlotSave, 1);
    run.Tap(platform::VK_DOWN);
    run.Tap(kKeyDecide);
    run.Step();
    run.Tap(platform::VK_DOWN);
    run.Tap(kKeyDecide);
    EXPECT_EQ(g_Progress.m_bSlotSave, 0);
    run.Tap(platform::VK_DOWN);
    run.Tap(kKeyDecide);
    ASSERT_TRUE(run.StepUntilScene(SCENE_WORLDMAP));
    EXPECT_EQ(Cursor().m_nX, 4);
    // And to the title.
    run.Tap(kKeyCancel);
    ASSERT_TRUE(run.StepUntilScene(SCENE_MAPMENU));
    for (int i = 0; i < 3; ++i) run.Tap(platform::VK_DOWN);
    run.Tap(kKeyDecide);
    run.Step();
    run.Tap(platform::VK_UP);
    run.Tap(kKeyDecide);
    ASSERT_TRUE(run.StepUntilScene(SCENE_TITLE));
    EXPECT_EQ(run.m_plays.size(), 1u);
    EXPECT_EQ(g_bQuit.load(), 0);
}

}  // namespace
