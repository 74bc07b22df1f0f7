// The play step: one frame of the PLAY state. Input, the stage time and the
// play time, then the object interplay in the stage's physics sub-steps, then
// the draw pass. The order of the work is the replay contract: a replay plays
// back only when every frame runs the same steps in the same order.
#include <climits>
#include <iterator>

#include "base/frame_timing.h"
#include "base/quit.h"
#include "base/scene_state.h"
#include "engine/conditions.h"
#include "frontend/replay/replay.h"
#include "play/replay_save.h"
#include "media/input/input_list.h"
#include "play/chara_computer.h"
#include "play/chara_hits.h"
#include "play/chara_player.h"
#include "play/chara_removal.h"
#include "play/chara_solids.h"
#include "play/draw_stage.h"
#include "play/message_window.h"
#include "play/numeric.h"
#include "play/play_trace.h"
#include "play/replay_io.h"
#include "play/scene_play.h"
#include "play/sound_requests.h"
#include "play/stage_results.h"
#include "play/tile_collision.h"
#include "records/game_type.h"
#include "platform/service.h"
#include "records/stage.h"
#include "records/system_data.h"
#include "engine/flow_trigger.h"

namespace {

constexpr int kSeMiss = 9;
constexpr int kSeCharaDeath = 10;
constexpr int kEventAlways = 0;
constexpr int kEventHitItem = 10;
constexpr int kEventRiddenByHero = 18;
constexpr int kEventRidden = 19;

bool Playback() { return g_SceneState.g_nGameType == GAMETYPE_REPLAY; }

// Not dead, acting, still in play.
bool IsLive(const cChara& c) { return !c.m_bRemoved && !c.m_bDead && c.m_bActing; }

cCharaPlayer* HeroOf() { return g_vPlayers.empty() ? nullptr : &g_vPlayers[0]; }

bool HeroAlive() {
    const cCharaPlayer* hero = HeroOf();
    return hero && !hero->m_bDead;
}

bool IsBoxed(const cChara& c) {
    return (c.m_abContact[CONTACT_LEFT] && c.m_abContact[CONTACT_RIGHT]) ||
           (c.m_abContact[CONTACT_TOP] && c.m_abContact[CONTACT_BOTTOM]);
}

// Boxed with the simple-walls option, squeezed without it.
bool IsCrushed(const cChara& c) {
    if (g_SystemData.OptSimpleWalls) return IsBoxed(c);
    return c.IsCrushedX() || c.IsCrushedY();
}

// The end of a chara's sub-step: the knock-back wears off by one step on
// each axis, and the crush guard a block summon set runs out.
void StepMotionTimers(cChara& c) {
    c.DecayImpactX();
    c.DecayImpactY();
    if (c.m_nCrushGuard > 0) --c.m_nCrushGuard;
}

// The sub-step number is 0 outside the play step.
class SubStepScope {
public:
    explicit SubStepScope(cScenePlay& scene) : m_scene(scene) {}
    ~SubStepScope() { m_scene.m_nSubStep = 0; }
    SubStepScope(const SubStepScope&) = delete;
    SubStepScope& operator=(const SubStepScope&) = delete;

private:
    cScenePlay& m_scene;
};

// Marks a walk over the chara list; removals wait for its end.
class CharaWalk {
public:
    explicit CharaWalk(cScenePlay& scene) : m_scene(scene) { ++m_scene.m_nCharaWalks; }
    ~CharaWalk() {
        if (--m_scene.m_nCharaWalks == 0) PurgeRemovedCharas();
    }
    CharaWalk(const CharaWalk&) = delete;
    CharaWalk& operator=(const CharaWalk&) = delete;

private:
    cScenePlay& m_scene;
};

}  // namespace

