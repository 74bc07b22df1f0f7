// A file of an older version, read and saved as the player does, saves the
// same bytes again when read once more: the first resave is final.
#include <gtest/gtest.h>

#include "tools/data/data_kinds.h"
#include "records/data_record.h"

namespace {

TEST(UpgradeFixedPoint, ResavingAnUpgradedFileOfEveryKindIsStable) {
    const int32_t savedStrip = g_bStripCR;
    g_bStripCR = 1;  // as the player's start-up sets it
    const uint32_t versions[] = {60, 100, 173, 500, 766, 829, 900, 931, 933, 942, 980, 999};
    for (const cDataKind& kind : DataKinds()) {
        int nUpgraded = 0;
        for (uint32_t v : versions) {
            SCOPED_TRACE(std::string(kind.szName) + " from version " + std::to_string(v));
            auto fresh = kind.pfnMake();
            const std::vector<uint8_t> old = fresh->SaveBytesAs(v);
            auto first = kind.pfnMake();
            if (!first->LoadBytes(old, kind.szName)) continue;  // a version the kind never had
            ++nUpgraded;
            const std::vector<uint8_t> once = first->SaveBytes();
            auto second = kind.pfnMake();
            ASSERT_TRUE(second->LoadBytes(once, kind.szName)) << LastDataFileError();
            EXPECT_EQ(second->SaveBytes(), once);
        }
        EXPECT_GT(nUpgraded, 0) << kind.szName;
    }
    g_bStripCR = savedStrip;
}

}  // namespace
