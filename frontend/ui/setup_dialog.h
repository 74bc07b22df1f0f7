// The set-up dialog (template 103), shown at start-up before the graphics
// device exists: the drawing back end (the Direct3D-like or the
// DirectDraw-like device family) and whether to ask again, kept in
// g_BootData. Start stores the choice (user_data\Boot.dat, a failed save
// unreported) and gives 1; Cancel and the close box give 0 and store
// nothing; Esc does nothing.
#pragma once
#include <vector>

#include "frontend/ui/controls.h"
#include "frontend/ui/dialog.h"

namespace ui {

class cSetupDialog : public cDialog {
public:
    enum {
        kTemplateId = 103,
        ID_PICTURE = 1075,
        ID_START = 1000,
        ID_CANCEL = 1001,
        ID_GROUP = 1006,
        ID_DIRECT3D = 1002,
        ID_DIRECTDRAW = 1003,
        ID_NOTE = 1005,
        ID_NOASK = 1004,
    };

    explicit cSetupDialog(cWindow* owner);
    ~cSetupDialog() override;

    static intptr_t StaticProc(cDialogWindow* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam);
    intptr_t OnMessage(cDialogWindow* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam) override;
    void OnInitDialog(uintptr_t wParam, intptr_t lParam) override;
    void OnCommand(uintptr_t wParam, intptr_t lParam) override;
    const DialogTemplate* Template() const override;

    std::vector<cRadioControl> m_vecRadios;
    std::vector<cCheckBoxControl> m_vecChecks;
    std::vector<cStaticControl> m_vecStatics;

private:
    cSetupDialog* m_lpPrevInstance = nullptr;
};

extern cSetupDialog* g_lpSetupDialog;

}  // namespace ui
