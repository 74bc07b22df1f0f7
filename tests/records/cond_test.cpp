// Conditions, condition lists and key conditions as stored data.
#include <gtest/gtest.h>

#include "records/cond.h"
#include "tests/records/test_util.h"

using rec_test::FileOf;
using rec_test::Hex;

namespace {

const char* kEmptyCondBody = R"(
    17 00 00 00                                   # 23 fields
    00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00
    00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00   # 34 zero bytes
    00 00 00 00                                   # no strings
)";

TEST(Cond, EmptyBodyGolden) {
    cCond c;
    EXPECT_EQ(c.SaveBytes(), FileOf(1000, Hex(kEmptyCondBody)));
    cCond d;
    d.m_nKind = 3;
    ASSERT_TRUE(d.LoadBytes(FileOf(1000, Hex(kEmptyCondBody)), "c"));
    EXPECT_EQ(d.m_nKind, 0);
}

TEST(Cond, FieldAndByteCountsPerVersion) {
    cCond c;
    struct Row {
        uint32_t v;
        int fields, bytes;
    };
    for (Row r : {Row{42, 5, 11}, Row{43, 6, 12}, Row{109, 6, 12}, Row{110, 17, 28}, Row{882, 17, 28},
                  Row{883, 19, 30}, Row{892, 19, 30}, Row{893, 21, 32}, Row{969, 21, 32}, Row{970, 22, 33},
                  Row{972, 22, 33}, Row{973, 23, 34}, Row{1000, 23, 34}}) {
        EXPECT_EQ(c.FieldCount(r.v), r.fields) << r.v;
        EXPECT_EQ(c.FieldBytes(r.v), r.bytes) << r.v;
        EXPECT_EQ(c.StringCount(r.v), 0);
    }
}

TEST(Cond, OldPairReadEitherWayBelow110) {
    // Version 100: kind 1, value 9, two dropped int16, op 4, percent 1, direction 2.
    const auto one = FileOf(100, Hex("06 00 00 00 01 09 00 00 00 aa aa bb bb 04 01 02 00 00 00 00"));
    auto split = one;
    split[4] = 7;  // the pair counted as two fields
    for (const auto& file : {one, split}) {
        cCond c;
        ASSERT_TRUE(c.LoadBytes(file, "c")) << LastDataFileError();
        EXPECT_EQ(c.m_nKind, 1);
        EXPECT_EQ(c.m_nValue, 9);
        EXPECT_EQ(c.m_nOp, 4);
        EXPECT_EQ(c.m_bPercent, 1);
        EXPECT_EQ(c.m_nDirection, 2);
    }
    auto tooMany = one;
    tooMany[4] = 8;
    cCond c;
    EXPECT_FALSE(c.LoadBytes(tooMany, "c"));
}

// Members an upgrade reads or writes, in one order for the table below.
struct CondState {
    int kind, ls, lt, li, rs, rt, ri, op, lfv, rfv, lcm;
};

void Put(cCond& c, const CondState& s) {
    c.m_nKind = static_cast<int8_t>(s.kind);
    c.m_nLeftSource = static_cast<int8_t>(s.ls);
    c.m_nLeftTarget = static_cast<int8_t>(s.lt);
    c.m_nLeftItem = static_cast<int8_t>(s.li);
    c.m_nRightSource = static_cast<int8_t>(s.rs);
    c.m_nRightTarget = static_cast<int8_t>(s.rt);
    c.m_nRightItem = static_cast<int8_t>(s.ri);
    c.m_nOp = static_cast<int8_t>(s.op);
    c.m_nLeftFlowVar = static_cast<int8_t>(s.lfv);
    c.m_nRightFlowVar = static_cast<int8_t>(s.rfv);
    c.m_nLeftCoordMode = static_cast<int8_t>(s.lcm);
}

CondState Get(const cCond& c) {
    return {c.m_nKind,     c.m_nLeftSource, c.m_nLeftTarget,  c.m_nLeftItem,     c.m_nRightSource, c.m_nRightTarget,
            c.m_nRightItem, c.m_nOp,        c.m_nLeftFlowVar, c.m_nRightFlowVar, c.m_nLeftCoordMode};
}

