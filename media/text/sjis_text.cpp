#include "media/text/sjis_text.h"

#include <algorithm>

#include "platform/cp932.h"

namespace text {

size_t LineLength(std::string_view s) {
    size_t n = s.find('\n');
    return n == std::string_view::npos ? s.size() : n;
}

bool IsDoubleByteChar(std::string_view s, size_t pos) {
    if (pos + 1 >= s.size()) return false;
    auto lead = static_cast<unsigned char>(s[pos]);
    auto trail = static_cast<unsigned char>(s[pos + 1]);
    return platform::IsSjisLeadByte(lead) && trail >= 0x40 && trail <= 0xFC && trail != 0x7F;
}

int SjisCharCount(std::string_view s) {
    int n = 0;
    for (size_t i = 0; i < s.size();) {
        if (IsDoubleByteChar(s, i)) {
            i += 2;
            ++n;
        } else {
            if (s[i] != '\n') ++n;
            ++i;
        }
    }
    return n;
}

std::vector<std::string_view> SplitLines(std::string_view s) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (;;) {
        size_t n = s.find('\n', start);
        if (n == std::string_view::npos) {
            lines.push_back(s.substr(start));
            return lines;
        }
        lines.push_back(s.substr(start, n - start));
        start = n + 1;
    }
}

TextSize MeasureGridText(std::string_view s, int charPitch, int linePitch) {
    auto lines = SplitLines(s);
    int widest = 0;
    for (auto line : lines) widest = std::max(widest, SjisCharCount(line));
    return {widest * charPitch, static_cast<int>(lines.size()) * linePitch};
}

int ResolveCentred(int v, int frameSize, int size) {
    return v == kCentred ? (frameSize >> 1) - (size >> 1) : v;
}

}  // namespace text
