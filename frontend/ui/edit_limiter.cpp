#include "frontend/ui/edit_limiter.h"

#include "platform/cp932.h"

#include <algorithm>

namespace ui {

int EditReadLength(const EditLimits& limits) {
    return limits.countChars ? 2 * limits.bufLen - 1 : limits.bufLen;
}

std::string ReadItemText(const std::string& text, int length) {
    constexpr int kBuffer = 5120;
    length = std::min(length, kBuffer);
    if (length <= 0) return std::string();
    return text.substr(0, static_cast<size_t>(length - 1));
}

int EditLength(const std::string& text, size_t from, size_t to, bool countChars) {
    to = std::min(to, text.size());
    if (from >= to) return 0;
    if (!countChars) return static_cast<int>(to - from);
    int n = 0;
    size_t i = from;
    while (i < to) {
        if (text[i] == '\n') {
            ++i;
            continue;
        }
        bool pair = i + 1 < to && platform::IsSjisLeadByte(static_cast<unsigned char>(text[i])) &&
                    platform::IsSjisTrailByte(static_cast<unsigned char>(text[i + 1]));
        i += pair ? 2 : 1;
        ++n;
    }
    return n;
}

int EditLineCount(const std::string& text) {
    return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

LimitedEdit LimitEdit(const std::string& prev, const std::string& raw, int selStart, int selEnd,
                      const EditLimits& limits, bool backspaceHeld, bool binding) {
    const bool chars = limits.countChars;
    LimitedEdit out{ReadItemText(raw, EditReadLength(limits)), selStart, selEnd};
    std::string& text = out.text;
    if (limits.maxLines <= 0 && limits.maxCols <= 0) return out;

    // A Backspace that joins two lines is refused when the upper line is full.
    if (backspaceHeld && selStart == selEnd && prev.size() == text.size() + 2 &&
        EditLineCount(text) < EditLineCount(prev)) {
        std::string before = prev.substr(0, std::min(prev.size(), static_cast<size_t>(std::max(selStart, 0))));
        size_t lf = before.rfind('\n');
        size_t from = lf == std::string::npos ? 0 : lf;
        if (EditLength(before, from, before.size(), chars) >= limits.maxCols) {
            text = prev;
            return out;
        }
    }

    // Wrap the first lines: an over-long line moves its end to a new line,
    // which joins the line after it.
    size_t start = 0;
    for (int line = 0; line < limits.maxLines && start <= text.size(); ++line) {
        size_t cr = text.find('\r', start);
        size_t end = cr == std::string::npos ? text.size() : cr;
        if (EditLength(text, start, end, chars) > limits.maxCols) {
            size_t cut = end;
            while (cut > start && EditLength(text, start, cut, chars) > limits.maxCols) --cut;
            text.insert(cut, "\r\n");
            if (out.selStart >= static_cast<int>(cut)) out.selStart += 2;
            if (out.selEnd >= static_cast<int>(cut)) out.selEnd += 2;
            size_t next = text.find('\r', cut + 2);
            if (next != std::string::npos)
                text.erase(next, next + 1 < text.size() && text[next + 1] == '\n' ? 2 : 1);
            start = cut + 2;
        } else {
            if (cr == std::string::npos) break;
            start = cr + 2;
        }
    }

    if (EditLineCount(text) > limits.maxLines) {
        if (binding) {
            text = prev;
            while (!text.empty() && EditLength(text, 0, text.size(), chars) > limits.maxCols) text.pop_back();
            out.selStart = selStart;
            out.selEnd = selEnd;
            return out;
        }
        text = prev;
        out.selStart = selStart;
        out.selEnd = selEnd;
    }

    // The caret never rests between CR and LF.
    const int size = static_cast<int>(text.size());
    for (int* end : {&out.selStart, &out.selEnd}) {
        if (*end >= 0 && *end < size && text[static_cast<size_t>(*end)] == '\n') *end += 1;
        *end = std::clamp(*end, 0, size);
    }
    return out;
}

}  // namespace ui
