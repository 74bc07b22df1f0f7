// The text-entry limiter: characters per line and lines of a text box,
// enforced on every edit. One pure function over the control's previous and
// new text; the edit record (controls.h) feeds it and applies the result.
#pragma once
#include <string>

namespace ui {

struct EditLimits {
    int bufLen = 4096;    // text buffer length in characters
    int maxCols = 1024;   // most characters per line
    int maxLines = 32;    // most lines
    bool countChars = false;  // lengths in characters (a two-byte character one, LF none), else bytes
};

struct LimitedEdit {
    std::string text;
    int selStart = 0;
    int selEnd = 0;
};

// The text buffer's size the control is read with (the terminating NUL
// included): 2 × bufLen − 1 when counting characters, else bufLen.
int EditReadLength(const EditLimits& limits);
// What a read of `length` gives (at most 5120, the NUL included): the first
// length − 1 bytes, so a two-byte character can be cut after its lead byte.
std::string ReadItemText(const std::string& text, int length);

// One run of the limiter. `prev`: the text as last accepted; `text` and the
// selection: the control's now; `backspaceHeld`: Backspace is down;
// `binding`: the first run, when the bound text is set (an over-long text is
// cut rather than refused). Returns the text to set and the selection.
LimitedEdit LimitEdit(const std::string& prev, const std::string& text, int selStart, int selEnd,
                      const EditLimits& limits, bool backspaceHeld, bool binding);

// Length of text[from, to) by the limits' counting.
int EditLength(const std::string& text, size_t from, size_t to, bool countChars);
int EditLineCount(const std::string& text);  // 1 + the LF characters

}  // namespace ui
