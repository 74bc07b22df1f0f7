// The replay-save dialog (template 105): saves the current play (F1) or the
// previous play (F2) as a replay of a cleared stage or of a stage not cleared,
// the two names differing only by "_CLEAR_", or not at all. It hands the
// chosen path back in its caller's string (empty: nothing to write); the
// caller writes the file. No button is the default: Enter does nothing until
// a button has the focus, and Esc does nothing.
#pragma once
#include <string>
#include <vector>

#include "frontend/ui/controls.h"
#include "frontend/ui/instance_dialog.h"

namespace ui {

class cReplaySaveDialog;
extern cReplaySaveDialog* g_lpReplaySaveDialog;

class cReplaySaveDialog : public cInstanceDialog<cReplaySaveDialog> {
public:
    enum {
        kTemplateId = 105,
        ID_PICTURE = 1075,
        ID_CLEARED = 1011,
        ID_PLAIN = 1002,
        ID_CANCEL = 1001,
        ID_PROMPT = 1012,
    };

    // `which`: 0 the current play, 1 the previous one; `stagePath`: the
    // play's stage file the names are made from; `name` receives the path.
    cReplaySaveDialog(cWindow* owner, int which, std::string stagePath, std::string* name);

    static cReplaySaveDialog*& Instance() { return g_lpReplaySaveDialog; }
    void OnInitDialog(uintptr_t wParam, intptr_t lParam) override;
    void OnCommand(uintptr_t wParam, intptr_t lParam) override;
    const DialogTemplate* Template() const override;

    cStaticControl m_Prompt{ID_PROMPT};
    std::vector<cButtonControl> m_vecButtons;
    std::string* m_lpName = nullptr;
    int m_nWhich = 0;
    std::string m_strStagePath;

    // The two paths and their file names, as last made.
    std::string m_strClearedPath, m_strClearedName, m_strPlainPath, m_strPlainName;
};

// The file-name part of a CP932 path: after the last backslash that is not
// the second byte of a two-byte character.
std::string FileNamePart(const std::string& path);

}  // namespace ui
