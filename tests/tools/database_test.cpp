// The database: defaults, the ten table files read in their fixed order from
// a game folder, failures, damaged files, and the data tool over the tables.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <fstream>

#include "base/quit.h"
#include "platform/message_box.h"
#include "tools/data/data_kinds.h"
#include "records/common_palette.h"
#include "records/database.h"
#include "tests/records/db_test_files.h"
#include "tests/records/mutation.h"
#include "tests/support/temp_dir.h"

using dbtest::Bytes;
using dbtest::Cp;
using dbtest::TableHead;

namespace {

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_nDataVersion = kDataVersion;
        g_bStripCR = 1;
        g_bFileTooNew = 0;
        g_bQuit = 0;
    }
    void TearDown() override {
        g_bStripCR = 0;
        g_bQuit = 0;
    }
    void WriteTable(const std::string& file, const std::vector<uint8_t>& bytes) {
        m_dir.WriteFile("data/database/" + file, std::string(bytes.begin(), bytes.end()));
    }
    // All ten sample files.
    void WriteSamples() {
        for (const auto& s : dbtest::SampleFiles()) WriteTable(s.fileName, s.bytes);
    }
    std::vector<size_t> Sizes(const cDatabase& db) {
        return {db.m_vecAnimeSet.size(),  db.m_vecAnime.size(),     db.m_vecBmpCharaExc.size(),
                db.m_vecSwordType.size(), db.m_vecEffect.size(),    db.m_vecCharaEffect.size(),
                db.m_vecScrEffect.size(), db.m_vecPicture.size(),   db.m_vecSound.size(),
                db.m_vecBgm.size()};
    }
    const std::vector<size_t> kDefaultSizes{1, 2, 2, 1, 2, 2, 2, 2, 2, 2};
    const std::vector<size_t> kSampleSizes{1, 2, 2, 1, 2, 2, 2, 3, 1, 2};

    testsupport::TempWorkDir m_dir;
    platform::CapturedMessageBoxes m_boxes;
};

}  // namespace

TEST_F(DatabaseTest, Defaults) {
    cDatabase db;
    EXPECT_EQ(Sizes(db), kDefaultSizes);
    EXPECT_EQ(db.m_vecAnime[0].m_strName, Cp("なし"));
    EXPECT_EQ(db.m_vecAnime[1].m_strName, Cp("アクションA"));
    EXPECT_EQ(db.m_vecAnime[1].m_vecFrames.size(), 1u);
    const cDbAnimeSet& set = db.m_vecAnimeSet[0];
    ASSERT_EQ(set.m_vecAnimes.size(), 4u);
    EXPECT_EQ(set.m_vecAnimes[0].m_strName, Cp("立ち"));
    EXPECT_EQ(set.m_vecAnimes[1].m_strName, Cp("立ち移動"));
    EXPECT_EQ(set.m_vecAnimes[2].m_strName, Cp("飛行"));
    EXPECT_EQ(set.m_vecAnimes[3].m_strName, Cp("飛行移動"));
    EXPECT_EQ(set.m_nInvincibleGraphicOffset, 4);
    EXPECT_EQ(set.m_nBlockCharaGraphicOffset, 8);
    // A new sword type's only part is shown for a tenth and mirrors in X;
    // parts added by a load start at duration 0.
    ASSERT_EQ(db.m_vecSwordType[0].m_vecParts.size(), 1u);
    EXPECT_EQ(db.m_vecSwordType[0].m_vecParts[0].m_nDuration, 1);
    EXPECT_EQ(db.m_vecSwordType[0].m_vecParts[0].m_bMirrorX, 1);
    EXPECT_EQ(cDbSwordPart().m_nDuration, 0);
    EXPECT_EQ(db.m_vecEffect[0].m_vecParts.at(0).m_nDuration, 1);
    EXPECT_EQ(db.m_vecCharaEffect[0].m_nKind, 1);
    EXPECT_EQ(db.m_vecBgm[1].m_nVolume, 100);
    EXPECT_EQ(db.m_vecBmpCharaExc[1].m_nCellSize, 2);
    EXPECT_TRUE(db.m_vecCharaEffectWork.empty());
}

