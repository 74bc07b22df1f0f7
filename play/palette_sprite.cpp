#include "play/palette_sprite.h"

#include "records/system_ini.h"
#include "media/gfx/dd_blit.h"
#include "play/numeric.h"
#include "play/object.h"
#include "media/gfx/run_time_surfaces.h"
#include "records/database.h"
#include "records/system_data.h"

namespace {

// Surface slots of the fixed sheets. The Direct3D sheets share the textures
// of the DirectDraw ones; in DirectDraw they are the system-memory copies.
constexpr int kBlockSlot = 2, kBlockSlotD3D = 3;
constexpr int kCharaSlot = 4, kCharaSlotD3D = 22, kCharaSheets = 8;
constexpr int kItemSlot = 40, kItemSlotD3D = 41;
constexpr int kItemIconSlot = 42;
constexpr int kOverlaySlot = 43, kOverlaySlotD3D = 44;
constexpr int kShotSheetSlot = 64;  // 64 as drawn, 65 mirrored: shots centred in 32 x 32 cells

void SetPair(PaletteSprite& sp, DDSURFACEDATA* dd0, DDSURFACEDATA* dd1, DDSURFACEDATA* d3d0, DDSURFACEDATA* d3d1,
             bool second) {
    sp.lpDD = second ? dd1 : dd0;
    sp.lpDDMirror = second ? dd0 : dd1;
    sp.lpD3D = second ? d3d1 : d3d0;
    sp.lpD3DMirror = second ? d3d0 : d3d1;
    if (UseDirect3DSheets()) {
        sp.lpSurface = sp.lpD3D;
        sp.lpSurfaceMirror = sp.lpD3DMirror;
    } else {
        sp.lpSurface = sp.lpDD;
        sp.lpSurfaceMirror = sp.lpDDMirror;
    }
}

void SetCharaSheet(PaletteSprite& sp, int sheet, bool second) {
    SetPair(sp, &SurfaceTable[kCharaSlot + 2 * sheet], &SurfaceTable[kCharaSlot + 2 * sheet + 1],
            &SurfaceTable[kCharaSlotD3D + 2 * sheet], &SurfaceTable[kCharaSlotD3D + 2 * sheet + 1], second);
}

// The empty chara picture.
void SetFallback(PaletteSprite& sp) {
    SetCharaSheet(sp, 0, false);
    sp.bPrepared = 0;
    sp.nScale = 1;
    sp.sx = sp.sy = 0;
}

bool Facing(int user, const cObject* object) { return user == PUSER_CHARA && object && object->m_nFacing != 0; }

void GetCharaSprite(PaletteSprite& sp, int user, int n, int f, const cObject* object, int c) {
    const int sheet = n / 15;
    if (sheet < 0 || sheet >= kCharaSheets) return SetFallback(sp);
    int column = 0;
    bool second = false;
    if (user == PUSER_CHARA) {
        column = WrapAdd(f, c);
        second = Facing(user, object);
    } else if (f >= 20) {
        column = f - 20;
        second = true;
    } else {
        column = f;
    }
    SetCharaSheet(sp, sheet, second);
    sp.sx = WrapMul(column, 32);
    sp.sy = (n % 15) * 32;
    const long long w = sp.lpSurface->nWidth, h = sp.lpSurface->nHeight;
    if (column < 0 || sp.sy < 0 || column * 32LL + 32 > w || sp.sy + 32LL > h) SetFallback(sp);
}

void GetOwnBitmapSprite(PaletteSprite& sp, int user, int n, int f, const cObject* object, int c) {
    const auto& table = g_Database.m_vecBmpCharaExc;
    const long long base = 4LL * (n - 1LL);
    if (n < 1 || n >= static_cast<long long>(table.size()) ||
        base + 4 > static_cast<long long>(g_vDedicatedSurfaces.size()))
        return SetFallback(sp);
    DDSURFACEDATA* s = &g_vDedicatedSurfaces[base];
    SetPair(sp, s, s + 1, s + 2, s + 3, Facing(user, object));
    const cDbBmpCharaExc& entry = table[n];
    const int frame = user == PUSER_CHARA ? WrapAdd(f, c) : f;
    const bool compat = g_SystemData.m_bCompat986 != 0;
    int cell = 32, perRow = 0;
    if (entry.m_bCustomCell) {
        const int size = entry.m_nCellSize;
        cell = WrapMul(size, 32);
        if (size <= 0 || cell <= 0) return SetFallback(sp);
        sp.bPrepared = 1;
        sp.nScale = size;
        perRow = compat ? 16 / size : sp.lpSurface->nWidth / cell;
    } else {
        perRow = compat ? 16 : sp.lpSurface->nWidth / cell;
    }
    // A sheet narrower than one cell has no cells.
    if (perRow <= 0) return SetFallback(sp);
    sp.sx = WrapMul(frame % perRow, cell);
    sp.sy = WrapMul(frame / perRow, cell);
}

}  // namespace

