// The global quit flag and the close request to the main window. Every fatal
// path sets g_bQuit and asks the main window to close; loops end when the
// flag is set.
#pragma once
#include <atomic>
#include <functional>

extern std::atomic<int> g_bQuit;

// Asks the main window to close (the thread-safe stand-in for posting
// WM_CLOSE). Until the window exists, the request only counts.
void PostCloseRequest();

// The window layer installs the real poster; tests may install a counter.
void SetCloseRequestHandler(std::function<void()> handler);
int CloseRequestCount();  // requests made since start (for tests)

// g_bQuit := 1 and a close request.
void SetQuitAndClose();
