// The name entry: its limiter through the dialog, its ends, its pictures, and
// the whole way from a game-thread request to the bound string.
#include "ui_fixture.h"

#include "base/app_state.h"
#include "base/scene_state.h"
#include "records/system_ini.h"
#include "frontend/data/option_data.h"
#include "frontend/frontend_services.h"
#include "frontend/ui/name_entry_dialog.h"
#include "play/scene_play.h"
#include "tests/support/end_confirmation.h"

#include <atomic>

using namespace uitest;
using ui::cNameEntryDialog;

namespace {

ui::cWidget* NameItem(int id = cNameEntryDialog::ID_NAME) {
    auto* d = ui::g_lpNameEntryDialog;
    return d && d->m_hWnd ? d->m_hWnd->Item(id) : nullptr;
}

class NameEntryTest : public UiWindowTest {
protected:
    void TearDown() override {
        g_SystemIni.English = 0;
        g_SceneState.g_nGameType = 0;
        g_lpPlayScene = nullptr;
        g_OptionData.m_strName.clear();
        testsupport::EndConfirmation() = nullptr;
        UiWindowTest::TearDown();
    }
};

}  // namespace

TEST_F(NameEntryTest, TypingReplacesTheNameAndTheFourthLetterIsRefused) {
    std::string name = "aaa";
    cNameEntryDialog dlg(nullptr, &name);
    Script script({
        [&] {
            ui::cDialogWindow* w = ui::g_lpNameEntryDialog->m_hWnd;
            EXPECT_EQ(w->m_nX, 233);  // placed as 100 units wide: left of the centre
            EXPECT_EQ(w->m_nY, 192);
            ui::cWidget* e = NameItem();
            ASSERT_NE(e, nullptr);
            EXPECT_EQ(w->Focused(), e);
            EXPECT_EQ(e->text, "aaa");
            EXPECT_EQ(e->selStart, 0);
            EXPECT_EQ(e->selEnd, 3);
            EXPECT_EQ(Golden("name_entry_ja.png"), "");
            PushText("b");
        },
        [&] {
            EXPECT_EQ(NameItem()->text, "b");
            PushText("c");
            PushText("d");
            PushText("e");  // a fourth letter
        },
        [&] {
            EXPECT_EQ(NameItem()->text, "bcd");
            PushKey(SDLK_ESCAPE);
        },
        [&] {
            EXPECT_EQ(ui::OpenDialogCount(), 1);  // Esc leaves it open
            EXPECT_EQ(name, "aaa");
            PushKey(SDLK_RETURN);  // the default button OK
        },
    });
    EXPECT_EQ(dlg.DoModal(0), 1);
    EXPECT_EQ(script.Overruns(), 0);
    EXPECT_EQ(name, "bcd");
}

