// The scene manager: one object per scene kind, created on demand and deleted
// when another kind is current, and one frame of the current scene per pass
// of the game thread's loop (GameLoop). Runs on the game thread, or on a
// worker the game thread waits for.
//
// The program's own factories make the title scene; the other kinds get
// their objects through SetSceneFactory until their scenes exist.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "app/scene.h"

class cSceneManager {
public:
    cSceneManager() = default;
    ~cSceneManager();
    cSceneManager(const cSceneManager&) = delete;
    cSceneManager& operator=(const cSceneManager&) = delete;

    bool Update();                // one frame; false only when the lost-surface check fails
    void ChangeScene(int kind);   // make `kind`'s object exist, delete the others
    void DeleteAllScenes();
    void Present();
    bool CheckLostSurfaces();
    void UpdateInput();
    void RequestSceneBgm(int entry, int repeat, int slot, int force);

    cScene* SceneOf(int kind) const;  // null when the kind has no object

    // The frames-per-second display of one frame: the ring of frame times,
    // the text and where it is drawn. Returns the text.
    std::string DrawFps(int framesPerSecond, int frameTime);
    int FpsAverage() const { return m_nFpsAverage; }

    cScene* m_lpScenes[8] = {};  // kinds 0..5, then 7 (options), then 6 (play)
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
    // "ShowFps" of System.ini (set by the start-up).
    int m_nShowFps = 0;
    // Joystick set-up has run once.
    bool m_bJoystickSetupDone = false;

private:
    int m_nFpsRing[16] = {};
    int m_nFpsIndex = 0;
    int m_nFpsAverage = 0;
};

extern cSceneManager g_SceneManager;
// The live play scene (null when none).
extern cScene* g_lpPlayScene;

// Makes the scene objects of a kind (tests install fake scenes). An empty
// factory leaves the kind without an object.
using SceneFactory = std::function<cScene*()>;
void SetSceneFactory(int kind, SceneFactory factory);
void ResetSceneFactories();  // the program's own factories

// Frame pacing of every frame loop (DirectDraw; Direct3D paces in DDPresent),
// and a gate point of the thread running the loop.
void WaitFrame();
// Copies the back buffer to the presentation surface and presents it.
void RedrawScreen();
// The game thread's procedure.
unsigned GameLoop(void* arg);

// One step of a value bouncing between low and high; true when it turned at
// the low bound.
bool PingPongStep(int& value, int& direction, int step, int low, int high);
// One step of the palette and blink-colour cycling.
void CycleColors();
struct BlinkColor {
    uint32_t argb;
    int kind;
};
extern BlinkColor g_BlinkColors[9];
void ResetColorCycle();  // tests
// 8-bit DirectDraw: palette-cycle file n ("bmp\\hbt\\hbt%02d.dat") and the
// palette rotated by n rows (n < 12) or every row set to row n - 11.
bool LoadPaletteCycle(int n);
void ApplyPaletteCycle(uint8_t palette[256][4], int n);
