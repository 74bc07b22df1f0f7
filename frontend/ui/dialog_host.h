// The program's main window as the dialogs see it: the window they sit over,
// showing a composed frame (a dialog drawn over the game frame) and showing
// the newest game frame again when the last dialog closes. The main window
// installs itself when it is built; without a host no dialog can show.
#pragma once
#include <cstdint>

#include "platform/events.h"
#include "platform/window.h"

namespace ui {

class cDialogHost {
public:
    virtual ~cDialogHost() = default;
    virtual platform::Window* HostWindow() = 0;  // null while no window exists
    virtual void ShowFrame(const uint32_t* pixels) = 0;
    virtual void PresentFrame(bool again) = 0;
};

void SetDialogHost(cDialogHost* host);
cDialogHost* DialogHost();  // null when none is installed
// The host's window, null without a host or a window.
platform::Window* DialogHostWindow();

}  // namespace ui

// The active flag after an event of the main window: set when the window is
// shown, gains focus or is restored; cleared when it loses focus, is hidden
// or minimised. A headless video driver may never give focus; showing the
// window counts. The main window and the dialogs' loop both apply it.
int NextActiveState(int active, const platform::Event& e);
