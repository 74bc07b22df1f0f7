// A demo stage started as the editor's test play starts it, played for 600
// frames of PLAY with scripted keys through the scene manager's frames.
#include <gtest/gtest.h>

#include "app/app_init.h"
#include "base/app_state.h"
#include "base/log.h"
#include "base/main_thread.h"
#include "base/quit.h"
#include "app/scene_manager.h"
#include "records/system_ini.h"
#include "base/thread.h"
#include "frontend/data/boot_data.h"
#include "platform/clock.h"
#include "platform/input_source.h"
#include "platform/keyboard_state.h"
#include "platform/message_box.h"
#include "play/scene_play.h"
#include "records/system_data.h"
#include "tests/media/input/fake_input_source.h"
#include "tests/support/demo_run.h"
#include "tests/support/demo_template.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(DemoPlay, ATestPlayStagePlaysSixHundredFrames) {
    testsupport::ResetForDemoRun();
    g_bEditorTest = 1;
    platform::FakeClock clock;  // unpaced: the frame waits pass at once
    testsupport::TempWorkDir dir;
    testsupport::CopyDemo(dir.Path());
    ASSERT_TRUE(CreateReport((dir.Path() / "Report_Game.txt").string()));
    platform::CapturedMessageBoxes boxes;
    ASSERT_TRUE(AppInit("data\\stg4\\Castle.stg4_001", 1));
    g_bActive = 1;

    cFakeInputSource keys;
    platform::cScopedInputSource source(keys);
    int playFrames = 0;
    for (int frame = 0; frame < 3000 && playFrames < 600 && !g_bQuit; ++frame) {
        // Right held, a jump every 40 frames, left for a while now and then.
        keys.keys.clear();
        keys.keys.insert((frame / 150) % 4 == 3 ? platform::VK_LEFT : platform::VK_RIGHT);
        if (frame % 40 < 10) keys.keys.insert('Z');
        if (frame % 90 < 3) keys.keys.insert('X');
        ASSERT_TRUE(g_SceneManager.Update());
        cScenePlay* scene = PlayScene();
        ASSERT_NE(scene, nullptr);
        if (scene->m_nState == CSCENEPLAY_PLAY) ++playFrames;
    }
    EXPECT_EQ(g_bQuit.load(), 0);
    EXPECT_EQ(playFrames, 600);
    EXPECT_TRUE(boxes.Boxes().empty());
    AppEnd();
    g_bQuit = 0;
    g_bEditorTest = 0;
}

}  // namespace
