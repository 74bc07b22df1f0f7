// The player program on a copy of the demo in a real X11 window (a private
// Xvfb server of 800 x 600, so the window keeps zoom 1), walked with keys
// typed by xdotool; the window's client area is read with xwd and compared
// with the goldens of tests/app/scenes/golden.
#pragma once
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "tests/media/text/png_golden.h"
#include "tests/support/child_process.h"
#include "tests/support/demo_template.h"
#include "tests/support/temp_dir.h"
#include "tests/support/xvfb_server.h"

extern char** environ;

namespace testsupport {

class XvfbWalk {
public:
    ~XvfbWalk() {
        if (m_pid > 0) kill(m_pid, SIGKILL), waitpid(m_pid, nullptr, 0);
    }

    // Xvfb, the demo and the player started, its window found and focused.
    // False when Xvfb cannot start (the caller skips).
    bool Start() {
        if (!m_server.Start("800x600x24")) return false;
        m_display = m_server.Display();
        CopyDemo(m_dir.Path());
        m_dir.WriteFile("System.ini", "Direct3D=1\r\nWindowMode=1\r\nBpp=32\r\nVSync=0\r\nShowFps=0\r\nExit\r\n");
        m_pid = StartPlayer();
        EXPECT_GT(m_pid, 0);
        if (m_pid <= 0) return true;
        m_window = Shell("timeout 60 xdotool search --sync --onlyvisible --name 'Tovaro Demo' | head -1");
        EXPECT_FALSE(m_window.empty());
        Shell("xdotool windowfocus --sync " + m_window);
        return true;
    }
    bool Ready() const { return m_pid > 0 && !m_window.empty(); }

    // A key held for about 120 ms, then released (a frame loop of 60 a
    // second sees it).
    void Press(const std::string& key) {
        Shell("xdotool keydown " + key);
        std::this_thread::sleep_for(std::chrono::milliseconds(120));
        Shell("xdotool keyup " + key);
        std::this_thread::sleep_for(std::chrono::milliseconds(120));
    }

    // A key held down until KeyUp.
    void KeyDown(const std::string& key) { Shell("xdotool keydown " + key); }
    void KeyUp(const std::string& key) { Shell("xdotool keyup " + key); }

    // Waits until the window shows the golden (fades end, a loaded machine
    // lags), or without a golden yet for the screen to settle; then compares
    // (UPDATE_GOLDEN=1 writes a missing one); `tries` rounds of 100 ms.
    void ExpectScreen(const std::string& golden, int tries = 60) {
        std::vector<uint32_t> px, want;
        int w = 0, h = 0;
        const bool have = ReadGolden(golden, want);
        for (int i = 0; i < tries; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(have ? 100 : 50));
            if (!Capture(px, w, h)) continue;
            if (have && px == want) break;
        }
        EXPECT_EQ(w, 640) << golden;
        EXPECT_EQ(h, 480) << golden;
        EXPECT_EQ(texttest::CompareGoldenIn("tests/app/scenes/golden", golden, w, h, px), "");
    }

    // Presses the key until the window shows the golden (a press that a
    // loaded machine sees twice is made good by the next ones); one press
    // while the golden is still to be written.
    void PressUntil(const std::string& key, const std::string& golden) {
        std::vector<uint32_t> px, want;
        int w = 0, h = 0;
        const bool have = ReadGolden(golden, want);
        for (int i = 0; i < 10; ++i) {
            Press(key);
            if (!have) break;
            bool shown = false;
            for (int k = 0; k < 10 && !shown; ++k) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                shown = Capture(px, w, h) && px == want;
            }
            if (shown) break;
        }
        ExpectScreen(golden);
    }

    // The player's exit status within ms (-1: still running, then killed).
    int WaitEnd(int ms) {
        const int status = WaitExit(m_pid, ms);
        if (status < 0) kill(m_pid, SIGKILL), waitpid(m_pid, nullptr, 0);
        m_pid = -1;
        return status;
    }

private:
    // Runs a shell command on the test's display; its standard output.
    std::string Shell(const std::string& command) const {
        std::string out;
        FILE* p = popen(("DISPLAY=" + m_display + " " + command + " 2>/dev/null").c_str(), "r");
        if (!p) return out;
        char buf[256];
        while (fgets(buf, sizeof buf, p)) out += buf;
        pclose(p);
        while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
        return out;
    }

    pid_t StartPlayer() const {
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            std::string s = *e;
            if (s.rfind("DISPLAY=", 0) == 0 || s.rfind("SDL_", 0) == 0 || s.rfind("ASAN_OPTIONS=", 0) == 0 ||
                s.rfind("XDG_RUNTIME_DIR=", 0) == 0)
                continue;
            env.push_back(s);
        }
        // The one-instance lock lives in the run's own folder, so players of
        // other test runs on the machine do not meet it.
        env.push_back("XDG_RUNTIME_DIR=" + m_dir.Path().string());
        for (const char* s : {"SDL_VIDEODRIVER=x11", "SDL_AUDIODRIVER=dummy", "SDL_RENDER_DRIVER=software",
                              "ASAN_OPTIONS=detect_leaks=0"})
            env.emplace_back(s);
        env.push_back("DISPLAY=" + m_display);
        const std::string exe = std::string(TOVARO_BINARY_DIR) + "/tovaro";
        std::vector<char*> argv{const_cast<char*>(exe.c_str()), nullptr}, envp;
        for (auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, m_dir.Path().c_str());
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        pid_t pid = -1;
        if (posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }

    static uint32_t Be32(const std::string& b, size_t at) {
        return (uint32_t(uint8_t(b[at])) << 24) | (uint32_t(uint8_t(b[at + 1])) << 16) |
               (uint32_t(uint8_t(b[at + 2])) << 8) | uint32_t(uint8_t(b[at + 3]));
    }

    // The window's pixels as 0x00RRGGBB through xwd (32-bit Z pixmaps).
    bool Capture(std::vector<uint32_t>& px, int& w, int& h) const {
        const std::filesystem::path file = m_dir.Path() / "shot.xwd";
        Shell("xwd -silent -id " + m_window + " -out '" + file.string() + "'");
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
                const uint32_t v =
                    order ? Be32(b, at)
                          : (uint32_t(uint8_t(b[at])) | (uint32_t(uint8_t(b[at + 1])) << 8) |
                             (uint32_t(uint8_t(b[at + 2])) << 16) | (uint32_t(uint8_t(b[at + 3])) << 24));
                px[size_t(y) * size_t(w) + size_t(x)] = v & 0xFFFFFF;
            }
        return true;
    }

    static bool ReadGolden(const std::string& golden, std::vector<uint32_t>& want) {
        int gw = 0, gh = 0;
        return texttest::ReadPngRgb(std::string(TOVARO_SOURCE_DIR) + "/tests/app/scenes/golden/" + golden, &gw,
                                    &gh, &want);
    }

    XvfbServer m_server;
    TempWorkDir m_dir;
    std::string m_display;
    std::string m_window;
    pid_t m_pid = -1;
};

}  // namespace testsupport
