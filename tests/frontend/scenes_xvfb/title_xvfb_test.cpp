// The player on the demo in a real X11 window (a private Xvfb server): the
// title read back from the window equals its headless golden, and the end
// item ends the program with status 0. Skipped only when Xvfb cannot start.
#include <gtest/gtest.h>
#include <SDL.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/app_init.h"
#include "app/app_state.h"
#include "app/log.h"
#include "app/main_thread.h"
#include "app/main_window.h"
#include "app/quit.h"
#include "app/scene_manager.h"
#include "app/system_report.h"
#include "app/thread.h"
#include "platform/input_source.h"
#include "platform/keyboard_state.h"
#include "platform/message_box.h"
#include "tests/media/input/fake_input_source.h"
#include "tests/media/text/png_golden.h"
#include "tests/support/demo_template.h"
#include "tests/support/temp_dir.h"
#include "tests/support/window_readback.h"

extern char** environ;

namespace {

class XvfbServer {
public:
    bool Start() {
        for (int n = 141; n < 190 && m_pid <= 0; ++n) {
            std::string sock = "/tmp/.X11-unix/X" + std::to_string(n);
            std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
            struct stat st {};
            if (stat(sock.c_str(), &st) == 0 || stat(lock.c_str(), &st) == 0) continue;
            std::string display = ":" + std::to_string(n);
            const char* argv[] = {"Xvfb", display.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp", nullptr};
            pid_t pid = 0;
            if (posix_spawnp(&pid, "Xvfb", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) return false;
            for (int i = 0; i < 500; ++i) {
                if (stat(sock.c_str(), &st) == 0) {
                    m_pid = pid;
                    m_display = display;
                    return true;
                }
                int status = 0;
                if (waitpid(pid, &status, WNOHANG) == pid) break;
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            if (m_pid <= 0) {
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
            }
        }
        return m_pid > 0;
    }
    ~XvfbServer() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    const std::string& Display() const { return m_display; }

private:
    pid_t m_pid = -1;
    std::string m_display;
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
    XvfbServer server;
    if (!server.Start()) GTEST_SKIP() << "Xvfb cannot start";
    setenv("DISPLAY", server.Display().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS), 0) << SDL_GetError();
    ASSERT_STREQ(SDL_GetCurrentVideoDriver(), "x11");
    ClaimGameToken();
    cFakeInputSource keys;
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
    ASSERT_TRUE(texttest::ReadPngRgb(std::string(TOVARO_SOURCE_DIR) + "/tests/frontend/scenes/golden/title_d3d32.png",
                                     &gw, &gh, &golden));
    std::vector<uint32_t> shot;
    int w = 0, h = 0, diff = -1;
    for (int i = 0; i < 100 && diff != 0; ++i) {
        Pump(50);
        if (!testsupport::ReadWindowPixels(g_MainWindow.m_hWnd, shot, w, h) || w != 640 || h != 480) continue;
        diff = 0;
        for (size_t k = 0; k < shot.size() && k < golden.size(); ++k) diff += shot[k] != golden[k];
    }
    EXPECT_EQ(diff, 0);
    if (diff) texttest::WritePngRgb(std::string(TOVARO_BINARY_DIR) + "/actual_xvfb_title.png", w, h, shot);

    // Up from the first row wraps to the end item; decide asks for the close,
    // which on the title needs no confirmation.
    keys.keys = {platform::VK_UP};
    Pump(120);
    keys.keys.clear();
    Pump(120);
    keys.keys = {'Z'};
    const int status = g_MainWindow.MessageLoop();
    keys.keys.clear();
    AppEnd();
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(g_bQuit.load(), 0);
}
