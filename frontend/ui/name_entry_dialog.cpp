#include "frontend/ui/name_entry_dialog.h"

#include "frontend/frontend_services.h"
#include "frontend/ui/ui_messages.h"
#include "frontend/ui/window.h"
#include "platform/cp932.h"

namespace ui {

cNameEntryDialog* g_lpNameEntryDialog = nullptr;

namespace {

const DialogTemplate& NameEntryTemplate() {
    static const DialogTemplate t = [] {
        DialogTemplate d;
        d.style = WS_DLGFRAME;  // a modal frame without a caption bar
        d.w = 110;
        d.h = 65;
        d.items = {
            {cNameEntryDialog::ID_PICTURE, ItemKind::kPicture, kStyleGroup, "", 7, 7, 20, 21},
            {cNameEntryDialog::ID_NAME, ItemKind::kEdit, kStyleTabStop | kStyleGroup, "", 75, 12, 24, 14},
            {cNameEntryDialog::ID_OK, ItemKind::kButton, kStyleTabStop | kStyleGroup | kStyleDefault, "OK", 30, 35,
             50, 18},
            {cNameEntryDialog::ID_LABEL, ItemKind::kStatic, kStyleGroup, SJ("登録名(3文字まで)"), 15, 15, 56, 16},
        };
        return d;
    }();
    return t;
}

}  // namespace

cNameEntryDialog::cNameEntryDialog(cWindow* owner, std::string* name)
    : cInstanceDialog(kTemplateId, owner) {
    g_lpNameEntryDialog = this;
    if (name) {
        EditParam p;
        p.id = ID_NAME;
        p.text = name;
        p.bufLen = 4;
        p.maxCols = 3;
        p.maxLines = 1;
        p.countChars = 1;
        m_vecEdit.push_back(cEditControl(p));
    }
    // Placed as 100 dialog units wide although the template is 110: the
    // dialog sits a little left of the centre.
    RequestPlacement(PlaceOnFrame(100, 65, 20));
}

const DialogTemplate* cNameEntryDialog::Template() const { return &NameEntryTemplate(); }

void cNameEntryDialog::OnInitDialog(uintptr_t wParam, intptr_t lParam) {
    cDialog::OnInitDialog(wParam, lParam);
    for (cEditControl& e : m_vecEdit) {
        e.Bind(this, e.m_Param);  // a longer name is cut to three characters
        m_vecBound.push_back(&e);
    }
    InitControls();
    if (!m_vecEdit.empty() && m_hWnd) {
        m_hWnd->SetFocusId(ID_NAME);
        if (cWidget* w = m_hWnd->Item(ID_NAME)) m_hWnd->SetSel(*w, 0, static_cast<int>(w->text.size()));
    }
    if (EnglishSetting()) SetItemText(m_hWnd, ID_LABEL, "     Name");
    m_bInitDone = 1;
}

void cNameEntryDialog::OnCommand(uintptr_t wParam, intptr_t lParam) {
    cDialog::OnCommand(wParam, lParam);
    if (HiWord(wParam) != BN_CLICKED) return;
    if (LoWord(wParam) == ID_OK) {
        ReadControls();
        Close(1);
    }
}

}  // namespace ui
