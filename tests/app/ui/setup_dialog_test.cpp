// The boot choice at start-up: the set-up dialog over the shown main window,
// user_data\Boot.dat, and the "Direct3D" setting that follows; then the real
// player started on the folder the dialog wrote.
#include "ui_fixture.h"

#include "app/app_init.h"
#include "base/log.h"
#include "records/system_ini.h"
#include "frontend/data/boot_data.h"
#include "frontend/ui/setup_dialog.h"
#include "frontend/ui/ui_look.h"
#include "records/system_data.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"
#include "platform/sdl_window.h"

#include <thread>

using namespace uitest;
using testsupport::TempWorkDir;
using ui::cSetupDialog;

namespace {

std::string Le32s(std::initializer_list<int32_t> values) {
    std::string s;
    for (int32_t v : values)
        for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF));
    return s;
}

const std::string kDirectDrawNoAsk("\xE8\x03\x00\x00\x02\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00",
                                   20);

ui::cWidget* Item(int id) {
    auto* d = ui::g_lpSetupDialog;
    return d && d->m_hWnd ? d->m_hWnd->Item(id) : nullptr;
}

void ClickItem(int id) { ClickItemIn(ui::g_lpSetupDialog->m_hWnd, id); }

class SetupTest : public UiWindowTest {
protected:
    void SetUp() override {
        UiWindowTest::SetUp();
        // Nothing drawn yet at start-up: the light grey of an empty frame.
        std::vector<uint32_t> grey(640 * 480, ui::kFrameBackground);
        platform::FrameMailbox().Put(grey.data(), 640 * 4);
        g_SystemData.m_strTitle = "Tovaro Demo";
        g_BootData = cBootData();
        g_SystemIni.English = 0;
    }
    void TearDown() override {
        g_SystemIni = SystemIniData();
        g_BootData = cBootData();
        g_SystemData.m_strTitle.clear();
        UiWindowTest::TearDown();
    }
    // Runs the boot step with "Direct3D" = d3d; the steps drive the dialog.
    bool Boot(int d3d, std::vector<std::function<void()>> steps, bool* shown = nullptr) {
        g_SystemIni.Direct3D = d3d;
        bool asked = false;
        steps.insert(steps.begin(), [&] { asked = true; });
        Script script(steps);
        bool r = ApplyBootChoice();
        EXPECT_EQ(script.Overruns(), 0);
        if (shown) *shown = asked;
        return r;
    }
};

}  // namespace

