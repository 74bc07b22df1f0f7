// Millisecond clock of the player: a uint32 counter that wraps like the
// system tick the game logic was written against, plus sleeping.
// Tests replace the source with a fake clock.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>

namespace platform {

// Milliseconds since an arbitrary start, wrapping at 2^32.
uint32_t NowMs();
void SleepMs(uint32_t ms);

// Replaces the clock (and the sleep, which then usually advances the fake
// clock). Passing empty functions restores the real ones.
void SetClockSource(std::function<uint32_t()> now, std::function<void(uint32_t)> sleep = {});

// A manual clock for tests: Sleep advances it.
class FakeClock {
public:
    explicit FakeClock(uint32_t start = 0);
    ~FakeClock();
    void Advance(uint32_t ms) { m_nNow += ms; }
    void Set(uint32_t ms) { m_nNow = ms; }
    uint32_t Now() const { return m_nNow.load(); }
private:
    std::atomic<uint32_t> m_nNow;
};

}  // namespace platform
