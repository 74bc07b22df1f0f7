#include "media/text/cp932_unicode.h"

#include <iconv.h>

#include <array>
#include <memory>

#include "platform/cp932.h"

namespace text {
namespace {

using Table = std::array<char32_t, 0x10000>;

// Converts one CP932 character of 1 or 2 bytes; 0 when iconv refuses it or
// does not consume exactly those bytes.
char32_t ConvertOne(iconv_t cd, const unsigned char* bytes, size_t len) {
    char in[2] = {static_cast<char>(bytes[0]), len > 1 ? static_cast<char>(bytes[1]) : '\0'};
    unsigned char out[8] = {};
    char* src = in;
    size_t srcLeft = len;
    char* dst = reinterpret_cast<char*>(out);
    size_t dstLeft = sizeof out;
    size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (r == static_cast<size_t>(-1) || srcLeft != 0 || sizeof out - dstLeft != 4) return 0;
    return static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | static_cast<uint32_t>(out[3]) << 24);
}

std::unique_ptr<Table> BuildTable() {
    auto table = std::make_unique<Table>();
    table->fill(0);
    iconv_t cd = iconv_open("UTF-32LE", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        // Without the converter only ASCII can be shown.
        for (int c = 0x20; c < 0x7F; ++c) (*table)[c] = static_cast<char32_t>(c);
        return table;
    }
    for (int c = 0; c < 0x100; ++c) {
        if (platform::IsSjisLeadByte(static_cast<unsigned char>(c))) continue;
        unsigned char b = static_cast<unsigned char>(c);
        (*table)[c] = ConvertOne(cd, &b, 1);
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!platform::IsSjisLeadByte(static_cast<unsigned char>(lead))) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            unsigned char b[2] = {static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)};
            (*table)[lead << 8 | trail] = ConvertOne(cd, b, 2);
        }
    }
    iconv_close(cd);
    return table;
}

}  // namespace

char32_t Cp932ToUnicode(uint16_t code) {
    static const std::unique_ptr<Table> table = BuildTable();
    return (*table)[code];
}

}  // namespace text
