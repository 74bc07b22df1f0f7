// Calls of play code into parts that are not built yet, each named after the
// call it stands for. Tests may replace them; the part that builds the call
// deletes its seam and points the callers at the real function.
#pragma once
#include <string>

class cScenePlay;
class cMapCell;
class cChara;
class cObject;
class cFlow;
class cFlowCmd;
class cEdFlowCmd;
class cKeyCond;
class cInput;

namespace seam {

// Stand-in until the flow engine lands: whether the conditions of the cell's
// block hold (the stand-in: always).
using CheckBlockCondsFn = int (*)(cScenePlay* scene, cMapCell& cell);
extern CheckBlockCondsFn CheckBlockConds;
int CheckBlockCondsStandIn(cScenePlay* scene, cMapCell& cell);

// Stand-in until flow triggering lands: starts the chara's flows of a
// trigger (the stand-in starts none).
using FireFlowTriggerExFn = int (*)(cChara& chara, int trigger, cChara* partner, int group);
extern FireFlowTriggerExFn FireFlowTriggerEx;

// Stand-ins until the flow engine core lands: one sub-step of a running
// flow (the stand-in never ends it), stopping a flow (the stand-in only
// clears its running flag), the scheduled animations of the chara's flows
// (none), and the set-up routine of a new command instance's kind (none).
using StepFlowFn = int (*)(cFlow& flow);
extern StepFlowFn StepFlow;
using StopFlowFn = void (*)(cFlow& flow, cChara& chara);
extern StopFlowFn StopFlow;
using StartFlowAnimesFn = void (*)(cChara& chara);
extern StartFlowAnimesFn StartFlowAnimes;
using SetupFlowCmdFn = void (*)(cFlowCmd& cmd, cChara& chara);
extern SetupFlowCmdFn SetupFlowCmd;

// Stand-in until the item commands land: the item command "flow change"
// run on a chara (the stand-in does nothing).
using DoChangeFlowFn = void (*)(const cEdFlowCmd& cmd, cChara& chara, int forced);
extern DoChangeFlowFn DoChangeFlow;
// Stand-in until the item commands land: one command of an item through
// the item command table (the stand-in: 0, go on).
using RunItemCommandFn = int (*)(cEdFlowCmd& cmd, cChara& chara);
extern RunItemCommandFn RunItemCommand;

// Stand-in until flow triggering lands: whether a key condition holds on
// the live keys of an input record (the stand-in: never).
using CheckKeyCondHeldFn = int (*)(cInput& input, const cKeyCond& cond);
extern CheckKeyCondHeldFn CheckKeyCondHeld;

// Stand-in until the in-game message window lands: a pickup message of an
// item above the chara with the given key (the stand-in shows nothing).
using ShowPickupWindowFn = void (*)(int charaKey, const std::string& text, int x, int y);
extern ShowPickupWindowFn ShowPickupWindow;

// Stand-in until the play step's sound requests land: user sound effect n
// (the stand-in plays nothing).
using PlayUserSeFn = void (*)(int n);
extern PlayUserSeFn PlayUserSe;

// Stand-in until chara effects land: starts a chara effect on the chara
// (the stand-in does nothing).
using StartCharaEffectFn = void (*)(cChara& chara, int effect, int mode, int repeat);
extern StartCharaEffectFn StartCharaEffect;

// Stand-in until hit effects land: the hit effect of an attacker's effect
// number between the struck chara's body box and the attacker's box, added
// to the play scene's effects (the stand-in adds none).
using AddHitEffectFn = void (*)(int effect, cChara& struck, const double attackBox[4], const cObject& attacker);
extern AddHitEffectFn AddHitEffect;

// Puts every seam above back to its stand-in.
void ResetPlaySeams();

}  // namespace seam
