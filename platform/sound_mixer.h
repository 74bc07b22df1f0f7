// The software mixer every sound of the program plays through. It renders
// stereo float frames at any output rate, with or without a sound device, so
// tests listen to it directly.
//
// Voices come in two kinds:
// - PCM voices: sound buffers over shared read-only PCM data (8-bit unsigned
//   or 16-bit signed, one or two channels). A duplicate is a new voice on the
//   same data with its own playing flag, position and volume. A voice plays
//   once and stops at its end, or loops.
// - Stream voices: frames pulled from a StreamSource (decoded music) at the
//   source's own rate.
// Both are resampled linearly with a fixed-point step (no drift). A mono
// source plays at full gain on both channels; the output is the clamped sum.
//
// One lock covers every voice: the audio callback holds it for one block,
// and callers that need several operations to act as one hold it through
// Lock() (the lock is recursive).
#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace platform {

// PCM sample data of a sound buffer.
struct PcmData {
    int channels = 1;         // 1 or 2
    int bitsPerSample = 8;    // 8 (unsigned) or 16 (signed, little-endian)
    int samplesPerSec = 22050;
    std::vector<uint8_t> bytes;  // whole frames only
    uint32_t Frames() const {
        const uint32_t frame = static_cast<uint32_t>(channels * bitsPerSample / 8);
        return frame ? static_cast<uint32_t>(bytes.size() / frame) : 0;
    }
};

// Decoded audio pulled by a stream voice on the audio thread (under the
// mixer's lock).
class StreamSource {
public:
    virtual ~StreamSource() = default;
    virtual int Channels() const = 0;  // 1 or 2
    virtual int Rate() const = 0;
    // Up to `frames` interleaved frames into out; 0 when the piece has ended.
    virtual int Read(float* out, int frames) = 0;
};

// Gain of a volume in hundredths of a decibel: 10^(v / 2000), 0 at -10000
// and below.
float GainOfVolume(int hundredthsDb);

class SoundMixer {
public:
    using VoiceId = int;  // 0 = none
    static constexpr int kDefaultRate = 48000;

    explicit SoundMixer(int outputRate = kDefaultRate);
    ~SoundMixer();
    SoundMixer(const SoundMixer&) = delete;
    SoundMixer& operator=(const SoundMixer&) = delete;

    std::unique_lock<std::recursive_mutex> Lock() { return std::unique_lock<std::recursive_mutex>(m_mutex); }

    void SetOutputRate(int rate);
    int OutputRate() const;

    // PCM voices. CreateVoice takes data that was checked (IsPlayablePcm).
    static bool IsPlayablePcm(int formatTag, int channels, int bits, int rate, size_t bytes);
    VoiceId CreateVoice(std::shared_ptr<const PcmData> data);
    VoiceId Duplicate(VoiceId source);  // 0 when the source does not exist
    void Release(VoiceId voice);
    void Play(VoiceId voice, bool loop);
    void Stop(VoiceId voice);
    void SetPosition(VoiceId voice, uint32_t frame);
    void SetVolume(VoiceId voice, int hundredthsDb);
    int Volume(VoiceId voice);
    bool IsPlaying(VoiceId voice);

    // Stream voices: volume is a linear factor 0..1.
    VoiceId CreateStreamVoice();
    void SetStream(VoiceId voice, std::shared_ptr<StreamSource> source);  // stops the voice
    void SetStreamVolume(VoiceId voice, float volume);

    int VoiceCount();  // voices alive (tests)

    // Mixes `frames` stereo frames (interleaved L, R) into out.
    void Render(float* out, int frames);

private:
    struct Voice;
    Voice* Find(VoiceId voice);
    void MixPcm(Voice& v, float* acc, int frames);
    void MixStream(Voice& v, float* acc, int frames);

    std::recursive_mutex m_mutex;
    int m_nRate;
    std::vector<std::unique_ptr<Voice>> m_voices;  // index + 1 = id; null = free
    std::vector<float> m_acc;
};

}  // namespace platform
