// Every screen of both demos is drawn from pictures large enough for it: the
// keys walk the real scenes from the title through the slot lists, the
// world map (walking, its question, its ranking panel), a stage (playing,
// the in-game menu, the clear with its result box), the map menu, the stage
// select with its ranking panel, the stage list, the replay list and the
// options, and no screen shows more than 0.5 % of the colour key (the
// demo's palette entry 0, magenta), which is what a blit from outside a
// picture or from its unpainted part shows. TOVARO_SCREEN_DUMP=<folder>
// writes each screen there as a PNG.
#include "app/scene_manager.h"
#include "tests/app/scenes/stage_menu_harness.h"
#include "tests/support/demo_keys.h"

#include <cstdlib>

#include "frontend/scenes/scene_title.h"
#include "play/scene_play.h"

namespace {

using namespace scenetest;

constexpr uint32_t kColourKey = 0xFF00FF;

struct ScreenShare {
    std::string name;
    double keyShare = 0;
};

class ScreenWalk {
public:
    explicit ScreenWalk(bool english) : m_bEnglish(english) {}

    // The share of the colour key on the screen last shown, noted as `name`.
    void Look(DemoRun& run, const std::string& name) {
        const std::vector<uint32_t> frame = run.Shown();
        ASSERT_EQ(frame.size(), 640u * 480u) << name;
        size_t keys = 0;
        for (uint32_t px : frame) keys += px == kColourKey;
        m_vecScreens.push_back({name, 100.0 * static_cast<double>(keys) / static_cast<double>(frame.size())});
        if (const char* dump = std::getenv("TOVARO_SCREEN_DUMP"))
            texttest::WritePngRgb(std::string(dump) + "/" + name + (m_bEnglish ? "_en" : "_ja") + ".png", 640, 480,
                                  frame);
    }
    // The screens above 0.5 %, "" when there are none.
    std::string Faults() const {
        std::string out;
        for (const ScreenShare& s : m_vecScreens)
            if (s.keyShare > 0.5) out += s.name + " " + std::to_string(s.keyShare) + " %; ";
        return out;
    }
    size_t Count() const { return m_vecScreens.size(); }

private:
    bool m_bEnglish;
    std::vector<ScreenShare> m_vecScreens;
};

int Kind() { return g_SceneState.m_nSceneKind.load(); }
cScenePlay* Play() { return dynamic_cast<cScenePlay*>(g_SceneManager.SceneOf(SCENE_PLAY)); }

// Steps until `kind` runs `state` (at most `limit` frames).
bool StepUntil(DemoRun& run, int kind, int state, int limit = 600) {
    for (int i = 0; i < limit; ++i) {
        if (Kind() == kind && run.State() == state) return true;
        run.Step();
    }
    return Kind() == kind && run.State() == state;
}

void ChooseTitle(DemoRun& run, int action) {
    ASSERT_TRUE(StepUntil(run, SCENE_TITLE, 1));
    for (int i = 0; i < 10 && g_MenuCursor.Cur().m_nY != action; ++i) run.Tap(platform::VK_DOWN);
    ASSERT_EQ(g_MenuCursor.Cur().m_nY, action);
    run.Tap(kKeyDecide);
}

// The story: the slot lists, the map with its question and ranking panel,
// the first stage played to its clear with the in-game menu on the way,
// and the map menu.
void WalkStory(DemoRun& run, ScreenWalk& walk) {
    ChooseTitle(run, TITLE_CONTINUE);
    run.Step();
    walk.Look(run, "slots_continue");
    run.Tap(kKeyCancel);
    ChooseTitle(run, TITLE_NEWGAME);
    run.Step();
    walk.Look(run, "slots_new");
    run.Tap(kKeyDecide);
    ASSERT_TRUE(StepUntil(run, SCENE_WORLDMAP, 1));
    run.Step();
    walk.Look(run, "world_map");
    run.Tap(platform::VK_RIGHT);  // onto the first stage: its question
    ASSERT_EQ(run.State(), 2);
    walk.Look(run, "world_map_question");
    run.Tap(kKeyButton4);
    ASSERT_EQ(g_Progress.m_bShowRanking, 1);
    walk.Look(run, "world_map_ranking");
    run.Tap(platform::VK_UP);
    run.Tap(kKeyDecide);
    ASSERT_TRUE(StepUntil(run, SCENE_PLAY, CSCENEPLAY_PLAY));
    run.Step(30);
    walk.Look(run, "stage");
    run.Tap(platform::VK_SPACE);
    ASSERT_EQ(run.State(), CSCENEPLAY_MENU);
    walk.Look(run, "stage_menu");
    run.Tap(kKeyCancel);
    ASSERT_EQ(run.State(), CSCENEPLAY_PLAY);
    // The scripted dash of the demo plays (jumps Z, shots X), to the goal.
    for (int frame = 0; frame < 3000 && run.State() == CSCENEPLAY_PLAY; ++frame) {
        std::set<int> keys;
        testsupport::DashKeys(frame, keys);
        run.Hold(keys);
        run.Step();
    }
    run.Release();
    ASSERT_EQ(run.State(), CSCENEPLAY_STAGEEND);
    for (int i = 0; i < 300 && Play()->m_nStateFrames < 200; ++i) run.Step();
    run.Step();
    walk.Look(run, "stage_clear");
    run.Tap(kKeyDecide);
    ASSERT_TRUE(StepUntil(run, SCENE_WORLDMAP, 1));
    run.Tap(kKeyCancel);
    ASSERT_TRUE(StepUntil(run, SCENE_MAPMENU, 1));
    run.Step();
    walk.Look(run, "map_menu");
    for (int i = 0; i < 3; ++i) run.Tap(platform::VK_DOWN);
    run.Tap(kKeyDecide);  // to the title
    run.Step();
    walk.Look(run, "map_menu_title");
    run.Tap(platform::VK_UP);
    run.Tap(kKeyDecide);
}

// The stage select with its ranking panel, the stage list, the replay list
// (with the replay of the clear above) and the options.
void WalkMenus(DemoRun& run, ScreenWalk& walk) {
    ChooseTitle(run, TITLE_CHALLENGE);
    ASSERT_TRUE(StepUntil(run, SCENE_STAGESELECT, 1));
    run.Step();
    walk.Look(run, "stage_select");
    run.Tap(kKeyButton4);
    walk.Look(run, "stage_select_panel");
    run.Tap(kKeyButton4);
    run.Tap(kKeyCancel);
    for (int action : {TITLE_FREE, TITLE_REPLAY, TITLE_OPTIONS}) {
        const int kind = action == TITLE_FREE     ? SCENE_STAGELIST
                         : action == TITLE_REPLAY ? SCENE_REPLAYLIST
                                                  : SCENE_OPTIONS;
        ChooseTitle(run, action);
        ASSERT_TRUE(StepUntil(run, kind, 1));
        run.Step(2);
        walk.Look(run, kind == SCENE_STAGELIST ? "stage_list" : kind == SCENE_REPLAYLIST ? "replay_list" : "options");
        run.Tap(kKeyCancel);
    }
    ASSERT_TRUE(StepUntil(run, SCENE_TITLE, 1));
}

TEST(DemoScreens, NoScreenOfEitherDemoShowsTheColourKey) {
    for (bool english : {false, true}) {
        SCOPED_TRACE(english ? "English" : "Japanese");
        StartOptions o;
        o.english = english;
        DemoRun run(o);
        ASSERT_TRUE(run.Started());
        ResetSceneFactories();  // the program's own scenes
        ScopedMainWindow window;
        ScreenWalk walk(english);
        ASSERT_TRUE(StepUntil(run, SCENE_TITLE, 1));
        run.Step();
        walk.Look(run, "title");
        WalkStory(run, walk);
        ASSERT_FALSE(HasFatalFailure());
        WalkMenus(run, walk);
        ASSERT_FALSE(HasFatalFailure());
        EXPECT_EQ(walk.Count(), 16u);
        EXPECT_EQ(walk.Faults(), "");
        EXPECT_EQ(g_bQuit.load(), 0);
    }
}

}  // namespace
