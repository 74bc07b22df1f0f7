#include "frontend/ui/dialog.h"

#include "base/app_state.h"
#include "frontend/ui/dialog_host.h"
#include "frontend/ui/canvas.h"
#include "frontend/ui/controls.h"
#include "frontend/ui/ui_look.h"
#include "frontend/ui/ui_messages.h"
#include "media/gfx/dd_init.h"
#include "platform/event_pump.h"
#include "platform/frame_mailbox.h"

#include <SDL.h>

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

void ApplyCursorCount() { SDL_ShowCursor(g_nCursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE); }

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
    if (top && top->EditBox(&x, &y, &w, &h)) {
        if (!SDL_IsTextInputActive()) SDL_StartTextInput();
        SDL_Rect r{x, y, w, h};
        if (SDL_Renderer* ren = DialogHostWindow() ? SDL_GetRenderer(DialogHostWindow()) : nullptr) {
            int x2 = 0, y2 = 0;
            SDL_RenderLogicalToWindow(ren, static_cast<float>(x), static_cast<float>(y), &r.x, &r.y);
            SDL_RenderLogicalToWindow(ren, static_cast<float>(x + w), static_cast<float>(y + h), &x2, &y2);
            r.w = x2 - r.x;
            r.h = y2 - r.y;
        }
        SDL_SetTextInputRect(&r);
    } else if (SDL_IsTextInputActive()) {
        SDL_StopTextInput();
    }
}

struct Swallowed {
    bool request = false, frame = false, close = false;
};

void HandleEvent(cDialogWindow& win, const SDL_Event& e, Swallowed& sw) {
    const uint32_t programType = platform::ProgramEventType();
    if (programType != 0 && e.type == programType) {
        switch (static_cast<platform::UserEvent>(e.user.code)) {
            case platform::UserEvent::Close: sw.close = true; break;
            case platform::UserEvent::Request: sw.request = true; break;
            case platform::UserEvent::Frame: sw.frame = true; break;
        }
        return;
    }
    platform::NotifySdlEventObservers(e);
    SDL_Window* main = DialogHostWindow();
    switch (e.type) {
        case SDL_QUIT:
            NoteQuitSignal();
            g_session.signalled = true;
            sw.close = true;
            break;
        case SDL_WINDOWEVENT:
            if (!main || e.window.windowID != SDL_GetWindowID(main)) break;
            if (e.window.event == SDL_WINDOWEVENT_CLOSE) win.Send(WM_CLOSE);
            g_bActive = NextActiveState(g_bActive.load(), e);
            break;
        case SDL_KEYDOWN: {
            int vk = VirtualKeyOf(e.key.keysym.sym);
            SetKeyHeld(vk, true);
            if (e.key.keysym.mod & KMOD_CTRL) SetKeyHeld(VK_CONTROL, true);
            if (vk) win.KeyDown(vk, (e.key.keysym.mod & KMOD_SHIFT) != 0, (e.key.keysym.mod & KMOD_CTRL) != 0);
            break;
        }
        case SDL_KEYUP: {
            int vk = VirtualKeyOf(e.key.keysym.sym);
            SetKeyHeld(vk, false);
            if (!(e.key.keysym.mod & KMOD_CTRL)) SetKeyHeld(VK_CONTROL, false);
            break;
        }
        case SDL_TEXTINPUT:
            win.TextInput(e.text.text);
            break;
        case SDL_TEXTEDITING:
            win.TextEditing(e.edit.text);
            break;
        case SDL_TEXTEDITING_EXT:
            win.TextEditing(e.editExt.text ? e.editExt.text : "");
            SDL_free(e.editExt.text);
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_LEFT) win.MouseDown(e.button.x, e.button.y, e.button.clicks >= 2);
            break;
        case SDL_MOUSEBUTTONUP:
            if (e.button.button == SDL_BUTTON_LEFT) win.MouseUp(e.button.x, e.button.y);
            break;
        case SDL_MOUSEMOTION:
            win.MouseMove(e.motion.x, e.motion.y);
            break;
        case SDL_MOUSEWHEEL:
            win.MouseWheel(e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y);
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
        SDL_SetHint(SDL_HINT_IME_SUPPORT_EXTENDED_TEXT, "1");
    }
    SDL_Window* hostWindow = DialogHostWindow();
    if (SDL_GetWindowFlags(hostWindow) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(hostWindow);

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
        SDL_Event e;
        bool got = SDL_PollEvent(&e) != 0;
        if (!got) {
            if (dirty) {
                Compose();
                dirty = false;
                continue;
            }
            if (g_idleHook) {
                auto hook = g_idleHook;
                hook();
                SDL_Delay(1);
                continue;
            }
            got = SDL_WaitEventTimeout(&e, 100) != 0;
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

int VirtualKeyOf(int k) {
    if (k >= SDLK_a && k <= SDLK_z) return 'A' + (k - SDLK_a);
    if (k >= SDLK_0 && k <= SDLK_9) return '0' + (k - SDLK_0);
    if (k >= SDLK_F1 && k <= SDLK_F12) return VK_F1 + (k - SDLK_F1);
    switch (k) {
        case SDLK_BACKSPACE: return VK_BACK;
        case SDLK_TAB: return VK_TAB;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return VK_RETURN;
        case SDLK_ESCAPE: return VK_ESCAPE;
        case SDLK_SPACE: return VK_SPACE;
        case SDLK_PAGEUP: return VK_PRIOR;
        case SDLK_PAGEDOWN: return VK_NEXT;
        case SDLK_END: return VK_END;
        case SDLK_HOME: return VK_HOME;
        case SDLK_LEFT: return VK_LEFT;
        case SDLK_UP: return VK_UP;
        case SDLK_RIGHT: return VK_RIGHT;
        case SDLK_DOWN: return VK_DOWN;
        case SDLK_INSERT: return VK_INSERT;
        case SDLK_DELETE: return VK_DELETE;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT: return VK_SHIFT;
        case SDLK_LCTRL:
        case SDLK_RCTRL: return VK_CONTROL;
        default: return 0;
    }
}

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
