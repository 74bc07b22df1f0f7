// The play side of block definitions: drawing a block and the hit mode of a
// map cell.
#include "engine/conditions.h"
#include "media/gfx/dd_blit.h"
#include "play/map_cell.h"
#include "play/palette_sprite.h"
#include "play/scene_play.h"
#include "records/ed_block.h"

void cEdBlock::DrawIcon(DDSURFACEDATA* surface, int x, int y) {
    PaletteSprite sp;
    GetPaletteSprite(sp, 0, m_nGraphicKind, m_nGraphic, m_nGraphicCell, nullptr, 0);
    DDBlt(surface, x, y, 32, 32, sp.lpSurface, sp.sx, sp.sy, 1);
    if (m_bOverlay == 1)
        DDBlt(surface, x, y, 32, 32, g_IconSurfaces.lpOverlay, (m_nOverlayIcon / 15) * 32, (m_nOverlayIcon % 15) * 32,
              1);
}

int cMapCell::GetHitMode(int passClass) {
    if (!CheckBlockConds(PlayScene(), *this)) return 0;
    if (m_nExemptGroup == passClass) return 0;
    return m_nHitMode;
}
