#include "engine/param_op.h"

#include <type_traits>

#include "play/numeric.h"

namespace {

int32_t WrapNeg(int32_t v) { return static_cast<int32_t>(0u - static_cast<uint32_t>(v)); }

// The percentage of a 32-bit product: a negative operand takes the product's
// (wrapped) negation through the multiplication and negates the result.
double PercentProduct(int32_t a, int32_t b) {
    const int32_t p = WrapMul(a, b);
    return b < 0 ? -(static_cast<double>(WrapNeg(p)) * 0.01) : static_cast<double>(p) * 0.01;
}

double RoundAway(double d) { return d >= 0.0 ? d + 0.5 : d - 0.5; }

template <class T>
void ApplyOp(T& value, T operand, int op, int32_t min, int32_t max) {
    using U = std::make_unsigned_t<T>;
    const T v = value;
    // The result before the clamp. Only the 32-bit quotient of INT_MIN and
    // -1 leaves the int32 range; it is clamped as it is.
    int64_t r = v;
    switch (op) {
        case OP_SET: r = operand; break;
        case OP_ADD: r = static_cast<T>(static_cast<U>(static_cast<U>(v) + static_cast<U>(operand))); break;
        case OP_SUB: r = static_cast<T>(static_cast<U>(static_cast<U>(v) - static_cast<U>(operand))); break;
        case OP_MUL: {
            const T p = static_cast<T>(static_cast<U>(static_cast<uint32_t>(static_cast<U>(v)) * static_cast<uint32_t>(static_cast<U>(operand))));
            const bool vNeg = v < 0, oNeg = operand < 0;
            if (vNeg == oNeg && p < 0)
                r = static_cast<T>(max);
            else if (vNeg != oNeg && p > 0)
                r = static_cast<T>(min);
            else
                r = p;
            break;
        }
        case OP_DIV:
            if (operand != 0) {
                r = static_cast<int64_t>(v) / operand;
                if constexpr (sizeof(T) < 4) r = static_cast<T>(r);
            }
            break;
        case OP_MOD:
            if (operand != 0) r = static_cast<int64_t>(v) % operand;
            break;
        case OP_PERCENT: r = static_cast<T>(TruncToInt(RoundAway(PercentProduct(v, operand)))); break;
        default: break;
    }
    if (r < min) r = min;
    if (r > max) r = max;
    value = static_cast<T>(r);
}

}  // namespace

int32_t PercentOf(int32_t a, int32_t b, int round) {
    const double d = PercentProduct(a, b);
    return TruncToInt(round ? RoundAway(d) : d);
}
int32_t PercentOfShort(int32_t a, int32_t b, int round) { return PercentOf(static_cast<int16_t>(a), b, round); }
int32_t PercentOfByte(int32_t a, int32_t b, int round) { return PercentOf(static_cast<int8_t>(a), b, round); }

void ClampShort(int16_t& value, int32_t lo, int32_t hi) {
    if (value < lo) value = static_cast<int16_t>(lo);
    if (value > hi) value = static_cast<int16_t>(hi);
}

int32_t ClampValue(int32_t& value, int32_t lo, int32_t hi) {
    if (value < lo) value = lo;
    if (value > hi) value = hi;
    return value;
}

void ApplyParamOp(int32_t& value, int32_t operand, int op, int32_t min, int32_t max) { ApplyOp<int32_t>(value, operand, op, min, max); }
void ApplyStatusOpShort(int16_t& value, int16_t operand, int op, int32_t min, int32_t max) { ApplyOp<int16_t>(value, operand, op, min, max); }
void ApplyStatusOpByte(int8_t& value, int8_t operand, int op, int32_t min, int32_t max) { ApplyOp<int8_t>(value, operand, op, min, max); }
