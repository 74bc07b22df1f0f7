#include "base/app_state.h"

std::atomic<int> g_bEditorTest{0};
std::atomic<int> g_bRunning{0};
std::atomic<int> g_bActive{0};
std::atomic<int> g_bClosing{0};
std::atomic<int> g_bFreeStage{0};
std::atomic<int> g_bSinglePlay{0};
std::atomic<int> g_bWindowed{1};
// g_strStartFile is built with the other global objects (base/globals.cpp).
