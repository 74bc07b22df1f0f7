// Golden frames of the title on the demo: the menu in Direct3D 32-bit and
// DirectDraw 8-bit, both slot lists, save mode 2, the picture menu, and a
// lost page drawn again.
#include "app/scene_manager.h"
#include "tests/app/scenes/scene_harness.h"

#include "frontend/frontend_services.h"
#include "media/text/cmd_menu.h"
#include "media/input/menu_cursor.h"
#include "platform/cp932.h"
#include "frontend/scenes/scene_title.h"
#include "media/gfx/dd_blit.h"

namespace {

using namespace scenetest;

// The first frame of the menu after the fade-in.
std::vector<uint32_t> MenuFrame(DemoRun& run) {
    if (!run.StepUntilState(1)) return {};
    run.Step();
    return run.Shown();
}

void WriteSlot(int n, int score) {
    cGameProgress p;
    p.Reset(0);
    p.m_nScore = score;
    p.m_stSaveTime = {static_cast<uint16_t>(2020 + n % 10), static_cast<uint16_t>(1 + n % 12), 0,
                      static_cast<uint16_t>(1 + n % 28), static_cast<uint16_t>(n % 24),
                      static_cast<uint16_t>((7 * n) % 60), 0, 0};
    std::string name;
    StorySlotFileName(name, n);
    ASSERT_TRUE(p.SaveFile(name));
}

// A 24-bit Windows bitmap w x h, pixels 0x00RRGGBB, top row first.
std::string Bmp24(int w, int h, const std::vector<uint32_t>& px) {
    const int stride = (w * 3 + 3) & ~3;
    const uint32_t size = 54 + static_cast<uint32_t>(stride * h);
    std::string b(size, '\0');
    auto le = [&](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
    };
    b[0] = 'B', b[1] = 'M';
    le(2, size, 4);
    le(10, 54, 4);
    le(14, 40, 4);
    le(18, static_cast<uint32_t>(w), 4);
    le(22, static_cast<uint32_t>(h), 4);
    le(26, 1, 2);
    le(28, 24, 2);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) le(54 + size_t(h - 1 - y) * stride + size_t(x) * 3, px[size_t(y) * w + x], 3);
    return b;
}

// Seven 96 x 32 item strips: a colour per action with a darker edge.
std::string GameModeBmp() {
    const uint32_t colours[7] = {0xE04040, 0x40A0E0, 0xE0C040, 0x40C060, 0xA060E0, 0xE08030, 0x808080};
    std::vector<uint32_t> px(96 * 224);
    for (int y = 0; y < 224; ++y)
        for (int x = 0; x < 96; ++x) {
            const int row = y / 32, yy = y % 32;
            const bool edge = x < 2 || x >= 94 || yy < 2 || yy >= 30;
            px[size_t(y) * 96 + x] = edge ? 0x202020 : colours[row] + static_cast<uint32_t>(x / 12);
        }
    return Bmp24(96, 224, px);
}

TEST(TitleGolden, MenuInBothDeviceFamilies) {
    struct Case {
        const char* golden;
        int direct3D, bpp, windowMode;
    };
    for (const Case& c : {Case{"title_d3d32.png", 1, 32, 1}, Case{"title_dd8.png", 0, 8, 0}}) {
        SCOPED_TRACE(c.golden);
        StartOptions o;
        o.direct3D = c.direct3D;
        o.bpp = c.bpp;
        o.windowMode = c.windowMode;
        DemoRun run(o);
        ASSERT_TRUE(run.Started());
        EXPECT_EQ(Golden(c.golden, MenuFrame(run)), "");
        // A restored page is flagged lost: the title draws it again.
        ASSERT_EQ(g_SceneSurfaces.size(), 1u);
        DDFillSurface(&g_SceneSurfaces.at(0), 5);
        g_SceneSurfaces.at(0).bLost = 1;
        run.Step();
        EXPECT_EQ(g_SceneSurfaces.at(0).bLost, 0);
        EXPECT_EQ(Golden(c.golden, run.Shown()), "");
    }
}

TEST(TitleGolden, EnglishDemo) {
    for (int saveMode : {1, 2}) {
        SCOPED_TRACE(saveMode);
        StartOptions o;
        o.english = true;
        o.tweak = [saveMode](cSystemData& sd) { sd.m_nSaveMode = saveMode; };
        DemoRun run(o);
        ASSERT_TRUE(run.Started());
        EXPECT_EQ(g_SystemData.m_vecTitleMenu.at(0).m_strLabel, "New Game");
        EXPECT_EQ(g_SystemData.m_vecTexts.size(), 39u);
        EXPECT_EQ(g_SystemData.m_vecTexts.at(38), "By name, Z to A");
        EXPECT_EQ(EnglishSetting(), 1);
        if (saveMode == 2) WriteSlot(0, 1);
        EXPECT_EQ(Golden(saveMode == 2 ? "title_savemode2_en.png" : "title_en.png", MenuFrame(run)), "");
    }
}

