// The replay-save dialog with a fake name maker, and UM_SAVEREPLAY from the
// game thread to a recording writer.
#include "ui_fixture.h"

#include "records/system_ini.h"
#include "frontend/frontend_services.h"
#include "frontend/ui/replay_save_dialog.h"
#include "records/stage.h"
#include "tests/support/end_confirmation.h"
#include "tests/support/replay_io.h"

#include <atomic>
#include <mutex>

using namespace uitest;
using ui::cReplaySaveDialog;

namespace {

// "表" ends in a 0x5C byte: not a folder separator.
const std::string kFolder = SJ("C:\\ゲーム\\user_data\\rpl4\\");
const std::string kStem = SJ("表");

int FakeName(std::string& out, const std::string& stage, int cleared) {
    if (stage.empty()) return 1;  // no name
    out = kFolder + kStem + (cleared ? "_CLEAR_" : "_") + "0001.rpl4";
    return 1;
}

ui::cWidget* Item(int id) {
    auto* d = ui::g_lpReplaySaveDialog;
    return d && d->m_hWnd ? d->m_hWnd->Item(id) : nullptr;
}

void ClickItem(int id) { ClickItemIn(ui::g_lpReplaySaveDialog->m_hWnd, id); }

class ReplaySaveTest : public UiWindowTest {
protected:
    void SetUp() override {
        UiWindowTest::SetUp();
        SetReplayFileNameMaker(FakeName);
    }
    void TearDown() override {
        g_SystemIni.English = 0;
        g_Stage.m_strPath.clear();
        SetReplayFileNameMaker({});
        testsupport::ReplayIo().write = nullptr;
        testsupport::EndConfirmation() = nullptr;
        UiWindowTest::TearDown();
    }
};

}  // namespace

