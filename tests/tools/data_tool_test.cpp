// tovaro-data as people and scripts use it.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>

#include "platform/fs.h"
#include "records/cond.h"
#include "tools/data/data_kinds.h"
#include "records/ed_move.h"
#include "tests/records/test_util.h"
#include "tests/support/run_tool.h"

namespace {

using tool_test::RunResult;
using tool_test::RunTool;
using tool_test::WriteBytes;

std::vector<uint8_t> ReadBytes(const std::string& path) {
    auto b = platform::ReadWholeFile(path);
    return b ? *b : std::vector<uint8_t>{};
}

TEST(DataTool, HelpListsEveryKind) {
    const RunResult r = RunTool("--help");
    EXPECT_EQ(r.status, 0);
    for (const cDataKind& k : DataKinds()) EXPECT_NE(r.output.find(k.szName), std::string::npos) << k.szName;
    EXPECT_NE(r.output.find("resave KIND IN OUT"), std::string::npos);
    // Kinds are told in the user's words, not by the program's class names.
    for (const char* inner : {" cEd", "(cGame", " cCond", " cKeyCond", "version word"})
        EXPECT_EQ(r.output.find(inner), std::string::npos) << inner;
    EXPECT_EQ(RunTool("").status, 1);
    EXPECT_EQ(RunTool("resave cond onlyone").status, 1);
}

TEST(DataTool, ResaveEveryKindAtTheCurrentVersion) {
    rec_test::ScratchDir dir;
    for (const cDataKind& k : DataKinds()) {
        auto rec = k.pfnMake();
        rec->StripCR();  // the tool reads as the player does, without CRs
        const std::string in = dir.File(std::string(k.szName) + ".in");
        const std::string out = dir.File(std::string(k.szName) + ".out");
        WriteBytes(in, rec->SaveBytes());
        const RunResult r = RunTool(std::string("resave ") + k.szName + " " + in + " " + out);
        EXPECT_EQ(r.status, 0) << k.szName << ": " << r.output;
        EXPECT_EQ(ReadBytes(out), ReadBytes(in)) << k.szName;
    }
}

TEST(DataTool, ResaveUpgradesOldFiles) {
    rec_test::ScratchDir dir;
    cEdMove old;
    old.m_nAnime = 1;
    WriteBytes(dir.File("m.in"), old.SaveBytesAs(829));
    ASSERT_EQ(RunTool("resave move " + dir.File("m.in") + " " + dir.File("m.out")).status, 0);
    cEdMove expected;
    ASSERT_TRUE(expected.LoadBytes(old.SaveBytesAs(829), "m"));
    EXPECT_EQ(expected.m_nAnime, 2);
    EXPECT_EQ(ReadBytes(dir.File("m.out")), expected.SaveBytes());
}

TEST(DataTool, RefusedFilesGiveOneLineAndNoOutput) {
    rec_test::ScratchDir dir;
    cCond c;
    const auto valid = c.SaveBytes();
    auto newer = rec_test::FileOf(1001, std::vector<uint8_t>(valid.begin() + 4, valid.end()));
    const std::vector<uint8_t> cut(valid.begin(), valid.end() - 3);
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    for (const Case& cs : {Case{"newer", newer}, Case{"truncated", cut}}) {
        const std::string in = dir.File(std::string(cs.what) + ".in");
        const std::string out = dir.File(std::string(cs.what) + ".out");
        WriteBytes(in, cs.bytes);
        const RunResult r = RunTool("resave cond " + in + " " + out);
        EXPECT_EQ(r.status, 1) << cs.what;
        EXPECT_EQ(std::count(r.output.begin(), r.output.end(), '\n'), 1) << r.output;
        EXPECT_NE(r.output.find(in), std::string::npos) << r.output;
        EXPECT_FALSE(platform::PathExists(out)) << cs.what;
    }
    const RunResult missing = RunTool("resave cond " + dir.File("none") + " " + dir.File("none.out"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(RunTool("resave nosuchkind " + dir.File("none") + " " + dir.File("x")).status, 1);
}

TEST(DataTool, DumpPrintsFieldNames) {
    rec_test::ScratchDir dir;
    cCondList l;
    l.m_vecCond.resize(1);
    l.m_vecCond[0].m_nValue = 77;
    WriteBytes(dir.File("l"), l.SaveBytes());
    const RunResult r = RunTool("dump condlist " + dir.File("l"));
    EXPECT_EQ(r.status, 0);
    for (const char* needle : {"file version 1000", "m_nCondMode = 0", "m_vecCond (1):", "m_nValue = 77"})
        EXPECT_NE(r.output.find(needle), std::string::npos) << needle << "\n" << r.output;
}

TEST(DataTool, CheckNeedsAFolder) {
    rec_test::ScratchDir dir;
    // An empty folder is no game: the required system data is named.
    const RunResult empty = RunTool("check " + dir.Path().string());
    EXPECT_EQ(empty.status, 1) << empty.output;
    EXPECT_NE(empty.output.find("System.dat"), std::string::npos) << empty.output;
    EXPECT_EQ(RunTool("check " + dir.File("missing")).status, 1);
}

}  // namespace
