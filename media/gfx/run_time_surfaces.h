// The surfaces made at run time, which DDRestoreRunTimeSurfaces restores after
// a surface loss. The play scene's: the surfaces of three database tables,
// each beside its bitmap-slot records, the surfaces made during play (chara
// effects, pictures), the screen effect's work surfaces and the pool of
// message-window surfaces, all released when the play scene ends. The menu
// scenes': their off-screen pages.
#pragma once
#include <list>

#include "base/checked_vector.h"
#include "media/gfx/dd_state.h"

// The surfaces of the dedicated chara bitmaps (Bmp_CharaExc): four per
// database entry from entry 1 on, at 4 x (entry - 1): as drawn, mirrored
// cell by cell, and the same two again in system memory.
extern cCheckedVector<DDSURFACEDATA> g_vDedicatedSurfaces;
extern cCheckedVector<BMPSLOT> g_vDedicatedSlots;
// Sword types: four per entry (first and second image, then both again in
// system memory).
extern cCheckedVector<DDSURFACEDATA> g_vSwordSurfaces;
extern cCheckedVector<BMPSLOT> g_vSwordSlots;
// Effects: two per entry from entry 1 on (as drawn, in system memory).
extern cCheckedVector<DDSURFACEDATA> g_vEffectSurfaces;
extern cCheckedVector<BMPSLOT> g_vEffectSlots;
// Surfaces made during play by chara effects and pictures.
extern std::list<DDSURFACEDATA> g_lstRunTimeSurfaces;
extern std::list<BMPSLOT> g_lstRunTimeSlots;
// Work surfaces of the screen effect.
extern std::list<DDSURFACEDATA> g_lstScreenEffectSurfaces;
extern std::list<BMPSLOT> g_lstScreenEffectSlots;
// Surfaces of the message windows, kept for reuse.
extern std::list<DDSURFACEDATA> g_lstMessageSurfaces;
extern std::list<BMPSLOT> g_lstMessageSlots;

// The off-screen pages of the current menu scene (menu panel, list, ranking
// panel) and their slot descriptors. A restored page has its lost flag set;
// its owner draws it again and clears the flag.
extern cCheckedVector<DDSURFACEDATA> g_SceneSurfaces;
extern cCheckedVector<BMPSLOT> g_SceneSurfaceSlots;
