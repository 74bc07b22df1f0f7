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

// The boot choice user_data\Boot.dat (drawing mode 1 Direct3D, 0 DirectDraw;
// the do-not-ask flag). A file that does not load leaves the defaults 1, 0.
void LoadBootData(int& drawMode, int& noAsk);

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

// Graphics: the window handle the device draws for, how frames reach the
// window (the frame hand-off of the window layer stays in charge of pacing
// and presenting until the presentation of the graphics layer drives it),
// and the redraw of the loading picture.
void* MainWindowHandle();
void SetPresentation(bool direct3D, bool windowed, bool vsync, bool presentByCopy);
void RedrawScreen();
bool CreateFonts();
bool CreateNumberFonts();
void DestroyFonts();
bool LoadPaletteCycle(int n);

// Player data: Free.dat, Replay.dat, Option.dat and the replay overrides.
void LoadUserFiles();
void ApplyReplayIniKeys();
int SoundEffectVolumeLevel();
int PaletteCycleNumber();
void SaveUserFilesAtEnd();  // Replay.dat and Free.dat

// Sound and music.
void DS_BgmInit(int midiDirectMusic);
void FillSoundEffectTables(int count);
bool DS_Init();
void DS_LoadAllSE(int volume);
void DS_End();
void DS_BgmEnd();

// The world map, the common palette and the game progress.
bool LoadWorldMap(const std::string& path);
bool LoadCommonPalette(const std::string& path);
void ResetProgress();

// The start stage.
bool StartStageFile(const std::string& path, int flag);

// Scenes and the window framework at the end.
void DeleteAllScenes();
void UnhookKeyboardHooks();

}  // namespace seam
