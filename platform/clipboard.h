// The desktop's clipboard (text in UTF-8). Both calls answer false while the
// video system is not up; the caller then keeps its own copy.
#pragma once
#include <string>

namespace platform {

bool SetClipboardUtf8(const std::string& utf8);
// False when the clipboard holds no text.
bool GetClipboardUtf8(std::string& utf8);

}  // namespace platform
