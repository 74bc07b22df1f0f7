// The title scene on the demo: its visible rows and cursor row, every row
// reached with the keys, the story slot lists over fixture saves, and the
// progress of a new game.
#include "app/scene_manager.h"
#include "tests/app/scenes/scene_harness.h"

#include "base/app_state.h"
#include "frontend/data/world_map.h"
#include "media/input/menu_cursor.h"
#include "frontend/scenes/scene_title.h"
#include "media/input/input.h"

namespace {

using namespace scenetest;

cSceneTitle* Title() { return dynamic_cast<cSceneTitle*>(g_SceneManager.SceneOf(SCENE_TITLE)); }

std::vector<int> Actions(const cSceneTitle* t) { return std::vector<int>(t->m_aItemAction, t->m_aItemAction + t->m_nItems); }

void EnableTitleItems(unsigned mask) {
    for (int i = 0; i < 7; ++i) g_SystemData.m_vecTitleMenu.at(i).m_nEnabled = (mask >> i) & 1;
}

// A story save in slot n (0 based) with a known time and score; one that
// resumes a stage may name the stage's base (its stage 1 then).
void WriteSlot(int n, int score, int resume = 0, const char* stageBase = "") {
    cGameProgress p;
    p.Reset(g_SystemData.m_nStageCount);
    p.m_nScore = score;
    p.m_bResume = resume;
    if (*stageBase) {
        p.m_strStageBase = stageBase;
        p.m_nStageNumber = p.m_nNextStage = 1;
    }
    p.m_nLives = 3;
    p.m_stSaveTime = {static_cast<uint16_t>(2020 + n), static_cast<uint16_t>(1 + n % 12), 0,
                      static_cast<uint16_t>(1 + n % 28), static_cast<uint16_t>(n % 24), static_cast<uint16_t>(n % 60),
                      0, 0};
    std::string name;
    StorySlotFileName(name, n);
    ASSERT_TRUE(p.SaveFile(name));
}

// A slot file that opens (its version is readable) but whose body is cut.
void WriteDamagedSlot(const DemoRun& run, int n) {
    run.Dir().WriteFile("user_data/story/Story" + std::string(n < 9 ? "0" : "") + std::to_string(n + 1) + ".dat",
                        std::string("\xe8\x03\x00\x00\x01\x00", 6));
}

void RemoveSlot(const DemoRun& run, int n) {
    std::filesystem::remove(run.Dir().Path() / "user_data/story" /
                            ("Story" + std::string(n < 9 ? "0" : "") + std::to_string(n + 1) + ".dat"));
    platform::InvalidateDirCache();
}

// The title made again (its Init runs on the next frame) and faded in.
cSceneTitle* NewTitle(DemoRun& run, int titleItem) {
    g_SceneManager.DeleteAllScenes();
    g_SceneState.m_nSceneKind = SCENE_TITLE;
    g_SceneState.g_nGameType = titleItem;
    run.m_visits.clear();
    run.Release();
    run.Step();
    if (!run.StepUntilState(1)) return nullptr;
    run.Sounds();
    return Title();
}

// Steps until a fake scene was visited (the title fades out first).
const FakeVisit* StepUntilVisit(DemoRun& run, int limit = 40) {
    for (int i = 0; i < limit && run.m_visits.empty(); ++i) run.Step();
    return run.m_visits.empty() ? nullptr : &run.m_visits.back();
}

TEST(Title, VisibleRows) {
    DemoRun run;
    ASSERT_TRUE(run.Started());
    struct Case {
        const char* name;
        unsigned enabled;
        int saveMode;
        bool slot0Used;
        std::vector<int> actions;
    };
    const Case cases[] = {
        {"all items", 0x7F, 1, false, {0, 1, 2, 3, 4, 5, 6}},
        {"replay off", 0x6F, 1, true, {0, 1, 2, 3, 5, 6}},
        {"none visible: one row of action 0", 0x00, 1, false, {0}},
        {"save mode 2, slot 0 empty: no continue", 0x7F, 2, false, {0, 2, 3, 4, 5, 6}},
        {"save mode 2, slot 0 used: no new game", 0x7F, 2, true, {1, 2, 3, 4, 5, 6}},
        {"save mode 2, slot 0 used, only new game enabled", 0x01, 2, true, {0}},
        {"save mode 0 ignores slot 0", 0x03, 0, true, {0, 1}},
    };
    const cCheckedVector<cCmd> menu = g_SystemData.m_vecTitleMenu;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_SystemData.m_vecTitleMenu = menu;
        EnableTitleItems(c.enabled);
        g_SystemData.m_nSaveMode = c.saveMode;
        if (c.slot0Used)
            WriteSlot(0, 1);
        else
            RemoveSlot(run, 0);
        cSceneTitle* t = NewTitle(run, 0);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(Actions(t), c.actions);
        // The page holds one 32-pixel row per item.
        ASSERT_EQ(g_SceneSurfaces.size(), 1u);
        EXPECT_EQ(g_SceneSurfaces.at(0).nHeight, 32 * static_cast<int>(c.actions.size()) + 2);
    }
    // A menu list longer than the title's seven rows shows its first seven.
    g_SystemData.m_vecTitleMenu = menu;
    EnableTitleItems(0x7E);
    g_SystemData.m_vecTitleMenu.emplace_back(1, "extra");
    g_SystemData.m_vecTitleMenu.emplace_back(1, "more");
    cSceneTitle* t = NewTitle(run, 0);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(Actions(t), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    g_SystemData.m_vecTitleMenu = menu;
}

TEST(Title, CursorRow) {
    DemoRun run;
    ASSERT_TRUE(run.Started());
    struct Case {
        const char* name;
        unsigned enabled;
        int titleItem;
        bool singlePlay;
        int wantRow;  // after the first frame of the menu
    };
    const Case cases[] = {
        {"back from the options on its row", 0x7F, TITLE_OPTIONS, false, 5},
        {"the options' row with replay hidden", 0x6F, TITLE_OPTIONS, false, 4},
        {"back from a replay, its row", 0x7F, TITLE_REPLAY, false, 4},
        {"an item no longer shown: its number, wrapped to 0", 0x0F ^ 0x08, TITLE_FREE, false, 0},
        {"after a start-file play: row 0", 0x7F, TITLE_OPTIONS, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EnableTitleItems(c.enabled);
        g_bSinglePlay = c.singlePlay ? 1 : 0;
        g_bFreeStage = c.singlePlay ? 1 : 0;
        ASSERT_NE(NewTitle(run, c.titleItem), nullptr);
        run.Step();
        EXPECT_EQ(g_MenuCursor.Cur().m_nY, c.wantRow);
        EXPECT_EQ(g_MenuCursor.Cur().m_nPixelY, cSceneTitle::kPanelY + 32 * c.wantRow);
        EXPECT_EQ(g_bSinglePlay.load(), 0);
        EXPECT_EQ(g_bFreeStage.load(), 0);
    }
}

TEST(Title, KeysReachTheOtherScenes) {
    DemoRun run;
    ASSERT_TRUE(run.Started());
    struct Case {
        const char* name;
        int action;
        int noStageList;
        int dialogAnswer;  // -1: no dialog
        int wantKind;      // -1: the title stays
        int wantGameKind;  // -1: unchanged
        int wantRanking;
    };
    const Case cases[] = {
        {"challenge", TITLE_CHALLENGE, 0, -1, SCENE_STAGESELECT, 1, 1},
        {"free play: the stage list", TITLE_FREE, 0, -1, SCENE_STAGELIST, 2, 1},
        {"free play: a stage chosen in the dialog", TITLE_FREE, 1, 1, SCENE_PLAY, 2, 1},
        {"free play: the dialog cancelled", TITLE_FREE, 1, 0, -1, 2, 1},
        {"replay: the replay list", TITLE_REPLAY, 0, -1, SCENE_REPLAYLIST, 3, 0},
        {"replay: a replay chosen in the dialog", TITLE_REPLAY, 1, 1, SCENE_PLAY, 3, 0},
        {"replay: the dialog cancelled", TITLE_REPLAY, 1, 0, -1, 3, 0},
        {"options", TITLE_OPTIONS, 0, -1, SCENE_OPTIONS, -1, 7},
    };
    EnableTitleItems(0x7F);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_SystemData.OptNoStageList = c.noStageList;
        ASSERT_NE(NewTitle(run, c.action), nullptr);
        g_SceneState.g_nGameKind = -1;
        g_SceneState.g_bRankingOn = 7;
        std::unique_ptr<FakeDialogServer> server;
        if (c.dialogAnswer >= 0) server = std::make_unique<FakeDialogServer>(c.dialogAnswer);
        run.Tap(kKeyDecide);
        EXPECT_EQ(run.Sounds(), (std::vector<std::string>{"PlaySe 1"}));
        if (server) EXPECT_EQ(server->Requests(), 1);
        EXPECT_EQ(g_SceneState.g_nGameType, c.action);
        EXPECT_EQ(g_SceneState.g_nGameKind, c.wantGameKind);
        EXPECT_EQ(g_SceneState.g_bRankingOn, c.wantRanking);
        if (c.wantKind < 0) {
            EXPECT_EQ(run.State(), 1);
            EXPECT_EQ(g_MenuCursor.Cur().m_nY, c.action);
            continue;
        }
        const FakeVisit* v = StepUntilVisit(run);
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v->kind, c.wantKind);
        EXPECT_EQ(v->prevKind, SCENE_TITLE);
        // The fake scene goes back; the title lands on the chosen row.
        run.Step(2);
        ASSERT_NE(Title(), nullptr);
        ASSERT_TRUE(run.StepUntilState(1));
        run.Step();
        EXPECT_EQ(g_MenuCursor.Cur().m_nY, c.action);
    }
    g_SystemData.OptNoStageList = 0;

