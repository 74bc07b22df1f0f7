// What every layer shares of the scene manager: which scene runs, which one
// comes next and which ran before, the game type and kind of the run, the
// menu row kept between scenes, the ranking switch, the frame rate, the fade
// speed and the scene music. The scenes and the play read and write these;
// the application's scene manager (app/scene_manager.h) switches the scene
// objects by them once a frame.
#pragma once
#include <atomic>
#include <cstdint>

class cScene;

enum eSceneKind : int {
    SCENE_TITLE = 0,
    SCENE_WORLDMAP = 1,
    SCENE_MAPMENU = 2,
    SCENE_STAGESELECT = 3,
    SCENE_STAGELIST = 4,
    SCENE_REPLAYLIST = 5,
    SCENE_PLAY = 6,
    SCENE_OPTIONS = 7,
};

class cSceneState {
public:
    std::atomic<int> m_nSceneKind{0};
    int m_nNextSceneKind = 0;
    int m_nPrevSceneKind = 0;
    int g_nGameType = 0;  // an eGameType (records/game_type.h)
    int g_nGameKind = 0;
    int m_nSelectRow = 0;
    int m_nSelectTop = 0;
    int g_bRankingOn = 0;
    int m_nFrameRate = 0;
    int m_nFadeSpeed = 0;
    int m_nBgmEntry = 0;
    uint8_t m_bBgmRepeat = 0;
    // Joystick set-up has run once.
    bool m_bJoystickSetupDone = false;

    // Asks the main thread to play the music of scene slot `slot`
    // (UM_PLAYBGM), unless the same repeating entry already plays and force
    // is 0.
    void RequestSceneBgm(int entry, int repeat, int slot, int force);
};

// Built with the scene manager, first of the global objects.
extern cSceneState g_SceneState;
// The live play scene (null when none); the scene manager sets it.
extern cScene* g_lpPlayScene;
