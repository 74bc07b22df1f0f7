// The graphics a stage needs: the play surfaces of the surface table, the
// stage's backgrounds, the shot sheets built from the shot bitmaps, and the
// surfaces of the dedicated chara bitmaps, sword types and effects.
#pragma once
#include <vector>

#include "records/stage.h"

// The 64 slots loaded when the play scene is entered from another scene:
// 2 to 44, 46, 47, 48, 50, 52 and 56 to 71.
extern const int kPlaySurfaceSlots[64];
// The eight background slots (56 to 63), reloaded when the scene restarts
// itself or a replay file is loaded.
extern const int kShortSurfaceSlots[8];
inline constexpr int kBackgroundSlot = 56;
inline constexpr int kStatusBarSlot = 47;
inline constexpr int kAccessorySlot = 50;
inline constexpr int kWordSlot = 52;
inline constexpr int kShotSlot = 20;
inline constexpr int kShotSheetSlot = 64;

// (Re)loads the play-surface table (shortTable: only the eight background
// slots); false after its own message when a slot cannot be loaded.
bool LoadPlaySurfaces(bool shortTable);
// Names the eight background slots after the stage's backgrounds: a shown
// or hidden bitmap background its file, a colour fill or a missing one "".
// In DirectDraw mode a bitmap larger than 640 x 480 goes to system memory.
void SetBackgroundFiles(const std::vector<cEdBackground>& backgrounds);
// Slots 64 and 65: the 16 x 16 shot cells of slots 20 and 21 centred in
// 32 x 32 cells, four to a row.
void BuildShotSheets();
// The surfaces of the database's dedicated chara bitmaps, sword types and
// effects; a file that cannot be read is logged and its surface stays empty.
void LoadDedicatedBitmaps();
void LoadSwordBitmaps();
void LoadEffectBitmaps();
// Releases the surfaces made during play and drops the pictures.
void ReleasePlaySurfaces();
// Releases the screen effect's work surfaces.
void ReleaseEffectSurfaces();
// The release at the end of the play scene: the play-surface table, the
// dedicated, sword and effect surfaces, the run-time surfaces and the
// screen effect's work surfaces, in this order.
void ReleaseStageResources();
