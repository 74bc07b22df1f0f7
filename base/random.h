// The game's random generator: the classic run-time library sequence
// (x := x * 214013 + 2531011, result (x >> 16) & 0x7FFF), with one state per
// thread. A thread that never seeded it starts as if seeded with 1.
#pragma once
#include <cstdint>

void SRand(uint32_t seed);
int Rand();
uint32_t RandState();
void SetRandState(uint32_t state);

// A random integer between a and b inclusive, the bounds in either order.
int RandRange(int a, int b);

// Runs a nested frame loop inline as if on a fresh thread: the generator
// starts from seed 1, and the caller's state comes back when it ends.
class cFreshRandScope {
public:
    cFreshRandScope();
    ~cFreshRandScope();
    cFreshRandScope(const cFreshRandScope&) = delete;
    cFreshRandScope& operator=(const cFreshRandScope&) = delete;

private:
    uint32_t m_nSaved;
};
