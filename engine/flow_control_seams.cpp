#include "engine/flow_control_seams.h"

#include <algorithm>

#include "play/chara.h"
#include "play/scene_play.h"
#include "play/shot.h"

namespace seam {

namespace {
int GetInputDirectionStandIn(cInput&) { return 0; }
void EraseShotStandIn(cScenePlay& scene, cShot& shot) {
    for (std::list<cShot*>& group : scene.m_vShotGroups) group.remove(&shot);
    for (cChara* c : {shot.m_lpOwner, shot.m_lpTarget})
        if (c) std::erase_if(c->m_vShotLinks, [&shot](const ShotLink& l) { return l.lpShot == &shot; });
    scene.m_lstShots.remove_if([&shot](const cShot& s) { return &s == &shot; });
}
bool IsPlayClosingStandIn(const cScenePlay&) { return false; }
cMessageWindow* FindMessageWindowStandIn(cScenePlay&, int) { return nullptr; }
void RemoveMessageWindowStandIn(cScenePlay&, cMessageWindow*) {}
bool MessageWindowFitsStandIn(cMessageWindow&, const MessageWindowArgs&) { return false; }
void ReinitMessageWindowStandIn(cMessageWindow&, const MessageWindowArgs&) {}
cMessageWindow* AddMessageWindowStandIn(cScenePlay&, const MessageWindowArgs&, cMessageWindow*) { return nullptr; }
void InitDisplayRequestStandIn(cScenePlay&, int, int, int, int, int) {}
void RunPauseLoopStandIn(cScenePlay&) {}
bool ChosenChoiceStandIn(cScenePlay&, int32_t&, int32_t&) { return false; }
void RecordReplayChoiceStandIn(int32_t) {}
void PresentationStandIn(cChara&, const cEdFlowCmd&) {}
void DoPlayBgmStandIn(const cEdFlowCmd&) {}
}  // namespace

GetInputDirectionFn GetInputDirection = GetInputDirectionStandIn;
EraseShotFn EraseShot = EraseShotStandIn;
IsPlayClosingFn IsPlayClosing = IsPlayClosingStandIn;
FindMessageWindowFn FindMessageWindow = FindMessageWindowStandIn;
RemoveMessageWindowFn RemoveMessageWindow = RemoveMessageWindowStandIn;
MessageWindowFitsFn MessageWindowFits = MessageWindowFitsStandIn;
ReinitMessageWindowFn ReinitMessageWindow = ReinitMessageWindowStandIn;
AddMessageWindowFn AddMessageWindow = AddMessageWindowStandIn;
InitDisplayRequestFn InitDisplayRequest = InitDisplayRequestStandIn;
RunPauseLoopFn RunPauseLoop = RunPauseLoopStandIn;
ChosenChoiceFn ChosenChoice = ChosenChoiceStandIn;
RecordReplayChoiceFn RecordReplayChoice = RecordReplayChoiceStandIn;
PresentationWorkerFn DoChangeGraphic = PresentationStandIn;
PresentationWorkerFn DoChangeAnimeSet = PresentationStandIn;
PresentationWorkerFn DoRunAnime = PresentationStandIn;
PresentationWorkerFn DoRunEffect = PresentationStandIn;
PresentationWorkerFn DoRunCharaEffect = PresentationStandIn;
PresentationWorkerFn DoRunScreenEffect = PresentationStandIn;
PresentationWorkerFn DoShowPicture = PresentationStandIn;
PresentationWorkerFn DoScreenColor = PresentationStandIn;
PresentationWorkerFn DoChangeBackground = PresentationStandIn;
PresentationWorkerFn DoPlaySe = PresentationStandIn;
DoPlayBgmFn DoPlayBgm = DoPlayBgmStandIn;

void ResetFlowControlSeams() {
    GetInputDirection = GetInputDirectionStandIn;
    EraseShot = EraseShotStandIn;
    IsPlayClosing = IsPlayClosingStandIn;
    FindMessageWindow = FindMessageWindowStandIn;
    RemoveMessageWindow = RemoveMessageWindowStandIn;
    MessageWindowFits = MessageWindowFitsStandIn;
    ReinitMessageWindow = ReinitMessageWindowStandIn;
    AddMessageWindow = AddMessageWindowStandIn;
    InitDisplayRequest = InitDisplayRequestStandIn;
    RunPauseLoop = RunPauseLoopStandIn;
    ChosenChoice = ChosenChoiceStandIn;
    RecordReplayChoice = RecordReplayChoiceStandIn;
    DoChangeGraphic = PresentationStandIn;
    DoChangeAnimeSet = PresentationStandIn;
    DoRunAnime = PresentationStandIn;
    DoRunEffect = PresentationStandIn;
    DoRunCharaEffect = PresentationStandIn;
    DoRunScreenEffect = PresentationStandIn;
    DoShowPicture = PresentationStandIn;
    DoScreenColor = PresentationStandIn;
    DoChangeBackground = PresentationStandIn;
    DoPlaySe = PresentationStandIn;
    DoPlayBgm = DoPlayBgmStandIn;
}

}  // namespace seam
