// Numeric rules of play code. Positions, speeds and impacts are doubles;
// cells, HP, timers and keys are int32. Every conversion of a double to an
// int goes through TruncToInt, so that play is frame-exact on every machine.
#pragma once
#include <cmath>
#include <cstdint>
#include <limits>

// Toward zero, like a cast; NaN, infinities and values outside the int32
// range give INT32_MIN, as the x86 truncating conversion does.
constexpr int32_t TruncToInt(double v) {
    // The bounds are exact doubles: -2^31 and 2^31.
    if (!(v > -2147483649.0 && v < 2147483648.0)) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

// Constants of play, as the game writes them (not as a library computes them).
inline constexpr double kSqrt2 = 1.4142135623730951;
inline constexpr double kSqrtHalf = 0.7071067811865476;  // 1 / sqrt(2), rounded up in the last place
inline constexpr double kScale102 = 1.0199999809265137;  // 1.02 as a float
inline constexpr double kRadPerDeg = 0.017453292519943295;
inline constexpr double kRadPerDegShort = 0.017453292519943278;
inline constexpr double kDegPerRad = 57.29577951308232;
inline constexpr double kDegPerRadLong = 57.29577951308239;

// int32 arithmetic that wraps like the game's (values read from files can be
// anything).
constexpr int32_t WrapMul(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}
constexpr int32_t WrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
