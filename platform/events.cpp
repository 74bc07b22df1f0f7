#include "platform/events.h"

#include <cstring>

#include "platform/event_pump.h"
#include "platform/input_events.h"
#include "platform/keyboard_state.h"
#include "platform/sdl_events.h"

namespace platform {

namespace {

static_assert(sizeof(SDL_Event) <= sizeof(Event::native), "the native record holds an SDL event");

// The dialogs' virtual-key code of an SDL key, 0 when it has none.
int DialogVirtualKey(SDL_Keycode k) {
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

Event::WindowChange ChangeOf(uint8_t id) {
    using C = Event::WindowChange;
    switch (id) {
        case SDL_WINDOWEVENT_SHOWN: return C::Shown;
        case SDL_WINDOWEVENT_HIDDEN: return C::Hidden;
        case SDL_WINDOWEVENT_EXPOSED: return C::Exposed;
        case SDL_WINDOWEVENT_FOCUS_GAINED: return C::FocusGained;
        case SDL_WINDOWEVENT_FOCUS_LOST: return C::FocusLost;
        case SDL_WINDOWEVENT_MINIMIZED: return C::Minimized;
        case SDL_WINDOWEVENT_RESTORED: return C::Restored;
        case SDL_WINDOWEVENT_CLOSE: return C::Close;
        default: return C::Other;
    }
}

Event::Button ButtonOf(uint8_t b) {
    if (b == SDL_BUTTON_LEFT) return Event::Button::Left;
    if (b == SDL_BUTTON_RIGHT) return Event::Button::Right;
    return Event::Button::Other;
}

// An event taken from the queue: an extended editing text belongs to the
// taker and is freed once copied.
bool Taken(bool got, SDL_Event& sdl, Event& e) {
    if (!got) return false;
    e = FromSdlEvent(sdl);
    if (sdl.type == SDL_TEXTEDITING_EXT) {
        SDL_free(sdl.editExt.text);
        sdl.editExt.text = nullptr;
        std::memcpy(e.native, &sdl, sizeof sdl);
    }
    return true;
}

}  // namespace

Event FromSdlEvent(const SDL_Event& s) {
    Event e;
    std::memcpy(e.native, &s, sizeof s);
    e.hasNative = true;
    const uint32_t programType = ProgramEventType();
    if (programType != 0 && s.type == programType) {
        e.kind = Event::Kind::Program;
        e.program = static_cast<UserEvent>(s.user.code);
        return e;
    }
    switch (s.type) {
        case SDL_QUIT: e.kind = Event::Kind::Quit; break;
        case SDL_WINDOWEVENT:
            e.kind = Event::Kind::Window;
            e.windowId = s.window.windowID;
            e.change = ChangeOf(s.window.event);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            e.kind = s.type == SDL_KEYDOWN ? Event::Kind::KeyDown : Event::Kind::KeyUp;
            e.key = DialogVirtualKey(s.key.keysym.sym);
            e.shift = (s.key.keysym.mod & KMOD_SHIFT) != 0;
            e.ctrl = (s.key.keysym.mod & KMOD_CTRL) != 0;
            break;
        case SDL_TEXTINPUT:
            e.kind = Event::Kind::TextInput;
            e.text = s.text.text;
            break;
        case SDL_TEXTEDITING:
            e.kind = Event::Kind::TextEditing;
            e.text = s.edit.text;
            break;
        case SDL_TEXTEDITING_EXT:
            e.kind = Event::Kind::TextEditing;
            e.text = s.editExt.text ? s.editExt.text : "";
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            e.kind = s.type == SDL_MOUSEBUTTONDOWN ? Event::Kind::MouseDown : Event::Kind::MouseUp;
            e.button = ButtonOf(s.button.button);
            e.x = s.button.x;
            e.y = s.button.y;
            e.clicks = s.button.clicks;
            break;
        case SDL_MOUSEMOTION:
            e.kind = Event::Kind::MouseMotion;
            e.x = s.motion.x;
            e.y = s.motion.y;
            break;
        case SDL_MOUSEWHEEL:
            e.kind = Event::Kind::MouseWheel;
            e.wheel = s.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -s.wheel.y : s.wheel.y;
            break;
        default: break;
    }
    return e;
}

bool WaitEvent(Event& e, int timeoutMs) {
    SDL_Event s;
    return Taken(WaitSdlEvent(s, timeoutMs), s, e);
}

bool PollEvent(Event& e) {
    SDL_Event s;
    return Taken(SDL_PollEvent(&s) != 0, s, e);
}

bool WaitEventLooking(Event& e, int timeoutMs) {
    SDL_Event s;
    return Taken(SDL_WaitEventTimeout(&s, timeoutMs) != 0, s, e);
}

void DelayMs(int ms) { SDL_Delay(static_cast<Uint32>(ms)); }

void AskForLongCompositionText() { SDL_SetHint(SDL_HINT_IME_SUPPORT_EXTENDED_TEXT, "1"); }

void NotifyEventObservers(const Event& e) {
    if (!e.hasNative) return;
    SDL_Event s;
    std::memcpy(&s, e.native, sizeof s);
    NotifySdlEventObservers(s);
}

void ConnectInputDevices() {
    InitInputDevices();
    AddSdlEventObserver(HandleInputEvent);
}

void DisconnectInputDevices() { ShutdownInputDevices(); }

}  // namespace platform
