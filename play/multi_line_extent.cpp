#include "play/multi_line_extent.h"

#include <algorithm>

#include "media/text/font.h"

void GetMultiLineExtent(const Font& font, int& width, int& height, std::string_view text) {
    // A line longer than the 511 bytes of the measuring buffer is measured
    // whole.
    int lines = 0, widest = 0;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('\n', start);
        const std::string_view line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        widest = std::max(widest, SjisCharCount(line));
        ++lines;
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    width = widest * font.m_nPitch;
    height = lines * font.m_nLinePitch;
}
