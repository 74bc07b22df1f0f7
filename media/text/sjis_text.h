// Small helpers over CP932 text used by the font layer: character tests,
// counting and the size of a text on the fixed grid.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace text {

// Bytes up to the first "\n" or the end.
size_t LineLength(std::string_view s);

// True when s[pos] is a CP932 lead byte followed by a valid trail byte
// (0x40..0x7E, 0x80..0xFC).
bool IsDoubleByteChar(std::string_view s, size_t pos = 0);

// Characters of the text, a two-byte character counting one and "\n" not
// counting.
int SjisCharCount(std::string_view s);

// The lines of a text, cut at "\n". A trailing "\n" gives an empty last line,
// an empty text one empty line.
std::vector<std::string_view> SplitLines(std::string_view s);

struct TextSize {
    int w = 0;
    int h = 0;
};

// Grid fonts: width = the largest character count of a line × character
// pitch, height = lines × line pitch.
TextSize MeasureGridText(std::string_view s, int charPitch, int linePitch);

// A text-box coordinate of 10000 means centred on the frame picture:
// frameSize / 2 - size / 2 (arithmetic shifts); anything else stays.
constexpr int kCentred = 10000;
int ResolveCentred(int v, int frameSize, int size);

}  // namespace text
