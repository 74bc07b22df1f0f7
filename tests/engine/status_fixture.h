// A small play world for the status, formula and parameter-change tests:
// the hero (a player chara), the chara that runs the command ("self") and
// another chara in self's target slot 2, common and stage variables,
// and a running flow's two variables.
#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "base/random.h"
#include "frontend/data/game_progress.h"
#include "records/ed_flow.h"
#include "records/ed_move.h"
#include "tests/support/chara_fixture.h"

namespace statustest {

class StatusWorld : public charatest::CharaTest {
protected:
    void SetUp() override {
        CharaTest::SetUp();
        m_savedProgress = g_Progress;
        g_Progress.m_vecCommonVar.assign(1000, 0);
        g_Progress.m_nLives = 3;
        g_Progress.m_nStageScore = 0;
        m_savedScrollX = g_Stage.m_nAutoScrollSpeedX;
        m_savedAutoX = g_Stage.m_bAutoScrollX;
        m_scene.m_nTimeLeft = 120;
        m_scene.m_lpCurFlowVars = m_vars;
        g_vPlayers.resize(1);
        Setup(Hero(), 100, 100, 200, 150);
        Setup(m_self, 50, 100, 300, 240);
        Setup(m_other, 80, 100, 400, 200);
        m_self.LinkChara(nullptr);
        m_other.LinkChara(nullptr);
        m_self.SetTargetSlot(1, &m_other, 0);
    }
    void TearDown() override {
        g_Progress = m_savedProgress;
        g_Stage.m_nAutoScrollSpeedX = m_savedScrollX;
        g_Stage.m_bAutoScrollX = m_savedAutoX;
        CharaTest::TearDown();
    }
    cCharaPlayer& Hero() { return g_vPlayers[0]; }
    // HP, max HP and a 32 x 48 screen box with its top-left at (x, y).
    static void Setup(cChara& c, int hp, int maxHP, int x, int y) {
        c.m_vTargets.assign(kTargetSlots, nullptr);
        c.m_Def.m_nMaxHP = maxHP;
        c.m_nHP = hp;
        c.m_Def.m_nMaxSP = 50;
        c.m_nSP = 50;
        c.m_Def.m_nInvincible = 0;
        c.m_nScrLeft = x;
        c.m_nScrTop = y;
        c.m_nDrawWidth = 32;
        c.m_nDrawHeight = 48;
        c.m_nScrRight = x + 31;
        c.m_nScrBottom = y + 47;
    }

    charatest::cTestChara m_self, m_other;
    int32_t m_vars[2] = {};
    cGameProgress m_savedProgress;
    int32_t m_savedScrollX = 0, m_savedAutoX = 0;
};

// A status operation: 25 parameters, the given ones set.
inline cEdFlowCmd StatusOp(std::initializer_list<std::pair<int, int32_t>> set) {
    cEdFlowCmd c;
    c.m_nKind = 22;
    c.m_vecParam.assign(25, 0);
    for (auto [i, v] : set) c.m_vecParam[i] = v;
    return c;
}

}  // namespace statustest
