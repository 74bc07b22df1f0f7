// Damaged files of every data kind: each load ends in success or a reported
// failure, never a crash, within a second; what loads saves and reloads the
// same.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "records/cond.h"
#include "tools/data/data_kinds.h"
#include "records/ed_move.h"
#include "records/ed_shot.h"
#include "tests/records/db_test_files.h"
#include "tests/records/mutation.h"

namespace {

// Valid files with content in every part; kinds not listed use a fresh
// record (later kinds may add theirs here).
std::vector<std::vector<uint8_t>> Samples(const cDataKind& kind) {
    const std::string name = kind.szName;
    std::vector<std::vector<uint8_t>> out;
    if (name == "cond") {
        cCond c;
        c.m_nKind = COND_STATUS;
        c.m_nValue = 1234;
        c.m_nLeftSource = 2;
        c.m_nRightFlowVar = 1;
        out.push_back(c.SaveBytes());
        out.push_back(c.SaveBytesAs(100));
        out.push_back(c.SaveBytesAs(900));
    } else if (name == "condlist") {
        cCondList l;
        l.m_nCondMode = 1;
        l.m_vecCond.resize(3);
        l.m_vecCond[1].m_nKind = COND_DISTANCE;
        out.push_back(l.SaveBytes());
        out.push_back(l.SaveBytesAs(765));
    } else if (name == "keycond") {
        cKeyCond k;
        k.m_vecKey[3] = 1;
        k.m_nMaxFrames = 30;
        out.push_back(k.SaveBytes());
    } else if (name == "move") {
        cEdMove m;
        m.m_nAnime = 1;
        m.m_dReverseAccel = 0.5;
        out.push_back(m.SaveBytes());
        out.push_back(m.SaveBytesAs(157));
    } else if (name == "shot") {
        cEdShot s;
        s.m_nTrajectory = 5;
        s.m_nPower = 100;
        out.push_back(s.SaveBytes());
        out.push_back(s.SaveBytesAs(200));
    }
    for (const auto& table : dbtest::SampleFiles())
        if (name == table.kind) out.push_back(table.bytes);
    if (out.empty()) out.push_back(kind.pfnMake()->SaveBytes());
    return out;
}

// One test per kind, so that the kinds run side by side.
class Mutation : public ::testing::TestWithParam<size_t> {};

TEST_P(Mutation, KindSurvivesDamagedFiles) {
    const cDataKind& kind = DataKinds().at(GetParam());
    for (const auto& valid : Samples(kind)) {
        {
            auto rec = kind.pfnMake();
            ASSERT_TRUE(rec->LoadBytes(valid, "valid")) << kind.szName << ": " << LastDataFileError();
        }
        size_t nSilentFailures = 0, nUnstable = 0;
        const mutation::Summary s = mutation::Run(valid, [&](const std::vector<uint8_t>& bytes) {
            auto rec = kind.pfnMake();
            const bool ok = rec->LoadBytes(bytes, "mutant");
            if (!ok) {
                if (LastDataFileError().find("mutant") == std::string::npos) ++nSilentFailures;
                return false;
            }
            // What loads must save and load again to the same bytes.
            const auto saved = rec->SaveBytes();
            auto again = kind.pfnMake();
            if (!again->LoadBytes(saved, "resaved") || again->SaveBytes() != saved) ++nUnstable;
            return true;
        });
        EXPECT_GE(s.nTotal, 1000u) << kind.szName;
        EXPECT_GT(s.nRefused, 0u) << kind.szName;
        EXPECT_EQ(s.nSlow, 0u) << kind.szName << ": " << s.slowest;
        EXPECT_EQ(nSilentFailures, 0u) << kind.szName;
        EXPECT_EQ(nUnstable, 0u) << kind.szName;
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, Mutation, ::testing::Range<size_t>(0, DataKinds().size()),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                             return std::string(DataKinds().at(info.param).szName);
                         });

}  // namespace
