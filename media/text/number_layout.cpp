#include "media/text/number_layout.h"

#include <cstdint>

namespace text {

std::vector<DigitCell> LayoutNumber(int value, int minDigits, int centre, int cellW) {
    int64_t v = value;
    if (v < 0) v = -v;
    int digits[10];
    int n = 0;
    do {
        digits[n++] = static_cast<int>(v % 10);
        v /= 10;
    } while (v != 0 && n < 10);
    int64_t offset = 0;
    if (n < minDigits) {
        offset = int64_t{minDigits - n} * cellW;
        if (centre != 0) offset /= 2;
    }
    std::vector<DigitCell> cells;
    cells.reserve(n);
    for (int k = 0; k < n; ++k) {
        cells.push_back({static_cast<int>(offset + int64_t{k} * cellW), digits[n - 1 - k]});
    }
    return cells;
}

}  // namespace text
