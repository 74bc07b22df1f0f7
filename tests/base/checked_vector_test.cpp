#include "base/checked_vector.h"

#include "base/log.h"
#include "base/quit.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

using testsupport::TempWorkDir;

namespace {

struct Twelve {
    int a = 0, b = 0, c = 0;
};

class CheckedTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_bQuit = 0;
        ASSERT_TRUE(CreateReport("Report_Game.txt"));
        SetDebugLog(1, "ZI_Vare.txt");
        m_nCloses = CloseRequestCount();
    }
    void TearDown() override {
        SetDebugLog(0, "ZI_Vare.txt");
        g_bQuit = 0;
    }
    // The report and the debug log hold the same lines.
    std::string Logged() {
        std::string report = dir.ReadFile("Report_Game.txt");
        std::string debug = dir.Exists("ZI_Vare.txt") ? dir.ReadFile("ZI_Vare.txt") : "";
        EXPECT_EQ(report, debug);
        return report;
    }
    void ExpectFatal(int closes) {
        EXPECT_EQ(g_bQuit.load(), 1);
        EXPECT_EQ(CloseRequestCount(), m_nCloses + closes);
    }
    TempWorkDir dir;
    int m_nCloses = 0;
};

}  // namespace

TEST_F(CheckedTest, BadIndexReportsQuitsAndGivesElementZero) {
    cCheckedVector<int> v = {10, 20, 30};
    int& r = v.at(-1);
    EXPECT_EQ(&r, &v[0]);
    EXPECT_EQ(Logged(), "err V[-1] ( 3 , 4 )\n");
    ExpectFatal(1);

    cCheckedVector<Twelve> w(2);
    w[0].a = 5;
    EXPECT_EQ(w.at(2).a, 5);
    EXPECT_EQ(Logged(), "err V[-1] ( 3 , 4 )\nerr V[2] ( 2 , 12 )\n");
    ExpectFatal(2);
}

TEST_F(CheckedTest, GoodIndexIsSilent) {
    cCheckedVector<int> v = {1, 2, 3};
    v.at(2) = 9;
    const cCheckedVector<int>& cv = v;
    EXPECT_EQ(cv.at(2), 9);
    v.Fill(4);
    EXPECT_EQ(v, (cCheckedVector<int>{4, 4, 4}));
    EXPECT_EQ(Logged(), "");
    EXPECT_EQ(g_bQuit.load(), 0);
    EXPECT_EQ(CloseRequestCount(), m_nCloses);
}

TEST_F(CheckedTest, EmptyVectorGivesAFreshDefaultElement) {
    cCheckedVector<std::string> v;
    std::string& s = v.at(0);
    EXPECT_EQ(s, "");
    s = "scribbled by the caller";
    EXPECT_EQ(v.at(0), "");  // the next failure starts from a default again
    EXPECT_TRUE(v.empty());
    EXPECT_EQ(Logged(), "err V[0] ( 0 , 32 )\nerr V[0] ( 0 , 32 )\n");
    ExpectFatal(2);
}

TEST_F(CheckedTest, ListAccessAndFallback) {
    cCheckedList<int> l = {7, 8};
    EXPECT_EQ(l.at(1), 8);
    EXPECT_EQ(g_bQuit.load(), 0);
    int& f = l.at(2);
    EXPECT_EQ(f, 0);
    EXPECT_EQ(Logged(), "err L[2] ( 2 , 4 )\n");
    ExpectFatal(1);
    EXPECT_EQ(&l.at(-3), &f);  // one fallback element per element type
}

TEST(CheckedList, InsertAtPositions) {
    struct Case {
        long long index;
        std::list<int> want;
    } cases[] = {
        {0, {9, 1, 2}}, {1, {1, 9, 2}}, {2, {1, 2, 9}}, {5, {1, 2, 9}}, {-1, {1, 2, 9}},
    };
    for (const auto& c : cases) {
        cCheckedList<int> l = {1, 2};
        l.InsertAt(c.index, 9);
        EXPECT_EQ(static_cast<const std::list<int>&>(l), c.want) << c.index;
    }
}
