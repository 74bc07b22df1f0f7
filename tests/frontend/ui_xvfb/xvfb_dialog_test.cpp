// The test dialog in a real X11 window (a private Xvfb server): what the
// window shows, read back from the window, equals the headless golden.
// Skipped only when Xvfb cannot start.
#include "../ui/ui_fixture.h"
#include "tests/support/window_readback.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

extern char** environ;

using namespace uitest;

namespace {

class XvfbServer {
public:
    bool Start() {
        for (int n = 91; n < 140 && m_pid <= 0; ++n) {
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
                if (waitpid(pid, &status, WNOHANG) == pid) break;  // display taken meanwhile
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

}  // namespace

TEST(XvfbDialog, RealWindowShowsTheGolden) {
    XvfbServer server;
    if (!server.Start()) GTEST_SKIP() << "Xvfb cannot start";
    setenv("DISPLAY", server.Display().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    // Read-back of a shown frame is defined for the software renderer.
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS), 0) << SDL_GetError();
    ASSERT_STREQ(SDL_GetCurrentVideoDriver(), "x11");
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
                ASSERT_TRUE(testsupport::ReadWindowPixels(g_MainWindow.m_hWnd, shot, w, h)) << SDL_GetError();
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
    ASSERT_TRUE(texttest::ReadPngRgb(std::string(TOVARO_SOURCE_DIR) + "/tests/frontend/ui/golden/test_dialog_initial.png",
                                     &gw, &gh, &golden));
    int diff = 0;
    for (size_t i = 0; i < shot.size() && i < golden.size(); ++i) diff += shot[i] != golden[i];
    EXPECT_EQ(diff, 0);
    if (diff) texttest::WritePngRgb(std::string(TOVARO_BINARY_DIR) + "/actual_xvfb_test_dialog.png", 640, 480, shot);
}
