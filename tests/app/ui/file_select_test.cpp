// The file-selection dialog over a game folder made by the test: listing,
// choosing, typed names, the save mode's extension and overwrite question,
// the requests of the game thread through the main window, and the opening
// of a replay's folder.
#include "ui_fixture.h"

#include "base/error_box.h"
#include "base/files.h"
#include "records/system_ini.h"
#include "frontend/frontend_services.h"
#include "frontend/ui/file_select_dialog.h"
#include "frontend/ui/message_dialog.h"
#include "platform/fs.h"
#include "tests/support/temp_dir.h"
#include "tests/support/end_confirmation.h"
#include "tests/support/replay_io.h"

#include <sys/stat.h>

#include <atomic>
#include <cstdlib>
#include <mutex>

using namespace uitest;
using ui::cFileDialog;
using ui::cFileSelectDialog;

namespace {

const std::string kRawSoft = SJ("ソフト") + ".stg4_1000";  // raw CP932 on disk: 83 5C ...

// The game folder: stage files of every kind of name, replays, and a long
// folder for the paging keys.
void MakeGameFolder(const testsupport::TempWorkDir& dir) {
    dir.WriteFile("data/stg4/c01-1.stg4_1000", "c01");
    dir.WriteFile("data/stg4/ステージ.stg4_1000", "utf8 stage");
    dir.WriteFile("data/stg4/" + kRawSoft, "raw cp932 stage");
    dir.WriteFile("data/stg4/表ソ.STG4_999", "old stage");
    dir.WriteFile("data/stg4/한.stg4_1000", "no cp932 form");
    dir.WriteFile("data/stg4/notes.txt", "notes");
    dir.WriteFile("data/stg4/sub/deep.stg4_1000", "deep");
    for (int i = 0; i < 40; ++i) dir.WriteFile("data/stg4/many/f" + std::to_string(100 + i) + ".stg4_1000");
    dir.WriteFile("user_data/rpl4/a.rpl4_1000", "old replay");
    dir.WriteFile("user_data/rpl4/b.RPL4_999", "older replay");
    dir.WriteFile("user_data/rpl4/c.txt", "not a replay");
    dir.MakeDirs("user_data/other");
    ::chmod((dir.Path() / "user_data/rpl4/a.rpl4_1000").c_str(), 0444);  // replays are written read-only
}

ui::cDialogWindow* FileWin() { return ui::g_lpFileDialog ? ui::g_lpFileDialog->m_hWnd : nullptr; }
ui::cWidget* FileItem(int id) { return FileWin() ? FileWin()->Item(id) : nullptr; }
std::vector<std::string> Rows() { return FileItem(cFileDialog::ID_LIST) ? FileItem(cFileDialog::ID_LIST)->items : std::vector<std::string>{}; }
std::string Shown() { return FileItem(cFileDialog::ID_FOLDER) ? FileItem(cFileDialog::ID_FOLDER)->text : ""; }
std::string NameText() { return FileItem(cFileDialog::ID_NAME) ? FileItem(cFileDialog::ID_NAME)->text : ""; }

void ClickFile(int id) { ClickItemIn(FileWin(), id); }

// A click (or double click) on a visible row of the list.
void ClickRow(int row, bool doubleClick = false) {
    ui::cDialogWindow* w = FileWin();
    ui::cWidget* list = FileItem(cFileDialog::ID_LIST);
    ASSERT_TRUE(w && list);
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.windowID = WinId();
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = SDL_PRESSED;
    e.button.clicks = doubleClick ? 2 : 1;
    e.button.x = w->ClientX() + list->x + 20;
    e.button.y = w->ClientY() + list->y + 2 + (row - list->top) * 14 + 7;
    SDL_PushEvent(&e);
    e.type = SDL_MOUSEBUTTONUP;
    e.button.state = SDL_RELEASED;
    SDL_PushEvent(&e);
}

void PushWheel(int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.windowID = WinId();
    e.wheel.y = y;
    SDL_PushEvent(&e);
}

// Replaces the file name box's text and presses Enter.
void TypeName(const char* utf8) {
    ClickItemIn(FileWin(), cFileDialog::ID_NAME);
    PushKey(SDLK_a, KMOD_CTRL);
    if (*utf8) PushText(utf8);
    PushKey(SDLK_RETURN);
}

std::string BoxText() {
    return ui::g_lpMessageDialog && !ui::g_lpMessageDialog->m_Template.items.empty()
               ? ui::g_lpMessageDialog->m_Template.items[0].text
               : "";
}

// The program's absolute form of a path below the game folder.
std::string Absolute(const std::string& cp932Relative) {
    std::string p = cp932Relative;
    EXPECT_TRUE(ToAbsolutePathStr(p));
    return p;
}

class FileSelectTest : public UiWindowTest {
protected:
    void SetUp() override {
        UiWindowTest::SetUp();
        MakeGameFolder(m_dir);
    }
    void TearDown() override {
        g_SystemIni.English = 0;
        testsupport::ReplayIo().read = nullptr;
        testsupport::ReplayIo().write = nullptr;
        testsupport::EndConfirmation() = nullptr;
        ::chmod((m_dir.Path() / "user_data/rpl4/a.rpl4_1000").c_str(), 0644);
        UiWindowTest::TearDown();
    }
    int Run(int mode, std::string& path, std::vector<std::function<void()>> steps, int* replace = nullptr) {
        cFileSelectDialog dlg(nullptr, &path, mode);
        Script script(std::move(steps));
        int r = dlg.DoModal(0);
        EXPECT_EQ(script.Overruns(), 0);
        if (replace) *replace = dlg.m_bReplace;
        return r;
    }
    testsupport::TempWorkDir m_dir;
};

const std::vector<std::string> kStageRows = {
    "..", "many\\", "sub\\", "c01-1.stg4_1000", SJ("ステージ.stg4_1000"), kRawSoft, SJ("表ソ.STG4_999")};

}  // namespace

