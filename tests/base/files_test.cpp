#include "base/files.h"

#include "platform/cp932.h"
#include "platform/fs.h"
#include "platform/message_box.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

using platform::Utf8ToCp932;
using testsupport::TempWorkDir;

namespace {
std::string Sj(const char* utf8) { return Utf8ToCp932(utf8); }

// The working folder in the program's own form: CP932 with backslashes.
std::string CwdCp932() {
    std::string s = Utf8ToCp932(std::filesystem::current_path().string());
    for (char& c : s)
        if (c == '/') c = '\\';
    return s;
}
}  // namespace

TEST(Tables, PathAndExtensionEntries) {
    ASSERT_EQ(g_PathTable.size(), static_cast<size_t>(PATH_COUNT));
    EXPECT_EQ(PATH_COUNT, 56);
    EXPECT_EQ(g_PathTable[PATH_DATA], "data\\");
    EXPECT_EQ(g_PathTable[PATH_STG4], "data\\stg4\\");
    EXPECT_EQ(g_PathTable[PATH_SYSTEM], "data\\System.dat");
    EXPECT_EQ(g_PathTable[PATH_STG4_C], "data\\stg4\\c");
    EXPECT_EQ(g_PathTable[PATH_STORY_FILE], "user_data\\story\\Story");
    EXPECT_EQ(g_PathTable[PATH_WINDOW_FILE], "user_data\\Window.dat");
    // Even entries 10..40 in data\, the next odd one the same file in default\.
    for (int i = 10; i <= 40; i += 2) {
        ASSERT_EQ(g_PathTable[i].rfind("data\\", 0), 0u) << i;
        EXPECT_EQ("default\\" + g_PathTable[i].substr(5), g_PathTable[i + 1]) << i;
    }
    EXPECT_EQ(g_ExtTable, (cCheckedVector<std::string>{"cplt4", "stg4", "plt4", "rpl4", "rkg"}));
}

TEST(PathText, ExtractFileNameAndDir) {
    struct Case {
        std::string path, name, dir;
    } cases[] = {
        {"a\\b\\c.txt", "c.txt", "a\\b\\"},
        {"a\\b\\", "b\\", "a\\b\\"},  // a final backslash is not a separator for the name
        {"plain", "plain", ""},
        {Sj("dir\\表.txt"), Sj("表.txt"), "dir\\"},    // 95 5C
        {Sj("x\\表"), Sj("表"), "x\\"},
        {Sj("ソ\\file"), "file", Sj("ソ\\")},          // 83 5C 5C
        {Sj("亜\\file"), "file", Sj("亜\\")},          // 88 9F 5C: 9F is a trail byte
        {Sj("表示"), Sj("表示"), ""},
    };
    for (const auto& c : cases) {
        std::string name = c.path, dir = c.path;
        ExtractFileNameStr(name);
        ExtractFileDirStr(dir);
        EXPECT_EQ(name, c.name) << platform::Cp932ToUtf8(c.path);
        EXPECT_EQ(dir, c.dir) << platform::Cp932ToUtf8(c.path);
        char buf[kMaxPath];
        std::strcpy(buf, c.path.c_str());
        ExtractFileName(buf);
        EXPECT_EQ(std::string(buf), c.name);
        std::strcpy(buf, c.path.c_str());
        ExtractFileDir(buf);
        EXPECT_EQ(std::string(buf), c.dir);
    }
}

TEST(PathText, Extensions) {
    struct Case {
        std::string path;
        const char* ext;
        bool ok;
        std::string changed;
    } cases[] = {
        {"dir.v2\\file", "stg4", true, "dir.stg4"},  // the last dot of the whole path
        {"a\\x.stg4_010", "rpl4", true, "a\\x.rpl4"},
        {"a.b.c", nullptr, true, "a.b"},
        {"noext", "stg4", false, "noext"},
    };
    for (const auto& c : cases) {
        std::string out = "junk";
        EXPECT_EQ(ChangeFileExtStr(out, c.path, c.ext), c.ok) << c.path;
        EXPECT_EQ(out, c.changed);
        char buf[kMaxPath] = "junk";
        EXPECT_EQ(ChangeFileExt(buf, c.path.c_str(), c.ext), c.ok);
        EXPECT_EQ(std::string(buf), c.changed);
    }
    std::string ext, p = "a.dir\\f.stg4_1000";
    EXPECT_TRUE(GetFileExtStr(ext, p));
    EXPECT_EQ(ext, "stg4_1000");
    EXPECT_TRUE(RemoveFileExtStr(p));
    EXPECT_EQ(p, "a.dir\\f");
    p = "none";
    EXPECT_FALSE(RemoveFileExtStr(p));
    EXPECT_FALSE(GetFileExtStr(ext, p));
    EXPECT_EQ(p, "none");

    // Results that would not fit a path buffer are refused.
    std::string longPath(250, 'a');
    longPath += ".x";
    char buf[kMaxPath] = "keep";
    EXPECT_FALSE(ChangeFileExt(buf, longPath.c_str(), "0123456789012"));
    EXPECT_STREQ(buf, "keep");
}

