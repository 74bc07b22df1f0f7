// The demo game started headless in-process, with frames stepped one by one
// (unpaced) and the keyboard held through a fake input source. Menu scene
// tests start it, hold keys, step frames and look at the scene manager, the
// progress, the sound requests (media call log) and the shown frame.
#pragma once
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <initializer_list>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/scene_manager.h"
#include "app/app_init.h"
#include "base/frame_timing.h"
#include "base/main_thread.h"
#include "app/main_window.h"
#include "base/quit.h"
#include "base/scene_state.h"
#include "media/scene.h"
#include "base/system_report.h"
#include "base/thread.h"
#include "frontend/data/game_progress.h"
#include "frontend/data/save_slots.h"
#include "media/gfx/dd_present.h"
#include "media/media_services.h"
#include "media/text/dd_fade.h"
#include "platform/frame_mailbox.h"
#include "platform/input_source.h"
#include "platform/keyboard_state.h"
#include "platform/message_box.h"
#include "records/system_data.h"
#include "tests/media/input/fake_input_source.h"
#include "tests/media/text/png_golden.h"
#include "tests/support/demo_template.h"
#include "tests/support/temp_dir.h"

namespace scenetest {

constexpr int kKeyDecide = 'Z';
constexpr int kKeyCancel = 'X';

// A stand-in for a scene kind that is not under test: it records the kind
// and the progress it got on its first frame and goes back to the title on
// its second.
struct FakeVisit {
    int kind = -1;
    int prevKind = -1;
    cGameProgress progress;
};

class FakeScene : public cScene {
public:
    FakeScene(int kind, std::vector<FakeVisit>* visits) : m_nKind(kind), m_pVisits(visits) {}
    void Run() override {
        if (m_nFrames++ == 0) {
            FakeVisit v;
            v.kind = m_nKind;
            v.prevKind = g_SceneState.m_nPrevSceneKind;
            v.progress = g_Progress;
            m_pVisits->push_back(v);
            return;
        }
        g_SceneState.m_nPrevSceneKind = m_nKind;
        g_SceneState.m_nSceneKind = SCENE_TITLE;
    }

private:
    int m_nKind;
    std::vector<FakeVisit>* m_pVisits;
    int m_nFrames = 0;
};

// The English demo (tovaro-mkdemo --english), built once per test process.
inline const std::filesystem::path& EnglishDemoTemplate() {
    static testsupport::DemoTemplateCleanup cleanup;
    static const std::filesystem::path path = [] {
        const std::filesystem::path p =
            std::filesystem::temp_directory_path() / ("tovaro_demo_en_" + std::to_string(::getpid()));
        const std::string cmd =
            std::string(TOVARO_BINARY_DIR) + "/tovaro-mkdemo --english '" + p.string() + "' >/dev/null";
        if (std::system(cmd.c_str()) == 0) cleanup.path = p;
        return p;
    }();
    return path;
}

struct StartOptions {
    bool english = false;
    int direct3D = 1;
    int bpp = 32;
    int windowMode = 1;
    // Changes to the demo folder before the start (saves, damaged files).
    std::function<void(const testsupport::TempWorkDir&)> prepare;
    // Changes to the system data after the start, before the first frame.
    std::function<void(cSystemData&)> tweak;
};

class DemoRun {
public:
    explicit DemoRun(const StartOptions& o = {}) : m_scoped(m_keys) {
        SetMainThread();
        ClaimGameToken();
        g_bQuit = 0;
        text::ResetFadeAngles();
        SetScreenSizeOverride(1920, 1080, o.windowMode ? o.bpp : 32);
        if (o.english) {
            std::filesystem::copy(EnglishDemoTemplate(), m_dir.Path(), std::filesystem::copy_options::recursive);
            platform::InvalidateDirCache();
        } else {
            testsupport::CopyDemo(m_dir.Path());
        }
        m_dir.WriteFile("System.ini", std::string(o.english ? "English=1\r\n" : "") + "Direct3D=" + std::to_string(o.direct3D) +
                                          "\r\nWindowMode=" + std::to_string(o.windowMode) +
                                          "\r\nBpp=" + std::to_string(o.bpp) + "\r\nVSync=0\r\nShowFps=0\r\nExit\r\n");
        if (o.prepare) o.prepare(m_dir);
        platform::InvalidateDirCache();
        m_bStarted = CreateReport((m_dir.Path() / "Report_Game.txt").string()) && AppInit("", 0);
        if (!m_bStarted) return;
        if (o.tweak) o.tweak(g_SystemData);
        g_DDFrameLimiter = [](int, int, DDSURFACEDATA*) { return true; };
        g_SceneManager.DeleteAllScenes();
        g_SceneState.m_nSceneKind = SCENE_TITLE;
        g_SceneState.m_nPrevSceneKind = SCENE_TITLE;
        g_SceneState.g_nGameType = 0;
        ResetSceneFactories();
        for (int kind = 1; kind <= 7; ++kind)
            SetSceneFactory(kind, [this, kind] { return static_cast<cScene*>(new FakeScene(kind, &m_visits)); });
        m_nCloseRequests = CloseRequestCount();
        ClearMediaCallLog();
        SetMediaCallLog(true);
    }
    ~DemoRun() {
        SetMediaCallLog(false);
        ClearMediaCallLog();
        g_DDFrameLimiter = &FrameLimiter;
        if (m_bStarted) AppEnd();
        ResetSceneFactories();
        SetScreenSizeOverride(0, 0);
        g_bQuit = 0;
    }
    bool Started() const { return m_bStarted; }
    const testsupport::TempWorkDir& Dir() const { return m_dir; }

