// The start-up on fixture folders: the demo game, damaged one way per case.
#include "app/app_init.h"
#include "app/scene_manager.h"
#include "frontend/ui/dialog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include <unistd.h>

#include "app/globals.h"
#include "app/main_window.h"
#include "base/messages.h"
#include "base/log.h"
#include "base/quit.h"
#include "records/system_ini.h"
#include "base/system_report.h"
#include "engine/arrange.h"
#include "play/chara_effect.h"
#include "records/database.h"
#include "media/gfx/fault_points.h"
#include "media/media_services.h"
#include "frontend/data/boot_data.h"
#include "media/sound/bgm_manager.h"
#include "media/sound/ds_sound.h"
#include "media/sound/sound_output.h"
#include "platform/cp932.h"
#include "platform/message_box.h"
#include "records/database.h"
#include "records/system_data.h"
#include "tests/support/demo_template.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using testsupport::TempWorkDir;

void MakeDemo(const TempWorkDir& dir) { testsupport::CopyDemo(dir.Path()); }

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
        {"missing palette picture", [](const TempWorkDir& d) { fs::remove(d.Path() / "bmp/plt/Palette.bmp"); },
         platform::IDOK, false, "bmp\\plt\\Palette.bmp の読み込みに失敗しました！", 1},
        {"damaged palette picture", [](const TempWorkDir& d) { d.WriteFile("bmp/plt/Palette.bmp", "BM\x10"); },
         platform::IDOK, false, "bmp\\plt\\Palette.bmp の読み込みに失敗しました！", 1},
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
        {"no graphics device",
         [](const TempWorkDir&) {
             gfx::Faults().Arm(gfx::Fault::D3DCreate);
             gfx::Faults().Arm(gfx::Fault::DDCreateEx);
         },
         platform::IDOK, false, "グラフィックの初期化に失敗しました！", 1},
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
        // Each line names its file once.
        EXPECT_EQ(report.find("System.dat: data\\System.dat"), std::string::npos) << report;
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
    DestroyArrangeParamTable();
    ASSERT_TRUE(AppInit("", 0));
    EXPECT_EQ(ArrangeParamTable.size(), 40u);  // the parameter-change table is built
    EXPECT_EQ(ArrangeParamTable[11].size(), 32u);
    // Both prepared tables of the chara and screen effects, one per entry.
    for (int r = 0; r < 2; ++r) {
        EXPECT_EQ(g_vCharaEffectSlots[r].size(), g_Database.m_vecCharaEffect.size());
        EXPECT_EQ(g_vScrEffectSlots[r].size(), g_Database.m_vecScrEffect.size());
    }
    EXPECT_EQ(g_SystemIni.Bpp, 32);   // the desktop's depth
    EXPECT_EQ(g_SystemIni.VSync, 0);  // DirectDraw in a window
    EXPECT_EQ(g_SystemData.m_strTitle, "Tovaro Demo");
    EXPECT_EQ(g_SystemData.OptReplayRecord, 0);
    EXPECT_EQ(g_SystemData.m_vecTitleMenu.at(4).m_nEnabled, 0);
    EXPECT_EQ(g_SystemData.m_vecOptionMenu.at(7).m_nEnabled, 1);
    EXPECT_TRUE(boxes.Boxes().empty());
    // The end removes the dialogs' keyboard routing.
    ui::cDialog dialog(0, nullptr, nullptr);
    dialog.InstallKeyboardHook(nullptr, 0);
    // ... and deletes the scenes.
    g_SceneManager.ChangeScene(SCENE_TITLE);
    ASSERT_NE(g_SceneManager.SceneOf(SCENE_TITLE), nullptr);
    AppEnd();
    EXPECT_FALSE(ui::KeyboardHookInstalled());
    EXPECT_EQ(g_SceneManager.SceneOf(SCENE_TITLE), nullptr);
}

TEST_F(AppInitTest, EditorTestPlayTakesTheStartFile) {
    TempWorkDir dir;
    MakeDemo(dir);
    ASSERT_TRUE(CreateReport((dir.Path() / "Report_Game.txt").string()));
    platform::CapturedMessageBoxes boxes;
    ASSERT_TRUE(AppInit("data\\stg4\\Castle.stg4_001", 1));
    EXPECT_EQ(g_SystemIni.FreeStage, "data\\stg4\\Castle.stg4_001");
}

