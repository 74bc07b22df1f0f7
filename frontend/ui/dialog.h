// Modal dialogs drawn in the game window. A concrete dialog keeps one global
// pointer to its live instance and a static dialog procedure that forwards to
// it; its template is data (dialog_template.h), registered under its id.
//
// DoModal runs on the main thread: it composes the dialog over the newest
// game frame and shows it through the main window, and runs its own event
// loop until the dialog closes. Meanwhile it serves no main-thread request;
// every wake-up it swallowed (request, frame, close) is posted again when it
// ends. The window's close box is the dialog's close (result 0, nothing
// read); SIGINT / SIGTERM close it too and the close sequence then runs.
// Esc never closes a dialog.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "frontend/ui/dialog_template.h"
#include "frontend/ui/dialog_window.h"
#include "frontend/ui/window.h"

namespace ui {

class cControl;

void RegisterDialogTemplate(int id, DialogTemplate t);
const DialogTemplate* FindDialogTemplate(int id);

// The keyboard-hook record each dialog carries.
class cHookRecord : public cUiObject {
public:
    int m_nFlag = 0;
};

class cDialog : public cWindow {
public:
    cDialog(int templateId, cWindow* owner, DlgProc proc);
    ~cDialog() override;

    // The result given to Close; 0 when this object already has a window; -1
    // when the dialog cannot be shown (no window, no font).
    int DoModal(int options);
    void Close(int result);

    intptr_t WndProc(cDialogWindow* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam) override;
    intptr_t DialogProc(cDialogWindow* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam);
    intptr_t OnDialogMessage(cDialogWindow* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam);
    void OnCommand(uintptr_t wParam, intptr_t lParam) override;
    virtual void RefreshLists() {}
    virtual void OnInitDialog(uintptr_t wParam, intptr_t lParam);
    // The template the dialog is built from (by default the registered one).
    virtual const DialogTemplate* Template() const { return FindDialogTemplate(m_nTemplateId); }

    void InitControls();
    void ReadControls();
    bool InstallKeyboardHook(cDialogWindow* hwnd, int flag);

    cWindow* m_lpOwner = nullptr;
    int m_nResult = 0;
    int m_bInitDone = 0;
    int m_bFilling = 0;
    std::vector<cControl*> m_vecBound;
    cHookRecord m_Hook;
};

// The keyboard routing of the dialogs: while installed, every key-down but Tab
// is also given to the dialog (its bound records' OnKey), and Esc in a
// message box over a dialog is swallowed.
bool KeyboardHookInstalled();
void UnhookKeyboardHooks();

// The dialog loop's presentation: the newest game frame (or light grey) with
// every open dialog on it, as last shown.
const std::vector<uint32_t>& ComposedFrame();
int OpenDialogCount();

// SIGINT / SIGTERM: noted by the window's pump; a signal answers the end
// confirmation Yes. Take clears it.
void NoteQuitSignal();
bool TakeQuitSignal();

// Tests: runs whenever a dialog loop idles (no event waiting, frame shown).
void SetModalIdleHook(std::function<void()> hook);

}  // namespace ui
