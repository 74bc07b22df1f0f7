#include "frontend/ui/window.h"

#include "frontend/ui/dialog_host.h"
#include "frontend/ui/ui_look.h"
#include "frontend/ui/ui_messages.h"


namespace ui {

Point ClampToWorkArea(int reqX, int reqY, int width, int height, int workRight, int workBottom) {
    Point p{reqX, reqY};
    if (p.x < 0)
        p.x = 0;
    else if (p.x + width >= workRight)
        p.x = workRight - width;
    if (p.y < 0)
        p.y = 0;
    else if (p.y + height >= workBottom)
        p.y = workBottom - height;
    return p;
}

DialogPlacement PlaceOverMainWindow(bool windowed, int mainX, int mainY, int mainW, int mainH, int dluW, int dluH,
                                    int cursorDy) {
    const int hw = ScaleDluX(dluW) / 2, hh = ScaleDluY(dluH) / 2;
    DialogPlacement d;
    if (windowed) {
        d.pos.x = mainX + (mainW + 1) / 2 - hw;
        d.pos.y = mainY + (mainH + 1) / 2 - hh;
    } else {
        d.pos.x = 320 - hw;
        d.pos.y = 240 - hh;
    }
    d.cursor = {d.pos.x + hw, d.pos.y + hh + cursorDy};
    return d;
}

void SetCursorPos(int x, int y) {
    platform::Window* w = DialogHostWindow();
    if (!w || !w->HasInputFocus()) return;
    w->WarpMouse(x, y);
}

void cWindow::SetLayout(int clientW, int clientH, int minW, int minH, int maxW, int maxH, uint32_t style) {
    m_dwStyle = style;
    m_nMinW = minW, m_nMinH = minH, m_nMaxW = maxW, m_nMaxH = maxH;
    m_rcClient = {0, 0, clientW, clientH};
    if (!m_bDialog) RecalcLayout();
}

void cWindow::RecalcLayout() {
    int l = 0, r = 0, t = 0, b = 0;
    if ((m_dwStyle & WS_CAPTION) == WS_CAPTION) t += kCaptionHeight;  // WS_DLGFRAME alone: no caption bar
    if ((m_dwStyle & WS_THICKFRAME) || (m_dwStyle & WS_DLGFRAME)) l += kFrameWidth, r += kFrameWidth, t += kFrameWidth, b += kFrameWidth;
    if (m_dwStyle & WS_HSCROLL) b += kScrollBarSize;
    if (m_dwStyle & WS_VSCROLL) r += kScrollBarSize;
    m_nFrameLeft = l, m_nFrameRight = r, m_nFrameTop = t, m_nFrameBottom = b;
    m_nFrameH = l + r;
    m_nFrameV = t + b;
    m_nWindowW = m_rcClient.right + m_nFrameH;
    m_nWindowH = m_rcClient.bottom + m_nFrameV;
}

void cWindow::RefreshStyle() {
    if (m_hWnd) {
        m_dwStyle = m_hWnd->m_dwStyle;
        m_rcClient = {0, 0, m_hWnd->m_nClientW, m_hWnd->m_nClientH};
    }
    RecalcLayout();
}

void cWindow::AddStyle(uint32_t bits) {
    if (m_hWnd) m_hWnd->m_dwStyle |= bits;
    RefreshStyle();
}

void cWindow::RemoveStyle(uint32_t bits) {
    if (m_hWnd) m_hWnd->m_dwStyle &= ~bits;
    RefreshStyle();
}

void cWindow::FillMinMaxInfo(MinMaxInfo* info) const {
    if (!info) return;
    info->ptMinTrackSize = {m_nMinW + m_nFrameLeft + m_nFrameRight, m_nMinH + m_nFrameTop + m_nFrameBottom};
    info->ptMaxTrackSize = {m_nMaxW + m_nFrameLeft + m_nFrameRight, m_nMaxH + m_nFrameTop + m_nFrameBottom};
}

void cWindow::GetWindowPos(int* x, int* y) const {
    *x = m_hWnd ? m_hWnd->m_nX : 0;
    *y = m_hWnd ? m_hWnd->m_nY : 0;
}

void cWindow::MoveTo(int x, int y) {
    if (m_hWnd) {
        m_hWnd->m_nX = x;
        m_hWnd->m_nY = y;
        m_hWnd->m_nW = m_nWindowW;
        m_hWnd->m_nH = m_nWindowH;
    }
    m_nPosX = x;
    m_nPosY = y;
    RecalcLayout();
}

void cWindow::PlaceWindow() {
    if (m_nReqX == kNoPosition || m_nReqY == kNoPosition) return;
    Point p = ClampToWorkArea(m_nReqX, m_nReqY, m_nWindowW, m_nWindowH, kDesktopWidth, kDesktopHeight);
    m_nReqX = p.x;
    m_nReqY = p.y;
    MoveTo(p.x, p.y);
}

void cWindow::CenterOnDesktop() { MoveTo((kDesktopWidth - m_nWindowW) / 2, (kDesktopHeight - m_nWindowH) / 2); }

void cWindow::SetPosAndClientSize(int x, int y, int w, int h) {
    m_rcClient = {0, 0, w, h};
    if (m_hWnd) {
        m_hWnd->m_nClientW = w;
        m_hWnd->m_nClientH = h;
        m_hWnd->m_nX = x;
        m_hWnd->m_nY = y;
        m_hWnd->m_nW = w + m_nFrameLeft + m_nFrameRight;
        m_hWnd->m_nH = h + m_nFrameTop + m_nFrameBottom;
    }
    RecalcLayout();
}

void cWindow::SetClientSize(int w, int h) {
    int x = 0, y = 0;
    GetWindowPos(&x, &y);
    SetPosAndClientSize(x, y, w, h);
}

Rect* cWindow::GetClientRect(Rect* rc) const {
    if (!m_hWnd || !rc) return nullptr;
    *rc = {0, 0, m_hWnd->m_nClientW, m_hWnd->m_nClientH};
    return rc;
}

intptr_t cWindow::WndProc(cDialogWindow* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam) {
    m_hWnd = hwnd;
    if (msg == WM_COMMAND) {
        if (m_bInCommand) return 0;  // a command sent while one is handled is dropped
        m_bInCommand = 1;
    }
    switch (msg) {
        case WM_DESTROY:
            m_hWnd = nullptr;
            return 1;
        case WM_MOVE:
            GetWindowPos(&m_nPosX, &m_nPosY);
            return 1;
        case WM_SIZE:
            RefreshStyle();
            return 1;
        case WM_ACTIVATEAPP:
            return 1;
        case WM_PAINT:
            OnPaint();
            return 1;
        case WM_GETMINMAXINFO:
            FillMinMaxInfo(reinterpret_cast<MinMaxInfo*>(lParam));
            return 1;
        case WM_COMMAND:
            OnCommand(wParam, lParam);
            m_bInCommand = 0;
            return 1;
        case WM_MOUSEMOVE: OnMouseMove(wParam, lParam); return 1;
        case WM_LBUTTONDOWN: OnLButtonDown(wParam, lParam); return 1;
        case WM_RBUTTONDOWN: OnRButtonDown(wParam, lParam); return 1;
        case WM_LBUTTONDBLCLK: OnLButtonDblClk(wParam, lParam); return 1;
        case WM_RBUTTONDBLCLK: OnRButtonDblClk(wParam, lParam); return 1;
        case WM_LBUTTONUP: OnLButtonUp(wParam, lParam); return 1;
        case WM_RBUTTONUP: OnRButtonUp(wParam, lParam); return 1;
        default:
            return 0;
    }
}

}  // namespace ui
