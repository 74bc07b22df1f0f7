#include "play/draw_seams.h"

namespace seam {

namespace {
void DrawEffectsStandIn(cScenePlay&, int, int) {}
void DrawPicturesStandIn(cScenePlay&, int, int) {}
void ClearPicturesStandIn() {}
void UpdateMessageWindowStandIn(cScenePlay&, int) {}
void RunScreenEffectStandIn(cScenePlay&, int) {}
int StepCharaEffectStandIn(cChara&) { return 1; }
void ResolveMissStandIn(cScenePlay&) {}
void DrawConditionAreasStandIn(cScenePlay&, DDSURFACEDATA*) {}
}  // namespace

DrawEffectsFn DrawEffects = DrawEffectsStandIn;
DrawPicturesFn DrawPictures = DrawPicturesStandIn;
ClearPicturesFn ClearPictures = ClearPicturesStandIn;
UpdateMessageWindowFn UpdateMessageWindow = UpdateMessageWindowStandIn;
RunScreenEffectFn RunScreenEffect = RunScreenEffectStandIn;
StepCharaEffectFn StepCharaEffect = StepCharaEffectStandIn;
ResolveMissFn ResolveMiss = ResolveMissStandIn;
DrawConditionAreasFn DrawConditionAreas = DrawConditionAreasStandIn;

void ResetDrawSeams() {
    DrawEffects = DrawEffectsStandIn;
    DrawPictures = DrawPicturesStandIn;
    ClearPictures = ClearPicturesStandIn;
    UpdateMessageWindow = UpdateMessageWindowStandIn;
    RunScreenEffect = RunScreenEffectStandIn;
    StepCharaEffect = StepCharaEffectStandIn;
    ResolveMiss = ResolveMissStandIn;
    DrawConditionAreas = DrawConditionAreasStandIn;
}

}  // namespace seam
