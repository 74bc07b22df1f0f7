// The player program in a real X11 window: keys walk from the title through a
// new game's slot list to the world map, take a step, open the map menu and
// go back to the title; each screen equals its golden. Skipped only when
// Xvfb cannot start.
#include "tests/support/xvfb_walk.h"

TEST(WorldMapXvfb, RealWindowWalksANewGameToTheMapMenuAndTheTitle) {
    testsupport::XvfbWalk walk;
    if (!walk.Start()) GTEST_SKIP() << "Xvfb cannot start";
    ASSERT_TRUE(walk.Ready());
    walk.ExpectScreen("title_d3d32.png");
    walk.Press("z");  // new game
    walk.ExpectScreen("xvfb_new_game_slots.png");
    walk.Press("z");  // slot 1
    walk.ExpectScreen("xvfb_world_map.png");
    // One step left onto the shore's grass; the water behind it stops a
    // press that a loaded machine sees twice.
    walk.PressUntil("Left", "xvfb_world_map_step.png");
    walk.Press("x");
    walk.ExpectScreen("xvfb_map_menu.png");
    walk.PressUntil("Up", "xvfb_map_menu_to_title.png");  // the first row wraps to the last
    walk.Press("z");
    walk.ExpectScreen("xvfb_map_menu_title_question.png");
    walk.PressUntil("Up", "xvfb_map_menu_title_yes.png");
    walk.Press("z");
    walk.ExpectScreen("title_d3d32.png");
    walk.PressUntil("Up", "xvfb_title_end.png");
    walk.Press("z");  // the end item
    EXPECT_EQ(walk.WaitEnd(20000), 0);
}
