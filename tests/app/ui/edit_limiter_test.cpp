#include "frontend/ui/edit_limiter.h"
#include "platform/cp932.h"

#include <gtest/gtest.h>

using ui::EditLimits;
using ui::LimitEdit;

namespace {

const EditLimits kName{4, 3, 1, true};  // the name entry: 3 characters, 1 line

struct Case {
    const char* what;
    EditLimits limits;
    std::string prev, text;
    int selStart, selEnd;
    bool backspace, binding;
    std::string wantText;
    int wantStart, wantEnd;
};

}  // namespace

TEST(EditLimiter, Table) {
    const std::string A = SJ("Ａ"), B = SJ("Ｂ"), C = SJ("Ｃ"), D = SJ("Ｄ"), E = SJ("Ｅ");
    const EditLimits twoLines{64, 4, 2, false}, threeLines{64, 4, 3, false};
    const Case cases[] = {
        {"aaa selected, one letter", kName, "aaa", "b", 1, 1, false, false, "b", 1, 1},
        {"second letter", kName, "b", "bc", 2, 2, false, false, "bc", 2, 2},
        {"third letter", kName, "bc", "bcd", 3, 3, false, false, "bcd", 3, 3},
        {"fourth letter refused", kName, "bcd", "bcde", 4, 4, false, false, "bcd", 3, 3},
        {"abc, typed after a", kName, "abc", "axbc", 2, 2, false, false, "abc", 2, 2},
        {"abc, typed at the end", kName, "abc", "abcx", 4, 4, false, false, "abc", 3, 3},
        {"six letters pasted into the empty box", kName, "", "abcdef", 6, 6, false, false, "", 0, 0},
        {"three full-width fit", kName, A + B, A + B + C, 6, 6, false, false, A + B + C, 6, 6},
        {"a fourth full-width refused", kName, A + B + C, A + B + C + D, 8, 8, false, false, A + B + C, 6, 6},
        // The read cuts the last character after its lead byte, which wraps.
        {"half-width before three full-width", kName, A + B + C, "a" + A + B + C, 1, 1, false, false, A + B + C, 1,
         1},
        {"five letters cut at binding", kName, "abcde", "abcde", 0, 0, false, true, "abc", 0, 0},
        {"five full-width cut at binding", kName, A + B + C + D + E, A + B + C + D + E, 0, 0, false, true, A + B + C, 0,
         0},
        {"wrap to a second line", twoLines, "abcd", "abcde", 5, 5, false, false, "abcd\r\ne", 7, 7},
        {"wrap joins the next line and wraps again", threeLines, "abcd\r\nefgh", "abcdX\r\nefgh", 5, 5, false, false,
         "abcd\r\nXefg\r\nh", 7, 7},
        {"wrap past the last line undone", twoLines, "abcd\r\nefgh", "abcdX\r\nefgh", 5, 5, false, false,
         "abcd\r\nefgh", 6, 6},  // the old caret would stand on the LF
        {"Backspace join refused under a full line", twoLines, "abcd\r\nef", "abcdef", 4, 4, true, false,
         "abcd\r\nef", 4, 4},
        {"Backspace join allowed", twoLines, "ab\r\nef", "abef", 2, 2, true, false, "abef", 2, 2},
        {"a join without Backspace wraps instead", twoLines, "abcd\r\nef", "abcdef", 4, 4, false, false,
         "abcd\r\nef", 6, 6},
        {"no caret between CR and LF", twoLines, "abcd\r\nef", "abcd\r\nef", 5, 5, false, false, "abcd\r\nef", 6, 6},
        {"no limits", EditLimits{64, -1, -1, false}, "", "abcdefgh", 8, 8, false, false, "abcdefgh", 8, 8},
    };
    for (const Case& c : cases) {
        auto r = LimitEdit(c.prev, c.text, c.selStart, c.selEnd, c.limits, c.backspace, c.binding);
        EXPECT_EQ(r.text, c.wantText) << c.what;
        EXPECT_EQ(r.selStart, c.wantStart) << c.what;
        EXPECT_EQ(r.selEnd, c.wantEnd) << c.what;
    }
}

TEST(EditLimiter, ReadLengthAndCounting) {
    EXPECT_EQ(ui::EditReadLength(kName), 7);
    EXPECT_EQ(ui::EditReadLength({4, 3, 1, false}), 4);
    EXPECT_EQ(ui::ReadItemText("abcdefgh", 7), "abcdef");
    EXPECT_EQ(ui::ReadItemText(std::string(6000, 'x'), 8191).size(), 5119u);  // the 5120-byte buffer
    EXPECT_EQ(ui::EditLength(SJ("ＡｂＣ") + "\r\nd", 0, 9, true), 5);          // CR counts, LF does not
    EXPECT_EQ(ui::EditLength("ab\r\nd", 0, 5, false), 5);
    EXPECT_EQ(ui::EditLineCount("a\r\nb\r\n"), 3);
}
