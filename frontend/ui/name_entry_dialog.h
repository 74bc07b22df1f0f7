// The name-entry dialog (template 102): the name of at most three characters
// under which a ranking entry is stored, or the default name of the user
// options. It edits its caller's string in place: OK writes the typed text
// back, every other end leaves the string as it was. Esc does nothing.
#pragma once
#include <string>
#include <vector>

#include "frontend/ui/controls.h"
#include "frontend/ui/instance_dialog.h"

namespace ui {

class cNameEntryDialog;
extern cNameEntryDialog* g_lpNameEntryDialog;

class cNameEntryDialog : public cInstanceDialog<cNameEntryDialog> {
public:
    enum { kTemplateId = 102, ID_PICTURE = 1075, ID_NAME = 1003, ID_OK = 1000, ID_LABEL = 1007 };

    // `name`: the bound string; null binds nothing (the dialog still shows).
    cNameEntryDialog(cWindow* owner, std::string* name);

    static cNameEntryDialog*& Instance() { return g_lpNameEntryDialog; }
    void OnInitDialog(uintptr_t wParam, intptr_t lParam) override;
    void OnCommand(uintptr_t wParam, intptr_t lParam) override;
    const DialogTemplate* Template() const override;

    std::vector<cEditControl> m_vecEdit;  // one record, or none without a bound string
};

}  // namespace ui
