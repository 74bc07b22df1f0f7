// MIDI through FluidSynth with the TimGM6mb sound font, and players driven
// while the mixer renders on another thread (run under ThreadSanitizer too).
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "media/sound/midi_player.h"
#include "platform/fluid_synth.h"
#include "tests/media/sound/sound_test_util.h"
#include "tools/mkdemo/midi_files.h"

namespace {

class MidiSynthTest : public OfflineSoundTest {
protected:
    void SetUp() override {
        OfflineSoundTest::SetUp();
        SoundMixer().SetOutputRate(48000);
        const auto song = midifiles::GeneratedSong(4, 2, 4);
        m_dir.WriteFile("song.mid", std::string(song.begin(), song.end()));
    }
    void TearDown() override {
        SetMidiPlayerSynth(nullptr);
        OfflineSoundTest::TearDown();
    }
};

TEST_F(MidiSynthTest, GeneratedSongRendersTheSameTwice) {
    auto synth = std::make_shared<platform::FluidSynth>(48000, platform::kTimGm6mbPath);
    ASSERT_TRUE(synth->HasSoundFont()) << platform::kTimGm6mbPath;
    SetMidiPlayerSynth(synth);
    std::vector<std::vector<float>> takes;
    for (int take = 0; take < 2; ++take) {
        // A synth of its own per take: the voices of an earlier song fade
        // out rather than stop at the reset.
        synth = std::make_shared<platform::FluidSynth>(48000, platform::kTimGm6mbPath);
        SetMidiPlayerSynth(synth);
        cMidiPlayer player("song.mid");
        ASSERT_TRUE(player.HasImage());
        player.Play(0, 0, 0);
        std::vector<float> out(2 * 24000);
        for (int i = 0; i < 4; ++i) {  // half a second
            std::vector<float> block(2 * 6000);
            SoundMixer().Render(block.data(), 6000);
            std::copy(block.begin(), block.end(), out.begin() + 2 * 6000 * i);
            player.WaitIdle();
        }
        takes.push_back(out);
    }
    double energy = 0;
    for (float s : takes[0]) energy += static_cast<double>(s) * s;
    EXPECT_GT(energy / static_cast<double>(takes[0].size()), 1e-6);
    EXPECT_EQ(takes[0], takes[1]);
}

TEST_F(MidiSynthTest, NoSoundFontPlaysSilent) {
    auto synth = std::make_shared<platform::FluidSynth>(48000, "no/such/font.sf2");
    EXPECT_FALSE(synth->HasSoundFont());
    SetMidiPlayerSynth(synth);
    cMidiPlayer player("song.mid");
    player.Play(0, 0, 1);
    std::vector<float> out(2 * 4800);
    SoundMixer().Render(out.data(), 4800);
    EXPECT_EQ(out, std::vector<float>(out.size(), 0.0f));
}

using MidiThreadsTest = MidiSynthTest;

TEST_F(MidiThreadsTest, PlayPauseLoopAndDeleteWhileTheMixerRenders) {
    SetMidiPlayerSynth(std::make_shared<platform::FluidSynth>(48000, ""));  // no font: cheap
    const auto short_song = midifiles::SmfFile(0, 480, {{0x00, 0x90, 0x3C, 0x40, 0x10, 0x80, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00}});
    m_dir.WriteFile("short.mid", std::string(short_song.begin(), short_song.end()));
    std::atomic<bool> stop{false};
    std::thread renderer([&] {
        std::vector<float> block(2 * 480);
        while (!stop.load()) {
            SoundMixer().Render(block.data(), 480);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    for (int i = 0; i < 40; ++i) {
        cMidiPlayer player(i % 2 ? "short.mid" : "song.mid");
        player.Play(0, 0, 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        player.Stop(1);
        player.Play(0, 0, 1);
        if (i % 3 == 0) player.Stop(0);
        if (i % 5 == 0) player.Play(0, 0, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }  // each player is deleted while the renderer runs
    stop.store(true);
    renderer.join();
    EXPECT_EQ(SoundMixer().VoiceCount(), 0);
}

}  // namespace
