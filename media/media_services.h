// What the shell calls of the media layer (graphics, input, sound, music).
//
// Graphics are the real layer (media/gfx: DDPresent, the DirectDraw
// presentation and recovery in media/gfx/dd_present.h).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "media/gfx/dd_present.h"
#include "media/sound/bgm_manager.h"
#include "media/sound/ds_sound.h"

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

// Sound and music: media/sound (the two headers above).

// The calls above (input, sound and music) are noted as text to the
// installed call log (platform/call_log.h). SetMediaCallLog installs the
// media layer's own recorder, which MediaCallLog reads (tests); off, nothing
// is kept.
void SetMediaCallLog(bool on);
bool MediaCallLogOn();
void RecordMediaCall(const std::string& call);
std::vector<std::string> MediaCallLog();
void ClearMediaCallLog();
