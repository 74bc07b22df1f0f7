// The start-up on fixture folders: the demo game, damaged one way per case.
#include "app/app_init.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include <unistd.h>

#include "app/globals.h"
#include "app/log.h"
#include "app/quit.h"
#include "app/system_ini.h"
#include "app/system_report.h"
#include "media/media_services.h"
#include "frontend/data/boot_data.h"
#include "platform/cp932.h"
#include "platform/message_box.h"
#include "records/system_data.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using testsupport::TempWorkDir;

// The demo is built once; each case copies it.
const fs::path& DemoTemplate() {
    static const fs::path path = [] {
        const fs::path p = fs::temp_directory_path() / ("tovaro_demo_" + std::to_string(::getpid()));
        const std::string cmd = std::string(TOVARO_BINARY_DIR) + "/tovaro-mkdemo '" + p.string() + "'";
        EXPECT_EQ(std::system(cmd.c_str()), 0);
        return p;
    }();
    return path;
}

void MakeDemo(const TempWorkDir& dir) {
    fs::copy(DemoTemplate(), dir.Path(), fs::copy_options::recursive);
    platform::InvalidateDirCache();
}

void WriteLe32s(const TempWorkDir& dir, const std::string& rel, std::initializer_list<int32_t> values) {
    std::string bytes;
    for (int32_t v : values)
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(static_cast<uint32_t>(v) >> (8 * i)));
    dir.WriteFile(rel, bytes);
}

struct Case {
    const char* name;
    std::function<void(const TempWorkDir&)> damage;
    int answer;  // what every box answers
    bool result;
    const char* reportLine;  // UTF-8, a line the report must hold (null: none)
    size_t boxes;
};

class AppInitTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_bQuit = 0;
        g_SystemData = cSystemData();
        g_SystemIni = SystemIniData();
        g_WindowPlacement = cWindowPlacement();
        g_BootData = cBootData();
        SetScreenSizeOverride(1920, 1080, 32);
    }
    void TearDown() override {
        SetScreenSizeOverride(0, 0);
        g_bQuit = 0;
    }
    static void TearDownTestSuite() {
        std::error_code ec;
        fs::remove_all(DemoTemplate(), ec);
    }
};

