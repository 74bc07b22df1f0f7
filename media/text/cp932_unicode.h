// CP932 character codes to Unicode, for the glyph layer. The table is built
// once (on first use, from any thread) through iconv and then only read.
#pragma once
#include <cstdint>

namespace text {

// code: a one-byte code 0x00..0xFF, or lead << 8 | trail for a two-byte
// character. Returns 0 for codes CP932 does not map (they draw nothing).
char32_t Cp932ToUnicode(uint16_t code);

}  // namespace text
