#include "base/error_box.h"

#include "base/quit.h"
#include "platform/cp932.h"
#include "platform/message_box.h"

#include <csignal>
#include <cstdarg>
#include <mutex>
#include <unistd.h>

namespace {

// While an error box is up, SIGTERM and SIGINT close it by ending the
// program with the failure status: an unattended run must not wait for a
// click. The handlers in place before come back when the last box closes.
constexpr int kBoxFailureStatus = 1;

std::mutex g_boxSignalMutex;
int g_nBoxesUp = 0;
struct sigaction g_oldTerm, g_oldInt;

void EndOnSignal(int) { _exit(kBoxFailureStatus); }

class cSignalsEndTheBox {
public:
    cSignalsEndTheBox() {
        std::lock_guard<std::mutex> lock(g_boxSignalMutex);
        if (g_nBoxesUp++ > 0) return;
        struct sigaction sa {};
        sa.sa_handler = EndOnSignal;
        sigemptyset(&sa.sa_mask);
        sigaction(SIGTERM, &sa, &g_oldTerm);
        sigaction(SIGINT, &sa, &g_oldInt);
    }
    ~cSignalsEndTheBox() {
        std::lock_guard<std::mutex> lock(g_boxSignalMutex);
        if (--g_nBoxesUp > 0) return;
        sigaction(SIGTERM, &g_oldTerm, nullptr);
        sigaction(SIGINT, &g_oldInt, nullptr);
    }
    cSignalsEndTheBox(const cSignalsEndTheBox&) = delete;
    cSignalsEndTheBox& operator=(const cSignalsEndTheBox&) = delete;
};

}  // namespace

// The window and graphics layers install their own box (the full-screen one,
// or a hand-over to the main thread) through Service<platform::IMessageBox>.
int ShowMessageBox(const std::string& text, const std::string& caption, int type) {
    return platform::ShowMessageBoxOs(text, caption, type);
}

int ErrorBox(const std::string& text) {
    NotifyErrorText(text);
    const cSignalsEndTheBox signalsEnd;
    return ShowMessageBox(text, SJ("エラー"), platform::MB_OK);
}

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
