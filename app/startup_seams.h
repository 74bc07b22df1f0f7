// The start-up's and the program end's steps into the window and the scene
// manager, and stand-ins for calls into parts of the program that are not
// built yet. A stand-in keeps the name of the call it stands for, says which
// work builds it and does the least that lets the start-up run and be
// tested. Delete a stand-in when its part exists and call the real function
// in its place.
#pragma once
#include <string>

#include "base/system_report.h"
#include "app/window_placement.h"

namespace seam {

// Scene manager values and run flags.
void SetSceneManagerValues(int frameRate, int fadeSpeed, int showFps);
void SetWindowed(bool windowed);
bool Running();
void StartFreeStageRun(bool singlePlay, bool rankingOn);
void EnterFreeStageScene();

// Window.
void SetCaption(const std::string& cp932Title);
void ApplyWindowPlacement(const WindowPlacementPlan& plan);
void ShowWindow(bool maximized);
// The close sequence saves the window placement through it.
void InstallPlacementSaver();

// Graphics: the window handle the device draws for, and the shell's view of
// the back end with the copy flag of the DirectDraw full-screen presentation.
void* MainWindowHandle();
void SetPresentation(bool direct3D, bool windowed, bool vsync, bool presentByCopy);


}  // namespace seam
