// The player program in a real X11 window: keys walk from the title to the
// challenge's stage select, into the first stage and its in-game menu, whose
// first entry leads back to the title, then to the stage select again (on
// the first stage's row) and back, and on to the end item; at each menu step
// the window's client area equals that state's golden; the program ends with
// status 0. Skipped only when Xvfb cannot start.
#include "tests/support/xvfb_walk.h"

TEST(StageMenuXvfb, RealWindowWalksTheChallengeMenuIntoTheFirstStageAndEnds) {
    testsupport::XvfbWalk walk;
    if (!walk.Start()) GTEST_SKIP() << "Xvfb cannot start";
    ASSERT_TRUE(walk.Ready());
    walk.ExpectScreen("title_d3d32.png");
    walk.PressUntil("Up", "xvfb_title_end.png");  // the first row wraps to the end item
    walk.PressUntil("Down", "title_d3d32.png");
    walk.PressUntil("Down", "xvfb_title_challenge.png");
    walk.Press("z");  // challenge
    walk.ExpectScreen("xvfb_stage_select.png");
    // The first stage starts; Space, held from then on, opens the in-game
    // menu on the play's first frame (the menu hides the stage).
    walk.KeyDown("space");
    walk.Press("z");
    walk.ExpectScreen("xvfb_play_menu.png", 300);
    walk.KeyUp("space");
    walk.PressUntil("Up", "xvfb_play_menu_end.png");
    walk.Press("z");  // the menu's first entry: the title, on the challenge's row
    walk.ExpectScreen("xvfb_title_challenge.png");
    walk.Press("z");  // challenge again: the list on the first stage's row
    walk.ExpectScreen("xvfb_stage_select.png");
    walk.Press("x");  // back to the title, on the challenge's row
    walk.ExpectScreen("xvfb_title_challenge.png");
    walk.PressUntil("Down", "xvfb_title_end.png");
    walk.Press("z");  // the end item
    EXPECT_EQ(walk.WaitEnd(20000), 0);
}
