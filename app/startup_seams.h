// Calls of the start-up and the program's end into parts of the program that
// are not built yet. Each keeps the name of the call it stands for and does
// the least that lets the start-up run and be tested: the data files it
// stands for are only checked for a readable version word, the device and
// window steps succeed without doing anything. Delete a seam when its part
// exists and call the real function in its place.
#pragma once
#include <string>

#include "app/system_report.h"
#include "app/window_placement.h"

namespace seam {

// Engine: the parameter-descriptor tables.
void BuildArrangeParamTable();

// Play: the chara-effect and screen-effect instance tables.
void PrepareCharaEffectSlots();
void PrepareScrEffectSlots();

// Scene manager values and run flags.
void SetSceneManagerValues(int frameRate, int fadeSpeed, int showFps);
void SetWindowed(bool windowed);
bool Running();
void StartFreeStageRun(bool singlePlay, bool rankingOn);
void EnterFreeStageScene();

// Window.
void SetCaption(const std::string& cp932Title);
void AddSizingFrame();
void ApplyWindowPlacement(const WindowPlacementPlan& plan);
void ShowWindow(bool maximized);
// The close sequence saves the window placement through it.
void InstallPlacementSaver();

// Graphics: the window handle the device draws for, the shell's view of the
// back end with the copy flag of the DirectDraw full-screen presentation,
// and the redraw of the loading picture.
void* MainWindowHandle();
void SetPresentation(bool direct3D, bool windowed, bool vsync, bool presentByCopy);
void RedrawScreen();
bool LoadPaletteCycle(int n);


// The start stage.
bool StartStageFile(const std::string& path, int flag);

// Scenes at the end.
void DeleteAllScenes();

}  // namespace seam