// The sound tables of the start-up, an effect through the window's message
// and the music of the title, on the sound device of the test run.
TEST_F(AppInitTest, SoundTablesEffectAndMusic) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    TempWorkDir dir;
    MakeDemo(dir);
    ASSERT_TRUE(CreateReport((dir.Path() / "Report_Game.txt").string()));
    platform::CapturedMessageBoxes boxes;
    ASSERT_TRUE(AppInit("", 0));
    ASSERT_TRUE(DS_HasDevice());
    ASSERT_EQ(g_SEInfo.size(), 17 + g_Database.m_vecSound.size());
    ASSERT_EQ(g_SEData.size(), g_SEInfo.size());
    for (size_t i = 0; i < g_SEInfo.size(); ++i) {
        SCOPED_TRACE(i);
        const std::string want =
            i <= 17 ? g_SystemData.m_vecSeFiles.at(i) : g_Database.m_vecSound.at(i - 17).m_strFile;
        EXPECT_EQ(std::string(g_SEInfo[i].szFile), want);
        EXPECT_EQ(g_SEInfo[i].nCopies, 1);
        EXPECT_EQ(g_SEInfo[i].nFlag, 1);
        EXPECT_EQ(g_SEData[i].vecBuffers.size(), 1u);  // loaded
    }
    g_MainWindow.OnMessage(UM_PLAYSE, 1, 0);
    EXPECT_TRUE(SoundMixer().IsPlaying(g_SEData[1].vecBuffers[0]));
    EXPECT_TRUE(DS_BgmInitialised());
    g_MainWindow.OnMessage(UM_PLAYBGM, 0, 0);  // the title's music
    EXPECT_EQ(g_BgmManager.m_Ogg.nCurrent, 0);
    EXPECT_EQ(g_BgmManager.m_vecBackEnd.at(0), BGM_OGG);
    EXPECT_EQ(g_bQuit.load(), 0);
    AppEnd();
    EXPECT_FALSE(DS_HasDevice());
    EXPECT_FALSE(DS_BgmInitialised());
    EXPECT_EQ(platform::AudioDeviceStatus(), platform::AudioDeviceState::NotTried);
    const std::string report = platform::Cp932ToUtf8(dir.ReadFile("Report_Game.txt"));
    EXPECT_EQ(report.find("DSInit Err"), std::string::npos) << report;
    EXPECT_EQ(report.find("読み込みに失敗"), std::string::npos) << report;
    EXPECT_TRUE(boxes.Boxes().empty());
}

// Without a sound device the game starts, says so twice and runs silent.
TEST_F(AppInitTest, NoSoundDevice) {
    for (auto force : {platform::AudioDeviceForce::Absent, platform::AudioDeviceForce::OpenFails}) {
        SCOPED_TRACE(static_cast<int>(force));
        CloseSoundDevice();
        platform::ForceAudioDevice(force);
        TempWorkDir dir;
        MakeDemo(dir);
        ASSERT_TRUE(CreateReport((dir.Path() / "Report_Game.txt").string()));
        SetDebugLog(1, (dir.Path() / "debug.txt").string());
        platform::CapturedMessageBoxes boxes;
        EXPECT_TRUE(AppInit("", 0));
        EXPECT_FALSE(DS_HasDevice());
        g_MainWindow.OnMessage(UM_PLAYSE, 1, 0);
        DS_PlayCursorSE(15, 3, 0);
        EXPECT_EQ(DS_SetVolume(g_SEData.at(0), 0, -100, 0), 0);
        EXPECT_EQ(DS_GetVolume(g_SEData.at(0), 0), 0);
        for (const DS_SEDATA& e : g_SEData) EXPECT_TRUE(e.vecBuffers.empty());
        EXPECT_EQ(g_bQuit.load(), 0);
        AppEnd();
        SetDebugLog(0, "");
        platform::ForceAudioDevice(platform::AudioDeviceForce::None);
        const std::string report = platform::Cp932ToUtf8(dir.ReadFile("Report_Game.txt"));
        const std::string debug = platform::Cp932ToUtf8(dir.ReadFile("debug.txt"));
        EXPECT_NE(report.find("DSInit Err"), std::string::npos) << report;
        EXPECT_NE(debug.find("DS_Init失敗！"), std::string::npos) << debug;
        EXPECT_EQ(debug.find("DIRECTSOUNDCREATE_ERR!") != std::string::npos,
                  force == platform::AudioDeviceForce::OpenFails)
            << debug;
        EXPECT_TRUE(boxes.Boxes().empty());
    }
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
