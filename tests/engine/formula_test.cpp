// The formula evaluator: texts against a small world, with the values,
// assignments, the error flag and the error boxes they leave.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "base/quit.h"
#include "base/thread.h"
#include "engine/formula.h"
#include "engine/status_op.h"
#include "platform/cp932.h"
#include "platform/message_box.h"
#include "records/system_data.h"
#include "tests/engine/status_fixture.h"

namespace {


class FormulaTest : public statustest::StatusWorld {
protected:
    // Evaluates with RunCode; the boxes' texts in UTF-8.
    int Run(const std::string& text) {
        platform::CapturedMessageBoxes captured;
        const int r = RunCode(text, m_self);
        m_boxes.clear();
        for (const auto& b : captured.Boxes()) m_boxes.push_back(platform::Cp932ToUtf8(b.text));
        return r;
    }
    int Eval(const std::string& text) {
        platform::CapturedMessageBoxes captured;
        ExprError = 0;
        const int v = EvalFormula(text, m_self);
        m_boxes.clear();
        for (const auto& b : captured.Boxes()) m_boxes.push_back(platform::Cp932ToUtf8(b.text));
        return v;
    }
    std::vector<std::string> m_boxes;
};

TEST_F(FormulaTest, Values) {
    m_self.m_vVars.at(2) = 6;
    m_self.m_Def.m_nAttack = 7;
    m_other.m_nHP = 80;
    struct Case {
        const char* text;
        int32_t value;
    } cases[] = {
        {"2 * (3 + 4)", 14},
        {"2*(3+4)", 2},  // one word: its "(" does not start a word
        {"1 + 2 * 3 - 4", 3},
        {"7 / 2", 3},
        {"-7 % 3", -1},
        {"-5", -5},
        {"3+4", 3},
        {"v2", 6},
        {"my.v2 * my.power", 42},
        {"tg2.hp", 80},
        {"tg1.hp + pl.hp", 200},
        {"my.time - sys.time", 0},
        {"time", 120},
        {"C", 0},
        {"2147483647 + 1", INT_MIN},  // wraps
        {"99999999999", INT_MAX},     // saturates
        {"-2147483648 / -1", INT_MIN},
        {"-2147483648 % -1", 0},
        {"((1 + 2) * (3 + 4)) % 5", 1},
        {"abc", 0},
        {"", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Eval(c.text), c.value);
        EXPECT_EQ(ExprError, 0);
        EXPECT_TRUE(m_boxes.empty());
    }
}

TEST_F(FormulaTest, Assignments) {
    m_self.m_vVars.at(2) = 9;
    EXPECT_EQ(Run("v1 = 3+4"), 1);
    EXPECT_EQ(m_self.m_vVars.at(1), 3);
    EXPECT_EQ(Run("v1=5"), 1);  // a single word: no assignment
    EXPECT_EQ(m_self.m_vVars.at(1), 3);
    EXPECT_EQ(Run("v1 = 2 - (0 - 3)"), 1);
    EXPECT_EQ(m_self.m_vVars.at(1), 5);
    EXPECT_EQ(Run("C = 7"), 1);
    EXPECT_EQ(g_Progress.m_vecCommonVar.at(0), 7);
    EXPECT_EQ(Run("S12 = C * 2"), 1);
    EXPECT_EQ(m_scene.m_vStageVars.at(12), 14);
    EXPECT_EQ(Run("fB = 5 fA = 6"), 1);
    EXPECT_EQ(m_vars[0], 6);
    EXPECT_EQ(m_vars[1], 5);
    EXPECT_EQ(Run("rA = rB + 1"), 1);
    EXPECT_EQ(m_vars[0], 6);
    EXPECT_EQ(Run("v3 = 5000000"), 1);
    EXPECT_EQ(m_self.m_vVars.at(3), 999999);
    EXPECT_EQ(Run("cid = 300"), 1);
    EXPECT_EQ(m_self.m_Def.m_nCharaId, 99);
    // The first "=" gives a number, which the second cannot take.
    EXPECT_EQ(Run("v1 = v2 = 3"), 0);
    EXPECT_EQ(m_self.m_vVars.at(1), 9);
    EXPECT_EQ(m_self.m_vVars.at(2), 9);
    EXPECT_EQ(m_boxes, (std::vector<std::string>{"代入先が不正です！"}));
}

TEST_F(FormulaTest, HPMaximaAndGauges) {
    EXPECT_EQ(Run("hp = 999999"), 1);
    EXPECT_EQ(m_self.m_nHP, 100);
    EXPECT_EQ(m_self.m_HPGauge.nTimer, 120);  // own HP changed: its gauge runs
    m_self.m_HPGauge.nTimer = 0;
    EXPECT_EQ(Run("mhp = 0"), 1);
    EXPECT_EQ(m_self.m_Def.m_nMaxHP, 1);
    EXPECT_EQ(m_self.m_nHP, 1);
    EXPECT_EQ(m_self.m_HPGauge.nTimer, 0);  // the maximum changed too
    EXPECT_EQ(Run("sp = sp - 10"), 1);
    EXPECT_EQ(m_self.m_nSP, 40);
    EXPECT_EQ(m_self.m_SPGauge.nTimer, 120);
    // Another chara's HP: no gauge, and the HP check when it falls below 1.
    EXPECT_EQ(Run("tg2.hp = tg2.hp - my.power * 2"), 1);
    EXPECT_EQ(m_scene.m_bDeathPending, 0);
    m_self.m_Def.m_nAttack = 50;
    EXPECT_EQ(Run("tg2.hp = tg2.hp - my.power * 2"), 1);
    EXPECT_EQ(m_other.m_nHP, 0);
    EXPECT_EQ(m_other.m_HPGauge.nTimer, 0);
    EXPECT_EQ(m_scene.m_bDeathPending, 1);
}

TEST_F(FormulaTest, TargetsAndObjects) {
    m_self.SetTargetSlot(0, &m_other, 0);
    EXPECT_EQ(Run("tg.hp = tg1.hp + 1"), 1);
    EXPECT_EQ(m_other.m_nHP, 81);
    // An empty slot ends the text with 0, without a box.
    EXPECT_EQ(Run("v1 = tg3.hp"), 0);
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(m_self.m_vVars.at(1), 0);
    // No chara after "sys.": 0, no box, no error.
    EXPECT_EQ(Eval("sys.hp + 5"), 0);
    EXPECT_EQ(ExprError, 0);
    EXPECT_TRUE(m_boxes.empty());
    // An unknown prefix before any operand is an error; later it is dropped.
    EXPECT_EQ(Run("foo.hp"), 0);
    EXPECT_EQ(m_boxes, (std::vector<std::string>{"オブジェクト \"foo.\" が認識できません！"}));
    EXPECT_EQ(Eval("v1 = 1.5"), 5);
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(FormulaTest, SystemValues) {
    m_scene.m_nTimeLeft = 999;
    m_scene.m_bNoTimeLimit = 1;
    EXPECT_EQ(Eval("time"), 999);
    g_Progress.m_nLives = kUnlimitedLives;
    EXPECT_EQ(Eval("life"), 100);
    g_SystemData.m_bCompat819 = 1;
    EXPECT_EQ(Eval("life"), 0);
    EXPECT_EQ(Run("life = 3"), 1);
    EXPECT_EQ(g_Progress.m_nLives, kUnlimitedLives);
    g_Progress.m_nLives = 2;
    EXPECT_EQ(Run("life = 300"), 1);
    EXPECT_EQ(g_Progress.m_nLives, 99);
    g_Stage.m_bAutoScrollX = 1;
    EXPECT_EQ(Run("scrlx = -1000"), 1);
    EXPECT_EQ(g_Stage.m_nAutoScrollSpeedX, -480);
    EXPECT_EQ(m_scene.m_ScrollX.m_bAutoOn, 1);
    EXPECT_DOUBLE_EQ(m_scene.m_ScrollX.m_dSpeed, -48.0 / g_Stage.m_dSubSteps);
}

TEST_F(FormulaTest, PositionsWarp) {
    EXPECT_EQ(Eval("x_scr"), 316);
    EXPECT_EQ(Eval("tg2.x_rel"), 100);
    MakeMap();
    m_scene.m_ScrollX.m_dPos = m_scene.m_ScrollY.m_dPos = 320;
    charatest::PlaceOnScreen(m_self, 600, 400, 32, 48);
    charatest::PlaceOnScreen(m_other, 700, 400, 32, 48);
    EXPECT_EQ(Run("y_abs = 20000"), 1);  // 16384: out of the stage, refused
    EXPECT_EQ(m_self.m_dY, 400);
    g_SystemData.m_bCompat896 = 1;
    EXPECT_EQ(Run("tg2.x_scr = 50 tg2.y_rel = 7"), 1);
    EXPECT_DOUBLE_EQ(m_other.m_dX, 320 + 50 - 16 + 0.5);  // centre on screen x 50
    EXPECT_EQ(Eval("tg2.y_rel"), 7);
    // Sight of the hero: its light radius.
    EXPECT_EQ(Run("pl.sight = 3"), 1);
    EXPECT_EQ(Hero().m_nLightRadius, 48);
}

TEST_F(FormulaTest, OldReduction) {
    EXPECT_EQ(Eval("1 + 2 + 3"), 6);
    g_SystemData.m_bCompat752 = 1;
    EXPECT_EQ(Eval("1 + 2 + 3"), 5);
    EXPECT_EQ(Eval("2 * 3 + 1"), 4);  // the 3 stays: 6 3 + 1
}

TEST_F(FormulaTest, Rand) {
    for (int i = 0; i < 20; ++i) {
        const int v = Eval("rand(5, 1)");
        EXPECT_GE(v, 1);
        EXPECT_LE(v, 5);
    }
    const int v = Eval("10 * rand((1 + 1), 2) + (3)");
    EXPECT_EQ(v, 23);
    EXPECT_EQ(Run("rand(5)"), 0);
    EXPECT_EQ(m_boxes, (std::vector<std::string>{"関数 rand の引数が不正です！"}));
    EXPECT_EQ(Run("rand()"), 0);
    EXPECT_EQ(m_boxes, (std::vector<std::string>{"関数 rand の引数が不正です！"}));
    EXPECT_EQ(Run("v1 = rand(1, (2)"), 0);
    EXPECT_EQ(m_boxes, (std::vector<std::string>{"\")\"が見つかりません！"}));
}

TEST_F(FormulaTest, ErrorsGoOnWithZero) {
    // Each failed group gives 0 and the rest of the text goes on.
    EXPECT_EQ(Run("v1 = (4 / 0) + (5 % 0) + 3"), 0);
    EXPECT_EQ(m_boxes, (std::vector<std::string>{"0除算が行われました！(4 / 0)", "0除算が行われました！(5 % 0)"}));
    EXPECT_EQ(m_self.m_vVars.at(1), 3);
    EXPECT_EQ(Run("v2 = 4 / 0"), 0);
    EXPECT_EQ(m_boxes, (std::vector<std::string>{"0除算が行われました！(v2 = 4 / 0)"}));
    EXPECT_EQ(Run("(1 + 2"), 0);
    EXPECT_EQ(m_boxes, (std::vector<std::string>{"\")\"が見つかりません！"}));
    // An operator without an operand closes the game through the checked
    // access; nothing outside the token list is read.
    EXPECT_EQ(Eval("- 5"), 0);
    EXPECT_EQ(g_bQuit.load(), 1);
    g_bQuit = 0;
    EXPECT_EQ(Eval("v1 ="), 0);
    EXPECT_EQ(g_bQuit.load(), 1);
    g_bQuit = 0;
}

TEST(StrMidTest, Cuts) {
    const std::string t = "abcdef";
    EXPECT_EQ(StrMid(t, 1, 3), "bcd");
    EXPECT_EQ(StrMid(t, -2, 4), "ab");
    EXPECT_EQ(StrMid(t, 6, 1), "");
    EXPECT_EQ(StrMid(t, 2, 0), "");
    EXPECT_EQ(StrMid(t, 2, -1), "cdef");
    EXPECT_EQ(StrMid(t, 4, 10), "ef");
    EXPECT_EQ(StrMid(std::string(6000, 'x'), 0, -1).size(), 5119u);
    EXPECT_EQ(StrMid(std::string(6000, 'x'), 5000, 500).size(), 119u);
}

// Long texts on the game thread: groups nested to the length limit, and
// splices that would grow a text past it.
TEST_F(FormulaTest, LongTextsOnTheGameThread) {
    struct Job {
        cChara* chara;
        std::string text;
        int value = 0;
    };
    auto runOnGameThread = [](Job& job) {
        ASSERT_TRUE(thGame.Start(
            [](void* arg) -> unsigned {
                Job& j = *static_cast<Job*>(arg);
                j.value = EvalFormula(j.text, *j.chara);
                return 0;
            },
            &job));
        thGame.Wait();
    };
    platform::CapturedMessageBoxes captured;
    Job nested{&m_self, std::string(2557, '(') + "7 * 6" + std::string(2557, ')')};
    ASSERT_EQ(nested.text.size(), 5119u);
    runOnGameThread(nested);
    EXPECT_EQ(nested.value, 42);
    // Each "(C1)" becomes "-999999": the text is cut at 5119 bytes, which
    // drops the "+ 5" at its end.
    g_Progress.m_vecCommonVar.at(1) = -999999;
    std::string grow;
    for (int i = 0; i < 1022; ++i) grow += "(C1) ";
    grow += "+ 5";
    Job growing{&m_self, grow};
    runOnGameThread(growing);
    EXPECT_EQ(growing.value, -999999);
    EXPECT_TRUE(captured.Boxes().empty());
}

}  // namespace
