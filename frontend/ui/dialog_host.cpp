#include "frontend/ui/dialog_host.h"

#include <atomic>

namespace ui {

namespace {
std::atomic<cDialogHost*> g_host{nullptr};
}  // namespace

void SetDialogHost(cDialogHost* host) { g_host = host; }

cDialogHost* DialogHost() { return g_host.load(); }

SDL_Window* DialogHostWindow() {
    cDialogHost* host = g_host.load();
    return host ? host->HostWindow() : nullptr;
}

}  // namespace ui

int NextActiveState(int active, const SDL_Event& e) {
    if (e.type != SDL_WINDOWEVENT) return active;
    switch (e.window.event) {
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_RESTORED:
            return 1;
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_HIDDEN:
        case SDL_WINDOWEVENT_MINIMIZED:
            return 0;
        default:
            return active;
    }
}