void DropChara(cCharaComputer& c) {
    if (c.m_bRemoved) return;
    cScenePlay* scene = PlayScene();
    if (scene && (scene->m_nCharaWalks > 0 || scene->m_bInHitPass)) {
        // A walk may stand on its node or on its place in a group list: it
        // leaves every link now and reads as dead and idle to every walk
        // and search; its nodes go when the walk is over.
        Unlink(c);
        c.m_bRemoved = 1;
        c.m_bDead = 1;
        c.m_bActing = c.m_bActive = 0;
        return;
    }
    DetachChara(c);
    for (auto it = g_lstCharas.begin(); it != g_lstCharas.end(); ++it) {
        if (&*it == &c) {
            g_lstCharas.erase(it);
            return;
        }
    }
}

void PurgeRemovedCharas() {
    for (auto it = g_lstCharas.begin(); it != g_lstCharas.end();) {
        if (!it->m_bRemoved) {
            ++it;
            continue;
        }
        DetachChara(*it);
        it = g_lstCharas.erase(it);
    }
}

PlayResult OnCharaDeath(cChara& chara) {
    const PlayResult r = KillChara(chara);
    cScenePlay* scene = PlayScene();
    if (r == PlayResult::StageClear) {
        if (scene) {
            scene->ClearStage();
            scene->m_nState = CSCENEPLAY_STAGEEND;
        }
    } else if (r == PlayResult::Miss) {
        PlaySe(kSeMiss);
        if (cChara* hero = Hero(); hero && Die(*hero) == PlayResult::StageClear && scene) {
            scene->ClearStage();
            scene->m_nState = CSCENEPLAY_STAGEEND;
        }
    }
    return r;
}

PlayResult GiveItem(cItem* item, cChara* chara) {
    if (!item || !chara || item->m_Def.m_nGraphic == 0 || item->m_Def.m_nTakeMode == cEdItem::TAKE_NEVER ||
        !(item->m_bActive || item->m_bActing))
        return PlayResult::Continue;
    auto* player = dynamic_cast<cCharaPlayer*>(chara);
    // The popup shows the item's own palette graphic.
    const cEdItem& d = item->m_Def;
    if (d.m_bPickupWindow && player)
        player->ShowPickupMessage(d.m_strName, 0, 0, {d.m_nGraphicKind, d.m_nGraphic, d.m_nGraphicCell});
    PlayUserSe(item->m_Def.m_nSound);
    if (!player) return PlayResult::Continue;
    return player->RunItemCommands(item->m_Def.m_vecCmd, item->m_anFlowVars);
}

void RideCarrier(cChara& chara, cCheckedList<cCharaComputer>& list) {
    if (chara.m_bFlying) return;
    cCharaComputer* carrier = nullptr;
    for (cCharaComputer& c : list)
        if (IsLive(c) && c.m_nKey == chara.m_nRiddenKey) {
            carrier = &c;
            break;
        }
    if (!carrier) return;
    chara.m_dSpeedX += carrier->m_dX - chara.m_adRiddenBox[0];
    if (carrier->m_bFlying || !g_SystemData.OptRideGroundedNoY || carrier->m_bAirborne)
        chara.m_dSpeedY = carrier->m_dY - chara.m_adRiddenBox[1];
    if (chara.m_nSide == 0 && &chara == Hero()) FireFlowTriggerEx(*carrier, kEventRiddenByHero, &chara, 0);
    FireFlowTriggerEx(*carrier, kEventRidden, &chara, 0);
}

