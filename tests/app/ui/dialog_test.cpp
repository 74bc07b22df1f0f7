// The test dialog driven by pushed SDL events under the dummy video driver.
#include "ui_fixture.h"

#include "media/scene.h"
#include "base/scene_state.h"
#include "frontend/frontend_services.h"
#include "frontend/ui/message_dialog.h"
#include "tests/support/window_readback.h"
#include "media/gfx/dd_init.h"
#include "platform/sdl_window.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

using namespace uitest;
using ui::ComposedFrame;
using ui::OpenDialogCount;

namespace {

bool HasKey(const std::vector<std::pair<int, bool>>& keys, int vk) {
    for (auto& k : keys)
        if (k.first == vk) return true;
    return false;
}

bool SignalsReachSdl() {
    struct sigaction sa {};
    sigaction(SIGTERM, nullptr, &sa);
    return sa.sa_handler != SIG_DFL && sa.sa_handler != SIG_IGN;
}

int PendingCloseEvents() {
    SDL_PumpEvents();
    SDL_Event ev[16];
    Uint32 t = platform::ProgramEventType();
    int n = SDL_PeepEvents(ev, 16, SDL_PEEKEVENT, t, t);
    int closes = 0;
    for (int i = 0; i < n; ++i) closes += ev[i].user.code == static_cast<int>(platform::UserEvent::Close);
    return closes;
}

}  // namespace

TEST_F(UiWindowTest, KeyRulesAndTheirPictures) {
    std::string name;
    int check = 0, mode = 1;
    cTestDialog dlg(&name, &check, &mode);
    auto focus = [] { return g_lpTestDialog->m_hWnd->Focused(); };
    Script script({
        [&] {
            EXPECT_EQ(Golden("test_dialog_initial.png"), "");
            EXPECT_EQ(focus(), nullptr);  // no default focus
            EXPECT_FALSE(SDL_IsTextInputActive());
            PushKey(SDLK_TAB);
        },
        [&] {
            ASSERT_NE(focus(), nullptr);
            EXPECT_EQ(focus()->id, ID_NAME);
            EXPECT_TRUE(SDL_IsTextInputActive());
            PushText("ab");
            PushKey(SDLK_LEFT, KMOD_LSHIFT);
        },
        [&] {
            EXPECT_EQ(LiveItem(ID_NAME)->text, "ab");
            EXPECT_EQ(LiveItem(ID_NAME)->selStart, 1);
            EXPECT_EQ(LiveItem(ID_NAME)->selEnd, 2);
            EXPECT_EQ(Golden("test_dialog_selection.png"), "");
            PushKey(SDLK_TAB);  // into the radio group, at its checked button
        },
        [&] {
            EXPECT_EQ(focus()->id, ID_RADIO2);
            EXPECT_FALSE(SDL_IsTextInputActive());
            PushKey(SDLK_DOWN);
        },
        [&] {
            EXPECT_EQ(focus()->id, ID_RADIO3);
            EXPECT_EQ(LiveItem(ID_RADIO3)->checked, 1);
            EXPECT_EQ(LiveItem(ID_RADIO2)->checked, 0);
            PushKey(SDLK_TAB);
            PushKey(SDLK_SPACE);
        },
        [&] {
            EXPECT_EQ(focus()->id, ID_CHECK);
            EXPECT_EQ(LiveItem(ID_CHECK)->checked, 1);
            EXPECT_EQ(Golden("test_dialog_checked.png"), "");
            PushKey(SDLK_ESCAPE);  // never closes a dialog
        },
        [&] {
            auto ok = ItemCentre(ui::IDOK);
            PushMouse(SDL_MOUSEBUTTONDOWN, ok.x, ok.y);
        },
        [&] {
            EXPECT_TRUE(LiveItem(ui::IDOK)->pressed);
            EXPECT_EQ(Golden("test_dialog_pressed.png"), "");
            PushMouse(SDL_MOUSEMOTION, 5, 5);
            PushMouse(SDL_MOUSEBUTTONUP, 5, 5);  // released outside: no press
        },
        [&] {
            EXPECT_EQ(focus()->id, ui::IDOK);
            EXPECT_FALSE(LiveItem(ui::IDOK)->pressed);
            PushKey(SDLK_TAB, KMOD_LSHIFT);
            PushKey(SDLK_RETURN);  // presses the focused push button, not the default one
        },
        [&] {
            EXPECT_EQ(dlg.commands.back(), ui::MakeWParam(ID_TWOLINES, ui::BN_CLICKED));
            PushKey(SDLK_TAB);
            PushKey(SDLK_TAB);
            PushKey(SDLK_TAB);  // round to the name box
            PushKey(SDLK_RETURN);  // not a button: the default button
        },
    });
    EXPECT_EQ(dlg.DoModal(0), 1);
    EXPECT_EQ(script.Done(), 10u);
    EXPECT_EQ(script.Overruns(), 0);
    EXPECT_EQ(name, "ab");
    EXPECT_EQ(check, 1);
    EXPECT_EQ(mode, 2);
    // Every key-down but Tab reached the records, mirrored or not.
    EXPECT_TRUE(HasKey(dlg.keys, ui::VK_ESCAPE));
    EXPECT_TRUE(HasKey(dlg.keys, ui::VK_DOWN));
    EXPECT_TRUE(HasKey(dlg.keys, ui::VK_SPACE));
    EXPECT_TRUE(HasKey(dlg.keys, ui::VK_RETURN));
    EXPECT_FALSE(HasKey(dlg.keys, ui::VK_TAB));
    EXPECT_FALSE(ui::KeyboardHookInstalled());
    EXPECT_FALSE(SDL_IsTextInputActive());
}

