// The view's scroll axes: set-up values, the clamp, ranges and auto-scroll.
#include "play/scroll_axis.h"

#include <gtest/gtest.h>

#include "records/stage.h"

namespace {

TEST(ScrollAxis, SetUpValues) {
    cScrollAxis x;
    x.Init(0, 44);
    EXPECT_EQ(x.m_nView, 640);
    EXPECT_EQ(x.m_nCells, 64);
    EXPECT_EQ(x.m_nShift, 6);  // 63 = binary 111111: a row of 64 cells
    EXPECT_EQ(x.m_nStride, 64);
    EXPECT_EQ(x.m_nOrigin, 320);
    EXPECT_EQ(x.m_nEnd, 54 * 32);
    EXPECT_EQ(x.m_nLimit, 44 * 32 + 640);
    x.Init(0, 45);  // 64 needs seven digits
    EXPECT_EQ(x.m_nShift, 7);
    EXPECT_EQ(x.m_nStride, 128);
    EXPECT_EQ(x.m_nBorder, 10);

    cScrollAxis y;
    y.Init(1, 15);
    EXPECT_EQ(y.m_nView, 480);
    EXPECT_EQ(y.m_nCells, 35);
    EXPECT_EQ(y.m_nStride, 35);
    EXPECT_EQ(y.m_nShift, 0);
    EXPECT_EQ(y.m_nEnd, 25 * 32);

    cScrollAxis bad;
    bad.Init(0, -30);  // a broken stage size: no end
    EXPECT_EQ(bad.m_nEnd, 0);
    EXPECT_EQ(bad.m_nShift, 0);
}

// A stage exactly as wide as the view stays at 320, wherever it was put.
TEST(ScrollAxis, TwentyCellStageIsPinned) {
    for (double start : {0.0, 320.0, 321.5, 5000.0}) {
        cScrollAxis a;
        a.Init(0, 20);
        a.m_dPos = start;
        a.Clamp();
        EXPECT_EQ(a.m_dPos, 320.0) << start;
        EXPECT_EQ(a.m_bAtEdge, 1) << start;
    }
}

TEST(ScrollAxis, ClampSteps) {
    cScrollAxis a;
    a.Init(0, 40);  // view range [320, 1600)
    a.m_dPos = 500.5;
    a.Clamp();
    EXPECT_EQ(a.m_dPos, 500.5);
    EXPECT_EQ(a.m_bAtEdge, 0);
    a.m_dPos = 960.25;  // 960.25 + 640 >= 1600
    a.Clamp();
    EXPECT_EQ(a.m_dPos, 960.0);
    EXPECT_EQ(a.m_bAtEdge, 1);
    a.m_dPos = 100.0;
    a.Clamp();
    EXPECT_EQ(a.m_dPos, 320.0);
    EXPECT_EQ(a.m_bAtEdge, 1);
}

TEST(ScrollAxis, SetRange) {
    cScrollAxis a;
    a.Init(0, 40);
    a.SetRange(5, 30, 1, 1);
    EXPECT_EQ(a.m_nMinPos, 320 + 160);
    EXPECT_EQ(a.m_nMaxEnd, 320 + 960 + 32);
    a.SetRange(5, 30, 0, 0);
    EXPECT_EQ(a.m_nMinPos, 320);
    EXPECT_EQ(a.m_nMaxEnd, a.m_nEnd);

    // maxCells below minCells - 1: maxEnd = minPos, and the view stays there.
    a.SetRange(10, 7, 1, 1);
    EXPECT_EQ(a.m_nMaxEnd, a.m_nMinPos);
    a.m_dPos = 2000.0;
    a.Clamp();
    EXPECT_EQ(a.m_dPos, a.m_nMinPos);
    EXPECT_EQ(a.m_bAtEdge, 1);
}

TEST(ScrollAxis, AutoScrollPerSubStep) {
    const double saved = g_Stage.m_dSubSteps;
    for (double f : {1.0, 3.0, 10.0}) {
        g_Stage.m_dSubSteps = f;
        cScrollAxis a;
        a.Init(0, 100);
        a.m_dPos = 400.0;
        a.SetAutoScroll(1, 10);
        EXPECT_EQ(a.m_bAutoOn, 1);
        EXPECT_EQ(a.m_dSpeed, 10 * 0.1 / f) << f;
        a.Advance();
        EXPECT_EQ(a.m_dPos, 400.0 + 10 * 0.1 / f) << f;
        EXPECT_EQ(a.m_bAtEdge, 0);
        a.SetAutoScroll(0, 10);
        EXPECT_EQ(a.m_dSpeed, 0.0);
        EXPECT_EQ(a.m_bAutoOn, 0);
    }
    // speed x 0.1, then / F: not speed x (0.1 / F).
    g_Stage.m_dSubSteps = 3.0;
    cScrollAxis a;
    a.SetAutoScroll(1, 7);
    EXPECT_EQ(a.m_dSpeed, 7 * 0.1 / 3.0);
    g_Stage.m_dSubSteps = saved;
}

}  // namespace
