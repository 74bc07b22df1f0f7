// The list of story save slots as the title and the map menu show it: slot
// numbers and save times in the menu font, in a framed box 320 pixels wide.
#pragma once
#include "base/checked_vector.h"
#include "frontend/data/save_slots.h"

struct DDSURFACEDATA;

// "year/month/day hour:minute" of a used slot at (x, y); nothing for an
// unused one.
void DrawSlotDate(const cSaveSlotInfo& info, DDSURFACEDATA* dst, int x, int y);
// rows rows of 16 pixels from slot `first`: the slot's number (from 1) and
// its date; rows past the end of the list stay empty.
void DrawSaveSlotList(DDSURFACEDATA* dst, int x, int y, cCheckedVector<cSaveSlotInfo>& list, int first, int rows);
