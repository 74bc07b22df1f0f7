#include "frontend/ui/dialog.h"

#include "base/app_state.h"
#include "frontend/ui/dialog_host.h"
#include "frontend/ui/canvas.h"
#include "frontend/ui/controls.h"
#include "frontend/ui/ui_look.h"
#include "frontend/ui/ui_messages.h"
#include "media/gfx/dd_init.h"
#include "platform/events.h"
#include "platform/frame_mailbox.h"
#include "platform/window.h"


#include <algorithm>
#include <atomic>
#include <map>

namespace ui {
namespace {

std::map<int, DialogTemplate>& Templates() {
    static std::map<int, DialogTemplate> templates;
    return templates;
}

bool g_bHookInstalled = false;
std::atomic<bool> g_bQuitSignal{false};
std::function<void()> g_idleHook;

// The state shared by nested dialog loops.
struct Session {
    std::vector<uint32_t> base;      // the game frame under the dialogs
    std::vector<uint32_t> composed;  // as last shown
    std::vector<cDialogWindow*> stack;
    bool signalled = false;
    int savedCursorCount = 0;
};
Session g_session;

constexpr int kW = platform::cFrameMailbox::kWidth;
constexpr int kH = platform::cFrameMailbox::kHeight;

void ApplyCursorCount() { platform::ShowCursor(g_nCursorCount >= 0); }

void Compose() {
    g_session.composed = g_session.base;
    auto face = TemplateFace();
    cCanvas c(g_session.composed.data(), kW, kH);
    for (cDialogWindow* w : g_session.stack) w->Paint(c, *face);
    if (cDialogHost* host = DialogHost()) host->ShowFrame(g_session.composed.data());
}

// Text input is on only while a text entry has the focus, at its box.
void RefreshTextInput(cDialogWindow* top) {
    int x = 0, y = 0, w = 0, h = 0;
    if (top && top->EditBox(&x, &y, &w, &h))
        platform::StartTextInput(DialogHostWindow(), x, y, w, h);
    else
        platform::StopTextInput();
}

struct Swallowed {
    bool request = false, frame = false, close = false;
};

void HandleEvent(cDialogWindow& win, const platform::Event& e, Swallowed& sw) {
    using Kind = platform::Event::Kind;
    if (e.kind == Kind::Program) {
        switch (e.program) {
            case platform::UserEvent::Close: sw.close = true; break;
            case platform::UserEvent::Request: sw.request = true; break;
            case platform::UserEvent::Frame: sw.frame = true; break;
        }
        return;
    }
    platform::NotifyEventObservers(e);
    const platform::Window* main = DialogHostWindow();
    switch (e.kind) {
        case Kind::Quit:
            NoteQuitSignal();
            g_session.signalled = true;
            sw.close = true;
            break;
        case Kind::Window:
            if (!main || e.windowId != main->Id()) break;
            if (e.change == platform::Event::WindowChange::Close) win.Send(WM_CLOSE);
            g_bActive = NextActiveState(g_bActive.load(), e);
            break;
        case Kind::KeyDown:
            SetKeyHeld(e.key, true);
            if (e.ctrl) SetKeyHeld(VK_CONTROL, true);
            if (e.key) win.KeyDown(e.key, e.shift, e.ctrl);
            break;
        case Kind::KeyUp:
            SetKeyHeld(e.key, false);
            if (!e.ctrl) SetKeyHeld(VK_CONTROL, false);
            break;
        case Kind::TextInput:
            win.TextInput(e.text.c_str());
            break;
        case Kind::TextEditing:
            win.TextEditing(e.text.c_str());
            break;
        case Kind::MouseDown:
            if (e.button == platform::Event::Button::Left) win.MouseDown(e.x, e.y, e.clicks >= 2);
            break;
        case Kind::MouseUp:
            if (e.button == platform::Event::Button::Left) win.MouseUp(e.x, e.y);
            break;
        case Kind::MouseMotion:
            win.MouseMove(e.x, e.y);
            break;
        case Kind::MouseWheel:
            win.MouseWheel(e.wheel);
            break;
        default:
            break;
    }
}

// The modal loop of one dialog window; its result, or -1 when it cannot show.
int RunDialogBox(const DialogTemplate* t, DlgProc proc) {
    auto face = TemplateFace();
    if (!t || !face || !DialogHostWindow()) return -1;
    const bool outer = g_session.stack.empty();
    if (outer) {
        const uint32_t* px = platform::FrameMailbox().Take();
        if (!px) px = platform::FrameMailbox().Last();
        if (px)
            g_session.base.assign(px, px + static_cast<size_t>(kW) * kH);
        else
            g_session.base.assign(static_cast<size_t>(kW) * kH, kFrameBackground);
        g_session.signalled = false;
        g_session.savedCursorCount = g_nCursorCount;
        while (g_nCursorCount < 0) ++g_nCursorCount;
        ApplyCursorCount();
        platform::AskForLongCompositionText();
    }
    if (DialogHostWindow()->Minimized()) DialogHostWindow()->Restore();

    cDialogWindow win(*t, proc);
    g_session.stack.push_back(&win);
    win.Send(WM_INITDIALOG, 0, 0);
    RefreshTextInput(&win);
    Swallowed sw;
    bool dirty = true, signalSent = false;
    while (!win.m_bEnded) {
        if (g_session.signalled && !signalSent) {
            signalSent = true;
            win.Send(UM_SIGNALCLOSE);
            continue;
        }
        platform::Event e;
        bool got = platform::PollEvent(e);
        if (!got) {
            if (dirty) {
                Compose();
                dirty = false;
                continue;
            }
            if (g_idleHook) {
                auto hook = g_idleHook;
                hook();
                platform::DelayMs(1);
                continue;
            }
            got = platform::WaitEventLooking(e, 100);
            if (!got) continue;
        }
        HandleEvent(win, e, sw);
        RefreshTextInput(&win);
        dirty = true;
    }
    win.Send(WM_DESTROY);
    g_session.stack.pop_back();
    RefreshTextInput(g_session.stack.empty() ? nullptr : g_session.stack.back());
    if (sw.request) platform::PushProgramEvent(platform::UserEvent::Request);
    if (sw.frame) platform::PushProgramEvent(platform::UserEvent::Frame);
    if (sw.close) platform::PushProgramEvent(platform::UserEvent::Close);
    if (outer) {
        g_nCursorCount = g_session.savedCursorCount;
        ApplyCursorCount();
        if (cDialogHost* host = DialogHost()) host->PresentFrame(true);
    } else {
        Compose();
    }
    return win.m_nResult;
}

}  // namespace

void RegisterDialogTemplate(int id, DialogTemplate t) { Templates()[id] = std::move(t); }

const DialogTemplate* FindDialogTemplate(int id) {
    auto it = Templates().find(id);
    return it == Templates().end() ? nullptr : &it->second;
}

bool KeyboardHookInstalled() { return g_bHookInstalled; }
void UnhookKeyboardHooks() { g_bHookInstalled = false; }

const std::vector<uint32_t>& ComposedFrame() { return g_session.composed; }
int OpenDialogCount() { return static_cast<int>(g_session.stack.size()); }

void NoteQuitSignal() { g_bQuitSignal = true; }
bool TakeQuitSignal() { return g_bQuitSignal.exchange(false); }

void SetModalIdleHook(std::function<void()> hook) { g_idleHook = std::move(hook); }

cDialog::cDialog(int templateId, cWindow* owner, DlgProc proc) : m_lpOwner(owner) {
    m_bDialog = 1;
    m_nTemplateId = templateId;
    m_lpfnDlgProc = proc;
    m_nReqX = m_nReqY = kNoPosition;
    SetLayout(0, 0, 100, 100, 640, 480, 0);
}

cDialog::~cDialog() = default;

int cDialog::DoModal(int /*options: always 0, nothing is registered to hide*/) {
    if (m_hWnd) return 0;
    Close(0);
    const bool hadHook = KeyboardHookInstalled();
    int r = RunDialogBox(Template(), m_lpfnDlgProc);
    m_hWnd = nullptr;
    if (!hadHook) UnhookKeyboardHooks();
    return r;
}

void cDialog::Close(int result) {
    m_nResult = result;
    m_vecBound.clear();
    if (m_hWnd) EndDialog(m_hWnd, result);
}

intptr_t cDialog::WndProc(cDialogWindow* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam) {
    return DialogProc(hwnd, msg, wParam, lParam);
}

intptr_t cDialog::DialogProc(cDialogWindow* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam) {
    intptr_t r = cWindow::WndProc(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_INITDIALOG:
            OnInitDialog(wParam, lParam);
            break;
        case UM_MIRRORKEY:
            hwnd->Send(WM_KEYDOWN, wParam, lParam);
            break;
        case WM_KEYDOWN: {
            std::vector<cControl*> bound = m_vecBound;
            for (cControl* c : bound) c->OnKey(static_cast<int>(wParam), lParam, KeyHeld(VK_CONTROL));
            break;
        }
        case WM_NOTIFY:
            for (cControl* c : m_vecBound)
                if (c->OnNotify(wParam, lParam)) break;
            break;
        case WM_HSCROLL:
        case WM_VSCROLL:
            for (cControl* c : m_vecBound)
                if (c->OnScroll(static_cast<int>(LoWord(wParam)), lParam)) break;
            break;
        default:
            break;
    }
    return r;
}

intptr_t cDialog::OnDialogMessage(cDialogWindow* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam) {
    intptr_t r = WndProc(hwnd, msg, wParam, lParam);
    if (msg == WM_DESTROY) return 1;
    if (msg == WM_CLOSE || msg == UM_SIGNALCLOSE) {
        Close(0);
        return 1;
    }
    return r != 0 ? 1 : 0;
}

void cDialog::OnInitDialog(uintptr_t, intptr_t) {
    m_vecBound.clear();
    if (m_hWnd) m_hWnd->m_lpDlgClass = this;
    RefreshStyle();
    PlaceWindow();
    InstallKeyboardHook(m_hWnd, 0);
}

bool cDialog::InstallKeyboardHook(cDialogWindow* hwnd, int flag) {
    m_Hook.m_hWnd = hwnd;
    m_Hook.m_nFlag = flag;
    if (hwnd) hwnd->m_lpHook = &m_Hook;
    g_bHookInstalled = true;
    return true;
}

}  // namespace ui
