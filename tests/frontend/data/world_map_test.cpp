// World map: defaults, resizing, the file at 1000 and of old versions,
// refusal of sizes that do not fit the grid, normalising and the look-ups.
#include <gtest/gtest.h>

#include "frontend/data/world_map.h"
#include "platform/cp932.h"
#include "tests/frontend/data/file_builder.h"

using player_test::FileBuilder;

namespace {

class WorldMapTest : public ::testing::Test {
protected:
    void SetUp() override { player_test::ResetPlayerGlobals(); }
    void TearDown() override { player_test::ResetPlayerGlobals(); }
};

TEST_F(WorldMapTest, DefaultsAndSetSize) {
    cWorldMap m;
    EXPECT_EQ(m.m_strWorldName, SJ("ワールド"));
    EXPECT_EQ(m.m_nStartX, 9);
    EXPECT_EQ(m.m_nStartY, 7);
    EXPECT_EQ(m.m_nBackColor, 16);
    EXPECT_EQ(m.m_nWidth, 20);
    EXPECT_EQ(m.m_nHeight, 15);
    EXPECT_EQ(m.m_nPitch, 32);
    EXPECT_EQ(m.m_nRowShift, 5);
    EXPECT_EQ(m.m_vecChip.size(), 480u);
    EXPECT_TRUE(m.m_vecPoint.empty());
    ASSERT_EQ(m.m_vecPointTemplate.size(), 1u);
    EXPECT_EQ(m.m_vecPointTemplate[0].m_strPointName, SJ("デフォルト"));
    ASSERT_EQ(m.m_vecPointTemplate[0].m_vecEntry.size(), 1u);
    EXPECT_EQ(m.m_vecPointTemplate[0].m_vecEntry[0].m_nVariationVar, 1);

    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 20; ++x) m.Chip(x, y) = 1 + x + 100 * y;
    ASSERT_TRUE(m.SetSize(33, 2));
    EXPECT_EQ(m.m_nPitch, 64);
    EXPECT_EQ(m.m_nRowShift, 6);
    EXPECT_EQ(m.m_vecChip.size(), 128u);
    EXPECT_EQ(m.Chip(19, 1), 120);
    EXPECT_EQ(m.Chip(0, 1), 101);
    EXPECT_EQ(m.Chip(20, 0), 0);

    const struct {
        int w, h, pitch, shift;
    } sizes[] = {{1, 1, 1, 0}, {2, 3, 2, 1}, {32, 1, 32, 5}, {20, 15, 32, 5}};
    for (const auto& s : sizes) {
        cWorldMap n;
        ASSERT_TRUE(n.SetSize(s.w, s.h));
        EXPECT_EQ(n.m_nPitch, s.pitch) << s.w;
        EXPECT_EQ(n.m_nRowShift, s.shift) << s.w;
        EXPECT_EQ(n.m_vecChip.size(), static_cast<size_t>(s.h * s.pitch));
    }
    for (auto [w, h] : {std::pair{0, 5}, std::pair{5, 0}, std::pair{-3, 2}}) {
        EXPECT_FALSE(m.SetSize(w, h));
        EXPECT_EQ(m.m_nWidth, 33);
        EXPECT_EQ(m.m_vecChip.size(), 128u);
    }
}

// A 2 x 2 map (pitch 2) with the given header fields and grid, one place
// and one template.
std::vector<uint8_t> SmallMap(uint32_t version, int w, int h, int pitch, int shift, std::vector<int32_t> grid,
                              int nAttr = 2, int pointX = 1) {
    FileBuilder b(version);
    b.I32(8).I32(w).I32(h).I32(pitch).I32(shift).I32(1).I32(0).I32(16).I32(1);
    b.I32(2).Str("w").Str("bg.bmp");
    b.I32(nAttr);
    for (int i = 0; i < nAttr; ++i) b.I32(3).I32(10 + i).I32(i & 1).I32(i).I32(2).Str("chip").Str("text");
    b.IntVec(grid);
    const int nEntryFields = version >= 758 ? 14 : (version >= 209 ? 11 : 10);
    auto point = [&](int x, int y) {
        b.I32(2).I32(x).I32(y).I32(1).Str("p");
        b.I32(1);  // one entry
        b.I32(nEntryFields);
        for (int i = 0; i < nEntryFields; ++i) b.I32(i == 0 ? 0 : 40 + i);
        b.I32(2).Str("e").Str("s01-1.stg4_1000");
    };
    b.I32(1);
    point(pointX, 0);
    b.I32(1);
    point(5, 5);  // templates are not normalised
    return b.Bytes();
}

