// Decimal texts of the front end: zero- or blank-padded numbers, their digit
// count, and a time in hundredths of a second as minutes:seconds.hundredths.
#pragma once
#include <string>
#include <vector>

// Decimal digits of |v| (1 for 0, 10 for INT_MIN).
int CountDigits(int v);
// v as decimal text of at least `width` digits (raised to the digit count),
// zero-filled; with zeroPad 0 the leading zeros but the last character become
// blanks. A negative value gets "-" in front (in front of the blanks too); with
// plus, a value of 0 or more gets "+".
void FormatZeroPadded(std::string& out, int v, int width, int zeroPad, int plus);
// "%s:%s.%s" of minutes and seconds (each at least two digits, zero-padded)
// and the hundredths of v: 5432 gives 00:54.32, 999999 gives 166:39.99.
std::string FormatRankingValue(int v);
// The number of elements equal to value.
int CountValue(const std::vector<int>& values, int value);