TEST(PathText, NumberedCopyName) {
    std::string out;
    EXPECT_TRUE(MakeNumberedCopyNameStr(out, "a.rpl4_1000", 2));
    EXPECT_EQ(out, "a (2).rpl4_1000");
    char buf[kMaxPath];
    EXPECT_TRUE(MakeNumberedCopyName(buf, "user_data\\rpl4\\s.rpl4_1000", 10));
    EXPECT_STREQ(buf, "user_data\\rpl4\\s (10).rpl4_1000");
    out = "same";
    EXPECT_FALSE(MakeNumberedCopyNameStr(out, "noext", 2));
    EXPECT_FALSE(MakeNumberedCopyNameStr(out, "a." + std::string(40, 'e'), 2));  // extension buffer
    EXPECT_EQ(out, "same");
}

TEST(Files, FindLatestNumberedFile) {
    TempWorkDir dir;
    dir.WriteFile("data/stg4/x.stg4_002");
    dir.WriteFile("data/stg4/X.STG4_010");
    dir.WriteFile("data/stg4/x.stg4_1001");  // above the limit
    dir.WriteFile("data/stg4/y.stg4_1000");
    struct Case {
        std::string path;
        int n;
        bool ok;
        std::string found;
    } cases[] = {
        {"x.stg4", 1000, true, "x.stg4_010"},
        {"data\\stg4\\x.stg4", 1000, true, "data\\stg4\\x.stg4_010"},
        {"data\\stg4\\x.stg4_1000", 1000, true, "data\\stg4\\x.stg4_010"},  // the extension is replaced
        {"data\\stg4\\x.stg4", 9, true, "data\\stg4\\x.stg4_002"},
        {"data\\stg4\\x.stg4", 1, false, ""},
        {"data\\stg4\\x.stg4", -1, false, ""},
        {"data\\stg4\\y.stg4", 1000, true, "data\\stg4\\y.stg4_1000"},
        {"data\\stg4\\z.stg4", 1000, false, ""},
    };
    for (const auto& c : cases) {
        // The first row runs in the stage folder itself.
        if (c.path == "x.stg4") platform::ChangeDirectory((dir.Path() / "data/stg4").string());
        std::string out = "unchanged";
        EXPECT_EQ(FindLatestNumberedFileStr(out, c.path, "stg4", c.n), c.ok) << c.path << " " << c.n;
        EXPECT_EQ(out, c.ok ? c.found : "unchanged");
        char buf[kMaxPath] = "unchanged";
        EXPECT_EQ(FindLatestNumberedFile(buf, c.path.c_str(), "stg4", c.n), c.ok);
        EXPECT_EQ(std::string(buf), c.ok ? c.found : "unchanged");
        if (c.path == "x.stg4") platform::ChangeDirectory(dir.Path().string());
    }
}

