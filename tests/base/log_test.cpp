#include "base/error_box.h"
#include "base/log.h"
#include "base/quit.h"
#include "platform/cp932.h"
#include "platform/message_box.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <sstream>
#include <thread>

using testsupport::TempWorkDir;

namespace {

class LogTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_bQuit = 0;
        SetDebugLog(0, "ZI_Vare.txt");
    }
    void TearDown() override {
        SetDebugLog(0, "ZI_Vare.txt");
        g_bQuit = 0;
    }
    TempWorkDir dir;
};

}  // namespace

TEST_F(LogTest, ReportTruncatedAtStartAndAppendedPerLine) {
    dir.WriteFile("Report_Game.txt", "left from the last run\n");
    ASSERT_TRUE(CreateReport("Report_Game.txt"));
    EXPECT_EQ(dir.ReadFile("Report_Game.txt"), "");
    EXPECT_TRUE(ReportLog("first"));
    // A text with "%" is written as it is; only the f-variants format.
    EXPECT_TRUE(ReportLog("100% %s %d %n"));
    EXPECT_TRUE(ReportLogf("n=%d %s", 7, "x"));
    EXPECT_EQ(dir.ReadFile("Report_Game.txt"), "first\n100% %s %d %n\nn=7 x\n");

    // The path is remembered absolute: a later working folder does not matter.
    {
        TempWorkDir other;
        EXPECT_TRUE(ReportLog("elsewhere"));
    }
    EXPECT_EQ(dir.ReadFile("Report_Game.txt"), "first\n100% %s %d %n\nn=7 x\nelsewhere\n");

    // A report that has gone is not made again; the line is dropped.
    std::filesystem::remove(dir.Path() / "Report_Game.txt");
    EXPECT_FALSE(ReportLog("lost"));
    EXPECT_FALSE(dir.Exists("Report_Game.txt"));
    EXPECT_FALSE(CreateReport("no\\such\\folder\\Report_Game.txt"));
}

TEST_F(LogTest, DebugLogOnlyWhenEnabledAndTruncatedOnFirstLine) {
    DebugLog("off");
    DebugLogf("off %d", 1);
    EXPECT_FALSE(dir.Exists("ZI_Vare.txt"));

    dir.WriteFile("ZI_Vare.txt", "old run\n");
    SetDebugLog(1, "ZI_Vare.txt");
    DebugLog("50% done %s");
    DebugLogText("plain");
    DebugLogf("v=%d", 3);
    EXPECT_EQ(dir.ReadFile("ZI_Vare.txt"), "50% done %s\nplain\nv=3\n");

    ASSERT_TRUE(CreateReport("Report_Game.txt"));
    EXPECT_TRUE(ReportLogfDebug("both %s", "%d"));
    EXPECT_EQ(dir.ReadFile("Report_Game.txt"), "both %d\n");
    EXPECT_EQ(dir.ReadFile("ZI_Vare.txt"), "50% done %s\nplain\nv=3\nboth %d\n");
}

TEST_F(LogTest, FatalPathsSetQuitAndAskToClose) {
    platform::CapturedMessageBoxes boxes;
    int before = CloseRequestCount();
    DebugLogFatal("broken %d", 1);  // the debug log is off: still fatal
    EXPECT_EQ(g_bQuit.load(), 1);
    EXPECT_EQ(CloseRequestCount(), before + 1);
    EXPECT_FALSE(dir.Exists("ZI_Vare.txt"));

    g_bQuit = 0;
    OutOfMemoryExit();
    EXPECT_EQ(g_bQuit.load(), 1);
    EXPECT_EQ(CloseRequestCount(), before + 2);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, SJ("メモリが不足しています！"));
    EXPECT_EQ(boxes.Boxes()[0].caption, SJ("エラー"));
}

TEST_F(LogTest, ErrorBoxesShowTextUnformatted) {
    platform::CapturedMessageBoxes boxes(platform::IDOK);
    ASSERT_TRUE(CreateReport("Report_Game.txt"));
    EXPECT_EQ(ReportLogfError("bad %s", "50%s"), true);
    EXPECT_EQ(ErrorBoxf("code %d", 5), platform::IDOK);
    EXPECT_EQ(DebugErrorBoxf("hidden"), 0);  // debug log off
    auto shown = boxes.Boxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "bad 50%s");
    EXPECT_EQ(shown[0].caption, SJ("エラー"));
    EXPECT_EQ(shown[0].type, platform::MB_OK);
    EXPECT_EQ(shown[1].text, "code 5");
    EXPECT_EQ(dir.ReadFile("Report_Game.txt"), "bad 50%s\n");
}

TEST_F(LogTest, FormattingGrowsPastFixedBuffers) {
    std::string big(6000, 'y');
    std::string out;
    FormatString(out, "<%s>", big.c_str());
    EXPECT_EQ(out, "<" + big + ">");
    EXPECT_EQ(Format("%s", big.c_str()).size(), 6000u);

    std::string s = "abc";
    s[1] = '\0';
    SyncStringLength(s);
    EXPECT_EQ(s, "a");
}

TEST_F(LogTest, LinesFromManyThreadsStayWhole) {
    ASSERT_TRUE(CreateReport("Report_Game.txt"));
    dir.WriteFile("ZI_Vare.txt", "old");
    SetDebugLog(1, "ZI_Vare.txt");
    // Lines longer than a stdio buffer take several writes each.
    constexpr int kThreads = 6, kLines = 40;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            std::string body(9000, static_cast<char>('a' + t));
            for (int i = 0; i < kLines; ++i) ReportLogfDebug("%d:%s", t, body.c_str());
        });
    }
    for (auto& th : threads) th.join();
    for (const char* file : {"Report_Game.txt", "ZI_Vare.txt"}) {
        std::istringstream in(dir.ReadFile(file));
        std::string line;
        int count = 0;
        while (std::getline(in, line)) {
            ++count;
            ASSERT_EQ(line.size(), 9002u) << file;
            char c = static_cast<char>('a' + (line[0] - '0'));
            EXPECT_EQ(line.find_first_not_of(c, 2), std::string::npos) << file;
        }
        EXPECT_EQ(count, kThreads * kLines) << file;
    }
}
