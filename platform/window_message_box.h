// A message box of the system over a window (owner may be null).
#pragma once
#include <string>

#include "platform/window.h"

namespace platform {

// type and result as platform/message_box.h.
int ShowWindowMessageBox(const std::string& text, const std::string& caption, int type, const Window* owner);

}  // namespace platform
