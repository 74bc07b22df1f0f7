// Millisecond clock of the player: a uint32 counter that wraps like the
// system tick the game logic was written against, plus sleeping.
// Tests replace it through Service<IClock> (FakeClock does).
#pragma once
#include <atomic>
#include <cstdint>

#include "platform/service.h"

namespace platform {

// Milliseconds since an arbitrary start, wrapping at 2^32.
uint32_t NowMs();
void SleepMs(uint32_t ms);

// What NowMs and SleepMs call.
class IClock {
public:
    virtual ~IClock() = default;
    virtual uint32_t NowMs() = 0;
    virtual void SleepMs(uint32_t ms) = 0;
    static IClock& Real();  // the steady clock of the system
};

// A manual clock for tests, installed for its lifetime: Sleep advances it.
class FakeClock : public IClock {
public:
    explicit FakeClock(uint32_t start = 0);
    ~FakeClock() override;
    uint32_t NowMs() override { return m_nNow.load(); }
    void SleepMs(uint32_t ms) override { m_nNow += ms; }
    void Advance(uint32_t ms) { m_nNow += ms; }
    void Set(uint32_t ms) { m_nNow = ms; }
    uint32_t Now() const { return m_nNow.load(); }

private:
    std::atomic<uint32_t> m_nNow;
    IClock* m_prev = nullptr;
};

}  // namespace platform
