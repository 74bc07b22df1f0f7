// The play scene (scene kind SCENE_PLAY): runs one stage. Play code reaches
// the live scene through PlayScene().
#pragma once
#include <atomic>
#include <cstdint>

#include "base/checked_vector.h"
#include "media/scene.h"
#include "media/gfx/dd_state.h"
#include "play/screen_color.h"
#include "play/chara_effect.h"
#include "play/effect.h"
#include "play/message_window.h"
#include "play/picture.h"
#include "play/play_result.h"
#include "play/scroll_axis.h"
#include "play/shot.h"
#include "records/cmd.h"

#include <list>
#include <string>
#include <vector>

class cChara;
class cCharaComputer;
class cEdChara;
class cEdItem;
class cEdBlock;
class cFlow;
class cFlowCmd;
class cItem;
class cCharaPlayer;
class cGameProgress;
class cInput;

// The play scene's states (its handler table index).
enum ePlayState : int {
    CSCENEPLAY_FADEIN = 0,
    CSCENEPLAY_READY = 1,
    CSCENEPLAY_PLAY = 2,
    CSCENEPLAY_MENU = 3,
    CSCENEPLAY_STAGEEND = 4,
    CSCENEPLAY_RETRY = 5,
    CSCENEPLAY_GAMEOVER = 6,
    CSCENEPLAY_FADEOUT = 7,
};

// The wait record of a nested frame loop.
struct WaitRecord {
    int32_t m_nKind = 0;  // 0 game wait, 1 message, 2 effect, 3 picture, 4 extra-life message
    int32_t m_nDelay = 0;       // frames in which input is ignored
    int32_t m_bWaitButton = 0;  // the loop ends on button 0
    int32_t m_nTimeout = 0;     // frames before the loop ends by itself (no button wait)
    int32_t m_nReserved = 0;
    std::vector<MessageChoice> m_vChoices;  // the choices of a choice window
    int32_t m_nChoiceCount = 0;
    int32_t m_nChoice = 0;  // the chosen entry, written while the cursor moves

    // The chosen row and its value, as a finished choice loop left them;
    // false when the record holds no choices.
    bool ChosenChoice(int32_t& row, int32_t& value) const;
};

class cScenePlay : public cScene {
public:
    static constexpr int kGroupLists = 8;

    cScenePlay();
    ~cScenePlay() override;

    // --- The scene (scene_play.cpp) ---
    void Run() override;
    void Init() override;
    void FadeIn() override;
    void FadeOut() override;
    void ResetStageState();
    // SPACE opens the in-game menu (replay playback, or the menu option on):
    // sound 4 and the state and step to return to. 1 then.
    int CheckMenuKey();
    void UpdateReady();
    void UpdateMenu();
    void UpdateStageEnd();
    void UpdateRetry();
    void UpdateGameOver();
    // After the hero's death display: GAMEOVER, RETRY or READY.
    void ResolveMiss();

    // --- The play step (play_step.cpp) ---
    void UpdatePlay();
    // 1 when the time has just run out.
    int CountDownTime(int delta);
    void UpdatePlayTime();
    // Deaths by HP and vanish flags after an update; true ends the frame.
    bool CheckPlayerHP();

    // --- Nested loops and stage results (pause_loop.cpp, stage_results.cpp) ---
    void InitDisplayRequest(int kind, int waitButton, int timeout, int noDelay,
                            const std::vector<MessageChoice>* choices);
    // Runs PauseLoop on thPause while this thread waits.
    void RunPauseLoop();
    void ClearStage();
    void ShowStageResult();
    // The next scene kind after a cleared stage.
    int AdvanceStage();

    int32_t m_nStageEndRequest = 0;  // a PlayResult: Continue (none), StageClear or Miss
    cScrollAxis m_ScrollX;  // view 640
    cScrollAxis m_ScrollY;  // view 480
    // The hero and the computer charas by group number, 8 groups.
    cCheckedVector<std::list<cChara*>> m_vCharaGroups = cCheckedVector<std::list<cChara*>>(kGroupLists);

