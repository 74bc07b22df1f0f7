#include "frontend/ui/dialog_host.h"

#include <atomic>

namespace ui {

namespace {
std::atomic<cDialogHost*> g_host{nullptr};
}  // namespace

void SetDialogHost(cDialogHost* host) { g_host = host; }

cDialogHost* DialogHost() { return g_host.load(); }

platform::Window* DialogHostWindow() {
    cDialogHost* host = g_host.load();
    return host ? host->HostWindow() : nullptr;
}

}  // namespace ui

int NextActiveState(int active, const platform::Event& e) {
    if (e.kind != platform::Event::Kind::Window) return active;
    using C = platform::Event::WindowChange;
    switch (e.change) {
        case C::Shown:
        case C::FocusGained:
        case C::Restored:
            return 1;
        case C::FocusLost:
        case C::Hidden:
        case C::Minimized:
            return 0;
        default:
            return active;
    }
}
