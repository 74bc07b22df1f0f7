// Palette graphics: where the picture of a graphic source, number and frame
// lies. Blocks, charas, items and shots come from fixed sheets of 32 x 32
// cells; own bitmaps from the dedicated chara bitmaps.
#pragma once
#include <cstdint>

#include "media/gfx/dd_state.h"

class cObject;

// Graphic sources.
enum ePaletteSource : int {
    PSRC_BLOCK = 0,
    PSRC_CHARA = 1,
    PSRC_ITEM = 2,
    PSRC_SHOT = 3,
    PSRC_OWN_BITMAP = 4,
};

// Users of a lookup: 1 a chara (its facing and column offset apply), 2 an
// item (the column offset is the item's frame), anything else neither.
enum ePaletteUser : int { PUSER_CHARA = 1, PUSER_ITEM = 2 };

struct PaletteSprite {
    DDSURFACEDATA* lpDD = nullptr;        // DirectDraw sheet (by facing)
    DDSURFACEDATA* lpDDMirror = nullptr;  // its counterpart of the other facing
    DDSURFACEDATA* lpD3D = nullptr;       // the same pair for Direct3D
    DDSURFACEDATA* lpD3DMirror = nullptr;
    DDSURFACEDATA* lpSurface = nullptr;   // the pair chosen for the graphics mode
    DDSURFACEDATA* lpSurfaceMirror = nullptr;
    int32_t bPrepared = 0;  // the sheet is drawn at nScale times the cell size
    int32_t nScale = 1;
    int32_t sx = 0, sy = 0;  // the cell's top-left in the sheet
};

// The Direct3D sheets are used when Direct3D runs and its setting is on.
bool UseDirect3DSheets();

// Fills sp for (source, n, f); object gives the facing when user is 1 (may
// be null otherwise); c is the column offset of charas and the frame of items.
// A cell that does not exist gives the empty chara picture, (0, 0) of the
// first chara sheet.
void GetPaletteSprite(PaletteSprite& sp, int user, int source, int n, int f, const cObject* object, int c);

// The picture as a 16 x 16 icon at (x, y) of dst.
void DrawPaletteIcon(DDSURFACEDATA* dst, int x, int y, int source, int n, int f);

// Surfaces of icons and drawing work, chosen for the graphics mode when a
// scene starts (SelectIconSurfaces).
struct IconSurfaces {
    DDSURFACEDATA* lpItemIcons;   // 16 x 16 item icons
    DDSURFACEDATA* lpOverlay;     // 32 x 32 overlay icons, 15 to a column
    DDSURFACEDATA* lpStretchWork;
    DDSURFACEDATA* lpColorWork;
};
extern IconSurfaces g_IconSurfaces;
void SelectIconSurfaces();