TEST(Files, ListFilesExistsAndTimes) {
    TempWorkDir dir;
    dir.WriteFile("user_data/rpl4/b.rpl4_1000");
    dir.WriteFile("user_data/rpl4/A.RPL4_1000");
    dir.WriteFile("user_data/rpl4/note.txt");
    dir.MakeDirs("user_data/rpl4/sub.rpl4_x");
    std::vector<std::string> out = {"kept"};
    EXPECT_TRUE(ListFiles(out, "user_data\\rpl4", "rpl4_*"));
    EXPECT_EQ(out, (std::vector<std::string>{"kept", "user_data\\rpl4\\A.RPL4_1000", "user_data\\rpl4\\b.rpl4_1000",
                                             "user_data\\rpl4\\sub.rpl4_x"}));
    out.clear();
    EXPECT_TRUE(ListFiles(out, "USER_DATA\\RPL4\\", "txt"));
    EXPECT_EQ(out, (std::vector<std::string>{"USER_DATA\\RPL4\\note.txt"}));
    EXPECT_FALSE(ListFiles(out, "user_data\\rpl4\\", "rkg"));
    EXPECT_FALSE(ListFiles(out, "missing\\", "rkg"));

    EXPECT_TRUE(FileExists("User_Data\\RPL4\\a.rpl4_1000"));
    EXPECT_TRUE(FileExists("user_data\\rpl4\\"));
    EXPECT_FALSE(FileExists("user_data\\rpl4\\c.rpl4_1000"));
    EXPECT_FALSE(FileExists(""));

    uint64_t created = 0, written = 0;
    EXPECT_TRUE(GetFileTimes("user_data\\rpl4\\note.txt", &created, nullptr, &written));
    // 2020-01-01 in Windows file time units; the file was written just now.
    EXPECT_GT(written, 132223104000000000ULL);
    EXPECT_GT(created, 0u);
    EXPECT_FALSE(GetFileTimes("user_data\\rpl4\\", nullptr, nullptr, nullptr));
    EXPECT_FALSE(GetFileTimes("missing.txt", nullptr, nullptr, nullptr));
}

TEST(Files, DeleteFolderTree) {
    TempWorkDir dir;
    dir.WriteFile("Tree/a.txt");
    dir.WriteFile("Tree/sub/deeper/b.txt");
    dir.MakeDirs("Tree/empty");
    dir.WriteFile("keep.txt");
    std::filesystem::create_symlink(dir.Path() / "keep.txt", dir.Path() / "Tree/link");
    EXPECT_TRUE(DeleteFolderTree("tree"));
    EXPECT_FALSE(dir.Exists("Tree"));
    EXPECT_TRUE(dir.Exists("keep.txt"));  // a link is removed, not followed
    EXPECT_FALSE(DeleteFolderTree("tree\\"));
    EXPECT_FALSE(DeleteFolderTree("keep.txt"));
    EXPECT_TRUE(dir.Exists("keep.txt"));
    EXPECT_FALSE(DeleteFolderTree(""));
}

TEST(Files, AbsoluteAndRelativePaths) {
    TempWorkDir dir;
    const std::string cwd = CwdCp932();
    std::string p = "data\\stg4\\";
    EXPECT_TRUE(ToAbsolutePathStr(p));
    EXPECT_EQ(p, cwd + "\\data\\stg4\\");
    p = ".\\a\\..\\b.dat";
    EXPECT_TRUE(ToAbsolutePathStr(p));
    EXPECT_EQ(p, cwd + "\\b.dat");
    p = "\\already\\abs";
    EXPECT_TRUE(ToAbsolutePathStr(p));
    EXPECT_EQ(p, "\\already\\abs");

    struct Case {
        std::string abs;
        bool cutDot;
        std::string rel;
    } cases[] = {
        {cwd + "\\data\\x.stg4_1000", true, "data\\x.stg4_1000"},
        {cwd + "\\data\\x.stg4_1000", false, ".\\data\\x.stg4_1000"},
        {cwd + "\\data\\", true, "data\\"},
        {cwd.substr(0, cwd.rfind('\\')) + "\\other\\f", true, "..\\other\\f"},
        {"relative\\stays", false, "relative\\stays"},
    };
    for (const auto& c : cases) {
        std::string s = c.abs;
        EXPECT_TRUE(ToRelativePathStr(s, c.cutDot)) << c.abs;
        EXPECT_EQ(s, c.rel);
        char buf[kMaxPath];
        std::strcpy(buf, c.abs.c_str());
        EXPECT_TRUE(ToRelativePath(buf, c.cutDot));
        EXPECT_STREQ(buf, c.rel.c_str());
    }
    // The folder names compare case-insensitively, as on Windows.
    std::string upper = cwd;
    for (char& ch : upper)
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 32);
    upper += "\\F.dat";
    EXPECT_TRUE(ToRelativePathStr(upper, true));
    EXPECT_EQ(upper, "F.dat");
}

