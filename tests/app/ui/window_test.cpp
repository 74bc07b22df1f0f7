#include "frontend/ui/dialog.h"
#include "frontend/ui/ui_messages.h"
#include "frontend/ui/window.h"

#include <gtest/gtest.h>

using namespace ui;

TEST(DialogUnits, ScaleTruncatesTowardZero) {
    EXPECT_EQ(ScaleDluX(100), 175);
    EXPECT_EQ(ScaleDluY(65), 97);
    EXPECT_EQ(ScaleDluX(3), 5);
    EXPECT_EQ(ScaleDluX(-3), -5);
    EXPECT_EQ(ScaleDluY(-1), -1);
}

TEST(Placement, NameEntryOverTheMainWindow) {
    // Main window at (100, 100), 646 x 505; the name entry is 100 x 65 units.
    DialogPlacement d = PlaceOverMainWindow(true, 100, 100, 646, 505, 100, 65, 20);
    EXPECT_EQ(d.pos.x, 336);
    EXPECT_EQ(d.pos.y, 305);
    EXPECT_EQ(d.cursor.x, 423);
    EXPECT_EQ(d.cursor.y, 373);
    // Full screen (and the dialogs in a window): centred on 640 x 480.
    DialogPlacement f = PlaceOverMainWindow(false, 100, 100, 646, 505, 290, 170, -80);
    EXPECT_EQ(f.pos.x, 320 - 253);
    EXPECT_EQ(f.pos.y, 240 - 127);
    EXPECT_EQ(f.cursor.y, 240 - 80);
}

TEST(Placement, ClampTable) {
    struct Case {
        int x, y, w, h, wantX, wantY;
    };
    const Case cases[] = {
        {10, 20, 200, 100, 10, 20},     // inside
        {-5, -1, 200, 100, 0, 0},       // negative: 0
        {440, 380, 200, 100, 440, 380}, // ends one pixel before the edge
        {441, 381, 200, 100, 440, 380}, // reaches the edge: ends at it
        {600, 470, 200, 100, 440, 380},
        {-5, 400, 700, 100, 0, 380},    // wider than the area: the left bound wins only when negative
        {5, 5, 700, 500, -60, -20},     // too big: ends at the edge
    };
    for (const Case& c : cases) {
        Point p = ClampToWorkArea(c.x, c.y, c.w, c.h, 640, 480);
        EXPECT_EQ(p.x, c.wantX) << c.x << "," << c.y;
        EXPECT_EQ(p.y, c.wantY) << c.x << "," << c.y;
    }
}

namespace {
class GeometryWindow : public cWindow {
public:
    int commands = 0;
    cDialogWindow* self = nullptr;
    void OnCommand(uintptr_t, intptr_t) override {
        ++commands;
        WndProc(self, WM_COMMAND, 5, 0);  // re-entered: dropped
    }
};
}  // namespace

TEST(WindowGeometry, FrameAllowancesPlacementAndCommandGuard) {
    DialogTemplate t;
    t.style = WS_CAPTION;
    t.w = 100;
    t.h = 60;
    cDialogWindow hwnd(t, nullptr);
    GeometryWindow w;
    w.m_bDialog = 1;
    w.SetLayout(0, 0, 100, 100, 640, 480, 0);
    w.WndProc(&hwnd, WM_SIZE, 0, 0);  // RefreshStyle through the dispatcher
    EXPECT_EQ(w.m_hWnd, &hwnd);
    EXPECT_EQ(w.m_nFrameTop, 23);
    EXPECT_EQ(w.m_nFrameLeft, 3);
    EXPECT_EQ(w.m_nWindowW, 175 + 6);
    EXPECT_EQ(w.m_nWindowH, 90 + 26);
    EXPECT_EQ(hwnd.m_nW, w.m_nWindowW);
    EXPECT_EQ(hwnd.m_nH, w.m_nWindowH);
    MinMaxInfo mm;
    w.WndProc(&hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<intptr_t>(&mm));
    EXPECT_EQ(mm.ptMinTrackSize.x, 106);
    EXPECT_EQ(mm.ptMaxTrackSize.y, 480 + 26);
    // Not requested: the dialog stays where it was put (centred).
    int x0 = hwnd.m_nX;
    w.PlaceWindow();
    EXPECT_EQ(hwnd.m_nX, x0);
    w.m_nReqX = 600;
    w.m_nReqY = -4;
    w.PlaceWindow();
    EXPECT_EQ(hwnd.m_nX, 640 - 181);
    EXPECT_EQ(hwnd.m_nY, 0);
    EXPECT_EQ(w.m_nReqX, 640 - 181);
    w.CenterOnDesktop();
    EXPECT_EQ(hwnd.m_nX, (640 - 181) / 2);
    EXPECT_EQ(hwnd.m_nY, (480 - 116) / 2);
    // A command sent while a command is handled is dropped.
    w.self = &hwnd;
    EXPECT_EQ(w.WndProc(&hwnd, WM_COMMAND, 1, 0), 1);
    EXPECT_EQ(w.commands, 1);
    EXPECT_EQ(w.m_bInCommand, 0);
    w.WndProc(&hwnd, WM_DESTROY, 0, 0);
    EXPECT_EQ(w.m_hWnd, nullptr);
}
