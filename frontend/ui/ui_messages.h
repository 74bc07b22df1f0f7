// Message, notification, key and result numbers of the dialog layer. They keep
// the values of the window system the game was written for, so that the
// dialogs' handlers read as they were designed.
#pragma once
#include <cstdint>

#include "platform/message_box.h"

namespace ui {

enum : unsigned {
    WM_DESTROY = 0x0002,
    WM_MOVE = 0x0003,
    WM_SIZE = 0x0005,
    WM_PAINT = 0x000F,
    WM_CLOSE = 0x0010,
    WM_ACTIVATEAPP = 0x001C,
    WM_GETMINMAXINFO = 0x0024,
    WM_NOTIFY = 0x004E,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_INITDIALOG = 0x0110,
    WM_COMMAND = 0x0111,
    WM_HSCROLL = 0x0114,
    WM_VSCROLL = 0x0115,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_RBUTTONDBLCLK = 0x0206,
    WM_USER = 0x0400,
    UM_MIRRORKEY = WM_USER + 1000,  // a mirrored key the dialog sends itself as WM_KEYDOWN
    UM_SIGNALCLOSE = WM_USER + 1001,  // SIGINT / SIGTERM reached the dialog
};

// Notification codes (high word of WM_COMMAND's wParam).
enum : unsigned {
    BN_CLICKED = 0,
    LBN_SELCHANGE = 1,
    LBN_DBLCLK = 2,
    EN_KILLFOCUS = 0x0200,
    EN_UPDATE = 0x0400,
};

// Virtual-key codes.
enum : int {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,  // Page Up
    VK_NEXT = 0x22,   // Page Down
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_F1 = 0x70,
    VK_F8 = 0x77,
};

// Dialog results of the message boxes.
using platform::IDCANCEL;
using platform::IDNO;
using platform::IDOK;
using platform::IDYES;

constexpr uintptr_t MakeWParam(unsigned low, unsigned high) { return (low & 0xFFFFu) | (uintptr_t(high & 0xFFFFu) << 16); }
constexpr unsigned LoWord(uintptr_t w) { return unsigned(w & 0xFFFFu); }
constexpr unsigned HiWord(uintptr_t w) { return unsigned((w >> 16) & 0xFFFFu); }

}  // namespace ui
