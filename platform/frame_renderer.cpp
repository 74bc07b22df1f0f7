#include "platform/frame_renderer.h"

#include <algorithm>
#include <cstring>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {

bool IsSoftwareGlRenderer(const char* glRenderer) {
    if (!glRenderer) return false;
    std::string s(glRenderer);
    for (char& c : s) c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    for (const char* name : {"llvmpipe", "softpipe", "swrast", "software rasterizer", "lavapipe"})
        if (s.find(name) != std::string::npos) return true;
    return false;
}

namespace {

// The GL_RENDERER string of the renderer's current OpenGL context, if it has one.
const char* GlRendererOf(SDL_Renderer* r) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(r, &info) != 0 || !info.name || std::strncmp(info.name, "opengl", 6) != 0) return nullptr;
    if (!SDL_GL_GetCurrentContext()) return nullptr;
    using GetStringFn = const unsigned char* (*)(unsigned int);
    auto getString = reinterpret_cast<GetStringFn>(SDL_GL_GetProcAddress("glGetString"));
    constexpr unsigned int kGlRenderer = 0x1F01;
    return getString ? reinterpret_cast<const char*>(getString(kGlRenderer)) : nullptr;
}

}  // namespace

SDL_Renderer* CreateHardwareFrameRenderer(SDL_Window* window) {
    const char* forced = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    SDL_Renderer* r = SDL_CreateRenderer(window, -1, forced && *forced ? 0 : SDL_RENDERER_ACCELERATED);
    if (r && !(forced && *forced)) {
        SDL_RendererInfo info{};
        const bool software = SDL_GetRendererInfo(r, &info) != 0 || (info.flags & SDL_RENDERER_SOFTWARE) ||
                              IsSoftwareGlRenderer(GlRendererOf(r));
        if (software) SDL_DestroyRenderer(r), r = nullptr;
    }
    // The window surface is then written directly; SDL would otherwise put
    // it on the screen through OpenGL again.
    if (!r) SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
    return r;
}

bool PresentToWindowSurface(SDL_Window* window, const uint32_t* px, int w, int h) {
    SDL_Surface* s = window ? SDL_GetWindowSurface(window) : nullptr;
    if (!s || !px || w <= 0 || h <= 0) return false;
    const int zoom = std::min(s->w / w, s->h / h);
    const SDL_Rect in{(s->w - w * std::max(zoom, 1)) / 2, (s->h - h * std::max(zoom, 1)) / 2, w * std::max(zoom, 1),
                      h * std::max(zoom, 1)};
    if (zoom < 1 || s->format->format != SDL_PIXELFORMAT_RGB888) {
        // A window smaller than the frame, or a surface of another format:
        // SDL scales and converts.
        SDL_Surface* f = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(px), w, h, 32, w * 4,
                                                            SDL_PIXELFORMAT_RGB888);
        if (!f) return false;
        SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 0, 0, 0));
        SDL_Rect to = zoom < 1 ? SDL_Rect{0, 0, s->w, s->h} : in;
        if (zoom < 1) {
            // Keep the frame's proportions.
            const int fw = std::min(s->w, s->h * w / h), fh = std::min(s->h, s->w * h / w);
            to = {(s->w - fw) / 2, (s->h - fh) / 2, fw, fh};
        }
        SDL_BlitScaled(f, nullptr, s, &to);
        SDL_FreeSurface(f);
        return SDL_UpdateWindowSurface(window) == 0;
    }
    // Black around the frame (nothing when the frame fills the window).
    const SDL_Rect border[4] = {{0, 0, s->w, in.y},
                                {0, in.y + in.h, s->w, s->h - in.y - in.h},
                                {0, in.y, in.x, in.h},
                                {in.x + in.w, in.y, s->w - in.x - in.w, in.h}};
    for (const SDL_Rect& b : border)
        if (b.w > 0 && b.h > 0) SDL_FillRect(s, &b, 0);
    if (SDL_MUSTLOCK(s) && SDL_LockSurface(s) != 0) return false;
    auto* base = static_cast<uint8_t*>(s->pixels);
    for (int y = 0; y < h; ++y) {
        const uint32_t* src = px + size_t(y) * w;
        auto* row = reinterpret_cast<uint32_t*>(base + size_t(in.y + y * zoom) * s->pitch) + in.x;
        if (zoom == 1) {
            std::memcpy(row, src, size_t(w) * 4);
        } else if (zoom == 2) {
            int x = 0;
#if defined(__SSE2__)
            // Each pixel twice, four at a time.
            for (; x + 4 <= w; x += 4) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + x));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(row + 2 * x), _mm_unpacklo_epi32(v, v));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(row + 2 * x + 4), _mm_unpackhi_epi32(v, v));
            }
#endif
            for (; x < w; ++x) row[2 * x] = row[2 * x + 1] = src[x];
            std::memcpy(base + size_t(in.y + y * 2 + 1) * s->pitch + size_t(in.x) * 4, row, size_t(in.w) * 4);
        } else {
            for (int x = 0; x < w; ++x)
                for (int k = 0; k < zoom; ++k) row[x * zoom + k] = src[x];
            for (int k = 1; k < zoom; ++k)
                std::memcpy(base + size_t(in.y + y * zoom + k) * s->pitch + size_t(in.x) * 4, row, size_t(in.w) * 4);
        }
    }
    if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
    return SDL_UpdateWindowSurface(window) == 0;
}

}  // namespace platform
