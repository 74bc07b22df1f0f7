// The player on the demo in a real X11 window (a private Xvfb server): the
// title read back from the window equals its headless golden, and the end
// item ends the program with status 0. Skipped only when Xvfb cannot start.
#include <gtest/gtest.h>
#include <SDL.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/scene_manager.h"
#include "app/app_init.h"
#include "base/app_state.h"
#include "base/log.h"
#include "base/main_thread.h"
#include "app/main_window.h"
#include "base/quit.h"
#include "base/scene_state.h"
#include "base/system_report.h"
#include "base/thread.h"
#include "frontend/frontend_services.h"
#include "media/input/menu_cursor.h"
#include "platform/input_source.h"
#include "platform/keyboard_state.h"
#include "platform/message_box.h"
#include "tests/media/text/png_golden.h"
#include "tests/support/demo_template.h"
#include "tests/support/temp_dir.h"
#include "tests/support/window_readback.h"
#include "tests/support/xvfb_server.h"
#include "platform/sdl_window.h"
#include "tests/support/end_confirmation.h"

namespace {

// The keyboard of the test: one key held at a time, set by the main thread
// and read by the game thread.
class HeldKeySource : public platform::cInputSource {
public:
    bool IsKeyHeld(int vk) override { return vk == held.load(); }
    unsigned JoyGetNumDevs() override { return 0; }
    bool JoyGetPosEx(unsigned, platform::JoyInfoEx&) override { return false; }
    bool JoyGetDevCaps(unsigned, platform::JoyCaps&) override { return false; }
    std::atomic<int> held{0};
};

// Pumps the window's events for about ms milliseconds.
void Pump(int ms) {
    for (int i = 0; i < ms; ++i) {
        g_MainWindow.PumpEventsNested();
        SDL_Delay(1);
    }
}

}  // namespace

TEST(TitleXvfb, RealWindowShowsTheTitleAndTheEndItemEndsIt) {
    testsupport::XvfbServer server;
    if (!server.Start()) GTEST_SKIP() << "Xvfb cannot start";
    ASSERT_EQ(server.InitSdl(), "");
    ClaimGameToken();
    HeldKeySource keys;
    platform::cScopedInputSource scoped(keys);
    testsupport::TempWorkDir dir;
    testsupport::CopyDemo(dir.Path());
    dir.WriteFile("System.ini", "Direct3D=1\r\nWindowMode=1\r\nBpp=32\r\nVSync=0\r\nShowFps=0\r\nExit\r\n");
    ASSERT_TRUE(CreateReport((dir.Path() / "Report_Game.txt").string()));
    ASSERT_TRUE(g_MainWindow.Create());
    InstallMainThreadServices();
    platform::CapturedMessageBoxes boxes;
    ASSERT_TRUE(AppInit("", 0));
    for (int i = 0; i < 2000 && !g_bActive; ++i) Pump(1);
    ASSERT_TRUE(g_bActive.load());
    g_bRunning = 1;
    ASSERT_TRUE(thGame.Start(GameLoop, nullptr));

    int gw = 0, gh = 0;
    std::vector<uint32_t> golden;
    ASSERT_TRUE(texttest::ReadPngRgb(std::string(TOVARO_SOURCE_DIR) + "/tests/app/scenes/golden/title_d3d32.png",
                                     &gw, &gh, &golden));
    std::vector<uint32_t> shot;
    int w = 0, h = 0, diff = -1;
    for (int i = 0; i < 100 && diff != 0; ++i) {
        Pump(50);
        if (!testsupport::ReadWindowPixels(platform::SdlWindowOf(g_MainWindow.m_hWnd), shot, w, h) || w != 640 ||
            h != 480)
            continue;
        diff = 0;
        for (size_t k = 0; k < shot.size() && k < golden.size(); ++k) diff += shot[k] != golden[k];
    }
    EXPECT_EQ(diff, 0);
    if (diff) texttest::WritePngRgb(std::string(TOVARO_BINARY_DIR) + "/actual_xvfb_title.png", w, h, shot);

    // Up from the first row wraps to the end item; decide asks for the close,
    // which on the title needs no confirmation. Keys are held until the
    // game thread has seen them, however slowly it runs.
    testsupport::EndConfirmation() = [](int) {
        ADD_FAILURE() << "the close asked for confirmation";
        return true;
    };
    keys.held = platform::VK_UP;
    for (int i = 0; i < 400 && g_MenuCursor.Cur().m_nY != 6; ++i) Pump(5);
    keys.held = 0;
    EXPECT_EQ(g_MenuCursor.Cur().m_nY, 6);
    Pump(100);
    keys.held = 'Z';
    const int status = g_MainWindow.MessageLoop();
    keys.held = 0;
    testsupport::EndConfirmation() = nullptr;
    AppEnd();
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(g_bQuit.load(), 0);
}
