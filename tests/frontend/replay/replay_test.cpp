// Recording and playback of the input streams, the choice rows, and the
// rotation of the recordings at the start of a play.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "base/scene_state.h"
#include "frontend/data/game_progress.h"
#include "frontend/replay/replay.h"
#include "records/system_data.h"

namespace {

using Words = std::array<int16_t, 2>;

cReplay Recorded(const std::vector<Words>& frames) {
    cReplay r;
    for (const Words& w : frames) r.RecordReplayFrame(w.data());
    return r;
}

std::vector<Words> PlayAll(cReplay& r, int limit = 100) {
    std::vector<Words> out;
    Words w{-1, -1};
    while (limit-- > 0 && r.PlayReplayFrame(w.data()) == 0) out.push_back(w);
    return out;
}

TEST(ReplayStreams, RunLengthsRecordedAndPlayedBack) {
    const std::vector<Words> frames = {{0, 0}, {0, 0}, {4, 0}, {4, 16}, {4, 16}};
    cReplay r = Recorded(frames);
    EXPECT_EQ(r.m_vecDirWords, (std::vector<int16_t>{0, 4}));
    EXPECT_EQ(r.m_vecDirRuns, (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(r.m_vecButtonWords, (std::vector<int16_t>{0, 16}));
    EXPECT_EQ(r.m_vecButtonRuns, (std::vector<int32_t>{3, 2}));
    EXPECT_EQ(PlayAll(r), frames);
    Words w{7, 7};
    EXPECT_EQ(r.PlayReplayFrame(w.data()), 1);
    EXPECT_EQ(w, (Words{7, 7}));  // nothing written at the end

    // Negative words (bit 15 of the button word) survive the int16 stream.
    cReplay neg = Recorded({{-1, static_cast<int16_t>(0x8001)}});
    EXPECT_EQ(PlayAll(neg), (std::vector<Words>{{-1, static_cast<int16_t>(0x8001)}}));
}

TEST(ReplayStreams, TheShorterStreamEndsThePlayback) {
    cReplay r;
    r.m_vecDirWords = {1};
    r.m_vecDirRuns = {5};
    r.m_vecButtonWords = {2};
    r.m_vecButtonRuns = {3};
    EXPECT_EQ(PlayAll(r).size(), 3u);

    // Vectors changed after a load (a word without its run) are not read past.
    cReplay odd;
    odd.m_vecDirWords = {1, 2};
    odd.m_vecDirRuns = {1};
    odd.m_vecButtonWords = {0, 0};
    odd.m_vecButtonRuns = {1, 1};
    EXPECT_EQ(PlayAll(odd).size(), 1u);
}

TEST(ReplayStreams, ChoicesInOrderThenZero) {
    cReplay r;
    r.m_vecChoice = {2, 0, 5};
    std::vector<int> got;
    for (int i = 0; i < 5; ++i) got.push_back(r.NextReplayChoice());
    EXPECT_EQ(got, (std::vector<int>{2, 0, 5, 0, 0}));
    r.RewindPlayback();
    EXPECT_EQ(r.NextReplayChoice(), 2);
}

TEST(ReplayStreams, CopyAndReset) {
    cReplay a = Recorded({{1, 2}, {1, 3}});
    a.m_vecChoice = {4};
    a.m_nSeed = 99;
    a.m_bCleared = 1;
    cReplay b;
    b.m_nDirPos = 1;
    b.CopyFrom(a);
    EXPECT_EQ(b.m_vecButtonWords, a.m_vecButtonWords);
    EXPECT_EQ(b.m_vecChoice, a.m_vecChoice);
    EXPECT_EQ(b.m_nSeed, 99);
    EXPECT_EQ(b.m_bCleared, 1);
    EXPECT_EQ(b.m_nDirPos, 1);  // playback positions are not copied
    b.Reset();
    EXPECT_TRUE(b.m_vecDirWords.empty() && b.m_vecButtonRuns.empty() && b.m_vecChoice.empty());
    EXPECT_EQ(b.m_nSeed, 0);
    EXPECT_EQ(b.m_bCleared, 0);
    EXPECT_EQ(b.m_nDirPos, 0);
}

class ReplayRotationTest : public ::testing::Test {
protected:
    void TearDown() override {
        g_SceneState.g_nGameType = 0;
        g_SystemData.OptReplayRecord = 1;
        g_Replay.Reset();
        g_ReplayPrev.Reset();
        g_Progress = cGameProgress();
        g_ProgressAtStart = cGameProgress();
        g_ProgressPrevStart = cGameProgress();
        g_bReplaySaved = 0;
    }
};

TEST_F(ReplayRotationTest, ANewPlayRotatesRecordingsAndSnapshots) {
    g_SystemData.OptReplayRecord = 1;
    g_Replay = Recorded({{1, 0}});
    g_Replay.m_nSeed = 5;
    g_ProgressAtStart.m_nScore = 10;
    g_Progress.m_nScore = 20;
    g_bReplaySaved = 1;
    BeginReplayRecording(777);
    EXPECT_EQ(g_ReplayPrev.m_vecDirWords, (std::vector<int16_t>{1}));
    EXPECT_EQ(g_ReplayPrev.m_nSeed, 5);
    EXPECT_TRUE(g_Replay.m_vecDirWords.empty());
    EXPECT_EQ(g_Replay.m_nSeed, 777);
    EXPECT_EQ(g_ProgressPrevStart.m_nScore, 10);
    EXPECT_EQ(g_ProgressAtStart.m_nScore, 20);
    EXPECT_EQ(g_bReplaySaved, 0);

    // Recording off: nothing rotates.
    g_SystemData.OptReplayRecord = 0;
    g_Replay.m_nSeed = 3;
    BeginReplayRecording(888);
    EXPECT_EQ(g_Replay.m_nSeed, 3);
    EXPECT_EQ(g_ReplayPrev.m_nSeed, 5);
}

TEST_F(ReplayRotationTest, PlaybackStartsFromTheRecordedSeedAndFirstFrame) {
    g_SceneState.g_nGameType = 4;
    EXPECT_EQ(IsReplayPlayback(), 1);
    EXPECT_EQ(IsReplayRecording(), 0);
    g_Replay = Recorded({{1, 0}, {2, 0}});
    g_Replay.m_nSeed = -2;
    Words w{};
    ASSERT_EQ(PlayReplayFrame(w.data()), 0);
    EXPECT_EQ(ReplayStartSeed(), 0xFFFFFFFEu);
    ASSERT_EQ(PlayReplayFrame(w.data()), 0);
    EXPECT_EQ(w[0], 1);
}

}  // namespace
