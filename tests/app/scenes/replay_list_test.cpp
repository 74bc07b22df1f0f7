// The replay list on the demo: the listing with its filter and four sort
// orders over files with set times, the keys (sort, refresh, folder), the
// playback hand-over to the play kind, the remembered replay, and the files
// that vanish or are refused.
#include "app/scene_manager.h"
#include "tests/app/scenes/stage_menu_harness.h"

#include <cstdlib>
#include <ctime>

#include "base/files.h"
#include "frontend/data/option_data.h"
#include "frontend/frontend_services.h"
#include "tests/support/replay_io.h"

namespace {

using namespace scenetest;

cSceneReplayList* List() { return dynamic_cast<cSceneReplayList*>(g_SceneManager.SceneOf(SCENE_REPLAYLIST)); }

// Local time is Japan's while a test runs (UTC + 9, no summer time).
class ScopedTz {
public:
    ScopedTz() {
        if (const char* tz = std::getenv("TZ")) m_old = tz, m_had = true;
        ::setenv("TZ", "JST-9", 1);
        ::tzset();
    }
    ~ScopedTz() {
        if (m_had)
            ::setenv("TZ", m_old.c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::string m_old;
    bool m_had = false;
};

constexpr time_t kJan1Noon = 1230778800;  // 2009-01-01 12:00:00 in Japan

void WriteReplay(const DemoRun& run, const std::string& name, time_t modified) {
    WriteFileAt(run, "user_data/rpl4/" + name, modified);
}

void ClearReplayFolder(const DemoRun& run) {
    std::filesystem::remove_all(run.Dir().Path() / "user_data/rpl4");
    run.Dir().MakeDirs("user_data/rpl4");
    platform::InvalidateDirCache();
}

// Four replays: b an hour before a and c (equal times), and d a folder whose
// times cannot be read.
void WriteSortFixture(const DemoRun& run) {
    ClearReplayFolder(run);
    WriteReplay(run, "a_CLEAR_.rpl4_1000", kJan1Noon);
    WriteReplay(run, "b.rpl4_1000", kJan1Noon - 3600);
    WriteReplay(run, "c.rpl4_1000", kJan1Noon);
    run.Dir().MakeDirs("user_data/rpl4/d.rpl4_1000");
    platform::InvalidateDirCache();
}

std::vector<std::string> ListedNames() {
    std::vector<std::string> names;
    for (const ReplayFileEntry& e : g_ReplayFiles) names.push_back(e.m_strFileName);
    return names;
}

TEST(ReplayList, SortOrdersOverDatesAndNames) {
    ScopedTz tz;
    StageMenuRun run;
    ASSERT_TRUE(run.Started());
    WriteSortFixture(run);
    const std::string a = "a_CLEAR_.rpl4_1000", b = "b.rpl4_1000", c = "c.rpl4_1000", d = "d.rpl4_1000";
    const struct {
        int order;
        std::vector<std::string> names;
    } cases[] = {
        {0, {d, b, a, c}},  // times 0 first; equal times keep the folder's order
        {1, {a, c, b, d}},  // times 0 last
        {2, {a, b, c, d}},
        {3, {d, c, b, a}},
        {7, {d, b, a, c}},  // an order outside 0..3 sorts as 0
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.order);
        g_ReplayData.m_nSortOrder = k.order;
        BuildReplayList();
        EXPECT_EQ(ListedNames(), k.names);
    }
    g_ReplayData.m_nSortOrder = 2;
    BuildReplayList();
    EXPECT_EQ(g_ReplayFiles.at(0).m_strPath, "user_data\\rpl4\\" + a);
    EXPECT_EQ(g_ReplayFiles.at(0).m_nDate, 20090101);
    EXPECT_EQ(g_ReplayFiles.at(0).m_nTime, 120000);
    EXPECT_EQ(g_ReplayFiles.at(1).m_nTime, 110000);
    EXPECT_EQ(g_ReplayFiles.at(3).m_nDate, 0);
    EXPECT_EQ(g_ReplayFiles.at(3).m_nTime, 0);
}

TEST(ReplayList, ClearedOnlyWithPlaybackOrderOne) {
    StageMenuRun run;
    ASSERT_TRUE(run.Started());
    ClearReplayFolder(run);
    WriteReplay(run, "2009_0101_120000_stage_CLEAR_.rpl4_1000", kJan1Noon);
    WriteReplay(run, "2009_0101_120000_stage.rpl4_1000", kJan1Noon);
    run.Dir().WriteFile("user_data/rpl4/notes.txt", "x");
    platform::InvalidateDirCache();
    g_ReplayData.m_nSortOrder = 2;
    for (int order : {0, 1, 2}) {
        SCOPED_TRACE(order);
        g_OptionData.m_nReplayOrder = order;
        BuildReplayList();
        if (order == 1)
            EXPECT_EQ(ListedNames(), (std::vector<std::string>{"2009_0101_120000_stage_CLEAR_.rpl4_1000"}));
        else
            EXPECT_EQ(g_ReplayFiles.size(), 2u);
    }
    g_OptionData.m_nReplayOrder = 0;
}

TEST(ReplayList, SortKeyStepsTheOrderAndRefreshFindsNewFiles) {
    StageMenuRun run;
    ASSERT_TRUE(run.Started());
    WriteSortFixture(run);
    g_ReplayData.m_nSortOrder = 3;
    ASSERT_TRUE(run.Enter(SCENE_REPLAYLIST));
    run.Tap(platform::VK_DOWN);
    run.Tap(platform::VK_DOWN);
    ASSERT_EQ(Cursor().m_nY, 2);
    run.Sounds();
    run.Tap(kKeyButton4);
    EXPECT_EQ(run.Sounds(), (std::vector<std::string>{"PlaySe 1"}));
    EXPECT_EQ(g_ReplayData.m_nSortOrder, 0);
    EXPECT_EQ(Cursor().m_nY, 0);
    EXPECT_EQ(Cursor().m_nPixelY, 160);
    EXPECT_EQ(ListedNames().front(), "d.rpl4_1000");

    // An order from a hand-edited Replay.dat reads as 0: the page shows, and
    // the key steps to 1.
    g_ReplayData.m_nSortOrder = 41;
    ASSERT_TRUE(run.Enter(SCENE_REPLAYLIST));
    run.Tap(kKeyButton4);
    EXPECT_EQ(g_ReplayData.m_nSortOrder, 1);
    EXPECT_EQ(ListedNames().front(), "a_CLEAR_.rpl4_1000");
    run.Sounds();

    WriteReplay(run, "e.rpl4_1000", kJan1Noon + 60);
    platform::InvalidateDirCache();
    run.Tap(kKeyButton16);
    EXPECT_EQ(run.Sounds(), (std::vector<std::string>{"PlaySe 1"}));
    EXPECT_EQ(List()->m_nFileCount, 5);
    EXPECT_EQ(ListedNames().front(), "e.rpl4_1000");
    EXPECT_EQ(g_bQuit.load(), 0);
}

TEST(ReplayList, EmptyListRefusesPlaySortAndFolder) {
    StageMenuRun run;
    ASSERT_TRUE(run.Started());
    ClearReplayFolder(run);
    ASSERT_TRUE(run.Enter(SCENE_REPLAYLIST));
    EXPECT_EQ(List()->m_nFileCount, 0);
    for (int key : {kKeyDecide, kKeyButton4, kKeyButton8}) {
        run.Tap(key);
        EXPECT_EQ(run.Sounds(), (std::vector<std::string>{"PlaySe 3"}));
    }
    EXPECT_EQ(g_ReplayData.m_nSortOrder, 0);
    EXPECT_EQ(run.State(), 1);
    run.Tap(kKeyCancel);
    EXPECT_EQ(run.Sounds(), (std::vector<std::string>{"PlaySe 2"}));
    EXPECT_EQ(g_SceneState.m_nNextSceneKind, SCENE_TITLE);
}

// A file manager on PATH that writes the folder it was given.
class FakeFileManager {
public:
    explicit FakeFileManager(const DemoRun& run) : m_out(run.Dir().Path() / "opened.txt") {
        const auto bin = run.Dir().Path() / "bin";
        std::filesystem::create_directories(bin);
        const auto script = bin / "xdg-open";
        std::ofstream(script) << "#!/bin/sh\nprintf '%s' \"$1\" > \"" << m_out.string() << ".part\" && mv \""
                              << m_out.string() << ".part\" \"" << m_out.string() << "\"\n";
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        if (const char* p = std::getenv("PATH")) m_oldPath = p;
        ::setenv("PATH", (bin.string() + ":" + m_oldPath).c_str(), 1);
    }
    ~FakeFileManager() { ::setenv("PATH", m_oldPath.c_str(), 1); }
    // The folder opened (waits up to 5 s for the child).
    std::string Opened(int waitMs = 5000) const {
        for (int i = 0; i < waitMs / 10 && !std::filesystem::exists(m_out); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::ifstream in(m_out);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::filesystem::path m_out;
    std::string m_oldPath;
};

TEST(ReplayList, FolderKeyOnlyInAWindow) {
    for (int windowed : {1, 0}) {
        SCOPED_TRACE(windowed);
        StartOptions o;
        o.windowMode = windowed;
        StageMenuRun run(o);
        ASSERT_TRUE(run.Started());
        WriteSortFixture(run);
        FakeFileManager files(run);
        ASSERT_TRUE(run.Enter(SCENE_REPLAYLIST));
        run.Tap(kKeyButton8);
        if (windowed) {
            EXPECT_EQ(run.Sounds(), (std::vector<std::string>{"PlaySe 1"}));
            EXPECT_EQ(files.Opened(), (run.Dir().Path() / "user_data/rpl4").string());
        } else {
            EXPECT_TRUE(run.Sounds().empty());
            EXPECT_EQ(files.Opened(200), "");
        }
    }
}

// Replays the fake reader was given; it loads nothing.
std::vector<std::string>& ReadPaths() {
    static std::vector<std::string> paths;
    return paths;
}

TEST(ReplayList, PlayHandsTheReplayToThePlayKindAndReopensOnIt) {
    StageMenuRun run;
    ASSERT_TRUE(run.Started());
    WriteSortFixture(run);
    ReadPaths().clear();
    testsupport::ReplayIo().read = [](const std::string& path) {
        ReadPaths().push_back(path);
        return true;
    };
    ASSERT_TRUE(run.Enter(SCENE_REPLAYLIST));
    run.Tap(platform::VK_DOWN);
    const ReplayFileEntry chosen = g_ReplayFiles.at(1);
    run.Sounds();
    run.Tap(kKeyDecide);
    EXPECT_EQ(run.Sounds(), (std::vector<std::string>{"PlaySe 1"}));
    EXPECT_EQ(ReadPaths(), (std::vector<std::string>{chosen.m_strPath}));
    EXPECT_EQ(g_Stage.m_strPath, chosen.m_strPath);
    EXPECT_EQ(g_ReplayData.m_nListPos, 1);
    EXPECT_EQ(g_ReplayData.m_strLastFile, chosen.m_strFileName);
    const PlayVisit* v = run.StepUntilPlay();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->prevKind, SCENE_REPLAYLIST);
    ASSERT_TRUE(run.StepUntilState(1));
    ASSERT_NE(List(), nullptr);
    EXPECT_EQ(Cursor().m_nY, 1);
    // Another order puts another file on that row: the list opens on row 0.
    g_ReplayData.m_nSortOrder = 3;
    ASSERT_TRUE(run.Enter(SCENE_REPLAYLIST));
    EXPECT_EQ(Cursor().m_nY, 0);
    EXPECT_EQ(g_ReplayData.m_strLastFile, "");
    testsupport::ReplayIo().read = nullptr;
}

TEST(ReplayList, VanishedAndRefusedReplaysKeepTheList) {
    StageMenuRun run;
    ASSERT_TRUE(run.Started());
    WriteSortFixture(run);  // order 0: d (a folder), b, a, c
    ASSERT_TRUE(run.Enter(SCENE_REPLAYLIST));
    run.Tap(platform::VK_DOWN);
    std::filesystem::remove(run.Dir().Path() / "user_data/rpl4/b.rpl4_1000");
    platform::InvalidateDirCache();
    run.Sounds();
    run.Tap(kKeyDecide);
    EXPECT_EQ(run.Sounds(), (std::vector<std::string>{"PlaySe 3"}));
    EXPECT_TRUE(run.Boxes().empty());
    // a is no replay: the reader's box names it and the list stays.
    run.Tap(platform::VK_DOWN);
    run.Tap(kKeyDecide);
    EXPECT_EQ(run.Sounds(), (std::vector<std::string>{"DS_PlayCursorSE 8 3", "PlaySe 1"}));
    ASSERT_EQ(run.Boxes().size(), 1u);
    EXPECT_NE(run.Boxes()[0].text.find("a_CLEAR_.rpl4_1000"), std::string::npos);
    run.Step(3);
    EXPECT_EQ(run.State(), 1);
    EXPECT_EQ(g_SceneState.m_nSceneKind.load(), SCENE_REPLAYLIST);
    EXPECT_TRUE(run.m_plays.empty());
    EXPECT_EQ(g_bQuit.load(), 0);
}

}  // namespace
