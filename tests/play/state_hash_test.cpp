// The play-state hash follows what play reads and ignores what it does not.
#include <optional>
#include <gtest/gtest.h>

#include <functional>

#include "base/random.h"
#include "media/input/input_list.h"
#include "play/chara_computer.h"
#include "play/chara_player.h"
#include "play/map_cell.h"
#include "play/scene_play.h"
#include "frontend/data/game_progress.h"
#include "play/state_hash.h"

namespace {

class StateHashTest : public ::testing::Test {
protected:
    void SetUp() override {
        SRand(7);
        g_vPlayers.clear();
        g_vPlayers.resize(1);
        g_lstCharas.clear();
        g_lstCharas.emplace_back();
        g_vMapCells.assign(16, cMapCell());
    }
    void TearDown() override {
        g_vPlayers.clear();
        g_lstCharas.clear();
        g_vMapCells.clear();
        g_Progress = cGameProgress();
    }
    std::optional<cScenePlay> m_fresh{std::in_place};  // made again for each case
    cScenePlay& m_scene = *m_fresh;
};

TEST_F(StateHashTest, ChangesWithPlayStateOnly) {
    const uint64_t base = PlayStateHash(m_scene);
    EXPECT_EQ(PlayStateHash(m_scene), base);

    const std::pair<const char*, std::function<void()>> counted[] = {
        {"hero x by one ulp", [] { g_vPlayers[0].m_dX = 5e-324; }},
        {"chara HP", [] { g_lstCharas.front().m_nHP = 3; }},
        {"chara definition", [] { g_lstCharas.front().m_Def.m_nAttack = 2; }},
        {"cell latch", [] { g_vMapCells[5].m_nLatch = 1; }},
        {"frame", [this] { m_scene.m_nFrame = 1; }},
        {"stage switch", [this] { m_scene.m_vStageSwitches.at(59) = 1; }},
        {"generator", [] { Rand(); }},
        {"common variable", [] { g_Progress.m_vecCommonVar.at(3) = 1; }},
        {"input word", [] { g_InputList[0].m_wButton ^= 1; }},
    };
    for (const auto& [label, change] : counted) {
        SetUp();
        m_fresh.emplace();
        const uint64_t before = PlayStateHash(m_scene);
        change();
        EXPECT_NE(PlayStateHash(m_scene), before) << label;
        TearDown();
        g_InputList[0].m_wButton = 0;
    }

    SetUp();
    const uint64_t again = PlayStateHash(m_scene);
    g_InputList[0].m_bTriggerLatch ^= 1;
    g_InputList[0].m_dwRepeatCountH += 5;
    g_InputList[0].m_wDirShift ^= 0x20;  // the menus' key repeat
    m_scene.m_ScreenEffect.m_nEffectId = 4;
    EXPECT_EQ(PlayStateHash(m_scene), again);
    g_InputList[0].m_bTriggerLatch ^= 1;
    g_InputList[0].m_dwRepeatCountH -= 5;
    g_InputList[0].m_wDirShift ^= 0x20;
}

}  // namespace
