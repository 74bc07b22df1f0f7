// Calls of the draw pass into parts that are not built yet, each named after
// the call it stands for. Tests may replace them; the part that builds the
// call deletes its seam and points the callers at the real function.
#pragma once
#include "app/checked_vector.h"
#include "play/chara_computer.h"

class cScenePlay;
class cChara;
class cCharaComputer;
class cShot;
struct DDSURFACEDATA;

namespace seam {

// Stand-ins until effects and pictures land: the effects and pictures of a
// draw layer (0 behind, 1 in front), and the removal of every picture (the
// stand-ins draw and remove nothing).
using DrawEffectsFn = void (*)(cScenePlay& scene, int layer, int frozen);
extern DrawEffectsFn DrawEffects;
using DrawPicturesFn = void (*)(cScenePlay& scene, int layer, int frozen);
extern DrawPicturesFn DrawPictures;
using ClearPicturesFn = void (*)();
extern ClearPicturesFn ClearPictures;

// Stand-in until the in-game message window lands: updates and draws the
// open message windows in list order and deletes the finished ones (the
// stand-in has none).
using UpdateMessageWindowFn = void (*)(cScenePlay& scene, int frozen);
extern UpdateMessageWindowFn UpdateMessageWindow;

// Stand-ins until chara and screen effects land: one frame of the screen
// effect (none runs), and one step of a chara's display effect, 1 when it is
// over (the stand-in ends it at once, so the chara is drawn plainly).
using RunScreenEffectFn = void (*)(cScenePlay& scene, int frozen);
extern RunScreenEffectFn RunScreenEffect;
using StepCharaEffectFn = int (*)(cChara& chara);
extern StepCharaEffectFn StepCharaEffect;

// Stand-in until shots land: draws a shot on screen (the stand-in blits its
// palette cell at its screen box).
using DrawShotFn = void (*)(cShot& shot, DDSURFACEDATA* dst, int frozen);
extern DrawShotFn DrawShot;

// Stand-in until the condition-area overlay lands: the distance-condition
// areas of the on-screen charas (the stand-in draws none).
using DrawConditionAreasFn = void (*)(cScenePlay& scene, DDSURFACEDATA* dst);
extern DrawConditionAreasFn DrawConditionAreas;

// Puts every seam above back to its stand-in.
void ResetDrawSeams();

}  // namespace seam
