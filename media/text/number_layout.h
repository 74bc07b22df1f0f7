// Where DDDrawNumber puts the digit cells of a number strip.
#pragma once
#include <vector>

namespace text {

struct DigitCell {
    int x = 0;      // offset from the number's x
    int digit = 0;  // 0..9: the strip cell at sx + digit × cellW
};

// The decimal digits of value, most significant first (0 gives one 0), at
// one cell width apart. With fewer digits than minDigits the number is
// right-aligned in a field of minDigits cells, or centred in it (offset
// halved, truncated) when centre is non-zero; no leading zeros or blanks are
// drawn. The strip has no minus cell: a negative value shows the digits of
// its magnitude, so no cell left of the strip is ever used.
std::vector<DigitCell> LayoutNumber(int value, int minDigits, int centre, int cellW);

}  // namespace text
