// The global objects of the program: one place, one order.
//
// Every long-lived object of the program is defined in the globals.cpp of its
// layer (base/, records/, media/, frontend/data/, play/, frontend/, app/) and
// nowhere else, each with its place in the order below
// (TOVARO_GLOBAL_PLACE, base/global_order.h): the objects are built by place
// before any other static object and destroyed in the reverse order after
// main returns, so no object's construction can see another one unbuilt and
// none outlives what it uses. Objects only get their default content here;
// the start-up fills them from files.
//
// Order (an object that is not part of the program yet keeps its place):
//   1 the scene manager, the scene state and the play-scene pointer
//   2 the replay keys of System.ini (a constant table, records/system_ini.cpp)
//   3 g_WindowPlacement
//   4 g_PathTable, g_ExtTable
//   5 the window framework's instance record
//   6 the main window
//   7 thGame, thPause, thRanking, thLoad
//   8 the menu cursor
//   9 g_InputList (one input record)
//  10 the run-time surface containers
//  11 the surface table, the fonts, the number-font surfaces, the bitmap
//     table and the font table
//  12 the sound output (mixer and device), the sound-effect table and its
//     load table
//  13 the music manager
//  14 g_CommonPalette, g_SystemData, g_Database
//  15 the animation and effect step tables and the effect slot tables
//  16 g_Replay, g_ReplayPrev
//  17 g_vPlayers, g_vMapCells
//  18 g_lstCharas, g_lstItems
//  19 g_Stage, g_StageStart
//  20 g_HeroDef (the hero's placement as the stage loader read it)
//  21 g_WorldMap
//  22 g_Progress, g_ProgressAtStart, g_ProgressPrevStart
//  23 g_FreeData, g_ReplayData, g_OptionData
//  24 g_SaveSlots
//  25 g_Ranking
//  26 the start file
//
// The fonts, their creation table and digit strips (11) are built in
// media/text/font.cpp with the font layer's own helpers; their initialisers
// read no other global object.
//
// Plain flags and values with constant initial values (g_bQuit, g_SystemIni,
// the timing values, the log paths) need no constructor and stay with their
// owners. Constant tables that no constructor reads stay with their owners
// too; so do the scene state and the play-scene pointer (1), which need no
// constructor (base/scene_state.cpp). A new global object with a constructor
// goes into its layer's globals.cpp with its place in this order; its
// owner's header keeps the extern declaration.
#pragma once
#include <string>

#include "app/window_placement.h"

extern cWindowPlacement g_WindowPlacement;
