// Nested frame loops: a message or choice window, a game wait, an effect or a
// picture that the play waits for, and the extra-life message. The loop runs
// frames of its own on thPause while the game thread waits for it; its random
// draws come from the loop thread's own generator, which starts from seed 1.
#include <cstdint>

#include "base/app_state.h"
#include "base/quit.h"
#include "base/scene_state.h"
#include "media/frame_loop.h"
#include "play/frame_input.h"
#include "base/thread.h"
#include "frontend/data/game_progress.h"
#include "frontend/data/option_data.h"
#include "frontend/replay/replay.h"
#include "play/replay_save.h"
#include "media/input/menu_cursor.h"
#include "media/gfx/dd_state.h"
#include "media/input/input_list.h"
#include "media/media_services.h"
#include "media/sound/ds_sound.h"
#include "platform/clock.h"
#include "play/chara.h"
#include "play/draw_stage.h"
#include "play/scene_play.h"
#include "play/sound_requests.h"
#include "records/game_type.h"

namespace {

constexpr int kSeDecide = 1;
constexpr int kSeMessageDone = 13;
constexpr int kMessageDelay = 20;
constexpr uint32_t kCloseFallbackMs = 2000;
constexpr int kAutoNever = 21;

bool Playback() { return g_SceneState.g_nGameType == GAMETYPE_REPLAY; }

int32_t VarAt(const cCheckedVector<int32_t>& v, long long i) {
    return i >= 0 && i < static_cast<long long>(v.size()) ? v[i] : 0;
}

bool ChoiceHolds(const cScenePlay& scene, const MessageChoice& c) {
    switch (c.kind) {
        case 2: return VarAt(g_Progress.m_vecCommonVar, c.index) == c.value;
        case 3: return VarAt(scene.m_vStageVars, c.index) == c.value;
        case 4: return scene.m_lpCurChara && VarAt(scene.m_lpCurChara->m_vVars, c.index) == c.value;
        case 5: {
            int32_t v = 0;
            if (scene.m_lpCurFlowVars && (c.index == 1 || c.index == 2)) v = scene.m_lpCurFlowVars[c.index - 1];
            return v == c.value;
        }
        default: return false;
    }
}

// Frames after which a message advances by itself in replay playback
// (-1: never): half seconds truncated to whole seconds, 0.1 s for 0.
int AutoAdvanceFrames(int option, int frameRate) {
    if (option >= kAutoNever) return -1;
    if (frameRate <= 0) frameRate = 60;
    if (option <= 0) return frameRate / 10;
    return (option / 2) * frameRate;
}

// Marks the nested loop for the draw pass while it runs.
class NestedLoopFlag {
public:
    explicit NestedLoopFlag(cScenePlay& scene) : m_scene(scene) { m_scene.m_bInNestedLoop = 1; }
    ~NestedLoopFlag() { m_scene.m_bInNestedLoop = 0; }
    NestedLoopFlag(const NestedLoopFlag&) = delete;
    NestedLoopFlag& operator=(const NestedLoopFlag&) = delete;

private:
    cScenePlay& m_scene;
};

}  // namespace

