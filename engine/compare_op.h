// The comparison operators of conditions and filters, the left value against
// the right one: 0 ==, 1 !=, 2 >=, 3 <=, 4 >, 5 <, 6 divisible, 7 not
// divisible; any other operator never holds. Divisibility takes |left| in 64
// bits, so INT_MIN neither overflows nor traps; a divisor of 0 divides
// everything.
#pragma once
#include <cstdint>

constexpr int CompareByOp(int32_t left, int32_t right, int op) {
    const int64_t a = left < 0 ? -static_cast<int64_t>(left) : left;
    switch (op) {
        case 0: return left == right;
        case 1: return left != right;
        case 2: return left >= right;
        case 3: return left <= right;
        case 4: return left > right;
        case 5: return left < right;
        case 6: return right == 0 || a % right == 0;
        case 7: return right != 0 && a % right != 0;
        default: return 0;
    }
}
