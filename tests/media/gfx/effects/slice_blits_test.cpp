// Slice and band effects, observed through the calls they make.
#include <gtest/gtest.h>

#include <vector>

#include "../gfx_fixture.h"
#include "media/gfx/effects/slice_blits.h"

using namespace gfxtest;

namespace {

// One recorded call: 'B' DDBlt, 'S' DDBltStretch, 'L' layer begin, 'E' layer end.
struct Call {
    char kind;
    int x = 0, y = 0, w = 0, h = 0;
    DDSURFACEDATA* src = nullptr;
    int sx = 0, sy = 0, sw = 0, sh = 0, flag = 0;
    bool operator==(const Call&) const = default;
};
std::vector<Call> g_calls;

void RecBlt(DDSURFACEDATA*, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flag) {
    g_calls.push_back({'B', x, y, w, h, src, sx, sy, w, h, flag});
}
int RecStretch(DDSURFACEDATA*, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int sw, int sh,
               int flag) {
    g_calls.push_back({'S', x, y, w, h, src, sx, sy, sw, sh, flag});
    return 1;
}
void RecBegin(int key) { g_calls.push_back({'L', key}); }
void RecEnd() { g_calls.push_back({'E'}); }

Call B(int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flag = 1) {
    return {'B', x, y, w, h, src, sx, sy, w, h, flag};
}
Call S(int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int sw, int sh, int flag = 1) {
    return {'S', x, y, w, h, src, sx, sy, sw, sh, flag};
}
const Call L0{'L', 0}, E{'E'};

std::string Show(const std::vector<Call>& v) {
    std::string s;
    for (const Call& c : v)
        s += std::string(1, c.kind) + "(" + std::to_string(c.x) + "," + std::to_string(c.y) + "," +
             std::to_string(c.w) + "," + std::to_string(c.h) + " <- " + std::to_string(c.sx) + "," +
             std::to_string(c.sy) + "," + std::to_string(c.sw) + "," + std::to_string(c.sh) + ") ";
    return s;
}

class SliceTest : public GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        DDSliceOps() = DDSLICEOPS{RecBlt, RecStretch, RecBegin, RecEnd};
        g_calls.clear();
        src.nWidth = 100, src.nHeight = 100;
        back.nWidth = 100, back.nHeight = 100;
    }
    void TearDown() override {
        DDSliceOps() = DDDefaultSliceOps();
        GfxTest::TearDown();
    }
    DDSURFACEDATA dst, src, back;
};

}  // namespace

TEST_F(SliceTest, Wave) {
    struct Case {
        const char* what;
        int x, y, w, h, waves;
        double amplitude;
        int phase, slice, vertical;
        std::vector<Call> want;
    };
    const std::vector<Case> cases = {
        {"slice 0 draws nothing", 0, 0, 10, 8, 1, 3, 0, 0, 0, {}},
        {"one full row strip, 270 degrees: -2.7 -> -2", 5, 6, 10, 8, 1, 2.7, 90, 20, 0,
         {L0, B(5 - 2, 6, 10, 8, &src, 1, 2), E}},
        {"one strip at 90 degrees: 3.2 -> 3", 5, 6, 10, 8, 1, 3.2, -270, 8, 0, {L0, B(5 + 3, 6, 10, 8, &src, 1, 2), E}},
        {"phase multiplied by the wave count", 0, 0, 10, 8, 2, 4, 45, 8, 0, {L0, B(4, 0, 10, 8, &src, 1, 2), E}},
        {"columns with a narrow last one", 0, 0, 25, 8, 1, 10, 0, 10, 1,
         {L0, B(0, 6, 10, 8, &src, 1, 2), B(10, -9, 10, 8, &src, 11, 2), B(20, 10, 5, 8, &src, 21, 2), E}},
        {"rows", 0, 0, 8, 25, 1, 10, 0, 10, 0,
         {L0, B(6, 0, 8, 10, &src, 1, 2), B(-9, 10, 8, 10, &src, 1, 12), B(10, 20, 8, 5, &src, 1, 22), E}},
        {"no extent: only the layer", 0, 0, 0, 8, 1, 10, 0, 10, 1, {L0, E}},
    };
    for (const Case& c : cases) {
        g_calls.clear();
        EXPECT_TRUE(DDBltWave(&dst, c.x, c.y, c.w, c.h, c.waves, c.amplitude, c.phase, c.slice, &src, 1, 2, 1,
                              c.vertical));
        EXPECT_EQ(g_calls, c.want) << c.what << ": " << Show(g_calls);
    }
}

