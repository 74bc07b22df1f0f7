// The start-up state a test sets before it runs the demo in its own process:
// no quit request, default system data, System.ini and boot choice, and this
// thread as the main thread holding the game token.
#pragma once
#include "base/main_thread.h"
#include "base/quit.h"
#include "records/system_ini.h"
#include "base/thread.h"
#include "frontend/data/boot_data.h"
#include "records/system_data.h"

namespace testsupport {

inline void ResetForDemoRun() {
    g_bQuit = 0;
    g_SystemData = cSystemData();
    g_SystemIni = SystemIniData();
    g_BootData = cBootData();
    SetMainThread();
    ClaimGameToken();
}

}  // namespace testsupport