PlayResult TouchItems(cCharaPlayer& hero, cCheckedList<cItem>& items) {
    const double* box = hero.m_HitBox3.box;
    for (auto it = items.begin(); it != items.end();) {
        cItem& item = *it;
        auto next = std::next(it);
        if (!item.m_bActive || item.m_Def.m_nTakeMode == cEdItem::TAKE_NEVER) {
            it = next;
            continue;
        }
        const double own[4] = {item.m_dX, item.m_dY, item.m_dRight, item.m_dBottom};
        const bool touches = BoxesOverlap(box, own);
        if (!touches) {
            if (item.m_Def.m_nTakeMode == cEdItem::TAKE_ALWAYS) hero.ForgetTouch(item.m_nKey);
            it = next;
            continue;
        }
        FireFlowTriggerEx(hero, kEventHitItem, nullptr, 0);
        if (item.m_Def.m_nTakeMode == cEdItem::TAKE_ALWAYS) {
            if (!hero.IsNewTouch(item.m_nKey)) {
                it = next;
                continue;
            }
            hero.m_lstTouchedItems.push_back(item.m_nKey);
        }
        const PlayResult r = GiveItem(&item, &hero);
        if (item.m_Def.m_nTakeMode == cEdItem::TAKE_ONCE) items.erase(it);
        if (r != PlayResult::Continue) return r;
        it = next;
    }
    return PlayResult::Continue;
}

int cScenePlay::CountDownTime(int delta) {
    if (m_bNoTimeLimit) return 0;
    if (!FrameSkipCounter(1, 60)) return 0;
    m_nTimeLeft = WrapAdd(m_nTimeLeft, delta);
    if (m_nTimeLeft >= 1000) m_nTimeLeft = 999;
    if (m_nTimeLeft <= 0) {
        m_nTimeLeft = 0;
        return 1;
    }
    return 0;
}

void cScenePlay::UpdatePlayTime() {
    if (m_nPlayTime > 599998) return;
    m_nPlayFrames = WrapAdd(m_nPlayFrames, 1);
    const long long t = static_cast<long long>(m_nPlayFrames) * 100 / 60;
    m_nPlayTime = t > 599999 ? 599999 : static_cast<int32_t>(t);
}

void cScenePlay::EnterStageEnd() {
    ClearStage();
    m_nState = CSCENEPLAY_STAGEEND;
}

void cScenePlay::Miss() {
    PlaySe(kSeMiss);
    if (cCharaPlayer* hero = HeroOf(); hero && Die(*hero) == PlayResult::StageClear) EnterStageEnd();
}

bool cScenePlay::ResolveCharaDeath(cCharaComputer& c) {
    const PlayResult r = OnCharaDeath(c);
    if (g_SystemData.OptKeepDeadCharas) {
        if (r == PlayResult::StageClear) {
            DropChara(c);
            return true;
        }
        PlaySe(kSeCharaDeath);
    } else {
        DropChara(c);
    }
    return r != PlayResult::Continue;
}

bool cScenePlay::CheckPlayerHP() {
    cCharaPlayer* hero = HeroOf();
    if (hero && hero->m_nHP <= 0) {
        PlaySe(kSeMiss);
        if (Die(*hero) == PlayResult::StageClear) EnterStageEnd();
        return true;
    }
    CharaWalk walk(*this);
    for (cCharaComputer& c : g_lstCharas) {
        if (c.m_bRemoved) continue;
        if (c.m_bDiesNow) {
            DropChara(c);
        } else if (c.m_nHP <= 0) {
            if (ResolveCharaDeath(c)) return true;
        }
    }
    return false;
}

bool cScenePlay::StepComputerChara(cCharaComputer& c, bool blockVariant) {
    FireFlowTriggerEx(c, kEventAlways, nullptr, 0);
    if (c.UpdateChara(0)) {
        if (!blockVariant && c.m_bDiesNow) {
            DropChara(c);
            return false;
        }
        return ResolveCharaDeath(c);
    }
    if (m_bDeathPending && CheckPlayerHP()) return true;
    if (c.m_bRemoved) return false;
    if (!blockVariant && c.m_bOnBlockChara) RideCarrier(c, g_lstCharas);
    bool dies = false, vanishes = false;
    if (c.MoveX() == 4) vanishes = true;
    if (CollideWallsX(c) == 2) dies = true;
    c.ApplyGravity();
    const int my = c.MoveY();
    if (my == 7) dies = true;
    if (my == 8) vanishes = true;
    if (CollideWallsY(c) == 2) dies = true;
    if (!blockVariant) {
        if (CollideSolids(c, g_lstCharas) == 2) dies = true;
        CollideBothX(c);
        CollideBothY(c);
        if (IsCrushed(c)) dies = true;
    }
    if (dies) {
        PlaySe(kSeCharaDeath);
        const PlayResult r = OnCharaDeath(c);
        if (r == PlayResult::StageClear) {
            DropChara(c);
            return true;
        }
        return r == PlayResult::Miss;
    }
    if (vanishes) {
        DropChara(c);
        return false;
    }
    StepMotionTimers(c);
    return false;
}

