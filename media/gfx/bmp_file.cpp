#include "media/gfx/bmp_file.h"

#include <utility>

#include "base/log.h"
#include "platform/fs.h"
#include "platform/image_decode.h"

namespace gfx {

namespace {

// The start of every reason DibSizeIsSane gives.
constexpr std::string_view kAsksFor = "the header asks for ";

uint32_t Le16(const std::vector<uint8_t>& b, size_t at) { return b[at] | b[at + 1] << 8; }
uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// The size a bitmap's header asks for, checked before the decoder allocates
// anything: neither side beyond kMaxDibSide, rows stored without
// compression must lie within the file, and runs must be of the depth they
// are made for and start within the file.
bool DibSizeIsSane(const std::vector<uint8_t>& b, std::string* why) {
    const uint32_t headerSize = Le32(b, 14);
    int64_t width, height, bits;
    uint32_t compression = 0;
    if (headerSize == 12) {  // the old core header: 16-bit sides
        width = Le16(b, 18);
        height = Le16(b, 20);
        bits = Le16(b, 24);
    } else {
        width = static_cast<int32_t>(Le32(b, 18));
        height = static_cast<int32_t>(Le32(b, 22));
        bits = Le16(b, 28);
        compression = Le32(b, 30);
    }
    if (height < 0) height = -height;  // rows stored top first
    if (width > kMaxDibSide || height > kMaxDibSide) {
        if (why)
            *why = std::string(kAsksFor) + std::to_string(width) + " x " + std::to_string(height) +
                   " pixels, more than " + std::to_string(kMaxDibSide) + " x " + std::to_string(kMaxDibSide);
        return false;
    }
    // Run-length coding is made for 8-bit (1) and 4-bit (2) pixels; with any
    // other depth a header of a few bytes could ask for hundreds of
    // megabytes of decoded pixels, and its runs would have to lie in the file.
    if (compression == 1 || compression == 2) {
        const int64_t runBits = compression == 1 ? 8 : 4;
        const int64_t offset = Le32(b, 10);
        if (bits != runBits || offset >= static_cast<int64_t>(b.size())) {
            if (why)
                *why = std::string(kAsksFor) + std::to_string(width) + " x " + std::to_string(height) + " pixels of " +
                       std::to_string(bits) + " bits in " + std::to_string(runBits) +
                       "-bit runs, which the file's " + std::to_string(b.size()) + " bytes cannot hold";
            return false;
        }
    }
    // Plain rows (also with bit-field masks): padded to four bytes each.
    if (width > 0 && (compression == 0 || compression == 3 || compression == 6)) {
        const int64_t offset = Le32(b, 10);
        const int64_t rows = (width * bits + 31) / 32 * 4 * height;
        const int64_t have = static_cast<int64_t>(b.size()) - offset;
        if (have < rows) {
            if (why)
                *why = std::string(kAsksFor) + std::to_string(width) + " x " + std::to_string(height) + " pixels of " +
                       std::to_string(bits) + " bits, more than the file's " + std::to_string(b.size()) +
                       " bytes hold";
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<cDib> DecodeDib(const std::vector<uint8_t>& bytes, std::string* why) {
    auto fail = [&](const char* w) -> std::optional<cDib> {
        if (why) *why = w;
        return std::nullopt;
    };
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return fail("not a Windows bitmap");
    const int bitCount = bytes[28] | bytes[29] << 8;
    if (bitCount != 8 && bitCount != 24 && bitCount != 32) return fail("unsupported bit count");
    if (!DibSizeIsSane(bytes, why)) return std::nullopt;
    platform::DecodedImage img;
    switch (platform::DecodeBmp(bytes, bitCount == 8, img)) {
        case platform::ImageDecodeResult::OutOfMemory: return fail("out of memory");
        case platform::ImageDecodeResult::BadData: return fail("bad bitmap data");
        case platform::ImageDecodeResult::Ok: break;
    }
    cDib dib;
    dib.width = img.width;
    dib.height = img.height;
    dib.bitCount = bitCount;
    for (size_t i = 0; i < img.palette.size(); ++i) {
        dib.colors[i][0] = img.palette[i][0];
        dib.colors[i][1] = img.palette[i][1];
        dib.colors[i][2] = img.palette[i][2];
    }
    dib.index = std::move(img.index);
    dib.rgb = std::move(img.rgb);
    return dib;
}

std::optional<cDib> LoadDib(std::string_view cp932Path, std::string* why) {
    auto bytes = platform::ReadWholeFile(cp932Path);
    if (!bytes) {
        if (why) *why = "cannot be read";
        return std::nullopt;
    }
    std::string reason;
    std::optional<cDib> dib = DecodeDib(*bytes, &reason);
    // A refused size is named in the report: the decode never tried it.
    if (!dib && reason.compare(0, kAsksFor.size(), kAsksFor) == 0)
        ReportLogf("%s: %s", std::string(cp932Path).c_str(), reason.c_str());
    if (why) *why = reason;
    return dib;
}

}  // namespace gfx
