// Where a status lives: the field of a chara or of the game behind a status
// index, its width and the range a status operation clamps it to. Shared by
// the status condition, the status operation and the formula evaluator.
#pragma once
#include <cstdint>

class cChara;

struct StatusField {
    void* p = nullptr;  // null: no field (positions, unknown indexes)
    int width = 4;      // bytes: 1, 2 or 4
    int32_t lo = 0, hi = 0;

    // The value, sign-extended from its width.
    int32_t Read() const {
        if (width == 1) return *static_cast<const int8_t*>(p);
        if (width == 2) return *static_cast<const int16_t*>(p);
        return *static_cast<const int32_t*>(p);
    }
    // Stores the value in the field's width.
    void Write(int32_t v) const {
        if (width == 1)
            *static_cast<int8_t*>(p) = static_cast<int8_t>(v);
        else if (width == 2)
            *static_cast<int16_t*>(p) = static_cast<int16_t>(v);
        else
            *static_cast<int32_t*>(p) = v;
    }
};

// The chara's field of a status; varIndex chooses the chara variable of
// STATUS_VAR (checked access).
StatusField CharaStatusField(cChara& c, int status, int varIndex);
// The field of a system value (time left, scroll speeds, score, lives).
StatusField SystemValueField(int index);
