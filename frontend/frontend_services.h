// What the shell calls of the front end, the player data and the data
// records.
//
// Tests may replace ConfirmEnd, the replay reader and writer and the name
// maker.
#pragma once
#include <functional>
#include <string>

#include "frontend/replay/replay_file.h"
#include "play/stage_setup.h"

// The close confirmation (caller suspends the threads around it).
bool ConfirmEnd(int english);
void SetConfirmEndImpl(std::function<bool(int english)> impl);  // empty: the default box

// Dialogs run modally on the main thread; true when confirmed. The file
// selection is ui::cFileSelectDialog (frontend/ui/file_select_dialog.h).
bool RunNameEntryDialog();
// which: 0 the current play, 1 the previous one; the chosen path into name
// (empty: nothing to write).
bool RunReplaySaveDialog(int which, std::string& name);

// The string the name entry edits: the options' name when the options were
// entered from the title menu (game type 5), else the live play scene's entry
// name, else none.
std::string* NameEntryTarget();

// Writes the current or the previous play after the replay-save or save-as
// dialog; a failure is shown in an error box naming the file and play goes
// on. mayReplace: the user agreed to replace an existing file (only the
// save-as dialog's overwrite question grants it; without it an existing file
// is never replaced). Tests may set a writer (empty: WriteReplayOf).
bool SaveReplayAfterDialog(int previousPlay, const std::string& path, bool mayReplace = false);
void SetReplayWriter(std::function<bool(int previousPlay, const std::string& path, bool mayReplace)> writer);

// StartStageFile: play/stage_setup.h.
// Reads a replay chosen in the open dialog into g_Replay, g_Stage,
// g_StageStart and g_Progress; a refused file is reported by the reader (its
// error box). Tests may set a reader (empty: ReadReplayFile).
bool OpenReplayFile(const std::string& path);
void SetReplayReader(std::function<bool(const std::string& path)> reader);
void SetRememberedFilePath(const std::string& path);

// Sound effect n of the menus and the play scene, played on the main thread
// (UM_PLAYSE).
#include "play/sound_requests.h"

// Music of the menu scenes and the database's music records.
int SceneBgmEntry(int slot);        // m_vecSceneBgm of the system data (bounds-checked)
int SceneBgmRepeat(int slot);       // m_vecSceneBgmRepeat
bool BgmRecord(int entry, std::string& file, int& volume);  // database music record (bounds-checked)
int MusicVolumeLevel();             // the user's music volume level 0..7
int EnglishSetting();               // "English" of System.ini

// The music of the play scene: the progress's playing music entry and the
// repeat flag stored by the play scene's music request.
void SetPlayingBgmEntry(int entry);
int PlayBgmRepeat();
