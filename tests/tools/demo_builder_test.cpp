// The demo builder writes a game that starts in every mode: each stage has
// a hero standing on a floor, and 8-bit colour has its blend tables. Its
// pictures are as large as what the program draws from them, the title
// picture carries the game's name, the hero looks unlike the enemies, and
// the English texts fit where the program shows them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/fs.h"
#include "records/stage.h"
#include "records/system_data.h"
#include "tools/mkdemo/canvas.h"
#include "tests/support/demo_template.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// An 8-bit bitmap as the builder writes it: width, height, palette indexes.
struct Picture {
    int w = 0, h = 0;
    std::vector<uint8_t> px;
    uint8_t At(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
};

Picture ReadPicture(const fs::path& path) {
    Picture p;
    const auto bytes = platform::ReadWholeFile(path.string());
    if (!bytes || bytes->size() < 54) return p;
    auto u32 = [&](size_t at) {
        const auto& b = *bytes;
        return static_cast<uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | b[at + 3] << 24);
    };
    const uint32_t offset = u32(10);
    const int w = static_cast<int>(u32(18)), h = static_cast<int>(u32(22));
    const size_t stride = (static_cast<size_t>(w) + 3) & ~size_t{3};
    if (w <= 0 || h <= 0 || offset + stride * h > bytes->size()) return p;
    p.w = w;
    p.h = h;
    p.px.resize(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.px[static_cast<size_t>(y) * w + x] = (*bytes)[offset + stride * (h - 1 - y) + x];
    return p;
}

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

// The smallest size of each picture: the largest rectangle the program
// reads from it (text boxes and list pages read the window picture up to
// the whole screen; the play reads the status bar, icons and gauges, the
// banners and digits, 15 rows of chara, item, block and shot cells, and
// the gauges over charas below row 208 of the overlay sheet).
TEST(DemoBuilder, PicturesAreAsLargeAsWhatIsDrawnFromThem) {
    testsupport::TempWorkDir dir;
    testsupport::CopyDemo(dir.Path());
    const struct {
        const char* file;
        int w, h;
    } sizes[] = {
        {"Window.bmp", 640, 480},     {"Title.bmp", 640, 480},     {"StatusWindow.bmp", 640, 20},
        {"Accessory.bmp", 128, 176},  {"Word.bmp", 320, 192},      {"Symbol.bmp", 416, 16},
        {"Character1.bmp", 32, 480},  {"Character2.bmp", 32, 480}, {"Item.bmp", 64, 480},
        {"Item_Mini.bmp", 32, 240},   {"Block.bmp", 32, 480},      {"Shot.bmp", 128, 480},
        {"Mark.bmp", 128, 218},       {"WorldMapChip.bmp", 96, 32}, {"WorldEvent.bmp", 64, 96},
        {"GameMode.bmp", 32, 224},
    };
    for (const auto& s : sizes) {
        SCOPED_TRACE(s.file);
        const Picture p = ReadPicture(dir.Path() / "bmp" / s.file);
        EXPECT_GE(p.w, s.w);
        EXPECT_GE(p.h, s.h);
    }
    // The title's panel (120, 120, 400, 90) shows the game's name.
    const Picture title = ReadPicture(dir.Path() / "bmp/Title.bmp");
    ASSERT_EQ(title.w, 640);
    int letters = 0;
    for (int y = 125; y < 205; ++y)
        for (int x = 125; x < 515; ++x) letters += title.At(x, y) == demo::YELLOW;
    EXPECT_GT(letters, 1000);
}

// Each stage's hero and enemies use different rows of the chara sheet, and
// those rows are drawn differently.
TEST(DemoBuilder, TheHeroLooksUnlikeTheEnemies) {
    testsupport::TempWorkDir dir;
    testsupport::CopyDemo(dir.Path());
    const Picture sheet = ReadPicture(dir.Path() / "bmp/Character1.bmp");
    ASSERT_GE(sheet.h, 480);
    auto cell = [&](int n) {
        std::vector<uint8_t> out;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) out.push_back(sheet.At(x, (n % 15) * 32 + y));
        return out;
    };
    for (const char* name : {"Meadow", "Caves", "Castle"}) {
        SCOPED_TRACE(name);
        cStage stage;
        ASSERT_TRUE(stage.LoadStageFile(std::string("data\\stg4\\") + name + ".stg4_001"));
        const int hero = stage.FindHeroIndex();
        ASSERT_NE(hero, -1);
        const int heroGraphic = stage.m_vecPlacedChara[static_cast<size_t>(hero)].m_nGraphic;
        ASSERT_LT(heroGraphic, 15);
        int enemies = 0;
        for (const cEdChara& c : stage.m_vecPlacedChara) {
            if (c.m_nSide == 0) continue;
            ++enemies;
            ASSERT_LT(c.m_nGraphic, 15);
            EXPECT_NE(c.m_nGraphic, heroGraphic) << c.m_strName;
            EXPECT_NE(cell(c.m_nGraphic), cell(heroGraphic)) << c.m_strName;
            EXPECT_NE(cell(c.m_nGraphic), cell(0)) << c.m_strName << " is drawn empty";
        }
        EXPECT_GT(enemies, 0);
    }
}

// The English texts fit where the program draws them, a cell of the normal
// font (16 dots) a letter: the options' values after their labels, the
// replay list's sort line, the map menu's notice, the ranking panel's title
// and footer (272 dots wide), the option note's lines (placed by their
// measured width, so at most 26 letters).
TEST(DemoBuilder, EnglishTextsFitTheirPlaces) {
    testsupport::TempWorkDir dir;
    const std::string cmd = std::string(TOVARO_BINARY_DIR) + "/tovaro-mkdemo --english '" + dir.Path().string() + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    cSystemData sd;
    ASSERT_TRUE(sd.LoadFile("data\\System.dat"));
    auto chars = [](const std::string& s) { return static_cast<int>(s.size()); };
    auto valueX = [&](int row) { return std::max(224, 16 * (chars(sd.m_vecOptionMenu.at(row).m_strLabel) + 6)); };
    for (const auto& v : sd.m_vecRankingModeLabels) EXPECT_LE(valueX(4) + 16 * chars(v), 638) << v;
    for (const auto& v : sd.m_vecReplaySaveLabels) EXPECT_LE(valueX(6) + 16 * chars(v), 638) << v;
    for (const auto& v : sd.m_vecReplayOrderLabels) EXPECT_LE(valueX(7) + 16 * chars(v), 638) << v;
    for (int order = 0; order < 4; ++order)
        EXPECT_LE(50 + 16 * (chars(sd.m_vecTexts.at(32)) + 2 + chars(sd.m_vecTexts.at(35 + order))), 638) << order;
    EXPECT_LE(16 * chars(sd.m_vecTexts.at(16)), 640);
    for (int category = 5; category <= 9; ++category)
        EXPECT_LE(16 * (9 + chars(sd.m_vecTexts.at(category))), 272) << sd.m_vecTexts.at(category);
    EXPECT_LE(16 * chars(sd.m_vecTexts.at(28)), 272);
    size_t start = 0;
    while (start < sd.m_strOptionNote.size()) {
        size_t end = sd.m_strOptionNote.find("\r\n", start);
        if (end == std::string::npos) end = sd.m_strOptionNote.size();
        EXPECT_LE(end - start, 26u) << sd.m_strOptionNote.substr(start, end - start);
        start = end + 2;
    }
    for (const cCmd& c : sd.m_vecOptionMenu) EXPECT_LE(64 + 16 * chars(c.m_strLabel), 638) << c.m_strLabel;
}

}  // namespace
