// The demo builder writes a game that starts in every mode: each stage has
// a hero standing on a floor, and 8-bit colour has its blend tables.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/fs.h"
#include "records/stage.h"
#include "tests/support/demo_template.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(DemoBuilder, StagesHaveAHeroOnAFloorAndEveryPaletteCycleHasItsBlendTable) {
    testsupport::TempWorkDir dir;
    testsupport::CopyDemo(dir.Path());
    int nStages = 0;
    for (const auto& e : fs::directory_iterator(dir.Path() / "data" / "stg4")) {
        if (!e.is_regular_file()) continue;
        SCOPED_TRACE(e.path().filename().string());
        ++nStages;
        cStage stage;
        ASSERT_TRUE(stage.LoadStageFile("data\\stg4\\" + e.path().filename().string())) << LastDataFileError();
        const int hero = stage.FindHeroIndex();
        ASSERT_NE(hero, -1);
        const cEdChara& h = stage.m_vecPlacedChara[static_cast<size_t>(hero)];
        bool bFloor = false;
        for (const cEdBlock& b : stage.m_vecPlacedBlock)
            bFloor = bFloor || (b.m_nX == h.m_nX && b.m_nY == h.m_nY + 1 && b.m_nGraphic != 0 &&
                                b.m_nHitMode == cEdBlock::HIT_SOLID);
        EXPECT_TRUE(bFloor);
    }
    EXPECT_EQ(nStages, 9);  // six stages and copies of the first three as the challenge's c01-1 to c03-1

    for (int n = 0; n < 24; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "bmp/hbt/hbt%02d.dat", n);
        SCOPED_TRACE(name);
        const auto bytes = platform::ReadWholeFile((dir.Path() / name).string());
        ASSERT_TRUE(bytes.has_value());
        ASSERT_EQ(bytes->size(), 65536u);
        for (int a = 0; a < 256; a += 17)
            for (int b = 0; b < 256; b += 13) EXPECT_EQ((*bytes)[a * 256 + b], (*bytes)[b * 256 + a]);
        // A colour mixed with itself stays: the demo's named colours 0..16
        // are all different; the ramp after them repeats some colours, whose
        // first entry stands for them.
        if (n == 0) {
            for (int a = 0; a < 17; ++a) EXPECT_EQ((*bytes)[a * 256 + a], a);
            for (int a = 17; a < 256; ++a) EXPECT_LE((*bytes)[a * 256 + a], a);
        }
    }
}

}  // namespace
