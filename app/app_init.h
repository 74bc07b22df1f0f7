// Application start-up and end.
//
// Still minimal here: the scene manager's rate and fade speed, a windowed
// in-memory back end with VSync, the window shown; the end deletes the scenes. The full
// order of the start-up (data files, settings, device, fonts, input, sound)
// replaces this.
#pragma once
#include <string>

bool AppInit(const std::string& commandLine, int editorTest);
void AppEnd();