TEST_F(WorldMapTest, Version1000FileRoundTripsExactly) {
    const auto bytes = SmallMap(1000, 2, 2, 2, 1, {0, 1, 1, 0});
    cWorldMap m;
    ASSERT_TRUE(m.LoadBytes(bytes, "WorldMap.dat")) << LastDataFileError();
    EXPECT_EQ(m.m_nWidth, 2);
    EXPECT_EQ(m.m_nStartX, 1);
    EXPECT_EQ(m.m_bBackPicture, 1);
    EXPECT_EQ(m.m_strBackPicture, "bg.bmp");
    EXPECT_EQ(m.m_vecChipAttr.at(1).m_nChipValue, 11);
    EXPECT_EQ(m.Chip(0, 1), 1);
    ASSERT_EQ(m.m_vecPoint.size(), 1u);
    const cWorldEntry& e = m.m_vecPoint[0].m_vecEntry.at(0);
    EXPECT_EQ(e.m_nPicture, 41);
    EXPECT_EQ(e.m_nNeedTotal, 50);
    EXPECT_EQ(e.m_nVariationValue, 53);
    EXPECT_EQ(e.m_strStageFile, "s01-1.stg4_1000");
    EXPECT_EQ(m.m_vecPointTemplate.at(0).m_nPointX, 5);
    EXPECT_EQ(m.SaveBytes(), bytes);
    const cWorldPoint* at = m.FindPointAt(1, 0);
    EXPECT_EQ(at, &m.m_vecPoint[0]);
    EXPECT_EQ(m.FindPointAt(0, 0), nullptr);
}

TEST_F(WorldMapTest, OldFilesAreRebuilt) {
    cWorldMap m;
    ASSERT_TRUE(m.LoadBytes(SmallMap(811, 2, 2, 2, 1, {0, 9, 2, 0}, 3), "811")) << LastDataFileError();
    ASSERT_EQ(m.m_vecChipAttr.size(), 10u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(m.m_vecChipAttr[i].m_nChipPicture, i);
        EXPECT_EQ(m.m_vecChipAttr[i].m_nMoveAttr, i < 5 ? 1 : 0);
        EXPECT_EQ(m.m_vecChipAttr[i].m_strChipName, i < 5 ? SJ("移動不可") : SJ("移動可"));
        EXPECT_EQ(m.m_vecChipAttr[i].m_strChipText, "");
    }
    EXPECT_EQ(m.m_vecChipAttr[1].m_nChipValue, 11);  // read values stay
    EXPECT_EQ(m.Chip(1, 0), 9);                      // valid with ten chips
    EXPECT_EQ(m.m_vecPoint.at(0).m_vecEntry.at(0).m_nNeedTotal, 50);
    EXPECT_EQ(m.m_vecPoint.at(0).m_vecEntry.at(0).m_nVariationVar, 52);

    ASSERT_TRUE(m.LoadBytes(SmallMap(208, 2, 2, 2, 1, {0, 0, 0, 0}, 12), "208")) << LastDataFileError();
    EXPECT_EQ(m.m_vecChipAttr.size(), 10u);
    const cWorldEntry& e = m.m_vecPoint.at(0).m_vecEntry.at(0);
    EXPECT_EQ(e.m_nCondOp, 49);
    EXPECT_EQ(e.m_nNeedTotal, 0);
    EXPECT_EQ(e.m_nVariationVar, 1);  // not stored before 758: the default
}

