// What the shell calls of the media layer (graphics, input, sound, music).
//
// Still minimal here, until the media layer is built: the back end is a
// 640 x 480 XRGB frame in memory that DDPresent hands to the window's frame
// mailbox, paced by the frame limiter (or the emulated vertical blank with
// VSync); fades finish after 255 / speed steps; input, sound, music, palette
// and surface recovery calls do nothing but record themselves for tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The minimal back end's frame, until the shell presents the graphics
// layer's back buffer.
struct MinimalFrame;
extern MinimalFrame g_MinimalFrame;

// Which back end runs (set by DDInit).
struct DDBACKEND {
    bool direct3D = false;    // Direct3D context exists
    bool directDraw = false;  // DirectDraw context exists
    bool windowed = true;
    bool vsync = false;
    bool presentByCopy = true;  // DirectDraw full screen: copy instead of flip
};
DDBACKEND& DDBackEnd();
// Minimal device set-up: a Direct3D-like back end in memory.
bool DDInitMinimal(bool windowed, bool vsync);

// Graphics.
bool DDPresent(int frameRate, int, int);
void DDWaitForVerticalBlank();
void DDBltBackToPrimary();
void DDFlipPrimary();
bool DDIsPrimaryLost();
bool DDRestore();
bool DDRestoreRunTimeSurfaces();
void DDRestoreSurface();
void DDSetDialogBoxMode(int on);
bool DDFillSurface(MinimalFrame* surface, int colour);
bool DDFadeIn(int speed);
bool DDFadeOut(int speed);
bool DDCopyBackToPresentation();
bool DDIsPalettized();  // DirectDraw at 8 bits per pixel

// The 8-bit palette's blend table (the palette itself is the graphics layer's).
extern uint8_t g_BlendTable[65536];
bool DDLoadPaletteFromFile();  // from the bitmap table into g_Palette
void DDSetPaletteEntries(int first, int count);  // g_Palette onto the palette object
// The back buffer's pixels (640 x 480 XRGB) of the minimal back end.
const uint32_t* DDBackBufferPixels();

// Text.
void DrawString(int font, MinimalFrame* surface, int x, int y, const std::string& text, int flag);
void DrawMultiLine(int font, MinimalFrame* surface, int x, int y, int w, int h, const std::string& text,
                   int flag);

// Input (record 0 is the first player's).
bool InputJoystickSetupRequested();
bool InputKeyConfigEnabled();
int InputRecordCount();
void DetectJoysticks(int frameRate);
void PollInput(int index, int sources, int rate);
void UpdateAllInput(int rate);
void UpdateKeyRepeat(int index);
void UpdateButtonTrigger(int index);

// Sound and music (run on the main thread).
int DS_SECount();
void DS_PlaySE(int index, int);
void DS_BgmSetTrack(int track, const std::string& file, int volume);
void DS_BgmPlay(int channel, int track, int repeat, int, int force);
void DS_BgmStop();

// Every call above made since the last clear, as text (tests).
std::vector<std::string> MediaCallLog();
void ClearMediaCallLog();
