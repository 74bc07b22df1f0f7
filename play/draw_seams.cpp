#include "play/draw_seams.h"

#include "media/gfx/dd_blit.h"
#include "play/palette_sprite.h"
#include "play/shot.h"

namespace seam {

namespace {
void DrawEffectsStandIn(cScenePlay&, int, int) {}
void DrawPicturesStandIn(cScenePlay&, int, int) {}
void ClearPicturesStandIn() {}
void UpdateMessageWindowStandIn(cScenePlay&, int) {}
void RunScreenEffectStandIn(cScenePlay&, int) {}
int StepCharaEffectStandIn(cChara&) { return 1; }
void DrawShotStandIn(cShot& shot, DDSURFACEDATA* dst, int) {
    PaletteSprite sp;
    GetPaletteSprite(sp, 0, PSRC_SHOT, shot.m_EdShot.m_nGraphic, 0, &shot, 0);
    DDBlt(dst, shot.m_nScrLeft, shot.m_nScrTop, shot.m_nDrawWidth, shot.m_nDrawHeight, sp.lpSurface, sp.sx, sp.sy, 1);
}
void DrawConditionAreasStandIn(cScenePlay&, DDSURFACEDATA*) {}
}  // namespace

DrawEffectsFn DrawEffects = DrawEffectsStandIn;
DrawPicturesFn DrawPictures = DrawPicturesStandIn;
ClearPicturesFn ClearPictures = ClearPicturesStandIn;
UpdateMessageWindowFn UpdateMessageWindow = UpdateMessageWindowStandIn;
RunScreenEffectFn RunScreenEffect = RunScreenEffectStandIn;
StepCharaEffectFn StepCharaEffect = StepCharaEffectStandIn;
DrawShotFn DrawShot = DrawShotStandIn;
DrawConditionAreasFn DrawConditionAreas = DrawConditionAreasStandIn;

void ResetDrawSeams() {
    DrawEffects = DrawEffectsStandIn;
    DrawPictures = DrawPicturesStandIn;
    ClearPictures = ClearPicturesStandIn;
    UpdateMessageWindow = UpdateMessageWindowStandIn;
    RunScreenEffect = RunScreenEffectStandIn;
    StepCharaEffect = StepCharaEffectStandIn;
    DrawShot = DrawShotStandIn;
    DrawConditionAreas = DrawConditionAreasStandIn;
}

}  // namespace seam