cScenePlay::HeroStep cScenePlay::StepHero(cCharaPlayer& hero) {
    const auto guarded = [&] { return hero.m_nCrushGuard > 0; };
    FireFlowTriggerEx(hero, kEventAlways, nullptr, 0);
    if (hero.UpdateChara(0)) return HeroStep::Miss;
    const PlayResult request = AsPlayResult(m_nStageEndRequest);
    if (request == PlayResult::Miss) return HeroStep::Miss;
    if (request == PlayResult::StageClear) {
        EnterStageEnd();
        return HeroStep::FrameOver;
    }
    if (m_bDeathPending && CheckPlayerHP()) return HeroStep::FrameOver;
    if (const PlayResult r = ApplyFootBlock(hero); r != PlayResult::Continue) {
        if (r == PlayResult::StageClear) {
            EnterStageEnd();
            return HeroStep::FrameOver;
        }
        return HeroStep::Miss;
    }
    if (hero.m_bOnBlockChara) RideCarrier(hero, g_lstCharas);
    hero.MoveX();
    KeepInViewX(hero);
    if (CollideWallsX(hero) == 2) return HeroStep::Miss;
    KeepInViewX(hero);
    hero.ApplyGravity();
    if (hero.MoveY() == 7) return HeroStep::Miss;
    if (KeepInViewY(hero) == 2 || CollideWallsY(hero) == 2 || KeepInViewY(hero) == 2) return HeroStep::Miss;
    // Crush resolution.
    if (IsBoxed(hero) && !guarded()) {
        hero.RestoreBox();
        return HeroStep::Miss;
    }
    if (CollideSolids(hero, g_lstCharas) == 2 && !hero.m_bDead && !guarded()) return HeroStep::Miss;
    if (hero.m_abContact[CONTACT_LEFT] || hero.m_abContact[CONTACT_RIGHT]) {
        if (CollideBothX(hero) == 2) {
            if (guarded()) return HeroStep::FrameOver;
            if (!hero.m_bDead) return HeroStep::Miss;
        }
    }
    if (hero.m_abContact[CONTACT_TOP] || hero.m_abContact[CONTACT_BOTTOM]) {
        if (CollideBothY(hero) == 2 && !hero.m_bDead && !guarded()) return HeroStep::Miss;
    }
    if (IsCrushed(hero) && !guarded()) {
        hero.RestoreBox();
        return HeroStep::Miss;
    }
    StepMotionTimers(hero);
    return HeroStep::Continue;
}

void cScenePlay::StepShots() {
    for (auto it = m_lstShots.begin(); it != m_lstShots.end();) {
        cShot& shot = *it;
        auto next = std::next(it);
        bool erase = false;
        const bool finished = shot.StepShot() != 0;
        if (IPlayTrace* trace = Service<IPlayTrace>::Find()) trace->ShotStepped(shot, finished);
        if (finished) {
            erase = true;
        } else {
            shot.ApplyGravityPlain();
            shot.MoveShotY();
            shot.MoveShotX();
            if (m_nSubStep == 1 && shot.m_bIsShot &&
                shot.IsOutOfArea(shot.m_nSide == 0 ? g_Stage.m_RemoveHeroShot : g_Stage.m_RemoveEnemyShot))
                erase = true;
            else if (shot.ShotHitsBlock())
                erase = true;
        }
        if (erase) EraseShot(*this, it);
        it = next;
    }
}

