// Database records: file layouts of the ten tables, the upgrades of old
// versions, and the compiled animation and effect steps.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <functional>
#include <map>

#include "tools/data/data_kinds.h"
#include "records/database.h"
#include "records/db_effect_params.h"
#include "tests/records/db_test_files.h"

using dbtest::Anime;
using dbtest::Bytes;
using dbtest::Cp;
using dbtest::Frame;
using dbtest::TableHead;

namespace {

class DbRecordsTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_nDataVersion = kDataVersion;
        g_bStripCR = 0;
    }
};

// Loads a one-kind table file into an empty table.
template <class T>
cCheckedVector<T> LoadTableBytes(const Bytes& file) {
    cDbTableFile<T> t;
    EXPECT_TRUE(t.LoadBytes(file.v, "test")) << LastDataFileError();
    return t.m_vecRecords;
}

}  // namespace

// Every hand-made file loads with the values typed into it and saves back to
// the same bytes: field order, widths, gates at 1000 and sub-record counts.
TEST_F(DbRecordsTest, SampleFilesLoadAndSaveByteExact) {
    const std::map<std::string, std::vector<std::string>> expected = {
        {"animeset", {"m_nInvincibleGraphicOffset = 7", "m_nFlyingGraphicOffset = 2", "m_nAnimeParamB = 2",
                      "m_bLock = 1"}},
        {"anime", {"m_strName = \"なし\"", "m_nAnimeParamA = -3", "m_nAnimeParamB = 300"}},
        {"bmp_charaexc", {"m_nTag = 4", "m_bCustomCell = 1", "m_nCellSize = 3", "m_strFile = \"chara.png\""}},
        {"swordtype", {"m_nTag = 6", "m_strFile2 = \"s2.png\"", "m_nOffsetX = -8", "m_bMirrorY = 1", "m_nHeight = 40"}},
        {"effect", {"m_nCellWidth = 48", "m_nCellHeight = 40", "m_bScalable = 1", "m_nDuration = 2"}},
        {"charaeffect", {"m_nKind = 3", "m_nParam = [5, 0, 32, 2, 3]", "m_strName = \"波\""}},
        {"screffect", {"m_nParam = [10, 0, 480, 4, 3]"}},
        {"picture", {"m_strFile = \"pic\\\\title.png\"", "m_strName = \"背景\""}},
        {"sound", {"m_nTag = 9"}},
        {"bgm", {"m_nVolume = 80", "m_strFile = \"bgm\\\\stage.ogg\""}},
    };
    for (const auto& sample : dbtest::SampleFiles()) {
        SCOPED_TRACE(sample.kind);
        const cDataKind* kind = FindDataKind(sample.kind);
        ASSERT_NE(kind, nullptr);
        auto rec = kind->pfnMake();
        ASSERT_TRUE(rec->LoadBytes(sample.bytes, sample.kind)) << LastDataFileError();
        EXPECT_EQ(rec->SaveBytes(), sample.bytes);
        const std::string dump = rec->DumpText();
        for (const std::string& line : expected.at(sample.kind)) EXPECT_NE(dump.find(line), std::string::npos) << line;
    }
}

