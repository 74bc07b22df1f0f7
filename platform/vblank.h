// An emulated 60 Hz vertical blank on the program's millisecond clock (the
// clock the frame-rate wait uses too, so the two never drift apart). Blank k
// falls at k * 1000 / 60 ms of that clock.
#pragma once
#include <cstdint>

namespace platform {

// Time of the first blank after `now` (strictly later).
uint32_t NextVerticalBlank(uint32_t now);
// Sleeps in 1 ms steps until the next blank. `keepWaiting` may end the wait
// early (quit requests); it is polled before each sleep.
void WaitForVerticalBlank(bool (*keepWaiting)() = nullptr);

}  // namespace platform
