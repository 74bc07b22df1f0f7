#include "platform/image_decode.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>

namespace platform {

ImageDecodeResult DecodeBmp(const std::vector<uint8_t>& bytes, bool indexed, DecodedImage& out) {
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), int(bytes.size()));
    if (!rw) return ImageDecodeResult::OutOfMemory;
    SDL_Surface* s = IMG_LoadTyped_RW(rw, 1, "BMP");
    if (!s) return ImageDecodeResult::BadData;
    out.width = s->w;
    out.height = s->h;
    bool ok = true;
    if (indexed) {
        if (s->format->BitsPerPixel != 8 || !s->format->palette) {
            ok = false;
        } else {
            const SDL_Palette* p = s->format->palette;
            out.palette.clear();
            for (int i = 0; i < p->ncolors && i < 256; ++i)
                out.palette.push_back({p->colors[i].r, p->colors[i].g, p->colors[i].b});
            out.index.resize(size_t(s->w) * s->h);
            SDL_LockSurface(s);
            for (int y = 0; y < s->h; ++y) {
                const uint8_t* row = static_cast<const uint8_t*>(s->pixels) + size_t(y) * s->pitch;
                std::copy(row, row + s->w, out.index.begin() + size_t(y) * s->w);
            }
            SDL_UnlockSurface(s);
        }
    } else {
        SDL_Surface* c = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ARGB8888, 0);
        if (!c) {
            ok = false;
        } else {
            out.rgb.resize(size_t(c->w) * c->h);
            SDL_LockSurface(c);
            for (int y = 0; y < c->h; ++y) {
                const uint32_t* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(c->pixels) +
                                                                        size_t(y) * c->pitch);
                for (int x = 0; x < c->w; ++x) out.rgb[size_t(y) * c->w + x] = row[x] & 0xFFFFFFu;
            }
            SDL_UnlockSurface(c);
            SDL_FreeSurface(c);
        }
    }
    SDL_FreeSurface(s);
    return ok ? ImageDecodeResult::Ok : ImageDecodeResult::BadData;
}

}  // namespace platform