bool operator==(const CondState& a, const CondState& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::ostream& operator<<(std::ostream& o, const CondState& s) {
    return o << "{kind " << s.kind << " ls " << s.ls << " lt " << s.lt << " li " << s.li << " rs " << s.rs << " rt "
             << s.rt << " ri " << s.ri << " op " << s.op << " lfv " << s.lfv << " rfv " << s.rfv << " lcm " << s.lcm
             << "}";
}

TEST(Cond, UpgradeChain) {
    struct Row {
        uint32_t v;
        CondState in, out;
    };
    //        kind ls lt li rs rt ri op lfv rfv lcm
    const Row rows[] = {
        // Kinds 5 and 6 became 7 and 8 at 160; the distance steps then apply.
        {159, {5, 2, 3, 6, 0, 0, 0, 0, 0, 0, 0}, {7, 0, 0, 6, 1, 1, 0, 0, 0, 0, 0}},
        {159, {4, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0}, {4, 0, 0, 3, 0, 0, 0, 0, 1, 1, 0}},
        // Operator of "stands on a block" inverted below 161.
        {160, {6, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0}, {6, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0}},
        {161, {6, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0}, {6, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0}},
        // Status items shifted at 168, 203 and 883; right operand on the old
        // system target (2) is not shifted but moves to target 5 at 767.
        {167, {4, 0, 0, 10, 2, 2, 10, 0, 0, 0, 0}, {4, 0, 0, 14, 2, 5, 10, 0, 1, 1, 0}},
        {202, {4, 0, 1, 5, 2, 0, 9, 0, 0, 0, 0}, {4, 0, 1, 8, 2, 0, 12, 0, 1, 1, 0}},
        // Display status items shifted at 210 unless on the old system target.
        {209, {5, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0}, {5, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0}},
        {209, {5, 0, 2, 6, 0, 0, 0, 0, 0, 0, 0}, {5, 0, 5, 6, 0, 0, 0, 0, 0, 0, 0}},
        // Distance conditions: target, left source, right source/target reset.
        {656, {7, 2, 3, 0, 0, 0, 0, 1, 0, 0, 0}, {7, 0, 0, 0, 1, 1, 0, 1, 0, 0, 0}},
        {745, {7, 2, 3, 0, 0, 0, 0, 1, 0, 0, 0}, {7, 2, 3, 0, 1, 1, 0, 1, 0, 0, 0}},
        {746, {7, 2, 3, 0, 0, 0, 0, 1, 0, 0, 0}, {7, 2, 3, 0, 0, 0, 0, 1, 0, 0, 0}},
        // Targets 2..4 inserted before the system at 767.
        {766, {4, 1, 2, 0, 3, 4, 0, 0, 1, 1, 0}, {4, 1, 5, 0, 3, 7, 0, 0, 1, 1, 0}},
        {767, {4, 1, 2, 0, 3, 4, 0, 0, 1, 1, 0}, {4, 1, 2, 0, 3, 4, 0, 0, 1, 1, 0}},
        // Coordinates: X/Y items moved at 883 (system target 5 left alone).
        {882, {4, 0, 0, 6, 2, 5, 7, 0, 1, 1, 0}, {4, 0, 0, 8, 2, 5, 7, 0, 1, 1, 0}},
        {883, {4, 0, 0, 6, 2, 0, 7, 0, 1, 1, 3}, {4, 0, 0, 6, 2, 0, 7, 0, 1, 1, 3}},
        // Flow variables counted from 1 since 984; 0 became 1 since 985.
        {983, {4, 2, 0, 0, 4, 0, 0, 0, 1, 0, 0}, {4, 2, 0, 0, 4, 0, 0, 0, 2, 1, 0}},
        {984, {4, 2, 0, 0, 4, 0, 0, 0, 0, 3, 0}, {4, 2, 0, 0, 4, 0, 0, 0, 1, 3, 0}},
        {985, {4, 2, 0, 0, 4, 0, 0, 0, 0, 0, 0}, {4, 2, 0, 0, 4, 0, 0, 0, 0, 0, 0}},
        {1000, {4, 2, 0, 0, 4, 0, 0, 0, 0, 0, 0}, {4, 2, 0, 0, 4, 0, 0, 0, 0, 0, 0}},
    };
    for (const Row& r : rows) {
        cCond written;
        Put(written, r.in);
        const auto file = written.SaveBytesAs(r.v);
        cCond c;
        ASSERT_TRUE(c.LoadBytes(file, "c")) << r.v << " " << LastDataFileError();
        EXPECT_EQ(Get(c), r.out) << "version " << r.v << " from " << r.in;
    }
}

TEST(CondList, TwoConditionsGolden) {
    const auto file = FileOf(1000, Hex(R"(
        02 00 00 00  01  01               # fields: mode 1 (any), once 1
        00 00 00 00                       # no strings
        02 00 00 00                       # two conditions
        # common variable 3 >= 5
        17 00 00 00  01  05 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00  03 00
          00  00 00 00 00  00 00  00  02  00  00 00 00 00  00  00 00 00 00
        # distance: circle, outside 4 hbl + 8 dots
        17 00 00 00  07  04 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00  00 00
          00  00 00 00 00  08 00  00  01  00  00 00 00 00  06  00 00 00 00
    )"));
    cCondList l;
    l.m_nCondMode = 1;
    l.m_bCondOnce = 1;
    l.m_vecCond.resize(2);
    l.m_vecCond[0].m_nKind = COND_COMMON_VAR;
    l.m_vecCond[0].m_nValue = 5;
    l.m_vecCond[0].m_nVarIndex = 3;
    l.m_vecCond[0].m_nOp = COND_OP_GREATER_EQUAL;
    l.m_vecCond[1].m_nKind = COND_DISTANCE;
    l.m_vecCond[1].m_nValue = 4;
    l.m_vecCond[1].m_nRightVarIndex = 8;
    l.m_vecCond[1].m_nOp = 1;
    l.m_vecCond[1].m_nDirection = 6;
    EXPECT_EQ(l.SaveBytes(), file);

    cCondList r;
    ASSERT_TRUE(r.LoadBytes(file, "l")) << LastDataFileError();
    ASSERT_EQ(r.m_vecCond.size(), 2u);
    EXPECT_EQ(r.m_vecCond[1].m_nDirection, 6);
    EXPECT_EQ(r.SaveBytes(), file);
}

TEST(CondList, CountOnlyFrom766AndAlwaysWritten) {
    cCondList empty;
    EXPECT_EQ(empty.SaveBytes(), FileOf(1000, Hex("02 00 00 00 00 00 00 00 00 00 00 00 00 00")));
    // Version 765: the two fields only; anything after is not the list's.
    const auto v765 = FileOf(765, Hex("02 00 00 00 01 00 00 00 00 00"));
    cCondList l;
    ASSERT_TRUE(l.LoadBytes(v765, "l"));
    EXPECT_EQ(l.m_nCondMode, 1);
    EXPECT_TRUE(l.m_vecCond.empty());
    // Version 766 needs the count.
    EXPECT_FALSE(l.LoadBytes(FileOf(766, Hex("02 00 00 00 01 00 00 00 00 00")), "l"));
}

TEST(KeyCond, GoldenAndKeyCounts) {
    cKeyCond k;
    EXPECT_EQ(k.m_vecKey.size(), 19u);
    k.m_vecKey[0] = cKeyCond::KEY_PRESSED;
    k.m_vecKey[10] = cKeyCond::KEY_RELEASED;
    k.m_bMirror = 1;
    k.m_nMinFrames = 3;
    k.m_nMaxFrames = 0x0102;
    k.m_nKeyMode = 2;
    const auto file = FileOf(1000, Hex(R"(
        05 00 00 00  01  03 00  02 01  00  02
        00 00 00 00
        13 00 00 00  01 00 00 00 00 00 00 00 00 00  02 00 00 00 00 00 00 00 00
    )"));
    EXPECT_EQ(k.SaveBytes(), file);
    cKeyCond r;
    ASSERT_TRUE(r.LoadBytes(file, "k"));
    EXPECT_EQ(r.m_vecKey, k.m_vecKey);
    EXPECT_EQ(r.SaveBytes(), file);

    // 25 stored keys stay 25; Init cuts back to 19.
    cKeyCond big;
    big.m_vecKey.assign(25, 1);
    cKeyCond r25;
    ASSERT_TRUE(r25.LoadBytes(big.SaveBytes(), "k"));
    EXPECT_EQ(r25.m_vecKey.size(), 25u);
    r25.Init();
    EXPECT_EQ(r25.m_vecKey, std::vector<uint8_t>(19, 1));

    // A count of 0 keeps the states held before the load.
    const auto none = FileOf(1000, Hex("05 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"));
    cKeyCond fresh;
    ASSERT_TRUE(fresh.LoadBytes(none, "k"));
    EXPECT_EQ(fresh.m_vecKey, std::vector<uint8_t>(19, 0));
    cKeyCond used = k;
    ASSERT_TRUE(used.LoadBytes(none, "k"));
    EXPECT_EQ(used.m_vecKey, k.m_vecKey);
    // A negative count is malformed.
    const auto negative = FileOf(1000, Hex("05 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ff ff ff ff"));
    EXPECT_FALSE(used.LoadBytes(negative, "k"));
}

TEST(CondList, HoldersCopyIndependently) {
    cCondListHolder a, b;
    CreateCondList(a);
    a->m_vecCond.resize(1);
    a->m_vecCond[0].m_nValue = 1;
    a->m_bCondOnce = 1;
    AssignCondListHolder(b, a);
    ASSERT_TRUE(b);
    EXPECT_NE(a.get(), b.get());
    a->m_vecCond[0].m_nValue = 2;
    EXPECT_EQ(b->m_vecCond[0].m_nValue, 1);
    EXPECT_EQ(b->m_bCondOnce, 1);
    cCondListHolder empty;
    AssignCondListHolder(b, empty);
    EXPECT_FALSE(b);
}

}  // namespace
