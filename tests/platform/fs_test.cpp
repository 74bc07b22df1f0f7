#include "platform/fs.h"

#include "platform/cp932.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <filesystem>

using platform::OsPath;
using platform::Utf8ToCp932;
using testsupport::TempWorkDir;

namespace {
std::string Sj(const char* utf8) { return Utf8ToCp932(utf8); }
}  // namespace

TEST(OsPath, SplitsOnRealSeparatorsOnly) {
    TempWorkDir dir;  // nothing exists: names are kept as written
    struct Case {
        std::string cp932, host;
    } cases[] = {
        {Sj("nope\\表\\ソ.txt"), "nope/表/ソ.txt"},
        {Sj("表示\\a"), "表示/a"},
        {Sj("亜\\b"), "亜/b"},
        {Sj("ソ\\\\x"), "ソ/x"},
        {"a/b\\c", "a/b/c"},
        {"data\\", "data"},
        {"", "."},
        {"\\abs\\x", "/abs/x"},
        {".\\a\\..\\b", "./a/../b"},
    };
    for (const auto& c : cases) EXPECT_EQ(OsPath(c.cp932), c.host) << c.host;
}

TEST(OsPath, ResolvesCaseInsensitively) {
    TempWorkDir dir;
    dir.WriteFile("data/STG4/ステージ.stg4_1000", "stage");
    dir.WriteFile("表/Ｆｉｌｅ.txt", "wide");
    EXPECT_EQ(OsPath(Sj("Data\\Stg4\\ステージ.STG4_1000")), "data/STG4/ステージ.stg4_1000");
    auto data = platform::ReadWholeFile(Sj("DATA\\stg4\\ステージ.Stg4_1000"));
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(std::string(data->begin(), data->end()), "stage");
    // Full-width letters fold too; the folder 表 is one component.
    EXPECT_EQ(OsPath(Sj("表\\ｆｉｌｅ.TXT")), "表/Ｆｉｌｅ.txt");
    // A missing last component keeps its spelling, under the resolved folder.
    EXPECT_EQ(OsPath("DATA\\stg4\\New.stg4_001"), "data/STG4/New.stg4_001");
}

TEST(OsPath, SeesWhatTheProgramCreates) {
    TempWorkDir dir;
    dir.MakeDirs("Save");
    EXPECT_FALSE(platform::PathExists("save\\a.dat"));  // fills the listing cache
    ASSERT_TRUE(platform::WriteFileAtomic("save\\A.dat", std::vector<uint8_t>{1, 2}));
    EXPECT_TRUE(platform::PathExists("SAVE\\a.DAT"));
    ASSERT_TRUE(platform::RenamePath("save\\a.dat", "save\\B.dat"));
    EXPECT_FALSE(platform::PathExists("save\\A.dat"));
    EXPECT_TRUE(platform::PathExists("save\\b.dat"));
    ASSERT_TRUE(platform::MakeDirectory("save\\Sub"));
    EXPECT_TRUE(platform::IsDirectory("SAVE\\SUB\\"));
    EXPECT_TRUE(platform::RemoveDirectory("save\\sub"));
    EXPECT_TRUE(platform::RemoveFile("save\\b.dat"));
    EXPECT_FALSE(platform::PathExists("save\\b.dat"));
}

TEST(ListDir, WindowsOrderAndCaseInsensitivePattern) {
    TempWorkDir dir;
    // Upper-cased UTF-16 order: "_" (5F) after letters, kana before kanji,
    // full-width and half-width forms last.
    const char* names[] = {"_x", "zz", "ｱ", "亜", "ア", "Ａ", "あ", "a_b", "ABD", "abc", "aB"};
    for (const char* n : names) dir.WriteFile(n);
    dir.MakeDirs("Folder.stg4_x");
    std::vector<std::string> got;
    for (const auto& e : platform::ListDir("", "*")) got.push_back(platform::Cp932ToUtf8(e.name));
    std::vector<std::string> want = {"aB", "abc", "ABD", "a_b", "Folder.stg4_x", "zz", "_x",
                                     "あ", "ア",  "亜",  "Ａ",  "ｱ"};
    EXPECT_EQ(got, want);

    dir.WriteFile("x.STG4_010");
    auto stages = platform::ListDir(".\\", "*.stg4_*");
    ASSERT_EQ(stages.size(), 2u);
    EXPECT_EQ(stages[0].name, "Folder.stg4_x");
    EXPECT_TRUE(stages[0].isDir);
    EXPECT_EQ(stages[1].name, "x.STG4_010");
    EXPECT_FALSE(stages[1].isDir);
    EXPECT_EQ(platform::ListDir("", "*.*").size(), got.size() + 1);  // also names without a dot
    EXPECT_TRUE(platform::ListDir("missing", "*").empty());
}

