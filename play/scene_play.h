// The play scene (scene kind SCENE_PLAY): runs one stage. Play code reaches
// the live scene through PlayScene().
#pragma once
#include <cstdint>

#include "app/checked_vector.h"
#include "app/scene.h"
#include "media/gfx/dd_state.h"
#include "play/screen_color.h"
#include "play/chara_effect.h"
#include "play/effect.h"
#include "play/message_window.h"
#include "play/picture.h"
#include "play/scroll_axis.h"
#include "play/shot.h"

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

class cScenePlay : public cScene {
public:
    static constexpr int kGroupLists = 8;

    cScenePlay() = default;
    ~cScenePlay() override = default;

    int32_t m_nStageEndRequest = 0;  // 0 none, 1 stage clear, 2 miss
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
    // different groups: 0, or 1 (stage cleared) / 2 (miss) as soon as a
    // kill decides it.
    int HitGroups();

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
};

// The live play scene (g_lpPlayScene, which the scene manager sets for
// SCENE_PLAY); null when there is none.
cScenePlay* PlayScene();

// Anchors of the play scene's boxes: x, y and two spare ints. The x of the
// in-game menu and of the retry prompt is replaced by the centred x each frame.
struct MenuAnchor {
    int x, y, reserved1, reserved2;
};
extern MenuAnchor g_InGameMenuAnchor;
extern MenuAnchor g_RetryPromptAnchor;
extern MenuAnchor g_RankingAnchor;