TEST_F(DatabaseTest, LoadsAllTenTables) {
    WriteSamples();
    cDatabase db;
    ASSERT_TRUE(LoadDatabase(db));
    EXPECT_TRUE(m_boxes.Boxes().empty());
    EXPECT_EQ(Sizes(db), kSampleSizes);
    EXPECT_EQ(db.m_vecAnimeSet[0].m_vecAnimes.size(), 2u);
    EXPECT_EQ(db.m_vecAnime[1].m_strName, "jump");
    EXPECT_EQ(db.m_vecSwordType[0].m_vecParts[1].m_nWidth, 8);
    EXPECT_EQ(db.m_vecEffect[1].m_nCellWidth, 48);
    EXPECT_EQ(db.m_vecPicture[2].m_strName, Cp("背景"));
    EXPECT_EQ(db.m_vecBgm[1].m_nVolume, 80);
    // Entry 0 of both effect tables stands for none whatever the file says.
    EXPECT_EQ(db.m_vecCharaEffect[0].m_nKind, 0);
    EXPECT_EQ(db.m_vecScrEffect[0].m_nKind, 0);
    EXPECT_EQ(db.m_vecCharaEffect[1].m_nKind, 4);
    EXPECT_EQ(db.m_vecScrEffect[1].m_nKind, 7);

    db.MakeWorkingCopies();
    ASSERT_EQ(db.m_vecCharaEffectWork.size(), 2u);
    ASSERT_EQ(db.m_vecScrEffectWork.size(), 2u);
    EXPECT_EQ(db.m_vecCharaEffectWork[1].SaveBytes(), db.m_vecCharaEffect[1].SaveBytes());
    EXPECT_EQ(db.m_vecScrEffectWork[1].SaveBytes(), db.m_vecScrEffect[1].SaveBytes());

    cCheckedVector<AnimeTrack> anime, effects;
    CompileAnimeSteps(db.m_vecAnime, anime);
    CompileEffectSteps(db.m_vecEffect, effects);
    ASSERT_EQ(anime.size(), 2u);
    EXPECT_EQ(anime[1].size(), 4u);
    EXPECT_EQ(anime[1][1], (AnimeStep{2, 24, 1}));
    ASSERT_EQ(effects.size(), 2u);
    EXPECT_EQ(effects[1][1], (AnimeStep{1, 12, 0}));
}

// A count of 0 or below keeps what the table held.
TEST_F(DatabaseTest, CountZeroOrBelowKeepsTheTable) {
    for (int32_t count : {0, -1, INT32_MIN}) {
        SCOPED_TRACE(count);
        WriteSamples();
        WriteTable("Picture.dat", TableHead(1000, count).v);
        cDatabase db;
        db.m_vecPicture[1].m_strName = "kept";
        ASSERT_TRUE(LoadDatabase(db));
        ASSERT_EQ(db.m_vecPicture.size(), 2u);
        EXPECT_EQ(db.m_vecPicture[1].m_strName, "kept");
        EXPECT_EQ(db.m_vecBgm.size(), 2u);  // later tables still read
    }
}

// Sword-type files before 828 held at most 128 records; the test uses the
// sword file's own version, not that of the file read last.
TEST_F(DatabaseTest, OldSwordTypeTablesAreCutTo128) {
    struct Case {
        uint32_t version;
        int32_t count;
        size_t want;
    };
    for (const Case c : {Case{827, 130, 128}, Case{828, 130, 130}, Case{827, 100, 100}, Case{1000, 129, 129}}) {
        SCOPED_TRACE(testing::Message() << c.version << " x " << c.count);
        WriteSamples();
        Bytes b = TableHead(c.version, c.count);
        for (int i = 0; i < c.count; ++i) b.i32(1).i32(i).strs({"", "", ""}).i32(0);
        WriteTable("SwordType.dat", b.v);
        cDatabase db;
        ASSERT_TRUE(LoadDatabase(db));
        ASSERT_EQ(db.m_vecSwordType.size(), c.want);
        EXPECT_EQ(db.m_vecSwordType.back().m_nTag, static_cast<int32_t>(c.want - 1));
    }
}

// Upgrades of the effect tables follow each file's version.
TEST_F(DatabaseTest, EachTableUpgradesByItsOwnVersion) {
    WriteSamples();
    Bytes chara = TableHead(510, 2);
    chara.i32(2).i32(0).i32(1).i32(1).i32(1).i32(1).i32(1).strs({""});
    chara.i32(2).i32(4).i32(5).i32(0).i32(32).i32(2).i32(4).strs({"wave"});
    WriteTable("CharaEffect.dat", chara.v);
    cDatabase db;
    ASSERT_TRUE(LoadDatabase(db));
    EXPECT_EQ(db.m_vecCharaEffect[1].m_nParam[4], 2);  // 510: table default
    EXPECT_EQ(db.m_vecScrEffect[1].m_nParam[4], 3);    // 1000: as stored
}

