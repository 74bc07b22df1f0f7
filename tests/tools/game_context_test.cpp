// tovaro-data reads a file against the game it belongs to, as the player
// does: the resaved bytes of the system data and of stages are those the
// player's start-up and stage loader make of them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/app_init.h"
#include "base/files.h"
#include "platform/fs.h"
#include "records/common_palette.h"
#include "records/database.h"
#include "records/ed_flow_refs.h"
#include "records/ed_shot.h"
#include "records/stage.h"
#include "records/system_data.h"
#include "tests/support/demo_template.h"
#include "tests/support/temp_dir.h"
#include "tests/support/run_tool.h"

namespace {

namespace fs = std::filesystem;
using testsupport::TempWorkDir;
using tool_test::RunTool;

std::vector<uint8_t> ReadBytes(const fs::path& path) {
    auto b = platform::ReadWholeFile(path.string());
    return b ? *b : std::vector<uint8_t>{};
}

// What the player makes of a file of the game in the working folder: the
// database with its checks and the common palette loaded first, then the
// file read as the start-up (system data) or the stage loader reads it.
std::vector<uint8_t> PlayerBytes(const std::string& cp932Path, bool stage) {
    cDatabase db;
    EXPECT_TRUE(LoadDatabase(db));
    g_Database = db;
    InstallDatabaseChecks();
    EXPECT_TRUE(g_CommonPalette.LoadFile(g_PathTable[PATH_COMMONPALETTE]));
    std::vector<uint8_t> bytes;
    if (stage) {
        cStage s;
        EXPECT_TRUE(s.LoadStageFile(cp932Path)) << LastDataFileError();
        bytes = s.SaveBytes();
    } else {
        cSystemData sd;
        EXPECT_TRUE(sd.LoadFile(cp932Path)) << LastDataFileError();
        bytes = sd.SaveBytes();
    }
    g_Database = cDatabase();
    g_CommonPalette = cCommonPalette();
    SetFlowRefSource(nullptr);
    SetBgmRecordCountSource(nullptr);
    SetEffectCountSource(nullptr);
    return bytes;
}

class GameContextTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedStrip = g_bStripCR;
        g_bStripCR = 1;
        g_nDataVersion = kDataVersion;
    }
    void TearDown() override { g_bStripCR = m_savedStrip; }
    int32_t m_savedStrip = 0;
};

TEST_F(GameContextTest, ResaveOfTheSystemDataAndStagesGivesThePlayersBytes) {
    TempWorkDir game;
    testsupport::CopyDemo(game.Path());
    // A music table of five entries, and music 4 chosen by the system data
    // and by one more stage: the default database (two entries) would drop it.
    {
        auto bgm = MakeDbTableFile<&cDatabase::m_vecBgm>();
        auto& table = dynamic_cast<cDbTableFile<cDbBgm>&>(*bgm);
        table.m_vecRecords.resize(5);
        ASSERT_TRUE(bgm->SaveFile(g_PathTable[PATH_DB_BGM]));
        cSystemData sd;
        ASSERT_TRUE(sd.LoadFile(g_PathTable[PATH_SYSTEM]));
        sd.m_vecSceneBgm.at(0) = 4;
        ASSERT_TRUE(sd.SaveFile(g_PathTable[PATH_SYSTEM]));
        cStage st;
        st.m_nBgm = 4;
        ASSERT_TRUE(st.SaveFile("data\\stg4\\Music.stg4_001"));
    }
    std::vector<std::pair<std::string, bool>> files = {{"data/System.dat", false}};
    for (const auto& e : fs::directory_iterator(game.Path() / "data" / "stg4"))
        if (e.is_regular_file()) files.push_back({"data/stg4/" + e.path().filename().string(), true});
    ASSERT_GE(files.size(), 3u);

    const fs::path out = game.Path() / "out.dat";
    const std::string dir = game.Path().string();
    for (const auto& [rel, stage] : files) {
        SCOPED_TRACE(rel);
        const char* kind = stage ? "stage" : "system";
        std::string cp932 = rel;
        for (char& c : cp932)
            if (c == '/') c = '\\';
        const std::vector<uint8_t> expected = PlayerBytes(cp932, stage);
        // The game folder named, the file named from elsewhere...
        auto r = RunTool(std::string("--game '") + dir + "' resave " + kind + " '" + dir + "/" + rel + "' '" +
                         out.string() + "'");
        ASSERT_EQ(r.status, 0) << r.output;
        EXPECT_EQ(ReadBytes(out), expected);
        // ...and the game folder as the working folder, with relative names.
        const std::string cmd = std::string("cd '") + dir + "' && " + TOVARO_BINARY_DIR + "/tovaro-data resave " +
                                kind + " '" + rel + "' out.dat";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
        EXPECT_EQ(ReadBytes(out), expected);
    }
    cSystemData sd;
    ASSERT_TRUE(sd.LoadBytes(ReadBytes(game.Path() / "data/System.dat"), "s"));
    EXPECT_EQ(sd.m_vecSceneBgm.at(0), 4);

    // A folder without a database: the default one, whose music table has
    // two entries.
    TempWorkDir empty;
    auto r = RunTool("--game '" + empty.Path().string() + "' resave system '" + dir + "/data/System.dat' '" +
                     out.string() + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    ASSERT_TRUE(sd.LoadBytes(ReadBytes(out), "s"));
    EXPECT_EQ(sd.m_vecSceneBgm.at(0), 0);
}

TEST_F(GameContextTest, WindowPlacementIsAKindOfItsOwn) {
    TempWorkDir dir;
    const std::vector<uint8_t> bytes = {0xe8, 3, 0, 0, 5, 0, 0, 0, 10, 0, 0, 0, 20, 0, 0, 0,
                                        0x80, 2, 0, 0, 0xe0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    tool_test::WriteBytes((dir.Path() / "Window.dat").string(), bytes);
    auto r = RunTool("resave window '" + (dir.Path() / "Window.dat").string() + "' '" +
                     (dir.Path() / "out.dat").string() + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(ReadBytes(dir.Path() / "out.dat"), bytes);
    r = RunTool("dump window '" + (dir.Path() / "Window.dat").string() + "'");
    EXPECT_NE(r.output.find("width"), std::string::npos) << r.output;
}

}  // namespace
