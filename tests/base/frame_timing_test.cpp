#include "base/frame_timing.h"

#include "platform/clock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class FrameTimingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFrameTiming();
        SetFrameLimiterD3DActive(true);
    }
    void TearDown() override {
        SetFrameLimiterD3DActive(false);
        SetFrameStatsDrawer(nullptr);
        ResetFrameTiming();
    }
    platform::FakeClock clock{1000};
};

std::vector<std::string> g_drawn;
void RecordStats(DDSURFACEDATA*, const char* text) { g_drawn.emplace_back(text); }

}  // namespace

TEST_F(FrameTimingTest, FrameTimerAndElapsedTimeWrap) {
    EXPECT_EQ(GetFrameTime(0), 1);  // before the first measurement
    clock.Set(0xFFFFFFF0u);
    StartFrameTimer();
    clock.Advance(0x20);
    EXPECT_EQ(GetElapsedTime(0), 0x20u);
    EXPECT_EQ(GetFrameTime(1), 0x20);
    clock.Advance(5);
    EXPECT_EQ(GetFrameTime(0), 0x20);
    EXPECT_EQ(GetElapsedTime(1), 0x25u);
    EXPECT_EQ(GetElapsedTime(0), 0u);
}

TEST_F(FrameTimingTest, FramesPerSecondPublishedAfterEachSecond) {
    EXPECT_EQ(GetFramesPerSecond(0), 0);
    std::vector<int> published;
    for (int frame = 0; frame < 130; ++frame) {
        published.push_back(GetFramesPerSecond(1));
        clock.Advance(16);
    }
    // Frames at 1000, 1016, ...: the call at 2008 publishes the 63 counted
    // frames and is not counted itself; the next window counts 62.
    EXPECT_EQ(published[62], 0);
    EXPECT_EQ(published[63], 63);
    EXPECT_EQ(published[125], 63);
    EXPECT_EQ(published[126], 62);
    EXPECT_EQ(GetFramesPerSecond(0), 62);
}

TEST_F(FrameTimingTest, FrameTickLetsOneFrameThroughPer16Ms) {
    struct Step {
        uint32_t now;
        bool tick;
    } steps[] = {{1000, true}, {1010, false}, {1015, false}, {1016, true}, {1040, true},
                 {1050, false}, {1055, false}, {1056, true}, {1056, false}};
    for (const auto& s : steps) {
        clock.Set(s.now);
        EXPECT_EQ(IsFrameTick(60), s.tick) << s.now;
    }
    EXPECT_TRUE(IsFrameTick(0));
}

TEST_F(FrameTimingTest, LimiterSchedulePerSecondAndReset) {
    // Present when the limiter allows, else sleep 1 ms, as the frame end does.
    std::vector<uint32_t> presented;
    while (clock.Now() < 2020) {
        if (FrameLimiter(60, 0, nullptr)) presented.push_back(clock.Now());
        else platform::SleepMs(1);
    }
    ASSERT_GE(presented.size(), 62u);
    EXPECT_EQ(presented[0], 1000u);
    EXPECT_EQ(presented[1], 1017u);  // due at 1016.67
    EXPECT_EQ(presented[2], 1034u);
    EXPECT_EQ(presented[3], 1050u);
    EXPECT_EQ(presented[59], 1984u);  // the 60th frame; its interval ends the second at 2000
    EXPECT_EQ(presented[60], 2000u);
    EXPECT_EQ(presented[61], 2017u);

    SetFrameLimiterD3DActive(false);
    EXPECT_TRUE(FrameLimiter(60, 0, nullptr));
    SetFrameLimiterD3DActive(true);
    EXPECT_TRUE(FrameLimiter(0, 0, nullptr));
}

TEST_F(FrameTimingTest, LimiterKeepsTheRateOverManySecondsAndRestartsWhenBehind) {
    auto run = [&](uint32_t until) {
        int frames = 0;
        while (clock.Now() < until) {
            if (FrameLimiter(60, 0, nullptr)) ++frames;
            else platform::SleepMs(1);
        }
        return frames;
    };
    // Ten seconds hold exactly 600 frames (the first one at 1000 included).
    EXPECT_EQ(run(11000), 600);
    // A stall of half a second in the last frame of a second: the next second
    // starts from the late frame instead of bursting to catch up.
    EXPECT_EQ(run(11000 + 983), 59);
    clock.Advance(500);
    ASSERT_TRUE(FrameLimiter(60, 0, nullptr));  // the 60th frame, late
    const uint32_t late = clock.Now();
    EXPECT_TRUE(FrameLimiter(60, 0, nullptr));  // due at once: the new second starts at the late frame
    EXPECT_FALSE(FrameLimiter(60, 0, nullptr));
    clock.Set(late + 16);
    EXPECT_FALSE(FrameLimiter(60, 0, nullptr));
    clock.Set(late + 17);
    EXPECT_TRUE(FrameLimiter(60, 0, nullptr));
}

TEST_F(FrameTimingTest, LimiterWaitIsTheTimeToTheNextFrame) {
    EXPECT_EQ(FrameLimiterWaitMs(60), 1u);  // not started
    ASSERT_TRUE(FrameLimiter(60, 0, nullptr));  // at 1000; the next one is due at 1016.67
    EXPECT_EQ(FrameLimiterWaitMs(60), 17u);
    clock.Set(1010);
    EXPECT_EQ(FrameLimiterWaitMs(60), 7u);
    clock.Set(1016);
    EXPECT_EQ(FrameLimiterWaitMs(60), 1u);
    clock.Set(1030);
    EXPECT_EQ(FrameLimiterWaitMs(60), 1u);  // late
    EXPECT_EQ(FrameLimiterWaitMs(0), 1u);
    SetFrameLimiterD3DActive(false);
    EXPECT_EQ(FrameLimiterWaitMs(60), 1u);
}

TEST_F(FrameTimingTest, LimiterStatisticsAverageSixteenSamples) {
    g_drawn.clear();
    SetFrameStatsDrawer(&RecordStats);
    int surface = 0;
    auto* s = reinterpret_cast<DDSURFACEDATA*>(&surface);
    StartFrameTimer();
    clock.Advance(20);
    GetFrameTime(1);
    clock.Set(1000);
    for (int i = 0; i < 16; ++i) {
        while (!FrameLimiter(60, 1, s)) platform::SleepMs(1);
    }
    ASSERT_EQ(g_drawn.size(), 16u);
    EXPECT_EQ(g_drawn[0], "FPS-Ave 0(0)\ndwTime_OneSec 1000\nnFrameCt_OneSec 1");
    EXPECT_EQ(g_drawn[14].substr(0, 13), "FPS-Ave 0(0)\n");
    EXPECT_EQ(g_drawn[15], "FPS-Ave 0(20)\ndwTime_OneSec 1000\nnFrameCt_OneSec 16");
}

TEST_F(FrameTimingTest, FrameSkipCounter) {
    auto trueCalls = [](int n, int calls) {
        std::vector<int> at;
        FrameSkipCounter(0, n);
        for (int i = 1; i <= calls; ++i)
            if (FrameSkipCounter(1, n)) at.push_back(i);
        return at;
    };
    EXPECT_EQ(trueCalls(60, 130), (std::vector<int>{60, 120}));
    EXPECT_EQ(trueCalls(1, 3), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(trueCalls(0, 3), (std::vector<int>{1, 2, 3}));

    EXPECT_FALSE(FrameSkipCounter(0, 60));
    EXPECT_TRUE(FrameSkipCounter(2, 60));  // count is 0
    FrameSkipCounter(1, 60);
    EXPECT_FALSE(FrameSkipCounter(2, 60));
}
