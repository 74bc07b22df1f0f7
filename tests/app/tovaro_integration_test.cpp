// Starts the real player headless on the demo game and on broken folders.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/cp932.h"
#include "tests/support/child_process.h"
#include "tests/support/demo_template.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

using testsupport::Child;
using testsupport::Spawn;
using testsupport::WaitExit;

// A copy of the demo under a fresh root, with a runtime folder of its own
// for the instance lock.
struct DemoRun {
    fs::path root, game, runtime;
    std::string exe = std::string(TOVARO_BINARY_DIR) + "/tovaro";
    explicit DemoRun(const std::string& tag)
        : root(fs::path(::testing::TempDir()) / (tag + std::to_string(getpid()))),
          game(root / "game"),
          runtime(root / "run") {
        fs::remove_all(root);
        testsupport::CopyDemo(game);
        fs::create_directories(runtime);
    }
    ~DemoRun() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

}  // namespace

TEST(TovaroIntegration, StartsHeadlessRefusesASecondInstanceAndClosesWithStatus0) {
    const DemoRun run("tovaro_it_");
    const fs::path &root = run.root, &game = run.game, &runtime = run.runtime;
    const std::string& exe = run.exe;

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
}

// Without "System.ini" the player starts in Direct3D 32 bits full screen; the
// window's first activation must not take the device's surfaces away, so the
// loading picture is drawn without a failed render target.
TEST(TovaroIntegration, FullScreenStartWithoutSystemIniDrawsItsPictures) {
    fs::path root = fs::path(::testing::TempDir()) / ("tovaro_fs_" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::path game = root / "game";
    fs::path runtime = root / "run";
    testsupport::CopyDemo(game);
    fs::remove(game / "System.ini");
    // The default settings ask for the drawing back end; the stored choice
    // (Direct3D, do not ask again) answers instead.
    fs::create_directories(game / "user_data");
    {
        const char boot[20] = {'\xE8', 3, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
        std::ofstream(game / "user_data" / "Boot.dat", std::ios::binary).write(boot, sizeof boot);
    }
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

    // No report file can be made: the program ends at once with a message,
    // having built and destroyed its global objects without reading or
    // writing any file.
    fs::create_directories(root / "noreport" / "Report_Game.txt");
    Child noreport = Spawn({exe, (root / "noreport").string()}, runtime.string(), root / "noreport.err");
    ASSERT_GT(noreport.pid, 0);
    EXPECT_EQ(WaitExit(noreport.pid, 20000), 1) << ReadFile(root / "noreport.err");
    EXPECT_NE(ReadFile(root / "noreport.err").find("Report_Game.txt を作成できません"), std::string::npos)
        << ReadFile(root / "noreport.err");
    EXPECT_FALSE(fs::exists(root / "noreport" / "user_data"));

    // A game folder that is missing or is a file: a message naming it once,
    // shown and written to the report of the folder the user started in.
    std::ofstream(root / "afile") << "x";
    struct BadFolder {
        const char* name;
        const char* message;
    };
    for (const BadFolder& b : {BadFolder{"nowhere", "がありません"}, BadFolder{"afile", "はフォルダではありません"}}) {
        SCOPED_TRACE(b.name);
        const fs::path start = root / (std::string("start_") + b.name);
        fs::create_directories(start);
        const std::string game = (root / b.name).string();
        Child c = Spawn({exe, game}, runtime.string(), root / "bad.err", "", start);
        ASSERT_GT(c.pid, 0);
        EXPECT_EQ(WaitExit(c.pid, 20000), 1);
        const std::string err = ReadFile(root / "bad.err");
        const std::string reportText = platform::Cp932ToUtf8(ReadFile(start / "Report_Game.txt"));
        EXPECT_NE(err.find(b.message), std::string::npos) << err;
        EXPECT_NE(err.find("[エラー]"), std::string::npos) << err;  // the box, with no display to show it on
        EXPECT_NE(reportText.find(b.message), std::string::npos) << reportText;
        const size_t first = reportText.find(game);
        ASSERT_NE(first, std::string::npos) << reportText;
        EXPECT_EQ(reportText.find(game, first + 1), std::string::npos) << reportText;
    }
    fs::remove_all(root);
}

// A test play of a stage named relative to the folder the user is in.
TEST(TovaroIntegration, TestPlayTakesTheStagePathFromTheStartFolder) {
    const DemoRun run("tovaro_tp_");
    const fs::path &root = run.root, &game = run.game, &runtime = run.runtime;
    const std::string& exe = run.exe;
    Child c = Spawn({exe, "--test-play", "game/data/stg4/Castle.stg4_001", "game"}, runtime.string(),
                    root / "tp.err", "", root);
    ASSERT_GT(c.pid, 0);
    const fs::path report = game / "Report_Game.txt";
    for (int i = 0; i < 2000 && ReadFile(report).find("Mode : Window") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::string text = platform::Cp932ToUtf8(ReadFile(report));
    EXPECT_NE(text.find("Mode : Window"), std::string::npos) << text << ReadFile(root / "tp.err");
    EXPECT_EQ(text.find("の読み込みに失敗"), std::string::npos) << text;
    EXPECT_EQ(waitpid(c.pid, nullptr, WNOHANG), 0) << text;  // still running
    kill(c.pid, SIGTERM);
    if (WaitExit(c.pid, 20000) == -1) kill(c.pid, SIGKILL);
}