    // The end item asks for the close; the menu runs on.
    ASSERT_NE(NewTitle(run, TITLE_END), nullptr);
    run.Tap(kKeyDecide);
    EXPECT_EQ(run.CloseRequests(), 1);
    run.Step(5);
    EXPECT_EQ(run.State(), 1);
    EXPECT_TRUE(run.m_visits.empty());
}

TEST(Title, ChallengeLoadsItsFileOrResets) {
    DemoRun run;
    ASSERT_TRUE(run.Started());
    g_Progress.m_nScore = 5;
    ASSERT_NE(NewTitle(run, TITLE_CHALLENGE), nullptr);
    run.Tap(kKeyDecide);
    const FakeVisit* v = StepUntilVisit(run);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->progress.m_nScore, 0);  // reset: no challenge file
    EXPECT_EQ(v->progress.m_vecStageFlag.size(), static_cast<size_t>(g_SystemData.m_nStageCount));

    cGameProgress saved;
    saved.Reset(g_SystemData.m_nStageCount);
    saved.m_nScore = 4321;
    ASSERT_TRUE(saved.SaveChallenge());
    ASSERT_NE(NewTitle(run, TITLE_CHALLENGE), nullptr);
    run.Tap(kKeyDecide);
    v = StepUntilVisit(run);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->progress.m_nScore, 4321);
}

