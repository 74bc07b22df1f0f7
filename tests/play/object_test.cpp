// The in-game object base: stage clamps, screen boxes, area tests, scaling,
// the map corner test and the box functions.
#include "play/object.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "play/numeric.h"
#include "records/stage.h"
#include "tests/play/play_fixture.h"

namespace {

using playtest::PlaySceneTest;

// Counts the calls of the slots SetScale reaches.
class ProbeObject : public cObject {
public:
    void ScaleHitBoxes(int scale) override { scaleCalls.push_back(scale); }
    void KeepBaseOnScale(int n, int o, int keep) override { keepCalls.push_back({n, o, keep}); }
    void UpdateHitBoxX() override { ++hitBoxX; }
    std::vector<int> scaleCalls;
    std::vector<std::vector<int>> keepCalls;
    int hitBoxX = 0;
};

cObject MakeObject(int width, int height, int moveMode = 0) {
    cObject o;
    o.Init(1, 0, 0, 2, 0, nullptr, 0, 0, 0, width, height, width, height, 0, moveMode, 0);
    return o;
}

TEST_F(PlaySceneTest, InitValues) {
    static const int track0[] = {0, 15, 1, 1, 15, 1, -2, 0, 1};
    static const int track1[] = {3, 2, 0, -4, 0, 0};
    static const int* const lists[] = {track0, track1, nullptr};
    ProbeObject o;
    EXPECT_EQ(o.m_nLifeTime, 0);
    o.Init(7, 1, 0, 3, 12, lists, 1, 4, 5, 24, 30, 32, 40, 1, 3, 0x12345);
    EXPECT_EQ(o.m_nLifeTime, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(o.m_nClone, 0x2345);  // int16, narrowed modularly
    EXPECT_EQ(o.m_bFlying, 1);
    EXPECT_EQ(o.m_nWallMode, 2);
    EXPECT_EQ(o.m_nBaseDrawOffsetY, 5);
    EXPECT_EQ(o.m_nDrawHeight, 40);
    EXPECT_EQ(o.m_nBaseWidth, 24);
    EXPECT_EQ(o.m_Anime.m_vTracks.size(), 2u);
    EXPECT_EQ(o.m_Anime.m_nTrack, 1);
    EXPECT_EQ(o.GetDirSign(), 1);
    const int modes[4][2] = {{0, 1}, {1, 0}, {1, 1}, {1, 2}};
    for (int m = 0; m < 4; ++m) {
        cObject w = MakeObject(32, 32, m);
        EXPECT_EQ(w.m_bFlying, modes[m][0]) << m;
        EXPECT_EQ(w.m_nWallMode, modes[m][1]) << m;
        EXPECT_EQ(w.GetDirSign(), -1);
    }

    cObject copy;
    copy.CopyFrom(o);
    EXPECT_EQ(copy.m_nKey, 7);
    EXPECT_EQ(copy.m_Anime.m_vTracks.size(), 2u);
    EXPECT_EQ(copy.m_nDrawOffsetX, 4);
}

// Stage 40 x 15 cells: x movement limits [320, 1600), stage 1920; y [320,
// 800), stage 1120. View ranges narrowed to x [480, 1312), y [384, 672).
TEST_F(PlaySceneTest, ClampEdgeCodes) {
    m_scene.m_ScrollX.SetRange(5, 30, 1, 1);
    m_scene.m_ScrollY.SetRange(2, 10, 1, 1);
    struct Case {
        int axis, mode;
        double in;
        int size;
        double out;
        int code;
    } cases[] = {
        {0, 0, 100, 32, 480, 0},    {0, 0, 1300, 32, 1280, 0},  {0, 0, 700, 32, 700, 0},
        {0, 1, 100, 32, 320, 0},    {0, 1, 1590, 32, 1568, 0},  {0, 1, 400, 32, 400, 1},
        {0, 1, 1290, 32, 1290, 1},  {0, 1, 700, 32, 700, 0},    {0, 2, -5, 32, 0, 3},
        {0, 2, 1900, 32, 1888, 3},  {0, 2, 100, 32, 100, 2},    {0, 2, 1580, 32, 1580, 2},
        {0, 2, 400, 32, 400, 1},    {0, 2, 1290, 32, 1290, 1},  {0, 2, 700, 32, 700, 0},
        {1, 0, 0, 48, 384, 0},      {1, 0, 700, 48, 624, 0},    {1, 0, 500, 48, 500, 0},
        {1, 1, 100, 48, 320, 0},    {1, 1, 790, 48, 752, 0},    {1, 1, 350, 48, 350, 1},
        {1, 1, 640, 48, 640, 4},    {1, 1, 500, 48, 500, 0},    {1, 2, -3, 48, 0, 3},
        {1, 2, 1100, 48, 1072, 6},  {1, 2, 100, 48, 100, 2},    {1, 2, 770, 48, 770, 5},
        {1, 2, 350, 48, 350, 1},    {1, 2, 640, 48, 640, 4},    {1, 2, 500, 48, 500, 0},
        // Taller than the border (32 x 10): left above the top or below the bottom.
        {1, 2, -40, 320, -40, 0},   {1, 2, 900, 320, 900, 0},   {1, 2, -40, 319, 0, 3},
        {1, 2, 900, 319, 801, 6},
    };
    for (const Case& c : cases) {
        cObject o = c.axis == 0 ? MakeObject(c.size, 32) : MakeObject(32, c.size);
        if (c.axis == 0) {
            o.m_dX = c.in;
            EXPECT_EQ(o.ClampToStageX(c.mode), c.code) << c.mode << " x " << c.in;
            EXPECT_EQ(o.m_dX, c.out) << c.mode << " x " << c.in;
            EXPECT_EQ(o.m_dRight, c.out + c.size - 1);
            EXPECT_EQ(o.m_nCellLeft, TruncToInt(c.out) >> 5);
            EXPECT_EQ(o.m_nCellRight, TruncToInt(c.out + c.size - 1) >> 5);
        } else {
            o.m_dY = c.in;
            EXPECT_EQ(o.ClampToStageY(c.mode), c.code) << c.mode << " y " << c.in;
            EXPECT_EQ(o.m_dY, c.out) << c.mode << " y " << c.in;
            EXPECT_EQ(o.m_dBottom, c.out + c.size - 1);
            EXPECT_EQ(o.m_nCellTop, TruncToInt(c.out) >> 5);
        }
    }
}

TEST_F(PlaySceneTest, ScreenRectTruncatesPerKind) {
    struct Case {
        const char* name;
        int flying, follow;
        double speedX;
        int edgeX;
        double speedY;
        int edgeY;
        double x, y, scrollX, scrollY;
        int left, top;
    } cases[] = {
        // Negative fractions: x - scroll x = -10.4, y - scroll y = -10.4.
        {"walking", 0, 0, 0.5, 0, 0.5, 0, 90.3, 40.2, 100.7, 50.6, -12, -11},
        {"flying, no scroll", 1, 0, 0, 0, 0, 0, 90.3, 40.2, 100.7, 50.6, -13, -12},
        {"flying, axis at edge", 1, 1, 0.5, 1, 0.5, 1, 90.3, 40.2, 100.7, 50.6, -13, -12},
        {"flying, following", 1, 1, 0.5, 0, 0.5, 0, 90.3, 40.2, 100.7, 50.6, -13, -11},
        {"flying, not following", 1, 0, 0.5, 0, 0.5, 0, 90.3, 40.2, 100.7, 50.6, -12, -11},
        {"walking, auto-scroll", 0, 1, 0.5, 0, 0.5, 0, 90.3, 40.2, 100.7, 50.6, -12, -11},
        // Positive fractions.
        {"walking +", 0, 0, 0, 0, 0, 0, 200.3, 140.2, 100.7, 50.6, 97, 88},
        {"flying following +", 1, 1, 0.5, 0, 0.5, 0, 200.3, 140.2, 100.7, 50.6, 96, 88},
        // Whole numbers: a flying object in vertical auto-scroll is one pixel lower.
        {"walking whole", 0, 0, 0, 0, 0.5, 0, 400, 300, 100, 50, 297, 248},
        {"flying whole", 1, 1, 0, 0, 0.5, 0, 400, 300, 100, 50, 297, 249},
    };
    for (const Case& c : cases) {
        cObject o;
        o.Init(1, 0, 0, 0, 0, nullptr, 0, 3, 2, 20, 20, 24, 26, 0, c.flying ? 1 : 0, 0);
        o.m_bFollowScroll = c.follow;
        o.m_dX = c.x;
        o.m_dY = c.y;
        m_scene.m_ScrollX.m_dPos = c.scrollX;
        m_scene.m_ScrollY.m_dPos = c.scrollY;
        m_scene.m_ScrollX.m_dSpeed = c.speedX;
        m_scene.m_ScrollX.m_bAtEdge = c.edgeX;
        m_scene.m_ScrollY.m_dSpeed = c.speedY;
        m_scene.m_ScrollY.m_bAtEdge = c.edgeY;
        o.UpdateScreenRect();
        EXPECT_EQ(o.m_nScrLeft, c.left) << c.name;
        EXPECT_EQ(o.m_nScrTop, c.top) << c.name;
        EXPECT_EQ(o.m_nScrRight, c.left + 23) << c.name;
        EXPECT_EQ(o.m_nScrBottom, c.top + 25) << c.name;
    }
}

TEST_F(PlaySceneTest, ScreenAndStageTests) {
    m_scene.m_ScrollX.m_dPos = 1000.5;
    m_scene.m_ScrollY.m_dPos = 400;
    cObject o = MakeObject(32, 32);
    auto at = [&](double x, double y) {
        o.m_dX = x;
        o.m_dY = y;
        o.UpdatePosX();
        o.UpdatePosY();
    };
    at(969, 400);  // right = 1000 < 1000.5
    EXPECT_FALSE(o.IsOnScreen());
    at(969.5, 369);
    EXPECT_TRUE(o.IsOnScreen());
    at(1640.4, 879.9);
    EXPECT_TRUE(o.IsOnScreen());
    at(1640.5, 500);
    EXPECT_FALSE(o.IsOnScreen());

    at(0, 0);
    EXPECT_TRUE(o.IsInStage(1));
    EXPECT_FALSE(o.IsInStage(0));
    at(1920 - 32, 1120 - 32);
    EXPECT_TRUE(o.IsInStage(1));
    at(1920 - 31, 500);
    EXPECT_FALSE(o.IsInStage(1));
    at(320, 320);
    EXPECT_TRUE(o.IsInStage(0));
    at(1600 - 32, 800 - 32);
    EXPECT_TRUE(o.IsInStage(0));
    at(1600 - 31, 800 - 32);
    EXPECT_FALSE(o.IsInStage(0));
}

TEST_F(PlaySceneTest, IsOutOfArea) {
    SetStage(100, 50);  // stage 3840 x 2240
    m_scene.m_ScrollX.m_dPos = 1000.5;
    m_scene.m_ScrollY.m_dPos = 400;
    const cStageIntSet all(1, 1, 1, 1, 2, 1, 0, 3), none;
    struct Case {
        double x, y;
        int inView, outAll, outNone;
    } cases[] = {
        {905, 600, 0, 1, 0},     // right 936 <= (int)(1000.5 - 64)
        {906, 600, 0, 0, 0},
        {1672, 600, 0, 1, 0},    // x >= (int)(1000.5 + 32 + 640)
        {1671.5, 600, 0, 0, 0},
        {1200, 369, 0, 1, 0},    // bottom 400 <= 400 - 0
        {1200, 976, 0, 1, 0},    // y >= 400 + 96 + 480
        {1200, 975, 0, 0, 0},
        {0, 600, 0, 1, 1},       // the stage's edges, whatever the setting
        {3808, 600, 0, 1, 1},    // right 3839 >= 3840 - 1
        {1200, 0, 0, 1, 1},
        {1200, 2208, 0, 1, 1},   // bottom 2239
        {1200, 2207, 0, 1, 0},    // only the bottom margin
        {0, 0, 1, 0, 0},         // in view: never out
    };
    for (const Case& c : cases) {
        cObject o = MakeObject(32, 32);
        o.m_dX = c.x;
        o.m_dY = c.y;
        o.UpdatePosX();
        o.UpdatePosY();
        o.m_bInView = c.inView;
        EXPECT_EQ(o.IsOutOfArea(all), c.outAll) << c.x << "," << c.y;
        EXPECT_EQ(o.IsOutOfArea(none), c.outNone) << c.x << "," << c.y;
    }
}

TEST_F(PlaySceneTest, SetScale) {
    ProbeObject o;
    o.Init(1, 0, 0, 0, 0, nullptr, 0, 3, 4, 33, 20, 36, 24, 0, 0, 0);
    o.m_dX = 600.25;
    o.SetScale(2, 2, 0);  // equal: nothing at all
    EXPECT_TRUE(o.scaleCalls.empty());
    EXPECT_TRUE(o.keepCalls.empty());
    EXPECT_EQ(o.hitBoxX, 0);
    EXPECT_EQ(o.m_nWidth, 33);

    o.SetScale(3, 1, 1);
    EXPECT_EQ(o.m_nWidth, 99);
    EXPECT_EQ(o.m_nHeight, 60);
    EXPECT_EQ(o.m_nDrawWidth, 108);
    EXPECT_EQ(o.m_nDrawHeight, 72);
    EXPECT_EQ(o.m_nDrawOffsetX, 9);
    EXPECT_EQ(o.m_nDrawOffsetY, 12);
    EXPECT_EQ(o.m_dX, 600.25 - 2 * 16);  // half the base width, halved as an integer
    EXPECT_EQ(o.m_dRight, o.m_dX + 98);
    EXPECT_EQ(o.hitBoxX, 1);  // through the stage clamp
    EXPECT_EQ(o.keepCalls, (std::vector<std::vector<int>>{{3, 1, 1}}));
    EXPECT_EQ(o.scaleCalls, std::vector<int>{3});

    // Shrinking at the stage's left edge: clamped onto the stage.
    o.m_dX = 10;
    o.SetScale(1, 3, 0);
    EXPECT_EQ(o.m_dX, 42);
    o.m_dX = -5;
    o.ApplyScaleShift(2, 1, 1);
    EXPECT_EQ(o.m_dX, 0);
}

TEST(Boxes, OverlapAndCopies) {
    const double a[4] = {0, 0, 10, 10};
    struct Case {
        double b[4];
        bool overlap;
    } cases[] = {
        {{10, 0, 20, 10}, true},      // shares the right edge
        {{0, 10, 10, 20}, true},      // shares the bottom edge
        {{10, 10, 20, 20}, true},     // shares a corner
        {{-10, -10, 0, 0}, true},
        {{10.5, 0, 20, 10}, false},
        {{0, -10, 10, -0.5}, false},
        {{2, 2, 3, 3}, true},         // inside
        {{-5, -5, 15, 15}, true},     // around
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BoxesOverlap(a, c.b), c.overlap) << c.b[0] << "," << c.b[1];
        EXPECT_EQ(BoxesOverlap(c.b, a), c.overlap) << c.b[0] << "," << c.b[1];
    }
    double b[4] = {};
    double d[4] = {1, 2, 3, 4};
    CopyBox(b, a);
    EXPECT_EQ(b[2], 10);
    ClearBoxPair(b, d);
    EXPECT_EQ(b[2], 0);
    EXPECT_EQ(d[3], 0);
    int32_t q[4] = {}, r[4] = {5, 6, 7, 8};
    CopyIntQuad(q, r);
    EXPECT_EQ(q[3], 8);
}

}  // namespace
