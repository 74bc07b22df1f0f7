// The main thread's events in the program's own terms: the window's
// changes, keys, text, the mouse, a quit request and the program's own
// wake-ups. The pump hands each to the platform's observers (keyboard and
// joysticks) through NotifyEventObservers before its handler sees it.
#pragma once
#include <cstdint>
#include <string>

namespace platform {

// The program's own events: a close request, a main-thread request
// waiting, a new frame in the mailbox. Registered on first use (thread-safe).
enum class UserEvent : int32_t { Close = 1, Request = 2, Frame = 3 };
uint32_t ProgramEventType();
// Thread-safe; false when the event queue is not available.
bool PushProgramEvent(UserEvent kind);

struct Event {
    enum class Kind : uint8_t {
        Other, Program, Quit, Window, KeyDown, KeyUp, TextInput, TextEditing,
        MouseDown, MouseUp, MouseMotion, MouseWheel,
    };
    enum class WindowChange : uint8_t { Other, Shown, Hidden, Exposed, FocusGained, FocusLost, Minimized, Restored, Close };
    enum class Button : uint8_t { Other, Left, Right };

    Kind kind = Kind::Other;
    UserEvent program = UserEvent::Close;  // Program
    uint32_t windowId = 0;                 // Window
    WindowChange change = WindowChange::Other;
    int key = 0;  // KeyDown, KeyUp: the virtual-key code of the dialogs (0: none)
    bool shift = false, ctrl = false;
    std::string text;  // TextInput, TextEditing (UTF-8)
    Button button = Button::Other;  // MouseDown, MouseUp
    int x = 0, y = 0;               // the mouse events but the wheel
    int clicks = 0;
    int wheel = 0;  // steps away from the user

    // The platform's own record of the event, for its observers.
    alignas(8) unsigned char native[64] = {};
    bool hasNative = false;
};

// Waits up to timeoutMs (< 0: without end) for an event; false when none
// came. The program's own events wake it at once also under the dummy and
// offscreen video drivers.
bool WaitEvent(Event& e, int timeoutMs);
// The next queued event, without waiting.
bool PollEvent(Event& e);
// Waits up to timeoutMs by looking at the queue now and then (the video
// system's own wait).
bool WaitEventLooking(Event& e, int timeoutMs);
// Sleeps on the real clock.
void DelayMs(int ms);
// An input method's composition text arrives whole, however long (as one
// TextEditing event) instead of cut to a fixed length.
void AskForLongCompositionText();

void NotifyEventObservers(const Event& e);

// Opens the joysticks and routes keyboard and joystick events to the input
// layer (main thread, before the pump runs); the end closes them and
// releases every key.
void ConnectInputDevices();
void DisconnectInputDevices();

}  // namespace platform