class TitleSlots : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(run.Started());
        EnableTitleItems(0x7F);
        g_SystemData.m_nSaveMode = 1;
        WriteSlot(0, 111);
        WriteDamagedSlot(run, 1);
        WriteSlot(2, 333, 1, "data\\stg4\\c01.");
        WriteSlot(4, 555, 1);  // resumes a stage it does not name
        WriteSlot(98, 999);
    }
    DemoRun run;
};

TEST_F(TitleSlots, NewGameNeedsAFreeSlot) {
    ASSERT_NE(NewTitle(run, TITLE_NEWGAME), nullptr);
    run.Tap(kKeyDecide);
    EXPECT_EQ(run.State(), 2);
    cSceneTitle* t = Title();
    EXPECT_EQ(t->m_nListRows, 10);
    EXPECT_EQ(g_MenuCursor.Depth(), 2);
    EXPECT_EQ(run.Sounds(), (std::vector<std::string>{"PlaySe 1"}));
    // Used, damaged (counts as used) and used again: refused.
    for (int slot = 0; slot < 3; ++slot) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(g_MenuCursor.Cur().m_nY, slot);
        run.Tap(kKeyDecide);
        EXPECT_EQ(run.State(), 2);
        EXPECT_EQ(run.Sounds(), (std::vector<std::string>{"PlaySe 3"}));
        run.Tap(platform::VK_DOWN);
        EXPECT_EQ(run.Sounds(), (std::vector<std::string>{"DS_PlayCursorSE 8 3"}));
    }
    // Paging by 9 over the 99 slots, and back.
    run.Tap(platform::VK_RIGHT);
    EXPECT_EQ(t->m_nListTop, 9);
    EXPECT_EQ(g_MenuCursor.Cur().m_nY, 12);
    run.Tap(platform::VK_LEFT);
    EXPECT_EQ(t->m_nListTop, 0);
    EXPECT_EQ(g_MenuCursor.Cur().m_nY, 3);
    run.Sounds();
    run.Tap(kKeyDecide);
    EXPECT_EQ(run.Sounds(), (std::vector<std::string>{"PlaySe 1"}));
    const FakeVisit* v = StepUntilVisit(run);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->kind, SCENE_WORLDMAP);
    EXPECT_EQ(v->progress.m_nSlot, 3);
    EXPECT_EQ(v->progress.m_bSlotSave, 1);
    EXPECT_EQ(v->progress.m_nScore, 0);
    EXPECT_EQ(v->progress.m_nMapX, g_WorldMap.m_nStartX);
}