TEST_F(FileSelectTest, OpenStageListsTheFolderAndChoosesEachFile) {
    // Folders, then the stage files, each in ListDir's order; 한 (no CP932
    // form) and notes.txt are not listed.
    std::vector<std::string> folders, files;
    for (const auto& e : platform::ListDir("data\\stg4", "*"))
        if (e.isDir) folders.push_back(e.name + "\\");
    for (const auto& e : platform::ListDir("data\\stg4", "*.stg4_*"))
        if (!e.isDir) files.push_back(e.name);
    std::vector<std::string> expected = {".."};
    expected.insert(expected.end(), folders.begin(), folders.end());
    expected.insert(expected.end(), files.begin(), files.end());
    ASSERT_EQ(expected, kStageRows);

    struct Case {
        const char* label;
        std::vector<std::function<void()>> steps;
        std::string name, content;
    };
    const Case cases[] = {
        {"a click, then Open", {[] { ClickRow(3); }, [] { ClickFile(cFileDialog::ID_OK); }}, "c01-1.stg4_1000", "c01"},
        {"a double click", {[] { ClickRow(4, true); }}, SJ("ステージ.stg4_1000"), "utf8 stage"},
        {"keys: Tab to the list, Down, Enter",
         {[] {
              for (int i = 0; i < 3; ++i) PushKey(SDLK_TAB);
              for (int i = 0; i < 6; ++i) PushKey(SDLK_DOWN);
          },
          [] {
              EXPECT_EQ(NameText(), kRawSoft);  // selecting a file copies its name
              PushKey(SDLK_RETURN);
          }},
         kRawSoft,
         "raw cp932 stage"},
        {"typed in other case", {[] { TypeName("表ソ.stg4_999"); }}, SJ("表ソ.STG4_999"), "old stage"},
        {"typed upper case", {[] { TypeName("C01-1.STG4_1000"); }}, "c01-1.stg4_1000", "c01"},
        {"typed raw name", {[] { TypeName("ソフト.STG4_1000"); }}, kRawSoft, "raw cp932 stage"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::string path = "junk";
        bool listed = false;
        std::vector<std::function<void()>> steps = {[&] {
            listed = true;
            EXPECT_EQ(Rows(), kStageRows);
            EXPECT_EQ(Shown(), "data\\stg4\\");
            EXPECT_EQ(FileWin()->m_strCaption, SJ("ステージファイルの読み込み"));
        }};
        steps.insert(steps.end(), c.steps.begin(), c.steps.end());
        EXPECT_EQ(Run(ui::FSEL_LOADSTAGE, path, steps), 1);
        EXPECT_TRUE(listed);
        EXPECT_EQ(path, Absolute("data\\stg4\\" + c.name));
        auto bytes = platform::ReadWholeFile(path);
        ASSERT_TRUE(bytes.has_value());
        EXPECT_EQ(std::string(bytes->begin(), bytes->end()), c.content);
    }
}

// A game folder below folders whose names have no CP932 form: the dialog
// opens in the game's replay folder, lists the file and chooses it.
TEST_F(FileSelectTest, AGameFolderBelowNamesWithoutCp932Form) {
    m_dir.WriteFile("josé/下载/game/user_data/rpl4/記録.rpl4_1000", "deep replay");
    ASSERT_TRUE(platform::ChangeDirectory((m_dir.Path() / "josé/下载/game").string()));
    std::string path;
    bool listed = false;
    EXPECT_EQ(Run(ui::FSEL_LOADREPLAY, path,
                  {[&] {
                       listed = true;
                       EXPECT_EQ(Shown(), "user_data\\rpl4\\");
                       EXPECT_EQ(Rows(), (std::vector<std::string>{"..", SJ("記録.rpl4_1000")}));
                   },
                   [] { ClickRow(1, true); }}),
              1);
    EXPECT_TRUE(listed);
    auto bytes = platform::ReadWholeFile(path);
    ASSERT_TRUE(bytes.has_value()) << path;
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "deep replay");
    ASSERT_TRUE(platform::ChangeDirectory(m_dir.Path().string()));
}

