// The stage list on the demo: the listing, the remembered file, the empty
// folder, files gone after the listing, and the start of a file.
#include "app/scene_manager.h"
#include "tests/app/scenes/stage_menu_harness.h"

#include "base/files.h"
#include "frontend/data/option_data.h"

namespace {

using namespace scenetest;

cSceneStageList* List() { return dynamic_cast<cSceneStageList*>(g_SceneManager.SceneOf(SCENE_STAGELIST)); }

void ClearStageFolder(const DemoRun& run) {
    for (const auto& e : std::filesystem::directory_iterator(run.Dir().Path() / "data/stg4"))
        std::filesystem::remove(e.path());
    platform::InvalidateDirCache();
}

// n stage files s00 .. s(n-1), and a file the list must leave out.
void WriteStageFiles(const DemoRun& run, int n) {
    ClearStageFolder(run);
    for (int i = 0; i < n; ++i)
        run.Dir().WriteFile("data/stg4/s" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".stg4_1000", "x");
    run.Dir().WriteFile("data/stg4/notes.txt", "x");
    platform::InvalidateDirCache();
}

TEST(StageList, ListsTheStageFilesOfTheFolder) {
    StageMenuRun run;
    ASSERT_TRUE(run.Started());
    BuildStageFileList();
    ASSERT_EQ(CountStageFiles(), 9);  // six demo stages and three challenge stages
    for (const StageFileEntry& e : g_StageFiles) {
        EXPECT_EQ(e.m_strPath, "data\\stg4\\" + e.m_strFileName);
        EXPECT_NE(e.m_strFileName.find(".stg4_"), std::string::npos);
    }
    ClearStageFolder(run);
    BuildStageFileList();
    EXPECT_EQ(CountStageFiles(), 0);
}

TEST(StageList, RemembersTheFileOnlyWhileItsNameMatches) {
    StageMenuRun run;
    ASSERT_TRUE(run.Started());
    WriteStageFiles(run, 25);
    BuildStageFileList();
    ASSERT_EQ(CountStageFiles(), 25);
    const std::string last = g_StageFiles.at(24).m_strFileName;
    struct Case {
        const char* name;
        int pos;
        std::string file;
        int row, top;
        std::string fileAfter;
    };
    const Case cases[] = {
        {"the last row matches", 24, last, 24, 5, last},
        {"another name at the row", 24, "gone.stg4_1000", 0, 0, ""},
        {"a row past the list", 25, last, 0, 0, ""},
        {"a negative row", -1, last, 0, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_FreeData.m_nListPos = c.pos;
        g_FreeData.m_strLastFile = c.file;
        ASSERT_TRUE(run.Enter(SCENE_STAGELIST));
        const cSceneStageList* s = List();
        ASSERT_NE(s, nullptr);
        run.Step();
        EXPECT_EQ(Cursor().m_nY, c.row);
        EXPECT_EQ(s->m_nListTop, c.top);
        EXPECT_EQ(Cursor().m_nPixelY, 160 + 16 * (c.row - c.top));
        EXPECT_EQ(g_FreeData.m_nListPos, c.row);
        EXPECT_EQ(g_FreeData.m_strLastFile, c.fileAfter);
    }
}

TEST(StageList, EmptyFolderRefusesAndCancelGoesToTheTitle) {
    StageMenuRun run;
    ASSERT_TRUE(run.Started());
    ClearStageFolder(run);
    ASSERT_TRUE(run.Enter(SCENE_STAGELIST));
    EXPECT_EQ(List()->m_nFileCount, 0);
    run.Tap(platform::VK_DOWN);
    run.Sounds();
    run.Tap(kKeyDecide);
    EXPECT_EQ(run.Sounds(), (std::vector<std::string>{"PlaySe 3"}));
    EXPECT_EQ(run.State(), 1);
    run.Tap(kKeyCancel);
    EXPECT_EQ(run.Sounds(), (std::vector<std::string>{"PlaySe 2"}));
    EXPECT_EQ(g_SceneState.m_nNextSceneKind, SCENE_TITLE);
    EXPECT_TRUE(run.m_plays.empty());
}

TEST(StageList, FileRemovedAfterTheListingIsRefused) {
    StageMenuRun run;
    ASSERT_TRUE(run.Started());
    WriteStageFiles(run, 3);
    ASSERT_TRUE(run.Enter(SCENE_STAGELIST));
    std::filesystem::remove(run.Dir().Path() / "data/stg4" / g_StageFiles.at(0).m_strFileName);
    platform::InvalidateDirCache();
    run.Tap(kKeyDecide);
    EXPECT_EQ(run.Sounds(), (std::vector<std::string>{"PlaySe 3"}));
    EXPECT_EQ(run.State(), 1);
    EXPECT_EQ(run.StepUntilPlay(5), nullptr);
}

TEST(StageList, StartKeepsTheRowAndNameOfTheFile) {
    StageMenuRun run;
    ASSERT_TRUE(run.Started());
    g_FreeData.m_nListPos = 0;
    g_FreeData.m_strLastFile.clear();
    ASSERT_TRUE(run.Enter(SCENE_STAGELIST));
    run.Tap(platform::VK_UP);  // wraps to the last file
    const int row = CountStageFiles() - 1;
    ASSERT_EQ(Cursor().m_nY, row);
    const StageFileEntry chosen = g_StageFiles.at(row);
    run.Sounds();
    run.Tap(kKeyDecide);
    EXPECT_EQ(run.Sounds(), (std::vector<std::string>{"PlaySe 1"}));
    EXPECT_EQ(g_FreeData.m_nListPos, row);
    EXPECT_EQ(g_FreeData.m_strLastFile, chosen.m_strFileName);
    const PlayVisit* v = run.StepUntilPlay();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->prevKind, SCENE_STAGELIST);
    EXPECT_EQ(v->stage, chosen.m_strPath);  // loaded by the start
    // Back from the play, the list opens on that file.
    ASSERT_TRUE(run.StepUntilState(1));
    ASSERT_NE(List(), nullptr);
    EXPECT_EQ(Cursor().m_nY, row);
    EXPECT_EQ(g_bQuit.load(), 0);
}

TEST(StageList, FileThatDoesNotLoadEndsTheProgram) {
    StageMenuRun run;
    ASSERT_TRUE(run.Started());
    WriteStageFiles(run, 1);  // exists, but is no stage
    ASSERT_TRUE(run.Enter(SCENE_STAGELIST));
    platform::CapturedMessageBoxes boxes;
    run.Tap(kKeyDecide);
    EXPECT_EQ(boxes.Boxes().size(), 1u);  // the loader's message
    EXPECT_EQ(g_bQuit.load(), 1);
    EXPECT_GE(run.CloseRequests(), 1);
}

}  // namespace