TEST_F(SetupTest, DecisionTable) {
    enum File { kMissing, kTooNew, kAsk0, kAsk1, kNoAsk0, kNoAsk1 };
    const std::string files[] = {
        "", Le32s({1001, 2, 0, 1, 0}), Le32s({1000, 2, 0, 0, 0}), Le32s({1000, 2, 1, 0, 0}),
        Le32s({1000, 2, 0, 1, 0}), Le32s({1000, 2, 1, 1, 0}),
    };
    struct Case {
        int d3d;
        File file;
        bool dialog;
        int result;  // "Direct3D" afterwards (Start pressed when asked)
        int drawMode;  // g_BootData afterwards: the file's when read
    };
    const Case cases[] = {
        // 0 and 1 never read the file.
        {0, kMissing, false, 0, 1}, {0, kNoAsk0, false, 0, 1}, {0, kNoAsk1, false, 0, 1}, {0, kAsk0, false, 0, 1},
        {1, kMissing, false, 1, 1}, {1, kNoAsk0, false, 1, 1}, {1, kAsk0, false, 1, 1},  {1, kTooNew, false, 1, 1},
        // 2 and more: asked unless the file says not to; then its draw mode.
        {2, kMissing, true, 1, 1},  {2, kTooNew, true, 1, 1},  {2, kAsk0, true, 0, 0},    {2, kAsk1, true, 1, 1},
        {2, kNoAsk0, false, 0, 0},  {2, kNoAsk1, false, 1, 1}, {3, kMissing, true, 1, 1},  {3, kAsk0, true, 0, 0},
        {3, kNoAsk0, false, 0, 0},  {3, kNoAsk1, false, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("Direct3D=" + std::to_string(c.d3d) + " file " + std::to_string(c.file));
        TempWorkDir dir;
        dir.MakeDirs("user_data");
        if (c.file != kMissing) dir.WriteFile("user_data/Boot.dat", files[c.file]);
        g_BootData = cBootData();
        bool shown = false;
        EXPECT_TRUE(Boot(c.d3d, {[] { PushKey(SDLK_RETURN); }}, &shown));
        EXPECT_EQ(shown, c.dialog);
        EXPECT_EQ(g_SystemIni.Direct3D, c.result);
        EXPECT_EQ(g_BootData.m_nDrawMode, c.drawMode);
        EXPECT_FALSE(BootCancelled());
        if (!c.dialog) {
            EXPECT_EQ(dir.ReadFile("user_data/Boot.dat"), files[c.file]);  // untouched
        }
        if (!shown) ui::SetModalIdleHook({});
    }
}

TEST_F(SetupTest, FirstStartAsksAndStoresTheChoice) {
    TempWorkDir dir;
    dir.MakeDirs("user_data");
    EXPECT_TRUE(Boot(2, {
                            [&] {
                                EXPECT_TRUE(SDL_GetWindowFlags(platform::SdlWindowOf(g_MainWindow.m_hWnd)) & SDL_WINDOW_SHOWN);
                                EXPECT_STREQ(SDL_GetWindowTitle(platform::SdlWindowOf(g_MainWindow.m_hWnd)), "Tovaro Demo");
                                ui::cDialogWindow* w = ui::g_lpSetupDialog->m_hWnd;
                                EXPECT_EQ(w->m_nX, 133);
                                EXPECT_EQ(w->m_nY, 104);
                                EXPECT_EQ(w->m_strCaption, "Tovaro Demo");
                                EXPECT_EQ(Item(cSetupDialog::ID_DIRECT3D)->checked, 1);
                                EXPECT_EQ(Item(cSetupDialog::ID_DIRECTDRAW)->checked, 0);
                                EXPECT_EQ(Item(cSetupDialog::ID_NOASK)->checked, 0);
                                EXPECT_EQ(Golden("setup_ja.png"), "");
                                PushKey(SDLK_ESCAPE);  // nothing
                            },
                            [] {
                                EXPECT_EQ(ui::OpenDialogCount(), 1);
                                ClickItem(cSetupDialog::ID_DIRECTDRAW);
                                ClickItem(cSetupDialog::ID_NOASK);
                            },
                            [] { ClickItem(cSetupDialog::ID_START); },
                        }));
    EXPECT_EQ(g_SystemIni.Direct3D, 0);
    EXPECT_EQ(dir.ReadFile("user_data/Boot.dat"), kDirectDrawNoAsk);
    EXPECT_TRUE(SDL_GetWindowFlags(platform::SdlWindowOf(g_MainWindow.m_hWnd)) & SDL_WINDOW_SHOWN);  // stays shown

    // The next start asks nothing and draws with the DirectDraw-like device.
    g_BootData = cBootData();
    bool shown = true;
    EXPECT_TRUE(Boot(2, {}, &shown));
    EXPECT_FALSE(shown);
    EXPECT_EQ(g_SystemIni.Direct3D, 0);
}

TEST_F(SetupTest, CancelAndTheCloseBoxEndTheStartUp) {
    const std::function<void()> ends[] = {
        [] { ClickItem(cSetupDialog::ID_CANCEL); },
        [] { PushWindowEvent(SDL_WINDOWEVENT_CLOSE); },
    };
    for (const auto& end : ends) {
        TempWorkDir dir;
        dir.MakeDirs("user_data");
        const std::string stored = Le32s({1000, 2, 1, 0, 0});
        dir.WriteFile("user_data/Boot.dat", stored);
        ASSERT_TRUE(CreateReport((dir.Path() / "Report_Game.txt").string()));
        EXPECT_FALSE(Boot(2, {[] { ClickItem(cSetupDialog::ID_DIRECTDRAW); }, end}));
        EXPECT_TRUE(BootCancelled());
        EXPECT_EQ(dir.ReadFile("user_data/Boot.dat"), stored);
        EXPECT_NE(dir.ReadFile("Report_Game.txt").find("Boot : cancelled"), std::string::npos);
    }
}

TEST_F(SetupTest, OtherDrawModesAndEnglish) {
    TempWorkDir dir;
    dir.MakeDirs("user_data");
    dir.WriteFile("user_data/Boot.dat", Le32s({1000, 2, 2, 0, 0}));
    g_SystemIni.English = 1;
    EXPECT_TRUE(Boot(3, {
                            [] {
                                // A stored mode other than 0 and 1 checks no radio.
                                EXPECT_EQ(Item(cSetupDialog::ID_DIRECT3D)->checked, 0);
                                EXPECT_EQ(Item(cSetupDialog::ID_DIRECTDRAW)->checked, 0);
                                EXPECT_EQ(Item(cSetupDialog::ID_GROUP)->text, "Drawing mode");
                                EXPECT_EQ(Item(cSetupDialog::ID_START)->text, "Start");
                                EXPECT_EQ(Item(cSetupDialog::ID_CANCEL)->text, "Cancel");
                                EXPECT_EQ(Item(cSetupDialog::ID_NOTE)->text,
                                          "Configure the detail settings at \"System.ini\".");
                                EXPECT_EQ(Item(cSetupDialog::ID_NOASK)->text, "Do not ask this dialog again");
                                EXPECT_EQ(Item(cSetupDialog::ID_DIRECT3D)->text, "Direct3D");
                                EXPECT_EQ(Golden("setup_en.png"), "");
                                ClickItem(cSetupDialog::ID_START);
                            },
                        }));
    EXPECT_EQ(g_BootData.m_nDrawMode, 2);  // Start keeps it
    EXPECT_EQ(g_SystemIni.Direct3D, 0);    // and the device is the DirectDraw family
    EXPECT_EQ(dir.ReadFile("user_data/Boot.dat"), Le32s({1000, 2, 2, 0, 0}));
}

TEST_F(SetupTest, NoWindowCountsAsStart) {
    g_MainWindow.Destroy();
    TempWorkDir dir;
    dir.MakeDirs("user_data");
    g_SystemIni.Direct3D = 2;
    EXPECT_TRUE(ApplyBootChoice());
    EXPECT_EQ(g_SystemIni.Direct3D, 1);
    EXPECT_FALSE(dir.Exists("user_data/Boot.dat"));
}

// The real player on a folder the set-up wrote: asks nothing, draws with the
// DirectDraw-like device, ends with status 0 on a close request.
TEST_F(SetupTest, RealPlayerFollowsTheStoredChoice) {
    TempWorkDir dir;
    const std::string mk = std::string(TOVARO_BINARY_DIR) + "/tovaro-mkdemo '" + (dir.Path() / "game").string() + "'";
    ASSERT_EQ(std::system(mk.c_str()), 0);
    const auto game = dir.Path() / "game";
    dir.MakeDirs("game/user_data");
    platform::ChangeDirectory(game.string());
    platform::InvalidateDirCache();
    EXPECT_TRUE(Boot(2, {[] {
                             ClickItem(cSetupDialog::ID_DIRECTDRAW);
                             ClickItem(cSetupDialog::ID_NOASK);
                         },
                         [] { ClickItem(cSetupDialog::ID_START); }}));
    platform::ChangeDirectory(dir.Path().string());
    ASSERT_EQ(dir.ReadFile("game/user_data/Boot.dat"), kDirectDrawNoAsk);
    dir.WriteFile("game/System.ini", "Direct3D=2\r\nWindowMode=1\r\nExit\r\n");
    dir.MakeDirs("run");

    testsupport::Child child = testsupport::Spawn({std::string(TOVARO_BINARY_DIR) + "/tovaro", game.string()},
                                                  (dir.Path() / "run").string(), dir.Path() / "tovaro.err");
    ASSERT_GT(child.pid, 0);
    std::string report;
    for (int i = 0; i < 2000 && report.find("Renderer : ") == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        report = platform::Cp932ToUtf8(dir.ReadFile("game/Report_Game.txt"));
    }
    EXPECT_NE(report.find("Boot : Direct3D=0 (user_data\\Boot.dat)"), std::string::npos) << report;
    EXPECT_NE(report.find("DirectDraw-like device"), std::string::npos) << report;
    ASSERT_EQ(kill(child.pid, SIGTERM), 0);
    int status = testsupport::WaitExit(child.pid, 20000);
    if (status == -1) kill(child.pid, SIGKILL);
    EXPECT_EQ(status, 0) << dir.ReadFile("tovaro.err");
    EXPECT_EQ(dir.ReadFile("game/user_data/Boot.dat"), kDirectDrawNoAsk);
}
