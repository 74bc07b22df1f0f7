// MIDI rendered through the stream device and FluidSynth with the TimGM6mb
// font at 48 kHz, default reverb and chorus: a 16-channel song of at most 24
// voices and a dense one (four notes a channel), reported as times real
// time; and the sound font's load.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "media/sound/midi_player.h"
#include "media/sound/sound_output.h"
#include "platform/fluid_synth.h"
#include "tools/mkdemo/midi_files.h"

namespace {

constexpr int kRate = 48000;
constexpr int kBlock = 480;

void RenderSong(benchmark::State& state, int notes, int turn) {
    SoundMixer().SetOutputRate(kRate);
    auto synth = std::make_shared<platform::FluidSynth>(kRate, platform::kTimGm6mbPath);
    SetMidiPlayerSynth(synth);
    const auto path = std::filesystem::temp_directory_path() / "tovaro_bench_song.mid";
    const auto song = midifiles::GeneratedSong(16, notes, 64, 120, turn);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(song.data()), static_cast<std::streamsize>(song.size()));
    cMidiPlayer player(path.string());
    player.Play(0, 0, 1);
    std::vector<float> out(2 * kBlock);
    int64_t frames = 0;
    int peak = 0;
    for (auto _ : state) {
        SoundMixer().Render(out.data(), kBlock);
        player.WaitIdle();
        frames += kBlock;
        peak = std::max(peak, synth->ActiveVoices());
    }
    state.counters["voices"] = peak;
    state.counters["x_realtime"] = benchmark::Counter(static_cast<double>(frames) / kRate, benchmark::Counter::kIsRate);
    std::filesystem::remove(path);
    SetMidiPlayerSynth(nullptr);
}

void BM_MidiSong24Voices(benchmark::State& state) { RenderSong(state, 1, 8); }
void BM_MidiSongDense(benchmark::State& state) { RenderSong(state, 4, 1); }

void BM_SoundFontLoad(benchmark::State& state) {
    for (auto _ : state) {
        platform::FluidSynth synth(kRate, platform::kTimGm6mbPath);
        benchmark::DoNotOptimize(synth.HasSoundFont());
    }
}

}  // namespace

BENCHMARK(BM_MidiSong24Voices)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_MidiSongDense)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_SoundFontLoad)->Unit(benchmark::kMillisecond);
