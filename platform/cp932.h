// CP932 (Windows Japanese) text. Every text inside the program is CP932
// bytes; conversion happens only where the program meets the OS (file names,
// window caption, message boxes) and for the program's own texts, which are
// written in UTF-8 in the source and turned into CP932 once.
#pragma once
#include <string>
#include <string_view>

namespace platform {

// First byte of a two-byte CP932 character: 0x81-0x9F or 0xE0-0xFC.
inline bool IsSjisLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Marks, for every byte of s, whether it is the second byte of a two-byte
// character, deciding by a forward scan from the start (a trail byte can
// look like a lead byte, so looking backwards is not reliable).
bool IsTrailByteAt(std::string_view s, size_t pos);

// Conversions through iconv "CP932". Unconvertible input is replaced by '?'.
std::string Utf8ToCp932(std::string_view utf8);
std::string Cp932ToUtf8(std::string_view cp932);
std::u16string Cp932ToUtf16(std::string_view cp932);

// The program's own texts: a UTF-8 literal in, its CP932 bytes out. The
// result is cached per literal address, so use it on literals only.
const std::string& Sjis(const char* utf8Literal);

}  // namespace platform

// Shorthand used throughout the program: SJ("エラー") gives CP932 bytes.
#define SJ(lit) (::platform::Sjis(lit))
