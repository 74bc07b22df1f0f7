#include "platform/keyboard_state.h"
#include "platform/sdl_keyboard.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

namespace platform {

namespace {

// Readers see only the held flags. The writer side (the event pump) keeps,
// per scancode, the code it pressed, and per code, how many held keys give
// it, so that two keys with one code (Enter and keypad Enter, the two Shift
// keys for the generic Shift) release it only when both are up.
std::array<std::atomic<uint8_t>, 256> g_held{};
std::mutex g_writerMutex;
std::array<uint8_t, SDL_NUM_SCANCODES> g_scancodeVk{};
std::array<int, 256> g_holdCount{};

int ScancodeSpecial(SDL_Scancode sc) {
    if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return VK_F1 + (sc - SDL_SCANCODE_F1);
    if (sc >= SDL_SCANCODE_F13 && sc <= SDL_SCANCODE_F24) return VK_F1 + 12 + (sc - SDL_SCANCODE_F13);
    if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) return VK_NUMPAD0 + 1 + (sc - SDL_SCANCODE_KP_1);
    switch (sc) {
    case SDL_SCANCODE_RETURN: return VK_RETURN;
    case SDL_SCANCODE_KP_ENTER: return VK_RETURN;
    case SDL_SCANCODE_ESCAPE: return VK_ESCAPE;
    case SDL_SCANCODE_BACKSPACE: return VK_BACK;
    case SDL_SCANCODE_TAB: return VK_TAB;
    case SDL_SCANCODE_SPACE: return VK_SPACE;
    case SDL_SCANCODE_LEFT: return VK_LEFT;
    case SDL_SCANCODE_RIGHT: return VK_RIGHT;
    case SDL_SCANCODE_UP: return VK_UP;
    case SDL_SCANCODE_DOWN: return VK_DOWN;
    case SDL_SCANCODE_KP_0: return VK_NUMPAD0;
    case SDL_SCANCODE_KP_PERIOD: return VK_DECIMAL;
    case SDL_SCANCODE_KP_DIVIDE: return VK_DIVIDE;
    case SDL_SCANCODE_KP_MULTIPLY: return VK_MULTIPLY;
    case SDL_SCANCODE_KP_MINUS: return VK_SUBTRACT;
    case SDL_SCANCODE_KP_PLUS: return VK_ADD;
    case SDL_SCANCODE_NUMLOCKCLEAR: return VK_NUMLOCK;
    case SDL_SCANCODE_INSERT: return VK_INSERT;
    case SDL_SCANCODE_DELETE: return VK_DELETE;
    case SDL_SCANCODE_HOME: return VK_HOME;
    case SDL_SCANCODE_END: return VK_END;
    case SDL_SCANCODE_PAGEUP: return VK_PRIOR;
    case SDL_SCANCODE_PAGEDOWN: return VK_NEXT;
    case SDL_SCANCODE_PRINTSCREEN: return VK_SNAPSHOT;
    case SDL_SCANCODE_SCROLLLOCK: return VK_SCROLL;
    case SDL_SCANCODE_PAUSE: return VK_PAUSE;
    case SDL_SCANCODE_CAPSLOCK: return VK_CAPITAL;
    case SDL_SCANCODE_APPLICATION: return VK_APPS;
    case SDL_SCANCODE_LSHIFT: return VK_LSHIFT;
    case SDL_SCANCODE_RSHIFT: return VK_RSHIFT;
    case SDL_SCANCODE_LCTRL: return VK_LCONTROL;
    case SDL_SCANCODE_RCTRL: return VK_RCONTROL;
    case SDL_SCANCODE_LALT: return VK_LMENU;
    case SDL_SCANCODE_RALT: return VK_RMENU;
    case SDL_SCANCODE_LGUI: return VK_LWIN;
    case SDL_SCANCODE_RGUI: return VK_RWIN;
    default: return 0;
    }
}

int KeycodeCharacter(SDL_Keycode k) {
    if (k >= SDLK_a && k <= SDLK_z) return 'A' + (k - SDLK_a);
    if (k >= SDLK_0 && k <= SDLK_9) return '0' + (k - SDLK_0);
    switch (k) {
    case SDLK_SEMICOLON: return VK_OEM_1;
    case SDLK_COLON: return VK_OEM_1;
    case SDLK_EQUALS: return VK_OEM_PLUS;
    case SDLK_PLUS: return VK_OEM_PLUS;
    case SDLK_COMMA: return VK_OEM_COMMA;
    case SDLK_MINUS: return VK_OEM_MINUS;
    case SDLK_PERIOD: return VK_OEM_PERIOD;
    case SDLK_SLASH: return VK_OEM_2;
    case SDLK_BACKQUOTE: return VK_OEM_3;
    case SDLK_AT: return VK_OEM_3;
    case SDLK_LEFTBRACKET: return VK_OEM_4;
    case SDLK_BACKSLASH: return VK_OEM_5;
    case SDLK_RIGHTBRACKET: return VK_OEM_6;
    case SDLK_QUOTE: return VK_OEM_7;
    case SDLK_CARET: return VK_OEM_7;
    case SDLK_LESS: return VK_OEM_102;
    default: return 0;
    }
}

// The US position of a character key, for layouts whose key codes are not
// Latin letters.
int ScancodeCharacter(SDL_Scancode sc) {
    if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return 'A' + (sc - SDL_SCANCODE_A);
    if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return '1' + (sc - SDL_SCANCODE_1);
    switch (sc) {
    case SDL_SCANCODE_0: return '0';
    case SDL_SCANCODE_SEMICOLON: return VK_OEM_1;
    case SDL_SCANCODE_EQUALS: return VK_OEM_PLUS;
    case SDL_SCANCODE_COMMA: return VK_OEM_COMMA;
    case SDL_SCANCODE_MINUS: return VK_OEM_MINUS;
    case SDL_SCANCODE_PERIOD: return VK_OEM_PERIOD;
    case SDL_SCANCODE_SLASH: return VK_OEM_2;
    case SDL_SCANCODE_GRAVE: return VK_OEM_3;
    case SDL_SCANCODE_LEFTBRACKET: return VK_OEM_4;
    case SDL_SCANCODE_BACKSLASH: return VK_OEM_5;
    case SDL_SCANCODE_NONUSHASH: return VK_OEM_5;
    case SDL_SCANCODE_RIGHTBRACKET: return VK_OEM_6;
    case SDL_SCANCODE_APOSTROPHE: return VK_OEM_7;
    case SDL_SCANCODE_NONUSBACKSLASH: return VK_OEM_102;
    default: return 0;
    }
}

int GenericModifier(int vk) {
    switch (vk) {
    case VK_LSHIFT:
    case VK_RSHIFT: return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL: return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU: return VK_MENU;
    default: return 0;
    }
}

void Hold(int vk, int delta) {
    int& n = g_holdCount[static_cast<size_t>(vk)];
    n += delta;
    if (n < 0) n = 0;
    g_held[static_cast<size_t>(vk)].store(n > 0 ? 1 : 0, std::memory_order_relaxed);
}

void ClearLocked() {
    g_scancodeVk.fill(0);
    g_holdCount.fill(0);
    for (auto& f : g_held) f.store(0, std::memory_order_relaxed);
}

}  // namespace

