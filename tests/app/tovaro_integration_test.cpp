// Starts the real player headless on the demo game and on broken folders.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/cp932.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

struct Child {
    pid_t pid = -1;
};

Child Spawn(const std::vector<std::string>& args, const std::string& runtimeDir, const fs::path& errFile,
            const std::string& asanOptions = "") {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string s = *e;
        if (s.rfind("DISPLAY=", 0) == 0 || s.rfind("WAYLAND_DISPLAY=", 0) == 0 ||
            s.rfind("XDG_RUNTIME_DIR=", 0) == 0 || s.rfind("SDL_VIDEODRIVER=", 0) == 0 ||
            (!asanOptions.empty() && s.rfind("ASAN_OPTIONS=", 0) == 0))
            continue;
        env.push_back(s);
    }
    if (!asanOptions.empty()) env.push_back("ASAN_OPTIONS=" + asanOptions);
    env.push_back("XDG_RUNTIME_DIR=" + runtimeDir);
    env.push_back("SDL_VIDEODRIVER=dummy");
    env.push_back("SDL_AUDIODRIVER=dummy");
    std::vector<char*> argv, envp;
    for (auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
    Child c;
    if (posix_spawn(&c.pid, argv[0], &fa, nullptr, argv.data(), envp.data()) != 0) c.pid = -1;
    posix_spawn_file_actions_destroy(&fa);
    return c;
}

// Exit status, or -1 when it did not end in time.
int WaitExit(pid_t pid, int ms) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        int st = 0;
        pid_t r = waitpid(pid, &st, WNOHANG);
        if (r == pid) return WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
        if (std::chrono::steady_clock::now() > end) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void MakeDemo(const fs::path& dir) {
    const std::string cmd = std::string(TOVARO_BINARY_DIR) + "/tovaro-mkdemo '" + dir.string() + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
}

}  // namespace

TEST(TovaroIntegration, StartsHeadlessRefusesASecondInstanceAndClosesWithStatus0) {
    fs::path root = fs::path(::testing::TempDir()) / ("tovaro_it_" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::path game = root / "game";
    fs::path runtime = root / "run";
    MakeDemo(game);
    fs::create_directories(runtime);
    const std::string exe = std::string(TOVARO_BINARY_DIR) + "/tovaro";

    // Globals built in one place: a dynamic initialiser that reads an
    // object of another file not yet built would stop the program here.
    Child first = Spawn({exe, game.string()}, runtime.string(), root / "first.err",
                        "check_initialization_order=1:strict_init_order=1");
    ASSERT_GT(first.pid, 0);
    fs::path report = game / "Report_Game.txt";
    bool started = false;
    for (int i = 0; i < 1500 && !started; ++i) {
        started = ReadFile(report).rfind("App : ver 1000", 0) == 0 && fs::exists(runtime / "tovaro.lock") &&
                  ReadFile(runtime / "tovaro.lock") == std::to_string(first.pid) + "\n";
        if (!started) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(started) << ReadFile(root / "first.err");
    // The start-up ran to its end: the display lines follow the device.
    for (int i = 0; i < 1500 && ReadFile(report).find("Mode : Window") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_NE(ReadFile(report).find("Mode : Window"), std::string::npos) << ReadFile(report);
    EXPECT_NE(ReadFile(report).find("OS : Linux"), std::string::npos);

    // The second start finds the first; without a display the question takes
    // its default answer (No) and the new instance ends, leaving the first.
    Child second = Spawn({exe, game.string()}, runtime.string(), root / "second.err");
    ASSERT_GT(second.pid, 0);
    EXPECT_EQ(WaitExit(second.pid, 20000), 0);
    EXPECT_NE(ReadFile(root / "second.err").find("二重起動"), std::string::npos);
    EXPECT_EQ(waitpid(first.pid, nullptr, WNOHANG), 0);  // still running

    ASSERT_EQ(kill(first.pid, SIGTERM), 0);
    int status = WaitExit(first.pid, 20000);
    if (status == -1) kill(first.pid, SIGKILL);
    EXPECT_EQ(status, 0) << ReadFile(root / "first.err");
    // The close saved the window's place (32 bytes).
    EXPECT_EQ(ReadFile(game / "user_data" / "Window.dat").size(), 32u);
    fs::remove_all(root);
}

// Without "System.ini" the player starts in Direct3D 32 bits full screen; the
// window's first activation must not take the device's surfaces away, so the
// loading picture is drawn without a failed render target.
TEST(TovaroIntegration, FullScreenStartWithoutSystemIniDrawsItsPictures) {
    fs::path root = fs::path(::testing::TempDir()) / ("tovaro_fs_" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::path game = root / "game";
    fs::path runtime = root / "run";
    MakeDemo(game);
    fs::remove(game / "System.ini");
    fs::create_directories(runtime);
    Child c = Spawn({std::string(TOVARO_BINARY_DIR) + "/tovaro", game.string()}, runtime.string(), root / "fs.err");
    ASSERT_GT(c.pid, 0);
    fs::path report = game / "Report_Game.txt";
    for (int i = 0; i < 1500 && ReadFile(report).find("Mode : Fullscreen") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // a few frames
    ASSERT_EQ(kill(c.pid, SIGTERM), 0);
    int status = WaitExit(c.pid, 20000);
    if (status == -1) kill(c.pid, SIGKILL);
    EXPECT_EQ(status, 0) << ReadFile(root / "fs.err");
    const std::string text = ReadFile(report);
    EXPECT_NE(text.find("Mode : Fullscreen"), std::string::npos) << text;
    EXPECT_EQ(text.find(" Err"), std::string::npos) << text;
    fs::remove_all(root);
}

TEST(TovaroIntegration, StartUpFailuresEndWithAStatus) {
    fs::path root = fs::path(::testing::TempDir()) / ("tovaro_fail_" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::path runtime = root / "run";
    fs::create_directories(runtime);
    const std::string exe = std::string(TOVARO_BINARY_DIR) + "/tovaro";

    // Neither data\ nor default\: the start-up ends with its message.
    fs::create_directories(root / "empty");
    Child empty = Spawn({exe, (root / "empty").string()}, runtime.string(), root / "empty.err");
    ASSERT_GT(empty.pid, 0);
    EXPECT_EQ(WaitExit(empty.pid, 20000), 1);
    EXPECT_NE(ReadFile(root / "empty" / "Report_Game.txt").find(platform::Utf8ToCp932("「data」フォルダの作成に失敗")), std::string::npos);

    // No report file can be made: the program ends at once, having built and
    // destroyed its global objects without reading or writing any file.
    fs::create_directories(root / "noreport" / "Report_Game.txt");
    Child noreport = Spawn({exe, (root / "noreport").string()}, runtime.string(), root / "noreport.err");
    ASSERT_GT(noreport.pid, 0);
    EXPECT_EQ(WaitExit(noreport.pid, 20000), 0) << ReadFile(root / "noreport.err");
    EXPECT_FALSE(fs::exists(root / "noreport" / "user_data"));
    fs::remove_all(root);
}
