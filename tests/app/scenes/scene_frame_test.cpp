// The frame every menu scene follows, on the demo's title: key repeat and
// one-shot buttons through the scene's mask, the fades, the hand-over to
// the next scene, and a failing Init.
#include "app/scene_manager.h"
#include "tests/app/scenes/scene_harness.h"

#include <algorithm>

#include "media/input/menu_cursor.h"
#include "frontend/scenes/scene_menu.h"
#include "frontend/scenes/scene_title.h"
#include "media/gfx/dd_palette.h"
#include "media/input/input_list.h"

namespace {

using namespace scenetest;

TEST(MenuFrame, HeldKeyMovesOnFrames1_19_25) {
    DemoRun run;
    ASSERT_TRUE(run.Started());
    ASSERT_TRUE(run.StepUntilState(1));
    run.Sounds();
    std::vector<int> moved;
    run.Hold({platform::VK_DOWN});
    for (int frame = 1; frame <= 30; ++frame) {
        const int before = g_MenuCursor.Cur().m_nY;
        run.Step();
        if (g_MenuCursor.Cur().m_nY != before) moved.push_back(frame);
    }
    EXPECT_EQ(moved, (std::vector<int>{1, 19, 25}));
    // Each move sounded the cursor once.
    EXPECT_EQ(run.Sounds().size(), 3u);
}

TEST(MenuFrame, HeldDecideFiresOnceAndButtonsOutsideTheMaskReadAsHeld) {
    DemoRun run;
    ASSERT_TRUE(run.Started());
    // During the fade-in the title does not react to input.
    run.Hold({kKeyDecide, 'C'});
    std::vector<int> buttons;
    for (int i = 0; i < 5; ++i) {
        run.Step();
        buttons.push_back(g_InputList.at(0).m_wButton);
    }
    EXPECT_EQ(buttons, (std::vector<int>{1 | 4, 4, 4, 4, 4}));
}

TEST(MenuFrame, FadesTakeTenFramesThenColour16AndTheSwitch) {
    DemoRun run;
    ASSERT_TRUE(run.Started());
    ASSERT_EQ(g_SceneState.m_nFadeSpeed, 10);
    g_SceneState.g_nGameType = TITLE_OPTIONS;  // the cursor starts on the options row
    g_SceneState.m_nBgmEntry = -1;
    run.Step();
    // Init asked for the title's music and loaded the title's pictures.
    EXPECT_EQ(g_SceneState.m_nBgmEntry, g_SystemData.m_vecSceneBgm.at(0));
    EXPECT_EQ(g_SceneState.m_bBgmRepeat, g_SystemData.m_vecSceneBgmRepeat.at(0));
    EXPECT_NE(SurfaceTable[48].lpDT, nullptr);
    int in = 1;
    while (run.State() != 1 && in < 50) {
        run.Step();
        ++in;
    }
    EXPECT_EQ(in, 10);
    run.Hold({kKeyDecide});
    run.Step();
    run.Release();
    ASSERT_EQ(run.State(), 4);
    EXPECT_EQ(g_SceneState.m_nNextSceneKind, SCENE_OPTIONS);
    int out = 0;
    while (g_SceneState.m_nSceneKind == SCENE_TITLE && out < 50) {
        run.Step();
        ++out;
    }
    EXPECT_EQ(out, 10);
    const std::vector<uint32_t> shown = run.Shown();
    ASSERT_EQ(shown.size(), 640u * 480u);
    const uint32_t colour16 = PalNumToRGB(16) & 0xFFFFFF;
    EXPECT_EQ(std::count(shown.begin(), shown.end(), colour16), 640 * 480);
    EXPECT_EQ(g_MenuCursor.Depth(), 1);
    EXPECT_EQ(g_MenuCursor.Cur().m_nY, 0);  // reset on leaving
    EXPECT_TRUE(run.m_visits.empty());
    run.Step();
    ASSERT_EQ(run.m_visits.size(), 1u);
    EXPECT_EQ(run.m_visits[0].kind, SCENE_OPTIONS);
    EXPECT_EQ(run.m_visits[0].prevKind, SCENE_TITLE);
    EXPECT_EQ(g_SceneManager.SceneOf(SCENE_TITLE), nullptr);
    // The title's pictures and page went with it.
    EXPECT_EQ(SurfaceTable[48].lpDT, nullptr);
    EXPECT_TRUE(g_SceneSurfaces.empty());
}

// A menu scene whose Init throws a message text.
class ThrowingScene : public cSceneMenu {
public:
    ThrowingScene() : cSceneMenu(SCENE_OPTIONS, 5, kMenuButtons2, {}) {
        SetHandlers<ThrowingScene>({&ThrowingScene::FadeIn, &ThrowingScene::Own, &ThrowingScene::FadeOut});
    }
    void Init() override { throw "Init failed"; }
    void Own() { ++m_nOwnRuns; }
    int m_nOwnRuns = 0;
};

TEST(MenuFrame, ThrowingInitSetsTheQuitFlag) {
    g_bQuit = 0;
    {
        ThrowingScene scene;
        scene.Run();
        EXPECT_EQ(g_bQuit.load(), 1);
        EXPECT_EQ(scene.m_nState, 0);
        scene.Run();  // nothing more while quitting
        EXPECT_EQ(scene.m_nOwnRuns, 0);
    }
    g_bQuit = 0;
}

}  // namespace
