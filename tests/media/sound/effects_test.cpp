// Effects rendered offline against computed values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "tests/media/sound/sound_test_util.h"
#include "tools/mkdemo/sound_files.h"

namespace {

using EffectsTest = OfflineSoundTest;

// 8-bit mono ramp: byte i = base + i.
std::vector<uint8_t> Ramp8(int n, int base) {
    std::vector<uint8_t> v;
    for (int i = 0; i < n; ++i) v.push_back(static_cast<uint8_t>(base + i));
    return v;
}
float S8(int byte) { return (byte - 128) / 128.0f; }

TEST_F(EffectsTest, RampAtTwiceItsRateWithVolumes) {
    const int n = 40, base = 140;
    DS_SEDATA& e = Load(soundfiles::WaveFile(1, 8, 22050, Ramp8(n, base)), 1);
    for (int volume : {0, -600, -10000}) {
        SCOPED_TRACE(volume);
        DS_SetVolume(e, 0, volume, 0);
        DS_PlaySE(e, 0);
        const auto out = Render(2 * n + 4);
        const float gain = volume == -10000 ? 0.0f : static_cast<float>(std::pow(10.0, volume / 2000.0));
        for (int k = 0; k < n; ++k) {
            const float even = S8(base + k);
            const float odd = k + 1 < n ? (S8(base + k) + S8(base + k + 1)) / 2 : S8(base + k);
            ASSERT_NEAR(out[4 * k], even * gain, 1e-6) << k;
            ASSERT_NEAR(out[4 * k + 1], even * gain, 1e-6) << k;  // mono: the same on both sides
            ASSERT_NEAR(out[4 * k + 2], odd * gain, 1e-6) << k;
        }
        for (size_t i = 4 * n; i < out.size(); ++i) EXPECT_EQ(out[i], 0.0f);  // stopped at its end
        EXPECT_FALSE(SoundMixer().IsPlaying(e.vecBuffers[0]));
    }
    EXPECT_NEAR(std::pow(10.0, -0.3), platform::GainOfVolume(-600), 1e-7);
}

TEST_F(EffectsTest, CopiesTakeTurnsSumAndClamp) {
    // 16-bit constant 0.375 at the output rate: each copy adds exactly 0.375.
    std::vector<uint8_t> pcm;
    for (int i = 0; i < 100; ++i) soundfiles::PutLe(pcm, 12288, 2);
    DS_SEDATA& e = Load(soundfiles::WaveFile(1, 16, 44100, pcm), 3);
    ASSERT_EQ(e.nCopies, 3);
    DS_PlaySE(e, 0);
    DS_PlaySE(e, 0);
    EXPECT_FLOAT_EQ(Render(1)[0], 0.75f);
    DS_PlaySE(e, 0);
    EXPECT_FLOAT_EQ(Render(1)[0], 1.0f);  // 1.125 clamped
    EXPECT_EQ(e.nNext, 0);

    // Copies 0, 1, 2, 0: the fourth play restarts copy 0 from its start.
    DS_SEDATA& r = Load(soundfiles::WaveFile(1, 8, 44100, Ramp8(60, 128)), 3);
    std::vector<int> order;
    for (int play = 0; play < 3; ++play) {
        order.push_back(r.nNext);
        DS_PlaySE(r, 0);
        Render(5);
    }
    order.push_back(r.nNext);
    DS_PlaySE(r, 0);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 0}));
    for (DSBUFFER b : e.vecBuffers) SoundMixer().Stop(b);
    // Copy 0 at 0 (restarted, not 15), copy 1 at 10, copy 2 at 5.
    EXPECT_NEAR(Render(1)[0], S8(128) + S8(138) + S8(133), 1e-6);
}

TEST_F(EffectsTest, VolumesClampAndAdd) {
    DS_SEDATA& e = Load(soundfiles::WaveFile(1, 8, 22050, Ramp8(4, 0)), 2);
    EXPECT_EQ(DS_SetVolume(e, 0, -12000, 0), -10000);
    EXPECT_EQ(DS_SetVolume(e, 0, 500, 0), 0);
    EXPECT_EQ(DS_SetVolume(e, 1, -200, 0), -200);
    EXPECT_EQ(DS_SetVolume(e, 1, -300, 1), -500);
    EXPECT_EQ(DS_GetVolume(e, 1), -500);
    EXPECT_EQ(DS_GetVolume(e, 0), 0);
    EXPECT_EQ(DS_SetVolume(e, 2, -100, 0), 0);  // no such copy: nothing set
    EXPECT_EQ(DS_GetVolume(e, 7), 0);

    // A copy count below one loads one copy.
    DS_SEDATA& one = Load(soundfiles::WaveFile(1, 8, 22050, Ramp8(4, 0)), 0);
    EXPECT_EQ(one.nCopies, 1);
    DS_PlaySE(one, 0);
    DS_PlaySE(one, 0);
    EXPECT_EQ(one.nNext, 0);
}

TEST_F(EffectsTest, CursorSoundPlaysPerAxis) {
    g_SEData.assign(1, DS_SEDATA{});
    m_dir.WriteFile("c.wav", [] {
        auto f = soundfiles::WaveFile(1, 8, 44100, Ramp8(50, 130));
        return std::string(f.begin(), f.end());
    }());
    struct Case {
        int bits, mode, plays;
    } cases[] = {
        {1, 1, 1}, {2, 3, 1}, {4, 3, 1}, {8, 2, 1}, {1 | 8, 3, 2}, {2 | 4, 3, 2}, {4, 1, 0}, {1, 2, 0}, {0, 3, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << " " << c.mode);
        DS_ReleaseSE(g_SEData[0]);
        ASSERT_TRUE(DS_LoadSE(g_SEData[0], "c.wav", 2, 0));
        DS_PlayCursorSE(c.bits, c.mode, 0);
        int playing = 0;
        for (DSBUFFER b : g_SEData[0].vecBuffers) playing += SoundMixer().IsPlaying(b) ? 1 : 0;
        EXPECT_EQ(playing, c.plays);
    }
    DS_ReleaseSE(g_SEData[0]);
    g_SEData.clear();
}

TEST_F(EffectsTest, LevelTenKeepsEntryVolumes) {
    m_dir.WriteFile("a.wav", [] {
        auto f = soundfiles::WaveFile(1, 8, 22050, Ramp8(8, 0));
        return std::string(f.begin(), f.end());
    }());
    for (int level : {10, 3}) {
        SCOPED_TRACE(level);
        const int scale[11] = {-10000, -3000, -2000, -1300, -1000, -800, -600, -400, -200, -100, 0};
        cCheckedVector<DS_SEDATA> effects(2);
        cCheckedVector<DS_SEINFO> entries(2);
        for (int i = 0; i < 2; ++i) {
            std::strcpy(entries[i].szFile, "a.wav");
            entries[i].nCopies = 2;
            entries[i].nVolume = i == 0 ? 0 : -500;
        }
        EXPECT_EQ(DS_LoadAllSE(effects, entries, scale[level]), 1);
        for (int copy = 0; copy < 2; ++copy) {
            EXPECT_EQ(DS_GetVolume(effects[0], copy), level == 10 ? 0 : -1300);
            EXPECT_EQ(DS_GetVolume(effects[1], copy), level == 10 ? -500 : -1300);
        }
        DS_End();  // releases the remembered effects
        EXPECT_TRUE(effects[0].vecBuffers.empty());
        ASSERT_TRUE(DS_Init(nullptr, 22050, 8, 1));
    }
}

}  // namespace
