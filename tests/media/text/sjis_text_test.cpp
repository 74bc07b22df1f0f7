#include "media/text/sjis_text.h"

#include <gtest/gtest.h>

#include "media/text/cp932_unicode.h"
#include "platform/cp932.h"

namespace {

using text::IsDoubleByteChar;
using text::SjisCharCount;

TEST(SjisText, CharacterTests) {
    const std::string a = SJ("あ");
    EXPECT_TRUE(IsDoubleByteChar(a));
    EXPECT_FALSE(IsDoubleByteChar(a.substr(0, 1)));          // lead byte at the end
    EXPECT_FALSE(IsDoubleByteChar(std::string("\x82\x0a", 2)));  // "\n" is no trail byte
    EXPECT_FALSE(IsDoubleByteChar(std::string("\x82\x7f", 2)));
    EXPECT_FALSE(IsDoubleByteChar("\xb1\xb2"));               // half-width kana are one byte
    EXPECT_EQ(text::LineLength("ab\ncd"), 2u);
    EXPECT_EQ(text::LineLength("abc"), 3u);
}

TEST(SjisText, CharCount) {
    struct Case {
        std::string s;
        int count;
    } cases[] = {
        {"", 0},
        {"abc", 3},
        {SJ("あa"), 2},
        {SJ("あい\nう"), 3},
        {"\xb1\xb2\xb3", 3},       // half-width katakana
        {"a\x82", 2},              // a lone lead byte counts as a character
        {SJ("表示"), 2},           // trail bytes 0x5C and 0xA6
        {"\n\n", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(SjisCharCount(c.s), c.count) << platform::Cp932ToUtf8(c.s);
}

TEST(SjisText, GridMeasure) {
    struct Case {
        std::string s;
        int w, h;
    } cases[] = {
        {"0123456789", 160, 16},
        {SJ("あa"), 32, 16},
        {"ab\ncdef\ng", 64, 48},   // three lines, the widest decides
        {"ab\ncdef\ng\n", 64, 64},  // a trailing "\n" adds a line
        {"", 0, 16},
    };
    for (const auto& c : cases) {
        auto size = text::MeasureGridText(c.s, 16, 16);
        EXPECT_EQ(size.w, c.w) << platform::Cp932ToUtf8(c.s);
        EXPECT_EQ(size.h, c.h) << platform::Cp932ToUtf8(c.s);
    }
}

TEST(SjisText, CentredCoordinate) {
    EXPECT_EQ(text::ResolveCentred(10000, 640, 200), 220);
    EXPECT_EQ(text::ResolveCentred(10000, 641, 201), 220);  // both halves truncated
    EXPECT_EQ(text::ResolveCentred(10000, 100, 300), -100);
    EXPECT_EQ(text::ResolveCentred(9999, 640, 200), 9999);
    EXPECT_EQ(text::ResolveCentred(-5, 640, 200), -5);
}

TEST(Cp932Table, Codes) {
    struct Case {
        uint16_t code;
        char32_t u;
    } cases[] = {
        {'A', U'A'},
        {0xA1, U'\uFF61'},   // first half-width katakana
        {0xB1, U'\uFF71'},   // ｱ
        {0xDF, U'\uFF9F'},   // last half-width katakana
        {0x82A0, U'\u3042'},  // あ
        {0x8160, U'\uFF5E'},  // ～ as CP932 has it
        {0x817C, U'\uFF0D'},  // －
        {0x8740, U'\u2460'},  // ①, row 13 of the CP932 extensions
        {0x8540, 0},          // unassigned row
        {0x82, 0},            // a lead byte alone
    };
    for (const auto& c : cases) EXPECT_EQ(text::Cp932ToUnicode(c.code), c.u) << std::hex << c.code;
}

}  // namespace