    // What runs now: the chara, flow, flow variables and command whose
    // commands are being executed; null outside a chara's flow pass.
    cChara* m_lpCurChara = nullptr;
    cFlow* m_lpCurFlow = nullptr;
    int32_t* m_lpCurFlowVars = nullptr;
    cFlowCmd* m_lpCurFlowCmd = nullptr;
    int32_t m_bDeathPending = 0;  // an update left another chara to die
    int32_t m_nSubStep = 0;       // 1-based sub-step of the frame; 0 outside the play step
    int32_t m_bItemMessageShown = 0;
    int32_t m_bInSetup = 0;  // the stage set-up runs
    std::string m_strRankName;  // the ranking entry's name (the name entry edits it)
    // The stage clear's ranking result: per category the position the play
    // reaches in its table (-1 none) and the value compared; whether some
    // table is reached, and whether the entry has been made.
    cCheckedVector<int32_t> m_vRankPos = cCheckedVector<int32_t>(5, -1);
    cCheckedVector<int32_t> m_vRankValue = cCheckedVector<int32_t>(5, 0);
    int32_t m_bRankIn = 0;
    int32_t m_bRankEntered = 0;
    cCheckedVector<int32_t> m_vStageVars = cCheckedVector<int32_t>(1000, 0);  // the 1000 stage variables
    cCheckedVector<int32_t> m_vStageSwitches = cCheckedVector<int32_t>(60, 0);  // the stage's 60 switches
    // Read and written by conditions, status operations and formulas.
    int32_t m_nTimeLeft = 0;     // seconds, 0..999
    int32_t m_bNoTimeLimit = 0;  // the time does not count down (m_nTimeLeft holds 999)

    // --- The stage's run-time objects (stage_setup.cpp) ---
    // Builds the running stage from the loaded stage record. restart: every
    // call but the first entry from another scene; newStage: the stage
    // changed (next or previous stage, next replay), 0 for a retry.
    void SetupStage(int restart, int newStage);
    // The computer charas of one placement (its copies), counting serial
    // up per chara kept; item: the carried item or null.
    void CreateCharas(cCheckedList<cCharaComputer>& list, int x, int y, int32_t& serial, const cEdChara& placement,
                      const cItem* item);
    void CreateItems(cCheckedList<cItem>& list, int x, int y, int32_t& serial, const cEdItem& placement);
    // Summons at a pixel position (the top-left of a 32-px cell).
    void CreateCharaAt(cCheckedList<cCharaComputer>& list, int px, int py, int group, int facing, cFlowCmd* flowCmd,
                       const cEdChara& placement, int32_t& serial, const cItem* item);
    void CreateItemAt(cCheckedList<cItem>& list, int px, int py, cFlowCmd* flowCmd, const cEdItem& itemDef,
                      int32_t& serial);
    void CreateBlockAt(int px, int py, cFlowCmd* flowCmd, const cEdBlock& blockDef);
    // Flags the charas a new block in the cell would crush; 1 when the
    // summon must not happen.
    int IsCellFree(long long cell, int col, int row, cFlowCmd* flowCmd);
    // 1 when the chara's box meets a cell that stops it or a live block chara.
    int IsBlockedAt(cChara& chara);

    // --- The group hit pass (hit_groups.cpp) ---
    // Shots against charas, charas against charas, shots against shots of
    // different groups: Continue, or StageClear / Miss as soon as a kill
    // decides it.
    PlayResult HitGroups();

    int32_t m_nClearMode = 0;
    int32_t m_nFrame = 0;
    int32_t m_nPlayers = 1;
    uint32_t m_nRandomSeed = 0;
    // Live shots in firing order; the group lists point into the object
    // lists (nodes of a std::list never move).
    std::list<cShot> m_lstShots;
    cCheckedVector<std::list<cShot*>> m_vShotGroups = cCheckedVector<std::list<cShot*>>(8);
    int32_t m_nCharaSerial = 0, m_nItemSerial = 0, m_nShotSerial = 0, m_nEffectSerial = 0;
    int32_t m_bRemoveOutCharas = 0, m_bRemoveOutBlockCharas = 0, m_bRemoveOutItems = 0;
    // Per sub-step of a frame: 1 when shots hit in that sub-step.
    cCheckedVector<int32_t> m_vSubStepActive;
    int32_t m_nStateFrames = 0, m_nStateFrames2 = 0;
    int32_t m_nPlayFrames = 0, m_nPlayTime = 0;
    int32_t m_nSubStepTotal = 0;
    int32_t m_bShowStatus = 0;
    int32_t m_bInHitPass = 0;  // HitGroups runs: vanish commands flag shots instead of erasing them
    // Cells a toggling block summon has changed; kept for the scene's life.
    std::vector<long long> m_vSummonedCells;

    // Effects and pictures in display order (a picture's surface and slot
    // record lie at its position of g_lstRunTimeSurfaces and its slot list).
    std::list<cEffect> m_lstEffects;
    std::list<cPicture> m_lstPictures;
    // The message windows, drawn in list order.
    std::list<cMessageWindow> m_lstMessages;

    // What the draw pass reads and keeps.
    cScreenEffect m_ScreenEffect;    // the running screen effect; id 0 none
    ScreenColor m_ScreenColor;
    DDSURFACEDATA m_LightMask, m_LightHole;  // the darkness around the hero's light
    // The generator of the passes outside PLAY on the game thread (seeded with
    // 1 by every stage set-up), and whether a nested frame loop draws (it
    // uses its own thread's generator).
    uint32_t m_nDrawRandState = 1;
    int32_t m_bInNestedLoop = 0;

