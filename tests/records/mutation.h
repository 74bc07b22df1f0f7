// Bad-input generator for data file loaders: from one valid file, variants
// with every int32 position overwritten by hostile counts (-1, 0x7FFFFFFF,
// 0x80000000 and values just beyond the bytes left), truncations at every
// offset, and random bit flips from a fixed seed. A loader under test must
// end every variant with success or a reported failure, never a crash (the
// tests run under ASan/UBSan), and within a second.
//
// Use from any loader's test:
//   #include "tests/records/mutation.h"
//   auto summary = mutation::Run(validBytes, [](const std::vector<uint8_t>& b) {
//       cMyRecord r;
//       return r.LoadBytes(b, "mutant");
//   });
//   EXPECT_EQ(summary.nSlow, 0u) << summary.slowest;
#pragma once
#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace mutation {

// A load of a damaged file must never hang or allocate its way into a crawl.
// A valid load takes milliseconds; the bound leaves room for sanitizers on a
// loaded machine so that only a real runaway counts as slow.
inline constexpr double kSlowSeconds = 5.0;

struct Variant {
    std::vector<uint8_t> bytes;
    std::string what;
};

struct Options {
    uint32_t nSeed = 12345;
    size_t nRandomFlips = 2000;   // variants with 1..4 flipped bits
    size_t nMaxOffsets = 4096;    // positions tried for counts and truncation (sampled above)
    bool bKeepVersionWord = true; // leave bytes 0..3 alone for count and flip variants
};

inline std::vector<size_t> Positions(size_t nSize, size_t nMax, std::mt19937& rng) {
    std::vector<size_t> out;
    if (nSize <= nMax) {
        for (size_t i = 0; i < nSize; ++i) out.push_back(i);
    } else {
        for (size_t i = 0; i < nMax; ++i) out.push_back(std::uniform_int_distribution<size_t>(0, nSize - 1)(rng));
    }
    return out;
}

inline std::vector<Variant> MakeVariants(const std::vector<uint8_t>& valid, const Options& opt = {}) {
    std::vector<Variant> out;
    std::mt19937 rng(opt.nSeed);
    const size_t first = opt.bKeepVersionWord ? 4 : 0;

    // Truncations.
    for (size_t cut : Positions(valid.size(), opt.nMaxOffsets, rng)) {
        out.push_back({std::vector<uint8_t>(valid.begin(), valid.begin() + cut), "cut at " + std::to_string(cut)});
    }

    // Hostile int32 values at every position.
    if (valid.size() >= first + 4) {
        for (size_t at : Positions(valid.size() - 3 - first, opt.nMaxOffsets, rng)) {
            const size_t pos = at + first;
            const int64_t left = static_cast<int64_t>(valid.size() - pos - 4);
            const int64_t values[] = {-1, 0x7FFFFFFF, INT32_MIN, left + 1, left / 2 + 1, left / 4 + 1, left / 8 + 1, 0};
            for (int64_t v : values) {
                Variant var{valid, "int32 at " + std::to_string(pos) + " = " + std::to_string(v)};
                const int32_t v32 = static_cast<int32_t>(v);
                std::memcpy(var.bytes.data() + pos, &v32, 4);
                if (var.bytes != valid) out.push_back(std::move(var));
            }
        }
    }

    // Random bit flips.
    if (valid.size() > first) {
        std::uniform_int_distribution<size_t> posDist(first, valid.size() - 1);
        std::uniform_int_distribution<int> bitDist(0, 7), nDist(1, 4);
        for (size_t i = 0; i < opt.nRandomFlips; ++i) {
            Variant var{valid, "flips"};
            const int n = nDist(rng);
            for (int k = 0; k < n; ++k) {
                const size_t p = posDist(rng);
                const int b = bitDist(rng);
                var.bytes[p] ^= static_cast<uint8_t>(1u << b);
                var.what += " " + std::to_string(p) + ":" + std::to_string(b);
            }
            out.push_back(std::move(var));
        }
    }
    return out;
}

struct Summary {
    size_t nTotal = 0;
    size_t nOk = 0;       // loads that succeeded
    size_t nRefused = 0;  // loads that reported a failure
    size_t nSlow = 0;     // loads that took kSlowSeconds or more
    std::string slowest;  // the slowest variant and its time
};

// Runs the loader on every variant. The loader returns true on success.
inline Summary Run(const std::vector<uint8_t>& valid, const std::function<bool(const std::vector<uint8_t>&)>& load,
                   const Options& opt = {}) {
    Summary s;
    double worst = -1;
    for (const Variant& v : MakeVariants(valid, opt)) {
        const auto t0 = std::chrono::steady_clock::now();
        const bool ok = load(v.bytes);
        const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        ++s.nTotal;
        (ok ? s.nOk : s.nRefused)++;
        if (secs >= kSlowSeconds) ++s.nSlow;
        if (secs > worst) {
            worst = secs;
            s.slowest = v.what + " (" + std::to_string(secs) + " s)";
        }
    }
    return s;
}

}  // namespace mutation