TEST_F(TitleSlots, CancelGoesBackToTheMenuRow) {
    for (int action : {TITLE_NEWGAME, TITLE_CONTINUE}) {
        SCOPED_TRACE(action);
        ASSERT_NE(NewTitle(run, action), nullptr);
        run.Tap(kKeyDecide);
        run.Tap(platform::VK_DOWN);
        EXPECT_EQ(run.State(), 2 + action);
        run.Sounds();
        run.Tap(kKeyCancel);
        EXPECT_EQ(run.Sounds(), (std::vector<std::string>{"PlaySe 2"}));
        EXPECT_EQ(run.State(), 1);
        EXPECT_EQ(g_MenuCursor.Depth(), 1);
        EXPECT_EQ(g_MenuCursor.Cur().m_nY, action);
    }
}

TEST_F(TitleSlots, ContinueLoadsAUsedReadableSlot) {
    struct Case {
        const char* name;
        int slot;
        int wantKind;  // -1: refused, the list stays
        int wantScore;
    };
    const Case cases[] = {
        {"Story01", 0, SCENE_WORLDMAP, 111},
        {"damaged Story02", 1, -1, 0},
        {"Story03 resumes its stage", 2, SCENE_PLAY, 333},
        {"empty Story04", 3, -1, 0},
        {"Story05 resumes no stage file", 4, -1, 0},
        {"Story99", 98, SCENE_WORLDMAP, 999},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(NewTitle(run, TITLE_CONTINUE), nullptr);
        run.Tap(kKeyDecide);
        ASSERT_EQ(run.State(), 3);
        if (c.slot == 98) {
            run.Tap(platform::VK_UP);  // stays on 0 without wrap
            for (int i = 0; i < 11; ++i) run.Tap(platform::VK_RIGHT);
        } else {
            for (int i = 0; i < c.slot; ++i) run.Tap(platform::VK_DOWN);
        }
        ASSERT_EQ(g_MenuCursor.Cur().m_nY, c.slot);
        g_Progress.m_nScore = -5;
        run.Sounds();
        run.Tap(kKeyDecide);
        if (c.wantKind < 0) {
            EXPECT_EQ(run.Sounds(), (std::vector<std::string>{"PlaySe 3"}));
            EXPECT_EQ(run.State(), 3);
            EXPECT_EQ(g_Progress.m_nScore, -5);  // left as it was
            continue;
        }
        EXPECT_EQ(run.Sounds(), (std::vector<std::string>{"PlaySe 1"}));
        const FakeVisit* v = StepUntilVisit(run);
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v->kind, c.wantKind);
        EXPECT_EQ(v->progress.m_nScore, c.wantScore);
    }
    // The refused resume is reported by its slot; no bad index was met.
    const std::string report = run.Dir().ReadFile("Report_Game.txt");
    EXPECT_NE(report.find("Story05: no stage file to resume"), std::string::npos) << report;
    EXPECT_EQ(report.find("err V["), std::string::npos) << report;
}

