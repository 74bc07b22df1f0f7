#include "app/window_placement.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/files.h"
#include "app/globals.h"
#include "base/quit.h"
#include "base/system_report.h"
#include "tests/support/temp_dir.h"

namespace {

std::vector<uint8_t> Le32s(std::initializer_list<int32_t> values) {
    std::vector<uint8_t> out;
    for (int32_t v : values)
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
    return out;
}

struct ScreenOverride {
    ScreenOverride(int w, int h) { SetScreenSizeOverride(w, h); }
    ~ScreenOverride() { SetScreenSizeOverride(0, 0); }
};

TEST(WindowPlacement, FileIs32BytesInFieldOrder) {
    cWindowPlacement wp;
    wp.m_nX = 120;
    wp.m_nY = -7;
    wp.m_nWidth = 1280;
    wp.m_nHeight = 960;
    wp.m_bMaximized = 1;
    EXPECT_EQ(wp.SaveBytes(), Le32s({1000, 5, 120, -7, 1280, 960, 1, 0}));

    ScreenOverride screen(1920, 1040);
    cWindowPlacement back;
    ASSERT_TRUE(back.LoadBytes(Le32s({1000, 5, 120, 30, 1280, 960, 1, 0}), "Window.dat"));
    EXPECT_EQ(back.SaveBytes(), Le32s({1000, 5, 120, 30, 1280, 960, 1, 0}));
}

TEST(WindowPlacement, PositionIsClampedToTheScreenAsItLoads) {
    ScreenOverride screen(1024, 738);
    struct Case {
        int x, y, wantX, wantY;
    } cases[] = {
        {-50, 10, 0, 10}, {10, 5000, 10, 738}, {1024, 738, 1024, 738}, {1025, -1, 1024, 0}, {0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        cWindowPlacement wp;
        ASSERT_TRUE(wp.LoadBytes(Le32s({1000, 5, c.x, c.y, 640, 480, 0, 0}), "Window.dat"));
        EXPECT_EQ(wp.m_nX, c.wantX) << c.x;
        EXPECT_EQ(wp.m_nY, c.wantY) << c.y;
        EXPECT_EQ(wp.m_nWidth, 640);  // sizes are not clamped
    }
}

TEST(WindowPlacement, DamagedFileKeepsTheRecord) {
    cWindowPlacement wp;
    wp.m_nX = 77;
    EXPECT_FALSE(wp.LoadBytes(Le32s({1000, 5, 1, 2, 3}), "Window.dat"));          // truncated
    EXPECT_FALSE(wp.LoadBytes(Le32s({1000, 6, 1, 2, 3, 4, 5, 6, 0}), "Window.dat"));  // too many fields
    EXPECT_FALSE(wp.LoadBytes(Le32s({1001, 5, 1, 2, 3, 4, 5, 0}), "Window.dat"));  // too new
    EXPECT_EQ(wp.m_nX, 77);
}

TEST(WindowPlacement, StartUpPlan) {
    struct Case {
        const char* name;
        int mode;
        bool loaded;
        int w, h, max;
        bool move, setClient, zoom, maximize;
    } cases[] = {
        {"full screen", 0, true, 1280, 960, 1, false, false, false, false},
        {"no file", 1, false, 0, 0, 0, false, false, true, false},
        {"zoom 2 kept", 1, true, 1280, 960, 0, true, true, false, false},
        {"not a zoom step", 1, true, 1000, 700, 0, true, false, true, false},
        {"mixed multiples", 1, true, 640, 960, 0, true, true, false, false},
        {"0 x 0 in zoom steps", 1, true, 0, 0, 0, true, false, true, false},
        {"negative size", 1, true, -640, -480, 0, true, false, true, false},
        {"free size", 2, true, 800, 600, 0, true, true, false, false},
        {"free size too small", 2, true, 300, 600, 0, true, false, true, false},
        {"maximised", 1, true, 640, 480, 1, true, true, false, true},
        {"unknown mode", 3, true, 640, 480, 0, true, false, false, false},
    };
    for (const Case& c : cases) {
        cWindowPlacement wp;
        wp.m_nX = 33;
        wp.m_nY = 44;
        wp.m_nWidth = c.w;
        wp.m_nHeight = c.h;
        wp.m_bMaximized = c.max;
        WindowPlacementPlan plan = PlanWindowPlacement(c.mode, c.loaded, wp);
        EXPECT_EQ(plan.bMove, c.move) << c.name;
        EXPECT_EQ(plan.bSetClient, c.setClient) << c.name;
        EXPECT_EQ(plan.bZoomToFit, c.zoom) << c.name;
        EXPECT_EQ(plan.bMaximize, c.maximize) << c.name;
        if (plan.bMove) {
            EXPECT_EQ(plan.nX, 33) << c.name;
            EXPECT_EQ(plan.nY, 44) << c.name;
        }
        if (plan.bSetClient) {
            EXPECT_EQ(plan.nWidth, c.w) << c.name;
            EXPECT_EQ(plan.nHeight, c.h) << c.name;
        }
    }
}

TEST(WindowPlacement, CloseSavesOnlyWhenItShould) {
    testsupport::TempWorkDir dir;
    dir.MakeDirs("user_data");
    struct Case {
        const char* name;
        int mode;
        bool running, minimized, quit, written;
    } cases[] = {
        {"full screen", 0, true, false, false, false}, {"not running", 1, false, false, false, false},
        {"minimised", 1, true, true, false, false},    {"quitting", 1, true, false, true, false},
        {"window", 2, true, false, false, true},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(dir.Path() / "user_data" / "Window.dat");
        platform::InvalidateDirCache();
        g_bQuit = c.quit ? 1 : 0;
        const bool ok = SaveWindowPlacementOnClose(c.mode, c.running, c.minimized, 10, 20, 1280, 960, true);
        g_bQuit = 0;
        EXPECT_EQ(ok, c.written) << c.name;
        EXPECT_EQ(dir.Exists("user_data/Window.dat"), c.written) << c.name;
    }
    const std::string bytes = dir.ReadFile("user_data/Window.dat");
    const std::vector<uint8_t> want = Le32s({1000, 5, 10, 20, 1280, 960, 1, 0});
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()), want);
}

}  // namespace