TEST_F(ReplaySaveTest, CaptionsPromptsAndNamesInBothLanguages) {
    struct Case {
        int english, which;
        const char *caption, *prompt, *cleared, *plain, *cancel, *golden;
    };
    const Case cases[] = {
        {0, 0, "今回のプレイを保存", "今回のプレイを保存しますか？", "ステージクリアしたリプレイデータとして保存\nファイル名： ",
         "ステージクリアしていないリプレイデータとして保存\nファイル名： ", "キャンセル", "replay_save_ja_0.png"},
        {0, 1, "1つ前のプレイを保存", "1つ前のプレイを保存しますか？", "ステージクリアしたリプレイデータとして保存\nファイル名： ",
         "ステージクリアしていないリプレイデータとして保存\nファイル名： ", "キャンセル", "replay_save_ja_1.png"},
        {1, 0, "Save the Current Play", "Save the current play?", "Save as cleared replay (passed replay)\nFile name: ",
         "Save as not cleared replay (not passed replay)\nFile name: ", "Cancel", "replay_save_en_0.png"},
        {1, 1, "Save the Previous Play", "Save the previous play?", "Save as cleared replay (passed replay)\nFile name: ",
         "Save as not cleared replay (not passed replay)\nFile name: ", "Cancel", "replay_save_en_1.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.golden);
        g_SystemIni.English = c.english;
        std::string name;  // the main window empties it before the dialog
        cReplaySaveDialog dlg(nullptr, c.which, SJ("data\\stg4\\表.stg4_1000"), &name);
        Script script({[&] {
            ui::cDialogWindow* w = ui::g_lpReplaySaveDialog->m_hWnd;
            EXPECT_EQ(w->m_nX, 67);
            EXPECT_EQ(w->m_nY, 113);
            EXPECT_EQ(w->m_strCaption, SJ(c.caption));
            EXPECT_EQ(Item(cReplaySaveDialog::ID_PROMPT)->text, SJ(c.prompt));
            EXPECT_EQ(Item(cReplaySaveDialog::ID_CLEARED)->text, SJ(c.cleared) + kStem + "_CLEAR_0001.rpl4");
            EXPECT_EQ(Item(cReplaySaveDialog::ID_PLAIN)->text, SJ(c.plain) + kStem + "_0001.rpl4");
            EXPECT_EQ(Item(cReplaySaveDialog::ID_CANCEL)->text, SJ(c.cancel));
            EXPECT_EQ(Golden(c.golden), "");
            PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
        }});
        EXPECT_EQ(dlg.DoModal(0), 0);
        EXPECT_EQ(script.Overruns(), 0);
        EXPECT_EQ(name, "");
    }
}

TEST_F(ReplaySaveTest, OnlyTheTwoSaveButtonsGiveAPath) {
    struct Case {
        const char* label;
        std::string stage;
        std::vector<std::function<void()>> steps;
        int result;
        std::string name;
    };
    const std::string stage = SJ("data\\stg4\\表.stg4_1000");
    const Case cases[] = {
        {"cleared", stage, {[] { ClickItem(cReplaySaveDialog::ID_CLEARED); }}, 1,
         kFolder + kStem + "_CLEAR_0001.rpl4"},
        {"not cleared", stage, {[] { ClickItem(cReplaySaveDialog::ID_PLAIN); }}, 1, kFolder + kStem + "_0001.rpl4"},
        {"Esc and Enter without a focused button do nothing, then Cancel",
         stage,
         {[] {
              PushKey(SDLK_ESCAPE);
              PushKey(SDLK_RETURN);
          },
          [] {
              EXPECT_EQ(ui::OpenDialogCount(), 1);
              ClickItem(cReplaySaveDialog::ID_CANCEL);
          }},
         0,
         ""},
        {"Tab reaches 1002 first (1011 has no tab stop)",
         stage,
         {[] { PushKey(SDLK_TAB); }, [] { PushKey(SDLK_RETURN); }},
         1,
         kFolder + kStem + "_0001.rpl4"},
        {"close box", stage, {[] { PushWindowEvent(SDL_WINDOWEVENT_CLOSE); }}, 0, ""},
        {"a name that cannot be made",
         "",
         {[] {
              EXPECT_EQ(Item(cReplaySaveDialog::ID_CLEARED)->text,
                        SJ("ステージクリアしたリプレイデータとして保存\nファイル名： "));
              ClickItem(cReplaySaveDialog::ID_CLEARED);
          }},
         1,
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::string name;  // the main window empties it before the dialog
        cReplaySaveDialog dlg(nullptr, 0, c.stage, &name);
        Script script(c.steps);
        EXPECT_EQ(dlg.DoModal(0), c.result);
        EXPECT_EQ(script.Overruns(), 0);
        EXPECT_EQ(name, c.name);
    }
}

TEST(ReplaySaveNames, FileNamePartSkipsTrailBytes) {
    EXPECT_EQ(ui::FileNamePart(kFolder + kStem + ".rpl4"), kStem + ".rpl4");
    EXPECT_EQ(ui::FileNamePart(SJ("表")), SJ("表"));
    EXPECT_EQ(ui::FileNamePart("a\\b\\"), "");
    EXPECT_EQ(ui::FileNamePart(""), "");
}

// UM_SAVEREPLAY from the game thread: the dialog, then the writer with the
// current (0) or the previous (1) play.
namespace {
std::atomic<int> g_nWhich{0};
std::atomic<int> g_nQuitAfter{-1};
unsigned AskToSave(void*) {
    SendMainWindowMessageAndWait(UM_SAVEREPLAY, g_nWhich.load(), g_nReplaySaveDone);
    g_nQuitAfter = g_bQuit.load();
    PostCloseRequest();
    return 0;
}
}  // namespace

TEST_F(ReplaySaveTest, EndToEndToTheWriter) {
    struct Case {
        const char* label;
        int which;
        bool writerFails;
        int button;
        std::vector<std::pair<int, std::string>> writes;
        size_t boxes;
    };
    const std::string cleared = kFolder + kStem + "_CLEAR_0001.rpl4";
    const std::string plain = kFolder + kStem + "_0001.rpl4";
    const Case cases[] = {
        {"current play, cleared", 0, false, cReplaySaveDialog::ID_CLEARED, {{0, cleared}}, 0},
        {"previous play, not cleared", 1, false, cReplaySaveDialog::ID_PLAIN, {{1, plain}}, 0},
        {"cancel writes nothing", 1, false, cReplaySaveDialog::ID_CANCEL, {}, 0},
        {"a failing writer: error box, play goes on", 0, true, cReplaySaveDialog::ID_CLEARED, {{0, cleared}}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        if (&c != &cases[0]) {  // a fresh window for each run of the main loop
            TearDown();
            SetUp();
        }
        testsupport::EndConfirmation() = [](int) { return true; };
        g_Stage.m_strPath = SJ("data\\stg4\\表.stg4_1000");
        std::mutex m;
        std::vector<std::pair<int, std::string>> writes;
        testsupport::ReplayIo().write = [&](int prev, const std::string& path, bool) {
            std::lock_guard<std::mutex> lock(m);
            writes.push_back({prev, path});
            return !c.writerFails;
        };
        platform::CapturedMessageBoxes boxes;
        g_nWhich = c.which;
        g_nQuitAfter = -1;
        const int button = c.button;
        Script script({[button] {
            ASSERT_NE(ui::g_lpReplaySaveDialog, nullptr);
            ClickItem(button);
        }});
        ASSERT_TRUE(thGame.Start(AskToSave, nullptr));
        EXPECT_EQ(g_MainWindow.MessageLoop(), 0);
        thGame.Wait();
        EXPECT_EQ(script.Overruns(), 0);
        EXPECT_EQ(writes, c.writes);
        EXPECT_EQ(g_nQuitAfter.load(), 0);
        ASSERT_EQ(boxes.Boxes().size(), c.boxes);
        if (c.boxes) {
            EXPECT_NE(boxes.Boxes()[0].text.find(cleared), std::string::npos);
        }
    }
}
