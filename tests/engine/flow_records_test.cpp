// The run records of flows are plain values: a copy keeps the pointers to
// the definitions it was made from (the chara re-points them), and a fresh
// record is idle.
#include <gtest/gtest.h>

#include "engine/anime_run.h"
#include "engine/flow.h"
#include "records/ed_flow.h"

TEST(FlowRecordsTest, FreshRecordsAreIdle) {
    cFlow f;
    EXPECT_EQ(f.m_bRunning + f.m_bPaused + f.m_bHalted + f.m_bRemove + f.m_nPc + f.m_nFrames, 0);
    EXPECT_EQ(f.m_lpDef, nullptr);
    EXPECT_TRUE(f.m_vCmds.empty() && f.m_vAnimeSchedule.empty() && f.m_lstArrange.empty());
    cFlowCmd c;
    EXPECT_EQ(c.m_nRemaining + c.m_nDuration + c.m_bLaunched + c.m_nDirCode, 0);
    cAnimeRun r;
    EXPECT_EQ(r.m_nOwnerKey + r.m_bPaused, 0);
}

TEST(FlowRecordsTest, CopiesKeepTheirDefinitionPointers) {
    cEdFlow def;
    def.m_vecCmd.resize(2);
    cFlow f;
    f.m_lpDef = &def;
    f.m_vCmds.resize(2);
    f.m_vCmds[1].m_lpDef = &def.m_vecCmd[1];
    f.m_vCmds[1].m_nDuration = 12;
    f.m_vAnimeSchedule.push_back(FlowAnimeEntry{6, 6, 3, 0, 12, 18, 1});
    f.m_lstArrange.push_back(cArrange{1, 2, 3, 0, 5});
    f.m_anVars[0] = 7;
    const cFlow g = f;
    EXPECT_EQ(g.m_lpDef, &def);
    EXPECT_EQ(g.m_vCmds[1].m_lpDef, &def.m_vecCmd[1]);
    EXPECT_EQ(g.m_vCmds[1].m_nDuration, 12);
    EXPECT_EQ(g.m_vAnimeSchedule, f.m_vAnimeSchedule);
    EXPECT_EQ(g.m_lstArrange.size(), 1u);
    EXPECT_EQ(g.m_anVars[0], 7);
}
