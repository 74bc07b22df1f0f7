// Shared by the shot tests: a play scene with an empty map, a hero, a
// computer chara that fires (the user) with its screen box at a known
// place, a shot command with its shot part, and the sword types put back
// after each test.
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/flow.h"
#include "play/shot.h"
#include "play/shot_volley.h"
#include "records/cmd_kinds.h"
#include "records/database.h"
#include "records/ed_flow.h"
#include "tests/support/chara_fixture.h"

namespace shottest {

// An object's box and screen box at (x, y) (no scrolling), size w x h.
inline void Place(cObject& o, double x, double y, int w, int h) {
    o.m_nWidth = o.m_nBaseWidth = o.m_nDrawWidth = o.m_nBaseDrawWidth = w;
    o.m_nHeight = o.m_nBaseHeight = o.m_nDrawHeight = o.m_nBaseDrawHeight = h;
    o.m_dX = x;
    o.m_dY = y;
    o.UpdatePosX();
    o.UpdatePosY();
    o.UpdateScreenRect();
}

class ShotTest : public charatest::CharaTest {
protected:
    void SetUp() override {
        CharaTest::SetUp();
        m_savedSwords = g_Database.m_vecSwordType;
        MakeMap();
        m_scene.m_vShotGroups.assign(8, {});
        m_scene.m_vCharaGroups.assign(8, {});
        g_vPlayers.resize(1);
        cChara& hero = g_vPlayers[0];
        hero.InitChara(nullptr, nullptr, 0);
        hero.m_nKey = 1;
        hero.m_nSide = 0;
        hero.m_nGroup = 0;
        hero.m_bActing = hero.m_bInView = 1;
        Place(hero, 900, 400, 32, 32);
        m_user = &NewChara(2, 400, 300);
        m_cmd.m_nKind = CMD_SHOT;
        m_cmd.m_spShot.Create();
        m_run.m_lpDef = &m_cmd;
    }
    void TearDown() override {
        m_scene.m_lstShots.clear();
        g_Database.m_vecSwordType = m_savedSwords;
        CharaTest::TearDown();
    }
    // A computer chara of group 1 in the live list, its screen box 32 x 32
    // at (x, y), facing left, with the hero in target slot 0.
    cCharaComputer& NewChara(int key, double x, double y) {
        cCharaComputer& c = g_lstCharas.emplace_back();
        c.InitChara(nullptr, nullptr, 0);
        c.LinkChara(nullptr);
        c.m_nKey = key;
        c.m_nSide = 1;
        c.m_nGroup = 1;
        c.m_bActing = c.m_bInView = 1;
        Place(c, x, y, 32, 32);
        return c;
    }
    cEdShot& Part() { return *m_cmd.m_spShot; }
    // A volley from (x, y) with the velocity (vx, vy) in dots per frame.
    static ShotVolley Volley(int x, int y, double vx, double vy, int range = 0, int life = 0) {
        ShotVolley v;
        v.nX = x;
        v.nY = y;
        v.dVX = vx;
        v.dVY = vy;
        v.dSpeed = std::sqrt(vx * vx + vy * vy);
        v.nRange = range;
        v.nLife = life;
        return v;
    }
    // A shot made by the user from the command's part.
    cShot Made(const ShotVolley& v) {
        cShot s;
        s.InitShot(100, *m_user, CMD_SHOT, Part(), v);
        return s;
    }
    std::vector<cShot*> Shots() {
        std::vector<cShot*> out;
        for (cShot& s : m_scene.m_lstShots) out.push_back(&s);
        return out;
    }

    cCharaComputer* m_user = nullptr;
    cEdFlowCmd m_cmd;
    cFlowCmd m_run;
    cCheckedVector<cDbSwordType> m_savedSwords;
};

}  // namespace shottest
