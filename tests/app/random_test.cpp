#include "app/random.h"

#include <gtest/gtest.h>

#include <thread>

TEST(Random, GoldenSequenceFromSeedOne) {
    SRand(1);
    EXPECT_EQ(Rand(), 41);
    EXPECT_EQ(Rand(), 18467);
    EXPECT_EQ(Rand(), 6334);
    EXPECT_EQ(Rand(), 26500);
    EXPECT_EQ(Rand(), 19169);
}

TEST(Random, FreshThreadStartsAsSeedOne) {
    SRand(12345);
    int first = 0;
    std::thread t([&] { first = Rand(); });
    t.join();
    EXPECT_EQ(first, 41);
}