TEST_F(FileSelectTest, MissingNamesEscAndCancelling) {
    struct Case {
        const char* label;
        std::function<void()> end;
    };
    const Case cases[] = {
        {"Cancel", [] { ClickFile(cFileDialog::ID_CANCEL); }},
        {"close box", [] { PushWindowEvent(SDL_WINDOWEVENT_CLOSE); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::string path = "junk";
        int r = Run(ui::FSEL_LOADSTAGE, path,
                    {[] { TypeName("nothing.stg4_1000"); },
                     [] {
                         EXPECT_EQ(BoxText(), SJ("nothing.stg4_1000\nファイルが見つかりません。"));
                         PushKey(SDLK_RETURN);
                     },
                     [] {
                         EXPECT_EQ(ui::OpenDialogCount(), 2);  // the dialog stays
                         EXPECT_EQ(NameText(), "nothing.stg4_1000");
                         TypeName("sub\\nope");  // a name in a folder that is there: not found either
                     },
                     [] {
                         EXPECT_EQ(BoxText(), SJ("sub\\nope\nファイルが見つかりません。"));
                         PushKey(SDLK_RETURN);
                     },
                     [] { PushKey(SDLK_ESCAPE); },
                     [] {
                         EXPECT_EQ(ui::OpenDialogCount(), 2);  // Esc does nothing
                         EXPECT_EQ(ui::g_lpMessageDialog, nullptr);
                     },
                     c.end});
        EXPECT_EQ(r, 0);
        EXPECT_EQ(path, "");
    }
}

TEST_F(FileSelectTest, FoldersKeysAndWheel) {
    std::string path;
    int r = Run(ui::FSEL_LOADSTAGE, path,
                {[] { ClickRow(2, true); },  // into sub
                 [] {
                     EXPECT_EQ(Shown(), "data\\stg4\\sub\\");
                     EXPECT_EQ(Rows(), std::vector<std::string>({"..", "deep.stg4_1000"}));
                     ClickRow(1);
                     PushKey(SDLK_BACKSPACE);  // up, from the list
                 },
                 [] {
                     EXPECT_EQ(Shown(), "data\\stg4\\");
                     EXPECT_EQ(Rows(), kStageRows);
                     TypeName("MANY");  // a typed folder is entered
                 },
                 [] {
                     EXPECT_EQ(Shown(), "data\\stg4\\many\\");
                     ASSERT_EQ(Rows().size(), 41u);
                     EXPECT_EQ(NameText(), "");
                     ClickRow(0);
                     PushKey(SDLK_END);
                 },
                 [] {
                     ui::cWidget* list = FileItem(cFileDialog::ID_LIST);
                     const int rows = ui::cDialogWindow::ListRows(*list);
                     EXPECT_GE(rows, 15);
                     EXPECT_EQ(list->curSel, 40);
                     EXPECT_EQ(list->top, 41 - rows);
                     EXPECT_EQ(NameText(), "f139.stg4_1000");
                     PushKey(SDLK_HOME);
                     PushKey(SDLK_PAGEDOWN);
                 },
                 [] {
                     ui::cWidget* list = FileItem(cFileDialog::ID_LIST);
                     const int rows = ui::cDialogWindow::ListRows(*list);
                     EXPECT_EQ(list->curSel, rows - 1);
                     EXPECT_EQ(list->top, 0);
                     PushWheel(-2);  // down six rows; the selection stays
                 },
                 [] {
                     ui::cWidget* list = FileItem(cFileDialog::ID_LIST);
                     EXPECT_EQ(list->top, 6);
                     PushWheel(5);
                     PushKey(SDLK_PAGEUP);
                 },
                 [] {
                     EXPECT_EQ(FileItem(cFileDialog::ID_LIST)->curSel, 0);
                     PushKey(SDLK_RETURN);  // Enter on ".." goes up
                 },
                 [] {
                     EXPECT_EQ(Shown(), "data\\stg4\\");
                     TypeName("*1-1*");  // a typed pattern filters the files
                 },
                 [] {
                     EXPECT_EQ(Rows(), std::vector<std::string>({"..", "many\\", "sub\\", "c01-1.stg4_1000"}));
                     EXPECT_EQ(ui::g_lpMessageDialog, nullptr);
                     TypeName("\\");  // the root: no ".."
                 },
                 [] {
                     EXPECT_EQ(Shown(), "\\");
                     ASSERT_FALSE(Rows().empty());
                     EXPECT_NE(Rows()[0], "..");
                     ClickFile(cFileDialog::ID_CANCEL);
                 }});
    EXPECT_EQ(r, 0);
}

TEST_F(FileSelectTest, GoldensOfTheThreeModes) {
    struct Case {
        int mode, english;
        std::vector<std::string> rows;
        const char* caption;
        const char* golden;
    };
    const std::vector<std::string> replays = {"..", "a.rpl4_1000", "b.RPL4_999"};
    const Case cases[] = {
        {0, 0, kStageRows, "ステージファイルの読み込み", "file_select_0_ja.png"},
        {0, 1, kStageRows, "load stage file", "file_select_0_en.png"},
        {1, 0, replays, "リプレイファイルの読み込み", "file_select_1_ja.png"},
        {1, 1, replays, "load replay file", "file_select_1_en.png"},
        {2, 0, {"..", "a.rpl4_1000"}, "リプレイファイルの保存", "file_select_2_ja.png"},
        {2, 1, {"..", "a.rpl4_1000"}, "save replay file", "file_select_2_en.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.golden);
        g_SystemIni.English = c.english;
        std::string path = c.mode == 2 ? SJ("user_data\\rpl4\\ステージ_0001.rpl4_1000") : "";
        Run(c.mode, path, {[&] {
                EXPECT_EQ(Rows(), c.rows);
                EXPECT_EQ(FileWin()->m_strCaption, SJ(c.caption));
                EXPECT_EQ(FileWin()->m_nW, 601);
                EXPECT_EQ(FileWin()->m_nH, 432);
                EXPECT_EQ(Golden(c.golden), "");
                ClickFile(cFileDialog::ID_CANCEL);
            }});
    }
}

TEST_F(FileSelectTest, SaveModeNamesAndTheOverwriteQuestion) {
    const std::string offered = SJ("user_data\\rpl4\\ステージ_0001.rpl4_1000");
    struct Case {
        const char* label;
        std::string given;
        std::vector<std::function<void()>> steps;
        int result;
        std::string path;
        int replace;
    };
    const Case cases[] = {
        {"Cancel keeps the offered name",
         offered,
         {[] {
              EXPECT_EQ(Shown(), "user_data\\rpl4\\");
              EXPECT_EQ(NameText(), SJ("ステージ_0001.rpl4_1000"));
              ClickFile(cFileDialog::ID_CANCEL);
          }},
         0,
         offered,
         0},
        {"a given folder opens there",
         "user_data\\other\\x.rpl4_1000",
         {[] {
              EXPECT_EQ(Shown(), "user_data\\other\\");
              EXPECT_EQ(NameText(), "x.rpl4_1000");
              PushKey(SDLK_RETURN);
          }},
         1,
         Absolute("user_data\\other\\x.rpl4_1000"),
         0},
        {"the offered name", offered, {[] { PushKey(SDLK_RETURN); }}, 1, Absolute(offered), 0},
        {"the extension is added", offered, {[] { TypeName("my"); }}, 1, Absolute("user_data\\rpl4\\my.rpl4_1000"), 0},
        {"an existing name: No stays, Yes replaces",
         offered,
         {[] { TypeName("A"); },
          [] {
              EXPECT_EQ(BoxText(), SJ("a.rpl4_1000 は既に存在します。\n上書きしますか？"));
              EXPECT_EQ(Golden("file_select_overwrite_ja.png"), "");
              PushKey(SDLK_RETURN);  // No has the focus
          },
          [] {
              EXPECT_EQ(ui::OpenDialogCount(), 2);
              PushKey(SDLK_RETURN);
          },
          [] { ClickItemIn(ui::g_lpMessageDialog->m_hWnd, ui::IDYES); }},
         1,
         Absolute("user_data\\rpl4\\a.rpl4_1000"),
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::string path = c.given;
        int replace = -1;
        EXPECT_EQ(Run(ui::FSEL_SAVEREPLAY, path, c.steps, &replace), c.result);
        EXPECT_EQ(path, c.path);
        EXPECT_EQ(replace, c.replace);
    }
}

TEST_F(FileSelectTest, EnglishMessages) {
    g_SystemIni.English = 1;
    std::string path = "user_data\\rpl4\\x";
    Run(ui::FSEL_SAVEREPLAY, path,
        {[] { TypeName("a.rpl4_1000"); },
         [] {
             EXPECT_EQ(BoxText(), "a.rpl4_1000 already exists.\nDo you want to replace it?");
             PushKey(SDLK_RETURN);
             ClickFile(cFileDialog::ID_CANCEL);
         }});
    path.clear();
    Run(ui::FSEL_LOADREPLAY, path,
        {[] { TypeName("zz"); },
         [] {
             EXPECT_EQ(BoxText(), "zz\nFile not found.");
             PushKey(SDLK_RETURN);
             ClickFile(cFileDialog::ID_CANCEL);
         }});
}

// The requests of the game thread, served by the main window's loop.
namespace {
std::atomic<int> g_nAnswer{-1};
std::atomic<int> g_nQuitAfter{-1};
unsigned AskToOpenReplay(void*) {
    g_nAnswer = WaitMainThreadRequest(g_nOpenReplayRequest, g_nFileDialogDone) ? g_nFileDialogResult.load() : -1;
    g_nQuitAfter = g_bQuit.load();
    PostCloseRequest();
    return 0;
}
unsigned AskToSaveReplayAs(void*) {
    g_nSaveReplayAsParam = 1;
    g_nAnswer = WaitMainThreadRequest(g_nSaveReplayAsRequest, g_nFileDialogDone) ? g_nFileDialogResult.load() : -1;
    g_nQuitAfter = g_bQuit.load();
    PostCloseRequest();
    return 0;
}
}  // namespace

TEST_F(FileSelectTest, OpenReplayRequestReachesTheReader) {
    struct Case {
        const char* label;
        std::function<void()> step;
        bool refuse;
        int answer;
        std::vector<std::string> reads;
        size_t boxes;
    };
    const std::string chosen = Absolute("user_data\\rpl4\\a.rpl4_1000");
    const Case cases[] = {
        {"chosen", [] { ClickRow(1, true); }, false, 1, {chosen}, 0},
        {"cancelled", [] { ClickFile(cFileDialog::ID_CANCEL); }, false, 0, {}, 0},
        {"refused by the reader", [] { ClickRow(1, true); }, true, 0, {chosen}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        if (&c != &cases[0]) {  // a fresh window for each run of the main loop
            UiWindowTest::TearDown();
            UiWindowTest::SetUp();
        }
        testsupport::EndConfirmation() = [](int) { return true; };
        std::mutex m;
        std::vector<std::string> reads;
        testsupport::ReplayIo().read = [&](const std::string& path) {
            {
                std::lock_guard<std::mutex> lock(m);
                reads.push_back(path);
            }
            if (c.refuse) ErrorBoxf("%s", ("bad replay " + path).c_str());
            return !c.refuse;
        };
        platform::CapturedMessageBoxes boxes;
        g_nAnswer = -1;
        Script script({[&] {
                           ASSERT_NE(ui::g_lpFileSelectDialog, nullptr);
                           EXPECT_EQ(ui::g_lpFileSelectDialog->m_nMode, ui::FSEL_LOADREPLAY);
                           EXPECT_EQ(Shown(), "user_data\\rpl4\\");
                       },
                       c.step});
        ASSERT_TRUE(thGame.Start(AskToOpenReplay, nullptr));
        EXPECT_EQ(g_MainWindow.MessageLoop(), 0);
        thGame.Wait();
        EXPECT_EQ(script.Overruns(), 0);
        EXPECT_EQ(g_nAnswer.load(), c.answer);
        EXPECT_EQ(reads, c.reads);
        EXPECT_EQ(g_nQuitAfter.load(), 0);
        EXPECT_EQ(boxes.Boxes().size(), c.boxes);
    }
}

TEST_F(FileSelectTest, SaveReplayAsWritesThePreviousPlay) {
    struct Write {
        int prev;
        std::string path;
        bool mayReplace;
        bool operator==(const Write&) const = default;
    };
    struct Case {
        const char* label;
        std::vector<std::function<void()>> steps;
        int answer;
        std::vector<Write> writes;
        size_t boxes = 0;
    };
    const std::string mine = Absolute("user_data\\rpl4\\my.rpl4_1000");
    const std::string existing = Absolute("user_data\\rpl4\\a.rpl4_1000");
    const Case cases[] = {
        {"a new name", {[] { TypeName("my"); }}, 1, {{1, mine, false}}},
        {"replacing a read-only replay",
         {[] { TypeName("a"); }, [] { ClickItemIn(ui::g_lpMessageDialog->m_hWnd, ui::IDYES); }},
         1,
         {{1, existing, true}}},
        {"cancelled", {[] { ClickFile(cFileDialog::ID_CANCEL); }}, 0, {}},
        {"a failed write: the writer's box, play goes on",
         {[] { TypeName("fail"); }},
         1,
         {{1, Absolute("user_data\\rpl4\\fail.rpl4_1000"), false}},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        if (&c != &cases[0]) {
            UiWindowTest::TearDown();
            UiWindowTest::SetUp();
        }
        testsupport::EndConfirmation() = [](int) { return true; };
        std::mutex m;
        std::vector<Write> writes;
        // A writer that keeps the replay files' rule: an existing file is
        // replaced only with the permission, and written read-only.
        testsupport::ReplayIo().write = [&](int prev, const std::string& path, bool mayReplace) {
            {
                std::lock_guard<std::mutex> lock(m);
                writes.push_back({prev, path, mayReplace});
            }
            if (path.find("fail.") != std::string::npos) return false;
            if (platform::PathExists(path) && !mayReplace) return false;
            if (!platform::WriteFileAtomic(path, std::vector<uint8_t>{'n', 'e', 'w'})) return false;
            return ::chmod(platform::OsPath(path).c_str(), 0444) == 0;
        };
        platform::CapturedMessageBoxes boxes;
        g_nAnswer = -1;
        Script script(c.steps);
        ASSERT_TRUE(thGame.Start(AskToSaveReplayAs, nullptr));
        EXPECT_EQ(g_MainWindow.MessageLoop(), 0);
        thGame.Wait();
        EXPECT_EQ(script.Overruns(), 0);
        EXPECT_EQ(g_nAnswer.load(), c.answer);
        EXPECT_EQ(writes, c.writes);
        ASSERT_EQ(boxes.Boxes().size(), c.boxes);
        EXPECT_EQ(g_nQuitAfter.load(), 0);
        if (c.boxes) {
            EXPECT_NE(boxes.Boxes()[0].text.find(c.writes[0].path), std::string::npos);
            continue;
        }
        for (const Write& w : c.writes) {
            auto bytes = platform::ReadWholeFile(w.path);
            ASSERT_TRUE(bytes.has_value());
            EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "new");
            struct stat st;
            ASSERT_EQ(::stat(platform::OsPath(w.path).c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 0222, 0u);  // read-only again
        }
    }
}

// The folder of a replay in the file manager, through a fake xdg-open.
TEST_F(FileSelectTest, ShowInExplorerOpensTheFolder) {
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    const auto bin = m_dir.Path() / "bin";
    const auto args = m_dir.Path() / "args.txt";
    m_dir.WriteFile("bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"" + args.string() + ".tmp\"\n/bin/mv \"" +
                                        args.string() + ".tmp\" \"" + args.string() + "\"\n");
    ::chmod((bin / "xdg-open").c_str(), 0755);
    m_dir.MakeDirs("empty");

    setenv("PATH", bin.c_str(), 1);
    {
        platform::CapturedMessageBoxes boxes;
        ui::ShowInExplorer("user_data\\rpl4\\x.rpl4_1000", nullptr);
        for (int i = 0; i < 500 && !m_dir.Exists("args.txt"); ++i) SDL_Delay(10);
        EXPECT_EQ(m_dir.ReadFile("args.txt"), "1\n" + (m_dir.Path() / "user_data/rpl4").string() + "\n");
        EXPECT_TRUE(boxes.Boxes().empty());
    }
    setenv("PATH", (m_dir.Path() / "empty").c_str(), 1);
    {
        platform::CapturedMessageBoxes boxes;
        ui::ShowInExplorer(SJ("表\\x.rpl4_1000"), nullptr);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, SJ("フォルダを開けませんでした（xdg-open がありません）。\n") +
                                             platform::Utf8ToCp932((m_dir.Path() / "表").string()));
    }
    setenv("PATH", oldPath.c_str(), 1);
}
