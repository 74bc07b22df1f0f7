// The record framework: body layout, gates, counts, strings, refusals,
// commit-on-success and atomic saves.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>

#include "base/quit.h"
#include "platform/cp932.h"
#include "platform/fs.h"
#include "platform/message_box.h"
#include "records/data_record.h"
#include "tests/records/mutation.h"
#include "tests/records/test_util.h"

using rec_test::FileOf;
using rec_test::Hex;

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

// A record with every kind of member and gate.
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
    }
    int FieldCountSlack(uint32_t v) const { return v < 110 ? 1 : 0; }
};

// Body of a default cSample at version 1000, typed from the layout.
const char* kDefaultBody = R"(
    05 00 00 00              # field count
    00                       # m_nKind
    00 00 00 00              # m_nValue
    00 00 00 00 00 00        # m_anParam[3]
    00 00 00 00 00 00 f0 3f  # m_dFactor 1.0
    05                       # m_nLate
    02 00 00 00              # string count
    01 00 00 00              # m_strName ""
    01 00 00 00              # m_strNote ""
    00 00 00 00              # m_vecSub
    00 00 00 00              # m_vecBytes
    00 00 00 00              # m_vecInts
    00 00 00 00              # m_vecTexts
    00 00 00 00              # m_Part absent
    00 00 00 00              # m_nTrailer
)";

class DataRecordTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_nDataVersion = kDataVersion;
        g_bStripCR = 0;
        g_bFileTooNew = 0;
        g_bQuit = 0;
    }
    void TearDown() override {
        g_bStripCR = 0;
        g_bQuit = 0;
    }
    rec_test::ScratchDir m_dir;
};

TEST_F(DataRecordTest, CountsFollowGates) {
    cSample s;
    struct Row {
        uint32_t v;
        int fields, bytes, strings;
    };
    for (Row r : {Row{100, 4, 1 + 4 + 4 + 8, 1}, Row{110, 4, 1 + 4 + 6 + 8, 1}, Row{299, 4, 19, 1},
                  Row{300, 4, 19, 2}, Row{500, 4, 19, 2}, Row{501, 5, 20, 2}, Row{1000, 5, 20, 2}}) {
        EXPECT_EQ(s.FieldCount(r.v), r.fields) << r.v;
        EXPECT_EQ(s.FieldBytes(r.v), r.bytes) << r.v;
        EXPECT_EQ(s.StringCount(r.v), r.strings) << r.v;
    }
}

TEST_F(DataRecordTest, DefaultBodyMatchesLayout) {
    cSample s;
    EXPECT_EQ(s.SaveBytes(), FileOf(1000, Hex(kDefaultBody)));
}

