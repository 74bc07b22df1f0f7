// The scene manager: one object per scene kind, created on demand and deleted
// when another kind is current, and one frame of the current scene per pass
// of the game thread's loop (GameLoop). Runs on the game thread, or on a
// worker the game thread waits for.
//
// The program's own factories make the title scene; the other kinds get
// their objects through SetSceneFactory until their scenes exist.
#pragma once
#include <functional>
#include <string>

#include "base/scene_state.h"
#include "media/frame_loop.h"
#include "media/scene.h"

class cSceneManager {
public:
    cSceneManager() = default;
    ~cSceneManager();
    cSceneManager(const cSceneManager&) = delete;
    cSceneManager& operator=(const cSceneManager&) = delete;

    bool Update();                // one frame; false only when the lost-surface check fails
    void ChangeScene(int kind);   // make `kind`'s object exist, delete the others
    void DeleteAllScenes();

    cScene* SceneOf(int kind) const;  // null when the kind has no object

    // The frames-per-second display of one frame: the ring of frame times,
    // the text and where it is drawn. Returns the text.
    std::string DrawFps(int framesPerSecond, int frameTime);
    int FpsAverage() const { return m_nFpsAverage; }

    cScene* m_lpScenes[8] = {};  // kinds 0..5, then 7 (options), then 6 (play)
    // "ShowFps" of System.ini (set by the start-up).
    int m_nShowFps = 0;

private:
    int m_nFpsRing[16] = {};
    int m_nFpsIndex = 0;
    int m_nFpsAverage = 0;
};

// Built first of the global objects, with g_SceneState and g_lpPlayScene.
extern cSceneManager g_SceneManager;

// Makes the scene objects of a kind (tests install fake scenes). An empty
// factory leaves the kind without an object.
using SceneFactory = std::function<cScene*()>;
void SetSceneFactory(int kind, SceneFactory factory);
void ResetSceneFactories();  // the program's own factories

// The game thread's procedure.
unsigned GameLoop(void* arg);
