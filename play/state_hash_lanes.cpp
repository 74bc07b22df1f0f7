// The chains of a batch side by side: eight to a 512-bit register where the
// processor has 64-bit vector multiplies, four to a 256-bit register where it
// has those, else one word at a time per chain (still independent chains,
// which the processor overlaps). Every way gives the same values.
#include <cstring>

#include "play/state_hasher.h"

namespace {

constexpr uint64_t kAdd = 0x9E3779B97F4A7C15ull, kMul = 0xFF51AFD7ED558CCDull;
constexpr size_t kVectorLanes = 32;  // four registers of eight

void MixLanesPlain(uint64_t* h, size_t lanes, const uint64_t* words, size_t count) {
    constexpr size_t kGroup = 8;
    for (size_t first = 0; first < lanes; first += kGroup) {
        uint64_t g[kGroup] = {};
        const size_t n = lanes - first < kGroup ? lanes - first : kGroup;
        std::memcpy(g, h + first, n * 8);
        for (size_t i = 0; i < count; ++i) {
            const uint64_t w = words[i];
            for (size_t j = 0; j < kGroup; ++j) g[j] = StateHashMix(g[j], w);
        }
        std::memcpy(h + first, g, n * 8);
    }
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define TOVARO_HASH_LANES_AVX512 1
using V8 = uint64_t __attribute__((vector_size(64)));

#define TOVARO_MIX_V8(x, w)                     \
    do {                                        \
        (x) ^= (w) + ((x) << 6) + ((x) >> 2);   \
        (x) *= kMul;                            \
        (x) ^= (x) >> 32;                       \
    } while (0)

__attribute__((target("avx512f,avx512dq"))) void MixLanesAvx512(uint64_t* h, size_t lanes, const uint64_t* words,
                                                                   size_t count) {
    for (size_t first = 0; first < lanes; first += kVectorLanes) {
        uint64_t buf[kVectorLanes] = {};
        const size_t n = lanes - first < kVectorLanes ? lanes - first : kVectorLanes;
        std::memcpy(buf, h + first, n * 8);
        V8 a, b, c, d;
        std::memcpy(&a, buf, 64);
        std::memcpy(&b, buf + 8, 64);
        std::memcpy(&c, buf + 16, 64);
        std::memcpy(&d, buf + 24, 64);
        for (size_t i = 0; i < count; ++i) {
            const uint64_t w = words[i] + kAdd;
            TOVARO_MIX_V8(a, w);
            TOVARO_MIX_V8(b, w);
            TOVARO_MIX_V8(c, w);
            TOVARO_MIX_V8(d, w);
        }
        std::memcpy(buf, &a, 64);
        std::memcpy(buf + 8, &b, 64);
        std::memcpy(buf + 16, &c, 64);
        std::memcpy(buf + 24, &d, 64);
        std::memcpy(h + first, buf, n * 8);
    }
}

// Without 512-bit registers: four chains to a 256-bit register, eight
// registers side by side (the 64-bit multiply is made of 32-bit ones).
using V4 = uint64_t __attribute__((vector_size(32)));

__attribute__((target("avx2"))) void MixLanesAvx2(uint64_t* h, size_t lanes, const uint64_t* words, size_t count) {
    constexpr size_t kRegs = kVectorLanes / 4;
    for (size_t first = 0; first < lanes; first += kVectorLanes) {
        uint64_t buf[kVectorLanes] = {};
        const size_t n = lanes - first < kVectorLanes ? lanes - first : kVectorLanes;
        std::memcpy(buf, h + first, n * 8);
        V4 r[kRegs];
        std::memcpy(r, buf, sizeof r);
        for (size_t i = 0; i < count; ++i) {
            const uint64_t w = words[i] + kAdd;
            for (size_t k = 0; k < kRegs; ++k) TOVARO_MIX_V8(r[k], w);
        }
        std::memcpy(buf, r, sizeof r);
        std::memcpy(h + first, buf, n * 8);
    }
}

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

bool HasAvx512() {
    static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq");
    return has;
}
#endif

}  // namespace

void StateHashMixStreams(uint64_t* h, size_t lanes, const uint64_t* const* words, size_t count) {
    constexpr size_t kGroup = 8;
    size_t first = 0;
    for (; first + kGroup <= lanes; first += kGroup) {
        uint64_t g[kGroup];
        const uint64_t* w[kGroup];
        for (size_t j = 0; j < kGroup; ++j) {
            g[j] = h[first + j];
            w[j] = words[first + j];
        }
        for (size_t i = 0; i < count; ++i)
            for (size_t j = 0; j < kGroup; ++j) g[j] = StateHashMix(g[j], w[j][i]);
        for (size_t j = 0; j < kGroup; ++j) h[first + j] = g[j];
    }
    for (; first < lanes; ++first) StateHashMixLanes(h + first, 1, words[first], count);
}

void StateHashMixLanes(uint64_t* h, size_t lanes, const uint64_t* words, size_t count) {
    if (lanes == 1) {
        uint64_t v = *h;
        for (size_t i = 0; i < count; ++i) v = StateHashMix(v, words[i]);
        *h = v;
        return;
    }
#ifdef TOVARO_HASH_LANES_AVX512
    if (lanes > 4 && HasAvx512()) {
        MixLanesAvx512(h, lanes, words, count);
        return;
    }
    if (lanes > 4 && HasAvx2()) {
        MixLanesAvx2(h, lanes, words, count);
        return;
    }
#endif
    MixLanesPlain(h, lanes, words, count);
}