TEST_F(DataRecordTest, FilledBodyMatchesLayoutAndReadsBack) {
    cSample s;
    s.m_nKind = -2;
    s.m_nValue = 0x01020304;
    s.m_anParam[2] = -1;
    s.m_strName = "a";
    s.m_strNote = "xy";
    s.m_vecSub.resize(1);
    s.m_vecSub[0].m_strText = "q";
    s.m_vecBytes = {9, 8};
    s.m_vecInts = {-1};
    s.m_vecTexts = {"", "z"};
    s.m_Part.Create().m_nA = 0x55;
    s.m_nTrailer = 123456789;
    const auto expected = FileOf(1000, Hex(R"(
        05 00 00 00  fe  04 03 02 01  00 00 00 00 ff ff  00 00 00 00 00 00 f0 3f  05
        02 00 00 00  02 00 00 00 61 00  03 00 00 00 78 79 00
        01 00 00 00                       # m_vecSub: one cSub
          01 00 00 00 07 00  01 00 00 00  02 00 00 00 71 00
        02 00 00 00 09 08                 # m_vecBytes
        01 00 00 00 ff ff ff ff           # m_vecInts
        02 00 00 00 01 00 00 00 02 00 00 00 7a 00   # m_vecTexts
        01 00 00 00                       # m_Part present
          01 00 00 00 55 00  01 00 00 00 01 00 00 00
        15 cd 5b 07                       # m_nTrailer 123456789
    )"));
    ASSERT_EQ(s.SaveBytes(), expected);
    EXPECT_EQ(s.BodySize(1000) + 4, expected.size());
    EXPECT_EQ(s.BodySize(100) + 4, s.SaveBytesAs(100).size());
    cSample t;
    ASSERT_TRUE(t.LoadBytes(expected, "t")) << LastDataFileError();
    EXPECT_EQ(t.SaveBytes(), expected);
    ASSERT_TRUE(t.m_Part);
    EXPECT_EQ(t.m_Part->m_nA, 0x55);
    EXPECT_EQ(t.m_vecTexts[1], "z");
}

TEST_F(DataRecordTest, StringsCutAtNulAndLongStringsWhole) {
    cSample s;
    s.m_strName = std::string(10000, 'k');
    s.m_strNote = std::string("ab\0cd", 5);
    cSample t;
    ASSERT_TRUE(t.LoadBytes(s.SaveBytes(), "t"));
    EXPECT_EQ(t.m_strName, s.m_strName);
    EXPECT_EQ(t.m_strNote, "ab");
    EXPECT_EQ(s.m_strNote, "ab");  // the member keeps what was stored

    // A stored length covers the NUL; the text ends at the first NUL inside.
    auto file = FileOf(1000, Hex(kDefaultBody));
    const auto withNul = Hex("05 00 00 00 61 00 62 63 00");  // L=5: "a\0bc\0"
    const size_t at = 4 + 4 + 20 + 4;                        // m_strName
    file.erase(file.begin() + at, file.begin() + at + 4);
    file.insert(file.begin() + at, withNul.begin(), withNul.end());
    ASSERT_TRUE(t.LoadBytes(file, "t")) << LastDataFileError();
    EXPECT_EQ(t.m_strName, "a");
}

TEST_F(DataRecordTest, StripCRRemovesCarriageReturns) {
    cSample s;
    s.m_strName = "a\r\nb\r\n";
    s.m_vecTexts = {"x\r\ny"};
    s.m_vecSub.resize(1);
    s.m_vecSub[0].m_strText = "\r\r";
    const auto bytes = s.SaveBytes();

    cSample kept;
    ASSERT_TRUE(kept.LoadBytes(bytes, "t"));
    EXPECT_EQ(kept.m_strName, "a\r\nb\r\n");

    g_bStripCR = 1;
    cSample t;
    ASSERT_TRUE(t.LoadBytes(bytes, "t"));
    EXPECT_EQ(t.m_strName, "a\nb\n");
    EXPECT_EQ(t.m_vecTexts[0], "x\ny");
    EXPECT_EQ(t.m_vecSub[0].m_strText, "");

    kept.StripCR();
    EXPECT_EQ(kept.m_strName, "a\nb\n");
}

TEST_F(DataRecordTest, OldVersionKeepsWhatItLacksAndUpgrades) {
    cSample old;
    old.m_nKind = 5;
    old.m_nValue = 77;
    old.m_strName = "n";
    const auto file150 = old.SaveBytesAs(150);
    // 150: no m_nLate (above 500), no m_strNote (300), no m_vecSub (766).
    EXPECT_EQ(file150, FileOf(150, Hex(R"(
        04 00 00 00  05  4d 00 00 00  00 00 00 00 00 00  00 00 00 00 00 00 f0 3f
        01 00 00 00  02 00 00 00 6e 00
        00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00)")));

    cSample t;
    t.m_nLate = 99;
    t.m_strNote = "keep";
    t.m_vecSub.resize(3);
    ASSERT_TRUE(t.LoadBytes(file150, "t")) << LastDataFileError();
    EXPECT_EQ(g_nFileVersion, 150u);
    EXPECT_EQ(t.m_nKind, 7);  // upgrade below 160
    EXPECT_EQ(t.m_nValue, 77);
    EXPECT_EQ(t.m_nLate, 99);
    EXPECT_EQ(t.m_strNote, "keep");
    EXPECT_EQ(t.m_vecSub.size(), 3u);
    // Saved again at the current version with every field.
    EXPECT_EQ(t.FieldCount(1000), 5);
    EXPECT_EQ(t.SaveBytes().size(), FileOf(1000, Hex(kDefaultBody)).size() + 2 + 5 + 3 * 14);  // "n", "keep", 3 subs
}

TEST_F(DataRecordTest, FewerStoredFieldsKeepTheRest) {
    cSample t;
    t.m_dFactor = 2.5;
    t.m_nLate = 3;
    // Only two of five fields stored, one of two strings.
    const auto file = FileOf(1000, Hex(R"(
        02 00 00 00 09 01 00 00 00
        01 00 00 00 02 00 00 00 41 00
        00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00)"));
    ASSERT_TRUE(t.LoadBytes(file, "t")) << LastDataFileError();
    EXPECT_EQ(t.m_nKind, 9);
    EXPECT_EQ(t.m_nValue, 1);
    EXPECT_EQ(t.m_dFactor, 2.5);
    EXPECT_EQ(t.m_nLate, 3);
    EXPECT_EQ(t.m_strName, "A");
}

TEST_F(DataRecordTest, SplitArrayCountAcceptedOnlyWhereAllowed) {
    // Below 110 the two old int16 may be counted as two fields.
    cSample s;
    auto file = s.SaveBytesAs(100);
    ASSERT_EQ(file[4], 4);
    file[4] = 5;
    cSample t;
    EXPECT_TRUE(t.LoadBytes(file, "t")) << LastDataFileError();
    file[4] = 6;
    EXPECT_FALSE(t.LoadBytes(file, "t"));
    auto file200 = s.SaveBytesAs(200);
    file200[4] = 5;
    EXPECT_FALSE(t.LoadBytes(file200, "t"));
}

// Every kind of damage fails the load, names the file, and leaves the record
// as it was.
TEST_F(DataRecordTest, DamagedFilesAreRefusedAndRecordUnchanged) {
    cSample good;
    good.m_strName = "name";
    good.m_vecSub.resize(1);
    good.m_vecBytes = {1, 2, 3};
    good.m_Part.Create();
    const auto valid = good.SaveBytes();
    // Offsets in valid: 0 version, 4 field count, 8..27 fields, 28 string
    // count, 32 name (4+5), 41 note (4), 45 m_vecSub count, 49 sub body (14),
    // 63 m_vecBytes count, 67 bytes, 70 m_vecInts, 74 m_vecTexts, 78 holder
    // flag, 82 holder body (14), 96 trailer, 100 end.
    ASSERT_EQ(valid.size(), 100u);
    auto set32 = [](std::vector<uint8_t> b, size_t at, int32_t v) {
        std::memcpy(b.data() + at, &v, 4);
        return b;
    };
    auto cut = [&](size_t n) { return std::vector<uint8_t>(valid.begin(), valid.begin() + n); };
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"empty file", {}},
        {"short version word", cut(3)},
        {"no body", cut(4)},
        {"field count above registered", set32(valid, 4, 6)},
        {"negative field count", set32(valid, 4, -1)},
        {"huge field count", set32(valid, 4, 0x7FFFFFFF)},
        {"string count above registered", set32(valid, 28, 3)},
        {"negative string count", set32(valid, 28, -5)},
        {"string length 0", set32(valid, 32, 0)},
        {"negative string length", set32(valid, 32, -1)},
        {"string length past the end", set32(valid, 32, 200)},
        {"string length INT_MIN", set32(valid, 32, INT32_MIN)},
        {"vector count -1", set32(valid, 45, -1)},
        {"vector count 0x7FFFFFFF", set32(valid, 45, 0x7FFFFFFF)},
        {"byte vector just too long", set32(valid, 63, 34)},
        {"int vector count too large", set32(valid, 70, 8)},
        {"string vector count too large", set32(valid, 74, 7)},
        {"holder body missing", cut(82)},
        {"cut inside fields", cut(15)},
        {"cut inside a string", cut(38)},
        {"cut inside a sub-record", cut(55)},
        {"cut inside the raw tail", cut(98)},
    };
    for (const Case& c : cases) {
        cSample t;
        t.m_nValue = 4242;
        t.m_vecInts = {1, 2};
        const auto before = t.SaveBytes();
        EXPECT_FALSE(t.LoadBytes(c.bytes, "bad.dat")) << c.what;
        EXPECT_NE(LastDataFileError().find("bad.dat"), std::string::npos) << c.what << ": " << LastDataFileError();
        EXPECT_EQ(t.SaveBytes(), before) << c.what;
    }
    cSample t;
    EXPECT_TRUE(t.LoadBytes(valid, "good.dat")) << LastDataFileError();
}

TEST_F(DataRecordTest, EveryPartKindSurvivesDamagedFiles) {
    cSample s;
    s.m_strName = "abc";
    s.m_vecSub.resize(2);
    s.m_vecSub[1].m_strText = "t";
    s.m_vecBytes = {1, 2, 3};
    s.m_vecInts = {4};
    s.m_vecTexts = {"u", ""};
    s.m_Part.Create();
    g_bStripCR = 1;
    const mutation::Summary sum = mutation::Run(s.SaveBytes(), [](const std::vector<uint8_t>& b) {
        cSample t;
        return t.LoadBytes(b, "mutant");
    });
    EXPECT_GE(sum.nTotal, 1000u);
    EXPECT_GT(sum.nRefused, 0u);
    EXPECT_EQ(sum.nSlow, 0u) << sum.slowest;
}

TEST_F(DataRecordTest, NewerFilesRefusedWithReport) {
    platform::CapturedMessageBoxes boxes;
    cSample s;
    const auto body = Hex(kDefaultBody);
    for (uint32_t v : {1001u, 0x80000000u, 0xFFFFFFFFu}) {
        g_bFileTooNew = 0;
        EXPECT_FALSE(s.LoadBytes(FileOf(v, body), "new.dat")) << v;
        EXPECT_EQ(g_bFileTooNew, 1) << v;
        EXPECT_EQ(g_nFileVersion, v);
    }
    ReportDataFileLoadFailure("data\\new.dat");
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, SJ("data\\new.dat の読み込みに失敗しました！") + "\n" +
                                         SJ("実行ファイル(.exe)より上位のバージョンのファイルは使用できません。"));

    // A readable file clears the flag; a missing file leaves it alone.
    EXPECT_TRUE(s.LoadBytes(FileOf(1000, body), "ok.dat"));
    EXPECT_EQ(g_bFileTooNew, 0);
    EXPECT_TRUE(s.LoadBytes(FileOf(0, Hex("00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00")), "v0"))
        << LastDataFileError();
    g_bFileTooNew = 1;
    EXPECT_FALSE(s.LoadFile(m_dir.File("missing.dat")));
    EXPECT_EQ(g_bFileTooNew, 1);
    g_bFileTooNew = 0;
    EXPECT_FALSE(s.LoadFile(m_dir.File("missing.dat")));
    EXPECT_EQ(g_bFileTooNew, 0);

    ReportDataFileLoadFailure("data\\gone.dat");
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].text, SJ("data\\gone.dat の読み込みに失敗しました！"));
}

