// The record framework: body layout, gates, counts, strings, refusals,
// commit-on-success and atomic saves.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/quit.h"
#include "platform/fs.h"
#include "records/data_record.h"

namespace {

class cSub : public cRecord<cSub> {
public:
    int16_t m_nA = 7;
    std::string m_strText;
    template <class F>
    void Fields(F& f) {
        f.Field("m_nA", m_nA);
        f.String("m_strText", m_strText);
    }
};

// A test record with every kind of member and gate.
class cSample : public cRecord<cSample> {
public:
    int8_t m_nKind = 0;
    int32_t m_nValue = 0;
    int16_t m_anParam[3] = {};
    double m_dFactor = 1.0;
    uint8_t m_nLate = 5;
    std::string m_strName;
    std::string m_strNote;
    std::vector<cSub> m_vecSub;
    std::vector<uint8_t> m_vecBytes;
    std::vector<int32_t> m_vecInts;
    std::vector<std::string> m_vecTexts;
    cPartHolder<cSub> m_Part;
    int32_t m_nTrailer = 0;
    int m_nUpgraded = 0;

    template <class F>
    void Fields(F& f) {
        f.Field("m_nKind", m_nKind);
        f.Field("m_nValue", m_nValue);
        if (f.Below(110)) f.Dropped("(old pair)", 2, 2);
        if (f.Since(110)) f.Field("m_anParam", m_anParam);
        f.Field("m_dFactor", m_dFactor);
        if (f.Above(500)) f.Field("m_nLate", m_nLate);
        f.String("m_strName", m_strName);
        if (f.Since(300)) f.String("m_strNote", m_strNote);
        if (f.Since(766)) f.Vector("m_vecSub", m_vecSub);
        f.Vector("m_vecBytes", m_vecBytes);
        f.Vector("m_vecInts", m_vecInts);
        f.Vector("m_vecTexts", m_vecTexts);
        f.Holder("m_Part", m_Part);
        f.Raw("m_nTrailer", m_nTrailer);
    }
    void OnLoaded(const cLoadContext& ctx) {
        if (ctx.Below(160) && m_nKind >= 5) m_nKind += 2;
        ++m_nUpgraded;
    }
    int FieldCountSlack(uint32_t v) const { return v < 110 ? 1 : 0; }
};

TEST(DataRecord, CountsFollowGates) {
    cSample s;
    EXPECT_EQ(s.FieldCount(100), 4);
    EXPECT_EQ(s.FieldBytes(100), 1 + 4 + 4 + 8);
    EXPECT_EQ(s.FieldCount(500), 4);
    EXPECT_EQ(s.FieldCount(501), 5);
    EXPECT_EQ(s.FieldBytes(1000), 1 + 4 + 6 + 8 + 1);
    EXPECT_EQ(s.StringCount(299), 1);
    EXPECT_EQ(s.StringCount(300), 2);
}

TEST(DataRecord, RoundTrip) {
    cSample s;
    s.m_nKind = 3;
    s.m_strName = "ab";
    s.m_vecSub.resize(2);
    s.m_vecSub[1].m_strText = "x";
    s.m_vecBytes = {1, 2, 3};
    s.m_vecTexts = {"", "q"};
    s.m_Part.Create().m_nA = 9;
    s.m_nTrailer = 123456789;
    auto bytes = s.SaveBytes();
    cSample t;
    ASSERT_TRUE(t.LoadBytes(bytes, "t")) << LastDataFileError();
    EXPECT_EQ(t.SaveBytes(), bytes);
    EXPECT_EQ(t.m_Part->m_nA, 9);
    EXPECT_FALSE(t.DumpText().empty());
}

}  // namespace