TEST_F(SliceTest, Split) {
    struct Case {
        const char* what;
        int w, h, slice, vertical;
        std::vector<Call> want;
    };
    const std::vector<Case> cases = {
        {"columns: odd up first, last 10 left out", 100, 20, 30, 1,
         {L0, B(10 + 30, 20 - 5, 30, 20, &src, 30, 0), B(10, 25, 30, 20, &src, 0, 0), B(70, 25, 30, 20, &src, 60, 0),
          E}},
        {"rows: odd left first", 20, 100, 30, 0,
         {L0, B(5, 50, 20, 30, &src, 0, 30), B(15, 20, 20, 30, &src, 0, 0), B(15, 80, 20, 30, &src, 0, 60), E}},
        {"slice 0: one plain blit", 100, 20, 0, 1, {B(10, 20, 100, 20, &src, 0, 0)}},
        {"negative slice: an empty layer", 100, 20, -3, 1, {L0, E}},
    };
    for (const Case& c : cases) {
        g_calls.clear();
        EXPECT_TRUE(DDBltSplit(&dst, 10, 20, c.w, c.h, c.slice, 5, &src, 0, 0, 1, c.vertical));
        EXPECT_EQ(g_calls, c.want) << c.what << ": " << Show(g_calls);
    }
}

TEST_F(SliceTest, Flip) {
    struct Case {
        int phase;
        bool back;
        int inset;
    };
    const Case cases[] = {{0, false, 0}, {31, false, 31}, {32, true, 31}, {63, true, 0}, {64, true, 0}, {96, false, 31}};
    for (const Case& c : cases) {
        for (int axis : {0, 1}) {
            g_calls.clear();
            const int w = axis == 0 ? 64 : 16, h = axis == 0 ? 16 : 64;
            EXPECT_EQ(DDBltFlip(&dst, 10, 20, w, h, &src, 1, 2, &back, 3, 4, 32, 8, 1, c.phase, axis), 1);
            DDSURFACEDATA* pic = c.back ? &back : &src;
            const int px = c.back ? 3 : 1, py = c.back ? 4 : 2;
            const Call want = axis == 0 ? S(10 + c.inset, 20, 64 - 2 * c.inset, 16, pic, px, py, 32, 8)
                                        : S(10, 20 + c.inset, 16, 64 - 2 * c.inset, pic, px, py, 32, 8);
            EXPECT_EQ(g_calls, std::vector<Call>{want}) << "phase " << c.phase << " axis " << axis << Show(g_calls);
        }
    }
    // Below two pixels along the axis, or another axis: nothing.
    g_calls.clear();
    EXPECT_EQ(DDBltFlip(&dst, 0, 0, 1, 16, &src, 0, 0, &back, 0, 0, 32, 8, 1, 5, 0), 0);
    EXPECT_EQ(DDBltFlip(&dst, 0, 0, 16, 1, &src, 0, 0, &back, 0, 0, 32, 8, 1, 5, 1), 0);
    EXPECT_EQ(DDBltFlip(&dst, 0, 0, 16, 16, &src, 0, 0, &back, 0, 0, 32, 8, 1, 5, 2), 0);
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(SliceTest, Burst) {
    EXPECT_TRUE(DDBltBurst(&dst, 10, 20, 9, 7, &src, 1, 2, 0, 0));
    EXPECT_EQ(g_calls, (std::vector<Call>{L0, B(10, 20, 4, 3, &src, 1, 2, 0), B(14, 20, 4, 3, &src, 5, 2, 0),
                                          B(10, 23, 4, 3, &src, 1, 5, 0), B(14, 23, 4, 3, &src, 5, 5, 0), E}))
        << Show(g_calls);
    g_calls.clear();
    DDBltBurst(&dst, 10, 20, 8, 6, &src, 0, 0, 5, 1);
    EXPECT_EQ(g_calls, (std::vector<Call>{L0, B(5, 15, 4, 3, &src, 0, 0), B(19, 15, 4, 3, &src, 4, 0),
                                          B(5, 28, 4, 3, &src, 0, 3), B(19, 28, 4, 3, &src, 4, 3), E}))
        << Show(g_calls);
}

TEST_F(SliceTest, CircleRowsAndClamps) {
    // Radius 10, band 1: rows 9 .. -10, the middle one 18 wide, the last empty.
    EXPECT_TRUE(DDBltCircle(&dst, 200, 100, 20, 20, 10, 1, &src, 50, 50, 1));
    ASSERT_EQ(g_calls.size(), 22u) << Show(g_calls);
    EXPECT_EQ(g_calls.front(), L0);
    EXPECT_EQ(g_calls.back(), E);
    EXPECT_EQ(g_calls[1], B(200 - 4, 109, 8, 1, &src, 46, 59));  // dy 9: c = floor(sqrt(19)) = 4
    EXPECT_EQ(g_calls[10], B(200 - 9, 100, 18, 1, &src, 41, 50));
    EXPECT_EQ(g_calls[20], B(200, 90, 0, 1, &src, 50, 40));
    // Cut at the source's left (0) and right (its width) edges.
    g_calls.clear();
    DDBltCircle(&dst, 200, 100, 20, 20, 10, 1, &src, 3, 50, 1);
    EXPECT_EQ(g_calls[10], B(200 - 3, 100, 12, 1, &src, 0, 50));
    g_calls.clear();
    DDBltCircle(&dst, 200, 100, 20, 20, 10, 1, &src, 95, 50, 1);
    EXPECT_EQ(g_calls[10], B(191, 100, 14, 1, &src, 86, 50));
    // A half height of 3 cuts the circle flat: rows 2 .. -3.
    g_calls.clear();
    DDBltCircle(&dst, 200, 100, 20, 3, 10, 1, &src, 50, 50, 1);
    ASSERT_EQ(g_calls.size(), 8u);
    EXPECT_EQ(g_calls[1].y, 102);
    EXPECT_EQ(g_calls[6].y, 97);
    // Radius or band 0 or less: nothing at all.
    g_calls.clear();
    DDBltCircle(&dst, 200, 100, 20, 20, 0, 1, &src, 50, 50, 1);
    DDBltCircle(&dst, 200, 100, 20, 20, 10, 0, &src, 50, 50, 1);
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(SliceTest, CircleBands) {
    // Band 4: chords at the bands' middle rows.
    DDBltCircle(&dst, 200, 100, 20, 20, 10, 4, &src, 50, 50, 1);
    EXPECT_EQ(g_calls, (std::vector<Call>{L0, B(194, 106, 12, 4, &src, 44, 56), B(191, 102, 18, 4, &src, 41, 52),
                                          B(191, 98, 18, 4, &src, 41, 48), B(191, 94, 18, 4, &src, 41, 44),
                                          B(194, 90, 12, 4, &src, 44, 40), E}))
        << Show(g_calls);
    // A half height of 5 moves the bands inside: tops 1, -3, -5.
    g_calls.clear();
    DDBltCircle(&dst, 200, 100, 20, 5, 10, 4, &src, 50, 50, 1);
    EXPECT_EQ(g_calls, (std::vector<Call>{L0, B(191, 101, 18, 4, &src, 41, 51), B(191, 97, 18, 4, &src, 41, 47),
                                          B(191, 95, 18, 4, &src, 41, 45), E}))
        << Show(g_calls);
}

TEST_F(SliceTest, CircleInDirect3DStretchesAtEqualSizeFromTheAlias) {
    ASSERT_TRUE(InitAll(1, 32, 1));
    // Slot 5 is the mirrored alias of slot 4; the pieces come from slot 4.
    DDBltCircle(&g_BackBuffer, 100, 100, 4, 4, 2, 1, &SurfaceTable[5], 10, 4, 1);
    ASSERT_EQ(g_calls.size(), 6u) << Show(g_calls);
    EXPECT_EQ(g_calls[1], S(99, 101, 2, 1, &SurfaceTable[4], 9, 5, 2, 1));
}

// Values from game data that would overflow or never end: a slice of
// INT_MAX is one strip, a huge amplitude saturates, a huge radius only
// visits the rows inside the half height.
TEST_F(SliceTest, HugeValuesStayBounded) {
    EXPECT_TRUE(DDBltWave(&dst, 0, 0, 10, 8, 1, 1e300, 90, 2147483647, &src, 0, 0, 1, 1));
    ASSERT_EQ(g_calls.size(), 3u);
    EXPECT_TRUE(g_calls[1].y == 2147483647 || g_calls[1].y == -2147483647 - 1) << g_calls[1].y;
    g_calls.clear();
    DDBltCircle(&dst, 200, 100, 20, 2, 2147483647, 1, &src, 50, 50, 1);
    EXPECT_EQ(g_calls.size(), 2u + 4);  // rows 1 .. -2
    g_calls.clear();
    DDBltCircle(&dst, 200, 100, 20, 5, 2147483647, 4, &src, 50, 50, 1);
    std::vector<int> tops;
    for (const Call& c : g_calls)
        if (c.kind == 'B') tops.push_back(c.y - 100);
    // Tops = radius - 4 - 4k (3 mod 4): the first below 5 is 3, moved to 1
    // to stay inside; then -3, and -7 moved up to -5.
    EXPECT_EQ(tops, (std::vector<int>{1, -3, -5}));
}

