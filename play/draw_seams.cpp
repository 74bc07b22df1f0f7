#include "play/draw_seams.h"

#include "media/gfx/dd_blit.h"
#include "play/palette_sprite.h"
#include "play/shot.h"

namespace seam {

namespace {
void ResolveMissStandIn(cScenePlay&) {}
void DrawShotStandIn(cShot& shot, DDSURFACEDATA* dst, int) {
    PaletteSprite sp;
    GetPaletteSprite(sp, 0, PSRC_SHOT, shot.m_EdShot.m_nGraphic, 0, &shot, 0);
    DDBlt(dst, shot.m_nScrLeft, shot.m_nScrTop, shot.m_nDrawWidth, shot.m_nDrawHeight, sp.lpSurface, sp.sx, sp.sy, 1);
}
void DrawConditionAreasStandIn(cScenePlay&, DDSURFACEDATA*) {}
}  // namespace

ResolveMissFn ResolveMiss = ResolveMissStandIn;
DrawShotFn DrawShot = DrawShotStandIn;
DrawConditionAreasFn DrawConditionAreas = DrawConditionAreasStandIn;

void ResetDrawSeams() {
    ResolveMiss = ResolveMissStandIn;
    DrawShot = DrawShotStandIn;
    DrawConditionAreas = DrawConditionAreasStandIn;
}

}  // namespace seam
