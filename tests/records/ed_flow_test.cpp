// Flows and flow commands as stored data: layout, reading templates,
// optional parts across versions, checks, test-play flows, damaged files.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "records/cmd_kinds.h"
#include "records/ed_flow.h"
#include "tests/records/mutation.h"
#include "tests/records/test_util.h"

namespace {

constexpr int C = cEdFlowCmd::FAMILY_CHARA;
constexpr int I = cEdFlowCmd::FAMILY_ITEM;

using rec_test::Hex;
std::vector<uint8_t> WithVersion(uint32_t v, const std::vector<uint8_t>& body) { return rec_test::FileOf(v, body); }

// Bodies written as an older program wrote them: no checks, no upgrades.
std::vector<uint8_t> CmdBody(uint32_t v, cEdFlowCmd c, const std::vector<std::vector<uint8_t>>& nestedFlows = {}) {
    cByteWriter w;
    c.SaveBase(w, v);
    w.WriteInt32(0);  // move
    w.WriteInt32(0);  // shot
    if (v >= 764) w.WriteInt32(0);
    w.WriteInt32(static_cast<int32_t>(nestedFlows.size()));
    for (const auto& b : nestedFlows) w.WriteBytes(b.data(), b.size());
    w.WriteInt32(static_cast<int32_t>(c.m_vecParam.size()));
    for (int32_t p : c.m_vecParam) w.WriteInt32(p);
    return w.Take();
}
std::vector<uint8_t> FlowBody(uint32_t v, cEdFlow f, const std::vector<std::vector<uint8_t>>& cmds) {
    cByteWriter w;
    f.SaveBase(w, v);
    w.WriteInt32(0);  // conditions
    w.WriteInt32(0);  // key conditions
    w.WriteInt32(static_cast<int32_t>(cmds.size()));
    for (const auto& b : cmds) w.WriteBytes(b.data(), b.size());
    return w.Take();
}

cEdFlowCmd Cmd(int family, int kind, std::vector<int32_t> params = {}) {
    cEdFlowCmd c;
    c.m_nFamily = static_cast<int8_t>(family);
    c.m_nKind = static_cast<int8_t>(kind);
    c.m_vecParam = std::move(params);
    return c;
}

class FlowTest : public ::testing::Test {
protected:
    void TearDown() override {
        SetFlowRefSource(nullptr);
        SetTestPlayFlowPolicy(false, false);
    }
    // Tables of sizes 3 (anime sets) to 11 (music) and three sword types.
    void InstallDatabase() {
        int n = 3;
        for (FlowRefTable t : {FlowRefTable::AnimeSet, FlowRefTable::Anime, FlowRefTable::CharaBitmap, FlowRefTable::SwordType,
                               FlowRefTable::Effect, FlowRefTable::CharaEffect, FlowRefTable::ScreenEffect,
                               FlowRefTable::Picture, FlowRefTable::Sound, FlowRefTable::Bgm})
            m_Db.Set(t, n++);
        m_Db.Set(FlowRefTable::SwordType, 3);
        m_Db.vecSwordDurations = {{6000, 5000}, {100, 200}, {9000, 2000, -500}};
        SetFlowRefSource(&m_Db);
    }
    cFlowRefCounts m_Db;
};

// ---------------------------------------------------------------------------
// Layout

TEST_F(FlowTest, CommandAndFlowLayout) {
    cEdFlowCmd c = Cmd(C, CMD_CHANGE_FACING, {3});
    c.m_nTime = 0x0102;
    const auto cmdBody = Hex(R"(
        08 00 00 00                  # field count
        00 09 02 01 00 00 00 00 00 01 00 00   # family, kind, time, step, same frame, sound, on screen, anime
        01 00 00 00  01 00 00 00     # one string: the empty code
        00 00 00 00  00 00 00 00  00 00 00 00   # no move, shot, condition list
        00 00 00 00                  # no nested flows
        01 00 00 00  03 00 00 00     # one parameter
    )");
    EXPECT_EQ(c.SaveBytes(), WithVersion(1000, cmdBody));

    cEdFlow f;
    f.m_nId = 1;
    f.m_nTrigger = TRG_DAMAGED;
    f.m_nKeyInterval = 3;
    f.m_vecCmd.push_back(c);
    const auto flowHead = Hex(R"(
        0a 00 00 00  01 00 00 00 00 02 00 00 03 00   # ten fields
        01 00 00 00  01 00 00 00     # the name, empty
        00 00 00 00  00 00 00 00     # no conditions, no key conditions
        01 00 00 00                  # one command
    )");
    std::vector<uint8_t> flowBody = flowHead;
    flowBody.insert(flowBody.end(), cmdBody.begin(), cmdBody.end());
    const auto file = WithVersion(1000, flowBody);
    EXPECT_EQ(f.SaveBytes(), file);

    cEdFlow g;
    ASSERT_TRUE(g.LoadBytes(file, "flow")) << LastDataFileError();
    EXPECT_EQ(g.SaveBytes(), file);
    ASSERT_EQ(g.m_vecCmd.size(), 1u);
    EXPECT_EQ(g.m_vecCmd[0].m_nTime, 0x0102);
    EXPECT_NE(g.DumpText().find("m_vecParam (1)"), std::string::npos);
}

// Flows read from a file start with key interval 3, commands with sound
// on screen only 1, whatever the file leaves out.
TEST_F(FlowTest, ReadingTemplates) {
    EXPECT_EQ(cEdFlow().m_nKeyInterval, 0);
    EXPECT_EQ(cEdFlow::ForReading().m_nKeyInterval, 3);
    EXPECT_EQ(cEdFlowCmd().m_bSoundOnScreenOnly, 1);

    const auto nested = Hex("01 00 00 00  05   00 00 00 00   00 00 00 00 00 00 00 00 00 00 00 00");  // id 5 only
    cByteWriter w;
    w.WriteInt32(2);  // family and kind only
    w.Write<int8_t>(I);
    w.Write<int8_t>(ICMD_CHANGE_FLOW);
    w.WriteInt32(0);  // no strings
    for (int i = 0; i < 3; ++i) w.WriteInt32(0);
    w.WriteInt32(1);
    w.WriteBytes(nested.data(), nested.size());
    w.WriteInt32(0);
    const auto cmd = w.Take();

    cEdFlow f;
    ASSERT_TRUE(f.LoadBytes(WithVersion(1000, FlowBody(1000, cEdFlow(), {cmd})), "flow")) << LastDataFileError();
    ASSERT_EQ(f.m_vecCmd.size(), 1u);
    const cEdFlowCmd& c = f.m_vecCmd[0];
    EXPECT_EQ(c.m_bSoundOnScreenOnly, 1);
    EXPECT_EQ(c.m_vecParam, (std::vector<int32_t>{0, 0}));  // the kind's count
    ASSERT_EQ(c.m_vecFlow.size(), 1u);
    EXPECT_EQ(c.m_vecFlow[0].m_nId, 5);
    EXPECT_EQ(c.m_vecFlow[0].m_nKeyInterval, 3);
}

// A flow with all three optional parts written at 763, 764 and 766.
TEST_F(FlowTest, OptionalPartsAcrossVersions) {
    cEdFlow f;
    cEdFlowCmd c = Cmd(C, CMD_MOVE_STRAIGHT);
    c.m_spMove.Create().m_nSpeed = 25;
    c.m_spMove->m_nTarget = 2;
    c.m_spShot.Create().m_nCount = 3;
    cCondList& list = c.m_spCondList.Create();
    list.m_nCondMode = 1;
    list.m_bCondOnce = 1;
    list.m_vecCond.resize(1);
    list.m_vecCond[0].m_nKind = COND_COMMON_VAR;
    list.m_vecCond[0].m_nValue = 7;
    f.m_vecCmd.push_back(c);

    for (uint32_t v : {763u, 764u, 766u}) {
        cEdFlow g;
        ASSERT_TRUE(g.LoadBytes(f.SaveBytesAs(v), "flow")) << v << ": " << LastDataFileError();
        ASSERT_EQ(g.m_vecCmd.size(), 1u);
        const cEdFlowCmd& r = g.m_vecCmd[0];
        ASSERT_TRUE(r.m_spMove) << v;
        EXPECT_EQ(r.m_spMove->m_nSpeed, 25) << v;
        EXPECT_EQ(r.m_spMove->m_nTarget, 0) << v;  // stored from 767
        ASSERT_TRUE(r.m_spShot) << v;
        EXPECT_EQ(r.m_spShot->m_nCount, 3) << v;
        if (v == 763) {
            EXPECT_FALSE(r.m_spCondList);
            continue;
        }
        ASSERT_TRUE(r.m_spCondList) << v;
        EXPECT_EQ(r.m_spCondList->m_nCondMode, 1) << v;
        EXPECT_EQ(r.m_spCondList->m_bCondOnce, 1) << v;
        if (v == 764) {
            EXPECT_TRUE(r.m_spCondList->m_vecCond.empty());
        } else {
            ASSERT_EQ(r.m_spCondList->m_vecCond.size(), 1u);
            EXPECT_EQ(r.m_spCondList->m_vecCond[0].m_nValue, 7);
        }
    }
    // The 764 file holds one more flag and the list's base body.
    EXPECT_EQ(f.SaveBytesAs(764).size() - f.SaveBytesAs(763).size(), 4u + 10u);
}

// The partner slot byte is read, kept and written as stored.
TEST_F(FlowTest, PartnerSlotKept) {
    cEdFlow f;
    f.m_bBindPartner = 1;
    f.m_nPartnerSlot = 3;
    cEdFlow g;
    ASSERT_TRUE(g.LoadBytes(f.SaveBytes(), "flow"));
    EXPECT_EQ(g.m_nPartnerSlot, 3);
    EXPECT_EQ(g.SaveBytes(), f.SaveBytes());
    cEdFlow old;
    old.m_nPartnerSlot = 9;
    ASSERT_TRUE(old.LoadBytes(f.SaveBytesAs(766), "flow"));
    EXPECT_EQ(old.m_nPartnerSlot, 9);  // not stored before 767
    EXPECT_EQ(old.m_bBindPartner, 1);
}

// Nested flows are read and upgraded before the command holding them.
TEST_F(FlowTest, NestedFlowsUpgradedFirst) {
    cEdFlow nestedFlow;
    nestedFlow.m_nTrigger = 2;
    const auto nested = FlowBody(700, nestedFlow, {CmdBody(700, Cmd(C, 24, {1, 5}))});
    const auto holder = CmdBody(700, Cmd(I, 9, {7}), {nested});  // old item 9: get item
    cEdFlow f;
    ASSERT_TRUE(f.LoadBytes(WithVersion(700, FlowBody(700, cEdFlow(), {holder})), "flow")) << LastDataFileError();
    const cEdFlowCmd& c = f.m_vecCmd.at(0);
    EXPECT_EQ(c.m_nKind, ICMD_GET_ITEM);
    EXPECT_EQ(c.m_vecParam, (std::vector<int32_t>{7, 0}));
    const cEdFlow& n = c.m_vecFlow.at(0);
    EXPECT_EQ(n.m_nTrigger, 3);
    EXPECT_EQ(n.m_vecCmd.at(0).m_nKind, CMD_GET_ITEM);
    EXPECT_EQ(n.m_vecCmd.at(0).m_vecParam, (std::vector<int32_t>{1, 5}));
}

// Upgrades run on load, parts included, before the final check.
TEST_F(FlowTest, OldCommandsThroughFiles) {
    cEdFlowCmd r;
    ASSERT_TRUE(r.LoadBytes(WithVersion(890, CmdBody(890, Cmd(C, CMD_MESSAGE, {8}))), "cmd"));
    ASSERT_EQ(r.m_vecParam.size(), 21u);
    EXPECT_EQ(r.m_vecParam[0], 9);

    ASSERT_TRUE(r.LoadBytes(WithVersion(763, CmdBody(763, Cmd(C, CMD_FLOW_CONTROL, {1, 2, 3, 4, 5}))), "cmd"));
    ASSERT_TRUE(r.m_spCondList);  // given one by the upgrade
    EXPECT_EQ(r.m_vecParam, (std::vector<int32_t>{1, 2, 3, 4, 0}));  // p[4] cleared at 971

    cEdFlowCmd warp = Cmd(C, CMD_WARP, {4});
    warp.m_spMove.Create().m_nMoveMode = 2;
    cEdFlowCmd w;
    ASSERT_TRUE(w.LoadBytes(warp.SaveBytesAs(766), "cmd"));
    ASSERT_TRUE(w.m_spMove);
    EXPECT_EQ(w.m_spMove->m_nMoveMode, 5);
    EXPECT_EQ(w.m_spMove->m_nAnchor, 2);
    EXPECT_EQ(w.m_vecParam, (std::vector<int32_t>{0}));
}

// ---------------------------------------------------------------------------
// Checks

TEST_F(FlowTest, SwordTimeFromItsParts) {
    InstallDatabase();
    struct {
        int nType;
        int nTypeOut;
        int nTime;
    } cases[] = {
        {0, 0, 9999},  // 6000 + 5000 held at 9999
        {1, 1, 300},
        {2, 2, 9499},  // held at 9999 after the second part, then 500 less
        {3, 0, 9999},  // no such sword type
        {-1, 0, 9999},
    };
    for (auto k : cases) {
        cEdFlowCmd c = Cmd(C, CMD_SWORD);
        c.m_spShot.Create().m_nTrajectory = static_cast<int8_t>(k.nType);
        c.Validate();
        EXPECT_EQ(c.m_spShot->m_nTrajectory, k.nTypeOut) << k.nType;
        EXPECT_EQ(c.m_nTime, k.nTime) << k.nType;
    }
    cEdFlowCmd bare = Cmd(C, CMD_SWORD);
    bare.m_nTime = 77;
    bare.Validate();
    EXPECT_EQ(bare.m_nTime, 77);

    // The same through a file: the load checks the command.
    cEdFlowCmd c = Cmd(C, CMD_SWORD);
    c.m_spShot.Create().m_nTrajectory = 1;
    cEdFlowCmd r;
    ASSERT_TRUE(r.LoadBytes(WithVersion(1000, CmdBody(1000, c)), "cmd"));  // shot flag 0 in CmdBody
    EXPECT_EQ(r.m_nTime, 0);
    ASSERT_TRUE(r.LoadBytes(c.SaveBytes(), "cmd"));
    EXPECT_EQ(r.m_nTime, 300);
}

TEST_F(FlowTest, ReferenceChecksPerKind) {
    InstallDatabase();  // anime sets 3, anime 4, bitmaps 5, effects 7 ... music 12
    struct {
        int nFamily, nKind;
        std::vector<int32_t> in, out;
    } cases[] = {
        {C, CMD_CHANGE_GRAPHIC, {4, 5, 0}, {4, 1, 0}},
        {C, CMD_CHANGE_GRAPHIC, {4, 4, 0}, {4, 4, 0}},
        {C, CMD_CHANGE_GRAPHIC, {4, -1, 0}, {4, 1, 0}},
        {C, CMD_CHANGE_GRAPHIC, {3, 99, 0}, {3, 99, 0}},
        {C, CMD_CHANGE_ANIME_SET, {3}, {0}},
        {C, CMD_CHANGE_ANIME_SET, {2}, {2}},
        {C, CMD_RUN_ANIME, {4, 9}, {1, 9}},
        {C, CMD_RUN_ANIME, {3, 9}, {3, 9}},
        {C, CMD_RUN_EFFECT, {7, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {C, CMD_RUN_CHARA_EFFECT, {8, 0, 0}, {1, 0, 0}},
        {C, CMD_RUN_SCREEN_EFFECT, {9, 0, 0}, {1, 0, 0}},
        {C, CMD_RUN_SCREEN_EFFECT, {8, 0, 0}, {8, 0, 0}},
        {C, CMD_SHOW_PICTURE, std::vector<int32_t>(20, 10), [] { std::vector<int32_t> v(20, 10); v[0] = 1; return v; }()},
        {C, CMD_PLAY_SE, {11}, {1}},
        {C, CMD_PLAY_BGM, {12, 0}, {1, 0}},
        {C, CMD_PLAY_BGM, {-5, 0}, {1, 0}},
        {I, ICMD_CHANGE_GRAPHIC, {4, 5, 0}, {4, 1, 0}},
        {I, ICMD_CHANGE_ANIME_SET, {3}, {0}},
        {I, ICMD_PLAY_BGM, {12, 0}, {1, 0}},
        // Parameters made exactly as many as the kind takes.
        {C, CMD_STATUS_OP, std::vector<int32_t>(20, 1), [] { std::vector<int32_t> v(25, 0); std::fill(v.begin(), v.begin() + 20, 1); return v; }()},
        {C, CMD_CHANGE_FACING, {1, 2, 3}, {1}},
        {I, ICMD_STATUS_OP, {}, std::vector<int32_t>(25, 0)},
        // Kinds outside the tables keep theirs.
        {C, 45, {1, 2, 3}, {1, 2, 3}},
        {C, -1, {1, 2, 3}, {1, 2, 3}},
        {I, 25, {1}, {1}},
        {2, 1, {1}, {1}},
    };
    for (auto& k : cases) {
        cEdFlowCmd c = Cmd(k.nFamily, k.nKind, k.in);
        c.Validate();
        EXPECT_EQ(c.m_vecParam, k.out) << "family " << k.nFamily << " kind " << k.nKind;
    }

    cEdFlowCmd c = Cmd(C, CMD_WAIT);
    c.m_nAnime = 4;
    c.m_nSound = 11;
    c.Validate();
    EXPECT_EQ(c.m_nAnime, 0);
    EXPECT_EQ(c.m_nSound, 0);
    c.m_nAnime = 3;
    c.m_nSound = -1;
    c.Validate();
    EXPECT_EQ(c.m_nAnime, 3);
    EXPECT_EQ(c.m_nSound, 0);

    // Nested flows are checked with their command.
    cEdFlowCmd holder = Cmd(I, ICMD_CHANGE_FLOW);
    holder.m_vecFlow.resize(1);
    holder.m_vecFlow[0].m_vecCmd.push_back(Cmd(C, CMD_PLAY_SE, {11, 5}));
    holder.Validate();
    EXPECT_EQ(holder.m_vecFlow[0].m_vecCmd[0].m_vecParam, (std::vector<int32_t>{1}));
}

TEST_F(FlowTest, NoDatabaseNoReferenceChecks) {
    cEdFlowCmd c = Cmd(C, CMD_PLAY_SE, {500, 1});
    c.m_nSound = 500;
    c.Validate();
    EXPECT_EQ(c.m_vecParam, (std::vector<int32_t>{500}));
    EXPECT_EQ(c.m_nSound, 500);
}

TEST_F(FlowTest, PaletteReferences) {
    const cPaletteCounts common{3, 4, 5}, stage{6, 7, 8};
    struct {
        int nKind;
        int nSource, nEntry;
        int nSourceOut, nEntryOut;
    } shotCases[] = {
        {CMD_SHOT, 1, 5, 0, 0}, {CMD_SHOT, 1, 4, 1, 4}, {CMD_SHOT, 2, 8, 0, 0},  {CMD_SHOT, 2, 7, 2, 7},
        {CMD_SHOT, 0, 99, 0, 99}, {CMD_SHOT, 3, 99, 3, 99}, {CMD_SWORD, 2, -1, 0, 0}, {CMD_WAIT, 1, 99, 1, 99},
    };
    for (auto k : shotCases) {
        cEdFlowCmd c = Cmd(C, k.nKind);
        cEdShot& s = c.m_spShot.Create();
        s.m_nItemSource = static_cast<int8_t>(k.nSource);
        s.m_nItem = static_cast<int16_t>(k.nEntry);
        c.ValidateRefs(common, stage);
        EXPECT_EQ(s.m_nItemSource, k.nSourceOut) << k.nKind << " " << k.nSource << " " << k.nEntry;
        EXPECT_EQ(s.m_nItem, k.nEntryOut) << k.nKind << " " << k.nSource << " " << k.nEntry;
    }
    struct {
        int nKind;
        int nSource, nEntry, nEntryOut;
    } summonCases[] = {
        {CMD_SUMMON_BLOCK, 0, 3, 1}, {CMD_SUMMON_BLOCK, 0, 2, 2}, {CMD_SUMMON_BLOCK, 1, 5, 5},
        {CMD_SUMMON_CHARA, 1, 7, 1}, {CMD_SUMMON_CHARA, 1, 6, 6}, {CMD_SUMMON_CHARA, 0, 4, 1},
        {CMD_SUMMON_ITEM, 0, 5, 1},  {CMD_SUMMON_ITEM, 1, 7, 7},  {CMD_SUMMON_ITEM, 2, 99, 99},
    };
    for (auto k : summonCases) {
        cEdFlowCmd c = Cmd(C, k.nKind);
        cEdShot& s = c.m_spShot.Create();
        s.m_nSummonSource = static_cast<int8_t>(k.nSource);
        s.m_nSummonEntry = static_cast<int16_t>(k.nEntry);
        c.ValidateRefs(common, stage);
        EXPECT_EQ(s.m_nSummonEntry, k.nEntryOut) << k.nKind << " " << k.nSource << " " << k.nEntry;
    }
    struct {
        int nFamily, nKind;
        std::vector<int32_t> in, out;
    } getCases[] = {
        {C, CMD_GET_ITEM, {0, 5}, {0, 1}}, {C, CMD_GET_ITEM, {0, 4}, {0, 4}}, {C, CMD_GET_ITEM, {1, 8}, {1, 1}},
        {C, CMD_GET_ITEM, {2, 99}, {2, 99}}, {I, ICMD_GET_ITEM, {1, -2}, {1, 1}}, {I, ICMD_VANISH, {0, 99}, {0, 99}},
    };
    for (auto& k : getCases) {
        cEdFlowCmd c = Cmd(k.nFamily, k.nKind, k.in);
        c.ValidateRefs(common, stage);
        EXPECT_EQ(c.m_vecParam, k.out);
    }
    // Through a flow and a nested flow.
    cEdFlow f;
    f.m_vecCmd.push_back(Cmd(I, ICMD_CHANGE_FLOW, {0, 0}));
    f.m_vecCmd[0].m_vecFlow.resize(1);
    f.m_vecCmd[0].m_vecFlow[0].m_vecCmd.push_back(Cmd(C, CMD_GET_ITEM, {0, 5}));
    f.ValidateCommandRefs(common, stage);
    EXPECT_EQ(f.m_vecCmd[0].m_vecFlow[0].m_vecCmd[0].m_vecParam, (std::vector<int32_t>{0, 1}));
}

// ---------------------------------------------------------------------------
// Test-play flows

TEST_F(FlowTest, TestPlayFlowsDroppedOutsideTestPlays) {
    cEdFlowCmd c = Cmd(I, ICMD_CHANGE_FLOW, {0, 0});
    c.m_vecFlow.resize(3);
    for (int i = 0; i < 3; ++i) {
        c.m_vecFlow[i].m_nId = static_cast<int8_t>(i + 1);
        c.m_vecFlow[i].m_bTestPlayOnly = i != 1;
    }
    const auto file = c.SaveBytes();
    struct {
        bool bEditorTest, bKeep;
        size_t nFlows;
    } cases[] = {{false, false, 1}, {true, false, 3}, {false, true, 3}, {true, true, 3}};
    for (auto k : cases) {
        SetTestPlayFlowPolicy(k.bEditorTest, k.bKeep);
        cEdFlowCmd r;
        ASSERT_TRUE(r.LoadBytes(file, "cmd"));
        ASSERT_EQ(r.m_vecFlow.size(), k.nFlows) << k.bEditorTest << k.bKeep;
        if (k.nFlows == 1) {
            EXPECT_EQ(r.m_vecFlow[0].m_nId, 2);
        }
    }
}

// ---------------------------------------------------------------------------
// Unknown kinds, copies, damaged files

TEST_F(FlowTest, UnknownKindLoadsAndKeepsItsParameters) {
    for (int kind : {45, -1}) {
        cEdFlow f;
        f.m_vecCmd.push_back(Cmd(C, kind, {1, 2, 3}));
        const auto file = WithVersion(1000, FlowBody(1000, cEdFlow(), {CmdBody(1000, f.m_vecCmd[0])}));
        cEdFlow g;
        ASSERT_TRUE(g.LoadBytes(file, "flow")) << LastDataFileError();
        EXPECT_FALSE(g.m_vecCmd.at(0).HasKnownKind());
        EXPECT_EQ(g.m_vecCmd.at(0).m_vecParam, (std::vector<int32_t>{1, 2, 3}));
        EXPECT_EQ(g.SaveBytes(), file);
    }
}

TEST_F(FlowTest, CopiesOwnTheirParts) {
    cEdFlow f;
    f.m_vecCmd.push_back(Cmd(C, CMD_MOVE_STRAIGHT));
    f.m_vecCmd[0].m_spMove.Create().m_nSpeed = 5;
    f.m_vecCmd[0].m_vecFlow.resize(1);
    cEdFlow g = f;
    g.m_vecCmd[0].m_spMove->m_nSpeed = 9;
    g.m_vecCmd[0].m_vecFlow[0].m_nId = 4;
    EXPECT_EQ(f.m_vecCmd[0].m_spMove->m_nSpeed, 5);
    EXPECT_EQ(f.m_vecCmd[0].m_vecFlow[0].m_nId, 0);
}

TEST_F(FlowTest, CountsBoundedByTheBytesLeft) {
    cEdFlowCmd c = Cmd(C, CMD_WAIT);
    auto body = CmdBody(1000, c);
    // The last int32 is the parameter count.
    const int32_t huge = 0x7FFFFFFF;
    std::memcpy(body.data() + body.size() - 4, &huge, 4);
    cEdFlowCmd r;
    EXPECT_FALSE(r.LoadBytes(WithVersion(1000, body), "cmd"));
    EXPECT_NE(LastDataFileError().find("parameter count"), std::string::npos) << LastDataFileError();

    auto flowBody = FlowBody(1000, cEdFlow(), {});
    std::memcpy(flowBody.data() + flowBody.size() - 4, &huge, 4);  // command count
    cEdFlow f;
    EXPECT_FALSE(f.LoadBytes(WithVersion(1000, flowBody), "flow"));
}

TEST_F(FlowTest, DeepNestingRefused) {
    std::vector<uint8_t> flow = FlowBody(1000, cEdFlow(), {});
    for (int depth = 0; depth < 40; ++depth)
        flow = FlowBody(1000, cEdFlow(), {CmdBody(1000, Cmd(I, ICMD_CHANGE_FLOW), {flow})});
    cEdFlow f;
    EXPECT_FALSE(f.LoadBytes(WithVersion(1000, flow), "flow"));
    EXPECT_NE(LastDataFileError().find("nested"), std::string::npos) << LastDataFileError();

    flow = FlowBody(1000, cEdFlow(), {});
    for (int depth = 0; depth < 8; ++depth)
        flow = FlowBody(1000, cEdFlow(), {CmdBody(1000, Cmd(I, ICMD_CHANGE_FLOW), {flow})});
    EXPECT_TRUE(f.LoadBytes(WithVersion(1000, flow), "flow")) << LastDataFileError();
}

TEST_F(FlowTest, DamagedFilesNeverCrash) {
    InstallDatabase();
    cEdFlow f;
    f.m_vecCond.resize(1);
    f.m_vecCond[0].m_nKind = COND_STATUS;
    f.m_vecKeyCond.resize(2);
    f.m_vecCmd.push_back(Cmd(C, CMD_SWORD));
    f.m_vecCmd[0].m_spShot.Create();
    f.m_vecCmd.push_back(Cmd(C, CMD_MOVE_STRAIGHT));
    f.m_vecCmd[1].m_spMove.Create();
    f.m_vecCmd[1].m_spCondList.Create().m_vecCond.resize(1);
    f.m_vecCmd.push_back(Cmd(I, ICMD_CHANGE_FLOW, {0, 0}));
    f.m_vecCmd[2].m_vecFlow.resize(2);
    f.m_vecCmd[2].m_vecFlow[1].m_vecCmd.push_back(Cmd(C, CMD_STATUS_OP));
    f.m_vecCmd[2].m_strCode = "a = 1";
    const auto valid = f.SaveBytes();
    size_t nOk = 0;
    auto summary = mutation::Run(valid, [&](const std::vector<uint8_t>& b) {
        cEdFlow g;
        const bool ok = g.LoadBytes(b, "mutant");
        if (ok) {
            ++nOk;
            g.SaveBytes();  // a loaded flow always saves
        }
        return ok;
    });
    EXPECT_EQ(summary.nSlow, 0u) << summary.slowest;
    EXPECT_GT(summary.nRefused, 0u);
    EXPECT_GT(nOk, 0u);
    // Old layouts too.
    mutation::Options few;
    few.nRandomFlips = 300;
    summary = mutation::Run(
        f.SaveBytesAs(700),
        [](const std::vector<uint8_t>& b) {
            cEdFlow g;
            return g.LoadBytes(b, "mutant");
        },
        few);
    EXPECT_EQ(summary.nSlow, 0u) << summary.slowest;
}

}  // namespace