TEST_F(DataRecordTest, SaveFileAndLoadFile) {
    cSample s;
    s.m_strName = "file";
    const std::string path = m_dir.File("a.dat");
    ASSERT_TRUE(s.SaveFile(path));
    cSample t;
    ASSERT_TRUE(t.LoadFile(path)) << LastDataFileError();
    EXPECT_EQ(t.m_strName, "file");
    EXPECT_FALSE(s.SaveFile(m_dir.File("no/such/folder/a.dat")));
}

TEST_F(DataRecordTest, QuitFlagBlocksSavingAndOldFileSurvives) {
    cSample s;
    s.m_nValue = 1;
    const std::string path = m_dir.File("keep.dat");
    ASSERT_TRUE(s.SaveFile(path));
    const auto before = platform::ReadWholeFile(path);
    s.m_nValue = 2;
    g_bQuit = 1;
    EXPECT_FALSE(s.SaveFile(path));
    cDataFileOut out;
    s.Save(out.Writer());
    EXPECT_FALSE(out.Commit(path));
    g_bQuit = 0;
    EXPECT_EQ(platform::ReadWholeFile(path), before);
}

TEST_F(DataRecordTest, ClearCopyFieldsAndAssignment) {
    cSample a;
    a.m_nKind = 3;
    a.m_dFactor = 4.0;
    a.m_strName = "A";
    a.m_vecBytes = {1};
    a.m_Part.Create().m_nA = 1;

    cSample c = a;
    c.Clear();
    EXPECT_EQ(c.m_nKind, 0);
    EXPECT_EQ(c.m_dFactor, 0.0);
    EXPECT_EQ(c.m_nLate, 0);
    EXPECT_EQ(c.m_strName, "");
    EXPECT_EQ(c.m_vecBytes.size(), 1u);  // parts untouched
    EXPECT_TRUE(c.m_Part);

    cSample f;
    f.CopyFields(a);
    EXPECT_EQ(f.m_nKind, 3);
    EXPECT_EQ(f.m_dFactor, 4.0);
    EXPECT_EQ(f.m_strName, "A");
    EXPECT_TRUE(f.m_vecBytes.empty());
    EXPECT_FALSE(f.m_Part);

    cSample b;
    b = a;
    a.m_nKind = 9;
    a.m_Part->m_nA = 2;
    EXPECT_EQ(b.m_nKind, 3);
    EXPECT_EQ(b.m_Part->m_nA, 1);
    cSample fromB;
    ASSERT_TRUE(fromB.LoadBytes(b.SaveBytes(), "b"));
    EXPECT_EQ(fromB.m_nKind, 3);
}

