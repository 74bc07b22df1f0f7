// Shot definition: layout, gates, upgrades, normalisation, offsets, arrange
// numbering and the parameter tables.
#include <gtest/gtest.h>

#include "platform/cp932.h"
#include "records/ed_shot.h"
#include "tests/records/test_util.h"

using rec_test::FileOf;
using rec_test::Hex;

namespace {

const char* kDefaultShotBody = R"(
    40 00 00 00                  # 64 fields
    00 00                        # count, formation
    00 00 00 00 00 00            # formation params
    00 00 00 00                  # origin, direction, aim at target, target
    00 00 00 00                  # angle, angle step
    01                           # mirror angle
    00 00                        # spread
    00 00                        # rotate offset, clones
    00 00 00 00 00 00 00 00      # offset x, x step, y, y step
    01 00                        # mirror offset x, y
    00 00                        # graphic
    00 00 01 00 00 01 00 00      # z, hidden, user side, side, extra A, size 1, extra B, trajectory
    00 00 00 00 00 00            # trajectory params
    00 00                        # shot target, follow scroll
    00 00 00 00                  # speed, speed step
    00 00 00 00 00               # accel flag, accel, accel step
    00 00 00 00 00 00            # range, use range, range step, stay at range
    00 00 00 00 00               # use life, life, life step
    00 00 00 00 00               # through blocks, pass charas, pass block charas, cancel shots, vanish value
    00 00 00 00                  # power
    00 00 00                     # extra C, impact
    00 00 00 00 00               # effect, item source, item
    00 00 00 00                  # block summon mode, spare players, spare computers, summon source
    00 00 00 00 00               # summon entry, summon side, no score, summon flip
    00 00                        # attack trigger, attack group
    00 00 00 00                  # no strings
)";

class EdShotTest : public ::testing::Test {
protected:
    void TearDown() override { SetEffectCountSource(nullptr); }
};

TEST_F(EdShotTest, DefaultBodyGolden) {
    cEdShot s;
    const auto file = FileOf(1000, Hex(kDefaultShotBody));
    EXPECT_EQ(s.SaveBytes(), file);
    EXPECT_EQ(s.FieldCount(1000), 64);
    EXPECT_EQ(s.FieldBytes(1000), 97);
    cEdShot r;
    r.m_nPower = 5;
    ASSERT_TRUE(r.LoadBytes(file, "s"));
    EXPECT_EQ(r.m_nPower, 0);
    EXPECT_EQ(r.m_nSize, 1);
}

TEST_F(EdShotTest, FieldCountsPerVersion) {
    cEdShot s;
    struct Row {
        uint32_t v;
        int fields, bytes;
    };
    for (Row r : {Row{157, 52, 83}, Row{158, 53, 84}, Row{196, 53, 84}, Row{197, 54, 85}, Row{211, 55, 86},
                  Row{212, 55, 86}, Row{213, 58, 91}, Row{636, 59, 92}, Row{671, 60, 93}, Row{762, 62, 95},
                  Row{766, 62, 95}, Row{767, 64, 97}, Row{1000, 64, 97}}) {
        EXPECT_EQ(s.FieldCount(r.v), r.fields) << r.v;
        EXPECT_EQ(s.FieldBytes(r.v), r.bytes) << r.v;
    }
}

