// The video system: starting and ending it for the program's window, the
// desktop's display, and the per-thread data it keeps.
#pragma once
#include <string>

namespace platform {

// Starts video and events for the program's window (closing the last window
// does not end the program by itself). False when it cannot start.
bool StartVideo();
// Ends everything the video system started (also after a failed start).
void EndVideo();

// Frees what the video system keeps for a thread it did not start (its
// error text); a thread calls it as it ends.
void ReleaseThreadData();

// The desktop of display 0. Each query starts video for the call when it is
// not up and answers false when it cannot start or the display does not say.
struct DesktopMode {
    int width = 0, height = 0;
    bool formatKnown = false;
    int bitsPerPixel = 0;  // of a known pixel format
};
bool QueryDesktopMode(DesktopMode& out);
// The part of display 0 that windows may use (without panels and docks).
bool QueryUsableDesktopSize(int& width, int& height);
// The name of the video driver in use.
bool QueryVideoDriver(std::string& name);

}  // namespace platform
