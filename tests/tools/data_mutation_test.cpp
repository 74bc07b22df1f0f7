// Every player data kind of the data tool survives damaged files made from
// a file with content in its parts: each variant loads or is refused, never
// crashes or hangs, and what loads saves and loads again to the same bytes.
#include <gtest/gtest.h>

#include "frontend/data/boot_data.h"
#include "frontend/data/game_progress.h"
#include "frontend/data/option_data.h"
#include "frontend/data/ranking.h"
#include "frontend/data/world_map.h"
#include "tools/data/data_kinds.h"
#include "tests/frontend/data/file_builder.h"
#include "tests/records/mutation.h"

namespace {

std::vector<uint8_t> ValidFile(const std::string& kind) {
    if (kind == "progress") {
        cGameProgress p;
        p.Reset(3);
        p.m_vecSavedChara.clear();  // saved charas wait for the chara definition body
        p.m_vecOpened.resize(6);
        p.m_vecCommonVar.assign(8, 3);
        p.m_vecStartVar.assign(4, 2);
        p.UpdateStageRecord("a.", "a_c001_2.", 1, 1, 2, 40);
        p.m_strNextFile = "next.stg4_1000";
        return p.SaveBytes();
    }
    if (kind == "worldmap") {
        cWorldMap m;
        m.SetSize(3, 2);
        m.m_vecChipAttr.resize(2);
        m.m_vecChipAttr[1].m_strChipName = "c";
        m.Chip(1, 1) = 1;
        cWorldPoint pt;
        pt.m_nPointX = 2;
        pt.m_vecEntry.resize(2);
        pt.m_vecEntry[1].m_strStageFile = "s-1.stg4_1000";
        m.m_vecPoint.push_back(pt);
        return m.SaveBytes();
    }
    if (kind == "ranking") {
        cRanking r;
        r.m_vecTable.at(0).Insert("ab", 3);
        r.m_vecTable.at(2).Insert("", 6000);
        return r.SaveBytes();
    }
    if (kind == "options") return cOptionData().SaveBytes();
    if (kind == "free") {
        cFreeData f;
        f.m_strLastFile = "x.stg4_1000";
        return f.SaveBytes();
    }
    if (kind == "replaylist") {
        cReplayData r;
        r.m_strLastFile = "x.rpl4_1000";
        return r.SaveBytes();
    }
    return cBootData().SaveBytes();
}

TEST(PlayerDataMutationTest, DamagedFilesOfEveryKind) {
    player_test::ResetPlayerGlobals();
    for (const char* name : {"progress", "options", "free", "replaylist", "worldmap", "ranking", "boot"}) {
        SCOPED_TRACE(name);
        const cDataKind* kind = FindDataKind(name);
        ASSERT_NE(kind, nullptr);
        const auto valid = ValidFile(name);
        {
            auto rec = kind->pfnMake();
            ASSERT_TRUE(rec->LoadBytes(valid, name)) << LastDataFileError();
            EXPECT_EQ(rec->SaveBytes(), valid);
        }
        mutation::Options opt;
        opt.nRandomFlips = 500;
        size_t nUnstable = 0;
        const auto summary = mutation::Run(
            valid,
            [&](const std::vector<uint8_t>& b) {
                auto rec = kind->pfnMake();
                if (!rec->LoadBytes(b, "mutant")) return false;
                const auto saved = rec->SaveBytes();
                auto again = kind->pfnMake();
                if (!again->LoadBytes(saved, "resaved") || again->SaveBytes() != saved) ++nUnstable;
                return true;
            },
            opt);
        EXPECT_EQ(summary.nSlow, 0u) << summary.slowest;
        EXPECT_EQ(nUnstable, 0u);
        EXPECT_GT(summary.nRefused, 0u);
    }
    player_test::ResetPlayerGlobals();
}

}  // namespace