TEST_F(NameEntryTest, LongNamesAreCutAndFullWidthCharactersCountOne) {
    struct Case {
        const char* label;
        std::string bound;
        std::vector<std::function<void()>> typing;
        std::string shown, stored;
    };
    const Case cases[] = {
        {"five letters show three", "abcde", {}, "abc", "abc"},
        {"three full-width fit, a fourth at the end is refused",
         "",
         {[] { PushText("山田太"); }, [] { PushText("郎"); }},
         SJ("山田太"),
         SJ("山田太")},
        {"one typed in front pushes the last out",
         SJ("山田太"),
         {[] { PushKey(SDLK_HOME); }, [] { PushText("小"); }},
         SJ("小山田"),
         SJ("小山田")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::string name = c.bound;
        cNameEntryDialog dlg(nullptr, &name);
        std::vector<std::function<void()>> steps = c.typing;
        steps.push_back([&] {
            EXPECT_EQ(NameItem()->text, c.shown);
            EXPECT_EQ(name, c.bound);
            ClickItemIn(ui::g_lpNameEntryDialog->m_hWnd, cNameEntryDialog::ID_OK);
        });
        Script script(steps);
        EXPECT_EQ(dlg.DoModal(0), 1);
        EXPECT_EQ(script.Overruns(), 0);
        EXPECT_EQ(name, c.stored);
    }
}

TEST_F(NameEntryTest, CloseBoxStoresNothingAndEnglishLabel) {
    g_SystemIni.English = 1;
    std::string name = "Joe";
    cNameEntryDialog dlg(nullptr, &name);
    Script script({
        [&] {
            EXPECT_EQ(NameItem(cNameEntryDialog::ID_LABEL)->text, "     Name");
            EXPECT_EQ(Golden("name_entry_en.png"), "");
            PushText("Ann");
        },
        [&] {
            EXPECT_EQ(NameItem()->text, "Ann");
            PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
        },
    });
    EXPECT_EQ(dlg.DoModal(0), 0);
    EXPECT_EQ(script.Overruns(), 0);
    EXPECT_EQ(name, "Joe");
}

// The game thread asks with UM_NAMEENTRY and waits parked while the main
// loop runs the dialog; the bound string is chosen by the game's state.
namespace {
std::atomic<int> g_nSent{0};
std::atomic<int> g_nAnswered{0};
unsigned AskForName(void*) {
    g_nSent = 1;
    SendMainWindowMessageAndWait(UM_NAMEENTRY, 0, g_nNameEntryDone);
    g_nAnswered = 1;
    PostCloseRequest();
    return 0;
}
}  // namespace

TEST_F(NameEntryTest, EndToEndFromTheGameThread) {
    cScenePlay scene;
    struct Case {
        const char* label;
        int gameType;
        bool playScene;
        std::vector<std::function<void()>> typing;
        std::string options, entry;  // afterwards
    };
    const Case cases[] = {
        {"options name", 5, true, {[] { PushText("Bob"); }, [] { PushKey(SDLK_RETURN); }}, "Bob", "old"},
        {"a composition is cut to three",
         5,
         false,
         {[] { PushEditing("やまだたろう"); }, [] { PushText("山田太郎"); }, [] { PushKey(SDLK_RETURN); }},
         SJ("山田太"),
         "old"},
        {"no CP932 form changes nothing",
         5,
         false,
         {[] { PushText("\xED\x95\x9C"); }, [] { PushKey(SDLK_RETURN); }},
         "old",
         "old"},
        {"the play scene's entry name", 0, true, {[] { PushText("Zed"); }, [] { PushKey(SDLK_RETURN); }}, "old",
         "Zed"},
        {"no target", 0, false, {[] { PushText("Zed"); }, [] { PushKey(SDLK_RETURN); }}, "old", "old"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        if (&c != &cases[0]) {  // a fresh window for each run of the main loop
            TearDown();
            SetUp();
        }
        testsupport::EndConfirmation() = [](int) { return true; };
        g_SceneState.g_nGameType = c.gameType;
        g_lpPlayScene = c.playScene ? &scene : nullptr;
        g_OptionData.m_strName = "old";
        scene.m_strRankName = "old";
        g_nSent = 0;
        g_nAnswered = 0;
        std::vector<std::function<void()>> steps;
        steps.push_back([] {
            EXPECT_EQ(g_nSent.load(), 1);
            EXPECT_EQ(g_nAnswered.load(), 0);  // parked while the dialog runs
            ASSERT_NE(ui::g_lpNameEntryDialog, nullptr);
        });
        for (const auto& t : c.typing) steps.push_back(t);
        Script script(steps);
        ASSERT_TRUE(thGame.Start(AskForName, nullptr));
        EXPECT_EQ(g_MainWindow.MessageLoop(), 0);
        thGame.Wait();
        EXPECT_EQ(script.Done(), steps.size());
        EXPECT_EQ(script.Overruns(), 0);
        EXPECT_EQ(g_nAnswered.load(), 1);
        EXPECT_EQ(g_OptionData.m_strName, c.options);
        EXPECT_EQ(scene.m_strRankName, c.entry);
    }
}
