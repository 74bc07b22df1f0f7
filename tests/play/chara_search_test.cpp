// The target searches: the filter (id, key, invincibility, block charas, a
// variable by operator), list order and ties, the numbered table read from
// its end, and the nearest search's view modes.
#include "play/chara_search.h"

#include <climits>
#include <deque>

#include "tests/support/chara_fixture.h"

using charatest::cTestChara;

namespace {

class SearchTest : public charatest::CharaTest {
protected:
    // A chara whose screen box is 10 x 10 round (cx, cy).
    cChara* Add(int key, int cx, int cy, int inView = 1) {
        cTestChara& c = m_charas.emplace_back();
        c.InitChara(nullptr, nullptr, 0);
        c.m_nKey = key;
        c.m_bActing = 1;
        c.m_bInView = inView;
        c.m_nScrLeft = cx - 5;
        c.m_nScrRight = cx + 5;
        c.m_nScrTop = cy - 5;
        c.m_nScrBottom = cy + 5;
        m_list.push_back(&c);
        return &c;
    }
    std::deque<cTestChara> m_charas;
    std::vector<cChara*> m_list;
};

TEST_F(SearchTest, FilterTakesTheFirstInListOrder) {
    cChara* a = Add(1, 0, 0);
    cChara* b = Add(2, 0, 0);
    cChara* c = Add(3, 0, 0);
    TargetFilter f;
    EXPECT_EQ(FindTargetChara(m_list, f), a);
    a->m_bDead = 1;
    EXPECT_EQ(FindTargetChara(m_list, f), b);
    f.excludeKey = 1;
    f.key = 2;
    EXPECT_EQ(FindTargetChara(m_list, f), c);
    f = {};
    b->m_Def.m_nInvincible = 1;
    c->m_Def.m_nInvincible = 2;
    f.excludeInvincible1 = 1;
    EXPECT_EQ(FindTargetChara(m_list, f), c);
    f.excludeInvincible2 = 1;
    EXPECT_EQ(FindTargetChara(m_list, f), nullptr);
    f = {};
    b->m_Def.m_bBlockChara = 1;
    f.excludeBlockCharas = 1;
    EXPECT_EQ(FindTargetChara(m_list, f), c);
    f = {};
    c->m_Def.m_nCharaId = 7;
    f.byId = 1;
    f.charaId = 7;
    EXPECT_EQ(FindTargetChara(m_list, f), c);
    f.charaId = 8;
    EXPECT_EQ(FindTargetChara(m_list, f), nullptr);
}

// The variable filter of each search, with INT_MIN against -1 and 3 and a
// variable number beyond the chara's variables.
TEST_F(SearchTest, VariableFilterOfEachSearch) {
    cChara* a = Add(1, 0, 0);
    cChara* b = Add(2, 50, 0);
    a->m_vVars[4] = 5;
    b->m_vVars[4] = INT_MIN;
    std::vector<std::pair<cChara*, int>> table = {{b, 1}, {a, 1}};
    struct Case {
        int value, op, variable;
        cChara* want;
    };
    const Case cases[] = {{-1, 6, 4, a}, {-1, 7, 4, nullptr}, {3, 6, 4, nullptr}, {3, 7, 4, a}, {0, 5, 4, b}, {5, 0, 4, a}, {5, 0, 9, nullptr},
                          {5, 0, -1, nullptr}, {2, 6, 4, b}};
    for (const Case& k : cases) {
        TargetFilter f;
        f.byVariable = 1;
        f.variable = k.variable;
        f.value = k.value;
        f.op = k.op;
        // a comes first in every search: first in the list, last in the
        // table, nearest to (0, 0).
        EXPECT_EQ(FindTargetChara(m_list, f), k.want) << k.value << " " << k.op << " " << k.variable;
        EXPECT_EQ(FindTargetCharaById(table, 1, 1, 0, f), k.want) << k.value << " " << k.op << " " << k.variable;
        EXPECT_EQ(FindNearestTargetChara(0, 0, m_list, 1, f), k.want) << k.value << " " << k.op;
    }
}

TEST_F(SearchTest, TableReadsFromTheEndByNumberAndGroup) {
    cChara* a = Add(1, 0, 0);
    cChara* b = Add(2, 0, 0);
    a->m_nGroup = 1;
    b->m_nGroup = 2;
    std::vector<std::pair<cChara*, int>> table = {{a, 3}, {b, 3}, {nullptr, 3}, {a, 4}};
    TargetFilter f;
    EXPECT_EQ(FindTargetCharaById(table, 3, 1, 0, f), b);
    EXPECT_EQ(FindTargetCharaById(table, 3, 0, 1, f), a);
    EXPECT_EQ(FindTargetCharaById(table, 4, 0, 2, f), nullptr);
    EXPECT_EQ(FindTargetCharaById(table, 5, 1, 0, f), nullptr);
}

TEST_F(SearchTest, NearestByModeAndTies) {
    cChara* far = Add(1, 300, 0);
    cChara* tieA = Add(2, 10, 20);  // |10| + |20| = 30
    cChara* tieB = Add(3, 25, 5);   // 30 as well, later in the list
    cChara* outside = Add(4, 1, 1, 0);
    TargetFilter f;
    EXPECT_EQ(FindNearestTargetChara(0, 0, m_list, 0, f), tieA);
    EXPECT_EQ(FindNearestTargetChara(0, 0, m_list, 1, f), outside);
    EXPECT_EQ(FindNearestTargetChara(0, 0, m_list, 2, f), tieA);
    tieA->m_bActing = 0;
    EXPECT_EQ(FindNearestTargetChara(0, 0, m_list, 2, f), tieB);
    // Mode 0 falls back on charas out of view only when none in view qualifies.
    tieB->m_bDead = 1;
    far->m_bDead = 1;
    EXPECT_EQ(FindNearestTargetChara(0, 0, m_list, 0, f), outside);
    EXPECT_EQ(FindNearestTargetChara(0, 0, m_list, 2, f), nullptr);
}

TEST_F(SearchTest, NearestCharaFollowsTheStageAndSkipsKindTwo) {
    cChara* inView = Add(1, 100, 100);
    cChara* outside = Add(2, 0, 0, 0);
    cTestChara me;
    me.m_nScrLeft = -2, me.m_nScrRight = 2, me.m_nScrTop = -2, me.m_nScrBottom = 2;
    const int saved = g_Stage.m_bHitInViewOnly;
    g_Stage.m_bHitInViewOnly = 0;
    EXPECT_EQ(NearestToMe(me, m_list), inView);  // mode 0: in view first
    inView->m_Def.m_nInvincible = 2;
    EXPECT_EQ(NearestToMe(me, m_list), outside);
    g_Stage.m_bHitInViewOnly = 1;
    EXPECT_EQ(NearestToMe(me, m_list), nullptr);
    inView->m_Def.m_nInvincible = 1;
    EXPECT_EQ(FindNearestChara(0, 0, m_list), inView);
    g_Stage.m_bHitInViewOnly = saved;
}

}  // namespace
