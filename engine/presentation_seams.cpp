#include "engine/presentation_seams.h"

#include "play/scene_play.h"

namespace seam {

namespace {
WaitRecord& WaitOfStandIn(cScenePlay&) {
    static WaitRecord record;
    return record;
}
int ClosingOfStandIn(const cScenePlay&) { return 0; }
void InitDisplayRequestStandIn(int kind, int waitButton, int timeout, int noDelay,
                               const std::vector<MessageChoice>* choices) {
    cScenePlay* scene = PlayScene();
    if (!scene) return;
    WaitRecord& w = m_Wait(*scene);
    w.nKind = kind;
    w.bWaitButton = waitButton;
    w.nTimeout = timeout;
    w.nReserved = 0;
    w.vChoices = choices ? *choices : std::vector<MessageChoice>{};
    w.nChoiceCount = static_cast<int32_t>(w.vChoices.size());
    w.nDelay = (waitButton && kind == 1 && !noDelay) ? 20 : 0;
}
void RunPauseLoopStandIn() {}
}  // namespace

WaitOfFn m_Wait = WaitOfStandIn;
ClosingOfFn m_bClosing = ClosingOfStandIn;
InitDisplayRequestFn InitDisplayRequest = InitDisplayRequestStandIn;
RunPauseLoopFn RunPauseLoop = RunPauseLoopStandIn;

void ResetPresentationSeams() {
    m_Wait = WaitOfStandIn;
    m_bClosing = ClosingOfStandIn;
    InitDisplayRequest = InitDisplayRequestStandIn;
    RunPauseLoop = RunPauseLoopStandIn;
}

}  // namespace seam