TEST(Fs, WriteFileAtomicReplacesWholeFile) {
    TempWorkDir dir;
    dir.WriteFile("f.dat", "old contents");
    ASSERT_TRUE(platform::WriteFileAtomic("F.DAT", std::vector<uint8_t>{'n', 'e', 'w'}));
    EXPECT_EQ(dir.ReadFile("f.dat"), "new");
    EXPECT_FALSE(platform::WriteFileAtomic("nofolder\\f.dat", std::vector<uint8_t>{1}));
    EXPECT_FALSE(dir.Exists("nofolder"));
    EXPECT_FALSE(platform::ReadWholeFile("missing.dat").has_value());
}

TEST(Fs, FreeDiskBytesCappedAtIntMax) {
    TempWorkDir dir;
    int64_t free = platform::FreeDiskBytes("");
    EXPECT_GT(free, 0);
    EXPECT_LE(free, INT_MAX);
    EXPECT_EQ(platform::FreeDiskBytes("no\\such\\folder"), 0);
}

// Names as the host stores them: UTF-8 with a CP932 form, raw CP932 bytes
// (unpacked from a Windows archive), and names the program cannot spell.
TEST(ListDir, HostNamesInTheProgramsForm) {
    TempWorkDir dir;
    const std::string raw = Sj("ソフト.stg4");  // 0x83 0x5C: a trail byte, not a separator
    dir.WriteFile("d/" + raw, "raw");
    dir.WriteFile("d/ステージ.stg4", "utf8");
    dir.WriteFile("d/한.stg4", "no cp932 form");
    dir.WriteFile("d/a\\b.stg4", "a backslash in the name");
    dir.WriteFile("d/" + std::string("\xFF\xFE.stg4"), "neither");
    std::vector<std::string> names, leftOut;
    for (const auto& e : platform::ListDir("d", "*.STG4", &leftOut)) names.push_back(e.name);
    EXPECT_EQ(names, std::vector<std::string>({Sj("ステージ.stg4"), raw}));
    std::sort(leftOut.begin(), leftOut.end());
    EXPECT_EQ(leftOut, std::vector<std::string>({"a\\b.stg4", "한.stg4", "\xFF\xFE.stg4"}));

    // The raw name opens by its CP932 spelling, in any case.
    EXPECT_EQ(OsPath(Sj("D\\ソフト.STG4")), "d/" + raw);
    auto data = platform::ReadWholeFile(Sj("d\\ソフト.stg4"));
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(std::string(data->begin(), data->end()), "raw");
}

TEST(Cp932, HostNameToCp932) {
    struct Case {
        std::string host;
        bool ok;
        std::string cp932;
    } cases[] = {
        {"plain.txt", true, "plain.txt"},
        {"表.txt", true, Sj("表.txt")},
        {Sj("表.txt"), true, Sj("表.txt")},  // raw CP932 bytes stay
        {"한", false, ""},
        {"a\\b", false, ""},
        {"\x81", false, ""},  // a lone lead byte
    };
    for (const auto& c : cases) {
        std::string out;
        EXPECT_EQ(platform::HostNameToCp932(c.host, &out), c.ok) << c.host;
        if (c.ok) EXPECT_EQ(out, c.cp932) << c.host;
    }
}

// File systems without hard links (FAT, exFAT, some network and FUSE mounts)
// refuse link(): a new file is still made, complete and read-only when asked,
// and an existing name is still never replaced, whether the rename that never
// replaces works there or not.
TEST(Fs, WriteNewFileWithoutHardLinks) {
    struct Reset {
        ~Reset() { platform::SetCommitFaults({}); }
    } reset;
    struct Case {
        const char* label;
        platform::CommitFaults faults;
    } cases[] = {
        {"hard links", {}},
        {"no hard links", {EPERM, 0}},
        {"no hard links, no rename without replacing", {EPERM, EINVAL}},
        {"neither, reported as unsupported", {EOPNOTSUPP, ENOSYS}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TempWorkDir dir;
        dir.MakeDirs("rpl4");
        platform::SetCommitFaults(c.faults);
        ASSERT_TRUE(platform::WriteNewFile(Sj("rpl4\\記録.rpl4_1000"), "one", 3, false, true));
        EXPECT_EQ(dir.ReadFile("rpl4/記録.rpl4_1000"), "one");
        struct stat st {};
        ASSERT_EQ(::stat((dir.Path() / "rpl4/記録.rpl4_1000").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0222, 0u);
        // Never over an existing file.
        EXPECT_FALSE(platform::WriteNewFile(Sj("rpl4\\記録.rpl4_1000"), "two", 3, false, false));
        EXPECT_EQ(dir.ReadFile("rpl4/記録.rpl4_1000"), "one");
        ASSERT_TRUE(platform::WriteNewFile("rpl4\\b.rpl4_1000", "bb", 2, false, false));
        EXPECT_EQ(dir.ReadFile("rpl4/b.rpl4_1000"), "bb");
        // No temporary file is left behind.
        size_t entries = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path() / "rpl4")) ++entries;
        EXPECT_EQ(entries, 2u);
        platform::SetCommitFaults({});
    }
}
