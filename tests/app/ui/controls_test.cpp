// Bindings without the event loop: the test dialog's window is made and
// initialised directly, and edits are made as the user's would be.
#include "test_dialog.h"

#include "base/log.h"
#include "base/quit.h"
#include "tests/support/temp_dir.h"
#include "platform/message_box.h"

#include <gtest/gtest.h>

using namespace ui;
using namespace uitest;

namespace {

struct Bound {
    std::string name;
    int check = 0, mode = 1;
    std::unique_ptr<cTestDialog> dlg;
    std::unique_ptr<cDialogWindow> win;
    explicit Bound(std::string n = "", int c = 0, int m = 1) : name(std::move(n)), check(c), mode(m) {
        RegisterTestDialog();
        dlg = std::make_unique<cTestDialog>(&name, &check, &mode);
        win = std::make_unique<cDialogWindow>(*FindDialogTemplate(kTestDialogId), &cTestDialog::Proc);
        win->Send(WM_INITDIALOG);
    }
    ~Bound() {
        win->Send(WM_DESTROY);
        UnhookKeyboardHooks();
    }
    cWidget& Item(int id) { return *win->Item(id); }
};

}  // namespace

TEST(Bindings, FillAndReadRadioGroupAndCheckBox) {
    Bound b("", 1, 2);
    EXPECT_EQ(b.Item(ID_RADIO3).checked, 1);
    EXPECT_EQ(b.Item(ID_RADIO1).checked, 0);
    EXPECT_EQ(b.Item(ID_CHECK).checked, 1);
    b.win->Click(b.Item(ID_RADIO1));
    b.win->Click(b.Item(ID_CHECK));
    b.dlg->ReadControls();
    EXPECT_EQ(b.mode, 0);
    EXPECT_EQ(b.check, 0);
    // None checked: the int keeps its value.
    b.Item(ID_RADIO1).checked = 0;
    b.mode = 7;
    b.dlg->ReadControls();
    EXPECT_EQ(b.mode, 7);
    b.win->Click(b.Item(ID_CHECK));
    b.dlg->ReadControls();
    EXPECT_EQ(b.check, 1);
}

TEST(Bindings, ReadDuringInitControlsWritesNothing) {
    Bound b("abc", 1, 0);
    b.Item(ID_CHECK).checked = 0;
    b.Item(ID_NAME).text = "zz";
    b.dlg->m_bFilling = 1;
    b.dlg->ReadControls();
    b.dlg->m_bFilling = 0;
    EXPECT_EQ(b.check, 1);
    EXPECT_EQ(b.name, "abc");
    // A dialog with nothing bound fills and reads nothing.
    std::vector<cControl*> none;
    std::swap(b.dlg->m_vecBound, none);
    b.dlg->InitControls();
    b.dlg->ReadControls();
    EXPECT_EQ(b.name, "abc");
    std::swap(b.dlg->m_vecBound, none);
}

TEST(Bindings, BindCutsTheNameAndTypingIsLimited) {
    Bound b(SJ("山田太郎です"));
    EXPECT_EQ(b.Item(ID_NAME).text, SJ("山田太"));
    EXPECT_EQ(b.name, SJ("山田太郎です"));  // untouched until read
    b.win->SetFocusId(ID_NAME);
    b.win->SetSel(b.Item(ID_NAME), 2, 2);
    b.win->TextInput("x");  // between 山 and 田: refused, caret where the edit put it
    EXPECT_EQ(b.Item(ID_NAME).text, SJ("山田太"));
    EXPECT_EQ(b.Item(ID_NAME).selStart, 4);  // byte 3, inside 田, moves on to the next character
    b.win->KeyDown(VK_BACK, false, false);
    EXPECT_EQ(b.Item(ID_NAME).text, SJ("山太"));
    b.win->TextInput("ab");  // a fits, b is refused
    EXPECT_EQ(b.Item(ID_NAME).text, SJ("山a太"));
    b.dlg->ReadControls();
    EXPECT_EQ(b.name, SJ("山a太"));
}

