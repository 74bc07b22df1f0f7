// The play scene's real nested frame loops in tests. A test body that may
// start a loop runs as the game thread while the test thread serves the main
// thread's requests (the loops' sounds); keys come from a fake input source;
// every frame a loop draws counts, may press button 0 for the next frame,
// and calls the test's observer on the loop's thread.
#pragma once
#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include "base/app_state.h"
#include "base/main_thread.h"
#include "base/scene_state.h"
#include "base/thread.h"
#include "frontend/data/option_data.h"
#include "media/input/input_list.h"
#include "platform/input_source.h"
#include "play/draw_stage.h"
#include "play/scene_play.h"
#include "tests/media/input/fake_input_source.h"
#include "tests/support/play_trace.h"

namespace testsupport {

class cNestedLoopDriver {
public:
    cNestedLoopDriver() {
        m_savedType = g_SceneState.g_nGameType;
        m_savedAuto = g_OptionData.m_nMessageAuto;
        m_savedRescan = g_OptionData.m_bJoyRescan;
        m_savedJoySetup = g_SceneState.m_bJoystickSetupDone;
        m_savedActive = g_bActive.load();
        g_OptionData.m_bJoyRescan = 0;
        g_SceneState.m_bJoystickSetupDone = true;
        g_bActive = 1;
        g_InputList.at(0).m_bTriggerLatch = 0;
        ClaimGameToken();
        s_lpActive = this;
        testsupport::PlayTrace().messageWindows = OnDraw;
    }
    ~cNestedLoopDriver() {
        testsupport::PlayTrace().messageWindows = nullptr;
        s_lpActive = nullptr;
        g_SceneState.g_nGameType = m_savedType;
        g_OptionData.m_nMessageAuto = m_savedAuto;
        g_OptionData.m_bJoyRescan = m_savedRescan;
        g_SceneState.m_bJoystickSetupDone = m_savedJoySetup;
        g_bActive = m_savedActive;
        ClaimGameToken();
    }
    cNestedLoopDriver(const cNestedLoopDriver&) = delete;
    cNestedLoopDriver& operator=(const cNestedLoopDriver&) = delete;

    // Runs the body as the game thread; the token comes back afterwards.
    void RunAsGame(const std::function<void()>& body) {
        std::atomic<bool> done{false};
        std::thread game([&] {
            ClaimGameToken();
            body();
            done = true;
        });
        while (!done) {
            ServeMainThreadRequests();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        game.join();
        ClaimGameToken();
    }
    // Button 0 down after every second draw: a button wait is answered
    // within two frames of listening.
    void PressEveryOtherFrame(int upTo = 200) {
        pressAt.clear();
        for (int i = 2; i < upTo; i += 2) pressAt.push_back(i);
    }

    cFakeInputSource keys;
    std::vector<int> pressAt;  // draw counts after which button 0 is down for a frame
    std::function<void(cScenePlay& scene, int draw)> onDraw;
    std::atomic<int> draws{0};

private:
    static void OnDraw(cScenePlay& scene, int) {
        cNestedLoopDriver& d = *s_lpActive;
        if (!scene.m_bInNestedLoop) return;
        const int n = ++d.draws;
        d.keys.keys.clear();
        if (std::find(d.pressAt.begin(), d.pressAt.end(), n) != d.pressAt.end()) d.keys.keys.insert('Z');
        if (d.onDraw) d.onDraw(scene, n);
    }

    static inline cNestedLoopDriver* s_lpActive = nullptr;
    platform::cScopedInputSource m_source{keys};
    int m_savedType = 0, m_savedAuto = 0, m_savedRescan = 0, m_savedActive = 0;
    bool m_savedJoySetup = false;
};

}  // namespace testsupport