TEST_F(UiWindowTest, CloseBoxAndSignalCloseWithoutReading) {
    std::string name = "keep";
    int check = 0, mode = 0;
    {
        cTestDialog dlg(&name, &check, &mode);
        Script script({
            [&] {
                PushKey(SDLK_TAB);
                PushText("Z");
                PushKey(SDLK_TAB);
                PushKey(SDLK_DOWN);
            },
            [&] { PushWindowEvent(SDL_WINDOWEVENT_CLOSE); },
        });
        EXPECT_EQ(dlg.DoModal(0), 0);
        EXPECT_EQ(script.Overruns(), 0);
    }
    EXPECT_EQ(name, "keep");
    EXPECT_EQ(mode, 0);
    EXPECT_EQ(PendingCloseEvents(), 0);  // the close box only closes the dialog
    if (!SignalsReachSdl()) GTEST_SKIP() << "SDL has no signal handlers here";
    {
        cTestDialog dlg(&name, &check, &mode);
        Script script({
            [&] {
                PushKey(SDLK_TAB);
                PushKey(SDLK_TAB);
                PushKey(SDLK_DOWN);
            },
            [&] { std::raise(SIGTERM); },
        });
        EXPECT_EQ(dlg.DoModal(0), 0);
        EXPECT_EQ(script.Overruns(), 0);
    }
    EXPECT_EQ(mode, 0);
    EXPECT_EQ(PendingCloseEvents(), 1);  // the close sequence runs next
    EXPECT_TRUE(ui::TakeQuitSignal());
}