IconSurfaces g_IconSurfaces = {&SurfaceTable[kItemIconSlot], &SurfaceTable[kOverlaySlot], &SurfaceTable[69],
                               &SurfaceTable[69]};

bool UseDirect3DSheets() { return g_DD.bUseD3D != 0 && g_SystemIni.Direct3D != 0; }

void GetPaletteSprite(PaletteSprite& sp, int user, int source, int n, int f, const cObject* object, int c) {
    sp.bPrepared = 0;
    sp.nScale = 1;
    switch (source) {
        case PSRC_BLOCK:
            SetPair(sp, &SurfaceTable[kBlockSlot], &SurfaceTable[kBlockSlot], &SurfaceTable[kBlockSlotD3D],
                    &SurfaceTable[kBlockSlotD3D], false);
            sp.sx = (n / 15) * 32;
            sp.sy = (n % 15) * 32;
            break;
        case PSRC_CHARA:
            GetCharaSprite(sp, user, n, f, object, c);
            break;
        case PSRC_ITEM:
            SetPair(sp, &SurfaceTable[kItemSlot], &SurfaceTable[kItemSlot], &SurfaceTable[kItemSlotD3D],
                    &SurfaceTable[kItemSlotD3D], false);
            sp.sx = WrapMul(WrapAdd(2 * (n / 15), user == PUSER_ITEM ? c : f), 32);
            sp.sy = (n % 15) * 32;
            break;
        case PSRC_SHOT: {
            DDSURFACEDATA* s = &SurfaceTable[kShotSheetSlot];
            SetPair(sp, s, s + 1, s, s + 1, Facing(user, object));
            sp.sx = 2 * (n / 30) * 32;
            sp.sy = (n % 30) * 32;
            break;
        }
        case PSRC_OWN_BITMAP:
            GetOwnBitmapSprite(sp, user, n, f, object, c);
            break;
        default:
            SetFallback(sp);
            break;
    }
}

void DrawPaletteIcon(DDSURFACEDATA* dst, int x, int y, int source, int n, int f) {
    if (source == PSRC_ITEM) {
        DDBlt(dst, x, y, 16, 16, g_IconSurfaces.lpItemIcons, (n / 15) * 32, (n % 15) * 16, 1);
        return;
    }
    PaletteSprite sp;
    GetPaletteSprite(sp, 0, source, n, f, nullptr, 0);
    const int cell = sp.bPrepared ? WrapMul(sp.nScale, 32) : 32;
    DDBltStretch(dst, x, y, 16, 16, sp.lpSurface, sp.sx, sp.sy, cell, cell, 1);
}

void SelectIconSurfaces() {
    const bool d3d = UseDirect3DSheets();
    g_IconSurfaces.lpItemIcons = &SurfaceTable[kItemIconSlot];
    g_IconSurfaces.lpOverlay = &SurfaceTable[d3d ? kOverlaySlotD3D : kOverlaySlot];
    g_IconSurfaces.lpStretchWork = &SurfaceTable[!g_DD.bUseD3D && g_SystemIni.DD_VideoStretch ? 68 : 69];
    g_IconSurfaces.lpColorWork = &SurfaceTable[g_DD.bUseD3D ? 71 : 69];
}
