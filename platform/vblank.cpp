#include "platform/vblank.h"

#include "platform/clock.h"

namespace platform {

uint32_t NextVerticalBlank(uint32_t now) {
    // Blanks at floor(k * 1000 / 60); k counted in 64 bits so the wrap of the
    // 32-bit clock only shifts the phase.
    uint64_t k = static_cast<uint64_t>(now) * 60 / 1000 + 1;
    uint64_t t = k * 1000 / 60;
    while (t <= now) t = (++k) * 1000 / 60;
    return static_cast<uint32_t>(t);
}

void WaitForVerticalBlank(bool (*keepWaiting)()) {
    uint32_t due = NextVerticalBlank(NowMs());
    for (int32_t left; (left = static_cast<int32_t>(due - NowMs())) > 0;) {
        if (keepWaiting && !keepWaiting()) return;
        SleepMs(static_cast<uint32_t>(left));
    }
}

}  // namespace platform
