// Run-time surfaces of the play scene.
#pragma once
#include "app/checked_vector.h"
#include "media/gfx/dd_state.h"

// The surfaces of the dedicated chara bitmaps (Bmp_CharaExc): four per
// database entry from entry 1 on, at 4 x (entry - 1): as drawn, mirrored
// cell by cell, and the same two again in system memory.
extern cCheckedVector<DDSURFACEDATA> g_vDedicatedSurfaces;
