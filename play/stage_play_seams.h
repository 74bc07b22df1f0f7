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

// Stand-ins until replays land: the F1/F2 save keys (1 when a request was
// served this frame), the automatic save (1 when a file was written), one
// frame of input recorded or played back (1: the streams are exhausted), the
// next recorded choice row, and the carried values of a player chara (the
// stand-ins record nothing, play nothing back and choose row 0).
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

// Stand-in until flow triggering lands: clears the chara's once-per-frame
// flow flags (the stand-in has none to clear).
using ResetFlowOnceFlagsFn = void (*)(cChara& chara);
extern ResetFlowOnceFlagsFn ResetFlowOnceFlags;

// Stand-ins until shots land: the trajectory step (1: finished), gravity,
// the vertical and horizontal moves and the end test (1: stopped by a
// block). The stand-ins move nothing and never finish a shot.
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