// The first table that cannot be read is reported by name; the tables before
// it keep their new records, it and the later ones what they held, and the
// later files are not read (here they are garbage and would fail).
TEST_F(DatabaseTest, FirstFailureStopsTheLoad) {
    struct Case {
        const char* what;
        std::vector<uint8_t> effectFile;  // empty: no file
        bool tooNew;
    };
    Bytes cutShort = TableHead(1000, 1);
    cutShort.i32(4).i32(0).i32(32).i32(32);  // a field, the strings and the parts missing
    const std::vector<Case> cases = {
        {"missing", {}, false},
        {"cut short", cutShort.v, false},
        {"count beyond the bytes left", TableHead(1000, INT32_MAX).i32(0).v, false},
        {"newer than this program", TableHead(1001, 1).v, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::TempWorkDir dir;
        platform::CapturedMessageBoxes boxes;
        for (const auto& s : dbtest::SampleFiles()) {
            const std::string name = s.fileName;
            if (name == "Effect.dat") {
                if (!c.effectFile.empty()) 
                    dir.WriteFile("data/database/" + name,
                                  std::string(c.effectFile.begin(), c.effectFile.end()));
            } else if (name == "AnimeSet.dat" || name == "Anime.dat" || name == "Bmp_CharaExc.dat" ||
                       name == "SwordType.dat") {
                dir.WriteFile("data/database/" + name, std::string(s.bytes.begin(), s.bytes.end()));
            } else {
                dir.WriteFile("data/database/" + name, "garbage");
            }
        }
        cDatabase db;
        EXPECT_FALSE(LoadDatabase(db));
        std::vector<size_t> want = kSampleSizes;
        for (size_t i = 4; i < want.size(); ++i) want[i] = kDefaultSizes[i];
        EXPECT_EQ(Sizes(db), want);
        EXPECT_EQ(db.m_vecEffect[1].m_nCellWidth, 32);
        EXPECT_EQ(db.m_vecCharaEffect[0].m_nKind, 1);  // entry 0 untouched as well

        const auto shown = boxes.Boxes();
        ASSERT_EQ(shown.size(), 1u);
        std::string text = Cp("data\\database\\Effect.dat の読み込みに失敗しました！");
        if (c.tooNew) text += "\n" + Cp("実行ファイル(.exe)より上位のバージョンのファイルは使用できません。");
        EXPECT_EQ(shown[0].text, text);
    }
}

// Windows-made game folders: names in other letter cases are found.
TEST_F(DatabaseTest, TableNamesIgnoreLetterCase) {
    for (const auto& s : dbtest::SampleFiles()) {
        std::string upper = s.fileName;
        for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        m_dir.WriteFile("DATA/Database/" + upper, std::string(s.bytes.begin(), s.bytes.end()));
    }
    cDatabase db;
    EXPECT_TRUE(LoadDatabase(db));
    EXPECT_EQ(Sizes(db), kSampleSizes);
}

// Damaged variants of every table file load or are refused, never crash or
// hang, and a refused file leaves the table as it was.
TEST_F(DatabaseTest, DamagedTableFilesAreRefusedSafely) {
    mutation::Options opt;
    opt.nRandomFlips = 500;
    for (const auto& s : dbtest::SampleFiles()) {
        SCOPED_TRACE(s.kind);
        const cDataKind* kind = FindDataKind(s.kind);
        ASSERT_NE(kind, nullptr);
        const std::vector<uint8_t> before = kind->pfnMake()->SaveBytes();
        // The sample as written at 1000 and in the layouts of two old versions
        // (upgrade paths of sets, sword parts, tags and effect parameters).
        auto sample = kind->pfnMake();
        ASSERT_TRUE(sample->LoadBytes(s.bytes, s.kind));
        for (const auto& valid : {s.bytes, sample->SaveBytesAs(120), sample->SaveBytesAs(500)}) {
            size_t nKeptOnRefusal = 0, nRefused = 0;
            auto summary = mutation::Run(
                valid,
                [&](const std::vector<uint8_t>& b) {
                    auto rec = kind->pfnMake();
                    const bool ok = rec->LoadBytes(b, "mutant");
                    if (!ok) {
                        ++nRefused;
                        if (rec->SaveBytes() == before) ++nKeptOnRefusal;
                    }
                    return ok;
                },
                opt);
            EXPECT_EQ(summary.nSlow, 0u) << summary.slowest;
            EXPECT_GT(summary.nRefused, 0u);
            EXPECT_EQ(nKeptOnRefusal, nRefused);
        }
    }
}

// tovaro-data resaves every table byte for byte and dumps it with field names.
TEST_F(DatabaseTest, DataToolResavesEveryTableByteExact) {
    const std::string tool = TOVARO_BINARY_DIR "/tovaro-data";
    for (const auto& s : dbtest::SampleFiles()) {
        SCOPED_TRACE(s.kind);
        m_dir.WriteFile("in.dat", std::string(s.bytes.begin(), s.bytes.end()));
        const std::string kind = s.kind;
        ASSERT_EQ(std::system((tool + " resave " + kind + " in.dat out.dat").c_str()), 0);
        const std::string out = m_dir.ReadFile("out.dat");
        EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.end()), s.bytes);
    }
    // Nested records dump with their field names.
    const std::vector<uint8_t> animeSet = dbtest::SampleFiles()[0].bytes;
    m_dir.WriteFile("in.dat", std::string(animeSet.begin(), animeSet.end()));
    ASSERT_EQ(std::system((tool + " dump animeset in.dat > dump.txt").c_str()), 0);
    EXPECT_NE(m_dir.ReadFile("dump.txt").find("m_bLock = 1"), std::string::npos) << m_dir.ReadFile("dump.txt");
    // A folder with all ten tables: the check finds no problem in them (the
    // rest of a game folder is missing, so it still fails as a whole).
    WriteSamples();
    std::system((tool + " check . > check.txt").c_str());
    EXPECT_EQ(m_dir.ReadFile("check.txt").find("database"), std::string::npos) << m_dir.ReadFile("check.txt");
}
