// Fuzz target over sound-effect files: the input is a WAV file, read by
// DS_LoadWave as the effects are; a file it takes and the mixer accepts is
// played once through the software mixer, rendered offline to its end.
// Data that does not match its format record, a voice that never ends or
// a sample outside -1..1 is a finding.
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "media/sound/ds_wave.h"
#include "platform/fs.h"
#include "platform/sound_mixer.h"
#include "tools/mkdemo/sound_files.h"

namespace {

constexpr const char* kName = "wav";

void Run(const uint8_t* data, size_t size) {
    const std::string in = FuzzWorkDir() + "/in.wav";
    if (!platform::WriteFileAtomic(in, data, size)) FuzzFail(kName, "cannot write the input file");
    DS_WAVEDATA wave;
    if (!DS_LoadWave(in, wave)) return;
    if (wave.nSize < 0 || static_cast<size_t>(wave.nSize) != wave.data.size() || wave.data.size() > size)
        FuzzFail(kName, "data of %d bytes in a vector of %zu from a file of %zu", wave.nSize, wave.data.size(), size);
    const WAVEFORMATEX& f = wave.wfx;
    if (!platform::SoundMixer::IsPlayablePcm(f.wFormatTag, f.nChannels, f.wBitsPerSample,
                                             static_cast<int>(std::min<uint32_t>(f.nSamplesPerSec, 1u << 30)),
                                             wave.data.size()))
        return;
    auto pcm = std::make_shared<platform::PcmData>();
    pcm->channels = f.nChannels;
    pcm->bitsPerSample = f.wBitsPerSample;
    pcm->samplesPerSec = static_cast<int>(f.nSamplesPerSec);
    pcm->bytes = std::move(wave.data);
    const uint64_t frames = pcm->Frames();
    // The effects' own rate and one far from it: both resample.
    for (int rate : {22050, 44100}) {
        platform::SoundMixer mixer(rate);
        const platform::SoundMixer::VoiceId voice = mixer.CreateVoice(pcm);
        if (!voice) FuzzFail(kName, "a playable sound gets no voice");
        mixer.Play(voice, false);
        // Its length at the output rate, and a block more.
        const uint64_t outFrames = frames * static_cast<uint64_t>(rate) / static_cast<uint64_t>(pcm->samplesPerSec);
        constexpr int kBlock = 512;
        std::vector<float> out(2 * kBlock);
        uint64_t rendered = 0;
        while (mixer.IsPlaying(voice)) {
            if (rendered > outFrames + 2 * kBlock)
                FuzzFail(kName, "still playing after %llu frames of a %llu-frame sound at %d Hz",
                         static_cast<unsigned long long>(rendered), static_cast<unsigned long long>(outFrames),
                         rate);
            mixer.Render(out.data(), kBlock);
            rendered += kBlock;
            for (float s : out)
                if (!(std::fabs(s) <= 1.0f)) FuzzFail(kName, "a rendered sample is %g", static_cast<double>(s));
        }
        mixer.Release(voice);
    }
}

std::vector<uint8_t> Ramp(size_t n) {
    std::vector<float> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = std::sin(static_cast<float>(i) * 0.05f) * 0.8f;
    return soundfiles::PcmBytes(v, 16);
}

void Seeds(const std::string& gameDir, std::vector<FuzzSeed>& out) {
    using namespace soundfiles;
    std::vector<float> wave(300);
    for (size_t i = 0; i < wave.size(); ++i) wave[i] = (i % 40 < 20) ? 0.5f : -0.5f;
    out.emplace_back("mono8", WaveFile(1, 8, 11025, PcmBytes(wave, 8)));
    out.emplace_back("stereo16", WaveFile(2, 16, 44100, Ramp(400)));
    out.emplace_back("fmt18", RiffFile({FormatChunk(1, 16, 22050, 1, true, 0), Chunk{"data", Ramp(64)}}));
    out.emplace_back("extra-chunks",
                     RiffFile({Chunk{"LIST", {'I', 'N', 'F', 'O', 1}}, FormatChunk(1, 8, 8000),
                               Chunk{"fact", {4, 0, 0, 0}}, Chunk{"data", PcmBytes(wave, 8)}}));
    Chunk longData{"data", PcmBytes(wave, 8)};
    longData.declaredSize = 100000;  // longer than the file
    out.emplace_back("cut", RiffFile({FormatChunk(1, 8, 22050), longData}));
    for (const std::string& f : FuzzFindFiles(gameDir, {".wav"}))
        out.emplace_back("game-" + std::to_string(out.size()), FuzzReadFile(f));
}

const cFuzzTarget kTarget{kName, nullptr, Run, Seeds};
const cFuzzTargetRegistration kRegistration(kTarget);

}  // namespace
