// The play scene (scene kind SCENE_PLAY): runs one stage. Play code reaches
// the live scene through PlayScene().
#pragma once
#include <cstdint>

#include "app/checked_vector.h"
#include "app/scene.h"
#include "play/scroll_axis.h"

#include <list>
#include <string>

class cChara;
class cFlow;
class cFlowCmd;

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
    cCheckedVector<int32_t> m_vStageVars = cCheckedVector<int32_t>(1000, 0);  // the 1000 stage variables
    cCheckedVector<int32_t> m_vStageSwitches = cCheckedVector<int32_t>(60, 0);  // the stage's 60 switches
    // Read and written by conditions, status operations and formulas.
    int32_t m_nTimeLeft = 0;     // seconds, 0..999
    int32_t m_bNoTimeLimit = 0;  // the time does not count down (m_nTimeLeft holds 999)
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
