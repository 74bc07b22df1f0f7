#include "platform/event_pump.h"

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <vector>

namespace platform {
namespace {

std::mutex g_mutex;
std::vector<std::function<void(const SDL_Event&)>> g_observers;
std::once_flag g_registerOnce;
uint32_t g_nEventType = 0;
// Wakes WaitSdlEvent where the video driver cannot.
std::mutex g_wakeMutex;
std::condition_variable g_wake;
bool g_bWoken = false;

// The dummy and offscreen drivers have no way to wake a waiting thread: SDL
// then waits by looking at the queue every millisecond.
bool DriverWakesWaiters() {
    const char* d = SDL_GetCurrentVideoDriver();
    return d && std::strcmp(d, "dummy") != 0 && std::strcmp(d, "offscreen") != 0;
}

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
    const bool pushed = SDL_PushEvent(&e) == 1;
    {
        std::lock_guard<std::mutex> lock(g_wakeMutex);
        g_bWoken = true;
    }
    g_wake.notify_one();
    return pushed;
}

bool WaitSdlEvent(SDL_Event& e, int timeoutMs) {
    if (DriverWakesWaiters()) return timeoutMs < 0 ? SDL_WaitEvent(&e) != 0 : SDL_WaitEventTimeout(&e, timeoutMs) != 0;
    if (SDL_PollEvent(&e)) return true;
    {
        // Events SDL queues by itself (a quit on a signal) are seen when the
        // time is up, so even an endless wait looks again now and then.
        constexpr int kLookAgainMs = 50;
        std::unique_lock<std::mutex> lock(g_wakeMutex);
        g_wake.wait_for(lock, std::chrono::milliseconds(timeoutMs < 0 ? kLookAgainMs : timeoutMs),
                        [] { return g_bWoken; });
        g_bWoken = false;
    }
    return SDL_PollEvent(&e) != 0;
}

}  // namespace platform
