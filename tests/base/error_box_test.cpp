// An error box nobody answers does not hold up an unattended run: SIGTERM
// or SIGINT closes it and the program ends with the failure status.
#include "base/error_box.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <thread>

#include "platform/message_box.h"

namespace {

volatile sig_atomic_t g_nCaught = 0;
void Catch(int sig) { g_nCaught = sig; }

TEST(ErrorBox, ASignalWhileTheBoxIsUpEndsTheProgramWithTheFailureStatus) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (int sig : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(sig);
        EXPECT_EXIT(
            {
                // A box that stays up until something closes it.
                static platform::cMessageBoxFn stuck([](const std::string&, const std::string&, int) {
                    for (;;) pause();
                    return platform::IDOK;
                });
                Service<platform::IMessageBox>::Install(&stuck);
                std::thread([sig] {
                    usleep(100 * 1000);
                    kill(getpid(), sig);
                }).detach();
                ErrorBox("unanswered");
                _exit(0);
            },
            ::testing::ExitedWithCode(1), "");
    }
}

TEST(ErrorBox, TheProgramsOwnSignalHandlersComeBackWhenTheBoxCloses) {
    struct sigaction sa {}, old {};
    sa.sa_handler = Catch;
    sigemptyset(&sa.sa_mask);
    ASSERT_EQ(sigaction(SIGTERM, &sa, &old), 0);
    {
        platform::CapturedMessageBoxes boxes;
        ErrorBox("answered");
        EXPECT_EQ(boxes.Boxes().size(), 1u);
    }
    g_nCaught = 0;
    raise(SIGTERM);
    EXPECT_EQ(g_nCaught, SIGTERM);
    sigaction(SIGTERM, &old, nullptr);
}

}  // namespace
