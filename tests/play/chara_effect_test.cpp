// The effect machine of chara effects: counted and timed runs, backward runs
// from the reversed working copies, back and forth, repeats, and a chara
// starting its definition's effect.
#include <gtest/gtest.h>

#include "play/chara.h"
#include "play/chara_computer.h"
#include "play/chara_effect.h"
#include "records/database.h"

namespace {

class CharaEffectTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = g_Database;
        // Entry 1: burst 0 -> 30 over 5 tenths; 2: blink of 10 tenths, every
        // 3 frames; 3: burst 32 -> 32 over 5 tenths; 4: burst of duration 0.
        g_Database.m_vecCharaEffect.assign(5, cDbCharaEffect{});
        Set(0, 0, {0, 0, 0, 0, 0});
        Set(1, 1, {5, 0, 30, 0, 0});
        Set(2, 6, {10, 3, 0, 0, 0});
        Set(3, 1, {5, 32, 32, 0, 0});
        Set(4, 1, {0, 0, 6, 0, 0});
        g_Database.MakeWorkingCopies();
        PrepareCharaEffectSlots();
    }
    void TearDown() override {
        g_Database = m_saved;
        for (auto& t : g_vCharaEffectSlots) t.clear();
    }
    static void Set(int id, int kind, std::initializer_list<int> p) {
        cDbCharaEffect& e = g_Database.m_vecCharaEffect[size_t(id)];
        e.m_nKind = kind;
        int i = 0;
        for (int v : p) e.m_nParam[i++] = v;
    }
    // Steps until the effect is over; the count of steps (limit + 1 when it
    // never ends).
    static int StepsToEnd(cChara& c, int limit = 1000) {
        for (int i = 1; i <= limit; ++i)
            if (StepCharaEffect(c) == 1) return i;
        return limit + 1;
    }
    cDatabase m_saved;
};

TEST_F(CharaEffectTest, RunsAndTheirEnds) {
    struct Case {
        const char* name;
        int id, mode, repeat, steps;
    } cases[] = {
        {"counted forward ends past E", 1, 0, 0, 31},
        {"counted backward", 1, 1, 0, 31},
        {"blink of 10 tenths ends on the 61st step", 2, 0, 0, 61},
        {"S = E runs on its timer", 3, 0, 0, 31},
        {"duration 0 counts as 1", 4, 0, 0, 7},
        {"there and back", 1, 2, 0, 62},
        {"repeat never ends", 1, 0, 1, 1001},
        {"there and back, repeated", 1, 2, 1, 1001},
        {"timed and repeated", 2, 0, 1, 1001},
    };
    for (const Case& t : cases) {
        cCharaComputer c;
        StartCharaEffect(c, t.id, t.mode, t.repeat);
        EXPECT_EQ(c.m_nCharaEffect, t.id) << t.name;
        EXPECT_EQ(StepsToEnd(c), t.steps) << t.name;
    }
}

TEST_F(CharaEffectTest, ValuesForwardBackwardAndBack) {
    cCharaComputer c;
    StartCharaEffect(c, 1, 1, 0);
    EXPECT_EQ(c.m_Effect.m_bReversed, 1);
    EXPECT_EQ(c.m_Effect.m_dValue, 30);
    EXPECT_EQ(c.m_Effect.m_dStep, 1);
    StepCharaEffect(c);
    EXPECT_EQ(c.m_Effect.m_dValue, 29);
    // Mode 2: 0 up to 30, then the reversed run from 30 down, then over.
    StartCharaEffect(c, 1, 2, 0);
    for (int i = 0; i < 31; ++i) StepCharaEffect(c);
    EXPECT_EQ(c.m_Effect.m_bReversed, 1);
    EXPECT_EQ(c.m_Effect.m_dValue, 30);
    EXPECT_EQ(c.m_Effect.m_nMode, 2);
    StepCharaEffect(c);
    EXPECT_EQ(c.m_Effect.m_dValue, 29);
    // A repeated forward run starts again at S.
    StartCharaEffect(c, 1, 0, 1);
    for (int i = 0; i < 31; ++i) StepCharaEffect(c);
    EXPECT_EQ(c.m_Effect.m_dValue, 0);
    EXPECT_EQ(c.m_Effect.m_bReversed, 0);
}

TEST_F(CharaEffectTest, ReversedPreparationSwapsInsideTheWorkingCopy) {
    const auto& work = g_Database.m_vecCharaEffectWork;
    EXPECT_EQ(work[1].m_nParam[1], 30);
    EXPECT_EQ(work[1].m_nParam[2], 0);
    EXPECT_EQ(g_Database.m_vecCharaEffect[1].m_nParam[1], 0) << "the table itself is kept";
    EXPECT_EQ(work[2].m_nParam[1], 3) << "a blink keeps its interval";
    EXPECT_EQ(CharaEffectAt(1, 1).m_lpDef, &work[1]);
    EXPECT_EQ(CharaEffectAt(0, 1).m_lpDef, &g_Database.m_vecCharaEffect[1]);
    EXPECT_EQ(CharaEffectAt(1, 2).m_nEnd, 10);
}

TEST_F(CharaEffectTest, CharaStartsItsDefinitionsEffect) {
    cEdChara def;
    def.m_nCharaEffect = 1;
    def.m_nCharaEffectA = 1;
    def.m_nCharaEffectB = 1;
    cCharaComputer c;
    c.InitChara(&def, nullptr, 0);
    EXPECT_EQ(c.m_nCharaEffect, 1);
    EXPECT_EQ(c.m_Effect.m_bReversed, 1);
    EXPECT_EQ(c.m_Effect.m_bRepeat, 1);
    EXPECT_EQ(c.m_Effect.m_dValue, 30);
    // Entry 0 is no effect.
    StartCharaEffect(c, 0, 0, 0);
    EXPECT_EQ(c.m_nCharaEffect, 0);
}

}  // namespace
