#include "frontend/ui/message_dialog.h"

#include "frontend/frontend_services.h"
#include "frontend/ui/canvas.h"
#include "frontend/ui/ui_look.h"
#include "frontend/ui/ui_messages.h"
#include "platform/cp932.h"
#include "platform/message_box.h"

#include <algorithm>
#include <functional>
#include <mutex>

namespace ui {

cMessageDialog* g_lpMessageDialog = nullptr;

namespace {

constexpr int kMargin = 8;        // dialog units around the text
constexpr int kButtonW = 46, kButtonH = 14, kButtonGap = 4;
constexpr int kMaxTextPx = 400;

int CeilDiv(int a, int b) { return (a + b - 1) / b; }

}  // namespace

cMessageDialog::cMessageDialog(const std::string& text, const std::string& caption, int type, bool english)
    : cDialog(0, nullptr, &cMessageDialog::StaticProc), m_lpPrevInstance(g_lpMessageDialog) {
    g_lpMessageDialog = this;
    struct Button {
        int id;
        const char* ja;
        const char* en;
    };
    std::vector<Button> buttons;
    switch (type & 0xF) {
        case platform::MB_YESNO:
            buttons = {{IDYES, "はい", "Yes"}, {IDNO, "いいえ", "No"}};
            m_nEscAnswer = 0;
            m_nSignalAnswer = IDNO;
            break;
        case platform::MB_OKCANCEL:
            buttons = {{IDOK, "OK", "OK"}, {IDCANCEL, "キャンセル", "Cancel"}};
            m_nEscAnswer = m_nSignalAnswer = IDCANCEL;
            break;
        default:
            buttons = {{IDOK, "OK", "OK"}};
            m_nEscAnswer = m_nSignalAnswer = IDOK;
            break;
    }
    const size_t focused = (type & platform::MB_DEFBUTTON2) && buttons.size() > 1 ? 1 : 0;
    m_nFirstButton = buttons[focused].id;
    // The text's size decides the box's; sizes in dialog units.
    int textW = 0, lines = 1;
    if (auto face = TemplateFace()) {
        auto wrapped = WrapText(*face, text, kMaxTextPx);
        while (wrapped.size() > 1 && wrapped.back().empty()) wrapped.pop_back();
        lines = static_cast<int>(wrapped.size());
        for (const std::string& l : wrapped) textW = std::max(textW, TextWidth(*face, l));
    }
    int textDluW = CeilDiv((textW + 1) * 4, 7);
    int textDluH = CeilDiv(lines * kLineHeight * 2, 3);
    int n = static_cast<int>(buttons.size());
    int buttonsW = n * kButtonW + (n - 1) * kButtonGap;
    int w = std::max({textDluW, buttonsW, 100}) + 2 * kMargin;
    int h = kMargin + textDluH + kMargin + kButtonH + kMargin / 2 + 2;
    m_Template.style = WS_CAPTION;
    m_Template.caption = caption;
    m_Template.w = w;
    m_Template.h = h;
    m_Template.items.push_back({-1, ItemKind::kStatic, 0, text, kMargin, kMargin, w - 2 * kMargin, textDluH});
    int x = (w - buttonsW) / 2, y = kMargin + textDluH + kMargin;
    for (size_t i = 0; i < buttons.size(); ++i) {
        uint32_t style = kStyleTabStop;
        if (i == 0) style |= kStyleGroup;
        if (i == focused) style |= kStyleDefault;
        m_Template.items.push_back({buttons[i].id, ItemKind::kButton, style,
                                    english ? std::string(buttons[i].en) : SJ(buttons[i].ja), x, y, kButtonW,
                                    kButtonH});
        x += kButtonW + kButtonGap;
    }
}

cMessageDialog::~cMessageDialog() { g_lpMessageDialog = m_lpPrevInstance; }

intptr_t cMessageDialog::StaticProc(cDialogWindow* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam) {
    return g_lpMessageDialog ? g_lpMessageDialog->OnMessage(hwnd, msg, wParam, lParam) : 0;
}

intptr_t cMessageDialog::OnMessage(cDialogWindow* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam) {
    if (msg == WM_CLOSE) {
        m_hWnd = hwnd;
        // Esc or the close box: nothing over a dialog.
        if (!KeyboardHookInstalled() && m_nEscAnswer) Close(m_nEscAnswer);
        return 1;
    }
    if (msg == UM_SIGNALCLOSE) {
        m_hWnd = hwnd;
        Close(m_nSignalAnswer);
        return 1;
    }
    return OnDialogMessage(hwnd, msg, wParam, lParam);
}

void cMessageDialog::OnInitDialog(uintptr_t, intptr_t) {
    // No keyboard-hook record: a message box is not one of the dialogs.
    m_vecBound.clear();
    RefreshStyle();
    PlaceWindow();
    if (m_hWnd) m_hWnd->SetFocusId(m_nFirstButton);
    m_bInitDone = 1;
}

void cMessageDialog::OnCommand(uintptr_t wParam, intptr_t lParam) {
    cDialog::OnCommand(wParam, lParam);
    if (HiWord(wParam) == BN_CLICKED) Close(static_cast<int>(LoWord(wParam)));
}

int UiMessageBox(const std::string& text, const std::string& caption, int type, int signalAnswer) {
    cMessageDialog box(text, caption, type, EnglishSetting() != 0);
    if (signalAnswer) box.m_nSignalAnswer = signalAnswer;
    int r = box.DoModal(0);
    return r;
}

}  // namespace ui

// The end confirmation, in the game window.
namespace {

class cEndConfirmation : public IEndConfirmation {
public:
    bool ConfirmEnd(int english) override {
        if (ui::TakeQuitSignal()) return true;  // SIGINT / SIGTERM asked for the end
        std::string text = english ? std::string("Would you like to quit?\n") : SJ("終了しますか？\n");
        std::string caption = english ? std::string("End confirmation") : SJ("終了確認");
        ui::cMessageDialog box(text, caption, platform::MB_YESNO, english != 0);
        box.m_nSignalAnswer = ui::IDYES;
        int r = box.DoModal(0);
        if (r < 0) r = platform::ShowMessageBoxOs(text, caption, platform::MB_YESNO);
        return r == ui::IDYES;
    }
};

}  // namespace

IEndConfirmation& IEndConfirmation::Real() {
    static cEndConfirmation confirmation;
    return confirmation;
}

bool ConfirmEnd(int english) { return Service<IEndConfirmation>::Get().ConfirmEnd(english); }
