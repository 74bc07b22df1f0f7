#include <gtest/gtest.h>

#include <climits>

#include "media/text/fade_angle.h"
#include "media/text/number_layout.h"

namespace {

using text::cFadeAngle;
using text::FadeDirection;

TEST(FadeAngle, FadeOutWithStepTen) {
    cFadeAngle fade(FadeDirection::kOut);
    const int weights[] = {255, 251, 239, 220, 195, 163, 127, 87, 44, 0};
    for (int call = 0; call < 10; ++call) {
        EXPECT_EQ(fade.Angle(), 90 - 10 * call);
        EXPECT_EQ(text::FadeQuadWeight(fade.Angle()), weights[call]) << call;
        EXPECT_EQ(fade.AtStart(), call == 0);
        EXPECT_EQ(fade.Step(10), call == 9) << call;  // the call drawn at 0 completes
    }
    EXPECT_EQ(fade.Angle(), 90);  // re-armed: the eleventh call starts again
    EXPECT_FALSE(fade.Step(10));
}

TEST(FadeAngle, FadeInMirrors) {
    cFadeAngle fade(FadeDirection::kIn);
    for (int call = 0; call < 10; ++call) {
        EXPECT_EQ(fade.Angle(), 10 * call);
        EXPECT_EQ(fade.AtStart(), call == 0);
        EXPECT_EQ(fade.Step(10), call == 9);
    }
    EXPECT_EQ(fade.Angle(), 0);
}

TEST(FadeAngle, OvershootAndReset) {
    struct Case {
        FadeDirection dir;
        double from, step;
        double clamped;
    } cases[] = {
        {FadeDirection::kOut, 20, 35, 0},
        {FadeDirection::kIn, 70, 35, 90},
    };
    for (const auto& c : cases) {
        cFadeAngle fade(c.dir);
        while (fade.Angle() != c.from) fade.Step(10);
        EXPECT_FALSE(fade.Step(c.step));
        EXPECT_EQ(fade.Angle(), c.clamped);
        EXPECT_TRUE(fade.Step(c.step));
    }
    // A reset jumps to the end state, which the same call completes.
    cFadeAngle out(FadeDirection::kOut);
    out.Reset();
    EXPECT_EQ(255 - text::FadeQuadWeight(out.Angle()), 255);  // an opaque black quad
    EXPECT_TRUE(out.Step(10));
    cFadeAngle in(FadeDirection::kIn);
    in.Reset();
    EXPECT_EQ(in.Angle(), 90);
    EXPECT_TRUE(in.Step(10));
}

TEST(FadeAngle, BlendWeights) {
    EXPECT_EQ(text::FadeBlendWeight(90), 256);
    EXPECT_EQ(text::FadeBlendWeight(30), 127);  // sin(30°) rounds just below one half
    EXPECT_EQ(text::FadeBlendWeight(10), 44);
    EXPECT_EQ(text::FadeBlendWeight(0), 0);
}

TEST(NumberLayout, Positions) {
    struct Case {
        int value, minDigits, centre;
        std::vector<std::pair<int, int>> cells;  // (x, digit)
    } cases[] = {
        {0, 0, 0, {{0, 0}}},
        {7, 3, 0, {{20, 7}}},            // right-aligned: x + 2 × cellW
        {7, 3, 1, {{10, 7}}},            // centred: x + cellW
        {7, 4, 1, {{15, 7}}},            // 3 × cellW / 2 truncated
        {7, 4, 2, {{15, 7}}},            // any non-zero centre
        {12345, 3, 0, {{0, 1}, {10, 2}, {20, 3}, {30, 4}, {40, 5}}},
        {105, 3, 1, {{0, 1}, {10, 0}, {20, 5}}},
        {INT_MAX, 0, 0, {{0, 2}, {10, 1}, {20, 4}, {30, 7}, {40, 4}, {50, 8}, {60, 3}, {70, 6}, {80, 4}, {90, 7}}},
        // Negative values: the magnitude's digits, never a cell left of the strip.
        {-42, 3, 0, {{10, 4}, {20, 2}}},
        {INT_MIN, 0, 0, {{0, 2}, {10, 1}, {20, 4}, {30, 7}, {40, 4}, {50, 8}, {60, 3}, {70, 6}, {80, 4}, {90, 8}}},
    };
    for (const auto& c : cases) {
        auto got = text::LayoutNumber(c.value, c.minDigits, c.centre, 10);
        ASSERT_EQ(got.size(), c.cells.size()) << c.value;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].x, c.cells[i].first) << c.value << " " << i;
            EXPECT_EQ(got[i].digit, c.cells[i].second) << c.value << " " << i;
        }
    }
    // With a centred odd offset and a cell width of 7: (4 - 1) × 7 / 2 = 10.
    EXPECT_EQ(text::LayoutNumber(3, 4, 1, 7)[0].x, 10);
}

}  // namespace
