#include "engine/message_commands.h"

#include <iterator>
#include <list>
#include <string>
#include <vector>

#include "engine/command_results.h"
#include "engine/flow.h"
#include "engine/flow_runtime.h"
#include "frontend/replay/replay.h"
#include "play/chara.h"
#include "play/message_window.h"
#include "play/numeric.h"
#include "play/scene_play.h"
#include "records/ed_flow.h"
#include "play/sound_requests.h"

namespace {

constexpr int kWaitForButton = 0;
constexpr int kWaitForTime = 2;
constexpr int kSeMessage = 12;

enum WaitKind : int { WAIT_GAME = 0, WAIT_MESSAGE = 1 };

using WindowList = std::list<cMessageWindow>;

// The scene's window with the ID, or the list's end.
WindowList::iterator FindWindow(WindowList& windows, int32_t id) {
    for (auto it = windows.begin(); it != windows.end(); ++it)
        if (it->m_bHasId && it->m_nId == id) return it;
    return windows.end();
}

}  // namespace

void DoGameWait(cChara&, const cEdFlowCmd& cmd) {
    cScenePlay& scene = *PlayScene();
    const int32_t frames = WrapMul(CmdParam(cmd, 0), 6);
    MessageWindowInit in;
    in.nDurationMode = kWaitForTime;
    in.nFrames = frames;
    in.bCountWhilePaused = 1;
    cMessageWindow& window = scene.m_lstMessages.emplace_back();
    window.Init(in);
    scene.InitDisplayRequest(WAIT_GAME, 0, frames, 0, nullptr);
    scene.RunPauseLoop();
    RemoveMessageWindow(scene.m_lstMessages, &window);
}

void DoMessage(cChara& chara, const cEdFlowCmd& cmd, int chain) {
    cScenePlay& scene = *PlayScene();
    if (scene.m_bClosing) return;
    auto p = [&cmd](int i) { return CmdParam(cmd, i); };
    WindowList& windows = scene.m_lstMessages;
    // A window found by its ID is closed, reused or replaced.
    auto found = windows.end();
    if (p(12)) {
        found = FindWindow(windows, p(13));
        if (p(15)) {
            if (found != windows.end()) EraseMessageWindow(windows, found);
            return;
        }
    }
    // The window's life time, its owner and its settings.
    const int32_t frames = p(17) ? 1 : WrapMul(p(7), 6);
    int32_t owner = 0;
    if (p(0) >= 1 && p(0) <= 3) owner = chara.m_nKey;
    if (p(0) >= 4 && p(0) <= 6 && Hero()) owner = Hero()->m_nKey;
    std::vector<MessageChoice> choices;
    MessageWindowInit in;
    in.nKind = MESWIN_TEXT;
    in.strText = cmd.m_strCode;
    in.nAnchor = p(0);
    in.nUnit = p(18);
    in.nX = p(1);
    in.nY = p(2);
    in.nOffsetX = p(3);
    in.nOffsetY = p(4);
    in.bClamp = p(5);
    in.bFixed = p(10);
    in.nDurationMode = p(6);
    in.nFrames = frames;
    in.bCountWhilePaused = p(8);
    in.nTargetId = owner;
    in.bNoOpening = chain;
    in.bVariables = p(9);
    in.bRefresh = p(11);
    in.nRefreshFrames = p(16);
    in.bFramed = p(14);
    in.bHasId = p(12);
    in.nId = p(13);
    in.bChoices = p(19);
    in.lpChoices = p(19) ? &choices : nullptr;
    // The found window is set up again in place when the laid-out text
    // has its size; otherwise a new window takes its place.
    cMessageWindow* window = nullptr;
    if (found != windows.end()) {
        std::string text = cmd.m_strCode;
        if (p(9) && p(19)) FormatMessageText(text, 1, 1, nullptr, 0);
        int width = 0, height = 0;
        GetTextExtent(text, width, height);
        if (width == found->m_nWidth && height == found->m_nHeight) {
            found->Reinit(in);
            window = &*found;
        } else {
            window = &*windows.emplace(EraseMessageWindow(windows, found));
            window->Init(in);
        }
    } else {
        window = &windows.emplace_back();
        window->Init(in);
    }
    // Without blocking the window runs by itself.
    if (!p(8)) return;
    const std::vector<MessageChoice>* list = p(19) ? &choices : nullptr;
    if (p(6) == kWaitForButton) {
        scene.InitDisplayRequest(WAIT_MESSAGE, 1, 0, chain, list);
        if (!chain) PlaySe(kSeMessage);
    } else if (p(6) == kWaitForTime) {
        scene.InitDisplayRequest(WAIT_MESSAGE, 0, frames, chain, list);
    }
    scene.RunPauseLoop();
    int32_t row = 0, value = 0;
    if (!choices.empty() && scene.m_Wait.ChosenChoice(row, value)) {
        if (p(20)) WriteCmdResult(value);
        // In playback the loop took the row from the replay.
        if (!IsReplayPlayback()) g_Replay.m_vecChoice.push_back(row);
    }
    RemoveMessageWindow(windows, window);
}

void ExecGameWait(cChara& chara, cFlowCmd& inst) {
    if (inst.m_lpDef) DoGameWait(chara, *inst.m_lpDef);
}

void ExecMessage(cChara& chara, cFlowCmd& inst) {
    if (!inst.m_lpDef) return;
    const cFlow* flow = PlayScene()->m_lpCurFlow;
    DoMessage(chara, *inst.m_lpDef, flow ? flow->m_bMessageChain : 0);
}
