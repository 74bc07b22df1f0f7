// What the shell calls of the front end, the player data and the data
// records.
//
// Still minimal here, until those are built: the dialogs answer "cancelled"
// without showing anything, no stage or replay can be started, read or
// written, and the play scene's calls do nothing. Tests may replace
// ConfirmEnd.
#pragma once
#include <functional>
#include <string>

// The close confirmation (caller suspends the threads around it).
bool ConfirmEnd(int english);
void SetConfirmEndImpl(std::function<bool(int english)> impl);  // empty: the default box

// Dialogs run modally on the main thread; true when confirmed. Stand-ins
// until the name entry, file selection and replay save dialogs land.
bool RunNameEntryDialog();
bool RunFileSelectDialog(int mode, std::string& path);  // 0 open stage, 1 open replay, 2 save replay as
bool RunReplaySaveDialog(std::string& name);

bool StartStageFile(const std::string& path, int flag);  // stand-in until stage play starts stage files
// Stand-ins until replay recording and replay files land.
bool ReadReplayFile(const std::string& path);                  // into g_Replay, g_Stage, g_StageStart, g_Progress
bool WriteReplayFile(int previousPlay, const std::string& path);  // g_Replay or g_ReplayPrev
int MakeReplayFileName(std::string& out, int previousPlay);
void SetRememberedFilePath(const std::string& path);

void ResetCursorPositions();  // stand-in until the menu scenes keep their cursors

// Music of the menu scenes and the database's music records.
int SceneBgmEntry(int slot);        // m_vecSceneBgm of the system data (bounds-checked)
int SceneBgmRepeat(int slot);       // m_vecSceneBgmRepeat
bool BgmRecord(int entry, std::string& file, int& volume);  // database music record (bounds-checked)
int MusicVolumeLevel();             // the user's music volume level 0..7
int EnglishSetting();               // "English" of System.ini

// The play scene's closing flag and state: stand-ins until the play scene lands.
void PlaySceneSetClosing();
bool PlaySceneInPlayState();
void PlaySceneSetFps(int fps);

// Colour cycling switches of the system data.
bool ColorCycleOn();    // m_bColorCycle
int ColorCycleStep();   // m_nColorCycleStep

// The music of the play scene: the progress's playing music entry and the
// repeat flag stored by the play scene's music request. Stand-ins until the
// play scene's music request lands.
void SetPlayingBgmEntry(int entry);
int PlayBgmRepeat();
