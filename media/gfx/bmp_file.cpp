#include "media/gfx/bmp_file.h"

#include <SDL.h>
#include <SDL_image.h>

#include "base/log.h"
#include "platform/fs.h"

namespace gfx {

namespace {

// The start of every reason DibSizeIsSane gives.
constexpr std::string_view kAsksFor = "the header asks for ";

uint32_t Le16(const std::vector<uint8_t>& b, size_t at) { return b[at] | b[at + 1] << 8; }
uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// The size a bitmap's header asks for, checked before the decoder allocates
// anything: neither side beyond kMaxDibSide, and rows stored without
// compression must lie within the file.
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
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    if (!rw) return fail("out of memory");
    SDL_Surface* s = IMG_LoadTyped_RW(rw, 1, "BMP");
    if (!s) return fail("bad bitmap data");
    cDib dib;
    dib.width = s->w;
    dib.height = s->h;
    dib.bitCount = bitCount;
    bool ok = true;
    if (bitCount == 8) {
        if (s->format->BitsPerPixel != 8 || !s->format->palette) {
            ok = false;
        } else {
            const SDL_Palette* p = s->format->palette;
            for (int i = 0; i < p->ncolors && i < 256; ++i) {
                dib.colors[i][0] = p->colors[i].r;
                dib.colors[i][1] = p->colors[i].g;
                dib.colors[i][2] = p->colors[i].b;
            }
            dib.index.resize(size_t(s->w) * s->h);
            SDL_LockSurface(s);
            for (int y = 0; y < s->h; ++y) {
                const uint8_t* row = static_cast<const uint8_t*>(s->pixels) + size_t(y) * s->pitch;
                std::copy(row, row + s->w, dib.index.begin() + size_t(y) * s->w);
            }
            SDL_UnlockSurface(s);
        }
    } else {
        SDL_Surface* c = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ARGB8888, 0);
        if (!c) {
            ok = false;
        } else {
            dib.rgb.resize(size_t(c->w) * c->h);
            SDL_LockSurface(c);
            for (int y = 0; y < c->h; ++y) {
                const uint32_t* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(c->pixels) +
                                                                        size_t(y) * c->pitch);
                for (int x = 0; x < c->w; ++x) dib.rgb[size_t(y) * c->w + x] = row[x] & 0xFFFFFFu;
            }
            SDL_UnlockSurface(c);
            SDL_FreeSurface(c);
        }
    }
    SDL_FreeSurface(s);
    if (!ok) return fail("bad bitmap data");
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
