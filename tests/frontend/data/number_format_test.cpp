// Decimal texts of the rankings, the save slots and the options: padded
// numbers, digit counts and times.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "frontend/data/number_format.h"

namespace {

TEST(NumberFormat, CountDigits) {
    struct Case {
        int v, digits;
    };
    for (const Case c : {Case{0, 1}, Case{-42, 2}, Case{9, 1}, Case{10, 2}, Case{INT_MAX, 10}, Case{INT_MIN, 10}})
        EXPECT_EQ(CountDigits(c.v), c.digits) << c.v;
}

TEST(NumberFormat, ZeroPadded) {
    struct Case {
        int v, width, zeroPad, plus;
        const char* text;
    };
    const Case cases[] = {
        {7, 3, 0, 0, "  7"},       // blanks
        {7, 3, 1, 1, "+007"},      // zeros and plus
        {-7, 3, 0, 0, "-  7"},     // the sign in front of the blanks
        {-7, 3, 1, 1, "-007"},     // no plus on a negative
        {0, 3, 0, 0, "  0"},       // the last zero stays
        {0, 0, 0, 1, "+0"},
        {5432, 2, 1, 0, "5432"},   // wider than the width
        {5432, -1, 0, 0, "5432"},  // no width
        {INT_MIN, 0, 1, 0, "-2147483648"},
        {INT_MAX, 12, 1, 0, "002147483647"},
    };
    for (const Case& c : cases) {
        std::string out = "old";
        FormatZeroPadded(out, c.v, c.width, c.zeroPad, c.plus);
        EXPECT_EQ(out, c.text) << c.v << " " << c.width << " " << c.zeroPad << " " << c.plus;
    }
}

TEST(NumberFormat, RankingTimes) {
    struct Case {
        int v;
        const char* text;
    };
    const Case cases[] = {
        {5432, "00:54.32"}, {6000, "01:00.00"}, {999999, "166:39.99"}, {0, "00:00.00"},
        {-6543, "-01:-05.-43"},  // each part keeps its own sign
    };
    for (const Case& c : cases) EXPECT_EQ(FormatRankingValue(c.v), c.text) << c.v;
}

TEST(NumberFormat, CountValue) {
    EXPECT_EQ(CountValue({1, 0, 1, 1, 0}, 1), 3);
    EXPECT_EQ(CountValue({}, 1), 0);
    EXPECT_EQ(CountValue({-1, -1, 2}, -1), 2);
}

}  // namespace