TEST_F(EdShotTest, Upgrades) {
    auto load = [](const cEdShot& w, uint32_t v) {
        cEdShot copy = w;
        cEdShot s;
        EXPECT_TRUE(s.LoadBytes(copy.SaveBytesAs(v), "s")) << v << LastDataFileError();
        return s;
    };
    cEdShot w;
    w.m_bMirrorAngle = 1;
    EXPECT_EQ(load(w, 157).m_bMirrorAngle, 0);
    EXPECT_EQ(load(w, 158).m_bMirrorAngle, 1);

    w.m_bSparePlayers = 3;
    w.m_bSpareComputers = 0;
    EXPECT_EQ(load(w, 196).m_bSpareComputers, 3);
    EXPECT_EQ(load(w, 197).m_bSpareComputers, 0);

    struct FollowRow {
        uint32_t v;
        int trajectory, stored, expected;
    };
    for (FollowRow r : {FollowRow{210, 4, 0, 1}, FollowRow{211, 6, 0, 1}, FollowRow{211, 7, 0, 1},
                        FollowRow{211, 8, 1, 0}, FollowRow{211, 3, 1, 0}, FollowRow{212, 6, 0, 0},
                        FollowRow{212, 8, 1, 1}}) {
        cEdShot t;
        t.m_nTrajectory = static_cast<int8_t>(r.trajectory);
        t.m_bFollowScroll = static_cast<int8_t>(r.stored);
        EXPECT_EQ(load(t, r.v).m_bFollowScroll, r.expected) << r.v << " trajectory " << r.trajectory;
    }

    cEdShot a;
    a.m_bAccel = 1;
    a.m_nAccel = 5;
    a.m_nAccelStep = 6;
    EXPECT_EQ(load(a, 212).m_nAccel, 0);
    EXPECT_EQ(load(a, 212).m_bAccel, 0);
    EXPECT_EQ(load(a, 213).m_nAccelStep, 6);

    cEdShot p;
    p.m_bPassCharas = 1;
    p.m_bPassBlockCharas = 0;
    EXPECT_EQ(load(p, 635).m_bPassBlockCharas, 1);
    EXPECT_EQ(load(p, 636).m_bPassBlockCharas, 0);

    cEdShot o;
    o.m_nOrigin = 2;
    EXPECT_EQ(load(o, 670).m_nOrigin, 0);
    EXPECT_EQ(load(o, 671).m_nOrigin, 2);
}

TEST_F(EdShotTest, NormalizeOnLoadAndSave) {
    struct Row {
        int size, effect, effectCount;
        int outSize, outEffect;
    };
    for (Row r : {Row{0, 4, 5, 1, 4}, Row{-3, 5, 5, 1, 0}, Row{2, -1, 5, 2, 0}, Row{1, 0, 0, 1, 0},
                  Row{1, 7, -1, 1, 7}, Row{1, -7, -1, 1, 0}}) {
        cEdShot s;
        s.m_nSize = static_cast<int8_t>(r.size);
        s.m_nEffect = static_cast<int16_t>(r.effect);
        s.Normalize(r.effectCount);
        EXPECT_EQ(s.m_nSize, r.outSize);
        EXPECT_EQ(s.m_nEffect, r.outEffect) << r.effect << " of " << r.effectCount;
    }

    // Load and save both normalise, with the Effect table's size from its source.
    SetEffectCountSource([] { return 5; });
    auto body = Hex(kDefaultShotBody);
    body[4 + 38] = 0;  // size 0
    body[4 + 81] = 5;  // effect 5
    cEdShot s;
    ASSERT_TRUE(s.LoadBytes(FileOf(1000, body), "s"));
    EXPECT_EQ(s.m_nSize, 1);
    EXPECT_EQ(s.m_nEffect, 0);
    s.m_nSize = -2;
    s.m_nEffect = 4;
    const auto saved = s.SaveBytes();
    EXPECT_EQ(saved[4 + 4 + 38], 1);
    EXPECT_EQ(saved[4 + 4 + 81], 4);
}

TEST_F(EdShotTest, ScaledOffsets) {
    cEdShot s;
    s.m_nOffsetX = 10;
    s.m_nOffsetXStep = -3;
    s.m_nOffsetY = 4;
    s.m_nOffsetYStep = 2;
    // Facing 1 is right: the X offset mirrors by default, Y does not.
    EXPECT_EQ(s.CalcScaledX(2, 0), 4.0);
    EXPECT_EQ(s.CalcScaledX(2, 1), -4.0);
    EXPECT_EQ(s.CalcScaledY(3, 1), 10.0);
    s.m_bMirrorOffsetX = 0;
    s.m_bMirrorOffsetY = 1;
    EXPECT_EQ(s.CalcScaledX(2, 1), 4.0);
    EXPECT_EQ(s.CalcScaledY(3, 1), -10.0);
    EXPECT_EQ(s.CalcScaledY(3, -1), 10.0);
}

