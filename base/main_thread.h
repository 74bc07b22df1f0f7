// Calls served on the main thread for the game-side threads: the blocking
// requests to the main window (SendMessage with the private messages), message
// boxes and the flag handshakes of the file dialogs.
//
// A caller's wait is quit-aware: it ends early with result 0 once the close
// sequence has begun or the calling thread is asked to quit, and a request
// that has not begun then never runs. A request that has begun is waited for.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>

#include "base/messages.h"

// The calling thread becomes the main thread.
void SetMainThread();
bool IsMainThread();

// Runs `call` on the main thread and returns its result. On the main thread it
// runs at once. With `carriesToken` the game token is lent to the main thread
// while the call runs. When the wait ends early and `doneFlag` is given, the
// flag is set to 1 so that the caller does not spin on it.
// `completed` (optional) tells whether the call ran.
intptr_t RunOnMainThread(std::function<intptr_t()> call, bool carriesToken = false,
                         std::atomic<int>* doneFlag = nullptr, bool* completed = nullptr);

// SendMessage to the main window with a private message.
using MainWindowHandler = std::function<intptr_t(int msg, intptr_t wParam, intptr_t lParam)>;
void SetMainWindowHandler(MainWindowHandler handler);  // empty: nothing handles them (result 0)
intptr_t SendMainWindowMessage(int msg, intptr_t wParam = 0, intptr_t lParam = 0,
                               std::atomic<int>* doneFlag = nullptr, bool* completed = nullptr);

// A dialog request whose handler raises a done flag (UM_NAMEENTRY,
// UM_SAVEREPLAY): clears the flag, sends, then waits for the flag (quit-aware;
// a wait that ends early sets it). True when the handler ran.
bool SendMainWindowMessageAndWait(int msg, intptr_t wParam, std::atomic<int>& doneFlag);

// After a nested frame loop: waits until the application is active again.
// False when the wait ended because the thread is asked to quit.
bool WaitForActive();

// The main thread is woken by this when a request arrives (an SDL event).
void SetMainThreadWakeup(std::function<void()> wakeup);
// Main thread: runs every waiting request; returns how many ran.
int ServeMainThreadRequests();
// Requests not yet served (for tests).
int PendingMainThreadRequests();

// The flag handshake of the file dialogs, game side: clears the done flag,
// raises the request flag and waits until the done flag is set. The game token
// is lent to the main thread meanwhile. False when the wait ended early.
bool WaitMainThreadRequest(std::atomic<int>& requestFlag, std::atomic<int>& doneFlag);

// Request flags of the file dialogs and the dialogs' done flags.
extern std::atomic<int> g_nOpenStageRequest;
extern std::atomic<int> g_nOpenReplayRequest;
extern std::atomic<int> g_nSaveReplayAsRequest;
extern std::atomic<int> g_nSaveReplayAsParam;  // 0 this play, 1 the previous play
extern std::atomic<int> g_nFileDialogResult;
extern std::atomic<int> g_nFileDialogDone;
extern std::atomic<int> g_nNameEntryDone;
extern std::atomic<int> g_nReplaySaveDone;

// A main-thread caller that waits for a worker keeps the window alive with
// this pump: one pass of the window's events and requests, false once the
// window's loop has ended. The main window installs it when it is built;
// without one the caller only waits.
using NestedEventPump = bool (*)();
void SetNestedEventPump(NestedEventPump pump);
// One pass of the installed pump; true when there is none.
bool PumpNestedEvents();
