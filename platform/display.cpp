#include "platform/display.h"

#include <SDL.h>

namespace platform {

namespace {

// Calls fn with the video subsystem up, starting it for the call when
// nobody has. False when it cannot be started.
template <class F>
bool WithVideo(F fn) {
    const bool bWasUp = SDL_WasInit(SDL_INIT_VIDEO) != 0;
    if (!bWasUp && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    fn();
    if (!bWasUp) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return true;
}

}  // namespace

bool StartVideo() {
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    return SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
}

void EndVideo() { SDL_Quit(); }

void ReleaseThreadData() { SDL_TLSCleanup(); }

bool QueryDesktopMode(DesktopMode& out) {
    bool ok = false;
    WithVideo([&] {
        SDL_DisplayMode mode{};
        if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return;
        out.width = mode.w;
        out.height = mode.h;
        out.formatKnown = mode.format != SDL_PIXELFORMAT_UNKNOWN;
        out.bitsPerPixel = out.formatKnown ? SDL_BYTESPERPIXEL(mode.format) * 8 : 0;
        ok = true;
    });
    return ok;
}

bool QueryUsableDesktopSize(int& width, int& height) {
    bool ok = false;
    WithVideo([&] {
        SDL_Rect r{};
        if (SDL_GetDisplayUsableBounds(0, &r) != 0) return;
        width = r.w;
        height = r.h;
        ok = true;
    });
    return ok;
}

bool QueryVideoDriver(std::string& name) {
    bool ok = false;
    WithVideo([&] {
        if (const char* d = SDL_GetCurrentVideoDriver()) {
            name = d;
            ok = true;
        }
    });
    return ok;
}

}  // namespace platform
