// The overlay of the distance conditions' areas round the charas on screen:
// lines at the ends of a horizontal or vertical interval, or a circle,
// blinking through a group of four palette colours.
#pragma once
#include <cstdint>

#include "media/gfx/dd_state.h"

class cChara;
class cCond;

// How a distance condition asks to be shown. The condition record keeps
// these in members that the distance test does not use.
int AreaDisplayMode(const cCond& cond);     // 0 never, 1 always, 2 in a test play from the editor
int AreaColour(const cCond& cond);          // entry of the area colour table
int AreaShownInactive(const cCond& cond);   // shown while the chara does not act
int AreaShownSuppressed(const cCond& cond); // shown while the chara is not drawn

// The blink counter the areas share, 0..31.
int ConditionAreaBlink();
void SetConditionAreaBlink(int counter);

// Advances the blink counter (held while an 8-bit display cycles its
// palette), then, in one batch of fills, draws the distance areas of every
// living chara of the group lists that is on screen: its own conditions,
// then the start conditions of its flows.
void DrawConditionAreas(DDSURFACEDATA* dst);
// One condition's area round the chara (nothing for a condition that is
// not shown, or for a chara the condition does not show).
void DrawConditionArea(DDSURFACEDATA* dst, cChara& chara, const cCond& cond, int counter);
