// Private messages to the main window, and the thread start message.
#pragma once

enum : int {
    WM_USER = 0x400,
    UM_NAMEENTRY = WM_USER + 1,
    UM_OPENSTAGE = WM_USER + 2,
    UM_OPENREPLAY = WM_USER + 3,
    UM_SAVEREPLAYAS = WM_USER + 4,
    UM_PLAYSE = WM_USER + 5,
    UM_PLAYBGM = WM_USER + 6,
    UM_SAVEREPLAY = WM_USER + 9,
    UM_RESTOREDEVICE = WM_USER + 100,
    UM_THREADSTART = 0x8000,
};
