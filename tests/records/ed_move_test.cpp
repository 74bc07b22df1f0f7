// Movement definition: layout, gates, defaults, upgrades and holders.
#include <gtest/gtest.h>

#include "records/ed_move.h"
#include "tests/records/test_util.h"

using rec_test::FileOf;
using rec_test::Hex;

namespace {

const char* kDefaultMoveBody = R"(
    23 00 00 00      # 35 fields
    00 00            # move mode, direction
    00 00 00 00      # angle, angle step
    01               # mirror angle
    01 01            # use target x, y
    00 00 00 00 00 00 00 00   # target x, y, x dot, y dot
    00 00 00         # coord mode, target unit, anchor
    01 00 00         # time by arrival, fix x, fix y
    01 00 01 00      # mirror target x, y, turn with facing, stop on arrival
    00 00            # keep facing, timing mode
    0a 00 00 00      # speed 10, speed step
    00 00 00 00      # distance, distance step
    00               # distance unit
    00 00 00 00      # homing, homing step
    00 00 00         # inertia, max speed
    00 00 00 00 00 00 f0 3f   # reverse accel 1.0
    00 00            # anime, target
    00 00 00 00      # no strings
)";

TEST(EdMove, DefaultBodyGolden) {
    cEdMove m;
    const auto file = FileOf(1000, Hex(kDefaultMoveBody));
    EXPECT_EQ(m.SaveBytes(), file);
    EXPECT_EQ(m.FieldBytes(1000), 55);
    cEdMove r;
    r.m_nSpeed = 99;
    ASSERT_TRUE(r.LoadBytes(file, "m"));
    EXPECT_EQ(r.m_nSpeed, 10);
    EXPECT_EQ(r.m_dReverseAccel, 1.0);
}

TEST(EdMove, SetDefaultsAfterChanges) {
    cEdMove m;
    m.m_nSpeed = 3;
    m.m_bFixX = 1;
    m.m_nAnime = 2;
    m.m_bMirrorTargetY = 1;
    m.SetDefaults();
    EXPECT_EQ(m.SaveBytes(), cEdMove().SaveBytes());
}

TEST(EdMove, FieldCountsPerVersion) {
    cEdMove m;
    struct Row {
        uint32_t v;
        int fields, bytes;
    };
    for (Row r : {Row{157, 28, 48}, Row{158, 29, 49}, Row{159, 30, 50}, Row{161, 30, 50}, Row{162, 32, 52},
                  Row{766, 32, 52}, Row{767, 33, 53}, Row{890, 33, 53}, Row{891, 34, 54}, Row{892, 35, 55},
                  Row{1000, 35, 55}}) {
        EXPECT_EQ(m.FieldCount(r.v), r.fields) << r.v;
        EXPECT_EQ(m.FieldBytes(r.v), r.bytes) << r.v;
        EXPECT_EQ(m.StringCount(r.v), 0);
    }
}

TEST(EdMove, Upgrades) {
    struct Row {
        uint32_t v;
        int anime, mirror, distUnit, keepFacing;  // written
        int outAnime, outMirror, outDistUnit, outKeepFacing;
    };
    const Row rows[] = {
        {157, 1, 1, 1, 1, 0, 0, 0, 0},   // none of the four stored; upgrades set 0
        {158, 1, 1, 1, 1, 0, 1, 0, 0},   // mirror stored
        {161, 1, 1, 1, 1, 0, 1, 1, 0},   // distance unit stored
        {162, 1, 1, 1, 1, 2, 1, 1, 1},   // anime stored, 1 -> 2 below 830
        {829, 1, 0, 0, 0, 2, 0, 0, 0},
        {829, 2, 0, 0, 0, 2, 0, 0, 0},
        {829, 0, 0, 0, 0, 0, 0, 0, 0},
        {830, 1, 0, 0, 0, 1, 0, 0, 0},
        {1000, 1, 0, 1, 1, 1, 0, 1, 1},
    };
    for (const Row& r : rows) {
        cEdMove w;
        w.m_nAnime = static_cast<int8_t>(r.anime);
        w.m_bMirrorAngle = static_cast<int8_t>(r.mirror);
        w.m_nDistanceUnit = static_cast<int8_t>(r.distUnit);
        w.m_bKeepFacing = static_cast<int8_t>(r.keepFacing);
        cEdMove m;  // loaded into a fresh part with its defaults
        ASSERT_TRUE(m.LoadBytes(w.SaveBytesAs(r.v), "m")) << r.v;
        EXPECT_EQ(m.m_nAnime, r.outAnime) << r.v;
        EXPECT_EQ(m.m_bMirrorAngle, r.outMirror) << r.v;
        EXPECT_EQ(m.m_nDistanceUnit, r.outDistUnit) << r.v;
        EXPECT_EQ(m.m_bKeepFacing, r.outKeepFacing) << r.v;
    }
}

TEST(EdMove, Version890KeepsDefaultsOfLaterFields) {
    cEdMove w;
    w.m_nTargetUnit = 1;
    w.m_nAnchor = 2;
    w.m_nTarget = 3;
    w.m_nSpeed = 40;
    cEdMove m;
    ASSERT_TRUE(m.LoadBytes(w.SaveBytesAs(890), "m"));
    EXPECT_EQ(m.m_nTargetUnit, 0);
    EXPECT_EQ(m.m_nAnchor, 0);
    EXPECT_EQ(m.m_nTarget, 3);
    EXPECT_EQ(m.m_nSpeed, 40);
    cEdMove m766;
    ASSERT_TRUE(m766.LoadBytes(w.SaveBytesAs(766), "m"));
    EXPECT_EQ(m766.m_nTarget, 0);
}

TEST(EdMove, HoldersCopyIndependently) {
    cEdMoveHolder a, b;
    EXPECT_EQ(CreateEdMove(a), 1);
    EXPECT_EQ(a->m_nSpeed, 10);
    a->m_nSpeed = 20;
    AssignEdMoveHolder(b, a);
    ASSERT_TRUE(b);
    EXPECT_NE(a.get(), b.get());
    EXPECT_EQ(b->SaveBytes(), a->SaveBytes());
    a->m_nSpeed = 30;
    EXPECT_EQ(b->m_nSpeed, 20);
    cEdMoveHolder empty;
    AssignEdMoveHolder(b, empty);
    EXPECT_FALSE(b);
    // Self-assignment keeps the part.
    AssignEdMoveHolder(a, a);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->m_nSpeed, 30);
    // Copying a holder (as a command copy does) copies the part too.
    cEdMoveHolder c = a;
    EXPECT_NE(c.get(), a.get());
    EXPECT_EQ(c->m_nSpeed, 30);
}

}  // namespace