TEST_F(WorldMapTest, SizesThatDoNotFitTheGridAreRefused) {
    struct Case {
        const char* what;
        int w, h, pitch, shift;
        std::vector<int32_t> grid;
    };
    const Case cases[] = {
        {"pitch not 1 << shift", 2, 2, 4, 1, {0, 0, 0, 0, 0, 0, 0, 0}},
        {"pitch below the width", 3, 1, 2, 1, {0, 0, 0, 0}},
        {"grid shorter than height x pitch", 2, 3, 2, 1, {0, 0, 0, 0, 0}},
        {"shift too large", 2, 1, 0, 31, {0, 0}},
        {"negative shift", 1, 1, 1, -1, {0}},
        {"zero width", 0, 2, 1, 0, {0, 0}},
        {"negative height", 1, -2, 1, 0, {0, 0}},
    };
    for (const Case& c : cases) {
        cWorldMap m;
        EXPECT_FALSE(m.LoadBytes(SmallMap(1000, c.w, c.h, c.pitch, c.shift, c.grid, 2, 0), "WorldMap.dat")) << c.what;
        EXPECT_NE(LastDataFileError().find("does not fit its grid"), std::string::npos) << LastDataFileError();
        EXPECT_EQ(m.m_nWidth, 20);
    }
    // A grid longer than needed is fine, and a stored count of 0 keeps the
    // grid the map had.
    cWorldMap m;
    EXPECT_TRUE(m.LoadBytes(SmallMap(1000, 2, 2, 2, 1, {0, 0, 0, 0, 1, 1}), "long"));
    EXPECT_FALSE(m.LoadBytes(SmallMap(1000, 2, 4, 2, 1, {}), "none"));  // the kept grid is 6 cells
    EXPECT_TRUE(m.LoadBytes(SmallMap(1000, 2, 3, 2, 1, {}), "none")) << LastDataFileError();
    EXPECT_EQ(m.m_vecChip.size(), 6u);
}

TEST_F(WorldMapTest, NormalizeOnLoad) {
    cWorldMap m;
    // Cells -1 and 2 (with two chips) become 0; the place at column 2 of a
    // two-column map is dropped; the start column 1 stays.
    ASSERT_TRUE(m.LoadBytes(SmallMap(1000, 2, 2, 2, 1, {-1, 1, 2, 1}, 2, 2), "n"));
    EXPECT_EQ(m.m_vecChip, (std::vector<int32_t>{0, 1, 0, 1}));
    EXPECT_TRUE(m.m_vecPoint.empty());
    EXPECT_EQ(m.m_vecPointTemplate.size(), 1u);

    m.m_nStartX = 7;
    m.m_nStartY = 2;
    m.Normalize();
    EXPECT_EQ(m.m_nStartX, 1);
    EXPECT_EQ(m.m_nStartY, 1);
}

TEST_F(WorldMapTest, FindPointByStageFile) {
    cWorldMap m;
    cWorldPoint p;
    p.m_vecEntry.resize(4);
    p.m_vecEntry[0].m_nKind = WORLD_ENTRY_ROAD;
    p.m_vecEntry[0].m_strStageFile = "road-1.stg4_1000";
    p.m_vecEntry[1].m_strStageFile = "c05-1.stg4_1000";
    p.m_vecEntry[2].m_strStageFile = "boss.stg4_1000";
    p.m_vecEntry[2].m_bVariation = 1;
    p.m_vecEntry[2].m_nVariationVar = 12;
    p.m_vecEntry[2].m_nVariationValue = 3;
    p.m_vecEntry[3].m_strStageFile = "c06-2.stg4_1000";
    m.m_vecPoint.push_back(p);
    struct Case {
        const char* base;
        int on, var, value;
        bool want;
    };
    const Case cases[] = {
        {"c05.", 0, 0, 0, true},     {"c05.", 1, 0, 0, false},   {"road.", 0, 0, 0, false},
        {"boss.", 1, 12, 3, true},   {"boss.", 1, 12, 4, false}, {"boss.", 0, 0, 0, false},
        {"c06-2.", 0, 0, 0, true},   {"c06.", 0, 0, 0, false},   {"c05", 0, 0, 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(m.FindPointByStageFile(c.base, c.on, c.var, c.value), c.want) << c.base << " " << c.on;
}

TEST_F(WorldMapTest, AppendFormat) {
    std::string s = "a";
    AppendFormat(s, "%d-%s", 5, "x");
    EXPECT_EQ(s, "a5-x");
    AppendFormat(s, "%s", std::string(6000, 'y').c_str());
    EXPECT_EQ(s.size(), 4u + 5119u);
}

}  // namespace