TEST_F(EdShotTest, ArrangeNumbering) {
    cEdShot s;
    // Each arrangeable number reaches its own field; writing them all and
    // reading back shows no two share one.
    for (int n = 0; n < SHOT_ARRANGE_PARAM_COUNT; ++n) {
        if (n == SHOT_ARR_SOUND) continue;
        EXPECT_TRUE(SetShotArrangeValue(s, n, 10 + n)) << n;
    }
    for (int n = 0; n < SHOT_ARRANGE_PARAM_COUNT; ++n) {
        int v = -1;
        if (n == SHOT_ARR_SOUND) {
            EXPECT_FALSE(GetShotArrangeValue(s, n, v));
            EXPECT_EQ(v, -1);
            continue;
        }
        ASSERT_TRUE(GetShotArrangeValue(s, n, v)) << n;
        EXPECT_EQ(v, 10 + n) << n;
    }
    EXPECT_EQ(s.m_nGraphic, 10);
    EXPECT_EQ(s.m_nFormationParam[2], 14);
    EXPECT_EQ(s.m_nSide, 25);
    EXPECT_EQ(s.m_nTrajectoryParam[0], 26);
    EXPECT_EQ(s.m_nPower, 38);
    EXPECT_EQ(s.m_nItem, 41);
    int v = 0;
    EXPECT_FALSE(GetShotArrangeValue(s, 32, v));
    EXPECT_FALSE(SetShotArrangeValue(s, -1, 0));
    // Values are cut to the field's width.
    SetShotArrangeValue(s, SHOT_ARR_Z, 300);
    EXPECT_EQ(s.m_nZ, static_cast<int8_t>(300));
    SetShotArrangeValue(s, SHOT_ARR_POWER, 999999);
    EXPECT_EQ(s.m_nPower, 999999);
}

TEST_F(EdShotTest, ParameterTables) {
    const cParamInfo& thunderRows = ShotFormationParams[FORMATION_THUNDER * 3 + 1];
    EXPECT_EQ(thunderRows.strName, SJ("列の数"));
    EXPECT_EQ(thunderRows.nMin, 1);
    EXPECT_EQ(thunderRows.nMax, 50);
    EXPECT_EQ(thunderRows.nDefault, 1);
    EXPECT_EQ(ShotFormationParams[FORMATION_SURROUND * 3].nDefault, 6);
    EXPECT_TRUE(ShotFormationParams[FORMATION_BURST * 3].strName.empty());
    const cParamInfo& waveStart = ShotTrajectoryParams[TRAJ_WAVE * 3 + 2];
    EXPECT_EQ(waveStart.strName, SJ("開始角度"));
    EXPECT_EQ(waveStart.nMax, 359);
    EXPECT_EQ(ShotTrajectoryParams[TRAJ_HOME_TARGET * 3 + 1].nDefault, 999);
    EXPECT_EQ(ShotTrajectoryParams[TRAJ_HOME_NEAREST_SWITCH * 3 + 2].nMax, 7);
    // Unused entries are all zero.
    for (const cParamInfo& p : ShotTrajectoryParams)
        if (p.strName.empty()) {
            EXPECT_EQ(p.nMin | p.nMax | p.nDefault, 0);
        }
}

TEST_F(EdShotTest, HoldersCopyIndependently) {
    cEdShotHolder a, b;
    EXPECT_EQ(CreateEdShot(a), 1);
    EXPECT_EQ(a->m_nSize, 1);
    EXPECT_EQ(a->m_bUserSide, 1);
    a->m_nPower = 7;
    AssignEdShotHolder(b, a);
    a->m_nPower = 8;
    ASSERT_TRUE(b);
    EXPECT_EQ(b->m_nPower, 7);
    cEdShotHolder empty;
    AssignEdShotHolder(b, empty);
    EXPECT_FALSE(b);
}

}  // namespace
