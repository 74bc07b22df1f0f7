// The test dialog in a real X11 window (a private Xvfb server): what the
// window shows, read back from the window, equals the headless golden.
// Skipped only when Xvfb cannot start.
#include "../ui/ui_fixture.h"
#include "tests/support/window_readback.h"
#include "tests/support/xvfb_server.h"
#include "platform/sdl_window.h"

#include <unistd.h>

#include <chrono>
#include <thread>

using namespace uitest;

TEST(XvfbDialog, RealWindowShowsTheGolden) {
    testsupport::XvfbServer server;
    if (!server.Start()) GTEST_SKIP() << "Xvfb cannot start";
    ASSERT_EQ(server.InitSdl(), "");
    ClaimGameToken();
    ASSERT_TRUE(g_MainWindow.Create());
    InstallMainThreadServices();
    g_MainWindow.Show();
    RegisterTestDialog();
    auto bg = BackgroundFrame();
    platform::FrameMailbox().Put(bg.data(), 640 * 4);

    std::string name;
    int check = 0, mode = 1;  // as in the golden
    std::vector<uint32_t> shot;
    int w = 0, h = 0;
    {
        cTestDialog dlg(&name, &check, &mode);
        Script script({
            [&] { std::this_thread::sleep_for(std::chrono::milliseconds(50)); },  // let the window map
            [&] {
                PushWindowEvent(SDL_WINDOWEVENT_EXPOSED);
            },
            [&] {
                ASSERT_TRUE(testsupport::ReadWindowPixels(platform::SdlWindowOf(g_MainWindow.m_hWnd), shot, w, h)) << SDL_GetError();
                PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
            },
        });
        EXPECT_EQ(dlg.DoModal(0), 0);
    }
    ui::SetModalIdleHook({});
    g_MainWindow.Destroy();  // SDL stays up: its X11 libraries stay loaded for the leak report
    ASSERT_EQ(w, 640);
    ASSERT_EQ(h, 480);
    for (auto& p : shot) p &= 0xFFFFFF;
    int gw = 0, gh = 0;
    std::vector<uint32_t> golden;
    ASSERT_TRUE(texttest::ReadPngRgb(std::string(TOVARO_SOURCE_DIR) + "/tests/app/ui/golden/test_dialog_initial.png",
                                     &gw, &gh, &golden));
    int diff = 0;
    for (size_t i = 0; i < shot.size() && i < golden.size(); ++i) diff += shot[i] != golden[i];
    EXPECT_EQ(diff, 0);
    if (diff) texttest::WritePngRgb(std::string(TOVARO_BINARY_DIR) + "/actual_xvfb_test_dialog.png", 640, 480, shot);
}
