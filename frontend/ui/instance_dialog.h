// A dialog class with one live instance that its static dialog procedure
// forwards to. D names the instance pointer through `static D*& Instance()`;
// D's constructor points it at itself, and the destructor gives it back to
// the instance that was live before.
#pragma once
#include "frontend/ui/dialog.h"
#include "frontend/ui/window.h"

namespace ui {

template <class D>
class cInstanceDialog : public cDialog {
public:
    cInstanceDialog(int templateId, cWindow* owner)
        : cDialog(templateId, owner, &cInstanceDialog::StaticProc), m_lpPrevInstance(D::Instance()) {}
    ~cInstanceDialog() override { D::Instance() = m_lpPrevInstance; }

    static intptr_t StaticProc(cDialogWindow* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam) {
        D* d = D::Instance();
        return d ? d->OnMessage(hwnd, msg, wParam, lParam) : 0;
    }
    intptr_t OnMessage(cDialogWindow* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam) override {
        return OnDialogMessage(hwnd, msg, wParam, lParam);
    }

    // The requested position (taken when the dialog opens) and the cursor,
    // put there at once.
    void RequestPlacement(const DialogPlacement& place) {
        m_nReqX = place.pos.x;
        m_nReqY = place.pos.y;
        SetCursorPos(place.cursor.x, place.cursor.y);
    }

private:
    D* m_lpPrevInstance;
};

}  // namespace ui
