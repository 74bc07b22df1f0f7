// What the shell calls of the front end, the player data and the data
// records.
//
// Tests replace the close confirmation through Service<IEndConfirmation>,
// and the replay writer and reader through Service<IReplayIo>
// (play/replay_io.h).
#pragma once
#include <functional>
#include <string>

#include "frontend/replay/replay_file.h"
#include "platform/service.h"
#include "play/stage_setup.h"

// The close confirmation (caller suspends the threads around it): the
// installed one, else the game window's yes/no box, answered yes at once
// when a quit signal came.
bool ConfirmEnd(int english);

class IEndConfirmation {
public:
    virtual ~IEndConfirmation() = default;
    virtual bool ConfirmEnd(int english) = 0;
    static IEndConfirmation& Real();
};

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
// is never replaced). The file is written through IReplayIo::WriteChosen.
bool SaveReplayAfterDialog(int previousPlay, const std::string& path, bool mayReplace = false);

// StartStageFile: play/stage_setup.h.
// Reads a replay chosen in the open dialog into g_Replay, g_Stage,
// g_StageStart and g_Progress; a refused file is reported by the reader (its
// error box); through IReplayIo::ReadChosen.
bool OpenReplayFile(const std::string& path);
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
