// Numeric rules of play: the one truncation and the constants' exact bits.
#include "play/numeric.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

namespace {

TEST(Numeric, TruncToIntTable) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    const struct {
        double in;
        int32_t out;
    } cases[] = {
        {std::nan(""), kMin},
        {std::numeric_limits<double>::infinity(), kMin},
        {-std::numeric_limits<double>::infinity(), kMin},
        {1e10, kMin},
        {-1e10, kMin},
        {-0.5, 0},
        {-1.5, -1},
        {1.5, 1},
        {-0.0, 0},
        {2147483647.9, 2147483647},
        {2147483648.0, kMin},   // 2^31
        {-2147483648.9, kMin},  // truncates to -2^31, still in range
        {-2147483649.0, kMin},  // -2^31 - 1
    };
    for (const auto& c : cases) EXPECT_EQ(TruncToInt(c.in), c.out) << c.in;
}

TEST(Numeric, ConstantsAreTheGamesBits) {
    EXPECT_EQ(std::bit_cast<uint64_t>(kSqrt2), 0x3FF6A09E667F3BCDull);
    EXPECT_EQ(std::bit_cast<uint64_t>(kSqrtHalf), 0x3FE6A09E667F3BCDull);
    // The library's 1 / sqrt(2) is one place lower: not the game's value.
    EXPECT_NE(1.0 / std::sqrt(2.0), kSqrtHalf);
    EXPECT_EQ(std::bit_cast<uint64_t>(kScale102), 0x3FF051EB80000000ull);
    EXPECT_EQ(kScale102, static_cast<double>(1.02f));
    EXPECT_EQ(std::bit_cast<uint64_t>(kRadPerDeg), 0x3F91DF46A2529D39ull);
    EXPECT_EQ(std::bit_cast<uint64_t>(kRadPerDegShort), 0x3F91DF46A2529D34ull);
    EXPECT_EQ(std::bit_cast<uint64_t>(kDegPerRad), 0x404CA5DC1A63C1F8ull);
    EXPECT_EQ(std::bit_cast<uint64_t>(kDegPerRadLong), 0x404CA5DC1A63C201ull);
}

TEST(Numeric, WrappingArithmetic) {
    EXPECT_EQ(WrapMul(0x40000000, 32), 0);
    EXPECT_EQ(WrapAdd(2147483647, 1), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(-33 >> 5, -2);  // arithmetic shift of negative cells
}

}  // namespace
