// Calls of play code into parts that are not built yet, each named after the
// call it stands for. Tests may replace them; the part that builds the call
// deletes its seam and points the callers at the real function.
#pragma once
#include <cstdint>
#include <string>

#include "app/checked_vector.h"

class cChara;
class cObject;
class cEdFlowCmd;
class cKeyCond;
class cInput;
class cItem;
class cCharaComputer;
class cShot;
class cEdChara;
class cStage;
class cGameProgress;

namespace seam {

// Stand-in until flow triggering lands: starts the chara's flows of a
// trigger (the stand-in starts none).
using FireFlowTriggerExFn = int (*)(cChara& chara, int trigger, cChara* partner, int group);
extern FireFlowTriggerExFn FireFlowTriggerEx;

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

// Stand-in until chara effects land: starts a chara effect on the chara
// (the stand-in does nothing).
using StartCharaEffectFn = void (*)(cChara& chara, int effect, int mode, int repeat);
extern StartCharaEffectFn StartCharaEffect;

// Stand-in until hit effects land: the hit effect of an attacker's effect
// number at the overlap of the struck chara's body box and the attacker's
// box, at the attacker's size multiplier, added to the play scene's effects
// (the stand-in adds none).
using AddHitEffectFn = void (*)(int effect, const double struckBox[4], const double attackBox[4], int scale);
extern AddHitEffectFn AddHitEffect;

// Stand-ins until the block-chara probes land: whether the block chara the
// chara rides still lies under it (the stand-in: no), the first block chara
// under the chara (none), and whether every corner of the chara or of the
// box lies in a block chara (no).
using IsRidingBlockCharaFn = int (*)(cChara& chara);
extern IsRidingBlockCharaFn IsRidingBlockChara;
using FindCharaBelowFn = cChara* (*)(cChara& chara);
extern FindCharaBelowFn FindCharaBelow;
using IsWedgedInBlockCharasFn = int (*)(cChara& chara, const double box[4]);
extern IsWedgedInBlockCharasFn IsWedgedInBlockCharas;

// Stand-in until tile collision lands: the chara against the map cells at
// its top and bottom edges at once (the stand-in: 0, nothing moved).
using CollideBothYFn = int (*)(cChara& chara);
extern CollideBothYFn CollideBothY;

// Stand-ins until replays and carry-over land: the seed of the replay
// being played (resetting its read positions), a new recording with its
// seed (nothing kept), the carried values onto the hero's placement and the
// carried HP and SP (nothing).
using ReplayStartSeedFn = uint32_t (*)();
extern ReplayStartSeedFn ReplayStartSeed;
using BeginReplayRecordingFn = void (*)(uint32_t seed);
extern BeginReplayRecordingFn BeginReplayRecording;
using ApplyCarryOverFn = void (*)(cGameProgress& progress, int player, cEdChara& hero, cStage& stage);
extern ApplyCarryOverFn ApplyCarryOver;
using GetCarriedCountersFn = void (*)(cGameProgress& progress, int player, int32_t& hp, int32_t& sp);
extern GetCarriedCountersFn GetCarriedCounters;

// Puts every seam above back to its stand-in.
void ResetPlaySeams();

}  // namespace seam
