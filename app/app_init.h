// Application start-up and end.
//
// Still minimal here: the scene manager's rate and fade speed, the graphics
// layer with a default configuration (AppInitGraphicsDefault), the window
// shown; the end deletes the scenes and releases the graphics. The full order
// of the start-up (data files, settings, device, fonts, input, sound)
// replaces this.
#pragma once
#include <string>

bool AppInit(const std::string& commandLine, int editorTest);
void AppEnd();
// The graphics layer in its default configuration: Direct3D, 640 x 480,
// 32 bits, windowed, VSync on.
bool AppInitGraphicsDefault();
