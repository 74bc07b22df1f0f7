// Calls of play code into parts that are not built yet, each named after the
// call it stands for. Tests may replace them; the part that builds the call
// deletes its seam and points the callers at the real function.
#pragma once
#include <cstdint>
#include <string>

#include "app/checked_vector.h"

class cScenePlay;
class cMapCell;
class cChara;
class cObject;
class cFlow;
class cFlowCmd;
class cEdFlowCmd;
class cKeyCond;
class cInput;
class cCharaComputer;
class cShot;
class cItem;
class cEdChara;
class cStage;
class cGameProgress;

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

// Stand-in until parameter changes land: applies a player's pending
// parameter changes to a command (the stand-in changes nothing).
using ApplyCharaArrangesFn = void (*)(cChara& chara, cEdFlowCmd& cmd);
extern ApplyCharaArrangesFn ApplyCharaArranges;

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

// Stand-in until chara death lands: takes a chara out of every link, its
// hit-group list and the live list (the stand-in: Unlink, the group list,
// then the node is erased).
using RemoveCharaFn = void (*)(cCheckedList<cCharaComputer>& list, std::list<cCharaComputer>::iterator node);
extern RemoveCharaFn RemoveChara;
void RemoveCharaStandIn(cCheckedList<cCharaComputer>& list, std::list<cCharaComputer>::iterator node);
// Stand-in until chara death lands: a chara killed by a hit (the stand-in:
// 2 for the hero's side, else the chara is marked dead, 0).
using KillCharaFn = int (*)(cChara& chara);
extern KillCharaFn KillChara;
// Stand-in until shot hits land: the damage and knock-back of a shot (the
// stand-in: the shot's power through the defence into HP, no knock-back);
// 1 when the chara died.
using TakeHitFromShotFn = int (*)(cChara& chara, cShot& shot, int32_t& damage, int& impact);
extern TakeHitFromShotFn TakeHitFromShot;

// Stand-ins until the play step lands: an item given to a chara (the
// stand-in gives nothing: 0), a chara's death resolved by the play step
// (the stand-in: KillChara), a system sound effect (none).
using GiveItemFn = int (*)(cItem* item, cChara& chara);
extern GiveItemFn GiveItem;
using OnCharaDeathFn = int (*)(cChara& chara);
extern OnCharaDeathFn OnCharaDeath;
using PlaySeFn = void (*)(int n);
extern PlaySeFn PlaySe;
// Stand-in until the stage results land: the play scene's music request
// (the stand-in only remembers the entry as the progress's playing one).
using RequestBgmFn = void (*)(int entry, int repeat);
extern RequestBgmFn RequestBgm;

// Stand-ins until replays and carry-over land: whether a replay plays
// back (never), the seed of the replay being played (resetting its read
// positions), a new recording with its seed (nothing kept), the carried
// values onto the hero's placement and the carried HP and SP (nothing).
using IsReplayPlaybackFn = int (*)();
extern IsReplayPlaybackFn IsReplayPlayback;
using ReplayStartSeedFn = uint32_t (*)();
extern ReplayStartSeedFn ReplayStartSeed;
using BeginReplayRecordingFn = void (*)(uint32_t seed);
extern BeginReplayRecordingFn BeginReplayRecording;
using ApplyCarryOverFn = void (*)(cGameProgress& progress, int player, cEdChara& hero, cStage& stage);
extern ApplyCarryOverFn ApplyCarryOver;
using GetCarriedCountersFn = void (*)(cGameProgress& progress, int player, int32_t& hp, int32_t& sp);
extern GetCarriedCountersFn GetCarriedCounters;

// Stand-ins until stage resources and the draw pass land: background slots
// named after the stage's backgrounds (nothing), the hero's light mask
// (nothing).
using SetBackgroundFilesFn = void (*)();
extern SetBackgroundFilesFn SetBackgroundFiles;
using BuildLightMaskFn = void (*)(int radius);
extern BuildLightMaskFn BuildLightMask;

// Stand-in until the flow engine core lands: the activity of every chara
// by its conditions (the stand-in changes nothing).
using UpdateActiveStatesFn = void (*)();
extern UpdateActiveStatesFn UpdateActiveStates;

// Puts every seam above back to its stand-in.
void ResetPlaySeams();

}  // namespace seam