void cScenePlay::RemoveOutOfArea() {
    {
        CharaWalk walk(*this);
        for (cCharaComputer& c : g_lstCharas) {
            if (!IsLive(c)) continue;
            if (c.m_Def.m_bBlockChara) {
                if (m_bRemoveOutBlockCharas && c.IsOutOfArea(g_Stage.m_RemoveBlockChara)) DropChara(c);
            } else if (m_bRemoveOutCharas && c.IsOutOfArea(g_Stage.m_RemoveChara)) {
                DropChara(c);
            }
        }
    }
    if (!m_bRemoveOutItems) return;
    for (auto it = g_lstItems.begin(); it != g_lstItems.end();)
        it = it->IsOutOfArea(g_Stage.m_RemoveItem) ? g_lstItems.erase(it) : std::next(it);
}

bool cScenePlay::TakeFrameRequests() {
    if (m_bClosing) {
        PostCloseRequest();
        return true;
    }
    if (CheckMenuKey()) {
        m_nStep = 0;
        m_nState = CSCENEPLAY_MENU;
        return true;
    }
    return CheckReplaySaveKeys() != 0;
}

bool cScenePlay::ReadReplayInput(cInput& in) {
    in.ClearDirInput();
    in.ClearButtonInput();
    int16_t words[2] = {0, 0};
    if (Service<IReplayIo>::Get().PlayFrame(words)) {
        StepStageList(0, 0);
        SetupStage(1, 1);
        m_nState = CSCENEPLAY_READY;
        return false;
    }
    in.m_sDir = words[0];
    in.m_wButton = static_cast<uint16_t>(words[1]);
    in.m_nDirNumber = GetDirNumber(in.m_sDir);
    in.PushInputHistory();
    in.RecordKeyHistory();
    return true;
}

void cScenePlay::ReadKeyInput(cInput& in, const cCharaPlayer* hero) {
    if (hero && hero->m_bDirLock) in.ClearDirInput();
    if (hero && hero->m_bButtonLock) in.ClearButtonInput();
    if (in.m_wButton == 0)
        m_bHoldButtons = 0;
    else if (m_bHoldButtons)
        in.ClearButtonInput();
    in.PushInputHistory();
    in.RecordKeyHistory();
    if (g_SystemData.OptReplayRecord) {
        const int16_t words[2] = {in.m_sDir, static_cast<int16_t>(in.m_wButton)};
        Service<IReplayIo>::Get().RecordFrame(words);
    }
}

void cScenePlay::ResetFrameFlags(cCharaPlayer* hero) {
    if (hero) {
        ResetFlowOnceFlags(*hero);
        if (IPlayTrace* trace = Service<IPlayTrace>::Find()) trace->FlowOnceFlagsReset(*hero);
        hero->m_bPushed = 0;
    }
    for (cCharaComputer& c : g_lstCharas) {
        if (!c.m_bDead) {
            ResetFlowOnceFlags(c);
            if (IPlayTrace* trace = Service<IPlayTrace>::Find()) trace->FlowOnceFlagsReset(c);
        }
        c.m_bPushed = 0;
    }
}

void cScenePlay::CountDownLifeTimes() {
    for (cCharaComputer& c : g_lstCharas) {
        if (c.m_bDead || c.m_nLifeTime == INT32_MAX) continue;
        if (--c.m_nLifeTime < 0) DropChara(c);
    }
    for (auto it = g_lstItems.begin(); it != g_lstItems.end();) {
        if (it->m_nLifeTime != INT32_MAX && --it->m_nLifeTime < 0)
            it = g_lstItems.erase(it);
        else
            ++it;
    }
}