// A game folder below folders whose names have no CP932 form (josé, 下载,
// or bytes that are neither UTF-8 nor CP932): absolute paths built from the
// working folder reach the files there, new files are made there, and the
// way back from a parent folder is listed.
TEST(Files, GameFolderBelowNamesWithoutCp932Form) {
    const std::string kReplay = Sj("記録.rpl4_1000"), kNew = Sj("新しい.rpl4_1000");
    for (const std::string above : {std::string("josé/下载"), std::string("jos\xE9/x")}) {
        SCOPED_TRACE(above);
        TempWorkDir dir;
        dir.WriteFile(above + "/game/user_data/rpl4/記録.rpl4_1000", "old");
        ASSERT_TRUE(platform::ChangeDirectory((dir.Path() / above / "game").string()));

        std::string old = "user_data\\rpl4\\" + kReplay;
        ASSERT_TRUE(ToAbsolutePathStr(old));
        EXPECT_TRUE(FileExists(old));
        auto bytes = platform::ReadWholeFile(old);
        ASSERT_TRUE(bytes.has_value());
        EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "old");

        std::string made = "user_data\\rpl4\\" + kNew;
        ASSERT_TRUE(ToAbsolutePathStr(made));
        ASSERT_TRUE(platform::WriteNewFile(made, "new", 3, false, true));
        EXPECT_EQ(dir.ReadFile(above + "/game/user_data/rpl4/新しい.rpl4_1000"), "new");
        std::string back = made;
        ASSERT_TRUE(ToRelativePathStr(back, true));
        EXPECT_EQ(back, "user_data\\rpl4\\" + kNew);

        // Three levels up, the folder on the way back is listed under the
        // program's spelling of its name, and that spelling leads back down.
        std::string up = "..\\..\\..\\";
        ASSERT_TRUE(ToAbsolutePathStr(up));
        std::vector<std::string> names;
        for (const auto& e : platform::ListDir(up, "*"))
            if (e.isDir) names.push_back(e.name);
        ASSERT_EQ(names.size(), 1u);
        EXPECT_EQ(platform::OsPath(up + names[0]), (dir.Path() / above.substr(0, above.find('/'))).string());
    }
}

namespace {

class DefaultDataTest : public ::testing::Test {
protected:
    void MakeDefault() {
        dir.WriteFile("Default/System.dat", "system");
        dir.WriteFile("Default/database/Bgm.dat", "bgm");
        dir.WriteFile("Default/stg4/" + std::string("ステージ.stg4_1000"), "stage");
    }
    TempWorkDir dir;
};

}  // namespace

TEST_F(DefaultDataTest, AnsweredYesCopiesTheFolder) {
    MakeDefault();
    platform::CapturedMessageBoxes boxes(platform::IDYES);
    EXPECT_TRUE(CreateDefaultData());
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, Sj("デフォルトデータ作成の確認"));
    EXPECT_EQ(boxes.Boxes()[0].text, Sj("データが存在しません！デフォルトデータを作成しますか？\n"));
    EXPECT_EQ(boxes.Boxes()[0].type & 0xF, platform::MB_YESNO);
    EXPECT_EQ(dir.ReadFile("data/System.dat"), "system");
    EXPECT_EQ(dir.ReadFile("data/database/Bgm.dat"), "bgm");
    EXPECT_EQ(dir.ReadFile("data/stg4/ステージ.stg4_1000"), "stage");
    EXPECT_TRUE(FileExists("DATA\\System.dat"));  // seen at once by the lookups

    // With data\ in place nothing is asked.
    EXPECT_TRUE(CreateDefaultData());
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST_F(DefaultDataTest, AnsweredNoOrNoDefaultMakesNothing) {
    platform::CapturedMessageBoxes boxes(platform::IDNO);
    EXPECT_FALSE(CreateDefaultData());  // no default\ either: nothing asked
    EXPECT_TRUE(boxes.Boxes().empty());
    MakeDefault();
    EXPECT_FALSE(CreateDefaultData());
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_FALSE(dir.Exists("data"));
}

TEST_F(DefaultDataTest, FailedCopyIsRemoved) {
    MakeDefault();
    // Copied in name order: everything else is in place when the broken link fails.
    std::filesystem::create_symlink(dir.Path() / "nowhere", dir.Path() / "Default/zz_broken");
    platform::CapturedMessageBoxes boxes(platform::IDYES);
    EXPECT_FALSE(CreateDefaultData());
    EXPECT_FALSE(dir.Exists("data"));
    EXPECT_TRUE(dir.Exists("Default/System.dat"));
}

TEST_F(DefaultDataTest, ExistingFileNamedDataIsLeftAlone) {
    MakeDefault();
    dir.WriteFile("DATA", "not a folder");
    platform::CapturedMessageBoxes boxes(platform::IDYES);
    EXPECT_FALSE(CreateDefaultData());
    EXPECT_EQ(dir.ReadFile("DATA"), "not a folder");
}
