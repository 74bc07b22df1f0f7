// tovaro-data with stage files: byte-exact resave of a normalised stage, a
// readable dump, a damaged file refused.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>

#include "platform/cp932.h"
#include "platform/fs.h"
#include "records/stage.h"
#include "tests/records/test_util.h"
#include "tests/support/run_tool.h"

namespace {

using tool_test::RunResult;
using tool_test::RunTool;
using tool_test::WriteBytes;

// A stage with something in every part, normalised: read once as the
// player reads it (inheritance taken, references checked) and saved.
std::vector<uint8_t> RichStage() {
    cStage s;
    s.m_strName = SJ("森のステージ");
    s.m_nWidth = 50;
    s.m_nHeight = 20;
    s.m_nUnused1 = -3;
    s.m_nSpeedLevel = 13;
    s.m_dGravity = 0.35;
    s.m_vecRankingSwitch = {1, 0, 1, 0, 1};
    s.m_RemoveChara.m_bRight = 1;
    s.m_vecBlockPalette.resize(3);
    s.m_vecBlockPalette[2].m_nGraphic = 6;
    s.m_vecCharaPalette.resize(2);
    s.m_vecCharaPalette[1].m_nGraphic = 4;
    s.m_vecCharaPalette[1].m_vecFlow.resize(1);
    s.m_vecCharaPalette[1].m_vecFlow[0].m_nId = 2;
    s.m_vecPlacedBlock.resize(2);
    s.m_vecPlacedBlock[1].m_nPaletteSource = PAL_STAGE;
    s.m_vecPlacedBlock[1].m_nPaletteIndex = 2;
    s.m_vecPlacedBlock[1].m_vecInherit[2] = 1;
    s.m_vecPlacedBlock[1].m_nX = 9;
    s.m_vecPlacedChara.resize(1);
    s.m_vecPlacedChara[0].m_nGraphic = 1;
    s.m_vecPlacedChara[0].m_nSide = 0;
    s.m_vecPlacedItem.resize(1);
    s.m_vecBackground.resize(2);
    s.m_vecBackground[1].m_strFile = "sky.bmp";
    s.m_vecNameEntry.resize(3);
    s.m_vecNameEntry[1].m_strName = "abc";
    cStage normalised;
    EXPECT_TRUE(normalised.LoadStageBytes(s.SaveBytes(), "rich"));
    return normalised.SaveBytes();
}

TEST(StageTool, ResaveIsByteExactAndDumpIsReadable) {
    rec_test::ScratchDir dir;
    const auto bytes = RichStage();
    WriteBytes(dir.File("a.stg4_001"), bytes);
    const RunResult resave = RunTool("resave stage " + dir.File("a.stg4_001") + " " + dir.File("b"));
    ASSERT_EQ(resave.status, 0) << resave.output;
    EXPECT_EQ(*platform::ReadWholeFile(dir.File("b")), bytes);

    const RunResult dump = RunTool("dump stage " + dir.File("a.stg4_001"));
    EXPECT_EQ(dump.status, 0);
    for (const char* needle :
         {"file version 1000", "m_strName = \"森のステージ\"", "m_nSpeedLevel = 13", "m_nSubSteps = 3",
          "m_vecRankingSwitch (5) = [1, 0, 1, 0, 1]", "m_RemoveChara:", "m_vecBlockPalette (3):",
          "m_vecPlacedBlock (2):", "m_nX = 9", "m_vecPlacedChara (1):", "m_vecBackground (2):",
          "m_strFile = \"sky.bmp\"", "m_vecNameEntry (3):", "[1] = \"abc\""})
        EXPECT_NE(dump.output.find(needle), std::string::npos) << needle << "\n" << dump.output.substr(0, 3000);
}

TEST(StageTool, DamagedStageIsRefused) {
    rec_test::ScratchDir dir;
    auto bytes = RichStage();
    bytes.pop_back();
    WriteBytes(dir.File("cut"), bytes);
    const RunResult r = RunTool("resave stage " + dir.File("cut") + " " + dir.File("out"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("end code"), std::string::npos) << r.output;
    EXPECT_FALSE(platform::PathExists(dir.File("out")));
}

}  // namespace
