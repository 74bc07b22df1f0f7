// Message boxes drawn in the game window (OK, OK / Cancel, Yes / No), with
// Japanese button texts or English by the "English" setting, and the end
// confirmation. Esc and the close box answer Cancel where there is one and OK
// in an OK box, else nothing; over a dialog they do nothing. A signal answers
// Cancel, OK or No, and the end confirmation Yes.
#pragma once
#include <string>

#include "frontend/ui/dialog.h"

namespace ui {

class cMessageDialog : public cDialog {
public:
    // type: platform::MB_OK, MB_OKCANCEL or MB_YESNO (icon bits ignored).
    cMessageDialog(const std::string& text, const std::string& caption, int type, bool english);
    ~cMessageDialog() override;

    static intptr_t StaticProc(cDialogWindow* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam);
    intptr_t OnMessage(cDialogWindow* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam) override;
    void OnInitDialog(uintptr_t wParam, intptr_t lParam) override;
    void OnCommand(uintptr_t wParam, intptr_t lParam) override;
    const DialogTemplate* Template() const override { return &m_Template; }

    DialogTemplate m_Template;
    int m_nEscAnswer = 0;
    int m_nSignalAnswer = 0;
    int m_nFirstButton = 0;

private:
    cMessageDialog* m_lpPrevInstance = nullptr;
};

extern cMessageDialog* g_lpMessageDialog;

// Shows a box and returns IDOK, IDCANCEL, IDYES or IDNO; -1 when it cannot be
// shown. `signalAnswer` (0: by the type) is the answer to SIGINT / SIGTERM.
int UiMessageBox(const std::string& text, const std::string& caption, int type, int signalAnswer = 0);

}  // namespace ui