TEST_F(DataRecordTest, DumpNamesEveryField) {
    cSample s;
    s.m_strName = SJ("テスト");
    s.m_vecSub.resize(1);
    const std::string text = s.DumpText();
    for (const char* needle : {"m_nKind = 0", "m_anParam = [0, 0, 0]", "m_dFactor = 1", "m_nLate = 5",
                               "m_strName = \"テスト\"", "m_vecSub (1):", "    m_nA = 7", "m_Part = (none)",
                               "m_nTrailer = 0"}) {
        EXPECT_NE(text.find(needle), std::string::npos) << needle << "\n" << text;
    }
}

TEST_F(DataRecordTest, MultiRecordFiles) {
    cSample a, b;
    a.m_nValue = 1;
    b.m_nValue = 2;
    const std::string path = m_dir.File("two.dat");
    cDataFileOut out;
    a.Save(out.Writer());
    out.Writer().WriteInt32(123456789);
    b.Save(out.Writer());
    ASSERT_TRUE(out.Commit(path));

    cDataFileIn in;
    ASSERT_TRUE(in.Open(path));
    EXPECT_EQ(in.Version(), kDataVersion);
    cSample x, y;
    ASSERT_TRUE(x.Load(in.Reader(), in.Context()));
    EXPECT_EQ(in.Reader().ReadInt32(), 123456789);
    ASSERT_TRUE(y.Load(in.Reader(), in.Context()));
    EXPECT_EQ(x.m_nValue, 1);
    EXPECT_EQ(y.m_nValue, 2);
    EXPECT_EQ(in.Reader().Left(), 0u);
    EXPECT_TRUE(in.Check());
    EXPECT_FALSE(y.Load(in.Reader(), in.Context()));
    EXPECT_FALSE(in.Check());
    EXPECT_NE(LastDataFileError().find("two.dat"), std::string::npos) << LastDataFileError();
}

