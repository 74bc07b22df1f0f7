// A small stage for the command tests: the hero (a player chara) and
// computer-like charas in the play scene's group lists, shots with their
// owners, the running flow's two variables, and commands with their full
// parameter count.
#pragma once
#include <gtest/gtest.h>

#include <deque>
#include <initializer_list>
#include <utility>

#include "play/shot.h"
#include "records/cmd_kinds.h"
#include "tests/support/chara_fixture.h"

namespace cmdtest {

using charatest::cTestChara;

class CommandWorld : public charatest::CharaTest {
protected:
    void SetUp() override {
        CharaTest::SetUp();
        g_vPlayers.resize(1);
        cCharaPlayer& hero = Hero();
        hero.m_vTargets.assign(kTargetSlots, nullptr);
        hero.m_nKey = 1;
        hero.m_nHP = hero.m_Def.m_nMaxHP = 10;
        hero.m_bActive = hero.m_bActing = 1;
        m_scene.m_vCharaGroups.at(0).push_back(&hero);
        m_scene.m_lpCurFlowVars = m_vars;
    }
    void TearDown() override {
        m_scene.m_lstShots.clear();
        for (auto& g : m_scene.m_vCharaGroups) g.clear();
        for (auto& g : m_scene.m_vShotGroups) g.clear();
        CharaTest::TearDown();
        m_charas.clear();
    }
    static cCharaPlayer& Hero() { return g_vPlayers[0]; }

    // A live chara of the group at (x, y), linked as a fresh chara is (the
    // hero in target slot 1), the parent's child when one is given.
    cTestChara& Add(int group, cChara* parent = nullptr, double x = 100, double y = 100) {
        cTestChara& c = m_charas.emplace_back();
        c.m_nKey = 100 + static_cast<int>(m_charas.size());
        c.m_nGroup = group;
        c.m_nHP = c.m_Def.m_nMaxHP = 10;
        c.m_bActive = c.m_bActing = 1;
        c.m_vTargets.assign(kTargetSlots, nullptr);
        c.LinkChara(parent);
        charatest::PlaceOnScreen(c, x, y, 32, 32);
        m_scene.m_vCharaGroups.at(group).push_back(&c);
        return c;
    }
    // A shot of the group fired by the owner (none: no owner), at the
    // screen's top-left corner; it becomes active in the activity pass
    // (UpdateActiveStates), as a fired shot does.
    cShot& AddShot(int group, cChara* owner) {
        cShot& s = m_scene.m_lstShots.emplace_back();
        s.m_nGroup = group;
        s.m_EdShot.m_nSide = static_cast<int8_t>(group);
        s.m_lpOwner = owner;
        if (owner) owner->m_vShotLinks.push_back(ShotLink{&s, 4});
        m_scene.m_vShotGroups.at(group).push_back(&s);
        return s;
    }
    bool HasShot(const cShot& s) const {
        for (const cShot& t : m_scene.m_lstShots)
            if (&t == &s) return true;
        return false;
    }

    std::deque<cTestChara> m_charas;
    int32_t m_vars[2] = {};
};

// A chara command of the kind with as many parameters as the kind takes,
// the given ones set.
inline cEdFlowCmd Command(int kind, std::initializer_list<std::pair<int, int32_t>> set = {}, int family = 0) {
    cEdFlowCmd c = charatest::MakeCmd(family, kind);
    c.m_vecParam.assign(static_cast<size_t>(CmdKindParamCount(family, kind)), 0);
    for (auto [i, v] : set) c.m_vecParam.at(static_cast<size_t>(i)) = v;
    return c;
}

}  // namespace cmdtest
