#include "platform/clock.h"

#include <chrono>
#include <thread>

namespace platform {

namespace {

class cSteadyClock : public IClock {
public:
    uint32_t NowMs() override {
        using namespace std::chrono;
        static const steady_clock::time_point start = steady_clock::now();
        return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now() - start).count());
    }
    void SleepMs(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

}  // namespace

IClock& IClock::Real() {
    static cSteadyClock clock;
    return clock;
}

uint32_t NowMs() { return Service<IClock>::Get().NowMs(); }

void SleepMs(uint32_t ms) { Service<IClock>::Get().SleepMs(ms); }

FakeClock::FakeClock(uint32_t start) : m_nNow(start) { m_prev = Service<IClock>::Install(this); }

FakeClock::~FakeClock() { Service<IClock>::Install(m_prev); }

}  // namespace platform
