#include "base/random.h"

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
    // lo + rand() % (hi - lo + 1) in 32-bit arithmetic that wraps. The width
    // is a signed int that may wrap negative; the remainder of a non-negative
    // value then takes the magnitude of the divisor. Only the full range, whose
    // width wraps to 0, cannot divide: it takes the generator's value as is.
    uint32_t span = static_cast<uint32_t>(hi) - static_cast<uint32_t>(lo) + 1u;
    uint32_t r = static_cast<uint32_t>(Rand());
    if (span == 0) return static_cast<int>(static_cast<uint32_t>(lo) + r);
    uint32_t magnitude = static_cast<int32_t>(span) < 0 ? 0u - span : span;
    return static_cast<int>(static_cast<uint32_t>(lo) + r % magnitude);
}

cFreshRandScope::cFreshRandScope() : m_nSaved(t_nRandState) { t_nRandState = 1; }
cFreshRandScope::~cFreshRandScope() { t_nRandState = m_nSaved; }
