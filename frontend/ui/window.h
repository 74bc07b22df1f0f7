// The window classes of the dialogs: the root object, a window with its
// geometry, and the pixel arithmetic of dialog units and placement. The
// dialogs' desktop and work area is the 640 × 480 game frame; positions are
// frame coordinates of a window's outer top-left corner.
#pragma once
#include <cstdint>

#include "frontend/ui/dialog_window.h"

namespace ui {

constexpr int kDesktopWidth = 640;
constexpr int kDesktopHeight = 480;
constexpr int kNoPosition = -1000;  // requested position not set

// Pixels the dialogs assume for n dialog units (truncated toward zero).
constexpr int ScaleDluX(int n) { return n * 7 / 4; }
constexpr int ScaleDluY(int n) { return n * 3 / 2; }

struct Point {
    int x = 0, y = 0;
};

// PlaceWindow's clamp of a requested outer position against a work area
// whose left and top bound is 0.
Point ClampToWorkArea(int reqX, int reqY, int width, int height, int workRight, int workBottom);

// The requested position of a dialog of W × H dialog units over the game
// window: centred on the main window (outer position and size) when windowed,
// on the 640 × 480 screen in full screen. `cursorDy`: the cursor's offset
// from the dialog's centre.
struct DialogPlacement {
    Point pos, cursor;
};
DialogPlacement PlaceOverMainWindow(bool windowed, int mainX, int mainY, int mainW, int mainH, int dluW, int dluH,
                                    int cursorDy);

// The dialogs' own position: the full-screen one, in a window too (their
// desktop is the game frame).
inline DialogPlacement PlaceOnFrame(int dluW, int dluH, int cursorDy) {
    return PlaceOverMainWindow(false, 0, 0, 0, 0, dluW, dluH, cursorDy);
}

// Puts the mouse cursor on a frame point (when the window has the focus).
void SetCursorPos(int x, int y);

struct MinMaxInfo {
    Point ptMinTrackSize, ptMaxTrackSize;
};
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

class cUiObject {
public:
    virtual ~cUiObject() = default;
    cDialogWindow* m_hWnd = nullptr;
};

class cWindow : public cUiObject {
public:
    ~cWindow() override = default;

    void SetLayout(int clientW, int clientH, int minW, int minH, int maxW, int maxH, uint32_t style);
    void RecalcLayout();
    void RefreshStyle();
    void AddStyle(uint32_t bits);
    void RemoveStyle(uint32_t bits);
    void FillMinMaxInfo(MinMaxInfo* info) const;
    void GetWindowPos(int* x, int* y) const;
    void MoveTo(int x, int y);
    void PlaceWindow();
    void CenterOnDesktop();
    void SetClientSize(int w, int h);
    void SetPosAndClientSize(int x, int y, int w, int h);
    Rect* GetClientRect(Rect* rc) const;

    virtual void OnCommand(uintptr_t, intptr_t) {}
    virtual void OnMouseMove(uintptr_t, intptr_t) {}
    virtual void OnLButtonDown(uintptr_t, intptr_t) {}
    virtual void OnRButtonDown(uintptr_t, intptr_t) {}
    virtual void OnLButtonDblClk(uintptr_t, intptr_t) {}
    virtual void OnRButtonDblClk(uintptr_t, intptr_t) {}
    virtual void OnLButtonUp(uintptr_t, intptr_t) {}
    virtual void OnRButtonUp(uintptr_t, intptr_t) {}
    virtual intptr_t OnMessage(cDialogWindow*, unsigned, uintptr_t, intptr_t) { return 0; }
    // The dispatcher: keeps the handle, guards WM_COMMAND against re-entry
    // and calls the handlers above.
    virtual intptr_t WndProc(cDialogWindow* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam);
    virtual void OnPaint() {}

    int m_nTemplateId = 0;
    DlgProc m_lpfnDlgProc = nullptr;
    int m_bDialog = 0;
    uint32_t m_dwStyle = 0;
    Rect m_rcClient;
    int m_nMinW = 0, m_nMinH = 0, m_nMaxW = 0, m_nMaxH = 0;
    int m_nFrameLeft = 0, m_nFrameRight = 0, m_nFrameTop = 0, m_nFrameBottom = 0;
    int m_nFrameH = 0, m_nFrameV = 0;
    int m_nWindowW = 0, m_nWindowH = 0;
    int m_nPosX = 0, m_nPosY = 0;
    int m_nReqX = kNoPosition, m_nReqY = kNoPosition;
    int m_bInCommand = 0;
};

}  // namespace ui
