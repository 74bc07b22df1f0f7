#include "platform/sdl_message_box.h"

#include "platform/cp932.h"
#include "platform/message_box.h"

#include <cstdio>

namespace platform {

int ShowSdlMessageBox(const std::string& text, const std::string& caption, int type, SDL_Window* owner) {
    std::string t = Cp932ToUtf8(text);
    std::string c = Cp932ToUtf8(caption);
    int kind = type & 0xF;
    SDL_MessageBoxButtonData buttons[2];
    int count = 1;
    int fallback = IDOK;
    if (kind == MB_YESNO) {
        buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"};
        buttons[1] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"};
        count = 2;
        fallback = IDNO;
    } else if (kind == MB_OKCANCEL) {
        buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDOK, "OK"};
        buttons[1] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDCANCEL, "Cancel"};
        count = 2;
        fallback = IDCANCEL;
    } else {
        buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK, "OK"};
    }
    Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
    if ((type & 0xF0) == MB_ICONERROR) flags = SDL_MESSAGEBOX_ERROR;
    if ((type & 0xF0) == MB_ICONWARNING) flags = SDL_MESSAGEBOX_WARNING;
    SDL_MessageBoxData data{flags, owner, c.c_str(), t.c_str(), count, buttons, nullptr};
    int pressed = -1;
    if (SDL_ShowMessageBox(&data, &pressed) != 0 || pressed < 0) {
        std::fprintf(stderr, "[%s] %s\n", c.c_str(), t.c_str());
        return fallback;
    }
    return pressed;
}

}  // namespace platform