TEST_F(UiWindowTest, MessageBoxOverTheDialogAndWakeUpsHandledAfterIt) {
    std::string name;
    int check = 0, mode = 0;
    cTestDialog dlg(&name, &check, &mode);
    int boxAnswer = 0;
    dlg.onTwoLines = [&] { boxAnswer = ui::UiMessageBox(SJ("保存しました。"), SJ("確認"), platform::MB_OK); };
    std::atomic<int> served{0};
    std::thread requester;
    auto later = BackgroundFrame(0x400000);
    Script script({
        [&] {
            EXPECT_EQ(dlg.DoModal(0), 0);  // already running
            requester = std::thread([&] { RunOnMainThread([&]() -> intptr_t { return served = 1; }); });
            while (PendingMainThreadRequests() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            platform::FrameMailbox().Put(later.data(), 640 * 4);
            PostCloseRequest();
            g_lpTestDialog->m_hWnd->SetFocusId(ID_TWOLINES);
            PushKey(SDLK_RETURN);
        },
        [&] {
            EXPECT_EQ(OpenDialogCount(), 2);
            EXPECT_EQ(Golden("test_dialog_message.png"), "");
            PushKey(SDLK_ESCAPE);  // over a dialog: nothing
            PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
        },
        [&] {
            EXPECT_EQ(OpenDialogCount(), 2);
            EXPECT_EQ(served.load(), 0);
            PushKey(SDLK_RETURN);
        },
        [&] {
            EXPECT_EQ(OpenDialogCount(), 1);
            EXPECT_EQ(boxAnswer, ui::IDOK);
            auto cancel = ItemCentre(ui::IDCANCEL);
            PushMouse(SDL_MOUSEBUTTONDOWN, cancel.x, cancel.y);
            PushMouse(SDL_MOUSEBUTTONUP, cancel.x, cancel.y);
        },
    });
    EXPECT_EQ(dlg.DoModal(0), 2);
    EXPECT_EQ(script.Overruns(), 0);
    EXPECT_EQ(served.load(), 0);
    // The main loop handles the request, the frame and the close afterwards.
    EXPECT_EQ(g_MainWindow.MessageLoop(), 0);
    requester.join();
    EXPECT_EQ(served.load(), 1);
}

TEST_F(UiWindowTest, InputMethodCommitsThroughTheLimiter) {
    std::string name;
    int check = 0, mode = 0;
    cTestDialog dlg(&name, &check, &mode);
    Script script({
        [&] {
            PushKey(SDLK_TAB);
            PushText("\xED\x95\x9C");  // a Hangul syllable: no CP932 form
        },
        [&] {
            EXPECT_EQ(LiveItem(ID_NAME)->text, "");
            PushEditing("やまだたろう");
        },
        [&] {
            EXPECT_EQ(LiveItem(ID_NAME)->preedit, SJ("やまだたろう"));
            EXPECT_EQ(Golden("test_dialog_preedit.png"), "");
            PushKey(SDLK_RETURN);  // the input method's
            PushText("山田太郎");
        },
        [&] {
            EXPECT_EQ(LiveItem(ID_NAME)->text, SJ("山田太"));
            EXPECT_EQ(LiveItem(ID_NAME)->preedit, "");
            PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
        },
    });
    EXPECT_EQ(dlg.DoModal(0), 0);
    EXPECT_EQ(script.Overruns(), 0);
    for (uintptr_t c : dlg.commands) EXPECT_NE(ui::LoWord(c), unsigned(ui::IDOK));
    EXPECT_FALSE(HasKey(dlg.keys, ui::VK_RETURN));  // not mirrored either
    EXPECT_FALSE(SDL_IsTextInputActive());
}

TEST_F(UiWindowTest, NoWindowNoDialog) {
    g_MainWindow.Destroy();
    std::string name;
    int check = 0, mode = 0;
    cTestDialog dlg(&name, &check, &mode);
    EXPECT_EQ(dlg.DoModal(0), -1);
}

TEST_F(UiWindowTest, EndConfirmationInEnglishAndOnASignal) {
    Script script({
        [&] {
            EXPECT_EQ(Golden("confirm_end_en.png"), "");
            PushKey(SDLK_ESCAPE);  // a Yes / No box has no Cancel: nothing
            PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
        },
        [&] {
            EXPECT_EQ(OpenDialogCount(), 1);
            PushKey(SDLK_RETURN);  // Yes has the focus
        },
        [&] {
            SDL_Event q{};
            q.type = SDL_QUIT;
            SDL_PushEvent(&q);
        },
    });
    EXPECT_TRUE(ConfirmEnd(1));
    EXPECT_TRUE(ConfirmEnd(0));  // answered by the signal
    EXPECT_EQ(script.Overruns(), 0);
    ui::NoteQuitSignal();
    EXPECT_TRUE(ConfirmEnd(0));  // a signal before the box: not shown
    EXPECT_EQ(script.Done(), 3u);
}

namespace {
std::atomic<int> g_ticks{0};
unsigned CountingLoop(void*) {
    while (ThreadGate()) {
        ++g_ticks;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return 0;
}
}  // namespace

// The close box on a scene other than the title, windowed: the end
// confirmation shows in the window while the four threads stay parked.
TEST_F(UiWindowTest, CloseBoxAsksInTheWindow) {
    g_SceneState.m_nSceneKind = SCENE_WORLDMAP;
    g_bRunning = 1;
    for (cThread* t : {&thGame, &thPause, &thRanking, &thLoad}) ASSERT_TRUE(t->Start(CountingLoop, nullptr));
    while (g_ticks.load() < 4) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    int parked = 0;
    Script script({
        [&] {
            parked = g_ticks.load();
            EXPECT_EQ(Golden("confirm_end_ja.png"), "");
            // The window shows the box.
            std::vector<uint32_t> shot;
            int w = 0, h = 0;
            ASSERT_TRUE(testsupport::ReadWindowPixels(platform::SdlWindowOf(g_MainWindow.m_hWnd), shot, w, h));
            ASSERT_EQ(w, 640);
            ASSERT_EQ(h, 480);
            EXPECT_TRUE(shot == ComposedFrame());
            PushKey(SDLK_ESCAPE);
        },
        [&] {
            EXPECT_EQ(OpenDialogCount(), 1);  // Esc did nothing
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            EXPECT_EQ(g_ticks.load(), parked);
            PushKey(SDLK_TAB);
            PushKey(SDLK_RETURN);  // No
            PostCloseRequest();    // kept for after the box: asks again
        },
        [&] {
            EXPECT_EQ(g_MainWindow.LoopEnded(), false);
            thPause.Exit();        // else the close would wait for it as for a nested frame loop
            PushKey(SDLK_RETURN);  // Yes
        },
    });
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    EXPECT_EQ(g_MainWindow.MessageLoop(), 0);
    EXPECT_EQ(script.Done(), 3u);
    EXPECT_EQ(script.Overruns(), 0);
    EXPECT_FALSE(thGame.IsRunning());
    g_SceneState.m_nSceneKind = SCENE_TITLE;
}
