// The window and event helpers of the dialog tests: SDL events pushed into
// the queue, and a script of steps that the dialog loop runs whenever it
// idles (one step per idle pass; once the steps are used up, the close box).
#pragma once
#include "base/app_state.h"
#include "base/main_thread.h"
#include "app/main_window.h"
#include "base/quit.h"
#include "base/thread.h"
#include "frontend/ui/dialog.h"
#include "platform/event_pump.h"
#include "platform/frame_mailbox.h"
#include "platform/message_box.h"
#include "test_dialog.h"
#include "tests/media/text/png_golden.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace uitest {

inline Uint32 WinId() { return g_MainWindow.m_hWnd ? g_MainWindow.m_hWnd->Id() : 0; }

inline void PushKey(SDL_Keycode k, Uint16 mod = 0) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.windowID = WinId();
    e.key.state = SDL_PRESSED;
    e.key.keysym.sym = k;
    e.key.keysym.mod = mod;
    SDL_PushEvent(&e);
    e.type = SDL_KEYUP;
    e.key.state = SDL_RELEASED;
    SDL_PushEvent(&e);
}

inline void PushText(const char* utf8) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    e.text.windowID = WinId();
    std::strncpy(e.text.text, utf8, sizeof e.text.text - 1);
    SDL_PushEvent(&e);
}

inline void PushEditing(const char* utf8) {
    SDL_Event e{};
    e.type = SDL_TEXTEDITING;
    e.edit.windowID = WinId();
    std::strncpy(e.edit.text, utf8, sizeof e.edit.text - 1);
    e.edit.length = static_cast<Sint32>(std::strlen(e.edit.text));
    SDL_PushEvent(&e);
}

inline void PushMouse(Uint32 type, int x, int y) {
    SDL_Event e{};
    e.type = type;
    if (type == SDL_MOUSEMOTION) {
        e.motion.windowID = WinId();
        e.motion.x = x;
        e.motion.y = y;
    } else {
        e.button.windowID = WinId();
        e.button.button = SDL_BUTTON_LEFT;
        e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.button.clicks = 1;
        e.button.x = x;
        e.button.y = y;
    }
    SDL_PushEvent(&e);
}

inline void PushWindowEvent(Uint8 event) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = WinId();
    e.window.event = event;
    SDL_PushEvent(&e);
}

// Frame centre of an item of the running test dialog.
inline ui::Point ItemCentre(int id) {
    ui::cDialogWindow* w = g_lpTestDialog ? g_lpTestDialog->m_hWnd : nullptr;
    ui::cWidget* it = w ? w->Item(id) : nullptr;
    if (!it) return {};
    return {w->ClientX() + it->x + it->w / 2, w->ClientY() + it->y + it->h / 2};
}

// A click on the centre of an item of a live dialog window.
inline void ClickItemIn(ui::cDialogWindow* w, int id) {
    ui::cWidget* it = w ? w->Item(id) : nullptr;
    if (!it) return;
    int x = w->ClientX() + it->x + it->w / 2, y = w->ClientY() + it->y + it->h / 2;
    PushMouse(SDL_MOUSEBUTTONDOWN, x, y);
    PushMouse(SDL_MOUSEBUTTONUP, x, y);
}

inline ui::cWidget* LiveItem(int id) {
    return g_lpTestDialog && g_lpTestDialog->m_hWnd ? g_lpTestDialog->m_hWnd->Item(id) : nullptr;
}

inline std::string Golden(const std::string& name) {
    return texttest::CompareGoldenIn("tests/app/ui/golden", name, 640, 480, ui::ComposedFrame());
}

class Script {
public:
    explicit Script(std::vector<std::function<void()>> steps) : m_steps(std::move(steps)) {
        ui::SetModalIdleHook([this] { Next(); });
    }
    ~Script() { ui::SetModalIdleHook({}); }
    size_t Done() const { return m_next; }
    int Overruns() const { return m_overruns; }

private:
    void Next() {
        if (m_next < m_steps.size()) {
            auto& step = m_steps[m_next++];
            step();
        } else if (m_overruns++ % 200 == 0) {
            PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
            PushKey(SDLK_ESCAPE);
            PushKey(SDLK_RETURN);
        }
    }
    std::vector<std::function<void()>> m_steps;
    size_t m_next = 0;
    int m_overruns = 0;
};

// A 640 x 480 picture standing for the game's last frame.
inline std::vector<uint32_t> BackgroundFrame(uint32_t tint = 0) {
    std::vector<uint32_t> px(640 * 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            px[y * 640 + x] = ((((x / 32) + (y / 32)) & 1) ? 0x203048u : 0x304060u) + uint32_t(y / 8) + tint;
    return px;
}

class UiWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS), 0) << SDL_GetError();
    }
    static void TearDownTestSuite() { SDL_Quit(); }
    void SetUp() override {
        ClaimGameToken();
        g_bQuit = 0;
        g_bClosing = 0;
        g_bRunning = 0;
        g_bActive = 0;
        ASSERT_TRUE(g_MainWindow.Create());
        InstallMainThreadServices();
        RegisterTestDialog();
        auto bg = BackgroundFrame();
        platform::FrameMailbox().Put(bg.data(), 640 * 4);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override {
        ui::SetModalIdleHook({});
        for (cThread* t : {&thGame, &thPause, &thRanking, &thLoad}) t->Exit();
        g_MainWindow.Destroy();
        Service<platform::IMessageBox>::Restore();
        SetCloseRequestHandler({});
        SetMainThreadWakeup({});
        platform::FrameMailbox().SetNotify({});
        platform::ClearSdlEventObservers();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        ui::TakeQuitSignal();
        g_bQuit = 0;
        g_bClosing = 0;
        g_bActive = 0;
    }
};

}  // namespace uitest