// The loop itself: 1 when it ended, 0 when the scene was already closing.
unsigned PauseLoop(void* arg) {
    cScenePlay& scene = *static_cast<cScenePlay*>(arg);
    if (scene.m_bClosing) return 0;
    NestedLoopFlag flag(scene);
    cInput& in = g_InputList.at(0);
    cInput saved;
    in.SaveInputState(saved);
    in.ClearInputHistory();
    in.ResizeKeyHistory();
    in.ClearDirInput();
    in.ClearButtonInput();
    // Every way out puts the play's input record back.
    struct Restore {
        cInput& in;
        cInput& saved;
        ~Restore() { in.LoadInputState(saved); }
    } restore{in, saved};

    WaitRecord& w = scene.m_Wait;
    const bool playback = Playback();
    if (w.m_nChoiceCount > 0) {
        ResetCursorPositions();
        int cursor = 0;
        if (playback) {
            cursor = NextReplayChoice();
        } else {
            for (size_t i = 0; i < w.m_vChoices.size(); ++i) {
                const MessageChoice& c = w.m_vChoices[i];
                if (c.kind == 1) {
                    cursor = static_cast<int>(i);
                } else if (c.kind >= 2 && c.kind <= 5 && ChoiceHolds(scene, c)) {
                    cursor = static_cast<int>(i);
                    break;
                }
            }
        }
        if (cursor >= w.m_nChoiceCount) cursor = w.m_nChoiceCount - 1;
        if (cursor < 0) cursor = 0;
        g_MenuCursor.Cur().m_nY = cursor;
        w.m_nChoice = cursor;
    }

    const int autoFrames = playback ? AutoAdvanceFrames(g_OptionData.m_nMessageAuto, g_SceneState.m_nFrameRate) : -1;
    int waited = 0;
    bool closingSeen = false;
    uint32_t closingSince = 0;
    for (;;) {
        if (ThreadQuitRequested()) return 1;
        if (!g_bActive) {
            ThreadSleep(1);
            continue;
        }
        if (scene.m_bClosing) {
            const uint32_t now = platform::NowMs();
            if (!closingSeen) {
                closingSeen = true;
                closingSince = now;
            } else if (now - closingSince >= kCloseFallbackMs) {
                thPause.RequestQuit();
            }
            ThreadSleep(1);
            continue;
        }
        WaitFrame();
        // Surfaces that cannot be restored end the program, as in the
        // game thread's frame.
        if (DDBackEnd().directDraw && !CheckLostSurfaces()) {
            SetQuitAndClose();
            return 1;
        }
        UpdateFrameInput();
        in.PushInputHistory();
        in.UpdateButtonTrigger(0);
        if (!playback && w.m_nChoiceCount > 0 && w.m_nDelay < 1) {
            in.UpdateKeyRepeat();
            g_MenuCursor.MoveGrid(in.m_sDir, 0, 0, 0, 16, 1, w.m_nChoiceCount);
            w.m_nChoice = g_MenuCursor.Cur().m_nY;
            DS_PlayCursorSE(in.m_sDir, 2, 0);
        }
        if (CheckReplaySaveKeys()) continue;
        if (w.m_nDelay >= 1) {
            --w.m_nDelay;
        } else if (w.m_bWaitButton) {
            const bool answered = !(in.GetPastInput(1, 1) & 1) && (in.m_wButton & 1);
            if (answered) scene.m_bHoldButtons = 1;
            const bool autoDone = autoFrames >= 0 && waited >= autoFrames;
            ++waited;
            if (answered || autoDone) break;
        } else if (--w.m_nTimeout < 0) {
            return 1;
        }
        DrawStage(scene, 0, 1, 0, 1);
        PresentFrame();
    }
    PlaySe(w.m_nKind == 1 && w.m_nChoiceCount == 0 ? kSeMessageDone : kSeDecide);
    return 1;
}

void cScenePlay::InitDisplayRequest(int kind, int waitButton, int timeout, int noDelay,
                                    const std::vector<MessageChoice>* choices) {
    m_Wait.m_nKind = kind;
    m_Wait.m_bWaitButton = waitButton;
    m_Wait.m_nTimeout = timeout;
    m_Wait.m_nReserved = 0;
    if (choices)
        m_Wait.m_vChoices = *choices;
    else
        m_Wait.m_vChoices.clear();
    m_Wait.m_nChoiceCount = static_cast<int32_t>(m_Wait.m_vChoices.size());
    m_Wait.m_nDelay = (waitButton != 0 && kind == 1 && noDelay == 0) ? kMessageDelay : 0;
}

bool WaitRecord::ChosenChoice(int32_t& row, int32_t& value) const {
    // A loop that found the scene closing leaves the last loop's row.
    if (m_nChoice < 0 || m_nChoice >= static_cast<int32_t>(m_vChoices.size())) return false;
    row = m_nChoice;
    value = m_vChoices[static_cast<size_t>(m_nChoice)].value;
    return true;
}

void cScenePlay::RunPauseLoop() {
    RunNestedLoop(thPause, PauseLoop, this, [this] { return m_bClosing != 0; });
}
