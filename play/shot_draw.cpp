// Drawing a shot or a sword at its screen box.
#include "records/system_ini.h"
#include "media/gfx/dd_blit.h"
#include "media/gfx/dd_state.h"
#include "media/gfx/run_time_surfaces.h"
#include "play/shot.h"
#include "play/stage_resources.h"
#include "play/surface_pick.h"
#include "records/database.h"

namespace {

// The DirectDraw back end stretches in video memory only with the setting.
bool StretchInVideoMemory() { return !g_DD.bUseD3D && g_SystemIni.DD_VideoStretch; }

}  // namespace

void DrawShot(cShot& shot, DDSURFACEDATA* dst, int frozen) {
    if (shot.m_bHidden || shot.m_EdShot.m_bHidden) return;
    const int facing = shot.m_nFacing ? 1 : 0;
    const int size = shot.m_EdShot.m_nSize;
    if (shot.m_bIsShot) {
        const int frame = frozen ? shot.m_Anime.GetFrame() : shot.m_Anime.AdvanceFrame();
        const int g = shot.m_nGraphic;
        const int sx = (frame + (g / 30) * 2) * 16, sy = (g % 30) * 16;
        if (size <= 1) {
            DDSURFACEDATA* src = &SurfaceTable[PickSurfaceSlot(kShotSlot + facing, 0)];
            DDBlt(dst, shot.m_nScrLeft, shot.m_nScrTop, shot.m_nDrawWidth, shot.m_nDrawHeight, src, sx, sy, 1);
        } else {
            DDSURFACEDATA* src = &SurfaceTable[PickSurfaceSlot(kShotSlot + facing, StretchInVideoMemory() ? 0 : 1)];
            DDBltStretch(dst, shot.m_nScrLeft, shot.m_nScrTop, shot.m_nDrawWidth, shot.m_nDrawHeight, src, sx, sy, 16,
                         16, 1);
        }
        return;
    }
    const int type = shot.m_EdShot.m_nTrajectory;
    const cDbSwordPart& part = g_Database.m_vecSwordType.at(type).m_vecParts.at(shot.m_nSwordPart);
    const long long image = facing + 4LL * type;
    if (size <= 1) {
        DDBlt(dst, shot.m_nScrLeft, shot.m_nScrTop, shot.m_nDrawWidth, shot.m_nDrawHeight,
              &g_vSwordSurfaces.at(image), part.m_nCellX, part.m_nCellY, 1);
    } else {
        DDSURFACEDATA* src = &g_vSwordSurfaces.at(StretchInVideoMemory() ? image : image + 2);
        DDBltStretch(dst, shot.m_nScrLeft, shot.m_nScrTop, shot.m_nDrawWidth, shot.m_nDrawHeight, src, part.m_nCellX,
                     part.m_nCellY, shot.m_nBaseDrawWidth, shot.m_nBaseDrawHeight, 1);
    }
}
