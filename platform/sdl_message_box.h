// A message box over SDL, owned by a window when one is given. Texts are
// CP932. Without a display the box is written to stderr and the default
// answer is taken (No, Cancel or OK).
#pragma once
#include <SDL.h>

#include <string>

namespace platform {

int ShowSdlMessageBox(const std::string& text, const std::string& caption, int type, SDL_Window* owner);

}  // namespace platform
