#include "platform/cp932.h"

#include <gtest/gtest.h>

using platform::Utf8ToCp932;

TEST(Cp932, CodecUsesWindowsTable) {
    // 表 ends in 0x5C; the wave dash and minus differ between CP932 and plain Shift_JIS.
    EXPECT_EQ(Utf8ToCp932("表"), "\x95\x5C");
    EXPECT_EQ(Utf8ToCp932("～"), "\x81\x60");  // U+FF5E
    EXPECT_EQ(Utf8ToCp932("－"), "\x81\x7C");  // U+FF0D
    EXPECT_EQ(platform::Cp932ToUtf8("\x81\x60"), "～");
    EXPECT_EQ(platform::Cp932ToUtf8(Utf8ToCp932("ステージ_表ソ亜")), "ステージ_表ソ亜");
    EXPECT_EQ(SJ("エラー"), Utf8ToCp932("エラー"));
}

TEST(Cp932, TrailBytesDecidedFromTheStart) {
    struct Case {
        std::string text;
        size_t pos;
        bool trail;
    } cases[] = {
        {Utf8ToCp932("表"), 1, true},          // 95 5C
        {Utf8ToCp932("ソ\\"), 1, true},        // 83 5C 5C: the first 5C belongs to ソ
        {Utf8ToCp932("ソ\\"), 2, false},       // ...the second is a separator
        {Utf8ToCp932("亜\\"), 1, true},        // 88 9F 5C: 9F is a trail byte
        {Utf8ToCp932("亜\\"), 2, false},       // although 9F looks like a lead byte
        {std::string("a\\"), 1, false},
        {std::string("\x81 \\"), 1, false},    // a lead byte without a valid trail byte
        {std::string("\x81"), 0, false},       // a lone lead byte at the end
    };
    for (const auto& c : cases) EXPECT_EQ(platform::IsTrailByteAt(c.text, c.pos), c.trail) << c.pos;
}
