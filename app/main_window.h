// The program's one window, its event pump and the close sequence.
// The main thread owns it: events, message boxes, dialogs, sound and music
// requests and the showing of frames all run there. The game-side threads
// reach it through the request layer (base/main_thread.h), close requests
// (base/quit.h) and the frame mailbox (platform/frame_mailbox.h).
//
// Windows features with no counterpart here: the palette messages, the
// min/max limits and the system menu's zoom entries (the right button cycles
// the zoom instead); the editor link only logs.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "base/main_thread.h"
#include "frontend/ui/dialog_host.h"
#include "platform/events.h"
#include "platform/window.h"

// Window placement written at close (x, y, client width, height, maximised).
struct WindowPlacementValues {
    int x = 0, y = 0, width = 0, height = 0, maximized = 0;
};

class cMainWindow : public ui::cDialogHost {
public:
    // Installs the nested pump of main-thread waits (base/main_thread.h),
    // which serves g_MainWindow, and itself as the dialogs' host.
    cMainWindow();
    platform::Window* HostWindow() override { return m_hWnd; }
    bool Create();    // 640 x 480 client area at (100, 100), hidden, empty caption
    void Destroy();   // WM_DESTROY: ends the message loop with status 0
    void Show();
    void SetCaption(const std::string& cp932);
    void SetFullScreen(bool on);
    void AddSizingFrame();  // the window may be resized freely
    void CenterOnDesktop();
    void MoveTo(int x, int y);
    void SetClientSize(int width, int height);
    void Maximize();

    // Private messages served on the main thread.
    intptr_t OnMessage(int msg, intptr_t wParam, intptr_t lParam);
    // One event of the main thread's pump.
    void HandleEvent(const platform::Event& e);
    // Turns one raised file-dialog request flag into its message. 1.
    int PumpRequests();
    void PlayBgmEntry(int track, int entry);
    // The close sequence (WM_CLOSE).
    void OnClose();

    // Runs until the window is destroyed; the exit status.
    int MessageLoop();
    // A nested pump (a main-thread caller waiting for a worker): serves
    // requests and frames; close requests are kept for the outer loop.
    void PumpEventsNested();

    void SetZoom(int n);
    void ZoomToFit();
    // Shows the newest frame of the mailbox (or the last one again).
    void PresentFrame(bool again) override;
    // Shows a given 640 x 480 XRGB8888 frame (a dialog drawn over the game
    // frame) with the window's scaling; the mailbox is left alone.
    void ShowFrame(const uint32_t* pixels) override;

    // The window placement store (the start-up installs it).
    void SetPlacementSaver(std::function<void(const WindowPlacementValues&)> saver);

    // The window while it exists (owned; null before Create and after
    // Destroy).
    platform::Window* m_hWnd = nullptr;
    bool LoopEnded() const { return m_bLoopEnded; }

private:
    bool m_bLoopEnded = false;
    bool m_bPendingClose = false;
    int m_nExitCode = 0;
    int m_nNestedDepth = 0;
    bool m_bDialog = false;
    std::function<void(const WindowPlacementValues&)> m_placementSaver;
    friend struct MainWindowTestAccess;
};

extern cMainWindow g_MainWindow;

// Zoom arithmetic.
int MaxZoomFor(int workRight, int workBottom);  // at least 1
int MaxZoomForWorkArea();
int CurrentZoom();
struct ZoomRect {
    int x, y, width, height;
};
ZoomRect ZoomPlacement(int n, int clientWidth, int left, int top, int workRight, int workBottom);
int NextZoom(int current, int max);  // the right button's cycle

// Whether WM_CLOSE asks first.
bool CloseNeedsConfirmation(int closing, int freeStage, int editorTest, int windowed, int sceneKind, int quit);
// NextActiveState: frontend/ui/dialog_host.h.

// The editor link (log only).
void NotifyEditorStarted();
void NotifyEditorExit(int value);

// Installs the close poster, the request wake-up, the frame notification and
// the message-box routing through the main thread. `showOnMain` shows a box on
// the main thread (empty: the system's box owned by the window; tests capture).
void InstallMainThreadServices(
    std::function<int(const std::string& text, const std::string& caption, int type)> showOnMain = {});
