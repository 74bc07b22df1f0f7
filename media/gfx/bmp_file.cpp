#include "media/gfx/bmp_file.h"

#include <SDL.h>
#include <SDL_image.h>

#include "platform/fs.h"

namespace gfx {

std::optional<cDib> DecodeDib(const std::vector<uint8_t>& bytes, std::string* why) {
    auto fail = [&](const char* w) -> std::optional<cDib> {
        if (why) *why = w;
        return std::nullopt;
    };
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return fail("not a Windows bitmap");
    const int bitCount = bytes[28] | bytes[29] << 8;
    if (bitCount != 8 && bitCount != 24 && bitCount != 32) return fail("unsupported bit count");
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
    return DecodeDib(*bytes, why);
}

}  // namespace gfx