    int32_t m_nSavedState = 0, m_nSavedStep = 0;  // where the in-game menu returns to
    std::atomic<int32_t> m_bClosing{0};  // the window closes while a nested loop runs (main thread)
    int32_t m_bHoldButtons = 0;  // buttons read as released until all are let go
    WaitRecord m_Wait;
    std::vector<cCmd> m_vMenu;  // the in-game menu, 7 entries
    // Walks over the chara list run: a chara removed now is only marked
    // (PurgeRemovedCharas erases it).
    int32_t m_nCharaWalks = 0;
    int32_t m_nFps = 0;  // frames per second of the last frame (the scene manager's count)
    int32_t m_bResourcesLoaded = 0;  // Init loaded the play surfaces (released with the scene)

private:
    // How the hero's part of a sub-step ends: play goes on, the frame is
    // over (a stage end or a death was already handled), or a miss.
    enum class HeroStep { Continue, FrameOver, Miss };

    // The steps of UpdatePlay, in the order it runs them (the order is the
    // replay contract). hero: player 0, null when the stage has none.
    // The window closing, the in-game menu key and the replay save keys;
    // true when one of them takes the frame.
    bool TakeFrameRequests();
    // Player 0's input from the replay; false when the replay has ended (the
    // next replay of the list is set up and READY entered).
    bool ReadReplayInput(cInput& in);
    // Player 0's input from the keys (the hero's locks and the held buttons
    // applied), recorded for the replay.
    void ReadKeyInput(cInput& in, const cCharaPlayer* hero);
    // The flows' once-a-frame flags and the pushed flags are cleared.
    void ResetFrameFlags(cCharaPlayer* hero);
    // Every physics sub-step of the frame; false when one ended the frame.
    bool RunSubSteps(cCharaPlayer* hero);
    // One sub-step: the charas move, then the shots, the hit pass and the
    // items; false when it ended the frame.
    bool RunSubStep(cCharaPlayer* hero, int subStep);
    // The life times of the computer charas and the items run down.
    void CountDownLifeTimes();
    // Hit timers, contacts and the boxes at the start of the sub-step.
    void BeginSubStep(cCharaPlayer* hero);
    // The live block charas (blockCharas) or the other live computer charas
    // take their step; true when one ended the frame.
    bool StepCharas(bool blockCharas);
    // The foot block's item, the group hit pass and the items the hero
    // touches; a stage clear has entered the stage end.
    PlayResult HitsAndItems(cCharaPlayer* hero);

    // The computer-chara step; blockVariant: the step of a block chara.
    // true ends the frame.
    bool StepComputerChara(cCharaComputer& c, bool blockVariant);
    HeroStep StepHero(cCharaPlayer& hero);
    void StepShots();
    void RemoveOutOfArea();
    // The miss: sound 9 and the hero's death.
    void Miss();
    void EnterStageEnd();
    // A dying chara's end by the keep-dead-charas option; true ends the frame.
    bool ResolveCharaDeath(cCharaComputer& c);
};

// The number of lives after a life is used: 1 while one could be taken (the
// free stage and unlimited lives take none), 0 when none was left.
int UseLife(cGameProgress& progress);

// A chara's death resolved by the play step: KillChara's Continue,
// StageClear (STAGEEND set) or Miss (the hero dies).
PlayResult OnCharaDeath(cChara& chara);
// The carrier the chara rides moves it along; events 18 and 19 on the carrier.
void RideCarrier(cChara& chara, cCheckedList<cCharaComputer>& list);
// The items the hero touches.
PlayResult TouchItems(cCharaPlayer& hero, cCheckedList<cItem>& items);
// Gives an item to a chara and runs its commands.
PlayResult GiveItem(cItem* item, cChara* chara);
// Takes a chara out of play at once: unlinked, out of its group list and
// destroyed; while a walk over the chara list runs it is only marked, and
// walks and searches skip it until PurgeRemovedCharas.
void DropChara(cCharaComputer& c);
void PurgeRemovedCharas();
// The nested loop's thread procedure (the scene as its argument): 1 when it
// ended, 0 when the scene was already closing.
unsigned PauseLoop(void* scene);

// The live play scene (g_lpPlayScene, which the scene manager sets for
// SCENE_PLAY); null when there is none.
cScenePlay* PlayScene();
// The live play scene's closing flag, whether it is in its PLAY state, and
// the frames per second it shows (the play slot may hold another scene in
// tests: then nothing).
void PlaySceneSetClosing();
bool PlaySceneInPlayState();
void PlaySceneSetFps(int fps);

// Anchors of the play scene's boxes: x, y and two spare ints. The x of the
// in-game menu and of the retry prompt is replaced by the centred x each frame.
struct MenuAnchor {
    int x, y, reserved1, reserved2;
};
extern MenuAnchor g_InGameMenuAnchor;
extern MenuAnchor g_RetryPromptAnchor;
extern MenuAnchor g_RankingAnchor;