TEST(Bindings, PasteIsOneEditAndCopyTakesTheSelection) {
    Bound b;
    b.win->SetFocusId(ID_NAME);
    SetClipboardText("abcdef");
    b.win->KeyDown('V', false, true);  // six letters pasted into the empty box: undone
    EXPECT_EQ(b.Item(ID_NAME).text, "");
    SetClipboardText(SJ("ＡＢ") + "\r\nc");
    b.win->KeyDown(VK_INSERT, true, false);  // one line of it
    EXPECT_EQ(b.Item(ID_NAME).text, SJ("ＡＢ"));
    b.win->KeyDown(VK_HOME, false, false);
    b.win->KeyDown(VK_RIGHT, true, false);
    b.win->KeyDown('X', false, true);
    EXPECT_EQ(b.Item(ID_NAME).text, SJ("Ｂ"));
    EXPECT_EQ(GetClipboardText(), SJ("Ａ"));
    b.win->KeyDown('A', false, true);
    EXPECT_EQ(b.Item(ID_NAME).selEnd, 2);
}

TEST(Bindings, EditNotificationsReachTheRecordAndCommandsInsideACommandAreDropped) {
    Bound b("ab");
    struct Probe : cEditControl {
        int changes = 0, kills = 0;
        void OnChange() override { ++changes; }
        void OnKillFocus() override { ++kills; }
    } probe;
    probe.cControl::Bind(b.dlg.get(), ID_TEXT);
    probe.m_nKind = kKindEdit;
    b.dlg->m_vecBound.insert(b.dlg->m_vecBound.begin(), &probe);
    b.win->Send(WM_COMMAND, MakeWParam(ID_TEXT, EN_UPDATE));
    b.win->Send(WM_COMMAND, MakeWParam(ID_TEXT, EN_KILLFOCUS));
    b.win->Send(WM_COMMAND, MakeWParam(ID_TEXT, 0x0300));  // other codes: searched on
    EXPECT_EQ(probe.changes, 1);
    EXPECT_EQ(probe.kills, 1);
    // Focus leaving the name raises its EN_KILLFOCUS.
    b.win->SetFocusId(ID_NAME);
    b.win->SetFocusId(ID_CHECK);
    EXPECT_EQ(b.dlg->commands.back(), MakeWParam(ID_NAME, EN_KILLFOCUS));
    // The two-line button sends OK from inside its command: dropped.
    b.dlg->onTwoLines = [&] { b.win->Send(WM_COMMAND, MakeWParam(IDOK, BN_CLICKED)); };
    b.win->Click(b.Item(ID_TWOLINES));
    EXPECT_FALSE(b.win->m_bEnded);
    EXPECT_EQ(b.dlg->commands.back(), MakeWParam(ID_TWOLINES, BN_CLICKED));
    b.dlg->m_vecBound.erase(b.dlg->m_vecBound.begin());
}

TEST(Bindings, MissingControlIdReportsAndCloses) {
    testsupport::TempWorkDir dir;
    SetDebugLog(1, (dir.Path() / "ZI_Vare.txt").string());
    platform::CapturedMessageBoxes boxes;
    g_bQuit = 0;
    int before = CloseRequestCount();
    cCheckedVector<cCheckBoxControl> checks;
    checks.push_back(cCheckBoxControl(ID_CHECK, nullptr));
    checks.at(0).m_nId = ID_CHECK;
    EXPECT_EQ(FindControlById(checks, ID_CHECK), &checks.at(0));
    EXPECT_EQ(FindControlById(checks, 4242), nullptr);
    EXPECT_EQ(g_bQuit.load(), 1);
    EXPECT_EQ(CloseRequestCount(), before + 1);
    ASSERT_EQ(boxes.Boxes().size(), 1u);  // shown only with the debug log on
    EXPECT_EQ(boxes.Boxes()[0].text, SJ("コントロールID 【4242】 が見つかりません！"));
    SetDebugLog(0, "");
    g_bQuit = 0;
}
