// Reads back what a window shows: through its renderer when it has one, else
// from its window surface (the way frames are shown without a graphics
// processor). Pixels are 0x00RRGGBB, w x h of the window's output.
#pragma once
#include <SDL.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace testsupport {

inline bool ReadWindowPixels(SDL_Window* window, std::vector<uint32_t>& out, int& w, int& h) {
    if (!window) return false;
    if (SDL_Renderer* r = SDL_GetRenderer(window)) {
        if (SDL_GetRendererOutputSize(r, &w, &h) != 0) return false;
        out.assign(size_t(w) * h, 0);
        if (SDL_RenderReadPixels(r, nullptr, SDL_PIXELFORMAT_XRGB8888, out.data(), w * 4) != 0) return false;
    } else {
        SDL_Surface* s = SDL_GetWindowSurface(window);
        if (!s) return false;
        SDL_Surface* c = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_XRGB8888, 0);
        if (!c) return false;
        w = c->w;
        h = c->h;
        out.assign(size_t(w) * h, 0);
        for (int y = 0; y < h; ++y)
            std::memcpy(out.data() + size_t(y) * w, static_cast<const uint8_t*>(c->pixels) + size_t(y) * c->pitch,
                        size_t(w) * 4);
        SDL_FreeSurface(c);
    }
    for (auto& p : out) p &= 0xFFFFFF;
    return true;
}

}  // namespace testsupport