TEST(TitleGolden, SlotLists) {
    DemoRun run;
    ASSERT_TRUE(run.Started());
    g_SystemData.m_nSaveMode = 1;
    for (int n : {0, 2, 5, 93, 98}) WriteSlot(n, n);
    // The new game's list, cursor on the fourth row.
    g_SceneState.g_nGameType = TITLE_NEWGAME;
    ASSERT_TRUE(run.StepUntilState(1));
    run.Tap(kKeyDecide);
    for (int i = 0; i < 3; ++i) run.Tap(platform::VK_DOWN);
    EXPECT_EQ(Golden("slots_new.png", run.Shown()), "");
    run.Tap(kKeyCancel);
    // The continue list on its last page: slots 90 to 99.
    run.Tap(platform::VK_DOWN);
    run.Tap(kKeyDecide);
    ASSERT_EQ(run.State(), 3);
    for (int i = 0; i < 11; ++i) run.Tap(platform::VK_RIGHT);
    run.Tap(platform::VK_UP);
    EXPECT_EQ(Golden("slots_continue.png", run.Shown()), "");
}

TEST(TitleGolden, SaveMode2AndPictureMenu) {
    {
        StartOptions o;
        o.tweak = [](cSystemData& sd) { sd.m_nSaveMode = 2; };
        DemoRun run(o);
        ASSERT_TRUE(run.Started());
        WriteSlot(0, 1);
        EXPECT_EQ(Golden("title_savemode2.png", MenuFrame(run)), "");
    }
    StartOptions o;
    o.prepare = [](const testsupport::TempWorkDir& dir) { dir.WriteFile("bmp/GameMode.bmp", GameModeBmp()); };
    o.tweak = [](cSystemData& sd) {
        sd.m_bTitleMenuCentred = 1;
        sd.m_vecTitleMenu.at(TITLE_REPLAY).m_nEnabled = 0;
    };
    DemoRun run(o);
    ASSERT_TRUE(run.Started());
    g_SceneState.g_nGameType = TITLE_OPTIONS;
    EXPECT_EQ(Golden("title_pictures.png", MenuFrame(run)), "");
    const cSceneTitle* t = dynamic_cast<const cSceneTitle*>(g_SceneManager.SceneOf(SCENE_TITLE));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->m_nPanelX, 288 - 96 / 2);
    EXPECT_EQ(g_SceneSurfaces.at(0).nWidth, 96 + 32);
    EXPECT_EQ(g_MenuCursor.Cur().m_nY, 4);
}

// A DirectDraw loss: the scene manager restores the primary surface and the
// page, which comes back flagged lost and is drawn again by the title.
TEST(TitleGolden, DirectDrawLossRedrawsThePage) {
    StartOptions o;
    o.direct3D = 0;
    DemoRun run(o);
    ASSERT_TRUE(run.Started());
    const std::vector<uint32_t> before = MenuFrame(run);
    ASSERT_EQ(before.size(), 640u * 480u);
    ASSERT_EQ(g_SceneSurfaces.size(), 1u);
    g_PrimarySurface.lpDD->lpSurface->lost = true;
    g_SceneSurfaces.at(0).lpDD->lpSurface->lost = true;
    run.Step();
    EXPECT_EQ(g_SceneSurfaces.at(0).bLost, 0);
    EXPECT_FALSE(g_SceneSurfaces.at(0).lpDD->lpSurface->lost);
    const std::vector<uint32_t> after = run.Shown();
    EXPECT_TRUE(after == before);
}

// The boxed command list: enabled entries only, the cursor column left free,
// centred on x 320; a list of empty labels draws nothing.
TEST(CmdMenuGolden, BoxedListOfEnabledEntries) {
    DemoRun run;
    ASSERT_TRUE(run.Started());
    const std::vector<cCmd> list = {
        {1, SJ("セーブ")}, {0, SJ("オートセーブ")}, {1, SJ("もどる")}, {1, SJ("タイトルへ")},
    };
    run.Step();  // the title's Init loads the text-box picture
    DDFillSurface(&g_BackBuffer, 16);
    DrawCmdMenu(&g_BackBuffer, CmdMenuCenterX(320, list), 200, list);
    const std::vector<cCmd> empty = {{1, ""}, {0, "hidden"}};
    DrawCmdMenu(&g_BackBuffer, 0, 0, empty);
    PresentFrame();
    EXPECT_EQ(Golden("cmd_menu.png", run.Shown()), "");
}

}  // namespace
