#include "app/random.h"

namespace {
thread_local uint32_t t_nRandState = 1;
}

void SRand(uint32_t seed) { t_nRandState = seed; }

int Rand() {
    t_nRandState = t_nRandState * 214013u + 2531011u;
    return static_cast<int>((t_nRandState >> 16) & 0x7FFF);
}

uint32_t RandState() { return t_nRandState; }
void SetRandState(uint32_t state) { t_nRandState = state; }

int RandRange(int a, int b) {
    int lo = a < b ? a : b;
    int hi = a < b ? b : a;
    // 32-bit wrapping arithmetic as the original; the full range would make
    // the modulus 0, so it takes the generator's value as it is.
    uint32_t span = static_cast<uint32_t>(hi) - static_cast<uint32_t>(lo) + 1u;
    int r = Rand();
    if (span == 0) return static_cast<int>(static_cast<uint32_t>(lo) + static_cast<uint32_t>(r));
    int32_t sspan = static_cast<int32_t>(span);
    if (sspan <= 0) return static_cast<int>(static_cast<uint32_t>(lo) + static_cast<uint32_t>(r) % span);
    return static_cast<int>(static_cast<uint32_t>(lo) + static_cast<uint32_t>(r % sspan));
}

cFreshRandScope::cFreshRandScope() : m_nSaved(t_nRandState) { t_nRandState = 1; }
cFreshRandScope::~cFreshRandScope() { t_nRandState = m_nSaved; }
