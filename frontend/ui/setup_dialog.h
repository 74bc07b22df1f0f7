// The set-up dialog (template 103), shown at start-up before the graphics
// device exists: the drawing back end (the Direct3D-like or the
// DirectDraw-like device family) and whether to ask again, kept in
// g_BootData. Start stores the choice (user_data\Boot.dat, a failed save
// unreported) and gives 1; Cancel and the close box give 0 and store
// nothing; Esc does nothing.
#pragma once
#include <vector>

#include "frontend/ui/controls.h"
#include "frontend/ui/instance_dialog.h"

namespace ui {

class cSetupDialog;
extern cSetupDialog* g_lpSetupDialog;

class cSetupDialog : public cInstanceDialog<cSetupDialog> {
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

    static cSetupDialog*& Instance() { return g_lpSetupDialog; }
    void OnInitDialog(uintptr_t wParam, intptr_t lParam) override;
    void OnCommand(uintptr_t wParam, intptr_t lParam) override;
    const DialogTemplate* Template() const override;

    std::vector<cRadioControl> m_vecRadios;
    std::vector<cCheckBoxControl> m_vecChecks;
    std::vector<cStaticControl> m_vecStatics;
};

}  // namespace ui
