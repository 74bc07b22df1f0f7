// A dialog with every control kind, for the widget-set tests (also used by
// the real-window test under Xvfb).
#pragma once
#include "base/checked_vector.h"
#include "frontend/ui/controls.h"
#include "frontend/ui/dialog.h"
#include "frontend/ui/ui_messages.h"
#include "platform/cp932.h"

#include <functional>
#include <string>
#include <vector>

namespace uitest {

enum {
    kTestDialogId = 900,
    ID_TEXT = 10, ID_NAME, ID_GROUP, ID_RADIO1, ID_RADIO2, ID_RADIO3, ID_CHECK, ID_PICTURE, ID_LIST, ID_TWOLINES,
};

inline void RegisterTestDialog() {
    using namespace ui;
    DialogTemplate t;
    t.style = WS_CAPTION;
    t.caption = SJ("テスト ダイアログ");
    t.w = 260;
    t.h = 170;
    t.items = {
        {ID_TEXT, ItemKind::kStatic, 0, SJ("名前を入力してください。長い説明は幅で折り返されます。"), 7, 5, 120, 20},
        {ID_NAME, ItemKind::kEdit, kStyleTabStop | kStyleGroup, "", 7, 30, 60, 12},
        {ID_GROUP, ItemKind::kGroupBox, kStyleGroup, SJ("描画モード"), 140, 5, 110, 62},
        {ID_RADIO1, ItemKind::kRadio, kStyleTabStop | kStyleGroup, "Direct3D", 148, 17, 90, 12},
        {ID_RADIO2, ItemKind::kRadio, 0, "DirectDraw", 148, 31, 90, 12},
        {ID_RADIO3, ItemKind::kRadio, 0, SJ("自動"), 148, 45, 90, 12},
        {ID_CHECK, ItemKind::kCheckBox, kStyleTabStop | kStyleGroup, SJ("次から聞かない"), 7, 48, 110, 12},
        {ID_PICTURE, ItemKind::kPicture, kStyleGroup, "", 7, 66, 60, 40},
        {ID_LIST, ItemKind::kList, kStyleTabStop | kStyleGroup, "", 75, 72, 175, 40},
        {ID_TWOLINES, ItemKind::kButton, kStyleTabStop | kStyleGroup | kStyleMultiLine, SJ("二行の\nボタン"), 7, 112,
         60, 24},
        {IDOK, ItemKind::kButton, kStyleTabStop | kStyleGroup | kStyleDefault, "OK", 140, 150, 50, 14},
        {IDCANCEL, ItemKind::kButton, kStyleTabStop, SJ("キャンセル"), 200, 150, 50, 14},
    };
    RegisterDialogTemplate(kTestDialogId, std::move(t));
}

// Records every key the dialog is given.
class cKeyRecorder : public ui::cStaticControl {
public:
    std::vector<std::pair<int, bool>>* keys = nullptr;
    void OnKey(int key, intptr_t, bool ctrl) override {
        if (keys) keys->push_back({key, ctrl});
    }
};

class cTestDialog;
inline cTestDialog* g_lpTestDialog = nullptr;

class cTestDialog : public ui::cDialog {
public:
    cTestDialog(std::string* name, int* check, int* mode) : cDialog(kTestDialogId, nullptr, &Proc) {
        g_lpTestDialog = this;
        ui::EditParam p;
        p.id = ID_NAME;
        p.text = name;
        p.bufLen = 4;
        p.maxCols = 3;
        p.maxLines = 1;
        p.countChars = 1;
        m_Edits.push_back(ui::cEditControl(p));
        m_Checks.push_back(ui::cCheckBoxControl(ID_CHECK, check));
        for (int i = 0; i < 3; ++i) m_Radios.push_back(ui::cRadioControl(ID_RADIO1 + i, mode, i));
        m_Keys.keys = &keys;
    }
    ~cTestDialog() override { g_lpTestDialog = nullptr; }

    static intptr_t Proc(ui::cDialogWindow* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam) {
        return g_lpTestDialog ? g_lpTestDialog->OnMessage(hwnd, msg, wParam, lParam) : 0;
    }
    intptr_t OnMessage(ui::cDialogWindow* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam) override {
        return OnDialogMessage(hwnd, msg, wParam, lParam);
    }
    void OnInitDialog(uintptr_t wParam, intptr_t lParam) override {
        cDialog::OnInitDialog(wParam, lParam);
        m_Edits.at(0).Bind(this, m_Edits.at(0).m_Param);
        m_vecBound.push_back(&m_Edits.at(0));
        for (auto& c : m_Checks) c.Bind(this, c.m_nBindId), m_vecBound.push_back(&c);
        for (auto& r : m_Radios) r.Bind(this, r.m_nBindId), m_vecBound.push_back(&r);
        m_Keys.Bind(this, ID_TEXT);
        m_vecBound.push_back(&m_Keys);
        if (ui::cWidget* list = ui::GetDlgItem(m_hWnd, ID_LIST)) list->items = {"stage01.stg4_1000", "stage02.stg4_1000", SJ("ボス面.stg4_1000")};
        InitControls();
        m_bInitDone = 1;
    }
    void OnCommand(uintptr_t wParam, intptr_t lParam) override {
        cDialog::OnCommand(wParam, lParam);
        commands.push_back(wParam);
        if (ui::HiWord(wParam) != ui::BN_CLICKED) return;
        switch (ui::LoWord(wParam)) {
            case ui::IDOK:
                ReadControls();
                Close(1);
                break;
            case ui::IDCANCEL:
                Close(2);
                break;
            case ID_TWOLINES:
                if (onTwoLines) onTwoLines();
                break;
        }
    }

    cCheckedVector<ui::cEditControl> m_Edits;
    cCheckedVector<ui::cCheckBoxControl> m_Checks;
    cCheckedVector<ui::cRadioControl> m_Radios;
    cKeyRecorder m_Keys;
    std::vector<std::pair<int, bool>> keys;
    std::vector<uintptr_t> commands;
    std::function<void()> onTwoLines;
};

}  // namespace uitest