TEST_F(TitleSlots, SaveModes0And2WithoutLists) {
    // Save mode 2, slot 0 used: continue loads it at once, without a list
    // and without a second decide sound.
    g_SystemData.m_nSaveMode = 2;
    cSceneTitle* t = NewTitle(run, TITLE_CONTINUE);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->m_aItemAction[0], TITLE_CONTINUE);
    run.Step();
    EXPECT_EQ(g_MenuCursor.Cur().m_nY, 0);
    run.Tap(kKeyDecide);
    const FakeVisit* v = StepUntilVisit(run);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(run.Sounds(), (std::vector<std::string>{"PlaySe 1"}));
    EXPECT_EQ(v->kind, SCENE_WORLDMAP);
    EXPECT_EQ(v->progress.m_nScore, 111);
    EXPECT_EQ(v->progress.m_nSlot, 0);
    EXPECT_EQ(v->progress.m_bSlotSave, 1);

    // Save mode 2 with a damaged slot 0: sound 3 and back to the menu row.
    WriteDamagedSlot(run, 0);
    ASSERT_NE(NewTitle(run, TITLE_CONTINUE), nullptr);
    run.Tap(kKeyDecide);
    run.Step();
    EXPECT_EQ(run.Sounds(), (std::vector<std::string>{"PlaySe 1", "PlaySe 3"}));
    EXPECT_EQ(run.State(), 1);
    EXPECT_EQ(g_MenuCursor.Depth(), 1);
    EXPECT_TRUE(run.m_visits.empty());

    // New games without a list: save mode 2 saves into slot 0, mode 0 never.
    for (int mode : {2, 0}) {
        SCOPED_TRACE(mode);
        g_SystemData.m_nSaveMode = mode;
        RemoveSlot(run, 0);
        ASSERT_NE(NewTitle(run, TITLE_NEWGAME), nullptr);
        run.Tap(kKeyDecide);
        v = StepUntilVisit(run);
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v->kind, SCENE_WORLDMAP);
        EXPECT_EQ(v->progress.m_nSlot, mode == 2 ? 0 : -1);
        EXPECT_EQ(v->progress.m_bSlotSave, mode == 2 ? 1 : 0);
    }
}

TEST(NewGameReset, LivesAndStart) {
    struct Case {
        int32_t infinite, start;
        int32_t wantStart, wantLives;
    };
    const Case cases[] = {
        {1, 5, 999999, 999999},
        {0, 5, 5, 4},
        {0, 1, 1, 0},
        {7, 3, 999999, 999999},
    };
    const cSystemData saved = g_SystemData;
    g_WorldMap.m_nStartX = 6;
    g_WorldMap.m_nStartY = 2;
    g_SystemData.m_nStageCount = 12;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        g_SystemData.m_vecInfiniteLives = cCheckedVector<int32_t>{c.infinite, 0, 0, 0};
        g_SystemData.m_vecStartLives = cCheckedVector<int32_t>{c.start, 9, 9, 9};
        g_Progress.m_nScore = 50;
        g_Progress.m_nWorld = 3;
        NewGameReset();
        EXPECT_EQ(g_Progress.m_nStartLives, c.wantStart);
        EXPECT_EQ(g_Progress.m_nLives, c.wantLives);
        EXPECT_EQ(g_Progress.m_nScore, 0);
        EXPECT_EQ(g_Progress.m_nWorld, 0);
        EXPECT_EQ(g_Progress.m_nMapX, 6);
        EXPECT_EQ(g_Progress.m_nMapY, 2);
        EXPECT_EQ(g_Progress.m_vecStageFlag.size(), 12u);
    }
    g_SystemData = saved;
    g_WorldMap = cWorldMap();
    g_Progress.Reset(0);
}

}  // namespace
