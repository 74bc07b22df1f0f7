// Effects played from two threads while a third renders, as the main thread,
// the game thread and the audio callback do (run under ThreadSanitizer too).
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/media/sound/sound_test_util.h"
#include "tools/mkdemo/sound_files.h"

namespace {

using SoundThreadsTest = OfflineSoundTest;

TEST_F(SoundThreadsTest, TwoPlayersAndTheRenderer) {
    std::vector<uint8_t> pcm(2000, 150);
    DS_SEDATA& e = Load(soundfiles::WaveFile(1, 8, 22050, pcm), 4);
    g_SEData.assign(1, DS_SEDATA{});
    ASSERT_TRUE(DS_LoadSE(g_SEData[0], "e0.wav", 3, 0));
    std::atomic<bool> stop{false};
    std::thread renderer([&] {
        std::vector<float> block(2 * 480);
        while (!stop.load()) SoundMixer().Render(block.data(), 480);
    });
    auto player = [&](int id) {
        for (int i = 0; i < 2000; ++i) {
            DS_PlaySE(e, 0);
            DS_SetVolume(e, i % 4, -(i % 7) * 100, 0);
            if (id == 1) DS_PlayCursorSE(1 | 4, 3, 0);
            (void)DS_GetVolume(e, (i + id) % 4);
        }
    };
    std::thread a(player, 0), b(player, 1);
    a.join();
    b.join();
    stop.store(true);
    renderer.join();
    EXPECT_GE(e.nNext, 0);
    EXPECT_LT(e.nNext, 4);
    DS_ReleaseSE(g_SEData[0]);
    g_SEData.clear();
}

}  // namespace
