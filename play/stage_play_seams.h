// Calls of the play step, the play scene and its nested loops into parts
// that are being built beside them, each named after the call it stands for.
// Tests may replace them; the part that builds the call replaces its seam.
#pragma once
#include <cstdint>
#include <string>

class cChara;
class cCharaPlayer;
class cGameProgress;
class cScenePlay;
class cShot;
struct DDSURFACEDATA;

namespace seam {

// The replay calls: the F1/F2 save keys (1 when a request was served this
// frame), the automatic save (1 when a file was written), one frame of input
// recorded or played back (1: the streams are exhausted) and the next
// recorded choice row go to the replay functions (tests may trace them); the
// carried values of a player chara are a stand-in until the carry-over is
// called with the hero's values here (it records nothing).
using CheckReplaySaveKeysFn = int (*)();
extern CheckReplaySaveKeysFn CheckReplaySaveKeys;
using AutoSaveReplayFn = int (*)();
extern AutoSaveReplayFn AutoSaveReplay;
using RecordReplayFrameFn = void (*)(const int16_t words[2]);
extern RecordReplayFrameFn RecordReplayFrame;
using PlayReplayFrameFn = int (*)(int16_t words[2]);
extern PlayReplayFrameFn PlayReplayFrame;
using NextReplayChoiceFn = int (*)();
extern NextReplayChoiceFn NextReplayChoice;
using StoreCarryOverFn = void (*)(cGameProgress& progress, int player, cChara& chara);
extern StoreCarryOverFn StoreCarryOver;
// Stand-ins until replays land: the replay of this play flagged cleared, and
// both replay buffers emptied (nothing kept yet).
using MarkReplayClearedFn = void (*)();
extern MarkReplayClearedFn MarkReplayCleared;
using ClearReplayBuffersFn = void (*)();
extern ClearReplayBuffersFn ClearReplayBuffers;

// Stand-ins until the ranking display lands: the ranking entry of the
// finished game, and the result box with the ranking positions (the
// stand-ins enter and draw nothing).
using EnterRankingFn = void (*)();
extern EnterRankingFn EnterRanking;
using DrawStageResultFn = void (*)(DDSURFACEDATA* dst, int x, int y, const int32_t positions[5]);
extern DrawStageResultFn DrawStageResult;
// Stand-in until rankings land: the ranking set of the game kind for the
// stage (nothing loaded).
using LoadRankingFn = void (*)(int gameKind, const std::string& stageBase);
extern LoadRankingFn LoadRanking;
// Stand-in until rankings land: where a value enters ranking table i (-1 none).
using FindRankInsertPosFn = int (*)(int table, int32_t value);
extern FindRankInsertPosFn FindRankInsertPos;

// Clears the chara's once-per-frame flow flags (the flow triggering's;
// tests may trace it).
using ResetFlowOnceFlagsFn = void (*)(cChara& chara);
extern ResetFlowOnceFlagsFn ResetFlowOnceFlags;

// The shot's trajectory step (1: finished), the vertical and horizontal
// moves and the end test (1: stopped by a block) go to the shot (tests may
// trace them); gravity is a stand-in that moves nothing until the shot's
// fall is taken out of its trajectory step.
using StepShotFn = int (*)(cShot& shot);
extern StepShotFn StepShot;
using ShotGravityFn = void (*)(cShot& shot);
extern ShotGravityFn ShotGravity;
using MoveShotFn = int (*)(cShot& shot);
extern MoveShotFn MoveShotX;
extern MoveShotFn MoveShotY;
using ShotHitsBlockFn = int (*)(cShot& shot);
extern ShotHitsBlockFn ShotHitsBlock;

// Stand-ins until the in-game message window lands: the extra-life window
// at the hero (30 frames), its removal after the loop, and the removal of
// every open window (the stand-ins keep none).
using PushExtraLifeWindowFn = void (*)(cScenePlay& scene);
extern PushExtraLifeWindowFn PushExtraLifeWindow;
using PopMessageWindowFn = void (*)(cScenePlay& scene);
extern PopMessageWindowFn PopMessageWindow;
using ClearMessageWindowsFn = void (*)(cScenePlay& scene);
extern ClearMessageWindowsFn ClearMessageWindows;

// Puts every seam above back to its stand-in.
void ResetStagePlaySeams();

}  // namespace seam
