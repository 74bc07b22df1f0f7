#include "platform/clipboard.h"

#include <SDL.h>

namespace platform {

bool SetClipboardUtf8(const std::string& utf8) {
    return SDL_WasInit(SDL_INIT_VIDEO) && SDL_SetClipboardText(utf8.c_str()) == 0;
}

bool GetClipboardUtf8(std::string& utf8) {
    if (!SDL_WasInit(SDL_INIT_VIDEO) || !SDL_HasClipboardText()) return false;
    char* t = SDL_GetClipboardText();
    utf8 = t ? t : "";
    SDL_free(t);
    return true;
}

}  // namespace platform
