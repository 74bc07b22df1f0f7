// Run flags of the main window shared with the game-side threads.
#pragma once
#include <atomic>
#include <string>

extern std::atomic<int> g_bEditorTest;  // started by the editor for a test play
extern std::atomic<int> g_bRunning;     // set just before the game thread starts
extern std::atomic<int> g_bActive;      // frames run only while set
extern std::atomic<int> g_bClosing;     // the close sequence has begun
extern std::atomic<int> g_bFreeStage;   // a start stage is being played (set by the start-up)
extern std::atomic<int> g_bSinglePlay;  // a start stage run that returns to the title (set by the start-up)
extern std::atomic<int> g_bWindowed;    // 1 windowed, 0 full screen
extern std::string g_strStartFile;      // stage file of a test play (command line)
