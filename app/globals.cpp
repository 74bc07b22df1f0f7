// The application's global objects. The other layers define theirs in their
// own globals.cpp; every definition carries its place in the order of
// app/globals.h (base/global_order.h).
#include "app/globals.h"

#include "app/main_window.h"
#include "app/scene_manager.h"
#include "base/global_order.h"

// 1
cSceneManager g_SceneManager TOVARO_GLOBAL_PLACE(1, 1);

// 3
cWindowPlacement g_WindowPlacement TOVARO_GLOBAL_PLACE(3, 1);

// 6
cMainWindow g_MainWindow TOVARO_GLOBAL_PLACE(6, 1);
