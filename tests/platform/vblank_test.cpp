#include "platform/clock.h"
#include "platform/vblank.h"

#include <gtest/gtest.h>

TEST(VerticalBlank, FallsOnSixtiethsOfASecond) {
    struct Case {
        uint32_t now, next;
    };
    const Case cases[] = {{0, 16}, {15, 16}, {16, 33}, {33, 50}, {999, 1000}, {1000, 1016}, {1016, 1033}};
    for (const Case& c : cases) EXPECT_EQ(platform::NextVerticalBlank(c.now), c.next) << c.now;
    // Over a second there are exactly 60 blanks.
    uint32_t t = 0;
    int n = 0;
    while ((t = platform::NextVerticalBlank(t)) <= 1000) n += 1;
    EXPECT_EQ(n, 60);
    // Near the wrap of the clock the next blank is still later.
    EXPECT_GT(platform::NextVerticalBlank(0xFFFFFFF0u), 0xFFFFFFF0u);
}

TEST(VerticalBlank, WaitSleepsOnTheProgramClockUntilTheBlank) {
    platform::FakeClock clock(20);
    platform::WaitForVerticalBlank();
    EXPECT_EQ(clock.Now(), 33u);
    int polls = 0;
    static int* s_polls = nullptr;
    s_polls = &polls;
    // One sleep up to the blank, not a poll every millisecond.
    platform::WaitForVerticalBlank([] { return ++*s_polls < 100; });
    EXPECT_EQ(polls, 1);
    EXPECT_EQ(clock.Now(), 50u);
    polls = 0;
    platform::WaitForVerticalBlank([] { return ++*s_polls < 1; });
    EXPECT_EQ(polls, 1);
    EXPECT_EQ(clock.Now(), 50u);  // ended at once
}
