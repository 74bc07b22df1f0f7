// What the shell calls of the media layer (graphics, input, sound, music).
//
// Graphics are the real layer (media/gfx: DDPresent, the DirectDraw
// presentation and recovery in media/gfx/dd_present.h). Still stand-ins here:
// sound and music calls do nothing but record themselves for tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "media/gfx/dd_present.h"

// Which back end runs, as the shell sees it (DDBackEndFromDevice fills it
// from the graphics layer after DDInit).
struct DDBACKEND {
    bool direct3D = false;    // Direct3D context exists
    bool directDraw = false;  // DirectDraw context exists
    bool windowed = true;
    bool vsync = false;
    bool presentByCopy = true;  // DirectDraw full screen: copy instead of flip
};
DDBACKEND& DDBackEnd();
// The shell's view of the graphics layer's back end after DDInit.
void DDBackEndFromDevice();

// Graphics.
bool DDRestoreRunTimeSurfaces();

// The 8-bit palette's blend table (the palette itself is the graphics layer's).
extern uint8_t g_BlendTable[65536];
// Input over the input layer's records g_InputList (record 0 is the first
// player's); each call is also recorded in the call log.
bool InputKeyConfigEnabled();
int InputRecordCount();
void DetectJoysticks(int frameRate);
void PollInput(int index, int sources, int rate);
void UpdateAllInput(int rate);

// Sound and music (run on the main thread).
int DS_SECount();
void DS_PlaySE(int index, int);
void DS_BgmSetTrack(int track, const std::string& file, int volume);
void DS_BgmPlay(int channel, int track, int repeat, int, int force);
void DS_BgmStop();

// Every call above made since the last clear, as text (tests).
std::vector<std::string> MediaCallLog();
void ClearMediaCallLog();