// Hand-written parts after the listed ones.
class cWithExtra : public cRecord<cWithExtra> {
public:
    int8_t m_nA = 1;
    std::vector<int16_t> m_vecOdd;  // stored as count, then the values reversed
    template <class F>
    void Fields(F& f) {
        f.Field("m_nA", m_nA);
    }
    bool LoadExtra(cByteReader& r, const cLoadContext&) {
        const int32_t n = r.ReadCount(2, "odd count");
        m_vecOdd.assign(static_cast<size_t>(n), 0);
        for (int32_t i = n - 1; i >= 0; --i) r.Read(m_vecOdd[static_cast<size_t>(i)], "odd value");
        return r.ok();
    }
    void SaveExtra(cByteWriter& w, uint32_t) {
        w.WriteInt32(static_cast<int32_t>(m_vecOdd.size()));
        for (size_t i = m_vecOdd.size(); i-- > 0;) w.Write(m_vecOdd[i]);
    }
    void DumpExtra(cDumper& d) { d.Line("m_vecOdd", std::to_string(m_vecOdd.size())); }
};

TEST_F(DataRecordTest, ExtraPartsFollowTheList) {
    cWithExtra e;
    e.m_vecOdd = {1, 2};
    const auto file = FileOf(1000, Hex("01 00 00 00 01 00 00 00 00 02 00 00 00 02 00 01 00"));
    EXPECT_EQ(e.SaveBytes(), file);
    EXPECT_EQ(e.BodySize(1000) + 4, file.size());
    cWithExtra r;
    ASSERT_TRUE(r.LoadBytes(file, "e"));
    EXPECT_EQ(r.m_vecOdd, e.m_vecOdd);
    EXPECT_NE(r.DumpText().find("m_vecOdd = 2"), std::string::npos);
    auto cut = file;
    cut.pop_back();
    EXPECT_FALSE(r.LoadBytes(cut, "e"));
    auto huge = file;
    huge[13] = 0x7F;
    EXPECT_FALSE(r.LoadBytes(huge, "e"));
    EXPECT_EQ(r.m_vecOdd, e.m_vecOdd);
}

}  // namespace
