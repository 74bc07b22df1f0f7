// Value operators of status operations and parameter changes, in the 32-,
// 16- and 8-bit widths of the fields they change, with the percentage and
// comparison helpers of the same families. Arithmetic wraps in the field's
// width, as the game's data relies on.
#pragma once
#include <cstdint>

#include "engine/compare_op.h"

enum ParamOp : int {
    OP_SET = 0,
    OP_ADD,
    OP_SUB,
    OP_MUL,      // saturates to max / min when the product's sign is wrong
    OP_DIV,      // nothing for 0
    OP_MOD,      // nothing for 0; the sign of the value
    OP_PERCENT,  // value x operand / 100, rounded half away from zero
};

// a x b (32-bit product) / 100, truncated toward zero; with round set,
// rounded half away from zero first.
int32_t PercentOf(int32_t a, int32_t b, int round);
// The same with a taken as int16 / int8.
int32_t PercentOfShort(int32_t a, int32_t b, int round);
int32_t PercentOfByte(int32_t a, int32_t b, int round);

// CompareByOp with both operands cut to 16 / 8 bits.
inline int CompareByOpShort(int32_t a, int32_t b, int op) { return CompareByOp(static_cast<int16_t>(a), static_cast<int16_t>(b), op); }
inline int CompareByOpByte(int32_t a, int32_t b, int op) { return CompareByOp(static_cast<int8_t>(a), static_cast<int8_t>(b), op); }

// Clamps in place (a range with hi < lo gives hi).
void ClampShort(int16_t& value, int32_t lo, int32_t hi);
int32_t ClampValue(int32_t& value, int32_t lo, int32_t hi);

// Applies the operator to the field, then clamps it to [min, max]. Any
// other operator only clamps.
void ApplyParamOp(int32_t& value, int32_t operand, int op, int32_t min, int32_t max);
void ApplyStatusOpShort(int16_t& value, int16_t operand, int op, int32_t min, int32_t max);
void ApplyStatusOpByte(int8_t& value, int8_t operand, int op, int32_t min, int32_t max);
