#include "app/error_box.h"

#include "app/quit.h"
#include "platform/cp932.h"
#include "platform/message_box.h"

#include <cstdarg>

// The window and graphics layers install their own box (the full-screen one,
// or a hand-over to the main thread) through platform::SetMessageBoxImpl.
int ShowMessageBox(const std::string& text, const std::string& caption, int type) {
    return platform::ShowMessageBoxOs(text, caption, type);
}

int ErrorBox(const std::string& text) { return ShowMessageBox(text, SJ("エラー"), platform::MB_OK); }

int ErrorBoxf(const char* format, ...) {
    va_list ap;
    va_start(ap, format);
    std::string s = VFormat(format, ap);
    va_end(ap);
    return ErrorBox(s);
}

int DebugErrorBoxf(const char* format, ...) {
    if (!IsDebugLogEnabled()) return 0;
    va_list ap;
    va_start(ap, format);
    std::string s = VFormat(format, ap);
    va_end(ap);
    return ErrorBox(s);
}

void OutOfMemoryExit() {
    ErrorBox(SJ("メモリが不足しています！"));
    SetQuitAndClose();
}
