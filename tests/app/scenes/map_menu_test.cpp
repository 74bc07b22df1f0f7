// The map menu: its items by save mode, saving into a slot (read back byte
// for byte; a story folder that cannot be written), automatic saving on and
// off, the notice of a game without a slot, the way back to the map and to
// the title, and the best total's box.
#include "tests/app/scenes/world_map_harness.h"

#include <filesystem>
#include <fstream>

#include "frontend/data/save_slots.h"

namespace {

using namespace scenetest;

std::vector<int> Actions(const cSceneMapMenu* m) { return std::vector<int>(m->m_aItemAction, m->m_aItemAction + m->m_nItems); }

std::string ReadBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The map menu over a story standing at (3, 1) of the fixture map, saving
// into `slot` (-1: none yet).
cSceneMapMenu* OpenMenu(MapRun& run, int slot, int slotSave = 0) {
    g_WorldMap = FixtureMap();
    MapRun::NewStory(3, 1);
    g_Progress.m_nSlot = slot;
    g_Progress.m_bSlotSave = slotSave;
    if (!run.Enter(SCENE_MAPMENU, SCENE_WORLDMAP)) return nullptr;
    return run.Menu();
}

// Moves the item cursor to `row` and decides.
void Choose(MapRun& run, int row) {
    while (Cursor().m_nY < row) run.Tap(platform::VK_DOWN);
    run.Tap(kKeyDecide);
}

TEST(MapMenu, ItemsBySaveMode) {
    struct Case {
        int saveMode;
        unsigned enabled;
        std::vector<int> actions;
    };
    const Case cases[] = {
        {1, 0xF, {0, 1, 2, 3}}, {0, 0xF, {0, 1, 2, 3}}, {2, 0xF, {2, 3}}, {1, 0xA, {1, 3}}, {1, 0, {0}}, {2, 0x3, {0}},
    };
    MapRun run;
    ASSERT_TRUE(run.Started());
    for (const Case& k : cases) {
        g_SystemData.m_nSaveMode = k.saveMode;
        for (int i = 0; i < 4; ++i) g_SystemData.m_vecMapMenu.at(i).m_nEnabled = (k.enabled >> i) & 1;
        const cSceneMapMenu* m = OpenMenu(run, 0);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(Actions(m), k.actions) << k.saveMode << " " << k.enabled;
    }
}

TEST(MapMenu, SaveIntoTheRowUnderTheQuestion) {
    MapRun run;
    ASSERT_TRUE(run.Started());
    ASSERT_NE(OpenMenu(run, -1), nullptr);
    Choose(run, MAPMENU_SAVE);
    ASSERT_EQ(run.State(), 2);
    run.Step();
    // No slot yet: the list opens on its first row.
    EXPECT_EQ(Cursor().m_nY, 0);
    EXPECT_EQ(run.Menu()->m_nListTop, 0);
    EXPECT_EQ(run.Menu()->m_nListRows, 10);
    EXPECT_EQ(Cursor().m_nPixelY, 160);
    run.Tap(platform::VK_DOWN);
    run.Tap(platform::VK_DOWN);
    run.Tap(kKeyDecide);
    ASSERT_EQ(run.Menu()->m_nStep, 2);
    EXPECT_EQ(Cursor().m_nY, 1);  // on "cancel"
    run.Tap(platform::VK_UP);
    run.Tap(kKeyDecide);
    // Written into slot 2; the list stays open on it.
    const std::filesystem::path file = run.Dir().Path() / "user_data/story/Story03.dat";
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(g_Progress.m_nSlot, 2);
    EXPECT_EQ(g_SaveSlots.at(2).m_bUsed, 1);
    EXPECT_EQ(run.State(), 2);
    EXPECT_EQ(run.Menu()->m_nStep, 1);
    EXPECT_EQ(Cursor().m_nY, 2);
    // The file holds the progress as it is, byte for byte.
    cGameProgress back;
    ASSERT_TRUE(back.LoadFile("user_data\\story\\Story03.dat"));
    EXPECT_EQ(back.m_nMapX, 3);
    EXPECT_EQ(back.m_nSlot, 2);
    ASSERT_TRUE(back.SaveFile("user_data\\again.dat"));
    EXPECT_EQ(ReadBytes(run.Dir().Path() / "user_data/again.dat"), ReadBytes(file));
    // Cancel goes back to the items.
    run.Tap(kKeyCancel);
    EXPECT_EQ(run.State(), 1);
    EXPECT_EQ(Cursor().m_nY, 0);
    EXPECT_EQ(g_MenuCursor.Depth(), 1);
}

TEST(MapMenu, SaveSoundsByWhetherTheFileWasWritten) {
    for (bool writable : {true, false}) {
        SCOPED_TRACE(writable);
        MapRun run;
        ASSERT_TRUE(run.Started());
        if (!writable) {
            std::filesystem::remove_all(run.Dir().Path() / "user_data/story");
            run.Dir().WriteFile("user_data/story", "not a folder");
            platform::InvalidateDirCache();
        }
        ASSERT_NE(OpenMenu(run, 1), nullptr);
        Choose(run, MAPMENU_SAVE);
        run.Step();
        EXPECT_EQ(Cursor().m_nY, 1);  // the game's slot
        run.Tap(platform::VK_DOWN);
        run.Tap(kKeyDecide);
        run.Tap(platform::VK_UP);
        run.Sounds();
        run.Tap(kKeyDecide);
        const std::vector<std::string> sounds = run.Sounds();
        EXPECT_EQ(std::count(sounds.begin(), sounds.end(), "PlaySe 5"), writable ? 1 : 0);
        EXPECT_EQ(std::count(sounds.begin(), sounds.end(), "PlaySe 3"), writable ? 0 : 1);
        EXPECT_EQ(run.Boxes().size(), writable ? 0u : 1u);
        if (!writable && !run.Boxes().empty()) {
            EXPECT_NE(run.Boxes().back().text.find("Story03.dat"), std::string::npos);
        }
        // A failed save keeps the slot list's entry; the chosen slot is the
        // game's slot either way (the failure was shown above).
        EXPECT_EQ(g_SaveSlots.at(2).m_bUsed, writable ? 1 : 0);
        EXPECT_EQ(g_Progress.m_nSlot, 2);
        EXPECT_EQ(run.State(), 2);
        EXPECT_EQ(run.Menu()->m_nStep, 1);
        EXPECT_EQ(g_bQuit.load(), 0);
    }
}

TEST(MapMenu, AutomaticSavingOnAndOff) {
    MapRun run;
    ASSERT_TRUE(run.Started());
    ASSERT_NE(OpenMenu(run, 3, 0), nullptr);
    const std::filesystem::path file = run.Dir().Path() / "user_data/story/Story04.dat";
    // Off: the question starts on "off"; "on" saves, and the file says so.
    Choose(run, MAPMENU_AUTOSAVE);
    ASSERT_EQ(run.State(), 3);
    run.Step();
    EXPECT_EQ(Cursor().m_nY, 1);
    EXPECT_FALSE(std::filesystem::exists(file));
    run.Tap(platform::VK_UP);
    run.Tap(kKeyDecide);
    EXPECT_EQ(run.State(), 1);
    EXPECT_EQ(Cursor().m_nY, MAPMENU_AUTOSAVE);
    EXPECT_EQ(g_Progress.m_bSlotSave, 1);
    ASSERT_TRUE(std::filesystem::exists(file));
    cGameProgress back;
    ASSERT_TRUE(back.LoadFile("user_data\\story\\Story04.dat"));
    EXPECT_EQ(back.m_bSlotSave, 1);
    // On: the question starts on "on"; "off" only switches.
    std::filesystem::remove(file);
    run.Tap(kKeyDecide);
    run.Step();
    EXPECT_EQ(Cursor().m_nY, 0);
    run.Tap(platform::VK_DOWN);
    run.Tap(kKeyDecide);
    EXPECT_EQ(g_Progress.m_bSlotSave, 0);
    EXPECT_FALSE(std::filesystem::exists(file));
    // Cancel keeps the setting.
    run.Tap(kKeyDecide);
    run.Step();
    run.Tap(platform::VK_UP);
    run.Tap(kKeyCancel);
    EXPECT_EQ(run.State(), 1);
    EXPECT_EQ(g_Progress.m_bSlotSave, 0);
}

TEST(MapMenu, NoticeWithoutASlot) {
    MapRun run;
    ASSERT_TRUE(run.Started());
    ASSERT_NE(OpenMenu(run, -1), nullptr);
    for (int key : {kKeyDecide, kKeyCancel}) {
        Choose(run, MAPMENU_AUTOSAVE);
        run.Step();
        ASSERT_EQ(run.State(), 3);
        EXPECT_EQ(run.Menu()->m_nStep, 2);
        run.Tap(platform::VK_UP);  // the notice has no answers
        run.Sounds();
        run.Tap(key);
        EXPECT_EQ(run.Sounds(), (std::vector<std::string>{key == kKeyDecide ? "PlaySe 1" : "PlaySe 2"}));
        EXPECT_EQ(run.State(), 1);
        EXPECT_EQ(g_Progress.m_bSlotSave, 0);
        EXPECT_FALSE(std::filesystem::exists(run.Dir().Path() / "user_data/story/Story00.dat"));
    }
}

TEST(MapMenu, BackToTheMapAndToTheTitle) {
    MapRun run;
    ASSERT_TRUE(run.Started());
    // Cancel and the back item go to the map, which does not restart the
    // entry under the hero.
    for (bool byItem : {false, true}) {
        ASSERT_NE(OpenMenu(run, 0), nullptr);
        if (byItem)
            Choose(run, MAPMENU_BACK);
        else
            run.Tap(kKeyCancel);
        // The fade-out leaves the cursor to the next scene and the menu to
        // start anew.
        for (int i = 0; i < 80 && g_SceneState.m_nSceneKind == SCENE_MAPMENU; ++i) run.Step();
        ASSERT_NE(run.Menu(), nullptr);
        EXPECT_EQ(run.Menu()->m_nState, -1);
        EXPECT_EQ(g_MenuCursor.Depth(), byItem ? 2 : 1);
        ASSERT_TRUE(run.StepUntilScene(SCENE_WORLDMAP, 1, 80));
        EXPECT_EQ(g_SceneState.m_nPrevSceneKind, SCENE_MAPMENU);
        EXPECT_TRUE(run.m_plays.empty());
    }
    // The title's question: "no" keeps the menu on its row, "yes" leaves.
    ASSERT_NE(OpenMenu(run, 0), nullptr);
    Choose(run, MAPMENU_TITLE);
    ASSERT_EQ(run.State(), 5);
    run.Step();
    EXPECT_EQ(Cursor().m_nY, 1);
    run.Tap(kKeyDecide);
    EXPECT_EQ(run.State(), 1);
    EXPECT_EQ(Cursor().m_nY, MAPMENU_TITLE);
    run.Tap(kKeyDecide);
    run.Tap(kKeyCancel);
    EXPECT_EQ(run.State(), 1);
    run.Tap(kKeyDecide);
    run.Tap(platform::VK_UP);
    run.Tap(kKeyDecide);
    EXPECT_EQ(run.State(), 6);
    ASSERT_TRUE(run.StepUntilScene(SCENE_TITLE, 1, 80));
    EXPECT_EQ(g_SceneState.m_nPrevSceneKind, SCENE_MAPMENU);
}

TEST(MapMenu, BestTotalBoxHiddenAtZero) {
    StartOptions o;
    o.tweak = [](cSystemData& sd) { sd.m_bMapMenuShowTotal = 1; };
    MapRun run(o);
    ASSERT_TRUE(run.Started());
    for (int total : {0, 1500}) {
        ASSERT_NE(OpenMenu(run, 0), nullptr);
        // RecalcBestTotal is the map's; the menu shows the total it finds.
        g_Progress.m_nBestTotal = total;
        run.Step();
        const std::vector<uint32_t> frame = run.Shown();
        ASSERT_EQ(frame.size(), 640u * 480u);
        int lit = 0;
        for (int y = 260; y < 276; ++y)
            for (int x = 264; x < 264 + 16 * 10; ++x) lit += frame[size_t(y) * 640 + x] != frame[0];
        EXPECT_EQ(lit > 0, total > 0) << total;
    }
}

}  // namespace
