// Application start-up and end.
//
// AppInit runs on the main thread once the window exists and before the
// game thread starts; it brings up everything in a fixed order and returns
// false when the program must end (the entry then runs AppEnd and exits
// with a non-zero status). AppEnd runs after the message loop; it accepts a
// start-up that ended half-way.
#pragma once
#include <string>
#include <vector>

// commandLine: the start stage of an editor test play (may be empty);
// editorTest: the program was started by the editor for a test play;
// headless: no window, no sound, no dialog, the user files' defaults and
// nothing written (the game folder's data must exist); the Direct3D-like
// device, unpaced, and no start stage.
bool AppInit(const std::string& commandLine, int editorTest, bool headless = false);
void AppEnd();

// The "Direct3D" setting after the boot choice: 1 for drawing mode 1, else 0.
int Direct3DFromBootChoice(int drawMode);
// The start-up's boot choice: a "Direct3D" setting of 2 or more reads
// user_data\Boot.dat and, unless it says not to ask, asks with the set-up
// dialog over the shown main window; then "Direct3D" follows the stored
// drawing mode. False when the user cancelled (the start-up ends, status 0).
bool ApplyBootChoice();
bool BootCancelled();

// Whether a full-screen frame is copied to the front instead of flipped: a
// DirectDraw window always copies; otherwise flipping needs VSync on and a
// monitor refresh of at least the frame rate.
bool PresentByCopy(bool direct3D, bool windowed, bool vsync, int refreshRate, int frameRate);

// The game's data files the start-up reads, in its order: the ten database
// tables, data\System.dat, data\WorldMap.dat, data\CommonPalette.cplt4.
std::vector<std::string> StartUpDataFiles();

// Points the checks of the records read after the database at g_Database:
// the music count of the system data, the effect count of shots and the
// database references of flows, charas and stages.
void InstallDatabaseChecks();

// The 22 folders made at every start, in order.
extern const char* const g_StartFolders[22];
// Sound-effect volume by the user's level 0..10 (hundredths of a decibel).
extern const int g_SeVolumeTable[11];
