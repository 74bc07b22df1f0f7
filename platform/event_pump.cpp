#include "platform/event_pump.h"

#include <mutex>
#include <vector>

namespace platform {
namespace {

std::mutex g_mutex;
std::vector<std::function<void(const SDL_Event&)>> g_observers;
std::once_flag g_registerOnce;
uint32_t g_nEventType = 0;

}  // namespace

void AddSdlEventObserver(std::function<void(const SDL_Event&)> observer) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_observers.push_back(std::move(observer));
}

void NotifySdlEventObservers(const SDL_Event& event) {
    std::vector<std::function<void(const SDL_Event&)>> copy;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        copy = g_observers;
    }
    for (auto& f : copy) f(event);
}

void ClearSdlEventObservers() {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_observers.clear();
}

uint32_t ProgramEventType() {
    std::call_once(g_registerOnce, [] {
        Uint32 t = SDL_RegisterEvents(1);
        g_nEventType = t == static_cast<Uint32>(-1) ? 0 : t;
    });
    return g_nEventType;
}

bool PushProgramEvent(UserEvent kind) {
    uint32_t type = ProgramEventType();
    if (type == 0 || !SDL_WasInit(SDL_INIT_EVENTS)) return false;
    SDL_Event e{};
    e.type = type;
    e.user.code = static_cast<Sint32>(kind);
    return SDL_PushEvent(&e) == 1;
}

}  // namespace platform
