#include "platform/clock.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace platform {
namespace {

std::mutex g_mutex;
std::function<uint32_t()> g_now;
std::function<void(uint32_t)> g_sleep;

uint32_t RealNow() {
    using namespace std::chrono;
    static const steady_clock::time_point start = steady_clock::now();
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now() - start).count());
}

}  // namespace

uint32_t NowMs() {
    std::function<uint32_t()> f;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        f = g_now;
    }
    return f ? f() : RealNow();
}

void SleepMs(uint32_t ms) {
    std::function<void(uint32_t)> f;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        f = g_sleep;
    }
    if (f) {
        f(ms);
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void SetClockSource(std::function<uint32_t()> now, std::function<void(uint32_t)> sleep) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_now = std::move(now);
    g_sleep = std::move(sleep);
}

FakeClock::FakeClock(uint32_t start) : m_nNow(start) {
    SetClockSource([this] { return m_nNow.load(); }, [this](uint32_t ms) { m_nNow += ms; });
}

FakeClock::~FakeClock() { SetClockSource({}, {}); }

}  // namespace platform
