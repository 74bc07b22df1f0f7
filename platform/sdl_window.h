// The SDL objects behind a platform::Window, for the platform's own code
// and for tests that look at the window itself.
#pragma once
#include <SDL.h>

#include "platform/window.h"

namespace platform {

struct Window::Parts {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int frameWidth = 0, frameHeight = 0;
};

inline SDL_Window* SdlWindowOf(const Window* w) { return w ? w->parts().window : nullptr; }

}  // namespace platform
