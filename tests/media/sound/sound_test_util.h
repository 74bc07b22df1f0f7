// Sound tests render offline: the device counts as open but nothing pulls
// from the mixer except the test.
#pragma once
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "base/log.h"
#include "media/sound/ds_sound.h"
#include "media/sound/sound_output.h"
#include "tests/support/temp_dir.h"

class OfflineSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        CloseSoundDevice();
        platform::ForceAudioDevice(platform::AudioDeviceForce::Offline);
        SoundMixer().SetOutputRate(44100);
        ASSERT_TRUE(DS_Init(nullptr, 22050, 8, 1));
    }
    void TearDown() override {
        for (DS_SEDATA& e : m_effects) DS_ReleaseSE(e);
        DS_End();
        CloseSoundDevice();
        platform::ForceAudioDevice(platform::AudioDeviceForce::None);
    }
    // Stereo frames rendered from the mixer.
    static std::vector<float> Render(int frames) {
        std::vector<float> out(static_cast<size_t>(frames) * 2);
        SoundMixer().Render(out.data(), frames);
        return out;
    }
    // Loads a WAV file written into the temporary folder as one effect.
    DS_SEDATA& Load(const std::vector<uint8_t>& wav, int copies, int volume = 0) {
        const std::string name = "e" + std::to_string(m_effects.size()) + ".wav";
        m_dir.WriteFile(name, std::string(wav.begin(), wav.end()));
        m_effects.emplace_back();
        EXPECT_TRUE(DS_LoadSE(m_effects.back(), name.c_str(), copies, volume));
        return m_effects.back();
    }
    testsupport::TempWorkDir m_dir;
    std::deque<DS_SEDATA> m_effects;
};
