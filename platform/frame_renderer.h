// How the game's frames reach the window. SDL's accelerated renderer is taken
// when a graphics processor drives it. Where OpenGL itself runs on the
// processor (a software rasteriser, as on machines without a GPU) or no
// accelerated renderer exists, frames go straight into the window's surface,
// which costs far less for the same picture.
#pragma once
#include <SDL.h>

#include <cstdint>

namespace platform {

// True for the OpenGL renderer strings of software rasterisers.
bool IsSoftwareGlRenderer(const char* glRenderer);

// The accelerated renderer, or null where the window surface is the cheaper
// way (then presentation goes through PresentToWindowSurface). The
// environment's SDL_RENDER_DRIVER still picks a renderer by name.
SDL_Renderer* CreateHardwareFrameRenderer(SDL_Window* window);

// Puts a frame of w x h pixels (0x00RRGGBB) into the window's surface,
// enlarged by the largest whole factor that fits (reduced to fit when the
// window is smaller), centred on black, and shows it. False when the window
// has no surface.
bool PresentToWindowSurface(SDL_Window* window, const uint32_t* px, int w, int h);

}  // namespace platform
