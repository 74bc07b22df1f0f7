#include "play/chara_removal.h"

#include <algorithm>

#include "engine/flow_trigger.h"
#include "frontend/data/game_progress.h"
#include "play/chara_hits.h"
#include "play/chara_player.h"
#include "play/scene_play.h"
#include "play/sound_requests.h"

namespace {

constexpr int kTriggerDied = 5;
constexpr int32_t kMaxScore = 999999;

// The concrete class's update, run while dying (it needs the play scene).
void RunDeathUpdate(cChara& c) {
    if (!PlayScene()) return;
    if (auto* computer = dynamic_cast<cCharaComputer*>(&c))
        computer->UpdateChara(1);
    else if (auto* player = dynamic_cast<cCharaPlayer*>(&c))
        player->UpdateChara(1);
}

}  // namespace

PlayResult Die(cChara& c) {
    FireFlowTriggerEx(c, kTriggerDied, nullptr, 0);
    RunDeathUpdate(c);
    g_Progress.m_nScore = static_cast<int32_t>(
        std::clamp<int64_t>(static_cast<int64_t>(g_Progress.m_nScore) + c.m_Def.m_nScore, 0, kMaxScore));
    PlayResult given = PlayResult::Continue;
    cObject* item = c.GetCarriedItem();
    if (cChara* hero = Hero(); item && hero) given = GiveItem(static_cast<cItem*>(item), hero);
    const bool clearRequested =
        PlayScene() && AsPlayResult(PlayScene()->m_nStageEndRequest) == PlayResult::StageClear;
    if (clearRequested || given == PlayResult::StageClear) return PlayResult::StageClear;
    Unlink(c);
    c.m_bDead = 1;
    StartCharaEffect(c, c.m_Def.m_nVanishEffect, c.m_Def.m_nVanishEffectA, 0);
    return PlayResult::Continue;
}

PlayResult KillChara(cChara& c) {
    if (c.m_nSide == 0) return PlayResult::Miss;
    if (c.m_bDead) return PlayResult::Continue;
    return Die(c);
}

void DetachChara(cChara& c) {
    Unlink(c);
    cScenePlay* scene = PlayScene();
    if (!scene) return;
    // Every group list is searched: the chara's group number may have
    // changed since it was listed.
    for (std::list<cChara*>& group : scene->m_vCharaGroups) group.remove(&c);
}

cCheckedList<cCharaComputer>::iterator RemoveChara(cCheckedList<cCharaComputer>& list,
                                                   cCheckedList<cCharaComputer>::iterator node) {
    DetachChara(*node);
    return list.erase(node);
}
