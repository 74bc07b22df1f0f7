// The animation player: one table of step lists and the frames they show.
#include "play/anime_player.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/quit.h"

namespace {

struct Case {
    const char* name;
    std::vector<std::vector<int>> tracks;  // flat triples per track
    std::vector<int> frames;               // successive AdvanceFrame results
};

cAnimePlayer Build(const std::vector<std::vector<int>>& tracks) {
    std::vector<const int*> lists;
    for (const auto& t : tracks) lists.push_back(t.data());
    lists.push_back(nullptr);
    cAnimePlayer p;
    p.BuildTracks(lists.data());
    return p;
}

TEST(AnimePlayer, FrameSequences) {
    const Case cases[] = {
        // The start step shows d - 1 times, an entered step d times.
        {"restart", {{0, 2, 0, 1, 3, 0, -2, 0, 0}}, {0, 1, 1, 1, 0, 0, 1, 1, 1, 0}},
        {"hold", {{5, 1, 0, -1, 0, 0}}, {5, 5, 5, 5}},
        {"jump", {{0, 1, 0, -3, 1, 0}, {7, 4, 0, -4, 0, 0}}, {7, 7, 7, 7, -4}},
        {"end", {{3, 2, 0, -4, 0, 0}}, {3, -4}},
        // Zero-tick steps are current for one call once entered.
        {"zero ticks", {{1, 0, 0, 2, 0, 0, -2, 0, 0}}, {2, 1, 2, 1}},
        // Another negative frame ends the track like -4.
        {"other negative", {{4, 1, 0, -9, 0, 0}}, {-9, -9}},
        // A lone control step (an animation without frames): the player keeps it.
        {"lone end", {{-4, 0, 0}}, {-4, -4, -4}},
        {"lone hold", {{-1, 0, 0}}, {-1, -1}},
        {"lone restart", {{-2, 0, 0}}, {-2, -2}},
    };
    for (const auto& c : cases) {
        g_bQuit = 0;
        cAnimePlayer p = Build(c.tracks);
        std::vector<int> got;
        for (size_t i = 0; i < c.frames.size(); ++i) got.push_back(p.AdvanceFrame());
        EXPECT_EQ(got, c.frames) << c.name;
        EXPECT_EQ(g_bQuit, 0) << c.name << ": valid data must not hit a bad index";
    }
}

TEST(AnimePlayer, BuildTracks) {
    cAnimePlayer p = Build({{0, 7, 0, 1, 7, 0, 2, 7, 0, -4, 0, 0}, {0, 8, 0, 1, 8, 0, -2, 0, 0}});
    ASSERT_EQ(p.m_vTracks.size(), 2u);
    EXPECT_EQ(p.m_vTracks[0].size(), 4u);
    EXPECT_EQ(p.m_vTracks[1].back(), (AnimeStep{-2, 0, 0}));
    p.SetTrack(1, 1);
    p.AdvanceFrame();
    // Null keeps the tracks and the position.
    p.BuildTracks(nullptr);
    EXPECT_EQ(p.m_vTracks.size(), 2u);
    EXPECT_EQ(p.m_nTrack, 1);
    EXPECT_EQ(p.m_nTicks, 1);
    // A new build starts over.
    const int one[] = {9, 1, 1, -4, 0, 0};
    const int* lists[] = {one, nullptr};
    p.BuildTracks(lists);
    EXPECT_EQ(p.m_vTracks.size(), 1u);
    EXPECT_EQ(p.m_nTrack, 0);
    EXPECT_EQ(p.m_nTicks, 0);
    EXPECT_EQ(p.GetFrame(), 9);

    cAnimePlayer empty;
    EXPECT_EQ(empty.AdvanceFrame(), 0);
    EXPECT_EQ(empty.SetTrack(3, 0), 1);
}

TEST(AnimePlayer, LocksAndTrackChanges) {
    g_bQuit = 0;
    cAnimePlayer p = Build({{0, 15, 1, 1, 15, 1, -2, 0, 1}, {4, 3, 0, -2, 0, 0}, {6, 3, 0, -2, 0, 0}});
    // Locked: refused unless forced.
    EXPECT_EQ(p.SetTrack(2, 0), 0);
    EXPECT_EQ(p.m_nTrack, 0);
    EXPECT_EQ(p.ChangeTrack(2, 0), 0);
    EXPECT_EQ(p.SetTrack(2, 1), 1);
    EXPECT_EQ(p.m_nTrack, 2);
    EXPECT_EQ(p.AdvanceFrame(), 6);
    EXPECT_EQ(p.m_nTicks, 1);

    // ChangeTrack to the running track changes nothing; SetTrack restarts it.
    EXPECT_EQ(p.ChangeTrack(2, 0), 1);
    EXPECT_EQ(p.m_nTicks, 1);
    EXPECT_EQ(p.SetTrack(2, 0), 1);
    EXPECT_EQ(p.m_nTicks, 0);
    EXPECT_EQ(p.ChangeTrack(1, 0), 1);
    EXPECT_EQ(p.GetFrame(), 4);
    EXPECT_EQ(g_bQuit, 0);

    // A bad track number is stored; the next access reports it.
    p.SetTrack(7, 1);
    EXPECT_EQ(p.m_nTrack, 7);
    p.GetFrame();
    EXPECT_NE(g_bQuit, 0);
    g_bQuit = 0;
}

}  // namespace
