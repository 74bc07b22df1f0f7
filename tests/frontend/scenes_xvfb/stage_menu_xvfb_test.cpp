// The player program on a copy of the demo in a real X11 window (a private
// Xvfb server of 800 x 600, so the window keeps zoom 1): keys typed with
// xdotool walk from the title to the challenge's stage select, into the
// first stage and its in-game menu, whose first entry leads back to the
// title, then to the stage select again (on the first stage's row) and
// back, and on to the end item; at each menu step the window's client area
// (read with xwd) equals that state's golden; the program ends with status
// 0. Skipped only when Xvfb cannot start.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/media/text/png_golden.h"
#include "tests/support/child_process.h"
#include "tests/support/demo_template.h"
#include "tests/support/temp_dir.h"
#include "tests/support/xvfb_server.h"

extern char** environ;

namespace {

// Runs a shell command on the test's display; its standard output.
std::string Shell(const std::string& display, const std::string& command) {
    std::string out;
    FILE* p = popen(("DISPLAY=" + display + " " + command + " 2>/dev/null").c_str(), "r");
    if (!p) return out;
    char buf[256];
    while (fgets(buf, sizeof buf, p)) out += buf;
    pclose(p);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

// The player on the display, started in dir, with its one-instance lock in
// dir too (players of other test runs on the machine do not meet it).
pid_t StartPlayer(const std::string& display, const std::filesystem::path& dir) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string s = *e;
        if (s.rfind("DISPLAY=", 0) == 0 || s.rfind("SDL_", 0) == 0 || s.rfind("ASAN_OPTIONS=", 0) == 0 ||
            s.rfind("XDG_RUNTIME_DIR=", 0) == 0)
            continue;
        env.push_back(s);
    }
    env.push_back("XDG_RUNTIME_DIR=" + dir.string());
    for (const char* s : {"SDL_VIDEODRIVER=x11", "SDL_AUDIODRIVER=dummy", "SDL_RENDER_DRIVER=software",
                          "ASAN_OPTIONS=detect_leaks=0"})
        env.emplace_back(s);
    env.push_back("DISPLAY=" + display);
    const std::string exe = std::string(TOVARO_BINARY_DIR) + "/tovaro";
    std::vector<char*> argv{const_cast<char*>(exe.c_str()), nullptr}, envp;
    for (auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

uint32_t Be32(const std::string& b, size_t at) {
    return (uint32_t(uint8_t(b[at])) << 24) | (uint32_t(uint8_t(b[at + 1])) << 16) |
           (uint32_t(uint8_t(b[at + 2])) << 8) | uint32_t(uint8_t(b[at + 3]));
}

// The window's pixels as 0x00RRGGBB through xwd (32-bit Z pixmaps).
bool Capture(const std::string& display, const std::string& window, const std::filesystem::path& file,
             std::vector<uint32_t>& px, int& w, int& h) {
    Shell(display, "xwd -silent -id " + window + " -out '" + file.string() + "'");
    std::ifstream in(file, std::ios::binary);
    const std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.size() < 100) return false;
    const uint32_t header = Be32(b, 0), format = Be32(b, 8), bpp = Be32(b, 44), line = Be32(b, 48);
    const uint32_t order = Be32(b, 28), colors = Be32(b, 76);
    w = static_cast<int>(Be32(b, 16));
    h = static_cast<int>(Be32(b, 20));
    const size_t data = header + size_t(colors) * 12;
    if (format != 2 || bpp != 32 || b.size() < data + size_t(line) * size_t(h)) return false;
    px.assign(size_t(w) * size_t(h), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t at = data + size_t(y) * line + size_t(x) * 4;
            const uint32_t v = order ? Be32(b, at)
                                     : (uint32_t(uint8_t(b[at])) | (uint32_t(uint8_t(b[at + 1])) << 8) |
                                        (uint32_t(uint8_t(b[at + 2])) << 16) | (uint32_t(uint8_t(b[at + 3])) << 24));
            px[size_t(y) * size_t(w) + size_t(x)] = v & 0xFFFFFF;
        }
    return true;
}

// A key held for about 120 ms, then released (a frame loop of 60 a second
// sees it).
void Press(const std::string& display, const std::string& key) {
    Shell(display, "xdotool keydown " + key);
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    Shell(display, "xdotool keyup " + key);
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
}

// A key held until the scope ends.
class HeldKey {
public:
    HeldKey(const std::string& display, const std::string& key) : m_display(display), m_key(key) {
        Shell(m_display, "xdotool keydown " + m_key);
    }
    ~HeldKey() { Shell(m_display, "xdotool keyup " + m_key); }

private:
    std::string m_display, m_key;
};

}  // namespace