void cScenePlay::BeginSubStep(cCharaPlayer* hero) {
    for (cCharaComputer& c : g_lstCharas) {
        if (c.m_bRemoved) continue;
        StepHitTimers(c);
        c.ClearContacts();
        c.SaveBox();
        if (!g_SystemData.OptKeepScreenRect) c.UpdateScreenRect();
    }
    if (hero) {
        StepHitTimers(*hero);
        hero->ClearContacts();
        hero->SaveBox();
        hero->RememberFacing();
        hero->RememberFootBlock();
    }
}

bool cScenePlay::StepCharas(bool blockCharas) {
    for (cCharaComputer& c : g_lstCharas) {
        if (!IsLive(c) || (c.m_Def.m_bBlockChara != 0) != blockCharas) continue;
        if (StepComputerChara(c, blockCharas)) return true;
    }
    return false;
}

PlayResult cScenePlay::HitsAndItems(cCharaPlayer* hero) {
    PlayResult result = PlayResult::Continue;
    if (HeroAlive()) {
        CharaWalk walk(*this);
        result = TakeFootBlockItem(*hero);
        if (result == PlayResult::Continue) result = HitGroups();
        if (result == PlayResult::StageClear) {
            EnterStageEnd();
            return result;
        }
    }
    if (result == PlayResult::Continue && HeroAlive()) {
        result = TouchItems(*hero, g_lstItems);
        if (result == PlayResult::StageClear) EnterStageEnd();
    }
    return result;
}

bool cScenePlay::RunSubStep(cCharaPlayer* hero, int subStep) {
    m_nSubStep = subStep;
    m_nSubStepTotal = WrapAdd(m_nSubStepTotal, 1);
    HeroStep heroStep = HeroStep::Continue;
    {
        CharaWalk walk(*this);
        UpdateActiveStates(*this);
        if (HeroAlive()) CountDownLifeTimes();
        BeginSubStep(hero);
        m_ScrollX.Advance();
        m_ScrollY.Advance();
        // The block charas move first: the others stand and ride on them.
        if (HeroAlive() && StepCharas(true)) return false;
        if (HeroAlive()) heroStep = StepHero(*hero);
        if (heroStep == HeroStep::FrameOver) return false;
        if (heroStep == HeroStep::Continue && HeroAlive() && StepCharas(false)) return false;
    }
    PlayResult result = heroStep == HeroStep::Miss ? PlayResult::Miss : PlayResult::Continue;
    if (heroStep == HeroStep::Continue) {
        StepShots();
        if (subStep == 1 && HeroAlive()) RemoveOutOfArea();
        result = HitsAndItems(hero);
        if (result == PlayResult::StageClear) return false;
    }
    if (result == PlayResult::Miss) {
        Miss();
        return false;
    }
    return true;
}

bool cScenePlay::RunSubSteps(cCharaPlayer* hero) {
    const int subSteps = g_Stage.m_nSubSteps;
    SubStepScope scope(*this);
    for (int e = 1; e <= subSteps; ++e)
        if (!RunSubStep(hero, e)) return false;
    m_nSubStep = 0;
    PurgeRemovedCharas();
    return true;
}

void cScenePlay::UpdatePlay() {
    if (TakeFrameRequests()) return;
    m_nFrame = WrapAdd(m_nFrame, 1);
    // Player 0's input: the replay's in playback, else the keys.
    cInput& in = g_InputList.at(0);
    cCharaPlayer* hero = HeroOf();
    if (Playback()) {
        if (!ReadReplayInput(in)) return;
    } else {
        ReadKeyInput(in, hero);
    }
    // The play time counts up and the stage time down; running out is a miss.
    UpdatePlayTime();
    if (CountDownTime(-1) && HeroAlive()) {
        Miss();
        return;
    }
    ResetFrameFlags(hero);
    if (!RunSubSteps(hero)) return;
    DrawStage(*this, 1, 0, 1, 1);
}
