// The game type: how the current game was started. The title scene stores
// the action of the chosen menu row as the type (the scene manager keeps it
// in g_nGameType), so the numbers are the title actions' numbers; the play
// scene, the flow commands, the replays and the menus read it.
#pragma once

enum eGameType : int {
    GAMETYPE_NEWGAME = 0,    // a new story game
    GAMETYPE_CONTINUE = 1,   // a story game continued from a save slot
    GAMETYPE_CHALLENGE = 2,  // a stage chosen on the stage-select screen
    GAMETYPE_FREE = 3,       // the stage list, or one stage file
    GAMETYPE_REPLAY = 4,     // a replay played back
    GAMETYPE_OPTIONS = 5,    // no game: the options screen opened from the title
};

// The two story types share the progress record's stage and world-map flow.
inline bool IsStoryGame(int type) { return type == GAMETYPE_NEWGAME || type == GAMETYPE_CONTINUE; }