int SdlKeyToVirtualKey(const SDL_Keysym& key) {
    if (int vk = ScancodeSpecial(key.scancode)) return vk;
    if (int vk = KeycodeCharacter(key.sym)) return vk;
    return ScancodeCharacter(key.scancode);
}

bool IsKeyHeld(int vk) {
    if (vk < 0 || vk > 255) return false;
    return g_held[static_cast<size_t>(vk)].load(std::memory_order_relaxed) != 0;
}

void ClearKeyTable() {
    std::lock_guard<std::mutex> lock(g_writerMutex);
    ClearLocked();
}

bool HandleKeyboardEvent(const SDL_Event& event) {
    if (event.type == SDL_WINDOWEVENT) {
        if (event.window.event != SDL_WINDOWEVENT_FOCUS_LOST) return false;
        ClearKeyTable();
        return true;
    }
    if (event.type != SDL_KEYDOWN && event.type != SDL_KEYUP) return false;
    const SDL_Keysym& key = event.key.keysym;
    if (key.scancode < 0 || key.scancode >= SDL_NUM_SCANCODES) return true;
    std::lock_guard<std::mutex> lock(g_writerMutex);
    uint8_t& pressed = g_scancodeVk[static_cast<size_t>(key.scancode)];
    if (event.type == SDL_KEYDOWN) {
        if (pressed != 0) return true;  // auto-repeat of a held key
        int vk = SdlKeyToVirtualKey(key);
        if (vk <= 0 || vk > 255) return true;
        pressed = static_cast<uint8_t>(vk);
        Hold(vk, +1);
        if (int g = GenericModifier(vk)) Hold(g, +1);
    } else {
        // Release what the press gave, even if the layout changed meanwhile.
        int vk = pressed;
        if (vk == 0) return true;
        pressed = 0;
        Hold(vk, -1);
        if (int g = GenericModifier(vk)) Hold(g, -1);
    }
    return true;
}

}  // namespace platform
