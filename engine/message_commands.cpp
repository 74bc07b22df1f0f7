#include "engine/message_commands.h"

#include "app/scene_manager.h"
#include "engine/command_results.h"
#include "engine/flow.h"
#include "engine/flow_control_seams.h"
#include "engine/flow_runtime.h"
#include "play/chara.h"
#include "play/numeric.h"
#include "play/play_seams.h"
#include "play/scene_play.h"
#include "records/ed_flow.h"
#include "play/sound_requests.h"

namespace {

constexpr int kWaitForButton = 0;
constexpr int kWaitForTime = 2;
constexpr int kSeMessage = 12;
constexpr int kGameTypeReplay = 4;

enum WaitKind : int { WAIT_GAME = 0, WAIT_MESSAGE = 1 };

}  // namespace

void DoGameWait(cChara&, const cEdFlowCmd& cmd) {
    cScenePlay& scene = *PlayScene();
    const int32_t frames = WrapMul(CmdParam(cmd, 0), 6);
    MessageWindowArgs args;
    args.values[8] = kWaitForTime;
    args.values[9] = frames;
    args.values[10] = 1;
    cMessageWindow* window = seam::AddMessageWindow(scene, args, nullptr);
    seam::InitDisplayRequest(scene, WAIT_GAME, 0, frames, 0, 0);
    seam::RunPauseLoop(scene);
    if (window) seam::RemoveMessageWindow(scene, window);
}

void DoMessage(cChara& chara, const cEdFlowCmd& cmd, int chain) {
    cScenePlay& scene = *PlayScene();
    if (seam::IsPlayClosing(scene)) return;
    auto p = [&cmd](int i) { return CmdParam(cmd, i); };
    // 1: a window found by its ID is closed, reused or replaced.
    cMessageWindow* found = nullptr;
    if (p(12)) {
        found = seam::FindMessageWindow(scene, p(13));
        if (p(15)) {
            if (found) seam::RemoveMessageWindow(scene, found);
            return;
        }
    }
    // 2, 3
    const int32_t frames = p(17) ? 1 : WrapMul(p(7), 6);
    int32_t owner = 0;
    if (p(0) >= 1 && p(0) <= 3) owner = chara.m_nKey;
    if (p(0) >= 4 && p(0) <= 6 && Hero()) owner = Hero()->m_nKey;
    MessageWindowArgs args;
    args.text = cmd.m_strCode;
    args.values = {p(0), p(18), p(1),  p(2),  p(3),  p(4),  p(5),  p(10), p(6),  frames,
                   p(8), owner, chain, p(9), p(11), p(16), p(14), p(12), p(13), p(19)};
    // 4
    cMessageWindow* window = nullptr;
    if (found && seam::MessageWindowFits(*found, args)) {
        seam::ReinitMessageWindow(*found, args);
        window = found;
    } else {
        window = seam::AddMessageWindow(scene, args, found);
    }
    // 5: without blocking the window runs by itself.
    if (!p(8)) return;
    const int withChoices = p(19) != 0;
    if (p(6) == kWaitForButton) {
        seam::InitDisplayRequest(scene, WAIT_MESSAGE, 1, 0, chain, withChoices);
        if (!chain) PlaySe(kSeMessage);
    } else if (p(6) == kWaitForTime) {
        seam::InitDisplayRequest(scene, WAIT_MESSAGE, 0, frames, chain, withChoices);
    }
    seam::RunPauseLoop(scene);
    int32_t row = 0, value = 0;
    if (seam::ChosenChoice(scene, row, value)) {
        if (p(20)) WriteCmdResult(value);
        // In playback the loop took the row from the replay.
        if (g_SceneManager.g_nGameType != kGameTypeReplay) seam::RecordReplayChoice(row);
    }
    if (window) seam::RemoveMessageWindow(scene, window);
}

void ExecGameWait(cChara& chara, cFlowCmd& inst) {
    if (inst.m_lpDef) DoGameWait(chara, *inst.m_lpDef);
}

void ExecMessage(cChara& chara, cFlowCmd& inst) {
    if (!inst.m_lpDef) return;
    const cFlow* flow = PlayScene()->m_lpCurFlow;
    DoMessage(chara, *inst.m_lpDef, flow ? flow->m_bMessageChain : 0);
}
