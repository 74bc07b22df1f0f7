// Where definitions find their palettes: the process-wide context (the
// common palette, the installed stage palettes) and nested scopes.
#include <gtest/gtest.h>

#include "records/common_palette.h"
#include "tests/records/def_test_util.h"

namespace {

cEdChara ReferringTo(int8_t source, int16_t index) {
    cEdChara c;
    c.m_nPaletteSource = source;
    c.m_nPaletteIndex = index;
    c.m_vecInherit[0] = 1;
    return c;
}

// Saved without checks, then loaded where the test says.
std::vector<uint8_t> Unchecked(cEdChara c) {
    const cDefContextScope scope(def_test::ContextOver<cEdChara>(nullptr, nullptr));
    const int8_t source = c.m_nPaletteSource;
    const int16_t index = c.m_nPaletteIndex;
    auto bytes = c.SaveBytes();
    // The save reset the reference against the empty palettes: put it back
    // (field 1 and 2 follow the field count).
    bytes[8] = static_cast<uint8_t>(source);
    std::memcpy(bytes.data() + 9, &index, 2);
    return bytes;
}

TEST(PaletteContext, ProcessWideContextUsesTheCommonAndInstalledStagePalettes) {
    std::vector<cEdChara> stage(3);
    stage[2].m_strName = "stage two";
    const std::vector<cEdBlock> blocks(1);
    const std::vector<cEdItem> items(1);
    const cPaletteSet set{&blocks, &stage, &items};

    const auto toStage = Unchecked(ReferringTo(PAL_STAGE, 2));
    cEdChara c;
    ASSERT_TRUE(c.LoadBytes(toStage, "c"));
    EXPECT_EQ(c.m_nPaletteSource, PAL_NONE);  // the start: one default stage entry

    SetStagePalettes(&set);
    ASSERT_TRUE(c.LoadBytes(toStage, "c"));
    EXPECT_EQ(c.m_strName, "stage two");
    EXPECT_EQ(CurrentDefContext().stage.Charas(), 3);
    SetStagePalettes(nullptr);
    EXPECT_EQ(CurrentDefContext().stage.Charas(), 1);

    // The common palette is g_CommonPalette.
    const cCommonPalette saved = g_CommonPalette;
    g_CommonPalette.m_vecCharaPalette.resize(2);
    g_CommonPalette.m_vecCharaPalette[1].m_strName = "common one";
    ASSERT_TRUE(c.LoadBytes(Unchecked(ReferringTo(PAL_COMMON, 1)), "c"));
    EXPECT_EQ(c.m_strName, "common one");
    g_CommonPalette = saved;
}

TEST(PaletteContext, ScopesNestAndRestore) {
    std::vector<cEdItem> a(2), b(5);
    {
        const cDefContextScope outer(def_test::ContextOver(&a));
        EXPECT_EQ(CurrentDefContext().common.Items(), 2);
        {
            const cDefContextScope inner(def_test::ContextOver(&b));
            EXPECT_EQ(CurrentDefContext().common.Items(), 5);
        }
        EXPECT_EQ(CurrentDefContext().common.Items(), 2);
    }
    EXPECT_EQ(CurrentDefContext().common.Items(), static_cast<int>(g_CommonPalette.m_vecItemPalette.size()));
}

}  // namespace
