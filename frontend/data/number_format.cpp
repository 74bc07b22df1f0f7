#include "frontend/data/number_format.h"

#include <cstdint>
#include <cstdlib>

namespace {
// |v| in 64 bits, so INT_MIN keeps its digits.
uint64_t Magnitude(int v) { return static_cast<uint64_t>(std::llabs(static_cast<long long>(v))); }
}  // namespace

int CountDigits(int v) {
    uint64_t m = Magnitude(v);
    int n = 1;
    while (m >= 10) {
        m /= 10;
        ++n;
    }
    return n;
}

void FormatZeroPadded(std::string& out, int v, int width, int zeroPad, int plus) {
    const int digits = CountDigits(v);
    if (width <= 0 || width < digits) width = digits;
    std::string body(static_cast<size_t>(width), '0');
    uint64_t m = Magnitude(v);
    for (int i = width - 1; i >= 0 && m > 0; --i) {
        body[static_cast<size_t>(i)] = static_cast<char>('0' + m % 10);
        m /= 10;
    }
    if (!zeroPad)
        for (size_t i = 0; i + 1 < body.size() && body[i] == '0'; ++i) body[i] = ' ';
    if (v < 0)
        out = "-" + body;
    else if (plus)
        out = "+" + body;
    else
        out = body;
}

std::string FormatRankingValue(int v) {
    const int t = v / 100;
    std::string minutes, seconds, hundredths;
    FormatZeroPadded(minutes, t / 60, 2, 1, 0);
    FormatZeroPadded(seconds, t % 60, 2, 1, 0);
    FormatZeroPadded(hundredths, v % 100, 2, 1, 0);
    return minutes + ":" + seconds + "." + hundredths;
}

int CountValue(const std::vector<int>& values, int value) {
    int n = 0;
    for (int x : values) n += x == value ? 1 : 0;
    return n;
}