TEST_F(AppInitTest, FailureMatrix) {
    const Case cases[] = {
        {"the demo starts", nullptr, platform::IDOK, true, "Mode : Window", 0},
        {"no data and no default",
         [](const TempWorkDir& d) {
             fs::remove_all(d.Path() / "data");
             fs::remove_all(d.Path() / "default");
         },
         platform::IDYES, false, "「data」フォルダの作成に失敗…", 1},
        {"data remade from default", [](const TempWorkDir& d) { fs::remove_all(d.Path() / "data"); },
         platform::IDYES, true, "Mode : Window", 1},
        {"data not remade", [](const TempWorkDir& d) { fs::remove_all(d.Path() / "data"); }, platform::IDNO,
         false, "「data」フォルダの作成に失敗…", 2},
        {"damaged System.dat", [](const TempWorkDir& d) { d.WriteFile("data/System.dat", "\xe8\x03\x00\x00\x05"); },
         platform::IDOK, false, "data\\System.dat の読み込みに失敗…", 1},
        {"missing database table", [](const TempWorkDir& d) { fs::remove(d.Path() / "data/database/Effect.dat"); },
         platform::IDOK, false, "data\\database\\Effect.dat の読み込みに失敗しました！", 2},
        {"missing WorldMap.dat", [](const TempWorkDir& d) { fs::remove(d.Path() / "data/WorldMap.dat"); },
         platform::IDOK, false, "data\\WorldMap.dat のロードに失敗！", 1},
        {"too new common palette",
         [](const TempWorkDir& d) { WriteLe32s(d, "data/CommonPalette.cplt4", {1001, 0}); }, platform::IDOK, false,
         "data\\CommonPalette.cplt4 のロードに失敗！", 1},
        {"missing picture of a start-up slot", [](const TempWorkDir& d) { fs::remove(d.Path() / "bmp/Symbol.bmp"); },
         platform::IDOK, false, nullptr, 1},
        {"System.ini without its end line",
         [](const TempWorkDir& d) { d.WriteFile("System.ini", "WindowMode=1\r\nBpp=16\r\n"); }, platform::IDOK, true,
         "System.ini の読み込みに失敗しました！", 1},
        {"FreeStage names a missing stage",
         [](const TempWorkDir& d) { d.WriteFile("System.ini", "WindowMode=1\r\nFreeStage=data\\stg4\\Nowhere.stg4\r\nExit\r\n"); },
         platform::IDOK, true, "「data\\stg4\\Nowhere.stg4」の読み込みに失敗しました！", 0},
        {"FreeStage names a stage without its number",
         [](const TempWorkDir& d) { d.WriteFile("System.ini", "WindowMode=1\r\nFreeStage=data\\stg4\\Caves.stg4\r\nExit\r\n"); },
         platform::IDOK, true, "Mode : Window", 0},
        {"window depth differs from the desktop",
         [](const TempWorkDir& d) { d.WriteFile("System.ini", "WindowMode=1\r\nBpp=16\r\nExit\r\n"); }, platform::IDOK,
         false, nullptr, 1},
        {"boot choice of DirectDraw",
         [](const TempWorkDir& d) {
             d.WriteFile("System.ini", "Direct3D=2\r\nWindowMode=1\r\nExit\r\n");
             WriteLe32s(d, "user_data/Boot.dat", {1000, 2, 0, 1, 0});
         },
         platform::IDOK, true, "Boot : Direct3D=0", 0},
        {"no boot choice: Direct3D",
         [](const TempWorkDir& d) { d.WriteFile("System.ini", "Direct3D=5\r\nWindowMode=1\r\nExit\r\n"); },
         platform::IDOK, true, "Boot : Direct3D=1", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        TempWorkDir dir;
        MakeDemo(dir);
        if (c.damage) c.damage(dir);
        platform::InvalidateDirCache();
        ASSERT_TRUE(CreateReport((dir.Path() / "Report_Game.txt").string()));
        platform::CapturedMessageBoxes boxes(c.answer);
        EXPECT_EQ(AppInit("", 0), c.result);
        AppEnd();
        EXPECT_EQ(boxes.Boxes().size(), c.boxes);
        const std::string report = platform::Cp932ToUtf8(dir.ReadFile("Report_Game.txt"));
        if (c.reportLine) {
            EXPECT_NE(report.find(c.reportLine), std::string::npos) << report;
        }
        if (c.result) {
            EXPECT_TRUE(dir.Exists("user_data/rpl4"));  // the fixed folders were made
            EXPECT_TRUE(dir.Exists("data/System.dat"));
        }
    }
}

TEST_F(AppInitTest, SettingsAfterAStart) {
    TempWorkDir dir;
    MakeDemo(dir);
    dir.WriteFile("System.ini", "Direct3D=0\r\nWindowMode=1\r\nReplay_On=0\r\nReplay_PlaybackOrder=1\r\nExit\r\n");
    ASSERT_TRUE(CreateReport((dir.Path() / "Report_Game.txt").string()));
    platform::CapturedMessageBoxes boxes;
    ASSERT_TRUE(AppInit("", 0));
    EXPECT_EQ(g_SystemIni.Bpp, 32);   // the desktop's depth
    EXPECT_EQ(g_SystemIni.VSync, 0);  // DirectDraw in a window
    EXPECT_EQ(g_SystemData.m_strTitle, "Tovaro Demo");
    EXPECT_EQ(g_SystemData.OptReplayRecord, 0);
    EXPECT_EQ(g_SystemData.m_vecTitleMenu.at(4).m_nEnabled, 0);
    EXPECT_EQ(g_SystemData.m_vecOptionMenu.at(7).m_nEnabled, 1);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(AppInitTest, EditorTestPlayTakesTheStartFile) {
    TempWorkDir dir;
    MakeDemo(dir);
    ASSERT_TRUE(CreateReport((dir.Path() / "Report_Game.txt").string()));
    platform::CapturedMessageBoxes boxes;
    ASSERT_TRUE(AppInit("data\\stg4\\Castle.stg4_001", 1));
    EXPECT_EQ(g_SystemIni.FreeStage, "data\\stg4\\Castle.stg4_001");
}

}  // namespace

// A DirectDraw full-screen start without VSync copies its frames: a flip
// would tie the frame rate to the monitor.
TEST_F(AppInitTest, DirectDrawFullScreenWithoutVSyncCopies) {
    TempWorkDir dir;
    MakeDemo(dir);
    dir.WriteFile("System.ini", "Direct3D=0\r\nWindowMode=0\r\nVSync=0\r\nBpp=32\r\nExit\r\n");
    ASSERT_TRUE(CreateReport((dir.Path() / "Report_Game.txt").string()));
    platform::CapturedMessageBoxes boxes;
    ASSERT_TRUE(AppInit("", 0));
    EXPECT_FALSE(DDBackEnd().direct3D);
    EXPECT_FALSE(DDBackEnd().windowed);
    EXPECT_TRUE(DDBackEnd().presentByCopy);
    AppEnd();
}

// The copy flag of the presentation: a DirectDraw window copies; full screen
// flips only with VSync on and a refresh rate of at least the frame rate.
TEST(PresentByCopy, CopiesUnlessFlippingKeepsTheFrameRate) {
    struct Case {
        bool direct3D, windowed, vsync;
        int refresh;
        bool copy;
    };
    const Case cases[] = {
        {false, true, true, 60, true},    {false, true, false, 60, true},  {false, false, true, 60, false},
        {false, false, true, 75, false},  {false, false, false, 60, true}, {false, false, true, 59, true},
        {false, false, true, 0, true},    {true, false, true, 60, false},  {true, false, false, 60, true},
        {true, true, true, 60, false},    {true, true, false, 60, true},   {true, false, true, 50, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PresentByCopy(c.direct3D, c.windowed, c.vsync, c.refresh, 60), c.copy)
            << c.direct3D << c.windowed << c.vsync << " " << c.refresh;
}