TEST(StageMenuXvfb, RealWindowWalksTheChallengeMenuIntoTheFirstStageAndEnds) {
    testsupport::XvfbServer server;
    if (!server.Start("800x600x24")) GTEST_SKIP() << "Xvfb cannot start";
    const std::string& display = server.Display();
    testsupport::TempWorkDir dir;
    testsupport::CopyDemo(dir.Path());
    dir.WriteFile("System.ini", "Direct3D=1\r\nWindowMode=1\r\nBpp=32\r\nVSync=0\r\nShowFps=0\r\nExit\r\n");
    const pid_t pid = StartPlayer(display, dir.Path());
    ASSERT_GT(pid, 0);
    const std::string window = Shell(display, "timeout 20 xdotool search --sync --onlyvisible --name 'Tovaro Demo' | head -1");
    ASSERT_FALSE(window.empty());
    Shell(display, "xdotool windowfocus --sync " + window);

    const std::filesystem::path shot = dir.Path() / "shot.xwd";
    auto readGolden = [](const std::string& golden, std::vector<uint32_t>& want) {
        int gw = 0, gh = 0;
        return texttest::ReadPngRgb(std::string(TOVARO_SOURCE_DIR) + "/tests/frontend/scenes/golden/" + golden, &gw,
                                    &gh, &want);
    };
    // Waits until the window shows the golden (fades end, a loaded machine
    // lags; `tries` rounds of 100 ms), or without a golden yet for the
    // screen to settle; then compares (UPDATE_GOLDEN=1 writes a missing one).
    auto expectScreen = [&](const std::string& golden, int tries = 60) {
        std::vector<uint32_t> px, want;
        int w = 0, h = 0;
        const bool have = readGolden(golden, want);
        for (int i = 0; i < tries; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(have ? 100 : 50));
            if (!Capture(display, window, shot, px, w, h)) continue;
            if (have && px == want) break;
        }
        EXPECT_EQ(w, 640) << golden;
        EXPECT_EQ(h, 480) << golden;
        EXPECT_EQ(texttest::CompareGoldenIn("tests/frontend/scenes/golden", golden, w, h, px), "");
    };
    // Presses the key until the window shows the golden (a press that a
    // loaded machine sees twice is made good by the next ones); one press
    // while the golden is still to be written.
    auto pressUntil = [&](const std::string& key, const std::string& golden) {
        std::vector<uint32_t> px, want;
        int w = 0, h = 0;
        const bool have = readGolden(golden, want);
        for (int i = 0; i < 10; ++i) {
            Press(display, key);
            if (!have) break;
            bool shown = false;
            for (int k = 0; k < 10 && !shown; ++k) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                shown = Capture(display, window, shot, px, w, h) && px == want;
            }
            if (shown) break;
        }
        expectScreen(golden);
    };

    expectScreen("title_d3d32.png");
    pressUntil("Up", "xvfb_title_end.png");  // the first row wraps to the end item
    pressUntil("Down", "title_d3d32.png");
    pressUntil("Down", "xvfb_title_challenge.png");
    Press(display, "z");  // challenge
    expectScreen("xvfb_stage_select.png");
    {
        // The first stage starts; Space, held from then on, opens the
        // in-game menu on the play's first frame (the menu hides the stage).
        HeldKey space(display, "space");
        Press(display, "z");
        expectScreen("xvfb_play_menu.png", 300);
    }
    pressUntil("Up", "xvfb_play_menu_end.png");
    Press(display, "z");  // the menu's first entry: the title, on the challenge's row
    expectScreen("xvfb_title_challenge.png");
    Press(display, "z");  // challenge again: the list on the first stage's row
    expectScreen("xvfb_stage_select.png");
    Press(display, "x");  // back to the title, on the challenge's row
    expectScreen("xvfb_title_challenge.png");
    pressUntil("Down", "xvfb_title_end.png");
    Press(display, "z");  // the end item
    const int status = testsupport::WaitExit(pid, 20000);
    if (status < 0) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
    EXPECT_EQ(status, 0);
}
