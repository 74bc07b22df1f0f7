#include "app/verify_replay.h"

#include <cstdio>
#include <cstdlib>

#include "app/app_init.h"
#include "base/main_thread.h"
#include "base/quit.h"
#include "base/thread.h"
#include "app/replay_check.h"
#include "platform/cp932.h"
#include "platform/message_box.h"

int RunVerifyReplay(const std::string& file, const std::string& expect, const std::string& hashesOut) {
    // No window and no sound device, whatever the desktop offers.
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    // A box would wait for a user: its text goes to stderr and is answered.
    platform::cMessageBoxFn toStderr([](const std::string& text, const std::string&, int type) {
        std::fprintf(stderr, "tovaro: %s\n", platform::Cp932ToUtf8(text).c_str());
        return (type & 0xF) == platform::MB_YESNO ? platform::IDNO : platform::IDOK;
    });
    ServiceScope<platform::IMessageBox> boxes(toStderr);
    SetMainThread();
    ClaimGameToken();
    int status = 2;
    if (AppInit("", 0, true)) {
        status = VerifyReplay(file, expect, hashesOut, stdout);
    } else {
        std::fprintf(stderr, "tovaro: the game folder cannot be set up\n");
    }
    AppEnd();
    return status;
}
