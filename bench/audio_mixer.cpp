// One 10 ms block at 48 kHz from the mixer: 32 effect copies of mixed rates
// and formats, alone and with the ogg music channel decoding.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "platform/sound_mixer.h"
#include "platform/vorbis_stream.h"
#include "tools/mkdemo/sound_files.h"

namespace {

constexpr int kBlock = 480;

void AddCopies(platform::SoundMixer& mixer) {
    const int rates[] = {11025, 22050, 44100, 48000};
    for (int i = 0; i < 32; ++i) {
        auto pcm = std::make_shared<platform::PcmData>();
        pcm->channels = 1 + i % 2;
        pcm->bitsPerSample = i % 4 < 2 ? 8 : 16;
        pcm->samplesPerSec = rates[i % 4];
        std::vector<float> s;
        for (int k = 0; k < pcm->samplesPerSec / 2 * pcm->channels; ++k) s.push_back(0.1f * std::sin(k * 0.01f * (i + 1)));
        pcm->bytes = soundfiles::PcmBytes(s, pcm->bitsPerSample);
        const auto voice = mixer.CreateVoice(pcm);
        mixer.SetVolume(voice, -100 * (i % 10));
        mixer.Play(voice, true);
    }
}

void BM_MixerBlock32Copies(benchmark::State& state) {
    platform::SoundMixer mixer(48000);
    AddCopies(mixer);
    std::vector<float> out(2 * kBlock);
    for (auto _ : state) {
        mixer.Render(out.data(), kBlock);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_MixerBlock32Copies)->Unit(benchmark::kMicrosecond);

void BM_MixerBlock32CopiesAndOgg(benchmark::State& state) {
    platform::SoundMixer mixer(48000);
    AddCopies(mixer);
    std::vector<float> s;
    for (int k = 0; k < 44100 * 2; ++k) {
        s.push_back(0.3f * std::sin(k * 0.03f));
        s.push_back(0.3f * std::sin(k * 0.02f));
    }
    std::shared_ptr<platform::VorbisStream> stream = platform::VorbisStream::Open(soundfiles::OggVorbisFile(s, 2, 44100));
    if (!stream) {
        state.SkipWithError("no ogg fixture");
        return;
    }
    stream->SetRepeats(platform::VorbisStream::kEndless);
    const auto music = mixer.CreateStreamVoice();
    mixer.SetStream(music, stream);
    mixer.Play(music, false);
    std::vector<float> out(2 * kBlock);
    for (auto _ : state) {
        mixer.Render(out.data(), kBlock);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_MixerBlock32CopiesAndOgg)->Unit(benchmark::kMicrosecond);

}  // namespace