    void Hold(std::initializer_list<int> keys) { m_keys.keys = std::set<int>(keys); }
    void Hold(const std::set<int>& keys) { m_keys.keys = keys; }
    void Release() { m_keys.keys.clear(); }
    // n frames with the keys held as they are.
    void Step(int n = 1) {
        for (int i = 0; i < n; ++i) g_SceneManager.Update();
    }
    // A key pressed for one frame and released for one.
    void Tap(int key) {
        Hold({key});
        Step();
        Release();
        Step();
    }
    cScene* Scene() const { return g_SceneManager.SceneOf(g_SceneState.m_nSceneKind); }
    int State() const { return Scene() ? Scene()->m_nState : -99; }
    // Steps until the current scene reaches `state` (at most `limit` frames).
    bool StepUntilState(int state, int limit = 100) {
        for (int i = 0; i < limit; ++i) {
            if (State() == state) return true;
            Step();
        }
        return State() == state;
    }
    // The frame last shown, 0x00RRGGBB.
    std::vector<uint32_t> Shown() const {
        const uint32_t* p = platform::FrameMailbox().Take();
        if (!p) p = platform::FrameMailbox().Last();
        if (!p) return {};
        std::vector<uint32_t> out(p, p + 640 * 480);
        for (auto& px : out) px &= 0xFFFFFF;
        return out;
    }
    // The sounds requested since the last call: "PlaySe n" and the cursor
    // sound.
    std::vector<std::string> Sounds() {
        std::vector<std::string> out;
        for (const std::string& s : MediaCallLog())
            if (s.rfind("PlaySe", 0) == 0 || s.rfind("DS_PlayCursorSE", 0) == 0) out.push_back(s);
        ClearMediaCallLog();
        return out;
    }
    int CloseRequests() const { return CloseRequestCount() - m_nCloseRequests; }
    std::vector<platform::CapturedMessageBoxes::Box> Boxes() const { return m_boxes.Boxes(); }

    std::vector<FakeVisit> m_visits;

private:
    testsupport::TempWorkDir m_dir;
    cFakeInputSource m_keys;
    platform::cScopedInputSource m_scoped;
    platform::CapturedMessageBoxes m_boxes;
    bool m_bStarted = false;
    int m_nCloseRequests = 0;
};

// A shown frame against its golden picture: "" when equal.
inline std::string Golden(const std::string& name, const std::vector<uint32_t>& frame) {
    if (frame.size() != 640u * 480u) return "no frame shown";
    return texttest::CompareGoldenIn("tests/app/scenes/golden", name, 640, 480, frame);
}

// Answers the file-dialog requests of the game side as the main thread
// would: each request is answered with `result` (1 chosen, 0 cancelled).
class FakeDialogServer {
public:
    explicit FakeDialogServer(int result) : m_nResult(result), m_thread([this] { Serve(); }) {}
    ~FakeDialogServer() {
        m_bStop = true;
        m_thread.join();
    }
    int Requests() const { return m_nRequests.load(); }

private:
    void Serve() {
        while (!m_bStop) {
            if (g_nOpenStageRequest.exchange(0) || g_nOpenReplayRequest.exchange(0)) {
                ++m_nRequests;
                g_nFileDialogResult = m_nResult;
                g_nFileDialogDone = 1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    int m_nResult;
    std::atomic<bool> m_bStop{false};
    std::atomic<int> m_nRequests{0};
    std::thread m_thread;
};

}  // namespace scenetest
