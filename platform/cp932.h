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

// Second byte of a two-byte CP932 character: 0x40-0x7E or 0x80-0xFC.
inline bool IsSjisTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

// Length (1 or 2) of the character that starts at byte i of s: 2 for a lead
// byte followed by a valid trail byte.
inline size_t Cp932CharLen(std::string_view s, size_t i) {
    return (i + 1 < s.size() && IsSjisLeadByte(static_cast<unsigned char>(s[i])) &&
            IsSjisTrailByte(static_cast<unsigned char>(s[i + 1])))
               ? 2
               : 1;
}

// Whether byte pos of s is the second byte of a two-byte character, decided
// by a forward scan from the start (a trail byte can look like a lead byte,
// as 9F in 88 9F 5C, so looking only at the byte before is not reliable).
bool IsTrailByteAt(std::string_view s, size_t pos);

// Conversions through iconv "CP932". Unconvertible input is replaced by '?'.
std::string Utf8ToCp932(std::string_view utf8);
std::string Cp932ToUtf8(std::string_view cp932);
std::u16string Cp932ToUtf16(std::string_view cp932);

// Strict forms: false when the input is not valid UTF-8 / CP932 or (UTF-8 to
// CP932) holds a character with no CP932 form.
bool IsValidUtf8(std::string_view s);
bool IsValidCp932(std::string_view cp932);
bool Utf8ToCp932Strict(std::string_view utf8, std::string* out);

// A file name as the host stores it, in the program's CP932 form: a UTF-8
// name converted (it must have a CP932 form); a name that is not UTF-8 but
// valid CP932 bytes (unpacked from a Windows archive) taken as those bytes.
// False for any other name, and for one holding a backslash character, which
// the program's paths would split.
bool HostNameToCp932(std::string_view hostName, std::string* out);

// The program's own texts: a UTF-8 literal in, its CP932 bytes out. The
// result is cached per literal address, so use it on literals only.
const std::string& Sjis(const char* utf8Literal);

}  // namespace platform

// Shorthand used throughout the program: SJ("エラー") gives CP932 bytes.
#define SJ(lit) (::platform::Sjis(lit))
