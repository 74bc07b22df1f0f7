// The value operators in the three widths, the percentage and the narrow
// comparisons.
#include <gtest/gtest.h>

#include <climits>

#include "engine/param_op.h"

namespace {

constexpr int32_t M = 999999;

struct OpCase {
    const char* name;
    int width;  // 4, 2, 1
    int32_t value, operand;
    int op;
    int32_t min, max;
    int32_t expected;
};

TEST(ParamOpTest, OperatorsByWidth) {
    const OpCase cases[] = {
        {"set", 4, 7, -3, OP_SET, -M, M, -3},
        {"add clamps", 4, 999990, 20, OP_ADD, -M, M, M},
        {"sub wraps", 4, INT_MIN, 1, OP_SUB, INT_MIN, INT_MAX, INT_MAX},
        {"mul", 4, -3, 4, OP_MUL, -M, M, -12},
        {"mul like signs, negative product", 4, 1 << 16, 1 << 15, OP_MUL, -M, M, M},
        {"mul wraps to 0", 4, 1 << 16, 1 << 16, OP_MUL, -M, M, 0},
        {"mul unlike signs wraps to 0", 4, -(1 << 16), 1 << 16, OP_MUL, -M, M, 0},
        {"mul zero is positive", 4, 0, -5, OP_MUL, -M, M, 0},
        {"mul unlike signs, positive product", 4, 65537, -32769, OP_MUL, -M, M, -M},
        {"div truncates", 4, -7, 2, OP_DIV, -M, M, -3},
        {"div by 0 still clamps", 4, 5000000, 0, OP_DIV, -M, M, M},
        {"mod keeps the sign", 4, -7, 3, OP_MOD, -M, M, -1},
        {"mod by 0", 4, 8, 0, OP_MOD, -M, M, 8},
        {"INT_MIN / -1", 4, INT_MIN, -1, OP_DIV, INT_MIN, INT_MAX, INT_MAX},
        {"INT_MIN % -1", 4, INT_MIN, -1, OP_MOD, INT_MIN, INT_MAX, 0},
        {"percent rounds up", 4, 3, 50, OP_PERCENT, -M, M, 2},
        {"percent rounds away", 4, -3, 50, OP_PERCENT, -M, M, -2},
        {"percent of a negative operand", 4, 3, -50, OP_PERCENT, -M, M, -2},
        {"unknown operator clamps", 4, -5, 9, 77, 0, M, 0},
        {"16: -32768 / -1 wraps, then clamps", 2, -32768, -1, OP_DIV, 0, 119, 0},
        {"16: add wraps", 2, 32767, 1, OP_ADD, -32768, 32767, -32768},
        {"16: mul wraps to 0", 2, 256, 256, OP_MUL, -32768, 32767, 0},
        {"16: mul saturates", 2, 200, 200, OP_MUL, 0, 200, 200},
        {"16: percent", 2, 200, 150, OP_PERCENT, 0, 1000, 300},
        {"8: 99 + 100 wraps to -57", 1, 99, 100, OP_ADD, 0, 99, 0},
        {"8: add wraps", 1, 100, 100, OP_ADD, -128, 127, -56},
        {"8: -128 / -1", 1, -128, -1, OP_DIV, -20, 20, -20},
        {"8: percent stored in 8 bits", 1, 100, 100, OP_PERCENT, -128, 127, 100},
        {"8: mod", 1, -7, 4, OP_MOD, -20, 20, -3},
    };
    for (const OpCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.width == 4) {
            int32_t v = c.value;
            ApplyParamOp(v, c.operand, c.op, c.min, c.max);
            EXPECT_EQ(v, c.expected);
        } else if (c.width == 2) {
            int16_t v = static_cast<int16_t>(c.value);
            ApplyStatusOpShort(v, static_cast<int16_t>(c.operand), c.op, c.min, c.max);
            EXPECT_EQ(v, c.expected);
        } else {
            int8_t v = static_cast<int8_t>(c.value);
            ApplyStatusOpByte(v, static_cast<int8_t>(c.operand), c.op, c.min, c.max);
            EXPECT_EQ(v, c.expected);
        }
    }
}

TEST(ParamOpTest, PercentRoundsOnlyWhenAsked) {
    EXPECT_EQ(PercentOf(7, 50, 1), 4);
    EXPECT_EQ(PercentOf(-7, 50, 1), -4);
    EXPECT_EQ(PercentOf(7, -50, 1), -4);
    EXPECT_EQ(PercentOf(7, 50, 0), 3);
    EXPECT_EQ(PercentOf(-7, 50, 0), -3);
    EXPECT_EQ(PercentOf(200, 50, 0), 100);
    // The first argument in the narrow width, the second as it is.
    EXPECT_EQ(PercentOfShort(65536 + 100, 50, 0), 50);
    EXPECT_EQ(PercentOfByte(300, 50, 0), 22);  // 300 is 44 in 8 bits
    EXPECT_EQ(PercentOfByte(10, 300, 0), 30);
}

TEST(ParamOpTest, NarrowComparisonsAndClamps) {
    EXPECT_TRUE(CompareByOpByte(44, 300, 0));
    EXPECT_TRUE(CompareByOpShort(5, 65536 + 5, 0));
    EXPECT_FALSE(CompareByOp(5, 65536 + 5, 0));
    int16_t s = 300;
    ClampShort(s, 0, 200);
    EXPECT_EQ(s, 200);
    int32_t v = -4;
    EXPECT_EQ(ClampValue(v, 0, 10), 0);
    EXPECT_EQ(v, 0);
}

}  // namespace