// Members an old file lacks keep their defaults; the upgrades of each record
// apply by the file's own version.
TEST_F(DbRecordsTest, OldVersionGates) {
    auto names = [](const cDbAnimeSet& s) {
        std::vector<std::string> out;
        for (const auto& a : s.m_vecAnimes) out.push_back(a.m_strName);
        return out;
    };
    // Anime bodies as stored in sets of these versions (name, fields, frames).
    auto entry = [](const char* name) { return Anime(name, 0, 1, 0, {Frame(0, 1, 0)}); };
    auto setFile = [&](uint32_t v, int fields, std::vector<const char*> entries) {
        Bytes b = TableHead(v, 1);
        b.i32(fields).i32(11).i32(12);
        if (fields == 3) b.i32(13);
        b.strs({"s"}).i32(static_cast<int32_t>(entries.size()));
        for (const char* e : entries) b.add(entry(e));
        return b;
    };
    const std::string fly = Cp("飛行"), flyMove = Cp("飛行移動");

    struct Case {
        const char* what;
        std::function<void()> check;
    };
    const std::vector<Case> cases = {
        {"set 118 with six entries keeps four, the flying pair renamed",
         [&] {
             auto s = LoadTableBytes<cDbAnimeSet>(setFile(118, 2, {"a", "b", "c", "d", "e", "f"})).at(0);
             EXPECT_EQ(names(s), (std::vector<std::string>{"a", "b", fly, flyMove}));
             EXPECT_EQ(s.m_nBlockCharaGraphicOffset, 12);
             EXPECT_EQ(s.m_nFlyingGraphicOffset, 0);
         }},
        {"set 118 with two entries is filled to four",
         [&] {
             auto s = LoadTableBytes<cDbAnimeSet>(setFile(118, 2, {"a", "b"})).at(0);
             EXPECT_EQ(names(s), (std::vector<std::string>{"a", "b", fly, flyMove}));
             EXPECT_EQ(s.m_vecAnimes.at(3).m_vecFrames.size(), 1u);
         }},
        {"set 127 renames entries 2 and 3",
         [&] {
             auto s = LoadTableBytes<cDbAnimeSet>(setFile(127, 3, {"a", "b", "c", "d"})).at(0);
             EXPECT_EQ(names(s), (std::vector<std::string>{"a", "b", fly, flyMove}));
             EXPECT_EQ(s.m_nFlyingGraphicOffset, 13);
         }},
        {"set 128 keeps all six entries and names",
         [&] {
             auto s = LoadTableBytes<cDbAnimeSet>(setFile(128, 3, {"a", "b", "c", "d", "e", "f"})).at(0);
             EXPECT_EQ(names(s), (std::vector<std::string>{"a", "b", "c", "d", "e", "f"}));
         }},
        {"anime 54 stores only the name and keeps the flag 1",
         [&] {
             Bytes b = TableHead(54, 1);
             b.i32(0).strs({"old"}).i32(2).add(Frame(4, 2, 0)).add(Frame(5, 3, 1));
             auto a = LoadTableBytes<cDbAnime>(b).at(0);
             EXPECT_EQ(a.m_strName, "old");
             EXPECT_EQ(a.m_bAnimeFlag, 1);
             ASSERT_EQ(a.m_vecFrames.size(), 2u);
             EXPECT_EQ(a.m_vecFrames[1].m_nPicture, 5);
             EXPECT_EQ(a.m_vecFrames[1].m_bLock, 1);
         }},
        {"sword part 137 has no mirror fields",
         [&] {
             Bytes b = TableHead(137, 1);
             b.i32(0).strs({"sw", "f", ""}).i32(1);
             b.i32(8).i32(1).i32(2).i32(3).i32(4).i32(5).i32(6).i32(7).i32(8).i32(0);
             auto p = LoadTableBytes<cDbSwordType>(b).at(0).m_vecParts.at(0);
             EXPECT_EQ(std::vector<int>({p.m_nOffsetX, p.m_nOffsetY, p.m_bMirrorX, p.m_bMirrorY, p.m_nPlacement,
                                         p.m_nCellX, p.m_nCellY, p.m_nWidth, p.m_nHeight, p.m_nDuration}),
                       std::vector<int>({1, 2, 1, 0, 3, 4, 5, 6, 7, 8}));
         }},
        {"chara bitmap 171 has no cell fields",
         [&] {
             Bytes b = TableHead(171, 1);
             b.i32(1).i32(5).strs({"b", "b.png"});
             auto r = LoadTableBytes<cDbBmpCharaExc>(b).at(0);
             EXPECT_EQ(r.m_nTag, 5);
             EXPECT_EQ(r.m_bCustomCell, 0);
             EXPECT_EQ(r.m_nCellSize, 2);
         }},
        {"effect 150 stores no tag",
         [&] {
             Bytes b = TableHead(150, 1);
             b.i32(3).i32(16).i32(24).i32(1).strs({"e", "e.png"}).i32(1).i32(2).i32(7).i32(3).i32(0);
             auto e = LoadTableBytes<cDbEffect>(b).at(0);
             EXPECT_EQ(e.m_nCellWidth, 16);
             EXPECT_EQ(e.m_nCellHeight, 24);
             EXPECT_EQ(e.m_bScalable, 1);
             EXPECT_EQ(e.m_vecParts.at(0).m_nPicture, 7);
         }},
        {"tags: 152 loads 0, 153 keeps the stored value",
         [&] {
             for (uint32_t v : {152u, 153u}) {
                 const int want = v == 153 ? 5 : 0;
                 Bytes pic = TableHead(v, 1);
                 pic.i32(1).i32(5).strs({"p", "p.png"});
                 EXPECT_EQ(LoadTableBytes<cDbPicture>(pic).at(0).m_nTag, want) << v;
                 EXPECT_EQ(LoadTableBytes<cDbSound>(pic).at(0).m_nTag, want) << v;
                 EXPECT_EQ(LoadTableBytes<cDbBgm>(pic).at(0).m_nTag, want) << v;
                 Bytes sw = TableHead(v, 1);
                 sw.i32(1).i32(5).strs({"", "", ""}).i32(0);
                 EXPECT_EQ(LoadTableBytes<cDbSwordType>(sw).at(0).m_nTag, want) << v;
                 Bytes ef = TableHead(v, 1);
                 ef.i32(4).i32(5).i32(32).i32(32).i32(0).strs({"", ""}).i32(0);
                 EXPECT_EQ(LoadTableBytes<cDbEffect>(ef).at(0).m_nTag, want) << v;
             }
         }},
        {"music 813 has no volume and plays at 100 percent",
         [&] {
             Bytes b = TableHead(813, 1);
             b.i32(1).i32(0).strs({"m", "m.ogg"});
             EXPECT_EQ(LoadTableBytes<cDbBgm>(b).at(0).m_nVolume, 100);
         }},
        {"negative frame and entry counts load as none",
         [&] {
             Bytes a = TableHead(1000, 1);
             a.i32(3).i16(0).i8(1).i16(0).strs({"a"}).i32(-1);
             EXPECT_TRUE(LoadTableBytes<cDbAnime>(a).at(0).m_vecFrames.empty());
             Bytes s = TableHead(1000, 1);
             s.i32(3).i32(4).i32(8).i32(0).strs({"s"}).i32(INT32_MIN);
             EXPECT_TRUE(LoadTableBytes<cDbAnimeSet>(s).at(0).m_vecAnimes.empty());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.check();
    }
}

// Files up to 510 lacked the coarseness parameters; they take the defaults of
// the parameter tables, by the table's own kind numbers.
TEST_F(DbRecordsTest, OldEffectParametersTakeTableDefaults) {
    struct Case {
        bool screen;
        uint32_t version;
        int32_t kind;
        std::array<int32_t, 5> want;  // stored: 1, 2, 3, 4, 5
    };
    const Case cases[] = {
        {false, 510, 4, {1, 2, 3, 4, 2}}, {false, 510, 5, {1, 2, 3, 4, 2}}, {false, 510, 10, {1, 2, 3, 2, 5}},
        {false, 400, 3, {1, 2, 3, 4, 5}}, {false, 511, 4, {1, 2, 3, 4, 5}}, {true, 510, 6, {1, 2, 3, 4, 8}},
        {true, 510, 7, {1, 2, 3, 4, 10}}, {true, 510, 10, {1, 2, 3, 8, 5}}, {true, 511, 7, {1, 2, 3, 4, 5}},
        // Kind numbers belong to their own table.
        {true, 510, 4, {1, 2, 3, 4, 5}},  {false, 510, 7, {1, 2, 3, 4, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.screen ? "screen" : "chara") << " v" << c.version << " kind " << c.kind);
        Bytes b = TableHead(c.version, 1);
        b.i32(2).i32(c.kind).i32(1).i32(2).i32(3).i32(4).i32(5).strs({"e"});
        std::array<int32_t, 5> got{};
        if (c.screen) {
            auto r = LoadTableBytes<cDbScrEffect>(b).at(0);
            std::copy(std::begin(r.m_nParam), std::end(r.m_nParam), got.begin());
        } else {
            auto r = LoadTableBytes<cDbCharaEffect>(b).at(0);
            std::copy(std::begin(r.m_nParam), std::end(r.m_nParam), got.begin());
        }
        EXPECT_EQ(got, c.want);
    }
}

// A transcription check of the parameter tables: used entries have a label
// and a default inside their range, unused ones are empty; the duration is
// always the first parameter.
TEST_F(DbRecordsTest, EffectParameterTablesAreConsistent) {
    struct Table {
        const cCheckedVector<cParamInfo>& t;
        int kinds;
    };
    for (const Table& tab : {Table{CharaEffectParamTable(), kCharaEffectKindCount},
                             Table{ScrEffectParamTable(), kScrEffectKindCount}}) {
        ASSERT_EQ(tab.t.size(), static_cast<size_t>(tab.kinds * kEffectParamCount));
        for (int k = 0; k < tab.kinds; ++k) {
            for (int p = 0; p < kEffectParamCount; ++p) {
                const cParamInfo& e = tab.t[k * kEffectParamCount + p];
                SCOPED_TRACE(testing::Message() << "kind " << k << " param " << p);
                if (e.strName.empty()) {
                    EXPECT_TRUE(e.nMin == 0 && e.nMax == 0 && e.nDefault == 0);
                    EXPECT_TRUE(k == 0 || p > 0);
                } else {
                    EXPECT_LE(e.nMin, e.nDefault);
                    EXPECT_LE(e.nDefault, e.nMax);
                }
                if (p == 0 && k > 0) {
                    EXPECT_EQ(e.strName, Cp("実行時間(1/10s)"));
                }
            }
        }
    }
}

TEST_F(DbRecordsTest, CompileAnimeSteps) {
    struct F {
        int32_t picture, duration, lock;
    };
    struct Case {
        const char* what;
        bool first;  // compiled as animation 0
        std::vector<F> frames;
        std::vector<AnimeStep> want;
    };
    const std::vector<Case> cases = {
        {"plain", false, {{3, 2, 0}, {4, 3, 0}}, {{3, 12, 0}, {4, 18, 0}, {ANIME_END, 0, 0}}},
        {"locked second frame", false, {{3, 2, 0}, {4, 3, 1}}, {{3, 12, 0}, {4, 18, 1}, {ANIME_END, 0, 0}}},
        {"a lock holds to the end", false, {{1, 1, 1}, {2, 1, 0}, {3, 1, 0}},
         {{1, 6, 1}, {2, 6, 1}, {3, 6, 1}, {ANIME_END, 0, 0}}},
        {"no frames", false, {}, {{ANIME_END, 0, 0}}},
        {"duration beyond the tick range saturates", false, {{0, INT32_MAX, 0}, {0, INT32_MIN, 0}},
         {{0, INT32_MAX, 0}, {0, INT32_MIN, 0}, {ANIME_END, 0, 0}}},
        {"animation 0 is a locked zero-time loop", true, {{3, 2, 0}, {4, 3, 0}},
         {{3, 0, 1}, {4, 0, 1}, {ANIME_RESTART, 0, 1}}},
        {"animation 0 without frames", true, {}, {{ANIME_RESTART, 0, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<cDbAnime> anime(2);
        cDbAnime& a = anime[c.first ? 0 : 1];
        a.m_vecFrames.clear();
        for (const F& f : c.frames) {
            cDbAnimeFrame fr;
            fr.m_nPicture = f.picture;
            fr.m_nDuration = f.duration;
            fr.m_bLock = f.lock;
            a.m_vecFrames.push_back(fr);
        }
        cCheckedVector<AnimeTrack> steps(5);  // longer than the table: cut to its length
        CompileAnimeSteps(anime, steps);
        ASSERT_EQ(steps.size(), 2u);
        EXPECT_EQ(static_cast<std::vector<AnimeStep>&>(steps[c.first ? 0 : 1]), c.want);
    }
}

TEST_F(DbRecordsTest, CompileEffectSteps) {
    std::vector<cDbEffect> effects(3);
    for (cDbEffect& e : effects) {
        e.m_vecParts.clear();
        int picture = 0;
        for (int32_t d : {1, 1, 2}) {
            cDbEffectPart p;
            p.m_nPicture = picture++;
            p.m_nDuration = d;
            e.m_vecParts.push_back(p);
        }
    }
    effects[2].m_vecParts.clear();
    cCheckedVector<AnimeTrack> steps;
    CompileEffectSteps(effects, steps);
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(static_cast<std::vector<AnimeStep>&>(steps[0]),
              (std::vector<AnimeStep>{{0, 0, 1}, {1, 0, 1}, {2, 0, 1}, {ANIME_RESTART, 0, 1}}));
    EXPECT_EQ(static_cast<std::vector<AnimeStep>&>(steps[1]),
              (std::vector<AnimeStep>{{0, 6, 0}, {1, 6, 0}, {2, 12, 0}, {ANIME_END, 0, 0}}));
    EXPECT_EQ(static_cast<std::vector<AnimeStep>&>(steps[2]), (std::vector<AnimeStep>{{ANIME_END, 0, 0}}));
}
