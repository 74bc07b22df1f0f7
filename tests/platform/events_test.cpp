#include "platform/events.h"
#include "platform/keyboard_state.h"
#include "platform/sdl_events.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

using platform::Event;
using platform::FromSdlEvent;

SDL_Event KeyEvent(Uint32 type, SDL_Keycode sym, Uint16 mod) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    return e;
}

TEST(FromSdlEvent, KeysBecomeTheDialogsVirtualKeys) {
    const struct {
        SDL_Keycode sym;
        int vk;
    } cases[] = {
        {SDLK_a, 'A'},
        {SDLK_z, 'Z'},
        {SDLK_0, '0'},
        {SDLK_9, '9'},
        {SDLK_F1, platform::VK_F1},
        {SDLK_F12, platform::VK_F1 + 11},
        {SDLK_BACKSPACE, platform::VK_BACK},
        {SDLK_TAB, platform::VK_TAB},
        {SDLK_RETURN, platform::VK_RETURN},
        {SDLK_KP_ENTER, platform::VK_RETURN},
        {SDLK_ESCAPE, platform::VK_ESCAPE},
        {SDLK_SPACE, platform::VK_SPACE},
        {SDLK_PAGEUP, platform::VK_PRIOR},
        {SDLK_PAGEDOWN, platform::VK_NEXT},
        {SDLK_HOME, platform::VK_HOME},
        {SDLK_END, platform::VK_END},
        {SDLK_LEFT, platform::VK_LEFT},
        {SDLK_DOWN, platform::VK_DOWN},
        {SDLK_INSERT, platform::VK_INSERT},
        {SDLK_DELETE, platform::VK_DELETE},
        {SDLK_RSHIFT, platform::VK_SHIFT},
        {SDLK_LCTRL, platform::VK_CONTROL},
        {SDLK_F13, 0},
        {SDLK_SEMICOLON, 0},
    };
    for (const auto& c : cases) {
        Event e = FromSdlEvent(KeyEvent(SDL_KEYDOWN, c.sym, KMOD_NONE));
        EXPECT_EQ(e.kind, Event::Kind::KeyDown) << c.sym;
        EXPECT_EQ(e.key, c.vk) << c.sym;
    }
    Event up = FromSdlEvent(KeyEvent(SDL_KEYUP, SDLK_a, KMOD_RCTRL | KMOD_LSHIFT));
    EXPECT_EQ(up.kind, Event::Kind::KeyUp);
    EXPECT_TRUE(up.ctrl);
    EXPECT_TRUE(up.shift);
}

TEST(FromSdlEvent, WindowChangesMouseAndWheel) {
    const struct {
        Uint8 id;
        Event::WindowChange change;
    } windows[] = {
        {SDL_WINDOWEVENT_SHOWN, Event::WindowChange::Shown},
        {SDL_WINDOWEVENT_HIDDEN, Event::WindowChange::Hidden},
        {SDL_WINDOWEVENT_EXPOSED, Event::WindowChange::Exposed},
        {SDL_WINDOWEVENT_FOCUS_GAINED, Event::WindowChange::FocusGained},
        {SDL_WINDOWEVENT_FOCUS_LOST, Event::WindowChange::FocusLost},
        {SDL_WINDOWEVENT_MINIMIZED, Event::WindowChange::Minimized},
        {SDL_WINDOWEVENT_RESTORED, Event::WindowChange::Restored},
        {SDL_WINDOWEVENT_CLOSE, Event::WindowChange::Close},
        {SDL_WINDOWEVENT_MOVED, Event::WindowChange::Other},
    };
    for (const auto& c : windows) {
        SDL_Event s{};
        s.type = SDL_WINDOWEVENT;
        s.window.windowID = 7;
        s.window.event = c.id;
        Event e = FromSdlEvent(s);
        EXPECT_EQ(e.kind, Event::Kind::Window);
        EXPECT_EQ(e.windowId, 7u);
        EXPECT_EQ(e.change, c.change) << int(c.id);
    }

    SDL_Event click{};
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.button = SDL_BUTTON_RIGHT;
    click.button.x = 12;
    click.button.y = 34;
    click.button.clicks = 2;
    Event e = FromSdlEvent(click);
    EXPECT_EQ(e.kind, Event::Kind::MouseDown);
    EXPECT_EQ(e.button, Event::Button::Right);
    EXPECT_EQ(e.x, 12);
    EXPECT_EQ(e.y, 34);
    EXPECT_EQ(e.clicks, 2);

    for (Uint32 direction : {Uint32(SDL_MOUSEWHEEL_NORMAL), Uint32(SDL_MOUSEWHEEL_FLIPPED)}) {
        SDL_Event wheel{};
        wheel.type = SDL_MOUSEWHEEL;
        wheel.wheel.y = 3;
        wheel.wheel.direction = direction;
        EXPECT_EQ(FromSdlEvent(wheel).wheel, direction == SDL_MOUSEWHEEL_FLIPPED ? -3 : 3);
    }
}

TEST(FromSdlEvent, ProgramEventsAndText) {
    for (auto kind : {platform::UserEvent::Close, platform::UserEvent::Request, platform::UserEvent::Frame}) {
        SDL_Event s{};
        s.type = platform::ProgramEventType();
        s.user.code = static_cast<Sint32>(kind);
        Event e = FromSdlEvent(s);
        EXPECT_EQ(e.kind, Event::Kind::Program);
        EXPECT_EQ(e.program, kind);
    }
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    std::snprintf(text.text.text, sizeof text.text.text, "%s", "\xE3\x81\x82");
    Event e = FromSdlEvent(text);
    EXPECT_EQ(e.kind, Event::Kind::TextInput);
    EXPECT_EQ(e.text, "\xE3\x81\x82");
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_EQ(FromSdlEvent(quit).kind, Event::Kind::Quit);
}

}  // namespace
