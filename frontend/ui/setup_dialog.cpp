#include "frontend/ui/setup_dialog.h"

#include "frontend/data/boot_data.h"
#include "frontend/frontend_services.h"
#include "frontend/ui/ui_messages.h"
#include "frontend/ui/window.h"
#include "platform/cp932.h"
#include "records/system_data.h"

namespace ui {

cSetupDialog* g_lpSetupDialog = nullptr;

namespace {

const DialogTemplate& SetupTemplate() {
    static const DialogTemplate t = [] {
        using D = cSetupDialog;
        DialogTemplate d;
        d.style = WS_CAPTION;
        d.w = 222;
        d.h = 171;
        d.items = {
            {D::ID_PICTURE, ItemKind::kPicture, kStyleGroup, "", 7, 7, 20, 21},
            {D::ID_START, ItemKind::kButton, kStyleTabStop | kStyleGroup | kStyleDefault, SJ("ゲーム開始"), 80, 105,
             50, 25},
            {D::ID_CANCEL, ItemKind::kButton, kStyleTabStop | kStyleGroup, SJ("ゲーム中止"), 80, 140, 50, 18},
            {D::ID_GROUP, ItemKind::kGroupBox, kStyleGroup, SJ("描画モード"), 15, 15, 190, 55},
            {D::ID_DIRECT3D, ItemKind::kRadio, kStyleTabStop | kStyleGroup, "Direct3D", 20, 30, 42, 10},
            {D::ID_DIRECTDRAW, ItemKind::kRadio, 0, "DirectDraw", 80, 30, 45, 10},
            {D::ID_NOTE, ItemKind::kStatic, kStyleGroup,
             SJ("詳細な設定は環境設定ファイル「System.ini」で行って下さい。"), 20, 50, 177, 12},
            {D::ID_NOASK, ItemKind::kCheckBox, kStyleTabStop | kStyleGroup, SJ("次回からこのダイアログを表示しない"),
             50, 85, 120, 10},
        };
        return d;
    }();
    return t;
}

}  // namespace

cSetupDialog::cSetupDialog(cWindow* owner)
    : cInstanceDialog(kTemplateId, owner) {
    g_lpSetupDialog = this;
    m_vecRadios.push_back(cRadioControl(ID_DIRECT3D, &g_BootData.m_nDrawMode, 1));
    m_vecRadios.push_back(cRadioControl(ID_DIRECTDRAW, &g_BootData.m_nDrawMode, 0));
    m_vecChecks.push_back(cCheckBoxControl(ID_NOASK, &g_BootData.m_bNoAsk));
    m_vecStatics.push_back(cStaticControl(ID_NOTE));
    // The main window's offsets, inside the frame (the graphics mode is not
    // set yet; the dialogs' desktop is the frame either way).
    const int x = 320 - 187, y = 240 - 136;
    RequestPlacement({{x, y}, {static_cast<int>(x + 181.9), static_cast<int>(y + 198.9)}});
}

const DialogTemplate* cSetupDialog::Template() const { return &SetupTemplate(); }

void cSetupDialog::OnInitDialog(uintptr_t wParam, intptr_t lParam) {
    cDialog::OnInitDialog(wParam, lParam);
    if (m_hWnd) m_hWnd->m_strCaption = g_SystemData.m_strTitle;
    for (cRadioControl& r : m_vecRadios) {
        r.Bind(this, r.m_nBindId);
        m_vecBound.push_back(&r);
    }
    for (cCheckBoxControl& c : m_vecChecks) {
        c.Bind(this, c.m_nBindId);
        m_vecBound.push_back(&c);
    }
    for (cStaticControl& s : m_vecStatics) {
        s.Bind(this, s.m_nBindId);
        m_vecBound.push_back(&s);
    }
    InitControls();  // a stored draw mode other than 0 and 1 checks no radio
    if (EnglishSetting()) {
        SetItemText(m_hWnd, ID_GROUP, "Drawing mode");
        SetItemText(m_hWnd, ID_START, "Start");
        SetItemText(m_hWnd, ID_CANCEL, "Cancel");
        if (FindControlById(m_vecStatics, ID_NOTE))
            SetItemText(m_hWnd, ID_NOTE, "Configure the detail settings at \"System.ini\".");
        if (FindControlById(m_vecChecks, ID_NOASK)) SetItemText(m_hWnd, ID_NOASK, "Do not ask this dialog again");
    }
    m_bInitDone = 1;
}

void cSetupDialog::OnCommand(uintptr_t wParam, intptr_t lParam) {
    cDialog::OnCommand(wParam, lParam);
    if (HiWord(wParam) != BN_CLICKED) return;
    switch (LoWord(wParam)) {
        case ID_START:
            ReadControls();
            SaveBootData();  // a failed save is silent; the choice still applies
            Close(1);
            break;
        case ID_CANCEL:
            Close(0);
            break;
        default:
            break;
    }
}

}  // namespace ui
